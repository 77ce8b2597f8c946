// JSON output of the command-line tools.
#pragma once

#include <string>
#include <string_view>

namespace host {

// A JSON string literal (quotes included) of the text in UTF-8, with the control characters
// escaped.
std::string JsonString(std::wstring_view text);

} // namespace host
