#include "pages/device/fastclick.h"
#include "ui_fastclick.h"

#include "app/look.h"
#include "device/advancedvalues.h"
#include "device/devicestate.h"
#include "device/pagelink.h"

#include <QButtonGroup>

FastClick::FastClick(QWidget *parent) : QFrame(parent), ui(new Ui::FastClick)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Advanced"));
    leftGroup = new QButtonGroup(this);
    leftGroup->addButton(ui->ReUntilClick);
    leftGroup->addButton(ui->ReUntilClick_2);
    rightGroup = new QButtonGroup(this);
    rightGroup->addButton(ui->ReUntilClick_3);
    rightGroup->addButton(ui->ReUntilClick_4);

    look::setSheet(ui->TitleButton, look::imageSheet(QStringLiteral("#TitleButton"), pictureDir,
                                                     look::Images(QStringLiteral("Title.png")), look::Fit::Stretch));
    for (QLabel *label : {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5, ui->label_6, ui->label_7})
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel")));
    const QString box =
        look::checkBoxSheet(pictureDir, QStringLiteral("CheckBoxCheck.png"), QStringLiteral("CheckBoxa.png"));
    for (QCheckBox *check : {ui->ReUntilClick, ui->ReUntilClick_2, ui->ReUntilClick_3, ui->ReUntilClick_4})
        look::setSheet(check, box);
}

FastClick::~FastClick() = default;

void FastClick::showChoice(int bit, bool onPress)
{
    QCheckBox *press = bit == advanced::kLeftTriggerBit ? ui->ReUntilClick : ui->ReUntilClick_3;
    QCheckBox *travel = bit == advanced::kLeftTriggerBit ? ui->ReUntilClick_2 : ui->ReUntilClick_4;
    const bool wasPress = press->blockSignals(true);
    const bool wasTravel = travel->blockSignals(true);
    (onPress ? press : travel)->setChecked(true);
    travel->blockSignals(wasTravel);
    press->blockSignals(wasPress);
}

void FastClick::setLeftTrigger(bool onPress)
{
    showChoice(advanced::kLeftTriggerBit, onPress);
}

void FastClick::setRightTrigger(bool onPress)
{
    showChoice(advanced::kRightTriggerBit, onPress);
}

void FastClick::setLabelText(int i, const QString &text)
{
    switch (i) {
    case 0:
        ui->label->setText(text);
        break;
    case 1:
        ui->label_2->setText(text);
        break;
    case 2:
        ui->label_3->setText(text);
        break;
    case 3:
        ui->label_4->setText(text);
        ui->label_6->setText(text);
        break;
    case 4:
        ui->label_5->setText(text);
        ui->label_7->setText(text);
        break;
    default:
        break;
    }
}

void FastClick::choose(bool checked, int bit, bool onPress)
{
    if (!checked || !uiReady)
        return;
    // The record keeps the mouse's bit until the mouse took the new one, so
    // a refused choice never rides out with a later write.
    const bool before = (currentFlashData.triggerBits & bit) != 0;
    if (!setTriggerBit(bit, onPress))
        showChoice(bit, before);
}

void FastClick::on_ReUntilClick_clicked(bool checked)
{
    choose(checked, advanced::kLeftTriggerBit, true);
}

void FastClick::on_ReUntilClick_2_clicked(bool checked)
{
    choose(checked, advanced::kLeftTriggerBit, false);
}

void FastClick::on_ReUntilClick_3_clicked(bool checked)
{
    choose(checked, advanced::kRightTriggerBit, true);
}

void FastClick::on_ReUntilClick_4_clicked(bool checked)
{
    choose(checked, advanced::kRightTriggerBit, false);
}
