// Search patterns as the find calls take them: "*" stands for any run of characters, "?" for
// exactly one, and letters match ignoring case. "*.*" matches every name, with or without a
// dot, as on the platform.
#pragma once

#include <string_view>

namespace platform {

bool MatchesNamePattern(std::wstring_view name, std::wstring_view pattern);

} // namespace platform
