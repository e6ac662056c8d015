// Temporary stand-ins so the interface links; replaced by the simulator.
#include "platform/hidusb/simcontrol.h"

namespace hidusb {
namespace sim {
bool loadScenarioJson(const QByteArray &, QString *) { return false; }
bool loadScenarioFile(const QString &, QString *) { return false; }
void loadDefaultScenario() {}
QByteArray defaultScenarioJson() { return QByteArray(); }
void restart() {}
QStringList deviceIds() { return QStringList(); }
QString pathOf(const QString &) { return QString(); }
bool isPlugged(const QString &) { return false; }
bool inBootMode(const QString &) { return false; }
bool plug(const QString &) { return false; }
bool unplug(const QString &) { return false; }
bool sleep(const QString &) { return false; }
bool wake(const QString &) { return false; }
bool pressDpiButton(const QString &, int) { return false; }
bool pressSlotButton(const QString &) { return false; }
bool pressReportRateButton(const QString &) { return false; }
bool setBattery(const QString &, int, bool) { return false; }
bool pressReceiverLedButton(const QString &) { return false; }
bool switchOffLongRange(const QString &) { return false; }
bool setPairingOutcome(const QString &, bool) { return false; }
bool rejectNextWrites(const QString &, int) { return false; }
bool setAnswerNothing(const QString &, bool) { return false; }
bool failFlashAt(const QString &, int) { return false; }
void setFlashDuration(int) {}
bool flashRecord(const QString &, FlashDataMap *, int) { return false; }
QByteArray flashImage(const QString &, int) { return QByteArray(); }
int activeSlot(const QString &) { return 0; }
int firmwareVersion(const QString &) { return 0; }
bool pcDriverStatus(const QString &) { return false; }
bool batteryOptimize(const QString &) { return false; }
bool longRange(const QString &) { return false; }
DongleRGB dongleRgb(const QString &) { return DongleRGB{}; }
LedBarMode dongleLightBar(const QString &) { return LedBarMode{}; }
DongleIndicatorLeds dongleIndicatorLeds(const QString &) { return DongleIndicatorLeds{}; }
QString flashFileName(const QString &) { return QString(); }
Counters counters() { return Counters(); }
void resetCounters() {}
QVector<JournalEntry> journal() { return QVector<JournalEntry>(); }
void clearJournal() {}
void setJournalEnabled(bool) {}
bool waitIdle(int) { return true; }
} // namespace sim
} // namespace hidusb
