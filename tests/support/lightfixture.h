#pragma once

// The lighting page on the simulated mouse and receiver, as the program has
// it after a device was chosen and its configuration read: the default
// scenario's mouse behind its receiver, a known record in the mouse's flash
// and in currentFlashData, known receiver lights, and the page refilled from
// that device data. Used by the lighting page and lighting panel tests.

#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/lightstate.h"
#include "device/pagelink.h"
#include "device/setters.h"
#include "pages/lighting/lamplight.h"
#include "platform/hidusb/hidusb.h"
#include "platform/hidusb/simcontrol.h"
#include "support/pagefixture.h"

#include <QApplication>
#include <QComboBox>
#include <QSlider>
#include <QSpinBox>
#include <QString>
#include <QStringList>

#include <cstring>
#include <memory>

namespace lighttest {

// Light bar with every field distinct from the defaults: steady colour
// (mode 3) in 20, 40, 60, speed 4, brightness 2, on.
inline LedBarMode startLightBar()
{
    LedBarMode bar;
    bar.mode = 3;
    bar.red = 20;
    bar.green = 40;
    bar.blue = 60;
    bar.speed = 4;
    bar.brightness = 2;
    bar.on = 1;
    return bar;
}

// The receiver's light bar: breathing (mode 2) in 200, 100, 50, speed 2,
// brightness 7, on.
inline LedBarMode startReceiverBar()
{
    LedBarMode bar;
    bar.mode = 2;
    bar.red = 200;
    bar.green = 100;
    bar.blue = 50;
    bar.speed = 2;
    bar.brightness = 7;
    bar.on = 1;
    return bar;
}

inline DongleIndicatorLeds startIndicatorLeds()
{
    DongleIndicatorLeds leds;
    leds.led1Function = 1;
    leds.led2Function = 2;
    leds.led3Function = 3;
    return leds;
}

// The mouse record: the light as startLightBar(), light on while moving,
// DPI LED steady at brightness 90 (step 4), speed 2.
inline FlashDataMap startRecord()
{
    FlashDataMap record;
    hidusb::sim::flashRecord(QStringLiteral("mouse"), &record);
    record.mouseLight = startLightBar();
    record.lightOffWhenMoving = 0;
    record.dpiLed.mode = 1;
    record.dpiLed.brightness = 90;
    record.dpiLed.speed = 2;
    record.dpiLed.on = 1;
    return record;
}

using pagetest::mouseFlash;

// How many times the record was sent to the mouse since the journal was
// cleared.
inline int recordSends()
{
    int n = 0;
    for (const hidusb::sim::JournalEntry &e : hidusb::sim::journal())
        n += e.function == QLatin1String("ProtocolDataUpdate") ? 1 : 0;
    return n;
}

// Calls of one library function since the journal was cleared.
inline QVector<hidusb::sim::JournalEntry> calls(const char *function)
{
    QVector<hidusb::sim::JournalEntry> out;
    for (const hidusb::sim::JournalEntry &e : hidusb::sim::journal())
        if (e.function == QLatin1String(function))
            out << e;
    return out;
}

// Every write to the mouse or the receiver since the journal was cleared.
inline int writes()
{
    return recordSends() + calls("UsbFinderC_SetDongleRGBBarMode").size()
           + calls("UsbFinderC_SetDongleIndicatorLed").size() + calls("UsbFinderC_Set4KDongleRGB").size();
}

// A drag of a tracking-off slider to `position`, released there: the page
// hears one settled value.
inline void release(QSlider *slider, int position)
{
    slider->setSliderDown(true);
    slider->setSliderPosition(position);
    slider->setSliderDown(false);
}

// The value a selector, slider or number box shows.
inline int shownValue(QWidget *w)
{
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentIndex();
    if (auto *slider = qobject_cast<QSlider *>(w))
        return slider->value();
    return qobject_cast<QSpinBox *>(w)->value();
}

// One user action by name, "verb arg more...": the verb, its words and the
// first argument as a number (0 when there is none).
struct Action
{
    explicit Action(const QString &text)
        : words(text.split(QLatin1Char(' '))), verb(words.at(0)), arg(words.size() > 1 ? words.at(1).toInt() : 0)
    {}
    QStringList words;
    QString verb;
    int arg;
};

// Runs the comma-separated actions in `steps` one after another.
template <typename F, typename Act>
void actAll(F &f, const QString &steps, Act act)
{
    for (const QString &step : steps.split(QLatin1Char(',')))
        act(f, step);
}

struct Fixture
{
    std::unique_ptr<LampLight> page;
    FlashDataMap start;

    Fixture()
    {
        resetDeviceStateForTests();
        resetLightStateForTests();
        loadTextCatalogue();
        languageIndex = 0;
        pagetest::openSimulatedMouse();
        hidusb::sim::factoryReset(QStringLiteral("mouse"));
        start = startRecord();
        pagetest::giveMouse(start);
        LedBarMode bar = startReceiverBar();
        UsbFinderC_SetDongleRGBBarMode(currentDevicePath, &bar);
        DongleIndicatorLeds leds = startIndicatorLeds();
        UsbFinderC_SetDongleIndicatorLed(currentDevicePath, &leds);
        hidusb::sim::waitIdle();
        // What the device link reads after a full dump through a receiver.
        UsbFinderC_Get4KDongleRGBValue(currentDevicePath, dongleRgb);
        markReceiverRecordRead(ReceiverRecord::LedInfo, currentAttach().number);
        uiReady = true;
        page.reset(new LampLight);
        page->show();
        page->SlotUpDataLightUILight(start);
        hidusb::sim::setJournalEnabled(true);
        pagetest::settle();
    }
    ~Fixture()
    {
        page.reset();
        uiReady = false;
        pagetest::closeSimulatedMouse();
    }

    template <typename T>
    T *find(const char *name) const
    {
        return page->findChild<T *>(QLatin1String(name));
    }
};

} // namespace lighttest
