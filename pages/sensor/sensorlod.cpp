#include "pages/sensor/sensorlod.h"
#include "ui_sensorlod.h"

#include "app/look.h"
#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/pagelink.h"

#include <QListView>

namespace {

const char *const kDistanceTexts[] = {"1mm", "2mm", "0.7mm"};
constexpr int kShortLod = 2; // distance index of 0.7 mm

} // namespace

SensorLOD::SensorLOD(QWidget *parent) : QFrame(parent), ui(new Ui::SensorLOD)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Sensor"));
    look::setSheet(ui->label, look::colorSheet(QStringLiteral("QLabel")));
    look::setSheet(ui->label_2, look::imageSheet(QStringLiteral("QLabel"), pictureDir,
                                                 look::Images(QStringLiteral("Tips.png")), look::Fit::Stretch));
    look::setSheet(ui->LOD, look::comboSheet(pictureDir));
    auto *view = new QListView(ui->LOD);
    ui->LOD->setView(view);
    look::setSheet(view, look::comboListSheet());
}

SensorLOD::~SensorLOD() = default;

QString SensorLOD::distanceText(int index)
{
    return index >= 0 && index <= kShortLod ? QString::fromLatin1(kDistanceTexts[index]) : QString();
}

bool SensorLOD::hasShortLod() const
{
    return ui->LOD->count() == 3;
}

// List position of a distance index; -1 when the list has no such entry.
int SensorLOD::positionOf(int distance) const
{
    if (hasShortLod()) {
        switch (distance) {
        case kShortLod:
            return 0;
        case 0:
            return 1;
        case 1:
            return 2;
        default:
            return -1;
        }
    }
    return distance == 0 || distance == 1 ? distance : -1;
}

int SensorLOD::distanceAt(int position) const
{
    if (hasShortLod()) {
        switch (position) {
        case 0:
            return kShortLod;
        case 1:
            return 0;
        case 2:
            return 1;
        default:
            return -1;
        }
    }
    return position == 0 || position == 1 ? position : -1;
}

void SensorLOD::showShortLod()
{
    if (ui->LOD->count() == 2)
        ui->LOD->insertItem(0, distanceText(kShortLod));
}

void SensorLOD::hideShortLod()
{
    if (ui->LOD->count() == 3)
        ui->LOD->removeItem(0);
}

void SensorLOD::setLodIndex(int index)
{
    int position = positionOf(index);
    if (position < 0) {
        index = 0;
        position = positionOf(0);
    }
    m_lodIndex = index;
    ui->LOD->setCurrentIndex(position);
    emit PostMsg::instance()->SigAddLOD(distanceText(index));
}

void SensorLOD::setLodEnabled(bool enabled)
{
    ui->LOD->setEnabled(enabled);
}

void SensorLOD::setTitle(const QString &text)
{
    ui->label->setText(text);
}

void SensorLOD::setTipText(const QString &text)
{
    ui->label_2->setToolTip(text);
}

void SensorLOD::moveTip(int)
{
    ui->label_2->move(50, 1);
}

void SensorLOD::on_LOD_currentIndexChanged(int index)
{
    if (!uiReady || sensorPageRefreshing)
        return;
    const int distance = distanceAt(index);
    if (distance < 0)
        return;
    if (!sendOrRestore(setLod(distance + 1), ui->LOD, &QComboBox::setCurrentIndex, positionOf(m_lodIndex)))
        return;
    m_lodIndex = distance;
    emit PostMsg::instance()->SigAddLOD(distanceText(distance));
}
