#pragma once

// What the advanced settings show and write, apart from any widget: the
// sleep-time choices and their record codes, the trigger-point bits, the
// angle's text, whether a model offers long-range mode, and where the tip
// icons sit per language. The advanced page and any other face of these
// settings use the same functions, so a second layout steps, encodes and
// refills exactly as the first.

#include "device/deviceallinfo.h"
#include "platform/hidusb/records.h"

#include <QString>

namespace advanced {

// Sleep time: the box's eight choices and the record byte 8 code (units of
// 10 seconds) each stands for, in box order.
constexpr int kSleepChoiceCount = 8;
constexpr int kSleepCodes[kSleepChoiceCount] = {1, 3, 6, 12, 18, 30, 60, 90};
// The choice a reset shows: one minute.
constexpr int kDefaultSleepIndex = 2;

// The code of choice `index`; -1 outside the eight choices.
int sleepCodeAt(int index);
// The choice showing `code`; -1 when the code is none of the eight (the box
// then keeps what it showed).
int sleepIndexOfCode(int code);
// The choice a record asks for, or -1 (see sleepIndexOfCode).
int sleepIndexOf(const FlashDataMap &record);
// The text of choice `index` in `language`: the catalogue's
// "PerformanceOptions" entry of its code.
QString sleepChoiceText(int index, int language);

// Sleep time on an eleven-step slider (positions 1..11): 10 s, 30 s, then
// 1, 5, 10 .. 40 minutes. Each step's number as shown, whether it counts
// minutes, and its record byte 8 code.
struct SleepStep
{
    int shown;
    bool minutes;
    int code;
};
constexpr int kSleepStepCount = 11;
// The step at `position`; a position outside 1..11 gives the nearer end.
SleepStep sleepStepAt(int position);

// Trigger point: one bit of record byte 4 per button, set when the button
// triggers as soon as it is pressed, clear when it triggers at full travel.
// The page reads back exactly the bit it writes.
constexpr int kLeftTriggerBit = 0x01;
constexpr int kRightTriggerBit = 0x02;
bool leftTriggersOnPress(const FlashDataMap &record);
bool rightTriggersOnPress(const FlashDataMap &record);

// 20K frame-rate mode: only 1 in byte 42 counts as on.
bool fps20kOn(const FlashDataMap &record);

// Angle tuning: the signed byte 15 and how the page writes it ("-30°").
constexpr int kAngleMin = -30;
constexpr int kAngleMax = 30;
int recordAngle(const FlashDataMap &record);
QString angleText(int degrees);

// Long-range mode: offered by a model whose catalogue list "Adveanced" has
// a first item other than "-1". A missing list or item counts as "-1".
bool modelHasLongRange(int modelIndex);
// Shown for a device of such a model that is not connected by cable.
bool longRangeShownFor(const DeviceAllInfo &device);

// Tip icon places of the advanced page per language. `found` is false for a
// language whose icons stay where they are.
struct TipPlaces
{
    bool found = false;
    int sleepX = 0;       // the sleep-time tip, y 53
    int fps20kX = 0;      // the 20K frame's tip, y 6
    int angleX = 0;       // the angle frame's tip, y 6
    int sensitivityX = 0; // the DPI-sensitivity tip, y 54
};
TipPlaces tipPlacesFor(int language);
// The angle frame's tip x once the frames are laid out (with or without the
// long-range frame above it); -1 when it stays where it is.
int laidOutAngleTipX(int language, bool longRangeShown);

// Text `position` of a "KeyOptions" value in `language` (newest first);
// empty when the list is shorter.
QString keyOptionText(const QString &value, int position, int language);

} // namespace advanced
