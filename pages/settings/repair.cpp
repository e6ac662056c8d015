#include "pages/settings/repair.h"
#include "ui_repair.h"

#include "app/configini.h"
#include "app/fontscale.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "platform/dialogflags.h"
#include "platform/screen.h"

#include <QCoreApplication>

RePair::RePair(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::RePair)
{
    ui->setupUi(this);
    pictureDir = QCoreApplication::applicationDirPath() + QStringLiteral("/Picture/WarningDialog/");
    setWindowFlags(dialogWindowFlags());

    const QString labelColor = themeColor(QStringLiteral("LabelColor"));
    const QString buttonColor = themeColor(QStringLiteral("ButtonColor"));
    ui->label->setStyleSheet(QStringLiteral("QLabel{color: ") + labelColor + QStringLiteral(";}"));
    const QString buttonSheet =
        QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: ")
        + buttonColor + QStringLiteral(";border-image: url(") + pictureDir
        + QStringLiteral("Confirm.png);}QToolButton:pressed{border-image: url(") + pictureDir
        + QStringLiteral("ConfirmClick.png); }");
    ui->OK->setStyleSheet(buttonSheet);
    ui->Cancel->setStyleSheet(buttonSheet);
    ui->CloseButton->setStyleSheet(
        QStringLiteral("QToolButton{border:0px;background-image: url(") + pictureDir
        + QStringLiteral("Close.png);background-position:center;background-repeat:no-repeat;}QToolButton:hover{background-image: url(")
        + pictureDir + QStringLiteral("CloseHover.png);}QToolButton:pressed{background-image: url(") + pictureDir
        + QStringLiteral("CloseClick.png);}"));
    ui->RePairA->setStyleSheet(
        QStringLiteral("#RePairA{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(")
        + pictureDir + QStringLiteral("BackGround.png);}"));

    connect(PostMsg::instance(), &PostMsg::SigAllLanguage, this, &RePair::SlotAllLanguage);
    SlotAllLanguage(languageIndex);

    scaleChildren(this, screen::fontFactor());
}

RePair::~RePair()
{
    delete ui;
}

void RePair::on_OK_clicked()
{
    accepted = true;
    close();
}

void RePair::on_Cancel_clicked()
{
    accepted = false;
    close();
}

void RePair::on_CloseButton_clicked()
{
    accepted = false;
    close();
}

void RePair::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("home"), QStringLiteral("Repair"), index));
    ui->OK->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
    ui->Cancel->setText(catalogueText(QStringLiteral("common"), QStringLiteral("Cancel"), index));
}
