// Running work on the GUI thread from the report and worker threads.
//
// The hand-over uses its own queue guarded by a std::mutex and a condition
// variable instead of a blocking queued Qt call: the ordering it creates is
// then visible to the thread checker, whose view of Qt's internal futexes is
// blind in an uninstrumented Qt.

#include "device/devicestate.h"

#include "app/postmsg.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

namespace {

struct Job
{
    const std::function<void()> *fn = nullptr;
    bool done = false;
};

struct HandOver
{
    std::mutex mutex;
    std::condition_variable finished;
    std::deque<Job *> queue;
    bool closed = false;           // the application object is gone
    QObject *dispatcher = nullptr; // lives on the GUI thread
};

HandOver &handOver()
{
    static HandOver *h = new HandOver; // outlives every thread; never freed
    return *h;
}

class Dispatcher : public QObject
{
    Q_OBJECT
public slots:
    void drain()
    {
        HandOver &h = handOver();
        for (;;) {
            Job *job = nullptr;
            {
                std::lock_guard<std::mutex> lock(h.mutex);
                if (h.queue.empty())
                    return;
                job = h.queue.front();
                h.queue.pop_front();
            }
            (*job->fn)();
            {
                std::lock_guard<std::mutex> lock(h.mutex);
                job->done = true;
            }
            h.finished.notify_all();
        }
    }
};

// Releases every waiter when the application object goes away: its queue
// will never be served again.
void closeHandOver()
{
    HandOver &h = handOver();
    {
        std::lock_guard<std::mutex> lock(h.mutex);
        h.closed = true;
        h.queue.clear();
        h.dispatcher = nullptr;
    }
    h.finished.notify_all();
}

// Called with h.mutex held.
QObject *dispatcherLocked(HandOver &h, QCoreApplication *app)
{
    if (!h.dispatcher) {
        auto *d = new Dispatcher;
        d->moveToThread(app->thread());
        QObject::connect(
            app, &QObject::destroyed, d, [] { closeHandOver(); }, Qt::DirectConnection);
        QObject::connect(app, &QObject::destroyed, d, &QObject::deleteLater, Qt::DirectConnection);
        h.dispatcher = d;
    }
    return h.dispatcher;
}

} // namespace

bool onGuiThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

int pendingGuiHandOvers()
{
    HandOver &h = handOver();
    std::lock_guard<std::mutex> lock(h.mutex);
    return int(h.queue.size());
}

void runOnGuiThread(const std::function<void()> &fn)
{
    if (onGuiThread()) {
        fn();
        return;
    }
    HandOver &h = handOver();
    Job job;
    job.fn = &fn;
    std::unique_lock<std::mutex> lock(h.mutex);
    QCoreApplication *app = QCoreApplication::instance();
    if (h.closed || !app)
        return;
    QObject *dispatcher = dispatcherLocked(h, app);
    h.queue.push_back(&job);
    QMetaObject::invokeMethod(dispatcher, "drain", Qt::QueuedConnection);
    h.finished.wait(lock, [&] { return job.done || h.closed; });
}

// ---------------------------------------------------------------------------
// Thread-checker builds only: hub signals emitted off the GUI thread hand
// their arguments to GUI-thread slots through Qt's event queue, an ordering
// the checker cannot see. A hand-over through the queue above just before the
// slots run and just after they have returned makes it visible.
#if defined(__SANITIZE_THREAD__)
#define VELMORAX_THREAD_CHECKER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VELMORAX_THREAD_CHECKER 1
#endif
#endif

#ifdef VELMORAX_THREAD_CHECKER
struct QSignalSpyCallbackSet
{
    typedef void (*BeginCallback)(QObject *caller, int signal_or_method_index, void **argv);
    typedef void (*EndCallback)(QObject *caller, int signal_or_method_index);
    BeginCallback signal_begin_callback, slot_begin_callback;
    EndCallback signal_end_callback, slot_end_callback;
};
void Q_CORE_EXPORT qt_register_signal_spy_callbacks(QSignalSpyCallbackSet *callback_set);

namespace {
void handOverIfHubOffGui(QObject *caller)
{
    if (qobject_cast<PostMsg *>(caller) && !onGuiThread())
        runOnGuiThread([] {});
}
void hubSignalBegins(QObject *caller, int, void **)
{
    handOverIfHubOffGui(caller);
}
void hubSignalEnds(QObject *caller, int)
{
    handOverIfHubOffGui(caller);
}
} // namespace

namespace {
QSignalSpyCallbackSet hubCallbacks = {hubSignalBegins, nullptr, hubSignalEnds, nullptr};
const bool hubCallbacksInstalled = [] {
    qt_register_signal_spy_callbacks(&hubCallbacks);
    return true;
}();
} // namespace
#endif

#include "guithread.moc"
