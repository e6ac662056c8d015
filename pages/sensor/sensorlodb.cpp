#include "pages/sensor/sensorlodb.h"
#include "ui_sensorlodb.h"

#include "app/look.h"
#include "app/widgets/buttonchoice.h"
#include "device/devicestate.h"
#include "device/pagelink.h"
#include "pages/sensor/sensorlod.h"

#include <QButtonGroup>

namespace {

// Distance indexes as the sensor page's box numbers them.
constexpr int kOneMm = 0;
constexpr int kTwoMm = 1;
constexpr int kShortLod = 2;

} // namespace

SensorLODB::SensorLODB(QWidget *parent) : QFrame(parent), ui(new Ui::SensorLODB)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Sensor"));
    lodGroup = new QButtonGroup(this);
    lodGroup->setExclusive(true);
    const QString sheet = look::checkBoxSheet(pictureDir, QStringLiteral("LODCheck.png"), QStringLiteral("LOD.png"));
    for (QAbstractButton *button : {ui->MM1, ui->MM2, ui->MM0}) {
        const int distance = lodGroup->buttons().size();
        lodGroup->addButton(button, distance);
        // The same texts as the sensor page's box, so each choice reads as
        // the distance it writes.
        button->setText(SensorLOD::distanceText(distance));
        look::setSheet(button, sheet);
    }
    look::setSheet(ui->label, look::colorSheet(QStringLiteral("QLabel")));
    ui->MM0->hide();
}

SensorLODB::~SensorLODB() = default;

void SensorLODB::showThreeLodChoices()
{
    ui->MM0->show();
    ui->MM0->move(80, 0);
    ui->MM1->move(165, 0);
    ui->MM2->move(250, 0);
}

void SensorLODB::showTwoLodChoices()
{
    ui->MM0->hide();
    ui->MM1->move(80, 0);
    ui->MM2->move(165, 0);
}

void SensorLODB::setLodChoicesEnabled(bool enabled)
{
    ui->MM1->setEnabled(enabled);
    ui->MM2->setEnabled(enabled);
}

void SensorLODB::setLodIndex(int index)
{
    if (index < kOneMm || index > kShortLod || (index == kShortLod && !ui->MM0->isVisible()))
        return;
    m_lodIndex = index;
    showGroupChoice(lodGroup, index);
}

void SensorLODB::setLabelText(const QString &text)
{
    ui->label->setText(text);
}

void SensorLODB::setLabelToolTip(const QString &text)
{
    ui->label->setToolTip(text);
}

void SensorLODB::choose(int distance)
{
    if (!uiReady || sensorPageRefreshing)
        return;
    // A click on the chosen distance writes it again: the user asked for it.
    if (sendOrRestore(setLod(distance + 1), lodGroup, [&] { showGroupChoice(lodGroup, m_lodIndex); }))
        m_lodIndex = distance;
}

void SensorLODB::on_MM0_clicked(bool)
{
    choose(kShortLod);
}

void SensorLODB::on_MM1_clicked(bool)
{
    choose(kOneMm);
}

void SensorLODB::on_MM2_clicked(bool)
{
    choose(kTwoMm);
}
