#include "pages/device/pagehotplug.h"

#include "app/configini.h"
#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/discovery.h"
#include "device/worker.h"
#include "pages/settings/firmwarecheck.h"
#include "pages/settings/updaterepair.h"
#include "platform/hidusb/hidusb.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>

#include <cstring>

namespace {

constexpr int kInfoRequests = 10;

bool pageChangeRunning = false;
bool pageChangePending = false;

QStringList optionList(const QString &key)
{
    return ConfigIni::instance()->valueList(QStringLiteral("Option"), key);
}

QStringList findPaths(const QString &vid, const QString &pid)
{
    int count = 5;
    const QByteArray v = vid.toLocal8Bit();
    const QByteArray p = pid.toLocal8Bit();
    const char *const *paths = UsbFinderC_FindHidDevicesByDeviceId(v.constData(), p.constData(), 1, 5, &count);
    QStringList out;
    for (int i = 0; paths && i < count; ++i)
        if (paths[i])
            out.append(QString::fromLocal8Bit(paths[i]));
    return out;
}

// Same receiver: both lists hold at least three bytes and the first three agree.
bool sameReceiver(const QByteArray &a, const QByteArray &b)
{
    return a.size() >= 3 && b.size() >= 3 && a.left(3) == b.left(3);
}

void runPageDeviceChange()
{
    // A change handed over from the library thread may arrive after the
    // device page was left (the list page's callback has taken over); the
    // open device is no longer this page's to follow or to close.
    if (devicePageActive == 0)
        return;
    PostMsg *hub = PostMsg::instance();
    emit hub->SigSetver(4);

    const QStringList vids = optionList(QStringLiteral("VID"));
    pageDevices = QList<DeviceAllInfo>();
    QStringList pids;
    for (const char *key : {"USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID"})
        for (const QString &pid : optionList(QString::fromLatin1(key)))
            if (!pid.isEmpty())
                pids << pid;
    enumeratePageDevices(vids, pids);

    const QList<DeviceAllInfo> devices = pageDevices.get();
    if (devices.isEmpty()) {
        if (onlineCheckEnabled) {
            currentDevice = DeviceAllInfo();
            emit hub->SigChangeMainDialog(0);
        }
    } else {
        int others = 0;
        for (const DeviceAllInfo &entry : devices) {
            const DeviceAllInfo open = currentDevice.get();
            if (!open.path.isEmpty() && entry.modelIndex == open.modelIndex && entry.wired && entry.online
                && !open.wired && sameReceiver(open.receiverId, entry.receiverId))
                attachDevice(entry);
            const DeviceAllInfo now = currentDevice.get();
            if (entry.path != now.path && !now.path.isEmpty())
                ++others;
            if (others == devices.size() && !now.path.isEmpty() && onlineCheckEnabled)
                emit hub->SigChangeMainDialog(0);
        }

        const DeviceAllInfo open = currentDevice.get();
        if (open.wired) {
            QString receiverText;
            const int kind = pageReceiverKind(devices, &receiverText);
            if (QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/bin")).exists()) {
                receiverUpdateFlag = checkFirmwareUpdate(firmwareTargetReceiver, receiverText, kind);
                mouseUpdateFlag = checkFirmwareUpdate(firmwareTargetMouse, open.mouseVersion, kind);
                const bool update = receiverUpdateFlag || mouseUpdateFlag;
                emit hub->SigLabelTextB(receiverText, update ? QStringLiteral("true") : QString());
            } else {
                emit hub->SigLabelTextB(receiverText, QString());
            }
        }
    }

    if (updateRepairDialog && updateRepairDialog->isVisible() && !upgradeRunning)
        emit hub->SigCheckUpdate();
}

} // namespace

int pageReceiverKind(const QList<DeviceAllInfo> &devices, QString *receiverText)
{
    receiverText->clear();
    // Only a page holding exactly the cabled mouse and one receiver tells
    // which receiver the mouse belongs to; anything else means none.
    if (devices.size() != 2)
        return 0;
    for (const DeviceAllInfo &entry : devices) {
        if (entry.receiverId.isEmpty() || entry.wired)
            continue;
        *receiverText = entry.receiverVersion;
        return receiverKindOf(entry.linkCode);
    }
    return 0;
}

void onPageDeviceChanged()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    if (QThread::currentThread() != app->thread()) {
        QMetaObject::invokeMethod(app, [] { onPageDeviceChanged(); }, Qt::QueuedConnection);
        return;
    }
    if (pageChangeRunning) {
        pageChangePending = true;
        return;
    }
    pageChangeRunning = true;
    do {
        pageChangePending = false;
        runPageDeviceChange();
    } while (pageChangePending);
    pageChangeRunning = false;
}

void enumeratePageDevices(const QStringList &vids, const QStringList &pids)
{
    for (const QString &vid : vids) {
        for (const QString &pid : pids) {
            for (const QString &path : findPaths(vid, pid)) {
                DeviceAllInfo entry;
                entry.path = path;
                entry.vid = vid;
                entry.pid = pid;
                UsbDeviceAttribute attribute = {};
                const QByteArray p = path.toLocal8Bit();
                UsbFinderC_GetUsbDeviceAttribute(p.constData(), &attribute);
                entry.receiverVersion = versionText(attribute.version);
                entry.online = false;

                const DeviceAllInfo open = currentDevice.get();
                if (open.path.isEmpty()) {
                    pageDevices.update([&](QList<DeviceAllInfo> &list) { list.append(entry); });
                    continue;
                }
                const int result = identifyDevice(entry, path);
                if (result != 1) {
                    pageDevices.update([&](QList<DeviceAllInfo> &list) { list.append(entry); });
                } else if (entry.modelIndex == open.modelIndex) {
                    pageDevices.update([&](QList<DeviceAllInfo> &list) { list.append(entry); });
                    if (path == open.path)
                        currentDevicePath = path;
                }
            }
        }
    }
}

int identifyDevice(DeviceAllInfo &entry, const QString &path)
{
    const QByteArray p = path.toLocal8Bit();
    quint16 id = 0;
    quint8 code = 0;
    bool identified = false;
    for (int request = 1; request <= kInfoRequests; ++request) {
        const UsbDeviceInfo answer = UsbFinderC_GetDeviceInfo(p.constData(), 0);
        id = answer.id;
        code = answer.linkCode;
        if (request == kInfoRequests)
            break; // an id that only the last answer gives is not used
        if (id != 0) {
            identified = true;
            break;
        }
    }
    ConfigIni *config = ConfigIni::instance();
    const int total = config->value(QStringLiteral("Option"), QStringLiteral("DeviceTotal")).toInt();
    const bool wired = (code & 0xFA) != 0;
    if (!identified) {
        entry.wired = wired;
        entry.modelIndex = total;
        return 0;
    }
    const int cid = config->value(QStringLiteral("Option"), QStringLiteral("CID")).toInt();
    for (int k = 1; k <= total; ++k) {
        const int mid = config->value(QStringLiteral("Drive") + QString::number(k), QStringLiteral("MID")).toInt();
        if ((id & 0xFF) != cid || (id >> 8) != mid)
            continue;
        entry.wired = wired;
        entry.id = id;
        entry.linkCode = code;
        entry.modelIndex = k - 1;
        entry.receiverId.clear();
        UsbAddressInfo address = {};
        UsbFinderC_GetDeviceOnLineWithUsbAddress(p.constData(), &address);
        entry.online = address.online == 1;
        entry.receiverId = QByteArray(reinterpret_cast<const char *>(address.receiverId), 3);
        currentDevice.update([&](DeviceAllInfo &open) {
            if (entry.path != open.path)
                return;
            DeviceAllInfo copy = entry;
            if (!open.mouseVersion.isEmpty())
                copy.mouseVersion = open.mouseVersion;
            if (!open.receiverVersion.isEmpty())
                copy.receiverVersion = open.receiverVersion;
            open = copy;
        });
        return 1;
    }
    entry.wired = wired;
    if (total == 0)
        return 0;
    entry.modelIndex = total;
    return (id & 0xFF) == cid ? 2 : 3;
}

void attachDevice(DeviceAllInfo entry)
{
    const QByteArray p = entry.path.toLocal8Bit();
    if (UsbFinderC_GetDeviceOnLine(p.constData())) {
        currentDevice = entry;
        currentDevicePath = p;
    }
    runRequested = true;
    if (workerThread)
        workerThread->start(QThread::InheritPriority);
}
