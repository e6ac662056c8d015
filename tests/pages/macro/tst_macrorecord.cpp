// Recording a macro from the keyboard: key messages go through the hook
// chain as the key source would send them, and the event list, the page's
// controls, the event limit and the saved file are checked.

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "pages/macro/macro.h"
#include "pages/macro/macroflags.h"
#include "pages/macro/macrorecorder.h"
#include "pages/macro/macrostore.h"
#include "platform/keyhook/keyhook.h"
#include "support/macrofixture.h"
#include "support/testmain.h"

#include "support/modalhandler.h"
#include "support/pagefixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace keyhook;

namespace {

using namespace macrotest;

// A key message as the key source sends it.
struct Key
{
    WPARAM message;
    DWORD vk;
};
Key down(DWORD vk)
{
    return {WM_KEYDOWN, vk};
}
Key up(DWORD vk)
{
    return {WM_KEYUP, vk};
}
Key sysDown(DWORD vk)
{
    return {WM_SYSKEYDOWN, vk};
}
Key sysUp(DWORD vk)
{
    return {WM_SYSKEYUP, vk};
}

enum : DWORD {
    VK_A = 0x41,
    VK_B = 0x42,
    VK_C = 0x43,
    VK_LSHIFT = 0xA0,
    VK_LCONTROL = 0xA2,
    VK_LMENU = 0xA4,
    VK_CLEAR = 0x0C,
    VK_VOLUME_UP = 0xAF,
};

} // namespace

Q_DECLARE_METATYPE(QVector<Key>)

class MacroRecordTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void recordsKeys_data();
    void recordsKeys();
    void measuredDelays();
    void startAndStopSetThePage();
    void startWithoutMacroOnlyWarns();
    void keysOfOtherWindowsAreNotRecorded();
    void limitHaltsAfterTheCallback_data();
    void limitHaltsAfterTheCallback();
    void leavingTheDevicePageEndsRecording();
    void qtKeysReachTheRecording();
    void savedRecordingHasTheFileFormat();
    void longPauseIsShortened();

private:
    void send(const QVector<Key> &keys, HWND foreground = nullptr);
    void startRecording(int defaultDelay = 50);
    std::unique_ptr<Macro> page;
};

void MacroRecordTest::initTestCase()
{
    useEnglish();
}

void MacroRecordTest::init()
{
    page = showPageWith("m", "3\n0x05 1 0\n10ms\n0x05 1 1\n");
    QVERIFY(page);
}

void MacroRecordTest::cleanup()
{
    page.reset();
    QVERIFY(!macroRecording);
}

void MacroRecordTest::send(const QVector<Key> &keys, HWND foreground)
{
    if (!foreground)
        foreground = toHwnd(page.get());
    for (const Key &k : keys) {
        KeyMessage m;
        m.message = k.message;
        m.info.vkCode = k.vk;
        if (k.message == WM_KEYUP || k.message == WM_SYSKEYUP)
            m.info.flags = LLKHF_UP;
        dispatchKeyMessage(m, foreground);
    }
}

void MacroRecordTest::startRecording(int defaultDelay)
{
    selectMacro(*page, "m");
    if (defaultDelay > 0) {
        child<QCheckBox>(*page, "DefaultDelay")->setChecked(true);
        child<QSpinBox>(*page, "DelayTime")->setValue(defaultDelay);
    }
    QTest::mouseClick(child<QPushButton>(*page, "StartRecord"), Qt::LeftButton);
    QVERIFY(macroRecording);
}

void MacroRecordTest::recordsKeys_data()
{
    QTest::addColumn<QVector<Key>>("keys");
    QTest::addColumn<bool>("stop");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("one tap") << QVector<Key>{down(VK_A), up(VK_A)} << false << QStringList{"+A", "50ms", "-A"};
    QTest::newRow("auto-repeat is one press")
        << QVector<Key>{down(VK_A), down(VK_A), down(VK_A), up(VK_A)} << false << QStringList{"+A", "50ms", "-A"};
    QTest::newRow("shift+A") << QVector<Key>{down(VK_LSHIFT), down(VK_A), up(VK_A), up(VK_LSHIFT)} << false
                             << QStringList{"+LShift", "50ms", "+A", "50ms", "-A", "50ms", "-LShift"};
    QTest::newRow("alt keys come as system keys")
        << QVector<Key>{sysDown(VK_LMENU), sysDown(VK_A), sysUp(VK_A), up(VK_LMENU)} << false
        << QStringList{"+LAlt", "50ms", "+A", "50ms", "-A", "50ms", "-LAlt"};
    // The second press of A comes while B is held: it is a new press, not
    // an auto-repeat.
    QTest::newRow("re-press while another key is held")
        << QVector<Key>{down(VK_A), down(VK_B), up(VK_A), down(VK_A), down(VK_A), up(VK_B), up(VK_A)} << false
        << QStringList{"+A", "50ms", "+B", "50ms", "-A", "50ms", "+A", "50ms", "-B", "50ms", "-A"};
    QTest::newRow("a key without a name leaves its pause")
        << QVector<Key>{down(VK_A), down(VK_UNMAPPED), up(VK_A)} << false << QStringList{"+A", "50ms", "-A"};
    QTest::newRow("ends with an unnamed key")
        << QVector<Key>{down(VK_A), up(VK_A), down(VK_VOLUME_UP)} << false << QStringList{"+A", "50ms", "-A", "50ms"};
    QTest::newRow("keypad 5 without NumLock has the empty name")
        << QVector<Key>{down(VK_CLEAR), up(VK_CLEAR)} << false << QStringList{"+", "50ms", "-"};
    // Stop releases what is still held, the last pressed first.
    QTest::newRow("stop releases held keys") << QVector<Key>{down(VK_LCONTROL), down(VK_C), down(VK_C)} << true
                                             << QStringList{"+LCtrl", "50ms", "+C", "50ms", "-C", "50ms", "-LCtrl"};
    QTest::newRow("a release of a key pressed before the start is kept")
        << QVector<Key>{up(VK_B), down(VK_A), up(VK_A)} << false << QStringList{"-B", "50ms", "+A", "50ms", "-A"};
}

void MacroRecordTest::recordsKeys()
{
    QFETCH(QVector<Key>, keys);
    QFETCH(bool, stop);
    QFETCH(QStringList, expected);
    startRecording();
    send(keys);
    if (stop)
        QTest::mouseClick(child<QPushButton>(*page, "StopRecord"), Qt::LeftButton);
    QCOMPARE(eventTexts(*page), expected);
    if (stop) {
        // Nothing is held any more: new keys after a stop are not recorded.
        send({down(VK_B), up(VK_B)});
        QCOMPARE(eventTexts(*page), expected);
    } else {
        QTest::mouseClick(child<QPushButton>(*page, "StopRecord"), Qt::LeftButton);
    }
}

void MacroRecordTest::measuredDelays()
{
    startRecording(0);
    QVERIFY(child<QCheckBox>(*page, "AutoInsertDelay")->isChecked());
    send({down(VK_A)});
    QTest::qWait(150);
    send({down(VK_A), up(VK_A)}); // the repeat does not restart the pause
    QTest::mouseClick(child<QPushButton>(*page, "StopRecord"), Qt::LeftButton);
    const QStringList items = eventTexts(*page);
    QCOMPARE(items.size(), 3);
    QString pause = items.at(1);
    QVERIFY(pause.endsWith("ms"));
    pause.chop(2);
    QVERIFY2(pause.toInt() >= 140 && pause.toInt() < 2000, qPrintable(items.at(1)));
}

void MacroRecordTest::startAndStopSetThePage()
{
    QSignalSpy started(PostMsg::instance(), &PostMsg::SigStartRecord);
    QToolButton *save = child<QToolButton>(*page, "Save");
    QVERIFY(!save->isEnabled());
    // The boxes' own labels go grey with them.
    const char *locked[] = {"AutoInsertDelay",   "DefaultDelay",   "ReUntilLoose",         "ReUntilClick",
                            "ReUntil",           "ReNumber",       "ChooseEvent",          "DelayTime",
                            "NumberEdit",        "listWidgetHong", "AutoInsertDelayLabel", "ReUntilLooseLabel",
                            "ReUntilClickLabel", "ReUntilLabel"};
    child<QListWidget>(*page, "listWidgetHong")->setCurrentRow(0);
    QTest::mouseClick(child<QPushButton>(*page, "StartRecord"), Qt::LeftButton);

    QVERIFY(macroRecording);
    QCOMPARE(started.count(), 1);
    QCOMPARE(started.at(0).at(0).toInt(), 0);
    QVERIFY(child<QPushButton>(*page, "StartRecord")->isHidden());
    QVERIFY(!child<QPushButton>(*page, "StopRecord")->isHidden());
    for (const char *name : locked)
        QVERIFY2(!child<QWidget>(*page, name)->isEnabled(), name);
    // The macro's events leave the list at once; its file keeps them.
    QCOMPARE(eventTexts(*page), QStringList());
    QVERIFY(page->eventsModified);
    QVERIFY(page->keyboardHook->isInstalled());

    QTest::mouseClick(child<QPushButton>(*page, "StopRecord"), Qt::LeftButton);
    QVERIFY(!macroRecording);
    QCOMPARE(started.count(), 2);
    QCOMPARE(started.at(1).at(0).toInt(), 1);
    QVERIFY(!child<QPushButton>(*page, "StartRecord")->isHidden());
    QVERIFY(child<QPushButton>(*page, "StopRecord")->isHidden());
    for (const char *name : locked)
        QVERIFY2(child<QWidget>(*page, name)->isEnabled(), name);
    QVERIFY(save->isEnabled());
    QVERIFY(!page->keyboardHook->isInstalled());
    QCOMPARE(readMacro("m"), QByteArray("3\n0x05 1 0\n10ms\n0x05 1 1\n"));
}

void MacroRecordTest::startWithoutMacroOnlyWarns()
{
    QSignalSpy started(PostMsg::instance(), &PostMsg::SigStartRecord);
    ModalHandler modal;
    QTest::mouseClick(child<QPushButton>(*page, "StartRecord"), Qt::LeftButton);
    QCOMPARE(modal.seen, QStringList{"ExeIsRun"});
    QVERIFY(!macroRecording);
    QCOMPARE(started.count(), 0);
    QVERIFY(!page->keyboardHook->isInstalled());
    QVERIFY(child<QCheckBox>(*page, "DefaultDelay")->isEnabled());
    QVERIFY(child<QPushButton>(*page, "StopRecord")->isHidden());
}

void MacroRecordTest::keysOfOtherWindowsAreNotRecorded()
{
    startRecording();
    send({down(VK_A)});
    send({up(VK_A), down(VK_B), up(VK_B)}, foreignWindow());
    QCOMPARE(eventTexts(*page), QStringList{"+A"});
    QTest::mouseClick(child<QPushButton>(*page, "StopRecord"), Qt::LeftButton);
    // A key pressed here and released elsewhere is released at the stop.
    QCOMPARE(eventTexts(*page), (QStringList{"+A", "50ms", "-A"}));
}

void MacroRecordTest::limitHaltsAfterTheCallback_data()
{
    QTest::addColumn<bool>("holdShift");
    QTest::newRow("taps") << false;
    QTest::newRow("taps with Shift held") << true;
}

void MacroRecordTest::limitHaltsAfterTheCallback()
{
    QFETCH(bool, holdShift);
    startRecording();
    QSignalSpy started(PostMsg::instance(), &PostMsg::SigStartRecord);
    ModalHandler modal;
    if (holdShift)
        send({down(VK_LSHIFT)});
    int taps = 0;
    while (macroRecording && taps < 100) {
        send({down(VK_A)});
        // The notice never runs inside the key's delivery.
        QCOMPARE(modal.seen, QStringList());
        if (macroRecording)
            send({up(VK_A)});
        ++taps;
    }
    QVERIFY(!macroRecording);
    QCOMPARE(taps, holdShift ? 34 : 35);
    QTRY_COMPARE(modal.seen, QStringList{"KeyNumberLimit"});

    const QStringList items = eventTexts(*page);
    QCOMPARE(items.size(), 139);
    int keys = 0;
    for (const QString &item : items)
        keys += item.endsWith("ms") ? 0 : 1;
    QCOMPARE(keys, MacroStore::recordEventMax);
    // Every press has its release: nothing stays down on the mouse.
    QCOMPARE(items.last(), holdShift ? QString("-LShift") : QString("-A"));
    QCOMPARE(items.count("+A"), items.count("-A"));
    QCOMPARE(items.count("+LShift"), items.count("-LShift"));

    // Halted: keys add nothing, the page keeps its recording layout.
    send({down(VK_B), up(VK_B)});
    QCOMPARE(eventTexts(*page).size(), 139);
    QVERIFY(!page->keyboardHook->isInstalled());
    QVERIFY(!child<QPushButton>(*page, "StopRecord")->isHidden());
    QCOMPARE(started.count(), 0);

    QTest::mouseClick(child<QPushButton>(*page, "StopRecord"), Qt::LeftButton);
    QCOMPARE(started.count(), 1);
    QCOMPARE(eventTexts(*page).size(), 139);
    QVERIFY(child<QToolButton>(*page, "Save")->isEnabled());
    QVERIFY(child<QWidget>(*page, "listWidgetHong")->isEnabled());
}

void MacroRecordTest::leavingTheDevicePageEndsRecording()
{
    startRecording();
    QSignalSpy started(PostMsg::instance(), &PostMsg::SigStartRecord);
    send({down(VK_LSHIFT), down(VK_A)});
    emit PostMsg::instance()->SigSetMacroPage();
    QVERIFY(!macroRecording);
    QVERIFY(!page->keyboardHook->isInstalled());
    QCOMPARE(started.count(), 1);
    QCOMPARE(eventTexts(*page), (QStringList{"+LShift", "50ms", "+A", "50ms", "-A", "50ms", "-LShift"}));
    for (const char *name : {"DefaultDelay", "ReNumber", "ChooseEvent", "listWidgetHong"})
        QVERIFY2(child<QWidget>(*page, name)->isEnabled(), name);
    QVERIFY(child<QToolButton>(*page, "Save")->isEnabled());
    send({down(VK_B), up(VK_B)});
    QCOMPARE(eventTexts(*page).size(), 7);
}

void MacroRecordTest::qtKeysReachTheRecording()
{
    startRecording();
    // Keys as the window system delivers them, to the page's window.
    QWindow *window = page->windowHandle();
    QTest::keyPress(window, Qt::Key_B);
    QTest::keyRelease(window, Qt::Key_B);
    QTest::keyPress(window, Qt::Key_Left);
    QTest::keyRelease(window, Qt::Key_Left);
    QTest::mouseClick(child<QPushButton>(*page, "StopRecord"), Qt::LeftButton);
    QCOMPARE(eventTexts(*page),
             (QStringList{"+B", "50ms", "-B", "50ms", QString::fromUtf8("+←"), "50ms", QString::fromUtf8("-←")}));
}

void MacroRecordTest::savedRecordingHasTheFileFormat()
{
    startRecording(120);
    QSignalSpy updates(PostMsg::instance(), &PostMsg::SigUpDataMacro);
    send({down(VK_A), up(VK_A), down(VK_LSHIFT), up(VK_LSHIFT)});
    QTest::mouseClick(child<QPushButton>(*page, "StopRecord"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>(*page, "Save"), Qt::LeftButton);
    QCOMPARE(readMacro("m"), QByteArray("3\n0x04 1 0\n120ms\n0x04 1 1\n120ms\n0x02 0 0\n120ms\n0x02 0 1\n"));
    QCOMPARE(updates.count(), 1);
    QCOMPARE(updates.at(0), (QVariantList{"m", 0}));
}

// The mouse holds pauses of at most 2097151 ms; a longer one made the whole
// record be refused, so the macro never reached its button.
void MacroRecordTest::longPauseIsShortened()
{
    qint64 sinceLastKey = 0;
    page->recorder().pauseClock = [&sinceLastKey] { return sinceLastKey; };
    startRecording(0);
    ModalHandler modal;
    QStringList notices;
    modal.queue(keepText(&notices));
    send({down(VK_A)});
    sinceLastKey = 40 * 60 * 1000;
    send({up(VK_A)});
    // Not while keys are taken: closing a notice would be recorded.
    QCOMPARE(modal.seen, QStringList());
    QTest::mouseClick(child<QPushButton>(*page, "StopRecord"), Qt::LeftButton);
    QCOMPARE(eventTexts(*page), (QStringList{"+A", "2097151ms", "-A"}));
    QCOMPARE(notices, QStringList{catalogueText("macro", "DialogPauseShortened")});

    pagetest::openSimulatedMouse();
    pagetest::takeSimulatedMouseRecord();
    uiReady = true;
    QTest::mouseClick(child<QToolButton>(*page, "Save"), Qt::LeftButton);
    emit PostMsg::instance()->SigMacroDownLoadData("m", 4);
    const FlashDataMap onMouse = pagetest::mouseFlash();
    uiReady = false;
    pagetest::closeSimulatedMouse();
    QCOMPARE(MacroStore::recordName(onMouse.macros[4]), QString("m"));
    QCOMPARE(quint32(onMouse.macros[4].events[0].delay), MacroStore::pauseMaxMs);
}

VELMORAX_TEST_MAIN(MacroRecordTest)
#include "tst_macrorecord.moc"
