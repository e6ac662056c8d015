// The main window's side of the device link: driver status, device-change
// watching, the report service and the Space-key flows.
//
// Least form: the device link, discovery and pairing are not part of the
// program yet, so the calls that need their state do nothing here.
#include "app/dialogmain.h"

#include "app/postmsg.h"
#include "platform/hidusb/hidusb.h"

#include <QThread>

void DialogMain::setDriverStatus(int status)
{
    UsbServer_SetPCDriverStatus(status);
}

void DialogMain::markUiReady()
{
}

void DialogMain::leaveDevicePage()
{
    emit PostMsg::instance()->SigSecondPageChange();
    emit PostMsg::instance()->SigMainPageChange();
    UsbServer_Exit();
    QThread::msleep(100);
}

void DialogMain::watchListDevices()
{
}

void DialogMain::watchPageDevice()
{
}

void DialogMain::stopDeviceWatch()
{
    StopUsbChanged();
}

void DialogMain::exitReportService()
{
    UsbServer_Exit();
}

void DialogMain::markOffline()
{
}

void DialogMain::pairOnDevicePage()
{
}

void DialogMain::spaceOnListPage()
{
}
