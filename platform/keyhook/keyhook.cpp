#include "platform/keyhook/keyhook.h"

#include "platform/keys/keytable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMutex>
#include <QPointer>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <iterator>
#include <vector>

namespace keyhook {

struct HookEntry
{
    HOOKPROC proc = nullptr;
    bool removed = false;
};

namespace {

constexpr DWORD kForeignThreadId = 1;
constexpr DWORD VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3, VK_LMENU = 0xA4, VK_RMENU = 0xA5;
constexpr quintptr kForeignWindowAddress = 1;

// One message on its way through the hooks: the hooks as they were when it
// started, and how far CallNextHookEx has got.
struct Delivery
{
    std::vector<HookEntry *> hooks;
    size_t next = 0;
    HWND foreground = nullptr;
};

// GUI thread only, like the hook procedures themselves.
std::vector<HookEntry *> g_chain;        // newest first
std::vector<Delivery *> g_deliveries;    // innermost last (nested event loops)
std::vector<HookEntry *> g_removedInUse; // freed when no delivery runs
std::function<HWND()> g_foregroundProvider;

void freeRemovedHooks()
{
    if (!g_deliveries.empty())
        return;
    for (HookEntry *e : g_removedInUse)
        delete e;
    g_removedInUse.clear();
}

class KeySource : public QObject
{
public:
    explicit KeySource(QObject *parent) : QObject(parent) { m_clock.start(); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            // A key event reaches the window first and then travels through
            // widgets (the focus widget, its parents); only the window's
            // delivery counts, so every key is one message.
            if (watched->isWindowType())
                return handleKey(watched, static_cast<QKeyEvent *>(event));
            break;
        case QEvent::ApplicationDeactivate:
            m_translator.reset();
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool handleKey(QObject *window, QKeyEvent *event)
    {
        KeyInput input;
        input.press = event->type() == QEvent::KeyPress;
        input.autoRepeat = event->isAutoRepeat();
        input.nativeScanCode = event->nativeScanCode();
        input.qtKey = event->key();
        input.keypad = event->modifiers().testFlag(Qt::KeypadModifier);
        input.time = event->timestamp() ? quint32(event->timestamp()) : quint32(m_clock.elapsed());
        const std::optional<KeyMessage> message = m_translator.translate(input);
        if (!message)
            return false;
        return dispatchKeyMessage(*message, toHwnd(window)) != 0;
    }

    KeyTranslator m_translator;
    QElapsedTimer m_clock;
};

} // namespace

// --- hook chain ---------------------------------------------------------------

HHOOK SetWindowsHookExW(int idHook, HOOKPROC lpfn, HINSTANCE, DWORD)
{
    if (idHook != WH_KEYBOARD_LL || !lpfn)
        return nullptr;
    ensureKeySource();
    auto *entry = new HookEntry;
    entry->proc = lpfn;
    g_chain.insert(g_chain.begin(), entry);
    return entry;
}

bool UnhookWindowsHookEx(HHOOK hhk)
{
    for (auto it = g_chain.begin(); it != g_chain.end(); ++it) {
        if (*it != hhk)
            continue;
        g_chain.erase(it);
        hhk->removed = true;
        g_removedInUse.push_back(hhk);
        freeRemovedHooks();
        return true;
    }
    return false;
}

LRESULT CallNextHookEx(HHOOK, int nCode, WPARAM wParam, LPARAM lParam)
{
    if (g_deliveries.empty())
        return 0;
    Delivery *d = g_deliveries.back();
    while (d->next < d->hooks.size()) {
        HookEntry *e = d->hooks[d->next++];
        if (!e->removed)
            return e->proc(nCode, wParam, lParam);
    }
    return 0;
}

LRESULT dispatchKeyMessage(const KeyMessage &message, HWND foreground)
{
    if (g_chain.empty())
        return 0;
    Delivery delivery;
    delivery.hooks = g_chain;
    delivery.foreground = foreground;
    KBDLLHOOKSTRUCT info = message.info;
    g_deliveries.push_back(&delivery);
    const LRESULT result = CallNextHookEx(nullptr, HC_ACTION, message.message, LPARAM(&info));
    g_deliveries.pop_back();
    freeRemovedHooks();
    return result;
}

HINSTANCE GetModuleHandleW(const wchar_t *)
{
    return nullptr;
}

// --- windows and threads --------------------------------------------------------

HWND toHwnd(QObject *window)
{
    return reinterpret_cast<HWND>(window);
}

HWND foreignWindow()
{
    return reinterpret_cast<HWND>(kForeignWindowAddress);
}

void setForegroundWindowProvider(std::function<HWND()> provider)
{
    g_foregroundProvider = std::move(provider);
}

HWND GetForegroundWindow()
{
    if (g_foregroundProvider)
        return g_foregroundProvider();
    if (!g_deliveries.empty())
        return g_deliveries.back()->foreground;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return toHwnd(QGuiApplication::focusWindow());
    return nullptr;
}

namespace {
DWORD threadIdOf(QThread *thread)
{
    static QMutex mutex;
    static QHash<QThread *, DWORD> ids;
    static DWORD nextId = kForeignThreadId + 1;
    QMutexLocker lock(&mutex);
    auto it = ids.find(thread);
    if (it == ids.end())
        it = ids.insert(thread, nextId++);
    return it.value();
}
} // namespace

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD *processId)
{
    if (processId)
        *processId = 0;
    if (!hwnd)
        return 0;
    if (hwnd == foreignWindow())
        return kForeignThreadId;
    if (processId)
        *processId = DWORD(QCoreApplication::applicationPid());
    return threadIdOf(reinterpret_cast<QObject *>(hwnd)->thread());
}

DWORD GetCurrentThreadId()
{
    return threadIdOf(QThread::currentThread());
}

// --- key source -------------------------------------------------------------------

void ensureKeySource()
{
    static QPointer<KeySource> source;
    QCoreApplication *app = QCoreApplication::instance();
    if (source || !app)
        return;
    source = new KeySource(app);
    app->installEventFilter(source);
}

bool KeyTranslator::isHeld(DWORD vk) const
{
    return vk < 256 && (m_held[vk / 8] & (1u << (vk % 8)));
}

bool KeyTranslator::altHeld() const
{
    return isHeld(VK_LMENU) || isHeld(VK_RMENU);
}

bool KeyTranslator::ctrlHeld() const
{
    return isHeld(VK_LCONTROL) || isHeld(VK_RCONTROL);
}

void KeyTranslator::reset()
{
    std::fill(std::begin(m_held), std::end(m_held), quint8(0));
}

std::optional<KeyMessage> KeyTranslator::translate(const KeyInput &input)
{
    if (!input.press && input.autoRepeat)
        return std::nullopt;

    using namespace keytable;
    bool numLockOn = true;
    const ConsumerKey *media = nullptr;
    const Key *key = keyByNativeScanCode(input.nativeScanCode);
    if (key && (key->flags & KeyKeypad) && key->vkNumLockOff && input.qtKey)
        numLockOn = input.qtKey == key->qtKey; // the keypad 7 says Home without NumLock
    if (!key)
        media = consumerKeyByNativeScanCode(input.nativeScanCode);
    if (!key && !media) {
        key = keyByQtKey(input.qtKey, input.keypad, &numLockOn);
        if (!key)
            media = consumerKeyByQtKey(input.qtKey);
    }

    KeyMessage out;
    DWORD extended = 0;
    if (key) {
        const bool numLockOff = (key->flags & KeyKeypad) && key->vkNumLockOff && !numLockOn;
        out.info.vkCode = numLockOff ? key->vkNumLockOff : key->vk;
        out.info.scanCode = key->scanCode & 0xFF;
        extended = key->isExtended() ? LLKHF_EXTENDED : 0;
    } else if (media) {
        out.info.vkCode = media->vk;
    } else {
        out.info.vkCode = VK_UNMAPPED;
    }
    const DWORD vk = out.info.vkCode;
    out.info.time = input.time;

    if (input.press) {
        m_held[vk / 8] |= quint8(1u << (vk % 8));
        const bool sys = (altHeld() || vk == VK_F10) && !ctrlHeld();
        out.message = sys ? WM_SYSKEYDOWN : WM_KEYDOWN;
        out.info.flags = extended | (altHeld() ? LLKHF_ALTDOWN : 0);
    } else {
        const bool sys = (altHeld() || vk == VK_F10) && !ctrlHeld();
        m_held[vk / 8] &= quint8(~(1u << (vk % 8)));
        out.message = sys ? WM_SYSKEYUP : WM_KEYUP;
        out.info.flags = extended | LLKHF_UP | (altHeld() ? LLKHF_ALTDOWN : 0);
    }
    return out;
}

} // namespace keyhook
