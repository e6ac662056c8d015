#pragma once

// Test stand-in for the pages: receives the hub signals the device link
// emits, with the connection types the real pages use (blocking queued for
// the signals that come from the report and worker threads), and keeps them
// in arrival order on the GUI thread.

#include "app/postmsg.h"
#include "device/devicestate.h"
#include "platform/hidusb/simcontrol.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QThread>
#include <QVector>

#include <cstring>

class HubRecorder : public QObject
{
    Q_OBJECT
public:
    struct Event
    {
        QString name;
        QList<QVariant> args;
        FlashDataMap record{};
        int journalAt = 0;   // journal length when the slot ran
        bool onGuiThread = false;
    };

    explicit HubRecorder(QObject *parent = nullptr) : QObject(parent)
    {
        PostMsg *hub = PostMsg::instance();
        const Qt::ConnectionType bq = Qt::BlockingQueuedConnection;
        connect(hub, SIGNAL(SigUpDataLightUIButton(FlashDataMap)), this, SLOT(button(FlashDataMap)), bq);
        connect(hub, SIGNAL(SigUpDataLightLight(FlashDataMap)), this, SLOT(light(FlashDataMap)), bq);
        connect(hub, SIGNAL(SigUpDataLightSensor(FlashDataMap)), this, SLOT(sensor(FlashDataMap)), bq);
        connect(hub, SIGNAL(SigUpDataDPILed(FlashDataMap)), this, SLOT(dpiLed(FlashDataMap)), bq);
        connect(hub, SIGNAL(SigForm()), this, SLOT(form()), bq);
        connect(hub, SIGNAL(SigFormReset()), this, SLOT(formReset()), bq);
        connect(hub, SIGNAL(SigUpDataReportRate(int)), this, SLOT(reportRate(int)), bq);
        connect(hub, SIGNAL(SigUpDataDPI(int)), this, SLOT(dpi(int)), bq);
        connect(hub, SIGNAL(SigBattery(bool, int, bool)), this, SLOT(battery(bool, int, bool)), bq);
        connect(hub, SIGNAL(SigUpDataConfigUI(int, int, bool)), this, SLOT(configUi(int, int, bool)), bq);
        connect(hub, SIGNAL(SigRGBValue(DongleRGB *)), this, SLOT(rgb(DongleRGB *)), bq);
        connect(hub, SIGNAL(SigLongRangeMode(bool)), this, SLOT(longRange(bool)), bq);
        connect(hub, SIGNAL(SigUpDataParam(int)), this, SLOT(upDataParam(int)));
        connect(hub, SIGNAL(SigIsUsb(bool, bool)), this, SLOT(isUsb(bool, bool)));
        connect(hub, SIGNAL(SigSetver(int)), this, SLOT(setver(int)));
        connect(hub, SIGNAL(SigMouseOffLineo(int)), this, SLOT(offline(int)));
        connect(hub, SIGNAL(SigCloseOffOnline()), this, SLOT(closeOffline()));
    }

    QVector<Event> events;

    QStringList names() const
    {
        QStringList list;
        for (const Event &e : events)
            list << e.name;
        return list;
    }
    int count(const QString &name) const { return names().count(name); }
    int indexOf(const QString &name, int from = 0) const { return names().indexOf(name, from); }
    const Event *last(const QString &name) const
    {
        for (int i = events.size() - 1; i >= 0; --i)
            if (events[i].name == name)
                return &events[i];
        return nullptr;
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
        if (record)
            std::memcpy(&e.record, record, sizeof e.record);
        e.journalAt = hidusb::sim::journal().size();
        e.onGuiThread = QThread::currentThread() == thread();
        events.append(e);
    }

private slots:
    void button(FlashDataMap m) { add("SigUpDataLightUIButton", {}, &m); }
    void light(FlashDataMap m) { add("SigUpDataLightLight", {}, &m); }
    void sensor(FlashDataMap m) { add("SigUpDataLightSensor", {}, &m); }
    void dpiLed(FlashDataMap m) { add("SigUpDataDPILed", {}, &m); }
    void form() { add("SigForm"); }
    void formReset() { add("SigFormReset"); }
    void reportRate(int v) { add("SigUpDataReportRate", {v}); }
    void dpi(int v) { add("SigUpDataDPI", {v}); }
    void battery(bool charging, int level, bool text) { add("SigBattery", {charging, level, text}); }
    void configUi(int total, int index, bool enabled) { add("SigUpDataConfigUI", {total, index, enabled}); }
    void rgb(DongleRGB *r) { add("SigRGBValue", {int(r ? r->ledInfoChoice : -1), QVariant::fromValue<void *>(r)}); }
    void longRange(bool on) { add("SigLongRangeMode", {on}); }
    void upDataParam(int v) { add("SigUpDataParam", {v}); }
    void isUsb(bool usb, bool vs) { add("SigIsUsb", {usb, vs}); }
    void setver(int v) { add("SigSetver", {v}); }
    void offline(int v) { add("SigMouseOffLineo", {v}); }
    void closeOffline() { add("SigCloseOffOnline"); }
};
