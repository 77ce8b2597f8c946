// The simulation scenario text: parsed, every command checked by the simulated network and
// modem, then performed on a simulated network and read back through the platform calls.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/net/IpHelper.h"
#include "platform/net/sim/SimNetwork.h"
#include "platform/phone/sim/SimModem.h"
#include "platform/sim/Scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    platform::ScenarioParseResult parsed = platform::ParseScenario(std::string_view(reinterpret_cast<const char*>(data), size));
    platform::SimNetwork network;
    for (const platform::ScenarioCommand& command : parsed.commands) {
        if (platform::SimNetwork::CheckCommand(command) == "unknown command")
            platform::SimModem::CheckCommand(command);
        network.Perform(command);
    }
    platform::InstallNetBackend(&network);
    ULONG bytes = 0;
    GetAdaptersInfo(nullptr, &bytes);
    std::vector<uint64_t> buffer(bytes / 8 + 1);
    GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &bytes);
    DWORD index = 0;
    GetBestInterface(0, &index);
    platform::InstallNetBackend(nullptr);
    return 0;
}
