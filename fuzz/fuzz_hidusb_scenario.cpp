// Scenario files as a user might write them: any bytes. The parser accepts
// or refuses with a reason; whatever it accepts is a consistent set of
// devices.

#include "platform/hidusb/simulator.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

// Qt 5's JSON parser keeps a few bytes of some malformed documents it
// refuses; those are Qt's, not ours, so leak reports stay off here.
extern "C" const char *__asan_default_options()
{
    return "detect_leaks=0";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace hidusb::sim;
    const QByteArray json(reinterpret_cast<const char *>(data), static_cast<int>(size));
    std::vector<SimDevice> devices;
    int flashMs = -1;
    QString error;
    if (!parseScenario(json, &devices, &flashMs, &error)) {
        if (error.isEmpty())
            std::abort(); // every refusal says why
        return 0;
    }
    if (flashMs < 0 || devices.size() > 32)
        std::abort();
    for (const SimDevice &d : devices) {
        if (d.id.isEmpty() || d.id.contains('/'))
            std::abort();
        if (d.type == SimDevice::Receiver && d.kind != 1 && d.kind != 2 && d.kind != 4 && d.kind != 8)
            std::abort();
        if (d.type == SimDevice::Mouse && !d.pairedTo.isEmpty()) {
            bool found = false;
            for (const SimDevice &r : devices)
                found = found || (r.type == SimDevice::Receiver && r.id == d.pairedTo);
            if (!found)
                std::abort();
        }
    }
    return 0;
}
