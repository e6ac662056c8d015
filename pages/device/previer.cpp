#include "pages/device/previer.h"
#include "ui_previer.h"

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "pages/pagecommon.h"

#include <QLabel>

PreVier::PreVier(QWidget *parent)
    : QWidget(parent), ui(new Ui::PreVier)
{
    ui->setupUi(this);
    ui->MouseUp->hide();
    ui->DongleUp->hide();
    pictureDir = pictureFolder(QStringLiteral("Buttoninterface"));

    const QString colour = QStringLiteral("QLabel{color: rgb(%1);}").arg(themeRgb(QStringLiteral("LabelColor")));
    for (QLabel *label : {ui->DpiName, ui->DpiValue, ui->ReportName, ui->ReportValue, ui->LodName, ui->LodValue,
                          ui->MotionName, ui->DebunceValue, ui->ConfigName, ui->ConfigValue, ui->MouseVer,
                          ui->MouseValue, ui->DongleVer, ui->DongleValue, ui->MouseUp, ui->DongleUp})
        label->setStyleSheet(colour);
    const QString marker = QStringLiteral("QLabel{border:0px;background-position:center;background-repeat:no-repeat;"
                                          "background-image: url(%1IsData.png);}").arg(pictureDir);
    ui->MouseUp->setStyleSheet(marker);
    ui->DongleUp->setStyleSheet(marker);

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

PreVier::~PreVier()
{
    delete ui;
}

void PreVier::SlotAllLanguage(int index)
{
    ui->ReportName->setText(pageText(QStringLiteral("sensor"), QStringLiteral("ReportRate"), index));
    ui->MotionName->setText(pageText(QStringLiteral("key"), QStringLiteral("DebounceTime"), index));
    ui->ConfigName->setText(pageText(QStringLiteral("key"), QStringLiteral("configName"), index));
    ui->MouseVer->setText(pageText(QStringLiteral("Settings"), QStringLiteral("MouseVersion"), index));
    ui->DongleVer->setText(pageText(QStringLiteral("Settings"), QStringLiteral("DongleVersion"), index));
}

void PreVier::SlotAddSensor(int Value)
{
    ui->DpiValue->setText(QString::number(Value));
}

void PreVier::SlotAddReport(int Value)
{
    ui->ReportValue->setText(QString::number(Value) + QStringLiteral("Hz"));
}

void PreVier::SlotAddLOD(QString Value)
{
    ui->LodValue->setText(Value);
}

void PreVier::SlotAddConfig(QString Value)
{
    ui->ConfigValue->setText(Value);
}

void PreVier::SlotDebnunce(QString Vlue)
{
    ui->DebunceValue->setText(Vlue);
}

void PreVier::SlotAddVer(int type, QString Ver)
{
    if (type == 0)
        ui->MouseValue->setText(Ver);
    else if (type == 1)
        ui->DongleValue->setText(Ver);
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
    ui->widget->setStyleSheet(QStringLiteral("#widget{border:0px;background-position:center;background-repeat:no-repeat;"
                                             "background-image: url(%1mouse%2.png);}").arg(pictureDir).arg(index));
}
