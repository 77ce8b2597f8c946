#include "host/shell/DesktopSettings.h"

#include <cstdlib>
#include <string_view>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/text/WideString.h"

extern char** environ;

namespace host {

namespace {

const std::vector<std::string> kNetworkSettingsCommands[] = {
    { "nm-connection-editor" },
    { "gnome-control-center", "network" },
    { "kcmshell6", "kcm_networkmanagement" },
    { "kcmshell5", "kcm_networkmanagement" },
};

} // namespace

bool IsNetworkAdapterApplet(const platform::ProcessStart& start)
{
    if (!EqualsNoCase(start.imageName, L"\\Windows\\ctlpnl.exe"))
        return false;
    constexpr std::wstring_view kApplet = L"cplmain.cpl,17";
    std::wstring_view line = start.commandLine;
    if (line.size() < kApplet.size() || !EqualsNoCase(line.substr(0, kApplet.size()), kApplet))
        return false;
    return line.size() == kApplet.size() || line[kApplet.size()] == L',';
}

std::string FindInPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "";
    while (!folders.empty()) {
        size_t colon = folders.find(':');
        std::string_view folder = folders.substr(0, colon);
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        if (folder.empty())
            continue; // the current folder is never searched
        std::string candidate = std::string(folder) + "/" + name;
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

std::vector<std::string> NetworkSettingsCommand(const ProgramLookup& lookup)
{
    for (const std::vector<std::string>& command : kNetworkSettingsCommands) {
        std::string program = lookup(command.front());
        if (program.empty())
            continue;
        std::vector<std::string> argv = command;
        argv.front() = program;
        return argv;
    }
    return {};
}

DWORD StartDetached(const std::vector<std::string>& argv)
{
    if (argv.empty())
        return ERROR_FILE_NOT_FOUND;
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own: the terminal's interrupt that ends the device leaves it running.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t child = 0;
    int spawned = posix_spawn(&child, args[0], &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return ERROR_FILE_NOT_FOUND;
    std::thread([child] {
        int status = 0;
        waitpid(child, &status, 0);
    }).detach();
    return ERROR_SUCCESS;
}

} // namespace host
