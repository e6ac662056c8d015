#include "pages/device/dialog.h"
#include "ui_dialog.h"

#include "app/appglobals.h"
#include "app/configini.h"
#include "app/delays.h"
#include "app/look.h"
#include "app/notices.h"
#include "app/postmsg.h"
#include "device/devicecache.h"
#include "device/devicestate.h"
#include "device/linkcontrols.h"
#include "pages/buttons/buttoninterface.h"
#include "pages/device/advanced.h"
#include "pages/device/previer.h"
#include "pages/hubconnections.h"
#include "pages/lighting/lamplight.h"
#include "pages/macro/macro.h"
#include "pages/sensor/sensor.h"
#include "pages/settings/formsetting.h"
#include "pages/settings/updataparam.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDebug>
#include <QKeyEvent>

Dialog::Dialog(QWidget *parent) : QWidget(parent), ui(new Ui::Dialog)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Dialog"));

    // Construction order is also the order in which the pages' hub slots run.
    preVier = new PreVier(this);
    advancedPage = new Advanced(this);
    buttonPage = new Buttoninterface(this);
    lightPage = new LampLight(this);
    macroPage = new Macro(this);
    sensorPage = new Sensor(this);
    settingPage = new FormSetting(this);

    ui->stackedWidgetDialog->addWidget(preVier);
    ui->stackedWidgetDialog->addWidget(buttonPage);
    ui->stackedWidgetDialog->addWidget(sensorPage);
    ui->stackedWidgetDialog->addWidget(macroPage);
    ui->stackedWidgetDialog->addWidget(lightPage);
    ui->stackedWidgetDialog->addWidget(advancedPage);
    ui->stackedWidgetDialog->addWidget(settingPage);

    updateNotice = new UpDataParam(nullptr);
    qDebug() << "Start";

    look::setSheet(ui->label_2, look::colorSheet(QStringLiteral("QLabel")));
    applyHeaderImages();
    ui->label->hide();
    ui->SetButton->hide();

    pageGroup = new QButtonGroup(this);
    pageGroup->setExclusive(true);
    for (QAbstractButton *button :
         {static_cast<QAbstractButton *>(ui->PreButton), static_cast<QAbstractButton *>(ui->Advanced),
          static_cast<QAbstractButton *>(ui->ButtonMain), static_cast<QAbstractButton *>(ui->MacroButton),
          static_cast<QAbstractButton *>(ui->LightsButton), static_cast<QAbstractButton *>(ui->SensorButton),
          static_cast<QAbstractButton *>(ui->FormSetting)})
        pageGroup->addButton(button);
    connect(ui->MinButton, &QAbstractButton::clicked, this, &Dialog::WindowMin);
    ui->PreButton->setChecked(true);

    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(size());

    ui->stackedWidgetDialog->setCurrentWidget(preVier);

    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigSecondPageChange, this, &Dialog::SlotSecondDialog);
    connect(hub, &PostMsg::SigIsUsb, this, &Dialog::SlotIsUsb);
    connect(hub, &PostMsg::SigUpDataParam, this, &Dialog::SlotUpDataParam);
    connect(hub, &PostMsg::SigStartRecord, this, &Dialog::SlotStartRecord);
    connect(hub, &PostMsg::SigMouseIndex, this, &Dialog::SlotMouseIndex);
    connectBlockingHub(this);
    ui->label_3->hide();
}

Dialog::~Dialog()
{
    // The pages go away below while a worker pass may still end; no hub call,
    // including one already posted, may reach this half-destroyed page (its
    // wait notice would open during the destruction).
    PostMsg::instance()->disconnect(this);
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    delete preVier;
    delete buttonPage;
    delete lightPage;
    delete macroPage;
    delete sensorPage;
    delete advancedPage;
    delete settingPage;
}

void Dialog::applyHeaderImages()
{
    const QString &d = pictureDir;
    const QString button = QStringLiteral("QToolButton");
    const auto images = [](const char *normal, const char *hover, const char *pressed, const char *checked) {
        return look::Images{QLatin1String(normal), QLatin1String(hover), QLatin1String(pressed),
                            QLatin1String(checked)};
    };
    // The page buttons show their checked image while their page is open;
    // some pages reuse the hover image for it.
    look::setSheet(ui->PreButton, look::imageSheet(button, d, images("Pre.png", "PreHover.png", "", "PreHover.png")));
    look::setSheet(
        ui->ButtonMain,
        look::imageSheet(button, d, look::buttonImages(QStringLiteral("Home"), look::Hover | look::Checked)));
    look::setSheet(
        ui->SensorButton,
        look::imageSheet(button, d, look::buttonImages(QStringLiteral("Sensor"), look::Hover | look::Checked)));
    look::setSheet(
        ui->MacroButton,
        look::imageSheet(button, d, look::buttonImages(QStringLiteral("Macro"), look::Hover | look::Checked)));
    look::setSheet(
        ui->LightsButton,
        look::imageSheet(button, d, look::buttonImages(QStringLiteral("Light"), look::Hover | look::Checked)));
    look::setSheet(ui->Advanced,
                   look::imageSheet(button, d, images("Advance.png", "AdvanceHover.png", "", "AdvanceHover.png")));
    look::setSheet(ui->FormSetting,
                   look::imageSheet(button, d, images("Setting.png", "SettingHover.png", "", "SettingClick.png")));
    look::setSheet(
        ui->UpArrow,
        look::imageSheet(button, d, look::buttonImages(QStringLiteral("PageChange"), look::Hover | look::Click)));
    look::setSheet(ui->MinButton,
                   look::imageSheet(button, d, look::buttonImages(QStringLiteral("Min"), look::Hover | look::Click)));
    look::setSheet(ui->CloseButton,
                   look::imageSheet(button, d, look::buttonImages(QStringLiteral("Close"), look::Hover | look::Click)));
    look::setSheet(ui->BatteryButtonC, look::imageSheet(QStringLiteral("QLabel"), d, {QStringLiteral("Battery.png")}));
    look::setSheet(ui->label,
                   look::imageSheet(QStringLiteral("QLabel"), d, {QStringLiteral("Charg.png")}, look::Fit::Stretch));
    look::setSheet(ui->frame_2, look::imageSheet(QStringLiteral("#frame_2"), d, {QStringLiteral("BackGround2.png")},
                                                 look::Fit::Stretch));
}

void Dialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    QWidget::keyPressEvent(event);
}

void Dialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

void Dialog::WindowMin()
{
    emit PostMsg::instance()->SigChangeSize(0);
}

void Dialog::on_PreButton_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(preVier);
}

void Dialog::on_ButtonMain_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(buttonPage);
    emit PostMsg::instance()->SigAddMacroButton();
}

void Dialog::on_SensorButton_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(sensorPage);
}

void Dialog::on_MacroButton_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(macroPage);
}

void Dialog::on_LightsButton_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(lightPage);
}

void Dialog::on_Advanced_clicked()
{
    emit PostMsg::instance()->SigtVis(0);
    ui->stackedWidgetDialog->setCurrentWidget(advancedPage);
}

void Dialog::on_FormSetting_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(settingPage);
}

void Dialog::on_SetButton_clicked() {}

void Dialog::SlotMouseIndex(int) {}

void Dialog::SlotSecondDialog()
{
    // The device page is being left: a wait for this device's settings has
    // nothing left to wait for.
    updateNotice->cancel();
    ui->PreButton->setChecked(true);
    ui->stackedWidgetDialog->setCurrentWidget(preVier);
}

void Dialog::on_stackedWidgetDialog_currentChanged(int index)
{
    const QString image = index == 0 ? QStringLiteral("BackGround2.png") : QStringLiteral("BackGround.png");
    const QString sheet = look::imageSheet(QStringLiteral("#frame_2"), pictureDir, {image}, look::Fit::Stretch);
    // Between two pages on the same background the sheet stays as it is.
    look::setSheet(ui->frame_2, sheet);
    if (index != 0)
        ui->UpArrow->show();
}

void Dialog::SlotIsUsb(bool Usb, bool)
{
    const QString image = Usb ? QStringLiteral("OnLineUsb.png") : QStringLiteral("OnLineWifi.png");
    look::setSheet(ui->label_4, look::imageSheet(QStringLiteral("QLabel"), pictureDir, {image}, look::Fit::Stretch));
}

void Dialog::SlotStartRecord(int index)
{
    if (index != 0 && index != 1)
        return;
    const bool enable = index == 1;
    for (QWidget *button : {static_cast<QWidget *>(ui->PreButton), static_cast<QWidget *>(ui->Advanced),
                            static_cast<QWidget *>(ui->ButtonMain), static_cast<QWidget *>(ui->SensorButton),
                            static_cast<QWidget *>(ui->LightsButton), static_cast<QWidget *>(ui->MacroButton),
                            static_cast<QWidget *>(ui->FormSetting)})
        button->setEnabled(enable);
}

void Dialog::SlotBattery(bool IsCharg, int Number, bool IsText)
{
    ui->label->setVisible(IsCharg);
    ui->progressBar->setValue(Number);
    ui->label_2->setText(IsText ? QString::number(Number) + QStringLiteral("%") : QString::number(Number));
    const QString chunk = Number <= 15 ? QStringLiteral("rgb(152, 43, 34)") : QStringLiteral("rgb(0, 255, 153)");
    look::setSheet(ui->progressBar, QStringLiteral("#progressBar{border: none;background-color: transparent;}"
                                                   "#progressBar::chunk {background-color: %1;}")
                                        .arg(chunk));
}

void Dialog::SlotUpDataParam(int index)
{
    // Each announcement says what the next job waits for: 1 after the device
    // reported a configuration change, 0 after an ordinary attach.
    updateNotice->waitForRefresh = (index == 1);
    if (updateNotice->isVisible()) {
        // Already waiting for this device: the running wait covers the new
        // announcement; a notice not yet in its job simply starts over.
        if (!updateNotice->jobRunning())
            updateNotice->startJobTimer();
        return;
    }
    updateNotice->startJobTimer();
    qDebug() << "q";
    qDebug() << "w";
    look::centreOn(updateNotice, this, 0, -20);
    qDebug() << "t1";
    updateNotice->exec();
}

void Dialog::saveOpenDeviceCache()
{
    // No device record has been taken over yet: there is no cache to name.
    const QString name = loadedCacheName.get();
    // Without it the list and the pages would show an older record of this
    // mouse while it is away.
    if (!name.isEmpty() && !saveDeviceCache(name, currentFlashData))
        showNotSavedNotice(this);
}

void Dialog::on_UpArrow_clicked()
{
    setDriverStatus(0);
    saveOpenDeviceCache();
    ui->PreButton->setChecked(true);
    waitWithEvents(delays::ms(delays::Delay::LeavePageWait));
    leaveDevice();
    emit PostMsg::instance()->SigChangeMainDialog(0);
    emit PostMsg::instance()->SigSetMacroPage();
}

void Dialog::on_CloseButton_clicked()
{
    saveOpenDeviceCache();
    emit PostMsg::instance()->SigChangeSize(1);
}
