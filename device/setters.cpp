#include "device/setters.h"

#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/linkcontrols.h"
#include "platform/hidusb/hidusb.h"

#include <cstddef>
#include <cstring>

namespace {

constexpr int kButtons = int(sizeof(FlashDataMap::buttonFunctions) / sizeof(ButtonFunction));
constexpr int kDpiStages = int(sizeof(FlashDataMap::dpiStages) / sizeof(DpiStage));

// The mouse is silent: no notice while a page refills itself from device data
// (its handlers would otherwise raise one notice per control it sets).
void offlineRule()
{
    if (buttonPageRefreshing || lightPageRefreshing || sensorPageRefreshing)
        return;
    emit PostMsg::instance()->SigMouseOffLineo(0);
}

// Online test, ownership test, write, send. The change is made on a copy,
// which becomes the current record only when the library took it: a record
// the device cannot hold (a macro delay beyond what its image stores) is
// refused whole, and the page then puts its control back to what the mouse
// still holds.
template <typename Write>
bool writeAndSend(Write write)
{
    if (!openDeviceAnswers()) {
        offlineRule();
        return false;
    }
    if (!currentFlashDataIsOpenDevice())
        return false;
    FlashDataMap next = currentFlashData;
    write(recordBytes(next));
    if (!ProtocolDataUpdate(&next))
        return false;
    currentFlashData = next;
    return true;
}

// The receiver's records: the same rules, with the receiver's own call.
template <typename Record, typename Edit>
bool writeReceiver(ReceiverRecord which, Record *held, Edit edit, bool (*send)(const char *, const Record *),
                   bool thenSendRecord)
{
    if (!openDeviceAnswers()) {
        offlineRule();
        return false;
    }
    if (!receiverRecordIsOpenDevice(which))
        return false;
    Record next = *held;
    edit(next);
    if (!send(currentDevicePath, &next))
        return false;
    *held = next;
    if (thenSendRecord)
        sendFlashData();
    return true;
}

bool setReceiverLightBar(void (*edit)(LedBarMode &, int, int, int), int a, int b = 0, int c = 0)
{
    return writeReceiver(
        ReceiverRecord::LightBar, receiverLedBar, [&](LedBarMode &bar) { edit(bar, a, b, c); },
        &UsbFinderC_SetDongleRGBBarMode, true);
}

bool setByte(std::size_t offset, int value)
{
    return writeAndSend([&](unsigned char *r) { r[offset] = quint8(value); });
}

bool validButton(int button)
{
    return button >= 0 && button < kButtons;
}
bool validStage(int stage)
{
    return stage >= 0 && stage < kDpiStages;
}

// Three consecutive bytes, such as a stage's codes or colour, a button's
// function or the light colour.
bool setThreeBytes(std::size_t offset, int first, int second, int third)
{
    return writeAndSend([&](unsigned char *r) {
        r[offset] = quint8(first);
        r[offset + 1] = quint8(second);
        r[offset + 2] = quint8(third);
    });
}

bool setStageBytes(int stage, std::size_t within, int first, int second, int third)
{
    if (!validStage(stage))
        return false;
    return setThreeBytes(offsetof(FlashDataMap, dpiStages) + sizeof(DpiStage) * stage + within, first, second, third);
}

// Mode 0 only clears the on byte and keeps the stored effect; any other mode
// is stored and switches the light on.
bool setLightMode(std::size_t at, std::size_t onByte, int mode)
{
    return writeAndSend([&](unsigned char *r) {
        if (quint8(mode) == 0) {
            r[at + onByte] = 0;
        } else {
            r[at + onByte] = 1;
            r[at] = quint8(mode);
        }
    });
}

// A button's function and its key sequence or macro. Copies first: callers
// may pass pointers into currentFlashData itself. With `recordFirst`, when
// both change, the record goes first and the function in a send of its
// own: the mouse takes the packets in order, so a send cut off half way
// never leaves the button pointing at a record only partly written. When
// the second send fails the first stays the current record (the mouse may
// hold it) and the caller hears of the failure, the button keeping its old
// function.
template <typename Record>
bool setButtonRecord(int button, const ButtonFunction *function, const Record *record, std::size_t recordsAt,
                     bool recordFirst)
{
    if (!validButton(button) || !function || !record)
        return false;
    ButtonFunction f;
    Record copy;
    std::memcpy(&f, function, sizeof f);
    std::memcpy(&copy, record, sizeof copy);
    const std::size_t functionAt = offsetof(FlashDataMap, buttonFunctions) + sizeof f * button;
    const std::size_t recordAt = recordsAt + sizeof copy * button;
    const auto writeRecord = [&](unsigned char *r) { std::memcpy(r + recordAt, &copy, sizeof copy); };
    const unsigned char *held = recordBytes(currentFlashData);
    const bool functionChanges = std::memcmp(held + functionAt, &f, sizeof f) != 0;
    const bool recordChanges = std::memcmp(held + recordAt, &copy, sizeof copy) != 0;
    if (recordFirst && functionChanges && recordChanges && !writeAndSend(writeRecord))
        return false;
    return writeAndSend([&](unsigned char *r) {
        writeRecord(r);
        std::memcpy(r + functionAt, &f, sizeof f);
    });
}

} // namespace

bool checkDeviceOnline()
{
    if (openDeviceAnswers())
        return true;
    offlineRule();
    return false;
}

bool setReportRate(int code)
{
    return setByte(offsetof(FlashDataMap, reportRate), code);
}
bool setActiveDpiStage(int stage)
{
    return setByte(offsetof(FlashDataMap, activeDpiStage), stage);
}
bool setDpiStageCount(int count)
{
    return setByte(offsetof(FlashDataMap, dpiStageCount), count);
}
bool setLod(int code)
{
    return setByte(offsetof(FlashDataMap, liftOffDistance), code);
}
bool setDebounceTime(int milliseconds)
{
    return setByte(offsetof(FlashDataMap, debounceTime), milliseconds);
}
bool setMotionSync(int on)
{
    return setByte(offsetof(FlashDataMap, motionSync), on);
}
bool setStopCloseTime(int code)
{
    return setByte(offsetof(FlashDataMap, sleepTime), code);
}
bool setStraightLine(int on)
{
    return setByte(offsetof(FlashDataMap, straightLine), on);
}
bool setRippleControl(int on)
{
    return setByte(offsetof(FlashDataMap, rippleControl), on);
}
bool setLightOffWhenMoving(int on)
{
    return setByte(offsetof(FlashDataMap, lightOffWhenMoving), on);
}
bool setPerformance(int on)
{
    return setByte(offsetof(FlashDataMap, performance), on);
}
bool setPerformanceTime(int code)
{
    return setByte(offsetof(FlashDataMap, performanceTime), code);
}
bool setModelChoose(int index)
{
    return setByte(offsetof(FlashDataMap, modelChoose), index);
}
bool set20KOpen(int on)
{
    return setByte(offsetof(FlashDataMap, fps20k), on);
}
bool setWheelDebounce(int milliseconds)
{
    return setByte(offsetof(FlashDataMap, wheelDebounce), milliseconds);
}
bool setReleaseDebounce(int milliseconds)
{
    return setByte(offsetof(FlashDataMap, releaseDebounce), milliseconds);
}

bool setDpiLedBrightness(int value)
{
    return setByte(offsetof(FlashDataMap, dpiLed) + offsetof(DpiLedMode, brightness), value);
}
bool setDpiLedSpeed(int value)
{
    return setByte(offsetof(FlashDataMap, dpiLed) + offsetof(DpiLedMode, speed), value);
}
bool setMouseLightSpeed(int value)
{
    return setByte(offsetof(FlashDataMap, mouseLight) + offsetof(LedBarMode, speed), value);
}
bool setMouseLightBrightness(int value)
{
    return setByte(offsetof(FlashDataMap, mouseLight) + offsetof(LedBarMode, brightness), value);
}

bool setAngle(int degrees)
{
    return writeAndSend([&](unsigned char *r) {
        r[offsetof(FlashDataMap, angleSet)] = 1;
        r[offsetof(FlashDataMap, angle)] = quint8(qint8(degrees));
    });
}

bool setTriggerBit(int bit, bool on)
{
    return writeAndSend([&](unsigned char *r) {
        unsigned char &bits = r[offsetof(FlashDataMap, triggerBits)];
        bits = on ? quint8(bits | bit) : quint8(bits & ~bit);
    });
}

bool setDpiStageCode(int stage, int xCode, int yCode, int flags)
{
    return setStageBytes(stage, offsetof(DpiStage, xCode), xCode, yCode, flags);
}

bool setDpiStageColor(int stage, int red, int green, int blue)
{
    return setStageBytes(stage, offsetof(DpiStage, red), red, green, blue);
}

bool swapDpiStages(const DpiStage *stageA, const DpiStage *stageB, int indexB, int indexA, int active)
{
    if (!stageA || !stageB || !validStage(indexA) || !validStage(indexB))
        return false;
    // Copies first: the callers pass pointers into currentFlashData itself.
    DpiStage a, b;
    std::memcpy(&a, stageA, sizeof a);
    std::memcpy(&b, stageB, sizeof b);
    return writeAndSend([&](unsigned char *r) {
        std::memcpy(r + offsetof(FlashDataMap, dpiStages) + sizeof(DpiStage) * indexA, &a, sizeof a);
        std::memcpy(r + offsetof(FlashDataMap, dpiStages) + sizeof(DpiStage) * indexB, &b, sizeof b);
        r[offsetof(FlashDataMap, activeDpiStage)] = quint8(active);
        r[offsetof(FlashDataMap, dpiStageCount)] = quint8(active + 1);
    });
}

bool setDpiLedMode(int mode)
{
    return setLightMode(offsetof(FlashDataMap, dpiLed), offsetof(DpiLedMode, on), mode);
}

bool setMouseLightMode(int mode)
{
    return setLightMode(offsetof(FlashDataMap, mouseLight), offsetof(LedBarMode, on), mode);
}

bool setMouseLightColor(int red, int green, int blue)
{
    return setThreeBytes(offsetof(FlashDataMap, mouseLight) + offsetof(LedBarMode, red), red, green, blue);
}

bool setButtonFunction(int button, int type, int p1, int p2)
{
    if (!validButton(button))
        return false;
    return setThreeBytes(offsetof(FlashDataMap, buttonFunctions) + sizeof(ButtonFunction) * button, type, p1, p2);
}

bool setButtonKeyCombo(int button, const ButtonFunction *function, const KeyComboRecord *keys)
{
    return setButtonRecord(button, function, keys, offsetof(FlashDataMap, keyCombos), false);
}

bool setButtonMacro(int button, const ButtonFunction *function, const MacroRecord *macro)
{
    return setButtonRecord(button, function, macro, offsetof(FlashDataMap, macros), true);
}

bool changeRecord(const std::function<void(FlashDataMap &)> &edit)
{
    if (!edit)
        return false;
    return writeAndSend([&](unsigned char *r) { edit(*reinterpret_cast<FlashDataMap *>(r)); });
}

RecordWrite replaceRecord(const FlashDataMap &record)
{
    if (!openDeviceAnswers()) {
        offlineRule();
        return RecordWrite::Offline;
    }
    if (!currentFlashDataIsOpenDevice())
        return RecordWrite::NotLoaded;
    FlashDataMap next = record; // `record` may be currentFlashData itself
    if (!ProtocolDataUpdate(&next))
        return RecordWrite::Refused;
    currentFlashData = next;
    return RecordWrite::Sent;
}

RecordWrite importRecord(const FlashDataMap &record)
{
    const RecordWrite written = replaceRecord(record);
    if (written != RecordWrite::NotLoaded)
        return written;
    const DeviceAttach attach = currentAttach();
    if (!attachIsOpenDevice(attach))
        return RecordWrite::NotLoaded;
    FlashDataMap next = record;
    if (!ProtocolDataUpdate(&next))
        return RecordWrite::Refused;
    currentFlashData = next;
    markFlashDataRead(attach.number);
    return RecordWrite::Sent;
}

bool sendFlashDataIfOnline()
{
    return writeAndSend([](unsigned char *) {});
}

void sendFlashData()
{
    if (currentFlashDataIsOpenDevice())
        ProtocolDataUpdate(&currentFlashData);
}

void requestSettingsClear()
{
    settingsClearAnswered = false;
    UsbServer_SetBatteryOptimizeEnable(0);
    sendFlashData();
    UsbServer_SetClearSetting();
}

bool setReceiverLightMode(int mode)
{
    return setReceiverLightBar(
        [](LedBarMode &bar, int m, int, int) {
            bar.mode = quint8(m);
            bar.on = quint8(m) != 0 ? 1 : 0;
        },
        mode);
}

bool setReceiverLightColor(int red, int green, int blue)
{
    return setReceiverLightBar(
        [](LedBarMode &bar, int r, int g, int b) {
            bar.red = quint8(r);
            bar.green = quint8(g);
            bar.blue = quint8(b);
        },
        red, green, blue);
}

bool setReceiverLightSpeed(int value)
{
    return setReceiverLightBar([](LedBarMode &bar, int v, int, int) { bar.speed = quint8(v); }, value);
}

bool setReceiverLightBrightness(int value)
{
    return setReceiverLightBar([](LedBarMode &bar, int v, int, int) { bar.brightness = quint8(v); }, value);
}

bool setReceiverIndicatorLed(int led, int function)
{
    if (led < 0 || led > 2)
        return false;
    return writeReceiver(
        ReceiverRecord::IndicatorLeds, receiverIndicatorLeds,
        [&](DongleIndicatorLeds &leds) {
            unsigned char *bytes = reinterpret_cast<unsigned char *>(&leds);
            bytes[led] = quint8(function);
        },
        &UsbFinderC_SetDongleIndicatorLed, true);
}

bool setReceiverLedInfoChoice(int choice)
{
    return writeReceiver(
        ReceiverRecord::LedInfo, dongleRgb, [&](DongleRGB &rgb) { rgb.ledInfoChoice = quint8(choice); },
        &UsbFinderC_Set4KDongleRGB, false);
}

bool setLongRangeMode(bool on)
{
    if (!openDeviceAnswers()) {
        offlineRule();
        return false;
    }
    if (!attachIsOpenDevice(currentAttach()))
        return false;
    return UsbFinderC_SetLongRangeMode(currentDevicePath, on ? 1 : 0);
}
