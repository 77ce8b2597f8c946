#include "host/tools/RegToolParsing.h"

#include <cctype>

#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"

namespace host {

namespace {

// The option a word names, lower case without its '/' or '-', or empty when the word is an
// argument (such as a file path that starts with "/").
std::string OptionName(const std::string& word)
{
    static const char* kOptions[] = { "v", "ve", "va", "s", "t", "d", "f", "y" };
    if (word.size() < 2 || (word[0] != '/' && word[0] != '-'))
        return {};
    std::string name = word.substr(1);
    for (char& ch : name)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (const char* known : kOptions)
        if (name == known)
            return name;
    return {};
}

bool TakesArgument(const std::string& operation, const std::string& option)
{
    return option == "v" || option == "t" || option == "d" || (option == "s" && operation == "add");
}

// Which options each operation accepts.
bool Allowed(const std::string& operation, const std::string& option)
{
    if (operation == "query")
        return option == "v" || option == "ve" || option == "s";
    if (operation == "add")
        return option == "v" || option == "ve" || option == "t" || option == "s" || option == "d" || option == "f";
    if (operation == "delete")
        return option == "v" || option == "ve" || option == "va" || option == "f";
    if (operation == "export")
        return option == "y";
    return false;
}

} // namespace

bool ParseRegToolArguments(const std::vector<std::string>& args, RegToolOptions& options, std::string& dataFolder)
{
    options = RegToolOptions();
    std::vector<std::string> words;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--data" && i + 1 < args.size()) {
            dataFolder = args[++i];
        } else if (args[i].rfind("--data=", 0) == 0) {
            dataFolder = args[i].substr(7);
        } else {
            words.push_back(args[i]);
        }
    }
    if (words.empty())
        return false;
    options.operation = words[0];
    for (char& ch : options.operation)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const std::string& operation = options.operation;
    if (operation != "query" && operation != "add" && operation != "delete" && operation != "export" && operation != "import") {
        options.operation.clear();
        return false;
    }
    for (size_t i = 1; i < words.size(); ++i) {
        std::string option = OptionName(words[i]);
        if (option.empty()) {
            options.positional.push_back(words[i]);
            continue;
        }
        if (!Allowed(operation, option))
            return false;
        std::string argument;
        if (TakesArgument(operation, option)) {
            if (i + 1 >= words.size())
                return false;
            argument = words[++i];
        }
        auto once = [](auto& slot, auto value) {
            if (slot)
                return false;
            slot = value;
            return true;
        };
        bool fresh = true;
        if (option == "v")
            fresh = once(options.valueName, argument);
        else if (option == "ve")
            fresh = once(options.defaultValue, true);
        else if (option == "va")
            fresh = once(options.allValues, true);
        else if (option == "s" && operation == "query")
            fresh = once(options.recurse, true);
        else if (option == "s")
            fresh = once(options.separator, argument);
        else if (option == "t")
            fresh = once(options.type, argument);
        else if (option == "d")
            fresh = once(options.data, argument);
        else if (option == "f")
            fresh = once(options.force, true);
        else if (option == "y")
            fresh = once(options.overwriteFile, true);
        if (!fresh)
            return false;
    }
    int valueChoices = (options.valueName ? 1 : 0) + (options.defaultValue ? 1 : 0) + (options.allValues ? 1 : 0);
    if (valueChoices > 1)
        return false;
    size_t wanted = operation == "export" ? 2 : 1;
    return options.positional.size() == wanted;
}

std::optional<std::string> ParseRegToolKey(const std::string& text, RegToolKey& parsed)
{
    std::wstring key = Utf8ToWide(text);
    if (key.rfind(L"\\\\", 0) == 0)
        return "ERROR: Invalid key name. (Registries of other machines are not reachable here.)";
    if (key.size() > 1 && key.back() == L'\\')
        key.pop_back(); // "HKCU\Software\" is taken as "HKCU\Software"
    size_t slash = key.find(L'\\');
    std::wstring rootName = key.substr(0, slash);
    std::optional<platform::RegistryRoot> root = platform::ParseRootName(rootName);
    if (!root) {
        if (platform::IsUnkeptRootName(rootName))
            return "ERROR: Invalid key name. " + WideToUtf8(rootName)
                + " is not kept in this registry: only HKEY_CURRENT_USER (HKCU) and HKEY_LOCAL_MACHINE (HKLM) are.";
        return "ERROR: Invalid key name. A key starts with HKEY_CURRENT_USER (HKCU) or HKEY_LOCAL_MACHINE (HKLM).";
    }
    RegToolKey result;
    result.root = *root;
    if (slash != std::wstring::npos) {
        std::wstring rest = key.substr(slash + 1);
        std::vector<std::wstring> components;
        if (rest.empty() || rest.front() == L'\\' || platform::SplitKeyPath(rest, components) != ERROR_SUCCESS) {
            return "ERROR: Invalid key name. Key names are 1 to " + std::to_string(platform::kMaxKeyNameLength)
                + " characters, separated by one \"\\\".";
        }
        result.subkey = rest;
    }
    result.display = platform::RootName(result.root);
    if (!result.subkey.empty())
        result.display += L"\\" + result.subkey;
    parsed = std::move(result);
    return std::nullopt;
}

bool ParseRegToolNumber(const std::string& text, uint64_t maximum, uint64_t& value)
{
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::string digits = hex ? text.substr(2) : text;
    if (digits.empty())
        return false;
    value = 0;
    for (char ch : digits) {
        int digit;
        if (ch >= '0' && ch <= '9')
            digit = ch - '0';
        else if (hex && ch >= 'a' && ch <= 'f')
            digit = ch - 'a' + 10;
        else if (hex && ch >= 'A' && ch <= 'F')
            digit = ch - 'A' + 10;
        else
            return false;
        uint64_t base = hex ? 16 : 10;
        if (value > (maximum - static_cast<uint64_t>(digit)) / base)
            return false;
        value = value * base + static_cast<uint64_t>(digit);
    }
    return true;
}

std::optional<std::string> BuildRegToolData(const RegToolOptions& options, DWORD& type, std::vector<uint8_t>& data)
{
    std::string typeName = options.type.value_or("REG_SZ");
    for (char& ch : typeName)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    static const std::pair<const char*, DWORD> kTypes[] = { { "REG_SZ", REG_SZ }, { "REG_EXPAND_SZ", REG_EXPAND_SZ },
        { "REG_MULTI_SZ", REG_MULTI_SZ }, { "REG_DWORD", REG_DWORD }, { "REG_QWORD", REG_QWORD }, { "REG_BINARY", REG_BINARY },
        { "REG_NONE", REG_NONE } };
    bool known = false;
    for (const auto& [name, code] : kTypes) {
        if (typeName == name) {
            type = code;
            known = true;
        }
    }
    if (!known) {
        return "ERROR: Invalid type " + *options.type
            + ". The types are REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD, REG_BINARY and REG_NONE.";
    }
    if (options.separator && type != REG_MULTI_SZ)
        return "ERROR: Invalid syntax. /s sets the separator of REG_MULTI_SZ data only.";
    const std::string text = options.data.value_or("");
    switch (type) {
    case REG_DWORD:
    case REG_QWORD: {
        uint64_t value = 0;
        uint64_t maximum = type == REG_DWORD ? 0xFFFFFFFFull : ~0ull;
        if (options.data && !ParseRegToolNumber(text, maximum, value)) {
            return "ERROR: Invalid data for " + typeName + ": '" + text + "'. Give a decimal number or 0x and hex digits, from 0 to "
                + (type == REG_DWORD ? "4294967295" : "18446744073709551615") + ".";
        }
        data.clear();
        for (int i = 0; i < (type == REG_DWORD ? 4 : 8); ++i)
            data.push_back(static_cast<uint8_t>(value >> (8 * i)));
        return std::nullopt;
    }
    case REG_BINARY: {
        data.clear();
        bool valid = text.size() % 2 == 0;
        for (size_t i = 0; valid && i < text.size(); i += 2) {
            uint64_t byte = 0;
            valid = std::isxdigit(static_cast<unsigned char>(text[i])) && std::isxdigit(static_cast<unsigned char>(text[i + 1]))
                && ParseRegToolNumber("0x" + text.substr(i, 2), 0xFF, byte);
            data.push_back(static_cast<uint8_t>(byte));
        }
        if (!valid)
            return "ERROR: Invalid data for REG_BINARY: '" + text + "'. Give hex digits, two for each byte (0a1bff).";
        return std::nullopt;
    }
    case REG_MULTI_SZ: {
        std::wstring wide = Utf8ToWide(text);
        std::wstring separator = options.separator ? Utf8ToWide(*options.separator) : L"\\0";
        if (options.separator && separator.size() != 1)
            return "ERROR: Invalid syntax. The separator given with /s must be one character.";
        std::vector<std::wstring> parts;
        size_t start = 0;
        while (!wide.empty()) {
            size_t end = wide.find(separator, start);
            parts.push_back(wide.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
            if (end == std::wstring::npos)
                break;
            start = end + separator.size();
        }
        data.clear();
        for (const std::wstring& part : parts) {
            // An empty string would end the list early.
            if (part.empty())
                return "ERROR: Invalid data for REG_MULTI_SZ: '" + text + "' has an empty string in it.";
            std::vector<uint8_t> one = Utf16LeWithTerminator(part);
            data.insert(data.end(), one.begin(), one.end());
        }
        data.push_back(0);
        data.push_back(0);
        return std::nullopt;
    }
    default: // the string types and REG_NONE
        data = Utf16LeWithTerminator(Utf8ToWide(text));
        return std::nullopt;
    }
}

} // namespace host

