#pragma once

// The records and numbers the device-access library shares with its callers:
// the configuration record of a mouse and its parts (DPI stages, lights,
// button functions, key sequences, macros), the receiver's records, the
// device entry and address answers, the report kinds and the firmware image
// layout. Plain data, no call: the hub, the page-link kit and the pages
// include this; only the device link and the shell include the call header
// (hidusb.h), which includes this one.

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
