#include "device/devicecache.h"

#include "device/devicestate.h"
#include "platform/atomicfile.h"
#include "platform/userpaths.h"

#include <QDataStream>
#include <QFile>

#include <cstring>

namespace {
// Cache names are plain file names; anything that could leave the folder is refused.
bool validCacheName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
           && name != QLatin1String(".") && name != QLatin1String("..");
}
} // namespace

QString deviceCachePath(const QString &name)
{
    return userDataRoot() + QStringLiteral("/Device_Info/") + name;
}

bool loadDeviceCache(const QString &name, FlashDataMap *record)
{
    if (!validCacheName(name) || !record)
        return false;
    QFile file(deviceCachePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() != kDeviceCacheFileSize)
        return false;
    QDataStream in(&file);
    quint32 length = 0;
    in >> length;
    if (length != quint32(kFlashDataSize))
        return false;
    QByteArray bytes(kFlashDataSize, Qt::Uninitialized);
    if (in.readRawData(bytes.data(), kFlashDataSize) != kFlashDataSize || in.status() != QDataStream::Ok)
        return false;
    std::memcpy(record, bytes.constData(), kFlashDataSize);
    return true;
}

bool saveDeviceCache(const QString &name, const FlashDataMap &record)
{
    if (!validCacheName(name))
        return false;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.writeBytes(reinterpret_cast<const char *>(&record), uint(kFlashDataSize));
    if (out.status() != QDataStream::Ok)
        return false;
    return atomicfile::write(deviceCachePath(name), bytes);
}
