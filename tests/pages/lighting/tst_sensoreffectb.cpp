// The DPI LED effect editor in its second layout (three effect buttons) in a
// test host on the simulated mouse: each control writes exactly the bytes of
// the lighting page's panel, a refused change goes back, showing the mouse's
// values sends nothing.

#include "app/postmsg.h"
#include "device/pagelink.h"
#include "pages/lighting/sensoreffectb.h"
#include "support/layoutfixture.h"
#include "support/testmain.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

using layouttest::changed;
using layouttest::difference;
using Host = layouttest::Host<SensorEffectB>;

namespace {

// The mouse breathes at speed 3 with brightness step 5 (byte 128) stored.
FlashDataMap breathing()
{
    return changed(sensortest::startRecord(), QStringLiteral("96=2 97=128 98=3 99=1"));
}

struct Effect : Host
{
    Effect() : Host([](QWidget *parent) { return new SensorEffectB(parent); }, breathing())
    {
        layout->showMode(2);
        layout->setSpeedValue(3);
        layout->setBrightnessStepValue(5);
    }
};

const char *const kModeButtons[3] = {"MM3", "MM1", "MM2"};

void releaseSlider(QSlider *slider, int value)
{
    slider->setSliderDown(true);
    slider->setSliderPosition(value);
    slider->setSliderDown(false);
}

// "mode N", "speed N", "brightness N" (released sliders), "drag N" (the
// speed handle held at N), "refill", "not ready".
void act(Effect &effect, const QString &action, std::unique_ptr<PageRefill> &refill)
{
    const QStringList words = action.split(QLatin1Char(' '));
    const int arg = words.size() > 1 ? words.at(1).toInt() : 0;
    if (words.at(0) == QLatin1String("mode")) {
        QTest::mouseClick(effect.find<QCheckBox>(kModeButtons[arg]), Qt::LeftButton);
    } else if (words.at(0) == QLatin1String("speed")) {
        effect.layout->showMode(2);
        releaseSlider(effect.find<QSlider>("SpeedH"), arg);
    } else if (words.at(0) == QLatin1String("brightness")) {
        effect.layout->showMode(1);
        releaseSlider(effect.find<QSlider>("LightH"), arg);
    } else if (words.at(0) == QLatin1String("drag")) {
        QSlider *slider = effect.find<QSlider>("SpeedH");
        slider->setSliderDown(true);
        slider->setSliderPosition(arg);
    } else if (action == QLatin1String("refill")) {
        refill.reset(new PageRefill(PageRefill::SensorPage));
    } else if (action == QLatin1String("not ready")) {
        uiReady = false;
    } else {
        QFAIL(qPrintable("unknown action " + action));
    }
    QApplication::processEvents();
}

// What shows: the checked effect button, then speed and brightness as
// "slider value/box", then which of the six slider parts are visible.
QString shown(const Effect &effect)
{
    QString mode = QStringLiteral("none");
    for (const char *name : kModeButtons)
        if (effect.find<QCheckBox>(name)->isChecked())
            mode = QString::fromLatin1(name);
    QString visible;
    for (const char *name : {"SpeedH", "SpeedSpinBox", "line", "LightH", "LightSpinBox", "line_2"})
        visible += effect.find<QWidget>(name)->isVisible() ? QLatin1Char('1') : QLatin1Char('0');
    return QStringLiteral("%1 %2/%3 %4/%5 %6")
        .arg(mode)
        .arg(effect.find<QSlider>("SpeedH")->value())
        .arg(effect.find<QSpinBox>("SpeedSpinBox")->value())
        .arg(effect.find<QSlider>("LightH")->value())
        .arg(effect.find<QSpinBox>("LightSpinBox")->value())
        .arg(visible);
}

} // namespace

class TestSensorEffectB : public QObject
{
    Q_OBJECT

private slots:
    void changesWriteTheirBytes_data();
    void changesWriteTheirBytes();
    void refusedChangesGoBack_data();
    void refusedChangesGoBack();
    void showingSendsNothing();
};

void TestSensorEffectB::changesWriteTheirBytes_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("shown");

    // Visibility: speed slider, its box, its line, brightness slider, box, line.
    QTest::newRow("off keeps the stored effect") << "mode 0"
                                                 << "99=0"
                                                 << "MM3 3/3 5/5 001001";
    QTest::newRow("off, then steady") << "mode 0,mode 1"
                                      << "96=1"
                                      << "MM1 3/3 5/5 001110";
    QTest::newRow("breathing again") << "mode 2"
                                     << ""
                                     << "MM2 3/3 5/5 110001";
    QTest::newRow("speed 5") << "speed 5"
                             << "98=5"
                             << "MM2 5/5 5/5 110001";
    QTest::newRow("brightness step 10") << "brightness 10"
                                        << "96=2 97=255"
                                        << "MM1 3/3 10/10 001110";
    QTest::newRow("brightness step 1") << "brightness 1"
                                       << "97=16"
                                       << "MM1 3/3 1/1 001110";
    // A drag moves the box along; the mouse hears of it on release.
    QTest::newRow("speed held at 4") << "drag 4"
                                     << ""
                                     << "MM2 3/4 5/5 110001";
    QTest::newRow("during a sensor refill") << "refill,mode 1,speed 5"
                                            << ""
                                            << "MM2 5/5 5/5 110001";
    QTest::newRow("not ready") << "not ready,mode 0"
                               << ""
                               << "MM3 3/3 5/5 001001";
}

void TestSensorEffectB::changesWriteTheirBytes()
{
    QFETCH(QString, actions);
    QFETCH(QString, changes);
    QFETCH(QString, shown);

    Effect effect;
    std::unique_ptr<PageRefill> refill;
    for (const QString &action : actions.split(QLatin1Char(',')))
        act(effect, action, refill);
    refill.reset();

    QCOMPARE(::shown(effect), shown);
    // Choosing the value the mouse holds writes it again.
    const QString wrong = effect.wrote(changes, actions.startsWith(QLatin1String("mode 2")));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestSensorEffectB::refusedChangesGoBack_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("shown");

    QTest::newRow("mode") << "mode 1"
                          << "MM2 3/3 5/5 110001";
    QTest::newRow("speed") << "speed 5"
                           << "MM2 3/3 5/5 110001";
    QTest::newRow("brightness") << "brightness 9"
                                << "MM1 3/3 5/5 001110";
}

void TestSensorEffectB::refusedChangesGoBack()
{
    QFETCH(QString, action);
    QFETCH(QString, shown);

    Effect effect;
    QVERIFY(hidusb::sim::sleep(QStringLiteral("mouse")));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    std::unique_ptr<PageRefill> none;
    act(effect, action, none);

    QCOMPARE(::shown(effect), shown);
    QCOMPARE(offline.count(), 1);
    QVERIFY(difference(currentFlashData, effect.start).isEmpty());
    QVERIFY(difference(sensortest::mouseFlash(), effect.start).isEmpty());

    // A refused slider waits for the mouse's values before it moves again.
    if (action.startsWith(QLatin1String("mode")))
        return;
    QSlider *slider = effect.find<QSlider>(action.startsWith(QLatin1String("speed")) ? "SpeedH" : "LightH");
    QVERIFY(!slider->isEnabled());
    QVERIFY(hidusb::sim::wake(QStringLiteral("mouse")));
    effect.layout->setSlidersEnabled(true);
    act(effect, QStringLiteral("speed 4"), none);
    QVERIFY(difference(sensortest::mouseFlash(), changed(effect.start, QStringLiteral("98=4"))).isEmpty());
}

void TestSensorEffectB::showingSendsNothing()
{
    Effect effect;
    QCOMPARE(shown(effect), QStringLiteral("MM2 3/3 5/5 110001"));
    effect.layout->showMode(0);
    QCOMPARE(shown(effect), QStringLiteral("MM3 3/3 5/5 001001"));
    effect.layout->showMode(5);
    QCOMPARE(shown(effect), QStringLiteral("MM3 3/3 5/5 001001"));
    effect.layout->showMode(1);
    effect.layout->setSpeedValue(4);
    effect.layout->setBrightnessStepValue(9);
    QCOMPARE(shown(effect), QStringLiteral("MM1 4/4 9/9 001110"));
    effect.layout->setModeButtonText(0, catalogueOption(QStringLiteral("DPIEffectOptions"), QStringLiteral("0"), 0));
    effect.layout->setModeButtonText(3, QStringLiteral("nowhere"));
    QCOMPARE(effect.find<QCheckBox>("MM3")->text(), QStringLiteral("Off"));
    effect.layout->setSlidersEnabled(false);
    QVERIFY(!effect.find<QSlider>("SpeedH")->isEnabled() && !effect.find<QSlider>("LightH")->isEnabled());
    QCOMPARE(Host::writes(), 0u);
    QVERIFY(difference(sensortest::mouseFlash(), effect.start).isEmpty());
}

VELMORAX_TEST_MAIN(TestSensorEffectB)
#include "tst_sensoreffectb.moc"
