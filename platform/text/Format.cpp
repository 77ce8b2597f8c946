#include "platform/text/Format.h"

#include <cstdio>

namespace platform::format_detail {

void FormatMismatch(const char*) { }

namespace {

struct Directive {
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    bool spaceSign = false;
    bool alternate = false; // '#': 0x before a hexadecimal value that is not zero
    int width = 0;
    int precision = -1;
    wchar_t conversion = 0;
};

// Zero padding goes after a sign or a 0x prefix of a number; text is padded with zeros from
// the left, as the platform's printf does.
void Pad(std::wstring& out, const std::wstring& body, const Directive& directive, bool numeric)
{
    int fill = directive.width - static_cast<int>(body.size());
    if (fill <= 0) {
        out += body;
        return;
    }
    if (directive.leftAlign) {
        out += body;
        out.append(static_cast<size_t>(fill), L' ');
    } else if (directive.zeroPad) {
        size_t signLength = 0;
        if (numeric && !body.empty() && (body[0] == L'-' || body[0] == L'+' || body[0] == L' '))
            signLength = 1;
        else if (numeric && body.size() > 1 && body[0] == L'0' && (body[1] == L'x' || body[1] == L'X'))
            signLength = 2;
        out += body.substr(0, signLength);
        out.append(static_cast<size_t>(fill), L'0');
        out += body.substr(signLength);
    } else {
        out.append(static_cast<size_t>(fill), L' ');
        out += body;
    }
}

// The digits of a value with at least precision of them: none for zero at precision 0.
std::wstring Digits(uint32_t value, unsigned base, bool upper, int precision)
{
    if (value == 0 && precision == 0)
        return std::wstring();
    const wchar_t* digits = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    wchar_t buffer[16];
    int n = 0;
    do {
        buffer[n++] = digits[value % base];
        value /= base;
    } while (value != 0);
    std::wstring out;
    if (precision > n)
        out.append(static_cast<size_t>(precision - n), L'0');
    while (n > 0)
        out.push_back(buffer[--n]);
    return out;
}

void FormatInteger(std::wstring& out, const Directive& directive, const Arg& arg)
{
    // The device passes every integer as 32 bits: the value is reinterpreted, not converted.
    uint32_t bits = static_cast<uint32_t>(arg.integer);
    std::wstring body;
    if (directive.conversion == L'd' || directive.conversion == L'i') {
        int32_t value = static_cast<int32_t>(bits);
        uint32_t magnitude = value < 0 ? 0u - bits : bits;
        if (value < 0)
            body = L"-";
        else if (directive.plusSign)
            body = L"+";
        else if (directive.spaceSign)
            body = L" ";
        body += Digits(magnitude, 10, false, directive.precision);
    } else {
        bool hex = directive.conversion != L'u';
        if (hex && directive.alternate && bits != 0)
            body = directive.conversion == L'X' ? L"0X" : L"0x";
        body += Digits(bits, hex ? 16 : 10, directive.conversion == L'X', directive.precision);
    }
    Directive padding = directive;
    if (directive.precision >= 0)
        padding.zeroPad = false;
    Pad(out, body, padding, true);
}

void FormatFloating(std::wstring& out, const Directive& directive, const Arg& arg)
{
    char pattern[32];
    std::snprintf(pattern, sizeof pattern, "%%%s%s%s%s%d.%df", directive.leftAlign ? "-" : "", directive.zeroPad ? "0" : "",
        directive.plusSign ? "+" : "", directive.spaceSign ? " " : "", directive.width, directive.precision < 0 ? 6 : directive.precision);
    char buffer[512];
    int n = std::snprintf(buffer, sizeof buffer, pattern, arg.floating);
    if (n < 0)
        return;
    if (static_cast<size_t>(n) >= sizeof buffer)
        n = sizeof buffer - 1;
    for (int i = 0; i < n; ++i)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(buffer[i])));
}

void FormatText(std::wstring& out, const Directive& directive, const Arg& arg)
{
    std::wstring body;
    if (arg.isNull) {
        body = L"(null)";
    } else if (arg.kind == ArgKind::WideText) {
        body.assign(arg.wide);
    } else {
        for (char ch : arg.narrow)
            body.push_back(static_cast<wchar_t>(static_cast<unsigned char>(ch)));
    }
    if (directive.precision >= 0 && body.size() > static_cast<size_t>(directive.precision))
        body.resize(static_cast<size_t>(directive.precision));
    Pad(out, body, directive, false);
}

} // namespace

void FormatInto(std::wstring& out, const wchar_t* text, const Arg* args, size_t count)
{
    size_t next = 0;
    for (size_t i = 0; text[i] != 0;) {
        if (text[i] != L'%') {
            out.push_back(text[i++]);
            continue;
        }
        ++i;
        if (text[i] == L'%') {
            out.push_back(L'%');
            ++i;
            continue;
        }
        Directive directive;
        for (;; ++i) {
            if (text[i] == L'-')
                directive.leftAlign = true;
            else if (text[i] == L'0')
                directive.zeroPad = true;
            else if (text[i] == L'+')
                directive.plusSign = true;
            else if (text[i] == L' ')
                directive.spaceSign = true;
            else if (text[i] == L'#')
                directive.alternate = true;
            else
                break;
        }
        while (text[i] >= L'0' && text[i] <= L'9')
            directive.width = directive.width * 10 + (text[i++] - L'0');
        if (text[i] == L'.') {
            ++i;
            directive.precision = 0;
            while (text[i] >= L'0' && text[i] <= L'9')
                directive.precision = directive.precision * 10 + (text[i++] - L'0');
        }
        directive.conversion = text[i];
        if (directive.conversion == 0)
            break;
        ++i;
        if (next >= count)
            break; // cannot happen: the format was checked at compile time
        const Arg& arg = args[next++];
        switch (directive.conversion) {
        case L'd':
        case L'i':
        case L'u':
        case L'x':
        case L'X':
            FormatInteger(out, directive, arg);
            break;
        case L'c': {
            Directive padding = directive;
            padding.precision = -1;
            Pad(out, std::wstring(1, static_cast<wchar_t>(static_cast<uint32_t>(arg.integer))), padding, false);
            break;
        }
        case L'f':
            FormatFloating(out, directive, arg);
            break;
        case L's':
        case L'S':
            FormatText(out, directive, arg);
            break;
        default:
            break;
        }
    }
}

} // namespace platform::format_detail
