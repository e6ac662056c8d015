// The keyboard capture layer without a keyboard: synthetic key sequences go
// through the key source's translation and the hook chain, and each place's
// hook state decides what its callback sees.

#include "platform/keyhook/keyboardhook.h"
#include "platform/keyhook/keyhook.h"
#include "support/testmain.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest>

using namespace keyhook;
using User = KeyboardHook::User;

Q_DECLARE_METATYPE(QVector<keyhook::KeyInput>)

namespace {

KeyInput key(bool press, quint32 native, int qtKey = 0, bool keypad = false, bool autoRepeat = false)
{
    KeyInput in;
    in.press = press;
    in.nativeScanCode = native;
    in.qtKey = qtKey;
    in.keypad = keypad;
    in.autoRepeat = autoRepeat;
    return in;
}
KeyInput down(quint32 native, int qtKey = 0, bool keypad = false)
{
    return key(true, native, qtKey, keypad);
}
KeyInput up(quint32 native, int qtKey = 0, bool keypad = false)
{
    return key(false, native, qtKey, keypad);
}
// Qt on X11 reports a held key as release/press pairs marked auto-repeat.
KeyInput repeatUp(quint32 native)
{
    return key(false, native, 0, false, true);
}
KeyInput repeatDown(quint32 native)
{
    return key(true, native, 0, false, true);
}

// X11 keycodes used below.
enum : quint32 {
    X_A = 38,
    X_B = 56,
    X_TAB = 23,
    X_LSHIFT = 50,
    X_RSHIFT = 62,
    X_LCTRL = 37,
    X_RCTRL = 105,
    X_LALT = 64,
    X_RALT = 108,
    X_LWIN = 133,
    X_RWIN = 134,
    X_DEL = 119,
    X_F10 = 76,
    X_KP7 = 79,
    X_KP5 = 84,
    X_KPDOT = 91,
    X_KPENTER = 104,
    X_KPSLASH = 106,
    X_KPPLUS = 86,
    X_MUTE = 121,
};

QString describe(const KeyMessage &m)
{
    const char *name = m.message == WM_KEYDOWN      ? "KEYDOWN"
                       : m.message == WM_KEYUP      ? "KEYUP"
                       : m.message == WM_SYSKEYDOWN ? "SYSKEYDOWN"
                       : m.message == WM_SYSKEYUP   ? "SYSKEYUP"
                                                    : "?";
    return QStringLiteral("%1 %2 %3 %4")
        .arg(QLatin1String(name))
        .arg(m.info.vkCode, 2, 16, QLatin1Char('0'))
        .arg(m.info.scanCode, 2, 16, QLatin1Char('0'))
        .arg(m.info.flags, 2, 16, QLatin1Char('0'))
        .toUpper();
}

// Raw hooks for the chain tests: each logs its name and does what its
// behaviour says.
QStringList g_log;
HHOOK g_hookToRemove = nullptr;
LRESULT passOn(const char *name, int nCode, WPARAM w, LPARAM l)
{
    g_log << QLatin1String(name);
    return CallNextHookEx(nullptr, nCode, w, l);
}
LRESULT procA(int n, WPARAM w, LPARAM l)
{
    return passOn("A", n, w, l);
}
LRESULT procB(int n, WPARAM w, LPARAM l)
{
    return passOn("B", n, w, l);
}
LRESULT procSwallow(int, WPARAM, LPARAM)
{
    g_log << QStringLiteral("swallow");
    return 1;
}
LRESULT procRemoving(int n, WPARAM w, LPARAM l)
{
    g_log << QStringLiteral("remove");
    UnhookWindowsHookEx(g_hookToRemove);
    return CallNextHookEx(nullptr, n, w, l);
}

KeyMessage message(WPARAM type, DWORD vk)
{
    KeyMessage m;
    m.message = type;
    m.info.vkCode = vk;
    return m;
}

} // namespace

class TstKeyHook : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void translation_data();
    void translation();
    void translatorForgetsKeysOnReset();

    void chainCallsNewestFirst();
    void chainSurvivesRemovalDuringDelivery();
    void unknownHooksAreRefused();

    void eachUserCountsItsMessages_data();
    void eachUserCountsItsMessages();
    void keysOfOtherProgramsAreNotReported();
    void hookLifecycle();

    void keySourceSeesEachKeyOnce();

private:
    void feed(const QVector<KeyInput> &inputs);
    QStringList m_calls[3];
    KeyTranslator m_translator;
    std::vector<HHOOK> m_rawHooks;
};

void TstKeyHook::init()
{
    for (User u : {User::MacroRecording, User::KeyDialog, User::KeyCombination}) {
        QVERIFY(!KeyboardHook::state(u).hookHandle);
        KeyboardHook::state(u) = {};
    }
    for (auto &c : m_calls)
        c.clear();
    m_translator.reset();
    g_log.clear();
    // The test object lives on the GUI thread: "its window" is in front.
    setForegroundWindowProvider([this] { return toHwnd(this); });
}

void TstKeyHook::cleanup()
{
    for (HHOOK h : m_rawHooks)
        UnhookWindowsHookEx(h);
    m_rawHooks.clear();
    setForegroundWindowProvider({});
}

void TstKeyHook::feed(const QVector<KeyInput> &inputs)
{
    for (const KeyInput &in : inputs)
        if (auto m = m_translator.translate(in))
            dispatchKeyMessage(*m, toHwnd(this));
}

void TstKeyHook::translation_data()
{
    QTest::addColumn<QVector<KeyInput>>("inputs");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("tap") << QVector<KeyInput>{down(X_A, Qt::Key_A), up(X_A, Qt::Key_A)}
                         << QStringList{"KEYDOWN 41 1E 00", "KEYUP 41 1E 80"};
    QTest::newRow("auto-repeat") << QVector<KeyInput>{down(X_A),     repeatUp(X_A),   repeatDown(X_A),
                                                      repeatUp(X_A), repeatDown(X_A), up(X_A)}
                                 << QStringList{"KEYDOWN 41 1E 00", "KEYDOWN 41 1E 00", "KEYDOWN 41 1E 00",
                                                "KEYUP 41 1E 80"};
    QTest::newRow("modifier sides") << QVector<KeyInput>{down(X_LSHIFT), down(X_RSHIFT), up(X_RSHIFT), up(X_LSHIFT),
                                                         down(X_RCTRL),  up(X_RCTRL),    down(X_LWIN), up(X_LWIN),
                                                         down(X_RWIN),   up(X_RWIN)}
                                    << QStringList{"KEYDOWN A0 2A 00", "KEYDOWN A1 36 00", "KEYUP A1 36 80",
                                                   "KEYUP A0 2A 80",   "KEYDOWN A3 1D 01", "KEYUP A3 1D 81",
                                                   "KEYDOWN 5B 5B 01", "KEYUP 5B 5B 81",   "KEYDOWN 5C 5C 01",
                                                   "KEYUP 5C 5C 81"};
    QTest::newRow("right alt is a system key")
        << QVector<KeyInput>{down(X_RALT), up(X_RALT)} << QStringList{"SYSKEYDOWN A5 38 21", "SYSKEYUP A5 38 81"};
    QTest::newRow("key with alt held") << QVector<KeyInput>{down(X_LALT), down(X_A), up(X_A), up(X_LALT)}
                                       << QStringList{"SYSKEYDOWN A4 38 20", "SYSKEYDOWN 41 1E 20", "SYSKEYUP 41 1E A0",
                                                      "SYSKEYUP A4 38 80"};
    QTest::newRow("alt released first") << QVector<KeyInput>{down(X_LALT), down(X_A), up(X_LALT), up(X_A)}
                                        << QStringList{"SYSKEYDOWN A4 38 20", "SYSKEYDOWN 41 1E 20",
                                                       "SYSKEYUP A4 38 80", "KEYUP 41 1E 80"};
    QTest::newRow("ctrl+alt+del is no system key")
        << QVector<KeyInput>{down(X_LCTRL), down(X_LALT), down(X_DEL), up(X_DEL), up(X_LALT), up(X_LCTRL)}
        << QStringList{"KEYDOWN A2 1D 00", "KEYDOWN A4 38 20", "KEYDOWN 2E 53 21",
                       "KEYUP 2E 53 A1",   "KEYUP A4 38 80",   "KEYUP A2 1D 80"};
    QTest::newRow("F10") << QVector<KeyInput>{down(X_F10), up(X_F10)}
                         << QStringList{"SYSKEYDOWN 79 44 00", "SYSKEYUP 79 44 80"};
    QTest::newRow("keypad with NumLock") << QVector<KeyInput>{down(X_KP7, Qt::Key_7, true), up(X_KP7, Qt::Key_7, true),
                                                              down(X_KPDOT, Qt::Key_Period, true)}
                                         << QStringList{"KEYDOWN 67 47 00", "KEYUP 67 47 80", "KEYDOWN 6E 53 00"};
    QTest::newRow("keypad without NumLock")
        << QVector<KeyInput>{down(X_KP7, Qt::Key_Home, true), down(X_KP5, Qt::Key_Clear, true),
                             down(X_KPDOT, Qt::Key_Delete, true)}
        << QStringList{"KEYDOWN 24 47 00", "KEYDOWN 0C 4C 00", "KEYDOWN 2E 53 00"};
    QTest::newRow("keypad keys NumLock does not change")
        << QVector<KeyInput>{down(X_KPENTER, Qt::Key_Enter, true), down(X_KPSLASH, Qt::Key_Slash, true),
                             down(X_KPPLUS, Qt::Key_Plus, true)}
        << QStringList{"KEYDOWN 0D 1C 01", "KEYDOWN 6F 35 01", "KEYDOWN 6B 4E 00"};
    QTest::newRow("no native scan code") << QVector<KeyInput>{down(0, Qt::Key_A), down(0, Qt::Key_7, true),
                                                              down(0, Qt::Key_Home, true), down(0, Qt::Key_Home),
                                                              down(0, Qt::Key_Control)}
                                         << QStringList{"KEYDOWN 41 1E 00", "KEYDOWN 67 47 00", "KEYDOWN 24 47 00",
                                                        "KEYDOWN 24 47 01", "KEYDOWN A2 1D 00"};
    QTest::newRow("media and unknown keys")
        << QVector<KeyInput>{down(X_MUTE, Qt::Key_VolumeMute), down(250), down(0, Qt::Key_F20), up(250)}
        << QStringList{"KEYDOWN AD 00 00", "KEYDOWN FF 00 00", "KEYDOWN FF 00 00", "KEYUP FF 00 80"};
    QTest::newRow("release of a key held before") << QVector<KeyInput>{up(X_A)} << QStringList{"KEYUP 41 1E 80"};
}

void TstKeyHook::translation()
{
    QFETCH(QVector<KeyInput>, inputs);
    QFETCH(QStringList, messages);
    QStringList got;
    for (const KeyInput &in : inputs)
        if (auto m = m_translator.translate(in))
            got << describe(*m);
    QCOMPARE(got, messages);
}

void TstKeyHook::translatorForgetsKeysOnReset()
{
    KeyTranslator t;
    t.translate(down(X_LALT));
    QVERIFY(t.isHeld(0xA4));
    t.reset();
    QVERIFY(!t.isHeld(0xA4));
    QCOMPARE(describe(*t.translate(down(X_A))), QStringLiteral("KEYDOWN 41 1E 00"));
}

void TstKeyHook::chainCallsNewestFirst()
{
    m_rawHooks.push_back(SetWindowsHookExW(WH_KEYBOARD_LL, procA, GetModuleHandleW(nullptr), 0));
    m_rawHooks.push_back(SetWindowsHookExW(WH_KEYBOARD_LL, procB, GetModuleHandleW(nullptr), 0));
    QCOMPARE(dispatchKeyMessage(message(WM_KEYDOWN, 0x41), toHwnd(this)), LRESULT(0));
    QCOMPARE(g_log, (QStringList{"B", "A"}));

    // A hook that does not pass the message on swallows it.
    g_log.clear();
    m_rawHooks.push_back(SetWindowsHookExW(WH_KEYBOARD_LL, procSwallow, nullptr, 0));
    QCOMPARE(dispatchKeyMessage(message(WM_KEYDOWN, 0x41), toHwnd(this)), LRESULT(1));
    QCOMPARE(g_log, QStringList{"swallow"});

    // Outside a delivery there is no next hook.
    QCOMPARE(CallNextHookEx(nullptr, HC_ACTION, WM_KEYDOWN, 0), LRESULT(0));
}

void TstKeyHook::chainSurvivesRemovalDuringDelivery()
{
    const HHOOK a = SetWindowsHookExW(WH_KEYBOARD_LL, procA, nullptr, 0);
    const HHOOK b = SetWindowsHookExW(WH_KEYBOARD_LL, procB, nullptr, 0);
    m_rawHooks = {a, b, SetWindowsHookExW(WH_KEYBOARD_LL, procRemoving, nullptr, 0)};
    // The newest hook removes the next one while the message is on its way:
    // the removed hook is skipped, the one after it still gets the message.
    g_hookToRemove = b;
    dispatchKeyMessage(message(WM_KEYDOWN, 0x41), toHwnd(this));
    QCOMPARE(g_log, (QStringList{"remove", "A"}));
    QVERIFY(!UnhookWindowsHookEx(b));

    // A hook that removes itself still passes the message on.
    g_log.clear();
    g_hookToRemove = m_rawHooks.back();
    dispatchKeyMessage(message(WM_KEYDOWN, 0x41), toHwnd(this));
    QCOMPARE(g_log, (QStringList{"remove", "A"}));
    g_log.clear();
    dispatchKeyMessage(message(WM_KEYDOWN, 0x41), toHwnd(this));
    QCOMPARE(g_log, QStringList{"A"});
}

void TstKeyHook::unknownHooksAreRefused()
{
    QVERIFY(!SetWindowsHookExW(2 /* WH_KEYBOARD */, procA, nullptr, 0));
    QVERIFY(!SetWindowsHookExW(WH_KEYBOARD_LL, nullptr, nullptr, 0));
    QVERIFY(!UnhookWindowsHookEx(nullptr));
    const HHOOK h = SetWindowsHookExW(WH_KEYBOARD_LL, procA, nullptr, 0);
    QVERIFY(UnhookWindowsHookEx(h));
    QVERIFY(!UnhookWindowsHookEx(h));
    QCOMPARE(dispatchKeyMessage(message(WM_KEYDOWN, 0x41), toHwnd(this)), LRESULT(0));
    QVERIFY(g_log.isEmpty());
}

// What each place's callback sees for one key sequence, as
// "<vk><+ pressed|- not pressed>[r repeat]".
void TstKeyHook::eachUserCountsItsMessages_data()
{
    QTest::addColumn<QVector<KeyInput>>("inputs");
    QTest::addColumn<QString>("recording"); // the key dialog sees the same
    QTest::addColumn<QString>("combination");

    QTest::newRow("tap") << QVector<KeyInput>{down(X_A), up(X_A)} << "41+ 41-"
                         << "41+ 41-";
    QTest::newRow("held key") << QVector<KeyInput>{down(X_A),     repeatUp(X_A),   repeatDown(X_A),
                                                   repeatUp(X_A), repeatDown(X_A), up(X_A)}
                              << "41+ 41+r 41+r 41-"
                              << "41+ 41+r 41+r 41-";
    QTest::newRow("alt+tab") << QVector<KeyInput>{down(X_LALT), down(X_TAB), up(X_TAB), up(X_LALT)}
                             << "A4+ 09+ 09-r A4-"
                             << "A4- 09- 09-r A4-";
    QTest::newRow("F10 after all keys were released")
        << QVector<KeyInput>{down(X_F10), up(X_F10), down(X_B), up(X_B)} << "79+ 79-r 42+ 42-"
        << "79- 79-r 42+ 42-";
    QTest::newRow("ctrl+alt+del") << QVector<KeyInput>{down(X_LCTRL), down(X_LALT), down(X_DEL),
                                                       up(X_DEL),     up(X_LALT),   up(X_LCTRL)}
                                  << "A2+ A4+ 2E+ 2E- A4- A2-"
                                  << "A2+ A4+ 2E+ 2E- A4- A2-";
    QTest::newRow("shift held, keypad without NumLock")
        << QVector<KeyInput>{down(X_LSHIFT), down(X_KP7, Qt::Key_Home, true), up(X_KP7, Qt::Key_Home, true),
                             up(X_LSHIFT)}
        << "A0+ 24+ 24- A0-"
        << "A0+ 24+ 24- A0-";
}

void TstKeyHook::eachUserCountsItsMessages()
{
    QFETCH(QVector<KeyInput>, inputs);
    QFETCH(QString, recording);
    QFETCH(QString, combination);

    KeyboardHook hooks[3] = {KeyboardHook(User::MacroRecording), KeyboardHook(User::KeyDialog),
                             KeyboardHook(User::KeyCombination)};
    for (int i = 0; i < 3; ++i) {
        hooks[i].install();
        hooks[i].setCallback([this, i](int vk, bool down, bool repeat) {
            m_calls[i] << QStringLiteral("%1%2%3")
                              .arg(vk, 2, 16, QLatin1Char('0'))
                              .toUpper()
                              .arg(down ? '+' : '-')
                              .arg(repeat ? "r" : "");
        });
    }
    feed(inputs);
    QCOMPARE(m_calls[0].join(' '), recording);
    QCOMPARE(m_calls[1].join(' '), recording);
    QCOMPARE(m_calls[2].join(' '), combination);
}

void TstKeyHook::keysOfOtherProgramsAreNotReported()
{
    KeyboardHook hook(User::MacroRecording);
    hook.install();
    hook.setCallback([this](int vk, bool, bool) { m_calls[0] << QString::number(vk, 16); });
    // An older hook still gets every message: the foreground test only keeps
    // the place's own callback quiet.
    m_rawHooks.push_back(SetWindowsHookExW(WH_KEYBOARD_LL, procA, nullptr, 0));
    hook.remove();
    hook.install();

    setForegroundWindowProvider([] { return foreignWindow(); });
    feed({down(X_A), up(X_A)});
    setForegroundWindowProvider([] { return HWND(nullptr); });
    feed({down(X_B), up(X_B)});
    QVERIFY(m_calls[0].isEmpty());
    QCOMPARE(g_log.size(), 4);
    QVERIFY(!KeyboardHook::state(User::MacroRecording).pressedFlag);

    setForegroundWindowProvider([this] { return toHwnd(this); });
    feed({down(X_A)});
    QCOMPARE(m_calls[0], QStringList{"41"});
}

void TstKeyHook::hookLifecycle()
{
    int calls = 0;
    {
        KeyboardHook hook(User::KeyDialog);
        hook.setCallback([&calls](int, bool, bool) { ++calls; });
        hook.install();
        hook.install(); // still one hook: one call per key
        feed({down(X_A)});
        QCOMPARE(calls, 1);

        hook.remove();
        hook.remove();
        QVERIFY(!hook.isInstalled());
        feed({up(X_A)});
        QCOMPARE(calls, 1);

        // The binding is kept over a removal.
        hook.install();
        feed({down(X_B)});
        QCOMPARE(calls, 2);

        // Another object of the same place that did not install the hook
        // leaves it in place when it goes.
        {
            KeyboardHook other(User::KeyDialog);
        }
        QVERIFY(hook.isInstalled());
    }
    // The installing object's end removes the hook: a closed dialog is never
    // called.
    QVERIFY(!KeyboardHook::state(User::KeyDialog).hookHandle);
    feed({up(X_B)});
    QCOMPARE(calls, 2);
    // The place's state outlives the object.
    QCOMPARE(KeyboardHook::state(User::KeyDialog).lastVirtualKey, DWORD(0x42));
}

void TstKeyHook::keySourceSeesEachKeyOnce()
{
    setForegroundWindowProvider({});
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new QLineEdit(&window);
    layout->addWidget(edit);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    edit->setFocus();

    KeyboardHook hook(User::KeyDialog);
    hook.install();
    hook.setCallback([this](int vk, bool down, bool) {
        m_calls[0] << QStringLiteral("%1%2").arg(vk, 2, 16, QLatin1Char('0')).arg(down ? '+' : '-');
    });

    // A key goes through the window and on to the line edit and its parents;
    // the hook hears it once, and the line edit still gets it.
    QTest::keyClick(window.windowHandle(), Qt::Key_A);
    QCOMPARE(m_calls[0], (QStringList{"41+", "41-"}));
    QCOMPARE(edit->text(), QStringLiteral("a"));

    // With a native scan code the physical key counts: keypad 7, NumLock off.
    m_calls[0].clear();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Home, Qt::KeypadModifier, X_KP7, 0, 0);
    QCoreApplication::sendEvent(window.windowHandle(), &press);
    QCOMPARE(m_calls[0], QStringList{"24+"});

    // A hook that swallows the key keeps it from the line edit.
    m_rawHooks.push_back(SetWindowsHookExW(WH_KEYBOARD_LL, procSwallow, nullptr, 0));
    m_calls[0].clear();
    QTest::keyClick(window.windowHandle(), Qt::Key_B);
    QCOMPARE(edit->text(), QStringLiteral("a"));
    QVERIFY(m_calls[0].isEmpty());
}

VELMORAX_TEST_MAIN(TstKeyHook)
#include "tst_keyhook.moc"
