// The simulated mouse and receiver through the public interface: reading,
// writing and keeping the record, every request and report, the mouse's own
// reports, the receiver's records and the finding calls.

#include "support/hidusbfixture.h"
#include "support/testmain.h"

#include "platform/hidusb/codec.h"
#include "platform/hidusb/simcontrol.h"

#include <QFile>
#include <QRandomGenerator>

#include <cstring>

using namespace hidusb;

namespace {

FlashDataMap readThroughLibrary(const QByteArray &path)
{
    FlashDataMap record;
    std::memset(&record, 0, sizeof record);
    ReportSink::instance().clear();
    UsbServerC_Start(path.constData(), path.constData(), &ReportSink::callback);
    UsbServer_ReadAllFlashData();
    SeenReport dumpReport;
    if (ReportSink::instance().waitFor(ReportData, DataFullDump, &dumpReport) && dumpReport.payload.size() == kDumpSize)
        ProtocolDataParser(reinterpret_cast<const unsigned char *>(dumpReport.payload.constData()), &record);
    return record;
}

void fillMacro(MacroRecord &m, const char *name, int events, quint32 delay)
{
    std::memset(&m, 0, sizeof m);
    m.nameLength = static_cast<unsigned char>(std::strlen(name));
    std::memcpy(m.name, name, m.nameLength);
    m.slotCount = static_cast<unsigned char>(events);
    for (int k = 0; k < events; ++k) {
        m.events[k].action = k % 2;
        m.events[k].kind = k % 3 == 0 ? 1 : (k % 3 == 1 ? 0 : 4);
        m.events[k].code = static_cast<std::uint16_t>(0x04 + k);
        m.events[k].delay = k + 1 < events ? delay + k : 0;
    }
}

bool sameBytes(const FlashDataMap &a, const FlashDataMap &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

class TestHidUsbDevice : public QObject
{
    Q_OBJECT

private slots:
    void init() { freshSimulator(); }

    void recordSurvivesRestartByteForByte()
    {
        const QByteArray path = pathBytes("receiver");
        QVERIFY(UsbFinderC_GetDeviceOnLine(path.constData()));
        FlashDataMap record = readThroughLibrary(path);
        FlashDataMap stored;
        QVERIFY(sim::flashRecord("mouse", &stored));
        QVERIFY(sameBytes(record, stored));

        record.reportRate = 2;
        record.angle = -30;
        record.angleSet = 1;
        record.unused3 = 0xA5;
        for (int i = 0; i < 25; ++i)
            record.unused17[i] = static_cast<unsigned char>(0xC0 + i);
        record.unused45[0] = 1;
        record.unused45[2] = 0xFE;
        record.unused155 = 0x7F;
        record.dpiStages[7] = DpiStage{0x33, 0x33, 0x22, 1, 2, 3};
        record.keyCombos[4].count = 6;
        for (int k = 0; k < 6; ++k)
            record.keyCombos[4].events[k] =
                KeyEvent{static_cast<unsigned char>(k % 2), 2, static_cast<std::uint16_t>(0xE9 + k), 10u * k};
        for (int b = 0; b < 16; ++b)
            fillMacro(record.macros[b], "macro name thirty bytes long!!", 70, 65535 - b);
        QVERIFY(ProtocolDataUpdate(&record));
        QVERIFY(sim::waitIdle());
        QVERIFY(sim::flashRecord("mouse", &stored));
        QVERIFY(sameBytes(record, stored));
        QVERIFY(QFile::exists(sim::flashFileName("mouse")));

        UsbServer_Exit();
        sim::restart();
        const FlashDataMap again = readThroughLibrary(pathBytes("receiver"));
        QVERIFY(sameBytes(record, again));
        QCOMPARE(static_cast<int>(again.angle), -30);
        QCOMPARE(reinterpret_cast<const unsigned char *>(&again)[15], static_cast<unsigned char>(0xE2));
    }

    void requestsAreAnsweredWithTheirReports_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("sub");
        QTest::addColumn<int>("length");
        QTest::newRow("whole record") << 0 << int(ReportData) << int(DataFullDump) << kDumpSize;
        QTest::newRow("battery") << 1 << int(ReportBattery) << -1 << 2;
        QTest::newRow("configuration slot") << 2 << int(ReportConfigSlot) << -1 << 1;
        QTest::newRow("current DPI stage") << 3 << int(ReportData) << int(DataActiveStage) << 1;
        QTest::newRow("DPI LED") << 4 << int(ReportData) << int(DataDpiLed) << kDpiLedPayloadSize;
        QTest::newRow("light bar") << 5 << int(ReportData) << int(DataLightBar) << kLightBarPayloadSize;
        QTest::newRow("report rate") << 6 << int(ReportData) << int(DataReportRate) << 1;
        QTest::newRow("version") << 7 << int(ReportVersion) << -1 << 2;
        QTest::newRow("pair status") << 8 << int(ReportPairStatus) << -1 << 1;
        QTest::newRow("clear settings") << 9 << int(ReportSettingsCleared) << -1 << 0;
        QTest::newRow("switch slot") << 10 << int(ReportConfigSlot) << -1 << 1;
    }

    void requestsAreAnsweredWithTheirReports()
    {
        QFETCH(int, request);
        QFETCH(int, kind);
        QFETCH(int, sub);
        QFETCH(int, length);
        const QByteArray path = pathBytes("receiver");
        QVERIFY(UsbServerC_Start(path.constData(), path.constData(), &ReportSink::callback));
        bool sent = false;
        switch (request) {
        case 0:
            sent = UsbServer_ReadAllFlashData();
            break;
        case 1:
            sent = UsbServer_ReadBatteryLevel();
            break;
        case 2:
            sent = UsbServer_ReadConfig();
            break;
        case 3:
            sent = UsbServer_ReadCurrentDPI();
            break;
        case 4:
            sent = UsbServer_ReadDPILed();
            break;
        case 5:
            sent = UsbServer_ReadLedBar();
            break;
        case 6:
            sent = UsbServer_ReadReportRate();
            break;
        case 7:
            sent = UsbServer_ReadVersion();
            break;
        case 8:
            sent = UsbServer_ReadDonglePairStatus();
            break;
        case 9:
            sent = UsbServer_SetClearSetting();
            break;
        case 10:
            sent = UsbServer_SetCurrentConfig(2);
            break;
        }
        QVERIFY(sent);
        SeenReport r;
        QVERIFY(ReportSink::instance().waitFor(kind, sub, &r));
        QCOMPARE(r.payload.size(), length);
        QCOMPARE(r.error, 0);
        QVERIFY(!r.onCallerThread);

        // What the payload says matches the mouse.
        FlashDataMap stored;
        QVERIFY(sim::flashRecord("mouse", &stored));
        const auto *p = reinterpret_cast<const unsigned char *>(r.payload.constData());
        switch (request) {
        case 1: {
            QVERIFY(sim::setBattery("mouse", 80, false));
            unsigned char status[4] = {9, 9, 9, 9};
            GetDeviceBatteryStatus(p, status);
            QCOMPARE(int(status[0]), 80);
            QCOMPARE(int(status[1]), 0);
            break;
        }
        case 2:
            QCOMPARE(int(p[0]), sim::activeSlot("mouse"));
            break;
        case 3:
            QCOMPARE(p[0], stored.activeDpiStage);
            break;
        case 4: {
            DpiLedMode led{};
            BufferToDPILed(p, &led);
            QCOMPARE(std::memcmp(&led, &stored.dpiLed, sizeof led), 0);
            break;
        }
        case 5: {
            LedBarMode bar{};
            BufferToLedBar(p, &bar);
            QCOMPARE(std::memcmp(&bar, &stored.mouseLight, sizeof bar), 0);
            break;
        }
        case 6:
            QCOMPARE(p[0], stored.reportRate);
            break;
        case 7:
            QCOMPARE(p[0] | (p[1] << 8), UsbFinderC_GetVersion(path.constData()));
            break;
        case 10:
            QCOMPARE(int(p[0]), 2);
            QCOMPARE(sim::activeSlot("mouse"), 2);
            // another slot is another configuration: the program must re-read
            QVERIFY(ReportSink::instance().waitFor(ReportStatusChanged));
            break;
        default:
            break;
        }
    }

    void clearingSettingsRestoresFactoryRecordInEverySlot()
    {
        const QByteArray path = pathBytes("receiver");
        FlashDataMap record = readThroughLibrary(path);
        record.sleepTime = 42;
        QVERIFY(ProtocolDataUpdate(&record));
        QVERIFY(UsbServer_SetClearSetting());
        QVERIFY(ReportSink::instance().waitFor(ReportSettingsCleared));
        QVERIFY(sim::waitIdle());
        FlashDataMap stored;
        for (int slot = 0; slot < kConfigSlots; ++slot) {
            QVERIFY(sim::flashRecord("mouse", &stored, slot));
            QCOMPARE(int(stored.sleepTime), 6);
        }
        // After a reset the library no longer trusts its picture of the
        // device: the next update sends the whole image.
        sim::resetCounters();
        QVERIFY(ProtocolDataUpdate(&record));
        QCOMPARE(sim::counters().recordBlocksWritten, std::uint64_t(144));
    }

    void mouseActionsRaiseReports_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("length");
        QTest::newRow("DPI button") << 0 << int(ReportStatusChanged) << int(StatusDpiStage) << 1;
        QTest::newRow("slot button") << 1 << int(ReportStatusChanged) << int(StatusConfig) << 1;
        QTest::newRow("report-rate button") << 2 << int(ReportStatusChanged) << int(StatusReportRate) << 1;
        QTest::newRow("battery drain") << 3 << int(ReportStatusChanged) << int(StatusBattery) << 1;
        QTest::newRow("receiver LED button") << 4 << int(ReportReceiverLed) << -1 << 1;
        QTest::newRow("long range off") << 5 << int(ReportLongRangeOff) << -1 << kLongRangeOffPayloadSize;
    }

    void mouseActionsRaiseReports()
    {
        QFETCH(int, action);
        QFETCH(int, kind);
        QFETCH(int, flag);
        QFETCH(int, length);
        const QByteArray path = pathBytes("receiver");
        QVERIFY(UsbServerC_Start(path.constData(), path.constData(), &ReportSink::callback));
        FlashDataMap before;
        QVERIFY(sim::flashRecord("mouse", &before));
        switch (action) {
        case 0:
            QVERIFY(sim::pressDpiButton("mouse"));
            break;
        case 1:
            QVERIFY(sim::pressSlotButton("mouse"));
            break;
        case 2:
            QVERIFY(sim::pressReportRateButton("mouse"));
            break;
        case 3:
            QVERIFY(sim::setBattery("mouse", 15, false));
            break;
        case 4:
            QVERIFY(sim::pressReceiverLedButton("receiver"));
            break;
        case 5:
            QVERIFY(sim::switchOffLongRange("receiver"));
            break;
        }
        SeenReport r;
        QVERIFY(ReportSink::instance().waitFor(kind, -1, &r));
        QCOMPARE(r.payload.size(), length);
        if (flag >= 0) {
            unsigned char flags[7];
            std::memset(flags, 0xEE, sizeof flags);
            GetDeviceStatusChanged(reinterpret_cast<const unsigned char *>(r.payload.constData()), flags);
            for (int i = 0; i < 7; ++i)
                QCOMPARE(int(flags[i]), i == flag ? 1 : 0);
        }
        FlashDataMap after;
        QVERIFY(sim::flashRecord("mouse", &after));
        if (action == 0)
            QCOMPARE(int(after.activeDpiStage), (before.activeDpiStage + 1) % before.dpiStageCount);
        if (action == 1)
            QCOMPARE(sim::activeSlot("mouse"), 1);
        if (action == 1)
            QVERIFY(ReportSink::instance().waitFor(ReportConfigSlot));
        if (action == 2)
            QVERIFY(after.reportRate != before.reportRate);
        if (action == 4)
            QCOMPARE(int(sim::dongleRgb("receiver").ledInfoChoice), 2);
        if (action == 5)
            QVERIFY(!sim::longRange("receiver"));
    }

    void writingTheRecordRaisesNoReport()
    {
        const QByteArray path = pathBytes("receiver");
        FlashDataMap record = readThroughLibrary(path);
        ReportSink::instance().clear();
        for (int step = 0; step < 5; ++step) {
            record.debounceTime = static_cast<unsigned char>(step);
            record.macros[3].events[10].delay = 100u + step;
            QVERIFY(ProtocolDataUpdate(&record));
        }
        QVERIFY(sim::waitIdle());
        QCOMPARE(ReportSink::instance().reports().size(), 0);
        FlashDataMap stored;
        QVERIFY(sim::flashRecord("mouse", &stored));
        QVERIFY(sameBytes(record, stored));
    }

    void updateSendsOnlyChangedBlocks_data()
    {
        QTest::addColumn<QVector<int>>("offsets");
        QTest::addColumn<int>("packets");
        QTest::newRow("nothing changed") << QVector<int>{} << 0;
        QTest::newRow("report rate") << QVector<int>{0} << 1;
        QTest::newRow("active stage") << QVector<int>{2} << 1;
        QTest::newRow("unused byte 155") << QVector<int>{155} << 1;
        QTest::newRow("two fields in one block") << QVector<int>{5, 9} << 1;
        QTest::newRow("key sequence of button 15") << QVector<int>{156 + 52 * 15 + 4} << 1;
        QTest::newRow("last macro event") << QVector<int>{10452} << 1;
        QTest::newRow("first and last byte") << QVector<int>{0, 10452} << 2;
    }

    void updateSendsOnlyChangedBlocks()
    {
        QFETCH(QVector<int>, offsets);
        QFETCH(int, packets);
        const QByteArray path = pathBytes("receiver");
        FlashDataMap record = readThroughLibrary(path);
        // The report decoder sends the record back after every dump and asks
        // for the rest: nothing changed, nothing on the wire.
        sim::resetCounters();
        QVERIFY(ProtocolDataUpdate(&record));
        QVERIFY(UsbServer_ReadDPILed());
        QVERIFY(UsbServer_ReadBatteryLevel());
        QVERIFY(UsbServer_ReadVersion());
        QVERIFY(UsbServer_ReadConfig());
        QVERIFY(ReportSink::instance().waitFor(ReportConfigSlot));
        QCOMPARE(sim::counters().recordBlocksWritten, std::uint64_t(0));
        sim::resetCounters();

        auto *bytes = reinterpret_cast<unsigned char *>(&record);
        for (int o : offsets)
            bytes[o] ^= 0x01;
        QVERIFY(ProtocolDataUpdate(&record));
        const sim::Counters c = sim::counters();
        QCOMPARE(c.packetsToDevice, std::uint64_t(packets));
        QCOMPARE(c.bytesToDevice, std::uint64_t(64 * packets));
        QVERIFY(sim::waitIdle());
        FlashDataMap stored;
        QVERIFY(sim::flashRecord("mouse", &stored));
        QVERIFY(sameBytes(record, stored));
        // Sending the same record again puts nothing on the wire.
        sim::resetCounters();
        QVERIFY(ProtocolDataUpdate(&record));
        QCOMPARE(sim::counters().packetsToDevice, std::uint64_t(0));
    }

    void anotherConfigurationIsSentWhole_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("slot chosen by the program") << 0;
        QTest::newRow("slot button on the mouse") << 1;
        QTest::newRow("settings cleared") << 2;
    }

    void anotherConfigurationIsSentWhole()
    {
        QFETCH(int, how);
        const QByteArray path = pathBytes("receiver");
        FlashDataMap record = readThroughLibrary(path);
        QVERIFY(sim::waitIdle());
        switch (how) {
        case 0:
            QVERIFY(UsbServer_SetCurrentConfig(3));
            break;
        case 1:
            QVERIFY(sim::pressSlotButton("mouse"));
            break;
        case 2:
            QVERIFY(UsbServer_SetClearSetting());
            break;
        }
        QVERIFY(sim::waitIdle());
        sim::resetCounters();
        record.wheelDebounce = 90;
        QVERIFY(ProtocolDataUpdate(&record));
        QCOMPARE(sim::counters().recordBlocksWritten, std::uint64_t(proto::kImageBlocks));
        QVERIFY(sim::waitIdle());
        FlashDataMap stored;
        QVERIFY(sim::flashRecord("mouse", &stored));
        QVERIFY(sameBytes(record, stored));
    }

    void changeBackWhileInFlightIsNotLost()
    {
        const QByteArray path = pathBytes("receiver");
        FlashDataMap record = readThroughLibrary(path);
        const unsigned char original = record.sleepTime;
        record.sleepTime = 99;
        QVERIFY(ProtocolDataUpdate(&record));
        record.sleepTime = original; // back before the device confirmed
        QVERIFY(ProtocolDataUpdate(&record));
        QVERIFY(sim::waitIdle());
        FlashDataMap stored;
        QVERIFY(sim::flashRecord("mouse", &stored));
        QCOMPARE(stored.sleepTime, original);
    }

    void rejectedWriteIsSentAgain()
    {
        const QByteArray path = pathBytes("receiver");
        FlashDataMap record = readThroughLibrary(path);
        QVERIFY(sim::rejectNextWrites("mouse", 1));
        record.liftOffDistance = 3;
        QVERIFY(ProtocolDataUpdate(&record));
        QVERIFY(sim::waitIdle());
        FlashDataMap stored;
        QVERIFY(sim::flashRecord("mouse", &stored));
        QCOMPARE(int(stored.liftOffDistance), 1);
        QCOMPARE(sim::counters().writesRejected, std::uint64_t(1));
        sim::resetCounters();
        QVERIFY(ProtocolDataUpdate(&record));
        QCOMPARE(sim::counters().packetsToDevice, std::uint64_t(1));
        QVERIFY(sim::waitIdle());
        QVERIFY(sim::flashRecord("mouse", &stored));
        QCOMPARE(int(stored.liftOffDistance), 3);
    }

    void recordThatCannotTravelIsRefusedWhole_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("kind");
        QTest::addColumn<quint32>("delay");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("longest delay that fits") << 0 << 1 << quint32(2097151) << true;
        QTest::newRow("delay dialog maximum") << 1 << 4 << quint32(65535) << true;
        QTest::newRow("delay too long") << 0 << 1 << quint32(2097152) << false;
        QTest::newRow("unknown action") << 2 << 1 << quint32(10) << false;
        QTest::newRow("unknown kind") << 0 << 3 << quint32(10) << false;
    }

    void recordThatCannotTravelIsRefusedWhole()
    {
        QFETCH(int, action);
        QFETCH(int, kind);
        QFETCH(quint32, delay);
        QFETCH(bool, accepted);
        const QByteArray path = pathBytes("receiver");
        FlashDataMap record = readThroughLibrary(path);
        record.reportRate = 64; // a change that would fit
        record.macros[9].slotCount = 1;
        record.macros[9].events[0] =
            KeyEvent{static_cast<unsigned char>(action), static_cast<unsigned char>(kind), 0x2C, delay};
        sim::resetCounters();
        QCOMPARE(ProtocolDataUpdate(&record), accepted);
        QVERIFY(sim::waitIdle());
        FlashDataMap stored;
        QVERIFY(sim::flashRecord("mouse", &stored));
        QCOMPARE(sameBytes(record, stored), accepted);
        if (!accepted) {
            QCOMPARE(sim::counters().packetsToDevice, std::uint64_t(0));
            QCOMPARE(int(stored.reportRate), 1);
        }
    }

    void sleepingMouseAnswersNothingUntilItWakes()
    {
        const QByteArray path = pathBytes("receiver");
        FlashDataMap record = readThroughLibrary(path);
        ReportSink::instance().clear();
        QVERIFY(sim::sleep("mouse"));
        QVERIFY(!UsbFinderC_GetDeviceOnLine(path.constData()));
        QVERIFY(UsbServer_ReadBatteryLevel());
        QCOMPARE(UsbFinderC_GetVersion(path.constData()), 0);
        record.motionSync = 1;
        QVERIFY(ProtocolDataUpdate(&record)); // the receiver cannot pass it on
        QVERIFY(sim::waitIdle());
        QCOMPARE(ReportSink::instance().count(ReportBattery), 0);
        FlashDataMap stored;
        QVERIFY(sim::flashRecord("mouse", &stored));
        QCOMPARE(int(stored.motionSync), 0);

        QVERIFY(sim::wake("mouse"));
        QVERIFY(UsbFinderC_GetDeviceOnLine(path.constData()));
        QVERIFY(ProtocolDataUpdate(&record)); // the undelivered block goes again
        QVERIFY(sim::waitIdle());
        QVERIFY(sim::flashRecord("mouse", &stored));
        QCOMPARE(int(stored.motionSync), 1);
    }

    // Writes the device never answered (the receiver went silent, as when it
    // is pulled out while they travel) are not on the device: the next update
    // sends them again, also after the device's own record was read back.
    void unansweredWriteIsSentAgain_data()
    {
        QTest::addColumn<bool>("readBack");
        QTest::newRow("written again at once") << false;
        QTest::newRow("written again after the record was read") << true;
    }

    void unansweredWriteIsSentAgain()
    {
        QFETCH(bool, readBack);
        const QByteArray path = pathBytes("receiver");
        FlashDataMap record = readThroughLibrary(path);
        QVERIFY(sim::waitIdle());
        const FlashDataMap original = record;
        QVERIFY(sim::setAnswerNothing("receiver", true));
        record.debounceTime = 17;
        fillMacro(record.macros[5], "lost", 70, 40);
        QVERIFY(ProtocolDataUpdate(&record));
        QVERIFY(sim::waitIdle());
        FlashDataMap stored;
        QVERIFY(sim::flashRecord("mouse", &stored));
        QVERIFY(sameBytes(stored, original));

        QVERIFY(sim::setAnswerNothing("receiver", false));
        if (readBack)
            QVERIFY(sameBytes(readThroughLibrary(path), original));
        QVERIFY(sim::waitIdle());
        sim::resetCounters();
        QVERIFY(ProtocolDataUpdate(&record));
        QVERIFY(sim::counters().recordBlocksWritten > 0);
        QVERIFY(sim::waitIdle());
        QVERIFY(sim::flashRecord("mouse", &stored));
        QVERIFY(sameBytes(stored, record));

        // Once confirmed, the same record sends nothing more.
        sim::resetCounters();
        QVERIFY(ProtocolDataUpdate(&record));
        QCOMPARE(sim::counters().recordBlocksWritten, std::uint64_t(0));
    }

    // A receiver pulled out mid-send: the update says it failed, the blocks
    // that reached the mouse are confirmed, and after the receiver is back
    // the rest of the record follows.
    void pulledOutMidSendFailsAndTheRestFollowsLater()
    {
        const QByteArray path = pathBytes("receiver");
        FlashDataMap record = readThroughLibrary(path);
        QVERIFY(sim::waitIdle());
        fillMacro(record.macros[2], "half", 70, 25);
        QVERIFY(sim::pullOutAfter("receiver", 3));
        QVERIFY(!ProtocolDataUpdate(&record));
        QVERIFY(sim::waitIdle());
        QVERIFY(!sim::isPlugged("receiver"));
        FlashDataMap stored;
        QVERIFY(sim::flashRecord("mouse", &stored));
        QVERIFY(!sameBytes(stored, record));

        QVERIFY(sim::plug("receiver"));
        QVERIFY(sim::waitIdle());
        sim::resetCounters();
        QVERIFY(ProtocolDataUpdate(&record));
        QVERIFY(sim::waitIdle());
        QVERIFY(sim::flashRecord("mouse", &stored));
        QVERIFY(sameBytes(stored, record));
        QVERIFY(sim::counters().recordBlocksWritten > 0);
    }

    void receiverRecords_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("answers");
        QTest::newRow("receiver") << "receiver" << true;
        QTest::newRow("mouse on its cable") << "mouse" << false;
    }

    void receiverRecords()
    {
        QFETCH(QString, device);
        QFETCH(bool, answers);
        freshSimulator("{\"devices\": [{\"id\": \"receiver\", \"type\": \"receiver\"},"
                       "{\"id\": \"mouse\", \"type\": \"mouse\", \"pairedTo\": \"receiver\", \"cable\": true}]}");
        const QByteArray path = pathBytes(device);
        QVERIFY(!path.isEmpty());
        DongleRGB rgb{};
        QCOMPARE(UsbFinderC_Get4KDongleRGBValue(path.constData(), &rgb), answers);
        rgb.ledInfoChoice = 3;
        rgb.deviceData[8] = 0x5A;
        QCOMPARE(UsbFinderC_Set4KDongleRGB(path.constData(), &rgb), answers);
        LedBarMode bar{4, 10, 20, 30, 5, 6, 1};
        QCOMPARE(UsbFinderC_SetDongleRGBBarMode(path.constData(), &bar), answers);
        DongleIndicatorLeds leds{1, 2, 3};
        QCOMPARE(UsbFinderC_SetDongleIndicatorLed(path.constData(), &leds), answers);
        QCOMPARE(UsbFinderC_SetLongRangeMode(path.constData(), 1), answers);
        unsigned char longRange = 's';
        QCOMPARE(UsbFinderC_GetLongRangeMode(path.constData(), &longRange), answers);
        QCOMPARE(int(longRange), answers ? 1 : int('s')); // untouched without an answer
        if (!answers) {
            QCOMPARE(int(sim::dongleRgb("receiver").ledInfoChoice), 1);
            return;
        }
        DongleRGB rgbBack{};
        LedBarMode barBack{};
        DongleIndicatorLeds ledsBack{};
        QVERIFY(UsbFinderC_Get4KDongleRGBValue(path.constData(), &rgbBack));
        QVERIFY(UsbFinderC_GetDongleRGBBarMode(path.constData(), &barBack));
        QVERIFY(UsbFinderC_GetDongleIndicatorLed(path.constData(), &ledsBack));
        QCOMPARE(std::memcmp(&rgbBack, &rgb, sizeof rgb), 0);
        QCOMPARE(std::memcmp(&barBack, &bar, sizeof bar), 0);
        QCOMPARE(std::memcmp(&ledsBack, &leds, sizeof leds), 0);
        // A busy receiver refuses a write and keeps what it had.
        QVERIFY(sim::rejectNextWrites("receiver", 1));
        LedBarMode other{1, 1, 1, 1, 1, 1, 0};
        QVERIFY(!UsbFinderC_SetDongleRGBBarMode(path.constData(), &other));
        QCOMPARE(std::memcmp(&bar, &barBack, sizeof bar), 0);
        QVERIFY(UsbFinderC_GetDongleRGBBarMode(path.constData(), &barBack));
        QCOMPARE(std::memcmp(&barBack, &bar, sizeof bar), 0);
    }

    void findingCalls()
    {
        freshSimulator("{\"devices\": ["
                       "{\"id\": \"r1\", \"type\": \"receiver\", \"kind\": 4, \"vid\": \"0x3A7C\", \"pid\": \"0x7C24\","
                       " \"cid\": 86, \"mid\": 29, \"version\": \"0x010A\", \"receiverId\": [1, 2, 3]},"
                       "{\"id\": \"m1\", \"type\": \"mouse\", \"pairedTo\": \"r1\", \"cable\": true,"
                       " \"vid\": \"3a7c\", \"pid\": \"7c10\", \"cid\": 86, \"mid\": 29, \"version\": 515}]}");
        int count = 5;
        const char *const *paths = UsbFinderC_FindHidDevicesByDefaultDeviceId("0x3A7C", "0x7C24", &count);
        QCOMPARE(count, 1);
        QCOMPARE(QByteArray(paths[0]), pathBytes("r1"));
        count = 5;
        paths = UsbFinderC_FindHidDevicesByDeviceId("0x3a7c", "0x7C10", 1, 5, &count);
        QCOMPARE(count, 1);
        const QByteArray cable = paths[0];
        QCOMPARE(cable, pathBytes("m1"));
        count = 5;
        QVERIFY(!UsbFinderC_FindHidDevicesByDefaultDeviceId("0x3A7C", "0x7C99", &count));
        QCOMPARE(count, 0);
        count = 5;
        UsbFinderC_FindHidDevicesByDefaultDeviceId("not a number", "0x7C24", &count);
        QCOMPARE(count, 0);

        const QByteArray receiver = pathBytes("r1");
        UsbDeviceAttribute attr{};
        QVERIFY(UsbFinderC_GetUsbDeviceAttribute(receiver.constData(), &attr));
        QCOMPARE(int(attr.version), 0x010A);
        QCOMPARE(reinterpret_cast<const unsigned char *>(&attr)[8], static_cast<unsigned char>(0x0A));
        UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(receiver.constData(), 0);
        QCOMPARE(int(info.cid()), 86);
        QCOMPARE(int(info.mid()), 29);
        QCOMPARE(int(info.linkCode), 1); // kind 4
        info = UsbFinderC_GetDeviceInfo(cable.constData(), 0);
        QCOMPARE(int(info.linkCode), 2); // cable
        QCOMPARE(int(info.id), 29 << 8 | 86);

        UsbAddressInfo address;
        std::memset(&address, 0xFF, sizeof address);
        QVERIFY(UsbFinderC_GetDeviceOnLineWithUsbAddress(cable.constData(), &address));
        QCOMPARE(int(address.online), 1);
        QCOMPARE(int(address.receiverId[0]), 1);
        QCOMPARE(int(address.receiverId[2]), 3);
        // The mouse is on its cable, so the receiver does not reach it.
        QVERIFY(!UsbFinderC_GetDeviceOnLineWithUsbAddress(receiver.constData(), &address));
        QCOMPARE(int(address.online), 0);
        QCOMPARE(int(address.receiverId[1]), 2);
        QVERIFY(UsbFinderC_GetDeviceOnLine(cable.constData()));
        QVERIFY(!UsbFinderC_GetDeviceOnLine(receiver.constData()));
        QCOMPARE(UsbFinderC_GetVersion(cable.constData()), 515);
        int slave = 0;
        QVERIFY(UsbFinderC_GetSlaveVersion(receiver.constData(), &slave));
        QCOMPARE(slave, 0x010A);
        QVERIFY(!UsbFinderC_GetSlaveVersion(cable.constData(), &slave));
        QVERIFY(!UsbFinderC_GetDeviceOnLine("a")); // the placeholder path names no device
        QCOMPARE(int(UsbFinderC_GetDeviceInfo("a", 0).id), 0);

        // The cable comes out: the mouse talks through its receiver again.
        QVERIFY(sim::unplug("m1"));
        QVERIFY(UsbFinderC_GetDeviceOnLine(receiver.constData()));
        count = 5;
        UsbFinderC_FindHidDevicesByDefaultDeviceId("0x3A7C", "0x7C10", &count);
        QCOMPARE(count, 0);
    }

    void pairing_data()
    {
        QTest::addColumn<bool>("outcome");
        QTest::addColumn<int>("cid");
        QTest::addColumn<int>("status");
        QTest::newRow("mouse found") << true << 86 << 3;
        QTest::newRow("no mouse answers") << false << 86 << 2;
        QTest::newRow("another product line") << true << 12 << 2;
    }

    void pairing()
    {
        QFETCH(bool, outcome);
        QFETCH(int, cid);
        QFETCH(int, status);
        freshSimulator("{\"devices\": [{\"id\": \"receiver\", \"type\": \"receiver\", \"cid\": 86},"
                       "{\"id\": \"mouse\", \"type\": \"mouse\", \"cid\": 86}]}");
        const QByteArray path = pathBytes("receiver");
        QVERIFY(!UsbFinderC_GetDeviceOnLine(path.constData())); // not paired yet
        QVERIFY(sim::setPairingOutcome("receiver", outcome));
        QVERIFY(UsbServerC_Start(path.constData(), path.constData(), &ReportSink::callback));
        QVERIFY(UsbServer_EnterDonglePairOnlyCid(static_cast<unsigned char>(cid)));
        QVERIFY(UsbServer_ReadDonglePairStatus());
        QVERIFY(ReportSink::instance().waitFor(ReportPairStatus));
        QCOMPARE(int(ReportSink::instance().reports().front().payload[0]), 1); // pairing
        // The result comes on its own, and again when asked.
        QTRY_COMPARE_WITH_TIMEOUT(ReportSink::instance().count(ReportPairStatus), 3, 5000);
        QCOMPARE(int(ReportSink::instance().reports().back().payload[0]), status);
        QVERIFY(UsbServer_ReadDonglePairStatus());
        QTRY_COMPARE(ReportSink::instance().count(ReportPairStatus), 4);
        QCOMPARE(int(ReportSink::instance().reports().back().payload[0]), status);
        QCOMPARE(UsbFinderC_GetDeviceOnLine(path.constData()), status == 3);
    }

    void rawPacketsAndReceiverIds()
    {
        freshSimulator("{\"devices\": [{\"id\": \"r1\", \"type\": \"receiver\", \"receiverId\": [1, 1, 1]},"
                       "{\"id\": \"r2\", \"type\": \"receiver\", \"receiverId\": [2, 2, 2]},"
                       "{\"id\": \"m\", \"type\": \"mouse\", \"pairedTo\": \"r1\", \"cable\": true}]}");
        const QByteArray cable = pathBytes("m");
        unsigned char reply[64] = {};
        const proto::Packet ask = proto::makePacket(proto::CmdGetInfo, 1, 0, 0);
        QVERIFY(!UsbFinderC_ReadWriteDeviceData(ask.bytes.data(), reply, 64)); // nothing opened
        QVERIFY(!UsbFinderC_OpenDevice("no such device"));
        QVERIFY(UsbFinderC_OpenDevice(cable.constData()));
        QVERIFY(UsbFinderC_ReadWriteDeviceData(ask.bytes.data(), reply, 64));
        QVERIFY(proto::validPacket(reply, 64));
        QCOMPARE(int(reply[1]), int(proto::CmdGetInfo));
        QCOMPARE(int(reply[8 + 2]), 2); // cabled
        proto::Packet broken = ask;
        broken.bytes[40] ^= 1; // checksum no longer fits
        QVERIFY(!UsbFinderC_ReadWriteDeviceData(broken.bytes.data(), reply, 64));
        QVERIFY(!UsbFinderC_ReadWriteDeviceData(ask.bytes.data(), reply, 65));

        const unsigned char record[5] = {2, 2, 2, 0, 0};
        QVERIFY(!UsbFinderC_SetDongleIDToMouse(pathBytes("r1").constData(), record)); // a receiver takes none
        QVERIFY(UsbFinderC_SetDongleIDToMouse(cable.constData(), record));
        UsbAddressInfo info{};
        QVERIFY(UsbFinderC_GetDeviceOnLineWithUsbAddress(cable.constData(), &info));
        QCOMPARE(int(info.receiverId[0]), 2);
        QVERIFY(sim::unplug("m"));
        QVERIFY(UsbFinderC_GetDeviceOnLine(pathBytes("r2").constData()));
        QVERIFY(!UsbFinderC_GetDeviceOnLine(pathBytes("r1").constData()));
    }

    void commandsWithoutReports()
    {
        const QByteArray path = pathBytes("receiver");
        QVERIFY(!UsbServer_SetPCDriverStatus(1)); // no device open yet
        QVERIFY(UsbServerC_Start(path.constData(), path.constData(), &ReportSink::callback));
        QVERIFY(UsbServer_SetPCDriverStatus(1));
        QVERIFY(UsbServer_SetBatteryOptimizeEnable(0));
        QVERIFY(sim::waitIdle());
        QVERIFY(sim::pcDriverStatus("receiver"));
        QVERIFY(sim::pcDriverStatus("mouse"));
        QVERIFY(!sim::batteryOptimize("mouse"));
        QVERIFY(UsbServer_SetPCDriverStatus(0));
        QVERIFY(UsbServer_SetBatteryOptimizeEnable(1));
        QVERIFY(UsbServer_SetCurrentConfig(9)); // no such slot: ignored
        QVERIFY(sim::waitIdle());
        QVERIFY(!sim::pcDriverStatus("mouse"));
        QVERIFY(sim::batteryOptimize("mouse"));
        QCOMPARE(sim::activeSlot("mouse"), 0);
        QCOMPARE(ReportSink::instance().reports().size(), 0);
    }

    void journalRecordsCalls()
    {
        const QByteArray path = pathBytes("receiver");
        sim::clearJournal();
        UsbFinderC_GetDeviceOnLine(path.constData());
        UsbServerC_Start(path.constData(), path.constData(), &ReportSink::callback);
        UsbServer_SetCurrentConfig(7);
        const QVector<sim::JournalEntry> j = sim::journal();
        QCOMPARE(j.size(), 3);
        QCOMPARE(j[0].function, QString("UsbFinderC_GetDeviceOnLine"));
        QCOMPARE(j[0].path, QString::fromLocal8Bit(path));
        QCOMPARE(j[0].result, QString("true"));
        QCOMPARE(j[0].thread, QString("caller"));
        QCOMPARE(j[1].function, QString("UsbServerC_Start"));
        QCOMPARE(j[2].arguments, QString("index=7"));
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestHidUsbDevice)
#include "tst_hidusb_device.moc"
