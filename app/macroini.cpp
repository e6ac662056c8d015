#include "app/macroini.h"

#include "platform/userpaths.h"

#include <QFile>
#include <QLockFile>

MacroIni *MacroIni::instance()
{
    // Created once, like the catalogue store; never deleted.
    static MacroIni *const store = new MacroIni(userDataRoot() + QStringLiteral("/Macro.ini"));
    return store;
}

MacroIni::MacroIni(const QString &path)
    : m_settings(path, QSettings::IniFormat), m_path(path)
{
    m_settings.setIniCodec("UTF-8");
}

QString MacroIni::value(const QString &group, const QString &key)
{
    return m_settings.value(group + QLatin1Char('/') + key, QVariant()).toString();
}

void MacroIni::setValue(const QString &group, const QString &key, const QString &value)
{
    m_settings.setValue(group + QLatin1Char('/') + key, value);
    // The store waits for its lock file while it writes; one left by a
    // killed run (possibly cut short) would hold this thread up to 30 s
    // before counting as stale. A lock no running process holds is removed
    // at once.
    const QString lockPath = m_path + QStringLiteral(".lock");
    if (QFile::exists(lockPath))
        QLockFile(lockPath).removeStaleLockFile();
    m_settings.sync();
}

int storedLanguageIndex()
{
    bool ok = false;
    const int index = MacroIni::instance()
                          ->value(QStringLiteral("Language"), QStringLiteral("Language"))
                          .toInt(&ok, 10);
    return ok && index >= 0 && index <= 2 ? index : 0;
}
