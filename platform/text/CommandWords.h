// The word syntax shared by the host's line formats (scenario files and scripts): words
// separated by blanks, double quotes keep blanks inside a word (a NAME= prefix before the
// quote stays part of it, \" and \\ escape), and '#' outside a word starts a comment.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Appends the line's words; false when a quote is not closed.
bool SplitCommandWords(std::string_view line, std::vector<std::string>& words);

// A non-negative number of seconds with up to three decimals ("2.25"), as milliseconds.
// Signs, exponents, a bare point and values above a billion seconds are refused.
std::optional<int64_t> ParseCommandSeconds(std::string_view text);

} // namespace platform
