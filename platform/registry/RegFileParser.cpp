#include "platform/registry/RegFile.h"

#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"

namespace platform {

namespace {

constexpr std::wstring_view kHeaderVersion5 = L"Windows Registry Editor Version 5.00";
constexpr std::wstring_view kHeaderVersion4 = L"REGEDIT4";

std::wstring DecodeText(std::string_view bytes)
{
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE)
        return DecodeUtf16Le(bytes.substr(2));
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return Utf8ToWide(bytes.substr(3));
    if (IsValidUtf8(bytes))
        return Utf8ToWide(bytes);
    // Not UTF-8: an 8-bit file, as the older editor wrote them.
    std::wstring text;
    text.reserve(bytes.size());
    for (char byte : bytes)
        text.push_back(static_cast<wchar_t>(static_cast<uint8_t>(byte)));
    return text;
}

std::vector<std::wstring_view> SplitLines(std::wstring_view text)
{
    std::vector<std::wstring_view> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        std::wstring_view line = text.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start);
        if (!line.empty() && line.back() == L'\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::wstring_view::npos)
            break;
        start = end + 1;
    }
    return lines;
}

std::wstring_view Trim(std::wstring_view text)
{
    static constexpr std::wstring_view kWhite = L" \t\r\n\v\f";
    size_t first = text.find_first_not_of(kWhite);
    if (first == std::wstring_view::npos)
        return {};
    size_t last = text.find_last_not_of(kWhite);
    return text.substr(first, last - first + 1);
}

int HexDigit(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9')
        return ch - L'0';
    if (ch >= L'a' && ch <= L'f')
        return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F')
        return ch - L'A' + 10;
    return -1;
}

// 1 to maxDigits hex digits, nothing else.
bool ParseHexNumber(std::wstring_view text, size_t maxDigits, uint32_t& number)
{
    if (text.empty() || text.size() > maxDigits)
        return false;
    number = 0;
    for (wchar_t ch : text) {
        int digit = HexDigit(ch);
        if (digit < 0)
            return false;
        number = (number << 4) | static_cast<uint32_t>(digit);
    }
    return true;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

class Parser {
public:
    Parser(RegFileDocument& document, RegFileError& error, std::vector<RegFileError>* faults = nullptr)
        : m_document(document)
        , m_error(error)
        , m_faults(faults)
    {
    }

    bool Run(std::string_view bytes);

private:
    bool Fail(std::string message)
    {
        m_error.line = m_lineNumber;
        m_error.message = std::move(message);
        return false;
    }
    bool ParseSection(std::wstring_view line);
    bool ParseValue(std::wstring_view line);
    // A "..." string with \\ and \" escapes starting at text[at]; at moves past the quote.
    bool ParseQuoted(std::wstring_view text, size_t& at, std::wstring& out);
    bool ParseHexData(std::wstring_view first, std::vector<uint8_t>& data);

    RegFileDocument& m_document;
    RegFileError& m_error;
    // Set when the good lines are to be kept: every bad line is noted here and skipped.
    std::vector<RegFileError>* m_faults = nullptr;
    std::vector<std::wstring_view> m_lines;
    size_t m_index = 0; // the line being read
    size_t m_lineNumber = 0;
    bool m_version4 = false;
    bool m_inRemovedKey = false;
};

bool Parser::Run(std::string_view bytes)
{
    std::wstring text = DecodeText(bytes);
    // A file cut short by a crash often ends in NUL blocks: kept lines are checked one by one.
    if (m_faults == nullptr && text.find(L'\0') != std::wstring::npos)
        return Fail("the file holds a NUL character");
    m_lines = SplitLines(text);

    // The header is the first line that is not blank.
    for (; m_index < m_lines.size(); ++m_index) {
        m_lineNumber = m_index + 1;
        std::wstring_view line = Trim(m_lines[m_index]);
        if (line.empty())
            continue;
        if (line == kHeaderVersion5)
            break;
        if (line == kHeaderVersion4) {
            m_version4 = true;
            break;
        }
        return Fail("not a registry file (the first line must be \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\")");
    }
    if (m_index == m_lines.size()) {
        m_lineNumber = 0;
        return Fail("not a registry file (it has no header line)");
    }

    // After a key line that was skipped, its values are skipped with it: they would land in
    // the key before it.
    bool skippingKey = false;
    for (++m_index; m_index < m_lines.size(); ++m_index) {
        m_lineNumber = m_index + 1;
        std::wstring_view line = Trim(m_lines[m_index]);
        if (line.find(L'\0') != std::wstring_view::npos) {
            // Only a reader that keeps good lines gets here (the strict one refused the file).
            Fail("the line holds a NUL character");
            m_faults->push_back(m_error);
            continue;
        }
        if (line.empty() || line.front() == L';')
            continue;
        bool section = line.front() == L'[';
        if (skippingKey && !section)
            continue;
        bool ok = false;
        if (section)
            ok = ParseSection(line);
        else if (line.front() == L'"' || line.front() == L'@')
            ok = ParseValue(line);
        else
            ok = Fail("expected a [key] or a \"name\"=value line");
        if (section)
            skippingKey = !ok;
        if (!ok) {
            if (m_faults == nullptr)
                return false;
            m_faults->push_back(m_error);
        }
    }
    return true;
}

bool Parser::ParseSection(std::wstring_view line)
{
    if (line.back() != L']' || line.size() < 3)
        return Fail("a key line must end with ']'");
    std::wstring_view inner = line.substr(1, line.size() - 2);
    RegFileSection section;
    if (inner.front() == L'-') {
        section.removeKey = true;
        inner.remove_prefix(1);
    }
    size_t slash = inner.find(L'\\');
    std::wstring_view rootName = inner.substr(0, slash);
    std::optional<RegistryRoot> root = ParseRootName(rootName);
    if (!root) {
        if (IsUnkeptRootName(rootName))
            return Fail("the root " + WideToUtf8(rootName) + " is not kept in this registry");
        return Fail("unknown root key '" + WideToUtf8(rootName) + "'");
    }
    section.root = *root;
    if (slash != std::wstring_view::npos) {
        std::wstring_view path = inner.substr(slash + 1);
        LONG split = SplitKeyPath(path, section.path);
        // The file names every key exactly: a trailing "\", which the calls forgive, is an
        // empty name here.
        if (split != ERROR_SUCCESS || section.path.empty() || path.back() == L'\\')
            return Fail(split == ERROR_INVALID_PARAMETER ? "a key name is too long or holds a character a key name cannot hold"
                                                         : "the key path has an empty name in it");
    }
    if (section.path.size() > kMaxKeyDepth)
        return Fail("the key path is more than " + std::to_string(kMaxKeyDepth) + " keys deep");
    if (section.removeKey && section.path.empty())
        return Fail("a root key cannot be deleted");
    m_inRemovedKey = section.removeKey;
    m_document.sections.push_back(std::move(section));
    return true;
}

bool Parser::ParseQuoted(std::wstring_view text, size_t& at, std::wstring& out)
{
    out.clear();
    ++at; // the opening quote
    while (at < text.size()) {
        wchar_t ch = text[at++];
        if (ch == L'"')
            return true;
        if (ch == L'\\') {
            if (at >= text.size() || (text[at] != L'\\' && text[at] != L'"'))
                return Fail("only \\\\ and \\\" may follow a backslash in a quoted string");
            ch = text[at++];
        }
        out.push_back(ch);
    }
    return Fail("a quoted string is not closed");
}

bool Parser::ParseValue(std::wstring_view line)
{
    if (m_document.sections.empty())
        return Fail("a value before the first [key] line");
    if (m_inRemovedKey)
        return Fail("a value under a [-key] line, which deletes the key");
    RegFileValue value;
    size_t at = 0;
    if (line.front() == L'@') {
        at = 1;
    } else if (!ParseQuoted(line, at, value.name)) {
        return false;
    }
    if (!IsValidValueName(value.name))
        return Fail("a value name is too long or holds a character a value name cannot hold");
    std::wstring_view rest = Trim(line.substr(at));
    if (rest.empty() || rest.front() != L'=')
        return Fail("expected '=' after the value name");
    rest = Trim(rest.substr(1));

    if (rest == L"-") {
        value.remove = true;
    } else if (!rest.empty() && rest.front() == L'"') {
        size_t end = 0;
        std::wstring text;
        if (!ParseQuoted(rest, end, text))
            return false;
        if (!Trim(rest.substr(end)).empty())
            return Fail("unexpected text after a quoted string");
        value.type = REG_SZ;
        value.data = Utf16LeWithTerminator(text);
    } else if (StartsWithNoCase(rest, L"dword:")) {
        uint32_t number = 0;
        if (!ParseHexNumber(rest.substr(6), 8, number))
            return Fail("dword: must be followed by 1 to 8 hex digits");
        value.type = REG_DWORD;
        value.data = { static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number >> 16),
            static_cast<uint8_t>(number >> 24) };
    } else if (StartsWithNoCase(rest, L"hex:")) {
        value.type = REG_BINARY;
        if (!ParseHexData(rest.substr(4), value.data))
            return false;
    } else if (StartsWithNoCase(rest, L"hex(")) {
        size_t close = rest.find(L')');
        if (close == std::wstring_view::npos || close + 1 >= rest.size() || rest[close + 1] != L':')
            return Fail("expected hex(type): before the data");
        if (!ParseHexNumber(rest.substr(4, close - 4), 8, value.type))
            return Fail("the type in hex(type): must be 1 to 8 hex digits");
        if (!ParseHexData(rest.substr(close + 2), value.data))
            return false;
        bool stringType = value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ;
        if (m_version4 && stringType) {
            // The older format stores the string types as 8-bit characters.
            std::string widened;
            for (uint8_t byte : value.data) {
                widened.push_back(static_cast<char>(byte));
                widened.push_back('\0');
            }
            value.data.assign(widened.begin(), widened.end());
        }
    } else {
        return Fail("unknown value data (expected \"text\", dword:, hex: or hex(type):)");
    }
    m_document.sections.back().values.push_back(std::move(value));
    return true;
}

bool Parser::ParseHexData(std::wstring_view first, std::vector<uint8_t>& data)
{
    // Joins the lines continued with a trailing "\".
    std::wstring joined(Trim(first));
    while (!joined.empty() && joined.back() == L'\\') {
        joined.pop_back();
        if (m_index + 1 >= m_lines.size())
            break;
        ++m_index;
        m_lineNumber = m_index + 1;
        joined += Trim(m_lines[m_index]);
    }
    data.clear();
    std::wstring_view rest = joined;
    while (!rest.empty()) {
        size_t comma = rest.find(L',');
        std::wstring_view item = Trim(rest.substr(0, comma));
        uint32_t byte = 0;
        if (!ParseHexNumber(item, 2, byte))
            return Fail("hex data must be bytes of 1 or 2 hex digits separated by commas");
        data.push_back(static_cast<uint8_t>(byte));
        if (comma == std::wstring_view::npos)
            break;
        rest = Trim(rest.substr(comma + 1)); // a trailing comma ends the list
    }
    return true;
}

} // namespace

bool ParseRegFile(std::string_view bytes, RegFileDocument& document, RegFileError& error)
{
    document = RegFileDocument {};
    error = RegFileError {};
    Parser parser(document, error);
    if (parser.Run(bytes))
        return true;
    document = RegFileDocument {};
    return false;
}

bool ParseRegFileKeepingGoodLines(std::string_view bytes, RegFileDocument& document, std::vector<RegFileError>& faults)
{
    document = RegFileDocument {};
    faults.clear();
    RegFileError error;
    Parser parser(document, error, &faults);
    if (parser.Run(bytes))
        return true;
    document = RegFileDocument {};
    faults.assign(1, error);
    return false;
}

} // namespace platform
