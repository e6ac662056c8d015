// The receiver's lighting panels on the lighting page, against the simulated
// receiver: the light bar, the LED-information choice and the indicator LEDs
// write exactly the receiver's record (then the mouse record), a write the
// receiver refuses puts the control and the record field back, and what the
// receiver announces is shown without being written back.

#include "app/postmsg.h"
#include "pages/lighting/oneled.h"
#include "pages/lighting/receivelight.h"
#include "pages/lighting/threeled.h"
#include "support/lightfixture.h"
#include "support/testmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

using lighttest::calls;
using lighttest::Fixture;
using lighttest::recordSends;
using lighttest::release;
using lighttest::writes;

namespace {

const QString kReceiver = QStringLiteral("receiver");

// The receiver's light bar as "mode,red,green,blue,speed,brightness,on".
QString barText(const LedBarMode &bar)
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7")
        .arg(bar.mode)
        .arg(bar.red)
        .arg(bar.green)
        .arg(bar.blue)
        .arg(bar.speed)
        .arg(bar.brightness)
        .arg(bar.on);
}

QString ledsText(const DongleIndicatorLeds &leds)
{
    return QStringLiteral("%1,%2,%3").arg(leds.led1Function).arg(leds.led2Function).arg(leds.led3Function);
}

// The receiver panels' user actions, by name.
void act(Fixture &f, const QString &action)
{
    const lighttest::Action a(action);
    if (a.verb == QLatin1String("mode"))
        f.find<QComboBox>("LightMod_2")->setCurrentIndex(a.arg);
    else if (a.verb == QLatin1String("brightness"))
        release(f.find<QSlider>("horizontalLight_2"), a.arg);
    else if (a.verb == QLatin1String("speed"))
        release(f.find<QSlider>("horizontalSpeed_2"), a.arg);
    else if (a.verb == QLatin1String("click"))
        f.find<QToolButton>(qPrintable(a.words.at(1)))->click();
    else if (a.verb == QLatin1String("led1"))
        f.find<QComboBox>("LightMod_3")->setCurrentIndex(a.arg);
    else if (a.verb == QLatin1String("led2"))
        f.find<QComboBox>("LightMod_4")->setCurrentIndex(a.arg);
    else if (a.verb == QLatin1String("led3"))
        f.find<QComboBox>("LightMod_5")->setCurrentIndex(a.arg);
    else if (a.verb == QLatin1String("choice"))
        f.find<QCheckBox>(qPrintable(a.words.at(1)))->click();
    else
        QFAIL(qPrintable("unknown action " + action));
    QApplication::processEvents();
}

} // namespace

class TestReceiverLighting : public QObject
{
    Q_OBJECT

private slots:
    void lightBarWrites_data();
    void lightBarWrites();
    void refusedLightBarWritesGoBack_data();
    void refusedLightBarWritesGoBack();
    void indicatorLeds_data();
    void indicatorLeds();
    void refusedIndicatorLedKeepsTheOthers();
    void ledInfoChoice();
    void ledInfoChoiceRefusedOrSilent();
    void receiverShownFromDeviceData();
    void announcedChoiceIsShownNotWritten_data();
    void announcedChoiceIsShownNotWritten();
    void textsWithShortLists();
};

// ---------------------------------------------------------------------------

void TestReceiverLighting::lightBarWrites_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("barWrites");

    // Start: breathing (2) in 200,100,50, speed 2, brightness 7, on.
    QTest::newRow("off") << "mode 0"
                         << "0,200,100,50,2,7,0" << 1;
    QTest::newRow("mixed breathing") << "mode 5"
                                     << "5,200,100,50,2,7,1" << 1;
    QTest::newRow("off, then colour flow") << "mode 0,mode 1"
                                           << "1,200,100,50,2,7,1" << 2;
    QTest::newRow("brightness 10") << "brightness 10"
                                   << "2,200,100,50,2,9,1" << 1;
    QTest::newRow("speed 1") << "speed 1"
                             << "2,200,100,50,0,7,1" << 1;
    QTest::newRow("preset K is one write") << "click toolButtonColorK_2"
                                           << "2,255,255,255,2,7,1" << 1;
    QTest::newRow("preset J") << "click toolButtonColorJ_2"
                              << "2,96,25,133,2,7,1" << 1;
    QTest::newRow("step down green") << "click ReduceG_2"
                                     << "2,200,99,50,2,7,1" << 1;
    QTest::newRow("step up at 255") << "click toolButtonColorK_2,click AddB_2"
                                    << "2,255,255,255,2,7,1" << 1;
}

void TestReceiverLighting::lightBarWrites()
{
    QFETCH(QString, action);
    QFETCH(QString, bar);
    QFETCH(int, barWrites);

    Fixture f;
    const FlashDataMap before = lighttest::mouseFlash();
    lighttest::actAll(f, action, act);
    hidusb::sim::waitIdle();
    QCOMPARE(barText(hidusb::sim::dongleLightBar(kReceiver)), bar);
    QCOMPARE(barText(*receiverLedBar), bar);
    QCOMPARE(calls("UsbFinderC_SetDongleRGBBarMode").size(), barWrites);
    // Every accepted receiver write sends the mouse record too, unchanged.
    QCOMPARE(recordSends(), barWrites);
    QVERIFY(pagetest::sameRecord(lighttest::mouseFlash(), before));
}

// ---------------------------------------------------------------------------

void TestReceiverLighting::refusedLightBarWritesGoBack_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("shown");

    QTest::newRow("mode") << "mode 4"
                          << "LightMod_2" << 2;
    QTest::newRow("brightness") << "brightness 9"
                                << "horizontalLight_2" << 8;
    QTest::newRow("speed") << "speed 6"
                           << "horizontalSpeed_2" << 3;
    QTest::newRow("preset") << "click toolButtonColorA_2"
                            << "RSpinBox_2" << 200;
    QTest::newRow("step") << "click AddB_2"
                          << "BSpinBox_2" << 50;
}

void TestReceiverLighting::refusedLightBarWritesGoBack()
{
    QFETCH(QString, action);
    QFETCH(QString, control);
    QFETCH(int, shown);

    Fixture f;
    const LedBarMode start = lighttest::startReceiverBar();
    hidusb::sim::rejectNextWrites(kReceiver, 1);
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    act(f, action);
    QCOMPARE(offline.count(), 0);
    QCOMPARE(recordSends(), 0);
    QCOMPARE(barText(*receiverLedBar), barText(start));
    QCOMPARE(lighttest::shownValue(f.find<QWidget>(qPrintable(control))), shown);
    QCOMPARE(f.find<QSpinBox>("LightSpinBox_3")->value(), 8);
    QCOMPARE(f.find<QSpinBox>("SpeedSpinBox_3")->value(), 3);

    // The next accepted write carries what the receiver holds, not the
    // refused value.
    act(f, QStringLiteral("speed 10"));
    hidusb::sim::waitIdle();
    LedBarMode want = start;
    want.speed = 9;
    QCOMPARE(barText(hidusb::sim::dongleLightBar(kReceiver)), barText(want));
}

// ---------------------------------------------------------------------------

void TestReceiverLighting::indicatorLeds_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("leds");
    QTest::addColumn<int>("ledWrites");

    // Start: LED1 function 1, LED2 function 2, LED3 function 3.
    QTest::newRow("LED2 off sends all three") << "led2 0"
                                              << "1,0,3" << 1;
    QTest::newRow("LED1 function 3") << "led1 3"
                                     << "3,2,3" << 1;
    QTest::newRow("LED3 function 1") << "led3 1"
                                     << "1,2,1" << 1;
    QTest::newRow("two LEDs") << "led1 0,led3 0"
                              << "0,2,0" << 2;
}

void TestReceiverLighting::indicatorLeds()
{
    QFETCH(QString, action);
    QFETCH(QString, leds);
    QFETCH(int, ledWrites);

    Fixture f;
    lighttest::actAll(f, action, act);
    hidusb::sim::waitIdle();
    QCOMPARE(ledsText(hidusb::sim::dongleIndicatorLeds(kReceiver)), leds);
    QCOMPARE(calls("UsbFinderC_SetDongleIndicatorLed").size(), ledWrites);
    QCOMPARE(recordSends(), ledWrites);
}

void TestReceiverLighting::refusedIndicatorLedKeepsTheOthers()
{
    Fixture f;
    hidusb::sim::rejectNextWrites(kReceiver, 1);
    act(f, QStringLiteral("led2 0"));
    QCOMPARE(f.find<QComboBox>("LightMod_4")->currentIndex(), 2);
    QCOMPARE(ledsText(*receiverIndicatorLeds), QStringLiteral("1,2,3"));
    QCOMPARE(recordSends(), 0);
    act(f, QStringLiteral("led1 0"));
    hidusb::sim::waitIdle();
    QCOMPARE(ledsText(hidusb::sim::dongleIndicatorLeds(kReceiver)), QStringLiteral("0,2,3"));

    // While the page refills or before the program is ready, a choice stays
    // on screen and writes nothing.
    hidusb::sim::clearJournal();
    uiReady = false;
    act(f, QStringLiteral("led3 0"));
    uiReady = true;
    {
        PageRefill refill(PageRefill::LightPage);
        act(f, QStringLiteral("led2 1"));
    }
    QCOMPARE(writes(), 0);
    QCOMPARE(f.find<QComboBox>("LightMod_5")->currentIndex(), 0);
}

// ---------------------------------------------------------------------------

void TestReceiverLighting::ledInfoChoice()
{
    Fixture f;
    OneLed *panel = f.find<OneLed>("FrameOneLed");
    QVERIFY(!panel->isVisible());
    panel->showChoice(1);
    QCOMPARE(writes(), 0);
    act(f, QStringLiteral("choice ReUntil_3"));
    hidusb::sim::waitIdle();
    QCOMPARE(hidusb::sim::dongleRgb(kReceiver).ledInfoChoice, 3);
    QCOMPARE(calls("UsbFinderC_Set4KDongleRGB").size(), 1);
    QVERIFY(!f.find<QCheckBox>("ReUntil_2")->isChecked());

    // selectChoice acts as the user: a different choice is written once, the
    // one already checked writes nothing.
    panel->selectChoice(0);
    QCOMPARE(calls("UsbFinderC_Set4KDongleRGB").size(), 2);
    panel->selectChoice(0);
    panel->selectChoice(-1);
    panel->showChoice(3);
    QCOMPARE(calls("UsbFinderC_Set4KDongleRGB").size(), 2);
    QCOMPARE(panel->checkedChoice(), 0);
}

void TestReceiverLighting::ledInfoChoiceRefusedOrSilent()
{
    Fixture f;
    OneLed *panel = f.find<OneLed>("FrameOneLed");
    // Nothing confirmed yet: a refused choice leaves no box checked.
    hidusb::sim::rejectNextWrites(kReceiver, 1);
    act(f, QStringLiteral("choice ReUntil_2"));
    QCOMPARE(panel->checkedChoice(), -1);

    panel->showChoice(0);
    hidusb::sim::rejectNextWrites(kReceiver, 1);
    act(f, QStringLiteral("choice ReUntil_3"));
    QCOMPARE(panel->checkedChoice(), 0);
    QCOMPARE(dongleRgb->ledInfoChoice, hidusb::sim::dongleRgb(kReceiver).ledInfoChoice);

    // A silent mouse: the notice, and the confirmed choice checked again.
    hidusb::sim::sleep(QStringLiteral("mouse"));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    act(f, QStringLiteral("choice ReUntil_2"));
    QCOMPARE(offline.count(), 1);
    QCOMPARE(panel->checkedChoice(), 0);
    QCOMPARE(calls("UsbFinderC_Set4KDongleRGB").size(), 2); // the two refused ones
}

// ---------------------------------------------------------------------------

void TestReceiverLighting::receiverShownFromDeviceData()
{
    Fixture f;
    LedBarMode bar = lighttest::startReceiverBar();
    bar.brightness = 9;
    bar.speed = 0;
    bar.mode = 6;
    bar.on = 0;
    UsbFinderC_SetDongleRGBBarMode(currentDevicePath, &bar);
    DongleIndicatorLeds leds{3, 0, 7};
    UsbFinderC_SetDongleIndicatorLed(currentDevicePath, &leds);
    hidusb::sim::clearJournal();
    f.page->SlotUpDataLightUILight(f.start);

    QCOMPARE(f.find<QSlider>("horizontalLight_2")->value(), 10);
    QCOMPARE(f.find<QSpinBox>("LightSpinBox_3")->value(), 10);
    QCOMPARE(f.find<QSlider>("horizontalSpeed_2")->value(), 1);
    QCOMPARE(f.find<QSpinBox>("SpeedSpinBox_3")->value(), 1);
    QCOMPARE(lastReceiverBrightness, 10);
    QCOMPARE(lastReceiverSpeed, 1);
    QCOMPARE(f.find<QComboBox>("LightMod_2")->currentIndex(), 0);
    QCOMPARE(lastReceiverLightMode, 0);
    QVERIFY(!f.find<QWidget>("horizontalLight_2")->isVisibleTo(f.find<QWidget>("FrameReceiveLight")));
    QCOMPARE(f.find<QComboBox>("LightMod_3")->currentIndex(), 3);
    QCOMPARE(f.find<QComboBox>("LightMod_4")->currentIndex(), 0);
    // A function beyond the list leaves no current item.
    QCOMPARE(f.find<QComboBox>("LightMod_5")->currentIndex(), -1);
    QCOMPARE(confirmedIndicatorLeds[0], 3);
    QCOMPARE(writes(), 0);

    // The defaults change neither receiver record.
    f.page->SlotFormResetLight();
    QCOMPARE(barText(*receiverLedBar), barText(bar));
    QCOMPARE(ledsText(*receiverIndicatorLeds), QStringLiteral("3,0,7"));
    QCOMPARE(f.find<QComboBox>("LightMod_2")->currentIndex(), 1);
    QCOMPARE(f.find<QSlider>("horizontalSpeed_2")->value(), 8);
    QCOMPARE(f.find<QSpinBox>("SpeedSpinBox_3")->value(), 8);
    QCOMPARE(f.find<QComboBox>("LightMod_5")->currentIndex(), 0);
    QCOMPARE(confirmedIndicatorLeds[0], 0);
    QCOMPARE(writes(), 0);
}

void TestReceiverLighting::announcedChoiceIsShownNotWritten_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<bool>("wired");
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("checked");

    // The start shows choice index 0 checked.
    QTest::newRow("second choice") << 0 << false << 2 << 1;
    QTest::newRow("third choice") << 0 << false << 3 << 2;
    QTest::newRow("nothing read yet") << 0 << false << 0 << 0;
    QTest::newRow("unknown choice") << 0 << false << 9 << 0;
    QTest::newRow("cabled mouse") << 0 << true << 2 << 0;
    QTest::newRow("model without the choice") << 1 << false << 2 << 0;
    QTest::newRow("model without a list") << 40 << false << 2 << 0;
}

void TestReceiverLighting::announcedChoiceIsShownNotWritten()
{
    QFETCH(int, model);
    QFETCH(bool, wired);
    QFETCH(int, choice);
    QFETCH(int, checked);

    Fixture f;
    OneLed *panel = f.find<OneLed>("FrameOneLed");
    panel->showChoice(0);
    DeviceAllInfo device = currentDevice.get();
    device.modelIndex = model;
    device.wired = wired;
    currentDevice = device;
    DongleRGB announced = *dongleRgb;
    announced.ledInfoChoice = quint8(choice);
    f.page->SlotRGBValue(&announced);
    f.page->SlotForm();
    f.page->SlotFormB();
    QCOMPARE(panel->checkedChoice(), checked);
    QVERIFY(!panel->isVisible());
    QCOMPARE(writes(), 0);
}

// ---------------------------------------------------------------------------

void TestReceiverLighting::textsWithShortLists()
{
    Fixture f;
    const ReceiverStatusList saved = languageTables.receiverStatus[2];
    languageTables.receiverStatus[2] = saved.mid(0, 1);
    emit PostMsg::instance()->SigAllLanguage(2);
    const ReceiverStatusList english = catalogueReceiverStatus(0);
    QCOMPARE(f.find<QTextEdit>("textEdit_2")->toPlainText(), saved.at(0).first + saved.at(0).second);
    QCOMPARE(f.find<QTextEdit>("textEdit_4")->toPlainText(), english.at(2).first + english.at(2).second);
    languageTables.receiverStatus[2] = saved;

    for (int language : {0, 1, 2}) {
        emit PostMsg::instance()->SigAllLanguage(language);
        QComboBox *led = f.find<QComboBox>("LightMod_4");
        // Function 1 is the list's item 3, function 3 its item 1.
        QCOMPARE(led->itemText(1), catalogueOption(QStringLiteral("receiverList"), QStringLiteral("3"), language));
        QCOMPARE(led->itemText(3), catalogueOption(QStringLiteral("receiverList"), QStringLiteral("1"), language));
        QCOMPARE(f.find<QLabel>("label_29")->text(), led->itemText(1));
        QVERIFY(!f.find<QLabel>("label_35")->text().isEmpty());
        QVERIFY(!f.find<QLabel>("label_9")->text().isEmpty());
        QVERIFY(!f.find<QLabel>("label_16")->text().isEmpty());
    }
    QVERIFY(!f.find<QLabel>("label_36")->isVisibleTo(f.find<QWidget>("FrameThreeLed")));
    emit PostMsg::instance()->SigAllLanguage(0);
    QCOMPARE(writes(), 0);
}

VELMORAX_TEST_MAIN(TestReceiverLighting)
#include "tst_receiverlighting.moc"
