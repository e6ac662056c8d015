#include "app/notices.h"

#include "app/appglobals.h"
#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"

#include "ui_containreset.h"
#include "ui_lessthree.h"
#include "ui_mouseoffline.h"
#include "ui_questiondialogb.h"
#include "ui_updatewarning.h"

// ---------------------------------------------------------------------------

QuestiondialogB::QuestiondialogB(QWidget *parent) : QDialog(parent), ui(new Ui::QuestiondialogB)
{
    ui->setupUi(this);
    pictureDir = look::setUpNotice(this, {ui->QuestionB, ui->label, ui->CloseButton, {}});
    setFixedSize(width(), height());
}

QuestiondialogB::~QuestiondialogB() = default;

void QuestiondialogB::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("home"), QStringLiteral("ErrorDevice"), index));
}

void QuestiondialogB::on_CloseButton_clicked()
{
    close();
}

// ---------------------------------------------------------------------------

MouseOffLine::MouseOffLine(QWidget *parent) : QDialog(parent), ui(new Ui::MouseOffLine)
{
    ui->setupUi(this);
    pictureDir = look::setUpNotice(this, {ui->MouseOffLineA,
                                          ui->label,
                                          ui->CloseButton,
                                          {ui->NewHong},
                                          QStringLiteral("ConFirm.png"),
                                          QStringLiteral("ConFirmClick.png")});
    // The worker's online check closes the notice when the mouse answers.
    connect(PostMsg::instance(), &PostMsg::SigCloseOffOnline, this, &MouseOffLine::on_CloseButton_clicked);
}

MouseOffLine::~MouseOffLine() = default;

void MouseOffLine::SlotAllLanguage(int index)
{
    if (offlineNoticeKind == 0)
        ui->label->setText(catalogueText(QStringLiteral("infoTips"), QStringLiteral("DialogOffline"), index));
    else if (offlineNoticeKind == 1)
        ui->label->setText(catalogueText(QStringLiteral("infoTips"), QStringLiteral("TimeOut"), index));
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
}

void MouseOffLine::on_NewHong_clicked()
{
    close();
}

void MouseOffLine::on_CloseButton_clicked()
{
    close();
}

// ---------------------------------------------------------------------------

ContainReset::ContainReset(QWidget *parent) : QDialog(parent), ui(new Ui::ContainReset)
{
    ui->setupUi(this);
    pictureDir = look::setUpNotice(this, {ui->ContainResetA,
                                          ui->label,
                                          ui->CloseButton,
                                          {ui->OK, ui->Cancel},
                                          QStringLiteral("ConFirm.png"),
                                          QStringLiteral("ConFirmClick.png"),
                                          ui->OK});
}

ContainReset::~ContainReset() = default;

void ContainReset::setText(const QString &text)
{
    ui->label->setText(text);
}

void ContainReset::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("Settings"), QStringLiteral("DialogRestore"), index));
    ui->OK->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
    ui->Cancel->setText(catalogueText(QStringLiteral("common"), QStringLiteral("Cancel"), index));
}

void ContainReset::on_OK_clicked()
{
    accepted = true;
    close();
}

void ContainReset::on_Cancel_clicked()
{
    accepted = false;
    close();
}

void ContainReset::on_CloseButton_clicked()
{
    accepted = false;
    close();
}

// ---------------------------------------------------------------------------

UpDateWarning::UpDateWarning(QWidget *parent) : QDialog(parent), ui(new Ui::UpDateWarning)
{
    ui->setupUi(this);
    look::NoticeParts parts{ui->WarningFrame, ui->label, ui->CloseButton, {ui->NewHong}};
    parts.returnButton = ui->NewHong;
    pictureDir = look::setUpNotice(this, parts);
}

UpDateWarning::~UpDateWarning() = default;

void UpDateWarning::setText(const QString &text)
{
    ui->label->setText(text);
}

void UpDateWarning::SlotAllLanguage(int index)
{
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
}

void UpDateWarning::on_NewHong_clicked()
{
    close();
}

void UpDateWarning::on_CloseButton_clicked()
{
    close();
}

void showNotSavedNotice(QWidget *over, int dx, int dy)
{
    UpDateWarning notice(nullptr);
    notice.SlotAllLanguage(languageIndex);
    notice.setText(catalogueText(QStringLiteral("home"), QStringLiteral("NotSaved")));
    look::centreOn(&notice, over, dx, dy);
    notice.exec();
}

// ---------------------------------------------------------------------------

LessThree::LessThree(QWidget *parent) : QDialog(parent), ui(new Ui::LessThree)
{
    ui->setupUi(this);
    pictureDir = look::setUpNotice(this, {ui->LessThreeframe, ui->label, ui->CloseButton, {ui->NewHong}});
}

LessThree::~LessThree() = default;

void LessThree::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("key"), QStringLiteral("DialogDebounceTips"), index));
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
}

void LessThree::on_NewHong_clicked()
{
    close();
}

void LessThree::on_CloseButton_clicked()
{
    close();
}
