#include "pages/lighting/sensoreffectb.h"
#include "ui_sensoreffectb.h"

#include "app/look.h"

#include <QAbstractButton>
#include <QButtonGroup>

SensorEffectB::SensorEffectB(QWidget *parent) : DpiLedEffect(parent), ui(new Ui::SensorEffectB)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Sensor"));
    auto *modes = new QButtonGroup(this);
    modes->setExclusive(true);
    modes->addButton(ui->MM3, 0);
    modes->addButton(ui->MM1, 1);
    modes->addButton(ui->MM2, 2);
    Controls controls;
    controls.modeButtons = modes;
    controls.speed = ui->SpeedH;
    controls.brightness = ui->LightH;
    controls.speedValue = ui->SpeedSpinBox;
    controls.brightnessValue = ui->LightSpinBox;
    controls.speedLine = ui->line;
    controls.brightnessLine = ui->line_2;
    controls.title = ui->label;
    controls.speedLabel = ui->label_14;
    controls.brightnessLabel = ui->label_15;
    controls.askWhileDragging = false;
    setUp(controls, pictureDir);
    const QString buttonSheet =
        look::checkBoxSheet(pictureDir, QStringLiteral("LODCheck.png"), QStringLiteral("LOD.png"));
    for (QAbstractButton *button : modes->buttons())
        look::setSheet(button, buttonSheet);
    showMode(0);
}

SensorEffectB::~SensorEffectB() = default;

void SensorEffectB::buttonClicked(int mode, bool checked)
{
    if (checked)
        modeChosen(mode);
}

void SensorEffectB::on_MM1_clicked(bool checked)
{
    buttonClicked(1, checked);
}

void SensorEffectB::on_MM2_clicked(bool checked)
{
    buttonClicked(2, checked);
}

void SensorEffectB::on_MM3_clicked(bool checked)
{
    buttonClicked(0, checked);
}
