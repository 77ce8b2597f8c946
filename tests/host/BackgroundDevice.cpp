#include "BackgroundDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "host/DeviceStorage.h"

namespace host_test {

BackgroundDevice::BackgroundDevice(const std::filesystem::path& dataFolder)
{
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return;
    const std::string program = std::string(VELMORA_BINARY_DIR) + "/velmora";
    const std::string folder = dataFolder.string();
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(out[1], STDERR_FILENO);
        ::execl(program.c_str(), program.c_str(), "--data", folder.c_str(), "--headless", "--quiet", nullptr);
        ::_exit(127);
    }
    ::close(out[1]);
    m_out = out[0];
    // It holds the folder from its start on; give a loaded machine time.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (m_pid > 0 && std::chrono::steady_clock::now() < deadline) {
        if (host::DataFolderHeld(dataFolder)) {
            m_holding = true;
            break;
        }
        if (::waitpid(m_pid, &m_exit, WNOHANG) == m_pid) {
            m_exit = WIFEXITED(m_exit) ? WEXITSTATUS(m_exit) : 128 + WTERMSIG(m_exit);
            m_pid = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

BackgroundDevice::~BackgroundDevice()
{
    Stop(SIGTERM);
}

int BackgroundDevice::Stop(int signal)
{
    if (m_pid > 0) {
        // Ended already (a stop through the fake service manager): no signal to a reaped pid.
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) != m_pid) {
            ::kill(m_pid, signal);
            ::waitpid(m_pid, &status, 0);
        }
        m_exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        m_pid = -1;
    }
    if (m_out >= 0) {
        char buffer[4096];
        ssize_t got;
        while ((got = ::read(m_out, buffer, sizeof buffer)) > 0)
            m_output.append(buffer, static_cast<size_t>(got));
        ::close(m_out);
        m_out = -1;
    }
    return m_exit;
}

} // namespace host_test
