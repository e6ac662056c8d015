#include "device/reportdecoder.h"

#include "app/configini.h"
#include "app/delays.h"
#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/pagelink.h"
#include "device/upgraderecord.h"
#include "platform/hidusb/hidusb.h"

#include <QElapsedTimer>
#include <QVector>
#include <mutex>

#include <cstddef>
#include <cstring>

namespace {

// Settings-reset state: set by the settings-cleared report, consumed by the
// next full dump. Only the report thread uses them; atomics keep tests that
// reset them from another thread clean.
std::atomic<bool> keyResetPending{false};
std::atomic<bool> skipReceiverReads{false};

// --- the at-most-once-per-interval re-read gate ---------------------------
std::mutex reReadMutex;
QElapsedTimer monotonic;
qint64 (*reReadClock)() = nullptr;
qint64 reReadStartedAt = 0;

qint64 nowMs()
{
    if (reReadClock)
        return reReadClock();
    if (!monotonic.isValid())
        monotonic.start();
    return monotonic.elapsed();
}

// True (and the interval restarts) when more than Delay::ReReadLimit has
// passed since the last restart.
bool reReadDue()
{
    std::lock_guard<std::mutex> lock(reReadMutex);
    const qint64 now = nowMs();
    if (now - reReadStartedAt <= delays::ms(delays::Delay::ReReadLimit))
        return false;
    reReadStartedAt = now;
    return true;
}

// --- helpers ----------------------------------------------------------------
QString driveGroup(const DeviceAllInfo &device)
{
    return QStringLiteral("Drive") + QString::number(device.modelIndex + 1);
}

// Item `index` of a catalogue list as a number; `fallback` when the list is
// shorter or the item is not a number.
int catalogueItem(const QString &group, const QString &key, int index, int fallback)
{
    const QStringList items = ConfigIni::instance()->valueList(group, key);
    if (index >= items.size())
        return fallback;
    bool ok = false;
    const int value = items.at(index).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

// A field the mouse reports goes into currentFlashData only while that is
// the mouse's own record: a cache or another device's record stays as it was
// read, and nothing is sent until the mouse itself has been read.
void writeRecordBytes(std::size_t offset, const void *bytes, std::size_t length)
{
    runOnGuiThread([&] {
        if (currentFlashDataIsOpenDevice())
            std::memcpy(recordBytes(currentFlashData) + offset, bytes, length);
    });
}

void sendIfOwned()
{
    runOnGuiThread([] {
        if (currentFlashDataIsOpenDevice())
            ProtocolDataUpdate(&currentFlashData);
    });
}

// Decodes a light report into its sub-record and returns a copy of the whole
// record for the signal, in one hand-over, so that no setter's write falls
// between the read and the write back.
template <typename Light>
FlashDataMap takeLightRecord(std::size_t at, const unsigned char *payload,
                             void (*decode)(const unsigned char *, Light *))
{
    Light light;
    std::memset(&light, 0, sizeof light);
    FlashDataMap copy;
    runOnGuiThread([&] {
        std::memcpy(&copy, &currentFlashData, sizeof copy);
        std::memcpy(&light, recordBytes(copy) + at, sizeof light);
        decode(payload, &light);
        std::memcpy(recordBytes(copy) + at, &light, sizeof light);
        if (currentFlashDataIsOpenDevice())
            std::memcpy(&currentFlashData, &copy, sizeof copy);
    });
    return copy;
}

QString versionText(int version)
{
    return QStringLiteral("v") + QString::number((version >> 8) & 0xFF) + QLatin1Char('.')
           + QString::asprintf("%02X", unsigned(version & 0xFF));
}

// --- report kinds -------------------------------------------------------------
void decodeBattery(const unsigned char *payload)
{
    unsigned char status[4] = {};
    GetDeviceBatteryStatus(payload, status);
    emit PostMsg::instance()->SigBattery(status[1] != 0, status[0], showBatteryValue == 1);
}

void decodeFullDump(const unsigned char *payload)
{
    // The dump belongs to the attach whose report delivery brought it in.
    // When the open device has changed since (a takeover by the cable, another
    // device chosen), it is not the open device's record: that device's own
    // attach reads it.
    const DeviceAttach attach = currentAttach();
    if (!attachIsOpenDevice(attach))
        return;

    // Parse into a record of our own; currentFlashData is replaced in one
    // step further down, so nobody ever sees it half-parsed or zeroed.
    FlashDataMap parsed;
    std::memset(&parsed, 0, sizeof parsed);
    if (!ProtocolDataParser(payload, &parsed))
        return; // not a dump after all: never take over or send a zeroed record

    const DeviceAllInfo device = currentDevice.get(); // the attached device, as known now
    loadedCacheName = cacheNameForId(device.id);

    // Follow-up reads.
    UsbServer_ReadDPILed();
    UsbServer_ReadBatteryLevel();
    UsbServer_ReadVersion();
    UsbServer_ReadConfig();

    // The connection icon.
    emit PostMsg::instance()->SigIsUsb(device.wired, true);

    // Receiver reads, except right after a settings reset.
    if (!skipReceiverReads) {
        const QByteArray path = device.path.toLocal8Bit();
        if (!device.wired) {
            DongleRGB rgb;
            runOnGuiThread([&] { std::memcpy(&rgb, dongleRgb, sizeof rgb); });
            const bool read = UsbFinderC_Get4KDongleRGBValue(path.constData(), &rgb);
            runOnGuiThread([&] {
                std::memcpy(dongleRgb, &rgb, sizeof rgb);
                if (read)
                    markReceiverRecordRead(ReceiverRecord::LedInfo, attach.number);
            });
            if (reinterpret_cast<const unsigned char *>(&rgb)[0] != 0)
                emit PostMsg::instance()->SigRGBValue(dongleRgb);
        }
        unsigned char longRange = 's'; // tells "no answer" apart from 0 and 1
        UsbFinderC_GetLongRangeMode(path.constData(), &longRange);
        if (longRange != 's' && longRange != 0)
            emit PostMsg::instance()->SigLongRangeMode(true);
    }
    skipReceiverReads = false;

    // After a settings reset the key records go too, except those of buttons
    // whose catalogue default is a key ("0x05"); a missing or short list
    // keeps nothing.
    if (keyResetPending) {
        QVector<int> keptKeyButtons;
        const QString group = driveGroup(device);
        for (int i = 1; i <= 16; ++i) {
            const QStringList items =
                ConfigIni::instance()->valueList(group, QStringLiteral("KeyParam") + QString::number(i));
            if (!items.isEmpty() && items.first().trimmed() == QLatin1String("0x05"))
                keptKeyButtons.append(i - 1);
        }
        // With no button kept this clears every key sequence and macro.
        for (int b = 0; b < 16; ++b) {
            if (!keptKeyButtons.contains(b))
                std::memset(&parsed.keyCombos[b], 0, sizeof parsed.keyCombos[b]);
            std::memset(&parsed.macros[b], 0, sizeof parsed.macros[b]);
        }
        keyResetPending = false;
    }

    // Take the record over in one step and send it, unless the open device
    // changed while the dump was decoded.
    bool taken = false;
    runOnGuiThread([&] {
        if (!attachIsOpenDevice(attach))
            return;
        std::memcpy(&currentFlashData, &parsed, sizeof parsed);
        markFlashDataRead(attach.number);
        ProtocolDataUpdate(&currentFlashData);
        taken = true;
    });
    if (!taken)
        return;

    refillPagesFromCurrentRecord();

    // The mouse answered; a pending pass has nothing left to do.
    passOnline = true;
    runRequested = false;
}

void decodeData(int subKind, const unsigned char *payload, int length)
{
    using namespace hidusb;
    PostMsg *hub = PostMsg::instance();
    if (subKind == DataFullDump && length == kDumpSize) {
        decodeFullDump(payload);
    } else if (subKind == DataReportRate && length == 1) {
        writeRecordBytes(offsetof(FlashDataMap, reportRate), payload, 1);
        emit hub->SigUpDataReportRate(payload[0]);
        sendIfOwned();
    } else if (subKind == DataActiveStage && length == 1) {
        writeRecordBytes(offsetof(FlashDataMap, activeDpiStage), payload, 1);
        emit hub->SigUpDataDPI(payload[0]);
        sendIfOwned();
    } else if (subKind == DataDpiLed && length == kDpiLedPayloadSize) {
        emit hub->SigUpDataDPILed(takeLightRecord(offsetof(FlashDataMap, dpiLed), payload, &BufferToDPILed));
    } else if (subKind == DataLightBar && length == kLightBarPayloadSize) {
        emit hub->SigUpDataLightLight(takeLightRecord(offsetof(FlashDataMap, mouseLight), payload, &BufferToLedBar));
    }
}

void decodeSettingsCleared()
{
    PostMsg *hub = PostMsg::instance();
    const DeviceAllInfo device = currentDevice.get();
    const QByteArray path = device.path.toLocal8Bit();
    const QString group = driveGroup(device);

    UsbServer_SetBatteryOptimizeEnable(1);

    // "-1" (or a missing item) means the model has no such feature.
    const int longRangeDefault = catalogueItem(group, QStringLiteral("Adveanced"), 0, -1);
    const int ledChoiceDefault = catalogueItem(group, QStringLiteral("Adveanced"), 1, -1);

    if (ledChoiceDefault > 0 && !device.wired) {
        DongleRGB rgb;
        runOnGuiThread([&] {
            reinterpret_cast<unsigned char *>(dongleRgb)[0] = quint8(ledChoiceDefault);
            std::memcpy(&rgb, dongleRgb, sizeof rgb);
        });
        UsbFinderC_Set4KDongleRGB(path.constData(), &rgb);
        if (reinterpret_cast<const unsigned char *>(&rgb)[0] != 0)
            emit hub->SigRGBValue(dongleRgb);
    }
    if (longRangeDefault == 0) {
        UsbFinderC_SetLongRangeMode(path.constData(), 0);
        emit hub->SigLongRangeMode(false);
    } else if (longRangeDefault == 1) {
        UsbFinderC_SetLongRangeMode(path.constData(), 1);
        emit hub->SigLongRangeMode(true);
    }

    // The flags go up before the request: the dump it brings must see them.
    keyResetPending = true;
    skipReceiverReads = true;
    // The pages count as refilled only once the dump after the clear has
    // reached them: an earlier dump's marks must not end the restore's wait.
    buttonPageRefreshed = false;
    lightPageRefreshed = false;
    sensorPageRefreshed = false;
    settingsClearAnswered = true;
    UsbServer_ReadAllFlashData();
}

void decodeStatusChanged(const unsigned char *payload)
{
    unsigned char changed[7] = {};
    GetDeviceStatusChanged(payload, changed);
    if (changed[0])
        UsbServer_ReadCurrentDPI();
    if (changed[1])
        UsbServer_ReadReportRate();
    if (changed[6])
        UsbServer_ReadBatteryLevel();
    if (changed[5])
        UsbServer_ReadLedBar();
    if (changed[3])
        UsbServer_ReadDPILed();
    // A changed configuration is re-read by the next online tick's worker pass.
    if (changed[2] && reReadDue()) {
        restartPending = true;
        reReadRequested = true;
    }
}

void decodeFirmwareVersion()
{
    const DeviceAllInfo device = currentDevice.get();
    const int version = UsbFinderC_GetVersion(device.path.toLocal8Bit().constData());
    const QString text = versionText(version);
    currentDevice.update([&](DeviceAllInfo &d) { d.mouseVersion = text; });
    emit PostMsg::instance()->SigSetver(0);
    const QString cid = ConfigIni::instance()->value(QStringLiteral("Option"), QStringLiteral("CID"));
    const QString mid = ConfigIni::instance()->value(driveGroup(device), QStringLiteral("MID"));
    upgraderecord::storeMouseVersion(cid, mid, text);
}

} // namespace

void restartReReadTimer()
{
    std::lock_guard<std::mutex> lock(reReadMutex);
    reReadStartedAt = nowMs();
}

void setReReadClock(qint64 (*clock)())
{
    std::lock_guard<std::mutex> lock(reReadMutex);
    reReadClock = clock;
}

void resetReportDecoderForTests()
{
    keyResetPending = false;
    skipReceiverReads = false;
    restartReReadTimer();
}

void onDeviceReport(const unsigned char *header, int headerLength, const unsigned char *payload, int payloadLength)
{
    using namespace hidusb;
    auto headerByte = [&](int i) { return (header && i < headerLength) ? int(header[i]) : 0; };
    const int kind = headerByte(1);
    const int errorCode = headerByte(3);
    const int subKind = headerByte(4);
    // The library hands over at least 64 readable bytes, zero past the length.
    // A shorter buffer (or none) is copied into zeros first, so the
    // fixed-size readers (battery, status flags) never read past its end.
    unsigned char padded[kPacketSize] = {};
    if (!payload || payloadLength < 0) {
        payload = padded;
        payloadLength = 0;
    } else if (payloadLength < kPacketSize) {
        std::memcpy(padded, payload, size_t(payloadLength));
        payload = padded;
    }

    PostMsg *hub = PostMsg::instance();
    switch (kind) {
    case ReportBattery:
        decodeBattery(payload);
        break;
    case ReportData:
        if (errorCode == 0)
            decodeData(subKind, payload, payloadLength);
        break;
    case ReportSettingsCleared:
        decodeSettingsCleared();
        break;
    case ReportStatusChanged:
        decodeStatusChanged(payload);
        break;
    case ReportConfigSlot:
        if (payloadLength == 1)
            emit hub->SigUpDataConfigUI(4, payload[0], true);
        else
            emit hub->SigUpDataConfigUI(0, 0, false);
        break;
    case ReportVersion:
        decodeFirmwareVersion();
        break;
    case ReportReceiverLed:
        emit hub->SigRGBValue(dongleRgb);
        break;
    case ReportLongRangeOff:
        if (payloadLength == kLongRangeOffPayloadSize)
            emit hub->SigLongRangeMode(false);
        break;
    default:
        break;
    }
}
