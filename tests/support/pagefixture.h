#pragma once

// Shared fixture pieces of the device-page tests: the simulated mouse opened
// as the program opens it, exported configuration files, and a recorder of
// the hub's signals in the order they were emitted.

#include "app/postmsg.h"
#include "device/devicecache.h"
#include "device/devicestate.h"
#include "device/setters.h"
#include "platform/hidusb/hidusb.h"
#include "platform/hidusb/simcontrol.h"
#include "support/hubrecorder.h"

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
// page would have it open: currentDevice, its path, report delivery (a new
// attach) and the cache names. Its record is not read: see
// takeSimulatedMouseRecord(). Returns the receiver's path.
inline QString openSimulatedMouse(UsbReportCallback report = ignoreReport)
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
    UsbServerC_Start(currentDevicePath, currentDevicePath, report);
    beginAttach(info);
    return path;
}

// What a full dump of the opened mouse does to the record: currentFlashData
// becomes the mouse's own record, read in the current attach.
inline void takeSimulatedMouseRecord()
{
    hidusb::sim::flashRecord(QStringLiteral("mouse"), &currentFlashData);
    markFlashDataRead(currentAttach().number);
}

// The end of a page fixture's set-up: the page's queued events handled, the
// device link idle, and the simulator's counters and journal emptied, so a
// test sees only what it does itself.
inline void settle()
{
    QApplication::processEvents();
    hidusb::sim::waitIdle();
    hidusb::sim::resetCounters();
    hidusb::sim::clearJournal();
}

// Ends the report delivery openSimulatedMouse() started and waits for the
// device link's last calls.
inline void closeSimulatedMouse()
{
    UsbServer_Exit();
    hidusb::sim::waitIdle();
}

// Puts `record` into the mouse's flash and into currentFlashData, as if the
// mouse had just sent it in a full dump.
inline bool giveMouse(const FlashDataMap &record)
{
    currentFlashData = record;
    markFlashDataRead(currentAttach().number);
    sendFlashData();
    return hidusb::sim::waitIdle();
}

// The mouse's flash once the device link is idle.
inline FlashDataMap mouseFlash()
{
    hidusb::sim::waitIdle();
    FlashDataMap record;
    std::memset(&record, 0, sizeof record);
    hidusb::sim::flashRecord(QStringLiteral("mouse"), &record);
    return record;
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
