#include "platform/hidusb/flashfile.h"
#include "platform/hidusb/firmwareimage.h"
#include "platform/hidusb/scenario.h"
#include "platform/hidusb/simulator.h"

#include "platform/atomicfile.h"
#include "platform/userpaths.h"

#include <QDataStream>
#include <QFile>

#include <cstring>

namespace hidusb {
namespace sim {

namespace {

const char kFlashMagic[8] = {'V', 'M', 'X', 'F', 'L', 'S', 'H', '1'};

std::uint32_t crc32(const QByteArray &data)
{
    return hidusb::crc32(reinterpret_cast<const unsigned char *>(data.constData()),
                         static_cast<std::size_t>(data.size()));
}

} // namespace

// ---------------------------------------------------------------------------
// Flash file
// ---------------------------------------------------------------------------
QString SimTransport::flashFile(const QString &id)
{
    return userDataRoot() + "/Simulator/" + id + ".flash";
}

QByteArray wrapFlashBody(const QByteArray &body)
{
    QByteArray file(kFlashMagic, sizeof kFlashMagic);
    QDataStream s(&file, QIODevice::WriteOnly | QIODevice::Append);
    s << quint32(body.size());
    s.writeRawData(body.constData(), body.size());
    s << quint32(crc32(body));
    return file;
}

QByteArray flashFileBytes(const SimDevice &d)
{
    QByteArray body;
    {
        QDataStream s(&body, QIODevice::WriteOnly);
        s.setVersion(QDataStream::Qt_5_9);
        s << quint8(d.type) << quint16(d.version) << quint8(d.bootMode ? 1 : 0);
        if (d.type == SimDevice::Mouse) {
            s << quint8(d.activeSlot) << quint8(d.batteryOptimize ? 1 : 0);
            s.writeRawData(reinterpret_cast<const char *>(d.receiverId.data()), 3);
            s << d.pairedTo;
            for (const Image &img : d.flash)
                s.writeRawData(reinterpret_cast<const char *>(img.data()), static_cast<int>(img.size()));
        } else {
            s.writeRawData(reinterpret_cast<const char *>(&d.rgb), sizeof d.rgb);
            s.writeRawData(reinterpret_cast<const char *>(&d.bar), sizeof d.bar);
            s.writeRawData(reinterpret_cast<const char *>(&d.leds), sizeof d.leds);
            s << quint8(d.longRange ? 1 : 0);
        }
    }
    return wrapFlashBody(body);
}

void SimTransport::persist(SimDevice &d)
{
    // A flash that cannot be written keeps its last complete file, as a
    // real flash keeps its last good sector.
    atomicfile::write(flashFile(d.id), flashFileBytes(d));
    if (d.dirty) {
        d.dirty = false;
        dirtyCount_.fetch_sub(1);
    }
}

void SimTransport::saveDirty()
{
    for (SimDevice &d : devices_)
        if (d.dirty)
            persist(d);
}

// Loads a device's flash. Anything wrong with the file (missing, short,
// long, wrong checksum, another kind of device) leaves the factory state.
void SimTransport::restore(SimDevice &d)
{
    QByteArray bytes;
    if (readRegularFile(flashFile(d.id), 256 * 1024, &bytes, nullptr))
        applyFlashFile(bytes, &d);
}

bool applyFlashFile(const QByteArray &file, SimDevice *target)
{
    SimDevice &d = *target;
    if (file.size() < 16 || std::memcmp(file.constData(), kFlashMagic, sizeof kFlashMagic) != 0)
        return false;
    QDataStream head(file.mid(sizeof kFlashMagic));
    quint32 length = 0;
    head >> length;
    if (static_cast<qint64>(length) + 16 != file.size())
        return false;
    const QByteArray body = file.mid(12, static_cast<int>(length));
    QDataStream tail(file.mid(12 + static_cast<int>(length)));
    quint32 crc = 0;
    tail >> crc;
    if (crc != crc32(body))
        return false;
    QDataStream s(body);
    s.setVersion(QDataStream::Qt_5_9);
    quint8 type = 0, boot = 0;
    quint16 version = 0;
    s >> type >> version >> boot;
    if (type != d.type)
        return false;
    SimDevice copy = d;
    copy.version = version;
    copy.bootMode = boot != 0;
    if (d.type == SimDevice::Mouse) {
        quint8 slot = 0, optimize = 0;
        s >> slot >> optimize;
        if (slot >= kConfigSlots)
            return false;
        copy.activeSlot = slot;
        copy.batteryOptimize = optimize != 0;
        if (s.readRawData(reinterpret_cast<char *>(copy.receiverId.data()), 3) != 3)
            return false;
        QString pairedTo;
        s >> pairedTo;
        for (Image &img : copy.flash) {
            if (s.readRawData(reinterpret_cast<char *>(img.data()), static_cast<int>(img.size()))
                != static_cast<int>(img.size()))
                return false;
            FlashDataMap check;
            if (!dump::imageToRecord(img.data(), img.size(), &check))
                return false; // not a configuration image: the mouse could not send it
        }
        // The pairing of the scenario wins when it names a receiver.
        if (d.pairedTo.isEmpty()) {
            copy.pairedTo = pairedTo;
        } else {
            copy.receiverId = d.receiverId;
        }
    } else {
        quint8 lr = 0;
        if (s.readRawData(reinterpret_cast<char *>(&copy.rgb), sizeof copy.rgb) != sizeof copy.rgb
            || s.readRawData(reinterpret_cast<char *>(&copy.bar), sizeof copy.bar) != sizeof copy.bar
            || s.readRawData(reinterpret_cast<char *>(&copy.leds), sizeof copy.leds) != sizeof copy.leds)
            return false;
        s >> lr;
        copy.longRange = lr != 0;
    }
    if (s.status() != QDataStream::Ok || !s.atEnd())
        return false;
    if (d.explicitVersion)
        copy.version = d.version;
    if (d.explicitBoot)
        copy.bootMode = d.bootMode;
    d = copy;
    return true;
}

} // namespace sim
} // namespace hidusb
