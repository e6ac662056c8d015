#include "device/worker.h"

#include "app/configini.h"
#include "app/delays.h"
#include "app/postmsg.h"
#include "device/devicecache.h"
#include "device/devicestate.h"
#include "device/pagelink.h"
#include "device/reportdecoder.h"
#include "platform/hidusb/hidusb.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QTimer>

Worker *workerThread = nullptr;
QTimer *onlineTimer = nullptr;

Worker::Worker(QObject *parent) : QThread(nullptr)
{
    Q_UNUSED(parent);
    runRequested = true;
    restartReReadTimer();
    // Until a device is attached every library call gets a path that names
    // no device.
    currentDevicePath = QByteArray("a");
    deviceOnline = false;

    onlineTimer = new QTimer(this);
    connect(onlineTimer, &QTimer::timeout, this, &Worker::SlotCheckOnline);
    onlineTimer->setInterval(delays::ms(delays::Delay::OnlineCheck));
    onlineTimer->start();

    connect(PostMsg::instance(), &PostMsg::SigSelectMouseInfo, this, &Worker::SlotSelectMouseInfo);
    connect(PostMsg::instance(), &PostMsg::SigMainPageChange, this, &Worker::SlotMainPageChange);

    showBatteryValue =
        ConfigIni::instance()->value(QStringLiteral("Option"), QStringLiteral("ShowBatteryValue")).toInt();
}

Worker::~Worker()
{
    if (onlineTimer && onlineTimer->parent() == this)
        onlineTimer = nullptr;
    if (workerThread == this)
        workerThread = nullptr;
}

void Worker::stop()
{
    runRequested = false;
}

void Worker::SlotSelectMouseInfo(DeviceAllInfo SelectInfo)
{
    currentDevice = SelectInfo;
    selectedCacheName = cacheNameForId(SelectInfo.id);
}

void Worker::SlotMainPageChange()
{
    lastAttachOnline = false;
}

void Worker::SlotCheckOnline()
{
    if (offlinePending) {
        if (devicePageActive == 0) {
            if (currentDevice.get().linkCode != 0)
                offlinePending = false;
        } else if (onlineCheckEnabled) {
            const bool online = openDeviceAnswers();
            deviceOnline = online;
            lastAttachOnline = false;
            if (!online)
                return;
            emit PostMsg::instance()->SigCloseOffOnline();
            offlinePending = false;
            // The mouse is back. Unless its own record has been read in
            // this attach, a new attach reads it before anything is sent:
            // the pages only show a cache or an earlier visit's record.
            if (!currentFlashDataIsOpenDevice())
                restartPending = true;
        }
    }
    if (deviceOnline && restartPending) {
        // A pass still running would swallow the start: keep the request
        // for the next tick instead of losing it.
        if (isRunning())
            return;
        restartPending = false;
        runRequested = true;
        start(QThread::InheritPriority);
    }
}

void Worker::run()
{
    if (!runRequested)
        return;
    if (!deviceOnline)
        deviceOnline = openDeviceAnswers();

    const DeviceAllInfo device = currentDevice.get();
    const bool unchanged = device.path == lastPath && device.linkCode == lastLinkCode
                           && lastAttachOnline.load() == deviceOnline.load() && !reReadRequested;
    if (!unchanged && devicePageActive == 1) {
        PostMsg *hub = PostMsg::instance();
        if (openDeviceAnswers()) {
            currentDevice.update([](DeviceAllInfo &d) { d.online = true; });
            if (reReadRequested) {
                emit hub->SigUpDataParam(1);
                reReadRequested = false;
            } else if (!modalOperation) {
                emit hub->SigUpDataParam(0);
            }
        } else {
            offlinePending = true;
            currentDevice.update([](DeviceAllInfo &d) { d.online = false; });
            // The pages show the cached record; currentFlashData stays as it
            // is and is not sent until the mouse's own record arrives.
            FlashDataMap cached;
            if (loadDeviceCache(selectedCacheName.get(), &cached))
                refillPages(RefillSource::DeviceData, cached);
            else
                resetPages();
        }

        const DeviceAllInfo attached = currentDevice.get();
        lastPath = attached.path;
        lastLinkCode = attached.linkCode;
        UsbServerC_Start(currentDevicePath, currentDevicePath, onDeviceReport);
        // A new attach: what was read before it (also from this very device)
        // is not sent until the dump requested below has been taken over.
        beginAttach(attached);
        qDebug() << "OnlinA";
        UsbServer_SetPCDriverStatus(1);
        UsbServer_ReadAllFlashData();
        lastAttachOnline = deviceOnline.load();
        qDebug() << "OnlinB";
    }
    passOnline = deviceOnline.load();
    runRequested = false;
}

WorkerOwner::WorkerOwner() : m_worker(new Worker)
{
    workerThread = m_worker;
}

WorkerOwner::~WorkerOwner()
{
    Worker *worker = m_worker;
    worker->stop();
    if (onlineTimer)
        onlineTimer->stop();
    // A running pass may be waiting in a blocking hub signal for a page on
    // this thread. Serve only the calls posted to this thread's objects
    // meanwhile: no input, timer or paint event runs while the pages go away,
    // so nothing can open a dialog during the release.
    QDeadlineTimer deadline(delays::ms(delays::Delay::WorkerFinish));
    while (!worker->wait(10) && !deadline.hasExpired())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    if (!worker->isRunning())
        worker->deleteLater();
    else
        QObject::connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    if (workerThread == worker)
        workerThread = nullptr;
    onlineTimer = nullptr;
}
