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

    // The time the library is given to see progress (its third argument).
    static constexpr int kLibraryTimeoutMs = 10000;

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
    int entry = -1;    // callback entry of the running flash
    int nextEntry = 0;

    template <int N>
    friend void firmwareFlashEntry(const unsigned char *report);
    static void post(int entry, const unsigned char *report);
};
