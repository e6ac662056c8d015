#include "device/linkcontrols.h"

#include "app/delays.h"
#include "device/devicestate.h"
#include "device/discovery.h"
#include "device/reportdecoder.h"
#include "device/screensync.h"
#include "device/worker.h"
#include "platform/hidusb/hidusb.h"

#include <QTimer>

namespace {

// Every device-change callback waits Delay::DeviceChangeSettle after the first
// change of a burst, so a plug-in that shows up as several changes is handled
// once.
int deviceSettleMs()
{
    return delays::ms(delays::Delay::DeviceChangeSettle);
}

} // namespace

bool openDeviceAnswers()
{
    return (UsbFinderC_GetDeviceOnLine(currentDevicePath) & 0xFF) != 0;
}

void watchDevices(DeviceWatch watch)
{
    switch (watch) {
    case DeviceWatch::List:
        StartUsbChanged(onListDeviceChanged, deviceSettleMs());
        break;
    case DeviceWatch::Page:
        StartUsbChanged(onPageDeviceChanged, deviceSettleMs());
        break;
    case DeviceWatch::Screen:
        StartUsbChanged(onScreenDevicesChanged, deviceSettleMs());
        break;
    }
}

void stopDeviceWatch()
{
    StopUsbChanged();
}

void setDriverStatus(int status)
{
    UsbServer_SetPCDriverStatus(status);
}

void restartReportLink()
{
    UsbServerC_Start(currentDevicePath, currentDevicePath, onDeviceReport);
}

void leaveDevice()
{
    UsbServer_Exit();
}

bool chooseConfigSlot(int index)
{
    return UsbServer_SetCurrentConfig(static_cast<unsigned char>(index));
}

const QList<DeviceAllInfo> &listPageDevices()
{
    return listedDevices;
}

int enumeratedReceivers(const QString &kind)
{
    const auto inList = [](const QStringList &list, const QString &pid) {
        return list.contains(pid, Qt::CaseInsensitive);
    };
    const QStringList *const lists[] = {&wirelessPids, &wireless2Pids, &wireless4Pids, &wireless8Pids};
    const QLatin1String kinds[] = {QLatin1String("1"), QLatin1String("2"), QLatin1String("4"), QLatin1String("8")};
    int receivers = 0;
    for (const DeviceAllInfo &entry : enumeratedDevices) {
        bool counted = false;
        for (int i = 0; i < 4; ++i)
            counted = counted || ((kind.isEmpty() || kind == kinds[i]) && inList(*lists[i], entry.pid));
        receivers += counted;
    }
    return receivers;
}

bool readReceiverId(const QString &path, QByteArray *id)
{
    UsbAddressInfo address{};
    if (!UsbFinderC_GetDeviceOnLineWithUsbAddress(path.toUtf8().constData(), &address))
        return false;
    *id = QByteArray(reinterpret_cast<const char *>(address.receiverId), 3);
    return true;
}

bool writeReceiverIdToMouse(const QString &path, const unsigned char record[5])
{
    return UsbFinderC_SetDongleIDToMouse(path.toUtf8().constData(), record);
}

void readDeviceAgain()
{
    runRequested = true;
    if (workerThread)
        workerThread->start(QThread::InheritPriority);
}

ModalOperation::ModalOperation(OnlineCheck check) : m_pausedOnlineCheck(check == PauseOnlineCheck)
{
    modalOperation = true;
    if (m_pausedOnlineCheck && onlineTimer)
        onlineTimer->stop();
}

ModalOperation::~ModalOperation()
{
    modalOperation = false;
    if (m_pausedOnlineCheck && onlineTimer)
        onlineTimer->start();
}
