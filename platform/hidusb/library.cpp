#include "platform/hidusb/library.h"

#include "platform/hidusb/firmwareimage.h"

#include "platform/hidusb/dumpformat.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QtGlobal>

#include <algorithm>
#include <cstring>

namespace hidusb {

namespace {

using Clock = std::chrono::steady_clock;
thread_local bool tlLibraryThread = false;
constexpr std::size_t kJournalLimit = 20000;
constexpr std::size_t kInflightLimit = 16;

QByteArray startScenario()
{
    QString error;
    const QByteArray json = sim::environmentScenario(&error);
    if (!json.isEmpty())
        return json;
    if (!error.isEmpty())
        qWarning("VELMORAX_DEVICES: scenario %s not used (%s); using the default devices",
                 qgetenv("VELMORAX_DEVICES").constData(), qPrintable(error));
    return sim::defaultScenario();
}

} // namespace

bool onLibraryThread()
{
    return tlLibraryThread;
}

Library &Library::instance()
{
    // Created on first use and never destroyed: callbacks may still be
    // running on its threads while the process ends.
    static Library *library = [] {
        auto *created = new Library();
        qAddPostRoutine([] { Library::instance().shutdown(); });
        return created;
    }();
    return *library;
}

Library::Library()
{
    scenario_ = startScenario();
    start();
}

void Library::start()
{
    std::vector<sim::SimDevice> devices;
    int flashMs = 3000;
    QString error;
    if (!sim::parseScenario(scenario_, &devices, &flashMs, &error)) {
        scenario_ = sim::defaultScenario();
        sim::parseScenario(scenario_, &devices, &flashMs, &error);
    }
    transport_.reset(new sim::SimTransport());
    transport_->load(std::move(devices), flashMs);
    quit_ = false;
    noteQuit_ = false;
    upQuit_ = false;
    transport_->setSinks([this](const std::string &path, const proto::Packet &p) { onPacket(path, p); },
                         [this]() { onChange(); },
                         [this](const std::unordered_map<std::string, bool> &t) { onOnline(t); });
    reportThread_ = std::thread([this] { reportLoop(); });
    noteThread_ = std::thread([this] { notifyLoop(); });
    upThread_ = std::thread([this] { upgradeLoop(); });
}

void Library::shutdown()
{
    if (transport_)
        transport_->halt();
}

void Library::stop()
{
    {
        std::lock_guard<std::mutex> lk(inM_);
        quit_ = true;
    }
    inCv_.notify_all();
    {
        std::lock_guard<std::mutex> lk(noteM_);
        noteQuit_ = true;
    }
    noteCv_.notify_all();
    {
        std::lock_guard<std::mutex> lk(upM_);
        upQuit_ = true;
    }
    upCv_.notify_all();
    if (reportThread_.joinable())
        reportThread_.join();
    if (noteThread_.joinable())
        noteThread_.join();
    if (upThread_.joinable())
        upThread_.join();
    transport_.reset();
    {
        std::lock_guard<std::mutex> lk(inM_);
        inbound_.clear();
        assemblers_.clear();
        delivering_ = false;
    }
    {
        std::lock_guard<std::mutex> lk(sessionM_);
        sessionPath_.clear();
        callback_ = nullptr;
        resetImageLocked();
    }
    {
        std::lock_guard<std::mutex> lk(noteM_);
        noteCallback_ = nullptr;
        noteInitial_ = noteChange_ = noteCalling_ = false;
    }
    {
        std::lock_guard<std::mutex> lk(upM_);
        jobs_.clear();
        upBusy_ = false;
    }
    {
        std::lock_guard<std::mutex> lk(onlineM_);
        online_.clear();
    }
}

void Library::restart()
{
    stop();
    start();
}

bool Library::loadScenario(const QByteArray &json, QString *error)
{
    std::vector<sim::SimDevice> devices;
    int flashMs = 3000;
    if (!sim::parseScenario(json, &devices, &flashMs, error))
        return false;
    scenario_ = json;
    transport_->load(std::move(devices), flashMs);
    std::lock_guard<std::mutex> lk(sessionM_);
    resetImageLocked();
    return true;
}

QByteArray Library::scenario() const
{
    return scenario_;
}

// ---------------------------------------------------------------------------
// Journal
// ---------------------------------------------------------------------------
void Library::journal(const char *function, const char *path, const QString &arguments, const QString &result)
{
    if (!journalOn_.load(std::memory_order_relaxed))
        return;
    sim::JournalEntry e;
    e.function = QString::fromLatin1(function);
    if (path)
        e.path = QString::fromLocal8Bit(path);
    e.arguments = arguments;
    e.result = result;
    e.thread = tlLibraryThread ? QStringLiteral("library") : QStringLiteral("caller");
    std::lock_guard<std::mutex> lk(journalM_);
    journal_.push_back(std::move(e));
    if (journal_.size() > kJournalLimit)
        journal_.pop_front();
}

QVector<sim::JournalEntry> Library::journalEntries() const
{
    std::lock_guard<std::mutex> lk(journalM_);
    return QVector<sim::JournalEntry>(journal_.begin(), journal_.end());
}

void Library::clearJournal()
{
    std::lock_guard<std::mutex> lk(journalM_);
    journal_.clear();
}

// ---------------------------------------------------------------------------
// Online table
// ---------------------------------------------------------------------------
void Library::onOnline(const std::unordered_map<std::string, bool> &table)
{
    {
        std::lock_guard<std::mutex> lk(onlineM_);
        online_ = table;
    }
    // A mouse that went silent or came back may have dropped writes.
    doubtInFlight();
}

bool Library::online(const char *path) const
{
    if (!path)
        return false;
    std::lock_guard<std::mutex> lk(onlineM_);
    const auto it = online_.find(path);
    return it != online_.end() && it->second;
}

// ---------------------------------------------------------------------------
// Session
// ---------------------------------------------------------------------------
void Library::resetImageLocked()
{
    confirmedValid_.fill(false);
    for (auto &q : inflight_)
        q.clear();
}

bool Library::startSession(const std::string &path, UsbReportCallback callback)
{
    bool exists = false;
    for (const UsbDeviceEntry &e : transport_->enumerate())
        exists = exists || e.path == path;
    std::lock_guard<std::mutex> lk(sessionM_);
    if (path != sessionPath_)
        resetImageLocked();
    sessionPath_ = path;
    callback_ = callback;
    return exists;
}

void Library::exitSession()
{
    std::lock_guard<std::mutex> lk(sessionM_);
    sessionPath_.clear();
    callback_ = nullptr;
    resetImageLocked();
}

bool Library::sendToSession(std::uint8_t command, std::uint8_t arg)
{
    std::lock_guard<std::mutex> lk(sessionM_);
    if (sessionPath_.empty())
        return false;
    if (command == proto::CmdSetCurrentConfig || command == proto::CmdClearSetting)
        resetImageLocked(); // the next record goes whole; earlier writes' answers speak of the old one
    return transport_->send(sessionPath_, proto::makePacket(command, seq_++, 0, arg));
}

bool Library::update(const FlashDataMap &record)
{
    std::uint8_t image[dump::kImageSize];
    if (!dump::recordToImage(record, image))
        return false;
    std::lock_guard<std::mutex> lk(sessionM_);
    if (sessionPath_.empty())
        return false;
    std::uint64_t sent = 0;
    bool ok = true;
    for (int b = 0; b < proto::kImageBlocks && ok; ++b) {
        const std::uint8_t *data = image + b * proto::kImageBlockBytes;
        auto &queue = inflight_[static_cast<std::size_t>(b)];
        // On the device (or on its way there over a working link) already.
        const std::uint8_t *held = nullptr;
        if (!queue.empty()) {
            if (queue.back().trusted)
                held = queue.back().data.data();
        } else if (confirmedValid_[static_cast<std::size_t>(b)]) {
            held = confirmed_[static_cast<std::size_t>(b)].data();
        }
        if (held && std::memcmp(held, data, proto::kImageBlockBytes) == 0)
            continue;
        std::uint8_t payload[2 + proto::kImageBlockBytes];
        payload[0] = static_cast<std::uint8_t>(b & 0xFF);
        payload[1] = static_cast<std::uint8_t>(b >> 8);
        std::memcpy(payload + 2, data, proto::kImageBlockBytes);
        const std::uint8_t seq = seq_++;
        ok =
            transport_->send(sessionPath_, proto::makePacket(proto::CmdWriteBlock, seq, 0, 0, payload, sizeof payload));
        if (!ok)
            break;
        ++sent;
        if (queue.size() >= kInflightLimit) {
            // The device stopped confirming: forget what it may hold.
            queue.clear();
            confirmedValid_[static_cast<std::size_t>(b)] = false;
        }
        InFlight write;
        write.seq = seq;
        std::memcpy(write.data.data(), data, proto::kImageBlockBytes);
        queue.push_back(write);
    }
    blocksWritten_.fetch_add(sent);
    return ok;
}

void Library::acknowledge(const std::string &path, const proto::Packet &p)
{
    if (p.payloadLength() < 2)
        return;
    const int block = p.payload()[0] | (p.payload()[1] << 8);
    if (block >= proto::kImageBlocks)
        return;
    std::lock_guard<std::mutex> lk(sessionM_);
    if (path != sessionPath_)
        return;
    auto &queue = inflight_[static_cast<std::size_t>(block)];
    // Answers come in the order of the writes: the writes of this block
    // sent before the answered one and never answered were lost on the way.
    const auto answered =
        std::find_if(queue.begin(), queue.end(), [&p](const InFlight &w) { return w.seq == p.seq(); });
    if (answered == queue.end())
        return; // a write forgotten since (another session or configuration)
    const Block data = answered->data;
    const bool lostBefore = answered != queue.begin();
    queue.erase(queue.begin(), answered + 1);
    if (p.status() == proto::StatusOk) {
        confirmed_[static_cast<std::size_t>(block)] = data;
        confirmedValid_[static_cast<std::size_t>(block)] = true;
    } else {
        writesRejected_.fetch_add(1);
        if (lostBefore) // one of the lost writes may have landed
            confirmedValid_[static_cast<std::size_t>(block)] = false;
    }
}

// Keeps the library's picture of the device image in step with what the
// device reports about itself.
void Library::observe(const std::string &path, const proto::Report &r)
{
    const std::uint8_t kind = r.header[1];
    const std::uint8_t status = r.header[3];
    const std::uint8_t sub = r.header[4];
    std::lock_guard<std::mutex> lk(sessionM_);
    if (path != sessionPath_)
        return;
    auto patch = [this](int offset, const std::uint8_t *bytes, int n) {
        for (int i = 0; i < n; ++i) {
            const int o = offset + i;
            const std::size_t block = static_cast<std::size_t>(o / proto::kImageBlockBytes);
            if (confirmedValid_[block])
                confirmed_[block][static_cast<std::size_t>(o % proto::kImageBlockBytes)] = bytes[i];
        }
    };
    if (kind == ReportData && status == 0) {
        const int n = static_cast<int>(r.payload.size());
        if (sub == DataFullDump && n == kDumpSize) {
            for (int b = 0; b < proto::kImageBlocks; ++b) {
                std::memcpy(confirmed_[static_cast<std::size_t>(b)].data(),
                            r.payload.data() + b * proto::kImageBlockBytes, proto::kImageBlockBytes);
                confirmedValid_[static_cast<std::size_t>(b)] = true;
            }
        } else if (sub == DataReportRate && n == 1) {
            patch(0, r.payload.data(), 1);
        } else if (sub == DataActiveStage && n == 1) {
            patch(2, r.payload.data(), 1);
        } else if (sub == DataDpiLed && n == kDpiLedPayloadSize) {
            patch(96, r.payload.data(), 4);
        } else if (sub == DataLightBar && n == kLightBarPayloadSize) {
            patch(100, r.payload.data(), 7);
        }
    } else if (kind == ReportSettingsCleared
               || (kind == ReportStatusChanged && !r.payload.empty() && (r.payload[0] & (1u << StatusConfig)))) {
        // The device now holds another configuration: until the program has
        // read it, its picture of the device is unknown.
        confirmedValid_.fill(false);
    }
}

// ---------------------------------------------------------------------------
// Report thread
// ---------------------------------------------------------------------------
void Library::onPacket(const std::string &path, const proto::Packet &packet)
{
    {
        std::lock_guard<std::mutex> lk(inM_);
        inbound_.emplace_back(path, packet);
    }
    inCv_.notify_one();
}

void Library::reportLoop()
{
    tlLibraryThread = true;
    std::unique_lock<std::mutex> lk(inM_);
    for (;;) {
        inCv_.wait(lk, [this] { return quit_ || !inbound_.empty(); });
        if (quit_)
            return;
        std::pair<std::string, proto::Packet> item = std::move(inbound_.front());
        inbound_.pop_front();
        delivering_ = true;
        lk.unlock();
        if (item.second.kind() == proto::AnsWriteAck) {
            acknowledge(item.first, item.second);
        } else {
            proto::Report report;
            if (assemblers_[item.first].feed(item.second, &report)) {
                if (proto::knownReport(report.header[1], report.header[4], report.payload.size())) {
                    observe(item.first, report);
                    deliver(item.first, report);
                } else {
                    droppedReports_.fetch_add(1);
                }
            }
        }
        lk.lock();
        delivering_ = false;
    }
}

void Library::deliver(const std::string &path, const proto::Report &report)
{
    UsbReportCallback callback = nullptr;
    {
        std::lock_guard<std::mutex> lk(sessionM_);
        if (path != sessionPath_)
            return;
        callback = callback_;
    }
    if (!callback)
        return;
    // The payload buffer is never shorter than one packet and zero past the
    // payload, so readers of fixed-size payloads stay inside it.
    std::vector<unsigned char> payload(std::max<std::size_t>(report.payload.size(), proto::kPacketBytes), 0);
    if (!report.payload.empty())
        std::memcpy(payload.data(), report.payload.data(), report.payload.size());
    unsigned char header[kReportHeaderSize];
    std::memcpy(header, report.header.data(), kReportHeaderSize);
    callback(header, kReportHeaderSize, payload.data(), static_cast<int>(report.payload.size()));
}

// ---------------------------------------------------------------------------
// Synchronous exchange
// ---------------------------------------------------------------------------
bool Library::query(const char *path, std::uint8_t command, std::uint8_t arg, const void *payload, int length,
                    proto::Packet *reply)
{
    if (!path)
        return false;
    proto::Packet answer;
    const proto::Packet request =
        proto::makePacket(command, seq_++, 0, arg, static_cast<const std::uint8_t *>(payload), length);
    if (!transport_->transact(path, request, &answer))
        return false;
    if (answer.kind() != command)
        return false;
    if (reply)
        *reply = answer;
    return answer.status() == proto::StatusOk;
}

// ---------------------------------------------------------------------------
// Notification
// ---------------------------------------------------------------------------
bool Library::arm(UsbChangedCallback callback, int settleMs)
{
    {
        std::lock_guard<std::mutex> lk(noteM_);
        noteCallback_ = callback;
        settleMs_ = std::max(0, std::min(settleMs, 5000));
        noteInitial_ = callback != nullptr;
        noteChange_ = false;
    }
    noteCv_.notify_all();
    return callback != nullptr;
}

void Library::disarm()
{
    std::lock_guard<std::mutex> lk(noteM_);
    noteCallback_ = nullptr;
    noteInitial_ = false;
    noteChange_ = false;
}

void Library::doubtInFlight()
{
    std::lock_guard<std::mutex> lk(sessionM_);
    for (auto &queue : inflight_)
        for (InFlight &write : queue)
            write.trusted = false;
}

void Library::onChange()
{
    doubtInFlight();
    {
        std::lock_guard<std::mutex> lk(noteM_);
        // The first change of a burst opens the window; later ones ride
        // along, so a steady stream of changes still gets its calls.
        if (!noteChange_) {
            noteChange_ = true;
            noteAt_ = Clock::now() + std::chrono::milliseconds(settleMs_);
        }
    }
    noteCv_.notify_all();
}

void Library::notifyLoop()
{
    tlLibraryThread = true;
    std::unique_lock<std::mutex> lk(noteM_);
    while (!noteQuit_) {
        const bool due = noteCallback_ && (noteInitial_ || (noteChange_ && Clock::now() >= noteAt_));
        if (due) {
            noteInitial_ = false;
            noteChange_ = false;
            // Taken under the lock: once StopUsbChanged has returned no new
            // call is made, and none is waited for.
            UsbChangedCallback callback = noteCallback_;
            noteCalling_ = true;
            lk.unlock();
            callback();
            lk.lock();
            noteCalling_ = false;
            continue;
        }
        if (noteCallback_ && noteChange_)
            noteCv_.wait_until(lk, noteAt_);
        else
            noteCv_.wait(lk);
    }
}

// ---------------------------------------------------------------------------
// Firmware
// ---------------------------------------------------------------------------
namespace {

struct ImageId
{
    std::uint8_t target = 0, cid = 0, mid = 0;
    std::uint32_t version = 0;
};

// The identity of a whole, undamaged image; false for anything else, so a
// truncated or damaged file never reaches a device.
bool imageId(const unsigned char *image, int length, ImageId *id)
{
    if (!image || length <= 0 || !firmwareImageValid(image, static_cast<std::size_t>(length)))
        return false;
    FirmwareImageInfo info;
    readFirmwareHeader(image, static_cast<std::size_t>(length), &info);
    id->version = info.version;
    id->target = info.target;
    id->cid = info.cid;
    id->mid = info.mid;
    return true;
}

} // namespace

int Library::bootDevices(const unsigned char *image, int length)
{
    ImageId id;
    if (!imageId(image, length, &id))
        return 0;
    int n = 0;
    for (const UsbDeviceEntry &e : transport_->enumerate())
        if (e.bootMode && e.bootTarget == id.target && e.bootCid == id.cid && e.bootMid == id.mid)
            ++n;
    return n;
}

bool Library::startUpgrade(const unsigned char *image, int length, UsbUpgradeCallback callback, int timeoutMs)
{
    UpgradeJob job;
    job.callback = callback;
    job.timeoutMs = std::max(100, std::min(timeoutMs, 600000));
    ImageId id;
    if (imageId(image, length, &id)) {
        job.image.assign(image, image + length);
        std::vector<std::string> boot, normal;
        for (const UsbDeviceEntry &e : transport_->enumerate()) {
            if (e.bootTarget != id.target || e.bootCid != id.cid || e.bootMid != id.mid)
                continue;
            (e.bootMode ? boot : normal).push_back(e.path);
        }
        if (boot.size() == 1) {
            job.path = boot.front();
        } else if (boot.empty() && normal.size() == 1) {
            job.path = normal.front();
            job.enterBoot = true;
        }
    }
    const bool started = !job.path.empty();
    {
        std::lock_guard<std::mutex> lk(upM_);
        jobs_.push_back(std::move(job));
    }
    upCv_.notify_all();
    return started;
}

bool Library::attached(const std::string &path)
{
    for (const UsbDeviceEntry &e : transport_->enumerate())
        if (e.path == path)
            return true;
    return false;
}

bool Library::waitOrQuit(std::chrono::milliseconds ms)
{
    std::unique_lock<std::mutex> lk(upM_);
    return !upCv_.wait_for(lk, ms, [this] { return upQuit_; });
}

void Library::upgradeLoop()
{
    tlLibraryThread = true;
    std::unique_lock<std::mutex> lk(upM_);
    for (;;) {
        upCv_.wait(lk, [this] { return upQuit_ || !jobs_.empty(); });
        if (upQuit_)
            return;
        UpgradeJob job = std::move(jobs_.front());
        jobs_.pop_front();
        upBusy_ = true;
        lk.unlock();
        runUpgrade(job);
        lk.lock();
        upBusy_ = false;
    }
}

void Library::runUpgrade(const UpgradeJob &job)
{
    auto report = [this, &job](std::uint8_t status, std::uint8_t value) {
        if (!job.callback)
            return;
        if (status == 2 && loseFinished_.exchange(false))
            return;
        const unsigned char r[3] = {kUpgradeReportTag, status, value};
        job.callback(r);
    };
    if (job.path.empty()) {
        // Nothing fits the image: the flash can never start.
        if (waitOrQuit(std::chrono::milliseconds(job.timeoutMs)))
            report(2, 0);
        return;
    }
    ImageId id;
    imageId(job.image.data(), static_cast<int>(job.image.size()), &id);
    report(1, 0);
    std::string path = job.path;
    if (job.enterBoot) {
        if (!query(path.c_str(), proto::CmdEnterBoot, 0, nullptr, 0, nullptr)) {
            report(2, 0);
            return;
        }
        path.clear();
        for (const UsbDeviceEntry &e : transport_->enumerate())
            if (e.bootMode && e.bootTarget == id.target && e.bootCid == id.cid && e.bootMid == id.mid)
                path = e.path;
        if (path.empty()) {
            report(2, 0);
            return;
        }
    }
    const std::uint32_t total = static_cast<std::uint32_t>(job.image.size());
    std::uint8_t begin[11] = {static_cast<std::uint8_t>(total),
                              static_cast<std::uint8_t>(total >> 8),
                              static_cast<std::uint8_t>(total >> 16),
                              static_cast<std::uint8_t>(total >> 24),
                              id.target,
                              id.cid,
                              id.mid,
                              static_cast<std::uint8_t>(id.version),
                              static_cast<std::uint8_t>(id.version >> 8),
                              static_cast<std::uint8_t>(id.version >> 16),
                              static_cast<std::uint8_t>(id.version >> 24)};
    if (!query(path.c_str(), proto::CmdFlashBegin, 0, begin, sizeof begin, nullptr)) {
        report(2, 0);
        return;
    }
    std::uint32_t offset = 0;
    int lastPercent = 0;
    Clock::time_point lastProgress = Clock::now();
    const auto timeout = std::chrono::milliseconds(job.timeoutMs);
    while (offset < total) {
        const std::uint32_t n = std::min<std::uint32_t>(proto::kFirmwareChunkBytes, total - offset);
        std::uint8_t chunk[4 + proto::kFirmwareChunkBytes];
        chunk[0] = static_cast<std::uint8_t>(offset);
        chunk[1] = static_cast<std::uint8_t>(offset >> 8);
        chunk[2] = static_cast<std::uint8_t>(offset >> 16);
        chunk[3] = static_cast<std::uint8_t>(offset >> 24);
        std::memcpy(chunk + 4, job.image.data() + offset, n);
        proto::Packet answer;
        const bool answered = query(path.c_str(), proto::CmdFlashChunk, 0, chunk, static_cast<int>(4 + n), &answer);
        if (answered) {
            offset += n;
            lastProgress = Clock::now();
            const int percent = static_cast<int>(100ull * offset / total);
            if (percent != lastPercent && percent < 100) {
                lastPercent = percent;
                report(1, static_cast<std::uint8_t>(percent));
            }
            continue;
        }
        const bool gotAnswer = answer.kind() == proto::CmdFlashChunk;
        if (gotAnswer && answer.status() != proto::StatusBusy) {
            report(2, 0); // the device refused the image
            return;
        }
        if (Clock::now() - lastProgress > timeout || !attached(path)) {
            report(2, 0); // the device stopped answering or was unplugged
            return;
        }
        if (!waitOrQuit(std::chrono::milliseconds(gotAnswer ? 2 : 20)))
            return;
    }
    if (!query(path.c_str(), proto::CmdFlashFinish, 0, nullptr, 0, nullptr)) {
        report(2, 0);
        return;
    }
    report(1, 100);
    report(2, 1);
}

// ---------------------------------------------------------------------------
void Library::resetCounters()
{
    transport_->resetCounters();
    blocksWritten_ = 0;
    writesRejected_ = 0;
}

bool Library::idle()
{
    if (!transport_->idle())
        return false;
    {
        std::lock_guard<std::mutex> lk(inM_);
        if (!inbound_.empty() || delivering_)
            return false;
    }
    {
        std::lock_guard<std::mutex> lk(noteM_);
        if (noteCalling_ || (noteCallback_ && (noteInitial_ || noteChange_)))
            return false;
    }
    std::lock_guard<std::mutex> lk(upM_);
    return jobs_.empty() && !upBusy_;
}

} // namespace hidusb
