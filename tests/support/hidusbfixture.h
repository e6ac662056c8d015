#pragma once

// Helpers shared by the device-access library tests: a report sink that a
// plain function callback feeds, and waits with a deadline.

#include "platform/hidusb/hidusb.h"
#include "platform/hidusb/simcontrol.h"

#include <QByteArray>
#include <QDir>
#include <QThread>
#include <QVector>
#include <QtTest>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

struct SeenReport
{
    int kind = -1;
    int error = 0;
    int sub = 0;
    QByteArray payload;
    bool onCallerThread = false;
};

// Collects the reports handed to `callback`, from whatever thread.
class ReportSink
{
public:
    static ReportSink &instance()
    {
        static ReportSink sink;
        return sink;
    }

    static void callback(const unsigned char *header, int headerLength, const unsigned char *payload, int payloadLength)
    {
        SeenReport r;
        r.kind = headerLength > 1 ? header[1] : 0;
        r.error = headerLength > 3 ? header[3] : 0;
        r.sub = headerLength > 4 ? header[4] : 0;
        r.payload = QByteArray(reinterpret_cast<const char *>(payload), payloadLength);
        r.onCallerThread = QThread::currentThread() == instance().owner_;
        ReportSink &s = instance();
        std::lock_guard<std::mutex> lk(s.m_);
        s.reports_.push_back(r);
        s.cv_.notify_all();
    }

    void clear()
    {
        std::lock_guard<std::mutex> lk(m_);
        reports_.clear();
        owner_ = QThread::currentThread();
    }

    QVector<SeenReport> reports()
    {
        std::lock_guard<std::mutex> lk(m_);
        return reports_;
    }

    // Waits until a report of `kind` (and `sub`, when not -1) has arrived.
    bool waitFor(int kind, int sub = -1, SeenReport *out = nullptr, int timeoutMs = 3000)
    {
        std::unique_lock<std::mutex> lk(m_);
        const bool ok = cv_.wait_for(lk, std::chrono::milliseconds(timeoutMs), [&] {
            for (const SeenReport &r : reports_)
                if (r.kind == kind && (sub < 0 || r.sub == sub))
                    return true;
            return false;
        });
        if (ok && out) {
            for (const SeenReport &r : reports_)
                if (r.kind == kind && (sub < 0 || r.sub == sub)) {
                    *out = r;
                    break;
                }
        }
        return ok;
    }

    int count(int kind, int sub = -1)
    {
        std::lock_guard<std::mutex> lk(m_);
        int n = 0;
        for (const SeenReport &r : reports_)
            n += r.kind == kind && (sub < 0 || r.sub == sub);
        return n;
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    QVector<SeenReport> reports_;
    QThread *owner_ = nullptr;
};

inline QByteArray pathBytes(const QString &id)
{
    return hidusb::sim::pathOf(id).toLocal8Bit();
}

// Fresh simulator: flash files removed, default devices, nothing armed.
inline void freshSimulator(const QByteArray &scenario = QByteArray())
{
    StopUsbChanged();
    UsbServer_Exit();
    QDir(hidusb::sim::flashFileName("x")).removeRecursively();
    QDir(QFileInfo(hidusb::sim::flashFileName("x")).path()).removeRecursively();
    hidusb::sim::restart();
    QString error;
    QVERIFY2(hidusb::sim::loadScenarioJson(scenario.isEmpty() ? hidusb::sim::defaultScenarioJson() : scenario, &error),
             qPrintable(error));
    hidusb::sim::setFlashDuration(200);
    hidusb::sim::resetCounters();
    hidusb::sim::setJournalEnabled(true); // these tests read the call journal
    hidusb::sim::clearJournal();
    ReportSink::instance().clear();
}
