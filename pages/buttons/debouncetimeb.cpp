#include "pages/buttons/debouncetimeb.h"
#include "ui_debouncetimeb.h"
#include "ui_debouncetimec.h"

#include "app/look.h"
#include "device/devicestate.h"
#include "device/setters.h"

#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

DebounceChoice::DebounceChoice(QWidget *parent, int lowestShown)
    : QFrame(parent), m_lowestShown(lowestShown), m_value(lowestShown)
{}

void DebounceChoice::setUp(QSpinBox *box)
{
    m_box = box;
    look::setSheet(box, look::framedNumberSheet());
}

void DebounceChoice::setDebounceValue(int milliseconds)
{
    m_value = qBound(m_lowestShown, milliseconds, kHighestMs);
    showValue(m_value);
}

void DebounceChoice::setUnitSuffix(const QString &suffix)
{
    m_box->setSuffix(suffix);
}

void DebounceChoice::write(int milliseconds)
{
    if (!uiReady || milliseconds < kLowestMs || milliseconds > kHighestMs)
        return;
    if (setDebounceTime(milliseconds))
        m_value = milliseconds;
    else
        showValue(m_value);
}

// ---------------------------------------------------------------------------

DebouncetimeB::DebouncetimeB(QWidget *parent) : DebounceChoice(parent, kLowestMs), ui(new Ui::DebouncetimeB)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Sensor"));
    setUp(ui->spinBoxA);
    look::setSheet(ui->Debunce, look::sliderSheet(pictureDir, QStringLiteral("HuaKuai.png")));
}

DebouncetimeB::~DebouncetimeB() = default;

void DebouncetimeB::showValue(int milliseconds)
{
    {
        const QSignalBlocker block(ui->Debunce);
        ui->Debunce->setValue(milliseconds);
    }
    ui->spinBoxA->setValue(ui->Debunce->value());
}

void DebouncetimeB::on_Debunce_sliderMoved(int position)
{
    // The box follows the handle; the mouse gets the value on release.
    ui->spinBoxA->setValue(position);
}

void DebouncetimeB::on_Debunce_valueChanged(int value)
{
    ui->spinBoxA->setValue(value);
    write(value);
}

// ---------------------------------------------------------------------------

DebouncetimeC::DebouncetimeC(QWidget *parent) : DebounceChoice(parent, 0), ui(new Ui::DebouncetimeC)
{
    ui->setupUi(this);
    pictureDir = look::pictureDir(QStringLiteral("Sensor"));
    setUp(ui->spinBoxA);
    look::setSheet(ui->AddLevelA,
                   look::imageSheet(QStringLiteral("#AddLevelA"), pictureDir, look::Images(QStringLiteral("Add.png"))));
    look::setSheet(ui->ReduceLevelA, look::imageSheet(QStringLiteral("#ReduceLevelA"), pictureDir,
                                                      look::Images(QStringLiteral("Reduce.png"))));
}

DebouncetimeC::~DebouncetimeC() = default;

void DebouncetimeC::showValue(int milliseconds)
{
    ui->spinBoxA->setValue(milliseconds);
}

void DebouncetimeC::on_AddLevelA_clicked()
{
    const int value = ui->spinBoxA->value();
    if (value >= kHighestMs)
        return;
    showValue(value + 1);
    write(value + 1);
}

void DebouncetimeC::on_ReduceLevelA_clicked()
{
    // Minus stops at the shortest time the mouse is given; the box shows 0
    // only until the host shows the mouse's value.
    const int value = ui->spinBoxA->value();
    if (value <= kLowestMs)
        return;
    showValue(value - 1);
    write(value - 1);
}
