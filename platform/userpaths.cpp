#include "platform/userpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const char kProductFolder[] = "VELMORAX";
}

QString userDataRoot()
{
#ifdef Q_OS_WIN
    return QDir::homePath() + QStringLiteral("/AppData/Local/") + QLatin1String(kProductFolder);
#else
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QLatin1Char('/') + QLatin1String(kProductFolder);
#endif
}

QStringList userSubFolders()
{
    return {QStringLiteral("/Log"),
            QStringLiteral("/Device_Info"),
            QStringLiteral("/Exception"),
            QStringLiteral("/usersetting"),
            QStringLiteral("/usersetting/MainPage"),
            QStringLiteral("/usersetting/MacroPage"),
            QStringLiteral("/usersetting/SensorPage")};
}

void createUserFolders()
{
    const QString root = userDataRoot();
    for (const QString &sub : userSubFolders()) {
        const QString path = root + sub;
        if (!QDir(path).exists())
            QDir().mkpath(path);
    }
    const QString macroIni = root + QStringLiteral("/Macro.ini");
    if (!QFile::exists(macroIni)) {
        QFile file(macroIni);
        if (file.open(QIODevice::WriteOnly | QIODevice::Text))
            file.close();
    }
}

QString userConfigRoot()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QLatin1Char('/') + QLatin1String(kProductFolder);
}

QString dialogStartFolder(const QString &folder)
{
#ifdef Q_OS_WIN
    return folder;
#else
    const bool namesDrive = folder.size() >= 2 && folder.at(0).isLetter() && folder.at(1) == QLatin1Char(':');
    return namesDrive ? QDir::homePath() : folder;
#endif
}

QString withDefaultSuffix(const QString &path, const QString &suffix)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + suffix : path;
}
