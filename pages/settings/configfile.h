#pragma once

// Exported configuration files: one mouse record with the sensor name of the
// model it was made for. The button page writes them, the wait notice reads
// them for an import. QtCore only.

#include "platform/hidusb/records.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// Reads an exported configuration file for the open model into *out.
// Returns 0 accepted, 1 not a readable configuration file, 2 made for another
// sensor or holding more DPI stages than the model has. *out is written only
// when the result is 0.
int readConfigFile(const QString &fileName, FlashDataMap *out);

// A configuration file holds the model's sensor name in a 12-byte field:
// the name's UTF-8 bytes, cut to 12 or padded with NUL. The reader compares
// what the field can hold.
QByteArray configFileSensorField(const QString &sensorName);
// Writes a configuration file of `record` for a model with `sensorName`, in
// one step (an old file stays whole when the write fails). False when it
// could not be written.
bool writeConfigFile(const QString &fileName, const QString &sensorName, const FlashDataMap &record);

// The same check on an open stream, with the model's sensor name and its
// highest DPI stage count given.
int parseConfigFile(QIODevice *device, const QString &sensorName, int maxStages, FlashDataMap *out);
