#pragma once

// Building and checking firmware image files. The layout is the one in
// hidusb.h; the library checks every image with firmwareImageValid before it
// flashes a byte, the program checks the files it finds the same way, and
// the image generator and the tests build their files with
// buildFirmwareImage, so all three agree on one format.

#include "platform/hidusb/records.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace hidusb {

inline std::uint32_t crc32(const unsigned char *data, std::size_t length)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline std::uint32_t readLe32(const unsigned char *p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
           | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline void writeLe32(unsigned char *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// What the header of an image says.
struct FirmwareImageInfo
{
    std::uint32_t version = 0; // bits 0-7 minor, 8-31 major
    unsigned char target = 0;  // kTargetMouse or kTargetReceiver
    unsigned char cid = 0;
    unsigned char mid = 0;
    std::string name; // up to 64 bytes, local 8-bit encoding
};

// Reads the header fields; false when there is no whole header.
inline bool readFirmwareHeader(const unsigned char *image, std::size_t length, FirmwareImageInfo *info)
{
    if (!image || length < static_cast<std::size_t>(kFirmwareHeaderSize))
        return false;
    info->version = readLe32(image + kFirmwareVersionOffset);
    info->target = image[kFirmwareTargetOffset];
    info->cid = image[kFirmwareCidOffset];
    info->mid = image[kFirmwareMidOffset];
    const char *name = reinterpret_cast<const char *>(image + kFirmwareNameOffset);
    std::size_t n = 0;
    while (n < static_cast<std::size_t>(kFirmwareNameLength) && name[n] != '\0')
        ++n;
    info->name.assign(name, n);
    return true;
}

// A whole, undamaged image for one of the two targets: the file is exactly
// the header plus the firmware length the header gives (not 0), and the
// firmware's CRC-32 is the one the header gives.
inline bool firmwareImageValid(const unsigned char *image, std::size_t length)
{
    if (!image || length <= static_cast<std::size_t>(kFirmwareHeaderSize))
        return false;
    const std::uint32_t body = readLe32(image + kFirmwareLengthOffset);
    if (body == 0 || static_cast<std::uint64_t>(body) + kFirmwareHeaderSize != length)
        return false;
    const unsigned char target = image[kFirmwareTargetOffset];
    if (target != kTargetMouse && target != kTargetReceiver)
        return false;
    return crc32(image + kFirmwareHeaderSize, body) == readLe32(image + kFirmwareCrcOffset);
}

// A complete image: header with the given fields, then `body`.
inline std::vector<unsigned char> buildFirmwareImage(const FirmwareImageInfo &info,
                                                     const std::vector<unsigned char> &body)
{
    std::vector<unsigned char> image(static_cast<std::size_t>(kFirmwareHeaderSize) + body.size(), 0);
    unsigned char *p = image.data();
    writeLe32(p + kFirmwareLengthOffset, static_cast<std::uint32_t>(body.size()));
    writeLe32(p + kFirmwareCrcOffset, crc32(body.data(), body.size()));
    writeLe32(p + kFirmwareVersionOffset, info.version);
    p[kFirmwareTargetOffset] = info.target;
    p[kFirmwareCidOffset] = info.cid;
    p[kFirmwareMidOffset] = info.mid;
    std::memcpy(p + kFirmwareNameOffset, info.name.data(),
                std::min(info.name.size(), static_cast<std::size_t>(kFirmwareNameLength)));
    if (!body.empty())
        std::memcpy(p + kFirmwareHeaderSize, body.data(), body.size());
    return image;
}

// Firmware proper for generated images: a repeatable pattern of `length`
// bytes that differs by seed.
inline std::vector<unsigned char> firmwareBodyPattern(std::size_t length, std::uint32_t seed)
{
    std::vector<unsigned char> body(length);
    std::uint32_t x = seed * 2654435761u + 12345u;
    for (std::size_t i = 0; i < length; ++i) {
        x = x * 1103515245u + 12345u;
        body[i] = static_cast<unsigned char>(x >> 16);
    }
    return body;
}

} // namespace hidusb
