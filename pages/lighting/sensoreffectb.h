#pragma once

#include "pages/lighting/dpiledeffect.h"

#include <memory>

namespace Ui {
class SensorEffectB;
}

// The DPI LED effect editor in a second layout: the effect chosen with a row
// of three exclusive check buttons (steady, breathing, off) instead of a
// list, the speed and brightness sliders below them. It writes, refuses and
// refills exactly as the lighting page's panel; only a drag moves the number
// box along without asking the mouse at each step. A host fills it from
// device data with the show operations, which send nothing.
class SensorEffectB : public DpiLedEffect
{
    Q_OBJECT

public:
    explicit SensorEffectB(QWidget *parent = nullptr);
    ~SensorEffectB() override;

    // The text of the button of a mode (0 off, 1 steady, 2 breathing).
    void setModeButtonText(int mode, const QString &text) { setModeItemText(mode, text); }
    // The mouse's speed and brightness step, slider and number box alike;
    // nothing is sent.
    void setSpeedValue(int value) { showSpeed(value); }
    void setBrightnessStepValue(int step) { showBrightnessStep(step); }

    QString pictureDir;

private slots:
    void on_MM1_clicked(bool checked);
    void on_MM2_clicked(bool checked);
    void on_MM3_clicked(bool checked);

private:
    void buttonClicked(int mode, bool checked);

    std::unique_ptr<Ui::SensorEffectB> ui;
};
