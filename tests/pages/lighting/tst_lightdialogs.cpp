// The two lighting dialogs, each in a test host that drives it as its opener
// would: the lighting-mode dialog edits only its own controls, and the
// LED-information dialog shows what the receiver announces.

#include "app/postmsg.h"
#include "device/devicestate.h"
#include "pages/lighting/ledinfo.h"
#include "pages/lighting/lightmodeset.h"
#include "platform/hidusb/simcontrol.h"
#include "platform/screen.h"
#include "support/pagefixture.h"
#include "support/testmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QThread>
#include <QToolButton>
#include <QtTest>

#include <cstring>

namespace {

class FakeScreen : public ScreenSource
{
public:
    int desktopWidth() const override { return 1920; }
    qreal logicalDpi() const override { return dpi; }
    QPoint cursorPos() const override { return QPoint(10, 10); }
    QColor colorAt(const QPoint &) const override { return QColor(7, 8, 9); }
    qreal dpi = 96;
};

template <typename T>
T *child(QWidget *w, const char *name)
{
    return w->findChild<T *>(QLatin1String(name));
}

} // namespace

class TestLightDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void lightModeSetLayouts_data();
    void lightModeSetLayouts();
    void lightModeSetIsLocal();
    void lightModeSetFontsFollowTheScreen_data();
    void lightModeSetFontsFollowTheScreen();
    void ledInfoShowsTheAnnouncedChoice_data();
    void ledInfoShowsTheAnnouncedChoice();
    void ledInfoFollowsTheReportThread();
    void closeButtons();

private:
    FlashDataMap m_record;
};

void TestLightDialogs::init()
{
    resetDeviceStateForTests();
    screen::setSource(nullptr);
    DeviceAllInfo device;
    device.modelIndex = 0;
    device.linkCode = 1;
    device.online = true;
    currentDevice = device;
    std::memset(&m_record, 0x5A, sizeof m_record);
    currentFlashData = m_record;
}

void TestLightDialogs::lightModeSetLayouts_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("brightness");
    QTest::addColumn<bool>("speed");
    QTest::addColumn<bool>("colour");

    QTest::newRow("off") << 0 << false << false << false;
    QTest::newRow("colour flow") << 1 << true << true << false;
    QTest::newRow("breathing") << 2 << true << true << true;
    QTest::newRow("steady") << 3 << true << false << true;
    QTest::newRow("mixed breathing") << 5 << true << true << false;
}

void TestLightDialogs::lightModeSetLayouts()
{
    QFETCH(int, mode);
    QFETCH(bool, brightness);
    QFETCH(bool, speed);
    QFETCH(bool, colour);

    LightModeSet dialog;
    dialog.show();
    QComboBox *modes = child<QComboBox>(&dialog, "LightMod");
    QCOMPARE(modes->count(), 6);
    // It starts off.
    QVERIFY(!child<QSlider>(&dialog, "horizontalLight")->isVisible());
    modes->setCurrentIndex(mode);
    QCOMPARE(child<QSlider>(&dialog, "horizontalLight")->isVisible(), brightness);
    QCOMPARE(child<QWidget>(&dialog, "line")->isVisible(), !brightness);
    QCOMPARE(child<QSlider>(&dialog, "horizontalSpeed")->isVisible(), speed);
    QCOMPARE(child<QWidget>(&dialog, "line_2")->isVisible(), !speed);
    for (const char *name : {"label_7", "RSpinBox", "AddG", "toolButtonColorA", "labelPreView", "label_13"})
        QVERIFY2(child<QWidget>(&dialog, name)->isVisible() == colour, name);
}

void TestLightDialogs::lightModeSetIsLocal()
{
    // No device at all: the dialog still works, and writes nothing.
    hidusb::sim::setJournalEnabled(true);
    hidusb::sim::clearJournal();
    FakeScreen fake;
    screen::setSource(&fake);
    LightModeSet dialog;
    dialog.show();
    child<QComboBox>(&dialog, "LightMod")->setCurrentIndex(2);
    child<QToolButton>(&dialog, "toolButtonColorH")->click();
    QCOMPARE(child<QSpinBox>(&dialog, "RSpinBox")->value(), 227);
    QCOMPARE(child<QSpinBox>(&dialog, "BSpinBox")->value(), 127);
    QVERIFY(child<QLabel>(&dialog, "labelPreView")->styleSheet().contains(QStringLiteral("rgb(227,0,127)")));
    child<QToolButton>(&dialog, "AddG")->click();
    child<QToolButton>(&dialog, "ReduceR")->click();
    QCOMPARE(child<QSpinBox>(&dialog, "GSpinBox")->value(), 1);
    QCOMPARE(child<QSpinBox>(&dialog, "RSpinBox")->value(), 226);

    QLabel *board = child<QLabel>(&dialog, "label_7");
    const QPoint onBoard = board->parentWidget()->mapTo(&dialog, board->geometry().center());
    QMouseEvent event(QEvent::MouseButtonPress, onBoard, dialog.mapToGlobal(onBoard), Qt::MiddleButton,
                      Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &event);
    QCOMPARE(child<QSpinBox>(&dialog, "GSpinBox")->value(), 8);
    child<QSlider>(&dialog, "horizontalLight")->setValue(4);

    QVERIFY(pagetest::sameRecord(currentFlashData, m_record));
    QVERIFY(hidusb::sim::journal().isEmpty());
    screen::setSource(nullptr);
}

void TestLightDialogs::lightModeSetFontsFollowTheScreen_data()
{
    QTest::addColumn<qreal>("dpi");
    QTest::addColumn<qreal>("points");

    QTest::newRow("96 dpi") << qreal(96) << qreal(11);
    QTest::newRow("144 dpi") << qreal(144) << qreal(11 * 96.0 / 144);
}

void TestLightDialogs::lightModeSetFontsFollowTheScreen()
{
    QFETCH(qreal, dpi);
    QFETCH(qreal, points);

    FakeScreen fake;
    fake.dpi = dpi;
    screen::setSource(&fake);
    LightModeSet dialog;
    QVERIFY(qAbs(child<QLabel>(&dialog, "label")->font().pointSizeF() - points) < 0.05);
    screen::setSource(nullptr);
}

void TestLightDialogs::ledInfoShowsTheAnnouncedChoice_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<bool>("wired");
    QTest::addColumn<int>("linkCode");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("checked");

    // The dialog starts with ReUntil checked (choice 1 announced first).
    QTest::newRow("second") << 0 << false << 1 << 2 << "ReUntil_2";
    QTest::newRow("third") << 0 << false << 1 << 3 << "ReUntil_3";
    QTest::newRow("nothing read") << 0 << false << 1 << 0 << "ReUntil";
    QTest::newRow("cabled mouse") << 0 << true << 1 << 2 << "ReUntil";
    QTest::newRow("other link") << 0 << false << 5 << 2 << "ReUntil";
    QTest::newRow("model without the choice") << 1 << false << 1 << 2 << "ReUntil";
    QTest::newRow("model without a list") << 40 << false << 1 << 2 << "ReUntil";
}

void TestLightDialogs::ledInfoShowsTheAnnouncedChoice()
{
    QFETCH(int, model);
    QFETCH(bool, wired);
    QFETCH(int, linkCode);
    QFETCH(int, choice);
    QFETCH(QString, checked);

    LedInfo dialog;
    DongleRGB rgb;
    std::memset(&rgb, 0, sizeof rgb);
    rgb.ledInfoChoice = 1;
    dialog.SlotRGBValue(&rgb);
    QVERIFY(child<QCheckBox>(&dialog, "ReUntil")->isChecked());

    DeviceAllInfo device = currentDevice.get();
    device.modelIndex = model;
    device.wired = wired;
    device.linkCode = quint8(linkCode);
    currentDevice = device;
    rgb.ledInfoChoice = quint8(choice);
    dialog.SlotRGBValue(&rgb);
    for (const char *name : {"ReUntil", "ReUntil_2", "ReUntil_3"})
        QCOMPARE(child<QCheckBox>(&dialog, name)->isChecked(), checked == QLatin1String(name));
}

void TestLightDialogs::ledInfoFollowsTheReportThread()
{
    LedInfo dialog;
    DongleRGB rgb;
    std::memset(&rgb, 0, sizeof rgb);
    rgb.ledInfoChoice = 3;
    QThread *thread = QThread::create([&] { emit PostMsg::instance()->SigRGBValue(&rgb); });
    thread->start();
    QTRY_VERIFY(thread->isFinished());
    delete thread;
    QVERIFY(child<QCheckBox>(&dialog, "ReUntil_3")->isChecked());
}

void TestLightDialogs::closeButtons()
{
    QSignalSpy check(PostMsg::instance(), &PostMsg::SigButtonCheck);
    LightModeSet lights;
    lights.show();
    child<QToolButton>(&lights, "CloseButton")->click();
    QVERIFY(!lights.isVisible());
    LedInfo info;
    info.show();
    child<QToolButton>(&info, "CloseButton")->click();
    QVERIFY(!info.isVisible());
    QCOMPARE(check.count(), 2);
}

VELMORAX_TEST_MAIN(TestLightDialogs)
#include "tst_lightdialogs.moc"
