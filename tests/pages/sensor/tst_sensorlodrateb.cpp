// The second layouts of the lift-off and report-rate choices, hosted side by
// side on the simulated mouse: each click writes exactly its byte, a refused
// click puts the row back, showing the mouse's values sends nothing.

#include "app/postmsg.h"
#include "device/pagelink.h"
#include "pages/sensor/sensorlodb.h"
#include "pages/sensor/sensorrateb.h"
#include "support/layoutfixture.h"
#include "support/testmain.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

using layouttest::changed;
using layouttest::difference;
using Host = layouttest::Host<QWidget>;

namespace {

const char *const kRateButtons[7] = {"Button125HZ",  "Button250HZ",  "Button500HZ", "Button1000HZ",
                                     "Button2000HZ", "Button4000HZ", "Button8000HZ"};
// Distance index 0 (1 mm), 1 (2 mm), 2 (0.7 mm).
const char *const kLodButtons[3] = {"MM1", "MM2", "MM0"};

// Both rows in one window, as a page would stack them.
struct Rows : Host
{
    Rows()
        : Host([](QWidget *parent) {
              auto *both = new QWidget(parent);
              both->resize(820, 70);
              new SensorLODB(both);
              (new SensorRateB(both))->move(0, 30);
              return both;
          })
    {}
    SensorLODB *lod() const { return layout->findChild<SensorLODB *>(); }
    SensorRateB *rate() const { return layout->findChild<SensorRateB *>(); }
};

QString checkedNames(const QWidget *row)
{
    QStringList names;
    for (const QCheckBox *box : row->findChildren<QCheckBox *>())
        if (box->isChecked())
            names << box->objectName();
    names.sort();
    return names.join(QLatin1Char(','));
}

// "lod N", "rate N", "three" (the 0.7 mm choice shown), "refill" (the
// sensor page refilling until the end), "not ready".
void act(Rows &rows, const QString &action, std::unique_ptr<PageRefill> &refill)
{
    const QStringList words = action.split(QLatin1Char(' '));
    const int arg = words.size() > 1 ? words.at(1).toInt() : 0;
    if (words.at(0) == QLatin1String("lod"))
        QTest::mouseClick(rows.find<QCheckBox>(kLodButtons[arg]), Qt::LeftButton);
    else if (words.at(0) == QLatin1String("rate"))
        QTest::mouseClick(rows.find<QCheckBox>(kRateButtons[arg]), Qt::LeftButton);
    else if (words.at(0) == QLatin1String("three"))
        rows.lod()->showThreeLodChoices();
    else if (words.at(0) == QLatin1String("refill"))
        refill.reset(new PageRefill(PageRefill::SensorPage));
    else if (action == QLatin1String("not ready"))
        uiReady = false;
    else
        QFAIL(qPrintable("unknown action " + action));
    QApplication::processEvents();
}

} // namespace

class TestSensorLodRateB : public QObject
{
    Q_OBJECT

private slots:
    void clicksWriteTheirBytes_data();
    void clicksWriteTheirBytes();
    void refusedClicksPutTheRowsBack_data();
    void refusedClicksPutTheRowsBack();
    void liftOffChoices();
    void visibleRates_data();
    void visibleRates();
};

void TestSensorLodRateB::clicksWriteTheirBytes_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("checked"); // the check buttons selected afterwards
    QTest::addColumn<int>("hideModel");   // last SigHideModel, -1 none

    // Start: 1000 Hz, 1 mm, both shown by the host.
    QTest::newRow("2 mm") << "lod 1"
                          << "5=2"
                          << "Button1000HZ,MM2" << -1;
    QTest::newRow("0.7 mm") << "three,lod 2"
                            << "5=3"
                            << "Button1000HZ,MM0" << -1;
    QTest::newRow("1 mm after 2 mm") << "lod 1,lod 0"
                                     << ""
                                     << "Button1000HZ,MM1" << -1;
    QTest::newRow("125 Hz") << "rate 0"
                            << "0=8"
                            << "Button125HZ,MM1" << 0;
    QTest::newRow("2000 Hz") << "rate 4"
                             << "0=16"
                             << "Button2000HZ,MM1" << 1;
    QTest::newRow("8000 Hz, then 125 Hz") << "rate 6,rate 0"
                                          << "0=8"
                                          << "Button125HZ,MM1" << 0;
    QTest::newRow("the selected rate again") << "rate 3"
                                             << ""
                                             << "Button1000HZ,MM1" << 0;
    // A sensor page refill shows the mouse's values: neither row writes.
    QTest::newRow("lift-off during a refill") << "refill,lod 1"
                                              << ""
                                              << "Button1000HZ,MM2" << -1;
    QTest::newRow("rate during a refill") << "refill,rate 6"
                                          << ""
                                          << "Button8000HZ,MM1" << -1;
    QTest::newRow("not ready") << "not ready,rate 6,lod 1"
                               << ""
                               << "Button8000HZ,MM2" << -1;
}

void TestSensorLodRateB::clicksWriteTheirBytes()
{
    QFETCH(QString, actions);
    QFETCH(QString, changes);
    QFETCH(QString, checked);
    QFETCH(int, hideModel);

    Rows rows;
    rows.lod()->setLodIndex(0);
    rows.rate()->setRateIndex(3);
    QSignalSpy hide(PostMsg::instance(), &PostMsg::SigHideModel);
    QSignalSpy report(PostMsg::instance(), &PostMsg::SigAddReport);
    QSignalSpy lod(PostMsg::instance(), &PostMsg::SigAddLOD);
    std::unique_ptr<PageRefill> refill;
    for (const QString &action : actions.split(QLatin1Char(',')))
        act(rows, action, refill);
    refill.reset();

    // Choosing the value the mouse holds writes it again.
    const QString wrong = rows.wrote(changes, actions.contains(QLatin1String("lod 1,lod 0")));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    QCOMPARE(checkedNames(rows.layout), checked);
    QCOMPARE(hide.isEmpty() ? -1 : hide.last().at(0).toInt(), hideModel);
    // The summary panel follows the sensor page, not this layout.
    QCOMPARE(report.count(), 0);
    QCOMPARE(lod.count(), 0);
}

void TestSensorLodRateB::refusedClicksPutTheRowsBack_data()
{
    QTest::addColumn<QString>("mouse");
    QTest::addColumn<int>("notices");

    QTest::newRow("silent mouse") << "asleep" << 1;
    QTest::newRow("record not read yet") << "not read" << 0;
}

void TestSensorLodRateB::refusedClicksPutTheRowsBack()
{
    QFETCH(QString, mouse);
    QFETCH(int, notices);

    Rows rows;
    rows.lod()->showThreeLodChoices();
    rows.lod()->setLodIndex(0);
    rows.rate()->setRateIndex(3);
    QVERIFY(layouttest::refuseWrites(mouse));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    QSignalSpy hide(PostMsg::instance(), &PostMsg::SigHideModel);
    std::unique_ptr<PageRefill> none;
    act(rows, QStringLiteral("rate 6"), none);
    act(rows, QStringLiteral("lod 2"), none);

    QCOMPARE(checkedNames(rows.layout), QStringLiteral("Button1000HZ,MM1"));
    QCOMPARE(offline.count(), 2 * notices);
    QCOMPARE(hide.count(), 0);
    QVERIFY(difference(currentFlashData, rows.start).isEmpty());
    QVERIFY(difference(sensortest::mouseFlash(), rows.start).isEmpty());

    // A row the host never filled goes back to no choice at all.
    Rows fresh;
    QVERIFY(hidusb::sim::sleep(QStringLiteral("mouse")));
    act(fresh, QStringLiteral("rate 6"), none);
    act(fresh, QStringLiteral("lod 1"), none);
    QCOMPARE(checkedNames(fresh.layout), QString());
}

void TestSensorLodRateB::liftOffChoices()
{
    Rows rows;
    SensorLODB *lod = rows.lod();
    QCheckBox *short07 = rows.find<QCheckBox>("MM0");
    QCheckBox *one = rows.find<QCheckBox>("MM1");
    QCheckBox *two = rows.find<QCheckBox>("MM2");
    // Every choice reads as the distance it writes.
    QCOMPARE(short07->text(), QStringLiteral("0.7mm"));
    QCOMPARE(one->text(), QStringLiteral("1mm"));
    QCOMPARE(two->text(), QStringLiteral("2mm"));

    // A new row offers two distances; 0.7 mm cannot be shown on it.
    QVERIFY(!short07->isVisible());
    QCOMPARE(one->x(), 165);
    lod->setLodIndex(2);
    QCOMPARE(checkedNames(lod), QString());
    lod->setLodIndex(1);
    QCOMPARE(checkedNames(lod), QStringLiteral("MM2"));
    lod->setLodIndex(7);
    QCOMPARE(checkedNames(lod), QStringLiteral("MM2"));

    lod->showThreeLodChoices();
    QVERIFY(short07->isVisible());
    QCOMPARE(QList<int>() << short07->x() << one->x() << two->x(), QList<int>() << 80 << 165 << 250);
    lod->setLodIndex(2);
    QCOMPARE(checkedNames(lod), QStringLiteral("MM0"));
    lod->showTwoLodChoices();
    QVERIFY(!short07->isVisible());
    QCOMPARE(QList<int>() << one->x() << two->x(), QList<int>() << 80 << 165);

    lod->showThreeLodChoices();
    lod->setLodChoicesEnabled(false);
    QVERIFY(!one->isEnabled() && !two->isEnabled());
    QVERIFY(short07->isEnabled());
    lod->setLabelToolTip(QStringLiteral("tip"));
    QCOMPARE(rows.find<QLabel>("label")->toolTip(), QStringLiteral("tip"));

    // Showing the mouse's values sends nothing.
    rows.rate()->setRateIndex(6);
    QCOMPARE(Host::writes(), 0u);
    QVERIFY(difference(sensortest::mouseFlash(), rows.start).isEmpty());
}

void TestSensorLodRateB::visibleRates_data()
{
    QTest::addColumn<int>("rateClass");
    QTest::addColumn<QString>("shownHigh"); // of 2000, 4000, 8000 Hz

    QTest::newRow("none") << 0 << "000";
    QTest::newRow("2000 and 4000") << 1 << "110";
    QTest::newRow("2000") << 2 << "100";
    QTest::newRow("all") << 3 << "111";
    QTest::newRow("unknown class changes nothing") << 5 << "110";
}

void TestSensorLodRateB::visibleRates()
{
    QFETCH(int, rateClass);
    QFETCH(QString, shownHigh);

    Rows rows;
    rows.rate()->setVisibleRates(1);
    rows.rate()->setVisibleRates(rateClass);
    QString shown;
    for (int i = 4; i < 7; ++i)
        shown += rows.find<QCheckBox>(kRateButtons[i])->isVisible() ? QLatin1Char('1') : QLatin1Char('0');
    QCOMPARE(shown, shownHigh);
    for (int i = 0; i < 4; ++i)
        QVERIFY(rows.find<QCheckBox>(kRateButtons[i])->isVisible());
}

VELMORAX_TEST_MAIN(TestSensorLodRateB)
#include "tst_sensorlodrateb.moc"
