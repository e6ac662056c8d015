#pragma once

#include <QFrame>

#include <memory>

namespace Ui {
class ReceiveLight;
}
namespace lighting {
class ColourEditor;
}

// The receiver's light bar: effect, brightness, speed and colour, written
// into the receiver at once (receiverLedBar). A change the receiver refuses
// puts the control back to the last value it confirmed; the record keeps
// what the receiver holds. The lighting page shows the receiver's values
// through the operations below, which send nothing.
class ReceiveLight : public QFrame
{
    Q_OBJECT

public:
    explicit ReceiveLight(QWidget *parent = nullptr);
    ~ReceiveLight() override;

    void setValueSignalsBlocked(bool blocked);
    // The effect list shows `index` and the panel takes its layout.
    void selectMode(int index);
    void setBrightnessSlider(int value);
    void setSpeedSlider(int value);
    void showBrightnessValue(int value);
    void showSpeedValue(int value);
    void showColor(int red, int green, int blue);
    void setSlidersEnabled(bool on);

    QString pictureDir;

public slots:
    void SlotAllLanguage(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private slots:
    void on_LightMod_2_currentIndexChanged(int index);
    void on_horizontalLight_2_sliderMoved(int position);
    void on_horizontalLight_2_valueChanged(int value);
    void on_horizontalSpeed_2_sliderMoved(int position);
    void on_horizontalSpeed_2_valueChanged(int value);

private:
    void applyLayout(int index);

    std::unique_ptr<Ui::ReceiveLight> ui;
    lighting::ColourEditor *m_colour = nullptr;
};
