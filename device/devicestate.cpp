#include "device/devicestate.h"

#include <cstring>
#include <mutex>
#include <set>
#include <string>

// ---------------------------------------------------------------------------
// DevicePath: every path text ever set is kept in one set whose nodes never
// move, so a pointer handed out stays valid for the life of the process.
namespace {

std::mutex &pathPoolMutex()
{
    static std::mutex mutex;
    return mutex;
}

const char *internPath(const QByteArray &path)
{
    static std::set<std::string> *pool = new std::set<std::string>; // never freed on purpose
    std::lock_guard<std::mutex> lock(pathPoolMutex());
    return pool->insert(std::string(path.constData(), size_t(path.size()))).first->c_str();
}

} // namespace

DevicePath::DevicePath() : m_current(internPath(QByteArray())) {}

void DevicePath::set(const QByteArray &path)
{
    m_current.store(internPath(path), std::memory_order_release);
}

// ---------------------------------------------------------------------------
FlashDataMap currentFlashData{};

Guarded<DeviceAllInfo> currentDevice;
DevicePath currentDevicePath;
Guarded<QString> selectedCacheName;
Guarded<QString> loadedCacheName;
Guarded<QList<DeviceAllInfo>> pageDevices;

namespace {
DongleRGB dongleRgbRecord{};
LedBarMode receiverLedBarRecord{};
DongleIndicatorLeds receiverIndicatorLedsRecord{};

Guarded<DeviceAttach> attachNow;
// Attach numbers are never reused, not even across a reset for tests.
std::atomic<quint64> attachCounter{0};
// The attach currentFlashData was read in (0: none). GUI thread only, but
// atomic so that other threads may ask.
std::atomic<quint64> flashDataReadIn{0};
// The same for the receiver records, by ReceiverRecord.
std::atomic<quint64> receiverReadIn[3] = {{0}, {0}, {0}};

bool sameDevice(const DeviceAllInfo &a, const DeviceAllInfo &b)
{
    return a.path == b.path && a.id == b.id;
}
} // namespace

DongleRGB *dongleRgb = &dongleRgbRecord;
LedBarMode *receiverLedBar = &receiverLedBarRecord;
DongleIndicatorLeds *receiverIndicatorLeds = &receiverIndicatorLedsRecord;

std::atomic<bool> buttonPageRefreshing{false};
std::atomic<bool> lightPageRefreshing{false};
std::atomic<bool> sensorPageRefreshing{false};
std::atomic<bool> buttonPageRefreshed{false};
std::atomic<bool> lightPageRefreshed{false};
std::atomic<bool> sensorPageRefreshed{false};
std::atomic<bool> uiReady{false};

std::atomic<int> devicePageActive{0};
std::atomic<bool> devicePageParked{false};
std::atomic<bool> onlineCheckEnabled{true};
std::atomic<bool> runRequested{false};
std::atomic<bool> deviceOnline{false};
std::atomic<bool> offlinePending{false};
std::atomic<bool> restartPending{false};
std::atomic<bool> reReadRequested{false};
std::atomic<bool> lastAttachOnline{false};
std::atomic<bool> passOnline{false};
std::atomic<bool> modalOperation{false};
std::atomic<bool> settingsClearAnswered{false};
std::atomic<int> showBatteryValue{0};

QString cacheNameForId(quint16 id)
{
    return QString::asprintf("Device_CID%02X_MID%02X.bin", unsigned(id & 0xFF), unsigned(id >> 8));
}

quint64 beginAttach(const DeviceAllInfo &device)
{
    return attachNow.update([&](DeviceAttach &attach) {
        attach.number = ++attachCounter;
        attach.device = device;
        return attach.number;
    });
}

DeviceAttach currentAttach()
{
    return attachNow.get();
}

bool attachIsOpenDevice(const DeviceAttach &attach)
{
    if (attach.number == 0)
        return false;
    const DeviceAttach now = attachNow.get();
    return now.number == attach.number && sameDevice(now.device, currentDevice.get());
}

bool currentFlashDataIsOpenDevice()
{
    const DeviceAttach now = attachNow.get();
    return flashDataReadIn.load() == now.number && attachIsOpenDevice(now);
}

void markFlashDataRead(quint64 number)
{
    flashDataReadIn = number;
}

void markReceiverRecordRead(ReceiverRecord which, quint64 attachNumber)
{
    receiverReadIn[int(which)] = attachNumber;
}

bool receiverRecordIsOpenDevice(ReceiverRecord which)
{
    const DeviceAttach now = attachNow.get();
    return receiverReadIn[int(which)].load() == now.number && attachIsOpenDevice(now);
}

void resetDeviceStateForTests()
{
    std::memset(&currentFlashData, 0, sizeof(FlashDataMap));
    std::memset(&dongleRgbRecord, 0, sizeof(DongleRGB));
    currentDevice = DeviceAllInfo();
    currentDevicePath = QByteArray();
    selectedCacheName = QString();
    loadedCacheName = QString();
    pageDevices = QList<DeviceAllInfo>();
    std::memset(&receiverLedBarRecord, 0, sizeof(LedBarMode));
    std::memset(&receiverIndicatorLedsRecord, 0, sizeof(DongleIndicatorLeds));
    attachNow = DeviceAttach();
    flashDataReadIn = 0;
    for (std::atomic<quint64> &readIn : receiverReadIn)
        readIn = 0;
    for (std::atomic<bool> *flag :
         {&buttonPageRefreshing, &lightPageRefreshing, &sensorPageRefreshing, &buttonPageRefreshed, &lightPageRefreshed,
          &sensorPageRefreshed, &uiReady, &runRequested, &deviceOnline, &offlinePending, &restartPending,
          &reReadRequested, &lastAttachOnline, &passOnline, &modalOperation, &settingsClearAnswered})
        flag->store(false);
    onlineCheckEnabled = true;
    devicePageActive = 0;
    devicePageParked = false;
    showBatteryValue = 0;
}
