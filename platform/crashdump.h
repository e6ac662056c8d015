#pragma once

#include <QString>

// Crash reports. install() arms handlers for the fatal signals and for
// std::terminate; a crash then writes "<yyyy_MM_dd_hh_mm_ss>.dmp" (local
// time) into the folder, holding the signal, the crashing thread and a
// backtrace, and ends the process at once. The handlers use only
// async-signal-safe calls; everything they need is prepared by install().
namespace crashdump {

// Arms the handlers; a later call replaces the folder. The folder is created
// (one level) at crash time when it is missing.
void install(const QString &folder);

// The dump file name for a broken-down local time, e.g.
// 2024_03_05_17_04_09.dmp. Exposed so the naming can be checked.
QString fileNameFor(int year, int month, int day, int hour, int minute, int second);

} // namespace crashdump

// Installs the crash reports for the program's per-user "Exception" folder.
// The main window holds one, armed while it is built.
class CrashDumpHandler
{
public:
    CrashDumpHandler() = default;
    // Arms the handlers with userDataRoot() + "/Exception".
    void install();
};
