#include "platform/text/NumberText.h"

#include <limits>

namespace platform {

std::optional<uint32_t> ParseIpv4(std::string_view text)
{
    uint32_t address = 0;
    int parts = 0;
    size_t i = 0;
    while (parts < 4) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return std::nullopt;
        uint32_t part = 0;
        size_t digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            part = part * 10 + static_cast<uint32_t>(text[i] - '0');
            if (++digits > 3 || part > 255)
                return std::nullopt;
            ++i;
        }
        address = (address << 8) | part;
        ++parts;
        if (parts < 4) {
            if (i >= text.size() || text[i] != '.')
                return std::nullopt;
            ++i;
        }
    }
    if (i != text.size())
        return std::nullopt;
    return address;
}

std::optional<int64_t> ParseInteger(std::string_view text)
{
    bool negative = false;
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size())
        return std::nullopt;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        if (value > (std::numeric_limits<uint64_t>::max() - 9) / 10)
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    }
    if (value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
        return std::nullopt;
    return negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
}

std::optional<uint64_t> ParseUint64(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return std::nullopt;
        uint64_t digit = static_cast<uint64_t>(ch - '0');
        if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<DWORD> ParseDword(std::string_view text)
{
    std::optional<int64_t> number = ParseInteger(text);
    if (!number || *number < 0 || *number > 0xFFFFFFFFll)
        return std::nullopt;
    return static_cast<DWORD>(*number);
}

} // namespace platform
