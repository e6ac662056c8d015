#include "device/firmwareflash.h"

#include "app/delays.h"
#include "device/upgraderecord.h"
#include "platform/hidusb/hidusb.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>

namespace {

std::atomic<FirmwareFlash *> flashObject{nullptr};
constexpr int kEntries = 8;

} // namespace

// The library's callback carries no context; every flash gets the next of
// these entries, so a report names the flash it belongs to.
template <int N>
void firmwareFlashEntry(const unsigned char *report)
{
    FirmwareFlash::post(N, report);
}

namespace {

const UsbUpgradeCallback kEntryTable[kEntries] = {firmwareFlashEntry<0>, firmwareFlashEntry<1>, firmwareFlashEntry<2>,
                                                  firmwareFlashEntry<3>, firmwareFlashEntry<4>, firmwareFlashEntry<5>,
                                                  firmwareFlashEntry<6>, firmwareFlashEntry<7>};

} // namespace

FirmwareFlash *FirmwareFlash::instance()
{
    FirmwareFlash *f = flashObject.load();
    if (!f) {
        f = new FirmwareFlash;
        flashObject.store(f);
    }
    return f;
}

int FirmwareFlash::defaultWatchdogMs()
{
    return delays::ms(delays::Delay::FlashNoProgress) + delays::ms(delays::Delay::FlashWatchdogMargin);
}

FirmwareFlash::FirmwareFlash()
{
    watchdog.setSingleShot(true);
    watchdog.setInterval(defaultWatchdogMs());
    connect(&watchdog, &QTimer::timeout, this, &FirmwareFlash::fail);
}

// Library thread: hand the report to the GUI thread and return at once.
void FirmwareFlash::post(int entry, const unsigned char *report)
{
    if (!report || report[0] != hidusb::kUpgradeReportTag)
        return;
    FirmwareFlash *f = flashObject.load();
    if (!f)
        return;
    const int status = report[1];
    const int value = report[2];
    QMetaObject::invokeMethod(
        f, [f, entry, status, value] { f->onReport(entry, status, value); }, Qt::QueuedConnection);
}

bool FirmwareFlash::start(const QByteArray &image)
{
    if (active)
        fail();
    entry = nextEntry;
    nextEntry = (nextEntry + 1) % kEntries;
    active = true;
    watchdog.start();
    const bool started = UsbUpgrade_Start(reinterpret_cast<const unsigned char *>(image.constData()), image.size(),
                                          kEntryTable[entry], delays::ms(delays::Delay::FlashNoProgress));
    if (!started) {
        // The library's own failure report for this start comes much later
        // and is then ignored; the failure path runs now.
        active = false;
        watchdog.stop();
        entry = -1;
        QMetaObject::invokeMethod(
            this, [this] { emit finished(false); }, Qt::QueuedConnection);
    }
    return started;
}

void FirmwareFlash::onReport(int from, int status, int value)
{
    if (!active || from != entry)
        return;
    if (status == 1) {
        watchdog.start();
        emit progress(qBound(0, value, 100));
    } else if (status == 2) {
        active = false;
        entry = -1;
        watchdog.stop();
        emit finished(value == 1);
    }
}

void FirmwareFlash::fail()
{
    if (!active)
        return;
    active = false;
    entry = -1;
    watchdog.stop();
    emit finished(false);
}

namespace firmwarepart {

bool start(const QByteArray &image, const Part &part, Record record)
{
    if ((record == Record::Replace || upgraderecord::failInfo().isEmpty()) && !recordFailure(part))
        return false;
    FirmwareFlash::instance()->start(image);
    return true;
}

bool recordFailure(const Part &part)
{
    return upgraderecord::writeFail(part.target, part.receiverKind, part.cid, part.mid);
}

int overallPercent(int percent, int partsCount, bool mousePart)
{
    if (partsCount != 2)
        return percent;
    return percent / 2 + (mousePart ? 50 : 0);
}

void countBootDevices(const QByteArray &image, int *count)
{
    UsbUpgradeC_FindBootDevices(reinterpret_cast<const unsigned char *>(image.constData()), image.size(), count);
}

} // namespace firmwarepart
