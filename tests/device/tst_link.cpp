// The device link end to end: the real hub, stores, setters, worker and
// report decoder against the simulated receiver and mouse.
#include "app/configini.h"
#include "app/delays.h"
#include "device/setters.h"
#include "platform/registry.h"
#include "support/linkfixture.h"
#include "support/testmain.h"

#include <functional>
#include <thread>

namespace {

struct SetterCase
{
    const char *name;
    std::function<bool()> call;
    QVector<QPair<int, int>> bytes; // record offset, expected byte
    int sends = 1;                  // records sent (a macro binding sends its macro first)
};

DpiStage factoryStage(int i)
{
    FlashDataMap r = mouseFlash();
    return r.dpiStages[i];
}

KeyComboRecord sampleCombo()
{
    KeyComboRecord k{};
    k.count = 2;
    k.events[0] = KeyEvent{0, 0, 1, 30};    // left Ctrl down
    k.events[1] = KeyEvent{0, 1, 0x06, 40}; // C down
    return k;
}

MacroRecord sampleMacro()
{
    MacroRecord m{};
    m.nameLength = 2;
    m.name[0] = 'M';
    m.name[1] = '1';
    m.slotCount = 2;
    m.events[0] = KeyEvent{0, 1, 0x04, 120};
    m.events[1] = KeyEvent{1, 1, 0x04, 5000};
    return m;
}

QVector<QPair<int, int>> bytesOf(int offset, const void *data, int size)
{
    QVector<QPair<int, int>> out;
    const auto *p = static_cast<const unsigned char *>(data);
    for (int i = 0; i < size; ++i)
        out << qMakePair(offset + i, int(p[i]));
    return out;
}

const QVector<SetterCase> &setterCases()
{
    static const QVector<SetterCase> cases = [] {
        QVector<SetterCase> c;
        c << SetterCase{"setReportRate", [] { return setReportRate(2); }, {{0, 2}}};
        c << SetterCase{"setReportRate low byte", [] { return setReportRate(0x110); }, {{0, 0x10}}};
        c << SetterCase{"setActiveDpiStage", [] { return setActiveDpiStage(3); }, {{2, 3}}};
        c << SetterCase{"setDpiStageCode",
                        [] { return setDpiStageCode(2, 0x33, 0x34, 0x11); },
                        {{60, 0x33}, {61, 0x34}, {62, 0x11}}};
        c << SetterCase{
            "setDpiStageColor", [] { return setDpiStageColor(7, 10, 20, 30); }, {{93, 10}, {94, 20}, {95, 30}}};
        c << SetterCase{"setLod", [] { return setLod(3); }, {{5, 3}}};
        c << SetterCase{"setDebounceTime", [] { return setDebounceTime(12); }, {{6, 12}}};
        c << SetterCase{"setMotionSync", [] { return setMotionSync(1); }, {{7, 1}}};
        c << SetterCase{"setStopCloseTime", [] { return setStopCloseTime(30); }, {{8, 30}}};
        c << SetterCase{"setStraightLine", [] { return setStraightLine(1); }, {{9, 1}}};
        c << SetterCase{"setRippleControl", [] { return setRippleControl(1); }, {{10, 1}}};
        c << SetterCase{"setLightOffWhenMoving", [] { return setLightOffWhenMoving(1); }, {{11, 1}}};
        c << SetterCase{"setPerformance", [] { return setPerformance(1); }, {{12, 1}}};
        c << SetterCase{"setPerformanceTime", [] { return setPerformanceTime(60); }, {{13, 60}}};
        c << SetterCase{"setModelChoose", [] { return setModelChoose(1); }, {{14, 1}}};
        c << SetterCase{"setAngle -30", [] { return setAngle(-30); }, {{15, 0xE2}, {16, 1}}};
        c << SetterCase{"setAngle +30", [] { return setAngle(30); }, {{15, 0x1E}, {16, 1}}};
        c << SetterCase{"set20KOpen", [] { return set20KOpen(1); }, {{42, 1}}};
        c << SetterCase{"setWheelDebounce", [] { return setWheelDebounce(70); }, {{43, 70}}};
        c << SetterCase{"setReleaseDebounce", [] { return setReleaseDebounce(20); }, {{44, 20}}};
        c << SetterCase{"setDpiLedMode breathing", [] { return setDpiLedMode(2); }, {{96, 2}, {99, 1}}};
        c << SetterCase{"setDpiLedMode off keeps the effect", [] { return setDpiLedMode(0); }, {{96, 1}, {99, 0}}};
        c << SetterCase{"setDpiLedBrightness", [] { return setDpiLedBrightness(90); }, {{97, 90}}};
        c << SetterCase{"setDpiLedSpeed", [] { return setDpiLedSpeed(5); }, {{98, 5}}};
        c << SetterCase{"setMouseLightMode", [] { return setMouseLightMode(3); }, {{100, 3}, {106, 1}}};
        c << SetterCase{
            "setMouseLightMode off keeps the effect", [] { return setMouseLightMode(0); }, {{100, 1}, {106, 0}}};
        c << SetterCase{
            "setMouseLightColor", [] { return setMouseLightColor(1, 2, 3); }, {{101, 1}, {102, 2}, {103, 3}}};
        c << SetterCase{"setMouseLightSpeed", [] { return setMouseLightSpeed(7); }, {{104, 7}}};
        c << SetterCase{"setMouseLightBrightness", [] { return setMouseLightBrightness(2); }, {{105, 2}}};
        c << SetterCase{"setButtonFunction last button",
                        [] { return setButtonFunction(15, 5, 0x12, 0x34); },
                        {{152, 5}, {153, 0x12}, {154, 0x34}}};
        {
            const ButtonFunction f{5, 0, 0};
            const KeyComboRecord k = sampleCombo();
            SetterCase s{"setButtonKeyCombo", [f, k] { return setButtonKeyCombo(4, &f, &k); },
                         bytesOf(107 + 12, &f, 3)};
            s.bytes += bytesOf(156 + 52 * 4, &k, 52);
            c << s;
        }
        {
            const ButtonFunction f{6, 1, 0};
            const MacroRecord m = sampleMacro();
            SetterCase s{"setButtonMacro last button", [f, m] { return setButtonMacro(15, &f, &m); },
                         bytesOf(152, &f, 3)};
            s.bytes += bytesOf(9868, &m, 592);
            s.sends = 2;
            c << s;
        }
        c << SetterCase{"swapDpiStages",
                        [] {
                            // The stage editor's call: exchange stages 0 and 2, stage 2 active.
                            const DpiStage a = factoryStage(2), b = factoryStage(0);
                            return swapDpiStages(&a, &b, 2, 0, 2);
                        },
                        {}};
        return c;
    }();
    return cases;
}

// Bytes the program never uses, every one of them; seeded so that a setter
// that clobbers any of them shows.
QVector<int> unusedBytes()
{
    QVector<int> at{3, 45, 46, 47, 155};
    for (int i = 17; i <= 41; ++i)
        at << i;
    return at;
}

} // namespace

class TestLink : public QObject
{
    Q_OBJECT
    LinkFixture f;

private slots:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void attachReadsTheWholeConfigurationInOrder()
    {
        const DeviceAllInfo entry = mouseEntry();
        QVERIFY(!entry.path.isEmpty());
        QVERIFY(!entry.wired);
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;

        const QStringList seen = journalFunctions();
        const QStringList expected{"UsbFinderC_GetDeviceOnLine",  "UsbServerC_Start",
                                   "UsbServer_SetPCDriverStatus", "UsbServer_ReadAllFlashData",
                                   "ProtocolDataParser",          "UsbServer_ReadDPILed",
                                   "UsbServer_ReadBatteryLevel",  "UsbServer_ReadVersion",
                                   "UsbServer_ReadConfig",        "UsbFinderC_Get4KDongleRGBValue",
                                   "UsbFinderC_GetLongRangeMode", "ProtocolDataUpdate"};
        const QVector<int> at = positionsInOrder(seen, expected);
        QVERIFY2(!at.contains(-1), qPrintable(seen.join(' ')));

        // The pages hear of the attach first, then get the record, in order,
        // after it went back to the mouse.
        const QStringList names = f.pages->names();
        const int announce = names.indexOf("SigUpDataParam");
        QVERIFY(announce >= 0);
        QCOMPARE(f.pages->events[announce].args.at(0).toInt(), 0);
        const int button = names.indexOf("SigUpDataLightUIButton");
        QVERIFY(announce < button);
        QCOMPARE(names.indexOf("SigUpDataLightLight", button), button + 1);
        QCOMPARE(names.indexOf("SigUpDataLightSensor", button), button + 2);
        QCOMPARE(names.indexOf("SigForm", button), button + 3);
        QVERIFY(f.pages->events[button].journalAt > at.last());
        const FlashDataMap flash = mouseFlash();
        for (int i = button; i < button + 3; ++i) {
            QVERIFY(f.pages->events[i].onGuiThread);
            QVERIFY(sameRecord(f.pages->events[i].record, flash));
        }
        QVERIFY(sameRecord(currentFlashData, flash));

        // The follow-up reads come back as reports.
        QTRY_VERIFY(f.pages->count("SigBattery") >= 1);
        QTRY_VERIFY(f.pages->count("SigUpDataConfigUI") >= 1);
        QTRY_VERIFY(f.pages->count("SigUpDataDPILed") >= 1);
        QTRY_VERIFY(f.pages->count("SigSetver") >= 1);
        const HubRecorder::Event *slot = f.pages->last("SigUpDataConfigUI");
        QCOMPARE(slot->args.at(0).toInt(), 4);
        QCOMPARE(slot->args.at(1).toInt(), sim::activeSlot("mouse"));
        QCOMPARE(slot->args.at(2).toBool(), true);
        const int version = sim::firmwareVersion("mouse");
        const QString versionText = QString("v%1.").arg(version >> 8) + QString::asprintf("%02X", version & 0xFF);
        QCOMPARE(currentDevice.get().mouseVersion, versionText);
        const QString cid = ConfigIni::instance()->value("Option", "CID");
        const QString mid = ConfigIni::instance()->value("Drive1", "MID");
        QVERIFY(!cid.isEmpty() && !mid.isEmpty());
        QCOMPARE(registry::value(registry::kDriveTestKey, "MouseVer" + cid + mid), versionText);

        QVERIFY(passOnline);
        QVERIFY(!runRequested);
        QCOMPARE(loadedCacheName.get(), cacheNameForId(entry.id));
        QCOMPARE(selectedCacheName.get(), cacheNameForId(entry.id));
    }

    void settersWriteTheirBytesAndNothingElse_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < setterCases().size(); ++i)
            QTest::newRow(setterCases()[i].name) << i;
    }
    void settersWriteTheirBytesAndNothingElse()
    {
        QFETCH(int, row);
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        // Seed the unused bytes, as a record from the field may carry them.
        const QVector<int> unused = unusedBytes();
        for (int i = 0; i < unused.size(); ++i)
            recordBytes(currentFlashData)[unused[i]] = quint8(0xA0 + i);
        QVERIFY(sendFlashDataIfOnline());
        QTRY_VERIFY(sameRecord(mouseFlash(), currentFlashData));

        const FlashDataMap before = mouseFlash();
        SetterCase c = setterCases()[row];
        if (c.bytes.isEmpty()) { // the swap: stages 0 and 2 exchanged, stage 2 active of 3
            c.bytes += bytesOf(48, &before.dpiStages[2], 6);
            c.bytes += bytesOf(60, &before.dpiStages[0], 6);
            c.bytes << qMakePair(1, 3) << qMakePair(2, 2);
        }
        FlashDataMap expected = before;
        bool changes = false;
        for (const auto &b : c.bytes) {
            changes |= recordBytes(before)[b.first] != b.second;
            recordBytes(expected)[b.first] = quint8(b.second);
        }
        QVERIFY2(changes, "the row must change the mouse's record");

        sim::clearJournal();
        QVERIFY(c.call());
        QCOMPARE(journalFunctions().count("ProtocolDataUpdate"), c.sends);
        QVERIFY(sameRecord(currentFlashData, expected));
        QTRY_VERIFY(sameRecord(mouseFlash(), expected));
        const FlashDataMap after = mouseFlash();
        for (int i = 0; i < unused.size(); ++i)
            QCOMPARE(int(recordBytes(after)[unused[i]]), 0xA0 + i);
        QCOMPARE(f.pages->count("SigMouseOffLineo"), 0);
    }

    void silentMouseIsRefusedWithOneNotice_data()
    {
        QTest::addColumn<int>("refilling"); // 0 none, 1 button, 2 light, 3 sensor page
        QTest::addColumn<int>("notices");
        QTest::newRow("no page refilling") << 0 << 1;
        QTest::newRow("button page refilling") << 1 << 0;
        QTest::newRow("lighting page refilling") << 2 << 0;
        QTest::newRow("sensor page refilling") << 3 << 0;
    }
    void silentMouseIsRefusedWithOneNotice()
    {
        QFETCH(int, refilling);
        QFETCH(int, notices);
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        QVERIFY(sim::sleep("mouse"));
        QTRY_VERIFY(!UsbFinderC_GetDeviceOnLine(currentDevicePath));
        std::atomic<bool> *flags[] = {nullptr, &buttonPageRefreshing, &lightPageRefreshing, &sensorPageRefreshing};
        if (flags[refilling])
            *flags[refilling] = true;

        const FlashDataMap record = currentFlashData;
        const FlashDataMap flash = mouseFlash();
        f.pages->clear();
        sim::clearJournal();
        QVERIFY(!setReportRate(2));
        QVERIFY(!setButtonFunction(3, 9, 9, 9));
        QVERIFY(!checkDeviceOnline());
        QCOMPARE(f.pages->count("SigMouseOffLineo"), 3 * notices);
        for (const HubRecorder::Event &e : f.pages->events)
            QCOMPARE(e.args.value(0).toInt(), 0);
        QVERIFY(sameRecord(currentFlashData, record));
        QVERIFY(!journalFunctions().contains("ProtocolDataUpdate"));
        QVERIFY(sameRecord(mouseFlash(), flash));

        // The receiver panels' plain send never raises the notice.
        sendFlashData();
        QCOMPARE(f.pages->count("SigMouseOffLineo"), 3 * notices);
        QCOMPARE(journalFunctions().count("ProtocolDataUpdate"), 1);
        if (flags[refilling])
            *flags[refilling] = false;
    }

    // A record that is not the open device's never reaches the mouse: not
    // from a setter, not from the plain send, not from a field report.
    void anotherDevicesRecordIsNeverSent()
    {
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        DeviceAllInfo other = mouseEntry();
        other.id = quint16(other.id ^ 0x0100); // another model chosen on the list
        emit PostMsg::instance()->SigSelectMouseInfo(other);
        QVERIFY(!currentFlashDataIsOpenDevice());

        const FlashDataMap flash = mouseFlash();
        sim::clearJournal();
        f.pages->clear();
        QVERIFY(!setLod(3));
        QVERIFY(!sendFlashDataIfOnline());
        sendFlashData();
        QVERIFY(sim::pressReportRateButton("mouse"));
        QTRY_VERIFY(f.pages->count("SigUpDataReportRate") == 1);
        QVERIFY(!journalFunctions().contains("ProtocolDataUpdate"));
        QCOMPARE(f.pages->count("SigMouseOffLineo"), 0);
        QVERIFY(sameRecord(mouseFlash(), [&] {
            FlashDataMap r = flash;
            r.reportRate = mouseFlash().reportRate; // the mouse's own button
            return r;
        }()));
    }

    void indicesOutsideTheRecordAreRefused_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("button 16") << 0;
        QTest::newRow("button -1") << 1;
        QTest::newRow("stage 8 code") << 2;
        QTest::newRow("stage -1 colour") << 3;
        QTest::newRow("key combo button 16") << 4;
        QTest::newRow("macro button 16") << 5;
        QTest::newRow("swap into stage 8") << 6;
    }
    void indicesOutsideTheRecordAreRefused()
    {
        QFETCH(int, which);
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        const FlashDataMap record = currentFlashData;
        const ButtonFunction fn{5, 0, 0};
        const KeyComboRecord combo = sampleCombo();
        const MacroRecord macro = sampleMacro();
        const DpiStage stage{};
        const std::function<bool()> calls[] = {
            [] { return setButtonFunction(16, 1, 1, 1); },
            [] { return setButtonFunction(-1, 1, 1, 1); },
            [] { return setDpiStageCode(8, 1, 1, 1); },
            [] { return setDpiStageColor(-1, 1, 1, 1); },
            [&] { return setButtonKeyCombo(16, &fn, &combo); },
            [&] { return setButtonMacro(16, &fn, &macro); },
            [&] { return swapDpiStages(&stage, &stage, 8, 0, 1); },
        };
        sim::clearJournal();
        QVERIFY(!calls[which]());
        QVERIFY(sameRecord(currentFlashData, record));
        QVERIFY(!journalFunctions().contains("ProtocolDataUpdate"));
    }

    // A macro delay longer than the device image stores is refused whole:
    // the setter says so and the record stays the last one sent.
    void recordTheDeviceCannotHoldIsNotReportedAsSent()
    {
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        const FlashDataMap record = currentFlashData;
        const ButtonFunction fn{5, 0, 0};
        MacroRecord macro = sampleMacro();
        macro.events[1].delay = 0x7FFFFFFF;
        QVERIFY(!setButtonMacro(3, &fn, &macro));
        QVERIFY(sameRecord(currentFlashData, record));

        macro.events[1].delay = 5000;
        QVERIFY(setButtonMacro(3, &fn, &macro));
        QVERIFY(!sameRecord(currentFlashData, record));
    }

    // A macro binding cut off mid-send (the receiver pulled out after some
    // packets; the binding takes ten): the mouse takes packets in order, so
    // its button keeps the old function until the whole macro is in the slot.
    // The setter says the binding failed and the held record keeps the old
    // function, which is what the button page then shows.
    void cutOffMacroBindingNeverPointsAtHalfAMacro_data()
    {
        QTest::addColumn<int>("packets");
        for (int packets = 1; packets <= 10; ++packets)
            QTest::newRow(qPrintable(QString("cut after %1 packets").arg(packets))) << packets;
    }
    void cutOffMacroBindingNeverPointsAtHalfAMacro()
    {
        QFETCH(int, packets);
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        QVERIFY(settleLibrary());
        const int button = 3;
        const FlashDataMap before = mouseFlash();
        QVERIFY(before.buttonFunctions[button].type != 6);
        MacroRecord macro{};
        macro.nameLength = 4;
        std::memcpy(macro.name, "Long", 4);
        macro.slotCount = 70;
        for (int k = 0; k < 70; ++k)
            macro.events[k] = KeyEvent{quint8(k % 2), 1, quint16(0x04 + k / 2), quint32(10 + k)};
        const ButtonFunction bound{6, quint8(button), 1};

        QVERIFY(sim::pullOutAfter("receiver", packets));
        const bool sent = setButtonMacro(button, &bound, &macro);
        QVERIFY(settleLibrary());
        const FlashDataMap after = mouseFlash();
        const bool switched = std::memcmp(&after.buttonFunctions[button], &bound, sizeof bound) == 0;
        if (switched)
            QVERIFY(std::memcmp(&after.macros[button], &macro, sizeof macro) == 0);
        else
            QVERIFY(std::memcmp(&after.buttonFunctions[button], &before.buttonFunctions[button], sizeof(ButtonFunction))
                    == 0);
        // The setter's answer, and so the function the page shows, is what
        // the mouse holds.
        QCOMPARE(sent, switched);
        QVERIFY(std::memcmp(&currentFlashData.buttonFunctions[button], &after.buttonFunctions[button],
                            sizeof(ButtonFunction))
                == 0);
    }

    void silentMouseShowsTheCacheOrResetsThePages_data()
    {
        QTest::addColumn<bool>("cached");
        QTest::newRow("cache file") << true;
        QTest::newRow("no cache file") << false;
    }
    void silentMouseShowsTheCacheOrResetsThePages()
    {
        QFETCH(bool, cached);
        const DeviceAllInfo entry = mouseEntry();
        FlashDataMap cache = mouseFlash();
        cache.reportRate = 4;
        cache.sleepTime = 18;
        if (cached)
            QVERIFY(saveDeviceCache(cacheNameForId(entry.id), cache));
        QVERIFY(sim::sleep("mouse"));
        QTRY_VERIFY(!UsbFinderC_GetDeviceOnLine(entry.path.toLocal8Bit().constData()));

        f.open(entry);
        QTRY_VERIFY(!runRequested);
        QTRY_VERIFY(!f.worker->isRunning());
        const QStringList names = f.pages->names();
        if (cached) {
            QCOMPARE(names.mid(0, 4),
                     (QStringList{"SigUpDataLightUIButton", "SigUpDataLightLight", "SigUpDataLightSensor", "SigForm"}));
            for (int i = 0; i < 3; ++i)
                QVERIFY(sameRecord(f.pages->events[i].record, cache));
            QVERIFY(!names.contains("SigFormReset"));
        } else {
            QCOMPARE(names.mid(0, 1), QStringList{"SigFormReset"});
            QVERIFY(!names.contains("SigUpDataLightUIButton"));
        }
        QVERIFY(!names.contains("SigUpDataParam"));
        QVERIFY(offlinePending);
        QVERIFY(!passOnline);
        // Report delivery is started all the same.
        const QVector<int> at = positionsInOrder(
            journalFunctions(), {"UsbServerC_Start", "UsbServer_SetPCDriverStatus", "UsbServer_ReadAllFlashData"});
        QVERIFY(!at.contains(-1));
        // The cache only went to the pages: the record is still the start-up one.
        QVERIFY(sameRecord(currentFlashData, FlashDataMap{}));
        QVERIFY(!currentFlashDataIsOpenDevice());
    }

    // A mouse that was asleep at attach comes back through the online check:
    // the offline notice closes, the worker attaches again and reads the
    // whole record, and from then on the setters send.
    void wakingMouseIsAttachedAgainByTheOnlineCheck()
    {
        const DeviceAllInfo entry = mouseEntry();
        QVERIFY(sim::sleep("mouse"));
        QTRY_VERIFY(!UsbFinderC_GetDeviceOnLine(entry.path.toLocal8Bit().constData()));
        f.open(entry);
        QTRY_COMPARE(f.pages->count("SigFormReset"), 1);
        QTRY_VERIFY(!f.worker->isRunning());
        QVERIFY(!setLod(2)); // silent: refused with the notice
        QCOMPARE(f.pages->count("SigMouseOffLineo"), 1);

        QVERIFY(sim::wake("mouse"));
        QTRY_COMPARE_WITH_TIMEOUT(f.pages->count("SigCloseOffOnline"), 1,
                                  2 * delays::ms(delays::Delay::OnlineCheck) + 1000);
        QTRY_COMPARE(f.pages->count("SigForm"), 1);
        const QStringList names = f.pages->names();
        QVERIFY(names.indexOf("SigCloseOffOnline") < names.indexOf("SigUpDataParam"));
        QVERIFY(names.indexOf("SigUpDataParam") < names.indexOf("SigUpDataLightUIButton"));
        QVERIFY(!offlinePending);
        QVERIFY(currentFlashDataIsOpenDevice());
        QVERIFY(sameRecord(currentFlashData, mouseFlash()));

        QVERIFY(setLod(2));
        QTRY_COMPARE(mouseFlash().liftOffDistance, quint8(2));
    }

    // A configuration change on the mouse is re-read at the next online tick,
    // at most once per 3000 ms.
    void configurationChangeIsReReadAtMostOncePerInterval()
    {
        fakeNow = 0;
        setReReadClock(&fakeClock);
        restartReReadTimer();
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;

        fakeNow = 5000;
        QVERIFY(sim::pressSlotButton("mouse"));
        QTRY_COMPARE_WITH_TIMEOUT(f.pages->count("SigForm"), 2, 2 * delays::ms(delays::Delay::OnlineCheck) + 2000);
        const HubRecorder::Event *announce = f.pages->last("SigUpDataParam");
        QVERIFY(announce);
        QCOMPARE(announce->args.at(0).toInt(), 1);
        QVERIFY(!reReadRequested);
        QVERIFY(sameRecord(currentFlashData, mouseFlash())); // the new slot's record

        // 1000 ms later: dropped.
        fakeNow = 6000;
        const int statusReports = journalFunctions().count("GetDeviceStatusChanged");
        QVERIFY(sim::pressSlotButton("mouse"));
        QTRY_COMPARE(journalFunctions().count("GetDeviceStatusChanged"), statusReports + 1);
        QVERIFY(!restartPending);
        QVERIFY(!reReadRequested);

        // 3500 ms after the first: read again.
        fakeNow = 8500;
        QVERIFY(sim::pressSlotButton("mouse"));
        QTRY_COMPARE_WITH_TIMEOUT(f.pages->count("SigForm"), 3, 2 * delays::ms(delays::Delay::OnlineCheck) + 2000);
        QCOMPARE(f.pages->count("SigUpDataParam"), 3);
    }

    // Leaving the device page while the report thread waits for the GUI
    // thread: ending report delivery returns at once, and the waiting report
    // is finished as soon as the GUI thread serves it again.
    void leavingWhileAReportWaitsForTheGuiDoesNotHang()
    {
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        sim::clearJournal();
        f.pages->clear();
        QVERIFY(sim::pressDpiButton("mouse"));
        // The stage report follows the read that the status change asks for;
        // without this thread serving it, it waits in the decoder.
        QElapsedTimer spin;
        spin.start();
        while (pendingGuiHandOvers() == 0 && spin.elapsed() < 5000)
            std::this_thread::yield();
        QCOMPARE(pendingGuiHandOvers(), 1);
        QVERIFY(journalFunctions().contains("UsbServer_ReadCurrentDPI"));

        QElapsedTimer took;
        took.start();
        UsbServer_SetPCDriverStatus(0);
        UsbServer_Exit();
        releaseWorker(f.worker);
        f.worker = nullptr;
        QVERIFY(took.elapsed() < 2000);
        QTRY_COMPARE(f.pages->count("SigUpDataDPI"), 1);
        QCOMPARE(currentFlashData.activeDpiStage, mouseFlash().activeDpiStage);
    }

    // An online tick that falls while a pass is still running keeps its
    // restart for the next tick instead of losing it.
    void restartDuringARunningPassIsKept()
    {
        const DeviceAllInfo entry = mouseEntry();
        QVERIFY(sim::sleep("mouse"));
        QTRY_VERIFY(!UsbFinderC_GetDeviceOnLine(entry.path.toLocal8Bit().constData()));
        f.open(entry);
        // The pass marks the mouse silent, then waits for this thread in its
        // blocking SigFormReset.
        QElapsedTimer spin;
        spin.start();
        while (!offlinePending && spin.elapsed() < 5000)
            std::this_thread::yield();
        QVERIFY(f.worker->isRunning());

        offlinePending = false;
        deviceOnline = true;
        restartPending = true;
        f.worker->SlotCheckOnline();
        QVERIFY(restartPending);

        QTRY_VERIFY(f.worker->isFinished());
        QCOMPARE(f.pages->count("SigFormReset"), 1);
        passOnline = false;
        f.worker->SlotCheckOnline();
        QVERIFY(!restartPending);
        QTRY_VERIFY(f.worker->isFinished());
        QVERIFY(passOnline); // the new pass ran and recorded the answer
        QVERIFY(!runRequested);
    }

    void passDoesNothingUnlessRequestedOrOnTheDevicePage_data()
    {
        QTest::addColumn<bool>("requested");
        QTest::addColumn<int>("pageActive");
        QTest::newRow("not requested") << false << 1;
        QTest::newRow("device list shown") << true << 0;
    }
    void passDoesNothingUnlessRequestedOrOnTheDevicePage()
    {
        QFETCH(bool, requested);
        QFETCH(int, pageActive);
        const DeviceAllInfo entry = mouseEntry();
        emit PostMsg::instance()->SigSelectMouseInfo(entry);
        currentDevicePath = entry.path.toLocal8Bit();
        devicePageActive = pageActive;
        runRequested = requested;
        sim::clearJournal();
        f.worker->start();
        QTRY_VERIFY(f.worker->isFinished());
        QVERIFY(!journalFunctions().contains("UsbServerC_Start"));
        QCOMPARE(passOnline.load(), requested); // a requested pass records the answer
        QVERIFY(!runRequested);
        QVERIFY(f.pages->events.isEmpty());
    }

    void samePassTwiceOnlyRecordsTheAnswer()
    {
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        sim::clearJournal();
        f.pages->clear();
        passOnline = false;
        runRequested = true;
        f.worker->start();
        QTRY_VERIFY(f.worker->isFinished());
        QVERIFY(!journalFunctions().contains("UsbServerC_Start"));
        QVERIFY(f.pages->events.isEmpty());
        QVERIFY(passOnline);
        QVERIFY(!runRequested);
    }
};

VELMORAX_TEST_MAIN(TestLink)
#include "tst_link.moc"
