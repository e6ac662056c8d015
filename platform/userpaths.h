#pragma once

#include <QString>
#include <QStringList>

// The per-user data root of the program. Every per-user file (settings,
// caches, macro files, crash dumps) lives below it.
//   Windows:   <home>/AppData/Local/VELMORAX
//   elsewhere: <generic data location>/VELMORAX  (~/.local/share/VELMORAX)
QString userDataRoot();

// The sub-folders of the root created at start-up, in creation order,
// each with its leading "/".
QStringList userSubFolders();

// Creates every missing sub-folder and an empty "Macro.ini". Failures are
// ignored: the stores treat missing files as empty.
void createUserFolders();

// The user's configuration folder for the program's own INI files
// (registry replacement): <generic config location>/VELMORAX.
QString userConfigRoot();

// The start folder of a file dialog: a folder that names a Windows drive
// ("G:", "C:/Data") is the user's home folder elsewhere.
QString dialogStartFolder(const QString &folder);

// `path` with ".<suffix>" added when its file name has no suffix: Qt's save
// dialog adds none, and the matching open dialog lists only that suffix.
QString withDefaultSuffix(const QString &path, const QString &suffix);
