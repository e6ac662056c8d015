// Packets as they could arrive from a device: any bytes, cut into 64-byte
// packets, through the checks and the reassembler. Nothing may read past a
// packet, and every report that comes out must be internally consistent.

#include "platform/hidusb/codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace hidusb::proto;
    Reassembler assembler;
    Report report;
    std::size_t offset = 0;
    while (offset < size) {
        // The first byte of each step says how many bytes the "packet" has,
        // so short and long packets are tried too.
        const std::uint8_t step = data[offset];
        const std::size_t want = step % 2 ? kPacketBytes : step % 80;
        ++offset;
        const std::size_t n = want < size - offset ? want : size - offset;
        std::uint8_t bytes[128];
        std::memcpy(bytes, data + offset, n);
        // Bit 1 of the step byte repairs the checksum, so the checks and the
        // reassembler behind it are reached, not only the checksum.
        if ((step & 2) && n == static_cast<std::size_t>(kPacketBytes)) {
            const std::uint16_t crc = crc16(bytes, kPacketBytes - 2);
            bytes[62] = static_cast<std::uint8_t>(crc & 0xFF);
            bytes[63] = static_cast<std::uint8_t>(crc >> 8);
        }
        Packet packet;
        if (decodePacket(bytes, n, &packet)) {
            if (packet.payloadLength() > kMaxPayload)
                std::abort();
            if (assembler.feed(packet, &report)) {
                // The filter in front of the callbacks only looks at the header and length.
                (void)knownReport(report.header[1], report.header[4], report.payload.size());
                if (report.payload.size() > static_cast<std::size_t>(kMaxPayload) * kMaxChunks)
                    std::abort();
                // A report rebuilt and sent again comes out the same.
                const auto again = makeReport(report.header[1], report.header[2], report.header[3], report.header[4],
                                              report.payload.data(), report.payload.size());
                Reassembler second;
                Report copy;
                bool done = false;
                for (const Packet &p : again)
                    done = second.feed(p, &copy);
                if (!done || copy.payload != report.payload)
                    std::abort();
            }
        }
        offset += n;
    }
    return 0;
}
