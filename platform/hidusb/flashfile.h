#pragma once

// The file in which a simulated device keeps its flash between runs (under
// the per-user root's "Simulator" folder): an envelope (tag, length,
// checksum) around the device's state.

#include "platform/hidusb/simdevice.h"

#include <QByteArray>

namespace hidusb {
namespace sim {

// Takes a device's state from the bytes of its flash file. False (device
// untouched) when the file is damaged or belongs to another kind of device.
bool applyFlashFile(const QByteArray &file, SimDevice *device);
// The bytes of a device's flash file, and the envelope (tag, length,
// checksum) around a body.
QByteArray flashFileBytes(const SimDevice &device);
QByteArray wrapFlashBody(const QByteArray &body);

} // namespace sim
} // namespace hidusb
