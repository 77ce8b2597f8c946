#include "platform/text/Utf16.h"

void AppendUtf16Le(std::string& out, std::wstring_view text)
{
    auto put = [&out](uint32_t unit) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>((unit >> 8) & 0xFF));
    };
    for (wchar_t ch : text) {
        uint32_t cp = static_cast<uint32_t>(ch);
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else if (cp > 0x10FFFF) {
            put(0xFFFD);
        } else {
            put(cp);
        }
    }
}

std::string EncodeUtf16Le(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    AppendUtf16Le(out, text);
    return out;
}

namespace {

// Unit(i) gives the i-th code unit of the input.
template <typename Unit>
std::wstring DecodeUnits(size_t units, Unit unitAt)
{
    std::wstring out;
    out.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        uint32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            uint32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                ++i;
                continue;
            }
        }
        out.push_back(static_cast<wchar_t>(unit));
    }
    return out;
}

} // namespace

std::wstring DecodeUtf16Le(const void* bytes, size_t size)
{
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    return DecodeUnits(size / 2, [p](size_t i) { return p[2 * i] | (static_cast<uint32_t>(p[2 * i + 1]) << 8); });
}

std::wstring DecodeUtf16(std::u16string_view units)
{
    return DecodeUnits(units.size(), [units](size_t i) { return static_cast<uint32_t>(units[i]); });
}

std::wstring DecodeUtf16Le(std::string_view bytes)
{
    return DecodeUtf16Le(bytes.data(), bytes.size());
}

size_t Utf16Length(std::wstring_view text)
{
    size_t n = 0;
    for (wchar_t ch : text)
        n += (static_cast<uint32_t>(ch) >= 0x10000 && static_cast<uint32_t>(ch) <= 0x10FFFF) ? 2 : 1;
    return n;
}

std::vector<uint8_t> Utf16LeWithTerminator(std::wstring_view text)
{
    std::string encoded = EncodeUtf16Le(text);
    std::vector<uint8_t> out(encoded.begin(), encoded.end());
    out.push_back(0);
    out.push_back(0);
    return out;
}

std::wstring Utf16LeUpToTerminator(const void* bytes, size_t size)
{
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    size_t units = size / 2;
    size_t end = 0;
    while (end < units && (p[2 * end] != 0 || p[2 * end + 1] != 0))
        ++end;
    return DecodeUtf16Le(p, end * 2);
}
