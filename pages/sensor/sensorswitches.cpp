#include "pages/sensor/sensorswitches.h"
#include "ui_motionsync.h"
#include "ui_rippecontrol.h"
#include "ui_straightline.h"

#include "app/look.h"
#include "device/devicestate.h"
#include "device/pagelink.h"

#include <QLabel>
#include <QToolButton>

namespace {

// Tip icon places, per language index 0, 1, 2, 3, 4, 5, 7.
constexpr int kRippleTips[7] = {175, 170, 187, 190, 175, 175, 175};
constexpr int kStraightTips[7] = {170, 187, 187, 190, 175, 175, 175};
constexpr int kMotionTips[7] = {160, 190, 190, 190, 175, 175, 175};

int tipSlot(int language)
{
    if (language >= 0 && language <= 5)
        return language;
    return language == 7 ? 6 : -1;
}

} // namespace

SensorSwitch::SensorSwitch(QWidget *parent) : QFrame(parent) {}

void SensorSwitch::setUp(QToolButton *toggle, QLabel *caption, QLabel *tip, Setter setter, const TipPlaces &tipX)
{
    setUp(toggle, caption, setter);
    m_tip = tip;
    m_tipX = tipX;
    look::setSheet(tip, look::imageSheet(QStringLiteral("QLabel"), look::pictureDir(QStringLiteral("Sensor")),
                                         look::Images(QStringLiteral("Tips.png")), look::Fit::Stretch));
}

void SensorSwitch::setUp(QToolButton *toggle, QLabel *caption, Setter setter)
{
    m_toggle = toggle;
    m_caption = caption;
    m_setter = setter;
    const QString dir = look::pictureDir(QStringLiteral("Sensor"));
    look::setSheet(caption, look::colorSheet(QStringLiteral("QLabel")));
    look::setSheet(toggle, look::imageSheet(QLatin1Char('#') + toggle->objectName(), dir,
                                            look::Images(QStringLiteral("Close.png"), QString(), QString(),
                                                         QStringLiteral("Open.png"))));
}

void SensorSwitch::setOn(bool on)
{
    m_toggle->setChecked(on);
}

bool SensorSwitch::isOn() const
{
    return m_toggle->isChecked();
}

void SensorSwitch::setCaption(const QString &text)
{
    m_caption->setText(text);
}

void SensorSwitch::setTipText(const QString &text)
{
    (m_tip ? m_tip : m_caption)->setToolTip(text);
}

void SensorSwitch::moveTip(int language)
{
    const int slot = tipSlot(language);
    if (m_tip && slot >= 0)
        m_tip->move(m_tipX[slot], 3);
}

void SensorSwitch::clicked(bool checked)
{
    if (!uiReady)
        return;
    sendOrRestore(m_setter(checked ? 1 : 0), m_toggle, &QToolButton::setChecked, !checked);
}

RippeControl::RippeControl(QWidget *parent) : SensorSwitch(parent), ui(new Ui::RippeControl)
{
    ui->setupUi(this);
    setUp(ui->RippeControl_2, ui->label, ui->label_2, &setRippleControl, kRippleTips);
}

RippeControl::~RippeControl() = default;

void RippeControl::on_RippeControl_2_clicked(bool checked)
{
    clicked(checked);
}

StraightLine::StraightLine(QWidget *parent) : SensorSwitch(parent), ui(new Ui::StraightLine)
{
    ui->setupUi(this);
    setUp(ui->StraightLine_2, ui->label, ui->label_2, &setStraightLine, kStraightTips);
}

StraightLine::~StraightLine() = default;

void StraightLine::on_StraightLine_2_clicked(bool checked)
{
    clicked(checked);
}

MotionSync::MotionSync(QWidget *parent) : SensorSwitch(parent), ui(new Ui::MotionSync)
{
    ui->setupUi(this);
    setUp(ui->MotionSync_2, ui->label, ui->label_2, &setMotionSync, kMotionTips);
}

MotionSync::~MotionSync() = default;

void MotionSync::on_MotionSync_2_clicked(bool checked)
{
    clicked(checked);
}
