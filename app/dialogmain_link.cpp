// The main window's side of the device link: driver status, device-change
// watching, the report service and the Space-key flows.
//
// Discovery and pairing are not part of the program yet: the Space-key flows
// and the device-change watching wait for them.
#include "app/dialogmain.h"

#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/reportdecoder.h"
#include "platform/hidusb/hidusb.h"

#include <QThread>

void DialogMain::setDriverStatus(int status)
{
    UsbServer_SetPCDriverStatus(status);
}

void DialogMain::markUiReady()
{
    uiReady = true;
}

void DialogMain::leaveDevicePage()
{
    emit PostMsg::instance()->SigSecondPageChange();
    devicePageActive = 0;
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
    offlinePending = true;
    restartPending = true;
}

void DialogMain::pairOnDevicePage()
{
}

void DialogMain::spaceOnListPage()
{
}
