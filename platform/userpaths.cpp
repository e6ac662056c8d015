#include "platform/userpaths.h"

#include <QDir>
#include <QStandardPaths>

QString userDataRoot()
{
#ifdef Q_OS_WIN
    return QDir::homePath() + "/AppData/Local/VELMORAX";
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/VELMORAX";
#endif
}
