#pragma once

// One-field setters of the open device's record. Each one asks the mouse
// whether it answers; when it does, it writes its field(s) into
// currentFlashData, sends the whole record and returns true. When the mouse is
// silent it changes nothing, raises the offline notice (SigMouseOffLineo(0))
// unless a page is being refilled from device data, and returns false; the
// caller then puts its control back.
//
// A setter also returns false, without sending and without a notice, while
// currentFlashData has not been read from the open device in its current
// attach (right after a silent attach, after a wake until the mouse has been
// read again, before the first full dump of a newly chosen device): sending
// then would overwrite the mouse's configuration with another one.
//
// When the library refuses a record (one the mouse cannot hold), the setter
// returns false and currentFlashData stays the last record that was sent.
//
// Values are stored as the low 8 bits of their argument; indices are not
// range-checked beyond what keeps the write inside the record. GUI thread only.

#include "platform/hidusb/records.h"

#include <functional>

bool checkDeviceOnline();

bool setReportRate(int code);
bool setActiveDpiStage(int stage);
// How many DPI stages the mouse cycles through (record byte 1).
bool setDpiStageCount(int count);
bool setDpiStageCode(int stage, int xCode, int yCode, int flags);
bool setDpiStageColor(int stage, int red, int green, int blue);
// Stage indexA becomes *stageA, stage indexB becomes *stageB, the active stage
// becomes `active` and the stage count active + 1; one send.
bool swapDpiStages(const DpiStage *stageA, const DpiStage *stageB, int indexB, int indexA, int active);
bool setLod(int code);
bool setDebounceTime(int milliseconds);
bool setMotionSync(int on);
bool setStopCloseTime(int code);
bool setStraightLine(int on);
bool setRippleControl(int on);
bool setLightOffWhenMoving(int on);
bool setPerformance(int on);
bool setPerformanceTime(int code);
bool setModelChoose(int index);
bool setAngle(int degrees);
bool set20KOpen(int on);
// Sets (on) or clears one bit of the trigger-point byte (record byte 4); the
// other bits stay as they are.
bool setTriggerBit(int bit, bool on);
bool setWheelDebounce(int milliseconds);
bool setReleaseDebounce(int milliseconds);
// Mode 0 switches the DPI LEDs off (on byte 0) and keeps the stored effect.
bool setDpiLedMode(int mode);
bool setDpiLedBrightness(int value);
bool setDpiLedSpeed(int value);
// Mode 0 switches the mouse light off (on byte 0) and keeps the stored effect.
bool setMouseLightMode(int mode);
bool setMouseLightColor(int red, int green, int blue);
bool setMouseLightSpeed(int value);
bool setMouseLightBrightness(int value);
bool setButtonFunction(int button, int type, int p1, int p2);
bool setButtonKeyCombo(int button, const ButtonFunction *function, const KeyComboRecord *keys);
// A button's macro and its function: the macro is sent before the function,
// so a cut-off send never leaves the button on a half written macro. False
// when either send failed (the held function is then the old one).
bool setButtonMacro(int button, const ButtonFunction *function, const MacroRecord *macro);

// Any other change of the record, under the same rules as the setters: `edit`
// changes a copy of currentFlashData; the copy becomes the current record
// only when it was sent. For changes no one-field setter covers (the stage
// count, clearing the key sequences of a deleted macro).
bool changeRecord(const std::function<void(FlashDataMap &)> &edit);

// Replaces the whole record with `record` (a configuration file the user
// chose) under the setters' rules, and says how it went:
//  - Sent: the mouse took it; currentFlashData is `record` and stays sendable;
//  - Offline: the mouse is silent (the offline rule above ran);
//  - NotLoaded: the open device's own record has not been read in this attach
//    yet (it is being read); nothing was sent, no notice was raised;
//  - Refused: the library refused it (the mouse cannot hold it); nothing
//    changed.
enum class RecordWrite { Sent, Offline, NotLoaded, Refused };
RecordWrite replaceRecord(const FlashDataMap &record);
// A configuration file the user chose, once the wait for the open device's
// own record is over: as replaceRecord, but it goes to the mouse even when
// that record has not been read in this attach, and then counts as read in
// it. NotLoaded only when no device is open any more.
RecordWrite importRecord(const FlashDataMap &record);

// Sends currentFlashData after the caller wrote a byte of it itself.
bool sendFlashDataIfOnline();
// Sends currentFlashData with no presence test and no notice (receiver panels).
// Still sends nothing while the record is not the open device's.
void sendFlashData();

// Restore defaults: battery optimisation off, the held record (as sendFlashData),
// then the command that makes the mouse clear its settings. The mouse answers
// with its settings-cleared report, which raises settingsClearAnswered and
// re-reads the whole configuration; until then the flag is down.
void requestSettingsClear();

// ---------------------------------------------------------------------------
// The receiver's settings. Same rules as the record setters: the mouse must
// answer (otherwise the offline rule, false); the receiver record must have
// been read from the open device's receiver in this attach (otherwise false,
// no notice); the changed copy is sent whole and becomes the held record only
// when the receiver took it (otherwise false, record unchanged, no notice).
// GUI thread only.

// The light bar (receiverLedBar). Mode 0 switches it off (mode 0, on 0); any
// other mode is stored with on = 1. Speed and brightness are stored as given
// (0..9). After the receiver took the change, currentFlashData is sent too
// (sendFlashData), as every change of the receiver's lights does.
bool setReceiverLightMode(int mode);
bool setReceiverLightColor(int red, int green, int blue);
bool setReceiverLightSpeed(int value);
bool setReceiverLightBrightness(int value);
// Function 0..3 of indicator LED `led` (0..2) in receiverIndicatorLeds; all
// three go to the receiver together; then sendFlashData as above.
bool setReceiverIndicatorLed(int led, int function);
// What the receiver's LED shows (dongleRgb byte 0: 1, 2 or 3); bytes 1..9 go
// back as they were read.
bool setReceiverLedInfoChoice(int choice);
// The receiver's long-range mode. It has no record to have read, so only the
// open device's attach must be current.
bool setLongRangeMode(bool on);
