#pragma once

#include <QString>

// Per-user key/value store standing in for the registry values the program
// keeps: one INI file in the user's configuration folder, one section per
// key path, e.g.
//   [HKEY_CURRENT_USER\Software\VELMORAX\VELMORAX\Mouse Drive Test]
//   MouseVer0A01=v1.05
// The file is re-read on every call and replaced atomically on every write,
// so two processes and several threads see a consistent file.
namespace registry {

// Key paths the program uses.
extern const char kProgramKey[];   // ...\VELMORAX\VELMORAX\VELMORAX
extern const char kDriveTestKey[]; // ...\VELMORAX\VELMORAX\Mouse Drive Test

QString filePath();

bool contains(const QString &keyPath, const QString &name);
// A missing value yields defaultValue.
QString value(const QString &keyPath, const QString &name, const QString &defaultValue = QString());
// Stored as text; false when the file could not be written.
bool setValue(const QString &keyPath, const QString &name, const QString &value);
// Removing a missing value is not an error.
bool remove(const QString &keyPath, const QString &name);

} // namespace registry
