// Ping figures on this machine's loopback: one echo request as the ping dialog sends it; the
// ping dialog itself on the real-time driver, from the press of its button until its result
// field holds the first line (the 50 ms timer, the echo and the dispatch around them), beside
// the wall time of one `ping -c 1 127.0.0.1`; and the whole-process CPU of
// `velmora ping 127.0.0.1 -c 4` beside iputils' `ping -c 4 -i 1 127.0.0.1` in the same run,
// from wait4's resource use of each child (the median of the repetitions). Peak memory is left
// to scripts/bench-ping.sh: a child's peak counts the memory it shared with this process until
// its exec, so here it would read as this program's size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ping/PingDialog.h"
#include "platform/module/ModuleLoader.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/WinUser.h"
#include "platform/winsock/IcmpApi.h"
#include "resources/ResourceIds.h"

extern char** environ;

namespace {

void EchoOnLoopback(benchmark::State& state)
{
    HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE) {
        state.SkipWithError("this machine allows neither an ICMP datagram socket nor a raw socket");
        return;
    }
    PingReplyBuffer reply;
    for (auto _ : state) {
        if (SendPingRequest(icmp, inet_addr("127.0.0.1"), reply) != 1) {
            state.SkipWithError("the loopback did not answer");
            break;
        }
    }
    IcmpCloseHandle(icmp);
}
BENCHMARK(EchoOnLoopback)->Unit(benchmark::kMicrosecond);

// The press and the first line of one visit to the ping dialog.
struct PressTiming {
    std::chrono::steady_clock::time_point pressed;
    std::optional<std::chrono::steady_clock::duration> firstLine;
};
PressTiming g_press;

constexpr UINT kPressPing = WM_APP + 1;

// The dialog's own procedure with the user's hands around it: once its modal loop runs, the
// target is typed and the button pressed; the clock stops when a timer's handler has left the
// first result line, and the dialog is closed as the user closes it.
INT_PTR MeasuredPingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kPressPing) {
        SetDlgItemTextW(dialog, IDC_PING_TARGET, L"127.0.0.1");
        g_press.pressed = std::chrono::steady_clock::now();
        SendMessageW(GetDlgItem(dialog, IDC_PING_START), BM_CLICK, 0, 0);
        return TRUE;
    }
    INT_PTR handled = PingDialogProc(dialog, message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        PostMessageW(dialog, kPressPing, 0, 0);
    } else if (message == WM_TIMER && !g_press.firstLine
        && GetWindowTextLengthW(GetDlgItem(dialog, IDC_PING_RESULT)) > 0) {
        g_press.firstLine = std::chrono::steady_clock::now() - g_press.pressed;
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    return handled;
}

// The plug-in's module, loaded once as the Today screen loads it, over a registry in memory;
// the windows go to the rendering backend's offscreen screen and run on its real-time driver.
HMODULE PluginModuleOnce()
{
    static HMODULE module = [] {
        platform::OpenRegistryStore({}, platform::RegistryStoreMode::MemoryOnly);
        platform::SetModuleSearchPath({ VELMORA_BINARY_DIR });
        return LoadLibraryW(L"velmora.dll");
    }();
    return module;
}

void PingDialogFirstLine(benchmark::State& state)
{
    HANDLE probe = IcmpCreateFile();
    if (probe == INVALID_HANDLE_VALUE) {
        // The dialog would stop at its message box, which nobody here answers.
        state.SkipWithError("this machine allows neither an ICMP datagram socket nor a raw socket");
        return;
    }
    IcmpCloseHandle(probe);
    HMODULE module = PluginModuleOnce();
    if (module == nullptr) {
        state.SkipWithError("the plug-in's module did not load");
        return;
    }
    for (auto _ : state) {
        g_press = PressTiming {};
        DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_PING), nullptr, MeasuredPingProc, 0);
        if (!g_press.firstLine) {
            state.SkipWithError("the dialog closed without a result line");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(*g_press.firstLine).count());
    }
}

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

// The peer of the dialog's first line: one echo by iputils' ping, from its start to its end.
void IputilsPingOnce(benchmark::State& state)
{
    for (auto _ : state) {
        rusage usage {};
        int status = 0;
        auto started = std::chrono::steady_clock::now();
        if (!RunMeasured({ "ping", "-c", "1", "127.0.0.1" }, usage, status) || !WIFEXITED(status)
            || WEXITSTATUS(status) != 0) {
            state.SkipWithError("ping did not run, or the loopback did not answer");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    }
}

double Smallest(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}
double Largest(const std::vector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}

// Twenty presses, each in a dialog of its own, and twenty echoes of the peer, one after the other.
BENCHMARK(PingDialogFirstLine)->Iterations(1)->Repetitions(20)->ReportAggregatesOnly(true)->UseManualTime()
    ->ComputeStatistics("min", Smallest)->ComputeStatistics("max", Largest)->Unit(benchmark::kMillisecond);
BENCHMARK(IputilsPingOnce)->Iterations(1)->Repetitions(20)->ReportAggregatesOnly(true)->UseManualTime()
    ->ComputeStatistics("min", Smallest)->ComputeStatistics("max", Largest)->Unit(benchmark::kMillisecond);

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
