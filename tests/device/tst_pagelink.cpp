// The page-link kit against the simulated receiver and mouse: the one refill
// fan-out, the pages' refill guard, the whole-record replacement, the
// receiver's setters, and which record may reach a mouse after sleeps,
// re-opens and takeovers.

#include "app/delays.h"
#include "device/pagelink.h"
#include "support/linkfixture.h"
#include "support/testmain.h"

#include <functional>
#include <thread>

namespace {

// Records the loaded-record signals, which reach their pages directly.
struct LoadedRecorder
{
    QStringList names;
    QList<FlashDataMap> records;
    QList<bool> onGuiThread;
    QList<QMetaObject::Connection> connections;

    LoadedRecorder()
    {
        PostMsg *hub = PostMsg::instance();
        auto note = [this](const QString &name, const FlashDataMap *r) {
            names << name;
            if (r)
                records << *r;
            onGuiThread << (QThread::currentThread() == qApp->thread());
        };
        connections << QObject::connect(hub, &PostMsg::SigUpDataLightUIA, [=](FlashDataMap r) { note("UIA", &r); });
        connections << QObject::connect(hub, &PostMsg::SigUpDataSensorUIB, [=](FlashDataMap r) { note("UIB", &r); });
        connections << QObject::connect(hub, &PostMsg::SigUpDataButtonUIC, [=](FlashDataMap r) { note("UIC", &r); });
        connections << QObject::connect(hub, &PostMsg::SigFormB, [=] { note("FormB", nullptr); });
    }
    ~LoadedRecorder()
    {
        for (const QMetaObject::Connection &c : connections)
            QObject::disconnect(c);
    }
};

// Runs fn on a thread of its own while this (GUI) thread keeps serving the
// blocking refill signals it sends.
void runOffGuiThread(const std::function<void()> &fn)
{
    std::atomic<bool> done{false};
    std::thread t([&] {
        fn();
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    t.join();
}

FlashDataMap filled(unsigned char value)
{
    FlashDataMap r;
    std::memset(&r, value, sizeof r);
    return r;
}

int sends(int from = 0)
{
    return journalFunctions(from).count("ProtocolDataUpdate");
}

} // namespace

class PageLinkTest : public QObject
{
    Q_OBJECT

    LinkFixture f;

private slots:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    // ---- the refill fan-out ----------------------------------------------

    void deviceDataRefillReachesEveryPageInOrder()
    {
        lightPageRefreshed = sensorPageRefreshed = buttonPageRefreshed = true;
        const FlashDataMap record = filled(0x5A);
        runOffGuiThread([&] { refillPages(RefillSource::DeviceData, record); });
        QCOMPARE(f.pages->names(),
                 (QStringList{"SigUpDataLightUIButton", "SigUpDataLightLight", "SigUpDataLightSensor", "SigForm"}));
        for (int i = 0; i < 3; ++i) {
            QVERIFY(sameRecord(f.pages->events[i].record, record));
            QVERIFY(f.pages->events[i].onGuiThread);
        }
        // The pages report afresh whether they have refilled.
        QVERIFY(!lightPageRefreshed && !sensorPageRefreshed && !buttonPageRefreshed);
        // Showing a record never makes it the mouse's.
        QVERIFY(sameRecord(currentFlashData, FlashDataMap{}));

        f.pages->clear();
        runOffGuiThread([] { resetPages(); });
        QCOMPARE(f.pages->names(), QStringList{"SigFormReset"});
    }

    void loadedRecordRefillRunsOnTheGuiThread_data()
    {
        QTest::addColumn<bool>("fromGuiThread");
        QTest::newRow("from the GUI thread") << true;
        QTest::newRow("from another thread") << false;
    }
    void loadedRecordRefillRunsOnTheGuiThread()
    {
        QFETCH(bool, fromGuiThread);
        lightPageRefreshed = true;
        LoadedRecorder loaded;
        const FlashDataMap record = filled(0x33);
        if (fromGuiThread)
            refillPages(RefillSource::LoadedRecord, record);
        else
            runOffGuiThread([&] { refillPages(RefillSource::LoadedRecord, record); });
        QCOMPARE(loaded.names, (QStringList{"UIA", "UIB", "UIC", "FormB"}));
        for (const FlashDataMap &r : loaded.records)
            QVERIFY(sameRecord(r, record));
        QVERIFY(!loaded.onGuiThread.contains(false));
        QVERIFY(lightPageRefreshed);
        for (const char *deviceData :
             {"SigUpDataLightUIButton", "SigUpDataLightLight", "SigUpDataLightSensor", "SigForm"})
            QCOMPARE(f.pages->count(deviceData), 0);
        QVERIFY(sameRecord(currentFlashData, FlashDataMap{}));
    }

    // ---- the pages' refill guard -----------------------------------------

    void refillGuardSetsAndRestoresThePageFlags_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("refreshedDuring");
        QTest::addColumn<bool>("refreshedAfter");
        // The refreshed flag starts set in every row.
        QTest::newRow("button, device data")
            << int(PageRefill::ButtonPage) << int(PageRefill::WhenDone) << false << true;
        QTest::newRow("light, loaded record")
            << int(PageRefill::LightPage) << int(PageRefill::Cleared) << false << false;
        QTest::newRow("sensor, defaults") << int(PageRefill::SensorPage) << int(PageRefill::Untouched) << true << true;
    }
    void refillGuardSetsAndRestoresThePageFlags()
    {
        QFETCH(int, page);
        QFETCH(int, mode);
        QFETCH(bool, refreshedDuring);
        QFETCH(bool, refreshedAfter);
        std::atomic<bool> *refreshing[] = {&buttonPageRefreshing, &lightPageRefreshing, &sensorPageRefreshing};
        std::atomic<bool> *refreshed[] = {&buttonPageRefreshed, &lightPageRefreshed, &sensorPageRefreshed};
        for (std::atomic<bool> *flag : refreshed)
            *flag = true;
        {
            PageRefill refill(static_cast<PageRefill::Page>(page), static_cast<PageRefill::Refreshed>(mode));
            for (int p = 0; p < 3; ++p)
                QCOMPARE(refreshing[p]->load(), p == page);
            QVERIFY(PageRefill::running(PageRefill::Page(page)));
            QCOMPARE(refreshed[page]->load(), refreshedDuring);
            {
                // A refill inside a refill leaves the flag set when it ends.
                PageRefill inner(static_cast<PageRefill::Page>(page));
            }
            QVERIFY(refreshing[page]->load());
        }
        for (std::atomic<bool> *flag : refreshing)
            QVERIFY(!flag->load());
        QCOMPARE(refreshed[page]->load(), refreshedAfter);
    }

    // While a page refills, a refused change raises no offline notice.
    void refillingPageSilencesTheOfflineNotice()
    {
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        QVERIFY(sim::sleep("mouse"));
        f.pages->clear();
        {
            PageRefill refill(PageRefill::SensorPage);
            QVERIFY(!setLod(2));
        }
        QCOMPARE(f.pages->count("SigMouseOffLineo"), 0);
        QVERIFY(!setLod(2));
        QCOMPARE(f.pages->count("SigMouseOffLineo"), 1);
    }

    // ---- changing the record -------------------------------------------------

    void changeRecordKeepsTheRecordWhenNotSent()
    {
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        const FlashDataMap before = currentFlashData;
        // A key event the mouse has no encoding for: the library refuses it.
        QVERIFY(!changeRecord([](FlashDataMap &r) {
            r.triggerBits = 3;
            r.keyCombos[0].events[0].action = 2;
        }));
        QVERIFY(sameRecord(currentFlashData, before));
        QVERIFY(changeRecord([](FlashDataMap &r) {
            r.dpiStageCount = 2;
            r.triggerBits = 3;
        }));
        QCOMPARE(int(currentFlashData.dpiStageCount), 2);
        QVERIFY(sim::waitIdle());
        QCOMPARE(int(mouseFlash().triggerBits), 3);
    }

    void replaceRecordFollowsTheSettersRules_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("expected");
        QTest::newRow("mouse read in this attach") << "loaded" << int(RecordWrite::Sent);
        QTest::newRow("mouse silent") << "asleep" << int(RecordWrite::Offline);
        QTest::newRow("mouse not read yet") << "not read" << int(RecordWrite::NotLoaded);
        QTest::newRow("record the mouse cannot hold") << "unfit" << int(RecordWrite::Refused);
    }
    void replaceRecordFollowsTheSettersRules()
    {
        QFETCH(QString, state);
        QFETCH(int, expected);
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        FlashDataMap imported = mouseFlash();
        imported.reportRate = imported.reportRate == 2 ? 4 : 2;
        imported.sleepTime = 42;
        if (state == "asleep")
            QVERIFY(sim::sleep("mouse"));
        if (state == "not read")
            beginAttach(currentDevice.get()); // a new attach whose dump has not come yet
        if (state == "unfit")
            imported.keyCombos[0].events[0].action = 2; // no encoding for it on the mouse
        const FlashDataMap before = currentFlashData;
        const FlashDataMap onMouseBefore = mouseFlash();
        f.pages->clear();
        const int from = sim::journal().size();

        QCOMPARE(int(replaceRecord(imported)), expected);
        QCOMPARE(f.pages->count("SigMouseOffLineo"), state == "asleep" ? 1 : 0);
        QVERIFY(sim::waitIdle());
        if (expected != int(RecordWrite::Sent)) {
            QVERIFY(sameRecord(currentFlashData, before));
            if (state != "unfit")
                QCOMPARE(sends(from), 0);
            if (state == "asleep")
                QVERIFY(sim::wake("mouse"));
            QVERIFY(sameRecord(mouseFlash(), onMouseBefore));
            return;
        }
        QVERIFY(sameRecord(currentFlashData, imported));
        QVERIFY(sameRecord(mouseFlash(), imported));
        // An import the user chose stays the mouse's record: later changes
        // are sent on top of it.
        QVERIFY(setLod(3));
        QVERIFY(sim::waitIdle());
        imported.liftOffDistance = 3;
        QVERIFY(sameRecord(mouseFlash(), imported));
    }

    // ---- the receiver's settings -----------------------------------------------

    void receiverSettingsFollowTheSettersRules_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("light bar mode") << 0;
        QTest::newRow("light bar colour") << 1;
        QTest::newRow("light bar speed") << 2;
        QTest::newRow("light bar brightness") << 3;
        QTest::newRow("indicator LED 3") << 4;
        QTest::newRow("LED information") << 5;
    }
    void receiverSettingsFollowTheSettersRules()
    {
        QFETCH(int, which);
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        auto bytes = [](const auto &record) {
            return QByteArray(reinterpret_cast<const char *>(&record), int(sizeof record));
        };
        const bool lights = which <= 4;
        const bool bar = which <= 3;
        // The record the program holds, and what the receiver holds.
        auto held = [&] {
            return bar ? bytes(*receiverLedBar) : which == 4 ? bytes(*receiverIndicatorLeds) : bytes(*dongleRgb);
        };
        auto onReceiver = [&] {
            return bar          ? bytes(sim::dongleLightBar("receiver"))
                   : which == 4 ? bytes(sim::dongleIndicatorLeds("receiver"))
                                : bytes(sim::dongleRgb("receiver"));
        };
        const int choice = dongleRgb->ledInfoChoice == 3 ? 2 : 3;
        const std::function<bool()> set[] = {
            [] { return setReceiverLightMode(4); },       [] { return setReceiverLightColor(10, 20, 30); },
            [] { return setReceiverLightSpeed(7); },      [] { return setReceiverLightBrightness(2); },
            [] { return setReceiverIndicatorLed(2, 3); }, [=] { return setReceiverLedInfoChoice(choice); },
        };
        const std::function<bool()> changed[] = {
            [] { return receiverLedBar->mode == 4 && receiverLedBar->on == 1; },
            [] { return receiverLedBar->red == 10 && receiverLedBar->green == 20 && receiverLedBar->blue == 30; },
            [] { return receiverLedBar->speed == 7; },
            [] { return receiverLedBar->brightness == 2; },
            [] { return receiverIndicatorLeds->led3Function == 3; },
            [=] { return dongleRgb->ledInfoChoice == choice; },
        };

        // The light records have not been read in this attach: refused,
        // nothing sent, no notice (the LED information came with the dump).
        int from = sim::journal().size();
        if (lights) {
            QVERIFY(!set[which]());
            QCOMPARE(journalFunctions(from).filter("UsbFinderC_Set").size(), 0);
            readReceiverLights();
        }
        QCOMPARE(held(), onReceiver());
        QCOMPARE(f.pages->count("SigMouseOffLineo"), 0);

        // Refused by the receiver: the held record stays as it was read.
        const QByteArray original = held();
        QVERIFY(sim::rejectNextWrites("receiver", 1));
        QVERIFY(!set[which]());
        QCOMPARE(held(), original);
        QCOMPARE(onReceiver(), original);
        QCOMPARE(f.pages->count("SigMouseOffLineo"), 0);

        // Taken: the receiver holds the change; a light change sends the
        // mouse's record after it.
        from = sim::journal().size();
        QVERIFY(set[which]());
        QVERIFY(changed[which]());
        QCOMPARE(onReceiver(), held());
        const QStringList calls = journalFunctions(from);
        QCOMPARE(sends(from), lights ? 1 : 0);
        if (lights)
            QVERIFY(calls.indexOf(QRegularExpression("UsbFinderC_Set.*")) < calls.indexOf("ProtocolDataUpdate"));

        // Mouse silent: the offline notice, nothing written.
        const QByteArray now = held();
        QVERIFY(sim::sleep("mouse"));
        from = sim::journal().size();
        QVERIFY(!set[which]());
        QCOMPARE(f.pages->count("SigMouseOffLineo"), 1);
        QCOMPARE(journalFunctions(from).filter("UsbFinderC_Set").size(), 0);
        QCOMPARE(held(), now);
        QCOMPARE(onReceiver(), now);
    }

    void longRangeNeedsTheOpenDevicesAttach()
    {
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        const bool was = sim::longRange("receiver");
        QVERIFY(setLongRangeMode(!was));
        QCOMPARE(sim::longRange("receiver"), !was);

        DeviceAllInfo other = currentDevice.get();
        other.path = "another-receiver";
        currentDevice = other; // chosen, not attached yet
        QVERIFY(!setLongRangeMode(was));
        QCOMPARE(sim::longRange("receiver"), !was);
    }

    // ---- which record may reach the mouse ----------------------------------------

    // A mouse opened asleep, after the same mouse was opened before in this
    // run, is read again when it wakes: the pages and the next change start
    // from what the mouse holds now, not from the earlier visit's record.
    void wakeAfterSilentReopenReadsTheMouse()
    {
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        // Back to the list; the mouse changes its report rate by its own
        // button meanwhile, then falls asleep.
        devicePageActive = 0;
        emit PostMsg::instance()->SigMainPageChange();
        UsbServer_Exit();
        QVERIFY(settleLibrary());
        QVERIFY(sim::pressReportRateButton("mouse"));
        QVERIFY(sim::waitIdle());
        const quint8 rateNow = mouseFlash().reportRate;
        QVERIFY(rateNow != currentFlashData.reportRate);
        QVERIFY(sim::sleep("mouse"));

        f.pages->clear();
        f.open(mouseEntry());
        QTRY_VERIFY(offlinePending);
        QTRY_VERIFY(!f.worker->isRunning());
        QVERIFY(!currentFlashDataIsOpenDevice());
        QVERIFY(!setLod(3));

        QVERIFY(sim::wake("mouse"));
        QTRY_COMPARE_WITH_TIMEOUT(f.pages->count("SigForm"), 1, 3 * delays::ms(delays::Delay::OnlineCheck) + 2000);
        QTRY_VERIFY(!f.worker->isRunning());
        QVERIFY(currentFlashDataIsOpenDevice());
        QCOMPARE(currentFlashData.reportRate, rateNow);
        f.waitForFollowUps();
        QVERIFY(setLod(3));
        QVERIFY(sim::waitIdle());
        QCOMPARE(mouseFlash().reportRate, rateNow);
        QCOMPARE(int(mouseFlash().liftOffDistance), 3);
    }

    // The cable takes over from the receiver while a dump the receiver's
    // attach asked for is still on its way: that dump is not the cabled
    // mouse's record, so nothing is sent until the cable's own attach has
    // read the mouse.
    void dumpOfAnEarlierAttachIsNotTakenOver()
    {
        f.openAndLoad();
        if (QTest::currentTestFailed())
            return;
        const quint64 receiverAttach = currentAttach().number;

        // The battery report holds the report thread until this thread serves
        // it, so the dump asked for after it waits in the library meanwhile.
        const sim::Counters before = sim::counters();
        f.pages->clear();
        QVERIFY(UsbServer_ReadBatteryLevel());
        QVERIFY(UsbServer_ReadAllFlashData());
        QDeadlineTimer arrived(5000);
        while (sim::counters().bytesFromDevice < before.bytesFromDevice + hidusb::kDumpSize && !arrived.hasExpired())
            QThread::msleep(5);
        QVERIFY(!arrived.hasExpired());
        QCOMPARE(f.pages->count("SigForm"), 0);

        // What the device page's callback does when the cable appears.
        QVERIFY(sim::plug("mouse"));
        DeviceAllInfo cabled = mouseEntry();
        cabled.path = sim::pathOf("mouse");
        QVERIFY(!cabled.path.isEmpty());
        const UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(cabled.path.toLocal8Bit().constData(), 0);
        cabled.linkCode = info.linkCode;
        cabled.wired = true;
        currentDevice = cabled;
        currentDevicePath = cabled.path.toLocal8Bit();

        // Now the receiver's dump comes in.
        int from = sim::journal().size();
        QVERIFY(settleLibrary());
        QCOMPARE(f.pages->count("SigBattery"), 1);
        QCOMPARE(currentAttach().number, receiverAttach);
        QCOMPARE(f.pages->count("SigForm"), 0);
        QVERIFY(!currentFlashDataIsOpenDevice());
        QVERIFY(!setLod(3));
        QCOMPARE(sends(from), 0);
        QCOMPARE(f.pages->count("SigMouseOffLineo"), 0);

        // The cable's own attach reads the mouse; from then on changes go out.
        runRequested = true;
        f.worker->start();
        QTRY_COMPARE(f.pages->count("SigForm"), 1);
        QTRY_VERIFY(!f.worker->isRunning());
        QVERIFY(currentAttach().number > receiverAttach);
        QVERIFY(currentFlashDataIsOpenDevice());
        f.waitForFollowUps();
        from = sim::journal().size();
        QVERIFY(setLod(3));
        QCOMPARE(sends(from), 1);
    }
};

VELMORAX_TEST_MAIN(PageLinkTest)
#include "tst_pagelink.moc"
