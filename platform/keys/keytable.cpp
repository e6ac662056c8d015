#include "platform/keys/keytable.h"

#include <QtCore/qnamespace.h>

#include <iterator>

namespace keytable {

namespace {

constexpr quint8 KP = KeyKeypad;
constexpr quint8 RO = KeyReadOnlyName;

// One row per key. Order matters only where two rows share a virtual key or
// a Qt key: the first row wins (the main Enter before the keypad Enter, the
// left modifiers before the right ones).
const Key kKeys[] = {
    // usage name       short    vk    off   scan    x11  Qt key                  flags
    {0x04, "A", nullptr, 0x41, 0, 0x001E, 38, Qt::Key_A, 0},
    {0x05, "B", nullptr, 0x42, 0, 0x0030, 56, Qt::Key_B, 0},
    {0x06, "C", nullptr, 0x43, 0, 0x002E, 54, Qt::Key_C, 0},
    {0x07, "D", nullptr, 0x44, 0, 0x0020, 40, Qt::Key_D, 0},
    {0x08, "E", nullptr, 0x45, 0, 0x0012, 26, Qt::Key_E, 0},
    {0x09, "F", nullptr, 0x46, 0, 0x0021, 41, Qt::Key_F, 0},
    {0x0A, "G", nullptr, 0x47, 0, 0x0022, 42, Qt::Key_G, 0},
    {0x0B, "H", nullptr, 0x48, 0, 0x0023, 43, Qt::Key_H, 0},
    {0x0C, "I", nullptr, 0x49, 0, 0x0017, 31, Qt::Key_I, 0},
    {0x0D, "J", nullptr, 0x4A, 0, 0x0024, 44, Qt::Key_J, 0},
    {0x0E, "K", nullptr, 0x4B, 0, 0x0025, 45, Qt::Key_K, 0},
    {0x0F, "L", nullptr, 0x4C, 0, 0x0026, 46, Qt::Key_L, 0},
    {0x10, "M", nullptr, 0x4D, 0, 0x0032, 58, Qt::Key_M, 0},
    {0x11, "N", nullptr, 0x4E, 0, 0x0031, 57, Qt::Key_N, 0},
    {0x12, "O", nullptr, 0x4F, 0, 0x0018, 32, Qt::Key_O, 0},
    {0x13, "P", nullptr, 0x50, 0, 0x0019, 33, Qt::Key_P, 0},
    {0x14, "Q", nullptr, 0x51, 0, 0x0010, 24, Qt::Key_Q, 0},
    {0x15, "R", nullptr, 0x52, 0, 0x0013, 27, Qt::Key_R, 0},
    {0x16, "S", nullptr, 0x53, 0, 0x001F, 39, Qt::Key_S, 0},
    {0x17, "T", nullptr, 0x54, 0, 0x0014, 28, Qt::Key_T, 0},
    {0x18, "U", nullptr, 0x55, 0, 0x0016, 30, Qt::Key_U, 0},
    {0x19, "V", nullptr, 0x56, 0, 0x002F, 55, Qt::Key_V, 0},
    {0x1A, "W", nullptr, 0x57, 0, 0x0011, 25, Qt::Key_W, 0},
    {0x1B, "X", nullptr, 0x58, 0, 0x002D, 53, Qt::Key_X, 0},
    {0x1C, "Y", nullptr, 0x59, 0, 0x0015, 29, Qt::Key_Y, 0},
    {0x1D, "Z", nullptr, 0x5A, 0, 0x002C, 52, Qt::Key_Z, 0},
    {0x1E, "1", nullptr, 0x31, 0, 0x0002, 10, Qt::Key_1, 0},
    {0x1F, "2", nullptr, 0x32, 0, 0x0003, 11, Qt::Key_2, 0},
    {0x20, "3", nullptr, 0x33, 0, 0x0004, 12, Qt::Key_3, 0},
    {0x21, "4", nullptr, 0x34, 0, 0x0005, 13, Qt::Key_4, 0},
    {0x22, "5", nullptr, 0x35, 0, 0x0006, 14, Qt::Key_5, 0},
    {0x23, "6", nullptr, 0x36, 0, 0x0007, 15, Qt::Key_6, 0},
    {0x24, "7", nullptr, 0x37, 0, 0x0008, 16, Qt::Key_7, 0},
    {0x25, "8", nullptr, 0x38, 0, 0x0009, 17, Qt::Key_8, 0},
    {0x26, "9", nullptr, 0x39, 0, 0x000A, 18, Qt::Key_9, 0},
    {0x27, "0", nullptr, 0x30, 0, 0x000B, 19, Qt::Key_0, 0},
    {0x28, "Enter", nullptr, 0x0D, 0, 0x001C, 36, Qt::Key_Return, 0},
    {0x29, "Esc", nullptr, 0x1B, 0, 0x0001, 9, Qt::Key_Escape, 0},
    {0x2A, "BackSpace", nullptr, 0x08, 0, 0x000E, 22, Qt::Key_Backspace, 0},
    {0x2B, "Tab", nullptr, 0x09, 0, 0x000F, 23, Qt::Key_Tab, 0},
    {0x2C, "Space", nullptr, 0x20, 0, 0x0039, 65, Qt::Key_Space, 0},
    {0x2D, "-", nullptr, 0xBD, 0, 0x000C, 20, Qt::Key_Minus, 0},
    {0x2E, "=", nullptr, 0xBB, 0, 0x000D, 21, Qt::Key_Equal, 0},
    {0x2F, "[", nullptr, 0xDB, 0, 0x001A, 34, Qt::Key_BracketLeft, 0},
    {0x30, "]", nullptr, 0xDD, 0, 0x001B, 35, Qt::Key_BracketRight, 0},
    {0x31, "\\", nullptr, 0xDC, 0, 0x002B, 51, Qt::Key_Backslash, 0},
    {0x33, ";", nullptr, 0xBA, 0, 0x0027, 47, Qt::Key_Semicolon, 0},
    {0x34, "'", nullptr, 0xDE, 0, 0x0028, 48, Qt::Key_Apostrophe, 0},
    {0x35, "`", nullptr, 0xC0, 0, 0x0029, 49, Qt::Key_QuoteLeft, 0},
    {0x36, ",", nullptr, 0xBC, 0, 0x0033, 59, Qt::Key_Comma, 0},
    {0x37, ".", nullptr, 0xBE, 0, 0x0034, 60, Qt::Key_Period, 0},
    {0x38, "/", nullptr, 0xBF, 0, 0x0035, 61, Qt::Key_Slash, 0},
    {0x39, "CapsLock", nullptr, 0x14, 0, 0x003A, 66, Qt::Key_CapsLock, 0},
    {0x3A, "F1", nullptr, 0x70, 0, 0x003B, 67, Qt::Key_F1, 0},
    {0x3B, "F2", nullptr, 0x71, 0, 0x003C, 68, Qt::Key_F2, 0},
    {0x3C, "F3", nullptr, 0x72, 0, 0x003D, 69, Qt::Key_F3, 0},
    {0x3D, "F4", nullptr, 0x73, 0, 0x003E, 70, Qt::Key_F4, 0},
    {0x3E, "F5", nullptr, 0x74, 0, 0x003F, 71, Qt::Key_F5, 0},
    {0x3F, "F6", nullptr, 0x75, 0, 0x0040, 72, Qt::Key_F6, 0},
    {0x40, "F7", nullptr, 0x76, 0, 0x0041, 73, Qt::Key_F7, 0},
    {0x41, "F8", nullptr, 0x77, 0, 0x0042, 74, Qt::Key_F8, 0},
    {0x42, "F9", nullptr, 0x78, 0, 0x0043, 75, Qt::Key_F9, 0},
    {0x43, "F10", nullptr, 0x79, 0, 0x0044, 76, Qt::Key_F10, 0},
    {0x44, "F11", nullptr, 0x7A, 0, 0x0057, 95, Qt::Key_F11, 0},
    {0x45, "F12", nullptr, 0x7B, 0, 0x0058, 96, Qt::Key_F12, 0},
    {0x46, "Screen", nullptr, 0x2C, 0, 0xE037, 107, Qt::Key_Print, 0},
    {0x47, "Scroll", nullptr, 0x91, 0, 0x0046, 78, Qt::Key_ScrollLock, 0},
    // Pause sends E1 1D 45; a low-level hook reports it as 0x45, not extended.
    {0x48, "Pause", nullptr, 0x13, 0, 0x0045, 127, Qt::Key_Pause, 0},
    {0x49, "Insert", nullptr, 0x2D, 0, 0xE052, 118, Qt::Key_Insert, 0},
    {0x4A, "Home", nullptr, 0x24, 0, 0xE047, 110, Qt::Key_Home, 0},
    {0x4B, "PgUp", nullptr, 0x21, 0, 0xE049, 112, Qt::Key_PageUp, 0},
    {0x4C, "Del", nullptr, 0x2E, 0, 0xE053, 119, Qt::Key_Delete, 0},
    {0x4D, "End", nullptr, 0x23, 0, 0xE04F, 115, Qt::Key_End, 0},
    {0x4E, "PgDn", nullptr, 0x22, 0, 0xE051, 117, Qt::Key_PageDown, 0},
    {0x4F, "\u2192", nullptr, 0x27, 0, 0xE04D, 114, Qt::Key_Right, 0},
    {0x50, "\u2190", nullptr, 0x25, 0, 0xE04B, 113, Qt::Key_Left, 0},
    {0x51, "\u2193", nullptr, 0x28, 0, 0xE050, 116, Qt::Key_Down, 0},
    {0x52, "\u2191", nullptr, 0x26, 0, 0xE048, 111, Qt::Key_Up, 0},
    // NumLock shares scan code 0x45 with Pause but comes extended.
    {0x53, "NumLock", nullptr, 0x90, 0, 0xE045, 77, Qt::Key_NumLock, 0},
    {0x54, "Num/", nullptr, 0x6F, 0, 0xE035, 106, Qt::Key_Slash, KP},
    {0x55, "Num*", nullptr, 0x6A, 0, 0x0037, 63, Qt::Key_Asterisk, KP},
    {0x56, "Num-", nullptr, 0x6D, 0, 0x004A, 82, Qt::Key_Minus, KP},
    {0x57, "Num+", nullptr, 0x6B, 0, 0x004E, 86, Qt::Key_Plus, KP},
    {0x58, "Enter", nullptr, 0x0D, 0, 0xE01C, 104, Qt::Key_Enter, KP | RO},
    {0x59, "Num1", nullptr, 0x61, 0x23, 0x004F, 87, Qt::Key_1, KP},
    {0x5A, "Num2", nullptr, 0x62, 0x28, 0x0050, 88, Qt::Key_2, KP},
    {0x5B, "Num3", nullptr, 0x63, 0x22, 0x0051, 89, Qt::Key_3, KP},
    {0x5C, "Num4", nullptr, 0x64, 0x25, 0x004B, 83, Qt::Key_4, KP},
    {0x5D, "Num5", nullptr, 0x65, 0x0C, 0x004C, 84, Qt::Key_5, KP},
    {0x5E, "Num6", nullptr, 0x66, 0x27, 0x004D, 85, Qt::Key_6, KP},
    {0x5F, "Num7", nullptr, 0x67, 0x24, 0x0047, 79, Qt::Key_7, KP},
    {0x60, "Num8", nullptr, 0x68, 0x26, 0x0048, 80, Qt::Key_8, KP},
    {0x61, "Num9", nullptr, 0x69, 0x21, 0x0049, 81, Qt::Key_9, KP},
    {0x62, "Num0", nullptr, 0x60, 0x2D, 0x0052, 90, Qt::Key_0, KP},
    {0x63, "Num.", nullptr, 0x6E, 0x2E, 0x0053, 91, Qt::Key_Period, KP},
    // The extra key left of Z on 105-key keyboards: reported, never named.
    {0x64, nullptr, nullptr, 0xE2, 0, 0x0056, 94, Qt::Key_Less, 0},
    {0x65, "APPs", nullptr, 0x5D, 0, 0xE05D, 135, Qt::Key_Menu, 0},
    // The empty name: the keypad 5 with NumLock off reports virtual key 0x0C.
    {0x00, "", nullptr, 0x0C, 0, 0, 0, Qt::Key_Clear, 0},
    {0xE0, "LCtrl", "Ctrl", 0xA2, 0, 0x001D, 37, Qt::Key_Control, 0},
    {0xE1, "LShift", "Shift", 0xA0, 0, 0x002A, 50, Qt::Key_Shift, 0},
    {0xE2, "LAlt", "Alt", 0xA4, 0, 0x0038, 64, Qt::Key_Alt, 0},
    {0xE3, "LWin", "Win", 0x5B, 0, 0xE05B, 133, Qt::Key_Super_L, 0},
    {0xE4, "RCtrl", "Ctrl", 0xA3, 0, 0xE01D, 105, Qt::Key_Control, 0},
    {0xE5, "RShift", "Shift", 0xA1, 0, 0x0036, 62, Qt::Key_Shift, 0},
    {0xE6, "RAlt", "Alt", 0xA5, 0, 0xE038, 108, Qt::Key_AltGr, 0},
    {0xE7, "RWin", "Win", 0x5C, 0, 0xE05C, 134, Qt::Key_Super_R, 0},
};

const ConsumerKey kConsumerKeys[] = {
    // usage  option           caption key vk    x11  Qt key
    {0x0183, "Player", "0x0183", 0xB5, 179, Qt::Key_Tools},
    {0x00CD, "StartPause_2", "0x00CD", 0xB3, 172, Qt::Key_MediaPlay},
    {0x00B5, "BackMusic_2", "0x00B5", 0xB0, 171, Qt::Key_MediaNext},
    {0x00B6, "TopMusic_2", "0x00B6", 0xB1, 173, Qt::Key_MediaPrevious},
    {0x00B7, "Mute", "0x00B7", 0xB2, 174, Qt::Key_MediaStop},
    {0x00E2, "VolumeUp", "0x00E2", 0xAD, 121, Qt::Key_VolumeMute},
    {0x00E9, "VolumeDown", "0x00E9", 0xAF, 123, Qt::Key_VolumeUp},
    {0x00EA, "VolumeDown_4", "0x00EA", 0xAE, 122, Qt::Key_VolumeDown},
    {0x018A, "VolumeDown_5", "0x018A", 0xB4, 163, Qt::Key_LaunchMail},
    {0x0192, "VolumeDown_6", "0x0192", 0xB7, 148, Qt::Key_Calculator},
    {0x0194, "VolumeDown_3", "0x0194", 0xB6, 165, Qt::Key_Launch0},
    {0x0223, "VolumeDown_8", "0x0223", 0xAC, 180, Qt::Key_HomePage},
    {0x0221, "VolumeDown_9", "0x0221", 0xAA, 225, Qt::Key_Search},
    {0x0225, "VolumeDown_7", "0x0225", 0xA7, 167, Qt::Key_Forward},
    {0x0224, "VolumeDown_10", "0x0224", 0xA6, 166, Qt::Key_Back},
    {0x0226, "VolumeDown_12", "0x0226", 0xA9, 136, Qt::Key_Stop},
    {0x0227, "VolumeDown_13", "0x0227", 0xA8, 181, Qt::Key_Refresh},
    {0x022A, "VolumeDown_11", "0x022A", 0xAB, 164, Qt::Key_Favorites},
};

// The mouse buttons in bit order, with the entry of "InsertEventOptions"
// that names each.
const MouseButton kMouseButtons[] = {
    {0x01, "2"}, {0x02, "3"}, {0x04, "4"}, {0x08, "6"}, {0x10, "5"},
};

bool isFunctionKey(const Key &k)
{
    return k.usage >= 0x3A && k.usage <= 0x45;
}

template <typename Pred>
const Key *findKey(Pred pred)
{
    for (const Key &k : kKeys)
        if (pred(k))
            return &k;
    return nullptr;
}

template <typename Pred>
const ConsumerKey *findConsumer(Pred pred)
{
    for (const ConsumerKey &k : kConsumerKeys)
        if (pred(k))
            return &k;
    return nullptr;
}

int mouseIndex(quint32 bit)
{
    for (int i = 0; i < int(std::size(kMouseButtons)); ++i)
        if (kMouseButtons[i].bit == bit)
            return i;
    return -1;
}

std::optional<KeyCode> mouseCodeByName(const QString &name, const QStringList &mouseButtonNames)
{
    for (int i = 0; i < int(std::size(kMouseButtons)) && i < mouseButtonNames.size(); ++i)
        if (mouseButtonNames.at(i) == name)
            return KeyCode{KindMouseButton, kMouseButtons[i].bit};
    return std::nullopt;
}

KeyCode codeOf(const Key &k)
{
    if (k.isModifier())
        return KeyCode{KindModifier, k.modifierBit()};
    return KeyCode{KindKeyboard, k.usage};
}

// Codes that are a keyboard usage and a modifier bit at once.
bool isAmbiguousCode(quint32 code)
{
    return code == 0x04 || code == 0x08 || code == 0x10 || code == 0x20 || code == 0x40;
}

} // namespace

int keyCount()
{
    return int(std::size(kKeys));
}
const Key &keyAt(int index)
{
    return kKeys[index];
}
int consumerKeyCount()
{
    return int(std::size(kConsumerKeys));
}
const ConsumerKey &consumerKeyAt(int index)
{
    return kConsumerKeys[index];
}
int mouseButtonCount()
{
    return int(std::size(kMouseButtons));
}
const MouseButton &mouseButtonAt(int index)
{
    return kMouseButtons[index];
}

const Key *keyByName(const QString &name)
{
    const QByteArray utf8 = name.toUtf8();
    return findKey([&](const Key &k) { return k.name && !(k.flags & KeyReadOnlyName) && utf8 == k.name; });
}

const Key *keyByCode(quint8 kind, quint16 code)
{
    if (kind == KindKeyboard)
        return findKey([&](const Key &k) { return !k.isModifier() && k.usage == code; });
    if (kind == KindModifier)
        return findKey([&](const Key &k) { return k.isModifier() && k.modifierBit() == code; });
    return nullptr;
}

const Key *keyByVirtualKey(quint32 vk)
{
    return findKey([&](const Key &k) { return k.vk == vk; });
}

const Key *keyByNativeScanCode(quint32 nativeScanCode)
{
    if (nativeScanCode == 0)
        return nullptr;
    return findKey([&](const Key &k) { return k.nativeScanCode == nativeScanCode; });
}

const Key *keyByQtKey(int qtKey, bool keypad, bool *numLockOn)
{
    if (numLockOn)
        *numLockOn = true;
    if (qtKey == 0)
        return nullptr;
    if (keypad) {
        if (const Key *k = findKey([&](const Key &r) { return (r.flags & KeyKeypad) && r.qtKey == qtKey; }))
            return k;
        // A keypad key with NumLock off reports the key it stands for
        // (Home for the keypad 7): find the keypad key standing for it.
        const Key *k = findKey([&](const Key &r) {
            if (!(r.flags & KeyKeypad) || r.vkNumLockOff == 0)
                return false;
            const Key *off = keyByVirtualKey(r.vkNumLockOff);
            return off && off->qtKey == qtKey;
        });
        if (k) {
            if (numLockOn)
                *numLockOn = false;
            return k;
        }
    }
    return findKey([&](const Key &r) { return !(r.flags & KeyKeypad) && r.qtKey == qtKey; });
}

const ConsumerKey *consumerKeyByUsage(quint16 usage)
{
    return findConsumer([&](const ConsumerKey &k) { return k.usage == usage; });
}

const ConsumerKey *consumerKeyByLowByte(quint8 lowByte)
{
    return findConsumer([&](const ConsumerKey &k) { return k.lowByte() == lowByte; });
}

const ConsumerKey *consumerKeyByOption(const QString &option)
{
    const QByteArray latin = option.toLatin1();
    return findConsumer([&](const ConsumerKey &k) { return latin == k.option; });
}

const ConsumerKey *consumerKeyByVirtualKey(quint32 vk)
{
    return findConsumer([&](const ConsumerKey &k) { return k.vk == vk; });
}

const ConsumerKey *consumerKeyByNativeScanCode(quint32 nativeScanCode)
{
    if (nativeScanCode == 0)
        return nullptr;
    return findConsumer([&](const ConsumerKey &k) { return k.nativeScanCode == nativeScanCode; });
}

const ConsumerKey *consumerKeyByQtKey(int qtKey)
{
    if (qtKey == 0)
        return nullptr;
    return findConsumer([&](const ConsumerKey &k) { return k.qtKey == qtKey; });
}

QString labelName(quint8 code, quint8 kind)
{
    if (isAmbiguousCode(code)) {
        if (kind == KindKeyboard)
            return keyByCode(KindKeyboard, code)->text();
        if (kind == KindModifier)
            return QString::fromLatin1(keyByCode(KindModifier, code)->shortName);
        return QString();
    }
    if (code == 0x01 || code == 0x02 || code == 0x80)
        return QString::fromLatin1(keyByCode(KindModifier, code)->shortName);
    const Key *k = keyByCode(KindKeyboard, code);
    return k ? k->text() : QString();
}

std::optional<KeyCode> comboKeyByName(const QString &name)
{
    // The combination vocabulary knows each modifier once, by its left key.
    for (const char *shortName : {"Ctrl", "Shift", "Alt", "Win"})
        if (name == QLatin1String(shortName))
            return codeOf(*findKey([&](const Key &k) {
                return k.isModifier() && k.modifierBit() <= 0x08 && qstrcmp(k.shortName, shortName) == 0;
            }));
    const Key *k = keyByName(name);
    if (!k || k->isModifier())
        return std::nullopt;
    return codeOf(*k);
}

std::optional<KeyCode> macroKeyByName(const QString &name, const QStringList &mouseButtonNames, MouseNameOrder order)
{
    const Key *k = keyByName(name);
    if (k && !(order == MouseNameOrder::BeforeFunctionKeys && isFunctionKey(*k)))
        return codeOf(*k);
    if (auto mouse = mouseCodeByName(name, mouseButtonNames))
        return mouse;
    if (k)
        return codeOf(*k);
    return std::nullopt;
}

QString fileCodeText(quint8 code)
{
    return QStringLiteral("0x") + QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

std::optional<QString> macroNameByFileCode(const QString &codeText, int kind, const QStringList &mouseButtonNames)
{
    // The text must be exactly what the writer makes: "0x" and two
    // upper-case digits; "0x4" or "0x2c" name nothing.
    if (codeText.size() != 4 || !codeText.startsWith(QLatin1String("0x")))
        return std::nullopt;
    bool ok = false;
    const uint code = codeText.midRef(2).toUInt(&ok, 16);
    if (!ok || fileCodeText(quint8(code)) != codeText)
        return std::nullopt;
    if (kind == KindMouseButton) {
        const int i = mouseIndex(code);
        if (i < 0 || i >= mouseButtonNames.size())
            return std::nullopt;
        return mouseButtonNames.at(i);
    }
    if (kind != KindKeyboard && kind != KindModifier)
        return std::nullopt;
    const Key *k = keyByCode(quint8(kind), quint16(code));
    if (!k || !k->hasName() || (k->flags & KeyReadOnlyName))
        return std::nullopt;
    return k->text();
}

QString deviceEventName(int code, int kind)
{
    if (code < 0 || code > 0xFF)
        return QString();
    if (code == 0x40)
        return kind == KindModifier ? keyByCode(KindModifier, 0x40)->text() : keyByCode(KindKeyboard, 0x40)->text();
    if (isAmbiguousCode(quint32(code))) {
        if (kind != KindKeyboard && kind != KindModifier)
            return QString();
        return keyByCode(quint8(kind), quint16(code))->text();
    }
    if (code == 0x01 || code == 0x02 || code == 0x80)
        return keyByCode(KindModifier, quint16(code))->text();
    const Key *k = keyByCode(KindKeyboard, quint16(code));
    return k ? k->text() : QString();
}

QString mouseButtonName(int bit, const QStringList &mouseButtonNames)
{
    const int i = bit > 0 ? mouseIndex(quint32(bit)) : -1;
    return i >= 0 && i < mouseButtonNames.size() ? mouseButtonNames.at(i) : QString();
}

std::optional<QString> captureName(quint32 vk)
{
    const Key *k = keyByVirtualKey(vk);
    if (!k || !k->hasName())
        return std::nullopt;
    return k->text();
}

std::optional<QString> combinationCaptureName(quint32 vk)
{
    const Key *k = keyByVirtualKey(vk);
    if (!k || !k->hasName() || k->isModifier())
        return std::nullopt;
    return k->text();
}

QStringList splitCombination(const QString &text)
{
    static const QStringList namesWithJoin = [] {
        QStringList names;
        for (const Key &k : kKeys)
            if (k.name && !(k.flags & KeyReadOnlyName) && QString::fromUtf8(k.name).contains(QLatin1Char('+')))
                names << QString::fromUtf8(k.name);
        return names;
    }();
    QStringList parts;
    int pos = 0;
    const int n = text.size();
    for (;;) {
        int end = -1;
        for (const QString &name : namesWithJoin) {
            const int after = pos + name.size();
            if (text.midRef(pos).startsWith(name) && (after == n || text.at(after) == QLatin1Char('+'))) {
                end = after;
                break;
            }
        }
        if (end < 0) {
            end = text.indexOf(QLatin1Char('+'), pos);
            if (end < 0)
                end = n;
        }
        parts << text.mid(pos, end - pos);
        if (end >= n)
            break;
        pos = end + 1;
    }
    return parts;
}

QString joinCombination(const QStringList &names)
{
    return names.join(QLatin1Char('+'));
}

} // namespace keytable
