#include "pages/lighting/sensoreffect.h"
#include "ui_sensoreffect.h"

#include "app/look.h"
#include "pages/lighting/lighteditor.h"

SensorEffect::SensorEffect(QWidget *parent) : DpiLedEffect(parent), ui(new Ui::SensorEffect)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Sensor"));
    setUp({ui->Model, ui->SpeedH, ui->LightH, ui->SpeedSpinBox, ui->LightSpinBox, ui->line, ui->line_2});

    for (QWidget *label : {ui->label, ui->label_14, ui->label_15})
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel")));
    look::setSheet(ui->TitleButton_3, look::imageSheet(QStringLiteral("#TitleButton_3"), pictureDir,
                                                       look::Images(QStringLiteral("Title.png")), look::Fit::Stretch));
    lighting::styleModeList(ui->Model, pictureDir);
    lighting::styleSlider(ui->SpeedH, pictureDir);
    lighting::styleSlider(ui->LightH, pictureDir);
    lighting::styleValueBox(ui->SpeedSpinBox);
    lighting::styleValueBox(ui->LightSpinBox);
    showMode(0);
}

SensorEffect::~SensorEffect() = default;

void SensorEffect::setTitleText(const QString &text)
{
    ui->label->setText(text);
}

void SensorEffect::setSpeedLabelText(const QString &text)
{
    ui->label_14->setText(text);
}

void SensorEffect::setBrightnessLabelText(const QString &text)
{
    ui->label_15->setText(text);
}

void SensorEffect::on_Model_currentIndexChanged(int index)
{
    modeChosen(index);
}

void SensorEffect::on_SpeedH_sliderMoved(int position)
{
    speedMoved(position);
}

void SensorEffect::on_SpeedH_valueChanged(int value)
{
    speedReleased(value);
}

void SensorEffect::on_LightH_sliderMoved(int position)
{
    brightnessMoved(position);
}

void SensorEffect::on_LightH_valueChanged(int value)
{
    brightnessReleased(value);
}
