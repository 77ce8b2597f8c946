#include "host/tools/PingCommand.h"

#include <array>
#include <cstdio>
#include <memory>
#include <optional>

#include <poll.h>

#include "host/modes/SimulatedDevice.h"
#include "host/modes/StopSignal.h"
#include "ping/PingDialog.h"
#include "ping/PingResult.h"
#include "platform/text/NumberText.h"
#include "platform/text/WideString.h"

namespace host {

namespace {

constexpr DWORD kMaxRequests = 1000000;

void PrintHelp()
{
    std::printf("Usage: velmora ping HOST [-c N] [--simulate SCENARIO]\n"
                "\n"
                "Sends echo requests to HOST (a dotted IPv4 address or a host name) as the plug-in's ping\n"
                "dialog does: 32 bytes, TTL 32, don't fragment, up to %u ms for each answer, one request a\n"
                "second after the previous result; prints the dialog's status caption and one result line\n"
                "per request (\"10.0.0.1: OK (3ms)\", \"Request timed out.\", \"Error: TTL Expired\", ...).\n"
                "\n"
                "  -c N                   the number of requests (default %d)\n"
                "  --simulate SCENARIO    names and answers from a scenario file's host and echo lines, on\n"
                "                         the scenario's virtual time, instead of this machine's network\n"
                "  --help                 show this text\n"
                "\n"
                "Exit status: 0 when HOST answered at least once, 1 when it never did, 2 when it could not\n"
                "be pinged (the name does not resolve, the machine allows no echo socket, a wrong argument).\n"
                "Echo requests need an ICMP datagram socket (net.ipv4.ping_group_range must hold one of\n"
                "your groups) or a raw socket (CAP_NET_RAW).\n",
        kPingTimeoutMs, kPingRequests);
}

// The pause before the next request: the virtual clock moves on in a simulation; otherwise
// the pause ends early when a stop is asked for. False when stopped.
bool Pause(SimulatedDevice* simulation, const StopSignal& stop, UINT ms)
{
    if (simulation != nullptr) {
        simulation->Clock().AdvanceMs(ms);
        return true;
    }
    pollfd wait { stop.ReadFd(), POLLIN, 0 };
    ::poll(&wait, stop.ReadFd() >= 0 ? 1 : 0, static_cast<int>(ms));
    return !stop.Requested();
}

} // namespace

int RunPingCommand(Arguments args)
{
    if (TakeFlag(args, "--help") || TakeFlag(args, "-h")) {
        PrintHelp();
        return 0;
    }
    TakeOption(args, "--data"); // nothing of the data folder is needed
    std::optional<std::string> countText = TakeOption(args, "-c");
    std::optional<std::string> scenario = TakeOption(args, "--simulate");
    if (args.size() != 1 || args.front().rfind("-", 0) == 0) {
        PrintError(args.empty() ? "ping: which host? (try velmora ping --help)"
                                : "ping: unexpected argument '" + args.back() + "' (try velmora ping --help)");
        return 2;
    }
    DWORD requests = kPingRequests;
    if (countText) {
        std::optional<DWORD> count = platform::ParseDword(*countText);
        if (!count || *count == 0 || *count > kMaxRequests) {
            PrintError("ping: -c takes a number from 1 to " + std::to_string(kMaxRequests));
            return 2;
        }
        requests = *count;
    }

    std::unique_ptr<SimulatedDevice> simulation;
    if (scenario) {
        simulation = std::make_unique<SimulatedDevice>();
        if (std::string problem = simulation->Load(*scenario); !problem.empty()) {
            PrintError("ping: " + problem);
            return 2;
        }
        simulation->Start();
    }
    StopSignal stop;

    std::wstring target = Utf8ToWide(args.front());
    PingTarget resolved = ResolvePingTarget(target);
    if (!resolved.problem.empty()) {
        PrintError("ping: " + args.front() + ": " + WideToUtf8(resolved.problem));
        return 2;
    }
    HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE) {
        PrintError("ping: Error creating ICMP handle. Ping functions are unavailable.");
        return 2;
    }
    std::printf("%s\n", WideToUtf8(PingCaption(resolved.destination)).c_str());
    std::fflush(stdout);

    bool answered = false;
    for (DWORD sent = 0; sent < requests && !stop.Requested(); ++sent) {
        if (sent != 0 && !Pause(simulation.get(), stop, kPingIntervalMs))
            break;
        PingReplyBuffer reply;
        DWORD count = SendPingRequest(icmp, resolved.destination, reply);
        const ICMP_ECHO_REPLY& first = reply.First();
        answered = answered || (count != 0 && first.Status == IP_SUCCESS);
        std::wstring line;
        AppendPingResult(line, count, first);
        std::fputs(WideToUtf8(line).c_str(), stdout);
        std::fflush(stdout);
    }
    IcmpCloseHandle(icmp);
    return answered ? 0 : 1;
}

} // namespace host
