#pragma once

// Inside of the device-access library: the threads, the open session with
// its image of the device's flash, the online table, the notification and
// firmware workers and the call journal. hidusb.cpp implements the public
// functions on top of it; simcontrol.cpp reaches the simulator through it.

#include "platform/hidusb/codec.h"
#include "platform/hidusb/hidusb.h"
#include "platform/hidusb/simcontrol.h"
#include "platform/hidusb/simulator.h"

#include <QString>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace hidusb {

class Library
{
public:
    static Library &instance();

    sim::SimTransport &sim() { return *transport_; }
    Transport &transport() { return *transport_; }

    // Stops every thread, forgets every state and builds the transport again
    // from the current scenario.
    void restart();

    // Ends the simulated devices' thread and writes their changed flash
    // while the application object still exists: that thread writes files
    // through Qt, and one left running while the process ends met Qt's own
    // clean-up. Runs when the application object is destroyed. The
    // library's other threads only wait on their queues by then; joining
    // them here could wait for ever on a report handler that waits for the
    // GUI thread.
    void shutdown();
    // Replaces the attached devices (library threads keep running).
    bool loadScenario(const QByteArray &json, QString *error);
    QByteArray scenario() const;

    // ----- journal -----
    void journal(const char *function, const char *path, const QString &arguments, const QString &result);
    bool journalEnabled() const { return journalOn_.load(std::memory_order_relaxed); }
    void setJournalEnabled(bool on) { journalOn_.store(on); }
    QVector<sim::JournalEntry> journalEntries() const;
    void clearJournal();

    // ----- online table -----
    bool online(const char *path) const;

    // ----- session -----
    bool startSession(const std::string &path, UsbReportCallback callback);
    void exitSession();
    bool sendToSession(std::uint8_t command, std::uint8_t arg);
    bool update(const FlashDataMap &record);

    // ----- synchronous exchange -----
    bool query(const char *path, std::uint8_t command, std::uint8_t arg, const void *payload, int length,
               proto::Packet *reply);

    // ----- notification -----
    bool arm(UsbChangedCallback callback, int settleMs);
    void disarm();

    // ----- firmware -----
    int bootDevices(const unsigned char *image, int length);
    bool startUpgrade(const unsigned char *image, int length, UsbUpgradeCallback callback, int timeoutMs);

    // The next finished report of a flash is not delivered (fault injection).
    void loseNextFinishedReport() { loseFinished_.store(true); }

    std::uint64_t blocksWritten() const { return blocksWritten_.load(); }
    std::uint64_t writesRejected() const { return writesRejected_.load(); }
    void resetCounters();
    bool idle();

private:
    Library();
    void start();
    void stop();

    void onPacket(const std::string &path, const proto::Packet &packet);
    void onChange();
    void onOnline(const std::unordered_map<std::string, bool> &table);

    void reportLoop();
    void deliver(const std::string &path, const proto::Report &report);
    void observe(const std::string &path, const proto::Report &report);
    void acknowledge(const std::string &path, const proto::Packet &packet);
    void resetImageLocked();

    void notifyLoop();

    struct UpgradeJob
    {
        std::vector<unsigned char> image;
        UsbUpgradeCallback callback = nullptr;
        int timeoutMs = 10000;
        std::string path; // device to flash ("" = refused at the start)
        bool enterBoot = false;
    };
    void upgradeLoop();
    void runUpgrade(const UpgradeJob &job);
    bool attached(const std::string &path);
    std::atomic<bool> loseFinished_{false};
    bool waitOrQuit(std::chrono::milliseconds ms);

    std::unique_ptr<sim::SimTransport> transport_;
    QByteArray scenario_;

    // journal
    mutable std::mutex journalM_;
    std::deque<sim::JournalEntry> journal_;
    std::atomic<bool> journalOn_{false};

    // online table
    mutable std::mutex onlineM_;
    std::unordered_map<std::string, bool> online_;

    // session and the device image as the device holds it
    std::mutex sessionM_;
    std::string sessionPath_;
    UsbReportCallback callback_ = nullptr;
    // A block counts as on the device once the device confirmed it. A write
    // still unanswered counts only while the link has not failed since it
    // was sent: once the devices or their online state changed, it may never
    // arrive, and the next update sends the block again.
    using Block = std::array<std::uint8_t, proto::kImageBlockBytes>;
    struct InFlight
    {
        std::uint8_t seq = 0; // the write's sequence number, echoed by its answer
        Block data{};
        bool trusted = true; // no link failure seen since it was sent
    };
    void doubtInFlight();
    std::array<Block, proto::kImageBlocks> confirmed_{};
    std::array<bool, proto::kImageBlocks> confirmedValid_{};
    std::array<std::deque<InFlight>, proto::kImageBlocks> inflight_;
    std::atomic<std::uint8_t> seq_{0};

    // inbound packets and the report thread
    std::mutex inM_;
    std::condition_variable inCv_;
    std::deque<std::pair<std::string, proto::Packet>> inbound_;
    bool delivering_ = false;
    bool quit_ = false;
    std::unordered_map<std::string, proto::Reassembler> assemblers_; // report thread only
    std::thread reportThread_;

    // notification
    std::mutex noteM_;
    std::condition_variable noteCv_;
    UsbChangedCallback noteCallback_ = nullptr;
    bool noteInitial_ = false;
    bool noteChange_ = false;
    bool noteCalling_ = false;
    int settleMs_ = 600;
    std::chrono::steady_clock::time_point noteAt_{};
    bool noteQuit_ = false;
    std::thread noteThread_;

    // firmware
    std::mutex upM_;
    std::condition_variable upCv_;
    std::deque<UpgradeJob> jobs_;
    bool upBusy_ = false;
    bool upQuit_ = false;
    std::thread upThread_;

    std::atomic<std::uint64_t> blocksWritten_{0};
    std::atomic<std::uint64_t> writesRejected_{0};
    std::atomic<std::uint64_t> droppedReports_{0};
};

// Whether the calling thread is one of the library's own.
bool onLibraryThread();

} // namespace hidusb
