#include "device/firmwarecheck.h"

#include "app/configini.h"
#include "device/devicestate.h"
#include "device/upgraderecord.h"
#include "platform/hidusb/firmwareimage.h"
#include "platform/hidusb/hidusb.h"
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
std::atomic<bool> repairRunning{false};
std::atomic<bool> updateRepairDialogShown{false};

namespace {

QString imageFolderOverride;

enum class SearchMode { Choose, Probe, Repair };

// One image file as the search sees it: whole and undamaged, or nothing.
bool readImage(const QString &fileName, QByteArray *data, hidusb::FirmwareImageInfo *info)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() <= firmwareHeaderSize || file.size() > firmwareMaxImageSize)
        return false;
    *data = file.readAll();
    const auto *bytes = reinterpret_cast<const unsigned char *>(data->constData());
    const auto length = static_cast<std::size_t>(data->size());
    return hidusb::firmwareImageValid(bytes, length) && hidusb::readFirmwareHeader(bytes, length, info);
}

// Every search picks the highest version that qualifies, so the order of the
// files in the folder never decides which image is flashed.
bool searchImages(SearchMode mode, quint8 target, const QString &version, const QString &name, quint8 cid, quint8 mid,
                  QList<QByteArray> *chosen)
{
    if (chosen)
        chosen->clear();
    // An update needs the device's version: an image is only taken when it
    // is strictly newer. A repair takes any sound image of the part.
    FirmwareVersion current;
    if (mode != SearchMode::Repair && !version.isEmpty()) {
        current = parseFirmwareVersion(version);
        if (!current.valid)
            return false;
    } else if (mode == SearchMode::Probe) {
        return false;
    }

    const QDir dir(firmwareImageFolder());
    if (!dir.exists())
        return false;
    const QFileInfoList files =
        dir.entryInfoList(QStringList{QStringLiteral("*.bin")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    bool found = false;
    quint32 best = 0;
    for (const QFileInfo &fi : files) {
        QByteArray data;
        hidusb::FirmwareImageInfo info;
        // An unreadable or damaged file is passed over; the next may do.
        if (!readImage(fi.absoluteFilePath(), &data, &info))
            continue;
        if (info.target != target || info.cid != cid || info.mid != mid
            || QString::fromLocal8Bit(info.name.data(), int(info.name.size())) != name)
            continue;
        if (current.valid && info.version <= current.number())
            continue;
        if (found && info.version <= best)
            continue;
        found = true;
        best = info.version;
        if (chosen) {
            chosen->clear();
            chosen->append(data);
        }
    }
    return found;
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

FirmwareVersion parseFirmwareVersion(const QString &text)
{
    FirmwareVersion v;
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('v')) || t.startsWith(QLatin1Char('V')))
        t.remove(0, 1);
    const int dot = t.indexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == t.size() - 1)
        return v;
    bool majorOk = false, minorOk = false;
    const uint major = t.left(dot).toUInt(&majorOk, 10);
    const uint minor = t.mid(dot + 1).toUInt(&minorOk, 16);
    if (!majorOk || !minorOk || major > 0xFFFFFFu || minor > 0xFFu)
        return v;
    v.valid = true;
    v.major = major;
    v.minor = minor;
    return v;
}

QString firmwareVersionText(quint32 version)
{
    return QStringLiteral("v") + QString::number(version >> 8) + QLatin1Char('.')
           + QString::number(version & 0xFFu, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

int receiverKindOf(int linkCode)
{
    switch (linkCode) {
    case 0:
        return 1;
    case 4:
        return 2;
    case 1:
        return 4;
    case 5:
        return 8;
    default:
        return 0;
    }
}

QString receiverImageKey(int receiverKind)
{
    switch (receiverKind) {
    case 1:
        return QStringLiteral("DM");
    case 2:
        return QStringLiteral("D2M");
    case 4:
        return QStringLiteral("D4M");
    case 8:
        return QStringLiteral("D8M");
    default:
        return QString();
    }
}

bool findFirmwareImage(quint8 target, const QString &version, const QString &name, quint8 cid, quint8 mid)
{
    return searchImages(SearchMode::Choose, target, version, name, cid, mid, &firmwareImages);
}

bool probeFirmwareImage(quint8 target, const QString &version, const QString &name, quint8 cid, quint8 mid)
{
    return searchImages(SearchMode::Probe, target, version, name, cid, mid, nullptr);
}

bool findRepairImage(quint8 target, const QString &version, const QString &name, quint8 cid, quint8 mid)
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
    const QString mouseVersion =
        registry::value(QString::fromLatin1(registry::kDriveTestKey), upgraderecord::mouseVersionName(cid, mid));
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
        result.receiverUpdate =
            findFirmwareImage(firmwareTargetReceiver, device.receiverVersion, name, cidNumber, midNumber);
    return result;
}

bool readReceiverVersion(const QString &path, int *version)
{
    return UsbFinderC_GetSlaveVersion(path.toLocal8Bit().constData(), version);
}
