// Wide-string helpers with the platform C runtime's semantics (_wtol, _wcsicmp,
// byte-by-byte widening), shared by the platform layer and the system's code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Each byte becomes one wide character of the same value; stops at a NUL byte or after
// maxBytes bytes.
std::wstring WidenBytes(const char* bytes, size_t maxBytes);
std::wstring WidenBytes(std::string_view bytes);

// Keeps the low byte of each character: the inverse of WidenBytes for texts that came
// from it (narrow platform texts, 8-bit CSV output).
std::string NarrowBytes(std::wstring_view text);

// UTF-8 for the host's terminal, files and command lines. Invalid input bytes become U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
// Well-formed UTF-8 as the standard defines it: shortest forms, no surrogates, at most U+10FFFF.
bool IsValidUtf8(std::string_view bytes);
std::string WideToUtf8(std::wstring_view wide);

// Lower and upper case by the platform's rules for the Latin, Greek and Cyrillic letters;
// every other character is left as it is.
wchar_t WideToLower(wchar_t ch);
wchar_t WideToUpper(wchar_t ch);
std::wstring WideToLower(std::wstring_view text);

// _wcsicmp: <0, 0, >0 comparing lower-cased characters.
int CompareNoCase(std::wstring_view a, std::wstring_view b);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

// _wtol: skips leading white space, takes an optional sign and the leading decimal digits,
// and stops at the first other character (0 when there are none). The value wraps modulo
// 2^32 as the device's 32-bit conversion does.
int32_t WtoL(std::wstring_view text);

// A number as _wtol reads it, before its reading as a type: whether a '-' came first, and the
// leading digits' value modulo 2^64 (so also modulo 2^32).
struct LeadingDigits {
    bool negative = false;
    uint64_t magnitude = 0;
};

template <typename Char>
inline LeadingDigits ReadLeadingDigits(std::basic_string_view<Char> text)
{
    size_t i = 0;
    while (i < text.size()
        && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n' || text[i] == '\v' || text[i] == '\f'))
        ++i;
    LeadingDigits read;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        read.negative = text[i] == '-';
        ++i;
    }
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        read.magnitude = read.magnitude * 10u + static_cast<uint64_t>(text[i] - '0');
        ++i;
    }
    return read;
}

// WtoL for any character type, inline for readers that convert many fields in a loop
// (UTF-16 code units read in place from a file, for one).
template <typename Char>
inline int32_t LeadingInteger(std::basic_string_view<Char> text)
{
    LeadingDigits read = ReadLeadingDigits(text);
    uint32_t value = static_cast<uint32_t>(read.magnitude);
    return static_cast<int32_t>(read.negative ? 0u - value : value);
}

// Leading and trailing white space (space, tab, CR, LF, VT, FF) removed.
std::wstring TrimWhite(std::wstring_view text);

// Copies into a caller's buffer of maxCount characters, cut to fit and always terminated;
// the count copied. Nothing for a null buffer or a count of 0.
int CopyToBuffer(std::wstring_view text, wchar_t* buffer, int maxCount);

bool Contains(std::wstring_view text, std::wstring_view part);
