// One tick's refresh of both network snapshots with the Linux backend (count the interfaces,
// refresh the interface table and the adapter list), beside the kernel reads it may make: the
// counters once a tick (one pread of /proc/net/dev, measured against the link dump it
// replaced), and the dumps of links, addresses and routes after the kernel said they changed.
#include <benchmark/benchmark.h>

#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include "netinfo/InterfaceTable.h"
#include "netinfo/NetStatusInfo.h"
#include "platform/net/linux/LinuxNetBackend.h"
#include "platform/net/linux/Netlink.h"
#include "platform/net/linux/ProcNetDev.h"
#include "platform/time/Clock.h"

namespace {

// Each iteration a second after the last: the tick reads the counters once.
void RefreshBothSnapshotsEachTick(benchmark::State& state)
{
    platform::VirtualClock clock;
    platform::InstallClock(&clock);
    {
        InterfaceTable interfaces;
        NetStatusInfo adapters;
        for (auto _ : state) {
            clock.AdvanceSeconds(1);
            benchmark::DoNotOptimize(interfaces.InterfaceCount());
            benchmark::DoNotOptimize(interfaces.Refresh());
            benchmark::DoNotOptimize(adapters.Refresh());
        }
        state.counters["interfaces"] = interfaces.RowCount();
        state.counters["adapters"] = adapters.AdapterCount();
    }
    platform::InstallClock(nullptr);
}
BENCHMARK(RefreshBothSnapshotsEachTick)->Unit(benchmark::kMicrosecond);

// The counters of every link: the link dump the tick used to make for them, and parsing it.
void CountersByLinkDump(benchmark::State& state)
{
    platform::linuxnet::NetlinkSocket socket;
    std::vector<uint8_t> replies;
    for (auto _ : state) {
        benchmark::DoNotOptimize(socket.Dump(RTM_GETLINK, AF_UNSPEC, replies));
        benchmark::DoNotOptimize(platform::linuxnet::ParseLinkMessages(replies.data(), replies.size()));
    }
    state.counters["bytes"] = static_cast<double>(replies.size());
}
BENCHMARK(CountersByLinkDump)->Unit(benchmark::kMicrosecond);

// The same from /proc/net/dev, kept open and read from its start.
void CountersByProcNetDev(benchmark::State& state)
{
    platform::linuxnet::ProcNetDev reader;
    std::vector<platform::linuxnet::LinkCounters> rows;
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.Read(rows));
    state.counters["links"] = static_cast<double>(rows.size());
}
BENCHMARK(CountersByProcNetDev)->Unit(benchmark::kMicrosecond);

// What a change notification costs the next tick: the three dumps.
void KernelDumpsAfterAChange(benchmark::State& state)
{
    platform::linuxnet::NetlinkSocket socket;
    std::vector<uint8_t> replies;
    for (auto _ : state) {
        benchmark::DoNotOptimize(socket.Dump(RTM_GETLINK, AF_UNSPEC, replies));
        benchmark::DoNotOptimize(socket.Dump(RTM_GETADDR, AF_INET, replies));
        benchmark::DoNotOptimize(socket.Dump(RTM_GETROUTE, AF_INET, replies));
    }
}
BENCHMARK(KernelDumpsAfterAChange)->Unit(benchmark::kMicrosecond);

void LinuxBackendFullQuery(benchmark::State& state)
{
    platform::LinuxNetBackend backend;
    platform::NetSnapshot snapshot;
    for (auto _ : state)
        benchmark::DoNotOptimize(backend.Query(platform::kNetAll, snapshot));
}
BENCHMARK(LinuxBackendFullQuery)->Unit(benchmark::kMicrosecond);

} // namespace
