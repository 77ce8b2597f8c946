#include "platform/files/NamePattern.h"

#include "platform/text/WideString.h"

namespace platform {

bool MatchesNamePattern(std::wstring_view name, std::wstring_view pattern)
{
    if (pattern == L"*.*")
        pattern = L"*";
    // Greedy match with one backtrack point (the last "*"): linear in practice, never
    // exponential however many stars the pattern holds.
    size_t n = 0;
    size_t p = 0;
    size_t starPattern = std::wstring_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == L'?' || WideToLower(pattern[p]) == WideToLower(name[n]))) {
            ++p;
            ++n;
        } else if (starPattern != std::wstring_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

} // namespace platform
