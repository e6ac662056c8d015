#include "platform/hidusb/screendevice.h"

#include <cstring>
#include <mutex>

namespace hidusb {
namespace screendevice {

namespace {

struct State
{
    bool plugged = false;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string path;
    int badEchoes = 0;
    bool silent = false;
    QList<QByteArray> received;
};

std::mutex mutex;

State &state()
{
    static State s;
    return s;
}

} // namespace

std::string pathFor(std::uint16_t productId)
{
    char text[32];
    std::snprintf(text, sizeof text, "sim/screen/%04X", unsigned(productId));
    return text;
}

void plug(std::uint16_t vendorId, std::uint16_t productId)
{
    std::lock_guard<std::mutex> lock(mutex);
    State &s = state();
    s = State();
    s.plugged = true;
    s.vendorId = vendorId;
    s.productId = productId;
    s.path = pathFor(productId);
}

void unplug()
{
    std::lock_guard<std::mutex> lock(mutex);
    state() = State();
}

bool isScreenPath(const std::string &path)
{
    std::lock_guard<std::mutex> lock(mutex);
    return state().plugged && path == state().path;
}

void appendMatches(std::uint16_t vendorId, std::uint16_t productId, std::vector<std::string> *paths)
{
    std::lock_guard<std::mutex> lock(mutex);
    const State &s = state();
    if (s.plugged && s.vendorId == vendorId && s.productId == productId)
        paths->push_back(s.path);
}

void setBadEchoes(int count)
{
    std::lock_guard<std::mutex> lock(mutex);
    state().badEchoes = count;
}

void setSilent(bool silent)
{
    std::lock_guard<std::mutex> lock(mutex);
    state().silent = silent;
}

bool exchange(const std::string &path, const unsigned char *packet, int length, unsigned char *reply)
{
    std::lock_guard<std::mutex> lock(mutex);
    State &s = state();
    if (!s.plugged || path != s.path || !packet || !reply || length <= 0 || length > 64)
        return false;
    s.received.append(QByteArray(reinterpret_cast<const char *>(packet), length));
    if (s.silent)
        return false;
    std::memcpy(reply, packet, std::size_t(length));
    if (s.badEchoes > 0) {
        --s.badEchoes;
        reply[length - 1] = static_cast<unsigned char>(reply[length - 1] ^ 0xFF);
    }
    return true;
}

QList<QByteArray> received()
{
    std::lock_guard<std::mutex> lock(mutex);
    return state().received;
}

void clearReceived()
{
    std::lock_guard<std::mutex> lock(mutex);
    state().received.clear();
}

} // namespace screendevice
} // namespace hidusb
