#include "platform/hidusb/simulator.h"
#include "platform/hidusb/firmwareimage.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace hidusb {
namespace sim {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint16_t kBootPid = 0xB00F;
constexpr int kPairMs = 1500;

} // namespace

int linkCodeOfKind(int kind)
{
    switch (kind) {
    case 2:
        return 4;
    case 4:
        return 1;
    case 8:
        return 5;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------
// The transport
// ---------------------------------------------------------------------------
SimTransport::SimTransport()
{
    thread_ = std::thread([this] { run(); });
}

SimTransport::~SimTransport()
{
    halt();
}

void SimTransport::halt()
{
    {
        std::lock_guard<std::mutex> lk(qm_);
        quit_ = true;
    }
    qcv_.notify_all();
    if (thread_.joinable())
        thread_.join();
    std::lock_guard<std::mutex> lk(m_);
    saveDirty();
}

void SimTransport::load(std::vector<SimDevice> devices, int flashMs)
{
    std::lock_guard<std::mutex> lk(m_);
    saveDirty();
    {
        std::lock_guard<std::mutex> plk(pathsM_);
        cutPath_.clear();
        cutLeft_ = -1;
    }
    devices_ = std::move(devices);
    flashMs_ = flashMs;
    for (SimDevice &d : devices_)
        restore(d);
    announce(true);
}

void SimTransport::setSinks(PacketSink packets, ChangeSink changes, OnlineSink online)
{
    std::lock_guard<std::mutex> lk(m_);
    packets_ = std::move(packets);
    changes_ = std::move(changes);
    online_ = std::move(online);
    lastOnline_ = onlineTable();
    lastPaths_ = pathList();
    {
        std::lock_guard<std::mutex> plk(pathsM_);
        livePaths_ = lastPaths_;
    }
    if (online_)
        online_(lastOnline_);
}

std::string SimTransport::normalPath(const SimDevice &d) const
{
    const std::string id = d.id.toStdString();
    return d.type == SimDevice::Receiver ? "sim/" + id + "/receiver" : "sim/" + id + "/cable";
}

std::vector<UsbDeviceEntry> SimTransport::enumerate()
{
    std::lock_guard<std::mutex> lk(m_);
    std::vector<UsbDeviceEntry> out;
    for (const SimDevice &d : devices_) {
        if (!d.plugged)
            continue;
        UsbDeviceEntry e;
        e.vendorId = d.vid;
        e.bootTarget = d.type == SimDevice::Receiver ? kTargetReceiver : kTargetMouse;
        e.bootCid = d.cid;
        e.bootMid = d.mid;
        if (d.bootMode) {
            e.path = "sim/" + d.id.toStdString() + "/boot";
            e.productId = kBootPid;
            e.bootMode = true;
        } else {
            e.path = normalPath(d);
            e.productId = d.pid;
            e.version = d.version;
        }
        out.push_back(e);
    }
    return out;
}

std::vector<std::string> SimTransport::pathList() const
{
    std::vector<std::string> out;
    for (const SimDevice &d : devices_) {
        if (d.plugged)
            out.push_back(d.bootMode ? "sim/" + d.id.toStdString() + "/boot" : normalPath(d));
    }
    return out;
}

SimDevice *SimTransport::resolve(const std::string &path, Role *role)
{
    for (SimDevice &d : devices_) {
        if (!d.plugged)
            continue;
        if (d.bootMode) {
            if (path == "sim/" + d.id.toStdString() + "/boot") {
                *role = AsBoot;
                return &d;
            }
        } else if (path == normalPath(d)) {
            *role = d.type == SimDevice::Receiver ? AsReceiver : AsCable;
            return &d;
        }
    }
    *role = None;
    return nullptr;
}

SimDevice *SimTransport::find(const QString &id)
{
    for (SimDevice &d : devices_)
        if (d.id == id)
            return &d;
    return nullptr;
}

const SimDevice *SimTransport::find(const QString &id) const
{
    for (const SimDevice &d : devices_)
        if (d.id == id)
            return &d;
    return nullptr;
}

// The mouse a receiver can talk to right now: paired, awake, not on its
// cable (a cabled mouse switches its radio off), not in boot mode.
SimDevice *SimTransport::reachableMouse(SimDevice &receiver)
{
    if (!receiver.plugged || receiver.bootMode || receiver.answerNothing)
        return nullptr;
    for (SimDevice &m : devices_) {
        if (m.type == SimDevice::Mouse && m.pairedTo == receiver.id && !m.plugged && m.awake && !m.answerNothing
            && !m.bootMode)
            return &m;
    }
    return nullptr;
}

SimDevice *SimTransport::mouseBehind(const std::string &path)
{
    Role role = None;
    SimDevice *d = resolve(path, &role);
    if (!d)
        return nullptr;
    if (role == AsReceiver)
        return reachableMouse(*d);
    if (role == AsCable && d->awake && !d->answerNothing)
        return d;
    return nullptr;
}

std::string SimTransport::reportPath(const SimDevice &mouse) const
{
    if (mouse.answerNothing || mouse.bootMode || !mouse.awake)
        return std::string();
    if (mouse.plugged)
        return normalPath(mouse);
    const SimDevice *r = find(mouse.pairedTo);
    if (r && r->plugged && !r->bootMode && !r->answerNothing)
        return normalPath(*r);
    return std::string();
}

std::unordered_map<std::string, bool> SimTransport::onlineTable() const
{
    std::unordered_map<std::string, bool> t;
    for (const SimDevice &d : devices_) {
        if (!d.plugged)
            continue;
        if (d.bootMode) {
            t["sim/" + d.id.toStdString() + "/boot"] = false;
            continue;
        }
        bool online = false;
        if (d.type == SimDevice::Receiver) {
            online = const_cast<SimTransport *>(this)->reachableMouse(const_cast<SimDevice &>(d)) != nullptr;
        } else {
            online = d.awake && !d.answerNothing;
        }
        t[normalPath(d)] = online;
    }
    return t;
}

void SimTransport::announce(bool devicesChanged)
{
    {
        std::lock_guard<std::mutex> lk(pathsM_);
        livePaths_ = pathList();
    }
    std::unordered_map<std::string, bool> t = onlineTable();
    if (t != lastOnline_) {
        lastOnline_ = t;
        if (online_)
            online_(lastOnline_);
    }
    std::vector<std::string> paths = pathList();
    if (devicesChanged && paths != lastPaths_) {
        lastPaths_ = paths;
        if (changes_)
            changes_();
    }
}

void SimTransport::emitReport(const std::string &path, std::uint8_t kind, std::uint8_t status, std::uint8_t sub,
                              const std::uint8_t *payload, std::size_t length)
{
    if (path.empty())
        return;
    const std::vector<proto::Packet> packets = proto::makeReport(kind, seq_++, status, sub, payload, length);
    for (const proto::Packet &p : packets) {
        pktFrom_.fetch_add(1, std::memory_order_relaxed);
        bytesFrom_.fetch_add(proto::kPacketBytes, std::memory_order_relaxed);
        if (packets_)
            packets_(path, p);
    }
}

void SimTransport::emitAnswer(const std::string &path, const proto::Packet &answer)
{
    if (path.empty())
        return;
    pktFrom_.fetch_add(1, std::memory_order_relaxed);
    bytesFrom_.fetch_add(proto::kPacketBytes, std::memory_order_relaxed);
    if (packets_)
        packets_(path, answer);
}

void SimTransport::emitStatusChange(SimDevice &mouse, int flag)
{
    const std::uint8_t mask = static_cast<std::uint8_t>(1u << flag);
    emitReport(reportPath(mouse), ReportStatusChanged, 0, 0, &mask, 1);
}

bool SimTransport::send(const std::string &path, const proto::Packet &packet)
{
    QString pullOut;
    {
        std::lock_guard<std::mutex> lk(pathsM_);
        const auto live = std::find(livePaths_.begin(), livePaths_.end(), path);
        if (live == livePaths_.end())
            return false;
        if (cutLeft_ > 0 && path == cutPath_ && --cutLeft_ == 0) {
            // The last packet before the pull-out: later sends fail at once,
            // the device thread pulls the device out after handling it.
            livePaths_.erase(live);
            pullOut = cutId_;
            cutPath_.clear();
            cutLeft_ = -1;
        }
    }
    pktTo_.fetch_add(1, std::memory_order_relaxed);
    bytesTo_.fetch_add(proto::kPacketBytes, std::memory_order_relaxed);
    {
        std::lock_guard<std::mutex> lk(qm_);
        queue_.push_back(Queued{path, packet, QString()});
        if (!pullOut.isEmpty())
            queue_.push_back(Queued{std::string(), proto::Packet(), pullOut});
    }
    qcv_.notify_one();
    return true;
}

bool SimTransport::pullOutAfter(const QString &id, int packets)
{
    if (packets < 0)
        return false;
    std::lock_guard<std::mutex> lk(m_);
    SimDevice *d = find(id);
    if (!d || !d->plugged)
        return false;
    if (packets == 0) {
        pullOutLocked(*d);
        return true;
    }
    std::lock_guard<std::mutex> plk(pathsM_);
    cutPath_ = normalPath(*d);
    cutId_ = id;
    cutLeft_ = packets;
    return true;
}

void SimTransport::pullOutLocked(SimDevice &d)
{
    d.plugged = false;
    d.flashActive = false;
    d.pairState = d.pairState == 1 ? 0 : d.pairState;
    announce(true);
}

void SimTransport::run()
{
    std::unique_lock<std::mutex> lk(qm_);
    while (!quit_) {
        if (queue_.empty()) {
            // Timed work: pairing results.
            Clock::time_point next = Clock::time_point::max();
            {
                lk.unlock();
                std::lock_guard<std::mutex> slk(m_);
                handleTimers();
                saveDirty();
                for (const SimDevice &d : devices_)
                    if (d.pairState == 1)
                        next = std::min(next, d.pairDone);
                lk.lock();
            }
            if (quit_ || !queue_.empty())
                continue;
            if (next == Clock::time_point::max())
                qcv_.wait(lk);
            else
                qcv_.wait_until(lk, next);
            continue;
        }
        Queued item = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lk.unlock();
        {
            std::lock_guard<std::mutex> slk(m_);
            if (!item.pullOut.isEmpty()) {
                if (SimDevice *d = find(item.pullOut))
                    pullOutLocked(*d);
            } else {
                handle(item.path, item.packet);
            }
        }
        lk.lock();
        busy_ = false;
    }
}

bool SimTransport::idle() const
{
    std::lock_guard<std::mutex> lk(qm_);
    return queue_.empty() && !busy_ && dirtyCount_.load() == 0;
}

void SimTransport::handleTimers()
{
    const Clock::time_point now = Clock::now();
    for (SimDevice &r : devices_) {
        if (r.type != SimDevice::Receiver || r.pairState != 1 || now < r.pairDone)
            continue;
        SimDevice *mouse = nullptr;
        if (r.pairOutcome && r.pairCid == r.cid) {
            for (SimDevice &m : devices_)
                if (m.type == SimDevice::Mouse && m.pairedTo == r.id && !m.plugged)
                    mouse = &m;
            for (SimDevice &m : devices_)
                if (!mouse && m.type == SimDevice::Mouse && m.pairedTo.isEmpty() && !m.plugged && m.cid == r.pairCid)
                    mouse = &m;
        }
        std::uint8_t status = 2;
        if (mouse) {
            mouse->pairedTo = r.id;
            mouse->receiverId = r.receiverId;
            mouse->awake = true;
            status = 3;
        }
        r.pairState = status;
        emitReport(normalPath(r), ReportPairStatus, 0, 0, &status, 1);
        announce(false);
    }
}

void SimTransport::handle(const std::string &path, const proto::Packet &p)
{
    Role role = None;
    SimDevice *dev = resolve(path, &role);
    if (!dev || dev->answerNothing || role == AsBoot)
        return;
    SimDevice *mouse = mouseBehind(path);
    const std::uint8_t arg = p.sub();
    switch (p.kind()) {
    case proto::CmdSetDriverStatus:
        dev->driverStatus = arg != 0;
        if (mouse)
            mouse->driverStatus = arg != 0;
        return;
    case proto::CmdReadPairStatus: {
        if (role != AsReceiver)
            return;
        const std::uint8_t status = static_cast<std::uint8_t>(dev->pairState);
        emitReport(path, ReportPairStatus, 0, 0, &status, 1);
        return;
    }
    case proto::CmdEnterPairOnlyCid: {
        if (role != AsReceiver)
            return;
        dev->pairState = 1;
        dev->pairCid = arg;
        dev->pairDone = Clock::now() + std::chrono::milliseconds(kPairMs);
        const std::uint8_t status = 1;
        emitReport(path, ReportPairStatus, 0, 0, &status, 1);
        return;
    }
    default:
        break;
    }
    if (p.kind() == proto::CmdWriteBlock) {
        std::uint8_t ack[2] = {p.payload()[0], p.payload()[1]};
        const int block = p.payload()[0] | (p.payload()[1] << 8);
        std::uint8_t status = proto::StatusOk;
        if (!mouse)
            status = proto::StatusNoLink;
        else if (mouse->rejectWrites > 0) {
            --mouse->rejectWrites;
            status = proto::StatusBusy;
        } else if (p.payloadLength() != 2 + proto::kImageBlockBytes || block >= proto::kImageBlocks)
            status = proto::StatusRefused;
        else {
            Image &img = mouse->flash[static_cast<std::size_t>(mouse->activeSlot)];
            std::memcpy(img.data() + block * proto::kImageBlockBytes, p.payload() + 2, proto::kImageBlockBytes);
            if (!mouse->dirty) {
                mouse->dirty = true;
                dirtyCount_.fetch_add(1);
            }
        }
        emitAnswer(path, proto::makePacket(proto::AnsWriteAck, p.seq(), status, 0, ack, 2));
        return;
    }
    if (!mouse)
        return; // the mouse does not answer: requests go unanswered
    const Image &img = mouse->flash[static_cast<std::size_t>(mouse->activeSlot)];
    switch (p.kind()) {
    case proto::CmdReadAllFlash:
        emitReport(path, ReportData, 0, DataFullDump, img.data(), img.size());
        break;
    case proto::CmdReadBattery: {
        const std::uint8_t b[2] = {static_cast<std::uint8_t>(mouse->battery),
                                   mouse->charging ? std::uint8_t(1) : std::uint8_t(0)};
        emitReport(path, ReportBattery, 0, 0, b, 2);
        break;
    }
    case proto::CmdReadConfig: {
        const std::uint8_t s = static_cast<std::uint8_t>(mouse->activeSlot);
        emitReport(path, ReportConfigSlot, 0, 0, &s, 1);
        break;
    }
    case proto::CmdReadCurrentDpi:
        emitReport(path, ReportData, 0, DataActiveStage, img.data() + 2, 1);
        break;
    case proto::CmdReadDpiLed: {
        std::uint8_t b[kDpiLedPayloadSize] = {};
        std::memcpy(b, img.data() + 96, 4);
        emitReport(path, ReportData, 0, DataDpiLed, b, sizeof b);
        break;
    }
    case proto::CmdReadLedBar: {
        std::uint8_t b[kLightBarPayloadSize] = {};
        std::memcpy(b, img.data() + 100, 7);
        emitReport(path, ReportData, 0, DataLightBar, b, sizeof b);
        break;
    }
    case proto::CmdReadReportRate:
        emitReport(path, ReportData, 0, DataReportRate, img.data(), 1);
        break;
    case proto::CmdReadVersion: {
        const std::uint8_t v[2] = {static_cast<std::uint8_t>(mouse->version & 0xFF),
                                   static_cast<std::uint8_t>(mouse->version >> 8)};
        emitReport(path, ReportVersion, 0, 0, v, 2);
        break;
    }
    case proto::CmdSetCurrentConfig: {
        if (arg >= kConfigSlots)
            break;
        const bool changed = mouse->activeSlot != arg;
        mouse->activeSlot = arg;
        const std::uint8_t s = arg;
        emitReport(path, ReportConfigSlot, 0, 0, &s, 1);
        if (changed) {
            persist(*mouse);
            emitStatusChange(*mouse, StatusConfig);
        }
        break;
    }
    case proto::CmdSetBatteryOptimize:
        mouse->batteryOptimize = arg != 0;
        persist(*mouse);
        break;
    case proto::CmdClearSetting: {
        Image fresh{};
        dump::recordToImage(dump::factoryRecord(), fresh.data());
        for (Image &s : mouse->flash)
            s = fresh;
        persist(*mouse);
        emitReport(path, ReportSettingsCleared, 0, 0, nullptr, 0);
        break;
    }
    default:
        break;
    }
}

bool SimTransport::transact(const std::string &path, const proto::Packet &req, proto::Packet *reply)
{
    pktTo_.fetch_add(1, std::memory_order_relaxed);
    bytesTo_.fetch_add(proto::kPacketBytes, std::memory_order_relaxed);
    std::lock_guard<std::mutex> lk(m_);
    Role role = None;
    SimDevice *dev = resolve(path, &role);
    if (!dev || dev->answerNothing)
        return false;
    std::uint8_t out[proto::kMaxPayload] = {};
    int outLen = 0;
    std::uint8_t status = proto::StatusOk;
    const std::uint8_t *in = req.payload();
    const int inLen = req.payloadLength();
    SimDevice *mouse = mouseBehind(path);
    const bool receiver = role == AsReceiver;
    auto takeWrite = [&]() {
        if (dev->rejectWrites > 0) {
            --dev->rejectWrites;
            status = proto::StatusBusy;
            return false;
        }
        return true;
    };
    // The receiver's own records (LED information, light bar, indicator
    // LEDs): read back whole, written whole when the length is the record's.
    struct RecordPlace
    {
        void *at;
        int size;
    };
    auto receiverRecord = [&](std::uint8_t command) -> RecordPlace {
        switch (command) {
        case proto::CmdGetDongleRgb:
        case proto::CmdSetDongleRgb:
            return {&dev->rgb, static_cast<int>(sizeof dev->rgb)};
        case proto::CmdGetBarMode:
        case proto::CmdSetBarMode:
            return {&dev->bar, static_cast<int>(sizeof dev->bar)};
        default:
            return {&dev->leds, static_cast<int>(sizeof dev->leds)};
        }
    };
    bool devicesChanged = false;
    switch (req.kind()) {
    case proto::CmdGetInfo: {
        if (role == AsBoot)
            return false;
        ++dev->idAsked;
        const bool answers = dev->idAsked >= dev->idAnswersAfter;
        out[0] = answers ? dev->cid : 0;
        out[1] = answers ? dev->mid : 0;
        out[2] = static_cast<std::uint8_t>(receiver ? linkCodeOfKind(dev->kind) : 2);
        outLen = 3;
        break;
    }
    case proto::CmdGetAttribute: {
        UsbDeviceAttribute a{};
        a.size = 12;
        a.vendorId = dev->vid;
        a.productId = role == AsBoot ? kBootPid : dev->pid;
        a.interfaceNumber = 1;
        a.version = role == AsBoot ? 0 : dev->version;
        std::memcpy(out, &a, sizeof a);
        outLen = sizeof a;
        break;
    }
    case proto::CmdGetOnlineAddress: {
        if (role == AsBoot)
            return false;
        UsbAddressInfo info{};
        info.vendorId = dev->vid;
        info.productId = dev->pid;
        info.linkCode = static_cast<unsigned char>(receiver ? linkCodeOfKind(dev->kind) : 2);
        info.online = mouse ? 1 : 0;
        std::memcpy(info.receiverId, dev->receiverId.data(), 3);
        std::memcpy(out, &info, sizeof info);
        outLen = sizeof info;
        break;
    }
    case proto::CmdGetVersion:
        if (!mouse)
            return false;
        out[0] = static_cast<std::uint8_t>(mouse->version & 0xFF);
        out[1] = static_cast<std::uint8_t>(mouse->version >> 8);
        outLen = 2;
        break;
    case proto::CmdGetSlaveVersion:
        if (!receiver)
            return false;
        out[0] = static_cast<std::uint8_t>(dev->version & 0xFF);
        out[1] = static_cast<std::uint8_t>(dev->version >> 8);
        outLen = 2;
        break;
    case proto::CmdGetDongleRgb:
    case proto::CmdGetBarMode:
    case proto::CmdGetIndicator: {
        if (!receiver)
            return false;
        const RecordPlace record = receiverRecord(req.kind());
        std::memcpy(out, record.at, static_cast<std::size_t>(record.size));
        outLen = record.size;
        break;
    }
    case proto::CmdSetDongleRgb:
    case proto::CmdSetBarMode:
    case proto::CmdSetIndicator: {
        const RecordPlace record = receiverRecord(req.kind());
        if (!receiver || inLen != record.size)
            return false;
        if (takeWrite()) {
            std::memcpy(record.at, in, static_cast<std::size_t>(record.size));
            persist(*dev);
        }
        break;
    }
    case proto::CmdGetLongRange:
        if (!receiver)
            return false;
        out[0] = dev->longRange ? 1 : 0;
        outLen = 1;
        break;
    case proto::CmdSetLongRange:
        if (!receiver)
            return false;
        if (takeWrite()) {
            dev->longRange = req.sub() != 0;
            persist(*dev);
        }
        break;
    case proto::CmdSetDongleId:
        if (role != AsCable || inLen < 3)
            return false;
        if (takeWrite()) {
            std::memcpy(dev->receiverId.data(), in, 3);
            dev->pairedTo.clear();
            for (const SimDevice &r : devices_)
                if (r.type == SimDevice::Receiver && r.receiverId == dev->receiverId)
                    dev->pairedTo = r.id;
            persist(*dev);
        }
        break;
    case proto::CmdEnterBoot:
        if (role == AsBoot)
            break;
        dev->bootMode = true;
        dev->flashActive = false;
        persist(*dev);
        devicesChanged = true;
        break;
    case proto::CmdFlashBegin: {
        if (role != AsBoot || inLen < 11)
            return false;
        const std::uint32_t total = static_cast<std::uint32_t>(in[0] | (in[1] << 8) | (in[2] << 16))
                                    | (static_cast<std::uint32_t>(in[3]) << 24);
        const std::uint8_t target = in[4], cid = in[5], mid = in[6];
        const std::uint32_t version = static_cast<std::uint32_t>(in[7] | (in[8] << 8) | (in[9] << 16))
                                      | (static_cast<std::uint32_t>(in[10]) << 24);
        const std::uint8_t mine = dev->type == SimDevice::Receiver ? kTargetReceiver : kTargetMouse;
        if (target != mine || cid != dev->cid || mid != dev->mid || total == 0) {
            status = proto::StatusRefused;
            break;
        }
        dev->flashActive = true;
        dev->flashTotal = total;
        dev->flashReceived = 0;
        dev->flashVersion = static_cast<std::uint16_t>((((version >> 8) & 0xFF) << 8) | (version & 0xFF));
        dev->flashStart = Clock::now();
        break;
    }
    case proto::CmdFlashChunk: {
        if (role != AsBoot || inLen < 4)
            return false;
        if (!dev->flashActive) {
            status = proto::StatusRefused;
            break;
        }
        // Writing flash takes time: the device is busy until its share of
        // the whole flash time has passed.
        const auto due = dev->flashStart
                         + std::chrono::milliseconds(static_cast<long long>(flashMs_) * dev->flashReceived
                                                     / std::max<std::uint32_t>(1, dev->flashTotal));
        if (Clock::now() < due) {
            status = proto::StatusBusy;
            break;
        }
        const std::uint32_t offset = static_cast<std::uint32_t>(in[0] | (in[1] << 8) | (in[2] << 16))
                                     | (static_cast<std::uint32_t>(in[3]) << 24);
        const std::uint32_t n = static_cast<std::uint32_t>(inLen - 4);
        if (offset != dev->flashReceived || offset + n > dev->flashTotal) {
            status = proto::StatusRefused;
            dev->flashActive = false;
            break;
        }
        const int percentAfter = static_cast<int>(100ull * (offset + n) / dev->flashTotal);
        if (dev->failFlashAt >= 0 && percentAfter >= dev->failFlashAt) {
            status = proto::StatusRefused;
            dev->flashActive = false;
            break;
        }
        dev->flashReceived = offset + n;
        break;
    }
    case proto::CmdFlashFinish:
        if (role != AsBoot)
            return false;
        if (!dev->flashActive || dev->flashReceived != dev->flashTotal) {
            status = proto::StatusRefused;
            break;
        }
        dev->flashActive = false;
        dev->version = dev->flashVersion;
        dev->bootMode = false;
        persist(*dev);
        devicesChanged = true;
        break;
    default:
        return false;
    }
    pktFrom_.fetch_add(1, std::memory_order_relaxed);
    bytesFrom_.fetch_add(proto::kPacketBytes, std::memory_order_relaxed);
    if (reply)
        *reply = proto::makePacket(req.kind(), req.seq(), status, req.sub(), out, outLen);
    announce(devicesChanged);
    return true;
}

TransportCounters SimTransport::counters() const
{
    TransportCounters c;
    c.packetsToDevice = pktTo_.load();
    c.bytesToDevice = bytesTo_.load();
    c.packetsFromDevice = pktFrom_.load();
    c.bytesFromDevice = bytesFrom_.load();
    return c;
}

void SimTransport::resetCounters()
{
    pktTo_ = 0;
    bytesTo_ = 0;
    pktFrom_ = 0;
    bytesFrom_ = 0;
}

// ---------------------------------------------------------------------------
// Control
// ---------------------------------------------------------------------------
bool SimTransport::control(const QString &id, const std::function<bool(SimDevice &)> &fn)
{
    std::lock_guard<std::mutex> lk(m_);
    SimDevice *d = find(id);
    if (!d)
        return false;
    const bool ok = fn(*d);
    announce(true);
    return ok;
}

bool SimTransport::inspect(const QString &id, const std::function<void(const SimDevice &)> &fn) const
{
    std::lock_guard<std::mutex> lk(m_);
    const SimDevice *d = find(id);
    if (!d)
        return false;
    fn(*d);
    return true;
}

QStringList SimTransport::ids() const
{
    std::lock_guard<std::mutex> lk(m_);
    QStringList out;
    for (const SimDevice &d : devices_)
        out << d.id;
    return out;
}

QString SimTransport::pathOf(const QString &id) const
{
    std::lock_guard<std::mutex> lk(m_);
    const SimDevice *d = find(id);
    if (!d || !d->plugged)
        return QString();
    if (d->bootMode)
        return "sim/" + d->id + "/boot";
    return QString::fromStdString(normalPath(*d));
}

void SimTransport::setFlashDuration(int ms)
{
    std::lock_guard<std::mutex> lk(m_);
    flashMs_ = std::max(0, ms);
}

// A button pressed on the mouse wakes it. Returns the mouse, or null when
// the id names no mouse. Called with m_ held.
SimDevice *SimTransport::pressButtonOn(const QString &id)
{
    SimDevice *m = find(id);
    if (!m || m->type != SimDevice::Mouse)
        return nullptr;
    m->awake = true;
    announce(false);
    return m;
}

bool SimTransport::pressDpi(const QString &id, int step)
{
    std::lock_guard<std::mutex> lk(m_);
    SimDevice *m = pressButtonOn(id);
    if (!m)
        return false;
    Image &img = m->flash[static_cast<std::size_t>(m->activeSlot)];
    const int count = std::max(1, std::min<int>(8, img[1]));
    int stage = img[2] % count;
    stage = ((stage + step) % count + count) % count;
    img[2] = static_cast<std::uint8_t>(stage);
    persist(*m);
    emitStatusChange(*m, StatusDpiStage);
    return true;
}

bool SimTransport::pressSlot(const QString &id)
{
    std::lock_guard<std::mutex> lk(m_);
    SimDevice *m = pressButtonOn(id);
    if (!m)
        return false;
    m->activeSlot = (m->activeSlot + 1) % kConfigSlots;
    persist(*m);
    const std::uint8_t s = static_cast<std::uint8_t>(m->activeSlot);
    const std::string path = reportPath(*m);
    emitReport(path, ReportConfigSlot, 0, 0, &s, 1);
    emitStatusChange(*m, StatusConfig);
    return true;
}

bool SimTransport::pressRate(const QString &id)
{
    std::lock_guard<std::mutex> lk(m_);
    SimDevice *m = pressButtonOn(id);
    if (!m)
        return false;
    static const std::uint8_t rates[4] = {8, 4, 2, 1};
    Image &img = m->flash[static_cast<std::size_t>(m->activeSlot)];
    int i = 0;
    while (i < 4 && rates[i] != img[0])
        ++i;
    img[0] = rates[(i + 1) % 4];
    persist(*m);
    emitStatusChange(*m, StatusReportRate);
    return true;
}

bool SimTransport::battery(const QString &id, int level, bool charging)
{
    std::lock_guard<std::mutex> lk(m_);
    SimDevice *m = find(id);
    if (!m || m->type != SimDevice::Mouse || level < 0 || level > 100)
        return false;
    const bool changed = m->battery != level || m->charging != charging;
    m->battery = level;
    m->charging = charging;
    if (changed)
        emitStatusChange(*m, StatusBattery);
    return true;
}

bool SimTransport::receiverLedButton(const QString &id)
{
    std::lock_guard<std::mutex> lk(m_);
    SimDevice *r = find(id);
    if (!r || r->type != SimDevice::Receiver || !r->plugged || r->bootMode || r->answerNothing)
        return false;
    r->rgb.ledInfoChoice = static_cast<unsigned char>(r->rgb.ledInfoChoice % 3 + 1);
    persist(*r);
    emitReport(normalPath(*r), ReportReceiverLed, 0, 0, &r->rgb.ledInfoChoice, 1);
    return true;
}

bool SimTransport::longRangeOff(const QString &id)
{
    std::lock_guard<std::mutex> lk(m_);
    SimDevice *r = find(id);
    if (!r || r->type != SimDevice::Receiver || !r->plugged || r->bootMode || r->answerNothing)
        return false;
    r->longRange = false;
    persist(*r);
    std::uint8_t payload[kLongRangeOffPayloadSize] = {};
    std::memcpy(payload + 1, r->receiverId.data(), 3);
    emitReport(normalPath(*r), ReportLongRangeOff, 0, 0, payload, sizeof payload);
    return true;
}

bool SimTransport::factoryReset(const QString &id)
{
    std::lock_guard<std::mutex> lk(m_);
    SimDevice *d = find(id);
    if (!d)
        return false;
    QFile::remove(flashFile(d->id));
    Image fresh{};
    dump::recordToImage(dump::factoryRecord(), fresh.data());
    for (Image &s : d->flash)
        s = fresh;
    d->activeSlot = 0;
    d->bootMode = false;
    announce(true);
    return true;
}

} // namespace sim
} // namespace hidusb
