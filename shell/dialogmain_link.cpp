// The main window's side of the device link: driver status, device-change
// watching, the report service and the Space-key flows.
#include "shell/dialogmain.h"

#include "app/appglobals.h"
#include "app/configini.h"
#include "app/delays.h"
#include "app/look.h"
#include "app/notices.h"
#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/dialogchange.h"
#include "device/discovery.h"
#include "device/firmwarecheck.h"
#include "device/linkcontrols.h"
#include "device/match.h"
#include "pages/settings/updaterepair.h"
#include "platform/registry.h"

#include <QThread>

namespace {

// Runs the pairing dialog for `target`, named before the dialog picks it.
void runPairing(const QWidget *window, const DeviceAllInfo &target)
{
    pairingTarget = target;
    pairingTargetSet = true;
    Match match(nullptr);
    match.prepare();
    look::centreOn(&match, window);
    match.exec();
}

} // namespace

void DialogMain::setDriverStatus(int status)
{
    ::setDriverStatus(status);
}

void DialogMain::markUiReady()
{
    uiReady = true;
}

void DialogMain::leaveDevicePage()
{
    emit PostMsg::instance()->SigSecondPageChange();
    // A pairing still open over the page must not reopen it when it ends.
    devicePageParked = false;
    devicePageActive = 0;
    emit PostMsg::instance()->SigMainPageChange();
    leaveDevice();
    QThread::msleep(delays::ms(delays::Delay::LinkReleaseWait));
}

void DialogMain::watchListDevices()
{
    watchDevices(DeviceWatch::List);
}

void DialogMain::watchPageDevice()
{
    watchDevices(DeviceWatch::Page);
}

void DialogMain::stopDeviceWatch()
{
    ::stopDeviceWatch();
}

void DialogMain::exitReportService()
{
    leaveDevice();
}

void DialogMain::markOffline()
{
    // The worker's online check closes the notice once the mouse answers
    // again and then re-reads it.
    offlinePending = true;
    restartPending = true;
}

void DialogMain::pairOnDevicePage()
{
    runPairing(this, currentDevice.get());
    // Pairing moved the report link to the receiver; give it back.
    restartReportLink();
}

void DialogMain::spaceOnListPage()
{
    if (listedDevices.size() != 1 || listedDevices.first().wired)
        return;
    const DeviceAllInfo device = listedDevices.first();
    const DeviceFirmwareCheck check = checkDeviceFirmware(device);
    if (!check.mouseVersionKnown) {
        runPairing(this, device);
        return;
    }
    const bool mouseUpdate = check.mouseUpdate;
    const bool receiverUpdate = check.receiverUpdate;
    if (receiverUpdate && !mouseUpdate) {
        UpDateRepair updater(nullptr);
        look::centreOn(&updater, this);
        bool accepted = false;
        {
            ContainReset question(nullptr);
            question.setText(newVersionText);
            look::centreOn(&question, this, -20);
            question.exec();
            accepted = question.accepted;
        }
        if (accepted) {
            // The check left the newer receiver image as the last one chosen.
            repairImages = firmwareImages;
            updater.startUpdate();
            updater.exec();
        }
    } else if (mouseUpdate && !receiverUpdate) {
        UpDateWarning warning(nullptr);
        warning.setText(warningText);
        look::centreOn(&warning, this, -20);
        warning.exec();
    } else {
        runPairing(this, device);
    }
}
