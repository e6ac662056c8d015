#include "pages/settings/formsetting.h"
#include "ui_formsetting.h"

#include "app/appglobals.h"
#include "app/macroini.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "app/look.h"
#include "pages/settings/updaterepair.h"
#include "pages/hubconnections.h"

#include <QLabel>

FormSetting::FormSetting(QWidget *parent)
    : QWidget(parent), ui(new Ui::FormSetting)
{
    ui->setupUi(this);
    ui->toolButton_2->hide();
    ui->toolButton_3->hide();

    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigLanguageSameB, this, &FormSetting::SlotLanguageSameB);
    connect(hub, &PostMsg::SigLightToFrom, this, &FormSetting::SlotLightToFrom);
    connectBlockingHub(this);
    connect(hub, &PostMsg::SigFormB, this, &FormSetting::SlotFormB);
    connect(hub, &PostMsg::SigSetver, this, &FormSetting::SetVer);
    connect(hub, &PostMsg::SigLabelText, this, &FormSetting::SlotLabelText);
    connect(hub, &PostMsg::SigLabelTextB, this, &FormSetting::SlotLabelTextB);
    connect(hub, &PostMsg::SigUpdateFrame, this, &FormSetting::SlotUpdateFrame);
    connect(hub, &PostMsg::SigCheckUpdate, this, &FormSetting::SlotCheckUpdate);
    connect(hub, &PostMsg::SigUpdateStart, this, &FormSetting::on_Start);
    connect(hub, &PostMsg::SigContinue, this, &FormSetting::SlotContinue);
    connect(hub, &PostMsg::SigSetNewVer, this, &FormSetting::SetVerText);
    setUpUpgrade();

    pictureDir = look::pictureDir(QStringLiteral("FormSetting"));
    // The page draws on the device page's background.
    look::setSheet(ui->FrameSetting, QStringLiteral("#FrameSetting{border:none;background:transparent;}"));
    look::setSheet(ui->scrollArea, QStringLiteral("QScrollArea{border:none;background:transparent;}"));
    ui->scrollArea->viewport()->setAutoFillBackground(false);
    ui->scrollAreaWidgetContents->setAutoFillBackground(false);
    if (!updateRepairDialog) {
        updateRepairDialog = new UpDateRepair(nullptr);
        updateRepairDialog->hide();
    }

    buttonColor = look::rgb(look::Role::Button);
    for (QLabel *label : {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5, ui->label_6, ui->label_7,
                          ui->label_8, ui->label_9})
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel")));
    const look::Images pairImage{QStringLiteral("PariButton.png")};
    look::setSheet(ui->pushButton_2, look::imageSheet(QStringLiteral("QPushButton"), pictureDir, pairImage,
                                                      look::Fit::Centre, buttonColor));
    look::setSheet(ui->Reset, look::imageSheet(QStringLiteral("QToolButton"), pictureDir, pairImage,
                                               look::Fit::Centre, buttonColor));
    for (QWidget *marker : {static_cast<QWidget *>(ui->TitleButton_2), static_cast<QWidget *>(ui->TitleButton_3),
                            static_cast<QWidget *>(ui->TitleButton_4), static_cast<QWidget *>(ui->TitleButton_5),
                            static_cast<QWidget *>(ui->TitleButton_8)})
        look::setSheet(marker, look::imageSheet(QLatin1Char('#') + marker->objectName(), pictureDir,
                                                {QStringLiteral("Title.png")}, look::Fit::Stretch));

    look::setSheet(ui->comboBox,
                   QStringLiteral("QComboBox{color: %1;background-color: %2;border:1px solid %3;border-radius:5px;"
                                  "padding-left:8px;}QComboBox QAbstractItemView{color: %1;background-color: %2;"
                                  "selection-background-color: %3;}")
                       .arg(look::rgb(look::Role::ComboText), look::rgb(look::Role::ComboBackground),
                            look::rgb(look::Role::ComboSelect)));

    connect(hub, &PostMsg::SigAllLanguage, this, &FormSetting::SlotAllLanguage);
    SlotAllLanguage(languageIndex);
}

FormSetting::~FormSetting()
{
    delete ui;
}

void FormSetting::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("home"), QStringLiteral("Version"), index) + QStringLiteral("1.0.2.0"));
    ui->label_2->setText(catalogueText(QStringLiteral("Settings"), QStringLiteral("Language"), index));
    ui->label_3->setText(catalogueText(QStringLiteral("Settings"), QStringLiteral("DeviceInfo"), index));
    ui->label_4->setText(catalogueText(QStringLiteral("Settings"), QStringLiteral("DongleVersion"), index));
    ui->label_6->setText(catalogueText(QStringLiteral("Settings"), QStringLiteral("MouseVersion"), index));
    ui->label_8->setText(catalogueText(QStringLiteral("pair"), QStringLiteral("PairTool"), index));
    ui->pushButton_2->setText(catalogueText(QStringLiteral("pair"), QStringLiteral("Pair"), index));
    ui->Receive_2->setText(catalogueText(QStringLiteral("update"), QStringLiteral("Upgrade"), index));
    ui->label_9->setText(catalogueText(QStringLiteral("home"), QStringLiteral("Others"), index));
    ui->Reset->setText(catalogueText(QStringLiteral("Settings"), QStringLiteral("Restore"), index));
    ui->label_12->setText(catalogueText(QStringLiteral("Settings"), QStringLiteral("Restore"), index));
    warningText = catalogueText(QStringLiteral("home"), QStringLiteral("WiredMode"), index);
    upgradeTexts(index);
}

void FormSetting::on_comboBox_activated(int index)
{
    MacroIni::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
    languageIndex = index;
    emit PostMsg::instance()->SigAllLanguage(index);
    emit PostMsg::instance()->SigLanguageSameA(index);
}

void FormSetting::SlotLanguageSameB(int index)
{
    ui->comboBox->blockSignals(true);
    ui->comboBox->setCurrentIndex(index);
    ui->comboBox->blockSignals(false);
}

void FormSetting::SlotLabelText(int index, QString Text)
{
    if (index == 0) {
        ui->label_5->setText(Text);
        emit PostMsg::instance()->SigAddVer(1, Text);
        currentDevice.update([&](DeviceAllInfo &open) { open.receiverVersion = Text; });
    } else if (index == 1) {
        ui->label_7->setText(Text);
        emit PostMsg::instance()->SigAddVer(0, Text);
        currentDevice.update([&](DeviceAllInfo &open) { open.mouseVersion = Text; });
    }
}

void FormSetting::SlotLabelTextB(QString TextA, QString Text)
{
    ui->label_5->setText(TextA);
    emit PostMsg::instance()->SigAddVer(1, TextA);
    emit PostMsg::instance()->SigAddUpdate(1, Text == QLatin1String("true"));
    const QString button = QStringLiteral("QToolButton");
    if (Text == QLatin1String("true"))
        look::setSheet(ui->Receive_2, look::imageSheet(button, pictureDir,
                                                       look::buttonImages(QStringLiteral("WaitUpdate"), look::Hover),
                                                       look::Fit::Centre, buttonColor));
    else
        look::setSheet(ui->Receive_2, look::imageSheet(button, pictureDir, {QStringLiteral("Confirm.png")},
                                                       look::Fit::Stretch, buttonColor));
}

void FormSetting::SlotRGBValue(DongleRGB *) {}
void FormSetting::SlotLightToFrom(int) {}
void FormSetting::SlotLongRangeMode(bool) {}
void FormSetting::SlotForm() {}
void FormSetting::SlotFormB() {}
void FormSetting::SlotFormResetForm() {}
