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

// True when the entry exists, is not hidden and its Exec line runs
// exactly `executable`.
bool isEnabled(const QString &name, const QString &executable);

// Writes the entry (atomically); false when it could not be written.
bool enable(const QString &name, const QString &executable);

// Removes the entry; true when no entry is left (a missing one included).
bool disable(const QString &name);

} // namespace autostart
