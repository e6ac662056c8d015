#pragma once

#include "device/deviceallinfo.h"
#include "platform/hidusb/records.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>

// Firmware images shipped in the folder "bin" beside the executable, and the
// lookups that tell whether one of them is newer than what a device runs.

// The folder searched for images: "<application folder>/bin", unless a test
// pointed it elsewhere with setFirmwareImageFolder (an empty text goes back).
QString firmwareImageFolder();
void setFirmwareImageFolder(const QString &folder);

// Header layout of an image file: the one the device-access library flashes.
constexpr int firmwareHeaderSize = hidusb::kFirmwareHeaderSize;
constexpr int firmwareVersionOffset = hidusb::kFirmwareVersionOffset;
constexpr int firmwareTargetOffset = hidusb::kFirmwareTargetOffset;
constexpr int firmwareCidOffset = hidusb::kFirmwareCidOffset;
constexpr int firmwareMidOffset = hidusb::kFirmwareMidOffset;
constexpr int firmwareNameOffset = hidusb::kFirmwareNameOffset;
constexpr int firmwareNameLength = hidusb::kFirmwareNameLength;

constexpr int firmwareTargetMouse = hidusb::kTargetMouse;
constexpr int firmwareTargetReceiver = hidusb::kTargetReceiver;

// Images larger than this are not firmware for this mouse; they are passed
// over instead of being read into memory.
constexpr qint64 firmwareMaxImageSize = 16 * 1024 * 1024;

// The image chosen by the last findFirmwareImage (at most one entry); the
// upgrade flashes entry 0.
extern QList<QByteArray> firmwareImages;
// The image chosen by the last findRepairImage (at most one entry).
extern QList<QByteArray> repairImages;
// The flags below are written on the GUI thread and by the device page's
// device-change callback on a library thread, hence atomic.
// "Option"/"CID" of the catalogue as a number, set by checkFirmwareUpdate.
extern std::atomic<int> upgradeCid;
// Whether a newer receiver / mouse image exists for the open device.
extern std::atomic<bool> receiverUpdateFlag;
extern std::atomic<bool> mouseUpdateFlag;
// Set while a firmware upgrade flashes a part.
extern std::atomic<bool> upgradeRunning;
// Set while the update and repair dialog's repair runs (from its start to
// the end of its last part).
extern std::atomic<bool> repairRunning;
// Set while the process-wide firmware update and repair dialog is shown (it
// says so itself); device changes then ask it to look at the devices again.
extern std::atomic<bool> updateRepairDialogShown;

// "v" + major (decimal) + "." + minor (two upper-case hex digits or more):
// 0x0105 gives v1.05, 0x0A1F gives v10.1F.
QString firmwareVersionText(quint32 version);

// A version text taken apart: the major number in decimal, the minor number
// in hexadecimal ("v1.0A" is major 1, minor 10). Texts of another form are
// not valid.
struct FirmwareVersion
{
    bool valid = false;
    quint32 major = 0;
    quint32 minor = 0;
    // The header's form: major in bits 8-31, minor in bits 0-7.
    quint32 number() const { return (major << 8) | minor; }
};
FirmwareVersion parseFirmwareVersion(const QString &text);

// Receiver kind of a connection code: 0 -> 1, 4 -> 2, 1 -> 4, 5 -> 8, else 0.
int receiverKindOf(int linkCode);
// Catalogue key of the receiver image name for a kind ("DM", "D2M", "D4M",
// "D8M"); empty for any other kind.
QString receiverImageKey(int receiverKind);

// The searches read every "*.bin" of the image folder and pass over files
// that cannot be read, are damaged (shorter or longer than their header
// says, wrong checksum) or are for another target, CID, MID or name; of the
// rest the highest version wins.
//
// Chooses the image strictly newer than `version` (any version when
// `version` is empty) and keeps its bytes as entry 0 of firmwareImages. A
// version text that cannot be read chooses nothing. True when one was
// chosen.
bool findFirmwareImage(quint8 target, const QString &version, const QString &name, quint8 cid, quint8 mid);
// The same search without keeping anything; false at once for an empty
// version.
bool probeFirmwareImage(quint8 target, const QString &version, const QString &name, quint8 cid, quint8 mid);
// The repair search: any sound image of the part, whatever the device runs;
// fills repairImages.
bool findRepairImage(quint8 target, const QString &version, const QString &name, quint8 cid, quint8 mid);

// Does a newer image exist for the mouse (target 210) or for the receiver of
// the given kind (other targets) of the open device's catalogue model?
bool checkFirmwareUpdate(int target, const QString &version, int receiverKind);

// What the firmware images say about a listed device before it is paired:
// whether the mouse version is on record (nothing is searched without it),
// and whether a newer mouse or receiver image exists. The searches leave the
// chosen image in firmwareImages as findFirmwareImage does (mouse first).
struct DeviceFirmwareCheck
{
    bool mouseVersionKnown = false;
    bool mouseUpdate = false;
    bool receiverUpdate = false;
};
DeviceFirmwareCheck checkDeviceFirmware(const DeviceAllInfo &device);

// The firmware version of the receiver at `path` (major in the high byte,
// minor in the low byte) into *version; false when the receiver does not
// tell it.
bool readReceiverVersion(const QString &path, int *version);
