#include "profiles/ValidateAddress.h"

#include <algorithm>

#include "platform/winsock/Winsock.h"

namespace {

constexpr size_t kAddressTextCapacity = 31;
constexpr int kRequiredDots = 3;

} // namespace

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
    // The broadcast address reads as the parser's failure, and is refused with it.
    return inet_addr(narrow.c_str()) != INADDR_NONE ? 1 : 0;
}
