// Cost of the calls the program makes most: the online query (before every
// write and on every slider step) and the record update after a one-byte
// change, with the packets each update puts on the wire.

#include "platform/hidusb/hidusb.h"
#include "platform/hidusb/simcontrol.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

QByteArray receiverPath()
{
    return hidusb::sim::pathOf("receiver").toLocal8Bit();
}

void noReports(const unsigned char *, int, const unsigned char *, int) {}

FlashDataMap attach(const QByteArray &path)
{
    UsbServerC_Start(path.constData(), path.constData(), &noReports);
    FlashDataMap record;
    hidusb::sim::flashRecord("mouse", &record);
    ProtocolDataUpdate(&record); // the library learns the device's image
    hidusb::sim::waitIdle();
    return record;
}

void BM_GetDeviceOnLine(benchmark::State &state)
{
    hidusb::sim::setJournalEnabled(state.range(0) != 0);
    const QByteArray path = receiverPath();
    for (auto _ : state)
        benchmark::DoNotOptimize(UsbFinderC_GetDeviceOnLine(path.constData()));
    hidusb::sim::setJournalEnabled(true);
    hidusb::sim::clearJournal();
}
BENCHMARK(BM_GetDeviceOnLine)->ArgName("journal")->Arg(1)->Arg(0);

void BM_ProtocolDataUpdateOneByte(benchmark::State &state)
{
    const QByteArray path = receiverPath();
    FlashDataMap record = attach(path);
    hidusb::sim::resetCounters();
    std::uint64_t updates = 0;
    for (auto _ : state) {
        record.debounceTime = static_cast<unsigned char>(record.debounceTime + 1);
        ProtocolDataUpdate(&record);
        ++updates;
        if (updates % 64 == 0) {
            state.PauseTiming();
            hidusb::sim::waitIdle(); // let the device keep up, outside the timing
            hidusb::sim::clearJournal();
            state.ResumeTiming();
        }
    }
    hidusb::sim::waitIdle();
    const hidusb::sim::Counters c = hidusb::sim::counters();
    state.counters["packets_per_update"] = double(c.packetsToDevice) / double(updates);
    state.counters["bytes_per_update"] = double(c.bytesToDevice) / double(updates);
    UsbServer_Exit();
}
BENCHMARK(BM_ProtocolDataUpdateOneByte);

void BM_ProtocolDataUpdateUnchanged(benchmark::State &state)
{
    const QByteArray path = receiverPath();
    FlashDataMap record = attach(path);
    hidusb::sim::resetCounters();
    std::uint64_t updates = 0;
    for (auto _ : state) {
        ProtocolDataUpdate(&record);
        ++updates;
        if (updates % 1024 == 0) {
            state.PauseTiming();
            hidusb::sim::clearJournal();
            state.ResumeTiming();
        }
    }
    state.counters["packets_per_update"] = double(hidusb::sim::counters().packetsToDevice) / double(updates);
    UsbServer_Exit();
}
BENCHMARK(BM_ProtocolDataUpdateUnchanged);

void BM_ParseDump(benchmark::State &state)
{
    const QByteArray path = receiverPath();
    FlashDataMap record = attach(path);
    UsbServer_Exit();
    // A dump as the mouse sends it: its image.
    const QByteArray image = hidusb::sim::flashImage("mouse");
    FlashDataMap out;
    for (auto _ : state) {
        ProtocolDataParser(reinterpret_cast<const unsigned char *>(image.constData()), &out);
        benchmark::DoNotOptimize(out);
        if ((state.iterations() & 1023) == 0) {
            state.PauseTiming();
            hidusb::sim::clearJournal();
            state.ResumeTiming();
        }
    }
    (void)record;
}
BENCHMARK(BM_ParseDump);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    hidusb::sim::restart();
    hidusb::sim::loadDefaultScenario();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
