#include "host/tools/ServiceCommand.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "host/DeviceStorage.h"
#include "host/ReplaceFile.h"
#include "host/ServiceUnit.h"
#include "host/Systemctl.h"
#include "platform/core/DataFolder.h"
#include "platform/files/WholeFile.h"

namespace fs = std::filesystem;

namespace host {

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitArguments = 2;

void PrintHelp()
{
    std::puts("Usage: velmora service install [--data DIR]\n"
              "       velmora service uninstall|start|stop|status\n"
              "\n"
              "Runs the device as a systemd user service, `velmora --data DIR --headless --quiet`, so that\n"
              "the usage logs are kept while no window is open. Its errors go to the journal\n"
              "(journalctl --user -u velmora); it prints nothing else.\n"
              "\n"
              "  install     write the unit ~/.config/systemd/user/velmora.service (under $XDG_CONFIG_HOME\n"
              "              when set) for this program and the data folder (--data DIR, else $VELMORA_DATA,\n"
              "              else $XDG_DATA_HOME/velmora, else ~/.local/share/velmora), reload the service\n"
              "              manager and enable the unit: it starts with your user's service manager (at\n"
              "              login), and is restarted when it fails. It is not started now.\n"
              "  uninstall   stop and disable the service, remove its unit and reload the manager\n"
              "  start       start it now; refused while a window or another run holds its data folder\n"
              "  stop        stop it (as Ctrl-C stops a run) and free its data folder\n"
              "  status      whether the unit is installed, enabled and active, and its data folder\n"
              "  --help      show this text\n"
              "\n"
              "A window or headless run started on the service's data folder stops the service, and starts\n"
              "it again when it ends. Commands that change the registry (reg add, reg delete, reg import,\n"
              "settings --save) are refused while the service runs: velmora service stop first.\n"
              "\n"
              "Needs systemd: systemctl and a user service manager (a login session's, or one kept by\n"
              "`loginctl enable-linger`). Without them every subcommand says so and fails.\n"
              "Exit codes: 0 done, 1 failed (nothing done when systemd is missing), 2 bad arguments.");
}

int Fail(const std::string& message)
{
    PrintError("service: " + message);
    return kExitFailed;
}

bool HasControlCharacters(const std::string& text)
{
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F)
            return true;
    return false;
}

// What the unit file says, when there is one.
struct InstalledUnit {
    fs::path path;
    bool present = false;
    std::optional<fs::path> dataFolder;

    std::string DataFolderText() const { return dataFolder ? dataFolder->string() : std::string("(none named)"); }
};

InstalledUnit ReadInstalledUnit()
{
    InstalledUnit unit;
    unit.path = ServiceUnitPath();
    if (unit.path.empty())
        return unit;
    if (std::string text; platform::ReadWholeFile(unit.path, text) == 0) {
        unit.present = true;
        unit.dataFolder = ServiceUnitDataFolder(text);
    }
    return unit;
}

int Install(Systemctl& systemctl, const fs::path& dataArgument)
{
    std::error_code error;
    fs::path data = fs::absolute(dataArgument, error).lexically_normal();
    if (error)
        return Fail("cannot tell where the data folder " + dataArgument.string() + " is: " + error.message());
    // "/home/me/data/" and "/home/me/data" are one folder; the unit names it one way.
    if (!data.has_filename() && data.has_parent_path() && data != data.root_path())
        data = data.parent_path();
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return Fail("cannot tell where this program is (/proc/self/exe): " + error.message());
    if (HasControlCharacters(data.string()) || HasControlCharacters(program.string()))
        return Fail("a unit file cannot name a path with control characters in it");
    InstalledUnit before = ReadInstalledUnit();
    if (before.path.empty())
        return Fail("neither XDG_CONFIG_HOME nor HOME names a folder for the unit file");
    if (std::string problem = systemctl.Problem(); !problem.empty())
        return Fail(problem);

    fs::create_directories(before.path.parent_path(), error);
    if (error)
        return Fail("cannot create " + before.path.parent_path().string() + ": " + error.message());
    if (std::string problem = ReplaceFileContents(before.path, ServiceUnitText(program, data)); !problem.empty())
        return Fail(problem);
    if (SystemctlResult reload = systemctl.Run({ "daemon-reload" }); !reload.Ok())
        return Fail("wrote " + before.path.string() + ", but the service manager did not reload it: " + reload.FirstLine());
    if (SystemctlResult enable = systemctl.Run({ "enable", kServiceUnitName }); !enable.Ok())
        return Fail("wrote " + before.path.string() + ", but the service manager did not enable it: " + enable.FirstLine());

    std::printf("Installed %s: %s --data %s --headless --quiet\n", kServiceUnitName, program.c_str(), data.c_str());
    std::printf("Unit file: %s (enabled: it starts with your service manager)\n", before.path.c_str());
    if (!systemctl.Active(kServiceUnitName))
        std::puts("Start it now with: velmora service start");
    else if (before.dataFolder && *before.dataFolder != data)
        std::printf("The running service still serves %s until it is stopped and started again.\n",
            before.dataFolder->c_str());
    return kExitDone;
}

int Uninstall(Systemctl& systemctl)
{
    InstalledUnit unit = ReadInstalledUnit();
    if (std::string problem = systemctl.Problem(); !problem.empty())
        return Fail(problem);
    if (!unit.present) {
        std::printf("%s is not installed (no %s); nothing to remove.\n", kServiceUnitName, unit.path.c_str());
        return kExitDone;
    }
    if (systemctl.Active(kServiceUnitName)) {
        if (SystemctlResult stop = systemctl.Run({ "stop", kServiceUnitName }); !stop.Ok())
            return Fail("cannot stop " + std::string(kServiceUnitName) + ": " + stop.FirstLine());
    }
    if (SystemctlResult disable = systemctl.Run({ "disable", kServiceUnitName }); !disable.Ok())
        return Fail("cannot disable " + std::string(kServiceUnitName) + ": " + disable.FirstLine());
    std::error_code error;
    if (!fs::remove(unit.path, error) && error)
        return Fail("cannot remove " + unit.path.string() + ": " + error.message());
    if (SystemctlResult reload = systemctl.Run({ "daemon-reload" }); !reload.Ok())
        return Fail("removed " + unit.path.string() + ", but the service manager did not reload: " + reload.FirstLine());
    std::printf("Removed %s (%s); the data folder %s is left as it is.\n", kServiceUnitName, unit.path.c_str(),
        unit.DataFolderText().c_str());
    return kExitDone;
}

int Start(Systemctl& systemctl)
{
    InstalledUnit unit = ReadInstalledUnit();
    if (std::string problem = systemctl.Problem(); !problem.empty())
        return Fail(problem);
    if (!unit.present)
        return Fail(std::string(kServiceUnitName) + " is not installed: velmora service install first");
    if (systemctl.Active(kServiceUnitName)) {
        std::printf("%s already runs on %s.\n", kServiceUnitName, unit.DataFolderText().c_str());
        return kExitDone;
    }
    // The service would only fail to take the folder, and be restarted again and again.
    if (unit.dataFolder && DataFolderHeld(*unit.dataFolder))
        return Fail("the data folder " + unit.dataFolder->string()
            + " is in use by a running velmora (a window or a headless run); end it first, then start the service");
    if (SystemctlResult start = systemctl.Run({ "start", kServiceUnitName }); !start.Ok())
        return Fail("cannot start " + std::string(kServiceUnitName) + ": " + start.FirstLine());
    if (!systemctl.Active(kServiceUnitName))
        return Fail(std::string(kServiceUnitName) + " did not keep running (" + systemctl.ActiveState(kServiceUnitName)
            + "); journalctl --user -u velmora tells why");
    std::printf("Started %s on %s.\n", kServiceUnitName, unit.DataFolderText().c_str());
    return kExitDone;
}

int Stop(Systemctl& systemctl)
{
    InstalledUnit unit = ReadInstalledUnit();
    if (std::string problem = systemctl.Problem(); !problem.empty())
        return Fail(problem);
    if (!systemctl.Active(kServiceUnitName)) {
        if (!unit.present)
            return Fail(std::string(kServiceUnitName) + " is not installed");
        std::printf("%s is not running.\n", kServiceUnitName);
        return kExitDone;
    }
    if (SystemctlResult stop = systemctl.Run({ "stop", kServiceUnitName }); !stop.Ok())
        return Fail("cannot stop " + std::string(kServiceUnitName) + ": " + stop.FirstLine());
    std::printf("Stopped %s; its data folder %s is free.\n", kServiceUnitName, unit.DataFolderText().c_str());
    return kExitDone;
}

int Status(Systemctl& systemctl)
{
    InstalledUnit unit = ReadInstalledUnit();
    std::printf("%s\n", kServiceUnitName);
    std::printf("  unit file:    %s (%s)\n", unit.path.empty() ? "(no HOME)" : unit.path.c_str(),
        unit.present ? "installed" : "not installed");
    if (unit.present)
        std::printf("  data folder:  %s\n", unit.DataFolderText().c_str());
    std::fflush(stdout);
    if (std::string problem = systemctl.Problem(); !problem.empty())
        return Fail(problem);
    std::string enabled = systemctl.EnabledState(kServiceUnitName);
    std::printf("  enabled:      %s\n", enabled.empty() ? "no (unknown to the service manager)" : enabled.c_str());
    std::printf("  active:       %s\n", systemctl.ActiveState(kServiceUnitName).c_str());
    return kExitDone;
}

} // namespace

int RunServiceCommand(Arguments args)
{
    if (TakeFlag(args, "--help") || TakeFlag(args, "-h")) {
        PrintHelp();
        return kExitDone;
    }
    std::optional<std::string> data = TakeOption(args, "--data");
    if (args.empty()) {
        PrintError("service: which one: install, uninstall, start, stop or status (try velmora service --help)");
        return kExitArguments;
    }
    std::string verb = args.front();
    args.erase(args.begin());
    if (!args.empty()) {
        PrintError("service: unexpected argument '" + args.front() + "' (try velmora service --help)");
        return kExitArguments;
    }
    if (data && data->empty())
        return kExitArguments;
    if (data && verb != "install") {
        PrintError("service: --data goes with install; the service serves the folder its unit names");
        return kExitArguments;
    }
    Systemctl systemctl;
    if (verb == "install")
        return Install(systemctl, platform::ResolveDataFolder(data.value_or(std::string())));
    if (verb == "uninstall")
        return Uninstall(systemctl);
    if (verb == "start")
        return Start(systemctl);
    if (verb == "stop")
        return Stop(systemctl);
    if (verb == "status")
        return Status(systemctl);
    PrintError("service: unknown subcommand '" + verb + "' (try velmora service --help)");
    return kExitArguments;
}

} // namespace host
