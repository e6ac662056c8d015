#pragma once

#include <QWidget>

#include "platform/hidusb/records.h"

#include <memory>

namespace Ui {
class LampLight;
}

// The lighting page of the device view: the DPI LED effect panel above the
// mouse light panel. The receiver's panels (light bar, indicator LEDs,
// LED-information choice) are built and kept up to date on tabs the page
// does not show. It shows every record that reaches it (device data, a
// loaded record, the defaults) in its panels with their controls quiet, so a
// refill never writes anything back; the panels write the user's changes.
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

public:
    // Sleep time by list index 0..10 (10 s up to 40 min); no control of the
    // page offers it.
    void on_StopCloseTime_activated(int index);

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    enum class Source { Device, LoadedRecord };
    void refill(const FlashDataMap &record, Source source);
    void showDpiLed(const FlashDataMap &record);
    void showMouseLight(const FlashDataMap &record);
    void showReceiverLight();

    std::unique_ptr<Ui::LampLight> ui;
};
