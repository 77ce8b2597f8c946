// The simulation scenario text: what the simulated network and modem do over virtual time.
//
//   # a comment; blank lines are ignored
//   at 0    interface NE20001 type=ethernet mac=00-0A-1B-2C-3D-4E speed=100000000
//   at 0    address NE20001 192.168.1.10/24
//   at 2.5  rate NE20001 in=1200 out=300
//   signal -70
//
// Each line is an optional "at SECONDS" (decimal, from the scenario's start; lines without it
// happen at the start) followed by a command word and its arguments. Arguments are words
// separated by blanks; a word in double quotes may hold blanks, and \" and \\ stand for a
// quote and a backslash inside it; NAME=VALUE words are options (the value may be quoted).
// Commands take effect in time order, lines of the same time in file order. The parser only
// splits lines; each simulated service checks and performs the commands it knows, and a
// command no service knows is an error at load time.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/NumberText.h"

namespace platform {

struct ScenarioCommand {
    int line = 0;         // 1-based line in the text
    int64_t atMs = 0;     // from the scenario's start
    std::string verb;
    std::vector<std::string> args;             // positional words
    std::map<std::string, std::string> options; // NAME=VALUE words

    std::optional<std::string> Option(const std::string& name) const;
};

struct ScenarioParseResult {
    std::vector<ScenarioCommand> commands; // sorted by time, then line
    std::string error;                     // empty when the text parsed
    int errorLine = 0;
};

ScenarioParseResult ParseScenario(std::string_view text);

// For the services that read the commands, beside the numbers of NumberText.h: nullopt when
// the text is not a hardware address.
std::optional<std::vector<uint8_t>> ParseHardwareAddress(std::string_view text); // 00-0A-1B or 00:0a:1b

} // namespace platform
