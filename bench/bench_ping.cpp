// Ping figures on this machine's loopback: one echo request as the ping dialog sends it (the
// first result line shows the 50 ms timer plus this after the press), and the whole-process CPU
// of `velmora ping 127.0.0.1 -c 4` beside iputils' `ping -c 4 -i 1 127.0.0.1` in the same run,
// from wait4's resource use of each child (the median of the repetitions). Peak memory is left
// to scripts/bench-ping.sh: a child's peak counts the memory it shared with this process until
// its exec, so here it would read as this program's size.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ping/PingDialog.h"
#include "platform/winsock/IcmpApi.h"

extern char** environ;

namespace {

void EchoOnLoopback(benchmark::State& state)
{
    HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE) {
        state.SkipWithError("this machine allows neither an ICMP datagram socket nor a raw socket");
        return;
    }
    std::array<BYTE, kPingDataBytes> data {};
    IP_OPTION_INFORMATION options {};
    options.Ttl = kPingTtl;
    options.Flags = IP_FLAG_DF;
    std::array<uint64_t, kPingReplyBytes / sizeof(uint64_t)> reply {};
    for (auto _ : state) {
        DWORD count = IcmpSendEcho(icmp, inet_addr("127.0.0.1"), data.data(), kPingDataBytes, &options, reply.data(),
            kPingReplyBytes, kPingTimeoutMs);
        if (count != 1) {
            state.SkipWithError("the loopback did not answer");
            break;
        }
    }
    IcmpCloseHandle(icmp);
}
BENCHMARK(EchoOnLoopback)->Unit(benchmark::kMicrosecond);

// Runs the program to its end with its output on /dev/null; false when it could not.
bool RunMeasured(const std::vector<std::string>& argv, rusage& usage, int& status)
{
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    int spawned = posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    return ::wait4(child, &status, 0, &usage) == child;
}

void PingProcess(benchmark::State& state, const std::vector<std::string>& argv)
{
    double cpuMs = 0;
    for (auto _ : state) {
        rusage usage {};
        int status = 0;
        if (!RunMeasured(argv, usage, status) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError((argv[0] + " did not run, or the loopback did not answer").c_str());
            return;
        }
        cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0
            + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    }
    state.counters["cpu_ms"] = cpuMs;
}

void VelmoraPing(benchmark::State& state)
{
    PingProcess(state, { VELMORA_BINARY_DIR "/velmora", "ping", "127.0.0.1", "-c", "4" });
}
void IputilsPing(benchmark::State& state)
{
    PingProcess(state, { "ping", "-c", "4", "-i", "1", "127.0.0.1" });
}
// Each run takes three seconds of pauses: one run an iteration, the median of five.
BENCHMARK(VelmoraPing)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(IputilsPing)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
