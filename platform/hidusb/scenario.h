#pragma once

// The simulator's scenarios: which receivers and mice are attached, read
// from JSON (a file, the file named by VELMORAX_DEVICES, or the default).

#include "platform/hidusb/simdevice.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace hidusb {
namespace sim {

CatalogueDefaults catalogueDefaults();

// Parses a scenario; false with *error on any fault.
bool parseScenario(const QByteArray &json, std::vector<SimDevice> *devices, int *flashMs, QString *error);
QByteArray defaultScenario();

// The largest scenario file read.
constexpr qint64 kScenarioFileLimit = 1024 * 1024;
// Reads a scenario file: only a regular file (a device or a pipe could
// block the reader or never end) of at most kScenarioFileLimit bytes; false
// with *error ("too large", "not a regular file", ...) otherwise.
bool readScenarioFile(const QString &path, QByteArray *json, QString *error);
// The scenario named by VELMORAX_DEVICES when it can be read and parsed;
// otherwise empty, with *error saying why when the variable is set.
QByteArray environmentScenario(QString *error);

// Reads at most `limit` bytes of a regular file; false with *error (when
// given) for anything else.
bool readRegularFile(const QString &path, qint64 limit, QByteArray *bytes, QString *error);

} // namespace sim
} // namespace hidusb
