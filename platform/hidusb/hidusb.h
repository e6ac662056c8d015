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
// - Only reports of the kinds below, with the payload length their kind and
//   sub-kind have, reach a callback; anything else a device sends is dropped.
// - Payload pointers handed to a report callback point at a buffer that holds
//   at least 64 bytes, zero past payloadLength, so the fixed-size readers
//   below (GetDeviceBatteryStatus, GetDeviceStatusChanged, BufferToDPILed,
//   BufferToLedBar) never read past it.

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------
#pragma pack(push, 1)

// One DPI stage: device codes for both axes, the segment flags and the stage
// colour.
struct DpiStage
{
    unsigned char xCode;
    unsigned char yCode;
    unsigned char codeFlags;
    unsigned char red;
    unsigned char green;
    unsigned char blue;
};

// DPI indicator effect (record bytes 96..99).
struct DpiLedMode
{
    unsigned char mode;       // 1 steady, 2 breathing
    unsigned char brightness; // 16 .. 255
    unsigned char speed;      // 1 .. 5
    unsigned char on;         // 0 off, 1 on
};

// A light bar: the mouse light (record bytes 100..106) and the receiver's
// light bar use the same layout.
struct LedBarMode
{
    unsigned char mode;
    unsigned char red;
    unsigned char green;
    unsigned char blue;
    unsigned char speed;      // 0 .. 9
    unsigned char brightness; // 0 .. 9
    unsigned char on;         // 0 off, 1 on
};

// What one physical button does.
struct ButtonFunction
{
    unsigned char type;
    unsigned char p1;
    unsigned char p2;
};

// One key, consumer or mouse-button event of a key sequence or a macro.
struct KeyEvent
{
    unsigned char action; // 0 press, 1 release
    unsigned char kind;   // 0 modifier bit, 1 keyboard usage, 2 consumer usage, 4 mouse button bit
    std::uint16_t code;   // little-endian
    std::uint32_t delay;  // milliseconds after the event, little-endian
};

// Key sequence of one button.
struct KeyComboRecord
{
    unsigned char count;       // events in use, 0..6
    unsigned char reserved[3]; // always zero
    KeyEvent events[6];
};

// Macro of one button.
struct MacroRecord
{
    unsigned char nameLength;
    unsigned char name[30]; // local 8-bit encoding, no terminator
    union
    {
        unsigned char slotCount;  // event slots in use
        unsigned char eventCount; // the same byte under the macro editor's name
    };
    KeyEvent events[70];
};

// The whole configuration of one mouse: exactly 10460 bytes, no padding.
struct FlashDataMap
{
    unsigned char reportRate;           // 0
    unsigned char dpiStageCount;        // 1
    unsigned char activeDpiStage;       // 2
    unsigned char unused3;              // 3
    unsigned char triggerBits;          // 4
    unsigned char liftOffDistance;      // 5
    unsigned char debounceTime;         // 6
    unsigned char motionSync;           // 7
    unsigned char sleepTime;            // 8
    unsigned char straightLine;         // 9
    unsigned char rippleControl;        // 10
    unsigned char lightOffWhenMoving;   // 11
    unsigned char performance;          // 12
    unsigned char performanceTime;      // 13
    unsigned char modelChoose;          // 14
    signed char angle;                  // 15, -30 .. 30
    unsigned char angleSet;             // 16
    unsigned char unused17[25];         // 17 .. 41
    unsigned char fps20k;               // 42
    unsigned char wheelDebounce;        // 43
    unsigned char releaseDebounce;      // 44
    unsigned char unused45[3];          // 45 .. 47
    DpiStage dpiStages[8];              // 48 .. 95
    DpiLedMode dpiLed;                  // 96 .. 99
    LedBarMode mouseLight;              // 100 .. 106
    ButtonFunction buttonFunctions[16]; // 107 .. 154
    unsigned char unused155;            // 155
    KeyComboRecord keyCombos[16];       // 156 .. 987
    MacroRecord macros[16];             // 988 .. 10459
};

// The receiver's LED-information record: byte 0 is the choice (1, 2, 3;
// 0 = nothing read), bytes 1..9 go back to the receiver as they were read.
struct DongleRGB
{
    unsigned char ledInfoChoice;
    unsigned char deviceData[9];
};

// Function index of each of the receiver's three indicator LEDs.
struct DongleIndicatorLeds
{
    unsigned char led1Function;
    unsigned char led2Function;
    unsigned char led3Function;
};

// Answer of UsbFinderC_GetDeviceOnLineWithUsbAddress.
struct UsbAddressInfo
{
    std::uint16_t vendorId;      // 0..1
    std::uint16_t productId;     // 2..3
    unsigned char linkCode;      // 4
    unsigned char reserved;      // 5
    unsigned char online;        // 6: 1 when the mouse answers
    unsigned char receiverId[3]; // 7..9: the receiver the mouse belongs to
};

// Answer of UsbFinderC_GetUsbDeviceAttribute.
struct UsbDeviceAttribute
{
    std::uint16_t size;            // 0..1: 12
    std::uint16_t vendorId;        // 2..3
    std::uint16_t productId;       // 4..5
    std::uint16_t interfaceNumber; // 6..7
    std::uint16_t version;         // 8..9: major in the high byte, minor in the low byte
    std::uint16_t reserved;        // 10..11
};

// Answer of UsbFinderC_GetDeviceInfo: 16-bit id (low byte CID, high byte
// MID) and the connection code. Id 0 means the device did not answer.
struct UsbDeviceInfo
{
    std::uint16_t id;
    unsigned char linkCode;
    unsigned char cid() const { return static_cast<unsigned char>(id & 0xFF); }
    unsigned char mid() const { return static_cast<unsigned char>(id >> 8); }
};

// Report handed to the firmware callback.
struct UpgradeStatusReport
{
    unsigned char tag;    // 7 for a flashing report
    unsigned char status; // 1 progress, 2 finished
    unsigned char value;  // progress: percent 0..100; finished: 1 success, else failure
};

#pragma pack(pop)

static_assert(sizeof(DpiStage) == 6, "DpiStage is 6 bytes");
static_assert(sizeof(DpiLedMode) == 4, "DpiLedMode is 4 bytes");
static_assert(sizeof(LedBarMode) == 7, "LedBarMode is 7 bytes");
static_assert(sizeof(ButtonFunction) == 3, "ButtonFunction is 3 bytes");
static_assert(sizeof(KeyEvent) == 8, "KeyEvent is 8 bytes");
static_assert(offsetof(KeyEvent, code) == 2 && offsetof(KeyEvent, delay) == 4, "KeyEvent layout");
static_assert(sizeof(KeyComboRecord) == 52, "KeyComboRecord is 52 bytes");
static_assert(offsetof(KeyComboRecord, events) == 4, "KeyComboRecord layout");
static_assert(sizeof(MacroRecord) == 592, "MacroRecord is 592 bytes");
static_assert(offsetof(MacroRecord, name) == 1 && offsetof(MacroRecord, slotCount) == 31
                  && offsetof(MacroRecord, events) == 32,
              "MacroRecord layout");
static_assert(sizeof(FlashDataMap) == 10460, "FlashDataMap is 10460 bytes");
static_assert(offsetof(FlashDataMap, reportRate) == 0, "record layout");
static_assert(offsetof(FlashDataMap, dpiStageCount) == 1, "record layout");
static_assert(offsetof(FlashDataMap, activeDpiStage) == 2, "record layout");
static_assert(offsetof(FlashDataMap, triggerBits) == 4, "record layout");
static_assert(offsetof(FlashDataMap, liftOffDistance) == 5, "record layout");
static_assert(offsetof(FlashDataMap, debounceTime) == 6, "record layout");
static_assert(offsetof(FlashDataMap, motionSync) == 7, "record layout");
static_assert(offsetof(FlashDataMap, sleepTime) == 8, "record layout");
static_assert(offsetof(FlashDataMap, straightLine) == 9, "record layout");
static_assert(offsetof(FlashDataMap, rippleControl) == 10, "record layout");
static_assert(offsetof(FlashDataMap, lightOffWhenMoving) == 11, "record layout");
static_assert(offsetof(FlashDataMap, performance) == 12, "record layout");
static_assert(offsetof(FlashDataMap, performanceTime) == 13, "record layout");
static_assert(offsetof(FlashDataMap, modelChoose) == 14, "record layout");
static_assert(offsetof(FlashDataMap, angle) == 15, "record layout");
static_assert(offsetof(FlashDataMap, angleSet) == 16, "record layout");
static_assert(offsetof(FlashDataMap, unused17) == 17, "record layout");
static_assert(offsetof(FlashDataMap, fps20k) == 42, "record layout");
static_assert(offsetof(FlashDataMap, wheelDebounce) == 43, "record layout");
static_assert(offsetof(FlashDataMap, releaseDebounce) == 44, "record layout");
static_assert(offsetof(FlashDataMap, unused45) == 45, "record layout");
static_assert(offsetof(FlashDataMap, dpiStages) == 48, "record layout");
static_assert(offsetof(FlashDataMap, dpiLed) == 96, "record layout");
static_assert(offsetof(FlashDataMap, mouseLight) == 100, "record layout");
static_assert(offsetof(FlashDataMap, buttonFunctions) == 107, "record layout");
static_assert(offsetof(FlashDataMap, unused155) == 155, "record layout");
static_assert(offsetof(FlashDataMap, keyCombos) == 156, "record layout");
static_assert(offsetof(FlashDataMap, macros) == 988, "record layout");
static_assert(sizeof(DongleRGB) == 10, "DongleRGB is 10 bytes");
static_assert(sizeof(DongleIndicatorLeds) == 3, "DongleIndicatorLeds is 3 bytes");
static_assert(sizeof(UsbAddressInfo) == 10 && offsetof(UsbAddressInfo, online) == 6
                  && offsetof(UsbAddressInfo, receiverId) == 7,
              "UsbAddressInfo layout");
static_assert(sizeof(UsbDeviceAttribute) == 12 && offsetof(UsbDeviceAttribute, version) == 8,
              "UsbDeviceAttribute layout");
static_assert(sizeof(UsbDeviceInfo) == 3, "UsbDeviceInfo is 3 bytes");
static_assert(sizeof(UpgradeStatusReport) == 3, "UpgradeStatusReport is 3 bytes");

// ---------------------------------------------------------------------------
// Numbers shared with the callers
// ---------------------------------------------------------------------------
namespace hidusb {

// Report kinds (header byte 1) and data sub-kinds (header byte 4).
enum ReportKind : unsigned char {
    ReportBattery = 4,    // payload: level %, charging
    ReportPairStatus = 6, // payload byte 0: 1 pairing, 2 failed, 3 paired
    ReportData = 8,       // sub-kind below; header byte 3 is the error code
    ReportSettingsCleared = 9,
    ReportStatusChanged = 10, // payload for GetDeviceStatusChanged
    ReportConfigSlot = 14,    // payload byte 0: active slot 0..3
    ReportVersion = 18,       // payload: 16-bit version, little-endian
    ReportReceiverLed = 21,
    ReportLongRangeOff = 23 // 10-byte payload
};
enum DataSubKind : unsigned char {
    DataFullDump = 0, // 6912 bytes; 1 byte: report rate code
    DataReportRate = 0,
    DataActiveStage = 4, // 1 byte
    DataDpiLed = 76,     // 8 bytes
    DataLightBar = 160   // 9 bytes
};

// Lengths of the fixed payloads.
constexpr int kDumpSize = 6912;
constexpr int kDpiLedPayloadSize = 8;
constexpr int kLightBarPayloadSize = 9;
constexpr int kLongRangeOffPayloadSize = 10;
constexpr int kReportHeaderSize = 5;
constexpr int kPacketSize = 64;

// Flags filled by GetDeviceStatusChanged.
enum StatusFlag {
    StatusDpiStage = 0,
    StatusReportRate = 1,
    StatusConfig = 2,
    StatusDpiLed = 3,
    StatusUnused = 4,
    StatusLightBar = 5,
    StatusBattery = 6,
    StatusFlagCount = 7
};

// Firmware images: a 728-byte header, then the firmware proper. The header
// holds the length of the firmware proper and its CRC-32 (so a truncated or
// damaged file is known before a byte of it is flashed), a little-endian
// 32-bit version, the target, CID and MID bytes and a NUL-padded image name.
// platform/hidusb/firmwareimage.h builds and checks images.
constexpr int kFirmwareHeaderSize = 728;
constexpr int kFirmwareLengthOffset = 8;
constexpr int kFirmwareCrcOffset = 12;
constexpr int kFirmwareVersionOffset = 16;
constexpr int kFirmwareTargetOffset = 20;
constexpr int kFirmwareCidOffset = 21;
constexpr int kFirmwareMidOffset = 22;
constexpr int kFirmwareNameOffset = 87;
constexpr int kFirmwareNameLength = 64;
constexpr unsigned char kTargetMouse = 210;
constexpr unsigned char kTargetReceiver = 211;
constexpr unsigned char kUpgradeReportTag = 7;

// Configuration slots a mouse holds.
constexpr int kConfigSlots = 4;

} // namespace hidusb

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
