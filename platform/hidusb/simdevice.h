#pragma once

// One simulated receiver or mouse as the simulator holds it: what a real one
// holds (flash per configuration slot, firmware version, battery, pairing,
// receiver lights, boot mode) and the faults a test may give it.

#include "platform/hidusb/dumpformat.h"
#include "platform/hidusb/hidusb.h"

#include <QString>

#include <array>
#include <chrono>
#include <cstdint>

namespace hidusb {
namespace sim {

using Image = std::array<std::uint8_t, dump::kImageSize>;

struct SimDevice
{
    enum Type { Receiver, Mouse };
    Type type = Mouse;
    QString id;
    std::uint16_t vid = 0, pid = 0;
    std::uint8_t cid = 0, mid = 0;
    std::uint16_t version = 0x0100;
    bool plugged = true; // receiver in USB / mouse cable plugged in
    bool bootMode = false;
    int idAnswersAfter = 1; // GetDeviceInfo answers an id from this request on
    int idAsked = 0;
    bool answerNothing = false;
    int rejectWrites = 0;
    int failFlashAt = -1;
    bool driverStatus = false;
    // receiver
    int kind = 1; // 1, 2, 4, 8
    std::array<std::uint8_t, 3> receiverId{{0x12, 0x34, 0x56}};
    bool longRange = false;
    DongleRGB rgb{};
    LedBarMode bar{};
    DongleIndicatorLeds leds{};
    int pairState = 0; // 0 idle, 1 pairing, 2 failed, 3 paired
    bool pairOutcome = true;
    std::uint8_t pairCid = 0;
    std::chrono::steady_clock::time_point pairDone{};
    // mouse
    QString pairedTo; // receiver id
    bool awake = true;
    int battery = 80;
    bool charging = false;
    bool batteryOptimize = true;
    int activeSlot = 0;
    std::array<Image, kConfigSlots> flash{};
    // flashing
    std::uint32_t flashTotal = 0, flashReceived = 0;
    std::uint16_t flashVersion = 0;
    bool flashActive = false;
    std::chrono::steady_clock::time_point flashStart{};
    // scenario said so explicitly (these win over the stored flash)
    bool explicitVersion = false, explicitBoot = false;
    bool dirty = false;
};

// The catalogue's first model as the default scenario uses it.
struct CatalogueDefaults
{
    std::uint16_t vid = 0x3A7C;
    std::uint16_t usbPid = 0x7C10;
    std::uint16_t wirelessPid[4] = {0x7C21, 0x7C22, 0x7C24, 0x7C28}; // kinds 1, 2, 4, 8
    std::uint8_t cid = 86, mid = 29;
};

} // namespace sim
} // namespace hidusb
