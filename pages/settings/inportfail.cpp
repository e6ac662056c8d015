#include "pages/settings/inportfail.h"
#include "ui_inportfail.h"

#include "app/look.h"
#include "app/textcatalogue.h"
#include "pages/settings/updataparam.h"

InportFail::InportFail(QWidget *parent) : QDialog(parent), ui(new Ui::InportFail)
{
    ui->setupUi(this);
    pictureDir = look::setUpNotice(this, {ui->InportFailA, ui->label, ui->CloseButton, {ui->NewHong}});
}

InportFail::~InportFail() = default;

void InportFail::SlotAllLanguage(int index)
{
    if (!textKey.isEmpty())
        ui->label->setText(catalogueText(QStringLiteral("key"), textKey, index));
    else if (importResult == 1)
        ui->label->setText(catalogueText(QStringLiteral("key"), QStringLiteral("DialogConfigError"), index));
    else if (importResult == 2)
        ui->label->setText(catalogueText(QStringLiteral("key"), QStringLiteral("DialogEConfigMismatch"), index));
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
}

void InportFail::on_NewHong_clicked()
{
    close();
}

void InportFail::on_CloseButton_clicked()
{
    close();
}
