// One refresh of both network snapshots with the Linux backend (what the tick does every
// second: count the interfaces, refresh the interface table and the adapter list), beside the
// kernel queries it makes (routing-socket dumps of links, addresses and routes).
#include <benchmark/benchmark.h>

#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include "netinfo/InterfaceTable.h"
#include "netinfo/NetStatusInfo.h"
#include "platform/net/linux/LinuxNetBackend.h"
#include "platform/net/linux/Netlink.h"

namespace {

void RefreshBothSnapshots(benchmark::State& state)
{
    InterfaceTable interfaces;
    NetStatusInfo adapters;
    for (auto _ : state) {
        benchmark::DoNotOptimize(interfaces.InterfaceCount());
        benchmark::DoNotOptimize(interfaces.Refresh());
        benchmark::DoNotOptimize(adapters.Refresh());
    }
    state.counters["interfaces"] = interfaces.RowCount();
    state.counters["adapters"] = adapters.AdapterCount();
}
BENCHMARK(RefreshBothSnapshots)->Unit(benchmark::kMicrosecond);

// The kernel's side of one refresh: the tick's four queries ask for the links four times,
// and for addresses and routes once each.
void KernelQueriesOfOneRefresh(benchmark::State& state)
{
    platform::linuxnet::NetlinkSocket socket;
    std::vector<uint8_t> replies;
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i)
            benchmark::DoNotOptimize(socket.Dump(RTM_GETLINK, AF_UNSPEC, replies));
        benchmark::DoNotOptimize(socket.Dump(RTM_GETLINK, AF_UNSPEC, replies));
        benchmark::DoNotOptimize(socket.Dump(RTM_GETADDR, AF_INET, replies));
        benchmark::DoNotOptimize(socket.Dump(RTM_GETROUTE, AF_INET, replies));
    }
}
BENCHMARK(KernelQueriesOfOneRefresh)->Unit(benchmark::kMicrosecond);

void KernelLinkDump(benchmark::State& state)
{
    platform::linuxnet::NetlinkSocket socket;
    std::vector<uint8_t> replies;
    for (auto _ : state)
        benchmark::DoNotOptimize(socket.Dump(RTM_GETLINK, AF_UNSPEC, replies));
    state.counters["bytes"] = static_cast<double>(replies.size());
}
BENCHMARK(KernelLinkDump)->Unit(benchmark::kMicrosecond);

void LinuxBackendFullQuery(benchmark::State& state)
{
    platform::LinuxNetBackend backend;
    platform::NetSnapshot snapshot;
    for (auto _ : state)
        benchmark::DoNotOptimize(backend.Query(platform::kNetAll, snapshot));
}
BENCHMARK(LinuxBackendFullQuery)->Unit(benchmark::kMicrosecond);

} // namespace
