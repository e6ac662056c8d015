#include "pages/macro/macrokeynames.h"

#include "platform/keys/keytable.h"

QString mouseButtonNames[5];

namespace {

QStringList currentMouseNames()
{
    return QStringList(std::begin(mouseButtonNames), std::end(mouseButtonNames));
}

} // namespace

QString mouseButtonName(int bit)
{
    return keytable::mouseButtonName(bit, currentMouseNames());
}

QString macroCodeToKeyName(const QString &codeText, int kind)
{
    return keytable::macroNameByFileCode(codeText, kind, currentMouseNames()).value_or(QString());
}

QString macroEventName(int kind, int code)
{
    if (code < 0 || code > 0xFF)
        return QString();
    return macroCodeToKeyName(keytable::fileCodeText(quint8(code)), kind);
}

bool macroEventFromName(const QString &name, int *kind, int *code)
{
    const std::optional<keytable::KeyCode> key = keytable::macroKeyByName(name, currentMouseNames());
    if (!key)
        return false;
    *kind = key->kind;
    *code = key->code;
    return true;
}

QStringList keyNameToCode(const QString &name)
{
    int kind = 0;
    int code = 0;
    if (!macroEventFromName(name, &kind, &code))
        return QStringList();
    return {keytable::fileCodeText(quint8(code)), QString::number(kind)};
}

QString keyCodeToName(int code, int kind)
{
    return keytable::deviceEventName(code, kind);
}
