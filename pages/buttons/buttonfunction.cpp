#include "pages/buttons/buttonfunction.h"

#include "device/dpicodec.h"
#include "platform/keys/keytable.h"

#include <QtEndian>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace buttonfn {

namespace {

const char *const kSelectors[kButtonCount] = {
    "FireKey", "RightKey", "BackKey",  "TopMusic", "StartPause", "BackMusic", "Button7",  "Button8",
    "Button9", "Button10", "Button11", "Button12", "Button13",   "Button14",  "Button15", "Button16",
};

const int kListOrder[kButtonCount] = {0, 1, 2, 4, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

const ButtonFunction kFactory[kButtonCount] = {
    {MouseButton, LeftBit, 0},
    {MouseButton, RightBit, 0},
    {MouseButton, MiddleBit, 0},
    {MouseButton, BackBit, 0},
    {MouseButton, ForwardBit, 0},
    {DpiSwitch, 1, 0},
    {DpiSwitch, 2, 0},
    {DpiSwitch, 3, 0},
    {ReportRateSwitch, 0, 0},
    {ReportRateSwitch, 0, 0},
    {FireKey, 10, 0},
    {Undefined, 0, 0},
    {DpiSwitch, 1, 0},
    {DpiSwitch, 1, 0},
    {DpiSwitch, 1, 0},
    {DpiSwitch, 1, 0},
};

constexpr quint32 kKeyDelayMs = 10;

KeyEvent keyEvent(quint8 action, quint8 kind, quint16 code)
{
    KeyEvent e{};
    e.action = action;
    e.kind = kind;
    e.code = qToLittleEndian<quint16>(code);
    e.delay = qToLittleEndian<quint32>(kKeyDelayMs);
    return e;
}

quint16 eventCode(const KeyEvent &e)
{
    return qFromLittleEndian<quint16>(e.code);
}

} // namespace

const char *selectorName(int b)
{
    return b >= 0 && b < kButtonCount ? kSelectors[b] : nullptr;
}

int buttonOfSelector(const QString &objectName)
{
    for (int b = 0; b < kButtonCount; ++b)
        if (objectName == QLatin1String(kSelectors[b]))
            return b;
    return -1;
}

const int *selectorListOrder()
{
    return kListOrder;
}

ButtonFunction buttonFunction(const FlashDataMap &record, int b)
{
    return record.buttonFunctions[std::clamp(b, 0, kButtonCount - 1)];
}

const KeyComboRecord &keyCombo(const FlashDataMap &record, int b)
{
    return record.keyCombos[std::clamp(b, 0, kButtonCount - 1)];
}

const MacroRecord &macroRecord(const FlashDataMap &record, int b)
{
    return record.macros[std::clamp(b, 0, kButtonCount - 1)];
}

int buttonCountFromCatalogue(const QString &keyNumber)
{
    bool ok = false;
    const int n = keyNumber.trimmed().toInt(&ok, 10);
    return ok ? std::clamp(n, 0, kButtonCount) : 0;
}

bool isMultimediaRecord(const KeyComboRecord &keys)
{
    return keys.events[0].kind == keytable::KindConsumer;
}

FunctionLabel keySequenceLabel(const KeyComboRecord &keys)
{
    FunctionLabel label;
    if (isMultimediaRecord(keys)) {
        // The mouse's firmware tells its multimedia keys apart by the code's
        // low byte alone; the high byte may hold anything.
        if (const keytable::ConsumerKey *key =
                keytable::consumerKeyByLowByte(quint8(eventCode(keys.events[0]) & 0xFF))) {
            label.kind = FunctionLabel::OptionText;
            label.option = key->option;
        }
        return label;
    }
    label.kind = FunctionLabel::Text;
    label.text = comboText(keys);
    return label;
}

QString comboText(const KeyComboRecord &keys)
{
    // Only the presses, the first half of the events, are named.
    const int presses = std::min<int>(keys.count, 6) / 2;
    QStringList names;
    for (int i = 0; i < presses; ++i)
        names << hidKeyName(quint8(eventCode(keys.events[i]) & 0xFF), keys.events[i].kind);
    return keytable::joinCombination(names);
}

KeyComboRecord makeConsumerKeyRecord(quint16 usage)
{
    KeyComboRecord r{};
    r.count = 2;
    r.events[0] = keyEvent(0, keytable::KindConsumer, usage);
    r.events[1] = keyEvent(1, keytable::KindConsumer, usage);
    return r;
}

QString hidKeyName(quint8 code, quint8 kind)
{
    return keytable::labelName(code, kind);
}

std::optional<KeyComboRecord> parseKeyCombination(const QString &text)
{
    QStringList names = keytable::splitCombination(text);
    // Text with more keys than a record holds (a long catalogue default,
    // pasted text) keeps its first three.
    if (names.size() > kMaxComboKeys)
        names = names.mid(0, kMaxComboKeys);
    const int n = names.size();
    KeyComboRecord r{};
    for (int i = 0; i < n; ++i) {
        const std::optional<keytable::KeyCode> key = keytable::comboKeyByName(names.at(i));
        if (!key)
            return std::nullopt;
        r.events[i] = keyEvent(0, key->kind, key->code);
        r.events[2 * n - 1 - i] = keyEvent(1, key->kind, key->code);
    }
    r.count = quint8(2 * n);
    return r;
}

bool keyNameToEvent(const QString &name, int index, MacroRecord &macro, const QStringList &mouseButtonNames)
{
    if (index < 0 || index >= int(std::size(macro.events)))
        return false;
    const std::optional<keytable::KeyCode> key =
        keytable::macroKeyByName(name, mouseButtonNames, keytable::MouseNameOrder::AfterAllKeys);
    if (!key)
        return false;
    macro.events[index].kind = key->kind;
    macro.events[index].code = qToLittleEndian<quint16>(key->code);
    return true;
}

QVector<int> dpiLockChoices()
{
    QVector<int> dpis;
    for (int dpi = 100; dpi <= 1200; dpi += 100)
        dpis << dpi;
    return dpis;
}

int dpiToCode(const SensorTable &table, const QString &sensor, int dpi)
{
    return dpiLockCode(table, sensor, dpi);
}

int codeToDpi(const SensorTable &table, const QString &sensor, int code)
{
    return dpiLockValue(table, sensor, code);
}

bool dpiLockAvailable(const SensorTable &table, const QString &sensor, int dpi)
{
    const int code = dpiToCode(table, sensor, dpi);
    return code >= 0 && code <= 0xFF && codeToDpi(table, sensor, code) == dpi;
}

ButtonFunction factoryFunction(int b)
{
    return kFactory[std::clamp(b, 0, kButtonCount - 1)];
}

} // namespace buttonfn
