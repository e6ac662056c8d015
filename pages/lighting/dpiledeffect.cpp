#include "pages/lighting/dpiledeffect.h"

#include "device/devicestate.h"
#include "device/pagelink.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

namespace {

constexpr int kBrightnessBytes[10] = {16, 30, 60, 90, 128, 150, 180, 210, 230, 255};

} // namespace

int dpiLedBrightnessByte(int step)
{
    return kBrightnessBytes[qBound(1, step, 10) - 1];
}

int dpiLedBrightnessStep(int byte)
{
    for (int i = 0; i < 10; ++i) {
        if (kBrightnessBytes[i] == byte)
            return i + 1;
    }
    return byte;
}

DpiLedEffect::DpiLedEffect(QWidget *parent) : QFrame(parent) {}

void DpiLedEffect::setUp(const Controls &controls)
{
    m_c = controls;
}

bool DpiLedEffect::mayWrite() const
{
    return uiReady && !sensorPageRefreshing && !lightPageRefreshing;
}

void DpiLedEffect::applyLayout(int index)
{
    if (index < 0 || index > 2)
        return;
    const QSignalBlocker speedBlock(m_c.speed);
    const QSignalBlocker brightnessBlock(m_c.brightness);
    const bool speed = index == 2;
    const bool brightness = index == 1;
    m_c.speed->setVisible(speed);
    m_c.speedValue->setVisible(speed);
    m_c.speedLine->setVisible(!speed);
    m_c.brightness->setVisible(brightness);
    m_c.brightnessValue->setVisible(brightness);
    m_c.brightnessLine->setVisible(!brightness);
}

void DpiLedEffect::showMode(int index)
{
    {
        const QSignalBlocker block(m_c.mode);
        m_c.mode->setCurrentIndex(index);
        confirmedMode = index;
    }
    applyLayout(index);
}

void DpiLedEffect::showSpeed(int speed)
{
    const QSignalBlocker block(m_c.speed);
    m_c.speed->setValue(speed);
    m_c.speedValue->setValue(speed);
}

void DpiLedEffect::showBrightnessStep(int step)
{
    const QSignalBlocker block(m_c.brightness);
    m_c.brightness->setValue(step);
    m_c.brightnessValue->setValue(step);
}

void DpiLedEffect::setSlidersEnabled(bool on)
{
    m_c.speed->setEnabled(on);
    m_c.brightness->setEnabled(on);
}

void DpiLedEffect::enableSliders()
{
    setSlidersEnabled(true);
    m_c.speed->blockSignals(false);
    m_c.brightness->blockSignals(false);
}

void DpiLedEffect::setModeEnabled(bool on)
{
    m_c.mode->setEnabled(on);
}

void DpiLedEffect::setModeItemText(int index, const QString &text)
{
    m_c.mode->setItemText(index, text);
}

void DpiLedEffect::modeChosen(int index)
{
    if (mayWrite()) {
        if (!setDpiLedMode(index)) {
            showMode(confirmedMode);
            return;
        }
        confirmedMode = index;
    }
    applyLayout(index);
}

void DpiLedEffect::moved(QSlider *slider, QSpinBox *box, int position)
{
    if (!slider->isEnabled())
        return;
    // Dragging asks the mouse at each step, so a silent mouse stops the drag
    // at once instead of after the release.
    // (Disabling the slider only on failure: a disabled slider ends the
    // user's drag.)
    if (uiReady && !checkDeviceOnline()) {
        const QSignalBlocker block(slider);
        slider->setEnabled(false);
        slider->setValue(box->value());
        return;
    }
    box->setValue(position);
}

void DpiLedEffect::speedMoved(int position)
{
    moved(m_c.speed, m_c.speedValue, position);
}

void DpiLedEffect::brightnessMoved(int position)
{
    moved(m_c.brightness, m_c.brightnessValue, position);
}

void DpiLedEffect::speedReleased(int value)
{
    QSlider *slider = m_c.speed;
    QSpinBox *box = m_c.speedValue;
    if (!slider->isEnabled()) {
        const QSignalBlocker block(slider);
        slider->setValue(box->value());
        return;
    }
    if (!mayWrite())
        return;
    if (!sendOrRestore(setDpiLedSpeed(value), slider, [&] {
            slider->setEnabled(false);
            slider->setValue(box->value());
        }))
        return;
    box->setValue(value);
}

void DpiLedEffect::brightnessReleased(int value)
{
    QSlider *slider = m_c.brightness;
    QSpinBox *box = m_c.brightnessValue;
    if (!slider->isEnabled()) {
        const QSignalBlocker block(slider);
        slider->setValue(box->value());
        return;
    }
    if (!mayWrite())
        return;
    if (!sendOrRestore(setDpiLedBrightness(dpiLedBrightnessByte(value)), slider, [&] {
            slider->setEnabled(false);
            slider->setValue(box->value());
        }))
        return;
    box->setValue(value);
}
