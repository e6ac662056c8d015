#include "device/setters.h"

#include "app/postmsg.h"
#include "device/devicestate.h"

#include <cstring>

namespace {

constexpr int kButtons = 16;
constexpr int kDpiStages = 8;
constexpr int kDpiStagesAt = 48;
constexpr int kButtonFunctionsAt = 107;
constexpr int kKeyCombosAt = 156;
constexpr int kMacrosAt = 988;
constexpr int kButtonFunctionSize = 3;
constexpr int kKeyComboSize = 52;
constexpr int kMacroSize = 592;
constexpr int kDpiStageSize = 6;

static_assert(sizeof(ButtonFunction) == kButtonFunctionSize, "ButtonFunction is 3 bytes");
static_assert(sizeof(KeyComboRecord) == kKeyComboSize, "KeyComboRecord is 52 bytes");
static_assert(sizeof(MacroRecord) == kMacroSize, "MacroRecord is 592 bytes");
static_assert(sizeof(DpiStage) == kDpiStageSize, "DpiStage is 6 bytes");
static_assert(kMacrosAt + kButtons * kMacroSize == kFlashDataSize, "macros end the record");

bool deviceAnswers()
{
    return (UsbFinderC_GetDeviceOnLine(currentDevicePath) & 0xFF) != 0;
}

// The mouse is silent: no notice while a page refills itself from device data
// (its handlers would otherwise raise one notice per control it sets).
void offlineRule()
{
    if (buttonPageRefreshing || lightPageRefreshing || sensorPageRefreshing)
        return;
    emit PostMsg::instance()->SigMouseOffLineo(0);
}

// Online test, ownership test, write, send.
template <typename Write>
bool writeAndSend(Write write)
{
    if (!deviceAnswers()) {
        offlineRule();
        return false;
    }
    if (!currentFlashDataIsOpenDevice())
        return false;
    // A record the device cannot hold (a macro delay beyond what its image
    // stores) is refused whole by the library: keep the last record that was
    // sent, so the page puts its control back and nothing half-written stays.
    const FlashDataMap previous = currentFlashData;
    write(recordBytes(currentFlashData));
    if (!ProtocolDataUpdate(&currentFlashData)) {
        currentFlashData = previous;
        return false;
    }
    return true;
}

bool setByte(int offset, int value)
{
    return writeAndSend([&](unsigned char *r) { r[offset] = quint8(value); });
}

bool validButton(int button) { return button >= 0 && button < kButtons; }
bool validStage(int stage) { return stage >= 0 && stage < kDpiStages; }

} // namespace

bool checkDeviceOnline()
{
    if (deviceAnswers())
        return true;
    offlineRule();
    return false;
}

bool setReportRate(int code) { return setByte(0, code); }
bool setActiveDpiStage(int stage) { return setByte(2, stage); }
bool setLod(int code) { return setByte(5, code); }
bool setDebounceTime(int milliseconds) { return setByte(6, milliseconds); }
bool setMotionSync(int on) { return setByte(7, on); }
bool setStopCloseTime(int code) { return setByte(8, code); }
bool setStraightLine(int on) { return setByte(9, on); }
bool setRippleControl(int on) { return setByte(10, on); }
bool setLightOffWhenMoving(int on) { return setByte(11, on); }
bool setPerformance(int on) { return setByte(12, on); }
bool setPerformanceTime(int code) { return setByte(13, code); }
bool setModelChoose(int index) { return setByte(14, index); }
bool set20KOpen(int on) { return setByte(42, on); }
bool setWheelDebounce(int milliseconds) { return setByte(43, milliseconds); }
bool setReleaseDebounce(int milliseconds) { return setByte(44, milliseconds); }
bool setDpiLedBrightness(int value) { return setByte(97, value); }
bool setDpiLedSpeed(int value) { return setByte(98, value); }
bool setMouseLightSpeed(int value) { return setByte(104, value); }
bool setMouseLightBrightness(int value) { return setByte(105, value); }

bool setAngle(int degrees)
{
    return writeAndSend([&](unsigned char *r) {
        r[16] = 1;
        r[15] = quint8(qint8(degrees));
    });
}

bool setDpiStageCode(int stage, int xCode, int yCode, int flags)
{
    if (!validStage(stage))
        return false;
    return writeAndSend([&](unsigned char *r) {
        unsigned char *s = r + kDpiStagesAt + kDpiStageSize * stage;
        s[0] = quint8(xCode);
        s[1] = quint8(yCode);
        s[2] = quint8(flags);
    });
}

bool setDpiStageColor(int stage, int red, int green, int blue)
{
    if (!validStage(stage))
        return false;
    return writeAndSend([&](unsigned char *r) {
        unsigned char *s = r + kDpiStagesAt + kDpiStageSize * stage;
        s[3] = quint8(red);
        s[4] = quint8(green);
        s[5] = quint8(blue);
    });
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
        std::memcpy(r + kDpiStagesAt + kDpiStageSize * indexA, &a, kDpiStageSize);
        std::memcpy(r + kDpiStagesAt + kDpiStageSize * indexB, &b, kDpiStageSize);
        r[2] = quint8(active);
        r[1] = quint8(active + 1);
    });
}

bool setDpiLedMode(int mode)
{
    return writeAndSend([&](unsigned char *r) {
        if (quint8(mode) == 0) {
            r[99] = 0;
        } else {
            r[99] = 1;
            r[96] = quint8(mode);
        }
    });
}

bool setMouseLightMode(int mode)
{
    return writeAndSend([&](unsigned char *r) {
        if (quint8(mode) == 0) {
            r[106] = 0;
        } else {
            r[106] = 1;
            r[100] = quint8(mode);
        }
    });
}

bool setMouseLightColor(int red, int green, int blue)
{
    return writeAndSend([&](unsigned char *r) {
        r[101] = quint8(red);
        r[102] = quint8(green);
        r[103] = quint8(blue);
    });
}

bool setButtonFunction(int button, int type, int p1, int p2)
{
    if (!validButton(button))
        return false;
    return writeAndSend([&](unsigned char *r) {
        unsigned char *f = r + kButtonFunctionsAt + kButtonFunctionSize * button;
        f[0] = quint8(type);
        f[1] = quint8(p1);
        f[2] = quint8(p2);
    });
}

bool setButtonKeyCombo(int button, const ButtonFunction *function, const KeyComboRecord *keys)
{
    if (!validButton(button) || !function || !keys)
        return false;
    ButtonFunction f;
    KeyComboRecord k;
    std::memcpy(&f, function, sizeof f);
    std::memcpy(&k, keys, sizeof k);
    return writeAndSend([&](unsigned char *r) {
        std::memcpy(r + kButtonFunctionsAt + kButtonFunctionSize * button, &f, kButtonFunctionSize);
        std::memcpy(r + kKeyCombosAt + kKeyComboSize * button, &k, kKeyComboSize);
    });
}

bool setButtonMacro(int button, const ButtonFunction *function, const MacroRecord *macro)
{
    if (!validButton(button) || !function || !macro)
        return false;
    ButtonFunction f;
    MacroRecord m;
    std::memcpy(&f, function, sizeof f);
    std::memcpy(&m, macro, sizeof m);
    return writeAndSend([&](unsigned char *r) {
        std::memcpy(r + kButtonFunctionsAt + kButtonFunctionSize * button, &f, kButtonFunctionSize);
        std::memcpy(r + kMacrosAt + kMacroSize * button, &m, kMacroSize);
    });
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
