#pragma once

// A host for the second layouts of the sensor, advanced and lighting
// controls, which no page of the program creates: a plain window holding
// one layout, over the default scenario's mouse opened as the device page
// opens it, with a known record in its flash and in currentFlashData, user
// changes allowed and the simulator's counters and journal empty. The host
// fills the layout as a page would, through the layout's own operations.

#include "device/devicestate.h"
#include "support/recordbytes.h"
#include "support/sensorfixture.h"

#include <QApplication>
#include <QWidget>

#include <functional>
#include <memory>

namespace layouttest {

template <typename Layout>
struct Host
{
    using Make = std::function<Layout *(QWidget *)>;

    std::unique_ptr<QWidget> window;
    Layout *layout = nullptr;
    FlashDataMap start;

    explicit Host(
        const Make &make = [](QWidget *parent) { return new Layout(parent); },
        const FlashDataMap &record = sensortest::startRecord())
    {
        resetDeviceStateForTests();
        loadTextCatalogue();
        pagetest::openSimulatedMouse();
        hidusb::sim::factoryReset(QStringLiteral("mouse"));
        start = record;
        sensortest::giveMouse(start);
        uiReady = true;
        window.reset(new QWidget);
        layout = make(window.get());
        window->resize(layout->size());
        window->show();
        QApplication::processEvents();
        hidusb::sim::waitIdle();
        hidusb::sim::resetCounters();
        hidusb::sim::clearJournal();
    }
    ~Host()
    {
        window.reset();
        UsbServer_Exit();
        hidusb::sim::waitIdle();
    }

    template <typename T>
    T *find(const char *name) const
    {
        return layout->template findChild<T *>(QLatin1String(name));
    }

    // Empty when the mouse's flash and currentFlashData are the start record
    // with byte changes "offset=value ..." and, when there are none, nothing
    // was sent (unless `resent`: a value written again); otherwise what is
    // wrong.
    QString wrote(const QString &changes, bool resent = false) const;

    // Record blocks the mouse was sent since the host was made (or since the
    // last reset of the counters).
    static quint64 writes()
    {
        hidusb::sim::waitIdle();
        return hidusb::sim::counters().recordBlocksWritten;
    }
};

// Makes every setter refuse: "asleep" (the mouse stops answering: the
// offline notice) or "not read" (a new attach whose record has not been read
// yet: refused without a notice).
inline bool refuseWrites(const QString &how)
{
    if (how == QLatin1String("asleep"))
        return hidusb::sim::sleep(QStringLiteral("mouse"));
    beginAttach(currentDevice);
    return true;
}

// The record `start` with byte changes "offset=value offset=value".
inline FlashDataMap changed(const FlashDataMap &start, const QString &changes)
{
    return recordtest::withBytes(start, changes);
}

// The first byte where `actual` differs from `wanted`, empty when none: a
// readable failure message.
inline QString difference(const FlashDataMap &actual, const FlashDataMap &wanted)
{
    return recordtest::firstDifference(actual, wanted);
}

template <typename Layout>
QString Host<Layout>::wrote(const QString &changes, bool resent) const
{
    const FlashDataMap want = changed(start, changes);
    QString wrong = difference(sensortest::mouseFlash(), want);
    if (!wrong.isEmpty())
        return QStringLiteral("mouse: ") + wrong;
    wrong = difference(currentFlashData, want);
    if (!wrong.isEmpty())
        return QStringLiteral("currentFlashData: ") + wrong;
    if (changes.isEmpty() && !resent && writes() != 0)
        return QStringLiteral("%1 blocks sent for no change").arg(writes());
    return QString();
}

} // namespace layouttest
