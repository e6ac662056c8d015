#include "pages/sensor/sensorrateb.h"
#include "ui_sensorrateb.h"

#include "app/look.h"

#include <QAbstractButton>
#include <QButtonGroup>

// No rate is selected until the host shows the mouse's.
SensorRateB::SensorRateB(QWidget *parent) : ReportRateRow(parent, -1), ui(new Ui::SensorRateB)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Sensor"));
    Face face;
    face.announcesRate = false;
    face.holdsDuringRefill = true;
    setUp({ui->Button125HZ, ui->Button250HZ, ui->Button500HZ, ui->Button1000HZ, ui->Button2000HZ, ui->Button4000HZ,
           ui->Button8000HZ},
          face);
    const QString sheet = look::checkBoxSheet(pictureDir, QStringLiteral("LODCheck.png"), QStringLiteral("LOD.png"));
    for (QAbstractButton *button : rateGroup->buttons())
        look::setSheet(button, sheet);
    look::setSheet(ui->label, look::colorSheet(QStringLiteral("QLabel")));
}

SensorRateB::~SensorRateB() = default;

void SensorRateB::setLabelText(const QString &text)
{
    ui->label->setText(text);
}
