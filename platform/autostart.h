#pragma once

#include <QString>

// Start with the desktop session: an XDG autostart entry
// "<config folder>/autostart/<name>.desktop" whose Exec line runs one
// executable. The file on disk is the truth; nothing else is consulted.
namespace autostart {

// "<generic config location>/autostart/<name>.desktop".
QString entryPath(const QString &name);

// The Exec value that runs `executable` with no arguments: the path in
// double quotes, with the characters the desktop-entry format reserves
// escaped, so a path with spaces, quotes, '$' or '%' runs as it is.
QString execValue(const QString &executable);

// The whole entry text for `executable`, shown as `name`.
QByteArray entryText(const QString &name, const QString &executable);

// A path holding '%' or '\' is written correctly escaped, yet common
// session launchers never start it. Such an executable is started through
// a symbolic link to it, "<user data root>/Launcher/<name>", whose own path
// needs no escaping.
bool needsLauncher(const QString &executable);
QString launcherPath(const QString &name);
// False when neither the executable's path nor the launcher's can be
// started from an entry (both hold '%' or '\'): no entry is written.
bool canStart(const QString &name, const QString &executable);

// True when the entry exists, is not hidden and its Exec line runs
// exactly `executable` (through its launcher link when it needs one).
bool isEnabled(const QString &name, const QString &executable);

// Writes the entry (atomically), and the launcher link first when the path
// needs one; false when either could not be written or canStart is false.
bool enable(const QString &name, const QString &executable);

// Removes the entry and any launcher link; true when no entry is left (a
// missing one included).
bool disable(const QString &name);

} // namespace autostart
