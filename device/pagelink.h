#pragma once

// The page-link kit: everything a page or dialog needs to show device data
// and to change the mouse or its receiver. Pages never call the library's
// send functions themselves and never set the refilling flags by hand.
//
// At a glance
// -----------
//   Show a record on every page ........ refillPages(RefillSource::..., record)
//   Reset every page to its defaults .... resetPages()
//   Refill one page from data ........... PageRefill refill(PageRefill::LightPage, ...);
//   Change one field of the mouse ....... setLod(code), setReportRate(code), ...   (setters.h)
//   Change several bytes at once ........ changeRecord([&](FlashDataMap &r) { ... })
//   Replace the whole record (import) ... replaceRecord(record)
//   Change a receiver setting ........... setReceiverLightMode(m), setReceiverIndicatorLed(i, f),
//                                         setReceiverLedInfoChoice(c), setLongRangeMode(on)
//   Read the receiver's lights .......... readReceiverLights()
//   Put a control back when refused ..... sendOrRestore(setLod(code), ui->LodBox,
//                                                       &QComboBox::setCurrentIndex, lastIndex);
//
// Which record may be sent
// ------------------------
// A record reaches the mouse only when it was read from the open device in
// its current attach (or the user replaced it with a configuration file in
// that attach). A cached record, another device's record, or the record of an
// earlier visit is shown on the pages and never sent: every setter returns
// false meanwhile, without a notice. A mouse that wakes is read again before
// anything is written to it. See devicestate.h for attaches.
//
// Every function here is QtCore only; the templates at the end take the
// page's widgets as template arguments, so this header includes no widget
// header.

#include "device/devicestate.h"
#include "device/setters.h"
#include "platform/hidusb/records.h"

#include <QObject>
#include <QVarLengthArray>

#include <atomic>
#include <initializer_list>
#include <utility>

// ---------------------------------------------------------------------------
// Refilling every page from a record.
//
// DeviceData: the record is (or stands for) what the device holds: a full
// dump, or the cache of a silent mouse. Clears the three "refreshed" flags,
// then emits SigUpDataLightUIButton, SigUpDataLightLight, SigUpDataLightSensor
// (each with its own copy) and SigForm(). The pages connect these blocking
// queued, so call it from the report or the worker thread, never from the GUI
// thread (Qt refuses a blocking call into its own thread).
//
// LoadedRecord: a record loaded from a file (an import, a cache shown by the
// wait notice). Emits SigUpDataLightUIA, SigUpDataSensorUIB,
// SigUpDataButtonUIC (each with its own copy) and SigFormB(); the refreshed
// flags stay as they are. Runs on the GUI thread: from another thread it is
// handed over and returns when the pages have refilled.
//
// Neither touches currentFlashData: showing a record never makes it the
// mouse's record.
enum class RefillSource { DeviceData, LoadedRecord };
void refillPages(RefillSource source, const FlashDataMap &record);

// DeviceData refill with currentFlashData itself: each page gets a copy taken
// just before its signal (the report decoder, after a full dump).
void refillPagesFromCurrentRecord();

// Every page shows its defaults: SigFormReset() (a silent mouse without a
// cache). Blocking queued like DeviceData: not from the GUI thread.
void resetPages();

// ---------------------------------------------------------------------------
// A page refilling itself from data. While a PageRefill lives, the page's
// refilling flag (buttonPageRefreshing, lightPageRefreshing or
// sensorPageRefreshing) is set: the setters raise no offline notice and the
// page's own handlers know to send nothing. The destructor puts the flag back
// to what it was, so refills may nest.
//
// `refreshed` tells what the refill means for the page's "refreshed" flag
// (buttonPageRefreshed, ...), which the wait notice polls:
//  - Untouched: left alone (refills from a loaded record, defaults);
//  - WhenDone: cleared now, set when the refill ends (refills from device
//    data);
//  - Cleared: cleared now and left clear (a loaded record on the lighting
//    page).
//
//     void LampLight::SlotUpDataLightUILight(FlashDataMap DataMap)
//     {
//         readReceiverLights();
//         ...
//         PageRefill refill(PageRefill::LightPage, PageRefill::WhenDone);
//         ... set the panels from DataMap ...
//     }
//
// GUI thread only.
class PageRefill
{
public:
    enum Page { ButtonPage, LightPage, SensorPage };
    enum Refreshed { Untouched, WhenDone, Cleared };

    explicit PageRefill(Page page, Refreshed refreshed = Untouched);
    ~PageRefill();
    PageRefill(const PageRefill &) = delete;
    PageRefill &operator=(const PageRefill &) = delete;

    // Whether `page` is refilling right now.
    static bool running(Page page);

private:
    std::atomic<bool> &m_refreshing;
    std::atomic<bool> &m_refreshed;
    Refreshed m_mode;
    bool m_wasRefreshing;
};

// ---------------------------------------------------------------------------
// Reads the receiver's light bar into receiverLedBar and its indicator LEDs
// into receiverIndicatorLeds (the lighting page's refill from device data).
// A read that fails leaves its record as it was and its setters refused until
// a later read succeeds. GUI thread.
void readReceiverLights();

// ---------------------------------------------------------------------------
// Send or restore: the one line after a setter.
//
// `sent` is the setter's result. When it is true nothing happens. When it is
// false (the mouse is silent, its record is not read yet, or the write was
// refused) the control goes back to the value the mouse holds, with its
// signals blocked so that no second write follows. Returns `sent`, so a
// handler can stop: `if (!sendOrRestore(...)) return;`.
//
//     // a setter on the widget itself:
//     sendOrRestore(setLod(code), ui->LodBox, &QComboBox::setCurrentIndex, lastLodIndex);
//     sendOrRestore(set20KOpen(checked), ui->KFPS, &QAbstractButton::setChecked, !checked);
//     // anything else, with every control it touches blocked:
//     sendOrRestore(setReceiverLightBrightness(value - 1), {ui->horizontalLight_2, ui->LightSpinBox_3}, [&] {
//         ui->horizontalLight_2->setValue(lastReceiverBrightness);
//         ui->LightSpinBox_3->setValue(lastReceiverBrightness);
//     });
//
// The setter runs before the control is touched (it is an argument), so its
// offline notice, if any, shows with the new value still on screen.
template <typename Restore>
bool sendOrRestore(bool sent, std::initializer_list<QObject *> controls, Restore &&restore)
{
    if (sent)
        return true;
    QVarLengthArray<bool, 4> wasBlocked;
    for (QObject *control : controls)
        wasBlocked.append(control && control->blockSignals(true));
    std::forward<Restore>(restore)();
    int i = 0;
    for (QObject *control : controls) {
        if (control)
            control->blockSignals(wasBlocked[i]);
        ++i;
    }
    return false;
}

template <typename Restore>
bool sendOrRestore(bool sent, QObject *control, Restore &&restore)
{
    return sendOrRestore(sent, {control}, std::forward<Restore>(restore));
}

template <typename Control, typename Class, typename Arg, typename Value>
bool sendOrRestore(bool sent, Control *control, void (Class::*set)(Arg), const Value &value)
{
    return sendOrRestore(sent, {static_cast<QObject *>(control)}, [&] { (control->*set)(value); });
}
