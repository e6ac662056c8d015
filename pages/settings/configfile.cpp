#include "pages/settings/configfile.h"

#include "app/configini.h"
#include "device/devicestate.h"
#include "platform/atomicfile.h"

#include <QDataStream>
#include <QDebug>
#include <QFile>

#include <cstring>

namespace {

// The text fields of an exported file are written 12 bytes long; anything much
// longer is not one of our files, and its length must not drive a read.
constexpr quint32 kMaxTextField = 64;
constexpr int kTextFieldSize = 12;

// Reads one length-prefixed field (QDataStream::writeBytes form) of at most
// `maxLength` bytes. False on a short read, an empty or oversized length.
bool readField(QDataStream &in, quint32 maxLength, QByteArray *field)
{
    quint32 length = 0;
    in >> length;
    if (in.status() != QDataStream::Ok || length == 0 || length > maxLength)
        return false;
    field->resize(int(length));
    if (in.readRawData(field->data(), int(length)) != int(length))
        return false;
    return in.status() == QDataStream::Ok;
}

QString textUpToZero(const QByteArray &field)
{
    const int end = field.indexOf('\0');
    return QString::fromUtf8(end < 0 ? field : field.left(end));
}

} // namespace

int parseConfigFile(QIODevice *device, const QString &sensorName, int maxStages, FlashDataMap *out)
{
    QDataStream in(device);
    QByteArray tag, sensor, record;
    if (!readField(in, kMaxTextField, &tag) || textUpToZero(tag) != QLatin1String("Derez"))
        return 1;
    if (!readField(in, kMaxTextField, &sensor))
        return 1;
    if (!readField(in, sizeof(FlashDataMap), &record) || record.size() != int(sizeof(FlashDataMap)))
        return 1;
    if (textUpToZero(sensor) != textUpToZero(configFileSensorField(sensorName)))
        return 2;
    const auto *bytes = reinterpret_cast<const unsigned char *>(record.constData());
    const int stages = bytes[1];
    const int activeStage = bytes[2];
    if (stages > maxStages)
        return 2;
    if (stages < 1 || activeStage >= stages)
        return 1;
    std::memcpy(out, record.constData(), sizeof(FlashDataMap));
    return 0;
}

QByteArray configFileSensorField(const QString &sensorName)
{
    QByteArray field = sensorName.toUtf8().left(kTextFieldSize);
    field.append(QByteArray(kTextFieldSize - field.size(), '\0'));
    return field;
}

bool writeConfigFile(const QString &fileName, const QString &sensorName, const FlashDataMap &record)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    QByteArray tag("Derez");
    tag.append(QByteArray(kTextFieldSize - tag.size(), '\0'));
    const QByteArray sensor = configFileSensorField(sensorName);
    out.writeBytes(tag.constData(), uint(tag.size()));
    out.writeBytes(sensor.constData(), uint(sensor.size()));
    out.writeBytes(reinterpret_cast<const char *>(&record), uint(sizeof(FlashDataMap)));
    return out.status() == QDataStream::Ok && atomicfile::write(fileName, bytes);
}

int readConfigFile(const QString &fileName, FlashDataMap *out)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "failed";
        return 1;
    }
    const QString group = QStringLiteral("Drive") + QString::number(currentDevice.get().modelIndex + 1);
    const QString sensor = ConfigIni::instance()->value(group, QStringLiteral("Sensor"));
    const int maxStages = ConfigIni::instance()->value(group, QStringLiteral("DPIMaxGrade")).toInt();
    return parseConfigFile(&file, sensor, maxStages, out);
}
