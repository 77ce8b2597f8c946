// velmora: the emulated device's shell and the command-line tools over its data. The program
// itself is this library; the executable only starts it (host/launcher), so that what needs no
// library at all, the version, is answered before any is loaded.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/CommandLine.h"
#include "host/modes/DeviceRun.h"
#include "host/tools/DhcpCommand.h"
#include "host/tools/DiagCommand.h"
#include "host/tools/NetCommand.h"
#include "host/tools/PingCommand.h"
#include "host/tools/ProfilesCommand.h"
#include "host/tools/RegTool.h"
#include "host/tools/ServiceCommand.h"
#include "host/tools/SettingsCommand.h"
#include "host/tools/UsageCommand.h"

namespace {

struct Command {
    const char* name;
    int (*run)(host::Arguments args);
    const char* summary;
};

int RunRegCommand(host::Arguments args)
{
    return RunRegTool(args, std::string());
}

const Command kCommands[] = {
    { "settings", host::RunSettingsCommand, "show the plug-in's settings as it loads them" },
    { "reg", RunRegCommand, "read and change the registry (query, add, delete, export, import)" },
    { "usage", host::RunUsageCommand, "usage reports, charts and CSV export from the usage logs" },
    { "net", host::RunNetCommand, "show each network interface as the status lines would" },
    { "diag", host::RunDiagCommand, "write the diagnostic report" },
    { "service", host::RunServiceCommand, "run the device headless as a systemd user service (install, start, ...)" },
    { "dhcp", host::RunDhcpCommand, "release or renew the tracked adapter's DHCP lease" },
    { "profiles", host::RunProfilesCommand, "list, show, add and delete the network profiles" },
    { "ping", host::RunPingCommand, "send echo requests as the ping dialog does" },
};

void PrintHelp()
{
    std::puts("Usage: velmora [run] [OPTIONS]                    (velmora run --help for the options)\n"
              "       velmora [--data DIR] COMMAND [ARGUMENTS]   (velmora COMMAND --help for each)\n"
              "       velmora --version\n"
              "\n"
              "Velmora network status monitor.\n"
              "\n"
              "Without a command, velmora starts the emulated device with the Velmora item on its Today\n"
              "screen: in a window when a display is present, else in the terminal (--headless).\n"
              "\n"
              "Commands:");
    std::printf("  %-10s %s\n", "run", "start the device (the default; --headless, --simulate, --script, ...)");
    for (const Command& command : kCommands)
        std::printf("  %-10s %s\n", command.name, command.summary);
    std::puts("\n--data DIR, before or after the command, is the data folder that holds the registry and\n"
              "the device's files (default: $VELMORA_DATA, else $XDG_DATA_HOME/velmora, else\n"
              "~/.local/share/velmora).");
}

} // namespace

extern "C" __attribute__((visibility("default"))) int VelmoraProgramMain(int argc, char** argv, int64_t startedNs)
{
    // The launcher's start, on the clock steady_clock reads: the first frame is timed from it.
    const std::chrono::steady_clock::time_point started { std::chrono::nanoseconds(startedNs) };
    host::Arguments args(argv + 1, argv + argc);
    // A --data given before the command is handed to the command.
    host::Arguments global;
    while (!args.empty() && (args.front() == "--data" || args.front().rfind("--data=", 0) == 0)) {
        global.push_back(args.front());
        args.erase(args.begin());
        if (global.back() == "--data" && !args.empty()) {
            global.push_back(args.front());
            args.erase(args.begin());
        }
    }
    if (!args.empty() && (args.front() == "--help" || args.front() == "-h" || args.front() == "help")) {
        PrintHelp();
        return 0;
    }
    if (!args.empty() && args.front() == "--version") {
        std::puts("velmora " VELMORA_VERSION);
        return 0;
    }
    // No command, or only the run's options: the device itself.
    if (args.empty() || args.front() == "run" || args.front().rfind("--", 0) == 0) {
        if (!args.empty() && args.front() == "run")
            args.erase(args.begin());
        args.insert(args.end(), global.begin(), global.end());
        try {
            return host::RunDevice(args, started);
        } catch (const host::MissingOptionValue& missing) {
            host::PrintError(missing.what());
            return 2;
        }
    }
    for (const Command& command : kCommands) {
        if (args.front() == command.name) {
            host::Arguments rest(args.begin() + 1, args.end());
            rest.insert(rest.end(), global.begin(), global.end());
            try {
                return command.run(rest);
            } catch (const host::MissingOptionValue& missing) {
                host::PrintError(missing.what());
                return 2;
            }
        }
    }
    std::fprintf(stderr, "velmora: unknown command '%s' (try velmora --help)\n", args.front().c_str());
    return 2;
}
