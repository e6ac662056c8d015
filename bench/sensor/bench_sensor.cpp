// One slider release on the sensor page: the GUI-thread time from the
// slider's new value to the handler's return (grid, code, record write, send
// hand-off and the summary panel's update), and what reaches the wire for it.
// The simulated mouse answers at once, so the figure is the program's own
// cost; the send itself does not block the GUI thread.

#include "pages/device/previer.h"
#include "support/sensorfixture.h"

#include <QElapsedTimer>
#include <QSlider>
#include <QtTest>

#include <algorithm>

class SensorBench : public QObject
{
    Q_OBJECT

private slots:
    void sliderRelease();
};

void SensorBench::sliderRelease()
{
    sensortest::Fixture f(1);
    PreVier summary; // the panel the release reports to
    hidusb::sim::setJournalEnabled(false);
    QSlider *slider = f.page->findChild<QSlider *>(QStringLiteral("horizontalSliderC"));
    QVERIFY(slider);

    // Alternate between two values on different codes, so every release
    // writes. Values in the upper segment change the flags byte too.
    const int values[2] = {1234, 21050};
    QVector<double> micros;
    hidusb::sim::Counters total{};
    const int rounds = 200;
    for (int round = 0; round < rounds; ++round) {
        hidusb::sim::waitIdle();
        hidusb::sim::resetCounters();
        QElapsedTimer clock;
        clock.start();
        slider->setValue(values[round % 2]);
        micros << clock.nsecsElapsed() / 1000.0;
        hidusb::sim::waitIdle();
        const hidusb::sim::Counters c = hidusb::sim::counters();
        total.packetsToDevice += c.packetsToDevice;
        total.bytesToDevice += c.bytesToDevice;
        total.recordBlocksWritten += c.recordBlocksWritten;
    }
    std::sort(micros.begin(), micros.end());
    const double median = micros.at(micros.size() / 2);
    qInfo("slider release, GUI thread: min %.0f us, median %.0f us, p95 %.0f us, max %.0f us over %d releases",
          micros.first(), median, micros.at(micros.size() * 95 / 100), micros.last(), rounds);
    qInfo("per release on the wire: %.1f packets, %.0f bytes to the mouse, %.1f record blocks",
          double(total.packetsToDevice) / rounds, double(total.bytesToDevice) / rounds,
          double(total.recordBlocksWritten) / rounds);
    QTest::setBenchmarkResult(median / 1000.0, QTest::WalltimeMilliseconds);
}

QTEST_MAIN(SensorBench)
#include "bench_sensor.moc"
