// The threading contract of the device-access library: callbacks on the
// library's threads, one report at a time and in order, no lock held while
// calling back, calls from inside callbacks only queue, and neither
// UsbServer_Exit nor StopUsbChanged waits for a callback that is blocked.

#include "support/hidusbfixture.h"
#include "support/testmain.h"

#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

using namespace hidusb;

namespace {

// A gate a callback waits at until the test opens it (bounded, so a broken
// library fails the test instead of hanging it).
struct Gate
{
    std::mutex m;
    std::condition_variable cv;
    bool open = false;
    bool reached = false;

    void reset()
    {
        std::lock_guard<std::mutex> lk(m);
        open = false;
        reached = false;
    }
    void wait()
    {
        std::unique_lock<std::mutex> lk(m);
        reached = true;
        cv.notify_all();
        cv.wait_for(lk, std::chrono::seconds(10), [this] { return open; });
    }
    bool waitReached(int ms = 3000)
    {
        std::unique_lock<std::mutex> lk(m);
        return cv.wait_for(lk, std::chrono::milliseconds(ms), [this] { return reached; });
    }
    void release()
    {
        std::lock_guard<std::mutex> lk(m);
        open = true;
        cv.notify_all();
    }
};

Gate gate;
std::atomic<int> blockedReports{0};
std::atomic<int> changeCalls{0};
std::atomic<bool> changeOnCaller{false};
QThread *mainThread = nullptr;

void blockingReport(const unsigned char *, int, const unsigned char *, int)
{
    ++blockedReports;
    gate.wait();
}

void countingChange()
{
    if (QThread::currentThread() == mainThread)
        changeOnCaller = true;
    ++changeCalls;
}

void blockingChange()
{
    ++changeCalls;
    gate.wait();
}

// A report callback that, like the program's decoder, asks for more from
// inside the callback.
std::atomic<int> nestedCalls{0};
void askingReport(const unsigned char *header, int headerLength, const unsigned char *payload, int length)
{
    ReportSink::callback(header, headerLength, payload, length);
    if (headerLength > 1 && header[1] == ReportData && length == kDumpSize) {
        ++nestedCalls;
        FlashDataMap record;
        ProtocolDataParser(payload, &record);
        record.sleepTime = 77;
        ProtocolDataUpdate(&record);
        UsbServer_ReadBatteryLevel();
        UsbServer_ReadVersion();
        const QByteArray path = hidusb::sim::pathOf("receiver").toLocal8Bit();
        DongleRGB rgb{};
        UsbFinderC_Get4KDongleRGBValue(path.constData(), &rgb);
        unsigned char longRange = 's';
        UsbFinderC_GetLongRangeMode(path.constData(), &longRange);
    }
}

// Hands each report to the main thread and waits for it there, the way the
// program's blocking queued connections do.
class GuiReceiver : public QObject
{
    Q_OBJECT
public:
    std::atomic<int> handled{0};
signals:
    void report();
public slots:
    void onReport() { ++handled; }
};
GuiReceiver *guiReceiver = nullptr;

void guiReport(const unsigned char *, int, const unsigned char *, int)
{
    // No arguments: ThreadSanitizer cannot see the uninstrumented Qt
    // semaphore that orders them.
    emit guiReceiver->report();
}

} // namespace

class TestHidUsbThreading : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { mainThread = QThread::currentThread(); }

    void init()
    {
        gate.release();
        freshSimulator();
        gate.reset();
        blockedReports = 0;
        changeCalls = 0;
        changeOnCaller = false;
        nestedCalls = 0;
    }

    void cleanup()
    {
        gate.release();
        StopUsbChanged();
        UsbServer_Exit();
        QVERIFY(sim::waitIdle());
    }

    void armingCallsBackOnceAtOnce()
    {
        QElapsedTimer timer;
        timer.start();
        QVERIFY(StartUsbChanged(&countingChange, 600));
        QTRY_COMPARE_WITH_TIMEOUT(changeCalls.load(), 1, 1000);
        QVERIFY2(timer.elapsed() < 100, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(sim::waitIdle());
        QCOMPARE(changeCalls.load(), 1);
        QVERIFY(!changeOnCaller);
    }

    void changesWithinTheSettleTimeGiveOneCall()
    {
        QVERIFY(StartUsbChanged(&countingChange, 300));
        QTRY_COMPARE(changeCalls.load(), 1);
        QVERIFY(sim::unplug("receiver"));
        QVERIFY(sim::plug("receiver"));
        QVERIFY(sim::unplug("receiver"));
        QVERIFY(sim::waitIdle());
        QCOMPARE(changeCalls.load(), 2);
        // Sleeping and waking changes no USB device.
        QVERIFY(sim::plug("receiver"));
        QVERIFY(sim::waitIdle());
        QCOMPARE(changeCalls.load(), 3);
        QVERIFY(sim::sleep("mouse"));
        QVERIFY(sim::wake("mouse"));
        QVERIFY(sim::waitIdle());
        QCOMPARE(changeCalls.load(), 3);
    }

    void noChangeCallbackStartsAfterStop()
    {
        QVERIFY(StartUsbChanged(&countingChange, 0));
        QTRY_COMPARE(changeCalls.load(), 1);
        std::atomic<bool> stop{false};
        std::thread plugger([&stop] {
            while (!stop) {
                sim::unplug("receiver");
                sim::plug("receiver");
            }
        });
        QTRY_VERIFY(changeCalls.load() > 3);
        StopUsbChanged();
        const int atStop = changeCalls.load();
        stop = true;
        plugger.join();
        for (int i = 0; i < 200; ++i) {
            sim::unplug("receiver");
            sim::plug("receiver");
        }
        QVERIFY(sim::waitIdle());
        // At most a call already taken before the stop may still finish.
        QVERIFY(changeCalls.load() <= atStop + 1);
    }

    void stopDoesNotWaitForABlockedChangeCallback()
    {
        QVERIFY(StartUsbChanged(&blockingChange, 0));
        QVERIFY(gate.waitReached());
        QElapsedTimer timer;
        timer.start();
        StopUsbChanged();
        QVERIFY(StartUsbChanged(&countingChange, 0)); // re-arming does not wait either
        StopUsbChanged();
        QVERIFY(timer.elapsed() < 200);
        gate.release();
        QVERIFY(sim::waitIdle());
    }

    void callsWhileAReportCallbackIsBlocked_data()
    {
        QTest::addColumn<int>("call");
        QTest::newRow("online query") << 0;
        QTest::newRow("record update") << 1;
        QTest::newRow("read request") << 2;
        QTest::newRow("receiver record") << 3;
        QTest::newRow("report service exit") << 4;
        QTest::newRow("report service restart") << 5;
        QTest::newRow("notification stop") << 6;
        QTest::newRow("finding devices") << 7;
    }

    void callsWhileAReportCallbackIsBlocked()
    {
        QFETCH(int, call);
        const QByteArray path = pathBytes("receiver");
        QVERIFY(UsbServerC_Start(path.constData(), path.constData(), &blockingReport));
        QVERIFY(StartUsbChanged(&countingChange, 0));
        QVERIFY(UsbServer_ReadAllFlashData());
        QVERIFY(gate.waitReached());
        FlashDataMap record = {};
        QVERIFY(sim::flashRecord("mouse", &record));
        record.sleepTime = 12;
        QElapsedTimer timer;
        timer.start();
        int count = 5;
        DongleRGB rgb{};
        switch (call) {
        case 0:
            QVERIFY(UsbFinderC_GetDeviceOnLine(path.constData()));
            break;
        case 1:
            QVERIFY(ProtocolDataUpdate(&record));
            break;
        case 2:
            QVERIFY(UsbServer_ReadBatteryLevel());
            break;
        case 3:
            QVERIFY(UsbFinderC_Get4KDongleRGBValue(path.constData(), &rgb));
            break;
        case 4:
            UsbServer_Exit();
            break;
        case 5:
            QVERIFY(UsbServerC_Start(path.constData(), path.constData(), &ReportSink::callback));
            break;
        case 6:
            StopUsbChanged();
            break;
        case 7:
            UsbFinderC_FindHidDevicesByDefaultDeviceId("0x3A7C", "0x7C28", &count);
            break;
        }
        QVERIFY2(timer.elapsed() < 200, qPrintable(QString::number(timer.elapsed())));
        gate.release();
        QVERIFY(sim::waitIdle());
        if (call == 4) {
            // After the exit no further report reaches the old callback.
            const int before = blockedReports.load();
            QVERIFY(sim::setBattery("mouse", 3, true));
            QVERIFY(sim::waitIdle());
            QCOMPARE(blockedReports.load(), before);
        }
        if (call == 1) {
            FlashDataMap stored;
            QVERIFY(sim::flashRecord("mouse", &stored));
            QCOMPARE(int(stored.sleepTime), 12);
        }
    }

    void blockingQueuedDeliveryToTheGuiThread()
    {
#if defined(__SANITIZE_THREAD__)
        QSKIP("Qt's blocking queued delivery synchronises inside the uninstrumented Qt library");
#endif
        GuiReceiver receiver;
        guiReceiver = &receiver;
        connect(&receiver, &GuiReceiver::report, &receiver, &GuiReceiver::onReport, Qt::BlockingQueuedConnection);
        const QByteArray path = pathBytes("receiver");
        QVERIFY(UsbServerC_Start(path.constData(), path.constData(), &guiReport));
        QVERIFY(UsbServer_ReadAllFlashData());
        QVERIFY(UsbServer_ReadBatteryLevel());
        // The GUI thread keeps calling in while the report thread waits for it.
        FlashDataMap record = {};
        QVERIFY(sim::flashRecord("mouse", &record));
        for (int i = 0; i < 50; ++i) {
            record.debounceTime = static_cast<unsigned char>(i);
            QVERIFY(UsbFinderC_GetDeviceOnLine(path.constData()));
            QVERIFY(ProtocolDataUpdate(&record));
        }
        QTRY_COMPARE(receiver.handled.load(), 2);
        UsbServer_Exit();
        QVERIFY(sim::waitIdle());
        guiReceiver = nullptr;
    }

    void callsFromInsideAReportCallbackOnlyQueue()
    {
        const QByteArray path = pathBytes("receiver");
        QVERIFY(UsbServerC_Start(path.constData(), path.constData(), &askingReport));
        QVERIFY(UsbServer_ReadAllFlashData());
        QVERIFY(ReportSink::instance().waitFor(ReportVersion));
        QCOMPARE(nestedCalls.load(), 1);
        const QVector<SeenReport> seen = ReportSink::instance().reports();
        QCOMPARE(seen.size(), 3);
        QCOMPARE(seen[0].kind, int(ReportData));
        QCOMPARE(seen[1].kind, int(ReportBattery));
        QCOMPARE(seen[2].kind, int(ReportVersion));
        for (const SeenReport &r : seen)
            QVERIFY(!r.onCallerThread);
        QVERIFY(sim::waitIdle());
        FlashDataMap stored;
        QVERIFY(sim::flashRecord("mouse", &stored));
        QCOMPARE(int(stored.sleepTime), 77);
        // Every call made from the callback ran on the library's thread.
        int fromLibrary = 0;
        for (const sim::JournalEntry &e : sim::journal())
            if (e.function == "UsbServer_ReadBatteryLevel" || e.function == "UsbFinderC_Get4KDongleRGBValue")
                fromLibrary += e.thread == "library";
        QCOMPARE(fromLibrary, 2);
    }

    void reportsArriveOneAtATimeInOrder()
    {
        const QByteArray path = pathBytes("receiver");
        QVERIFY(UsbServerC_Start(path.constData(), path.constData(), &ReportSink::callback));
        QVector<int> expected;
        for (int i = 0; i < 40; ++i) {
            switch (i % 4) {
            case 0:
                QVERIFY(UsbServer_ReadBatteryLevel());
                expected << ReportBattery;
                break;
            case 1:
                QVERIFY(UsbServer_ReadAllFlashData());
                expected << ReportData;
                break;
            case 2:
                QVERIFY(UsbServer_ReadConfig());
                expected << ReportConfigSlot;
                break;
            case 3:
                QVERIFY(UsbServer_ReadVersion());
                expected << ReportVersion;
                break;
            }
        }
        QVERIFY(sim::waitIdle());
        QVector<int> kinds;
        for (const SeenReport &r : ReportSink::instance().reports())
            kinds << r.kind;
        QCOMPARE(kinds, expected);
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestHidUsbThreading)
#include "tst_hidusb_threading.moc"
