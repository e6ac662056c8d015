// Recording a macro from real X key events: the test runs the program's
// widgets on the xcb platform of a private X server and presses keys with
// xdotool, so the keys travel the whole way (X server, Qt's xcb input, the
// key source, the hook chain, the recording) before the macro is saved and
// sent to a button of the simulated mouse. Without Xvfb or xdotool the test
// skips.

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"
#include "device/setters.h"
#include "pages/macro/macro.h"
#include "pages/macro/macroflags.h"
#include "pages/macro/macrostore.h"
#include "platform/hidusb/simcontrol.h"
#include "support/macrofixture.h"
#include "support/pagefixture.h"
#include "support/testmain.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolButton>
#include <QtTest>

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <memory>

namespace {

using namespace macrotest;

// A private X server for the life of the test program. It has to run before
// the application object exists, which picks its platform when it is made:
// with a server, the program runs on xcb against it; without one it stays on
// the offscreen platform and the test functions skip.
class XvfbServer
{
public:
    XvfbServer()
    {
        const QByteArray xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb")).toLocal8Bit();
        xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (xvfb.isEmpty() || xdotool.isEmpty()) {
            missing = QStringLiteral("Xvfb or xdotool is not installed");
            return;
        }
        int fds[2];
        if (pipe(fds) != 0) {
            missing = QStringLiteral("no pipe for the X server's display number");
            return;
        }
        const QByteArray fdText = QByteArray::number(fds[1]);
        m_pid = fork();
        if (m_pid == 0) {
            // The server must not outlive a test that crashes.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(fds[0]);
            const char *argv[] = {
                xvfb.constData(), "-displayfd", fdText.constData(), "-screen",  "0",     "1280x1024x24",
                "-nolisten",      "tcp",        "-noreset",         "-ardelay", "30000", nullptr};
            execv(argv[0], const_cast<char **>(argv));
            _exit(127);
        }
        close(fds[1]);
        if (m_pid < 0) {
            close(fds[0]);
            missing = QStringLiteral("the X server could not be started");
            return;
        }
        // The server writes its display number once it accepts connections.
        QByteArray number;
        pollfd p{fds[0], POLLIN, 0};
        while (poll(&p, 1, 10000) > 0) {
            char c = 0;
            if (read(fds[0], &c, 1) != 1 || c == '\n')
                break;
            number += c;
        }
        close(fds[0]);
        if (number.isEmpty()) {
            missing = QStringLiteral("the X server did not start within 10 s");
            stop();
            return;
        }
        display = ":" + QString::fromLatin1(number);
        qputenv("DISPLAY", display.toLatin1());
        qputenv("QT_QPA_PLATFORM", "xcb");
        qunsetenv("XAUTHORITY");
    }
    ~XvfbServer() { stop(); }

    void stop()
    {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

    static inline QString missing;
    static inline QString display;
    static inline QString xdotool;

private:
    pid_t m_pid = -1;
};

class XvfbApplication : private XvfbServer, public QApplication
{
public:
    XvfbApplication(int &argc, char **argv) : XvfbServer(), QApplication(argc, argv) {}
};

// The event list as "+A" (press), "-A" (release) and "50ms" (pause).
QStringList listed(QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem *item = list->item(i);
        const MacroEvent e = Macro::eventOf(item);
        if (e.isDelay())
            out << item->text();
        else
            out << (e.type == MacroEvent::Press ? "+" : "-") + item->text();
    }
    return out;
}

} // namespace

class MacroXRecordTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void realKeysAreRecordedSavedAndSent();
    void measuredDelaysFollowTheKeys();

private:
    // Runs xdotool with `args` against the X server; the event loop keeps
    // running meanwhile, so each key reaches the page as it is pressed.
    bool xdotool(const QStringList &args);
    void startRecording();
    void stopRecording();

    std::unique_ptr<Macro> page;
};

void MacroXRecordTest::initTestCase()
{
    if (!XvfbServer::missing.isEmpty())
        QSKIP(qPrintable(XvfbServer::missing));
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    loadTextCatalogue();
    languageIndex = 0;
}

void MacroXRecordTest::init()
{
    QVERIFY(emptyFolder());
    writeMacro("keys", "");
    page = std::make_unique<Macro>(nullptr);
    page->show();
    page->activateWindow();
    // Keys from the X server go to the window that has the input focus.
    QVERIFY(QTest::qWaitForWindowActive(page.get(), 10000));
}

void MacroXRecordTest::cleanup()
{
    page.reset();
    uiReady = false;
    UsbServer_Exit();
}

bool MacroXRecordTest::xdotool(const QStringList &args)
{
    QProcess process;
    process.setProgram(XvfbServer::xdotool);
    process.setArguments(args);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), XvfbServer::display);
    process.setProcessEnvironment(env);
    process.start();
    if (!process.waitForStarted(5000))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning && clock.elapsed() < 15000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        process.waitForFinished(5);
    }
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    // The last key may still be on its way from the server.
    QTest::qWait(50);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void MacroXRecordTest::startRecording()
{
    QListWidget *macros = child<QListWidget>(*page, "listWidgetHong");
    QTest::mouseClick(macros->viewport(), Qt::LeftButton, {}, macros->visualItemRect(macros->item(0)).center());
    QCOMPARE(macros->currentItem()->text(), QString("keys"));
    QTest::mouseClick(child<QPushButton>(*page, "StartRecord"), Qt::LeftButton);
    QVERIFY(macroRecording);
}

void MacroXRecordTest::stopRecording()
{
    QTest::mouseClick(child<QPushButton>(*page, "StopRecord"), Qt::LeftButton);
    QVERIFY(!macroRecording);
}

void MacroXRecordTest::realKeysAreRecordedSavedAndSent()
{
    // The mouse with button 4 bound to the macro, read in this attach.
    pagetest::openSimulatedMouse();
    pagetest::takeSimulatedMouseRecord();
    QVERIFY(setButtonFunction(4, 6, 0, 2));
    uiReady = true;

    child<QCheckBox>(*page, "DefaultDelay")->setChecked(true);
    child<QSpinBox>(*page, "DelayTime")->setValue(77);
    startRecording();
    if (QTest::currentTestFailed())
        return;
    // Shift+A, a tap of B, then Ctrl+Left (a key found by its position, not
    // by a character).
    QVERIFY(xdotool({"keydown", "Shift_L", "keydown", "a", "keyup", "a", "keyup", "Shift_L"}));
    QVERIFY(xdotool({"key", "b", "keydown", "Control_L", "keydown", "Left", "keyup", "Left", "keyup", "Control_L"}));
    QListWidget *list = child<QListWidget>(*page, "listWidgetKey");
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 19, 5000);
    stopRecording();
    const QString left = QString::fromUtf8("←");
    QCOMPARE(listed(list),
             (QStringList{"+LShift", "77ms", "+A", "77ms", "-A", "77ms", "-LShift", "77ms", "+B", "77ms", "-B", "77ms",
                          "+LCtrl", "77ms", "+" + left, "77ms", "-" + left, "77ms", "-LCtrl"}));

    QTest::mouseClick(child<QToolButton>(*page, "Save"), Qt::LeftButton);
    QCOMPARE(readMacro("keys"), QByteArray("1\n"
                                           "0x02 0 0\n77ms\n0x04 1 0\n77ms\n0x04 1 1\n77ms\n0x02 0 1\n77ms\n"
                                           "0x05 1 0\n77ms\n0x05 1 1\n77ms\n"
                                           "0x01 0 0\n77ms\n0x50 1 0\n77ms\n0x50 1 1\n77ms\n0x01 0 1\n"));

    // The button page asks for the saved macro for its bound button.
    emit PostMsg::instance()->SigMacroDownLoadData(QStringLiteral("keys"), 4);
    QVERIFY(hidusb::sim::waitIdle());
    FlashDataMap onMouse;
    QVERIFY(hidusb::sim::flashRecord(QStringLiteral("mouse"), &onMouse));
    const MacroRecord &m = onMouse.macros[4];
    QCOMPARE(MacroStore::recordName(m), QString("keys"));
    QCOMPARE(int(m.eventCount), 10);
    const int expected[10][3] = {{0, 0, 0x02}, {0, 1, 0x04}, {1, 1, 0x04}, {1, 0, 0x02}, {0, 1, 0x05},
                                 {1, 1, 0x05}, {0, 0, 0x01}, {0, 1, 0x50}, {1, 1, 0x50}, {1, 0, 0x01}};
    for (int s = 0; s < 10; ++s) {
        const KeyEvent &e = m.events[s];
        QCOMPARE((QVector<int>{e.action, e.kind, e.code}),
                 (QVector<int>{expected[s][0], expected[s][1], expected[s][2]}));
        QCOMPARE(int(e.delay), s == 9 ? 0 : 77);
    }
}

void MacroXRecordTest::measuredDelaysFollowTheKeys()
{
    QVERIFY(child<QCheckBox>(*page, "AutoInsertDelay")->isChecked());
    startRecording();
    if (QTest::currentTestFailed())
        return;
    // A held key makes one press, and the pause before its release covers
    // the whole hold. (The server repeats no keys here: Qt tells a repeat
    // from a release by the press queued behind it, which a loaded machine
    // may not have delivered yet.)
    QVERIFY(xdotool({"keydown", "c", "sleep", "0.9", "keyup", "c", "sleep", "0.2", "key", "d"}));
    QListWidget *list = child<QListWidget>(*page, "listWidgetKey");
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 7, 5000);
    stopRecording();
    const QStringList items = listed(list);
    QCOMPARE(items.at(0), QString("+C"));
    QCOMPARE(items.at(2), QString("-C"));
    QCOMPARE(items.at(4), QString("+D"));
    QCOMPARE(items.at(6), QString("-D"));
    const QVector<MacroEvent> events = page->events();
    const quint32 hold = events.at(1).delayMs;
    const quint32 gap = events.at(3).delayMs;
    QVERIFY2(hold >= 850 && hold < 3000, qPrintable(items.at(1)));
    QVERIFY2(gap >= 150 && gap < 3000, qPrintable(items.at(3)));

    QTest::mouseClick(child<QToolButton>(*page, "Save"), Qt::LeftButton);
    const QByteArray saved = readMacro("keys");
    QVERIFY2(saved.startsWith("1\n0x06 1 0\n" + QByteArray::number(hold) + "ms\n0x06 1 1\n" + QByteArray::number(gap)
                              + "ms\n0x07 1 0\n"),
             saved.constData());
}

VELMORAX_TEST_MAIN_WITH(XvfbApplication, MacroXRecordTest)
#include "tst_macroxrecord.moc"
