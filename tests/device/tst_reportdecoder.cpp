// The report decoder, fed on a thread of its own as the library does: every
// report kind, error codes and wrong lengths, the status-change reads, the
// re-read interval, and the settings-reset sequence.
#include "device/setters.h"
#include "support/linkfixture.h"
#include "support/testmain.h"

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Feeds one report from a thread that is not the GUI thread and serves the
// GUI thread until the decoder has returned.
// `padded`: the library's guarantee of 64 readable bytes, zero past the
// length; without it the buffer holds exactly the payload.
void deliver(const QByteArray &header, const QByteArray &payload, int payloadLength = -1, bool padded = true)
{
    std::vector<unsigned char> buffer(payload.begin(), payload.end());
    if (padded && buffer.size() < size_t(hidusb::kPacketSize))
        buffer.resize(hidusb::kPacketSize, 0);
    const int length = payloadLength < 0 ? payload.size() : payloadLength;
    std::atomic<bool> done{false};
    std::thread library([&] {
        onDeviceReport(reinterpret_cast<const unsigned char *>(header.constData()), header.size(),
                       buffer.empty() ? nullptr : buffer.data(), length);
        done = true;
    });
    QTRY_VERIFY(done);
    library.join();
}

QByteArray header(int kind, int error = 0, int sub = 0)
{
    return QByteArray::fromRawData("\0", 1) + char(kind) + char(0) + char(error) + char(sub);
}

// Stand-in report callback while reports are fed by hand: keeps the dumps the
// mouse sends and passes nothing on.
std::mutex capturedMutex;
QByteArray capturedDump;
std::atomic<int> capturedDumps{0};
void captureReports(const unsigned char *h, int hl, const unsigned char *payload, int length)
{
    if (hl > 4 && h[1] == hidusb::ReportData && h[4] == 0 && length == hidusb::kDumpSize) {
        std::lock_guard<std::mutex> lock(capturedMutex);
        capturedDump = QByteArray(reinterpret_cast<const char *>(payload), length);
        ++capturedDumps;
    }
}

QByteArray takeDump()
{
    std::lock_guard<std::mutex> lock(capturedMutex);
    return capturedDump;
}

} // namespace

class TestReportDecoder : public QObject
{
    Q_OBJECT
    LinkFixture f;

    // Open the mouse, then take report delivery over by hand.
    void openAndTakeOver()
    {
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        UsbServerC_Start(currentDevicePath, currentDevicePath, captureReports);
        QVERIFY(settleLibrary());
        f.pages->clear();
        sim::clearJournal();
    }

private slots:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void singleReports_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QStringList>("emitted");
        QTest::addColumn<int>("offset"); // record byte that changes, -1 none
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("sends");

        using namespace hidusb;
        const QByteArray one("\x02", 1);
        QTest::newRow("battery") << header(ReportBattery) << QByteArray("\x39\x01", 2)
                                 << QStringList{"SigBattery(true,57,true)"} << -1 << QByteArray() << false;
        QTest::newRow("battery, error code") << header(ReportBattery, 3) << QByteArray("\x39\x01", 2)
                                             << QStringList{"SigBattery(true,57,true)"} << -1 << QByteArray() << false;
        QTest::newRow("battery, not charging")
            << header(ReportBattery) << QByteArray("\x05\x00", 2) << QStringList{"SigBattery(false,5,true)"} << -1
            << QByteArray() << false;
        QTest::newRow("report rate") << header(ReportData, 0, DataReportRate) << one
                                     << QStringList{"SigUpDataReportRate(2)"} << 0 << one << true;
        QTest::newRow("report rate, error code")
            << header(ReportData, 1, DataReportRate) << one << QStringList{} << -1 << QByteArray() << false;
        QTest::newRow("report rate, two bytes") << header(ReportData, 0, DataReportRate) << QByteArray("\x02\x02", 2)
                                                << QStringList{} << -1 << QByteArray() << false;
        QTest::newRow("active stage") << header(ReportData, 0, DataActiveStage) << QByteArray("\x03", 1)
                                      << QStringList{"SigUpDataDPI(3)"} << 2 << QByteArray("\x03", 1) << true;
        QTest::newRow("active stage, empty")
            << header(ReportData, 0, DataActiveStage) << QByteArray() << QStringList{} << -1 << QByteArray() << false;
        QTest::newRow("active stage, error code") << header(ReportData, 5, DataActiveStage) << QByteArray("\x03", 1)
                                                  << QStringList{} << -1 << QByteArray() << false;
        const QByteArray led("\x02\x5A\x04\x01\x00\x00\x00\x00", 8);
        QTest::newRow("DPI LEDs") << header(ReportData, 0, DataDpiLed) << led << QStringList{"SigUpDataDPILed"} << 96
                                  << led.left(4) << false;
        QTest::newRow("DPI LEDs, error code")
            << header(ReportData, 1, DataDpiLed) << led << QStringList{} << -1 << QByteArray() << false;
        QTest::newRow("DPI LEDs, 9 bytes")
            << header(ReportData, 0, DataDpiLed) << led + '\0' << QStringList{} << -1 << QByteArray() << false;
        QTest::newRow("DPI LEDs, 7 bytes")
            << header(ReportData, 0, DataDpiLed) << led.left(7) << QStringList{} << -1 << QByteArray() << false;
        const QByteArray light("\x05\x10\x20\x30\x02\x03\x01\x00\x00", 9);
        QTest::newRow("mouse light") << header(ReportData, 0, DataLightBar) << light
                                     << QStringList{"SigUpDataLightLight"} << 100 << light.left(7) << false;
        QTest::newRow("mouse light, 8 bytes")
            << header(ReportData, 0, DataLightBar) << light.left(8) << QStringList{} << -1 << QByteArray() << false;
        QTest::newRow("mouse light, error code")
            << header(ReportData, 2, DataLightBar) << light << QStringList{} << -1 << QByteArray() << false;
        QTest::newRow("unknown data sub-kind")
            << header(ReportData, 0, 5) << one << QStringList{} << -1 << QByteArray() << false;
        QTest::newRow("dump one byte short") << header(ReportData, 0, DataFullDump) << QByteArray(6911, '\x01')
                                             << QStringList{} << -1 << QByteArray() << false;
        QTest::newRow("6912 bytes that are no dump") << header(ReportData, 0, DataFullDump) << QByteArray(6912, '\x01')
                                                     << QStringList{} << -1 << QByteArray() << false;
        QTest::newRow("configuration slot")
            << header(ReportConfigSlot) << QByteArray("\x02", 1) << QStringList{"SigUpDataConfigUI(4,2,true)"} << -1
            << QByteArray() << false;
        QTest::newRow("configuration slot, error code")
            << header(ReportConfigSlot, 4) << QByteArray("\x01", 1) << QStringList{"SigUpDataConfigUI(4,1,true)"} << -1
            << QByteArray() << false;
        QTest::newRow("configuration slot, 2 bytes")
            << header(ReportConfigSlot) << QByteArray("\x02\x00", 2) << QStringList{"SigUpDataConfigUI(0,0,false)"}
            << -1 << QByteArray() << false;
        QTest::newRow("configuration slot, empty")
            << header(ReportConfigSlot) << QByteArray() << QStringList{"SigUpDataConfigUI(0,0,false)"} << -1
            << QByteArray() << false;
        QTest::newRow("receiver LED choice")
            << header(ReportReceiverLed) << QByteArray() << QStringList{"SigRGBValue"} << -1 << QByteArray() << false;
        QTest::newRow("long range off") << header(ReportLongRangeOff) << QByteArray(10, '\0')
                                        << QStringList{"SigLongRangeMode(false)"} << -1 << QByteArray() << false;
        QTest::newRow("long range off, error code")
            << header(ReportLongRangeOff, 1) << QByteArray(10, '\0') << QStringList{"SigLongRangeMode(false)"} << -1
            << QByteArray() << false;
        QTest::newRow("long range off, 11 bytes")
            << header(ReportLongRangeOff) << QByteArray(11, '\0') << QStringList{} << -1 << QByteArray() << false;
        QTest::newRow("long range off, 9 bytes")
            << header(ReportLongRangeOff) << QByteArray(9, '\0') << QStringList{} << -1 << QByteArray() << false;
        QTest::newRow("one-byte header") << QByteArray("\x08", 1) << one << QStringList{} << -1 << QByteArray()
                                         << false;
        QTest::newRow("no header") << QByteArray() << one << QStringList{} << -1 << QByteArray() << false;
        for (int kind : {0, 3, 5, 6, 7, 11, 12, 13, 15, 16, 17, 19, 20, 22, 24, 255})
            QTest::newRow(qPrintable(QString("ignored kind %1").arg(kind)))
                << header(kind) << QByteArray(10, '\x01') << QStringList{} << -1 << QByteArray() << false;
    }
    void singleReports()
    {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, payload);
        QFETCH(QStringList, emitted);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, sends);
        openAndTakeOver();
        if (QTest::currentTestFailed())
            return;
        const FlashDataMap before = currentFlashData;

        deliver(head, payload);

        QStringList seen;
        for (int i = 0; i < f.pages->events.size(); ++i)
            seen << f.pages->describe(i);
        QCOMPARE(seen, emitted);
        FlashDataMap expected = before;
        if (offset >= 0)
            std::memcpy(recordBytes(expected) + offset, bytes.constData(), size_t(bytes.size()));
        QVERIFY(sameRecord(currentFlashData, expected));
        for (const HubRecorder::Event &e : f.pages->events) {
            QVERIFY(e.onGuiThread);
            if (e.name == "SigUpDataDPILed" || e.name == "SigUpDataLightLight")
                QVERIFY(sameRecord(e.record, expected));
        }
        QCOMPARE(journalFunctions().count("ProtocolDataUpdate"), sends ? 1 : 0);
    }

    void statusChangeReadsWhatChanged_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<QStringList>("reads");
        QTest::addColumn<int>("error");
        QTest::newRow("stage and rate") << 0x03 << QStringList{"UsbServer_ReadCurrentDPI", "UsbServer_ReadReportRate"}
                                        << 0;
        QTest::newRow("battery, error code") << 0x40 << QStringList{"UsbServer_ReadBatteryLevel"} << 9;
        QTest::newRow("all but configuration")
            << 0x6B
            << QStringList{"UsbServer_ReadCurrentDPI", "UsbServer_ReadReportRate", "UsbServer_ReadBatteryLevel",
                           "UsbServer_ReadLedBar", "UsbServer_ReadDPILed"}
            << 0;
        // Each of the two lighting flags asks for its own read.
        QTest::newRow("light effect only") << 0x20 << QStringList{"UsbServer_ReadLedBar"} << 0;
        QTest::newRow("DPI LED only") << 0x08 << QStringList{"UsbServer_ReadDPILed"} << 0;
        QTest::newRow("unused flag only") << 0x10 << QStringList{} << 0;
        QTest::newRow("configuration only") << 0x04 << QStringList{} << 0;
    }
    void statusChangeReadsWhatChanged()
    {
        QFETCH(int, flags);
        QFETCH(QStringList, reads);
        QFETCH(int, error);
        openAndTakeOver();
        if (QTest::currentTestFailed())
            return;
        deliver(header(hidusb::ReportStatusChanged, error), QByteArray(1, char(flags)));
        QStringList requested = journalFunctions().filter(QRegularExpression("^UsbServer_Read"));
        QCOMPARE(requested, reads);
        QVERIFY(f.pages->events.isEmpty());
    }

    // A configuration change asks for a re-read at most once per 3000 ms.
    void reReadIntervalOf3000ms()
    {
        openAndTakeOver();
        if (QTest::currentTestFailed())
            return;
        setReReadClock(&fakeClock);
        fakeNow = 10000;
        restartReReadTimer();
        const struct
        {
            qint64 at;
            bool due;
        } steps[] = {
            {11000, false},                 // within the interval of the worker's start
            {13001, true},  {14001, false}, // 1000 ms after the last re-read
            {16001, false},                 // exactly 3000 ms: not more than the interval
            {16002, true},  {19500, true},
        };
        for (const auto &step : steps) {
            restartPending = false;
            reReadRequested = false;
            fakeNow = step.at;
            deliver(header(hidusb::ReportStatusChanged), QByteArray(1, '\x04'));
            QCOMPARE(restartPending.load(), step.due);
            QCOMPARE(reReadRequested.load(), step.due);
        }
        QVERIFY(journalFunctions().filter(QRegularExpression("^UsbServer_Read")).isEmpty());
    }

    // A full dump counts only without an error code and at its whole length.
    void fullDumpNeedsNoErrorAndItsWholeLength_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("extra"); // bytes added to (or, negative, cut from) the dump
        QTest::addColumn<bool>("taken");
        QTest::newRow("whole dump") << 0 << 0 << true;
        QTest::newRow("error code") << 1 << 0 << false;
        QTest::newRow("one byte long") << 0 << 1 << false;
        QTest::newRow("one byte short") << 0 << -1 << false;
    }
    void fullDumpNeedsNoErrorAndItsWholeLength()
    {
        QFETCH(int, error);
        QFETCH(int, extra);
        QFETCH(bool, taken);
        openAndTakeOver();
        if (QTest::currentTestFailed())
            return;
        capturedDumps = 0;
        UsbServer_ReadAllFlashData();
        QTRY_COMPARE(capturedDumps.load(), 1);
        QByteArray dump = takeDump();
        // A report rate the record does not hold yet shows whether the dump was taken.
        dump[0] = char(currentFlashData.reportRate == 16 ? 32 : 16);
        if (extra > 0)
            dump.append(QByteArray(extra, '\0'));
        else
            dump.chop(-extra);
        const FlashDataMap before = currentFlashData;
        f.pages->clear();
        sim::clearJournal();

        deliver(header(hidusb::ReportData, error, hidusb::DataFullDump), dump);

        QCOMPARE(journalFunctions().count("ProtocolDataUpdate"), taken ? 1 : 0);
        QCOMPARE(f.pages->count("SigForm"), taken ? 1 : 0);
        if (taken) {
            QCOMPARE(int(currentFlashData.reportRate), int(quint8(dump[0])));
        } else {
            QVERIFY(sameRecord(currentFlashData, before));
            QVERIFY(f.pages->events.isEmpty());
        }
    }

    // A buffer that holds only the payload (no padding behind it) is never
    // read past its end; missing bytes read as zero.
    void shortBuffersAreNotReadPastTheirEnd_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QStringList>("emitted");
        QTest::addColumn<QStringList>("reads");
        using namespace hidusb;
        QTest::newRow("battery, level only") << header(ReportBattery) << QByteArray("\x39", 1)
                                             << QStringList{"SigBattery(false,57,true)"} << QStringList{};
        QTest::newRow("battery, empty") << header(ReportBattery) << QByteArray()
                                        << QStringList{"SigBattery(false,0,true)"} << QStringList{};
        QTest::newRow("status change, empty")
            << header(ReportStatusChanged) << QByteArray() << QStringList{} << QStringList{};
        QTest::newRow("status change, one byte") << header(ReportStatusChanged) << QByteArray("\x01", 1)
                                                 << QStringList{} << QStringList{"UsbServer_ReadCurrentDPI"};
    }
    void shortBuffersAreNotReadPastTheirEnd()
    {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, payload);
        QFETCH(QStringList, emitted);
        QFETCH(QStringList, reads);
        openAndTakeOver();
        if (QTest::currentTestFailed())
            return;
        deliver(head, payload, -1, false);
        QStringList seen;
        for (int i = 0; i < f.pages->events.size(); ++i)
            seen << f.pages->describe(i);
        QCOMPARE(seen, emitted);
        QCOMPARE(journalFunctions().filter(QRegularExpression("^UsbServer_Read")), reads);
    }

    void firmwareVersionText_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("text");
        QTest::newRow("0x0203") << 0x0203 << "v2.03";
        QTest::newRow("0x010A") << 0x010A << "v1.0A";
        QTest::newRow("0x0AFF") << 0x0AFF << "v10.FF";
    }
    void firmwareVersionText()
    {
        QFETCH(int, version);
        QFETCH(QString, text);
        const QByteArray scenario = QString(R"({"devices":[{"id":"receiver","type":"receiver"},)"
                                            R"({"id":"mouse","type":"mouse","pairedTo":"receiver","version":%1}]})")
                                        .arg(version)
                                        .toUtf8();
        QString error;
        QVERIFY2(sim::loadScenarioJson(scenario, &error), qPrintable(error));
        openAndTakeOver();
        if (QTest::currentTestFailed())
            return;
        deliver(header(hidusb::ReportVersion), QByteArray(2, '\0'));
        QCOMPARE(currentDevice.get().mouseVersion, text);
        QTRY_COMPARE(f.pages->count("SigSetver"), 1);
        QCOMPARE(f.pages->last("SigSetver")->args.at(0).toInt(), 0);
    }

    // The mouse's answer to a settings reset: battery optimisation back on,
    // the model's receiver defaults, a fresh read; the dump that follows
    // skips the receiver reads once and keeps only the key records of buttons
    // whose default is a key. Missing catalogue entries mean "no such feature".
    void settingsReset_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QList<int>>("keptButtons");
        QTest::addColumn<int>("ledChoice"); // -1: left alone
        QTest::addColumn<int>("longRange"); // -1: left alone
        QTest::newRow("model 1: receiver defaults, no key kept") << 0 << QList<int>{} << 1 << 0;
        QTest::newRow("model 2: key button 8 kept, no LED choice") << 1 << QList<int>{7} << -1 << 0;
        QTest::newRow("model 3: key button 7 kept, no receiver features") << 2 << QList<int>{6} << -1 << -1;
        QTest::newRow("model outside the catalogue") << 9 << QList<int>{} << -1 << -1;
    }
    void settingsReset()
    {
        QFETCH(int, model);
        QFETCH(QList<int>, keptButtons);
        QFETCH(int, ledChoice);
        QFETCH(int, longRange);
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        // Key records and macros on several buttons.
        KeyComboRecord combo{};
        combo.count = 1;
        combo.events[0] = KeyEvent{0, 1, 0x06, 20};
        MacroRecord macro{};
        macro.nameLength = 1;
        macro.name[0] = 'Z';
        macro.slotCount = 1;
        macro.events[0] = KeyEvent{0, 1, 0x1D, 50};
        const ButtonFunction keyFn{5, 0, 0};
        for (int b : {3, 6, 7})
            QVERIFY(setButtonKeyCombo(b, &keyFn, &combo));
        QVERIFY(setButtonMacro(9, &keyFn, &macro));
        QTRY_VERIFY(sameRecord(mouseFlash(), currentFlashData));

        currentDevice.update([&](DeviceAllInfo &d) { d.modelIndex = model; });
        UsbServerC_Start(currentDevicePath, currentDevicePath, captureReports);
        QVERIFY(settleLibrary());
        capturedDumps = 0;
        UsbServer_ReadAllFlashData();
        QTRY_COMPARE(capturedDumps.load(), 1);
        const QByteArray dump = takeDump();
        const FlashDataMap before = currentFlashData;
        f.pages->clear();
        sim::clearJournal();

        deliver(header(hidusb::ReportSettingsCleared), QByteArray());
        QStringList calls = journalFunctions();
        QCOMPARE(calls.first(), QString("UsbServer_SetBatteryOptimizeEnable"));
        QCOMPARE(calls.contains("UsbFinderC_Set4KDongleRGB"), ledChoice > 0);
        QCOMPARE(calls.contains("UsbFinderC_SetLongRangeMode"), longRange >= 0);
        QCOMPARE(calls.last(), QString("UsbServer_ReadAllFlashData"));
        QCOMPARE(f.pages->count("SigRGBValue"), ledChoice > 0 ? 1 : 0);
        if (ledChoice > 0)
            QCOMPARE(f.pages->last("SigRGBValue")->args.at(0).toInt(), ledChoice);
        QCOMPARE(f.pages->count("SigLongRangeMode"), longRange >= 0 ? 1 : 0);
        if (longRange >= 0) {
            QCOMPARE(f.pages->last("SigLongRangeMode")->args.at(0).toBool(), longRange == 1);
            QTRY_COMPARE(sim::longRange("receiver"), longRange == 1);
        }

        // The dump that answers it (the one captured before, with the records).
        sim::clearJournal();
        f.pages->clear();
        deliver(header(hidusb::ReportData, 0, hidusb::DataFullDump), dump);
        calls = journalFunctions();
        QVERIFY(!calls.contains("UsbFinderC_Get4KDongleRGBValue"));
        QVERIFY(!calls.contains("UsbFinderC_GetLongRangeMode"));
        QCOMPARE(calls.count("ProtocolDataUpdate"), 1);
        QStringList names = f.pages->names();
        QCOMPARE(names.removeAll("SigIsUsb"), 1); // queued, so it may come at any point
        QCOMPARE(names,
                 (QStringList{"SigUpDataLightUIButton", "SigUpDataLightLight", "SigUpDataLightSensor", "SigForm"}));
        FlashDataMap expected = before;
        for (int b = 0; b < 16; ++b) {
            if (!keptButtons.contains(b))
                std::memset(&expected.keyCombos[b], 0, sizeof(KeyComboRecord));
            std::memset(&expected.macros[b], 0, sizeof(MacroRecord));
        }
        QVERIFY(sameRecord(currentFlashData, expected));
        QVERIFY(sameRecord(f.pages->last("SigUpDataLightUIButton")->record, expected));
        for (int b : keptButtons)
            QVERIFY(std::memcmp(&currentFlashData.keyCombos[b], &combo, sizeof combo) == 0);

        // Only once: the next dump reads the receiver again and keeps the records.
        sim::clearJournal();
        deliver(header(hidusb::ReportData, 0, hidusb::DataFullDump), dump);
        calls = journalFunctions();
        QCOMPARE(calls.contains("UsbFinderC_Get4KDongleRGBValue"), true);
        QVERIFY(calls.contains("UsbFinderC_GetLongRangeMode"));
        QVERIFY(sameRecord(currentFlashData, before));
    }
};

VELMORAX_TEST_MAIN(TestReportDecoder)
#include "tst_reportdecoder.moc"
