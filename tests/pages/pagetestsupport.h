#pragma once

// Shared fixture pieces of the device-page tests: the simulated mouse opened
// as the program opens it, exported configuration files, and a recorder of
// the hub's signals in the order they were emitted.

#include "app/postmsg.h"
#include "device/devicecache.h"
#include "device/devicestate.h"
#include "platform/hidusb/hidusb.h"
#include "platform/hidusb/simcontrol.h"

#include <QApplication>
#include <QDataStream>
#include <QFile>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstring>
#include <functional>

namespace pagetest {

inline void ignoreReport(const unsigned char *, int, const unsigned char *, int) {}

// Opens the default scenario's mouse (through its receiver) as the device
// page would have it open: currentDevice, its path, report delivery and the
// cache names. Returns the receiver's path.
inline QString openSimulatedMouse()
{
    hidusb::sim::loadDefaultScenario();
    const QString path = hidusb::sim::pathOf(QStringLiteral("receiver"));
    DeviceAllInfo info;
    info.path = path;
    info.modelIndex = 0;
    info.online = true;
    const UsbDeviceInfo id = UsbFinderC_GetDeviceInfo(path.toLocal8Bit().constData(), 0);
    info.id = id.id;
    info.linkCode = id.linkCode;
    currentDevice = info;
    currentDevicePath = path.toLocal8Bit();
    selectedCacheName = cacheNameForId(info.id);
    loadedCacheName = cacheNameForId(info.id);
    UsbServerC_Start(currentDevicePath, currentDevicePath, ignoreReport);
    return path;
}

inline FlashDataMap patternRecord(int stages, int active, int seed = 1)
{
    FlashDataMap record;
    std::memset(&record, 0, sizeof record);
    unsigned char *bytes = recordBytes(record);
    for (int i = 0; i < int(sizeof record); ++i)
        bytes[i] = static_cast<unsigned char>((i * 13 + seed * 29) & 0xFF);
    bytes[1] = static_cast<unsigned char>(stages);
    bytes[2] = static_cast<unsigned char>(active);
    return record;
}

inline QByteArray exportedFile(const QByteArray &tag, const QByteArray &sensor, const FlashDataMap &record)
{
    QByteArray t = tag.left(12), s = sensor.left(12);
    t.append(QByteArray(12 - t.size(), '\0'));
    s.append(QByteArray(12 - s.size(), '\0'));
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.writeBytes(t.constData(), uint(t.size()));
    stream.writeBytes(s.constData(), uint(s.size()));
    stream.writeBytes(reinterpret_cast<const char *>(&record), uint(sizeof record));
    return out;
}

inline bool writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline bool sameRecord(const FlashDataMap &a, const FlashDataMap &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Records hub signals by name, in emission order; record-carrying signals
// keep their record too.
class HubRecorder
{
public:
    HubRecorder()
    {
        PostMsg *hub = PostMsg::instance();
        add(QObject::connect(hub, &PostMsg::SigUpDataLightUIA, [this](FlashDataMap r) { note("UIA", r); }));
        add(QObject::connect(hub, &PostMsg::SigUpDataSensorUIB, [this](FlashDataMap r) { note("UIB", r); }));
        add(QObject::connect(hub, &PostMsg::SigUpDataButtonUIC, [this](FlashDataMap r) { note("UIC", r); }));
        add(QObject::connect(hub, &PostMsg::SigFormB, [this] { note("FormB"); }));
        add(QObject::connect(hub, &PostMsg::SigSetver, [this](int i) { note("Setver" + QString::number(i)); }));
        add(QObject::connect(hub, &PostMsg::SigMouseOffLineo, [this](int i) { note("Offline" + QString::number(i)); }));
        add(QObject::connect(hub, &PostMsg::SigChangeMainDialog, [this](int i) { note("Main" + QString::number(i)); }));
        add(QObject::connect(hub, &PostMsg::SigSetMacroPage, [this] { note("SetMacroPage"); }));
        add(QObject::connect(hub, &PostMsg::SigAddMacroButton, [this] { note("AddMacroButton"); }));
        add(QObject::connect(hub, &PostMsg::SigtVis, [this](int i) { note("tVis" + QString::number(i)); }));
        add(QObject::connect(hub, &PostMsg::SigLabelTextB, [this](QString a, QString b) { note("LabelTextB:" + a + ":" + b); }));
        add(QObject::connect(hub, &PostMsg::SigCheckUpdate, [this] { note("CheckUpdate"); }));
    }
    ~HubRecorder()
    {
        for (const QMetaObject::Connection &c : connections)
            QObject::disconnect(c);
    }
    QStringList names;
    QList<FlashDataMap> records;
    std::function<void(const QString &)> onSignal;

    int count(const QString &name) const { return names.count(name); }

private:
    void add(const QMetaObject::Connection &c) { connections << c; }
    void note(const QString &name, const FlashDataMap &record)
    {
        records << record;
        note(name);
    }
    void note(const QString &name)
    {
        names << name;
        if (onSignal)
            onSignal(name);
    }
    QList<QMetaObject::Connection> connections;
};

// Runs `fn` on the first visible top-level widget of class T, polling every
// 50 ms until one shows (modal notices opened inside a job).
template <typename T>
void whenShown(std::function<void(T *)> fn, int timeoutMs = 20000)
{
    auto *timer = new QTimer;
    auto *elapsed = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, elapsed, fn, timeoutMs] {
        *elapsed += 50;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *t = qobject_cast<T *>(w)) {
                if (t->isVisible()) {
                    timer->stop();
                    timer->deleteLater();
                    delete elapsed;
                    fn(t);
                    return;
                }
            }
        }
        if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            delete elapsed;
        }
    });
    timer->start(50);
}

} // namespace pagetest
