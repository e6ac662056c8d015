#pragma once

#include "device/deviceallinfo.h"
#include "platform/hidusb/hidusb.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// Discovery of the attached supported devices while the device list page is
// shown. The lists are rebuilt by every device-change callback of the list
// page and read by the list page, the device choice, the pairing dialog and
// the firmware repair dialog. All of it runs on the GUI thread.

// Devices the list page shows (after the cable rule); entry N is button "btn"+N.
extern QList<DeviceAllInfo> listedDevices;
// The same entries before the cable rule removed any.
extern QList<DeviceAllInfo> enumeratedDevices;
// Catalogue product id lists as read by the last callback.
extern QStringList wirelessPids;
extern QStringList wireless2Pids;
extern QStringList wireless4Pids;
extern QStringList wireless8Pids;
// "Option"/"DeviceTotal", read by the list page's constructor; the model
// index of an unrecognised device.
extern int deviceTotal;
// Answer buffer of the USB-address query for the list entries.
extern UsbAddressInfo listAddressInfo;

// The list page's device-change callback. Safe to call from any thread: the
// work is handed to the GUI thread. A change that arrives while the previous
// one is still being handled (a notice of it is open) runs once afterwards.
void onListDeviceChanged();

// Appends one entry to both lists for every identified path; a path found
// again under another id pair is not listed twice.
void enumerateListDevices(const QStringList &vids, const QStringList &pids);
// Fills id, connection and model fields; true when the entry is to be listed.
bool identifyListedDevice(DeviceAllInfo &info);
// Re-reads the online state and receiver ID of entry n (no-op when out of range).
void refreshEntryAddress(int n);
// Re-identifies entry n, refreshes its online state and receiver ID, and has
// the list page repaint its button (no-op when out of range).
void refreshDeviceEntry(int n);

// Duplicate rule: counts the entries per connection group and model index
// (refreshing each entry's address on the way) and tells whether two
// devices of the same model sit in the same group.
bool applyDuplicateRule();
// Cable rule: for every model with exactly one wired device, removes the
// model's non-wired entries from listedDevices (enumeratedDevices keeps them).
void applyCableRule();

// Connection group of the duplicate rule: 0 wired, 1..4 behind a receiver
// with connection code 0, 4, 1, 5; -1 for anything else.
int connectionGroupOf(const DeviceAllInfo &info);
// The text form of a receiver version read from the attribute record.
QString versionText(quint16 version);
