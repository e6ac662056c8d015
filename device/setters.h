#pragma once

// One-field setters of the open device's record. Each one asks the mouse
// whether it answers; when it does, it writes its field(s) into
// currentFlashData, sends the whole record and returns true. When the mouse is
// silent it changes nothing, raises the offline notice (SigMouseOffLineo(0))
// unless a page is being refilled from device data, and returns false; the
// caller then puts its control back.
//
// A setter also returns false, without sending and without a notice, while
// currentFlashData does not yet hold the open device's record (right after a
// silent attach, or before the first full dump of a newly chosen device):
// sending then would overwrite the mouse's configuration with another one.
//
// Values are stored as the low 8 bits of their argument; indices are not
// range-checked beyond what keeps the write inside the record. GUI thread only.

#include "platform/hidusb/hidusb.h"

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
bool setButtonMacro(int button, const ButtonFunction *function, const MacroRecord *macro);

// Sends currentFlashData after the caller wrote a byte of it itself.
bool sendFlashDataIfOnline();
// Sends currentFlashData with no presence test and no notice (receiver panels).
// Still sends nothing while the record is not the open device's.
void sendFlashData();
