#pragma once

// The DPI LED effect editor (record bytes 96..99): off, steady or breathing,
// a brightness for the steady effect and a speed for the breathing one. The
// logic lives here, apart from any form, so that more than one layout can
// carry it: a face builds its form and hands its controls to setUp().

#include <QFrame>

class QComboBox;
class QSlider;
class QSpinBox;

// Brightness step 1..10 and the byte the mouse stores for it.
int dpiLedBrightnessByte(int step);
// The step of a stored byte; a byte outside the table is passed on as it is
// (the controls clamp it).
int dpiLedBrightnessStep(int byte);

class DpiLedEffect : public QFrame
{
    Q_OBJECT

public:
    struct Controls
    {
        QComboBox *mode = nullptr;
        QSlider *speed = nullptr;
        QSlider *brightness = nullptr;
        QSpinBox *speedValue = nullptr;
        QSpinBox *brightnessValue = nullptr;
        QWidget *speedLine = nullptr;      // stands in for the speed slider when hidden
        QWidget *brightnessLine = nullptr; // the same for the brightness slider
    };

    // Shows device data; nothing is sent.
    void showMode(int index);
    void showSpeed(int speed);
    void showBrightnessStep(int step);
    // Both sliders enabled or disabled.
    void setSlidersEnabled(bool on);
    // Both sliders enabled, their signals unblocked.
    void enableSliders();
    void setModeEnabled(bool on);
    void setModeItemText(int index, const QString &text);

    int confirmedMode = 0;

protected:
    explicit DpiLedEffect(QWidget *parent);
    void setUp(const Controls &controls);

    // The user's changes, for the face's slots.
    void modeChosen(int index);
    void speedMoved(int position);
    void speedReleased(int value);
    void brightnessMoved(int position);
    void brightnessReleased(int value);

private:
    void applyLayout(int index);
    void moved(QSlider *slider, QSpinBox *box, int position);
    bool mayWrite() const;

    Controls m_c;
};
