#include "platform/hidusb/simcontrol.h"

#include "platform/hidusb/dumpformat.h"
#include "platform/hidusb/library.h"
#include "platform/hidusb/screendevice.h"

#include <QElapsedTimer>

#include <chrono>
#include <cstring>
#include <thread>

namespace hidusb {
namespace sim {

namespace {
Library &lib()
{
    return Library::instance();
}
SimTransport &simulator()
{
    return Library::instance().sim();
}

// One value read from a device under the simulator's lock; `fallback` when
// there is no device of that id.
template <typename T, typename Get>
T inspectDevice(const QString &id, T fallback, Get get)
{
    T value = fallback;
    simulator().inspect(id, [&](const SimDevice &d) { value = get(d); });
    return value;
}

bool setMouseAwake(const QString &id, bool awake)
{
    return simulator().control(id, [awake](SimDevice &d) {
        if (d.type != SimDevice::Mouse)
            return false;
        d.awake = awake;
        return true;
    });
}
} // namespace

bool loadScenarioJson(const QByteArray &json, QString *error)
{
    return lib().loadScenario(json, error);
}

bool loadScenarioFile(const QString &fileName, QString *error)
{
    QByteArray json;
    QString reason;
    if (!readScenarioFile(fileName, &json, &reason)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(fileName, reason);
        return false;
    }
    return lib().loadScenario(json, error);
}

void loadDefaultScenario()
{
    lib().loadScenario(defaultScenarioJson(), nullptr);
}

QByteArray defaultScenarioJson()
{
    const QByteArray json = environmentScenario(nullptr);
    return json.isEmpty() ? defaultScenario() : json;
}

void restart()
{
    lib().restart();
}

QStringList deviceIds()
{
    return simulator().ids();
}
QString pathOf(const QString &id)
{
    return simulator().pathOf(id);
}

bool isPlugged(const QString &id)
{
    return inspectDevice<bool>(id, false, [](const SimDevice &d) { return d.plugged; });
}

bool inBootMode(const QString &id)
{
    return inspectDevice<bool>(id, false, [](const SimDevice &d) { return d.bootMode; });
}

bool plug(const QString &id)
{
    return simulator().control(id, [](SimDevice &d) {
        d.plugged = true;
        d.idAsked = 0;
        return true;
    });
}

bool unplug(const QString &id)
{
    return simulator().control(id, [](SimDevice &d) {
        d.plugged = false;
        d.flashActive = false;
        d.pairState = d.pairState == 1 ? 0 : d.pairState;
        return true;
    });
}

bool pullOutAfter(const QString &id, int packets)
{
    return simulator().pullOutAfter(id, packets);
}

bool sleep(const QString &id)
{
    return setMouseAwake(id, false);
}
bool wake(const QString &id)
{
    return setMouseAwake(id, true);
}

bool pressDpiButton(const QString &id, int step)
{
    return simulator().pressDpi(id, step);
}
bool pressSlotButton(const QString &id)
{
    return simulator().pressSlot(id);
}
bool pressReportRateButton(const QString &id)
{
    return simulator().pressRate(id);
}
bool setBattery(const QString &id, int level, bool charging)
{
    return simulator().battery(id, level, charging);
}
bool pressReceiverLedButton(const QString &id)
{
    return simulator().receiverLedButton(id);
}
bool switchOffLongRange(const QString &id)
{
    return simulator().longRangeOff(id);
}

bool setPairingOutcome(const QString &id, bool success)
{
    return simulator().control(id, [success](SimDevice &d) {
        if (d.type != SimDevice::Receiver)
            return false;
        d.pairOutcome = success;
        return true;
    });
}

bool rejectNextWrites(const QString &id, int count)
{
    return simulator().control(id, [count](SimDevice &d) {
        d.rejectWrites = count < 0 ? 0 : count;
        return true;
    });
}

bool setAnswerNothing(const QString &id, bool silent)
{
    return simulator().control(id, [silent](SimDevice &d) {
        d.answerNothing = silent;
        return true;
    });
}

bool failFlashAt(const QString &id, int percent)
{
    return simulator().control(id, [percent](SimDevice &d) {
        if (percent < -1 || percent > 100)
            return false;
        d.failFlashAt = percent;
        return true;
    });
}

void loseNextFinishedReport()
{
    Library::instance().loseNextFinishedReport();
}

void setFlashDuration(int milliseconds)
{
    simulator().setFlashDuration(milliseconds);
}

bool factoryReset(const QString &id)
{
    return simulator().factoryReset(id);
}

bool flashRecord(const QString &id, FlashDataMap *record, int slot)
{
    bool ok = false;
    simulator().inspect(id, [&](const SimDevice &d) {
        if (d.type != SimDevice::Mouse || !record)
            return;
        const int s = slot < 0 ? d.activeSlot : slot;
        if (s >= kConfigSlots)
            return;
        ok = dump::imageToRecord(d.flash[static_cast<std::size_t>(s)].data(), dump::kImageSize, record);
    });
    return ok;
}

QByteArray flashImage(const QString &id, int slot)
{
    QByteArray out;
    simulator().inspect(id, [&](const SimDevice &d) {
        if (d.type != SimDevice::Mouse)
            return;
        const int s = slot < 0 ? d.activeSlot : slot;
        if (s >= kConfigSlots)
            return;
        const Image &img = d.flash[static_cast<std::size_t>(s)];
        out = QByteArray(reinterpret_cast<const char *>(img.data()), static_cast<int>(img.size()));
    });
    return out;
}

int activeSlot(const QString &id)
{
    return inspectDevice<int>(id, -1,
                              [](const SimDevice &d) { return d.type == SimDevice::Mouse ? d.activeSlot : -1; });
}

int firmwareVersion(const QString &id)
{
    return inspectDevice<int>(id, -1, [](const SimDevice &d) { return d.version; });
}

bool pcDriverStatus(const QString &id)
{
    return inspectDevice<bool>(id, false, [](const SimDevice &d) { return d.driverStatus; });
}

bool batteryOptimize(const QString &id)
{
    return inspectDevice<bool>(id, false, [](const SimDevice &d) { return d.batteryOptimize; });
}

bool longRange(const QString &id)
{
    return inspectDevice<bool>(id, false, [](const SimDevice &d) { return d.longRange; });
}

DongleRGB dongleRgb(const QString &id)
{
    return inspectDevice<DongleRGB>(id, DongleRGB{}, [](const SimDevice &d) { return d.rgb; });
}

LedBarMode dongleLightBar(const QString &id)
{
    return inspectDevice<LedBarMode>(id, LedBarMode{}, [](const SimDevice &d) { return d.bar; });
}

DongleIndicatorLeds dongleIndicatorLeds(const QString &id)
{
    return inspectDevice<DongleIndicatorLeds>(id, DongleIndicatorLeds{}, [](const SimDevice &d) { return d.leds; });
}

QString flashFileName(const QString &id)
{
    return SimTransport::flashFile(id);
}

Counters counters()
{
    const TransportCounters t = lib().transport().counters();
    Counters c;
    c.packetsToDevice = t.packetsToDevice;
    c.bytesToDevice = t.bytesToDevice;
    c.packetsFromDevice = t.packetsFromDevice;
    c.bytesFromDevice = t.bytesFromDevice;
    c.recordBlocksWritten = lib().blocksWritten();
    c.writesRejected = lib().writesRejected();
    return c;
}

void resetCounters()
{
    lib().resetCounters();
}
QVector<JournalEntry> journal()
{
    return lib().journalEntries();
}
void clearJournal()
{
    lib().clearJournal();
}
void setJournalEnabled(bool enabled)
{
    lib().setJournalEnabled(enabled);
}

bool waitIdle(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    int quiet = 0;
    while (timer.elapsed() <= timeoutMs) {
        // Idle twice in a row: nothing was in flight between the looks.
        quiet = lib().idle() ? quiet + 1 : 0;
        if (quiet >= 2)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// ----- a device with a small screen ------------------------------------------
namespace {
bool screenId(const QString &text, std::uint16_t *out)
{
    QString t = text.trimmed();
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        t = t.mid(2);
    bool ok = false;
    const uint v = t.toUInt(&ok, 16);
    if (!ok || v > 0xFFFF)
        return false;
    *out = static_cast<std::uint16_t>(v);
    return true;
}
} // namespace

bool plugScreen(const QString &vid, const QString &pid)
{
    std::uint16_t v = 0, p = 0;
    if (!screenId(vid, &v) || !screenId(pid, &p))
        return false;
    screendevice::plug(v, p);
    return true;
}

void unplugScreen()
{
    screendevice::unplug();
}

void setScreenBadEchoes(int count)
{
    screendevice::setBadEchoes(count);
}
void setScreenSilent(bool silent)
{
    screendevice::setSilent(silent);
}
QList<QByteArray> screenPackets()
{
    return screendevice::received();
}
void clearScreenPackets()
{
    screendevice::clearReceived();
}

} // namespace sim
} // namespace hidusb
