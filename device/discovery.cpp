#include "device/discovery.h"

#include "app/configini.h"
#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/firmwarecheck.h"
#include "device/linkcontrols.h"
#include "platform/hidusb/hidusb.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>

DeviceListView *listPage = nullptr;
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

// A change that arrives while the previous one is still being handled (a
// modal notice of it is open, or it is nested in a library call) is not run
// inside it: it runs once more when the running one is done.
class ChangeGuard
{
public:
    template <typename Fn>
    void run(Fn fn)
    {
        if (m_running) {
            m_pending = true;
            return;
        }
        m_running = true;
        do {
            m_pending = false;
            fn();
        } while (m_pending);
        m_running = false;
    }

private:
    bool m_running = false;
    bool m_pending = false;
};

ChangeGuard listChange;
ChangeGuard pageChange;

// Runs fn on the GUI thread: now when called there, otherwise queued.
template <typename Fn>
void onGuiThreadLater(Fn fn)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    if (QThread::currentThread() == app->thread())
        fn();
    else
        QMetaObject::invokeMethod(app, fn, Qt::QueuedConnection);
}

QStringList optionList(const QString &key)
{
    return ConfigIni::instance()->valueList(QStringLiteral("Option"), key);
}

int catalogueInt(const QString &group, const QString &key)
{
    return ConfigIni::instance()->value(group, key).toInt();
}

// The catalogue's product id lists, as read for one change.
struct ProductIds
{
    QStringList usb;
    QStringList wireless;
    QStringList wireless2;
    QStringList wireless4;
    QStringList wireless8;

    // Every non-empty id, cable ids first, then by receiver kind.
    QStringList all() const
    {
        QStringList out;
        for (const QStringList *list : {&usb, &wireless, &wireless2, &wireless4, &wireless8})
            for (const QString &pid : *list)
                if (!pid.isEmpty())
                    out.append(pid);
        return out;
    }
};

ProductIds readProductIds()
{
    ProductIds ids;
    ids.usb = optionList(QStringLiteral("USB_PID"));
    ids.wireless = optionList(QStringLiteral("Wireless_PID"));
    ids.wireless2 = optionList(QStringLiteral("Wireless2_PID"));
    ids.wireless4 = optionList(QStringLiteral("Wireless4_PID"));
    ids.wireless8 = optionList(QStringLiteral("Wireless8_PID"));
    return ids;
}

// The two callbacks search with different library calls: the list page asks
// for every interface of an id pair, the device page for the configuration
// interface (usage page 1, usage 5) only.
enum class Search { DefaultInterface, ConfigurationInterface };

QStringList findPaths(Search search, const QString &vid, const QString &pid)
{
    int count = 5;
    const QByteArray v = vid.toLocal8Bit();
    const QByteArray p = pid.toLocal8Bit();
    const char *const *paths = search == Search::DefaultInterface
                                   ? UsbFinderC_FindHidDevicesByDefaultDeviceId(v.constData(), p.constData(), &count)
                                   : UsbFinderC_FindHidDevicesByDeviceId(v.constData(), p.constData(), 1, 5, &count);
    QStringList out;
    for (int i = 0; paths && i < count; ++i)
        if (paths[i])
            out.append(QString::fromLocal8Bit(paths[i]));
    return out;
}

// The one enumeration: a fresh entry (path, ids, receiver version, offline)
// for every path found for every VID and PID, in catalogue order.
template <typename Fn>
void enumerate(Search search, const QStringList &vids, const QStringList &pids, Fn take)
{
    for (const QString &vid : vids) {
        for (const QString &pid : pids) {
            for (const QString &path : findPaths(search, vid, pid)) {
                DeviceAllInfo entry;
                entry.path = path;
                entry.vid = vid;
                entry.pid = pid;
                UsbDeviceAttribute attribute = {};
                const QByteArray p = path.toLocal8Bit();
                UsbFinderC_GetUsbDeviceAttribute(p.constData(), &attribute);
                entry.receiverVersion = versionText(attribute.version);
                entry.online = false;
                take(entry);
            }
        }
    }
}

// The one identification loop: the device's id and connection code. An id
// that only the last request gives does not count.
struct IdAnswer
{
    bool identified = false;
    quint16 id = 0;
    quint8 linkCode = 0;
    bool wired() const { return (linkCode & 0xFA) != 0; }
};

IdAnswer requestDeviceId(const QByteArray &path)
{
    IdAnswer answer;
    for (int request = 1; request <= kInfoRequests; ++request) {
        const UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(path.constData(), 0);
        answer.id = info.id;
        answer.linkCode = info.linkCode;
        if (request == kInfoRequests)
            break;
        if (answer.id != 0) {
            answer.identified = true;
            break;
        }
    }
    return answer;
}

// Catalogue model index (0-based) of an id: the first "Drive<k>" whose MID
// matches, under the catalogue's CID; -1 when none does.
int catalogueModelOf(quint16 id, int total)
{
    if ((id & 0xFF) != catalogueInt(QStringLiteral("Option"), QStringLiteral("CID")))
        return -1;
    for (int k = 1; k <= total; ++k)
        if ((id >> 8) == catalogueInt(QStringLiteral("Drive") + QString::number(k), QStringLiteral("MID")))
            return k - 1;
    return -1;
}

void readAddressInfo(const QByteArray &path)
{
    listAddressInfo = UsbAddressInfo{};
    UsbFinderC_GetDeviceOnLineWithUsbAddress(path.constData(), &listAddressInfo);
}

// Online state and receiver ID of an entry from a USB-address answer.
void takeAddressInfo(DeviceAllInfo &info, const UsbAddressInfo &address)
{
    info.online = address.online == 1;
    info.receiverId = QByteArray(reinterpret_cast<const char *>(address.receiverId), 3);
}

int indexByPath(const QList<DeviceAllInfo> &list, const QString &path)
{
    for (int i = 0; i < list.size(); ++i)
        if (list.at(i).path == path)
            return i;
    return -1;
}

// Entry n of listedDevices changed: enumeratedDevices follows.
void storeListedEntry(int n, const DeviceAllInfo &info)
{
    listedDevices[n] = info;
    const int e = indexByPath(enumeratedDevices, info.path);
    if (e >= 0)
        enumeratedDevices[e] = info;
}

// The firmware dialog looks at the attached devices again after a change,
// unless it is flashing.
bool firmwareDialogWantsCheck()
{
    return updateRepairDialogShown && !upgradeRunning && !repairRunning;
}

void runListDeviceChange()
{
    if (listPage)
        listPage->updateRepairPrompt();
    const QStringList vids = optionList(QStringLiteral("VID"));
    listedDevices.clear();
    enumeratedDevices.clear();
    const ProductIds ids = readProductIds();
    wirelessPids = ids.wireless;
    wireless2Pids = ids.wireless2;
    wireless4Pids = ids.wireless4;
    wireless8Pids = ids.wireless8;
    enumerateListDevices(vids, ids.all());
    if (listPage)
        listPage->buildDeviceButtons();
    if (firmwareDialogWantsCheck())
        emit PostMsg::instance()->SigRepairCheckUpdate();
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
    // open device is no longer this page's to follow or to close. A page
    // parked by a pairing is still open: a receiver pulled meanwhile must
    // take the window back to the list as it does without pairing.
    if (devicePageActive == 0 && !devicePageParked)
        return;
    PostMsg *hub = PostMsg::instance();
    emit hub->SigSetver(4);

    const QStringList vids = optionList(QStringLiteral("VID"));
    pageDevices = QList<DeviceAllInfo>();
    enumeratePageDevices(vids, readProductIds().all());

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

    if (firmwareDialogWantsCheck())
        emit hub->SigCheckUpdate();
}

} // namespace

QString versionText(quint16 version)
{
    return firmwareVersionText(version);
}

// ---------------------------------------------------------------------------
// The list page's side.

void onListDeviceChanged()
{
    onGuiThreadLater([] { listChange.run(runListDeviceChange); });
}

void enumerateListDevices(const QStringList &vids, const QStringList &pids)
{
    enumerate(Search::DefaultInterface, vids, pids, [](DeviceAllInfo &info) {
        // One physical device is one entry, whichever id pair found it.
        if (indexByPath(enumeratedDevices, info.path) >= 0)
            return;
        if (identifyListedDevice(info)) {
            listedDevices.append(info);
            enumeratedDevices.append(info);
        }
    });
}

bool identifyListedDevice(DeviceAllInfo &info)
{
    const QByteArray path = info.path.toLocal8Bit();
    const IdAnswer answer = requestDeviceId(path);
    const int total = catalogueInt(QStringLiteral("Option"), QStringLiteral("DeviceTotal"));
    info.wired = answer.wired();
    info.modelIndex = total;
    if (!answer.identified)
        return true;
    const int model = catalogueModelOf(answer.id, total);
    if (model < 0)
        return total >= 1;
    info.id = answer.id;
    info.linkCode = answer.linkCode;
    info.modelIndex = model;
    if (UsbFinderC_GetDeviceOnLine(path.constData()))
        info.online = true;
    return true;
}

void refreshEntryAddress(int n)
{
    if (n < 0 || n >= listedDevices.size())
        return;
    DeviceAllInfo info = listedDevices.at(n);
    readAddressInfo(info.path.toLocal8Bit());
    takeAddressInfo(info, listAddressInfo);
    storeListedEntry(n, info);
}

void refreshDeviceEntry(int n)
{
    if (n < 0 || n >= listedDevices.size())
        return;
    DeviceAllInfo info = listedDevices.at(n);
    readAddressInfo(info.path.toLocal8Bit());
    identifyListedDevice(info);
    takeAddressInfo(info, listAddressInfo);
    storeListedEntry(n, info);
    if (listPage)
        listPage->repaintDeviceEntry(n);
}

int connectionGroupOf(const DeviceAllInfo &info)
{
    if (info.wired)
        return 0;
    switch (info.linkCode) {
    case 0:
        return 1;
    case 4:
        return 2;
    case 1:
        return 3;
    case 5:
        return 4;
    default:
        return -1;
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

// ---------------------------------------------------------------------------
// The device page's side.

void onPageDeviceChanged()
{
    onGuiThreadLater([] { pageChange.run(runPageDeviceChange); });
}

void enumeratePageDevices(const QStringList &vids, const QStringList &pids)
{
    enumerate(Search::ConfigurationInterface, vids, pids, [](DeviceAllInfo &entry) {
        const auto append = [&entry] { pageDevices.update([&](QList<DeviceAllInfo> &list) { list.append(entry); }); };
        const DeviceAllInfo open = currentDevice.get();
        if (open.path.isEmpty()) {
            append();
            return;
        }
        const int result = identifyDevice(entry, entry.path);
        if (result != 1) {
            append();
        } else if (entry.modelIndex == open.modelIndex) {
            // A catalogued device of another model is not this page's.
            append();
            if (entry.path == open.path)
                currentDevicePath = entry.path;
        }
    });
}

int identifyDevice(DeviceAllInfo &entry, const QString &path)
{
    const QByteArray p = path.toLocal8Bit();
    const IdAnswer answer = requestDeviceId(p);
    const int total = catalogueInt(QStringLiteral("Option"), QStringLiteral("DeviceTotal"));
    entry.wired = answer.wired();
    if (!answer.identified) {
        entry.modelIndex = total;
        return 0;
    }
    const int model = catalogueModelOf(answer.id, total);
    if (model < 0) {
        if (total == 0)
            return 0;
        entry.modelIndex = total;
        const int cid = catalogueInt(QStringLiteral("Option"), QStringLiteral("CID"));
        return (answer.id & 0xFF) == cid ? 2 : 3;
    }
    entry.id = answer.id;
    entry.linkCode = answer.linkCode;
    entry.modelIndex = model;
    UsbAddressInfo address = {};
    UsbFinderC_GetDeviceOnLineWithUsbAddress(p.constData(), &address);
    takeAddressInfo(entry, address);
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

void attachDevice(DeviceAllInfo entry)
{
    const QByteArray p = entry.path.toLocal8Bit();
    if (UsbFinderC_GetDeviceOnLine(p.constData())) {
        currentDevice = entry;
        currentDevicePath = p;
    }
    readDeviceAgain();
}

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
