#include "platform/text/WideString.h"

#include <algorithm>
#include <cwctype>

std::wstring WidenBytes(const char* bytes, size_t maxBytes)
{
    std::wstring out;
    if (bytes == nullptr)
        return out;
    for (size_t i = 0; i < maxBytes && bytes[i] != '\0'; ++i)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i])));
    return out;
}

std::wstring WidenBytes(std::string_view bytes)
{
    return WidenBytes(bytes.data(), bytes.size());
}

std::string NarrowBytes(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t ch : text)
        out.push_back(static_cast<char>(static_cast<unsigned char>(ch & 0xFF)));
    return out;
}

std::wstring Utf8ToWide(std::string_view utf8)
{
    std::wstring out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        unsigned char lead = static_cast<unsigned char>(utf8[i]);
        uint32_t cp = 0;
        size_t extra = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1F;
            extra = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F;
            extra = 2;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07;
            extra = 3;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (i + extra >= utf8.size()) {
            // A sequence cut off by the end of the input.
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        bool valid = true;
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        static constexpr uint32_t kMinimum[] = { 0, 0x80, 0x800, 0x10000 };
        if (!valid || cp < kMinimum[extra] || cp > 0x10FFFF) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(static_cast<wchar_t>(cp));
        i += extra + 1;
    }
    return out;
}

std::string WideToUtf8(std::wstring_view wide)
{
    std::string out;
    out.reserve(wide.size());
    for (wchar_t ch : wide) {
        uint32_t cp = static_cast<uint32_t>(ch);
        if (cp > 0x10FFFF)
            cp = 0xFFFD;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

wchar_t WideToLower(wchar_t ch)
{
    uint32_t c = static_cast<uint32_t>(ch);
    if (c >= L'A' && c <= L'Z')
        return static_cast<wchar_t>(c + 0x20);
    if (c < 0xC0)
        return ch;
    if (c <= 0xDE && c != 0xD7)
        return static_cast<wchar_t>(c + 0x20);
    if (c >= 0x100 && c <= 0x137 && (c & 1) == 0)
        return static_cast<wchar_t>(c + 1);
    if (c >= 0x139 && c <= 0x148 && (c & 1) == 1)
        return static_cast<wchar_t>(c + 1);
    if (c >= 0x14A && c <= 0x177 && (c & 1) == 0)
        return static_cast<wchar_t>(c + 1);
    if (c == 0x178)
        return static_cast<wchar_t>(0xFF);
    if (c >= 0x179 && c <= 0x17E && (c & 1) == 1)
        return static_cast<wchar_t>(c + 1);
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return static_cast<wchar_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<wchar_t>(c + 0x50);
    if (c >= 0x410 && c <= 0x42F)
        return static_cast<wchar_t>(c + 0x20);
    if (c >= 0x460 && c <= 0x4FF && (c & 1) == 0)
        return static_cast<wchar_t>(c + 1);
    return ch;
}

wchar_t WideToUpper(wchar_t ch)
{
    uint32_t c = static_cast<uint32_t>(ch);
    if (c >= L'a' && c <= L'z')
        return static_cast<wchar_t>(c - 0x20);
    if (c < 0xE0)
        return ch;
    if (c <= 0xFE && c != 0xF7)
        return static_cast<wchar_t>(c - 0x20);
    if (c == 0xFF)
        return static_cast<wchar_t>(0x178);
    if (c >= 0x101 && c <= 0x137 && (c & 1) == 1)
        return static_cast<wchar_t>(c - 1);
    if (c >= 0x13A && c <= 0x148 && (c & 1) == 0)
        return static_cast<wchar_t>(c - 1);
    if (c >= 0x14B && c <= 0x177 && (c & 1) == 1)
        return static_cast<wchar_t>(c - 1);
    if (c >= 0x17A && c <= 0x17E && (c & 1) == 0)
        return static_cast<wchar_t>(c - 1);
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2)
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x430 && c <= 0x44F)
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<wchar_t>(c - 0x50);
    if (c >= 0x461 && c <= 0x4FF && (c & 1) == 1)
        return static_cast<wchar_t>(c - 1);
    return ch;
}

std::wstring WideToLower(std::wstring_view text)
{
    std::wstring out(text);
    for (wchar_t& ch : out)
        ch = WideToLower(ch);
    return out;
}

int CompareNoCase(std::wstring_view a, std::wstring_view b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        uint32_t ca = static_cast<uint32_t>(WideToLower(a[i]));
        uint32_t cb = static_cast<uint32_t>(WideToLower(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

static bool IsWhite(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n' || ch == L'\v' || ch == L'\f';
}

int32_t WtoL(std::wstring_view text)
{
    return LeadingInteger(text);
}

int CopyToBuffer(std::wstring_view text, wchar_t* buffer, int maxCount)
{
    if (buffer == nullptr || maxCount <= 0)
        return 0;
    int count = std::min(static_cast<int>(text.size()), maxCount - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = 0;
    return count;
}

std::wstring TrimWhite(std::wstring_view text)
{
    size_t first = 0;
    while (first < text.size() && IsWhite(text[first]))
        ++first;
    size_t last = text.size();
    while (last > first && IsWhite(text[last - 1]))
        --last;
    return std::wstring(text.substr(first, last - first));
}

bool Contains(std::wstring_view text, std::wstring_view part)
{
    return text.find(part) != std::wstring_view::npos;
}

bool IsValidUtf8(std::string_view bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        uint8_t lead = static_cast<uint8_t>(bytes[i]);
        size_t extra = 0;
        uint32_t cp = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
        } else {
            return false;
        }
        if (bytes.size() - i <= extra)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            uint8_t next = static_cast<uint8_t>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        static constexpr uint32_t kMinimum[] = { 0, 0x80, 0x800, 0x10000 };
        if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}
