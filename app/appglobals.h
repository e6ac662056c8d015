#pragma once

#include <QString>

// The name of the product on disk, in the registry store, as the
// single-instance key, the tray tool tip and the main window's title.
inline const QString productName = QStringLiteral("VELMORAX");

// Why the last offline notice was raised: 0 the device did not answer,
// 1 the pages were not refilled in time. Chooses the notice's text.
extern int offlineNoticeKind;

// The warning shown when only the mouse firmware has an update; the settings
// page fills it with the current language's text.
extern QString warningText;

// Waits `ms` milliseconds while the event loop keeps running: events,
// repaints and queued slots go on, and the thread sleeps while there is
// nothing to do. The timer is monotonic, so a clock change does not stretch
// or cut the wait.
void waitWithEvents(int ms);
