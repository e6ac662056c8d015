#pragma once

// Control of the simulated receivers and mice behind the device-access
// library. Tests and tools drive the same simulator the program talks to:
// they plug and unplug devices, act on the mouse (a DPI or slot button, a
// battery change), inject failures and read what the library did (the call
// journal and the packet counters).
//
// Devices are named by the "id" of their scenario entry ("receiver" and
// "mouse" in the default scenario). Every function is thread-safe and none
// calls back into the program.

#include "platform/hidusb/hidusb.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>

namespace hidusb {
namespace sim {

// ----- scenarios -----------------------------------------------------------
// A scenario is a JSON object: {"devices": [ ... ], "flashMs": 3000}.
// Receiver entry: {"id", "type": "receiver", "kind": 1|2|4|8, "vid", "pid",
//   "cid", "mid", "version", "receiverId": [a, b, c], "plugged", "bootMode",
//   "idAnswersAfter", "longRange", "ledInfo", "answerNothing",
//   "rejectWrites", "failFlashAt"}
// Mouse entry: {"id", "type": "mouse", "pairedTo": receiver id or "",
//   "cable": bool, "vid", "pid", "cid", "mid", "version", "online",
//   "battery", "charging", "bootMode", "idAnswersAfter", "answerNothing",
//   "rejectWrites", "failFlashAt", "receiverId": [a, b, c]}
// Numbers may be given as JSON numbers or as texts ("0x0105"). Missing
// fields take the defaults of the catalogue's first model.

// Replaces what is attached by the scenario in `json`. On failure nothing
// changes and *error (when given) says why.
bool loadScenarioJson(const QByteArray &json, QString *error = nullptr);
// The same from a file.
bool loadScenarioFile(const QString &fileName, QString *error = nullptr);
// The default: one receiver with a paired, online mouse of the catalogue's
// first model (or the scenario named by VELMORAX_DEVICES when it loads).
void loadDefaultScenario();
// The scenario as the simulator would start with it now (JSON).
QByteArray defaultScenarioJson();

// Simulates a program restart: stops every library thread and session,
// forgets all library state and reloads every device from its flash file.
// Waits for the library's threads, so no callback may be blocked (and it
// must not be called from a callback).
void restart();

// ----- what is attached ------------------------------------------------------
QStringList deviceIds();
// The USB path of a device ("" while it is not plugged or has no path of its
// own: a mouse that only talks through its receiver).
QString pathOf(const QString &id);
bool isPlugged(const QString &id);
bool inBootMode(const QString &id);

// ----- acting on the hardware ------------------------------------------------
bool plug(const QString &id); // a receiver into USB, or a mouse's cable
bool unplug(const QString &id);
// Unplugs the device mid-send: the next `packets` packets sent to it reach
// it, every later send fails, and it is unplugged once it has handled them.
bool pullOutAfter(const QString &id, int packets);
bool sleep(const QString &id); // the mouse stops answering
bool wake(const QString &id);
// Mouse buttons handled by the mouse itself.
bool pressDpiButton(const QString &id, int step = 1); // next (+1) / previous (-1) stage
bool pressSlotButton(const QString &id);              // next configuration slot
bool pressReportRateButton(const QString &id);        // next report rate
bool setBattery(const QString &id, int level, bool charging);
// Receiver-side events.
bool pressReceiverLedButton(const QString &id); // next LED-information choice
bool switchOffLongRange(const QString &id);     // the receiver leaves long range
// Pairing: the next pairing attempt through this receiver ends with `success`.
bool setPairingOutcome(const QString &id, bool success);

// ----- failures ----------------------------------------------------------------
bool rejectNextWrites(const QString &id, int count);   // record writes answered "busy"
bool setAnswerNothing(const QString &id, bool silent); // no answer at all
bool failFlashAt(const QString &id, int percent);      // -1: flashing succeeds
// The next flash's finished report is lost on its way to the program.
void loseNextFinishedReport();
// Time a whole flash takes (all devices), in milliseconds.
void setFlashDuration(int milliseconds);
// Forgets a device's stored flash: factory settings, first slot, out of
// boot mode, flash file removed.
bool factoryReset(const QString &id);

// ----- reading the hardware ---------------------------------------------------
// The mouse's record of a configuration slot (-1: the active one), decoded
// from its flash image. False when the id names no mouse.
bool flashRecord(const QString &id, FlashDataMap *record, int slot = -1);
QByteArray flashImage(const QString &id, int slot = -1);
int activeSlot(const QString &id);
int firmwareVersion(const QString &id);
bool pcDriverStatus(const QString &id);
bool batteryOptimize(const QString &id);
bool longRange(const QString &id);
DongleRGB dongleRgb(const QString &id);
LedBarMode dongleLightBar(const QString &id);
DongleIndicatorLeds dongleIndicatorLeds(const QString &id);
// The file that holds a device's flash.
QString flashFileName(const QString &id);

// ----- a device with a small screen ------------------------------------------
// It echoes every raw packet written to it (clock synchronisation). One at a
// time; ids as texts ("0x7C28").
bool plugScreen(const QString &vid, const QString &pid);
void unplugScreen();
// The next `count` echoes carry a wrong last byte.
void setScreenBadEchoes(int count);
void setScreenSilent(bool silent);
QList<QByteArray> screenPackets();
void clearScreenPackets();

// ----- the library's side -----------------------------------------------------
struct Counters
{
    std::uint64_t packetsToDevice = 0; // host -> device, 64 bytes each
    std::uint64_t bytesToDevice = 0;
    std::uint64_t packetsFromDevice = 0; // device -> host
    std::uint64_t bytesFromDevice = 0;
    std::uint64_t recordBlocksWritten = 0; // image blocks sent by ProtocolDataUpdate
    std::uint64_t writesRejected = 0;
};
Counters counters();
void resetCounters();

struct JournalEntry
{
    QString function;  // e.g. "UsbFinderC_GetDeviceOnLine"
    QString path;      // the path argument, if any
    QString arguments; // the other arguments as text
    QString result;    // the result as text ("" for none)
    QString thread;    // "library" when called on one of the library's threads, else "caller"
};
QVector<JournalEntry> journal();
void clearJournal();
// Journalling of the hot online query can be switched off (benchmarks).
void setJournalEnabled(bool enabled);

// Waits until every queued request has been answered and every report
// handed to its callback has returned, or the timeout passes. Only for tests
// that run no GUI-blocking callback.
bool waitIdle(int timeoutMs = 5000);

} // namespace sim
} // namespace hidusb
