// Installs fresh simulated sockets for one test, moving the given virtual clock on with each
// echo, and puts the Linux backend back afterwards.
#pragma once

#include "platform/winsock/SocketBackend.h"
#include "platform/winsock/sim/SimSockets.h"

namespace testing_support {

class SimSocketsScope {
public:
    explicit SimSocketsScope(platform::VirtualClock* clock = nullptr) : m_sockets(clock)
    {
        platform::InstallSocketBackend(&m_sockets);
    }
    ~SimSocketsScope() { platform::InstallSocketBackend(nullptr); }
    SimSocketsScope(const SimSocketsScope&) = delete;
    SimSocketsScope& operator=(const SimSocketsScope&) = delete;

    platform::SimSockets& Sockets() { return m_sockets; }

private:
    platform::SimSockets m_sockets;
};

} // namespace testing_support
