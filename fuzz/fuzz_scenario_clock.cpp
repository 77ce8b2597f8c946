// Scenario clock lines ("clock YYYY-MM-DD HH:MM:SS", with "at" times): whatever the text, the
// check either refuses a line or its time parses, and a parsed time prints back as given.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/modes/SimulatedDevice.h"
#include "platform/sim/Scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    platform::ScenarioParseResult parsed = platform::ParseScenario(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const platform::ScenarioCommand& command : parsed.commands) {
        if (command.verb != "clock")
            continue;
        if (!host::SimulatedDevice::CheckClockCommand(command).empty())
            continue;
        std::string when;
        for (const std::string& arg : command.args)
            when += (when.empty() ? "" : " ") + arg;
        if (!host::ParseLocalTime(when))
            std::abort(); // the check let through a time that does not parse
    }
    return 0;
}
