#include "pages/settings/repair.h"
#include "ui_repair.h"

#include "app/look.h"
#include "app/textcatalogue.h"

RePair::RePair(QWidget *parent) : QDialog(parent), ui(new Ui::RePair)
{
    ui->setupUi(this);
    look::NoticeParts parts{ui->RePairA, ui->label, ui->CloseButton, {ui->OK, ui->Cancel}};
    parts.returnButton = ui->OK;
    pictureDir = look::setUpNotice(this, parts);
}

RePair::~RePair() = default;

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
