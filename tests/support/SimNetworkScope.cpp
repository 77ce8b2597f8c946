#include "support/SimNetworkScope.h"

#include "platform/sim/Scenario.h"

namespace testing_support {

DWORD SimNetworkScope::AddLan(const std::wstring& name, const char* address, const char* gateway)
{
    platform::SimInterfaceSetup setup;
    setup.name = name;
    setup.physAddr = { 0x00, 0x0A, 0x1B, 0x2C, 0x3D, 0x4E };
    setup.description = "Simulated Ethernet";
    DWORD index = m_network.AddInterface(setup);
    m_network.SetAddresses(name, { platform::NetAddress { *platform::ParseIpv4(address), 0xFFFFFF00u } });
    if (gateway != nullptr)
        m_network.AddRoute(name, 0, 0, *platform::ParseIpv4(gateway));
    return index;
}

} // namespace testing_support
