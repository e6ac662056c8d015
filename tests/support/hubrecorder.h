#pragma once

// The one recorder of the hub's signals for tests. It stands in for the
// pages: the signals the device link emits off the GUI thread reach it with
// the blocking-queued connections the real pages use, the others with the
// automatic type. Events are kept on the GUI thread in arrival order, with
// their arguments, the record they carried and the library journal's length
// when they arrived.

#include "app/postmsg.h"
#include "device/devicestate.h"
#include "platform/hidusb/simcontrol.h"

#include <QObject>
#include <QStringList>
#include <QThread>
#include <QVariant>
#include <QVector>

#include <cstring>
#include <functional>

class HubRecorder : public QObject
{
public:
    struct Event
    {
        QString name; // the signal's name, "SigSetver"
        QList<QVariant> args;
        FlashDataMap record{};
        bool hasRecord = false;
        int journalAt = 0; // journal length when the slot ran
        bool onGuiThread = false;
    };

    explicit HubRecorder(QObject *parent = nullptr) : QObject(parent)
    {
        PostMsg *hub = PostMsg::instance();
        const Qt::ConnectionType bq = Qt::BlockingQueuedConnection;
        // Emitted off the GUI thread by the report callback and the worker.
        connect(
            hub, &PostMsg::SigUpDataLightUIButton, this,
            [this](FlashDataMap m) { add("SigUpDataLightUIButton", {}, &m); }, bq);
        connect(
            hub, &PostMsg::SigUpDataLightLight, this, [this](FlashDataMap m) { add("SigUpDataLightLight", {}, &m); },
            bq);
        connect(
            hub, &PostMsg::SigUpDataLightSensor, this, [this](FlashDataMap m) { add("SigUpDataLightSensor", {}, &m); },
            bq);
        connect(
            hub, &PostMsg::SigUpDataDPILed, this, [this](FlashDataMap m) { add("SigUpDataDPILed", {}, &m); }, bq);
        connect(
            hub, &PostMsg::SigForm, this, [this] { add("SigForm"); }, bq);
        connect(
            hub, &PostMsg::SigFormReset, this, [this] { add("SigFormReset"); }, bq);
        connect(
            hub, &PostMsg::SigUpDataReportRate, this, [this](int v) { add("SigUpDataReportRate", {v}); }, bq);
        connect(
            hub, &PostMsg::SigUpDataDPI, this, [this](int v) { add("SigUpDataDPI", {v}); }, bq);
        connect(
            hub, &PostMsg::SigBattery, this,
            [this](bool charging, int level, bool text) {
                add("SigBattery", {charging, level, text});
            },
            bq);
        connect(
            hub, &PostMsg::SigUpDataConfigUI, this,
            [this](int total, int index, bool enabled) {
                add("SigUpDataConfigUI", {total, index, enabled});
            },
            bq);
        connect(
            hub, &PostMsg::SigRGBValue, this,
            [this](DongleRGB *r) {
                add("SigRGBValue", {int(r ? r->ledInfoChoice : -1), QVariant::fromValue<void *>(r)});
            },
            bq);
        connect(
            hub, &PostMsg::SigLongRangeMode, this, [this](bool on) { add("SigLongRangeMode", {on}); }, bq);
        // Automatic: queued from other threads, direct on the GUI thread.
        connect(hub, &PostMsg::SigUpDataParam, this, [this](int v) { add("SigUpDataParam", {v}); });
        connect(hub, &PostMsg::SigIsUsb, this, [this](bool usb, bool vs) { add("SigIsUsb", {usb, vs}); });
        connect(hub, &PostMsg::SigSetver, this, [this](int v) { add("SigSetver", {v}); });
        connect(hub, &PostMsg::SigMouseOffLineo, this, [this](int v) { add("SigMouseOffLineo", {v}); });
        connect(hub, &PostMsg::SigCloseOffOnline, this, [this] { add("SigCloseOffOnline"); });
        connect(hub, &PostMsg::SigChangeMainDialog, this, [this](int v) { add("SigChangeMainDialog", {v}); });
        connect(hub, &PostMsg::SigUpDataLightUIA, this, [this](FlashDataMap m) { add("SigUpDataLightUIA", {}, &m); });
        connect(hub, &PostMsg::SigUpDataSensorUIB, this, [this](FlashDataMap m) { add("SigUpDataSensorUIB", {}, &m); });
        connect(hub, &PostMsg::SigUpDataButtonUIC, this, [this](FlashDataMap m) { add("SigUpDataButtonUIC", {}, &m); });
        connect(hub, &PostMsg::SigFormB, this, [this] { add("SigFormB"); });
        connect(hub, &PostMsg::SigSetMacroPage, this, [this] { add("SigSetMacroPage"); });
        connect(hub, &PostMsg::SigAddMacroButton, this, [this] { add("SigAddMacroButton"); });
        connect(hub, &PostMsg::SigtVis, this, [this](int v) { add("SigtVis", {v}); });
        connect(hub, &PostMsg::SigLabelTextB, this, [this](QString a, QString b) { add("SigLabelTextB", {a, b}); });
        connect(hub, &PostMsg::SigCheckUpdate, this, [this] { add("SigCheckUpdate"); });
    }

    QVector<Event> events;
    // Called with describe() of each event as it arrives.
    std::function<void(const QString &)> onSignal;

    // The signals' names, in arrival order.
    QStringList names() const
    {
        QStringList list;
        for (const Event &e : events)
            list << e.name;
        return list;
    }
    // describe() of every event, in arrival order.
    QStringList described() const
    {
        QStringList list;
        for (int i = 0; i < events.size(); ++i)
            list << describe(i);
        return list;
    }
    // Events whose name, or whose describe() text, is `what`.
    int count(const QString &what) const
    {
        return names().count(what) + (what.contains('(') ? described().count(what) : 0);
    }
    int indexOf(const QString &name, int from = 0) const { return names().indexOf(name, from); }
    const Event *last(const QString &name) const
    {
        for (int i = events.size() - 1; i >= 0; --i)
            if (events[i].name == name)
                return &events[i];
        return nullptr;
    }
    // The records the record-carrying events brought, in arrival order.
    QList<FlashDataMap> records() const
    {
        QList<FlashDataMap> list;
        for (const Event &e : events)
            if (e.hasRecord)
                list << e.record;
        return list;
    }
    void clear() { events.clear(); }

    // "SigName(arg,arg)" for signals with plain arguments, the bare name for
    // those that carry a record or a pointer.
    QString describe(int i) const
    {
        const Event &e = events[i];
        if (e.args.isEmpty() || e.name == "SigRGBValue")
            return e.name;
        QStringList parts;
        for (const QVariant &v : e.args)
            parts << (v.type() == QVariant::Bool ? (v.toBool() ? "true" : "false") : v.toString());
        return e.name + "(" + parts.join(',') + ")";
    }

private:
    void add(const QString &name, QList<QVariant> args = {}, const FlashDataMap *record = nullptr)
    {
        Event e;
        e.name = name;
        e.args = args;
        if (record) {
            std::memcpy(&e.record, record, sizeof e.record);
            e.hasRecord = true;
        }
        e.journalAt = hidusb::sim::journal().size();
        e.onGuiThread = QThread::currentThread() == thread();
        events.append(e);
        if (onSignal)
            onSignal(describe(events.size() - 1));
    }
};
