#pragma once

// The mouse keeps its configuration as a 6912-byte image; the program works
// on the 10460-byte FlashDataMap. This is the conversion between the two.
//
// Image layout
//   0    .. 155   record bytes 0..155 as they are (settings, stages, lights,
//                 button functions and every byte the program does not use)
//   156  .. 699   16 key sequences of 34 bytes: count, the 3 reserved bytes,
//                 6 events of 5 bytes
//   700  .. 6811  16 macros of 382 bytes: name length, 30 name bytes, slot
//                 count, 70 events of 5 bytes
//   6812 .. 6815  format tag "VMX" 1
//   6816 .. 6911  zero
// Event (5 bytes): byte 0 = action (bit 7), kind (bits 5-6: 0, 1, 2, 4 as
// 0..3), delay bits 16..20 (bits 0-4); bytes 1-2 code; bytes 3-4 delay bits
// 0..15. Delays up to 2097151 ms (about 35 minutes) fit.

#include "platform/hidusb/hidusb.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace hidusb {
namespace dump {

constexpr int kImageSize = 6912;
constexpr int kComboBase = 156;
constexpr int kComboSize = 34;
constexpr int kMacroBase = 700;
constexpr int kMacroSize = 382;
constexpr int kTagOffset = 6812;
constexpr int kUsedSize = 6816;
constexpr std::uint32_t kMaxDelay = 0x1FFFFF;

// Encodes a record. False (image untouched) when some event cannot be
// represented; *why then names it. Of a macro only the slots below its event
// count are judged: a slot past it that cannot be represented goes as zero.
bool recordToImage(const FlashDataMap &record, std::uint8_t *image, std::string *why = nullptr);
// Decodes an image of `length` bytes. False (record untouched) when it is
// not a configuration image of ours.
bool imageToRecord(const std::uint8_t *image, std::size_t length, FlashDataMap *record);
// Whether an event can travel in the image.
bool representable(const KeyEvent &event);

// The mouse's factory settings.
FlashDataMap factoryRecord();

} // namespace dump
} // namespace hidusb
