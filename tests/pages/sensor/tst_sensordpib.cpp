// The eight-row DPI layout against the simulated mouse. No page creates it,
// so the test plays its host: it fills the rows from the mouse's record
// through the show operations, then drives the rows as a user would. Every
// change writes exactly its bytes in one record, what is sent is what is
// shown, filling the rows sends nothing, and a change the mouse does not
// take puts the rows back to what it holds.

#include "app/configini.h"
#include "app/look.h"
#include "app/postmsg.h"
#include "device/dpicodec.h"
#include "pages/sensor/sensordpib.h"
#include "support/recordbytes.h"
#include "support/sensorfixture.h"
#include "support/testmain.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

using recordtest::firstDifference;
using recordtest::withBytes;
using sensortest::kStartDpi;
using sensortest::mouseFlash;

namespace {

const char kLetters[] = "ABCDEFGH";
const char *const kColorButtons[8] = {"BlueButtonA",  "BrightRedButtonA", "RedButtonA",       "YellowButtonA",
                                      "GreenButtonA", "PurpleButtonA",    "LightBlueButtonA", "LightYellowButtonA"};

QString rowName(const char *prefix, int stage)
{
    return QString::fromLatin1(prefix) + QLatin1Char(kLetters[stage]);
}

QString hexOf(const DpiStage &s)
{
    return QString::asprintf("#%02x%02x%02x", s.red, s.green, s.blue);
}

// Drive1's grid (sensor 3950): 50..10000 step 50, 10100..30000 step 100.
void useCatalogueGrid()
{
    currentSensorModel = QStringLiteral("3950");
    dpiRange.parse(ConfigIni::instance()->valueList(QStringLiteral("Drive1"), QStringLiteral("DPIRange")));
}

// What a host does with a record: every row, the list and the active stage.
void fillFrom(SensorDPIB &w, const FlashDataMap &record, bool checkActive = true)
{
    w.clearStageCountItems();
    for (int k = 0; k < 8; ++k)
        w.insertStageCountItem(k, QString::number(k + 1));
    w.setSlidersMinimum(dpiRange.lowest());
    w.setSlidersMaximum(dpiRange.highest());
    for (int k = 0; k < 8; ++k) {
        const DpiStage &s = record.dpiStages[k];
        w.setStageColorText(k, hexOf(s));
        w.setStageValueText(k, QString::number(decodeStageDpi(sensorTable, currentSensorModel, s.xCode, s.codeFlags)));
    }
    w.restyleColorButtons();
    w.setActiveStage(record.activeDpiStage);
    if (checkActive)
        w.checkStage(record.activeDpiStage);
    w.showStages(record.dpiStageCount - 1);
    w.setStageCountIndex(record.dpiStageCount - 1);
}

// The simulated mouse with the sensor tests' start record, and the layout
// filled from it by its host.
struct Host
{
    std::unique_ptr<SensorDPIB> widget;
    FlashDataMap start;

    // activeStage -1: stage 1 is active but the host checks no toggle.
    explicit Host(int activeStage = 1, int stageCount = 8)
    {
        resetDeviceStateForTests();
        pagetest::openSimulatedMouse();
        hidusb::sim::factoryReset(QStringLiteral("mouse"));
        readSensorTable();
        useCatalogueGrid();
        start = sensortest::startRecord(activeStage < 0 ? 1 : activeStage, stageCount);
        sensortest::giveMouse(start);
        uiReady = true;
        widget.reset(new SensorDPIB);
        widget->show();
        fillFrom(*widget, start, activeStage >= 0);
        QApplication::processEvents();
        hidusb::sim::waitIdle();
        hidusb::sim::resetCounters();
        hidusb::sim::clearJournal();
    }
    ~Host()
    {
        widget.reset();
        sensorPageRefreshing = false;
        modalOperation = false;
        UsbServer_Exit();
        hidusb::sim::waitIdle();
    }

    template <typename T>
    T *find(const QString &name) const
    {
        return widget->findChild<T *>(name);
    }
    QSlider *slider(int stage) const { return find<QSlider>(rowName("horizontalSlider", stage)); }
    QSpinBox *box(int stage) const { return find<QSpinBox>(rowName("spinBox", stage)); }
    QCheckBox *toggle(int stage) const { return find<QCheckBox>(rowName("M", stage)); }
    QComboBox *count() const { return find<QComboBox>(QStringLiteral("ChooseEvent")); }
};

// Everything the rows show, as one comparable line.
QString shown(const Host &h)
{
    QStringList out;
    out << QStringLiteral("count=%1 active=%2").arg(h.count()->currentIndex()).arg(h.widget->activeStage());
    for (int k = 0; k < 8; ++k)
        out << QStringLiteral("%1:%2/%3%4%5%6")
                   .arg(k)
                   .arg(h.slider(k)->value())
                   .arg(h.box(k)->value())
                   .arg(h.widget->stageColorText(k), h.toggle(k)->isChecked() ? "*" : "",
                        h.slider(k)->isVisible() ? "" : "h");
    return out.join(QLatin1Char(' '));
}

// The user's actions, by name: "slider <stage> <value>", "toggle <stage>",
// "colour <stage>", "count <stages>", "choose <stage>".
void act(Host &h, const QString &action)
{
    const QStringList words = action.split(QLatin1Char(' '));
    const QString verb = words.at(0);
    const int stage = words.value(1).toInt();
    if (verb == QLatin1String("slider")) {
        h.slider(stage)->setValue(words.at(2).toInt());
    } else if (verb == QLatin1String("toggle")) {
        QTest::mouseClick(h.toggle(stage), Qt::LeftButton, {}, QPoint(5, 10));
    } else if (verb == QLatin1String("colour")) {
        QTest::mouseClick(h.find<QToolButton>(QLatin1String(kColorButtons[stage])), Qt::LeftButton);
        QVERIFY(h.widget->colorDialog()->isVisible());
        h.widget->colorDialog()->hide();
        h.widget->SetColor(QColor(10, 200, 255));
    } else if (verb == QLatin1String("count")) {
        h.count()->setCurrentIndex(stage - 1);
    } else if (verb == QLatin1String("choose")) {
        h.widget->chooseStage(stage);
    } else {
        QFAIL(qPrintable("unknown action " + action));
    }
    QApplication::processEvents();
}

QString stageCode(int stage, int code, int flags)
{
    const int at = 48 + 6 * stage;
    return QStringLiteral("%1=%2 %3=%2 %4=%5").arg(at).arg(code).arg(at + 1).arg(at + 2).arg(flags);
}

int recordSends()
{
    int sends = 0;
    for (const auto &entry : hidusb::sim::journal())
        sends += entry.function == QLatin1String("ProtocolDataUpdate");
    return sends;
}

} // namespace

class TestSensorDPIB : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void userChangesWriteTheirBytes_data();
    void userChangesWriteTheirBytes();
    void sliderSendsWhatItShows_data();
    void sliderSendsWhatItShows();
    void refusedChangesPutTheRowsBack_data();
    void refusedChangesPutTheRowsBack();
    void countBelowTheActiveStageExchangesIt();
    void showingSendsNothing();
    void hostOperations();
};

void TestSensorDPIB::cleanup()
{
    hidusb::sim::setJournalEnabled(false);
}

// ---------------------------------------------------------------------------

void TestSensorDPIB::userChangesWriteTheirBytes_data()
{
    QTest::addColumn<int>("active");
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("changes");

    // Start: eight stages, 400 800 1600 3200 6400 12000 20000 30000 DPI.
    // 3950 on Drive1's grid: code dpi/50-1 up to 10000; above, code
    // dpi/100-1 with flags 0x22 and bits 8-9 of the code folded in.
    QTest::newRow("first slider change") << 1 << "slider 1 1234" << stageCode(1, 23, 0);
    QTest::newRow("slider into the gap") << 1 << "slider 3 10050" << stageCode(3, 100, 0x22);
    QTest::newRow("slider in the upper segment") << 1 << "slider 7 25050" << stageCode(7, 249, 0x22);
    QTest::newRow("second change, other row")
        << 1 << "slider 0 800,slider 5 1000" << stageCode(0, 15, 0) + " " + stageCode(5, 19, 0);
    QTest::newRow("stage toggle") << 1 << "toggle 3"
                                  << "2=3";
    QTest::newRow("host chooses a stage") << 1 << "choose 5"
                                          << "2=5";
    QTest::newRow("colour of stage 4") << 1 << "colour 4"
                                       << "75=10 76=200 77=255";
    QTest::newRow("count 5, active stage kept") << 2 << "count 5"
                                                << "1=5";
    QTest::newRow("count 1 with stage 0 active") << 0 << "count 1"
                                                 << "1=1";
}

void TestSensorDPIB::userChangesWriteTheirBytes()
{
    QFETCH(int, active);
    QFETCH(QString, actions);
    QFETCH(QString, changes);

    Host h(active);
    hidusb::sim::setJournalEnabled(true);
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    const QStringList list = actions.split(QLatin1Char(','));
    for (const QString &action : list)
        act(h, action);

    const FlashDataMap want = withBytes(h.start, changes);
    const FlashDataMap flash = mouseFlash();
    QVERIFY2(firstDifference(flash, want).isEmpty(), qPrintable(firstDifference(flash, want)));
    QVERIFY(firstDifference(currentFlashData, want).isEmpty());
    // One record per change, none dropped, none doubled.
    QCOMPARE(recordSends(), list.size());
    QCOMPARE(offline.count(), 0);
}

// ---------------------------------------------------------------------------

void TestSensorDPIB::sliderSendsWhatItShows_data()
{
    QTest::addColumn<QStringList>("grid");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("snapped");
    QTest::addColumn<int>("pageStep");

    const QStringList one = {"50", "16000", "50", "11"};
    const QStringList two = {"100", "1000", "100", "1200", "26000", "200", "11"};
    QTest::newRow("one segment rounds down") << one << 1234 << 1200 << 50;
    QTest::newRow("gap goes up to the next minimum") << two << 1100 << 1200 << 200;
    QTest::newRow("upper segment rounds down to its step") << two << 2500 << 2400 << 200;
    QTest::newRow("below the first segment stays") << two << 60 << 60 << 50;
    QTest::newRow("above the last segment stays") << QStringList{"100", "8000", "100", "11"} << 9050 << 9050 << 50;
    QTest::newRow("no grid yet stays") << QStringList() << 1234 << 1234 << 50;
}

void TestSensorDPIB::sliderSendsWhatItShows()
{
    QFETCH(QStringList, grid);
    QFETCH(int, value);
    QFETCH(int, snapped);
    QFETCH(int, pageStep);

    Host h;
    dpiRange.parse(grid);
    h.widget->setSlidersMinimum(50);
    h.widget->setSlidersMaximum(30000);
    h.slider(2)->setPageStep(50);
    act(h, QStringLiteral("slider 2 %1").arg(value));

    // The slider stands on the value the box shows and the mouse got.
    QCOMPARE(h.slider(2)->value(), snapped);
    QCOMPARE(h.box(2)->value(), snapped);
    QCOMPARE(h.slider(2)->pageStep(), pageStep);
    const DpiStage &s = mouseFlash().dpiStages[2];
    QCOMPARE(s.xCode, s.yCode);
    const DpiCode c =
        encodeStageDpi(sensorTable, dpiRange, currentSensorModel, snapped, h.start.dpiStages[2].codeFlags);
    QCOMPARE(int(s.xCode), c.code & 0xFF);
    QCOMPARE(int(s.codeFlags), c.flags);

    // An import or a refill owns the record: the slider only shows.
    const std::pair<std::atomic<bool> *, int> owners[] = {{&modalOperation, 700}, {&sensorPageRefreshing, 900}};
    for (const auto &owner : owners) {
        hidusb::sim::resetCounters();
        *owner.first = true;
        act(h, QStringLiteral("slider 4 %1").arg(owner.second));
        *owner.first = false;
        QCOMPARE(h.box(4)->value(), owner.second);
        QCOMPARE(hidusb::sim::counters().recordBlocksWritten, 0u);
    }
}

// ---------------------------------------------------------------------------

void TestSensorDPIB::refusedChangesPutTheRowsBack_data()
{
    QTest::addColumn<int>("active");
    QTest::addColumn<QString>("action");

    QTest::newRow("slider") << 1 << "slider 1 5000";
    QTest::newRow("stage toggle") << 1 << "toggle 4";
    QTest::newRow("stage toggle, none checked before") << -1 << "toggle 4";
    QTest::newRow("colour") << 1 << "colour 3";
    QTest::newRow("count, active stage kept") << 1 << "count 4";
    QTest::newRow("count below the active stage") << 6 << "count 3";
    QTest::newRow("host's choice") << 1 << "choose 6";
}

void TestSensorDPIB::refusedChangesPutTheRowsBack()
{
    QFETCH(int, active);
    QFETCH(QString, action);

    Host h(active);
    const QString before = shown(h);
    QVERIFY(hidusb::sim::sleep(QStringLiteral("mouse")));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    act(h, action);

    QCOMPARE(shown(h), before);
    QCOMPARE(offline.count(), 1);
    QVERIFY(firstDifference(currentFlashData, h.start).isEmpty());
    QVERIFY(firstDifference(mouseFlash(), h.start).isEmpty());
    QCOMPARE(hidusb::sim::counters().recordBlocksWritten, 0u);

    // Nothing of the refused change rides out with the next one.
    QVERIFY(hidusb::sim::wake(QStringLiteral("mouse")));
    act(h, QStringLiteral("slider 0 1000"));
    const FlashDataMap want = withBytes(h.start, stageCode(0, 19, 0));
    QVERIFY2(firstDifference(mouseFlash(), want).isEmpty(), qPrintable(firstDifference(mouseFlash(), want)));
}

// ---------------------------------------------------------------------------

void TestSensorDPIB::countBelowTheActiveStageExchangesIt()
{
    Host h(6);
    hidusb::sim::setJournalEnabled(true);
    const QString colour2 = h.widget->stageColorText(2), colour6 = h.widget->stageColorText(6);
    act(h, QStringLiteral("count 3"));

    // Rows 2 and 6 exchange colour and value; row 2 is the active one.
    QCOMPARE(h.widget->stageColorText(2), colour6);
    QCOMPARE(h.widget->stageColorText(6), colour2);
    QCOMPARE(h.box(2)->value(), kStartDpi[6]);
    QCOMPARE(h.slider(2)->value(), kStartDpi[6]);
    QCOMPARE(h.box(6)->value(), kStartDpi[2]);
    QVERIFY(h.toggle(2)->isChecked());
    QCOMPARE(h.widget->activeStage(), 2);
    for (int k = 0; k < 8; ++k)
        QCOMPARE(h.slider(k)->isVisible(), k < 3);

    // The mouse gets the exchange, the active stage and the count at once.
    FlashDataMap want = h.start;
    std::swap(want.dpiStages[2], want.dpiStages[6]);
    want.activeDpiStage = 2;
    want.dpiStageCount = 3;
    QVERIFY2(firstDifference(mouseFlash(), want).isEmpty(), qPrintable(firstDifference(mouseFlash(), want)));
    QCOMPARE(recordSends(), 1);

    // Within the active stage the count only shows rows and writes byte 1.
    hidusb::sim::clearJournal();
    act(h, QStringLiteral("count 6"));
    want.dpiStageCount = 6;
    QVERIFY(firstDifference(mouseFlash(), want).isEmpty());
    QCOMPARE(recordSends(), 1);
    QCOMPARE(h.box(2)->value(), kStartDpi[6]);
    for (int k = 0; k < 8; ++k)
        QCOMPARE(h.slider(k)->isVisible(), k < 6);

    // During a refill the list is only shown: no row moves, nothing is sent.
    hidusb::sim::clearJournal();
    sensorPageRefreshing = true;
    act(h, QStringLiteral("count 1"));
    sensorPageRefreshing = false;
    QCOMPARE(recordSends(), 0);
    QCOMPARE(h.widget->activeStage(), 2);
    QVERIFY(h.slider(5)->isVisible());
}

// Filling the rows, during a refill or not, and the guarded user changes
// while the sensor page refills or the window switches pages, send nothing.
void TestSensorDPIB::showingSendsNothing()
{
    Host h(3, 5);
    const FlashDataMap other = sensortest::startRecord(6, 7);
    for (const bool refilling : {false, true}) {
        sensorPageRefreshing = refilling;
        fillFrom(*h.widget, other);
        fillFrom(*h.widget, h.start);
        sensorPageRefreshing = false;
    }
    QVERIFY(h.toggle(3)->isChecked());
    QCOMPARE(h.box(5)->value(), kStartDpi[5]);
    QVERIFY(!h.slider(5)->isVisible() && h.slider(4)->isVisible());

    sensorPageRefreshing = true;
    act(h, QStringLiteral("toggle 1"));
    act(h, QStringLiteral("colour 2"));
    sensorPageRefreshing = false;
    uiReady = false;
    act(h, QStringLiteral("toggle 0"));
    act(h, QStringLiteral("choose 2"));
    uiReady = true;
    QCOMPARE(h.widget->activeStage(), 3);
    QCOMPARE(h.widget->stageColorText(2), QStringLiteral("#0ac8ff"));

    QApplication::processEvents();
    QCOMPARE(hidusb::sim::counters().recordBlocksWritten, 0u);
    QVERIFY(firstDifference(mouseFlash(), h.start).isEmpty());
}

void TestSensorDPIB::hostOperations()
{
    SensorDPIB w;
    w.show();
    // A new layout: all rows, red buttons, no stage checked, active stage 1.
    QCOMPARE(w.activeStage(), 1);
    for (int k = 0; k < 8; ++k) {
        QVERIFY(w.findChild<QSlider *>(rowName("horizontalSlider", k))->isVisible());
        QVERIFY(!w.findChild<QCheckBox *>(rowName("M", k))->isChecked());
    }

    w.showStages(2);
    for (const int k : {8, -1}) {
        w.showStages(k);
        for (int row = 0; row < 8; ++row)
            QCOMPARE(w.findChild<QSpinBox *>(rowName("spinBox", row))->isVisible(), row <= 2);
    }

    // Colours are stored as lower-case #rrggbb; a fixed palette leaves them.
    uiReady = false;
    w.SetColor(QColor(5, 171, 255));
    QCOMPARE(w.stageColorText(0), QStringLiteral("#05abff"));
    w.setStageColorText(3, QStringLiteral("#123456"));
    w.showFixedButtonColors();
    QCOMPARE(w.stageColorText(3), QStringLiteral("#123456"));
    QToolButton *stage3 = w.findChild<QToolButton *>(QStringLiteral("YellowButtonA"));
    QVERIFY(look::sheetOf(stage3).contains("#ffffff"));
    w.restyleColorButtonD();
    QVERIFY(look::sheetOf(stage3).contains("#123456"));

    w.setStageValueText(4, QStringLiteral("4450"));
    QCOMPARE(w.findChild<QSlider *>(rowName("horizontalSlider", 4))->value(), 4450);
    QCOMPARE(w.findChild<QSpinBox *>(rowName("spinBox", 4))->value(), 4450);
    w.setStageValueText(8, QStringLiteral("100")); // no such stage: ignored
}

VELMORAX_TEST_MAIN(TestSensorDPIB)
#include "tst_sensordpib.moc"
