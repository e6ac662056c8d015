#include "device/match.h"
#include "ui_match.h"

#include "app/configini.h"
#include "app/delays.h"
#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/discovery.h"
#include "device/linkcontrols.h"
#include "platform/dialogflags.h"
#include "platform/hidusb/hidusb.h"

#include <QDebug>
#include <QEvent>
#include <QTimer>

std::atomic<int> pairResult{0};
std::atomic<bool> pairingActive{false};
QTimer *pairUsbTimer = nullptr;
QTimer *pairStatusTimer = nullptr;
QTimer *pairTextTimer = nullptr;
int pairTextStep = 0;
QString pairButtonColor;
QString pairPictureDir;
DeviceAllInfo pairingTarget;
bool pairingTargetSet = false;

Match::Match(QWidget *parent) : QDialog(parent), ui(new Ui::Match)
{
    ui->setupUi(this);
    look::scaleToScreen(this);
    pairPictureDir = look::pictureDir(QStringLiteral("Setting"));
    setWindowFlags(dialogWindowFlags());
    setFixedSize(size());
    setAttribute(Qt::WA_TranslucentBackground);

    look::setSheet(ui->textEdit, look::colorSheet(QStringLiteral("QTextEdit"), look::Role::Label,
                                                  QStringLiteral("border:0px;background:transparent;")));
    look::setSheet(ui->label, look::colorSheet(QStringLiteral("QLabel")));

    pairButtonColor = look::rgbNumbers(look::Role::Button);
    setLook(Look::Ready);
    look::setSheet(ui->toolButton_2,
                   look::imageSheet(QStringLiteral("QToolButton"), pairPictureDir, {QStringLiteral("Picture.png")},
                                    look::Fit::Centre, look::rgb(look::Ink::White)));
    look::setSheet(ui->CloseButton,
                   look::imageSheet(QStringLiteral("QToolButton"), pairPictureDir,
                                    look::buttonImages(QStringLiteral("CloseSecondPage"), look::Hover | look::Click)));
    look::setSheet(ui->MatchA,
                   look::imageSheet(QStringLiteral("#MatchA"), pairPictureDir, {QStringLiteral("BackSecondPage.png")}));

    openedDevicePath = currentDevice.get().path;

    pairUsbTimer = new QTimer(this);
    pairStatusTimer = new QTimer(this);
    pairTextTimer = new QTimer(this);
    connect(pairUsbTimer, &QTimer::timeout, this, &Match::onUSBTimeupDestroy);
    connect(pairStatusTimer, &QTimer::timeout, this, &Match::onPairTimeupDestroy);
    connect(pairTextTimer, &QTimer::timeout, this, &Match::onTextTimeupDestroy);
    pairUsbTimer->setInterval(delays::ms(delays::Delay::PairReceiverPoll));
    pairStatusTimer->setInterval(delays::ms(delays::Delay::PairStatusPoll));
    pairTextTimer->setInterval(delays::ms(delays::Delay::PairTextStep));

    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigTimerStop, this, &Match::SlotStopTimer);
    connect(hub, &PostMsg::SigButtonEnable, this, &Match::SlotButtonenable);
    connect(hub, &PostMsg::SigAllLanguage, this, &Match::SlotAllLanguage);
    connect(ui->CloseButton, &QAbstractButton::clicked, this, &Match::WindowClosedSet);

    SlotAllLanguage(languageIndex);
    ui->label->hide();
    ui->textEdit->hide();
}

Match::~Match()
{
    // A dialog that goes away without the close steps (its opener ended)
    // still hands the device back to the device page.
    if (!finished)
        restoreDevicePage();
    for (QTimer **timer : {&pairUsbTimer, &pairStatusTimer, &pairTextTimer})
        if (*timer && (*timer)->parent() == this)
            *timer = nullptr;
}

void Match::setLook(Look look)
{
    QString image = QStringLiteral("Pair.png");
    QString color = QStringLiteral("rgb(") + pairButtonColor + QStringLiteral(")");
    // The cable look says "not available here": a dimmed text that stays
    // readable on the dark button.
    if (look == Look::Cable)
        color = look::rgb(look::Ink::Unavailable);
    else if (look == Look::Success)
        image = QStringLiteral("PairSuccess.png");
    else if (look == Look::Failure)
        image = QStringLiteral("PairFail.png");
    look::setSheet(ui->MatchButton,
                   look::imageSheet(QStringLiteral("QPushButton"), pairPictureDir, {image}, look::Fit::Centre, color));
}

void Match::prepare()
{
    ui->MatchButton->setShortcut(QKeySequence(Qt::Key_Space));
    pairTextStep = 0;
    pairResult = 0;
    ui->MatchButton->setEnabled(true);
    setLook(Look::Ready);
    ui->MatchButton->setText(startText);

    noTarget = false;
    if (devicePageActive == 1) {
        const DeviceAllInfo device = currentDevice.get();
        receiverPath = openedDevicePath;
        receiverVid = device.vid;
        receiverPid = device.pid;
        deviceWired = device.wired;
    } else if (pairingTargetSet) {
        receiverPath = pairingTarget.path;
        receiverVid = pairingTarget.vid;
        receiverPid = pairingTarget.pid;
        deviceWired = pairingTarget.wired;
    } else if (!listedDevices.isEmpty()) {
        const DeviceAllInfo &first = listedDevices.first();
        receiverPath = first.path;
        receiverVid = first.vid;
        receiverPid = first.pid;
        deviceWired = first.wired;
    } else {
        // Nothing to pair through: the button stays disabled.
        noTarget = true;
        receiverPath.clear();
        receiverVid.clear();
        receiverPid.clear();
        deviceWired = false;
    }
    cid = quint8(ConfigIni::instance()->value(QStringLiteral("Option"), QStringLiteral("CID")).toInt());
    pairUsbTimer->start();
}

void Match::onUSBTimeupDestroy()
{
    if (!pairingActive) {
        if (noTarget) {
            pairable = false;
            ui->label->hide();
            ui->textEdit->show();
        } else if (!deviceWired) {
            pairable = true;
            ui->label->hide();
            ui->textEdit->show();
        } else {
            pairable = false;
            ui->label->show();
            ui->textEdit->hide();
        }
    }
    ui->MatchButton->setEnabled(pairable);
    if (!pairable)
        setLook(Look::Cable);
}

void Match::on_MatchButton_clicked()
{
    if (pairResult == 2 || !pairable)
        return;
    pairResult = 1;
    pairTextTimer->start();
    ui->MatchButton->setText(pairingText);
    setLook(Look::Ready);
    int expected = 1;
    if (devicePageActive.compare_exchange_strong(expected, 0))
        devicePageParked = true;
    pairingActive = false;
    startPairing();
}

void Match::startPairing()
{
    if (pairingActive) {
        UsbServer_EnterDonglePairOnlyCid(cid);
        return;
    }
    qDebug() << "Enter";
    pairingActive = true;
    pairStatusTimer->start();
    const QByteArray path = receiverPath.toLocal8Bit();
    UsbServerC_Start(path.constData(), path.constData(), onPairReport);
    UsbServer_EnterDonglePairOnlyCid(cid);
}

void onPairReport(const unsigned char *head, int headLength, const unsigned char *payload, int payloadLength)
{
    qDebug() << "in2";
    const int kind = headLength >= 2 ? head[1] : 0;
    qDebug() << kind;
    if (kind != hidusb::ReportPairStatus || payloadLength < 1)
        return;
    PostMsg *hub = PostMsg::instance();
    const int status = payload[0];
    if (status == 2) {
        emit hub->SigTimerStop();
        pairingActive = false;
        qDebug() << "fail";
        pairResult = 3;
        emit hub->SigButtonEnable(0);
    } else if (status == 3) {
        emit hub->SigTimerStop();
        pairingActive = false;
        qDebug() << "success";
        pairResult = 2;
        emit hub->SigButtonEnable(1);
    } else {
        return;
    }
    if (devicePageParked.exchange(false))
        devicePageActive = 1;
}

void Match::restoreDevicePage()
{
    if (devicePageParked.exchange(false))
        devicePageActive = 1;
}

void Match::onPairTimeupDestroy()
{
    UsbServer_ReadDonglePairStatus();
    int count = 5;
    const QByteArray vid = receiverVid.toLatin1();
    const QByteArray pid = receiverPid.toLatin1();
    const char *const *paths = UsbFinderC_FindHidDevicesByDefaultDeviceId(vid.constData(), pid.constData(), &count);
    bool found = false;
    for (int i = 0; paths && i < count; ++i)
        if (paths[i] && QString::fromLocal8Bit(paths[i]) == receiverPath)
            found = true;
    if (!found && pairingActive) {
        pairStatusTimer->stop();
        pairTextTimer->stop();
        pairingActive = false;
        pairResult = 3;
        ui->MatchButton->setText(failText);
        setLook(Look::Failure);
        // No report will come for this pairing; the device page gets its
        // state back here.
        restoreDevicePage();
    }
}

void Match::onTextTimeupDestroy()
{
    switch (pairTextStep) {
    case 0:
    case 4:
        ui->MatchButton->setText(pairingText);
        pairTextStep = 1;
        break;
    case 1:
        ui->MatchButton->setText(pairingText + QStringLiteral("."));
        pairTextStep = 2;
        break;
    case 2:
        ui->MatchButton->setText(pairingText + QStringLiteral(".."));
        pairTextStep = 3;
        break;
    case 3:
        ui->MatchButton->setText(pairingText + QStringLiteral("..."));
        pairTextStep = 4;
        break;
    default:
        ++pairTextStep;
        break;
    }
}

void Match::SlotStopTimer()
{
    if (pairStatusTimer)
        pairStatusTimer->stop();
    if (pairTextTimer)
        pairTextTimer->stop();
}

void Match::SlotButtonenable(int index)
{
    if (index == 1) {
        ui->MatchButton->setText(successText);
        setLook(Look::Success);
        ui->MatchButton->setEnabled(false);
    } else if (index == 0) {
        ui->MatchButton->setText(failText);
        setLook(Look::Failure);
    }
}

void Match::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("home"), QStringLiteral("NoPair"), index));
    ui->textEdit->setText(catalogueText(QStringLiteral("pair"), QStringLiteral("DialogPairTips"), index));
    startText = catalogueText(QStringLiteral("pair"), QStringLiteral("StartPair"), index);
    ui->MatchButton->setText(startText);
    pairingText = catalogueText(QStringLiteral("pair"), QStringLiteral("Pairing"), index);
    failText = catalogueText(QStringLiteral("pair"), QStringLiteral("PairFail"), index);
    successText = catalogueText(QStringLiteral("pair"), QStringLiteral("PairSuccess"), index);
}

void Match::WindowClosedSet()
{
    if (pairingActive)
        return;
    reject();
}

void Match::reject()
{
    // Escape, the close button and a window close all end the same way; none
    // of them interrupts a pairing whose result has not come yet.
    if (pairingActive)
        return;
    finishDialog();
    QDialog::reject();
}

void Match::finishDialog()
{
    if (finished)
        return;
    finished = true;
    restoreDevicePage();
    // Opened from the device list: look at the devices again (the paired
    // mouse now answers). A device page keeps its own callback.
    if (devicePageActive != 1)
        watchDevices(DeviceWatch::List);
    if (pairStatusTimer)
        pairStatusTimer->stop();
    if (pairUsbTimer)
        pairUsbTimer->stop();
    if (pairTextTimer)
        pairTextTimer->stop();
}

void Match::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
