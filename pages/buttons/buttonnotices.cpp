#include "pages/buttons/buttonnotices.h"

#include "app/look.h"
#include "app/textcatalogue.h"

#include "ui_groupmaxthree.h"
#include "ui_leftbuttononly.h"
#include "ui_makemacro.h"

// ---------------------------------------------------------------------------

LeftButtonOnly::LeftButtonOnly(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::LeftButtonOnly>())
{
    ui->setupUi(this);
    picturePath = look::setUpNotice(this, {ui->ButtonOnly, ui->label, ui->CloseButton});
}

LeftButtonOnly::~LeftButtonOnly() {}

void LeftButtonOnly::showOver(QWidget *opener)
{
    LeftButtonOnly notice;
    notice.SlotAllLanguage(languageIndex);
    look::centreOn(&notice, opener, -50, -70);
    notice.exec();
}

void LeftButtonOnly::on_CloseButton_clicked()
{
    close();
}

void LeftButtonOnly::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("key"), QStringLiteral("DialogKeepLeftKey"), index));
}

// ---------------------------------------------------------------------------

MakeMacro::MakeMacro(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::MakeMacro>())
{
    ui->setupUi(this);
    picturePath = look::setUpNotice(this, {ui->MakeMacroA, ui->label, ui->CloseButton, {ui->NewHong}});
}

MakeMacro::~MakeMacro() {}

void MakeMacro::on_CloseButton_clicked()
{
    close();
}

void MakeMacro::on_NewHong_clicked()
{
    close();
}

void MakeMacro::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("home"), QStringLiteral("MakeMaro"), index));
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
}

// ---------------------------------------------------------------------------

GroupMaxThree::GroupMaxThree(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::GroupMaxThree>())
{
    ui->setupUi(this);
    picturePath = look::setUpNotice(this, {ui->MaxThree, ui->label, ui->CloseButton, {ui->NewHong}});
}

GroupMaxThree::~GroupMaxThree() {}

void GroupMaxThree::on_CloseButton_clicked()
{
    close();
}

void GroupMaxThree::on_NewHong_clicked()
{
    close();
}

void GroupMaxThree::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("home"), QStringLiteral("MaxThree"), index));
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
}
