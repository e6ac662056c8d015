#pragma once

#include <QByteArray>
#include <QString>

// Files the program keeps for the user (device caches, the registry store,
// the simulated devices' flash) are replaced as a whole or not at all.
namespace atomicfile {

// Writes `bytes` to `path` through a temporary file in the same folder that
// is renamed over `path` only once every byte is on disk. On any failure
// (full disk, read-only folder, short write) the old file stays as it was,
// the temporary file is removed, `error` says why and false is returned.
// Temporary files of earlier writes to `path` that were killed before their
// rename are removed first. The folder is created when missing.
bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// The name pattern of the temporary files write() leaves behind when it is
// killed before the rename: "<file name>." and six letters or digits.
bool isLeftoverOf(const QString &fileName, const QString &candidate);

// How old a leftover must be before write() removes it: a younger one may
// belong to a write still under way in another process.
constexpr int kLeftoverAgeSeconds = 10;

// Says once per process, on the console, that the user's files cannot be
// written; later calls stay silent. write() calls it on every failure.
void reportUnwritable(const QString &path, const QString &reason);

} // namespace atomicfile
