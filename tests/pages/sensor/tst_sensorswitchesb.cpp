// The second layout of the sensor page's three switches in a test host on
// the simulated mouse: a click writes exactly its byte, a refused click puts
// the toggle back, showing the mouse's value writes nothing.

#include "app/postmsg.h"
#include "device/pagelink.h"
#include "pages/sensor/sensorswitchesb.h"
#include "support/layoutfixture.h"
#include "support/testmain.h"

#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using layouttest::changed;
using layouttest::difference;
using Host = layouttest::Host<SensorSwitchB>;

namespace {

struct Kind
{
    const char *toggle;
    int byte;
};
constexpr Kind kKinds[3] = {{"RippeControl_2", 10}, {"StraightLine_2", 9}, {"MotionSync_2", 7}};

Host::Make maker(int kind)
{
    return [kind](QWidget *parent) -> SensorSwitchB * {
        switch (kind) {
        case 0:
            return new RippeControlB(parent);
        case 1:
            return new StraightLineB(parent);
        default:
            return new MotionSyncB(parent);
        }
    };
}

FlashDataMap recordWith(int byte, int value)
{
    return changed(sensortest::startRecord(), QStringLiteral("%1=%2").arg(byte).arg(value));
}

void click(const Host &host, int kind)
{
    QTest::mouseClick(host.find<QToolButton>(kKinds[kind].toggle), Qt::LeftButton);
    QApplication::processEvents();
}

} // namespace

class TestSensorSwitchesB : public QObject
{
    Q_OBJECT

private slots:
    void clickWritesItsByte_data();
    void clickWritesItsByte();
    void refusedClickPutsTheToggleBack_data();
    void refusedClickPutsTheToggleBack();
    void showingAndTextsWriteNothing();
};

void TestSensorSwitchesB::clickWritesItsByte_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("wasOn");
    QTest::addColumn<QString>("when"); // "", "not ready", "sensor refill"
    QTest::addColumn<QString>("changes");

    for (int kind = 0; kind < 3; ++kind) {
        const QString name = QString::fromLatin1(kKinds[kind].toggle);
        const int byte = kKinds[kind].byte;
        QTest::newRow(qPrintable(name + " on")) << kind << false << "" << QStringLiteral("%1=1").arg(byte);
        QTest::newRow(qPrintable(name + " off")) << kind << true << "" << QStringLiteral("%1=0").arg(byte);
    }
    // Only a user's click counts while the program is not ready; a refill of
    // the sensor page does not stop a click on this layout.
    QTest::newRow("not ready") << 0 << false << "not ready"
                               << "";
    QTest::newRow("during a sensor refill") << 2 << false << "sensor refill"
                                            << "7=1";
}

void TestSensorSwitchesB::clickWritesItsByte()
{
    QFETCH(int, kind);
    QFETCH(bool, wasOn);
    QFETCH(QString, when);
    QFETCH(QString, changes);

    Host host(maker(kind), recordWith(kKinds[kind].byte, wasOn ? 1 : 0));
    host.layout->setSwitchChecked(wasOn);
    QCOMPARE(Host::writes(), 0u);
    uiReady = when != QLatin1String("not ready");
    std::unique_ptr<PageRefill> refill;
    if (when == QLatin1String("sensor refill"))
        refill.reset(new PageRefill(PageRefill::SensorPage));
    click(host, kind);
    refill.reset();

    QCOMPARE(host.layout->isOn(), !wasOn);
    const QString wrong = host.wrote(changes);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestSensorSwitchesB::refusedClickPutsTheToggleBack_data()
{
    QTest::addColumn<QString>("mouse");
    QTest::addColumn<int>("notices");

    QTest::newRow("silent mouse") << "asleep" << 1;
    QTest::newRow("record not read yet") << "not read" << 0;
}

void TestSensorSwitchesB::refusedClickPutsTheToggleBack()
{
    QFETCH(QString, mouse);
    QFETCH(int, notices);

    Host host(maker(1));
    QVERIFY(layouttest::refuseWrites(mouse));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    click(host, 1);

    // The toggle shows what the mouse holds, not the refused choice.
    QVERIFY(!host.layout->isOn());
    QCOMPARE(offline.count(), notices);
    QVERIFY(difference(currentFlashData, host.start).isEmpty());
    QVERIFY(difference(sensortest::mouseFlash(), host.start).isEmpty());
}

void TestSensorSwitchesB::showingAndTextsWriteNothing()
{
    Host host(maker(0));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    host.layout->setSwitchChecked(true);
    QVERIFY(host.find<QToolButton>("RippeControl_2")->isChecked());
    host.layout->setSwitchChecked(false);
    host.layout->setLabelText(catalogueText(QStringLiteral("sensor"), QStringLiteral("Ripple"), 0));
    host.layout->setLabelToolTip(catalogueText(QStringLiteral("sensor"), QStringLiteral("RippleTips"), 0));
    QCOMPARE(Host::writes(), 0u);
    QCOMPARE(offline.count(), 0);

    // The tip shows over the caption: this layout has no tip icon.
    QLabel *label = host.find<QLabel>("label");
    QCOMPARE(label->text(), QStringLiteral("Ripple control"));
    QVERIFY(label->toolTip().startsWith(QStringLiteral("Smooths")));
    QCOMPARE(host.layout->findChildren<QLabel *>().size(), 1);
}

VELMORAX_TEST_MAIN(TestSensorSwitchesB)
#include "tst_sensorswitchesb.moc"
