#pragma once

// What a physical button of the mouse does, as the device record stores it,
// and the conversions the button page needs to show and write it.
//
// The record keeps, per device button b = 0..15:
//  - a ButtonFunction triple (type, p1, p2) at byte 107 + 3b,
//  - a KeyComboRecord (count, 3 zero bytes, six key events) at 156 + 52b,
//    in force while the type is KeyCombination,
//  - a MacroRecord at 988 + 592b, in force while the type is Macro (its
//    name and file are the macro store's, pages/macro/macrostore.h).
// The record types themselves live with the device-access library
// (platform/hidusb/hidusb.h); this header says what their bytes mean.
//
// Keys are named through the one key table (platform/keys/keytable.h), DPI-lock
// codes come from the one DPI codec (device/dpicodec.h).
//
// QtCore only: the page, the function options and the tests all use it.

#include "pages/macro/macrostore.h"
#include "platform/hidusb/records.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class SensorTable;

namespace buttonfn {

constexpr int kButtonCount = 16;

// The type byte of a ButtonFunction.
enum ButtonFunctionType : int {
    Undefined = 0,      // no function
    MouseButton = 1,    // p1: 1 left, 2 right, 4 middle, 8 back, 16 forward
    DpiSwitch = 2,      // p1: 1 cycle, 2 up, 3 down
    Tilt = 3,           // p1: 1 left, 2 right
    FireKey = 4,        // p1 interval 10..255, p2 count 0..3 (0: while held)
    KeyCombination = 5, // keys in the button's KeyComboRecord
    Macro = 6,          // p1 the button itself, p2 the repeat mode
    ReportRateSwitch = 7,
    LightToggle = 8, // p1: 0 all lights, 1 DPI LEDs, 3 strip, 4 strip effect
    ConfigSwitch = 9,
    DpiLock = 10, // p1 the DPI code of the locked DPI
    Wheel = 11,   // p1: 1 up, 2 down
};

// Mouse-button bits of MouseButton's p1 (and of macro mouse events).
enum MouseBit : int { LeftBit = 0x01, RightBit = 0x02, MiddleBit = 0x04, BackBit = 0x08, ForwardBit = 0x10 };

// --- buttons and selectors -------------------------------------------------
// The selector (object name on the page form) that shows device button b:
// "FireKey", "RightKey", "BackKey", "TopMusic", "StartPause", "BackMusic",
// "Button7" .. "Button16". nullptr outside 0..15.
const char *selectorName(int b);
// The device button a selector stands for, -1 for any other name.
int buttonOfSelector(const QString &objectName);
// The order in which the page lists its selectors (top to bottom): device
// buttons 0, 1, 2, 4, 3, 5, 6 .. 15.
const int *selectorListOrder();

// --- reading a record ------------------------------------------------------
ButtonFunction buttonFunction(const FlashDataMap &record, int b);
const KeyComboRecord &keyCombo(const FlashDataMap &record, int b);
const MacroRecord &macroRecord(const FlashDataMap &record, int b);

// The model's button count as the page may use it: "KeyNumber" of its
// catalogue group, 0 when it is no number, never more than 16.
int buttonCountFromCatalogue(const QString &keyNumber);

// --- labels ----------------------------------------------------------------
// What a selector shows for a function. Most labels are the current text of
// the option button that writes the function, so they follow the option
// panel's language; key combinations, macros and DPI locks are composed.
struct FunctionLabel
{
    enum Kind {
        Unchanged,   // the selector keeps the text it has
        OptionText,  // the text of option button `option`
        Text,        // `text` as it stands (key combinations)
        DpiLockText, // option `option`'s text, "-", then `dpi`
        MacroName,   // the macro prefix, then `text` (the macro's name)
    };
    Kind kind = Unchanged;
    const char *option = nullptr;
    QString text;
    int dpi = 0;
};

// The label of `function` held by device button b of `record`. `dpiOfCode`
// turns a DPI-lock code into its DPI (the page's codeToDpi).
template <typename DpiOfCode>
FunctionLabel functionLabel(const ButtonFunction &function, const FlashDataMap &record, int b, DpiOfCode dpiOfCode);

// The label of a key-sequence record: a multimedia key (event 0 of kind 2)
// is the text of the option whose usage has the same low byte (the high
// byte is not looked at; an unknown low byte leaves the label unchanged); anything else is a key combination whose
// pressed keys are named and joined by "+". A count the record cannot hold is read as the six events it has.
FunctionLabel keySequenceLabel(const KeyComboRecord &keys);

// --- multimedia keys -------------------------------------------------------
// Whether a key-sequence record holds one multimedia key.
bool isMultimediaRecord(const KeyComboRecord &keys);
// The press and release of one HID Consumer usage, 10 ms each.
KeyComboRecord makeConsumerKeyRecord(quint16 usage);

// --- key names and key combinations ---------------------------------------
// The name of a key event of a key-sequence record, by its code's low byte
// and its kind; empty when it has none.
QString hidKeyName(quint8 code, quint8 kind);
// The most keys a key-sequence record holds (a press and a release each).
constexpr int kMaxComboKeys = 3;
// The key-sequence record of a combination text ("Ctrl+Shift+A"): the keys
// pressed in text order, released in reverse, 10 ms each. Names past the
// third are dropped. Empty when a name is outside the combination
// vocabulary (a usage 0 would reach the mouse as "no key").
std::optional<KeyComboRecord> parseKeyCombination(const QString &text);
// The text a combination record stands for (the inverse of the above for
// records it made): the pressed keys joined by "+".
QString comboText(const KeyComboRecord &keys);

// A macro event's kind and code from a name of the macro vocabulary (key
// names, side-specific modifiers, the current mouse-button names). False,
// and the event untouched, for any other name.
bool keyNameToEvent(const QString &name, int index, MacroRecord &macro, const QStringList &mouseButtonNames);

// --- DPI lock --------------------------------------------------------------
// The DPI values the DPI-lock options offer.
QVector<int> dpiLockChoices();
// The code stored for a locked DPI, and the DPI a code stands for, for the
// open model's sensor. A table sensor knows only the DPIs its table names.
int dpiToCode(const SensorTable &table, const QString &sensor, int dpi);
int codeToDpi(const SensorTable &table, const QString &sensor, int code);
// Whether a DPI can be locked on this sensor: its code fits the record's
// byte and reads back as the same DPI.
bool dpiLockAvailable(const SensorTable &table, const QString &sensor, int dpi);

// --- factory defaults ------------------------------------------------------
// The functions a mouse leaves the factory with, per device button; shown
// for a silent mouse of which nothing is cached.
ButtonFunction factoryFunction(int b);

} // namespace buttonfn

// ---------------------------------------------------------------------------

template <typename DpiOfCode>
buttonfn::FunctionLabel buttonfn::functionLabel(const ButtonFunction &function, const FlashDataMap &record, int b,
                                                DpiOfCode dpiOfCode)
{
    FunctionLabel label;
    auto option = [&label](const char *name) {
        label.kind = FunctionLabel::OptionText;
        label.option = name;
        return label;
    };
    if (b < 0 || b >= kButtonCount)
        return label;
    const int p1 = function.p1;
    switch (function.type) {
    case Undefined:
        return option("DPI_5");
    case MouseButton:
        switch (p1) {
        case LeftBit:
            return option("LeftKey_3");
        case RightBit:
            return option("RightKey_3");
        case MiddleBit:
            return option("MidKey");
        case BackBit:
            return option("BackKey_2");
        case ForwardBit:
            return option("ForWardKey");
        }
        return label;
    case DpiSwitch:
        switch (p1) {
        case 1:
            return option("VolumeUp_8");
        case 2:
            return option("VolumeUp_9");
        case 3:
            return option("VolumeUp_10");
        }
        return label;
    case Tilt:
        if (p1 == 1 || p1 == 2)
            return option(p1 == 1 ? "VolumeUp_2" : "VolumeDown_2");
        return label;
    case FireKey:
        return option("DPI_6");
    case KeyCombination:
        return keySequenceLabel(keyCombo(record, b));
    case Macro:
        label.kind = FunctionLabel::MacroName;
        label.text = MacroStore::recordName(macroRecord(record, b));
        return label;
    case ReportRateSwitch:
        return option("DPI_2");
    case LightToggle:
        switch (p1) {
        case 0:
            return option("VolumeUp_4");
        case 1:
            return option("VolumeUp_5");
        case 3:
            return option("VolumeUp_6");
        case 4:
            return option("VolumeUp_7");
        }
        return label;
    case ConfigSwitch:
        return option("DPI_3");
    case DpiLock:
        label.kind = FunctionLabel::DpiLockText;
        label.option = "DPI_4";
        label.dpi = dpiOfCode(p1);
        return label;
    case Wheel:
        if (p1 == 1 || p1 == 2)
            return option(p1 == 1 ? "VolumeUp_14" : "VolumeDown_14");
        return label;
    }
    return label;
}
