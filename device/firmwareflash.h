#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

// One firmware flash at a time, as the program sees it: the image goes to
// the device-access library, and the library's reports come back as signals
// on the GUI thread, where every decision about what follows is made.
//
// - The flash counts as running from before the library is asked to start
//   it, so no early report can be missed.
// - A start the library refuses ends at once with finished(false).
// - When the library says nothing for watchdogMs (a lost report, a device
//   that never answers), the flash ends with finished(false), so nobody waits
//   for it for ever.
// - A late report of a flash that has already ended is ignored: each flash
//   hands the library its own callback entry, so reports are never taken for
//   those of a later flash.
class FirmwareFlash : public QObject
{
    Q_OBJECT

public:
    // The one instance; created by the first call, on the GUI thread.
    static FirmwareFlash *instance();

    // Starts flashing `image` (the whole file). False when the library
    // refused it; finished(false) then follows from the event loop.
    bool start(const QByteArray &image);
    bool flashing() const { return active; }

    // No report for this long ends a flash as failed. Longer than the
    // library's own no-progress time, so the library's verdict comes first.
    int watchdogMs() const { return watchdog.interval(); }
    void setWatchdogMs(int ms) { watchdog.setInterval(ms); }

    // The watchdog's time unless a test set another: the library is given
    // Delay::FlashNoProgress to see progress, the watchdog a margin more.
    static int defaultWatchdogMs();

signals:
    // Percent done, 0..100.
    void progress(int percent);
    // The flash ended: true only when the library reported success.
    void finished(bool success);

private:
    FirmwareFlash();
    void onReport(int entry, int status, int value);
    void fail();

    QTimer watchdog;
    bool active = false;
    int entry = -1; // callback entry of the running flash
    int nextEntry = 0;

    template <int N>
    friend void firmwareFlashEntry(const unsigned char *report);
    static void post(int entry, const unsigned char *report);
};

// What the settings page's upgrade and the repair share about one part of a
// run that flashes the receiver first and the mouse after it.
namespace firmwarepart {

// The part a flash writes, as the failure record names it.
struct Part
{
    int target = 0;       // 210 mouse, 211 receiver
    int receiverKind = 0; // 1, 2, 4, 8 (0: none known)
    int cid = 0;
    int mid = 0;
};

// Whether a flash puts its own part into the failure record or keeps a
// record already there (a repair keeps naming the part that failed first).
enum class Record { Replace, KeepExisting };

// Starts flashing `image` as `part`. The failure record is in place before
// the first byte goes out, so a flash the program never sees end (a crash, a
// kill, an unplug, a lost report) is offered for repair at the next start;
// only the library's success report removes it. The result comes as
// FirmwareFlash's finished signal. False, with nothing flashed and no
// finished signal, when the record cannot be stored (a full or read-only
// user folder): a flash cut off then could never be offered for repair.
bool start(const QByteArray &image, const Part &part, Record record);

// Writes the failure record for `part` (a flash that ended badly); false
// when it could not be stored.
bool recordFailure(const Part &part);

// Percent of the whole run for a flash's percent: with two parts the
// receiver fills 0-50 and the mouse 50-100.
int overallPercent(int percent, int partsCount, bool mousePart);

// How many devices in boot mode fit `image` (by its header's target, CID and
// MID), into *count; asked before a flash, so a run that would find no
// device, or more than one, is refused before it starts.
void countBootDevices(const QByteArray &image, int *count);

} // namespace firmwarepart
