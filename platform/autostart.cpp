#include "platform/autostart.h"

#include "platform/atomicfile.h"
#include "platform/userpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

namespace autostart {

QString entryPath(const QString &name)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/")
           + name + QStringLiteral(".desktop");
}

QString execValue(const QString &executable)
{
    // Inside the quotes '"', '`', '$' and '\' take a backslash; '%' is a
    // field code unless doubled. The value as a whole is a desktop-entry
    // string, where each backslash is written twice.
    QString quoted;
    for (const QChar c : executable) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    QString value = QLatin1Char('"') + quoted + QLatin1Char('"');
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    // A line break would end the entry's line early.
    value.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return value;
}

QByteArray entryText(const QString &name, const QString &executable)
{
    QString text;
    QTextStream out(&text);
    out << "[Desktop Entry]\n"
        << "Type=Application\n"
        << "Name=" << QString(name).replace(QLatin1Char('\n'), QLatin1Char(' ')) << '\n'
        << "Exec=" << execValue(executable) << '\n'
        << "Terminal=false\n"
        << "X-GNOME-Autostart-enabled=true\n";
    out.flush();
    return text.toUtf8();
}

bool needsLauncher(const QString &executable)
{
    return executable.contains(QLatin1Char('%')) || executable.contains(QLatin1Char('\\'));
}

QString launcherPath(const QString &name)
{
    return userDataRoot() + QStringLiteral("/Launcher/") + name;
}

bool canStart(const QString &name, const QString &executable)
{
    return !needsLauncher(executable) || !needsLauncher(launcherPath(name));
}

namespace {

// What the entry's Exec line runs for `executable`.
QString startedPath(const QString &name, const QString &executable)
{
    return needsLauncher(executable) ? launcherPath(name) : executable;
}

bool launcherLeadsTo(const QString &name, const QString &executable)
{
    const QFileInfo link(launcherPath(name));
    return link.isSymLink() && link.symLinkTarget() == QFileInfo(executable).absoluteFilePath();
}

bool writeLauncher(const QString &name, const QString &executable)
{
    const QString link = launcherPath(name);
    if (!QDir().mkpath(QFileInfo(link).absolutePath()))
        return false;
    if (launcherLeadsTo(name, executable))
        return true;
    QFile::remove(link);
    return QFile::link(executable, link);
}

} // namespace

bool isEnabled(const QString &name, const QString &executable)
{
    if (!canStart(name, executable))
        return false;
    if (needsLauncher(executable) && !launcherLeadsTo(name, executable))
        return false;
    QFile file(entryPath(name));
    // An autostart entry is a few lines; a huge file is not ours.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 64 * 1024)
        return false;
    const QString wanted = execValue(startedPath(name, executable));
    bool inEntry = false;
    bool execMatches = false;
    bool hidden = false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &raw : lines) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntry)
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("Exec"))
            execMatches = value == wanted;
        else if (key == QLatin1String("Hidden"))
            hidden = hidden || value == QLatin1String("true");
        else if (key == QLatin1String("X-GNOME-Autostart-enabled"))
            hidden = hidden || value == QLatin1String("false");
    }
    return execMatches && !hidden;
}

bool enable(const QString &name, const QString &executable)
{
    if (!canStart(name, executable))
        return false;
    if (needsLauncher(executable) && !writeLauncher(name, executable))
        return false;
    return atomicfile::write(entryPath(name), entryText(name, startedPath(name, executable)));
}

bool disable(const QString &name)
{
    // The link alone starts nothing; it goes once its entry is gone, so an
    // entry that could not be removed still starts the program.
    QFile file(entryPath(name));
    if (file.exists() && !file.remove())
        return false;
    const QString link = launcherPath(name);
    if (QFileInfo(link).isSymLink())
        QFile::remove(link);
    return true;
}

} // namespace autostart
