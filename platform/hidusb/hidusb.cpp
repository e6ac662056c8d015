// The public functions of the device-access library. Each one writes a line
// into the call journal and then goes to the library core.

#include "platform/hidusb/hidusb.h"

#include "platform/hidusb/dumpformat.h"
#include "platform/hidusb/library.h"
#include "platform/hidusb/screendevice.h"

#include <QString>

#include <cstring>
#include <string>
#include <vector>

using hidusb::Library;
namespace proto = hidusb::proto;

namespace {

Library &lib()
{
    return Library::instance();
}

QString yesNo(bool v)
{
    return v ? QStringLiteral("true") : QStringLiteral("false");
}

QString hexBytes(const void *data, int n)
{
    if (!data)
        return QStringLiteral("null");
    return QString::fromLatin1(QByteArray(static_cast<const char *>(data), n).toHex(' '));
}

bool parseId(const char *text, std::uint16_t *out)
{
    if (!text)
        return false;
    QString t = QString::fromLatin1(text).trimmed();
    if (t.startsWith("0x", Qt::CaseInsensitive))
        t = t.mid(2);
    bool ok = false;
    const uint v = t.toUInt(&ok, 16);
    if (!ok || v > 0xFFFF)
        return false;
    *out = static_cast<std::uint16_t>(v);
    return true;
}

const char *const *findDevices(const char *function, const char *vid, const char *pid, int *count, const QString &extra)
{
    thread_local std::vector<std::string> paths;
    thread_local std::vector<const char *> pointers;
    paths.clear();
    pointers.clear();
    std::uint16_t v = 0, p = 0;
    if (parseId(vid, &v) && parseId(pid, &p)) {
        for (const hidusb::UsbDeviceEntry &e : lib().transport().enumerate())
            if (!e.bootMode && e.vendorId == v && e.productId == p)
                paths.push_back(e.path);
        hidusb::screendevice::appendMatches(v, p, &paths);
    }
    for (const std::string &s : paths)
        pointers.push_back(s.c_str());
    if (count)
        *count = static_cast<int>(pointers.size());
    QStringList list;
    for (const std::string &s : paths)
        list << QString::fromStdString(s);
    lib().journal(function, nullptr,
                  QString("vid=%1 pid=%2%3")
                      .arg(QString::fromLatin1(vid ? vid : "null"), QString::fromLatin1(pid ? pid : "null"), extra),
                  list.join(','));
    return pointers.empty() ? nullptr : pointers.data();
}

} // namespace

// ---------------------------------------------------------------------------
const char *const *UsbFinderC_FindHidDevicesByDefaultDeviceId(const char *vid, const char *pid, int *count)
{
    return findDevices("UsbFinderC_FindHidDevicesByDefaultDeviceId", vid, pid, count, QString());
}

const char *const *UsbFinderC_FindHidDevicesByDeviceId(const char *vid, const char *pid, int usagePage, int usage,
                                                       int *count)
{
    return findDevices("UsbFinderC_FindHidDevicesByDeviceId", vid, pid, count,
                       QString(" usagePage=%1 usage=%2").arg(usagePage).arg(usage));
}

bool UsbFinderC_GetUsbDeviceAttribute(const char *path, UsbDeviceAttribute *attribute)
{
    proto::Packet reply;
    bool ok = attribute && lib().query(path, proto::CmdGetAttribute, 0, nullptr, 0, &reply)
              && reply.payloadLength() == static_cast<int>(sizeof(UsbDeviceAttribute));
    if (ok)
        std::memcpy(attribute, reply.payload(), sizeof(UsbDeviceAttribute));
    lib().journal("UsbFinderC_GetUsbDeviceAttribute", path, QString(),
                  ok ? QString("version=0x%1").arg(attribute->version, 4, 16, QChar('0')) : yesNo(false));
    return ok;
}

UsbDeviceInfo UsbFinderC_GetDeviceInfo(const char *path, int reserved)
{
    UsbDeviceInfo info{0, 0};
    proto::Packet reply;
    if (lib().query(path, proto::CmdGetInfo, 0, nullptr, 0, &reply) && reply.payloadLength() == 3) {
        info.id = static_cast<std::uint16_t>(reply.payload()[0] | (reply.payload()[1] << 8));
        info.linkCode = reply.payload()[2];
    }
    lib().journal("UsbFinderC_GetDeviceInfo", path, QString("reserved=%1").arg(reserved),
                  QString("id=0x%1 link=%2").arg(info.id, 4, 16, QChar('0')).arg(info.linkCode));
    return info;
}

bool UsbFinderC_GetDeviceOnLine(const char *path)
{
    const bool online = lib().online(path);
    if (lib().journalEnabled())
        lib().journal("UsbFinderC_GetDeviceOnLine", path, QString(), yesNo(online));
    return online;
}

bool UsbFinderC_GetDeviceOnLineWithUsbAddress(const char *path, UsbAddressInfo *info)
{
    proto::Packet reply;
    bool ok = false;
    if (info) {
        std::memset(info, 0, sizeof *info);
        if (lib().query(path, proto::CmdGetOnlineAddress, 0, nullptr, 0, &reply)
            && reply.payloadLength() == static_cast<int>(sizeof(UsbAddressInfo))) {
            std::memcpy(info, reply.payload(), sizeof *info);
            ok = info->online == 1;
        }
    }
    lib().journal("UsbFinderC_GetDeviceOnLineWithUsbAddress", path, QString(),
                  info ? QString("%1 %2").arg(yesNo(ok), hexBytes(info, sizeof *info)) : yesNo(false));
    return ok;
}

int UsbFinderC_GetVersion(const char *path)
{
    proto::Packet reply;
    int version = 0;
    if (lib().query(path, proto::CmdGetVersion, 0, nullptr, 0, &reply) && reply.payloadLength() == 2)
        version = reply.payload()[0] | (reply.payload()[1] << 8);
    lib().journal("UsbFinderC_GetVersion", path, QString(), QString("0x%1").arg(version, 4, 16, QChar('0')));
    return version;
}

bool UsbFinderC_GetSlaveVersion(const char *path, int *version)
{
    proto::Packet reply;
    const bool ok =
        version && lib().query(path, proto::CmdGetSlaveVersion, 0, nullptr, 0, &reply) && reply.payloadLength() == 2;
    if (ok)
        *version = reply.payload()[0] | (reply.payload()[1] << 8);
    lib().journal("UsbFinderC_GetSlaveVersion", path, QString(),
                  ok ? QString("0x%1").arg(*version, 4, 16, QChar('0')) : yesNo(false));
    return ok;
}

namespace {

template <typename T>
bool getRecord(const char *function, const char *path, std::uint8_t command, T *out)
{
    proto::Packet reply;
    const bool ok = out && lib().query(path, command, 0, nullptr, 0, &reply)
                    && reply.payloadLength() == static_cast<int>(sizeof(T));
    if (ok)
        std::memcpy(out, reply.payload(), sizeof(T));
    lib().journal(function, path, QString(), ok ? hexBytes(out, sizeof(T)) : yesNo(false));
    return ok;
}

template <typename T>
bool setRecord(const char *function, const char *path, std::uint8_t command, const T *in)
{
    const bool ok = in && lib().query(path, command, 0, in, sizeof(T), nullptr);
    lib().journal(function, path, hexBytes(in, sizeof(T)), yesNo(ok));
    return ok;
}

} // namespace

bool UsbFinderC_Get4KDongleRGBValue(const char *path, DongleRGB *rgb)
{
    return getRecord("UsbFinderC_Get4KDongleRGBValue", path, proto::CmdGetDongleRgb, rgb);
}

bool UsbFinderC_Set4KDongleRGB(const char *path, const DongleRGB *rgb)
{
    return setRecord("UsbFinderC_Set4KDongleRGB", path, proto::CmdSetDongleRgb, rgb);
}

bool UsbFinderC_GetDongleRGBBarMode(const char *path, LedBarMode *mode)
{
    return getRecord("UsbFinderC_GetDongleRGBBarMode", path, proto::CmdGetBarMode, mode);
}

bool UsbFinderC_SetDongleRGBBarMode(const char *path, const LedBarMode *mode)
{
    return setRecord("UsbFinderC_SetDongleRGBBarMode", path, proto::CmdSetBarMode, mode);
}

bool UsbFinderC_GetDongleIndicatorLed(const char *path, DongleIndicatorLeds *leds)
{
    return getRecord("UsbFinderC_GetDongleIndicatorLed", path, proto::CmdGetIndicator, leds);
}

bool UsbFinderC_SetDongleIndicatorLed(const char *path, const DongleIndicatorLeds *leds)
{
    return setRecord("UsbFinderC_SetDongleIndicatorLed", path, proto::CmdSetIndicator, leds);
}

bool UsbFinderC_GetLongRangeMode(const char *path, unsigned char *mode)
{
    proto::Packet reply;
    const bool ok =
        mode && lib().query(path, proto::CmdGetLongRange, 0, nullptr, 0, &reply) && reply.payloadLength() == 1;
    if (ok)
        *mode = reply.payload()[0];
    lib().journal("UsbFinderC_GetLongRangeMode", path, QString(), ok ? QString::number(*mode) : yesNo(false));
    return ok;
}

bool UsbFinderC_SetLongRangeMode(const char *path, unsigned char on)
{
    const bool ok = lib().query(path, proto::CmdSetLongRange, on ? 1 : 0, nullptr, 0, nullptr);
    lib().journal("UsbFinderC_SetLongRangeMode", path, QString("on=%1").arg(on), yesNo(ok));
    return ok;
}

bool UsbFinderC_SetDongleIDToMouse(const char *path, const unsigned char *record5)
{
    const bool ok = record5 && lib().query(path, proto::CmdSetDongleId, 0, record5, 5, nullptr);
    lib().journal("UsbFinderC_SetDongleIDToMouse", path, hexBytes(record5, 5), yesNo(ok));
    return ok;
}

namespace {
std::mutex openedM;
std::string opened;
} // namespace

bool UsbFinderC_OpenDevice(const char *path)
{
    bool ok = path && hidusb::screendevice::isScreenPath(path);
    if (path && !ok) {
        for (const hidusb::UsbDeviceEntry &e : lib().transport().enumerate())
            ok = ok || e.path == path;
    }
    if (ok) {
        std::lock_guard<std::mutex> lk(openedM);
        opened = path;
    }
    lib().journal("UsbFinderC_OpenDevice", path, QString(), yesNo(ok));
    return ok;
}

bool UsbFinderC_ReadWriteDeviceData(const unsigned char *packet, unsigned char *reply, int length)
{
    std::string path;
    {
        std::lock_guard<std::mutex> lk(openedM);
        path = opened;
    }
    bool ok = false;
    const bool sized = packet && reply && length > 0 && length <= proto::kPacketBytes;
    if (sized && hidusb::screendevice::isScreenPath(path)) {
        ok = hidusb::screendevice::exchange(path, packet, length, reply);
    } else if (sized && !path.empty()) {
        // Only `length` bytes of the caller's packet are read; the rest of
        // a protocol packet is zero.
        unsigned char whole[proto::kPacketBytes] = {};
        std::memcpy(whole, packet, static_cast<std::size_t>(length));
        proto::Packet request, answer;
        if (proto::decodePacket(whole, proto::kPacketBytes, &request)) {
            ok = lib().transport().transact(path, request, &answer);
            if (ok)
                std::memcpy(reply, answer.bytes.data(), static_cast<std::size_t>(length));
        }
    }
    lib().journal("UsbFinderC_ReadWriteDeviceData", path.c_str(),
                  packet && length > 0 ? hexBytes(packet, length < 8 ? length : 8) : QString("null"), yesNo(ok));
    return ok;
}

// ---------------------------------------------------------------------------
bool UsbServerC_Start(const char *path, const char *path2, UsbReportCallback callback)
{
    const bool ok = path && lib().startSession(path, callback);
    lib().journal("UsbServerC_Start", path,
                  QString("path2=%1 callback=%2")
                      .arg(QString::fromLocal8Bit(path2 ? path2 : "null"))
                      .arg(callback ? "set" : "null"),
                  yesNo(ok));
    return ok;
}

bool UsbServer_SetPCDriverStatus(int status)
{
    const bool ok = lib().sendToSession(proto::CmdSetDriverStatus, status ? 1 : 0);
    lib().journal("UsbServer_SetPCDriverStatus", nullptr, QString("status=%1").arg(status), yesNo(ok));
    return ok;
}

void UsbServer_Exit()
{
    lib().exitSession();
    lib().journal("UsbServer_Exit", nullptr, QString(), QString());
}

namespace {
bool request(const char *function, std::uint8_t command, std::uint8_t arg = 0, const QString &args = QString())
{
    const bool ok = lib().sendToSession(command, arg);
    lib().journal(function, nullptr, args, yesNo(ok));
    return ok;
}
} // namespace

bool UsbServer_ReadAllFlashData()
{
    return request("UsbServer_ReadAllFlashData", proto::CmdReadAllFlash);
}
bool UsbServer_ReadBatteryLevel()
{
    return request("UsbServer_ReadBatteryLevel", proto::CmdReadBattery);
}
bool UsbServer_ReadConfig()
{
    return request("UsbServer_ReadConfig", proto::CmdReadConfig);
}
bool UsbServer_ReadCurrentDPI()
{
    return request("UsbServer_ReadCurrentDPI", proto::CmdReadCurrentDpi);
}
bool UsbServer_ReadDPILed()
{
    return request("UsbServer_ReadDPILed", proto::CmdReadDpiLed);
}
bool UsbServer_ReadLedBar()
{
    return request("UsbServer_ReadLedBar", proto::CmdReadLedBar);
}
bool UsbServer_ReadReportRate()
{
    return request("UsbServer_ReadReportRate", proto::CmdReadReportRate);
}
bool UsbServer_ReadVersion()
{
    return request("UsbServer_ReadVersion", proto::CmdReadVersion);
}
bool UsbServer_ReadDonglePairStatus()
{
    return request("UsbServer_ReadDonglePairStatus", proto::CmdReadPairStatus);
}

bool UsbServer_SetCurrentConfig(unsigned char index)
{
    return request("UsbServer_SetCurrentConfig", proto::CmdSetCurrentConfig, index, QString("index=%1").arg(index));
}

bool UsbServer_SetBatteryOptimizeEnable(unsigned char enable)
{
    return request("UsbServer_SetBatteryOptimizeEnable", proto::CmdSetBatteryOptimize, enable ? 1 : 0,
                   QString("enable=%1").arg(enable));
}

bool UsbServer_SetClearSetting()
{
    return request("UsbServer_SetClearSetting", proto::CmdClearSetting);
}

bool UsbServer_EnterDonglePairOnlyCid(unsigned char cid)
{
    return request("UsbServer_EnterDonglePairOnlyCid", proto::CmdEnterPairOnlyCid, cid, QString("cid=%1").arg(cid));
}

// ---------------------------------------------------------------------------
int UsbUpgradeC_FindBootDevices(const unsigned char *image, int length, int *count)
{
    const int n = lib().bootDevices(image, length);
    if (count)
        *count = n;
    lib().journal("UsbUpgradeC_FindBootDevices", nullptr, QString("length=%1").arg(length), QString::number(n));
    return n;
}

bool UsbUpgrade_Start(const unsigned char *image, int length, UsbUpgradeCallback callback, int timeoutMs)
{
    const bool ok = lib().startUpgrade(image, length, callback, timeoutMs);
    lib().journal("UsbUpgrade_Start", nullptr, QString("length=%1 timeout=%2").arg(length).arg(timeoutMs), yesNo(ok));
    return ok;
}

// ---------------------------------------------------------------------------
bool ProtocolDataParser(const unsigned char *dump, FlashDataMap *record)
{
    const bool ok = hidusb::dump::imageToRecord(dump, hidusb::dump::kImageSize, record);
    lib().journal("ProtocolDataParser", nullptr, QString(), yesNo(ok));
    return ok;
}

bool ProtocolDataUpdate(const FlashDataMap *record)
{
    const bool ok = record && lib().update(*record);
    lib().journal("ProtocolDataUpdate", nullptr, QString(), yesNo(ok));
    return ok;
}

void BufferToDPILed(const unsigned char *payload, DpiLedMode *mode)
{
    if (payload && mode)
        std::memcpy(mode, payload, sizeof *mode);
    lib().journal("BufferToDPILed", nullptr, hexBytes(payload, 4), QString());
}

void BufferToLedBar(const unsigned char *payload, LedBarMode *mode)
{
    if (payload && mode)
        std::memcpy(mode, payload, sizeof *mode);
    lib().journal("BufferToLedBar", nullptr, hexBytes(payload, 7), QString());
}

void GetDeviceBatteryStatus(const unsigned char *payload, unsigned char *status4)
{
    if (payload && status4) {
        status4[0] = payload[0];
        status4[1] = payload[1] ? 1 : 0;
        status4[2] = 0;
        status4[3] = 0;
    }
    lib().journal("GetDeviceBatteryStatus", nullptr, hexBytes(payload, 2), QString());
}

void GetDeviceStatusChanged(const unsigned char *payload, unsigned char *flags7)
{
    if (payload && flags7) {
        for (int i = 0; i < hidusb::StatusFlagCount; ++i)
            flags7[i] = (payload[0] >> i) & 1;
    }
    lib().journal("GetDeviceStatusChanged", nullptr, hexBytes(payload, 1), QString());
}

// ---------------------------------------------------------------------------
bool StartUsbChanged(UsbChangedCallback callback, int settleMs)
{
    const bool ok = lib().arm(callback, settleMs);
    lib().journal("StartUsbChanged", nullptr, QString("settle=%1").arg(settleMs), yesNo(ok));
    return ok;
}

void StopUsbChanged()
{
    lib().disarm();
    lib().journal("StopUsbChanged", nullptr, QString(), QString());
}
