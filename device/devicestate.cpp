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
    static std::set<std::string> *pool = new std::set<std::string>;   // never freed on purpose
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

// Identity of the device whose record is in currentFlashData.
struct RecordOwner
{
    bool set = false;
    QString path;
    quint16 id = 0;
};
Guarded<RecordOwner> flashDataOwner;

bool sameDevice(const RecordOwner &owner, const DeviceAllInfo &info)
{
    return owner.set && owner.path == info.path && owner.id == info.id;
}
} // namespace

DongleRGB *dongleRgb = &dongleRgbRecord;

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
std::atomic<int> showBatteryValue{0};

QString cacheNameForId(quint16 id)
{
    return QString::asprintf("Device_CID%02X_MID%02X.bin", unsigned(id & 0xFF), unsigned(id >> 8));
}

bool currentFlashDataIsOpenDevice()
{
    const DeviceAllInfo open = currentDevice.get();
    return flashDataOwner.update([&](RecordOwner &owner) { return sameDevice(owner, open); });
}

void markFlashDataOwner(const DeviceAllInfo &info)
{
    flashDataOwner.update([&](RecordOwner &owner) {
        owner.set = true;
        owner.path = info.path;
        owner.id = info.id;
    });
}

void adoptFlashData(const FlashDataMap &record)
{
    std::memcpy(&currentFlashData, &record, sizeof(FlashDataMap));
    markFlashDataOwner(currentDevice.get());
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
    flashDataOwner = RecordOwner();
    for (std::atomic<bool> *flag : {&buttonPageRefreshing, &lightPageRefreshing, &sensorPageRefreshing,
                                    &buttonPageRefreshed, &lightPageRefreshed, &sensorPageRefreshed, &uiReady,
                                    &runRequested, &deviceOnline, &offlinePending, &restartPending,
                                    &reReadRequested, &lastAttachOnline, &passOnline, &modalOperation})
        flag->store(false);
    onlineCheckEnabled = true;
    devicePageActive = 0;
    devicePageParked = false;
    showBatteryValue = 0;
}
