#include "platform/files/NamePattern.h"

#include "platform/text/WideString.h"

namespace platform {

namespace {

bool MatchesWildcards(std::wstring_view name, std::wstring_view pattern)
{
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

} // namespace

bool MatchesNamePattern(std::wstring_view name, std::wstring_view pattern)
{
    if (pattern == L"*.*")
        pattern = L"*";
    if (MatchesWildcards(name, pattern))
        return true;
    // The platform's dot rules: "x.*" also names x without an extension, and a final "."
    // names files that have none ("*.", "?.").
    if (pattern.size() > 2 && pattern.ends_with(L".*"))
        return MatchesWildcards(name, pattern.substr(0, pattern.size() - 2));
    if (pattern.size() > 1 && pattern.back() == L'.' && pattern[pattern.size() - 2] != L'.') {
        std::wstring_view stem = pattern.substr(0, pattern.size() - 1);
        if (stem.find(L'.') == std::wstring_view::npos && name.find(L'.') != std::wstring_view::npos)
            return false;
        return MatchesWildcards(name, stem);
    }
    return false;
}

} // namespace platform
