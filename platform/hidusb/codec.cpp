#include "platform/hidusb/codec.h"

#include <algorithm>
#include <cstring>

namespace hidusb {
namespace proto {

std::uint16_t crc16(const std::uint8_t *data, std::size_t length)
{
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= static_cast<std::uint16_t>(data[i]) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc =
                (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x1021) : static_cast<std::uint16_t>(crc << 1);
    }
    return crc;
}

Packet makePacket(std::uint8_t kind, std::uint8_t seq, std::uint8_t status, std::uint8_t sub,
                  const std::uint8_t *payload, int payloadLength, int chunkIndex, int chunkCount)
{
    Packet p;
    payloadLength = std::max(0, std::min(payloadLength, kMaxPayload));
    p.bytes[0] = kMagic;
    p.bytes[1] = kind;
    p.bytes[2] = seq;
    p.bytes[3] = status;
    p.bytes[4] = sub;
    p.bytes[5] = static_cast<std::uint8_t>(payloadLength);
    p.bytes[6] = static_cast<std::uint8_t>(chunkIndex);
    p.bytes[7] = static_cast<std::uint8_t>(chunkCount);
    if (payload && payloadLength > 0)
        std::memcpy(p.bytes.data() + kHeaderBytes, payload, static_cast<std::size_t>(payloadLength));
    const std::uint16_t crc = crc16(p.bytes.data(), kPacketBytes - 2);
    p.bytes[62] = static_cast<std::uint8_t>(crc & 0xFF);
    p.bytes[63] = static_cast<std::uint8_t>(crc >> 8);
    return p;
}

std::vector<Packet> makeReport(std::uint8_t kind, std::uint8_t seq, std::uint8_t status, std::uint8_t sub,
                               const std::uint8_t *payload, std::size_t length)
{
    std::vector<Packet> out;
    if (length <= static_cast<std::size_t>(kMaxPayload)) {
        out.push_back(makePacket(kind, seq, status, sub, payload, static_cast<int>(length)));
        return out;
    }
    const std::size_t chunks = (length + kMaxPayload - 1) / kMaxPayload;
    if (chunks > static_cast<std::size_t>(kMaxChunks))
        return out; // too long for the protocol: nothing is sent
    for (std::size_t i = 0; i < chunks; ++i) {
        const std::size_t offset = i * kMaxPayload;
        const int n = static_cast<int>(std::min<std::size_t>(kMaxPayload, length - offset));
        out.push_back(
            makePacket(kind, seq, status, sub, payload + offset, n, static_cast<int>(i), static_cast<int>(chunks)));
    }
    return out;
}

bool validPacket(const std::uint8_t *bytes, std::size_t length)
{
    if (!bytes || length != static_cast<std::size_t>(kPacketBytes))
        return false;
    if (bytes[0] != kMagic)
        return false;
    if (bytes[5] > kMaxPayload)
        return false;
    const int count = bytes[7];
    if (count > 1 && bytes[6] >= count)
        return false;
    if (count <= 1 && bytes[6] != 0)
        return false;
    const std::uint16_t crc = crc16(bytes, kPacketBytes - 2);
    return bytes[62] == (crc & 0xFF) && bytes[63] == (crc >> 8);
}

bool decodePacket(const std::uint8_t *bytes, std::size_t length, Packet *out)
{
    if (!validPacket(bytes, length))
        return false;
    if (out)
        std::memcpy(out->bytes.data(), bytes, kPacketBytes);
    return true;
}

void Reassembler::reset()
{
    active_ = false;
    buffer_.clear();
    count_ = next_ = 0;
}

bool Reassembler::feed(const Packet &p, Report *out)
{
    const int count = p.chunkCount();
    if (count <= 1) {
        if (active_) { // a partial report is abandoned
            ++dropped_;
            reset();
        }
        if (out) {
            out->header = {p.bytes[0], p.kind(), p.seq(), p.status(), p.sub()};
            out->payload.assign(p.payload(), p.payload() + p.payloadLength());
        }
        return true;
    }
    const int index = p.chunkIndex();
    if (index == 0) {
        if (active_)
            ++dropped_;
        active_ = true;
        kind_ = p.kind();
        seq_ = p.seq();
        status_ = p.status();
        sub_ = p.sub();
        count_ = count;
        next_ = 0;
        buffer_.clear();
        buffer_.reserve(static_cast<std::size_t>(count) * kMaxPayload);
    }
    if (!active_ || index != next_ || count != count_ || p.kind() != kind_ || p.seq() != seq_ || p.sub() != sub_) {
        ++dropped_;
        reset();
        return false;
    }
    // Every chunk but the last one is full.
    if (index + 1 < count && p.payloadLength() != kMaxPayload) {
        ++dropped_;
        reset();
        return false;
    }
    buffer_.insert(buffer_.end(), p.payload(), p.payload() + p.payloadLength());
    ++next_;
    if (next_ < count_)
        return false;
    if (out) {
        out->header = {kMagic, kind_, seq_, status_, sub_};
        out->payload.swap(buffer_);
    }
    reset();
    return true;
}

bool knownReport(std::uint8_t kind, std::uint8_t sub, std::size_t length)
{
    switch (kind) {
    case ReportBattery:
        return length == 2;
    case ReportPairStatus:
        return length == 1;
    case ReportData:
        switch (sub) {
        case DataFullDump:
            return length == static_cast<std::size_t>(kDumpSize) || length == 1;
        case DataActiveStage:
            return length == 1;
        case DataDpiLed:
            return length == static_cast<std::size_t>(kDpiLedPayloadSize);
        case DataLightBar:
            return length == static_cast<std::size_t>(kLightBarPayloadSize);
        default:
            return false;
        }
    case ReportSettingsCleared:
        return length == 0;
    case ReportStatusChanged:
        return length == 1;
    case ReportConfigSlot:
        return length == 1;
    case ReportVersion:
        return length == 2;
    case ReportReceiverLed:
        return length == 1;
    case ReportLongRangeOff:
        return length == static_cast<std::size_t>(kLongRangeOffPayloadSize);
    default:
        return false;
    }
}

} // namespace proto
} // namespace hidusb
