#include "pages/lighting/sensoreffect.h"
#include "ui_sensoreffect.h"

#include "app/look.h"
#include "pages/lighting/lighteditor.h"

SensorEffect::SensorEffect(QWidget *parent) : DpiLedEffect(parent), ui(new Ui::SensorEffect)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Sensor"));
    Controls controls{ui->Model, ui->SpeedH, ui->LightH, ui->SpeedSpinBox, ui->LightSpinBox, ui->line, ui->line_2};
    controls.title = ui->label;
    controls.speedLabel = ui->label_14;
    controls.brightnessLabel = ui->label_15;
    setUp(controls, pictureDir);
    look::setSheet(ui->TitleButton_3, look::imageSheet(QStringLiteral("#TitleButton_3"), pictureDir,
                                                       look::Images(QStringLiteral("Title.png")), look::Fit::Stretch));
    lighting::styleModeList(ui->Model, pictureDir);
    showMode(0);
}

SensorEffect::~SensorEffect() = default;

void SensorEffect::on_Model_currentIndexChanged(int index)
{
    modeChosen(index);
}
