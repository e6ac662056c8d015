#include "platform/hidusb/simcontrol.h"

#include "platform/hidusb/dumpformat.h"
#include "platform/hidusb/library.h"

#include <QElapsedTimer>
#include <QFile>

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
} // namespace

bool loadScenarioJson(const QByteArray &json, QString *error)
{
    return lib().loadScenario(json, error);
}

bool loadScenarioFile(const QString &fileName, QString *error)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QString("cannot open %1").arg(fileName);
        return false;
    }
    if (f.size() > 1024 * 1024) {
        if (error)
            *error = "scenario larger than 1 MiB";
        return false;
    }
    return lib().loadScenario(f.readAll(), error);
}

void loadDefaultScenario()
{
    lib().loadScenario(defaultScenarioJson(), nullptr);
}

QByteArray defaultScenarioJson()
{
    const QByteArray env = qgetenv("VELMORAX_DEVICES");
    if (!env.isEmpty()) {
        QFile f(QString::fromLocal8Bit(env));
        if (f.open(QIODevice::ReadOnly) && f.size() <= 1024 * 1024) {
            const QByteArray json = f.readAll();
            if (parseScenario(json, nullptr, nullptr, nullptr))
                return json;
        }
    }
    return defaultScenario();
}

void restart()
{
    lib().restart();
}

QStringList deviceIds() { return simulator().ids(); }
QString pathOf(const QString &id) { return simulator().pathOf(id); }

bool isPlugged(const QString &id)
{
    bool plugged = false;
    simulator().inspect(id, [&](const SimDevice &d) { plugged = d.plugged; });
    return plugged;
}

bool inBootMode(const QString &id)
{
    bool boot = false;
    simulator().inspect(id, [&](const SimDevice &d) { boot = d.bootMode; });
    return boot;
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

bool sleep(const QString &id)
{
    return simulator().control(id, [](SimDevice &d) {
        if (d.type != SimDevice::Mouse)
            return false;
        d.awake = false;
        return true;
    });
}

bool wake(const QString &id)
{
    return simulator().control(id, [](SimDevice &d) {
        if (d.type != SimDevice::Mouse)
            return false;
        d.awake = true;
        return true;
    });
}

bool pressDpiButton(const QString &id, int step) { return simulator().pressDpi(id, step); }
bool pressSlotButton(const QString &id) { return simulator().pressSlot(id); }
bool pressReportRateButton(const QString &id) { return simulator().pressRate(id); }
bool setBattery(const QString &id, int level, bool charging) { return simulator().battery(id, level, charging); }
bool pressReceiverLedButton(const QString &id) { return simulator().receiverLedButton(id); }
bool switchOffLongRange(const QString &id) { return simulator().longRangeOff(id); }

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

void setFlashDuration(int milliseconds) { simulator().setFlashDuration(milliseconds); }

bool factoryReset(const QString &id) { return simulator().factoryReset(id); }

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
    int s = -1;
    simulator().inspect(id, [&](const SimDevice &d) { s = d.type == SimDevice::Mouse ? d.activeSlot : -1; });
    return s;
}

int firmwareVersion(const QString &id)
{
    int v = -1;
    simulator().inspect(id, [&](const SimDevice &d) { v = d.version; });
    return v;
}

bool pcDriverStatus(const QString &id)
{
    bool v = false;
    simulator().inspect(id, [&](const SimDevice &d) { v = d.driverStatus; });
    return v;
}

bool batteryOptimize(const QString &id)
{
    bool v = false;
    simulator().inspect(id, [&](const SimDevice &d) { v = d.batteryOptimize; });
    return v;
}

bool longRange(const QString &id)
{
    bool v = false;
    simulator().inspect(id, [&](const SimDevice &d) { v = d.longRange; });
    return v;
}

DongleRGB dongleRgb(const QString &id)
{
    DongleRGB v{};
    simulator().inspect(id, [&](const SimDevice &d) { v = d.rgb; });
    return v;
}

LedBarMode dongleLightBar(const QString &id)
{
    LedBarMode v{};
    simulator().inspect(id, [&](const SimDevice &d) { v = d.bar; });
    return v;
}

DongleIndicatorLeds dongleIndicatorLeds(const QString &id)
{
    DongleIndicatorLeds v{};
    simulator().inspect(id, [&](const SimDevice &d) { v = d.leds; });
    return v;
}

QString flashFileName(const QString &id) { return SimTransport::flashFile(id); }

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

void resetCounters() { lib().resetCounters(); }
QVector<JournalEntry> journal() { return lib().journalEntries(); }
void clearJournal() { lib().clearJournal(); }
void setJournalEnabled(bool enabled) { lib().setJournalEnabled(enabled); }

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

} // namespace sim
} // namespace hidusb
