// The sleep-time slider, the second layout of the advanced page's sleep
// time, in a test host on the simulated mouse: each released step writes its
// code, a refill of the sensor page writes nothing, a refused write puts the
// slider back, and the number box reads as the step with its unit.

#include "app/postmsg.h"
#include "device/pagelink.h"
#include "pages/device/stopclosetimeb.h"
#include "support/layoutfixture.h"
#include "support/testmain.h"

#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

using layouttest::changed;
using layouttest::difference;
using Host = layouttest::Host<StopCloseTimeB>;

namespace {

// The host fills the widget in English from the advanced page's choices.
void giveEnglishUnits(StopCloseTimeB *widget)
{
    widget->setSleepItemText(0, catalogueOption(QStringLiteral("PerformanceOptions"), QStringLiteral("1"), 0));
    widget->setSleepItemText(5, catalogueOption(QStringLiteral("PerformanceOptions"), QStringLiteral("30"), 0));
}

void release(const Host &host, int position)
{
    QSlider *slider = host.find<QSlider>("StopClose");
    slider->setSliderDown(true);
    slider->setSliderPosition(position);
    slider->setSliderDown(false);
    QApplication::processEvents();
}

QString boxText(const Host &host)
{
    return host.find<QSpinBox>("spinBoxA")->text();
}

} // namespace

class TestStopCloseTimeB : public QObject
{
    Q_OBJECT

private slots:
    void releasedStepWritesItsCode_data();
    void releasedStepWritesItsCode();
    void refusedStepPutsTheSliderBack();
    void showingAndUnitsSendNothing();
};

void TestStopCloseTimeB::releasedStepWritesItsCode_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("flag"); // what is going on while released
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("changes");

    QTest::newRow("10 s") << 1 << ""
                          << "10 s"
                          << "8=1";
    QTest::newRow("30 s") << 2 << ""
                          << "30 s"
                          << "8=3";
    QTest::newRow("1 min") << 3 << ""
                           << "1 min"
                           << "8=6";
    QTest::newRow("5 min") << 4 << ""
                           << "5 min"
                           << "8=30";
    QTest::newRow("15 min") << 6 << ""
                            << "15 min"
                            << "8=90";
    QTest::newRow("40 min") << 11 << ""
                            << "40 min"
                            << "8=240";
    // Only a refill of the sensor page holds the write back.
    QTest::newRow("sensor page refilling") << 4 << "sensor"
                                           << "5 min"
                                           << "";
    QTest::newRow("lighting page refilling") << 4 << "light"
                                             << "5 min"
                                             << "8=30";
    QTest::newRow("button page refilling") << 4 << "button"
                                           << "5 min"
                                           << "8=30";
    QTest::newRow("not ready") << 4 << "not ready"
                               << "5 min"
                               << "";
}

void TestStopCloseTimeB::releasedStepWritesItsCode()
{
    QFETCH(int, position);
    QFETCH(QString, flag);
    QFETCH(QString, shown);
    QFETCH(QString, changes);

    // The mouse sleeps after 2 minutes, a time the slider has no step for.
    Host host([](QWidget *parent) { return new StopCloseTimeB(parent); },
              changed(sensortest::startRecord(), QStringLiteral("8=12")));
    giveEnglishUnits(host.layout);
    host.layout->setSleepIndex(7);
    std::unique_ptr<PageRefill> refill;
    if (flag == QLatin1String("sensor"))
        refill.reset(new PageRefill(PageRefill::SensorPage));
    else if (flag == QLatin1String("light"))
        refill.reset(new PageRefill(PageRefill::LightPage));
    else if (flag == QLatin1String("button"))
        refill.reset(new PageRefill(PageRefill::ButtonPage));
    uiReady = flag != QLatin1String("not ready");
    release(host, position);
    refill.reset();

    QCOMPARE(boxText(host), shown);
    const QString wrong = host.wrote(changes);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestStopCloseTimeB::refusedStepPutsTheSliderBack()
{
    Host host;
    giveEnglishUnits(host.layout);
    host.layout->setSleepIndex(1);
    QVERIFY(hidusb::sim::sleep(QStringLiteral("mouse")));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    release(host, 9);

    QCOMPARE(offline.count(), 1);
    QCOMPARE(host.find<QSlider>("StopClose")->value(), 2);
    QCOMPARE(boxText(host), QStringLiteral("30 s"));
    QVERIFY(difference(currentFlashData, host.start).isEmpty());

    QVERIFY(hidusb::sim::wake(QStringLiteral("mouse")));
    release(host, 3);
    QVERIFY(difference(sensortest::mouseFlash(), changed(host.start, QStringLiteral("8=6"))).isEmpty());
}

void TestStopCloseTimeB::showingAndUnitsSendNothing()
{
    Host host;
    QSlider *slider = host.find<QSlider>("StopClose");
    // A new widget reads as its first step, without a unit until it has one.
    QCOMPARE(slider->value(), 1);
    QCOMPARE(boxText(host), QStringLiteral("10"));

    host.layout->setSleepIndex(2);
    QCOMPARE(boxText(host), QStringLiteral("1"));
    // The unit shows at once, from the text of a choice without its number.
    host.layout->setSleepItemText(5, QStringLiteral("15分钟"));
    QCOMPARE(boxText(host), QStringLiteral("1分钟"));
    host.layout->setSleepItemText(3, QStringLiteral("2 min"));
    QCOMPARE(boxText(host), QStringLiteral("1分钟"));
    host.layout->setSleepIndex(1);
    QCOMPARE(boxText(host), QStringLiteral("30"));
    host.layout->setSleepItemText(0, QStringLiteral("10秒"));
    QCOMPARE(boxText(host), QStringLiteral("30秒"));
    QCOMPARE(slider->value(), 2);

    host.layout->setSleepIndex(10);
    QCOMPARE(boxText(host), QStringLiteral("40分钟"));
    QCOMPARE(Host::writes(), 0u);
    QVERIFY(difference(sensortest::mouseFlash(), host.start).isEmpty());
}

VELMORAX_TEST_MAIN(TestStopCloseTimeB)
#include "tst_stopclosetimeb.moc"
