#include "pages/device/dialog.h"
#include "ui_dialog.h"

#include "app/appglobals.h"
#include "app/configini.h"
#include "app/postmsg.h"
#include "device/devicecache.h"
#include "device/devicestate.h"
#include "pages/buttons/buttoninterface.h"
#include "pages/device/advanced.h"
#include "pages/device/previer.h"
#include "pages/lighting/lamplight.h"
#include "pages/macro/macro.h"
#include "pages/pagecommon.h"
#include "pages/sensor/sensor.h"
#include "pages/settings/formsetting.h"
#include "pages/settings/updataparam.h"
#include "platform/crashdump.h"
#include "platform/hidusb/hidusb.h"
#include "pages/hubconnections.h"

#include <QButtonGroup>
#include <QDebug>
#include <QKeyEvent>

namespace {

QString buttonSheet(const QString &dir, const QString &normal, const QString &hover,
                    const QString &thirdState, const QString &third)
{
    const QString rule = QStringLiteral("border:0px;background-position:center;background-repeat:no-repeat;"
                                        "background-image: url(%1);");
    return QStringLiteral("QToolButton{") + rule.arg(dir + normal) + QStringLiteral("}")
        + QStringLiteral("QToolButton:hover{") + rule.arg(dir + hover) + QStringLiteral("}")
        + QStringLiteral("QToolButton:") + thirdState + QStringLiteral("{") + rule.arg(dir + third) + QStringLiteral("}");
}

} // namespace

Dialog::Dialog(QWidget *parent)
    : QWidget(parent), ui(new Ui::Dialog)
{
    ui->setupUi(this);
    pictureDir = pictureFolder(QStringLiteral("Dialog"));

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

    ui->label_2->setStyleSheet(QStringLiteral("QLabel{color: rgb(%1);}").arg(themeRgb(QStringLiteral("LabelColor"))));
    applyHeaderImages();
    ui->label->hide();
    ui->SetButton->hide();

    pageGroup = new QButtonGroup(this);
    pageGroup->setExclusive(true);
    for (QAbstractButton *button : {static_cast<QAbstractButton *>(ui->PreButton), static_cast<QAbstractButton *>(ui->Advanced),
                                    static_cast<QAbstractButton *>(ui->ButtonMain), static_cast<QAbstractButton *>(ui->MacroButton),
                                    static_cast<QAbstractButton *>(ui->LightsButton), static_cast<QAbstractButton *>(ui->SensorButton),
                                    static_cast<QAbstractButton *>(ui->FormSetting)})
        pageGroup->addButton(button);
    connect(ui->MinButton, &QAbstractButton::clicked, this, &Dialog::WindowMin);
    ui->PreButton->setChecked(true);

    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(size());

    crashHandler = new CrashDumpHandler;
    crashHandler->install();

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
    delete preVier;
    delete buttonPage;
    delete lightPage;
    delete macroPage;
    delete sensorPage;
    delete advancedPage;
    delete settingPage;
    delete ui;
}

void Dialog::applyHeaderImages()
{
    const QString &d = pictureDir;
    const QString checked = QStringLiteral("checked");
    const QString pressed = QStringLiteral("pressed");
    ui->PreButton->setStyleSheet(buttonSheet(d, "Pre.png", "PreHover.png", checked, "PreHover.png"));
    ui->ButtonMain->setStyleSheet(buttonSheet(d, "Home.png", "HomeHover.png", checked, "HomeChecked.png"));
    ui->SensorButton->setStyleSheet(buttonSheet(d, "Sensor.png", "SensorHover.png", checked, "SensorChecked.png"));
    ui->MacroButton->setStyleSheet(buttonSheet(d, "Macro.png", "MacroHover.png", checked, "MacroChecked.png"));
    ui->LightsButton->setStyleSheet(buttonSheet(d, "Light.png", "LightHover.png", checked, "LightChecked.png"));
    ui->Advanced->setStyleSheet(buttonSheet(d, "Advance.png", "AdvanceHover.png", checked, "AdvanceHover.png"));
    ui->FormSetting->setStyleSheet(buttonSheet(d, "Setting.png", "SettingHover.png", checked, "SettingClick.png"));
    ui->UpArrow->setStyleSheet(buttonSheet(d, "PageChange.png", "PageChangeHover.png", pressed, "PageChangeClick.png"));
    ui->MinButton->setStyleSheet(buttonSheet(d, "Min.png", "MinHover.png", pressed, "MinClick.png"));
    ui->CloseButton->setStyleSheet(buttonSheet(d, "Close.png", "CloseHover.png", pressed, "CloseClick.png"));
    ui->BatteryButtonC->setStyleSheet(QStringLiteral("QLabel{border:0px;background-position:center;background-repeat:no-repeat;"
                                                     "background-image: url(%1Battery.png);}").arg(d));
    ui->label->setStyleSheet(QStringLiteral("QLabel{border-image: url(%1Charg.png);}").arg(d));
    ui->frame_2->setStyleSheet(QStringLiteral("#frame_2{border-image: url(%1BackGround2.png);}").arg(d));
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

void Dialog::on_SetButton_clicked()
{
}

void Dialog::SlotMouseIndex(int)
{
}

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
    ui->frame_2->setStyleSheet(QStringLiteral("#frame_2{border-image: url(%1%2);}").arg(pictureDir, image));
    if (index != 0)
        ui->UpArrow->show();
}

void Dialog::SlotIsUsb(bool Usb, bool)
{
    const QString image = Usb ? QStringLiteral("OnLineUsb.png") : QStringLiteral("OnLineWifi.png");
    ui->label_4->setStyleSheet(QStringLiteral("QLabel{border-image: url(%1%2);}").arg(pictureDir, image));
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
    ui->progressBar->setStyleSheet(QStringLiteral("#progressBar{border: none;background-color: transparent;}"
                                                  "#progressBar::chunk {background-color: %1;}").arg(chunk));
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
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    updateNotice->move(origin.x() + (width() - updateNotice->width()) / 2,
                       origin.y() + (height() - updateNotice->height()) / 2 - 20);
    qDebug() << "t1";
    updateNotice->exec();
}

void Dialog::saveOpenDeviceCache()
{
    // No device record has been taken over yet: there is no cache to name.
    const QString name = loadedCacheName.get();
    if (!name.isEmpty())
        saveDeviceCache(name, currentFlashData);
}

void Dialog::on_UpArrow_clicked()
{
    UsbServer_SetPCDriverStatus(0);
    saveOpenDeviceCache();
    ui->PreButton->setChecked(true);
    waitWithEvents(100);
    UsbServer_Exit();
    emit PostMsg::instance()->SigChangeMainDialog(0);
    emit PostMsg::instance()->SigSetMacroPage();
}

void Dialog::on_CloseButton_clicked()
{
    saveOpenDeviceCache();
    emit PostMsg::instance()->SigChangeSize(1);
}
