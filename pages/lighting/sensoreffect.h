#pragma once

#include "pages/lighting/dpiledeffect.h"

#include <memory>

namespace Ui {
class SensorEffect;
}

// The lighting page's DPI LED effect panel: the DPI LED editor on its
// one-row form. The page gives it its texts.
class SensorEffect : public DpiLedEffect
{
    Q_OBJECT

public:
    explicit SensorEffect(QWidget *parent = nullptr);
    ~SensorEffect() override;

    void setTitleText(const QString &text);
    void setSpeedLabelText(const QString &text);
    void setBrightnessLabelText(const QString &text);

    QString pictureDir;

private slots:
    void on_Model_currentIndexChanged(int index);
    void on_SpeedH_sliderMoved(int position);
    void on_SpeedH_valueChanged(int value);
    void on_LightH_sliderMoved(int position);
    void on_LightH_valueChanged(int value);

private:
    std::unique_ptr<Ui::SensorEffect> ui;
};
