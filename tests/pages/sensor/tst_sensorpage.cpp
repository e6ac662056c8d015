// The sensor page against the simulated mouse: every control changes exactly
// its bytes in the mouse's flash; a silent mouse changes nothing and every
// control goes back to what the mouse holds; refills from a dump, the cache,
// the defaults and the mouse's own reports send nothing back.

#include "app/postmsg.h"
#include "device/reportdecoder.h"
#include "pages/sensor/sensordpi.h"
#include "pages/sensor/sensorlod.h"
#include "pages/sensor/sensorrate.h"
#include "pages/sensor/sensorswitches.h"
#include "support/recordbytes.h"
#include "support/sensorfixture.h"
#include "support/testmain.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

using sensortest::Fixture;
using sensortest::kStartDpi;
using sensortest::mouseFlash;

namespace {

const char *const kValueButtons[8] = {"BlueButton",  "BrightRedButton", "RedButton",       "YellowButton",
                                      "GreenButton", "PurpleButton",    "LightBlueButton", "LightYellowButton"};
const char *const kRateButtons[7] = {"Button125HZ",  "Button250HZ",  "Button500HZ", "Button1000HZ",
                                     "Button2000HZ", "Button4000HZ", "Button8000HZ"};

QString swatchName(int stage)
{
    return QString::fromLatin1(kValueButtons[stage]) + QLatin1Char('A');
}

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, target->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Drags the stage marker from where it stands to x (the marker's middle row).
void dragMarker(SensorDPI *editor, int toX)
{
    QLabel *marker = editor->findChild<QLabel *>(QStringLiteral("label_8"));
    const QPoint from = marker->geometry().center();
    sendMouse(editor, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(editor, QEvent::MouseMove, QPoint(toX, from.y()), Qt::LeftButton);
    sendMouse(editor, QEvent::MouseButtonRelease, QPoint(toX, from.y()), Qt::NoButton);
}

// Everything the page shows, in one text: what a refused write must leave as
// it was.
QString shown(const Fixture &f)
{
    QStringList out;
    for (int i = 0; i < 7; ++i)
        if (f.find<QToolButton>(kRateButtons[i])->isChecked())
            out << QStringLiteral("rate=%1").arg(i);
    out << QStringLiteral("lod=") + f.find<QComboBox>("LOD")->currentText();
    for (const char *toggle : {"RippeControl_2", "StraightLine_2", "MotionSync_2"})
        out << QString::fromLatin1(toggle) + QLatin1Char('=')
                   + QString::number(f.find<QToolButton>(toggle)->isChecked());
    out << QStringLiteral("performance=%1").arg(f.find<QCheckBox>("Performance")->isChecked());
    out << QStringLiteral("time=%1").arg(f.find<QComboBox>("PerformanceOpen")->currentIndex());
    out << QStringLiteral("mode=%1").arg(f.find<QComboBox>("ModelChoose")->currentIndex());
    out << QStringLiteral("count=%1").arg(f.find<QComboBox>("ChooseEvent")->currentIndex());
    SensorDPI *editor = f.find<SensorDPI>("frameDpi");
    out << QStringLiteral("active=%1").arg(editor->activeStage());
    out << QStringLiteral("marker=%1").arg(f.find<QLabel>("label_8")->x());
    for (int k = 0; k < 8; ++k) {
        QToolButton *b = f.find<QToolButton>(kValueButtons[k]);
        out << QStringLiteral("%1:%2%3%4/%5")
                   .arg(k)
                   .arg(b->text(), b->isChecked() ? "*" : "", b->isVisible() ? "" : "h", editor->stageColour(k));
    }
    out << QStringLiteral("box=%1").arg(f.find<QSpinBox>("spinBoxA")->value());
    return out.join(QLatin1Char(' '));
}

// The user actions of the page, by name.
void act(Fixture &f, const QString &action)
{
    SensorDPI *editor = f.find<SensorDPI>("frameDpi");
    QSlider *slider = f.find<QSlider>("horizontalSliderC");
    const QStringList words = action.split(QLatin1Char(' '));
    const QString verb = words.at(0);
    const int arg = words.size() > 1 ? words.at(1).toInt() : 0;
    if (verb == QLatin1String("rate"))
        QTest::mouseClick(f.find<QToolButton>(kRateButtons[arg]), Qt::LeftButton);
    else if (verb == QLatin1String("lod"))
        f.find<QComboBox>("LOD")->setCurrentIndex(arg);
    else if (verb == QLatin1String("toggle"))
        QTest::mouseClick(f.find<QToolButton>(qPrintable(words.at(1))), Qt::LeftButton);
    else if (verb == QLatin1String("performance"))
        QTest::mouseClick(f.find<QCheckBox>("Performance"), Qt::LeftButton);
    else if (verb == QLatin1String("time"))
        f.find<QComboBox>("PerformanceOpen")->setCurrentIndex(arg);
    else if (verb == QLatin1String("mode"))
        f.find<QComboBox>("ModelChoose")->setCurrentIndex(arg);
    else if (verb == QLatin1String("stage"))
        QTest::mouseClick(f.find<QToolButton>(kValueButtons[arg]), Qt::LeftButton);
    else if (verb == QLatin1String("swatch")) {
        QTest::mouseClick(f.find<QToolButton>(qPrintable(swatchName(arg))), Qt::LeftButton);
        editor->colourDialog()->hide();
    } else if (verb == QLatin1String("count"))
        f.find<QComboBox>("ChooseEvent")->setCurrentIndex(arg - 1);
    else if (verb == QLatin1String("slider"))
        slider->setValue(arg);
    else if (verb == QLatin1String("plus"))
        QTest::mouseClick(f.find<QToolButton>("AddLevelA"), Qt::LeftButton, {}, QPoint(7, 7));
    else if (verb == QLatin1String("minus"))
        QTest::mouseClick(f.find<QToolButton>("ReduceLevelA"), Qt::LeftButton, {}, QPoint(7, 2));
    else if (verb == QLatin1String("colour"))
        editor->SetColor(QColor(10, 200, 255));
    else if (verb == QLatin1String("marker"))
        dragMarker(editor, arg);
    else
        QFAIL(qPrintable("unknown action " + action));
    QApplication::processEvents();
}

// Stage k's code bytes as "offset=code offset=code offset=flags".
QString stageCode(int stage, int code, int flags)
{
    const int at = 48 + 6 * stage;
    return QStringLiteral("%1=%2 %3=%2 %4=%5").arg(at).arg(code).arg(at + 1).arg(at + 2).arg(flags);
}

} // namespace

class TestSensorPage : public QObject
{
    Q_OBJECT

private slots:
    void userChangesWriteTheirBytes_data();
    void userChangesWriteTheirBytes();
    void silentMouseChangesNothing_data();
    void silentMouseChangesNothing();
    void countChangeMovesTheSelectedStage();
    void stageSwitchLooksAndReports();
    void namedStageSlots_data();
    void namedStageSlots();
    void slider_data();
    void slider();
    void refillsSendNothing();
    void followsTheMousesOwnButtons();
    void rateRowFollowsTheLink_data();
    void rateRowFollowsTheLink();
    void liftOffByteWithoutEntry_data();
    void liftOffByteWithoutEntry();
    void tableSensorModel();
    void unknownModelStaysUsable();
    void freshPageReturnsToDefinedValues();
    void languages();
};

// ---------------------------------------------------------------------------

void TestSensorPage::userChangesWriteTheirBytes_data()
{
    QTest::addColumn<int>("active");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("changes");

    // Start: 1000 Hz, 8 stages, stage 1 (800 DPI) active, 1 mm, all off.
    QTest::newRow("rate 500 Hz") << 1 << "rate 2"
                                 << "0=2";
    QTest::newRow("rate 8000 Hz") << 1 << "rate 6"
                                  << "0=64";
    QTest::newRow("lift-off 2 mm") << 1 << "lod 2"
                                   << "5=2";
    QTest::newRow("lift-off 0.7 mm") << 1 << "lod 0"
                                     << "5=3";
    QTest::newRow("ripple control on") << 1 << "toggle RippeControl_2"
                                       << "10=1";
    QTest::newRow("angle snapping on") << 1 << "toggle StraightLine_2"
                                       << "9=1";
    QTest::newRow("motion sync on") << 1 << "toggle MotionSync_2"
                                    << "7=1";
    QTest::newRow("performance on") << 1 << "performance"
                                    << "12=1";
    QTest::newRow("performance time 5 min") << 1 << "time 5"
                                            << "13=30";
    QTest::newRow("sensor mode HP") << 1 << "mode 1"
                                    << "14=1";
    QTest::newRow("value button of stage 3") << 1 << "stage 3"
                                             << "2=3";
    QTest::newRow("swatch of stage 5") << 1 << "swatch 5"
                                       << "2=5";
    QTest::newRow("colour of a picked swatch") << 1 << "swatch 4,colour"
                                               << "2=4 75=10 76=200 77=255";
    QTest::newRow("count 5, selected stage kept") << 2 << "count 5"
                                                  << "1=5";
    QTest::newRow("count 8 again") << 2 << "count 8"
                                   << "";
    // 3950 on Drive1's grid: 50..10000 step 50 (code dpi/50-1), 10100..30000
    // step 100 (flags 0x22, code dpi/100-1, bits 8-9 folded into the flags).
    QTest::newRow("slider released at 1234") << 1 << "slider 1234" << stageCode(1, 23, 0);
    QTest::newRow("slider released in the gap") << 1 << "slider 10050" << stageCode(1, 100, 0x22);
    QTest::newRow("slider in the second segment") << 7 << "slider 25050" << stageCode(7, 249, 0x22);
    QTest::newRow("slider past 256 codes") << 7 << "slider 26000" << stageCode(7, 259 & 0xFF, 0x66);
    QTest::newRow("plus") << 1 << "plus" << stageCode(1, 16, 0);
    QTest::newRow("minus") << 1 << "minus" << stageCode(1, 14, 0);
    QTest::newRow("plus across the gap") << 4 << "slider 10000,plus" << stageCode(4, 100, 0x22);
    QTest::newRow("marker dropped one stage right") << 1 << "marker 210"
                                                    << "2=2";
    QTest::newRow("marker dropped two stages left") << 3 << "marker 118"
                                                    << "2=1";
    QTest::newRow("marker dropped in a dead zone") << 1 << "marker 150"
                                                   << "";
    QTest::newRow("marker dropped off the row") << 1 << "marker 720"
                                                << "";
}

void TestSensorPage::userChangesWriteTheirBytes()
{
    QFETCH(int, active);
    QFETCH(QString, action);
    QFETCH(QString, changes);

    Fixture f(active);
    for (const QString &step : action.split(QLatin1Char(',')))
        act(f, step);
    const FlashDataMap want = recordtest::withBytes(f.start, changes);
    const FlashDataMap flash = mouseFlash();
    VERIFY_RECORD(flash, want);
    VERIFY_RECORD(currentFlashData, want);
    if (changes.isEmpty())
        QCOMPARE(hidusb::sim::counters().recordBlocksWritten, 0u);
}

// ---------------------------------------------------------------------------

void TestSensorPage::silentMouseChangesNothing_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("notices");

    QTest::newRow("rate") << "rate 2" << 1;
    QTest::newRow("lift-off") << "lod 2" << 1;
    QTest::newRow("switch") << "toggle RippeControl_2" << 1;
    QTest::newRow("performance") << "performance" << 1;
    QTest::newRow("performance time") << "time 5" << 1;
    QTest::newRow("sensor mode") << "mode 1" << 1;
    QTest::newRow("stage") << "stage 3" << 1;
    QTest::newRow("swatch") << "swatch 5" << 1;
    QTest::newRow("count") << "count 4" << 1;
    QTest::newRow("colour") << "colour" << 1;
    QTest::newRow("slider") << "slider 1234" << 1;
    QTest::newRow("plus") << "plus" << 1;
    QTest::newRow("minus") << "minus" << 1;
    QTest::newRow("marker") << "marker 210" << 1;
}

void TestSensorPage::silentMouseChangesNothing()
{
    QFETCH(QString, action);
    QFETCH(int, notices);

    Fixture f(1);
    const QString before = shown(f);
    QVERIFY(hidusb::sim::sleep(QStringLiteral("mouse")));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    QSignalSpy dpi(PostMsg::instance(), &PostMsg::SigAddSensor);
    act(f, action);

    QCOMPARE(shown(f), before);
    QCOMPARE(offline.count(), notices);
    QCOMPARE(dpi.count(), 0);
    VERIFY_RECORD(currentFlashData, f.start);
    VERIFY_RECORD(mouseFlash(), f.start);
    QCOMPARE(hidusb::sim::counters().recordBlocksWritten, 0u);

    // Nothing left in the record rides out with the next write.
    QVERIFY(hidusb::sim::wake(QStringLiteral("mouse")));
    act(f, QStringLiteral("toggle MotionSync_2"));
    VERIFY_RECORD(mouseFlash(), recordtest::withBytes(f.start, "7=1"));
}

// ---------------------------------------------------------------------------

void TestSensorPage::countChangeMovesTheSelectedStage()
{
    Fixture f(6);
    SensorDPI *editor = f.find<SensorDPI>("frameDpi");
    QSignalSpy dpi(PostMsg::instance(), &PostMsg::SigAddSensor);
    act(f, QStringLiteral("count 4"));

    // On the mouse: stages 3 and 6 exchanged, stage 3 active, four stages.
    FlashDataMap want = f.start;
    std::swap(want.dpiStages[3], want.dpiStages[6]);
    want.activeDpiStage = 3;
    want.dpiStageCount = 4;
    VERIFY_RECORD(mouseFlash(), want);

    // On screen: the same exchange, the marker under stage 3, stages 4..7 hidden.
    QCOMPARE(editor->stageDpi(3), kStartDpi[6]);
    QCOMPARE(editor->stageDpi(6), kStartDpi[3]);
    QCOMPARE(editor->stageColour(3), QStringLiteral("%1,%2,%3")
                                         .arg(sensortest::startColour(6, 0))
                                         .arg(sensortest::startColour(6, 1))
                                         .arg(sensortest::startColour(6, 2)));
    QCOMPARE(editor->activeStage(), 3);
    QCOMPARE(f.find<QLabel>("label_8")->pos(), QPoint(300, 154));
    QVERIFY(f.find<QToolButton>(kValueButtons[3])->isChecked());
    for (int k = 0; k < 8; ++k)
        QCOMPARE(f.find<QToolButton>(kValueButtons[k])->isVisible(), k <= 3);
    QVERIFY(!dpi.isEmpty());
    QCOMPARE(dpi.last().at(0).toInt(), kStartDpi[6]);
}

void TestSensorPage::stageSwitchLooksAndReports()
{
    Fixture f(1);
    QSignalSpy dpi(PostMsg::instance(), &PostMsg::SigAddSensor);
    act(f, QStringLiteral("stage 3"));

    QToolButton *three = f.find<QToolButton>(kValueButtons[3]);
    QCOMPARE(three->geometry(), QRect(281, 92, 68, 70));
    QCOMPARE(f.find<QToolButton>(qPrintable(swatchName(3)))->geometry(), QRect(282, 147, 66, 14));
    QCOMPARE(f.find<QToolButton>(kValueButtons[1])->geometry(), QRect(106, 99, 54, 56));
    QCOMPARE(f.find<QLabel>("label_8")->pos(), QPoint(300, 154));
    QCOMPARE(dpi.count(), 1);
    QCOMPARE(dpi.at(0).at(0).toInt(), kStartDpi[3]);
    QCOMPARE(f.find<QSlider>("horizontalSliderC")->value(), kStartDpi[3]);
    // One write: the active stage; the slider followed without a DPI write.
    VERIFY_RECORD(mouseFlash(), recordtest::withBytes(f.start, "2=3"));

    // The already selected stage is not written again.
    hidusb::sim::resetCounters();
    act(f, QStringLiteral("stage 3"));
    QCOMPARE(hidusb::sim::counters().recordBlocksWritten, 0u);
}

void TestSensorPage::namedStageSlots_data()
{
    QTest::addColumn<int>("stage");
    QTest::addColumn<bool>("onSwatch");

    QTest::newRow("Blue value button") << 0 << false;
    QTest::newRow("Yellow value button") << 3 << false;
    QTest::newRow("LightYellow value button") << 7 << false;
    QTest::newRow("Blue swatch") << 0 << true;
    QTest::newRow("Purple swatch") << 5 << true;
    QTest::newRow("LightYellow swatch") << 7 << true;
}

// Each stage's buttons reach the editor through slots named after them, once:
// a click selects the stage with one write and one report to the summary.
void TestSensorPage::namedStageSlots()
{
    QFETCH(int, stage);
    QFETCH(bool, onSwatch);

    Fixture f(1);
    SensorDPI *editor = f.find<SensorDPI>("frameDpi");
    const QString name = QString::fromLatin1(kValueButtons[stage]);
    for (const QString &slot : {QStringLiteral("on_%1_toggled(bool)"), QStringLiteral("on_%1_clicked()"),
                                QStringLiteral("on_%1A_toggled(bool)"), QStringLiteral("on_%1A_clicked()")})
        QVERIFY2(editor->metaObject()->indexOfSlot(qPrintable(slot.arg(name))) >= 0, qPrintable(slot.arg(name)));

    QSignalSpy dpi(PostMsg::instance(), &PostMsg::SigAddSensor);
    QTest::mouseClick(f.find<QToolButton>(qPrintable(onSwatch ? swatchName(stage) : name)), Qt::LeftButton);
    QApplication::processEvents();

    QCOMPARE(dpi.count(), 1);
    QCOMPARE(dpi.at(0).at(0).toInt(), kStartDpi[stage]);
    QCOMPARE(editor->activeStage(), stage);
    QCOMPARE(f.find<QLabel>("label_8")->x(), 27 + 91 * stage + (stage == 5 ? 1 : 0));
    QCOMPARE(editor->colourDialog()->isVisible(), onSwatch);
    VERIFY_RECORD(mouseFlash(), recordtest::withBytes(f.start, QStringLiteral("2=%1").arg(stage)));
    editor->colourDialog()->hide();
}

// ---------------------------------------------------------------------------

void TestSensorPage::slider_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("shown");    // stage text and value box
    QTest::addColumn<int>("reported"); // last SigAddSensor, -1 none

    QTest::newRow("release on the grid") << "slider 1234" << 1200 << 1200;
    QTest::newRow("release in the gap") << "slider 10050" << 10100 << 10100;
    QTest::newRow("plus at the first maximum") << "slider 10000,plus" << 10100 << 10100;
    QTest::newRow("minus at the second minimum") << "slider 10100,minus" << 10000 << 10000;
    QTest::newRow("plus at the top stays") << "slider 30000,plus" << 30000 << 30000;
}

void TestSensorPage::slider()
{
    QFETCH(QString, actions);
    QFETCH(int, shown);
    QFETCH(int, reported);

    Fixture f(1);
    QSignalSpy dpi(PostMsg::instance(), &PostMsg::SigAddSensor);
    for (const QString &action : actions.split(QLatin1Char(',')))
        act(f, action);
    QCOMPARE(f.find<QToolButton>(kValueButtons[1])->text().toInt(), shown);
    QCOMPARE(f.find<QSpinBox>("spinBoxA")->value(), shown);
    QCOMPARE(dpi.isEmpty() ? -1 : dpi.last().at(0).toInt(), reported);
    // What the mouse holds decodes to what the page shows.
    const DpiStage s = mouseFlash().dpiStages[1];
    QCOMPARE(decodeStageDpi(sensorTable, QStringLiteral("3950"), s.xCode, s.codeFlags), shown);
}

// ---------------------------------------------------------------------------

void TestSensorPage::refillsSendNothing()
{
    Fixture f(1);
    Sensor &page = *f.page;
    SensorDPI *editor = f.find<SensorDPI>("frameDpi");
    QSignalSpy dpi(PostMsg::instance(), &PostMsg::SigAddSensor);

    // A dump with other values: shown, nothing sent.
    FlashDataMap other = sensortest::startRecord(6, 7);
    other.reportRate = 16;
    other.liftOffDistance = 2;
    other.performance = 1;
    other.performanceTime = 90;
    other.rippleControl = 1;
    page.SlotUpDataSenSorUISensor(other);
    QVERIFY(sensorPageRefreshed && !sensorPageRefreshing);
    QCOMPARE(editor->activeStage(), 6);
    QCOMPARE(f.find<QComboBox>("ChooseEvent")->currentIndex(), 6);
    QVERIFY(!f.find<QToolButton>(kValueButtons[7])->isVisible());
    QVERIFY(f.find<QToolButton>("Button2000HZ")->isChecked());
    QCOMPARE(f.find<QComboBox>("ModelChoose")->currentText(), QStringLiteral("Corded"));
    QVERIFY(!f.find<QComboBox>("ModelChoose")->isEnabled());
    QCOMPARE(f.find<QComboBox>("LOD")->currentText(), QStringLiteral("2mm"));
    QCOMPARE(f.find<QComboBox>("PerformanceOpen")->currentIndex(), 7);
    QVERIFY(f.find<QComboBox>("PerformanceOpen")->isEnabled());
    QVERIFY(f.find<QToolButton>("RippeControl_2")->isChecked());
    QCOMPARE(dpi.last().at(0).toInt(), kStartDpi[6]);

    // The same record loaded from a file, the defaults, the mouse's reports.
    sensorPageRefreshed = false;
    page.SlotUpDataSenSorUIB(f.start);
    QVERIFY(!sensorPageRefreshed);
    QCOMPARE(editor->activeStage(), 1);
    page.SlotUpDataDPI(5);
    QCOMPARE(editor->activeStage(), 5);
    QCOMPARE(f.find<QLabel>("label_8")->pos(), QPoint(483, 154));
    QCOMPARE(dpi.last().at(0).toInt(), kStartDpi[5]);
    QCOMPARE(f.find<QSlider>("horizontalSliderC")->value(), kStartDpi[5]);
    QVERIFY(uiReady);
    page.SlotUpDataReportRate(32);
    QVERIFY(f.find<QToolButton>("Button4000HZ")->isChecked());
    page.SlotUpDataReportRate(1);
    QCOMPARE(f.find<QComboBox>("ModelChoose")->currentText(), QStringLiteral("LP"));
    page.SlotUpDataDPI(9); // no such stage: only remembered
    QCOMPARE(editor->activeStage(), 9);
    page.SlotUpDataSenSorUIB(f.start);

    page.SlotFormReset();
    QComboBox *count = f.find<QComboBox>("ChooseEvent");
    QCOMPARE(count->count(), 6);
    QCOMPARE(count->currentIndex(), 5);
    QCOMPARE(editor->activeStage(), 1);
    QCOMPARE(f.find<QSpinBox>("spinBoxA")->value(), 1200);
    QVERIFY(f.find<QToolButton>("Button1000HZ")->isChecked());
    QVERIFY(f.find<QToolButton>("MotionSync_2")->isChecked());
    QVERIFY(!f.find<QCheckBox>("Performance")->isChecked());
    QCOMPARE(dpi.last().at(0).toInt(), 1200);

    QCOMPARE(hidusb::sim::counters().recordBlocksWritten, 0u);
    VERIFY_RECORD(mouseFlash(), f.start);
}

// The mouse's DPI and rate buttons: reports through the library's thread reach
// the page, which shows them and writes nothing back.
void TestSensorPage::followsTheMousesOwnButtons()
{
    hidusb::sim::setJournalEnabled(true);
    Fixture f(1, 8, onDeviceReport);
    QSignalSpy dpi(PostMsg::instance(), &PostMsg::SigAddSensor);
    QSignalSpy rate(PostMsg::instance(), &PostMsg::SigAddReport);

    QVERIFY(hidusb::sim::pressDpiButton(QStringLiteral("mouse")));
    QTRY_COMPARE(f.find<SensorDPI>("frameDpi")->activeStage(), 2);
    QTRY_VERIFY(!dpi.isEmpty());
    QCOMPARE(dpi.last().at(0).toInt(), kStartDpi[2]);
    QCOMPARE(f.find<QLabel>("label_8")->pos(), QPoint(209, 154));
    QVERIFY(f.find<QToolButton>(kValueButtons[2])->isChecked());

    QVERIFY(hidusb::sim::pressReportRateButton(QStringLiteral("mouse")));
    QTRY_VERIFY(!rate.isEmpty());
    QTRY_VERIFY(!f.find<QToolButton>("Button1000HZ")->isChecked());

    // The decoder confirms each report once; the page adds no write, and the
    // mouse keeps exactly what it reported.
    QApplication::processEvents();
    const FlashDataMap flash = mouseFlash();
    int sends = 0;
    for (const auto &entry : hidusb::sim::journal())
        sends += entry.function == QLatin1String("ProtocolDataUpdate");
    QCOMPARE(sends, 2);
    hidusb::sim::setJournalEnabled(false);
    FlashDataMap want = f.start;
    want.activeDpiStage = 2;
    want.reportRate = flash.reportRate;
    QVERIFY(flash.reportRate != f.start.reportRate);
    VERIFY_RECORD(flash, want);
}

// ---------------------------------------------------------------------------

void TestSensorPage::rateRowFollowsTheLink_data()
{
    QTest::addColumn<int>("link");
    QTest::addColumn<int>("rateCode");
    QTest::addColumn<QString>("visible"); // of 2000, 4000, 8000 Hz
    QTest::addColumn<int>("checked");     // rate index, -1 none
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("modeEnabled");

    QTest::newRow("1K receiver") << 0 << 1 << "000" << 3 << "LP" << true;
    QTest::newRow("cable, 2000 Hz shows 1000 Hz") << 2 << 16 << "000" << 3 << "Corded" << false;
    QTest::newRow("cable, 4000 Hz shows 1000 Hz") << 3 << 32 << "111" << 3 << "Corded" << false;
    QTest::newRow("cable, 8000 Hz stays") << 3 << 64 << "111" << 6 << "Corded" << false;
    QTest::newRow("4K receiver at 2000 Hz") << 1 << 16 << "110" << 4 << "Corded" << false;
    QTest::newRow("2K receiver") << 4 << 2 << "100" << 2 << "LP" << true;
    QTest::newRow("8K receiver at 8000 Hz") << 5 << 64 << "111" << 6 << "Corded" << false;
    QTest::newRow("1K receiver, 2000 Hz kept hidden") << 0 << 16 << "000" << 4 << "LP" << true;
    QTest::newRow("unknown rate code") << 5 << 0 << "111" << -1 << "LP" << true;
}

void TestSensorPage::rateRowFollowsTheLink()
{
    QFETCH(int, link);
    QFETCH(int, rateCode);
    QFETCH(QString, visible);
    QFETCH(int, checked);
    QFETCH(QString, mode);
    QFETCH(bool, modeEnabled);

    Fixture f(1);
    // A fresh page for this link, so no earlier refill chose a rate.
    f.page.reset(new Sensor);
    f.page->show();
    currentDevice.update([&](DeviceAllInfo &d) {
        d.linkCode = quint8(link);
        d.wired = (link & 0xFA) != 0;
    });
    FlashDataMap record = f.start;
    record.reportRate = quint8(rateCode);
    QSignalSpy report(PostMsg::instance(), &PostMsg::SigAddReport);
    f.page->SlotUpDataSenSorUISensor(record);

    for (int i = 0; i < 3; ++i)
        QCOMPARE(f.find<QToolButton>(kRateButtons[4 + i])->isVisible(), visible.at(i) == QLatin1Char('1'));
    int shown = -1;
    for (int i = 0; i < 7; ++i)
        if (f.find<QToolButton>(kRateButtons[i])->isChecked())
            shown = i;
    QCOMPARE(shown, checked);
    if (checked >= 0)
        QCOMPARE(report.last().at(0).toInt(), QList<int>({125, 250, 500, 1000, 2000, 4000, 8000}).at(checked));
    QCOMPARE(f.find<QComboBox>("ModelChoose")->currentText(), mode);
    QCOMPARE(f.find<QComboBox>("ModelChoose")->isEnabled(), modeEnabled);
    QCOMPARE(hidusb::sim::counters().recordBlocksWritten, 0u);
}

// ---------------------------------------------------------------------------

void TestSensorPage::liftOffByteWithoutEntry_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("lodByte");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("shown");

    QTest::newRow("3950, 0.7 mm") << 0 << 3 << "0.7mm,1mm,2mm"
                                  << "0.7mm";
    QTest::newRow("3950, byte 0") << 0 << 0 << "0.7mm,1mm,2mm"
                                  << "1mm";
    QTest::newRow("3395, 0.7 mm it has not") << 1 << 3 << "1mm,2mm"
                                             << "1mm";
    QTest::newRow("3395, byte 0") << 1 << 0 << "1mm,2mm"
                                  << "1mm";
    QTest::newRow("3395, 2 mm") << 1 << 2 << "1mm,2mm"
                                << "2mm";
}

void TestSensorPage::liftOffByteWithoutEntry()
{
    QFETCH(int, model);
    QFETCH(int, lodByte);
    QFETCH(QString, list);
    QFETCH(QString, shown);

    Fixture f(1);
    currentDevice.update([&](DeviceAllInfo &d) { d.modelIndex = model; });
    FlashDataMap record = f.start;
    record.liftOffDistance = quint8(lodByte);
    QSignalSpy lod(PostMsg::instance(), &PostMsg::SigAddLOD);
    f.page->SlotUpDataSenSorUISensor(record);

    QComboBox *box = f.find<QComboBox>("LOD");
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    QCOMPARE(items.join(','), list);
    QCOMPARE(box->currentText(), shown);
    QCOMPARE(lod.last().at(0).toString(), shown);
    QVERIFY(box->isEnabled());
}

// Drive3: a sensor with named codes, a one-in-one layout (XIn1 = 2) and
// only the angle-snapping switch.
void TestSensorPage::tableSensorModel()
{
    Fixture f(1);
    currentDevice.update([](DeviceAllInfo &d) { d.modelIndex = 2; });
    FlashDataMap record = f.start;
    record.dpiStageCount = 5;
    const int named[5] = {0x13, 0x17, 0x1B, 0x1F, 0x2F}; // 400, 800, 1200, 1600, 3200
    for (int k = 0; k < 5; ++k) {
        record.dpiStages[k].xCode = record.dpiStages[k].yCode = quint8(named[k]);
        record.dpiStages[k].codeFlags = 0;
    }
    QVERIFY(sensortest::giveMouse(record));
    f.page->SlotUpDataSenSorUISensor(record);

    SensorDPI *editor = f.find<SensorDPI>("frameDpi");
    const int dpis[5] = {400, 800, 1200, 1600, 3200};
    for (int k = 0; k < 5; ++k)
        QCOMPARE(editor->stageDpi(k), dpis[k]);
    QCOMPARE(f.find<QComboBox>("ChooseEvent")->count(), 5);
    for (const char *hidden : {"label_5", "label_11", "label", "label_2"})
        QVERIFY2(!f.find<QLabel>(hidden)->isVisible(), hidden);
    QVERIFY(!f.find<QComboBox>("ModelChoose")->isVisible());
    QVERIFY(!f.find<QCheckBox>("Performance")->isVisible());
    QVERIFY(!f.find<SensorLOD>("frameLOD")->isVisible());
    QVERIFY(!f.find<RippeControl>("frame")->isVisible());
    QVERIFY(f.find<StraightLine>("frame_4")->isVisible());
    QVERIFY(f.find<MotionSync>("frame_3")->isVisible());
    QSlider *slider = f.find<QSlider>("horizontalSliderC");
    QCOMPARE(slider->minimum(), 100);
    QCOMPARE(slider->maximum(), 12800);

    // A release writes the named code of the value on the 100-DPI grid.
    hidusb::sim::resetCounters();
    act(f, QStringLiteral("slider 1234"));
    QCOMPARE(editor->stageDpi(1), 1200);
    const DpiStage written = mouseFlash().dpiStages[1];
    QCOMPARE(int(written.xCode), 0x1B);
    QCOMPARE(int(written.yCode), 0x1B);
    QCOMPARE(int(written.codeFlags), 0);
}

// A model the catalogue does not describe: no sensor, no stage count, no DPI
// range. The page stays usable: one stage, a slider range one can move in.
void TestSensorPage::unknownModelStaysUsable()
{
    Fixture f(1);
    currentDevice.update([](DeviceAllInfo &d) { d.modelIndex = 40; });
    f.page.reset(new Sensor);
    f.page->SlotUpDataSenSorUISensor(f.start);
    QSlider *slider = f.find<QSlider>("horizontalSliderC");
    QCOMPARE(slider->minimum(), kDefaultDpiMin);
    QCOMPARE(slider->maximum(), kDefaultDpiMax);
    QCOMPARE(f.find<QComboBox>("ChooseEvent")->count(), 1);
    QVERIFY(!dpiRange.valid());
    QCOMPARE(hidusb::sim::counters().recordBlocksWritten, 0u);
}

// Before any refill a refused write goes back to a defined value: 1000 Hz,
// 1 mm, stage 1.
void TestSensorPage::freshPageReturnsToDefinedValues()
{
    Fixture f(1);
    f.page.reset(new Sensor);
    f.page->show();
    QVERIFY(hidusb::sim::sleep(QStringLiteral("mouse")));
    act(f, QStringLiteral("rate 2"));
    QVERIFY(f.find<QToolButton>("Button1000HZ")->isChecked());
    act(f, QStringLiteral("lod 1"));
    QCOMPARE(f.find<QComboBox>("LOD")->currentText(), QStringLiteral("1mm"));
    act(f, QStringLiteral("stage 4"));
    QVERIFY(f.find<QToolButton>(kValueButtons[1])->isChecked());
    QCOMPARE(f.find<SensorDPI>("frameDpi")->activeStage(), 1);
    VERIFY_RECORD(mouseFlash(), f.start);
}

// ---------------------------------------------------------------------------

void TestSensorPage::languages()
{
    Fixture f(1);
    for (int language : {0, 1, 2}) {
        emit PostMsg::instance()->SigAllLanguage(language);
        for (const char *name : {"label_5", "label_11"})
            QVERIFY2(!f.find<QLabel>(name)->text().isEmpty(), name);
        QVERIFY(!f.find<QCheckBox>("Performance")->text().isEmpty());
        QComboBox *times = f.find<QComboBox>("PerformanceOpen");
        for (int i = 0; i < times->count(); ++i)
            QVERIFY(!times->itemText(i).isEmpty());
        QCOMPARE(f.find<QLabel>("label")->pos(), QPoint(QList<int>({203, 205, 235}).at(language), 361));
    }
    // A language without a tip table moves nothing.
    const QPoint tip = f.find<QLabel>("label_2")->pos();
    f.page->SlotAllLanguage(6);
    QCOMPARE(f.find<QLabel>("label_2")->pos(), tip);
    emit PostMsg::instance()->SigAllLanguage(0);
}

VELMORAX_TEST_MAIN(TestSensorPage)
#include "tst_sensorpage.moc"
