// The lighting page against the simulated mouse: every control of the mouse
// light and DPI LED panels writes exactly its bytes, once per settled change;
// a silent mouse changes nothing and the controls go back; refills from a
// dump, a loaded record, the mouse's reports and the defaults write nothing.

#include "app/postmsg.h"
#include "pages/lighting/mouselight.h"
#include "pages/lighting/sensoreffect.h"
#include "platform/screen.h"
#include "support/lightfixture.h"
#include "support/recordbytes.h"
#include "support/testmain.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

using lighttest::Fixture;
using lighttest::mouseFlash;
using lighttest::recordSends;
using lighttest::release;
using lighttest::writes;

namespace {

void press(QWidget *panel, const QPoint &pos, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent event(QEvent::MouseButtonPress, pos, panel->mapToGlobal(pos), button, button, Qt::NoModifier);
    QApplication::sendEvent(panel, &event);
}

// The screen as a test wants it: one cursor position and one colour there.
class FakeScreen : public ScreenSource
{
public:
    int desktopWidth() const override { return 1920; }
    qreal logicalDpi() const override { return 96; }
    QPoint cursorPos() const override { return cursor; }
    QColor colorAt(const QPoint &pos) const override
    {
        asked = pos;
        return colour;
    }
    QPoint cursor{300, 200};
    QColor colour;
    mutable QPoint asked{-1, -1};
};

// The user actions of the two panels, by name.
void act(Fixture &f, const QString &action)
{
    const lighttest::Action a(action);
    if (a.verb == QLatin1String("mode"))
        f.find<QComboBox>("LightMod")->setCurrentIndex(a.arg);
    else if (a.verb == QLatin1String("brightness"))
        release(f.find<QSlider>("horizontalLight"), a.arg);
    else if (a.verb == QLatin1String("speed"))
        release(f.find<QSlider>("horizontalSpeed"), a.arg);
    else if (a.verb == QLatin1String("click"))
        QTest::mouseClick(f.find<QToolButton>(qPrintable(a.words.at(1))), Qt::LeftButton);
    else if (a.verb == QLatin1String("type")) {
        QSpinBox *box = f.find<QSpinBox>(qPrintable(a.words.at(1)));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, a.words.at(2));
        QTest::keyClick(box, Qt::Key_Return);
    } else if (a.verb == QLatin1String("dpimode"))
        f.find<QComboBox>("Model")->setCurrentIndex(a.arg);
    else if (a.verb == QLatin1String("dpibrightness"))
        release(f.find<QSlider>("LightH"), a.arg);
    else if (a.verb == QLatin1String("dpispeed"))
        release(f.find<QSlider>("SpeedH"), a.arg);
    else
        QFAIL(qPrintable("unknown action " + action));
    QApplication::processEvents();
}

} // namespace

class TestLampLight : public QObject
{
    Q_OBJECT

private slots:
    void controlsWriteTheirBytes_data();
    void controlsWriteTheirBytes();
    void silentMouseChangesNothing_data();
    void silentMouseChangesNothing();
    void silentSliderStaysDisabledUntilDeviceData();
    void modeLayouts_data();
    void modeLayouts();
    void colourBoardPicksUnderTheCursor();
    void refillShowsTheRecord();
    void dpiLedRecordsShown_data();
    void dpiLedRecordsShown();
    void refillsWriteNothing();
    void loadedRecordKeepsMouseSlidersDisabled();
    void defaultsKeepSlidersAndBoxesTogether();
    void withoutUiReadyNothingIsSent();
    void languages();
};

// ---------------------------------------------------------------------------

void TestLampLight::controlsWriteTheirBytes_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("changes");
    QTest::addColumn<int>("sends");

    // Start: mouse light steady colour (3) in 20,40,60, speed 4, brightness 2,
    // on; light stays on while moving; DPI LED steady, brightness 90, speed 2.
    QTest::newRow("light off keeps the effect") << "mode 0"
                                                << "106=0" << 1;
    QTest::newRow("light off with the switch on") << "click RippeControl,mode 0"
                                                  << "106=0 11=0" << 3;
    QTest::newRow("colour flow") << "mode 1"
                                 << "100=1" << 1;
    QTest::newRow("extra effect") << "mode 6"
                                  << "100=6" << 1;
    QTest::newRow("brightness released at 7") << "brightness 7"
                                              << "105=6" << 1;
    QTest::newRow("speed released at 1") << "mode 2,speed 1"
                                         << "100=2 104=0" << 2;
    QTest::newRow("switch on") << "click RippeControl"
                               << "11=1" << 1;
    QTest::newRow("preset A is one record") << "click toolButtonColorA"
                                            << "101=255 102=0 103=0" << 1;
    QTest::newRow("preset N") << "click toolButtonColorN"
                              << "101=208 102=113 103=173" << 1;
    QTest::newRow("same preset twice") << "click toolButtonColorB,click toolButtonColorB"
                                       << "101=0 102=255 103=255" << 1;
    QTest::newRow("plus") << "click AddG"
                          << "102=41" << 1;
    QTest::newRow("minus") << "click ReduceB"
                           << "103=59" << 1;
    QTest::newRow("plus at 255 sends nothing") << "click toolButtonColorK,click AddR"
                                               << "101=255 102=255 103=255" << 1;
    QTest::newRow("minus at 0 sends nothing") << "click toolButtonColorA,click ReduceG"
                                              << "101=255 102=0 103=0" << 1;
    QTest::newRow("typed value is one record") << "type RSpinBox 187"
                                               << "101=187" << 1;
    QTest::newRow("DPI LED off keeps the effect") << "dpimode 0"
                                                  << "99=0" << 1;
    QTest::newRow("DPI LED breathing") << "dpimode 2"
                                       << "96=2" << 1;
    QTest::newRow("DPI LED off then steady") << "dpimode 0,dpimode 1"
                                             << "" << 2;
    QTest::newRow("DPI LED brightness step 5") << "dpibrightness 5"
                                               << "97=128" << 1;
    QTest::newRow("DPI LED brightness step 10") << "dpibrightness 10"
                                                << "97=255" << 1;
    QTest::newRow("DPI LED brightness step 1") << "dpibrightness 1"
                                               << "97=16" << 1;
    QTest::newRow("DPI LED speed 5") << "dpimode 2,dpispeed 5"
                                     << "96=2 98=5" << 2;
}

void TestLampLight::controlsWriteTheirBytes()
{
    QFETCH(QString, action);
    QFETCH(QString, changes);
    QFETCH(int, sends);

    Fixture f;
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    lighttest::actAll(f, action, act);
    const FlashDataMap want = recordtest::withBytes(f.start, changes);
    const FlashDataMap flash = mouseFlash();
    VERIFY_RECORD(flash, want);
    VERIFY_RECORD(currentFlashData, want);
    QCOMPARE(recordSends(), sends);
    QCOMPARE(offline.count(), 0);
}

// ---------------------------------------------------------------------------

void TestLampLight::silentMouseChangesNothing_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("shown");

    QTest::newRow("mode") << "mode 1"
                          << "LightMod" << 3;
    QTest::newRow("brightness") << "brightness 9"
                                << "horizontalLight" << 3;
    QTest::newRow("speed") << "speed 9"
                           << "horizontalSpeed" << 5;
    QTest::newRow("preset") << "click toolButtonColorC"
                            << "GSpinBox" << 40;
    QTest::newRow("plus") << "click AddR"
                          << "RSpinBox" << 20;
    QTest::newRow("typed value") << "type BSpinBox 99"
                                 << "BSpinBox" << 60;
    QTest::newRow("DPI LED mode") << "dpimode 2"
                                  << "Model" << 1;
    QTest::newRow("DPI LED brightness") << "dpibrightness 9"
                                        << "LightH" << 4;
}

void TestLampLight::silentMouseChangesNothing()
{
    QFETCH(QString, action);
    QFETCH(QString, control);
    QFETCH(int, shown);

    Fixture f;
    hidusb::sim::sleep(QStringLiteral("mouse"));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    act(f, action);
    QVERIFY(offline.count() >= 1);
    QCOMPARE(recordSends(), 0);
    QVERIFY(pagetest::sameRecord(currentFlashData, f.start));
    QCOMPARE(lighttest::shownValue(f.find<QWidget>(qPrintable(control))), shown);
    // The swatch follows the boxes back.
    QVERIFY(f.find<QLabel>("labelPreView")->styleSheet().contains(QStringLiteral("rgb(20,40,60)")));
}

void TestLampLight::silentSliderStaysDisabledUntilDeviceData()
{
    Fixture f;
    QSlider *slider = f.find<QSlider>("horizontalLight");
    hidusb::sim::sleep(QStringLiteral("mouse"));
    // A click on the groove reports a value at once (tracking off).
    slider->setValue(6);
    QVERIFY(!slider->isEnabled());
    QCOMPARE(slider->value(), 3);
    hidusb::sim::wake(QStringLiteral("mouse"));
    slider->setValue(2);
    QCOMPARE(slider->value(), 3);
    // A DPI LED report does not enable the mouse light's sliders...
    f.page->SlotUpDataDPILed(f.start);
    QVERIFY(!slider->isEnabled());
    // ...device data does.
    f.page->SlotUpDataLightUILight(f.start);
    QVERIFY(slider->isEnabled());
    release(slider, 2);
    QCOMPARE(mouseFlash().mouseLight.brightness, 1);
    QCOMPARE(f.find<QSpinBox>("LightSpinBox_2")->value(), 2);
}

// ---------------------------------------------------------------------------

void TestLampLight::modeLayouts_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("visible");

    QTest::newRow("off") << 0 << "line line_2";
    QTest::newRow("colour flow") << 1 << "horizontalLight LightSpinBox_2 horizontalSpeed SpeedSpinBox_2";
    QTest::newRow("breathing") << 2 << "horizontalLight LightSpinBox_2 horizontalSpeed SpeedSpinBox_2 colour";
    QTest::newRow("steady") << 3 << "horizontalLight LightSpinBox_2 line_2 colour";
    QTest::newRow("neon") << 4 << "horizontalLight LightSpinBox_2 horizontalSpeed SpeedSpinBox_2";
    QTest::newRow("extra") << 6 << "horizontalLight LightSpinBox_2 line_2";
}

void TestLampLight::modeLayouts()
{
    QFETCH(int, mode);
    QFETCH(QString, visible);

    Fixture f;
    MouseLight *panel = f.find<MouseLight>("FrameMouseLight");
    // From the page (device data) and from the user alike.
    for (bool user : {false, true}) {
        if (user)
            act(f, QStringLiteral("mode %1").arg(mode));
        else
            panel->selectMode(mode);
        const QStringList want = visible.split(QLatin1Char(' '));
        // (The DPI LED panel has widgets of the same names.)
        const auto widget = [panel](const char *name) { return panel->findChild<QWidget *>(QLatin1String(name)); };
        for (const char *name :
             {"horizontalLight", "LightSpinBox_2", "line", "horizontalSpeed", "SpeedSpinBox_2", "line_2"})
            QVERIFY2(widget(name)->isVisible() == want.contains(QLatin1String(name)), name);
        const bool colour = want.contains(QStringLiteral("colour"));
        for (const char *name :
             {"label_7", "labelPreView", "RSpinBox", "AddB", "ReduceG", "toolButtonColorN", "label_13", "label_6"})
            QVERIFY2(widget(name)->isVisible() == colour, name);
        for (const char *name : {"label", "LightMod", "label_2", "label_3", "RippeControl", "label_4"})
            QVERIFY2(widget(name)->isVisible(), name);
        panel->selectMode(3);
    }
    // An index beyond the list changes nothing.
    panel->selectMode(9);
    QVERIFY(f.find<QWidget>("label_7")->isVisible());
    QVERIFY(!f.find<QWidget>("horizontalSpeed")->isVisible());
}

// ---------------------------------------------------------------------------

void TestLampLight::colourBoardPicksUnderTheCursor()
{
    Fixture f;
    FakeScreen fake;
    screen::setSource(&fake);
    MouseLight *panel = f.find<MouseLight>("FrameMouseLight");
    QLabel *board = f.find<QLabel>("label_7");
    const QPoint onBoard = board->parentWidget()->mapTo(panel, board->geometry().center());

    fake.colour = QColor(12, 34, 56);
    press(panel, onBoard, Qt::RightButton);
    QCOMPARE(fake.asked, fake.cursor);
    QCOMPARE(recordSends(), 1);
    QCOMPARE(mouseFlash().mouseLight.red, 12);
    QCOMPARE(mouseFlash().mouseLight.blue, 56);
    QCOMPARE(f.find<QSpinBox>("GSpinBox")->value(), 34);

    // No pixel under the cursor: the colour stays, nothing is sent.
    fake.colour = QColor();
    press(panel, onBoard);
    QCOMPARE(recordSends(), 1);
    QCOMPARE(f.find<QSpinBox>("RSpinBox")->value(), 12);

    // A press elsewhere takes the focus from the boxes and picks nothing.
    fake.colour = QColor(1, 2, 3);
    QSpinBox *box = f.find<QSpinBox>("RSpinBox");
    box->setFocus();
    QApplication::processEvents();
    press(panel, QPoint(5, 430));
    QVERIFY(!box->hasFocus());
    QCOMPARE(recordSends(), 1);

    // A silent mouse: one notice, no pick, no send.
    hidusb::sim::sleep(QStringLiteral("mouse"));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    fake.asked = QPoint(-1, -1);
    press(panel, onBoard);
    QCOMPARE(offline.count(), 1);
    QCOMPARE(fake.asked, QPoint(-1, -1));
    QCOMPARE(recordSends(), 1);
    screen::setSource(nullptr);
}

// ---------------------------------------------------------------------------

void TestLampLight::refillShowsTheRecord()
{
    Fixture f;
    FlashDataMap r = f.start;
    r.mouseLight.on = 0;
    r.mouseLight.mode = 3;
    r.mouseLight.brightness = 9;
    r.mouseLight.speed = 0;
    r.mouseLight.red = 1;
    r.mouseLight.green = 2;
    r.mouseLight.blue = 3;
    r.lightOffWhenMoving = 1;
    lastMouseLightMode = 5;
    f.page->SlotUpDataLightUILight(r);
    QCOMPARE(f.find<QComboBox>("LightMod")->currentIndex(), 0);
    QCOMPARE(lastMouseLightMode, 0);
    QCOMPARE(f.find<QSlider>("horizontalLight")->value(), 10);
    QCOMPARE(f.find<QSpinBox>("LightSpinBox_2")->value(), 10);
    QCOMPARE(f.find<QSlider>("horizontalSpeed")->value(), 1);
    QCOMPARE(f.find<QSpinBox>("SpeedSpinBox_2")->value(), 1);
    QCOMPARE(f.find<QSpinBox>("BSpinBox")->value(), 3);
    QVERIFY(f.find<QLabel>("labelPreView")->styleSheet().contains(QStringLiteral("rgb(1,2,3)")));
    QVERIFY(f.find<QToolButton>("RippeControl")->isChecked());
    QVERIFY(!f.find<QWidget>("horizontalLight")->isVisible());
    QVERIFY(lightPageRefreshed);
    QVERIFY(!lightPageRefreshing);

    // The speed shows as its byte + 1 inside the range too, not only where
    // the slider's bottom would hide a byte shown as it is.
    r.mouseLight.speed = 4;
    f.page->SlotUpDataLightUILight(r);
    QCOMPARE(f.find<QSlider>("horizontalSpeed")->value(), 5);
    QCOMPARE(f.find<QSpinBox>("SpeedSpinBox_2")->value(), 5);
    QCOMPARE(writes(), 0);
}

void TestLampLight::dpiLedRecordsShown_data()
{
    QTest::addColumn<int>("on");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("brightness");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("shownMode");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("slider");

    // Start shows steady (1).
    QTest::newRow("off") << 0 << 2 << 16 << 1 << 0 << 1 << 1;
    QTest::newRow("breathing at 255") << 1 << 2 << 255 << 5 << 2 << 10 << 10;
    QTest::newRow("steady at 128") << 1 << 1 << 128 << 3 << 1 << 5 << 5;
    QTest::newRow("unknown mode keeps the selector") << 1 << 3 << 230 << 4 << 1 << 9 << 9;
    QTest::newRow("byte outside the table") << 1 << 1 << 100 << 2 << 1 << 10 << 10;
    QTest::newRow("empty record") << 0 << 0 << 0 << 0 << 0 << 1 << 1;
}

void TestLampLight::dpiLedRecordsShown()
{
    QFETCH(int, on);
    QFETCH(int, mode);
    QFETCH(int, brightness);
    QFETCH(int, speed);
    QFETCH(int, shownMode);
    QFETCH(int, step);
    QFETCH(int, slider);

    Fixture f;
    FlashDataMap r = f.start;
    r.dpiLed.on = quint8(on);
    r.dpiLed.mode = quint8(mode);
    r.dpiLed.brightness = quint8(brightness);
    r.dpiLed.speed = quint8(speed);
    // The mouse's own DPI LED report and device data show the same.
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 0)
            f.page->SlotUpDataDPILed(r);
        else
            f.page->SlotUpDataLightUILight(r);
        QCOMPARE(f.find<QComboBox>("Model")->currentIndex(), shownMode);
        QCOMPARE(f.find<QSlider>("LightH")->value(), slider);
        QCOMPARE(f.find<QSpinBox>("LightSpinBox")->value(), qMin(step, 10));
        QCOMPARE(f.find<QSlider>("SpeedH")->value(), qBound(1, speed, 5));
        QCOMPARE(f.find<QWidget>("LightH")->isVisible(), shownMode == 1);
        QCOMPARE(f.find<QWidget>("SpeedH")->isVisible(), shownMode == 2);
    }
    QCOMPARE(writes(), 0);
}

// ---------------------------------------------------------------------------

void TestLampLight::refillsWriteNothing()
{
    Fixture f;
    FlashDataMap other = pagetest::patternRecord(4, 1, 7);
    f.page->SlotUpDataLightUILight(other);
    f.page->SlotUpDataLightUIA(other);
    f.page->SlotUpDataDPILed(other);
    f.page->SlotFormResetLight();
    f.page->SlotForm();
    f.page->SlotFormB();
    f.page->SlotUpDataLightUILight(f.start);
    QApplication::processEvents();
    QCOMPARE(writes(), 0);
    QVERIFY(pagetest::sameRecord(mouseFlash(), f.start));

    // The same through the hub from the device link's threads.
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    hidusb::sim::clearJournal();
    QThread *thread = QThread::create([&] {
        refillPages(RefillSource::DeviceData, other);
        resetPages();
        emit PostMsg::instance()->SigUpDataDPILed(other);
        emit PostMsg::instance()->SigRGBValue(dongleRgb);
    });
    thread->start();
    QTRY_VERIFY(thread->isFinished());
    delete thread;
    QCOMPARE(writes(), 0);
    QCOMPARE(offline.count(), 0);
}

void TestLampLight::loadedRecordKeepsMouseSlidersDisabled()
{
    Fixture f;
    f.page->SlotUpDataLightUIA(f.start);
    QVERIFY(!lightPageRefreshed);
    QVERIFY(!lightPageRefreshing);
    QVERIFY(!f.find<QSlider>("horizontalLight")->isEnabled());
    QVERIFY(!f.find<QSlider>("horizontalSpeed")->isEnabled());
    QVERIFY(f.find<QSlider>("LightH")->isEnabled());
    f.find<QSlider>("horizontalLight")->setValue(2);
    QCOMPARE(f.find<QSlider>("horizontalLight")->value(), 3);
    QCOMPARE(recordSends(), 0);
    f.page->SlotUpDataLightUILight(f.start);
    QVERIFY(lightPageRefreshed);
    QVERIFY(f.find<QSlider>("horizontalLight")->isEnabled());
}

void TestLampLight::defaultsKeepSlidersAndBoxesTogether()
{
    Fixture f;
    const LedBarMode bar = *receiverLedBar;
    f.page->SlotFormResetLight();
    QCOMPARE(f.find<QComboBox>("LightMod")->currentIndex(), 1);
    QCOMPARE(lastMouseLightMode, 1);
    QCOMPARE(f.find<QSlider>("horizontalLight")->value(), 10);
    QCOMPARE(f.find<QSpinBox>("LightSpinBox_2")->value(), 10);
    QCOMPARE(f.find<QSlider>("horizontalSpeed")->value(), 8);
    QCOMPARE(f.find<QSpinBox>("SpeedSpinBox_2")->value(), 8);
    QVERIFY(!f.find<QToolButton>("RippeControl")->isChecked());
    QCOMPARE(f.find<QComboBox>("Model")->currentIndex(), 0);
    QCOMPARE(f.find<QSlider>("SpeedH")->value(), 3);
    QCOMPARE(f.find<QSpinBox>("LightSpinBox")->value(), 5);
    QVERIFY(std::memcmp(&bar, receiverLedBar, sizeof bar) == 0);
    QCOMPARE(writes(), 0);
}

void TestLampLight::withoutUiReadyNothingIsSent()
{
    Fixture f;
    hidusb::sim::sleep(QStringLiteral("mouse"));
    uiReady = false;
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    for (const char *action : {"mode 2", "brightness 3", "click toolButtonColorA", "click AddB", "click RippeControl",
                               "dpimode 2", "dpispeed 4"})
        act(f, QString::fromLatin1(action));
    QCOMPARE(offline.count(), 0);
    QCOMPARE(writes(), 0);
    // The controls work locally.
    QCOMPARE(f.find<QComboBox>("LightMod")->currentIndex(), 2);
    QCOMPARE(f.find<QSpinBox>("RSpinBox")->value(), 255);
    QCOMPARE(f.find<QSpinBox>("BSpinBox")->value(), 1);
    QVERIFY(f.find<QWidget>("SpeedH")->isVisible());
}

void TestLampLight::languages()
{
    Fixture f;
    QComboBox *modes = f.find<QComboBox>("LightMod");
    f.find<MouseLight>("FrameMouseLight")->selectMode(4);
    QStringList seen;
    for (int language : {0, 1, 2}) {
        emit PostMsg::instance()->SigAllLanguage(language);
        QCOMPARE(modes->currentIndex(), 4);
        for (int item = 0; item < 7; ++item) {
            QCOMPARE(modes->itemText(item),
                     catalogueOption(QStringLiteral("LightModeOptions"), QString::number(item), language));
            QVERIFY(!modes->itemText(item).isEmpty());
        }
        MouseLight *panel = f.find<MouseLight>("FrameMouseLight");
        for (const char *name : {"label", "label_2", "label_3", "label_4", "label_6", "label_8", "label_13"})
            QVERIFY2(!panel->findChild<QLabel *>(QLatin1String(name))->text().isEmpty(), name);
        QCOMPARE(f.find<QComboBox>("Model")->itemText(2),
                 catalogueOption(QStringLiteral("DPIEffectOptions"), QStringLiteral("2"), language));
        seen << panel->findChild<QLabel *>(QStringLiteral("label"))->text();
    }
    // Three languages, three different texts.
    QCOMPARE(QSet<QString>(seen.begin(), seen.end()).size(), 3);
    emit PostMsg::instance()->SigAllLanguage(0);
    QCOMPARE(recordSends(), 0);
}

VELMORAX_TEST_MAIN(TestLampLight)
#include "tst_lamplight.moc"
