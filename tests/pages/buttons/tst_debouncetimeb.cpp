// The two second layouts of the button debounce time in a test host on the
// simulated mouse: the slider face writes the released position, the plus
// and minus face one step at a time and never 0 ms; a refused write shows
// the mouse's value again; showing a value writes nothing.

#include "app/postmsg.h"
#include "pages/buttons/debouncetimeb.h"
#include "support/layoutfixture.h"
#include "support/testmain.h"

#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

using layouttest::changed;
using layouttest::difference;
using Host = layouttest::Host<DebounceChoice>;

namespace {

Host::Make maker(const QString &face)
{
    if (face == QLatin1String("slider"))
        return [](QWidget *parent) -> DebounceChoice * { return new DebouncetimeB(parent); };
    return [](QWidget *parent) -> DebounceChoice * { return new DebouncetimeC(parent); };
}

// The mouse holds 8 ms.
FlashDataMap eightMs()
{
    return changed(sensortest::startRecord(), QStringLiteral("6=8"));
}

// "show N" (the host shows N ms), "release N", "drag N" (handle held at N),
// "plus", "minus", "not ready".
void act(Host &host, const QString &action)
{
    const QStringList words = action.split(QLatin1Char(' '));
    const int arg = words.size() > 1 ? words.at(1).toInt() : 0;
    QSlider *slider = host.find<QSlider>("Debunce");
    if (words.at(0) == QLatin1String("show")) {
        host.layout->setDebounceValue(arg);
    } else if (words.at(0) == QLatin1String("release")) {
        slider->setSliderDown(true);
        slider->setSliderPosition(arg);
        slider->setSliderDown(false);
    } else if (words.at(0) == QLatin1String("drag")) {
        slider->setSliderDown(true);
        slider->setSliderPosition(arg);
    } else if (action == QLatin1String("plus")) {
        QTest::mouseClick(host.find<QToolButton>("AddLevelA"), Qt::LeftButton, {}, QPoint(7, 7));
    } else if (action == QLatin1String("minus")) {
        QTest::mouseClick(host.find<QToolButton>("ReduceLevelA"), Qt::LeftButton, {}, QPoint(7, 2));
    } else if (action == QLatin1String("not ready")) {
        uiReady = false;
    } else {
        QFAIL(qPrintable("unknown action " + action));
    }
    QApplication::processEvents();
}

} // namespace

class TestDebouncetimeB : public QObject
{
    Q_OBJECT

private slots:
    void changesWriteWhatTheyShow_data();
    void changesWriteWhatTheyShow();
    void refusedWriteShowsTheMousesValue_data();
    void refusedWriteShowsTheMousesValue();
    void showingClampsAndSendsNothing_data();
    void showingClampsAndSendsNothing();
};

void TestDebouncetimeB::changesWriteWhatTheyShow_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("shown"); // the number box afterwards
    QTest::addColumn<QString>("changes");

    QTest::newRow("slider released at 12") << "slider"
                                           << "show 8,release 12" << 12 << "6=12";
    QTest::newRow("slider released at its ends") << "slider"
                                                 << "show 8,release 20,release 1" << 1 << "6=1";
    QTest::newRow("slider held: shown, not written") << "slider"
                                                     << "show 8,drag 15" << 15 << "";
    QTest::newRow("slider not ready") << "slider"
                                      << "show 8,not ready,release 12" << 12 << "";
    QTest::newRow("plus") << "buttons"
                          << "show 8,plus" << 9 << "6=9";
    QTest::newRow("minus") << "buttons"
                           << "show 8,minus" << 7 << "6=7";
    QTest::newRow("plus at 20") << "buttons"
                                << "show 20,plus" << 20 << "";
    QTest::newRow("minus at 1") << "buttons"
                                << "show 1,minus" << 1 << "";
    QTest::newRow("new box: plus writes 1") << "buttons"
                                            << "plus" << 1 << "6=1";
    QTest::newRow("new box: minus never writes 0") << "buttons"
                                                   << "minus" << 0 << "";
    QTest::newRow("buttons not ready") << "buttons"
                                       << "show 8,not ready,plus" << 9 << "";
}

void TestDebouncetimeB::changesWriteWhatTheyShow()
{
    QFETCH(QString, face);
    QFETCH(QString, actions);
    QFETCH(int, shown);
    QFETCH(QString, changes);

    Host host(maker(face), eightMs());
    QSignalSpy announced(PostMsg::instance(), &PostMsg::SigDebunce);
    for (const QString &action : actions.split(QLatin1Char(',')))
        act(host, action);

    QCOMPARE(host.find<QSpinBox>("spinBoxA")->value(), shown);
    const QString wrong = host.wrote(changes);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    // No summary text and no short-debounce notice from these faces.
    QCOMPARE(announced.count(), 0);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestDebouncetimeB::refusedWriteShowsTheMousesValue_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("action");

    QTest::newRow("slider") << "slider"
                            << "release 12";
    QTest::newRow("plus") << "buttons"
                          << "plus";
    QTest::newRow("minus") << "buttons"
                           << "minus";
}

void TestDebouncetimeB::refusedWriteShowsTheMousesValue()
{
    QFETCH(QString, face);
    QFETCH(QString, action);

    Host host(maker(face), eightMs());
    act(host, QStringLiteral("show 8"));
    QVERIFY(hidusb::sim::sleep(QStringLiteral("mouse")));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    act(host, action);

    QCOMPARE(offline.count(), 1);
    QCOMPARE(host.find<QSpinBox>("spinBoxA")->value(), 8);
    if (QSlider *slider = host.find<QSlider>("Debunce"))
        QCOMPARE(slider->value(), 8);
    QCOMPARE(host.layout->debounceValue(), 8);
    QVERIFY(difference(currentFlashData, host.start).isEmpty());

    // The next change starts from the mouse's value.
    QVERIFY(hidusb::sim::wake(QStringLiteral("mouse")));
    act(host, face == QLatin1String("slider") ? QStringLiteral("release 9") : QStringLiteral("plus"));
    QVERIFY(difference(sensortest::mouseFlash(), changed(host.start, QStringLiteral("6=9"))).isEmpty());
}

void TestDebouncetimeB::showingClampsAndSendsNothing_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("shown");

    QTest::newRow("slider 5") << "slider" << 5 << 5;
    QTest::newRow("slider below its range") << "slider" << 0 << 1;
    QTest::newRow("slider above its range") << "slider" << 25 << 20;
    QTest::newRow("buttons 0") << "buttons" << 0 << 0;
    QTest::newRow("buttons below its range") << "buttons" << -3 << 0;
    QTest::newRow("buttons above its range") << "buttons" << 31 << 20;
}

void TestDebouncetimeB::showingClampsAndSendsNothing()
{
    QFETCH(QString, face);
    QFETCH(int, value);
    QFETCH(int, shown);

    Host host(maker(face), eightMs());
    host.layout->setDebounceValue(value);
    host.layout->setUnitSuffix(QStringLiteral("ms"));
    QSpinBox *box = host.find<QSpinBox>("spinBoxA");
    QCOMPARE(box->value(), shown);
    QCOMPARE(box->text(), QString::number(shown) + QStringLiteral("ms"));
    if (QSlider *slider = host.find<QSlider>("Debunce"))
        QCOMPARE(slider->value(), shown);
    QCOMPARE(Host::writes(), 0u);
    QVERIFY(difference(sensortest::mouseFlash(), host.start).isEmpty());
}

VELMORAX_TEST_MAIN(TestDebouncetimeB)
#include "tst_debouncetimeb.moc"
