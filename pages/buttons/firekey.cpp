#include "pages/buttons/firekey.h"

#include "app/look.h"
#include "app/textcatalogue.h"

#include "ui_firekey.h"

FireKey::FireKey(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::FireKey>())
{
    ui->setupUi(this);
    picturePath = look::setUpNotice(this, {ui->FireKeyA, nullptr, ui->CloseButton, {ui->NewHong, ui->NewHong_2}});
    const QString labelSheet =
        look::colorSheet(QStringLiteral("QLabel"), look::Role::Label, QStringLiteral("background:transparent;"));
    look::setSheet(ui->label, labelSheet);
    look::setSheet(ui->label_2, labelSheet);
    look::setSheet(ui->label_3, labelSheet);
    const QString spinSheet = look::colorSheet(
        QStringLiteral("QSpinBox"), look::Role::LineEdit,
        QStringLiteral("background:transparent;border:1px solid %1;").arg(look::rgb(look::Role::LineEdit)));
    look::setSheet(ui->Count, spinSheet);
    look::setSheet(ui->Time, spinSheet);
    ui->Time->setFocus();
}

FireKey::~FireKey() {}

void FireKey::setInterval(int value)
{
    ui->Time->setValue(value);
}

void FireKey::setCount(int value)
{
    ui->Count->setValue(value);
}

void FireKey::on_CloseButton_clicked()
{
    accepted = false;
    close();
}

void FireKey::on_NewHong_2_clicked()
{
    accepted = false;
    close();
}

void FireKey::on_NewHong_clicked()
{
    // A value still being typed is taken as the spin box would settle it,
    // inside its range.
    ui->Time->interpretText();
    ui->Count->interpretText();
    accepted = true;
    interval = ui->Time->value();
    count = ui->Count->value();
    close();
}

void FireKey::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("key"), QStringLiteral("DialogFireKeyTimes"), index));
    ui->label_2->setText(catalogueText(QStringLiteral("key"), QStringLiteral("DialogFireKeyInterval"), index));
    ui->label_3->setText(catalogueText(QStringLiteral("key"), QStringLiteral("DialogFireKeyTips"), index));
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
    ui->NewHong_2->setText(catalogueText(QStringLiteral("common"), QStringLiteral("Cancel"), index));
}
