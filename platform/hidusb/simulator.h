#pragma once

// The simulated receivers and mice: the transport the library uses on this
// machine. Devices hold what real ones hold (flash per configuration slot,
// firmware version, battery, pairing, receiver lights, boot mode), answer
// the protocol of codec.h from their own thread and keep their flash in a
// file under the per-user root's "Simulator" folder.

#include "platform/hidusb/flashfile.h"
#include "platform/hidusb/hidusb.h"
#include "platform/hidusb/scenario.h"
#include "platform/hidusb/simdevice.h"
#include "platform/hidusb/transport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace hidusb {
namespace sim {

// Link code of a receiver kind and back.
int linkCodeOfKind(int kind);

class SimTransport final : public Transport
{
public:
    SimTransport();
    ~SimTransport() override;

    // Ends the transport's thread and writes every changed flash now. The
    // transport still answers calls made on the caller's thread afterwards;
    // nothing it queues is handled any more.
    void halt();

    // Replaces the attached devices; their stored flash is loaded.
    void load(std::vector<SimDevice> devices, int flashMs);

    void setSinks(PacketSink packets, ChangeSink changes, OnlineSink online) override;
    std::vector<UsbDeviceEntry> enumerate() override;
    bool send(const std::string &path, const proto::Packet &packet) override;
    bool transact(const std::string &path, const proto::Packet &request, proto::Packet *reply) override;
    TransportCounters counters() const override;
    void resetCounters() override;
    bool idle() const override;

    // Control (thread-safe). `fn` runs under the device lock and may change
    // the device; afterwards the online table and device list are announced
    // when they changed. False when the id names no device.
    bool control(const QString &id, const std::function<bool(SimDevice &)> &fn);
    bool inspect(const QString &id, const std::function<void(const SimDevice &)> &fn) const;
    QStringList ids() const;
    QString pathOf(const QString &id) const;
    void setFlashDuration(int ms);
    // Mouse-side happenings that raise reports.
    bool pressDpi(const QString &id, int step);
    bool pressSlot(const QString &id);
    bool pressRate(const QString &id);
    bool battery(const QString &id, int level, bool charging);
    bool receiverLedButton(const QString &id);
    bool longRangeOff(const QString &id);
    bool factoryReset(const QString &id);
    // The device is pulled out once it has taken `packets` more packets:
    // they reach it, every later send fails.
    bool pullOutAfter(const QString &id, int packets);

    static QString flashFile(const QString &id);

private:
    struct Queued
    {
        std::string path;
        proto::Packet packet;
        QString pullOut; // not a packet: this device is pulled out now
    };
    enum Role { None, AsReceiver, AsCable, AsBoot };

    void run();
    void handle(const std::string &path, const proto::Packet &packet);
    void handleTimers();
    SimDevice *resolve(const std::string &path, Role *role);
    SimDevice *find(const QString &id);
    SimDevice *pressButtonOn(const QString &id);
    const SimDevice *find(const QString &id) const;
    SimDevice *reachableMouse(SimDevice &receiver);
    SimDevice *mouseBehind(const std::string &path);
    std::string reportPath(const SimDevice &mouse) const;
    std::string normalPath(const SimDevice &d) const;
    void emitReport(const std::string &path, std::uint8_t kind, std::uint8_t status, std::uint8_t sub,
                    const std::uint8_t *payload, std::size_t length);
    // One packet answering a request; it carries the request's sequence number.
    void emitAnswer(const std::string &path, const proto::Packet &answer);
    void emitStatusChange(SimDevice &mouse, int flag);
    void announce(bool devicesChanged);
    std::unordered_map<std::string, bool> onlineTable() const;
    std::vector<std::string> pathList() const;
    void pullOutLocked(SimDevice &d); // same as unplugging it
    void persist(SimDevice &d);
    void restore(SimDevice &d);
    void saveDirty();

    mutable std::mutex m_; // device state
    std::vector<SimDevice> devices_;
    int flashMs_ = 3000;
    PacketSink packets_;
    ChangeSink changes_;
    OnlineSink online_;
    std::uint8_t seq_ = 0;
    std::unordered_map<std::string, bool> lastOnline_;
    std::vector<std::string> lastPaths_;
    // The attached paths, readable without the device lock (send() must not
    // wait while a device writes its flash file).
    mutable std::mutex pathsM_;
    std::vector<std::string> livePaths_;
    // A pull-out armed by pullOutAfter (under pathsM_).
    std::string cutPath_;
    QString cutId_;
    int cutLeft_ = -1;

    mutable std::mutex qm_; // queue to the device thread
    std::condition_variable qcv_;
    std::deque<Queued> queue_;
    bool busy_ = false;
    bool quit_ = false;
    std::atomic<int> dirtyCount_{0};
    std::thread thread_;

    std::atomic<std::uint64_t> pktTo_{0}, bytesTo_{0}, pktFrom_{0}, bytesFrom_{0};
};

} // namespace sim
} // namespace hidusb
