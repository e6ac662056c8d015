// The settings page's firmware upgrade: the readiness check, one state
// machine per part driven by a 1000 ms timer (receiver first, then the
// mouse), the version labels with their update marks, and what the flash
// reports do. The reports reach the page on the GUI thread (FirmwareFlash).

#include "pages/settings/formsetting.h"
#include "ui_formsetting.h"

#include "app/appglobals.h"
#include "app/configini.h"
#include "app/delays.h"
#include "app/look.h"
#include "app/notices.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/firmwarecheck.h"
#include "device/firmwareflash.h"
#include "device/linkcontrols.h"
#include "device/upgraderecord.h"
#include "pages/settings/updaterepair.h"
#include "platform/hidusb/firmwareimage.h"

#include <QDir>
#include <QTimer>

namespace {

// One set for the whole process.
int receiverState = 0;
int mouseState = 0;
int partsCount = 1;
int receiverKind = 0;
int upgradeMid = 0;
int upgradeTarget = 0;

int &stateOf(int target)
{
    return target == firmwareTargetReceiver ? receiverState : mouseState;
}

int midOf(const DeviceAllInfo &entry)
{
    return entry.id >> 8;
}

int cidOf(const DeviceAllInfo &entry)
{
    return entry.id & 0xFF;
}

// The receiver kind of the first entry that holds a receiver ID and is
// connected through a receiver; 0 when none does.
int kindOfFirstReceiver(const QList<DeviceAllInfo> &devices)
{
    for (const DeviceAllInfo &entry : devices) {
        if (entry.receiverId.isEmpty() || entry.wired)
            continue;
        const int kind = receiverKindOf(entry.linkCode);
        if (kind != 0)
            return kind;
    }
    return 0;
}

// The upgrade's search: only an image strictly newer than what the device
// runs. A device whose version is not known gets nothing, so an equal or
// older image is never flashed over it (a repair searches with any version
// on purpose, through findFirmwareImage directly).
bool findNewerImage(quint8 target, const QString &version, const QString &name, quint8 cid, quint8 mid)
{
    if (version.isEmpty()) {
        firmwareImages.clear();
        return false;
    }
    return findFirmwareImage(target, version, name, cid, mid);
}

// The mouse part's image: strictly newer than the mouse's version, or any
// sound image when the part repairs an interrupted mouse flash.
bool findMouseImage(bool repair, const QString &version, const QString &name, quint8 mid)
{
    if (repair)
        return findFirmwareImage(firmwareTargetMouse, QString(), name, quint8(upgradeCid.load()), mid);
    return findNewerImage(firmwareTargetMouse, version, name, quint8(upgradeCid.load()), mid);
}

// A part starts: its timer drives it from step 0, and the device link's
// online check leaves the devices alone until the part has ended. Both
// update markers go, whatever the last run left on them.
void beginPart(QWidget *receiverMarker, QWidget *mouseMarker, QTimer *timer, int *step, bool *flashing)
{
    upgradeRunning = true;
    *step = 0;
    receiverMarker->hide();
    mouseMarker->hide();
    onlineCheckEnabled = false;
    timer->start();
    *flashing = true;
}

QString versionOfImage(const QByteArray &image)
{
    hidusb::FirmwareImageInfo info;
    hidusb::readFirmwareHeader(reinterpret_cast<const unsigned char *>(image.constData()), std::size_t(image.size()),
                               &info);
    return firmwareVersionText(info.version);
}

} // namespace

namespace firmwareupgrade {

int receiverState()
{
    return ::receiverState;
}
int mouseState()
{
    return ::mouseState;
}
int partsCount()
{
    return ::partsCount;
}
bool receiverPartFlashing()
{
    return ::receiverState == 1;
}
bool mousePartFlashing()
{
    return ::mouseState == 1;
}
bool partFlashing()
{
    return receiverPartFlashing() || mousePartFlashing();
}

} // namespace firmwareupgrade

void FormSetting::setUpUpgrade()
{
    dongleCheckTimer = new QTimer(this);
    dongleCheckTimer->setInterval(delays::ms(delays::Delay::UpgradeStepTick));
    connect(dongleCheckTimer, &QTimer::timeout, this, &FormSetting::onDongleCheckTimer);
    mouseCheckTimer = new QTimer(this);
    mouseCheckTimer->setInterval(delays::ms(delays::Delay::UpgradeStepTick));
    connect(mouseCheckTimer, &QTimer::timeout, this, &FormSetting::onMouseCheckTimer);
    FirmwareFlash *flash = FirmwareFlash::instance();
    connect(flash, &FirmwareFlash::progress, this, &FormSetting::onFlashProgress);
    connect(flash, &FirmwareFlash::finished, this, &FormSetting::onFlashFinished);
}

void FormSetting::upgradeTexts(int index)
{
    const auto home = [index](const char *key) {
        return catalogueText(QStringLiteral("home"), QLatin1String(key), index);
    };
    upgradeText = catalogueText(QStringLiteral("update"), QStringLiteral("Upgrade"), index);
    newTipsText = keyboardText(QStringLiteral("update"), QStringLiteral("newTips"), index);
    noUsbText = home("NoUSB");
    noReceiverText = home("NoRecieve");
    errorText = home("Error");
    noDeviceText = home("NoDevice");
    sameDeviceText = home("SameDevice");
    multiDongleText = home("MultiDongle");
    multiMouseText = home("MultiMouse");
}

void FormSetting::setConfirmLook()
{
    look::setSheet(ui->Receive_2, look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                                                   {QStringLiteral("Confirm.png")}, look::Fit::Stretch, buttonColor));
}

void FormSetting::setWaitingLook()
{
    look::setSheet(ui->Receive_2, look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                                                   look::buttonImages(QStringLiteral("WaitUpdate"), look::Hover),
                                                   look::Fit::Centre, buttonColor));
}

bool FormSetting::ChechIsUpDate()
{
    UpDateRepair *dialog = updateRepairDialog;
    const auto refuse = [dialog](const QString &text) {
        if (dialog) {
            dialog->setMessage(text);
            dialog->showMessageView();
        }
        return false;
    };
    receiverKind = 0;
    mouseRepairPending = false;
    const QStringList record = upgraderecord::failParts();
    const bool haveRecord = record.size() == 4;
    const int failedTarget = haveRecord ? record.at(0).toInt() : 0;
    const QString failedKind = haveRecord ? record.at(1) : QString();
    const int failedCid = haveRecord ? record.at(2).toInt() : 0;
    const int failedMid = haveRecord ? record.at(3).toInt() : 0;

    ConfigIni *config = ConfigIni::instance();
    driveGroup = QStringLiteral("Drive%1").arg(currentDevice.get().modelIndex + 1);
    const QString mouseImageName = config->value(driveGroup, QStringLiteral("MM"));
    const int mid = config->value(driveGroup, QStringLiteral("MID")).toInt();
    upgradeCid = config->value(QStringLiteral("Option"), QStringLiteral("CID")).toInt();
    const QList<DeviceAllInfo> devices = pageDevices.get();
    const int n = devices.size();

    if (n == 2) {
        if (!devices.at(0).wired && !devices.at(1).wired)
            return refuse(noUsbText);
        if (midOf(devices.at(0)) != midOf(devices.at(1)))
            return refuse(noReceiverText);
        receiverKind = kindOfFirstReceiver(devices);
        if (receiverKind == 0)
            return refuse(noReceiverText);
        receiverImageName = config->value(driveGroup, receiverImageKey(receiverKind));
        repairImageName = receiverImageName;
        const bool receiverNewer = findNewerImage(firmwareTargetReceiver, ui->label_5->text(), receiverImageName,
                                                  quint8(upgradeCid.load()), quint8(mid));
        const bool mouseNewer = findNewerImage(firmwareTargetMouse, ui->label_7->text(), mouseImageName,
                                               quint8(upgradeCid.load()), quint8(mid));
        mouseUpdateFlag = mouseNewer;
        receiverUpdateFlag = receiverNewer;
        if (receiverNewer || mouseNewer) {
            partsCount = receiverNewer && mouseNewer ? 2 : 1;
            return true;
        }
        receiverSkipped = true;
        return refuse(newTipsText);
    }
    if (n == 1) {
        const DeviceAllInfo &entry = devices.first();
        if (!haveRecord)
            return refuse(entry.wired ? noReceiverText : noUsbText);
        if (failedTarget == firmwareTargetReceiver) {
            if (!entry.wired || midOf(entry) != failedMid)
                return refuse(noUsbText);
        } else if (failedTarget == firmwareTargetMouse) {
            mouseRepairPending = true;
            if (entry.wired || midOf(entry) != failedMid)
                return refuse(noReceiverText);
        } else {
            return refuse(errorText);
        }
        const QString key = receiverImageKey(failedKind.toInt());
        if (!key.isEmpty() && QString::number(failedKind.toInt()) == failedKind) {
            receiverKind = failedKind.toInt();
            repairImageName = config->value(driveGroup, key);
        }
        if (cidOf(entry) != failedCid)
            return refuse(errorText);
        const bool found = findFirmwareImage(quint8(failedTarget), QString(),
                                             failedTarget == firmwareTargetReceiver ? repairImageName : mouseImageName,
                                             quint8(failedCid), quint8(mid));
        // No image of the failed part: nothing can be flashed.
        if (!found)
            return refuse(catalogueText(QStringLiteral("home"), QStringLiteral("ErrorFile")));
        int count = 5;
        firmwarepart::countBootDevices(firmwareImages.first(), &count);
        if (count == 0)
            return refuse(noDeviceText);
        if (count != 1)
            return refuse(sameDeviceText);
        bool otherNewer = false;
        if (failedTarget == firmwareTargetReceiver)
            otherNewer = findNewerImage(firmwareTargetMouse, ui->label_7->text(), mouseImageName,
                                        quint8(upgradeCid.load()), quint8(mid));
        else
            otherNewer = findNewerImage(firmwareTargetReceiver, ui->label_5->text(), repairImageName,
                                        quint8(upgradeCid.load()), quint8(mid));
        partsCount = otherNewer ? 2 : 1;
        return true;
    }
    if (n == 0)
        return refuse(errorText);
    int throughReceiver = 0, cabled = 0;
    for (const DeviceAllInfo &entry : devices)
        (entry.wired ? cabled : throughReceiver) += 1;
    QString text;
    if (throughReceiver > 1)
        text = multiDongleText;
    if (cabled > 1)
        text = multiMouseText;
    return refuse(text);
}

void FormSetting::on_Receive_2_clicked()
{
    if (ui->Receive_2->text() == newTipsText && !newTipsText.isEmpty())
        return;
    UpDateRepair *dialog = updateRepairDialog;
    if (!dialog)
        return;
    receiverSkipped = false;
    look::centreOn(dialog, this, -75, -65);
    dialog->setModal(true);
    dialog->resetView();
    if (ChechIsUpDate()) {
        dialog->showReadyView();
        dialog->show();
    } else if (receiverSkipped) {
        ui->Receive_2->setText(newTipsText);
    } else {
        dialog->show();
    }
}

void FormSetting::SlotUpdateFrame(bool IsVis)
{
    if (IsVis)
        on_Receive_2_clicked();
    else if (updateRepairDialog)
        updateRepairDialog->close();
}

void FormSetting::SlotCheckUpdate()
{
    if (ChechIsUpDate() && updateRepairDialog)
        updateRepairDialog->showReadyView();
}

void FormSetting::on_Start()
{
    bootCountDM = bootCountD2M = bootCountD4M = bootCountD8M = 0;
    if (updateRepairDialog)
        updateRepairDialog->showFlashingView();
    const int mid = ConfigIni::instance()->value(driveGroup, QStringLiteral("MID")).toInt();
    const bool receiverNewer = findNewerImage(firmwareTargetReceiver, ui->label_5->text(), repairImageName,
                                              quint8(upgradeCid.load()), quint8(mid));
    if (!receiverNewer && mouseRepairPending) {
        reportWithNotice = true;
        on_Mouse_clicked();
    } else if (receiverState == 1 || mouseState == 1 || mouseFlashing || receiverSkipped) {
        if (receiverSkipped) {
            setConfirmLook();
            emit PostMsg::instance()->SigAddUpdate(0, false);
            emit PostMsg::instance()->SigAddUpdate(1, false);
            SlotContinue(0);
        }
    } else {
        beginPart(ui->toolButton_2, ui->toolButton_3, dongleCheckTimer, &upgradeStep, &receiverFlashing);
    }
}

void FormSetting::on_Receive_clicked()
{
    const DeviceAllInfo open = currentDevice.get();
    if (!open.wired)
        receiverKind = receiverKindOf(open.linkCode);
    else if (pageDevices.get().size() == 2)
        receiverKind = kindOfFirstReceiver(pageDevices.get());
    else
        receiverKind = 0;
    if (receiverSkipped || mouseFlashing)
        return;
    beginPart(ui->toolButton_2, ui->toolButton_3, dongleCheckTimer, &upgradeStep, &receiverFlashing);
}

void FormSetting::on_Mouse_clicked()
{
    const DeviceAllInfo open = currentDevice.get();
    if (open.wired) {
        const QList<DeviceAllInfo> devices = pageDevices.get();
        if (devices.isEmpty() || !devices.first().wired || midOf(devices.first()) != midOf(open)) {
            emit PostMsg::instance()->SigProgress(0, 5);
            return;
        }
    }
    if (!mouseSkipped && !receiverFlashing) {
        beginPart(ui->toolButton_2, ui->toolButton_3, mouseCheckTimer, &upgradeStep, &mouseFlashing);
    } else if (mouseSkipped) {
        ui->Receive_2->setText(newTipsText);
    }
}

void FormSetting::SlotContinue(int)
{
    bootCountDM = bootCountD2M = bootCountD4M = bootCountD8M = 0;
    if (mouseUpdateFlag && (receiverState == 2 || receiverState == 4)) {
        reportWithNotice = true;
        on_Mouse_clicked();
    }
    if (receiverUpdateFlag && (mouseState == 2 || mouseState == 4)) {
        reportWithNotice = true;
        on_Receive_clicked();
    }
}

void FormSetting::onDongleCheckTimer()
{
    runUpgradeStep(upgradeStep, firmwareTargetReceiver, ui->label_5->text());
}

void FormSetting::onMouseCheckTimer()
{
    runUpgradeStep(upgradeStep, firmwareTargetMouse, ui->label_7->text());
}

void FormSetting::runUpgradeStep(int step, int target, const QString &version)
{
    ConfigIni *config = ConfigIni::instance();
    const QString group = QStringLiteral("Drive%1").arg(currentDevice.get().modelIndex + 1);
    const int mid = config->value(group, QStringLiteral("MID")).toInt();
    const bool mouse = target == firmwareTargetMouse;
    int &state = stateOf(target);
    const QList<DeviceAllInfo> devices = pageDevices.get();
    const DeviceAllInfo open = currentDevice.get();

    switch (step) {
    case 0: {
        upgradeCid = config->value(QStringLiteral("Option"), QStringLiteral("CID")).toInt();
        upgradeMid = mid;
        bool found = false;
        if (mouse) {
            found = findMouseImage(mouseRepairPending, version, config->value(group, QStringLiteral("MM")),
                                   quint8(upgradeMid));
        } else {
            receiverPaths.clear();
            const auto search = [&](int kind, int *bootCount) {
                const QString name = config->value(group, receiverImageKey(kind));
                if (kind != 1 && name.isEmpty())
                    return;
                found = findFirmwareImage(firmwareTargetReceiver, QString(), name, quint8(upgradeCid.load()),
                                          quint8(upgradeMid));
                if (found)
                    firmwarepart::countBootDevices(firmwareImages.first(), bootCount);
            };
            int *counts[] = {&bootCountDM, &bootCountD2M, &bootCountD4M, &bootCountD8M};
            const int kinds[] = {1, 2, 4, 8};
            for (int order : {2, 3, 1, 0})
                if (receiverKind == kinds[order])
                    search(kinds[order], counts[order]);
            for (const DeviceAllInfo &entry : devices)
                if (!entry.wired && (open.wired || entry.path == open.path))
                    receiverPaths << entry.path;
        }
        if (!found && receiverKind != 0) {
            state = 4;
            mouse ? finishMousePart() : finishReceiverPart();
            (mouse ? mouseSkipped : receiverSkipped) = true;
            upgradeStep = 4;
        } else {
            upgradeStep = 1;
        }
        break;
    }
    case 1: {
        int count = 0;
        if (mouse) {
            for (const DeviceAllInfo &entry : devices)
                count += entry.wired;
            count += mouseRepairPending;
        } else {
            count = receiverPaths.size() + bootCountDM + bootCountD2M + bootCountD4M + bootCountD8M;
        }
        if (count != 1) {
            state = 0;
            mouse ? finishMousePart() : finishReceiverPart();
            if (reportWithNotice) {
                if (!updateWarning)
                    updateWarning = new UpDateWarning(nullptr);
                look::centreOn(updateWarning, this, -75, -65);
                updateWarning->setModal(true);
                updateWarning->setText(count == 0 ? (mouse ? warningText : noDeviceText) : sameDeviceText);
                updateWarning->show();
                reportWithNotice = false;
            } else {
                (mouse ? ui->toolButton_3 : ui->toolButton_2)->show();
            }
            upgradeStep = 4;
            break;
        }
        bool found = false;
        if (mouse) {
            found =
                findMouseImage(mouseRepairPending, version, config->value(group, QStringLiteral("MM")), quint8(mid));
        } else {
            int kind = receiverKind;
            if (bootCountDM + bootCountD2M + bootCountD4M + bootCountD8M > 0) {
                kind = bootCountDM == 1 ? 1 : bootCountD2M == 1 ? 2 : bootCountD4M == 1 ? 4 : 8;
                found =
                    findFirmwareImage(firmwareTargetReceiver, QString(), config->value(group, receiverImageKey(kind)),
                                      quint8(upgradeCid.load()), quint8(mid));
            } else {
                // The receiver's own answer is the freshest version; when it
                // cannot be asked, the version listed for it still holds.
                // Without either nothing is flashed: an unknown version is
                // no reason to write an equal or older image over it.
                QString current = version;
                if (kind == 4 || kind == 8 || kind == 2) {
                    int v = 0;
                    if (readReceiverVersion(receiverPaths.first(), &v))
                        current = firmwareVersionText(quint32(v));
                }
                found = findNewerImage(firmwareTargetReceiver, current,
                                       config->value(group, receiverImageKey(kind == 0 ? 1 : kind)),
                                       quint8(upgradeCid.load()), quint8(mid));
            }
        }
        if (!found) {
            state = 4;
            mouse ? finishMousePart() : finishReceiverPart();
            (mouse ? mouseSkipped : receiverSkipped) = true;
            upgradeStep = 4;
            break;
        }
        upgradeTarget = target;
        startFlash(target);
        upgradeStep = 2;
        break;
    }
    case 2:
        // The part counts as flashing from before the library was asked;
        // this step only moves on.
        upgradeStep = 3;
        break;
    case 3:
        if (state != 1)
            upgradeStep = 4;
        break;
    default: {
        if (mouse) {
            mouseFlashing = false;
            finishMousePart();
        } else {
            receiverFlashing = false;
            finishReceiverPart();
        }
        reportWithNotice = false;
        stopUpgrade();
        if (!mouse) {
            if (mouseRepairPending) {
                reportWithNotice = true;
                on_Mouse_clicked();
            } else {
                SlotContinue(0);
            }
        }
        break;
    }
    }
}

// The part counts as flashing before the library is asked, so not even its
// first report can come too early.
void FormSetting::startFlash(int target)
{
    stateOf(target) = 1;
    ownsFlash = true;
    if (firmwarepart::start(firmwareImages.value(0), {target, receiverKind, upgradeCid.load(), upgradeMid},
                            firmwarepart::Record::Replace))
        return;
    // The record that makes a repair possible could not be stored: nothing
    // is flashed, and the dialog says why. The part ends as a failed one,
    // but with no marker and no record: the device was not touched.
    ownsFlash = false;
    mouseUpdateFlag = false;
    receiverUpdateFlag = false;
    // A repair waiting for its turn would meet the same unwritable folder.
    mouseRepairPending = false;
    stateOf(target) = 3;
    emit PostMsg::instance()->SigProgress(0, 7);
}

void FormSetting::onFlashProgress(int percent)
{
    if (!ownsFlash)
        return;
    const bool mouse = mouseState == 1;
    if (receiverState != 1 && !mouse)
        return;
    emit PostMsg::instance()->SigProgress(firmwarepart::overallPercent(percent, partsCount, mouse), 0);
}

void FormSetting::onFlashFinished(bool success)
{
    if (!ownsFlash)
        return;
    ownsFlash = false;
    PostMsg *hub = PostMsg::instance();
    if (success) {
        const QString text = versionOfImage(firmwareImages.value(0));
        if (receiverState == 1) {
            receiverState = 2;
            if (partsCount == 1)
                emit hub->SigProgress(0, 2);
            emit hub->SigLabelText(0, text);
        } else if (mouseState == 1) {
            mouseState = 2;
            ConfigIni *config = ConfigIni::instance();
            upgraderecord::storeMouseVersion(config->value(QStringLiteral("Option"), QStringLiteral("CID")),
                                             config->value(driveGroup, QStringLiteral("MID")), text);
            emit hub->SigProgress(0, 2);
            emit hub->SigLabelText(1, text);
        }
        upgraderecord::removeFail();
        return;
    }
    upgraderecord::createFailMarker();
    mouseUpdateFlag = false;
    receiverUpdateFlag = false;
    if (receiverState == 1)
        receiverState = 3;
    if (mouseState == 1)
        mouseState = 3;
    emit hub->SigProgress(0, 1);
    firmwarepart::recordFailure({upgradeTarget, receiverKind, upgradeCid.load(), upgradeMid});
}

void FormSetting::finishReceiverPart()
{
    finishPart(firmwareTargetReceiver);
}

void FormSetting::finishMousePart()
{
    finishPart(firmwareTargetMouse);
}

void FormSetting::finishPart(int target)
{
    const bool mouse = target == firmwareTargetMouse;
    const int state = stateOf(target);
    QToolButton *marker = mouse ? ui->toolButton_3 : ui->toolButton_2;
    onlineCheckEnabled = true;
    PostMsg *hub = PostMsg::instance();
    if (state == 4 || state == 2) {
        marker->hide();
        if (state == 4 && mouse)
            ui->Receive_2->setText(newTipsText);
        setConfirmLook();
        emit hub->SigAddUpdate(0, false);
        emit hub->SigAddUpdate(1, false);
        if (state == 2)
            (mouse ? mouseUpdateFlag : receiverUpdateFlag) = false;
    } else if (state == 1) {
        // Still flashing: the record stays until the library says it is done.
        marker->hide();
    }
    upgradeStep = 4;
}

void FormSetting::refreshVersions(bool checkUpdates)
{
    const DeviceAllInfo open = currentDevice.get();
    QString receiverText = open.receiverVersion;
    if (open.online && open.wired) {
        receiverText.clear();
        const QList<DeviceAllInfo> devices = pageDevices.get();
        if (devices.size() == 2) {
            for (const DeviceAllInfo &entry : devices) {
                if (!entry.receiverId.isEmpty() && !entry.wired) {
                    receiverText = entry.receiverVersion;
                    break;
                }
            }
        }
    }
    const QString mouseText = open.online ? open.mouseVersion : QString();
    if (checkUpdates) {
        int kind = 0;
        if (!open.wired)
            kind = receiverKindOf(open.linkCode);
        else if (pageDevices.get().size() == 2)
            kind = kindOfFirstReceiver(pageDevices.get());
        if (QDir(firmwareImageFolder()).exists()) {
            mouseUpdateFlag = checkFirmwareUpdate(firmwareTargetMouse, mouseText, kind);
            receiverUpdateFlag = checkFirmwareUpdate(firmwareTargetReceiver, receiverText, kind);
            emit PostMsg::instance()->SigAddUpdate(0, mouseUpdateFlag);
            emit PostMsg::instance()->SigAddUpdate(1, receiverUpdateFlag);
            if (!mouseUpdateFlag && !receiverUpdateFlag) {
                emit PostMsg::instance()->SigUpdateFrame(false);
                setConfirmLook();
            } else {
                setWaitingLook();
                ui->label_5->setText(receiverText);
                ui->label_7->setText(mouseText);
                emit PostMsg::instance()->SigUpdateFrame(true);
            }
        }
    }
    ui->label_5->setText(receiverText);
    emit PostMsg::instance()->SigAddVer(1, receiverText);
    ui->label_7->setText(mouseText);
    emit PostMsg::instance()->SigAddVer(0, mouseText);
}

void FormSetting::SetVer(int index)
{
    switch (index) {
    case 0:
        refreshVersions(true);
        break;
    case 1:
        ui->toolButton_2->hide();
        break;
    case 2:
        ui->toolButton_3->hide();
        break;
    case 3:
        ui->Receive_2->setText(upgradeText);
        break;
    case 4:
    case 5:
        ui->Receive_2->setText(upgradeText);
        ui->toolButton_2->hide();
        ui->toolButton_3->hide();
        receiverSkipped = mouseSkipped = mouseFlashing = receiverFlashing = false;
        if (index == 5)
            refreshVersions(false);
        break;
    case 6:
        ui->label_5->clear();
        ui->label_7->clear();
        emit PostMsg::instance()->SigAddVer(1, QString());
        emit PostMsg::instance()->SigAddVer(0, QString());
        break;
    default:
        break;
    }
}

void FormSetting::SetVerText()
{
    ui->Receive_2->setText(newTipsText);
}

void FormSetting::waitMs(int ms)
{
    waitWithEvents(ms);
}

void FormSetting::setUpgradeRunning()
{
    upgradeRunning = true;
}

void FormSetting::stopUpgrade()
{
    dongleCheckTimer->stop();
    mouseCheckTimer->stop();
    upgradeRunning = false;
}

bool FormSetting::pairMiceToReceiver()
{
    storedReceiverOnline = false;
    const QList<DeviceAllInfo> devices = pageDevices.get();
    for (const DeviceAllInfo &entry : devices) {
        if (entry.wired)
            continue;
        QByteArray id;
        storedReceiverOnline = readReceiverId(entry.path, &id);
        storedReceiverId.clear();
        if (!storedReceiverOnline)
            continue;
        // A mouse takes the receiver's ID last byte first.
        for (int i = 2; i >= 0; --i)
            storedReceiverId.append(id.at(i));
        sendStoredIdToCabledMice();
    }
    return storedReceiverOnline;
}

void FormSetting::writeStoredIdToMice()
{
    if (storedReceiverOnline)
        sendStoredIdToCabledMice();
}

// The record is the receiver's ID, 0 and the code of the receiver's kind.
// A kind no code is known for sends nothing: a wrong code would pair the
// mouse as another kind of receiver.
void FormSetting::sendStoredIdToCabledMice()
{
    int kindCode = -1;
    switch (receiverKind) {
    case 1:
        kindCode = 0;
        break;
    case 2:
    case 4:
        kindCode = 1;
        break;
    case 8:
        kindCode = 4;
        break;
    default:
        break;
    }
    if (kindCode < 0 || storedReceiverId.size() != 3)
        return;
    const unsigned char record[5] = {quint8(storedReceiverId.at(0)), quint8(storedReceiverId.at(1)),
                                     quint8(storedReceiverId.at(2)), 0, quint8(kindCode)};
    const QList<DeviceAllInfo> devices = pageDevices.get();
    for (const DeviceAllInfo &entry : devices)
        if (entry.wired)
            writeReceiverIdToMouse(entry.path, record);
}
