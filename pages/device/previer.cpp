#include "pages/device/previer.h"
#include "ui_previer.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"

#include <QLabel>

PreVier::PreVier(QWidget *parent) : QWidget(parent), ui(new Ui::PreVier)
{
    ui->setupUi(this);
    ui->MouseUp->hide();
    ui->DongleUp->hide();
    pictureDir = look::pictureDir(QStringLiteral("Buttoninterface"));

    const QString colour = look::colorSheet(QStringLiteral("QLabel"));
    for (QLabel *label : {ui->DpiName, ui->DpiValue, ui->ReportName, ui->ReportValue, ui->LodName, ui->LodValue,
                          ui->MotionName, ui->DebunceValue, ui->ConfigName, ui->ConfigValue, ui->MouseVer,
                          ui->MouseValue, ui->DongleVer, ui->DongleValue, ui->MouseUp, ui->DongleUp})
        look::setSheet(label, colour);
    const QString marker = look::imageSheet(QStringLiteral("QLabel"), pictureDir, {QStringLiteral("IsData.png")});
    look::setSheet(ui->MouseUp, marker);
    look::setSheet(ui->DongleUp, marker);

    PostMsg *hub = PostMsg::instance();
    connect(hub, &PostMsg::SigAllLanguage, this, &PreVier::SlotAllLanguage);
    connect(hub, &PostMsg::SigMouseIndex, this, &PreVier::SlotMouseIndex);
    connect(hub, &PostMsg::SigAddSensor, this, &PreVier::SlotAddSensor);
    connect(hub, &PostMsg::SigAddReport, this, &PreVier::SlotAddReport);
    connect(hub, &PostMsg::SigAddLOD, this, &PreVier::SlotAddLOD);
    connect(hub, &PostMsg::SigDebunce, this, &PreVier::SlotDebnunce);
    connect(hub, &PostMsg::SigAddConfig, this, &PreVier::SlotAddConfig);
    connect(hub, &PostMsg::SigAddVer, this, &PreVier::SlotAddVer);
    connect(hub, &PostMsg::SigAddUpdate, this, &PreVier::SlotAddUpdate);
    SlotAllLanguage(languageIndex);
}

PreVier::~PreVier() = default;

void PreVier::SlotAllLanguage(int index)
{
    ui->ReportName->setText(catalogueText(QStringLiteral("sensor"), QStringLiteral("ReportRate"), index));
    ui->MotionName->setText(catalogueText(QStringLiteral("key"), QStringLiteral("DebounceTime"), index));
    ui->ConfigName->setText(catalogueText(QStringLiteral("key"), QStringLiteral("configName"), index));
    ui->MouseVer->setText(catalogueText(QStringLiteral("Settings"), QStringLiteral("MouseVersion"), index));
    ui->DongleVer->setText(catalogueText(QStringLiteral("Settings"), QStringLiteral("DongleVersion"), index));
}

void PreVier::showValue(QLabel *label, const QString &text)
{
    // The value boxes are drawn a fixed width; some languages' slot names
    // are wider than the box at the form's size.
    label->setText(text);
    look::fitText(label);
}

void PreVier::SlotAddSensor(int Value)
{
    showValue(ui->DpiValue, QString::number(Value));
}

void PreVier::SlotAddReport(int Value)
{
    showValue(ui->ReportValue, QString::number(Value) + QStringLiteral("Hz"));
}

void PreVier::SlotAddLOD(QString Value)
{
    showValue(ui->LodValue, Value);
}

void PreVier::SlotAddConfig(QString Value)
{
    showValue(ui->ConfigValue, Value);
}

void PreVier::SlotDebnunce(QString Vlue)
{
    showValue(ui->DebunceValue, Vlue);
}

void PreVier::SlotAddVer(int type, QString Ver)
{
    if (type == 0)
        showValue(ui->MouseValue, Ver);
    else if (type == 1)
        showValue(ui->DongleValue, Ver);
}

void PreVier::SlotAddUpdate(int type, bool Ver)
{
    if (type == 0)
        ui->MouseUp->setVisible(Ver);
    else if (type == 1)
        ui->DongleUp->setVisible(Ver);
}

void PreVier::SlotMouseIndex(int index)
{
    look::setSheet(ui->widget,
                   look::imageSheet(QStringLiteral("#widget"), pictureDir, {QStringLiteral("mouse%1.png").arg(index)}));
}
