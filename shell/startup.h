#pragma once

#include <QDateTime>
#include <QString>

// Runs the whole program: per-user folders, scaling, purge, single instance,
// main window and event loop. Returns the process exit status: 0 when
// another instance is already running, otherwise the event loop's result.
int runVelmorax(int argc, char *argv[]);

// Removes the plain files of one folder whose last modification lies more
// than 7 whole days before `now`. Sub-folders and their content are never
// touched; a file dated in the future is kept. Returns the number removed.
int purgeOldFiles(const QString &folder, const QDateTime &now = QDateTime::currentDateTime());

// Sets "QT_SCALE_FACTOR" for a desktop of this width (physical pixels) when
// it is wider than 1920; returns the factor set, 0 when none.
int applyScalePolicy(int desktopWidth);
