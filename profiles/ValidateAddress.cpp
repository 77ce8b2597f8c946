#include "profiles/ValidateAddress.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr DWORD kAddressNone = 0xFFFFFFFF;
constexpr size_t kAddressTextCapacity = 31;
constexpr int kRequiredDots = 3;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

int DigitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

} // namespace

DWORD ParseInetAddress(const std::string& text)
{
    uint64_t parts[4] = {};
    int count = 0;
    size_t at = 0;
    for (;;) {
        if (at >= text.size() || text[at] < '0' || text[at] > '9')
            return kAddressNone;
        int base = 10;
        if (text[at] == '0') {
            base = 8;
            ++at;
            if (at < text.size() && (text[at] == 'x' || text[at] == 'X')) {
                base = 16;
                ++at;
            }
        }
        uint64_t value = 0;
        for (int digit; at < text.size() && (digit = DigitValue(text[at], base)) >= 0; ++at) {
            value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
            if (value > 0xFFFFFFFFull)
                return kAddressNone;
        }
        parts[count++] = value;
        if (at < text.size() && text[at] == '.') {
            if (count == 4)
                return kAddressNone;
            ++at;
            continue;
        }
        break;
    }
    if (at < text.size() && !IsBlank(text[at]))
        return kAddressNone;
    // The parts before the last are one byte each; the last fills what is left.
    const uint64_t lastLimit[] = { 0xFFFFFFFFull, 0xFFFFFFull, 0xFFFFull, 0xFFull };
    uint64_t address = 0;
    for (int i = 0; i < count - 1; ++i) {
        if (parts[i] > 0xFF)
            return kAddressNone;
        address |= parts[i] << (24 - 8 * i);
    }
    if (parts[count - 1] > lastLimit[count - 1])
        return kAddressNone;
    address |= parts[count - 1];
    return static_cast<DWORD>(address);
}

DWORD ValidateAddress(const std::wstring& text, bool allowEmpty)
{
    if (text.empty())
        return allowEmpty ? 1 : 0;
    if (std::count(text.begin(), text.end(), L'.') < kRequiredDots)
        return 0;
    // Only the first characters reach the parser, as narrow text: anything beyond ASCII
    // cannot be part of an address.
    std::string narrow;
    for (wchar_t c : text.substr(0, kAddressTextCapacity)) {
        if (c <= 0 || c > 0x7F)
            return 0;
        narrow.push_back(static_cast<char>(c));
    }
    return ParseInetAddress(narrow) != kAddressNone ? 1 : 0;
}
