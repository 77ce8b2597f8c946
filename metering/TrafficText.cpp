#include "metering/TrafficText.h"

#include "platform/text/Format.h"

namespace {

constexpr DWORD kKilo = 1u << 10;
constexpr DWORD kMega = 1u << 20;
constexpr DWORD kGiga = 1u << 30;

// The device's texts come from a float scaled by 2^-10, 2^-20 or 2^-30: keep every step in
// single precision so the rounding of large counts matches.
float Scaled(DWORD value, int shift)
{
    float scale = 1.0f;
    for (int i = 0; i < shift; ++i)
        scale *= 0.5f;
    return static_cast<float>(value) * scale;
}

} // namespace

std::wstring FormatBytes(DWORD bytes, ByteTextMode mode)
{
    if (bytes < kKilo)
        return Fmt(L"%d B", bytes);
    if (mode == ByteTextMode::Integer) {
        if (bytes < kMega)
            return Fmt(L"%d KB", bytes >> 10);
        if (bytes < kGiga)
            return Fmt(L"%d MB", bytes >> 20);
        return Fmt(L"%d GB", bytes >> 30);
    }
    if (bytes < kMega)
        return Fmt(L"%.1f KB", Scaled(bytes, 10));
    if (bytes < kGiga)
        return Fmt(L"%.1f MB", Scaled(bytes, 20));
    return Fmt(L"%.1f GB", Scaled(bytes, 30));
}

std::wstring FormatRate(DWORD bitsPerSecond)
{
    if (bitsPerSecond < kMega)
        return Fmt(L"%01.1f kbps", Scaled(bitsPerSecond, 10));
    if (bitsPerSecond < kGiga)
        return Fmt(L"%.1f Mbps", Scaled(bitsPerSecond, 20));
    return Fmt(L"%.1f Gbps", Scaled(bitsPerSecond, 30));
}
