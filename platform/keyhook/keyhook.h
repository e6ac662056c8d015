#pragma once

// The low-level keyboard hook, built on Qt's key events.
//
// Code that captures keys (macro recording, the key dialog, the key
// combination dialog) is written against the hook interface it would use on
// Windows: install a procedure with SetWindowsHookExW(WH_KEYBOARD_LL, ...),
// receive every key message with a KBDLLHOOKSTRUCT, pass it on with
// CallNextHookEx, remove it with UnhookWindowsHookEx. This header provides
// that interface under the same names (in namespace keyhook), so the capture
// code reads as the hook code it stands for.
//
// Where the messages come from: one key source, installed on the
// application object as an event filter when the first hook is installed,
// sees every key press and release that reaches a window of the program and
// turns it into the message a low-level hook would get:
//  - the key is found by its physical position (the native scan code, an
//    X11 keycode), falling back to the Qt key when there is none, in the one
//    key table (platform/keys/keytable.h); a key the table lacks reports virtual
//    key 0xFF, as keys without a virtual key do;
//  - keypad keys follow NumLock (the keypad 7 is 0x67 with NumLock on and
//    Home, 0x24, with it off; the keypad 5 without NumLock is 0x0C);
//  - modifiers keep their side (0xA0/0xA1 Shift, 0xA2/0xA3 Ctrl, 0xA4/0xA5
//    Alt, 0x5B/0x5C Win); the side-less 0x10..0x12 never occur;
//  - a key pressed while Alt is held (Alt itself included), and F10, come as
//    WM_SYSKEYDOWN / WM_SYSKEYUP unless Ctrl is held too; everything else as
//    WM_KEYDOWN / WM_KEYUP;
//  - auto-repeat gives repeated key-down messages and one key-up at the end;
//  - flags carry LLKHF_EXTENDED, LLKHF_ALTDOWN and LLKHF_UP; scanCode is the
//    set-1 scan code; time is the event's time in milliseconds.
// Keys only reach the program while one of its windows is in front, so a
// procedure's foreground test passes for every message the source sends.
// Like a hook, the source does not consume keys: every key still reaches
// the focused widget, unless a procedure returns non-zero without passing
// the message on, which swallows it.
// Limits of the stand-in: a key press taken by a Qt shortcut or an input
// method before delivery is not seen; keys held when the program loses the
// active window are forgotten (their releases happen elsewhere).
//
// Everything runs on the GUI thread; procedures are called from inside the
// event delivery of Qt's event loop (also the nested loops of modal
// dialogs), exactly where the hook would run them.

#include <QtGlobal>

#include <functional>
#include <optional>

class QObject;
class QWindow;

namespace keyhook {

using DWORD = quint32;
using WPARAM = quintptr;
using LPARAM = qintptr;
using LRESULT = qintptr;
struct HookEntry;
using HHOOK = HookEntry *;
struct Module;
using HINSTANCE = Module *;
struct Window;
using HWND = Window *;
using HOOKPROC = LRESULT (*)(int nCode, WPARAM wParam, LPARAM lParam);

constexpr int WH_KEYBOARD_LL = 13;
constexpr int HC_ACTION = 0;

constexpr WPARAM WM_KEYDOWN = 0x0100;
constexpr WPARAM WM_KEYUP = 0x0101;
constexpr WPARAM WM_SYSKEYDOWN = 0x0104;
constexpr WPARAM WM_SYSKEYUP = 0x0105;

constexpr DWORD LLKHF_EXTENDED = 0x01;
constexpr DWORD LLKHF_INJECTED = 0x10;
constexpr DWORD LLKHF_ALTDOWN = 0x20;
constexpr DWORD LLKHF_UP = 0x80;

// Virtual keys the capture code names.
constexpr DWORD VK_F10 = 0x79;
constexpr DWORD VK_UNMAPPED = 0xFF;

// lParam of a WH_KEYBOARD_LL procedure points at one of these.
struct KBDLLHOOKSTRUCT
{
    DWORD vkCode = 0;
    DWORD scanCode = 0;
    DWORD flags = 0;
    DWORD time = 0;
    quintptr dwExtraInfo = 0;
};

// Installs lpfn in front of the hooks already installed and returns its
// handle. Only WH_KEYBOARD_LL is known; any other id, or no procedure, gives
// a null handle. hmod and dwThreadId are accepted and ignored.
HHOOK SetWindowsHookExW(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD dwThreadId);
// Removes a hook; false for a null or unknown handle (removing twice is
// harmless). A hook may be removed from inside any procedure.
bool UnhookWindowsHookEx(HHOOK hhk);
// Passes the message to the next hook of the message being delivered (hhk
// is not looked at, as on Windows) and returns its result; 0 at the end of
// the chain, which lets the key through.
LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam);
HINSTANCE GetModuleHandleW(const wchar_t *moduleName);

// The window in front: while a key message is delivered, the window the key
// went to; otherwise the program's focused window; null when the program has
// none. Tests may replace it (setForegroundWindowProvider).
HWND GetForegroundWindow();
// The id of the thread that owns a window; 0 for a null window; for a window
// of another program an id that is never one of ours.
DWORD GetWindowThreadProcessId(HWND hwnd, DWORD *processId);
DWORD GetCurrentThreadId();

// --- ties to Qt -------------------------------------------------------------
HWND toHwnd(QObject *window);
// A window of another program, for tests of the foreground test.
HWND foreignWindow();
// Replaces GetForegroundWindow's answer; an empty function restores it.
void setForegroundWindowProvider(std::function<HWND()> provider);

// --- the key source ---------------------------------------------------------
// One key as Qt reports it, before translation.
struct KeyInput
{
    bool press = true;
    bool autoRepeat = false;
    quint32 nativeScanCode = 0; // X11 keycode; 0 when the platform gives none
    int qtKey = 0;              // Qt::Key
    bool keypad = false;        // Qt::KeypadModifier
    quint32 time = 0;           // milliseconds
};

struct KeyMessage
{
    WPARAM message = 0; // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP
    KBDLLHOOKSTRUCT info;
};

// Turns Qt's key presses and releases into hook messages. It keeps the set
// of keys held down, which decides the system-key messages and the Alt flag.
class KeyTranslator
{
public:
    // The message for one key; none for the release half of an auto-repeat
    // (Qt reports a held key as release/press pairs on some platforms).
    std::optional<KeyMessage> translate(const KeyInput &input);
    // Forgets every held key (the program lost the active window).
    void reset();
    bool isHeld(DWORD vk) const;

private:
    bool altHeld() const;
    bool ctrlHeld() const;
    quint8 m_held[256 / 8] = {};
};

// Hands one message to the installed hooks, newest first, as the system
// would with foreground as the window in front; returns the first hook's
// result (non-zero: the key is swallowed). With no hook installed it
// returns 0 at once.
LRESULT dispatchKeyMessage(const KeyMessage &message, HWND foreground);

// Installs the key source on the application object (done by the first
// SetWindowsHookExW); it stays for the life of the application.
void ensureKeySource();

} // namespace keyhook
