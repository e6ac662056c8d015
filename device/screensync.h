#pragma once

// Clock synchronisation of a device with a small screen: a 40-byte time
// packet with a checksum in its last byte, sent to the first screen device
// found until the device echoes it. QtCore only.

#include <QDateTime>
#include <QStringList>

#include <array>

constexpr int kScreenPacketSize = 40;
constexpr int kScreenSyncAttempts = 5;
using ScreenPacket = std::array<unsigned char, kScreenPacketSize>;

// The time packet for `now` (local time): bytes 0..10 as the device reads
// them, every other byte 0; the checksum is not written yet.
ScreenPacket screenTimePacket(const QDateTime &now);

// (0x55 - the sum of the bytes before the last one) modulo 256.
quint8 packetChecksum(const unsigned char *bytes, int length);
// The last byte equals packetChecksum of the bytes before it. A length
// below 1 is never valid.
bool packetChecksumValid(const unsigned char *bytes, int length);

// Opens the screen device at `path` for sendWithRetry; false when it cannot
// be opened.
bool openScreenDevice(const QByteArray &path);

// Writes the checksum into the packet's last byte, then exchanges the whole
// packet with the device opened by openScreenDevice, up to
// kScreenSyncAttempts times, until the reply echoes bytes 0..6 and carries a
// valid checksum. True (and *reply filled) on such an echo.
bool sendWithRetry(ScreenPacket &packet, ScreenPacket *reply);

// The screen devices' product ids: the non-empty items of the catalogue
// list "Wireless8_PID" (group "Option").
QStringList screenDeviceIds();
// The vendor id the search uses: the catalogue list "VID"'s first item.
QString screenVendorId();

// Finds the attached screen devices (a device-change callback, any thread)
// and returns how many there are.
int findScreenDevices();
// The same, in the form the device-change notification calls.
void onScreenDevicesChanged();
// The paths findScreenDevices found last.
QStringList screenDevices();
