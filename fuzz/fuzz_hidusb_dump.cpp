// Configuration dumps as a device could send them: any 6912 bytes (shorter
// inputs are padded, longer ones also tried whole). The parser must accept
// or refuse without reading past the dump, and whatever it accepts must
// convert back to the same image.

#include "platform/hidusb/dumpformat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace hidusb::dump;
    FlashDataMap record;
    // Exactly what arrived: anything but 6912 bytes is refused.
    std::vector<std::uint8_t> exact(data, data + size);
    if (imageToRecord(exact.data(), exact.size(), &record) && size != static_cast<std::size_t>(kImageSize))
        std::abort();
    // Padded to a full image carrying the tag, so the decoder runs.
    std::vector<std::uint8_t> image(kImageSize, 0);
    std::memcpy(image.data(), data, size < image.size() ? size : image.size());
    static const std::uint8_t tag[4] = {'V', 'M', 'X', 1};
    std::memcpy(image.data() + kTagOffset, tag, 4);
    std::memset(image.data() + kUsedSize, 0, kImageSize - kUsedSize);
    if (!imageToRecord(image.data(), image.size(), &record))
        std::abort();
    std::vector<std::uint8_t> back(kImageSize, 0xFF);
    if (!recordToImage(record, back.data()))
        std::abort(); // everything a device sends can be sent back
    if (back != image)
        std::abort();
    return 0;
}
