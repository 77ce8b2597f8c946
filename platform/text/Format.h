// The platform's printf dialect for wide strings (wsprintf/swprintf as the system uses them),
// checked at compile time: a conversion that does not fit its argument, or a wrong number
// of arguments, does not compile.
//
//   %s   wide string (std::wstring, std::wstring_view, const wchar_t*; null prints "(null)")
//   %S   narrow string, widened byte by byte (std::string, std::string_view, const char*)
//   %d %i  32-bit signed; an unsigned 32-bit argument prints as its signed reading
//   %u %x %X  32-bit unsigned
//   %c   one character (wchar_t or a 32-bit integer)
//   %f   double; precision as given, 6 when none
//   %%   a percent sign
// Flags '-', '0', '+', ' ', '#', a width and a precision are taken as printf takes them: '#'
// puts 0x (0X) before a hexadecimal value that is not zero, a precision of 0 prints no digit
// for 0, and '0' pads text (%s, %c) with zeros too.
// Arguments wider than 32 bits must be cast: the device's conversions are 32-bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace platform::format_detail {

enum class ArgKind : uint8_t { Signed, Unsigned, Character, Floating, WideText, NarrowText };

struct Arg {
    ArgKind kind;
    union {
        int64_t integer;
        double floating;
    };
    std::wstring_view wide;
    std::string_view narrow;
    bool isNull = false;
};

template <typename T>
constexpr bool kIsSmallInteger = std::is_integral_v<T> && !std::is_same_v<T, bool> && sizeof(T) <= 4;

template <typename T>
constexpr bool kIsWideText = std::is_same_v<T, std::wstring> || std::is_same_v<T, std::wstring_view>
    || std::is_same_v<T, const wchar_t*> || std::is_same_v<T, wchar_t*>;

template <typename T>
constexpr bool kIsNarrowText = std::is_same_v<T, std::string> || std::is_same_v<T, std::string_view>
    || std::is_same_v<T, const char*> || std::is_same_v<T, char*>;

template <typename T>
using Decayed = std::decay_t<T>;

// Which conversions accept an argument of type T.
template <typename T>
constexpr bool Accepts(wchar_t conversion)
{
    using D = Decayed<T>;
    switch (conversion) {
    case L'd':
    case L'i':
    case L'u':
    case L'x':
    case L'X':
        return kIsSmallInteger<D> || (std::is_enum_v<D> && sizeof(D) <= 4);
    case L'c':
        return kIsSmallInteger<D>;
    case L'f':
        return std::is_floating_point_v<D>;
    case L's':
        return kIsWideText<D>;
    case L'S':
        return kIsNarrowText<D>;
    default:
        return false;
    }
}

// Not constexpr: reaching it during constant evaluation is the compile error.
void FormatMismatch(const char* why);

// Finds the next conversion at or after position i; returns its letter and moves i past it,
// or returns 0 at the end of the text.
constexpr wchar_t NextConversion(const wchar_t* text, size_t& i)
{
    while (text[i] != 0) {
        if (text[i] != L'%') {
            ++i;
            continue;
        }
        ++i;
        if (text[i] == L'%') {
            ++i;
            continue;
        }
        while (text[i] == L'-' || text[i] == L'0' || text[i] == L'+' || text[i] == L' ' || text[i] == L'#')
            ++i;
        while (text[i] >= L'0' && text[i] <= L'9')
            ++i;
        if (text[i] == L'.') {
            ++i;
            while (text[i] >= L'0' && text[i] <= L'9')
                ++i;
        }
        wchar_t conversion = text[i];
        if (conversion == 0)
            FormatMismatch("format ends inside a conversion");
        ++i;
        return conversion;
    }
    return 0;
}

template <typename... Args>
constexpr void CheckFormat(const wchar_t* text)
{
    size_t i = 0;
    if constexpr (sizeof...(Args) > 0) {
        constexpr bool (*accepts[])(wchar_t) = { &Accepts<Args>... };
        for (auto fits : accepts) {
            wchar_t conversion = NextConversion(text, i);
            if (conversion == 0)
                FormatMismatch("more arguments than conversions");
            if (!fits(conversion))
                FormatMismatch("argument does not fit its conversion");
        }
    }
    if (NextConversion(text, i) != 0)
        FormatMismatch("fewer arguments than conversions");
}

template <typename T>
Arg MakeArg(const T& value)
{
    using D = Decayed<T>;
    Arg arg {};
    if constexpr (std::is_array_v<T> && kIsWideText<D>) {
        arg.kind = ArgKind::WideText;
        arg.wide = std::wstring_view(value);
    } else if constexpr (std::is_array_v<T>) {
        static_assert(kIsNarrowText<D>, "unsupported format argument");
        arg.kind = ArgKind::NarrowText;
        arg.narrow = std::string_view(value);
    } else if constexpr (std::is_enum_v<D>) {
        arg.kind = ArgKind::Signed;
        arg.integer = static_cast<int64_t>(value);
    } else if constexpr (std::is_floating_point_v<D>) {
        arg.kind = ArgKind::Floating;
        arg.floating = static_cast<double>(value);
    } else if constexpr (std::is_integral_v<D>) {
        arg.kind = std::is_signed_v<D> ? ArgKind::Signed : ArgKind::Unsigned;
        arg.integer = static_cast<int64_t>(value);
    } else if constexpr (std::is_same_v<D, std::wstring> || std::is_same_v<D, std::wstring_view>) {
        arg.kind = ArgKind::WideText;
        arg.wide = value;
    } else if constexpr (kIsWideText<D>) {
        arg.kind = ArgKind::WideText;
        arg.isNull = value == nullptr;
        if (value != nullptr)
            arg.wide = value;
    } else if constexpr (std::is_same_v<D, std::string> || std::is_same_v<D, std::string_view>) {
        arg.kind = ArgKind::NarrowText;
        arg.narrow = value;
    } else {
        static_assert(kIsNarrowText<D>, "unsupported format argument");
        arg.kind = ArgKind::NarrowText;
        arg.isNull = value == nullptr;
        if (value != nullptr)
            arg.narrow = value;
    }
    return arg;
}

void FormatInto(std::wstring& out, const wchar_t* text, const Arg* args, size_t count);

} // namespace platform::format_detail

template <typename... Args>
struct WFormat {
    const wchar_t* text;

    template <size_t N>
    consteval WFormat(const wchar_t (&literal)[N])
        : text(literal)
    {
        platform::format_detail::CheckFormat<Args...>(literal);
    }
};

// Fmt(L"IP Address: %s", address): the formatted text.
template <typename... Args>
std::wstring Fmt(WFormat<std::type_identity_t<Args>...> format, const Args&... args)
{
    std::wstring out;
    if constexpr (sizeof...(Args) == 0) {
        platform::format_detail::FormatInto(out, format.text, nullptr, 0);
    } else {
        const platform::format_detail::Arg packed[] = { platform::format_detail::MakeArg(args)... };
        platform::format_detail::FormatInto(out, format.text, packed, sizeof...(Args));
    }
    return out;
}

// Appends to an existing text, for writers that build a line piece by piece.
template <typename... Args>
void AppendFmt(std::wstring& out, WFormat<std::type_identity_t<Args>...> format, const Args&... args)
{
    if constexpr (sizeof...(Args) == 0) {
        platform::format_detail::FormatInto(out, format.text, nullptr, 0);
    } else {
        const platform::format_detail::Arg packed[] = { platform::format_detail::MakeArg(args)... };
        platform::format_detail::FormatInto(out, format.text, packed, sizeof...(Args));
    }
}
