#include "app/delays.h"

#include <QtGlobal>

#include <atomic>

namespace delays {

namespace {

std::atomic<double> factor{1.0};

} // namespace

// The real value, whatever the scale.
static int realMs(Delay delay)
{
    switch (delay) {
    case Delay::WaitDialogStart:
        return 2500;
    case Delay::WaitDialogPoll:
        return 500;
    case Delay::WaitDialogRefreshPause:
        return 2000;
    case Delay::OnlineCheck:
        return 1300;
    case Delay::ReReadLimit:
        return 3000;
    case Delay::WorkerFinish:
        return 5000;
    case Delay::DeviceChangeSettle:
        return 600;
    case Delay::LeavePageWait:
        return 100;
    case Delay::LinkReleaseWait:
        return 100;
    case Delay::QuitWait:
        return 200;
    case Delay::MacroResendDelay:
        return 1500;
    case Delay::KeyComboWindow:
        return 2000;
    case Delay::PairReceiverPoll:
        return 100;
    case Delay::PairStatusPoll:
        return 1000;
    case Delay::PairTextStep:
        return 500;
    case Delay::ScreenSyncTick:
        return 200;
    case Delay::ProgressCatchUp:
        return 5;
    case Delay::UpgradeStepTick:
        return 1000;
    case Delay::FlashNoProgress:
        return 10000;
    case Delay::FlashWatchdogMargin:
        return 5000;
    }
    return 0;
}

int ms(Delay delay)
{
    const int real = realMs(delay);
    const double f = factor.load();
    if (f >= 1.0)
        return real;
    return qMax(1, qRound(real * f));
}

void setScale(double f)
{
    factor.store(f > 0.0 && f <= 1.0 ? f : 1.0);
}

} // namespace delays
