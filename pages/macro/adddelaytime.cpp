#include "pages/macro/adddelaytime.h"
#include "ui_adddelaytime.h"

#include "app/look.h"
#include "app/textcatalogue.h"

AddDelayTime::AddDelayTime(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::AddDelayTime>())
{
    ui->setupUi(this);
    // No Return button: Enter in the number field only finishes the number.
    picturePath =
        look::setUpNotice(this, {ui->AddDelayTimeA, ui->label, ui->CloseButton, {ui->NewHong, ui->NewHong_2}});
    look::setSheet(ui->spinBox, look::fieldSheet(QStringLiteral("QSpinBox")));
    ui->spinBox->setFocus();
}

AddDelayTime::~AddDelayTime() = default;

void AddDelayTime::SlotAllLanguage(int index)
{
    ui->label->setText(catalogueText(QStringLiteral("home"), QStringLiteral("EnterDelay"), index));
    ui->NewHong->setText(catalogueText(QStringLiteral("common"), QStringLiteral("OK"), index));
    ui->NewHong_2->setText(catalogueText(QStringLiteral("common"), QStringLiteral("Cancel"), index));
}

void AddDelayTime::on_NewHong_clicked()
{
    accepted = true;
    // A number still being typed below the minimum is not a value yet: the
    // field's last value within range is the answer.
    delayMs = ui->spinBox->value();
    close();
}

void AddDelayTime::on_NewHong_2_clicked()
{
    accepted = false;
    close();
}

void AddDelayTime::on_CloseButton_clicked()
{
    accepted = false;
    close();
}
