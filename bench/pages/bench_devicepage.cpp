// From choosing the device to the last of the three pages refilled from its
// configuration dump, against the simulated mouse. The device page runs its
// wait notice meanwhile; its fixed 2500 ms job delay is not part of the
// figure, which stops at the moment the last refill flag is set.

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/worker.h"
#include "pages/device/dialog.h"
#include "pages/settings/updataparam.h"
#include "platform/hidusb/simcontrol.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <algorithm>

class DevicePageBench : public QObject
{
    Q_OBJECT

private slots:
    void chooseToLastRefill();
};

void DevicePageBench::chooseToLastRefill()
{
    loadTextCatalogue();
    hidusb::sim::loadDefaultScenario();
    hidusb::sim::setJournalEnabled(false);
    Dialog page(nullptr);
    page.show();

    const QString path = hidusb::sim::pathOf(QStringLiteral("receiver"));
    QVERIFY(!path.isEmpty());
    DeviceAllInfo chosen;
    chosen.path = path;
    const UsbDeviceInfo id = UsbFinderC_GetDeviceInfo(path.toLocal8Bit().constData(), 0);
    chosen.id = id.id;
    chosen.linkCode = id.linkCode;
    chosen.online = true;

    QVector<double> samples;
    const int rounds = 8;
    for (int round = 0; round < rounds; ++round) {
        lightPageRefreshed = sensorPageRefreshed = buttonPageRefreshed = false;
        emit PostMsg::instance()->SigMainPageChange();
        QElapsedTimer clock;
        qint64 refilledAt = -1;
        QTimer probe;
        probe.setInterval(1);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (refilledAt < 0 && lightPageRefreshed && sensorPageRefreshed && buttonPageRefreshed)
                refilledAt = clock.elapsed();
        });
        probe.start();

        // What choosing the device does, then the device page's callback
        // naming the path.
        clock.start();
        emit PostMsg::instance()->SigSelectMouseInfo(chosen);
        currentDevicePath = path.toLocal8Bit();
        devicePageActive = 1;
        runRequested = true;
        workerThread->start(QThread::InheritPriority);

        QTRY_VERIFY_WITH_TIMEOUT(refilledAt >= 0, 15000);
        // Let the notice finish its job before the next round.
        QTRY_VERIFY_WITH_TIMEOUT(!page.waitNotice()->isVisible() && !workerThread->isRunning(), 15000);
        samples << double(refilledAt);
    }
    std::sort(samples.begin(), samples.end());
    const double median = samples.at(samples.size() / 2);
    qInfo("choose -> last page refilled: min %.0f ms, median %.0f ms, max %.0f ms over %d rounds", samples.first(),
          median, samples.last(), rounds);
    QTest::setBenchmarkResult(median, QTest::WalltimeMilliseconds);
    UsbServer_Exit();
}

QTEST_MAIN(DevicePageBench)
#include "bench_devicepage.moc"
