#pragma once

// The DPI LED effect editor (record bytes 96..99): off, steady or breathing,
// a brightness for the steady effect and a speed for the breathing one. The
// logic lives here, apart from any form, so that more than one layout can
// carry it: a face builds its form and hands its controls to setUp().

#include <QFrame>

class QButtonGroup;
class QComboBox;
class QLabel;
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
        // The effect is chosen from a list (item index = mode) or, without
        // one, with the exclusive buttons of modeButtons (group id = mode).
        QComboBox *mode = nullptr;
        QSlider *speed = nullptr;
        QSlider *brightness = nullptr;
        QSpinBox *speedValue = nullptr;
        QSpinBox *brightnessValue = nullptr;
        QWidget *speedLine = nullptr;      // stands in for the speed slider when hidden
        QWidget *brightnessLine = nullptr; // the same for the brightness slider
        QButtonGroup *modeButtons = nullptr;
        QLabel *title = nullptr;
        QLabel *speedLabel = nullptr;
        QLabel *brightnessLabel = nullptr;
        // Whether a drag asks the mouse at each step (and stops at once when
        // it is silent) or only moves the number box along.
        bool askWhileDragging = true;
    };

    // Shows device data; nothing is sent. With mode buttons, a mode outside
    // 0..2 changes nothing.
    void showMode(int index);
    void showSpeed(int speed);
    void showBrightnessStep(int step);
    // Both sliders enabled or disabled.
    void setSlidersEnabled(bool on);
    // Both sliders enabled, their signals unblocked.
    void enableSliders();
    void setModeEnabled(bool on);
    // The text of the list item or button of a mode.
    void setModeItemText(int index, const QString &text);
    void setTitleText(const QString &text);
    void setSpeedLabelText(const QString &text);
    void setBrightnessLabelText(const QString &text);

    int confirmedMode = 0;

protected:
    explicit DpiLedEffect(QWidget *parent);
    // Takes the face's controls and gives the labels, sliders and number
    // boxes their look (images from `pictureDir`).
    void setUp(const Controls &controls, const QString &pictureDir);

    // The user chose mode `index`, for the face's slot.
    void modeChosen(int index);

private slots:
    // Every face names its sliders "SpeedH" and "LightH".
    void on_SpeedH_sliderMoved(int position);
    void on_SpeedH_valueChanged(int value);
    void on_LightH_sliderMoved(int position);
    void on_LightH_valueChanged(int value);

private:
    void applyLayout(int index);
    void moved(QSlider *slider, QSpinBox *box, int position);
    // A released slider: `setter` gets `byte`; `accepted` is the value the
    // mouse took last (what a refusal goes back to).
    void released(QSlider *slider, QSpinBox *box, int &accepted, int value, bool (*setter)(int), int byte);
    bool mayWrite() const;

    Controls m_c;
    // The speed and brightness step last shown from the mouse or taken by it.
    int m_speedAccepted = 1;
    int m_brightnessAccepted = 1;
};
