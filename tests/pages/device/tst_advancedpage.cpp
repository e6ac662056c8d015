// The advanced page against the simulated mouse and receiver: each control
// writes exactly its byte (or the receiver's long-range call), once; a silent
// mouse changes nothing and the control goes back; refills from a dump, an
// import and the defaults show the record and send nothing; the long-range
// frame follows the model and the connection.

#include "app/look.h"
#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/advancedvalues.h"
#include "device/devicestate.h"
#include "device/pagelink.h"
#include "pages/device/advanced.h"
#include "pages/device/anglemove.h"
#include "pages/device/curveplotwidget.h"
#include "pages/device/fastclick.h"
#include "pages/device/kfps20.h"
#include "pages/device/longmode.h"
#include "pages/device/rotatablewidget.h"
#include "pages/device/stopclosetime.h"
#include "platform/hidusb/simcontrol.h"
#include "support/pagefixture.h"
#include "support/recordbytes.h"
#include "support/testmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <memory>

namespace {

// The page on the default scenario's mouse (model Drive1 behind its
// receiver), its record read and shown, user changes allowed; the journal and
// counters start empty.
struct Fixture
{
    std::unique_ptr<Advanced> page;
    FlashDataMap start;

    explicit Fixture(bool refill = true)
    {
        resetDeviceStateForTests();
        loadTextCatalogue();
        languageIndex = 0;
        hidusb::sim::setJournalEnabled(true);
        pagetest::openSimulatedMouse();
        hidusb::sim::factoryReset(QStringLiteral("mouse"));
        hidusb::sim::flashRecord(QStringLiteral("mouse"), &start);
        start.triggerBits = 0x01;
        start.sleepTime = 6;
        start.angle = 0;
        start.angleSet = 0;
        start.fps20k = 0;
        pagetest::giveMouse(start);
        uiReady = true;
        page.reset(new Advanced);
        page->show();
        if (refill) {
            page->SlotUpDataSenSorUISensor(start);
            page->SlotForm();
        }
        pagetest::settle();
    }
    ~Fixture()
    {
        page.reset();
        pagetest::closeSimulatedMouse();
    }

    template <typename T>
    T *find(const char *name) const
    {
        return page->findChild<T *>(QLatin1String(name));
    }
    // A child of one hosted frame (the frames reuse each other's names).
    template <typename T>
    T *in(const char *frame, const char *name) const
    {
        return find<QWidget>(frame)->findChild<T *>(QLatin1String(name));
    }
};

using pagetest::mouseFlash;

int calls(const char *function)
{
    hidusb::sim::waitIdle();
    int n = 0;
    for (const hidusb::sim::JournalEntry &e : hidusb::sim::journal())
        n += e.function == QLatin1String(function);
    return n;
}

// A user's pick, click or slider commit, by name.
void act(Fixture &f, const QString &action)
{
    const QStringList words = action.split(QLatin1Char(' '));
    const QString verb = words.at(0);
    const QString arg = words.value(1);
    if (verb == QLatin1String("sleep")) {
        QComboBox *box = f.find<QComboBox>("StopClose");
        box->setCurrentIndex(arg.toInt());
        emit box->activated(arg.toInt());
    } else if (verb == QLatin1String("20k")) {
        QTest::mouseClick(f.find<QToolButton>("KFPS"), Qt::LeftButton);
    } else if (verb == QLatin1String("angle")) {
        f.find<QSlider>("AngleSet")->setValue(arg.toInt());
    } else if (verb == QLatin1String("trigger")) {
        f.find<QCheckBox>(qPrintable(arg))->click();
    } else if (verb == QLatin1String("longrange")) {
        f.find<QCheckBox>("checkBox")->click();
    } else {
        QFAIL(qPrintable("unknown action " + action));
    }
    QApplication::processEvents();
}

void hover(QWidget &widget, const QPoint &at, Qt::MouseButtons buttons = Qt::NoButton)
{
    QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

// What the page shows of the mouse's settings, in one text.
QString shown(const Fixture &f)
{
    QStringList out;
    out << QStringLiteral("sleep=%1").arg(f.find<QComboBox>("StopClose")->currentIndex());
    out << QStringLiteral("20k=%1").arg(f.find<QToolButton>("KFPS")->isChecked());
    out << QStringLiteral("angle=%1/%2/%3")
               .arg(f.find<QSlider>("AngleSet")->value())
               .arg(f.find<QLabel>("Keydown_6")->text())
               .arg(f.find<RotatableWidget>("widget_2")->rotation());
    for (const char *box : {"ReUntilClick", "ReUntilClick_2", "ReUntilClick_3", "ReUntilClick_4"})
        out << QString::fromLatin1(box) + QLatin1Char('=') + QString::number(f.find<QCheckBox>(box)->isChecked());
    out << QStringLiteral("longrange=%1").arg(f.find<QCheckBox>("checkBox")->isChecked());
    return out.join(QLatin1Char(' '));
}

} // namespace

class TestAdvancedPage : public QObject
{
    Q_OBJECT

private slots:
    void userChangesWriteTheirBytes_data();
    void userChangesWriteTheirBytes();
    void silentMouseChangesNothing_data();
    void silentMouseChangesNothing();
    void lockedAngleSliderIsFreedByEveryRefill_data();
    void lockedAngleSliderIsFreedByEveryRefill();
    void writesWaitForTheUser();
    void longRangeGoesToTheReceiver();
    void longRangeReportIsNotWrittenBack();
    void refillsShowTheRecordAndSendNothing_data();
    void refillsShowTheRecordAndSendNothing();
    void defaults();
    void longRangeFrameFollowsModelAndConnection_data();
    void longRangeFrameFollowsModelAndConnection();
    void hiddenFramesAndTabs();
    void dpiModeTab();
    void wheelStaysOnThePage();
    void languages_data();
    void languages();
    void rotatableWidget_data();
    void rotatableWidget();
    void curvePlotMapping();
    void curvePlotMouse();
};

// ---------------------------------------------------------------------------

void TestAdvancedPage::userChangesWriteTheirBytes_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("changes");

    // Start: byte 4 = 0x01 (left on press), sleep 1 min, angle 0, 20K off.
    QTest::newRow("sleep 5 min") << "sleep 5"
                                 << "8=30";
    QTest::newRow("sleep 10 s") << "sleep 0"
                                << "8=1";
    QTest::newRow("sleep 15 min") << "sleep 7"
                                  << "8=90";
    QTest::newRow("sleep picked again") << "sleep 2"
                                        << "";
    QTest::newRow("20K on") << "20k"
                            << "42=1";
    QTest::newRow("20K on and off") << "20k,20k"
                                    << "";
    QTest::newRow("angle -30") << "angle -30"
                               << "15=0xE2 16=1";
    QTest::newRow("angle +30") << "angle 30"
                               << "15=30 16=1";
    QTest::newRow("left at full travel") << "trigger ReUntilClick_2"
                                         << "4=0";
    QTest::newRow("right on press") << "trigger ReUntilClick_3"
                                    << "4=3";
    QTest::newRow("right on press, then full travel") << "trigger ReUntilClick_3,trigger ReUntilClick_4"
                                                      << "";
    QTest::newRow("checked box clicked again") << "trigger ReUntilClick"
                                               << "";
}

void TestAdvancedPage::userChangesWriteTheirBytes()
{
    QFETCH(QString, action);
    QFETCH(QString, changes);

    Fixture f;
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    const QStringList steps = action.split(QLatin1Char(','));
    for (const QString &step : steps)
        act(f, step);

    const FlashDataMap want = recordtest::withBytes(f.start, changes);
    const FlashDataMap flash = mouseFlash();
    VERIFY_RECORD(flash, want);
    VERIFY_RECORD(currentFlashData, want);
    // One send per change, also when the change repeats the value.
    QCOMPARE(calls("ProtocolDataUpdate"), steps.size());
    QCOMPARE(offline.count(), 0);
}

// ---------------------------------------------------------------------------

void TestAdvancedPage::silentMouseChangesNothing_data()
{
    QTest::addColumn<QString>("action");

    QTest::newRow("sleep") << "sleep 5";
    QTest::newRow("20K") << "20k";
    QTest::newRow("angle") << "angle -12";
    QTest::newRow("left trigger") << "trigger ReUntilClick_2";
    QTest::newRow("right trigger") << "trigger ReUntilClick_3";
    QTest::newRow("long range") << "longrange";
}

void TestAdvancedPage::silentMouseChangesNothing()
{
    QFETCH(QString, action);

    Fixture f;
    const QString before = shown(f);
    const bool longRangeBefore = hidusb::sim::longRange(QStringLiteral("receiver"));
    QVERIFY(hidusb::sim::sleep(QStringLiteral("mouse")));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    act(f, action);

    QCOMPARE(shown(f), before);
    QCOMPARE(offline.count(), 1);
    QCOMPARE(offline.at(0).at(0).toInt(), 0);
    VERIFY_RECORD(currentFlashData, f.start);
    VERIFY_RECORD(mouseFlash(), f.start);
    QCOMPARE(calls("ProtocolDataUpdate"), 0);
    QCOMPARE(calls("UsbFinderC_SetLongRangeMode"), 0);
    QCOMPARE(hidusb::sim::longRange(QStringLiteral("receiver")), longRangeBefore);

    // Nothing of the refused change rides out with the next, unrelated write.
    QVERIFY(hidusb::sim::wake(QStringLiteral("mouse")));
    act(f, QStringLiteral("sleep 6"));
    VERIFY_RECORD(mouseFlash(), recordtest::withBytes(f.start, "8=60"));
}

// ---------------------------------------------------------------------------

void TestAdvancedPage::lockedAngleSliderIsFreedByEveryRefill_data()
{
    QTest::addColumn<bool>("import");
    QTest::newRow("device record") << false;
    QTest::newRow("imported record") << true;
}

void TestAdvancedPage::lockedAngleSliderIsFreedByEveryRefill()
{
    QFETCH(bool, import);

    Fixture f;
    QSlider *slider = f.find<QSlider>("AngleSet");
    QVERIFY(hidusb::sim::sleep(QStringLiteral("mouse")));
    act(f, QStringLiteral("angle 12"));
    QVERIFY(!slider->isEnabled());
    // A locked slider keeps the mouse's angle, and writes nothing.
    QVERIFY(hidusb::sim::wake(QStringLiteral("mouse")));
    slider->setValue(20);
    QCOMPARE(slider->value(), 0);
    QCOMPARE(f.find<QLabel>("Keydown_6")->text(), QString::fromUtf8("0°"));
    QCOMPARE(calls("ProtocolDataUpdate"), 0);

    FlashDataMap next = f.start;
    next.angle = 5;
    if (import)
        f.page->SlotUpDataSenSorUIB(next);
    else
        f.page->SlotUpDataSenSorUISensor(next);
    QVERIFY(slider->isEnabled());
    QCOMPARE(slider->value(), 5);
    QCOMPARE(lastSentAngle, 5);
    act(f, QStringLiteral("angle -7"));
    QCOMPARE(int(mouseFlash().angle), -7);
}

void TestAdvancedPage::writesWaitForTheUser()
{
    Fixture f;
    uiReady = false;
    act(f, QStringLiteral("sleep 5"));
    act(f, QStringLiteral("trigger ReUntilClick_3"));
    act(f, QStringLiteral("longrange"));
    act(f, QStringLiteral("angle 9"));
    QCOMPARE(calls("ProtocolDataUpdate"), 0);
    QCOMPARE(calls("UsbFinderC_SetLongRangeMode"), 0);
    // The picks stay on screen.
    QCOMPARE(f.find<QComboBox>("StopClose")->currentIndex(), 5);
    QVERIFY(f.find<QCheckBox>("ReUntilClick_3")->isChecked());
    QCOMPARE(f.find<QLabel>("Keydown_6")->text(), QString::fromUtf8("9°"));

    // The 20K switch does not wait.
    act(f, QStringLiteral("20k"));
    QCOMPARE(int(mouseFlash().fps20k), 1);

    // A sleep pick while the button page refills only shows.
    uiReady = true;
    hidusb::sim::clearJournal();
    {
        PageRefill refill(PageRefill::ButtonPage);
        act(f, QStringLiteral("sleep 1"));
    }
    QCOMPARE(calls("ProtocolDataUpdate"), 0);
    QCOMPARE(f.find<StopCloseTime>("frameClose")->lastIndex, 2);
}

void TestAdvancedPage::longRangeGoesToTheReceiver()
{
    Fixture f;
    const QString receiver = hidusb::sim::pathOf(QStringLiteral("receiver"));
    QCheckBox *box = f.find<QCheckBox>("checkBox");
    const bool before = box->isChecked();
    act(f, QStringLiteral("longrange"));
    QCOMPARE(hidusb::sim::longRange(QStringLiteral("receiver")), !before);
    act(f, QStringLiteral("longrange"));
    QCOMPARE(hidusb::sim::longRange(QStringLiteral("receiver")), before);

    QStringList made;
    for (const hidusb::sim::JournalEntry &e : hidusb::sim::journal())
        if (e.function == QLatin1String("UsbFinderC_SetLongRangeMode"))
            made << e.path + QLatin1Char(' ') + e.arguments;
    QCOMPARE(made, QStringList({receiver + QStringLiteral(" on=%1").arg(int(!before)),
                                receiver + QStringLiteral(" on=%1").arg(int(before))}));
    QCOMPARE(calls("ProtocolDataUpdate"), 0);
}

void TestAdvancedPage::longRangeReportIsNotWrittenBack()
{
    // The receiver reports its state while the mouse is asleep: the box
    // follows, nothing goes back to the receiver and no notice opens.
    Fixture f;
    QVERIFY(hidusb::sim::sleep(QStringLiteral("mouse")));
    QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
    QCheckBox *box = f.find<QCheckBox>("checkBox");
    for (bool state : {!box->isChecked(), box->isChecked()}) {
        f.page->SlotLongRangeMode(!state);
        QCOMPARE(box->isChecked(), !state);
    }
    f.page->SlotLongRangeMode(true);
    QVERIFY(box->isChecked());
    QVERIFY(f.find<LongMode>("FrameLongMode")->isVisible());
    QCOMPARE(offline.count(), 0);
    QCOMPARE(calls("UsbFinderC_SetLongRangeMode"), 0);
    QCOMPARE(calls("UsbFinderC_GetDeviceOnLine"), 0);
}

// ---------------------------------------------------------------------------

void TestAdvancedPage::refillsShowTheRecordAndSendNothing_data()
{
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("shows");

    const QString deg = QString::fromUtf8("°");
    QTest::newRow("sleep 6 is 1 min") << "8=6"
                                      << "sleep=2";
    QTest::newRow("sleep 90 is 15 min") << "8=90"
                                        << "sleep=7";
    QTest::newRow("sleep 7 is no choice") << "8=7"
                                          << "sleep=2";
    QTest::newRow("sleep 2 is no choice") << "8=2"
                                          << "sleep=2";
    QTest::newRow("angle -30") << "15=0xE2"
                               << "angle=-30/-30" + deg + "/330";
    QTest::newRow("angle 5") << "15=5"
                             << "angle=5/5" + deg + "/5";
    QTest::newRow("20K byte 1") << "42=1"
                                << "20k=1";
    QTest::newRow("20K byte 2 is off") << "42=2"
                                       << "20k=0";
    QTest::newRow("both on press") << "4=3"
                                   << "ReUntilClick=1 ReUntilClick_2=0 ReUntilClick_3=1 ReUntilClick_4=0";
    QTest::newRow("right on press") << "4=2"
                                    << "ReUntilClick=0 ReUntilClick_2=1 ReUntilClick_3=1 ReUntilClick_4=0";
    QTest::newRow("other bits") << "4=0xF0"
                                << "ReUntilClick=0 ReUntilClick_2=1 ReUntilClick_3=0 ReUntilClick_4=1";
}

void TestAdvancedPage::refillsShowTheRecordAndSendNothing()
{
    QFETCH(QString, changes);
    QFETCH(QString, shows);

    const FlashDataMap startRecord = Fixture(false).start;
    const FlashDataMap record = recordtest::withBytes(startRecord, changes);
    for (int source = 0; source < 3; ++source) {
        Fixture f;
        QSignalSpy offline(PostMsg::instance(), &PostMsg::SigMouseOffLineo);
        if (source == 0) {
            f.page->SlotUpDataSenSorUISensor(record);
        } else if (source == 1) {
            f.page->SlotUpDataSenSorUIB(record);
        } else {
            // A loaded record through the hub, as an import or a cache shows.
            refillPages(RefillSource::LoadedRecord, record);
        }
        QApplication::processEvents();
        const QString now = shown(f);
        for (const QString &part : shows.split(QLatin1Char(' ')))
            QVERIFY2(now.contains(part),
                     qPrintable(QStringLiteral("source %1: %2 not in %3").arg(source).arg(part, now)));
        QCOMPARE(calls("ProtocolDataUpdate"), 0);
        QCOMPARE(offline.count(), 0);
        VERIFY_RECORD(currentFlashData, f.start);
    }
}

void TestAdvancedPage::defaults()
{
    Fixture f;
    FlashDataMap record = recordtest::withBytes(f.start, "8=90 15=20 42=1 4=3");
    f.page->SlotUpDataSenSorUISensor(record);
    currentDevice.update([](DeviceAllInfo &d) {
        d.modelIndex = 2; // a model without long range, and a cable
        d.wired = true;
    });
    f.page->SlotForm();
    QVERIFY(!f.find<LongMode>("FrameLongMode")->isVisible());

    f.page->SlotFormReset();
    QApplication::processEvents();
    QCOMPARE(f.find<QComboBox>("StopClose")->currentIndex(), 2);
    QCOMPARE(f.find<StopCloseTime>("frameClose")->lastIndex, 2);
    QVERIFY(!f.find<QToolButton>("KFPS")->isChecked());
    QCOMPARE(f.find<QSlider>("AngleSet")->value(), 0);
    QCOMPARE(f.find<QLabel>("Keydown_6")->text(), QString::fromUtf8("0°"));
    QCOMPARE(lastSentAngle, 0);
    // The picture and the trigger point are left as they were.
    QCOMPARE(f.find<RotatableWidget>("widget_2")->rotation(), 20);
    QVERIFY(f.find<QCheckBox>("ReUntilClick_3")->isChecked());
    // Long range shows whatever the model, until the next model check.
    emit PostMsg::instance()->SigtVis(0);
    QVERIFY(f.find<LongMode>("FrameLongMode")->isVisible());
    f.page->SlotForm();
    QVERIFY(!f.find<LongMode>("FrameLongMode")->isVisible());
    QCOMPARE(calls("ProtocolDataUpdate"), 0);
}

// ---------------------------------------------------------------------------

void TestAdvancedPage::longRangeFrameFollowsModelAndConnection_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<bool>("wired");
    QTest::addColumn<QString>("check");
    QTest::addColumn<bool>("visible");

    // Drive1 offers long range ("0,1"), Drive2 too ("0,-1"), Drive3 not
    // ("-1,-1"); Drive9 has no group at all, so no list.
    for (const char *check : {"form", "formB", "report"}) {
        const bool report = QByteArray(check) == "report";
        QTest::addRow("%s: offering model, receiver", check) << 0 << false << check << true;
        QTest::addRow("%s: offering model, cable", check) << 0 << true << check << report;
        QTest::addRow("%s: second offering model", check) << 1 << false << check << true;
        QTest::addRow("%s: model without long range", check) << 2 << false << check << false;
        QTest::addRow("%s: model without a list", check) << 8 << false << check << false;
    }
}

void TestAdvancedPage::longRangeFrameFollowsModelAndConnection()
{
    QFETCH(int, model);
    QFETCH(bool, wired);
    QFETCH(QString, check);
    QFETCH(bool, visible);

    Fixture f;
    // Start hidden, from a model check of a cabled mouse.
    currentDevice.update([](DeviceAllInfo &d) { d.wired = true; });
    f.page->SlotForm();
    QVERIFY(!f.find<LongMode>("FrameLongMode")->isVisible());

    currentDevice.update([&](DeviceAllInfo &d) {
        d.modelIndex = model;
        d.wired = wired;
    });
    if (check == QLatin1String("form"))
        f.page->SlotForm();
    else if (check == QLatin1String("formB"))
        emit PostMsg::instance()->SigFormB();
    else
        f.page->SlotLongRangeMode(true);
    QApplication::processEvents();

    LongMode *frame = f.find<LongMode>("FrameLongMode");
    QCOMPARE(frame->isVisible(), visible);
    QCOMPARE(f.page->longRangeShown, visible);
    if (visible)
        QCOMPARE(frame->pos(), QPoint(0, 160));
    QVERIFY(!f.find<KFPS20>("FrameFPS")->isVisible());
    QVERIFY(!f.find<AngleMove>("FrameAngle")->isVisible());
    QCOMPARE(calls("UsbFinderC_SetLongRangeMode"), 0);
}

void TestAdvancedPage::hiddenFramesAndTabs()
{
    Fixture f(false);
    QTabWidget *tabs = f.find<QTabWidget>("AdvancedTab");
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(!tabs->tabBar()->isVisible());
    QCOMPARE(f.find<QTabWidget>("ModeTab")->currentIndex(), 0);
    QVERIFY(!f.find<QWidget>("verticalScrollBar")->isVisible());
    for (const char *plot : {"PicA", "PicB", "PicC", "PicD"})
        QCOMPARE(f.find<CurvePlotWidget>(plot)->editable, 0);
    // Before anything arrived: no frame but the sleep time, whatever opens
    // the page first; the sleep time shows its first choice.
    emit PostMsg::instance()->SigtVis(0);
    QVERIFY(f.find<StopCloseTime>("frameClose")->isVisible());
    QVERIFY(!f.find<KFPS20>("FrameFPS")->isVisible());
    QVERIFY(!f.find<LongMode>("FrameLongMode")->isVisible());
    QVERIFY(!f.find<AngleMove>("FrameAngle")->isVisible());
    QCOMPARE(f.find<StopCloseTime>("frameClose")->lastIndex, 0);
    QCOMPARE(lastSentAngle, 0);
    QCOMPARE(f.find<RotatableWidget>("widget_2")->rotation(), 0);
    QVERIFY(!f.find<QCheckBox>("ReUntilClick")->isChecked() && !f.find<QCheckBox>("ReUntilClick_2")->isChecked());

    // A refused pick before any record goes back to that first choice.
    QVERIFY(hidusb::sim::sleep(QStringLiteral("mouse")));
    act(f, QStringLiteral("sleep 4"));
    QCOMPARE(f.find<QComboBox>("StopClose")->currentIndex(), 0);
}

void TestAdvancedPage::dpiModeTab()
{
    Fixture f;
    QTabWidget *modes = f.find<QTabWidget>("ModeTab");
    const char *boxes[4] = {"checkBox_3", "checkBox_4", "checkBox_5", "checkBox_6"};
    for (const char *box : boxes)
        QVERIFY(!f.find<QCheckBox>(box)->isEnabled());
    QVERIFY(f.find<QCheckBox>("checkBox_3")->isChecked());
    QVERIFY(look::sheetOf(f.find<QLabel>("label_8")).contains(QLatin1String("115,115,115")));

    f.find<QCheckBox>("checkBox_2")->click();
    for (const char *box : boxes)
        QVERIFY(f.find<QCheckBox>(box)->isEnabled());
    QVERIFY(!look::sheetOf(f.find<QLabel>("label_8")).contains(QLatin1String("115,115,115")));
    for (int i : {2, 3, 1, 0}) {
        f.find<QCheckBox>(boxes[i])->click();
        QCOMPARE(modes->currentIndex(), i);
    }
    QCOMPARE(calls("ProtocolDataUpdate"), 0);
}

void TestAdvancedPage::wheelStaysOnThePage()
{
    struct Parent : QWidget
    {
        int wheels = 0;
        void wheelEvent(QWheelEvent *) override { ++wheels; }
    };
    Parent parent; // outlives the page
    Fixture f;
    f.page->setParent(&parent);
    parent.show();
    QWheelEvent wheel(QPointF(400, 300), QPointF(400, 300), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.page.get(), &wheel);
    QVERIFY(wheel.isAccepted());
    QCOMPARE(parent.wheels, 0);
    f.page->setParent(nullptr);
}

// ---------------------------------------------------------------------------

void TestAdvancedPage::languages_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("sleepTipX");
    QTest::addColumn<int>("angleTipX");     // after the layout step, no long range
    QTest::addColumn<int>("angleTipXLong"); // with long range
    QTest::newRow("English") << 0 << 225 << 230 << 230;
    QTest::newRow("Chinese") << 1 << 225 << 170 << 230;
    QTest::newRow("Russian") << 2 << 250 << 170 << 230;
}

void TestAdvancedPage::languages()
{
    QFETCH(int, language);
    QFETCH(int, sleepTipX);
    QFETCH(int, angleTipX);
    QFETCH(int, angleTipXLong);

    Fixture f;
    languageIndex = language;
    emit PostMsg::instance()->SigAllLanguage(language);
    auto text = [&](const char *key) {
        return catalogueText(QStringLiteral("AdvancedSettings"), QLatin1String(key), language);
    };
    QLabel *sleepTitle = f.find<QWidget>("tab")->findChild<QLabel *>("label", Qt::FindDirectChildrenOnly);
    QCOMPARE(sleepTitle->text(), text("SleepTime"));
    QCOMPARE(f.find<QLabel>("Error")->toolTip(), text("SleepTimeTips"));
    QCOMPARE(f.find<QLabel>("Error")->pos(), QPoint(sleepTipX, 53));
    QCOMPARE(f.in<QLabel>("FrameLongMode", "label_5")->text(), text("LongDistance"));
    QCOMPARE(f.in<QLabel>("FrameLongMode", "label_6")->text(), text("LongDistanceTips"));
    QCOMPARE(f.in<QLabel>("FrameFPS", "label_3")->text(), text("scanningTitle"));
    QCOMPARE(f.in<QLabel>("FrameAngle", "label_7")->text(), text("AngularMode"));
    QCOMPARE(f.find<QLabel>("Error_4")->toolTip(), text("dpiSensitivityTips").replace('\n', "<br>"));
    QCOMPARE(curveAxisTitleX, text("dpiModeTipsX"));
    QCOMPARE(curveAxisTitleY, text("dpiModeTipsY"));
    QCOMPARE(f.find<QLabel>("label_11")->text(), catalogueOption("dpiModeOptions", "0", language));
    FastClick *trigger = f.find<FastClick>("FrameFastClick");
    QCOMPARE(trigger->findChild<QLabel *>("label")->text(), text("QuickTrigger"));
    QCOMPARE(trigger->findChild<QLabel *>("label_6")->text(), text("Presstrigger"));
    QCOMPARE(trigger->findChild<QLabel *>("label_7")->text(), text("BottomTrigger"));
    // A "KeyOptions" value with fewer than four texts names the button with
    // an empty text rather than reading past the list.
    QCOMPARE(trigger->findChild<QLabel *>("label_2")->text(),
             advanced::keyOptionText(QStringLiteral("0x0100"), 3, language));
    QVERIFY(advanced::keyOptionText(QStringLiteral("0x0100"), 99, language).isEmpty());

    // Every text this page shows exists in the language and the sleep choices
    // carry their catalogue texts.
    for (const char *key :
         {"SleepTime", "SleepTimeTips", "scanningTitle", "scanningTips", "LongDistance", "LongDistanceTips",
          "AngularMode", "AngularModeTips", "QuickTrigger", "Presstrigger", "BottomTrigger", "dpiSensitivityTitle",
          "dpiSensitivityTips", "dpiModeTitle", "dpiModeTipsX", "dpiModeTipsY"})
        QVERIFY2(!text(key).isEmpty(), key);
    QComboBox *sleep = f.find<QComboBox>("StopClose");
    QCOMPARE(sleep->count(), 8);
    for (int i = 0; i < 8; ++i) {
        QVERIFY(!sleep->itemText(i).isEmpty());
        QCOMPARE(sleep->itemText(i),
                 catalogueOption("PerformanceOptions", QString::number(advanced::kSleepCodes[i]), language));
    }

    currentDevice.update([](DeviceAllInfo &d) { d.wired = true; });
    f.page->SlotForm();
    QCOMPARE(f.find<QLabel>("Error_3")->pos(), QPoint(angleTipX, 6));
    currentDevice.update([](DeviceAllInfo &d) { d.wired = false; });
    f.page->SlotForm();
    QCOMPARE(f.find<QLabel>("Error_3")->pos(), QPoint(angleTipXLong, 6));
    languageIndex = 0;
}

// ---------------------------------------------------------------------------

void TestAdvancedPage::rotatableWidget_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QSize>("hint"); // of a 74 x 92 content

    QTest::newRow("0") << 0 << 0 << QSize(74, 92);
    QTest::newRow("-30") << -30 << 330 << QSize(110, 117);
    QTest::newRow("30") << 30 << 30 << QSize(110, 117);
    QTest::newRow("90") << 90 << 90 << QSize(92, 74);
    QTest::newRow("180") << 180 << 180 << QSize(74, 92);
    QTest::newRow("360") << 360 << 0 << QSize(74, 92);
    QTest::newRow("725") << 725 << 5 << QSize(82, 98);
    QTest::newRow("-450") << -450 << 270 << QSize(92, 74);
}

void TestAdvancedPage::rotatableWidget()
{
    QFETCH(int, set);
    QFETCH(int, stored);
    QFETCH(QSize, hint);

    RotatableWidget widget;
    auto *layout = new QVBoxLayout(&widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addSpacerItem(new QSpacerItem(74, 92, QSizePolicy::Fixed, QSizePolicy::Fixed));
    QCOMPARE(widget.sizeHint(), QSize(74, 92));
    widget.setRotation(set);
    QCOMPARE(widget.rotation(), stored);
    QCOMPARE(widget.sizeHint(), hint);
    QCOMPARE(widget.minimumSizeHint(), hint);

    // The picture is drawn turned about the centre: a picture with a marked
    // top edge shows the mark on the left side after a turn of 270 degrees.
    if (stored == 270) {
        QTemporaryDir dir;
        QImage image(40, 40, QImage::Format_ARGB32);
        image.fill(Qt::black);
        for (int x = 0; x < 40; ++x)
            for (int y = 0; y < 8; ++y)
                image.setPixelColor(x, y, Qt::red);
        const QString path = dir.filePath("mark.png");
        QVERIFY(image.save(path));
        RotatableWidget picture;
        picture.resize(40, 40);
        picture.setPixmapPath(path);
        picture.setRotation(270);
        const QImage drawn = picture.grab().toImage();
        QCOMPARE(drawn.pixelColor(3, 20), QColor(Qt::red));
        QCOMPARE(drawn.pixelColor(20, 3), QColor(Qt::black));
    }
}

void TestAdvancedPage::curvePlotMapping()
{
    CurvePlotWidget plot;
    plot.resize(721, 381);
    QCOMPARE(plot.toScreenPoint(QPointF(0, 0)), QPointF(80, 301));
    QCOMPARE(plot.toScreenPoint(QPointF(7000, 70)), QPointF(641, 80));
    QCOMPARE(plot.toDataPoint(QPointF(80, 301)), QPointF(0, 0));
    QCOMPARE(plot.toDataPoint(QPointF(641, 80)), QPointF(7000, 70));
    QCOMPARE(plot.toDataPoint(plot.toScreenPoint(QPointF(3500, 35))), QPointF(3500, 35));

    // Demonstration points: x = 0, 1000, ..., 7000, whole y from 10 to 59.
    QCOMPARE(plot.points.size(), 8);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(plot.points[i].x(), 1000.0 * i);
        const double y = plot.points[i].y();
        QVERIFY(y >= 10 && y <= 59 && y == std::floor(y));
    }

    // The curve starts and ends on the points and passes through each one.
    plot.points = {QPointF(0, 10), QPointF(3500, 60), QPointF(7000, 20)};
    const QPainterPath path = plot.smoothPath();
    QCOMPARE(path.elementCount(), 1 + 2 * 3);
    QCOMPARE(QPointF(path.elementAt(0)), plot.toScreenPoint(plot.points[0]));
    QCOMPARE(QPointF(path.elementAt(3)), plot.toScreenPoint(plot.points[1]));
    QCOMPARE(QPointF(path.elementAt(6)), plot.toScreenPoint(plot.points[2]));
    // First control point: s0 + (s1 - s0) / 6 (the missing point before s0 is s0).
    const QPointF s0 = plot.toScreenPoint(plot.points[0]), s1 = plot.toScreenPoint(plot.points[1]);
    QCOMPARE(QPointF(path.elementAt(1)), s0 + (s1 - s0) / 6);
    plot.points = {QPointF(0, 10)};
    QVERIFY(plot.smoothPath().isEmpty());
}

void TestAdvancedPage::curvePlotMouse()
{
    CurvePlotWidget plot;
    plot.resize(721, 381);
    plot.points = {QPointF(0, 10), QPointF(3500, 30), QPointF(7000, 50)};
    const QPoint onSecond = plot.toScreenPoint(plot.points[1]).toPoint();

    // Not editable: a press drags nothing, hovering still labels.
    QTest::mousePress(&plot, Qt::LeftButton, {}, onSecond);
    QCOMPARE(plot.dragIndex, -1);
    QTest::mouseRelease(&plot, Qt::LeftButton, {}, onSecond);
    hover(plot, onSecond);
    QCOMPARE(plot.hoverIndex, 1);

    // 55 data units along X: too far to pick (limit 50), near enough to label
    // (limit 60). One pixel is 12.5 units here.
    plot.editable = 1;
    plot.hoverIndex = -1;
    const QPoint aside = plot.toScreenPoint(QPointF(3555, 30)).toPoint();
    const double away = std::abs(plot.toDataPoint(aside).x() - 3500);
    QVERIFY(away > 50 && away < 60);
    QTest::mousePress(&plot, Qt::LeftButton, {}, aside);
    QCOMPARE(plot.dragIndex, -1);
    QTest::mouseRelease(&plot, Qt::LeftButton, {}, aside);
    hover(plot, aside);
    QCOMPARE(plot.hoverIndex, 1);
    hover(plot, QPoint(5, 5));
    QCOMPARE(plot.hoverIndex, -1);

    // Editable: dragging past the right edge stores x = 7000, y clamped.
    QTest::mousePress(&plot, Qt::LeftButton, {}, onSecond);
    QCOMPARE(plot.dragIndex, 1);
    hover(plot, QPoint(900, -50), Qt::LeftButton);
    QCOMPARE(plot.points[1], QPointF(7000, 70));
    QTest::mouseRelease(&plot, Qt::LeftButton, {}, QPoint(900, 10));
    QCOMPARE(plot.dragIndex, -1);
}

VELMORAX_TEST_MAIN(TestAdvancedPage)
#include "tst_advancedpage.moc"
