#include "pages/settings/updaterepair.h"
#include "ui_updaterepair.h"

#include "app/appglobals.h"
#include "app/configini.h"
#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/dialogchange.h"
#include "device/firmwarecheck.h"
#include "device/firmwareflash.h"
#include "device/linkcontrols.h"
#include "device/upgraderecord.h"
#include "pages/settings/repair.h"
#include "platform/dialogflags.h"
#include "platform/hidusb/firmwareimage.h"

#include <QKeySequence>

UpDateRepair *updateRepairDialog = nullptr;

namespace {

class SettingsListPageDialogs final : public ListPageDialogs
{
public:
    bool askPairAgain(QWidget *page) override
    {
        RePair question(nullptr);
        look::centreOn(&question, page);
        question.exec();
        return question.accepted;
    }

    void showRepairDialog(QWidget *page) override
    {
        if (!updateRepairDialog) {
            updateRepairDialog = new UpDateRepair(nullptr);
            updateRepairDialog->hide();
        }
        look::centreOn(updateRepairDialog, page);
        updateRepairDialog->resetView();
        updateRepairDialog->setModal(true);
        emit PostMsg::instance()->SigRepairCheckUpdate();
        updateRepairDialog->show();
    }
};

} // namespace

ListPageDialogs &settingsListPageDialogs()
{
    static SettingsListPageDialogs dialogs;
    return dialogs;
}

namespace {

// The repair values, one set for the whole process.
struct RepairChain
{
    QStringList record;
    bool flashing = false;  // the library reported progress of the running part
    bool ownsFlash = false; // the running flash is the repair's
    bool plain = false;     // started without a failure record (startUpdate)
    int phase = 0;          // 0 receiver, 1 mouse
    int failedPhase = -1;   // part the record names: 0 receiver, 1 mouse
    int kind = 0;
    int cid = 0;
    int mid = 0;
    QString mouseName;
    QString receiverName;
    int partsCount = 1;
};

RepairChain chain;

int targetOfPhase(int phase)
{
    return phase == 0 ? firmwareTargetReceiver : firmwareTargetMouse;
}

void endChain()
{
    repairRunning = false;
    chain.flashing = false;
    chain.ownsFlash = false;
    onlineCheckEnabled = true;
}

firmwarepart::Part partOfPhase(int phase)
{
    return {targetOfPhase(phase), chain.kind, chain.cid, chain.mid};
}

// The failure view, the repair button shown again, and a closable dialog.
void reportRepairFailure()
{
    PostMsg *hub = PostMsg::instance();
    emit hub->SigAutoRepair(1);
    emit hub->SigUpDateButton(false);
    emit hub->SigProgress(0, 6);
}

void failChain()
{
    // The part that was being flashed is the one to repair next time.
    firmwarepart::recordFailure(partOfPhase(chain.phase));
    endChain();
    reportRepairFailure();
}

void succeedChain()
{
    PostMsg *hub = PostMsg::instance();
    endChain();
    emit hub->SigAutoRepair(0);
    emit hub->SigUpDateButton(true);
    emit hub->SigProgress(0, 2);
}

// Flashes entry 0 of repairImages as the part of `phase`. A record already
// there stays as it is: it names the part that failed first, which only its
// own success clears.
void flashPart(int phase)
{
    chain.phase = phase;
    chain.ownsFlash = true;
    chain.flashing = false;
    if (firmwarepart::start(repairImages.value(0), partOfPhase(phase), firmwarepart::Record::KeepExisting))
        return;
    // No record to repair from could be stored: nothing is flashed.
    chain.ownsFlash = false;
    endChain();
    PostMsg *hub = PostMsg::instance();
    emit hub->SigAutoRepair(1);
    emit hub->SigUpDateButton(false);
    emit hub->SigProgress(0, 7);
}

void onRepairProgress(int percent)
{
    if (!chain.ownsFlash)
        return;
    chain.flashing = true;
    emit PostMsg::instance()->SigAutoRepairProgress(
        firmwarepart::overallPercent(percent, chain.partsCount, chain.phase == 1));
}

void onRepairFinished(bool success)
{
    if (!chain.ownsFlash)
        return;
    chain.ownsFlash = false;
    chain.flashing = false;
    if (!success) {
        failChain();
        return;
    }
    const QStringList parts = upgraderecord::failParts();
    if (parts.size() == 4 && parts.at(0).toInt() == targetOfPhase(chain.phase))
        upgraderecord::removeFail();
    if (chain.phase == 1 || chain.plain) {
        succeedChain();
        return;
    }
    // The receiver is done; the mouse follows when there is an image for it
    // and either the record named it or a cabled mouse of the model is listed.
    bool cabledMouse = false;
    for (const DeviceAllInfo &entry : listPageDevices())
        cabledMouse |= entry.wired && (entry.id >> 8) == chain.mid;
    if (findRepairImage(firmwareTargetMouse, QString(), chain.mouseName, quint8(chain.cid), quint8(chain.mid))
        && (chain.failedPhase == 1 || cabledMouse)) {
        flashPart(1);
        return;
    }
    succeedChain();
}

void connectChain()
{
    static bool connected = false;
    if (connected)
        return;
    connected = true;
    FirmwareFlash *flash = FirmwareFlash::instance();
    QObject::connect(flash, &FirmwareFlash::progress, flash, &onRepairProgress);
    QObject::connect(flash, &FirmwareFlash::finished, flash, &onRepairFinished);
}

} // namespace

namespace firmwarerepair {

bool running()
{
    return repairRunning;
}

} // namespace firmwarerepair

UpDateRepair::UpDateRepair(QWidget *parent) : QDialog(parent), ui(new Ui::UpDateRepair)
{
    ui->setupUi(this);
    ui->NewHong->hide();
    ui->progressBar_2->hide();
    ui->NewHong_2->hide();
    ui->ToolText_2->hide();
    pictureDir = look::noticePictureDir();
    setWindowFlags(dialogWindowFlags() | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setAttribute(Qt::WA_TranslucentBackground);

    look::setSheet(ui->ToolText, look::colorSheet(QStringLiteral("#ToolText"), look::Role::Label,
                                                  QStringLiteral("background-color:rgba(0,0,0,0);")));
    look::setSheet(ui->ToolText_2, QStringLiteral("#ToolText_2{color: rgb(255,0,0);background-color:rgba(0,0,0,0);}"));
    const QString button = look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                                            look::Images(QStringLiteral("ok_nr.png"), QStringLiteral("ok_enter.png")),
                                            look::Fit::Stretch, look::rgb(look::Role::Button));
    look::setSheet(ui->NewHong, button);
    look::setSheet(ui->NewHong_2, button);
    look::setSheet(ui->CloseButton,
                   look::imageSheet(QStringLiteral("QToolButton"), pictureDir,
                                    look::buttonImages(QStringLiteral("Close"), look::Hover | look::Click)));
    look::setSheet(ui->AutoRepair, look::imageSheet(QStringLiteral("#AutoRepair"), pictureDir,
                                                    {QStringLiteral("BackGround.png")}, look::Fit::Stretch));

    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigAutoRepair, this, &UpDateRepair::SlotAutoRepair);
    connect(hub, &PostMsg::SigAutoRepairProgress, this, &UpDateRepair::SlotAutoRepairProgress);
    connect(hub, &PostMsg::SigProgress, this, &UpDateRepair::SlotProgress);
    connect(hub, &PostMsg::SigRepairCheckUpdate, this, &UpDateRepair::SlotRepairCheckUpdate);
    connect(hub, &PostMsg::SigAllLanguage, this, &UpDateRepair::SlotAllLanguage);
    connectChain();
    SlotAllLanguage(languageIndex);
    look::scaleToScreen(this);
}

UpDateRepair::~UpDateRepair()
{
    if (updateRepairDialog == this) {
        updateRepairDialog = nullptr;
        updateRepairDialogShown = false;
    }
}

void UpDateRepair::showEvent(QShowEvent *event)
{
    if (updateRepairDialog == this)
        updateRepairDialogShown = true;
    QDialog::showEvent(event);
}

void UpDateRepair::hideEvent(QHideEvent *event)
{
    if (updateRepairDialog == this)
        updateRepairDialogShown = false;
    QDialog::hideEvent(event);
}

void UpDateRepair::SlotAllLanguage(int index)
{
    const auto home = [index](const char *key) {
        return catalogueText(QStringLiteral("home"), QLatin1String(key), index);
    };
    const auto update = [index](const char *key) {
        return catalogueText(QStringLiteral("update"), QLatin1String(key), index);
    };
    const auto common = [index](const char *key) {
        return catalogueText(QStringLiteral("common"), QLatin1String(key), index);
    };
    warnText = home("WarnUpdate");
    startText = update("DialogUpgradeStart");
    notDeviceText = home("NotDevice");
    sameDeviceText = home("SameDevice");
    failText = update("DialogUpgradeFail");
    successText = update("DialogUpgradeSuccess");
    notStoredText = update("DialogUpgradeNotStored");
    cancelText = common("Cancel");
    okText = common("OK");
    noReceiveText = home("NoRecieve");
    noUsbText = home("NoUSB");
    errorFileText = home("ErrorFile");
    multiDongleText = home("MultiDongle");
    multiMouseText = home("MultiMouse");
    readyText = home("ReadyUpdate");
    ui->ToolText->setText(warnText);
}

void UpDateRepair::setShortcuts()
{
    // Return starts or confirms, Escape cancels.
    ui->NewHong_2->setShortcut(QKeySequence(Qt::Key_Return));
    ui->NewHong->setShortcut(QKeySequence(Qt::Key_Escape));
}

// The views that wait for the user: `action` on "NewHong_2" (start or OK),
// Cancel and the close button usable, no progress bar.
void UpDateRepair::showChoice(const QString &action)
{
    ui->NewHong_2->setText(action);
    ui->NewHong_2->show();
    ui->NewHong->show();
    ui->NewHong->setEnabled(true);
    ui->CloseButton->show();
    ui->CloseButton->setEnabled(true);
    ui->ToolText_2->show();
    ui->progressBar_2->hide();
    setShortcuts();
}

void UpDateRepair::resetView()
{
    ui->NewHong->setText(cancelText);
    ui->ToolText_2->clear();
    ui->progressBar_2->setValue(0);
    showChoice(startText);
}

void UpDateRepair::showReadyView()
{
    ui->NewHong->setText(cancelText);
    ui->ToolText_2->setText(readyText);
    showChoice(startText);
}

void UpDateRepair::showMessageView()
{
    showChoice(okText);
}

void UpDateRepair::showFlashingView()
{
    ui->NewHong_2->hide();
    ui->NewHong->hide();
    ui->NewHong->setEnabled(false);
    ui->CloseButton->show();
    ui->CloseButton->setEnabled(false);
    ui->ToolText_2->setText(warnText);
    ui->ToolText_2->show();
    ui->progressBar_2->setValue(0);
    ui->progressBar_2->show();
    setShortcuts();
}

void UpDateRepair::setMessage(const QString &text)
{
    ui->ToolText_2->setText(text);
}

void UpDateRepair::hideCancelAndProgress()
{
    ui->NewHong->hide();
    ui->progressBar_2->hide();
}

void UpDateRepair::say(const QString &text)
{
    ui->ToolText_2->setText(text);
    showMessageView();
}

void UpDateRepair::SlotProgress(int schedue, int Discrib)
{
    switch (Discrib) {
    case 0:
        ui->progressBar_2->setValue(schedue);
        break;
    case 1:
    case 2:
    case 7: // not started: the record for a repair could not be stored
        ui->NewHong_2->setText(okText);
        ui->NewHong->show();
        ui->NewHong_2->show();
        ui->ToolText_2->setText(Discrib == 1 ? failText : Discrib == 2 ? successText : notStoredText);
        ui->ToolText_2->show();
        if (Discrib == 2)
            ui->progressBar_2->setValue(100);
        ui->CloseButton->setEnabled(true);
        ui->NewHong->setEnabled(true);
        break;
    case 3:
        ui->NewHong->hide();
        break;
    case 4:
        ui->NewHong->hide();
        ui->progressBar_2->setValue(0);
        break;
    case 5:
        // The mouse part could not start: the receiver's half is done.
        ui->progressBar_2->setValue(50);
        Q_FALLTHROUGH();
    case 6:
        // A failed repair: the user closes the dialog and may start again
        // from the device list.
        ui->NewHong_2->setText(okText);
        ui->NewHong_2->show();
        ui->ToolText_2->setText(failText);
        ui->ToolText_2->show();
        ui->NewHong->show();
        ui->CloseButton->setEnabled(true);
        ui->NewHong->setEnabled(true);
        break;
    default:
        break;
    }
    setShortcuts();
}

void UpDateRepair::SlotAutoRepair(int index)
{
    ui->ToolText_2->setText(index == 0 ? successText : failText);
    ui->NewHong_2->setText(okText);
    setShortcuts();
    ui->NewHong->show();
}

void UpDateRepair::SlotAutoRepairProgress(int index)
{
    ui->progressBar_2->setValue(index);
}

void UpDateRepair::SlotRepairCheckUpdate()
{
    if (checkRepair())
        showReadyView();
}

void UpDateRepair::closeAfterFlash()
{
    if (ui->progressBar_2->isVisible()) {
        if (ui->progressBar_2->value() == 100) {
            emit PostMsg::instance()->SigSetNewVer();
            close();
            return;
        }
        if (devicePageActive != 0)
            emit PostMsg::instance()->SigChangeMainDialog(0);
    }
    close();
}

void UpDateRepair::on_CloseButton_clicked()
{
    if (chain.flashing || repairRunning)
        return;
    closeAfterFlash();
}

void UpDateRepair::on_NewHong_clicked()
{
    on_CloseButton_clicked();
}

void UpDateRepair::on_NewHong_2_clicked()
{
    if (chain.flashing || repairRunning)
        return;
    if (ui->progressBar_2->isVisible()) {
        closeAfterFlash();
    } else if (ui->NewHong_2->text() == okText) {
        close();
    } else if (devicePageActive != 0) {
        emit PostMsg::instance()->SigUpdateStart();
    } else {
        startUpgrade();
    }
}

void UpDateRepair::startUpdate()
{
    plainUpdate = true;
    imageReady = !repairImages.isEmpty();
    startUpgrade();
}

void UpDateRepair::startUpgrade()
{
    if (repairRunning)
        return;
    if (!imageReady) {
        // Nothing to flash: say so, keep the record and the repair button,
        // and leave the dialog closable.
        reportRepairFailure();
        ui->ToolText_2->setText(errorFileText);
        return;
    }
    repairRunning = true;
    showFlashingView();
    onlineCheckEnabled = false;

    if (plainUpdate) {
        // The caller chose the receiver image; take its identity from it.
        chain.plain = true;
        chain.failedPhase = -1;
        chain.partsCount = 1;
        const QByteArray &image = repairImages.first();
        hidusb::FirmwareImageInfo info;
        hidusb::readFirmwareHeader(reinterpret_cast<const unsigned char *>(image.constData()),
                                   std::size_t(image.size()), &info);
        chain.cid = info.cid;
        chain.mid = info.mid;
        chain.kind = listPageDevices().isEmpty() ? 0 : receiverKindOf(listPageDevices().first().linkCode);
        flashPart(0);
        return;
    }
    chain.plain = false;
    const int mid = ConfigIni::instance()->value(repairGroup, QStringLiteral("MID")).toInt();
    if (findRepairImage(firmwareTargetReceiver, QString(), repairReceiverName, quint8(chain.cid), quint8(mid))) {
        flashPart(0);
        return;
    }
    chain.phase = 1;
    if (!findRepairImage(firmwareTargetMouse, QString(), chain.mouseName, quint8(chain.cid), quint8(mid))) {
        // The images went away since the check: a failure, not a success.
        endChain();
        reportRepairFailure();
        return;
    }
    flashPart(1);
}

bool UpDateRepair::checkRepair()
{
    chain.record = upgraderecord::failParts();
    if (chain.record.size() != 4)
        return false;
    chain.kind = 0;
    failTarget = chain.record.at(0).toInt();
    const int recordMid = chain.record.at(3).toInt();

    const int n = listPageDevices().size();
    if (n == 0) {
        say(failTarget == firmwareTargetMouse      ? noReceiveText
            : failTarget == firmwareTargetReceiver ? noUsbText
                                                   : notDeviceText);
        return false;
    }
    if (n >= 2) {
        int cabled = 0, wireless = 0;
        DeviceAllInfo lastCabled, lastWireless;
        for (const DeviceAllInfo &entry : listPageDevices()) {
            if (entry.wired) {
                ++cabled;
                lastCabled = entry;
            } else {
                ++wireless;
                lastWireless = entry;
            }
        }
        if (cabled >= 2) {
            say(multiMouseText);
            return false;
        }
        if (wireless >= 2) {
            say(multiDongleText);
            return false;
        }
        if (failTarget == firmwareTargetMouse && cabled == 1 && (lastCabled.id >> 8) != recordMid) {
            say(multiMouseText);
            return false;
        }
        if (failTarget == firmwareTargetReceiver && wireless == 1 && (lastWireless.id >> 8) != recordMid) {
            say(multiDongleText);
            return false;
        }
    }

    int receivers = 0;
    if (failTarget == firmwareTargetReceiver) {
        receivers = enumeratedReceivers(QString());
        if (receivers == 1)
            receivers = enumeratedReceivers(chain.record.at(1));
    }
    chain.phase = 0;

    if (!plainUpdate) {
        const DeviceAllInfo &first = listPageDevices().first();
        if (failTarget == firmwareTargetReceiver && (!first.wired || (first.id >> 8) != recordMid)) {
            say(noUsbText);
            return false;
        }
        if (failTarget == firmwareTargetMouse && (first.wired || (first.id >> 8) != recordMid)) {
            say(noReceiveText);
            return false;
        }
        ConfigIni *config = ConfigIni::instance();
        const int total = config->value(QStringLiteral("Option"), QStringLiteral("DeviceTotal")).toInt();
        for (int i = 1; i <= total; ++i) {
            const QString group = QStringLiteral("Drive%1").arg(i);
            if (config->value(group, QStringLiteral("MID")).toInt() == recordMid) {
                repairGroup = group;
                break;
            }
        }
        chain.mouseName = config->value(repairGroup, QStringLiteral("MM"));
        const QString kind = chain.record.at(1);
        if (kind == QLatin1String("1") || kind == QLatin1String("2") || kind == QLatin1String("4")
            || kind == QLatin1String("8")) {
            chain.kind = kind.toInt();
            repairReceiverName = config->value(repairGroup, receiverImageKey(chain.kind));
        }
        chain.receiverName = repairReceiverName;
        chain.cid = chain.record.at(2).toInt();
        chain.mid = config->value(repairGroup, QStringLiteral("MID")).toInt();
        const bool mouseImage =
            findRepairImage(firmwareTargetMouse, QString(), chain.mouseName, quint8(chain.cid), quint8(chain.mid));
        const bool receiverImage = findRepairImage(firmwareTargetReceiver, QString(), repairReceiverName,
                                                   quint8(chain.cid), quint8(chain.mid));
        chain.partsCount = mouseImage && receiverImage ? 2 : 1;
        if (failTarget == firmwareTargetReceiver) {
            chain.failedPhase = 0;
            imageReady = findRepairImage(firmwareTargetReceiver, QString(), repairReceiverName, quint8(chain.cid),
                                         quint8(chain.mid));
        } else {
            chain.failedPhase = 1;
            imageReady =
                findRepairImage(firmwareTargetMouse, QString(), chain.mouseName, quint8(chain.cid), quint8(chain.mid));
        }
    } else {
        imageReady = !repairImages.isEmpty();
    }

    // Without an image of the failed part there is nothing to ask the
    // devices about and nothing to start.
    if (!imageReady || repairImages.isEmpty()) {
        say(errorFileText);
        return false;
    }
    int count = 5;
    const QByteArray &image = repairImages.first();
    firmwarepart::countBootDevices(image, &count);
    const int devices = count + receivers;
    if (devices != 1) {
        say(devices == 0 ? notDeviceText : sameDeviceText);
        ui->NewHong->show();
        return false;
    }
    return true;
}
