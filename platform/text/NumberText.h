// Numbers and addresses as the command-line and configuration texts write them: scenario
// files, lease files, resolver configuration, kernel attributes and modem answers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/core/WinTypes.h"

namespace platform {

// Each returns nullopt when the whole text is not a valid value of its kind.
std::optional<int64_t> ParseInteger(std::string_view text); // decimal, optional sign
std::optional<DWORD> ParseDword(std::string_view text);     // the same, from 0 to 4294967295
std::optional<uint64_t> ParseUint64(std::string_view text); // digits alone, from 0 to 2^64 - 1
std::optional<uint32_t> ParseIpv4(std::string_view text);   // A.B.C.D, host byte order

} // namespace platform
