#include "pages/sensor/sensorrate.h"
#include "ui_sensorrate.h"

#include "app/look.h"

#include <QAbstractButton>
#include <QButtonGroup>

// 1000 Hz until the mouse says otherwise.
SensorRate::SensorRate(QWidget *parent) : ReportRateRow(parent, 3), ui(new Ui::SensorRate)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Sensor"));
    setUp({ui->Button125HZ, ui->Button250HZ, ui->Button500HZ, ui->Button1000HZ, ui->Button2000HZ, ui->Button4000HZ,
           ui->Button8000HZ},
          Face());
    const QString sheet = look::imageSheet(
        QStringLiteral("QToolButton"), pictureDir,
        look::Images(QStringLiteral("ReportRate.png"), QString(), QString(), QStringLiteral("ReportRateClick.png")),
        look::Fit::Centre, look::rgb(look::Role::Button), QStringLiteral("padding-left:0px;"));
    for (QAbstractButton *button : rateGroup->buttons())
        look::setSheet(button, sheet);
    look::setSheet(ui->label, look::colorSheet(QStringLiteral("QLabel")));
}

SensorRate::~SensorRate() = default;

void SensorRate::setTitle(const QString &text)
{
    ui->label->setText(text);
}
