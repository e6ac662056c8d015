#pragma once

// A simulated device with a small screen: it answers each raw packet the
// program writes to it with an echo of that packet, as the clock
// synchronisation expects. It lives beside the simulated receivers and mice
// and is reached through the same library calls (find by id, open, raw
// exchange). Thread-safe.

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <string>
#include <vector>

namespace hidusb {
namespace screendevice {

// The path a screen device with this product id is found under.
std::string pathFor(std::uint16_t productId);

// Attaches a screen device (replacing any other); its path is pathFor(pid).
void plug(std::uint16_t vendorId, std::uint16_t productId);
// Detaches it and forgets what it received.
void unplug();
bool isScreenPath(const std::string &path);
// Appends the screen device's path when it matches.
void appendMatches(std::uint16_t vendorId, std::uint16_t productId, std::vector<std::string> *paths);

// The next `count` answers carry a wrong last byte.
void setBadEchoes(int count);
// No answer at all while set.
void setSilent(bool silent);

// One exchange: `length` bytes of `packet` go to the device; its answer
// (at most `length` bytes) is written to `reply`. False without an answer.
bool exchange(const std::string &path, const unsigned char *packet, int length, unsigned char *reply);

// Every packet the device received, in order.
QList<QByteArray> received();
void clearReceived();

} // namespace screendevice
} // namespace hidusb
