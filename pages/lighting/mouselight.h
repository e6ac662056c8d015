#pragma once

#include <QFrame>

#include <memory>

namespace Ui {
class MouseLight;
}
namespace lighting {
class ColourEditor;
}

// The mouse light panel of the lighting page: mode, brightness, speed and
// colour of the mouse's own light (record bytes 100..106) and the switch that
// turns it off while the mouse moves (byte 11). Each change the user makes is
// written at once; the page shows device data through the operations below,
// which send nothing.
class MouseLight : public QFrame
{
    Q_OBJECT

public:
    explicit MouseLight(QWidget *parent = nullptr);
    ~MouseLight() override;

    void setValueSignalsBlocked(bool blocked);
    void setSlidersEnabled(bool on);
    // The mode list shows `index` and the panel takes its layout; nothing is
    // sent.
    void selectMode(int index);
    void setBrightnessSlider(int value);
    void showBrightnessValue(int value);
    void setSpeedSlider(int value);
    void showSpeedValue(int value);
    void showColor(int red, int green, int blue);
    void showLightOffWhenMoving(bool on);

    QString pictureDir;

public slots:
    void SlotAllLanguage(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private slots:
    void on_LightMod_currentIndexChanged(int index);
    void on_horizontalLight_sliderMoved(int position);
    void on_horizontalLight_valueChanged(int value);
    void on_horizontalSpeed_sliderMoved(int position);
    void on_horizontalSpeed_valueChanged(int value);
    void on_RippeControl_clicked(bool checked);

private:
    void applyLayout(int index);

    std::unique_ptr<Ui::MouseLight> ui;
    lighting::ColourEditor *m_colour = nullptr;
};
