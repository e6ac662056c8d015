#include "shell/startup.h"

#include "app/exeisrun.h"
#include "app/singleinstance.h"
#include "platform/fonts.h"
#include "platform/screen.h"
#include "platform/userpaths.h"
#include "shell/dialogmain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

int purgeOldFiles(const QString &folder, const QDateTime &now)
{
    const qint64 nowSecs = now.toSecsSinceEpoch();
    int removed = 0;
    const QFileInfoList entries = QDir(folder).entryInfoList();
    for (const QFileInfo &entry : entries) {
        if (!entry.isFile())
            continue;
        const qint64 ageSecs = nowSecs - entry.lastModified().toSecsSinceEpoch();
        // A file dated in the future has a negative age: it is not old.
        if (ageSecs / 86400 > 7 && QFile::remove(entry.absoluteFilePath()))
            ++removed;
    }
    return removed;
}

int applyScalePolicy(int desktopWidth)
{
    const int factor = screen::scaleFactorForWidth(desktopWidth);
    if (factor > 0)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(factor));
    return factor;
}

int runVelmorax(int argc, char *argv[])
{
    // 1. Per-user folders and the user settings file.
    createUserFolders();

    // 2. Scaling policy, decided before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, false);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, false);
    applyScalePolicy(screen::desktopWidth());

    // 3. Old diagnostics.
    const QString root = userDataRoot();
    purgeOldFiles(root + QStringLiteral("/Log"));
    purgeOldFiles(root + QStringLiteral("/Exception"));

    // 4. Application object and the font factor.
    QApplication app(argc, argv);
    // The application holds its own display connection now.
    screen::releaseEarlyDisplay();
    // The program ends through its own quit path; a notice closed while the
    // window is hidden to the tray must not end it.
    app.setQuitOnLastWindowClosed(false);
    fonts::installSubstitutions();
    const float factor = screen::fontFactor();

    // 5. Single instance.
    SingleInstance instance;
    if (!instance.acquire()) {
        ExeIsRun notice(nullptr);
        notice.exec();
        return 0;
    }

    // 6.-8. Main window, fonts, event loop.
    auto *window = new DialogMain(nullptr);
    window->scaleFonts(factor);
    window->show();
    return app.exec();
}
