#include "metering/TrafficText.h"

#include "platform/text/Format.h"

namespace {

constexpr ULONG64 kKilo = 1u << 10;
constexpr ULONG64 kMega = 1u << 20;
constexpr ULONG64 kGiga = 1u << 30;

// The device's texts come from a float scaled by 2^-10, 2^-20 or 2^-30: keep every step in
// single precision so the rounding of large counts matches (a 64-bit count below 2^32 converts
// to the same float as the 32-bit one did).
float Scaled(ULONG64 value, int shift)
{
    float scale = 1.0f;
    for (int i = 0; i < shift; ++i)
        scale *= 0.5f;
    return static_cast<float>(value) * scale;
}

} // namespace

std::wstring FormatBytes(ULONG64 bytes, ByteTextMode mode)
{
    if (bytes < kKilo)
        return Fmt(L"%d B", static_cast<DWORD>(bytes));
    if (mode == ByteTextMode::Integer) {
        if (bytes < kMega)
            return Fmt(L"%d KB", static_cast<DWORD>(bytes >> 10));
        if (bytes < kGiga)
            return Fmt(L"%d MB", static_cast<DWORD>(bytes >> 20));
        return std::to_wstring(bytes >> 30) + L" GB";
    }
    if (bytes < kMega)
        return Fmt(L"%.1f KB", Scaled(bytes, 10));
    if (bytes < kGiga)
        return Fmt(L"%.1f MB", Scaled(bytes, 20));
    return Fmt(L"%.1f GB", Scaled(bytes, 30));
}

std::wstring FormatRate(ULONG64 bitsPerSecond)
{
    if (bitsPerSecond < kMega)
        return Fmt(L"%01.1f kbps", Scaled(bitsPerSecond, 10));
    if (bitsPerSecond < kGiga)
        return Fmt(L"%.1f Mbps", Scaled(bitsPerSecond, 20));
    return Fmt(L"%.1f Gbps", Scaled(bitsPerSecond, 30));
}
