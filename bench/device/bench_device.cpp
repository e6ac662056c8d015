// GUI-thread cost of the device link's hot paths against the simulated mouse:
// one setter call end to end (online query, field write, send) and the
// decoding of a full configuration dump.
#include "app/postmsg.h"
#include "device/devicestate.h"
#include "device/reportdecoder.h"
#include "device/setters.h"
#include "platform/hidusb/simcontrol.h"
#include "platform/userpaths.h"

#include <benchmark/benchmark.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

namespace sim = hidusb::sim;

namespace {

std::mutex dumpMutex;
QByteArray dump;
std::atomic<int> dumps{0};

void keepDump(const unsigned char *h, int hl, const unsigned char *payload, int length)
{
    if (hl > 4 && h[1] == hidusb::ReportData && h[4] == 0 && length == hidusb::kDumpSize) {
        std::lock_guard<std::mutex> lock(dumpMutex);
        dump = QByteArray(reinterpret_cast<const char *>(payload), length);
        ++dumps;
    }
}
void ignoreReports(const unsigned char *, int, const unsigned char *, int) {}

const unsigned char dumpHeader[5] = {0, hidusb::ReportData, 0, 0, hidusb::DataFullDump};

void pumpUntil(const std::function<bool()> &done)
{
    QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Opens the default simulated mouse and loads its record into currentFlashData.
bool openMouse()
{
    QDir(userDataRoot() + "/Simulator").removeRecursively();
    sim::loadDefaultScenario();
    sim::setJournalEnabled(false);
    const QString path = sim::pathOf("receiver");
    DeviceAllInfo entry;
    entry.path = path;
    const UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(path.toLocal8Bit().constData(), 0);
    entry.id = info.id;
    entry.linkCode = info.linkCode;
    entry.modelIndex = 0;
    entry.online = true;
    currentDevice = entry;
    currentDevicePath = path.toLocal8Bit();
    UsbServerC_Start(currentDevicePath, currentDevicePath, keepDump);
    // Choosing the device begins an attach: only a record read in it may be
    // sent.
    beginAttach(entry);
    UsbServer_ReadAllFlashData();
    pumpUntil([] { return dumps.load() > 0; });
    if (dumps.load() == 0)
        return false;
    // Later answers to the decoder's follow-up requests go nowhere.
    UsbServerC_Start(currentDevicePath, currentDevicePath, ignoreReports);
    onDeviceReport(dumpHeader, 5, reinterpret_cast<const unsigned char *>(dump.constData()), dump.size());
    return currentFlashDataIsOpenDevice();
}

void BM_SetterOneByte(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state) {
        if (!setMotionSync(++i & 1))
            state.SkipWithError("setter refused");
    }
    sim::waitIdle();
}
BENCHMARK(BM_SetterOneByte);

void BM_SetterMacro(benchmark::State &state)
{
    ButtonFunction fn{6, 1, 0};
    MacroRecord macro{};
    macro.nameLength = 4;
    std::memcpy(macro.name, "Demo", 4);
    macro.slotCount = 70;
    int i = 0;
    for (auto _ : state) {
        for (int k = 0; k < 70; ++k)
            macro.events[k] = KeyEvent{quint8(k & 1), 1, quint16(4 + (k + i) % 26), quint32(10 + i % 50)};
        ++i;
        if (!setButtonMacro(i % 16, &fn, &macro))
            state.SkipWithError("setter refused");
    }
    sim::waitIdle();
}
BENCHMARK(BM_SetterMacro);

// The decoder on the GUI thread itself (its GUI work runs inline).
void BM_DecodeFullDump(benchmark::State &state)
{
    const auto *payload = reinterpret_cast<const unsigned char *>(dump.constData());
    for (auto _ : state)
        onDeviceReport(dumpHeader, 5, payload, dump.size());
    sim::waitIdle();
}
BENCHMARK(BM_DecodeFullDump);

// The decoder on a library thread, as in the program: the GUI thread sleeps
// in its event loop and serves the decoder's hand-overs. Wall time is the
// latency of one dump; CPU time is what the GUI thread spends on it.
void BM_DecodeFullDumpFromLibraryThread(benchmark::State &state)
{
    QAbstractEventDispatcher *gui = QAbstractEventDispatcher::instance();
    std::atomic<int> requested{0}, finished{0};
    std::atomic<bool> quit{false};
    std::mutex m;
    std::condition_variable cv;
    std::thread library([&] {
        const auto *payload = reinterpret_cast<const unsigned char *>(dump.constData());
        int done = 0;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(m);
                cv.wait(lock, [&] { return quit.load() || requested.load() > done; });
                if (quit)
                    return;
            }
            onDeviceReport(dumpHeader, 5, payload, dump.size());
            finished = ++done;
            gui->wakeUp();
        }
    });
    for (auto _ : state) {
        {
            std::lock_guard<std::mutex> lock(m);
            ++requested;
        }
        cv.notify_all();
        while (finished.load() < requested.load())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    {
        std::lock_guard<std::mutex> lock(m);
        quit = true;
    }
    cv.notify_all();
    library.join();
    sim::waitIdle();
}
BENCHMARK(BM_DecodeFullDumpFromLibraryThread);

// One hand-over from a library thread to the GUI thread and back.
void BM_GuiHandOver(benchmark::State &state)
{
    std::atomic<int> requested{0}, finished{0};
    std::atomic<bool> quit{false};
    QAbstractEventDispatcher *gui = QAbstractEventDispatcher::instance();
    std::thread library([&] {
        int done = 0;
        while (!quit) {
            if (requested.load() > done) {
                runOnGuiThread([] {});
                finished = ++done;
                gui->wakeUp();
            } else {
                std::this_thread::yield();
            }
        }
    });
    for (auto _ : state) {
        const int target = ++requested;
        while (finished.load() < target)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    quit = true;
    library.join();
}
BENCHMARK(BM_GuiHandOver);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    PostMsg::instance();
    if (!openMouse()) {
        fprintf(stderr, "could not open the simulated mouse\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    UsbServer_Exit();
    return 0;
}
