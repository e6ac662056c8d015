#include "platform/registry.h"

#include "platform/atomicfile.h"
#include "platform/userpaths.h"

#include <QFile>
#include <QMap>
#include <QTextStream>

#include <mutex>

namespace registry {

const char kProgramKey[] = "HKEY_CURRENT_USER\\Software\\VELMORAX\\VELMORAX\\VELMORAX";
const char kDriveTestKey[] = "HKEY_CURRENT_USER\\Software\\VELMORAX\\VELMORAX\\Mouse Drive Test";

namespace {

using Section = QMap<QString, QString>;
using Store = QMap<QString, Section>;

// A plain pthread mutex: the thread checker sees its ordering.
std::mutex &storeMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Backslash escapes keep every value on one line; '=' is escaped in names
// so the first '=' of a line always ends the name, and a name's leading '['
// or ';' so its line is never read back as a group header or a comment.
QString escape(const QString &text, bool isName)
{
    QString out;
    out.reserve(text.size() + 1);
    if (isName && (text.startsWith(QLatin1Char('[')) || text.startsWith(QLatin1Char(';'))))
        out += QLatin1Char('\\');
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (isName && c == QLatin1Char('='))
            out += QStringLiteral("\\q");
        else
            out += c;
    }
    return out;
}

QString unescape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar n = text.at(++i);
        if (n == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (n == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (n == QLatin1Char('q'))
            out += QLatin1Char('=');
        else
            out += n;
    }
    return out;
}

Store load()
{
    Store store;
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return store;
    QTextStream in(&file);
    in.setCodec("UTF-8");
    QString section;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || section.isEmpty())
            continue;
        store[section][unescape(line.left(eq))] = unescape(line.mid(eq + 1));
    }
    return store;
}

bool save(const Store &store)
{
    QString text;
    QTextStream out(&text);
    for (auto s = store.cbegin(); s != store.cend(); ++s) {
        if (s->isEmpty())
            continue;
        out << '[' << s.key() << "]\n";
        for (auto v = s->cbegin(); v != s->cend(); ++v)
            out << escape(v.key(), true) << '=' << escape(v.value(), false) << '\n';
        out << '\n';
    }
    out.flush();
    return atomicfile::write(filePath(), text.toUtf8());
}

} // namespace

QString filePath()
{
    return userConfigRoot() + QStringLiteral("/registry.ini");
}

bool contains(const QString &keyPath, const QString &name)
{
    std::lock_guard<std::mutex> lock(storeMutex());
    const Store store = load();
    return store.value(keyPath).contains(name);
}

QString value(const QString &keyPath, const QString &name, const QString &defaultValue)
{
    std::lock_guard<std::mutex> lock(storeMutex());
    const Store store = load();
    const Section section = store.value(keyPath);
    auto it = section.constFind(name);
    return it == section.cend() ? defaultValue : it.value();
}

bool setValue(const QString &keyPath, const QString &name, const QString &value)
{
    std::lock_guard<std::mutex> lock(storeMutex());
    Store store = load();
    store[keyPath][name] = value;
    return save(store);
}

bool remove(const QString &keyPath, const QString &name)
{
    std::lock_guard<std::mutex> lock(storeMutex());
    Store store = load();
    auto section = store.find(keyPath);
    if (section == store.end() || !section->contains(name))
        return true;
    section->remove(name);
    return save(store);
}

} // namespace registry
