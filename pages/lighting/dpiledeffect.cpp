#include "pages/lighting/dpiledeffect.h"

#include "app/look.h"
#include "app/widgets/buttonchoice.h"
#include "device/devicestate.h"
#include "device/pagelink.h"
#include "pages/lighting/lighteditor.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
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

void DpiLedEffect::setUp(const Controls &controls, const QString &pictureDir)
{
    m_c = controls;
    m_speedAccepted = m_c.speedValue->value();
    m_brightnessAccepted = m_c.brightnessValue->value();
    for (QLabel *label : {m_c.title, m_c.speedLabel, m_c.brightnessLabel})
        look::setSheet(label, look::colorSheet(QStringLiteral("QLabel")));
    lighting::styleSlider(m_c.speed, pictureDir);
    lighting::styleSlider(m_c.brightness, pictureDir);
    lighting::styleValueBox(m_c.speedValue);
    lighting::styleValueBox(m_c.brightnessValue);
}

void DpiLedEffect::setTitleText(const QString &text)
{
    m_c.title->setText(text);
}

void DpiLedEffect::setSpeedLabelText(const QString &text)
{
    m_c.speedLabel->setText(text);
}

void DpiLedEffect::setBrightnessLabelText(const QString &text)
{
    m_c.brightnessLabel->setText(text);
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
    if (m_c.mode) {
        const QSignalBlocker block(m_c.mode);
        m_c.mode->setCurrentIndex(index);
    } else if (!m_c.modeButtons->button(index)) {
        return;
    } else {
        showGroupChoice(m_c.modeButtons, index);
    }
    confirmedMode = index;
    applyLayout(index);
}

void DpiLedEffect::showSpeed(int speed)
{
    m_speedAccepted = speed;
    const QSignalBlocker block(m_c.speed);
    m_c.speed->setValue(speed);
    m_c.speedValue->setValue(speed);
}

void DpiLedEffect::showBrightnessStep(int step)
{
    m_brightnessAccepted = step;
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
    if (m_c.mode) {
        m_c.mode->setEnabled(on);
        return;
    }
    for (QAbstractButton *button : m_c.modeButtons->buttons())
        button->setEnabled(on);
}

void DpiLedEffect::setModeItemText(int index, const QString &text)
{
    if (m_c.mode)
        m_c.mode->setItemText(index, text);
    else if (QAbstractButton *button = m_c.modeButtons->button(index))
        button->setText(text);
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
    if (!m_c.askWhileDragging) {
        box->setValue(position);
        return;
    }
    // Dragging asks the mouse at each step, so a silent mouse stops the drag
    // at once instead of after the release.
    // (Disabling the slider only on failure: a disabled slider ends the
    // user's drag.)
    if (uiReady && !checkDeviceOnline()) {
        const QSignalBlocker block(slider);
        const int accepted = slider == m_c.speed ? m_speedAccepted : m_brightnessAccepted;
        slider->setEnabled(false);
        slider->setValue(accepted);
        box->setValue(accepted);
        return;
    }
    box->setValue(position);
}

void DpiLedEffect::on_SpeedH_sliderMoved(int position)
{
    moved(m_c.speed, m_c.speedValue, position);
}

void DpiLedEffect::on_LightH_sliderMoved(int position)
{
    moved(m_c.brightness, m_c.brightnessValue, position);
}

void DpiLedEffect::released(QSlider *slider, QSpinBox *box, int &accepted, int value, bool (*setter)(int), int byte)
{
    if (!slider->isEnabled()) {
        const QSignalBlocker block(slider);
        slider->setValue(accepted);
        return;
    }
    if (!mayWrite())
        return;
    // Back to the value the mouse took last, not to the number box: a drag
    // has moved the box along already.
    if (!sendOrRestore(setter(byte), {slider, box}, [&] {
            slider->setEnabled(false);
            slider->setValue(accepted);
            box->setValue(accepted);
        }))
        return;
    accepted = value;
    box->setValue(value);
}

void DpiLedEffect::on_SpeedH_valueChanged(int value)
{
    released(m_c.speed, m_c.speedValue, m_speedAccepted, value, &setDpiLedSpeed, value);
}

void DpiLedEffect::on_LightH_valueChanged(int value)
{
    released(m_c.brightness, m_c.brightnessValue, m_brightnessAccepted, value, &setDpiLedBrightness,
             dpiLedBrightnessByte(value));
}
