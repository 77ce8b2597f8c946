#include "options/DialogNumbers.h"

#include <array>
#include <cstdint>

#include "platform/text/WideString.h"

namespace {

// The characters of a field that count: as many as ten decimal digits.
constexpr size_t kNumberChars = 10;

} // namespace

DWORD BoundedNumberFromText(const std::wstring& text, DWORD low, DWORD high)
{
    LeadingDigits read = ReadLeadingDigits(std::wstring_view(text).substr(0, kNumberChars));
    // Ten digits fit 64 bits, so a number past 32 bits is above high rather than wrapped.
    if (read.negative || read.magnitude < low)
        return low;
    if (read.magnitude > high)
        return high;
    return static_cast<DWORD>(read.magnitude);
}

DWORD ReadBoundedNumber(HWND dialog, int id, DWORD low, DWORD high)
{
    std::array<wchar_t, kNumberChars + 1> text {};
    GetDlgItemTextW(dialog, id, text.data(), static_cast<int>(text.size()));
    return BoundedNumberFromText(text.data(), low, high);
}

DWORD StepBoundedNumber(DWORD value, int delta, DWORD high)
{
    int64_t next = delta < 1 ? int64_t { value } + 1 : int64_t { value } - 1;
    if (next < 1)
        next = 1;
    if (next > int64_t { high })
        next = high;
    return static_cast<DWORD>(next);
}
