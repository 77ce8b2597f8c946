#include "ProgramRun.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace host_test {

namespace {

void DrainInto(int fd, std::string& out, bool& open)
{
    char buffer[4096];
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0)
        out.append(buffer, static_cast<size_t>(got));
    else if (got == 0 || errno != EINTR)
        open = false;
}

} // namespace

ProgramResult RunVelmora(const std::vector<std::string>& args, const ProgramInput& input)
{
    const std::string program = std::string(VELMORA_BINARY_DIR) + "/velmora";
    int outPipe[2], errPipe[2], inPipe[2] = { -1, -1 };
    int master = -1, slave = -1;
    if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0)
        std::abort();
    if (input.terminal) {
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
            std::abort();
    } else if (::pipe(inPipe) != 0) {
        std::abort();
    }

    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(input.terminal ? slave : inPipe[0], STDIN_FILENO);
        ::dup2(outPipe[1], STDOUT_FILENO);
        ::dup2(errPipe[1], STDERR_FILENO);
        for (int fd : { outPipe[0], outPipe[1], errPipe[0], errPipe[1], inPipe[0], inPipe[1], master, slave })
            if (fd > STDERR_FILENO)
                ::close(fd);
        for (const auto& [name, value] : input.environment)
            ::setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> argv { const_cast<char*>(program.c_str()) };
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }

    ::close(outPipe[1]);
    ::close(errPipe[1]);
    int writeTo = input.terminal ? master : inPipe[1];
    if (input.terminal)
        ::close(slave);
    else
        ::close(inPipe[0]);
    // The answers are short: they fit in the pipe or terminal buffer at once.
    if (!input.standardInput.empty() && ::write(writeTo, input.standardInput.data(), input.standardInput.size()) < 0)
        std::abort();
    if (!input.terminal)
        ::close(writeTo);

    ProgramResult result;
    bool outOpen = true, errOpen = true;
    while (outOpen || errOpen) {
        pollfd fds[2] = { { outPipe[0], POLLIN, 0 }, { errPipe[0], POLLIN, 0 } };
        if (::poll(fds, 2, 10000) <= 0)
            break; // a program that hangs fails the test through its exit code
        if (outOpen && (fds[0].revents & (POLLIN | POLLHUP)))
            DrainInto(outPipe[0], result.out, outOpen);
        if (errOpen && (fds[1].revents & (POLLIN | POLLHUP)))
            DrainInto(errPipe[0], result.err, errOpen);
    }
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    int status = 0;
    if (outOpen || errOpen)
        ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    if (input.terminal)
        ::close(master);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

} // namespace host_test
