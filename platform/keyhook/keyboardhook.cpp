#include "platform/keyhook/keyboardhook.h"

using namespace keyhook;

namespace {

template <KeyboardHook::User U>
LRESULT procedureOf(int nCode, WPARAM wParam, LPARAM lParam)
{
    return KeyboardHook::hookProcedure(U, nCode, wParam, lParam);
}

HOOKPROC procedureFor(KeyboardHook::User user)
{
    switch (user) {
    case KeyboardHook::User::MacroRecording:
        return &procedureOf<KeyboardHook::User::MacroRecording>;
    case KeyboardHook::User::KeyDialog:
        return &procedureOf<KeyboardHook::User::KeyDialog>;
    case KeyboardHook::User::KeyCombination:
        return &procedureOf<KeyboardHook::User::KeyCombination>;
    }
    return nullptr;
}

} // namespace

KeyboardHook::KeyboardHook(User user) : m_user(user) {}

KeyboardHook::~KeyboardHook()
{
    if (state(m_user).owner == this)
        remove();
}

KeyboardHook::State &KeyboardHook::state(User user)
{
    static State states[3];
    return states[int(user)];
}

void KeyboardHook::install()
{
    State &s = state(m_user);
    if (s.hookHandle) {
        s.owner = this;
        return;
    }
    s.hookHandle = SetWindowsHookExW(WH_KEYBOARD_LL, procedureFor(m_user), GetModuleHandleW(nullptr), 0);
    s.owner = s.hookHandle ? this : nullptr;
}

void KeyboardHook::remove()
{
    State &s = state(m_user);
    if (!s.hookHandle)
        return;
    UnhookWindowsHookEx(s.hookHandle);
    s.hookHandle = nullptr;
    s.owner = nullptr;
}

bool KeyboardHook::isInstalled() const
{
    return state(m_user).hookHandle != nullptr;
}

void KeyboardHook::setCallback(Callback callback)
{
    state(m_user).hookCallback = std::move(callback);
}

LRESULT KeyboardHook::hookProcedure(User user, int nCode, WPARAM wParam, LPARAM lParam)
{
    State &s = state(user);
    // Only keys typed into one of the program's own windows count.
    const bool ours = GetWindowThreadProcessId(GetForegroundWindow(), nullptr) == GetCurrentThreadId();
    if (ours && nCode == HC_ACTION) {
        const auto *info = reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam);
        const DWORD vk = info->vkCode;
        if (vk == s.lastVirtualKey) {
            s.repeatFlag = true;
        } else {
            s.repeatFlag = false;
            s.lastVirtualKey = vk;
        }
        const bool systemKeysCount = user != User::KeyCombination;
        switch (wParam) {
        case WM_KEYDOWN:
            s.pressedFlag = true;
            break;
        case WM_SYSKEYDOWN:
            if (systemKeysCount)
                s.pressedFlag = true;
            break;
        case WM_KEYUP:
            s.pressedFlag = false;
            s.repeatFlag = false;
            s.lastVirtualKey = 0;
            break;
        case WM_SYSKEYUP:
            if (systemKeysCount)
                s.pressedFlag = false;
            break;
        default:
            break;
        }
        if (s.hookCallback) {
            // A copy: the callback may rebind or remove the hook.
            const Callback callback = s.hookCallback;
            callback(int(vk), s.pressedFlag, s.repeatFlag);
        }
    }
    return CallNextHookEx(s.hookHandle, nCode, wParam, lParam);
}
