#include "host/Systemctl.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace host {

namespace {

std::string FindInPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr && *path != '\0' ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        std::string folder = folders.substr(start, end - start);
        if (!folder.empty()) {
            std::string candidate = folder + "/" + name;
            if (::access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

std::string Trimmed(const std::string& text)
{
    size_t end = text.find_last_not_of(" \t\r\n");
    size_t begin = text.find_first_not_of(" \t\r\n");
    return end == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

void ReadInto(int fd, std::string& out, bool& open)
{
    char buffer[4096];
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0)
        out.append(buffer, static_cast<size_t>(got));
    else if (got == 0 || errno != EINTR)
        open = false;
}

} // namespace

std::string SystemctlResult::FirstLine() const
{
    std::string text = Trimmed(err).empty() ? Trimmed(out) : Trimmed(err);
    return text.substr(0, text.find('\n'));
}

Systemctl::Systemctl()
{
    if (const char* given = std::getenv("VELMORA_SYSTEMCTL"); given != nullptr && *given != '\0')
        m_program = given;
    else
        m_program = FindInPath("systemctl");
}

std::string Systemctl::Problem()
{
    const std::string needed = "the velmora service needs systemd's user service manager";
    if (m_program.empty() || ::access(m_program.c_str(), X_OK) != 0)
        return "systemctl is not installed here (" + needed + ")";
    // The cheapest question the manager itself must answer.
    SystemctlResult probe = Run({ "show", "--property=Version" });
    if (!probe.ran)
        return "systemctl cannot be started (" + needed + ")";
    if (probe.exitCode != 0) {
        std::string said = probe.FirstLine();
        return "no systemd user service manager runs for this user" + (said.empty() ? std::string() : " (systemctl --user: " + said + ")");
    }
    return {};
}

SystemctlResult Systemctl::Run(const std::vector<std::string>& args) const
{
    SystemctlResult result;
    if (m_program.empty())
        return result;
    std::vector<std::string> words { m_program, "--user" };
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int outPipe[2], errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0)
        return result;
    if (::pipe2(errPipe, O_CLOEXEC) != 0) {
        ::close(outPipe[0]);
        ::close(outPipe[1]);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    pid_t child = 0;
    int spawned = posix_spawn(&child, m_program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (spawned != 0) {
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        return result;
    }

    bool outOpen = true, errOpen = true;
    while (outOpen || errOpen) {
        pollfd fds[2] = { { outOpen ? outPipe[0] : -1, POLLIN, 0 }, { errOpen ? errPipe[0] : -1, POLLIN, 0 } };
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (outOpen && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0)
            ReadInto(outPipe[0], result.out, outOpen);
        if (errOpen && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0)
            ReadInto(errPipe[0], result.err, errOpen);
    }
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    result.ran = true;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    // The shell's answer when the program could not be executed after all.
    if (result.exitCode == 127)
        result.ran = false;
    return result;
}

std::string Systemctl::ActiveState(const std::string& unit) const
{
    // is-active exits non-zero for every state but active; its answer is on stdout either way.
    std::string state = Trimmed(Run({ "is-active", unit }).out);
    return state.empty() ? std::string("unknown") : state.substr(0, state.find('\n'));
}

bool Systemctl::Active(const std::string& unit) const
{
    std::string state = ActiveState(unit);
    return state == "active" || state == "activating" || state == "reloading";
}

std::string Systemctl::EnabledState(const std::string& unit) const
{
    std::string state = Trimmed(Run({ "is-enabled", unit }).out);
    return state.substr(0, state.find('\n'));
}

pid_t Systemctl::MainPid(const std::string& unit) const
{
    std::string text = Trimmed(Run({ "show", "--property=MainPID", "--value", unit }).out);
    char* end = nullptr;
    long pid = std::strtol(text.c_str(), &end, 10);
    return end != text.c_str() && *end == '\0' && pid > 0 ? static_cast<pid_t>(pid) : 0;
}

} // namespace host
