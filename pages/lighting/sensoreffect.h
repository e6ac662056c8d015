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

    QString pictureDir;

private slots:
    void on_Model_currentIndexChanged(int index);

private:
    std::unique_ptr<Ui::SensorEffect> ui;
};
