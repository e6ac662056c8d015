#include "device/screensync.h"

#include "app/configini.h"
#include "platform/hidusb/hidusb.h"

#include <QMutex>
#include <QMutexLocker>

#include <cstring>

namespace {

// Written by the device-change callback on the library's thread, read by the
// synchronisation timer on the GUI thread.
QMutex screenDevicesMutex;
QStringList foundScreenDevices;

} // namespace

ScreenPacket screenTimePacket(const QDateTime &now)
{
    ScreenPacket packet{};
    const QDate date = now.date();
    const QTime time = now.time();
    packet[0] = 10;
    packet[1] = 0;
    packet[2] = 0x10;
    packet[3] = static_cast<unsigned char>((date.year() >> 8) & 0xFF);
    packet[4] = static_cast<unsigned char>(date.year() & 0xFF);
    packet[5] = static_cast<unsigned char>(date.month());
    packet[6] = static_cast<unsigned char>(date.day());
    packet[7] = static_cast<unsigned char>(time.hour());
    packet[8] = static_cast<unsigned char>(time.minute());
    packet[9] = static_cast<unsigned char>(time.second());
    // The weekday of the same moment, so a packet built at midnight does not
    // pair one day's date with the next day's weekday.
    packet[10] = static_cast<unsigned char>(date.dayOfWeek());
    return packet;
}

quint8 packetChecksum(const unsigned char *bytes, int length)
{
    unsigned sum = 0;
    for (int i = 0; i < length - 1; ++i)
        sum += bytes[i];
    return static_cast<quint8>((0x55u - sum) & 0xFFu);
}

bool packetChecksumValid(const unsigned char *bytes, int length)
{
    return bytes && length >= 1 && bytes[length - 1] == packetChecksum(bytes, length);
}

bool openScreenDevice(const QByteArray &path)
{
    return UsbFinderC_OpenDevice(path.constData());
}

bool sendWithRetry(ScreenPacket &packet, ScreenPacket *reply)
{
    packet[kScreenPacketSize - 1] = packetChecksum(packet.data(), kScreenPacketSize);
    for (int attempt = 0; attempt < kScreenSyncAttempts; ++attempt) {
        ScreenPacket answer{};
        UsbFinderC_ReadWriteDeviceData(packet.data(), answer.data(), kScreenPacketSize);
        if (std::memcmp(answer.data(), packet.data(), 7) == 0
            && packetChecksumValid(answer.data(), kScreenPacketSize)) {
            if (reply)
                *reply = answer;
            return true;
        }
    }
    return false;
}

QStringList screenDeviceIds()
{
    QStringList ids;
    for (const QString &item :
         ConfigIni::instance()->valueList(QStringLiteral("Option"), QStringLiteral("Wireless8_PID")))
        if (!item.trimmed().isEmpty())
            ids << item.trimmed();
    return ids;
}

QString screenVendorId()
{
    const QStringList vids = ConfigIni::instance()->valueList(QStringLiteral("Option"), QStringLiteral("VID"));
    return vids.isEmpty() ? QString() : vids.first().trimmed();
}

int findScreenDevices()
{
    QStringList found;
    const QByteArray vid = screenVendorId().toLatin1();
    for (const QString &id : screenDeviceIds()) {
        int count = 0;
        const QByteArray pid = id.toLatin1();
        const char *const *paths = UsbFinderC_FindHidDevicesByDeviceId(vid.constData(), pid.constData(), 1, 8, &count);
        for (int i = 0; paths && i < count; ++i)
            found << QString::fromLocal8Bit(paths[i]);
    }
    QMutexLocker lock(&screenDevicesMutex);
    foundScreenDevices = found;
    return found.size();
}

void onScreenDevicesChanged()
{
    findScreenDevices();
}

QStringList screenDevices()
{
    QMutexLocker lock(&screenDevicesMutex);
    return foundScreenDevices;
}
