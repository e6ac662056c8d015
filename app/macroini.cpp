#include "app/macroini.h"

#include "platform/atomicfile.h"
#include "platform/userpaths.h"

#include <QSettings>
#include <QStringList>

namespace {

// Group and key names as QSettings writes them: letters, digits and "-_."
// stay, '/' inside a key becomes '\', anything else a %XX or %UXXXX code.
QByteArray escapedName(const QString &name)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    for (const QChar c : name) {
        const ushort u = c.unicode();
        if (u == '/') {
            out += '\\';
        } else if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '-'
                   || u == '.') {
            out += char(u);
        } else if (u <= 0xFF) {
            out += '%';
            out += hex[u / 16];
            out += hex[u % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hex[(u >> shift) & 0xF];
        }
    }
    return out;
}

// Whether a text reads back unchanged without quotes.
bool plainText(const QString &text)
{
    if (text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' ')))
        return false;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')
                           || QByteArrayLiteral("-_.:/+ ").contains(char(u));
        if (!plain)
            return false;
    }
    return true;
}

// A text as its value: plain where it reads back unchanged, otherwise in
// quotes, so commas, '=' and blanks at either end are kept; a leading '@'
// is doubled because QSettings reads "@..." as a typed value.
QByteArray quoted(const QString &text)
{
    if (plainText(text))
        return text.toLatin1();
    QByteArray out = "\"";
    if (text.startsWith(QLatin1Char('@')))
        out += '@';
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    out += '"';
    return out;
}

QByteArray render(const QMap<QString, QVariant> &values)
{
    // Sections in the order QSettings keeps them: keys without a group
    // under [General] first, then the groups by name.
    QMap<QString, QList<QPair<QString, QVariant>>> sections;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const int slash = it.key().indexOf(QLatin1Char('/'));
        const QString group = slash < 0 ? QString() : it.key().left(slash);
        sections[group].append({it.key().mid(slash + 1), it.value()});
    }
    QByteArray out;
    for (auto s = sections.cbegin(); s != sections.cend(); ++s) {
        if (!out.isEmpty())
            out += '\n';
        if (s.key().isEmpty())
            out += "[General]\n";
        else if (s.key() == QLatin1String("General"))
            out += "[%General]\n";
        else
            out += '[' + escapedName(s.key()) + "]\n";
        for (const auto &entry : s.value()) {
            out += escapedName(entry.first) + '=';
            if (entry.second.type() == QVariant::StringList) {
                const QStringList items = entry.second.toStringList();
                for (int i = 0; i < items.size(); ++i)
                    out += (i ? ", " : "") + quoted(items.at(i));
            } else {
                out += quoted(entry.second.toString());
            }
            out += '\n';
        }
    }
    return out;
}

} // namespace

MacroIni *MacroIni::instance()
{
    // Created once, like the catalogue store; never deleted.
    static MacroIni *const store = new MacroIni(userDataRoot() + QStringLiteral("/Macro.ini"));
    return store;
}

MacroIni::MacroIni(const QString &path) : m_path(path)
{
    // Read once; QSettings never writes here, because its writer renames a
    // file cut short by a full disk over the old one and calls it success.
    QSettings file(path, QSettings::IniFormat);
    file.setIniCodec("UTF-8");
    for (const QString &key : file.allKeys())
        m_values.insert(key, file.value(key));
}

QString MacroIni::value(const QString &group, const QString &key)
{
    return m_values.value(group + QLatin1Char('/') + key).toString();
}

bool MacroIni::setValue(const QString &group, const QString &key, const QString &value)
{
    m_values.insert(group + QLatin1Char('/') + key, value);
    return atomicfile::write(m_path, render(m_values));
}

int storedLanguageIndex()
{
    bool ok = false;
    const int index =
        MacroIni::instance()->value(QStringLiteral("Language"), QStringLiteral("Language")).toInt(&ok, 10);
    return ok && index >= 0 && index <= 2 ? index : 0;
}
