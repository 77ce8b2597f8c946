// What `velmora reg` reads from its command line: the operation and its options, the key, and
// the type and data of a value to add. Errors come back as the lines the tool prints.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/WinTypes.h"
#include "platform/registry/RegistryNames.h"

namespace host {

struct RegToolOptions {
    std::string operation; // lower case; empty when the words name no operation
    std::vector<std::string> positional;
    std::optional<std::string> valueName; // /v
    bool defaultValue = false;            // /ve
    bool allValues = false;               // /va
    bool recurse = false;                 // /s on query
    std::optional<std::string> separator; // /s on add
    std::optional<std::string> type;      // /t
    std::optional<std::string> data;      // /d
    bool force = false;                   // /f
    bool overwriteFile = false;           // /y
};

// The words after "reg"; a --data DIR among them replaces dataFolder. False when they are no
// valid command (the operation stays set when it was a known one, for the help hint).
bool ParseRegToolArguments(const std::vector<std::string>& args, RegToolOptions& options, std::string& dataFolder);

struct RegToolKey {
    platform::RegistryRoot root = platform::RegistryRoot::CurrentUser;
    std::wstring subkey;  // below the root, components joined with "\"
    std::wstring display; // the key as printed: the root's long name and the subkey
};

// KEY into its root and subkey path; the error line when it names no key of this registry.
std::optional<std::string> ParseRegToolKey(const std::string& text, RegToolKey& key);

// Numbers as the tool takes them: decimal, or hex after "0x"; nothing else, no sign, at most
// maximum.
bool ParseRegToolNumber(const std::string& text, uint64_t maximum, uint64_t& value);

// The type (/t, REG_SZ by default) and the data (/d, with /s for REG_MULTI_SZ) of the value
// add sets; the error line when they do not fit.
std::optional<std::string> BuildRegToolData(const RegToolOptions& options, DWORD& type, std::vector<uint8_t>& data);

} // namespace host
