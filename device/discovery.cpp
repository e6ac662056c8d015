#include "device/discovery.h"

#include "app/configini.h"
#include "app/postmsg.h"
#include "device/dialogchange.h"
#include "pages/settings/firmwarecheck.h"
#include "pages/settings/updaterepair.h"
#include "platform/hidusb/hidusb.h"

#include <QCoreApplication>
#include <QThread>

QList<DeviceAllInfo> listedDevices;
QList<DeviceAllInfo> enumeratedDevices;
QStringList wirelessPids;
QStringList wireless2Pids;
QStringList wireless4Pids;
QStringList wireless8Pids;
int deviceTotal = 0;
UsbAddressInfo listAddressInfo = {};

namespace {

// Identification asks for the id at most this many times; only the answers
// before the last request may give the id.
constexpr int kInfoRequests = 10;

bool listChangeRunning = false;
bool listChangePending = false;

QStringList optionList(const QString &key)
{
    return ConfigIni::instance()->valueList(QStringLiteral("Option"), key);
}

QStringList nonEmpty(const QStringList &items)
{
    QStringList out;
    for (const QString &item : items)
        if (!item.isEmpty())
            out.append(item);
    return out;
}

QStringList findPaths(const QString &vid, const QString &pid)
{
    int count = 5;
    const QByteArray v = vid.toLocal8Bit();
    const QByteArray p = pid.toLocal8Bit();
    const char *const *paths = UsbFinderC_FindHidDevicesByDefaultDeviceId(v.constData(), p.constData(), &count);
    QStringList out;
    for (int i = 0; paths && i < count; ++i)
        if (paths[i])
            out.append(QString::fromLocal8Bit(paths[i]));
    return out;
}

void readAddressInfo(const QByteArray &path)
{
    listAddressInfo = UsbAddressInfo{};
    UsbFinderC_GetDeviceOnLineWithUsbAddress(path.constData(), &listAddressInfo);
}

// Online state and receiver ID of an entry from the last USB-address answer.
void takeAddressInfo(DeviceAllInfo &info)
{
    info.online = listAddressInfo.online == 1;
    info.receiverId = QByteArray(reinterpret_cast<const char *>(listAddressInfo.receiverId), 3);
}

// Reads the USB-address answer of a path into listAddressInfo and applies
// it to the entry: online state and receiver ID.
void applyAddressInfo(DeviceAllInfo &info)
{
    const QByteArray path = info.path.toLocal8Bit();
    readAddressInfo(path);
    takeAddressInfo(info);
}

int indexByPath(const QList<DeviceAllInfo> &list, const QString &path)
{
    for (int i = 0; i < list.size(); ++i)
        if (list.at(i).path == path)
            return i;
    return -1;
}

void runListDeviceChange()
{
    if (listChangeRunning) {
        // A notice of the running change is open; look again once it is done.
        listChangePending = true;
        return;
    }
    listChangeRunning = true;
    do {
        listChangePending = false;
        if (listPage)
            listPage->updateRepairPrompt();
        const QStringList vids = optionList(QStringLiteral("VID"));
        listedDevices.clear();
        enumeratedDevices.clear();
        const QStringList usbPids = optionList(QStringLiteral("USB_PID"));
        const QStringList wireless = optionList(QStringLiteral("Wireless_PID"));
        wireless2Pids = optionList(QStringLiteral("Wireless2_PID"));
        wireless4Pids = optionList(QStringLiteral("Wireless4_PID"));
        wireless8Pids = optionList(QStringLiteral("Wireless8_PID"));
        wirelessPids = wireless;
        QStringList pids = nonEmpty(usbPids);
        pids += nonEmpty(wireless);
        pids += nonEmpty(wireless2Pids);
        pids += nonEmpty(wireless4Pids);
        pids += nonEmpty(wireless8Pids);
        enumerateListDevices(vids, pids);
        if (listPage)
            listPage->buildDeviceButtons();
        if (updateRepairDialog && updateRepairDialog->isVisible() && !upgradeRunning)
            emit PostMsg::instance()->SigRepairCheckUpdate();
    } while (listChangePending);
    listChangeRunning = false;
}

} // namespace

QString versionText(quint16 version)
{
    return firmwareVersionText(version);
}

void onListDeviceChanged()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    if (QThread::currentThread() == app->thread())
        runListDeviceChange();
    else
        QMetaObject::invokeMethod(app, [] { runListDeviceChange(); }, Qt::QueuedConnection);
}

void enumerateListDevices(const QStringList &vids, const QStringList &pids)
{
    for (const QString &vid : vids) {
        for (const QString &pid : pids) {
            const QStringList paths = findPaths(vid, pid);
            for (const QString &path : paths) {
                // One physical device is one entry, whichever id pair found it.
                if (indexByPath(enumeratedDevices, path) >= 0)
                    continue;
                DeviceAllInfo info;
                info.path = path;
                info.vid = vid;
                info.pid = pid;
                UsbDeviceAttribute attribute = {};
                const QByteArray p = path.toLocal8Bit();
                UsbFinderC_GetUsbDeviceAttribute(p.constData(), &attribute);
                info.receiverVersion = versionText(attribute.version);
                info.online = false;
                if (identifyListedDevice(info)) {
                    listedDevices.append(info);
                    enumeratedDevices.append(info);
                }
            }
        }
    }
}

bool identifyListedDevice(DeviceAllInfo &info)
{
    const QByteArray path = info.path.toLocal8Bit();
    quint16 id = 0;
    quint8 code = 0;
    bool identified = false;
    for (int request = 1; request <= kInfoRequests; ++request) {
        const UsbDeviceInfo answer = UsbFinderC_GetDeviceInfo(path.constData(), 0);
        id = answer.id;
        code = answer.linkCode;
        if (request == kInfoRequests)
            break; // an id on the last answer does not count
        if (id != 0) {
            identified = true;
            break;
        }
    }
    const bool wired = (code & 0xFA) != 0;
    ConfigIni *config = ConfigIni::instance();
    const int total = config->value(QStringLiteral("Option"), QStringLiteral("DeviceTotal")).toInt();
    if (identified) {
        const int cid = config->value(QStringLiteral("Option"), QStringLiteral("CID")).toInt();
        for (int n = 1; n <= total; ++n) {
            const int mid = config->value(QStringLiteral("Drive") + QString::number(n),
                                          QStringLiteral("MID")).toInt();
            if ((id & 0xFF) == cid && (id >> 8) == mid) {
                info.wired = wired;
                info.id = id;
                info.linkCode = code;
                info.modelIndex = n - 1;
                if (UsbFinderC_GetDeviceOnLine(path.constData()))
                    info.online = true;
                return true;
            }
        }
        info.wired = wired;
        info.modelIndex = total;
        return total >= 1;
    }
    info.wired = wired;
    info.modelIndex = total;
    return true;
}

void refreshEntryAddress(int n)
{
    if (n < 0 || n >= listedDevices.size())
        return;
    DeviceAllInfo info = listedDevices.at(n);
    applyAddressInfo(info);
    listedDevices[n] = info;
    const int e = indexByPath(enumeratedDevices, info.path);
    if (e >= 0)
        enumeratedDevices[e] = info;
}

void refreshDeviceEntry(int n)
{
    if (n < 0 || n >= listedDevices.size())
        return;
    DeviceAllInfo info = listedDevices.at(n);
    const QByteArray path = info.path.toLocal8Bit();
    readAddressInfo(path);
    identifyListedDevice(info);
    takeAddressInfo(info);
    listedDevices[n] = info;
    const int e = indexByPath(enumeratedDevices, info.path);
    if (e >= 0)
        enumeratedDevices[e] = info;
    if (listPage)
        listPage->repaintDeviceEntry(n);
}

int connectionGroupOf(const DeviceAllInfo &info)
{
    if (info.wired)
        return 0;
    switch (info.linkCode) {
    case 0: return 1;
    case 4: return 2;
    case 1: return 3;
    case 5: return 4;
    default: return -1;
    }
}

bool applyDuplicateRule()
{
    // One column per catalogue model plus one for unrecognised devices.
    const int columns = qMax(0, deviceTotal) + 1;
    QVector<QVector<int>> counts(5, QVector<int>(columns, 0));
    bool duplicate = false;
    for (int i = 0; i < listedDevices.size(); ++i) {
        const DeviceAllInfo &info = listedDevices.at(i);
        const int group = connectionGroupOf(info);
        const int model = info.modelIndex;
        if (group >= 0 && model >= 0 && model < columns && ++counts[group][model] > 1)
            duplicate = true;
        refreshEntryAddress(i);
    }
    return duplicate;
}

void applyCableRule()
{
    for (int model = 0; model < deviceTotal; ++model) {
        int wiredCount = 0;
        for (const DeviceAllInfo &info : qAsConst(listedDevices))
            if (info.wired && info.modelIndex == model)
                ++wiredCount;
        if (wiredCount != 1)
            continue;
        for (int i = listedDevices.size() - 1; i >= 0; --i)
            if (listedDevices.at(i).modelIndex == model && !listedDevices.at(i).wired)
                listedDevices.removeAt(i);
    }
}
