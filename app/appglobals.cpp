#include "app/appglobals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

int offlineNoticeKind = 0;
QString warningText;

void waitWithEvents(int ms)
{
    // Not a nested QEventLoop: once the application was asked to quit, a new
    // event loop returns at once, and the quit path's own wait would be lost.
    // Sleeping in processEvents until an event or the wake-up timer arrives
    // keeps the wait whole without spinning.
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.setTimerType(Qt::PreciseTimer);
    wake.setSingleShot(true);
    for (qint64 left = ms; left > 0; left = ms - clock.elapsed()) {
        wake.start(int(left));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}
