#pragma once

// What the library needs from whatever carries its packets: a list of the
// attached devices, an ordered packet channel to each device and a
// synchronous question/answer exchange. The simulated receivers and mice
// are one implementation; nothing outside platform/hidusb knows which runs.

#include "platform/hidusb/codec.h"

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace hidusb {

struct UsbDeviceEntry
{
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
    bool bootMode = false;
    // Boot-mode devices: what the device is (firmware target, CID, MID).
    std::uint8_t bootTarget = 0, bootCid = 0, bootMid = 0;
};

struct TransportCounters
{
    std::uint64_t packetsToDevice = 0;
    std::uint64_t bytesToDevice = 0;
    std::uint64_t packetsFromDevice = 0;
    std::uint64_t bytesFromDevice = 0;
};

class Transport
{
public:
    // A packet a device sent on its own or in answer to send().
    using PacketSink = std::function<void(const std::string &path, const proto::Packet &packet)>;
    // The set of attached devices changed.
    using ChangeSink = std::function<void()>;
    // Whether each attached path's mouse answers (the whole table).
    using OnlineSink = std::function<void(const std::unordered_map<std::string, bool> &online)>;

    virtual ~Transport() = default;

    // Installs the sinks; the transport calls them from its own threads or
    // from the thread that changed the hardware, never while the library
    // is inside one of its own calls into the transport.
    virtual void setSinks(PacketSink packets, ChangeSink changes, OnlineSink online) = 0;

    virtual std::vector<UsbDeviceEntry> enumerate() = 0;
    // Queues a packet for a device; answers arrive through the packet sink in
    // the order the packets were sent. False when the path names no device.
    virtual bool send(const std::string &path, const proto::Packet &packet) = 0;
    // A question answered at once; false when the device gave no answer.
    virtual bool transact(const std::string &path, const proto::Packet &request, proto::Packet *reply) = 0;

    virtual TransportCounters counters() const = 0;
    virtual void resetCounters() = 0;
    // True when no packet is waiting or being handled.
    virtual bool idle() const = 0;
};

} // namespace hidusb
