#include "device/firmwarecheck.h"

#include "app/configini.h"
#include "device/devicestate.h"
#include "platform/registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QList<QByteArray> firmwareImages;
QList<QByteArray> repairImages;
std::atomic<int> upgradeCid{0};
std::atomic<bool> receiverUpdateFlag{false};
std::atomic<bool> mouseUpdateFlag{false};
std::atomic<bool> upgradeRunning{false};
std::atomic<bool> updateRepairDialogShown{false};

namespace {

QString imageFolderOverride;

enum class SearchMode { Choose, Probe, Repair };

QString headerName(const QByteArray &data)
{
    QByteArray raw = data.mid(firmwareNameOffset, firmwareNameLength);
    const int nul = raw.indexOf('\0');
    if (nul >= 0)
        raw.truncate(nul);
    return QString::fromLocal8Bit(raw);
}

quint32 headerVersion(const QByteArray &data)
{
    const auto *p = reinterpret_cast<const uchar *>(data.constData()) + firmwareVersionOffset;
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

// A version text read as a decimal number; anything that is not one reads
// as 0 (so 1.0A and 1.0B compare equal here).
double versionNumber(const QString &text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? v : 0.0;
}

bool searchImages(SearchMode mode, quint8 target, const QString &version,
                  const QString &name, quint8 cid, quint8 mid, QList<QByteArray> *chosen)
{
    if (mode == SearchMode::Probe && version.isEmpty())
        return false;
    QString current = version;
    current.remove(QLatin1Char('v'));
    if (version.isEmpty())
        current = QStringLiteral("0.0");
    if (chosen)
        chosen->clear();

    bool result = false;
    const QDir dir(firmwareImageFolder());
    if (!dir.exists())
        return false;
    const QFileInfoList files = dir.entryInfoList(QStringList{QStringLiteral("*.bin")},
                                                  QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &fi : files) {
        QFile file(fi.absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly))
            return false;
        if (file.size() < firmwareHeaderSize || file.size() > firmwareMaxImageSize)
            continue;
        const QByteArray data = file.readAll();
        file.close();
        if (data.size() < firmwareHeaderSize)
            continue;
        if (quint8(data.at(firmwareTargetOffset)) != target
            || quint8(data.at(firmwareCidOffset)) != cid
            || quint8(data.at(firmwareMidOffset)) != mid
            || headerName(data) != name)
            continue;
        QString image = firmwareVersionText(headerVersion(data));
        image.remove(QLatin1Char('v'));
        if (!version.isEmpty() && image == current)
            continue;
        if (mode != SearchMode::Repair && !version.isEmpty()
            && versionNumber(image) == versionNumber(current))
            return result;
        result = true;
        if (chosen) {
            chosen->clear();
            chosen->append(data);
        }
    }
    return result;
}

} // namespace

QString firmwareImageFolder()
{
    if (!imageFolderOverride.isEmpty())
        return imageFolderOverride;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/bin");
}

void setFirmwareImageFolder(const QString &folder)
{
    imageFolderOverride = folder;
}

QString firmwareVersionText(quint32 version)
{
    return QStringLiteral("v") + QString::number(version >> 8) + QLatin1Char('.')
        + QString::number(version & 0xFFu, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

int receiverKindOf(int linkCode)
{
    switch (linkCode) {
    case 0: return 1;
    case 4: return 2;
    case 1: return 4;
    case 5: return 8;
    default: return 0;
    }
}

QString receiverImageKey(int receiverKind)
{
    switch (receiverKind) {
    case 1: return QStringLiteral("DM");
    case 2: return QStringLiteral("D2M");
    case 4: return QStringLiteral("D4M");
    case 8: return QStringLiteral("D8M");
    default: return QString();
    }
}

bool findFirmwareImage(quint8 target, const QString &version, const QString &name,
                       quint8 cid, quint8 mid)
{
    return searchImages(SearchMode::Choose, target, version, name, cid, mid, &firmwareImages);
}

bool probeFirmwareImage(quint8 target, const QString &version, const QString &name,
                        quint8 cid, quint8 mid)
{
    return searchImages(SearchMode::Probe, target, version, name, cid, mid, nullptr);
}

bool findRepairImage(quint8 target, const QString &version, const QString &name,
                     quint8 cid, quint8 mid)
{
    return searchImages(SearchMode::Repair, target, version, name, cid, mid, &repairImages);
}

bool checkFirmwareUpdate(int target, const QString &version, int receiverKind)
{
    ConfigIni *config = ConfigIni::instance();
    const QString group = QStringLiteral("Drive") + QString::number(currentDevice.get().modelIndex + 1);
    const int cid = config->value(QStringLiteral("Option"), QStringLiteral("CID")).toInt();
    upgradeCid = cid;
    const int mid = config->value(group, QStringLiteral("MID")).toInt();
    QString name;
    if (target == firmwareTargetMouse) {
        name = config->value(group, QStringLiteral("MM"));
    } else {
        const QString key = receiverImageKey(receiverKind);
        if (key.isEmpty())
            return false;
        name = config->value(group, key);
    }
    return probeFirmwareImage(quint8(target), version, name, quint8(cid), quint8(mid));
}

DeviceFirmwareCheck checkDeviceFirmware(const DeviceAllInfo &device)
{
    DeviceFirmwareCheck result;
    ConfigIni *config = ConfigIni::instance();
    const QString group = QStringLiteral("Drive") + QString::number(device.modelIndex + 1);
    const QString cid = config->value(QStringLiteral("Option"), QStringLiteral("CID"));
    const QString mid = config->value(group, QStringLiteral("MID"));
    const QString mouseVersion = registry::value(QString::fromLatin1(registry::kDriveTestKey),
                                                 QStringLiteral("MouseVer") + cid + mid);
    if (mouseVersion.isEmpty())
        return result;
    result.mouseVersionKnown = true;
    const quint8 cidNumber = quint8(cid.toInt());
    const quint8 midNumber = quint8(mid.toInt());
    result.mouseUpdate = findFirmwareImage(firmwareTargetMouse, mouseVersion,
                                           config->value(group, QStringLiteral("MM")), cidNumber, midNumber);
    const QString key = receiverImageKey(receiverKindOf(device.linkCode));
    const QString name = key.isEmpty() ? QString() : config->value(group, key);
    if (!name.isEmpty())
        result.receiverUpdate = findFirmwareImage(firmwareTargetReceiver, device.receiverVersion, name,
                                                  cidNumber, midNumber);
    return result;
}
