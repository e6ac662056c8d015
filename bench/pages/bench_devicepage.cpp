// The device page against the simulated mouse:
// - the first open: from building the page (the program builds it when a
//   device is first chosen) to the last of the three pages refilled from the
//   mouse's configuration dump;
// - choosing the device again on the built page, to the last refill;
// - page switches: a page button clicked until the new page is painted.
// The device page runs its wait notice after each choice; its fixed 2500 ms
// job delay is not part of the refill figures, which stop at the moment the
// last refill flag is set.

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/worker.h"
#include "pages/device/dialog.h"
#include "pages/settings/updataparam.h"
#include "platform/hidusb/simcontrol.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

struct Figures
{
    double min = 0, median = 0, max = 0;
};

Figures figuresOf(QVector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples.first(), samples.at(samples.size() / 2), samples.last()};
}

} // namespace

class DevicePageBench : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    // First: it builds the page.
    void firstOpen();
    void chooseToLastRefill();
    void pageSwitches();
    void cleanupTestCase();

private:
    // Chooses the simulated receiver's mouse as the list page does and
    // returns the milliseconds from `clock`'s start to the last refill.
    qint64 chooseAndWait(const QElapsedTimer &clock);

    std::unique_ptr<Dialog> page;
    DeviceAllInfo chosen;
};

void DevicePageBench::initTestCase()
{
    loadTextCatalogue();
    hidusb::sim::loadDefaultScenario();
    hidusb::sim::setJournalEnabled(false);
    const QString path = hidusb::sim::pathOf(QStringLiteral("receiver"));
    QVERIFY(!path.isEmpty());
    chosen.path = path;
    const UsbDeviceInfo id = UsbFinderC_GetDeviceInfo(path.toLocal8Bit().constData(), 0);
    chosen.id = id.id;
    chosen.linkCode = id.linkCode;
    chosen.online = true;
}

qint64 DevicePageBench::chooseAndWait(const QElapsedTimer &clock)
{
    lightPageRefreshed = sensorPageRefreshed = buttonPageRefreshed = false;
    qint64 refilledAt = -1;
    QTimer probe;
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (refilledAt < 0 && lightPageRefreshed && sensorPageRefreshed && buttonPageRefreshed)
            refilledAt = clock.elapsed();
    });
    probe.start();

    // What choosing the device does, then the device page's callback naming
    // the path.
    emit PostMsg::instance()->SigSelectMouseInfo(chosen);
    currentDevicePath = chosen.path.toLocal8Bit();
    devicePageActive = 1;
    runRequested = true;
    workerThread->start(QThread::InheritPriority);

    if (!QTest::qWaitFor([&] { return refilledAt >= 0; }, 15000))
        return -1;
    // Let the notice finish its job before anything else runs.
    if (!QTest::qWaitFor([&] { return !page->waitNotice()->isVisible() && !workerThread->isRunning(); }, 15000))
        return -1;
    return refilledAt;
}

void DevicePageBench::firstOpen()
{
    QElapsedTimer clock;
    clock.start();
    page = std::make_unique<Dialog>(nullptr);
    page->show();
    QCoreApplication::processEvents();
    const qint64 built = clock.elapsed();
    const qint64 refilled = chooseAndWait(clock);
    QVERIFY(refilled >= 0);
    qInfo("first open: page built and shown %lld ms, last page refilled at %lld ms", built, refilled);
    QTest::setBenchmarkResult(double(refilled), QTest::WalltimeMilliseconds);
}

void DevicePageBench::chooseToLastRefill()
{
    QVERIFY(page);
    QVector<double> samples;
    const int rounds = 8;
    for (int round = 0; round < rounds; ++round) {
        emit PostMsg::instance()->SigMainPageChange();
        QElapsedTimer clock;
        clock.start();
        const qint64 refilled = chooseAndWait(clock);
        QVERIFY(refilled >= 0);
        samples << double(refilled);
    }
    const Figures f = figuresOf(samples);
    qInfo("choose -> last page refilled: min %.0f ms, median %.0f ms, max %.0f ms over %d rounds", f.min, f.median,
          f.max, rounds);
    QTest::setBenchmarkResult(f.median, QTest::WalltimeMilliseconds);
}

void DevicePageBench::pageSwitches()
{
    QVERIFY(page);
    const char *const buttons[] = {"PreButton",    "ButtonMain", "SensorButton", "MacroButton",
                                   "LightsButton", "Advanced",   "FormSetting"};
    // One warm-up pass: the first show of each page is the first open's cost.
    for (const char *name : buttons) {
        auto *button = page->findChild<QToolButton *>(QLatin1String(name));
        QVERIFY(button);
        button->click();
        page->repaint();
    }
    QVector<double> samples;
    const int rounds = 10;
    for (int round = 0; round < rounds; ++round) {
        for (const char *name : buttons) {
            auto *button = page->findChild<QToolButton *>(QLatin1String(name));
            QElapsedTimer clock;
            clock.start();
            button->click();
            QCoreApplication::processEvents();
            page->repaint();
            samples << clock.nsecsElapsed() / 1e6;
        }
    }
    const Figures f = figuresOf(samples);
    qInfo("page switch, click to painted: min %.1f ms, median %.1f ms, max %.1f ms over %d switches", f.min, f.median,
          f.max, int(samples.size()));
    QTest::setBenchmarkResult(f.median, QTest::WalltimeMilliseconds);
}

void DevicePageBench::cleanupTestCase()
{
    // The page goes before the link: its worker and timers may still reach
    // the simulated device while they stop.
    if (workerThread)
        QVERIFY(QTest::qWaitFor([] { return !workerThread->isRunning(); }, 15000));
    page.reset();
    UsbServer_Exit();
    hidusb::sim::waitIdle();
}

QTEST_MAIN(DevicePageBench)
#include "bench_devicepage.moc"
