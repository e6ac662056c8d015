#pragma once

// Device-access library: every call the program makes to the mouse and its
// USB receiver goes through the functions declared here.
//
// Conventions
// - Paths and ids are NUL-terminated 8-bit strings. A path names one attached
//   USB device (a receiver, a mouse on its cable, or a device in boot mode).
// - A yes/no result is a bool; other results may be ignored by callers.
// - No function here blocks on a callback. Callbacks run on threads of the
//   library, never inside a call made by the program:
//     * report callbacks (UsbServerC_Start) run on the report thread, one
//       report at a time, in the order the device sent them;
//     * device-change callbacks (StartUsbChanged) run on the notification
//       thread;
//     * firmware callbacks (UsbUpgrade_Start) run on the upgrade thread.
//   The library holds no lock while it calls back, so a callback may call any
//   function of this header; requests made from inside a callback are queued
//   and the call returns at once. UsbServer_Exit and StopUsbChanged never wait
//   for a callback that is running; once StopUsbChanged has returned no
//   device-change callback starts.
// - Only reports of the kinds in records.h, with the payload length their kind and
//   sub-kind have, reach a callback; anything else a device sends is dropped.
// - Payload pointers handed to a report callback point at a buffer that holds
//   at least 64 bytes, zero past payloadLength, so the fixed-size readers
//   below (GetDeviceBatteryStatus, GetDeviceStatusChanged, BufferToDPILed,
//   BufferToLedBar) never read past it.

#include "platform/hidusb/records.h"

// ---------------------------------------------------------------------------
// Callbacks
// ---------------------------------------------------------------------------
// A report of the device opened with UsbServerC_Start. header[1] kind,
// header[3] error code, header[4] sub-kind.
typedef void (*UsbReportCallback)(const unsigned char *header, int headerLength, const unsigned char *payload,
                                  int payloadLength);
// The set of attached devices may have changed.
typedef void (*UsbChangedCallback)();
// A flashing report, 3 bytes laid out as UpgradeStatusReport.
typedef void (*UsbUpgradeCallback)(const unsigned char *report);

// ---------------------------------------------------------------------------
// Finding devices and direct device calls (path first)
// ---------------------------------------------------------------------------
// Paths of the attached devices with this vendor and product id (texts such
// as "0x1A2B" or "1A2B"). *count receives the number of paths; the in-value
// is not used. The array belongs to the library and stays valid until the
// next call of either Find function on the same thread.
const char *const *UsbFinderC_FindHidDevicesByDefaultDeviceId(const char *vid, const char *pid, int *count);
// The same for one HID collection (usagePage/usage; every simulated device
// has one collection, so any values match).
const char *const *UsbFinderC_FindHidDevicesByDeviceId(const char *vid, const char *pid, int usagePage, int usage,
                                                       int *count);
// USB attributes; version at byte 8. False when the path names no device.
bool UsbFinderC_GetUsbDeviceAttribute(const char *path, UsbDeviceAttribute *attribute);
// Id and connection code; id 0 when the device did not answer. `reserved`: pass 0.
UsbDeviceInfo UsbFinderC_GetDeviceInfo(const char *path, int reserved);
// Does the mouse answer? Answered from state the library keeps (microseconds).
bool UsbFinderC_GetDeviceOnLine(const char *path);
// Fills all 10 bytes of *info; true when the mouse answers.
bool UsbFinderC_GetDeviceOnLineWithUsbAddress(const char *path, UsbAddressInfo *info);
// Mouse firmware version: major in the high byte, minor in the low byte; 0
// when the mouse does not answer.
int UsbFinderC_GetVersion(const char *path);
// Receiver firmware version (same form) into *version; false when unknown.
bool UsbFinderC_GetSlaveVersion(const char *path, int *version);
// Receiver LED-information record.
bool UsbFinderC_Get4KDongleRGBValue(const char *path, DongleRGB *rgb);
bool UsbFinderC_Set4KDongleRGB(const char *path, const DongleRGB *rgb);
// Receiver light bar.
bool UsbFinderC_GetDongleRGBBarMode(const char *path, LedBarMode *mode);
bool UsbFinderC_SetDongleRGBBarMode(const char *path, const LedBarMode *mode);
// Receiver indicator LEDs.
bool UsbFinderC_GetDongleIndicatorLed(const char *path, DongleIndicatorLeds *leds);
bool UsbFinderC_SetDongleIndicatorLed(const char *path, const DongleIndicatorLeds *leds);
// Long-range mode: *mode = 0 off, 1 on; untouched (and false) without an answer.
bool UsbFinderC_GetLongRangeMode(const char *path, unsigned char *mode);
bool UsbFinderC_SetLongRangeMode(const char *path, unsigned char on);
// Writes a receiver id record (3 id bytes, 0, kind code) into a cabled mouse.
bool UsbFinderC_SetDongleIDToMouse(const char *path, const unsigned char *record5);
// Opens a device for UsbFinderC_ReadWriteDeviceData.
bool UsbFinderC_OpenDevice(const char *path);
// One raw 64-byte packet of the device protocol to the opened device and its
// answer into reply (length bytes, at most 64).
bool UsbFinderC_ReadWriteDeviceData(const unsigned char *packet, unsigned char *reply, int length);

// ---------------------------------------------------------------------------
// Report service of one device
// ---------------------------------------------------------------------------
// Starts (or moves) report delivery: reports of `path` go to `callback`.
// `path2` names the interface the reports come from; pass the same path.
bool UsbServerC_Start(const char *path, const char *path2, UsbReportCallback callback);
bool UsbServer_SetPCDriverStatus(int status);
// Ends report delivery. Does not wait for a report callback that is running.
void UsbServer_Exit();
// Requests; each is answered by a report.
bool UsbServer_ReadAllFlashData();     // ReportData / DataFullDump, 6912 bytes
bool UsbServer_ReadBatteryLevel();     // ReportBattery
bool UsbServer_ReadConfig();           // ReportConfigSlot
bool UsbServer_ReadCurrentDPI();       // ReportData / DataActiveStage
bool UsbServer_ReadDPILed();           // ReportData / DataDpiLed
bool UsbServer_ReadLedBar();           // ReportData / DataLightBar
bool UsbServer_ReadReportRate();       // ReportData / DataReportRate, 1 byte
bool UsbServer_ReadVersion();          // ReportVersion
bool UsbServer_ReadDonglePairStatus(); // ReportPairStatus
// Commands.
bool UsbServer_SetCurrentConfig(unsigned char index);
bool UsbServer_SetBatteryOptimizeEnable(unsigned char enable);
bool UsbServer_SetClearSetting(); // answered by ReportSettingsCleared
bool UsbServer_EnterDonglePairOnlyCid(unsigned char cid);

// ---------------------------------------------------------------------------
// Firmware
// ---------------------------------------------------------------------------
// Number of devices in boot mode that fit the image (by its header's
// target, CID and MID) into *count (the in-value is not used); also returned.
int UsbUpgradeC_FindBootDevices(const unsigned char *image, int length, int *count);
// Flashes the image into the one device that fits it (a device in boot mode,
// else the one attached device of that target, which then enters boot mode).
// Progress and exactly one finished report per call arrive on the upgrade
// thread, in the order of the calls. A device that makes no progress for
// timeoutMs fails the flash; a device unplugged during the flash fails it at
// once. False when the image fails its checks (hidusb::firmwareImageValid)
// or no single device fits; the callback then still gets its failure
// report, once timeoutMs has passed, and no byte is flashed.
bool UsbUpgrade_Start(const unsigned char *image, int length, UsbUpgradeCallback callback, int timeoutMs);

// ---------------------------------------------------------------------------
// Record conversion and sending
// ---------------------------------------------------------------------------
// Fills *record from a 6912-byte configuration dump. False (record untouched)
// when the dump is not one.
bool ProtocolDataParser(const unsigned char *dump, FlashDataMap *record);
// Sends the record to the open device without blocking: only the blocks of
// the device image that changed since the last confirmed write go on the
// wire. False (nothing sent) when no device is open or the record cannot be
// represented in the device image.
bool ProtocolDataUpdate(const FlashDataMap *record);
// Decoders of report payloads (8 and 9 bytes).
void BufferToDPILed(const unsigned char *payload, DpiLedMode *mode);
void BufferToLedBar(const unsigned char *payload, LedBarMode *mode);
// status[0] level in percent, status[1] charging (not 0), status[2..3] 0.
void GetDeviceBatteryStatus(const unsigned char *payload, unsigned char *status4);
// flags[0..6], see hidusb::StatusFlag.
void GetDeviceStatusChanged(const unsigned char *payload, unsigned char *flags7);

// ---------------------------------------------------------------------------
// Device-change notification
// ---------------------------------------------------------------------------
// Arms notification with `callback` (replacing the previous one). The
// callback runs once within a few milliseconds after arming, then after
// every change of the attached devices: settleMs after the first change of
// a burst, once for the whole burst.
bool StartUsbChanged(UsbChangedCallback callback, int settleMs);
// Ends notification; no callback starts after this returns. Does not wait
// for a callback that is running.
void StopUsbChanged();
