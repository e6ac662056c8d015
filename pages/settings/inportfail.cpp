#include "pages/settings/inportfail.h"
#include "ui_inportfail.h"

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "pages/pagecommon.h"
#include "pages/settings/updataparam.h"

InportFail::InportFail(QWidget *parent)
    : QDialog(parent), ui(new Ui::InportFail)
{
    ui->setupUi(this);
    pictureDir = pictureFolder(QStringLiteral("WarningDialog"));
    applyNoticeFlags(this);
    const QString labelColor = themeRgb(QStringLiteral("LabelColor"));
    const QString buttonColor = themeRgb(QStringLiteral("ButtonColor"));
    ui->InportFailA->setStyleSheet(
        QStringLiteral("#InportFailA{border:0px;background-position:center;background-repeat:no-repeat;"
                       "background-image: url(%1BackGround.png);}").arg(pictureDir));
    ui->label->setStyleSheet(QStringLiteral("QLabel{color: rgb(%1);}").arg(labelColor));
    // Keep long translations off the panel's edges: they wrap instead.
    ui->label->setContentsMargins(10, 0, 10, 0);
    ui->NewHong->setStyleSheet(
        QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;"
                       "color: rgb(%1);border-image: url(%2Confirm.png);}"
                       "QToolButton:pressed{border-image: url(%2ConfirmClick.png); }").arg(buttonColor, pictureDir));
    ui->CloseButton->setStyleSheet(
        QStringLiteral("QToolButton{border:0px;background-image: url(%1Close.png);background-position:center;"
                       "background-repeat:no-repeat;}QToolButton:hover{background-image: url(%1CloseHover.png);}"
                       "QToolButton:pressed{background-image: url(%1CloseClick.png);}").arg(pictureDir));
    connect(PostMsg::instance(), SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(languageIndex);
    scaleFontsForScreen(this);
}

InportFail::~InportFail()
{
    delete ui;
}

void InportFail::SlotAllLanguage(int index)
{
    if (importResult == 1)
        ui->label->setText(pageText(QStringLiteral("key"), QStringLiteral("DialogConfigError"), index));
    else if (importResult == 2)
        ui->label->setText(pageText(QStringLiteral("key"), QStringLiteral("DialogEConfigMismatch"), index));
    ui->NewHong->setText(pageText(QStringLiteral("common"), QStringLiteral("OK"), index));
}

void InportFail::on_NewHong_clicked()
{
    close();
}

void InportFail::on_CloseButton_clicked()
{
    close();
}
