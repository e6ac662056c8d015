// The button page as host of the device worker: it creates the one Worker
// with its online check, and releases it without hanging even while a worker
// pass waits for the GUI thread in a blocking refill signal.
#include "app/delays.h"
#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/worker.h"
#include "pages/buttons/buttoninterface.h"
#include "platform/hidusb/hidusb.h"
#include "support/testmain.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <thread>

class RefillPage : public QObject
{
    Q_OBJECT
public:
    int resets = 0;
public slots:
    void SlotFormReset() { ++resets; }
};

class TestButtoninterface : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetDeviceStateForTests(); }

    void createsTheWorkerWithItsOnlineCheck()
    {
        QVERIFY(workerThread == nullptr);
        auto *page = new Buttoninterface;
        QVERIFY(workerThread != nullptr);
        QVERIFY(workerThread->parent() == nullptr);
        QVERIFY(!workerThread->isRunning());
        QVERIFY(runRequested);
        QCOMPARE(QByteArray(currentDevicePath), QByteArray("a"));
        // The placeholder names no device, though the simulated mouse is attached.
        QVERIFY(!UsbFinderC_GetDeviceOnLine(currentDevicePath));
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(currentDevicePath, 0).id), 0);
        QCOMPARE(UsbFinderC_GetVersion(currentDevicePath), 0);
        QVERIFY(onlineTimer && onlineTimer->isActive());
        QCOMPARE(onlineTimer->interval(), 1300);
        QCOMPARE(page->findChild<QWidget *>("widget")->size(), QSize(432, 356));

        QPointer<Worker> worker = workerThread;
        delete page;
        QVERIFY(workerThread == nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(worker.isNull());
    }

    void refillSlotsKeepTheButtonPageFlags()
    {
        Buttoninterface page;
        QSignalSpy sleep(PostMsg::instance(), &PostMsg::SigLightToFrom);
        FlashDataMap record{};
        record.sleepTime = 6;
        buttonPageRefreshed = false;
        bool refreshingInside = false;
        // The flag is up while the page refills, and down afterwards.
        auto probe = connect(PostMsg::instance(), &PostMsg::SigLightToFrom, this,
                             [&](int) { refreshingInside = buttonPageRefreshing; });
        page.SlotUpDataButtonUIButton(record);
        disconnect(probe);
        QVERIFY(refreshingInside);
        QVERIFY(!buttonPageRefreshing);
        QVERIFY(buttonPageRefreshed);
        QCOMPARE(sleep.count(), 1);
        QCOMPARE(sleep.at(0).at(0).toInt(), 60);

        buttonPageRefreshed = false;
        page.SlotUpDataButtonUIB(record); // a refill from an import is not a device refill
        QVERIFY(!buttonPageRefreshed);
        QVERIFY(!buttonPageRefreshing);
    }

    // A worker pass for a silent mouse without a cache file emits the
    // blocking SigFormReset and waits for the GUI thread. Deleting the page
    // at that moment must neither hang nor lose the refill of the other pages.
    void releasingTheWorkerWhileItWaitsForTheGuiDoesNotHang()
    {
        RefillPage otherPage;
        connect(PostMsg::instance(), &PostMsg::SigFormReset, &otherPage, &RefillPage::SlotFormReset,
                Qt::BlockingQueuedConnection);

        auto *page = new Buttoninterface;
        QPointer<Worker> worker = workerThread;
        DeviceAllInfo mouse;
        mouse.path = "no-such-device";
        mouse.id = 0x7F7F; // no cache file under this name
        worker->SlotSelectMouseInfo(mouse);
        devicePageActive = 1;
        runRequested = true;
        worker->start();

        // The pass marks the mouse silent right before its blocking refill;
        // from then on it can only go on once the GUI thread serves it.
        QElapsedTimer spin;
        spin.start();
        while (!offlinePending && spin.elapsed() < 5000)
            std::this_thread::yield();
        QVERIFY(offlinePending);

        QElapsedTimer took;
        took.start();
        delete page; // must serve the pending refill while the pass ends
        QVERIFY(took.elapsed() < delays::ms(delays::Delay::WorkerFinish));
        QCOMPARE(otherPage.resets, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(worker.isNull());
        PostMsg::instance()->disconnect(&otherPage);
    }
};

VELMORAX_TEST_MAIN(TestButtoninterface)
#include "tst_buttoninterface.moc"
