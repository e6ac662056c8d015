#pragma once

// Process-wide state of the device link: the open device, its path, the one
// current device record, the cache names and the flags through which the
// device link, the pages and the main window coordinate.
//
// Threads: the GUI thread, the worker thread (Worker::run) and the library's
// callback threads all touch this state.
//  - Flags are std::atomic, so a plain `flag = true` / `if (flag)` is safe
//    from any thread.
//  - Texts, lists and the open device live in Guarded<> holders: a read hands
//    out a copy taken under the holder's lock, a write replaces the whole value
//    (or edits it in place under the lock with update()).
//  - currentFlashData belongs to the GUI thread. Code on other threads never
//    touches it directly; the report decoder parses into a record of its own
//    and hands it over with runOnGuiThread(), which replaces the record in one
//    step. Pages, setters and dialogs (all on the GUI thread) use it freely.

#include "device/deviceallinfo.h"
#include "platform/hidusb/records.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <mutex>

#include <atomic>
#include <functional>

// ---------------------------------------------------------------------------
// Guarded value: a copy in, a copy out, under a lock.
template <typename T>
class Guarded
{
public:
    Guarded() = default;
    explicit Guarded(const T &initial) : m_value(initial) {}
    Guarded(const Guarded &) = delete;
    Guarded &operator=(const Guarded &) = delete;

    T get() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_value;
    }
    operator T() const { return get(); }

    void set(const T &value)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_value = value;
    }
    Guarded &operator=(const T &value)
    {
        set(value);
        return *this;
    }

    // Edits the value in place under the lock; fn gets a T& and may return a
    // result, which update() passes on.
    template <typename Fn>
    auto update(Fn fn) -> decltype(fn(std::declval<T &>()))
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return fn(m_value);
    }

private:
    // A std::mutex rather than QMutex: the thread checker sees its ordering.
    mutable std::mutex m_mutex;
    T m_value{};
};

// ---------------------------------------------------------------------------
// The open device's path as a NUL-terminated 8-bit string. Converting it to
// `const char*` is one atomic load; every text it ever held stays allocated
// (paths are few), so the pointer a caller got stays valid even when another
// thread sets a new path meanwhile.
class DevicePath
{
public:
    DevicePath();
    DevicePath(const DevicePath &) = delete;
    DevicePath &operator=(const DevicePath &) = delete;

    operator const char *() const { return m_current.load(std::memory_order_acquire); }
    const char *c_str() const { return *this; }
    QByteArray toByteArray() const { return QByteArray(c_str()); }

    void set(const QByteArray &path);
    DevicePath &operator=(const QByteArray &path)
    {
        set(path);
        return *this;
    }
    DevicePath &operator=(const QString &path)
    {
        set(path.toLocal8Bit());
        return *this;
    }

private:
    std::atomic<const char *> m_current;
};

// ---------------------------------------------------------------------------
// The record.
constexpr int kFlashDataSize = 10460;
static_assert(sizeof(FlashDataMap) == kFlashDataSize, "FlashDataMap must be exactly one device record");

inline unsigned char *recordBytes(FlashDataMap &record)
{
    return reinterpret_cast<unsigned char *>(&record);
}
inline const unsigned char *recordBytes(const FlashDataMap &record)
{
    return reinterpret_cast<const unsigned char *>(&record);
}

// The open device's record; GUI thread only (see above).
extern FlashDataMap currentFlashData;

// ---------------------------------------------------------------------------
// Attaches and who a record belongs to.
//
// An attach is one start of report delivery for the open device (a worker
// pass, or a takeover by another connection of the mouse). Each gets a new
// number. A full dump is credited to the attach that was current when its
// report came in, and currentFlashData counts as the open device's record only
// while that attach is still the current one and still names the open device.
// So a record read before a sleep, in an earlier visit of the same device, or
// by another device's attach is shown but never sent: a mouse is read in its
// current attach before anything is written to it.
struct DeviceAttach
{
    quint64 number = 0;   // 0: nothing attached yet
    DeviceAllInfo device; // the open device as it was attached
};

// Starts a new attach of `device` and returns its number (the worker calls it
// when it starts report delivery). Any thread.
quint64 beginAttach(const DeviceAllInfo &device);
// The current attach. Any thread.
DeviceAttach currentAttach();
// True while `attach` is the current attach and names the open device (same
// path and id as currentDevice). Any thread.
bool attachIsOpenDevice(const DeviceAttach &attach);

// Whether currentFlashData may be sent: it was read from the open device in
// its current attach (a full dump that attach read), or the user replaced it
// with a configuration file in that attach. Nothing sends the record while
// this is false.
bool currentFlashDataIsOpenDevice();
// Credits currentFlashData to attach `number` (GUI thread, right after the
// record was taken over or replaced).
void markFlashDataRead(quint64 number);

// ---------------------------------------------------------------------------
// The open device and the names derived from it.
extern Guarded<DeviceAllInfo> currentDevice;
extern DevicePath currentDevicePath;
extern Guarded<QString> selectedCacheName;
extern Guarded<QString> loadedCacheName;
extern Guarded<QList<DeviceAllInfo>> pageDevices;

// "Device_CID" + CC + "_MID" + MM + ".bin", CC the low and MM the high byte of
// the id, each as two upper-case hexadecimal digits.
QString cacheNameForId(quint16 id);

// The receiver's records, one each for the process, never freed. Written on
// the GUI thread only (the report thread hands its reads over).
//  - dongleRgb: the LED-information record (byte 0: what the receiver's LED
//    shows), read after every full dump of a mouse behind a receiver;
//  - receiverLedBar: the receiver's light bar;
//  - receiverIndicatorLeds: the function of each of its three indicator LEDs.
// The light bar and the LEDs are read with readReceiverLights() (pagelink.h).
extern DongleRGB *dongleRgb;
extern LedBarMode *receiverLedBar;
extern DongleIndicatorLeds *receiverIndicatorLeds;

// A receiver record is written back only while it was read from the open
// device's receiver in the current attach: a record of zeros, or one read
// through another receiver, would overwrite the receiver's other settings.
enum class ReceiverRecord { LedInfo, LightBar, IndicatorLeds };
void markReceiverRecordRead(ReceiverRecord which, quint64 attachNumber);
bool receiverRecordIsOpenDevice(ReceiverRecord which);

// ---------------------------------------------------------------------------
// Page flags.
extern std::atomic<bool> buttonPageRefreshing;
extern std::atomic<bool> lightPageRefreshing;
extern std::atomic<bool> sensorPageRefreshing;
extern std::atomic<bool> buttonPageRefreshed;
extern std::atomic<bool> lightPageRefreshed;
extern std::atomic<bool> sensorPageRefreshed;
extern std::atomic<bool> uiReady;

// Device-link flags.
extern std::atomic<int> devicePageActive;
// A pairing started on the device page holds devicePageActive at 0 while it
// runs; the page is still open, and a device change still concerns it.
// Leaving the device page ends the parking.
extern std::atomic<bool> devicePageParked;
extern std::atomic<bool> onlineCheckEnabled; // true at start
extern std::atomic<bool> runRequested;
extern std::atomic<bool> deviceOnline;
extern std::atomic<bool> offlinePending;
extern std::atomic<bool> restartPending;
extern std::atomic<bool> reReadRequested;
extern std::atomic<bool> lastAttachOnline;
extern std::atomic<bool> passOnline;
extern std::atomic<bool> modalOperation;
// Set by the report thread when the mouse answered a settings clear (restore
// defaults); requestSettingsClear() lowers it before it asks.
extern std::atomic<bool> settingsClearAnswered;
extern std::atomic<int> showBatteryValue;

// ---------------------------------------------------------------------------
// Runs fn on the GUI thread and returns when it has run: at once when called
// on the GUI thread, otherwise through a blocking queued call. Never call it
// from a thread the GUI thread may be waiting for.
void runOnGuiThread(const std::function<void()> &fn);
bool onGuiThread();
// How many callers wait for the GUI thread to serve them right now.
int pendingGuiHandOvers();

// Puts every piece of state above back to its start value (tests only).
void resetDeviceStateForTests();
