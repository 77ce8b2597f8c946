#include "platform/net/linux/DhcpClientControl.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <spawn.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/core/StopRequest.h"

namespace platform::linuxnet {

namespace {

// Only the system's own program folders: a tool is never looked up through the caller's PATH.
const char* const kProgramFolders[] = { "/usr/sbin", "/usr/bin", "/sbin", "/bin" };

std::string FindProgram(const std::string& name)
{
    for (const char* folder : kProgramFolders) {
        std::string path = std::string(folder) + "/" + name;
        struct stat info {};
        if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0)
            return path;
    }
    return {};
}

} // namespace

std::vector<std::string> DhcpCommandLine(DhcpClient client, DhcpOperation operation, const std::string& interfaceName)
{
    bool release = operation == DhcpOperation::Release;
    switch (client) {
    case DhcpClient::Networkd:
        if (release)
            return {};
        return { "networkctl", "renew", interfaceName };
    case DhcpClient::NetworkManager:
        return { "nmcli", "device", release ? "disconnect" : "connect", interfaceName };
    case DhcpClient::Dhclient:
        return { "dhclient", release ? "-r" : "-1", interfaceName };
    case DhcpClient::Dhcpcd:
        return { "dhcpcd", release ? "-k" : "-n", interfaceName };
    case DhcpClient::None:
        break;
    }
    return {};
}

DWORD RunDhcpTool(const std::vector<std::string>& argv, std::chrono::milliseconds timeout)
{
    if (argv.empty())
        return ERROR_NOT_SUPPORTED;
    std::string program = FindProgram(argv[0]);
    if (program.empty())
        return ERROR_NOT_SUPPORTED;

    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    char pathVariable[] = "PATH=/usr/sbin:/usr/bin:/sbin:/bin";
    char langVariable[] = "LC_ALL=C";
    char* environment[] = { pathVariable, langVariable, nullptr };

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, args.data(), environment);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return spawned == ENOENT ? ERROR_NOT_SUPPORTED : ERROR_GEN_FAILURE;

    auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (true) {
        pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0 && errno != EINTR)
            return ERROR_GEN_FAILURE;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return ERROR_SEM_TIMEOUT;
        }
        // The host asked to end: the tool is stopped and the request left for the event loop.
        pollfd stop { StopDescriptor(), POLLIN, 0 };
        if (poll(&stop, stop.fd >= 0 ? 1 : 0, 10) > 0 && (stop.revents & POLLIN) != 0) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return ERROR_OPERATION_ABORTED;
        }
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return NO_ERROR;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
        return ERROR_NOT_SUPPORTED;
    return ERROR_GEN_FAILURE;
}

} // namespace platform::linuxnet
