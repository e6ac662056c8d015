#pragma once

#include "device/deviceallinfo.h"
#include "platform/hidusb/records.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// Discovery of the attached supported devices, for both device-change
// callbacks: the list page's (the device list is rebuilt) and the device
// page's (the open device is followed, or given up when it is gone). Both
// enumerate through one loop, identify devices through one id request loop
// and run on the GUI thread behind one re-entry guard each. Discovery knows
// no widget: the list page registers itself as the DeviceListView, and the
// device page hears of its changes through hub signals only.

// What the list page does at the steps of a list change.
class DeviceListView
{
public:
    // Shows or hides the repair button and sets the prompt (start of every
    // list change).
    virtual void updateRepairPrompt() = 0;
    // Rebuilds the device views from listedDevices (end of every list change).
    virtual void buildDeviceButtons() = 0;
    // Repaints the button, marker and icon of entry n of listedDevices.
    virtual void repaintDeviceEntry(int n) = 0;

protected:
    ~DeviceListView() = default;
};

// The list page while it exists (it sets and clears this itself).
extern DeviceListView *listPage;

// Devices the list page shows (after the cable rule); entry N is button "btn"+N.
extern QList<DeviceAllInfo> listedDevices;
// The same entries before the cable rule removed any.
extern QList<DeviceAllInfo> enumeratedDevices;
// Catalogue product id lists as read by the last list change.
extern QStringList wirelessPids;
extern QStringList wireless2Pids;
extern QStringList wireless4Pids;
extern QStringList wireless8Pids;
// "Option"/"DeviceTotal", read by the list page's constructor; the model
// index of an unrecognised device.
extern int deviceTotal;
// Answer buffer of the USB-address query for the list entries.
extern UsbAddressInfo listAddressInfo;

// ---------------------------------------------------------------------------
// The list page's callback.

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

// ---------------------------------------------------------------------------
// The device page's callback: while the device page is open, every change
// enumerates the attached devices again into pageDevices, follows the open
// mouse when it is plugged in by cable next to its receiver, returns to the
// device list when the open device is gone and refreshes the firmware-update
// markers of the settings page.

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
