#pragma once

// The one table of keys for the whole program.
//
// A row is one key of the keyboard, identified by its HID keyboard usage
// (usage page 0x07, which numbers keys by position). Each row carries every
// code any part of the program speaks of for that key:
//  - the name the program shows and stores ("A", "Num+", "PgDn", "LCtrl"),
//  - the side-less name of a modifier ("Ctrl") used in labels and in
//    combination text,
//  - the HID usage, or for the eight modifiers their bit in the HID modifier
//    byte,
//  - the Windows virtual-key code the key reports (and, for a keypad key,
//    the code it reports while NumLock is off),
//  - the set-1 scan code, the X11 keycode (the native scan code of an X
//    server with evdev rules) and the Qt key, so the keyboard capture layer
//    can map a physical key.
// Multimedia keys (HID Consumer usages) and the five mouse buttons have
// tables of their own below.
//
// The vocabularies differ between uses (a macro file says "LCtrl" where a
// combination says "Ctrl"; a keypad Enter read from the device is shown as
// "Enter" but never written as its own code), so there is one lookup per use,
// all reading the same rows. A name or code a lookup does not know comes back
// as "not found" (nullptr or an empty optional), never as a code 0: the empty
// name is a real key name (usage 0x00, virtual key 0x0C).
//
// QtCore only: the device link, the pages and the capture layer all read it.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace keytable {

// Kinds of a device key event (the second byte of every key event).
enum KeyKind : quint8 {
    KindModifier = 0,    // code is one modifier bit
    KindKeyboard = 1,    // code is a HID keyboard usage
    KindConsumer = 2,    // code is a HID Consumer usage
    KindMouseButton = 4, // code is a mouse-button bit
};

// A key as a device key event holds it.
struct KeyCode
{
    quint8 kind = KindKeyboard;
    quint16 code = 0;
    bool operator==(const KeyCode &o) const { return kind == o.kind && code == o.code; }
    bool operator!=(const KeyCode &o) const { return !(*this == o); }
};

enum KeyFlag : quint8 {
    KeyNoFlags = 0,
    // A keypad key: its virtual key follows NumLock.
    KeyKeypad = 0x01,
    // The name is given to the code when read from the device, but the code
    // is not part of any name vocabulary (keypad Enter reads as "Enter",
    // which is written back as the main Enter).
    KeyReadOnlyName = 0x02,
};

struct Key
{
    quint8 usage;           // HID keyboard usage; 0xE0..0xE7 for the modifiers
    const char *name;       // UTF-8; nullptr: the key has no name; "" is a name
    const char *shortName;  // modifiers only: the name without side; else nullptr
    quint8 vk;              // Windows virtual key (keypad: with NumLock on)
    quint8 vkNumLockOff;    // keypad keys: virtual key with NumLock off; 0: same
    quint16 scanCode;       // set-1 make code; 0xE0xx for the extended keys
    quint16 nativeScanCode; // X11 keycode (evdev code + 8); 0: none
    int qtKey;              // Qt::Key (keypad: the key with NumLock on); 0: none
    quint8 flags;           // KeyFlag

    bool isModifier() const { return usage >= 0xE0 && usage <= 0xE7; }
    // The modifier byte's bit of a modifier key, 0 for any other key.
    quint8 modifierBit() const { return isModifier() ? quint8(1u << (usage - 0xE0)) : quint8(0); }
    bool isExtended() const { return (scanCode & 0xFF00) == 0xE000; }
    bool hasName() const { return name != nullptr; }
    QString text() const { return name ? QString::fromUtf8(name) : QString(); }
};

// A multimedia key: one HID Consumer usage, the button-page option that
// assigns it and its caption's key in the catalogue section "KeyOptions".
struct ConsumerKey
{
    quint16 usage;          // HID Consumer usage (page 0x0C)
    const char *option;     // object name of the option button
    const char *textKey;    // catalogue key of its caption, e.g. "0x0183"
    quint8 vk;              // Windows virtual key of a keyboard's media key
    quint16 nativeScanCode; // X11 keycode of that key; 0: none
    int qtKey;              // Qt::Key; 0: none

    quint8 lowByte() const { return quint8(usage & 0xFF); }
};

// A mouse button of the macro editor; its name is a text of the current
// language, the entry textKey of the catalogue's option list
// "InsertEventOptions".
struct MouseButton
{
    quint8 bit;
    const char *textKey;
};

// --- the rows -------------------------------------------------------------
int keyCount();
const Key &keyAt(int index);
int consumerKeyCount();
const ConsumerKey &consumerKeyAt(int index);
int mouseButtonCount();
const MouseButton &mouseButtonAt(int index);

// --- plain lookups (nullptr: not found) -----------------------------------
// By the name the program stores, compared whole and case-sensitively:
// key names and the side-specific modifier names ("LCtrl"); never the
// side-less "Ctrl" and never a read-only name.
const Key *keyByName(const QString &name);
// A device key event: kind 1 by usage, kind 0 by a single modifier bit.
// Read-only names are included (0x58 is keypad Enter).
const Key *keyByCode(quint8 kind, quint16 code);
// By the virtual key the key reports (NumLock on for keypad keys). 0x0C
// (keypad 5 without NumLock) is the empty name's row.
const Key *keyByVirtualKey(quint32 vk);
// By the X11 keycode.
const Key *keyByNativeScanCode(quint32 nativeScanCode);
// By Qt key, for key events without a native scan code. Keypad rows are
// looked at only when keypad is true, and are preferred then; a keypad key
// with NumLock off reports the key it stands for (Home for the keypad 7),
// and *numLockOn tells which of its two meanings was found.
const Key *keyByQtKey(int qtKey, bool keypad, bool *numLockOn = nullptr);

const ConsumerKey *consumerKeyByUsage(quint16 usage);
// The button labels know a multimedia key by its usage's low byte alone;
// the 18 usages have distinct low bytes.
const ConsumerKey *consumerKeyByLowByte(quint8 lowByte);
const ConsumerKey *consumerKeyByOption(const QString &option);
const ConsumerKey *consumerKeyByVirtualKey(quint32 vk);
const ConsumerKey *consumerKeyByNativeScanCode(quint32 nativeScanCode);
const ConsumerKey *consumerKeyByQtKey(int qtKey);

// --- per-use lookups -------------------------------------------------------
// Button labels: the name of a key event of a key-sequence record by its
// code's low byte and kind. The codes that are both a usage and a modifier
// bit (0x04, 0x08, 0x10, 0x20, 0x40) are told apart by the kind (1 key,
// 0 modifier, other kinds none); 0x01, 0x02 and 0x80 are "Ctrl", "Shift" and
// "Win" whatever the kind; other usages are named whatever the kind.
// Empty text when the code has no name.
QString labelName(quint8 code, quint8 kind);

// Combination text ("Ctrl+Shift+A"): "Shift", "Ctrl", "Alt", "Win" give the
// left-hand modifier bits (kind 0); a key name gives its usage (kind 1).
// Side-specific names are not part of this vocabulary.
std::optional<KeyCode> comboKeyByName(const QString &name);

// Where a name of a mouse button stands among the names a macro lookup
// tries: the macro files' writer tries it before the function keys F1..F12,
// the device record's macro loader only after every key and modifier name.
enum class MouseNameOrder { BeforeFunctionKeys, AfterAllKeys };

// Macro vocabulary: key names (kind 1), side-specific modifier names
// (kind 0) and the mouse-button names of the current language (kind 4,
// mouseButtonNames in bit order 0x01, 0x02, 0x04, 0x08, 0x10). The side-less
// "Ctrl" is not part of it.
std::optional<KeyCode> macroKeyByName(const QString &name, const QStringList &mouseButtonNames,
                                      MouseNameOrder order = MouseNameOrder::BeforeFunctionKeys);

// Macro files: the name of an event line's code text ("0x04", exactly two
// upper-case hexadecimal digits after "0x") and kind (1 key, 0 modifier,
// 4 mouse button). Read-only names are not part of the file vocabulary.
std::optional<QString> macroNameByFileCode(const QString &codeText, int kind, const QStringList &mouseButtonNames);
// The code text of a macro file: "0x" and two upper-case hexadecimal digits.
QString fileCodeText(quint8 code);

// Device macro records: the name of a key event read from the mouse (no
// mouse buttons). Like labelName but with side-specific modifier names:
// 0x04, 0x08, 0x10, 0x20 by kind (1 key, 0 modifier, else none); 0x40 is
// "RAlt" for kind 0 and "F7" for any other kind; 0x01, 0x02, 0x80 are
// "LCtrl", "LShift", "RWin" whatever the kind. Empty text when none.
QString deviceEventName(int code, int kind);

// The mouse-button name for a bit (1, 2, 4, 8, 16) from the current names,
// empty for any other bit.
QString mouseButtonName(int bit, const QStringList &mouseButtonNames);

// Keyboard capture: the name of a virtual key as the macro recording and the
// key dialog show it (104 keys, the side-specific modifiers included).
std::optional<QString> captureName(quint32 vk);
// The combination capture: as captureName without the eight modifier keys
// (those are ticked as check boxes there).
std::optional<QString> combinationCaptureName(quint32 vk);

// --- combination text ------------------------------------------------------
// The names of a combination text joined by "+". A name that itself holds
// the join character ("Num+") is kept whole where it stands before a "+" or
// the end; empty names between two "+" are kept ("A++B" has three names).
QStringList splitCombination(const QString &text);
QString joinCombination(const QStringList &names);

} // namespace keytable
