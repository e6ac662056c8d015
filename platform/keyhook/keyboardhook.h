#pragma once

// The keyboard hook of one capturing place.
//
// Three places capture keys, each with a hook of its own and its own state
// that lives for the whole process (a new dialog finds what the last one of
// its kind left): the macro recording, the key dialog of the macro editor
// and the key-combination capture of the button page. A place makes one
// KeyboardHook, installs it while it captures, binds its callback and
// removes it when done:
//
//     KeyboardHook hook(KeyboardHook::User::KeyDialog);
//     hook.install();
//     hook.setCallback([this](int vk, bool down, bool repeat) { ... });
//     ...
//     hook.remove();   // also done by the destructor
//
// For every key message while a window of the program is in front, the
// procedure updates the place's state and calls the callback with the
// virtual-key code (the key table's virtual keys: side-specific modifiers,
// keypad keys following NumLock), the pressed flag and the repeat flag:
//  - repeat: the message's key is the one of the message before; a key-up
//    (WM_KEYUP) forgets the last key, a system key-up does not;
//  - pressed, for the recording and the key dialog: set by WM_KEYDOWN and
//    WM_SYSKEYDOWN, cleared by WM_KEYUP and WM_SYSKEYUP;
//  - pressed, for the combination capture: set only by WM_KEYDOWN and
//    cleared only by WM_KEYUP, so keys pressed with Alt held, and F10, do
//    not count as presses there.
// No key is swallowed: every message goes on to the next hook and to the
// focused widget. Everything runs on the GUI thread, inside Qt's event
// delivery; a callback must not run a nested event loop (open a modal
// dialog later, from a queued call).

#include "platform/keyhook/keyhook.h"

#include <functional>

class KeyboardHook
{
public:
    enum class User { MacroRecording, KeyDialog, KeyCombination };
    // (virtual-key code, pressed flag, repeat flag)
    using Callback = std::function<void(int keyCode, bool downOrUp, bool aotu)>;

    // The process-wide state of one place, all zero at program start.
    struct State
    {
        keyhook::HHOOK hookHandle = nullptr;
        keyhook::DWORD lastVirtualKey = 0;
        bool repeatFlag = false;
        bool pressedFlag = false;
        Callback hookCallback;
        const KeyboardHook *owner = nullptr; // the object that installed the hook
    };

    explicit KeyboardHook(User user);
    // Removes the hook when this object installed it, so a closed dialog is
    // never called.
    ~KeyboardHook();
    KeyboardHook(const KeyboardHook &) = delete;
    KeyboardHook &operator=(const KeyboardHook &) = delete;

    // Installs the place's hook; when it is installed already, nothing
    // happens (one hook per place, never two calls per key).
    void install();
    // Removes the hook when one is installed; any number of calls.
    void remove();
    bool isInstalled() const;
    // Binds the place's callback, replacing an earlier one; it is kept after
    // the hook is removed and called only while the hook is installed.
    void setCallback(Callback callback);
    User user() const { return m_user; }

    static State &state(User user);
    // The WH_KEYBOARD_LL procedure of a place.
    static keyhook::LRESULT hookProcedure(User user, int nCode, keyhook::WPARAM wParam, keyhook::LPARAM lParam);

private:
    User m_user;
};
