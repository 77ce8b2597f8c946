#include "host/tools/DiagCommand.h"

#include <cstdio>

#include "host/DeviceStorage.h"
#include "host/ReplaceFile.h"
#include "host/tools/NetworkSession.h"
#include "options/DebugReport.h"
#include "platform/device/Device.h"
#include "platform/files/FileSystem.h"
#include "platform/files/LinuxFileSystem.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"

namespace host {

namespace {

void PrintHelp()
{
    std::puts("Usage: velmora diag [--out FILE] [--data DIR] [--simulate SCENARIO]\n"
              "\n"
              "Writes the plug-in's diagnostic report: version, platform edition, screen scaling, the\n"
              "registry branch HKEY_LOCAL_MACHINE\\Comm, and the plug-in's view of every interface and\n"
              "adapter; and, when the usage logs' folder cannot be written, a line that says why.\n"
              "\n"
              "  --out FILE             write it to FILE exactly as the plug-in does (16-bit little-endian\n"
              "                         characters without byte-order mark, CR LF line ends); without it the\n"
              "                         report goes to standard output as UTF-8 with LF line ends\n"
              "  --data DIR             the data folder (default: $VELMORA_DATA, else $XDG_DATA_HOME/velmora);\n"
              "                         its registry gets the adapter keys of this machine's interfaces (a\n"
              "                         registry that cannot be written is an error; beside a running device\n"
              "                         it is only read, that device keeps the keys)\n"
              "  --simulate SCENARIO    a simulated network from a scenario file instead of this machine's\n"
              "  --help                 show this text");
}

// What the usage logger would meet in its folder of this data folder's device files, whose
// standard folders a device start would make.
std::optional<UsageWriteFault> LoggingFault(const std::filesystem::path& data, const std::wstring& folder)
{
    if (platform::InstallLinuxFileSystem(data) != ERROR_SUCCESS)
        return std::nullopt;
    CreateStandardFolders();
    std::optional<UsageWriteFault> fault = ProbeUsageLogFolder(folder);
    platform::UninstallFileSystem();
    return fault;
}

} // namespace

int RunDiagCommand(Arguments args)
{
    if (TakeFlag(args, "--help") || TakeFlag(args, "-h")) {
        PrintHelp();
        return 0;
    }
    std::filesystem::path data = TakeDataFolder(args);
    std::optional<std::string> out = TakeOption(args, "--out");
    std::optional<std::string> simulation = TakeOption(args, "--simulate");
    if (!args.empty()) {
        PrintError("diag: unexpected argument '" + args.front() + "' (try velmora diag --help)");
        return 2;
    }
    if (out && out->empty())
        return 2;
    std::string error;
    std::unique_ptr<NetworkSession> session = NetworkSession::Open(data, simulation, error);
    if (!session) {
        PrintError("diag: " + error);
        return 1;
    }
    NetworkSession::Objects& module = session->Module();
    module.interfaces.InterfaceCount();
    module.interfaces.Refresh();
    module.adapters.Refresh();
    const platform::DeviceProfile& device = platform::CurrentDevice();
    // A simulation leaves the data folder's files alone.
    std::optional<UsageWriteFault> loggingFault;
    if (!simulation)
        loggingFault = LoggingFault(data, module.settings.UsageLogPath);
    std::wstring report = ComposeDebugReport(DebugReportSources { module.settings, module.interfaces, module.adapters,
        session->ActivityState(), device.dpi, device.dpi, loggingFault });

    if (out) {
        if (std::string failed = ReplaceFileContents(*out, EncodeUtf16Le(report)); !failed.empty()) {
            PrintError("diag: " + failed);
            return 1;
        }
        return session->Finish("diag");
    }
    std::string text = WideToUtf8(report);
    std::string terminal;
    terminal.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            terminal += text[i];
    std::fwrite(terminal.data(), 1, terminal.size(), stdout);
    return session->Finish("diag");
}

} // namespace host
