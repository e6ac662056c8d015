#pragma once

// Shared set-up of the device-link tests: a fresh simulated receiver with
// its paired mouse, the real hub with page stand-ins, and a Worker.

#include "device/devicecache.h"
#include "device/devicestate.h"
#include "device/reportdecoder.h"
#include "device/worker.h"
#include "platform/hidusb/simcontrol.h"
#include "platform/userpaths.h"
#include "support/hubrecorder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QtTest>
#include <atomic>

namespace sim = hidusb::sim;

inline QStringList journalFunctions(int from = 0)
{
    QStringList names;
    const QVector<sim::JournalEntry> entries = sim::journal();
    for (int i = from; i < entries.size(); ++i)
        names << entries[i].function;
    return names;
}

// Index of each expected name in `seen`, in order; -1 entries when missing.
inline QVector<int> positionsInOrder(const QStringList &seen, const QStringList &expected)
{
    QVector<int> at;
    int from = 0;
    for (const QString &name : expected) {
        const int i = seen.indexOf(name, from);
        at << i;
        if (i >= 0)
            from = i + 1;
    }
    return at;
}

// The simulated mouse as the device list would describe it: reached through
// its receiver, first catalogue model.
inline DeviceAllInfo mouseEntry()
{
    DeviceAllInfo d;
    d.path = sim::pathOf("receiver");
    const UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(d.path.toLocal8Bit().constData(), 0);
    d.id = info.id;
    d.linkCode = info.linkCode;
    d.wired = (info.linkCode & 0xFA) != 0;
    d.modelIndex = 0;
    d.online = true;
    return d;
}

inline FlashDataMap mouseFlash()
{
    FlashDataMap r{};
    sim::flashRecord("mouse", &r);
    return r;
}

// A clock the tests set by hand for the re-read interval (setReReadClock).
inline std::atomic<qint64> fakeNow{0};
inline qint64 fakeClock()
{
    return fakeNow;
}

inline bool sameRecord(const FlashDataMap &a, const FlashDataMap &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Stops a worker without blocking a pass that waits for the GUI thread.
inline void releaseWorker(Worker *worker)
{
    if (!worker)
        return;
    worker->stop();
    QDeadlineTimer deadline(10000);
    while (!worker->wait(10) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    delete worker;
}

// Lets every report already on its way finish: a report callback may be
// waiting for this (GUI) thread, so keep serving it while waiting.
inline bool settleLibrary(int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!sim::waitIdle(10)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (deadline.hasExpired())
            return false;
    }
    QCoreApplication::processEvents();
    return true;
}

class LinkFixture
{
public:
    Worker *worker = nullptr;
    HubRecorder *pages = nullptr;

    void setUp()
    {
        UsbServer_Exit();
        settleLibrary();
        resetDeviceStateForTests();
        resetReportDecoderForTests();
        QDir(userDataRoot() + "/Simulator").removeRecursively();
        QDir(userDataRoot() + "/Device_Info").removeRecursively();
        sim::restart();
        sim::loadDefaultScenario();
        pages = new HubRecorder;
        worker = new Worker;
        sim::setJournalEnabled(true); // the link tests read the call journal
        sim::clearJournal();
        sim::resetCounters();
    }

    // Waits until the reports that follow a full dump have come in.
    void waitForFollowUps()
    {
        for (const char *name : {"SigBattery", "SigUpDataConfigUI", "SigUpDataDPILed", "SigSetver"})
            QTRY_VERIFY2(pages->count(name) >= 1, name);
        QVERIFY(settleLibrary());
    }

    void tearDown()
    {
        releaseWorker(worker);
        worker = nullptr;
        UsbServer_Exit();
        settleLibrary();
        delete pages;
        pages = nullptr;
        setReReadClock(nullptr);
    }

    // What choosing a device does: the worker takes the entry, the device
    // page's callback sets the path, the device page is shown, a pass starts.
    void open(const DeviceAllInfo &entry)
    {
        emit PostMsg::instance()->SigSelectMouseInfo(entry);
        currentDevicePath = entry.path.toLocal8Bit();
        devicePageActive = 1;
        runRequested = true;
        worker->start();
    }

    // Opens the awake mouse and waits until its whole record is loaded.
    void openAndLoad()
    {
        open(mouseEntry());
        QTRY_COMPARE(pages->count("SigForm"), 1);
        QTRY_VERIFY(!worker->isRunning());
        QVERIFY(currentFlashDataIsOpenDevice());
        waitForFollowUps();
    }
};
