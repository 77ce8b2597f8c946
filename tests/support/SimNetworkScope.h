// Installs a fresh simulated network (and a virtual clock to drive it) for one test, and
// puts the Linux backend back afterwards.
#pragma once

#include "platform/net/NetBackend.h"
#include "platform/net/sim/SimNetwork.h"
#include "support/TestSupport.h"

namespace testing_support {

class SimNetworkScope {
public:
    SimNetworkScope() { platform::InstallNetBackend(&m_network); }
    ~SimNetworkScope() { platform::InstallNetBackend(nullptr); }
    SimNetworkScope(const SimNetworkScope&) = delete;
    SimNetworkScope& operator=(const SimNetworkScope&) = delete;

    platform::SimNetwork& Network() { return m_network; }
    platform::VirtualClock& Clock() { return m_clock.Clock(); }

    // A LAN adapter with an address, a default route through gw and DNS and a lease.
    DWORD AddLan(const std::wstring& name, const char* address, const char* gateway = nullptr);

private:
    VirtualClockScope m_clock; // first: the network reads it from construction on
    platform::SimNetwork m_network;
};

} // namespace testing_support
