#pragma once

#include "device/deviceallinfo.h"

#include <QString>
#include <QStringList>

// Device changes while the device page is open: the device page's
// device-change callback enumerates the attached devices again into
// pageDevices, follows the open mouse when it is plugged in by cable next to
// its receiver, returns to the device list when the open device is gone and
// refreshes the firmware-update markers of the settings page.

// The callback handed to StartUsbChanged while the device page is shown. Safe
// to call from any thread: the work runs on the GUI thread, where the pages
// and the open device's state live. Changes that arrive while one is being
// handled are handled once more afterwards. Nothing happens once the device
// page has been left.
void onPageDeviceChanged();

// Rebuilds pageDevices from the catalogue id lists; may set currentDevicePath.
void enumeratePageDevices(const QStringList &vids, const QStringList &pids);

// Fills the identity fields of `entry` found at `path`; 0 no id, 1 a
// catalogued model, 2 our customer id but an unknown model, 3 another maker's
// device. May refresh currentDevice.
int identifyDevice(DeviceAllInfo &entry, const QString &path);

// Makes `entry` the open device when it answers and starts a worker pass.
void attachDevice(DeviceAllInfo entry);

// The receiver kind (1, 2, 4 or 8) of the receiver next to a cabled mouse, or
// 0 when pageDevices does not show exactly the mouse and one receiver.
int pageReceiverKind(const QList<DeviceAllInfo> &devices, QString *receiverText);
