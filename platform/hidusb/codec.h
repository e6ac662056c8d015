#pragma once

// The device protocol: every command and report travels in 64-byte packets.
//
//   byte 0      magic 0xA7
//   byte 1      kind: a command (host -> device, 0x80 and up) or a report
//               kind (device -> host, hidusb::ReportKind) or an answer
//   byte 2      sequence number
//   byte 3      status / error code (0 = fine)
//   byte 4      sub-kind or command argument
//   byte 5      payload bytes in this packet, 0..54
//   byte 6      chunk index of a payload that spans several packets
//   byte 7      chunk count (0 or 1: the payload fits in this packet)
//   bytes 8-61  payload
//   bytes 62-63 CRC-16 (CCITT, little-endian) of bytes 0..61
//
// A report longer than 54 bytes (the 6912-byte configuration dump) is sent
// as consecutive chunks of one sequence number; the reassembler rebuilds it
// and drops anything out of order.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/hidusb/hidusb.h"

namespace hidusb {
namespace proto {

constexpr std::uint8_t kMagic = 0xA7;
constexpr int kPacketBytes = 64;
constexpr int kHeaderBytes = 8;
constexpr int kMaxPayload = 54;
constexpr int kMaxChunks = 255;
// The record image travels in blocks of 48 bytes, one block per packet
// (2 bytes block index + 48 data bytes).
constexpr int kImageBlockBytes = 48;
constexpr int kImageBlocks = 6912 / kImageBlockBytes; // 144
// Firmware images travel in 48-byte chunks (4 bytes offset + 48 bytes).
constexpr int kFirmwareChunkBytes = 48;

enum Command : std::uint8_t {
    // asynchronous requests, answered by reports
    CmdReadAllFlash = 0x81,
    CmdReadBattery = 0x82,
    CmdReadConfig = 0x83,
    CmdReadCurrentDpi = 0x84,
    CmdReadDpiLed = 0x85,
    CmdReadLedBar = 0x86,
    CmdReadReportRate = 0x87,
    CmdReadVersion = 0x88,
    CmdReadPairStatus = 0x89,
    CmdSetCurrentConfig = 0x90,
    CmdSetBatteryOptimize = 0x91,
    CmdClearSetting = 0x92,
    CmdEnterPairOnlyCid = 0x93,
    CmdSetDriverStatus = 0x94,
    CmdWriteBlock = 0xA0, // payload: block index (2), 48 bytes
    // synchronous queries, answered with one packet of the same kind
    CmdGetInfo = 0xC0,
    CmdGetAttribute = 0xC1,
    CmdGetOnlineAddress = 0xC2,
    CmdGetVersion = 0xC3,
    CmdGetSlaveVersion = 0xC4,
    CmdGetDongleRgb = 0xC5,
    CmdSetDongleRgb = 0xC6,
    CmdGetBarMode = 0xC7,
    CmdSetBarMode = 0xC8,
    CmdGetIndicator = 0xC9,
    CmdSetIndicator = 0xCA,
    CmdGetLongRange = 0xCB,
    CmdSetLongRange = 0xCC,
    CmdSetDongleId = 0xCD,
    CmdEnterBoot = 0xD0,
    CmdFlashBegin = 0xD1, // payload: total length (4), header bytes 16..22
    CmdFlashChunk = 0xD2, // payload: offset (4), up to 48 bytes
    CmdFlashFinish = 0xD3,
};

// Answers and internal reports (device -> host) that never reach a callback.
enum Answer : std::uint8_t {
    // status 0 taken, 1 busy, 2 no link; the write's sequence number;
    // payload: block index (2)
    AnsWriteAck = 0xE0,
};

// Status codes.
enum Status : std::uint8_t {
    StatusOk = 0,
    StatusBusy = 1,
    StatusNoLink = 2,
    StatusRefused = 3,
};

struct Packet
{
    std::array<std::uint8_t, kPacketBytes> bytes{};

    std::uint8_t kind() const { return bytes[1]; }
    std::uint8_t seq() const { return bytes[2]; }
    std::uint8_t status() const { return bytes[3]; }
    std::uint8_t sub() const { return bytes[4]; }
    int payloadLength() const { return bytes[5]; }
    int chunkIndex() const { return bytes[6]; }
    int chunkCount() const { return bytes[7]; }
    const std::uint8_t *payload() const { return bytes.data() + kHeaderBytes; }
};

std::uint16_t crc16(const std::uint8_t *data, std::size_t length);

// Builds one packet. `payloadLength` above kMaxPayload is cut (callers
// never pass more).
Packet makePacket(std::uint8_t kind, std::uint8_t seq, std::uint8_t status, std::uint8_t sub,
                  const std::uint8_t *payload = nullptr, int payloadLength = 0, int chunkIndex = 0, int chunkCount = 0);

// Splits a report payload into chunks (one packet when it fits).
std::vector<Packet> makeReport(std::uint8_t kind, std::uint8_t seq, std::uint8_t status, std::uint8_t sub,
                               const std::uint8_t *payload, std::size_t length);

// Checks a received packet: magic, lengths, chunk numbering, CRC.
bool validPacket(const std::uint8_t *bytes, std::size_t length);
// Parses 64 bytes into *out; false when they are not a valid packet.
bool decodePacket(const std::uint8_t *bytes, std::size_t length, Packet *out);

// A whole report as callers see it.
struct Report
{
    std::array<std::uint8_t, 5> header{}; // magic, kind, seq, status, sub
    std::vector<std::uint8_t> payload;    // exactly the payload bytes
};

// Rebuilds reports from packets of one source. Chunks of one report must
// arrive in order with the same kind, sequence number and count; anything
// else drops the partial report.
class Reassembler
{
public:
    // Feeds one valid packet. Returns true and fills *out when a report is
    // complete.
    bool feed(const Packet &packet, Report *out);
    void reset();
    std::uint64_t dropped() const { return dropped_; }

private:
    bool active_ = false;
    std::uint8_t kind_ = 0, seq_ = 0, status_ = 0, sub_ = 0;
    int count_ = 0, next_ = 0;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t dropped_ = 0;
};

// Whether a report of this kind, sub-kind and payload length is one the
// devices send; anything else is dropped before it reaches a callback.
bool knownReport(std::uint8_t kind, std::uint8_t sub, std::size_t length);

} // namespace proto
} // namespace hidusb
