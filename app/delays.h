#pragma once

// The program's own waits, polls and time limits in one table, each at its
// real value in milliseconds. Code asks for a delay by name; the program
// always runs with the real values, so its timing and the order of its
// events are those of the table. Tests may shrink every delay at once with
// a scale, keeping the order, so that the real-time waits of the firmware
// upgrade or the wait dialog take a fraction of their time.

namespace delays {

enum class Delay {
    // The wait dialog ("updating the setting").
    WaitDialogStart,        // from opening to its job
    WaitDialogPoll,         // one poll of the page refills (the dialog polls 12 times)
    WaitDialogRefreshPause, // after the pages refilled, before the dialog closes
    // The device link.
    OnlineCheck,        // the worker's check whether the open mouse answers
    ReReadLimit,        // at most one re-read of the mouse per this time
    WorkerFinish,       // longest wait for the worker thread to end
    DeviceChangeSettle, // a burst of device changes is reported this long after its first
    LeavePageWait,      // after leaving the device page, before the report link ends
    LinkReleaseWait,    // after the report link ended, before the list takes over
    QuitWait,           // while quitting, between the device watch and the report link
    // Pages.
    MacroResendDelay, // a changed macro goes to its buttons this long after the save
    KeyComboWindow,   // keys pressed within this time make one combination
    PairReceiverPoll, // pairing: the receiver's presence
    PairStatusPoll,   // pairing: the receiver's pairing status
    PairTextStep,     // pairing: the waiting text's next dot
    ScreenSyncTick,   // clock synchronisation of a device with a small screen
    ProgressCatchUp,  // one step of the progress bar catching up
    // Firmware.
    UpgradeStepTick,     // one step of the settings page's upgrade
    FlashNoProgress,     // the library fails a flash that makes no progress this long
    FlashWatchdogMargin, // the program's own limit is this much past the library's
};

// The delay as the program uses it: its real value times the scale, at
// least 1 ms.
int ms(Delay delay);

// Tests only: every delay becomes its real value times `factor` (0 < factor
// <= 1; anything else restores the real values).
void setScale(double factor);

} // namespace delays
