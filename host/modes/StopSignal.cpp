#include "host/modes/StopSignal.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

#include "platform/core/StopRequest.h"

namespace host {

namespace {

constexpr int kStopSignals[] = { SIGINT, SIGTERM, SIGHUP };

volatile std::sig_atomic_t g_stopRequested = 0;
int g_wakeFd = -1;

extern "C" void OnStopSignal(int)
{
    g_stopRequested = 1;
    if (g_wakeFd >= 0) {
        char byte = 1;
        // Full or closed: the loop is woken already or going away; nothing to do in a handler.
        [[maybe_unused]] ssize_t written = ::write(g_wakeFd, &byte, 1);
    }
}

} // namespace

StopSignal::StopSignal()
{
    g_stopRequested = 0;
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        m_pipe[0] = m_pipe[1] = -1;
    g_wakeFd = m_pipe[1];
    // A blocking platform call (an echo for its whole timeout, a DHCP client's tool) gives up
    // at a stop too.
    platform::InstallStopDescriptor(m_pipe[0]);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kStopSignals)
        ::sigaction(signal, &action, nullptr);
}

StopSignal::~StopSignal()
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : kStopSignals)
        ::sigaction(signal, &action, nullptr);
    g_wakeFd = -1;
    platform::InstallStopDescriptor(-1);
    for (int fd : m_pipe)
        if (fd >= 0)
            ::close(fd);
}

bool StopSignal::Requested() const
{
    return g_stopRequested != 0;
}

void StopSignal::Drain()
{
    char buffer[64];
    while (m_pipe[0] >= 0 && ::read(m_pipe[0], buffer, sizeof buffer) > 0) {
    }
}

} // namespace host
