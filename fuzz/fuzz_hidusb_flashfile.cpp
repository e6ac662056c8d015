// A simulated device's flash file as it may be found on disk: any bytes, and
// any bytes inside a sound envelope. A file is taken whole or not at all,
// and what is taken is written back to a file that reads the same.

#include "platform/hidusb/simulator.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Qt keeps a few bytes of some QDataStream reads on failure paths; leak
// reports stay off so the fuzzer looks for what matters here.
extern "C" const char *__asan_default_options()
{
    return "detect_leaks=0";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace hidusb::sim;
    if (size < 1)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), static_cast<int>(size - 1));
    const QByteArray file = data[0] & 1 ? wrapFlashBody(bytes) : bytes;
    SimDevice device;
    device.type = data[0] & 2 ? SimDevice::Receiver : SimDevice::Mouse;
    device.id = "fuzz";
    const SimDevice before = device;
    if (!applyFlashFile(file, &device)) {
        if (device.version != before.version || device.activeSlot != before.activeSlot
            || device.bootMode != before.bootMode || device.flash != before.flash)
            std::abort(); // a refused file changes nothing
        return 0;
    }
    if (device.activeSlot < 0 || device.activeSlot >= hidusb::kConfigSlots)
        std::abort();
    // Flags may be stored as any non-zero byte; written back they are 1, and
    // that file reads back to the same device.
    const QByteArray written = flashFileBytes(device);
    SimDevice again = before;
    if (!applyFlashFile(written, &again) || flashFileBytes(again) != written)
        std::abort();
    return 0;
}
