#pragma once

#include <QWidget>

#include "platform/hidusb/hidusb.h"

namespace Ui { class LampLight; }

// Lighting page of the device view. This first version holds the page and
// takes its refills, marking the refill from a device dump as done.
class LampLight : public QWidget
{
    Q_OBJECT

public:
    explicit LampLight(QWidget *parent = nullptr);
    ~LampLight() override;

public slots:
    void SlotAllLanguage(int index);
    void SlotUpDataLightUILight(FlashDataMap DataMap);
    void SlotUpDataLightUIA(FlashDataMap DataMap);
    void SlotFormResetLight();
    void SlotUpDataDPILed(FlashDataMap DataMap);
    void SlotRGBValue(DongleRGB *Rgb);
    void SlotForm();
    void SlotFormB();

private:
    Ui::LampLight *ui;
};
