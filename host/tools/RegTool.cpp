#include "host/tools/RegTool.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <unistd.h>

#include "host/DeviceStorage.h"
#include "host/ReplaceFile.h"
#include "host/tools/RegToolParsing.h"
#include "platform/core/DataFolder.h"
#include "platform/files/WholeFile.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryExchange.h"
#include "platform/registry/RegistryNames.h"
#include "platform/registry/RegistryStore.h"
#include "platform/text/Format.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"

namespace {

constexpr const char* kNotFound = "ERROR: The system was unable to find the specified registry key or value.";
constexpr const char* kSuccess = "The operation completed successfully.";
constexpr const char* kCanceled = "The operation was canceled by the user.";

// An argument shown with its bytes outside printable ASCII as \xNN, so that a message about bad
// text does not print the bad text itself.
std::string Printable(const std::string& text)
{
    std::string out;
    for (unsigned char ch : text) {
        if (ch >= 0x20 && ch < 0x7F) {
            out += static_cast<char>(ch);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", ch);
            out += escaped;
        }
    }
    return out;
}

constexpr const char* kHelp = R"(Usage: velmora [--data DIR] reg OPERATION [arguments]

Reads and changes the registry of the emulated device: the hive file registry.reg in the
data folder (--data DIR, else $VELMORA_DATA, else $XDG_DATA_HOME/velmora, else
~/.local/share/velmora).

  velmora reg query KEY [/v NAME | /ve] [/s]
  velmora reg add KEY [/v NAME | /ve] [/t TYPE] [/s SEP] [/d DATA] [/f]
  velmora reg delete KEY [/v NAME | /ve | /va] [/f]
  velmora reg export KEY FILE [/y]
  velmora reg import FILE

  KEY      ROOT\Subkey\...   ROOT: HKEY_CURRENT_USER (HKCU) or HKEY_LOCAL_MACHINE (HKLM)
  /v NAME  the value NAME
  /ve      the default value, shown as (Default)
  /s       query: also every key below KEY
           add: the separator in REG_MULTI_SZ data, one character (default \0)
  /t TYPE  REG_SZ (default), REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD,
           REG_BINARY, REG_NONE
  /d DATA  text for REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ and REG_NONE; a decimal or 0x-hex
           number for REG_DWORD and REG_QWORD; hex digits, two per byte, for REG_BINARY.
           Without /d: empty text, no bytes, or the number 0.
  /f       add: overwrite an existing value without asking; delete: do not ask
  /va      delete: every value of KEY (its subkeys stay)
  /y       export: overwrite FILE without asking

add without /v or /ve creates the key; with /t or /d it sets the default value. delete
without /v, /ve or /va deletes KEY and everything below it. Options may be written with
'-' as well (-v NAME) and in any case.

Before overwriting or deleting, the tool asks (Yes/No) on the terminal; when standard input
is not a terminal the answer is No and nothing changes. export writes UTF-8 text in the
"Windows Registry Editor Version 5.00" format; import reads that format (UTF-8 or UTF-16)
and REGEDIT4, including [-KEY] and "name"=- deletions.

query and export read the hive without locking it, also while the device runs. add, delete
and import lock it, and are refused while a running velmora holds it: stop the service
first (velmora service stop), or close the window or end the headless run.

Exit code: 0 on success; 1 on an error or when the operation was not confirmed.
)";

std::string Narrow(std::wstring_view text)
{
    return WideToUtf8(text);
}

// Text from the hive for the terminal: control characters (an escape sequence would drive the
// terminal, a line break would forge a line) are shown as \xNN; everything else as it is.
std::string Shown(std::wstring_view text)
{
    std::wstring out;
    for (wchar_t ch : text) {
        if (ch < 0x20 || ch == 0x7F || (ch >= 0x80 && ch < 0xA0))
            out += Fmt(L"\\x%02X", static_cast<unsigned>(ch));
        else
            out += ch;
    }
    return WideToUtf8(out);
}

class RegTool {
public:
    RegTool(const std::vector<std::string>& args, std::string dataFolder)
        : m_args(args)
        , m_dataFolderArgument(std::move(dataFolder))
    {
    }

    int Run();

private:
    int RunOperation();
    int Syntax(const std::string& detail = {});
    // KEY into m_key; prints the error itself.
    bool ParseKey(const std::string& text);
    bool OpenStore(platform::RegistryStoreMode mode);
    int Finish(int code);
    bool Confirm(const std::string& question);

    int Query();
    int QueryKey(HKEY key, const std::wstring& display, bool recurse);
    int SearchValue(HKEY key, const std::wstring& display, const std::wstring& name, int& matches);
    int Add();
    int Delete();
    int Export();
    int Import();

    std::vector<std::string> m_args;
    std::string m_dataFolderArgument;
    std::filesystem::path m_dataFolder;
    host::RegToolOptions m_options;
    host::RegToolKey m_key;
    bool m_storeOpen = false;
    bool m_hiveDamaged = false;
};

int RegTool::Syntax(const std::string& detail)
{
    std::string operation = m_options.operation.empty() ? "" : m_options.operation + " ";
    std::fprintf(stderr, "ERROR: Invalid syntax.%s%s\nType \"velmora reg %s--help\" for usage.\n", detail.empty() ? "" : " ",
        detail.c_str(), operation.c_str());
    return 1;
}

bool RegTool::ParseKey(const std::string& text)
{
    if (std::optional<std::string> error = host::ParseRegToolKey(text, m_key)) {
        std::fprintf(stderr, "%s\n", error->c_str());
        return false;
    }
    return true;
}

bool RegTool::OpenStore(platform::RegistryStoreMode mode)
{
    m_dataFolder = platform::ResolveDataFolder(m_dataFolderArgument);
    platform::RegistryStoreResult result = platform::OpenRegistryStore(platform::HivePath(m_dataFolder), mode);
    if (result.status == platform::RegistryStoreStatus::InUse) {
        // Only reads go on beside a running device; its registry is its own until it stops.
        std::fprintf(stderr, "ERROR: The registry in %s is in use by a running velmora device; %s.\n", m_dataFolder.c_str(),
            host::HeldFolderAdvice().c_str());
        return false;
    }
    if (!result.Ok()) {
        std::fprintf(stderr, "ERROR: %s\n", result.detail.c_str());
        return false;
    }
    m_storeOpen = true;
    m_hiveDamaged = !result.damage.empty();
    // A change the hive cannot take is refused before it is made: the tool ends at once, and
    // the store's "written at the next chance" would lose it.
    if (std::string detail; mode == platform::RegistryStoreMode::ReadWrite && platform::CheckRegistryStoreWritable(detail) != ERROR_SUCCESS) {
        std::fprintf(stderr, "ERROR: %s. Nothing was changed.\n", detail.c_str());
        m_storeOpen = false;
        platform::CloseRegistryStore();
        return false;
    }
    return true;
}

// Closes the store, which writes the hive when it changed; a failed write turns success
// into failure.
int RegTool::Finish(int code)
{
    if (!m_storeOpen)
        return code;
    m_storeOpen = false;
    if (platform::CloseRegistryStore() != ERROR_SUCCESS) {
        std::fprintf(stderr, "ERROR: The registry in %s could not be written.\n", m_dataFolder.c_str());
        return 1;
    }
    return code;
}

// question ends with its "(Yes/No)?".
bool RegTool::Confirm(const std::string& question)
{
    std::printf("%s ", question.c_str());
    std::fflush(stdout);
    if (!::isatty(STDIN_FILENO)) {
        std::printf("No (standard input is not a terminal)\n");
        return false;
    }
    std::string answer;
    while (std::getline(std::cin, answer)) {
        std::string lower = Narrow(WideToLower(TrimWhite(Utf8ToWide(answer))));
        if (lower == "y" || lower == "yes")
            return true;
        if (lower == "n" || lower == "no")
            return false;
        std::printf("%s ", question.c_str());
        std::fflush(stdout);
    }
    std::printf("\n");
    return false;
}

// ---------------------------------------------------------------------------------------
// Values as query prints them

const char* TypeName(DWORD type)
{
    switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_DWORD_BIG_ENDIAN: return "REG_DWORD_BIG_ENDIAN";
    case REG_LINK: return "REG_LINK";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_RESOURCE_LIST: return "REG_RESOURCE_LIST";
    case 9: return "REG_FULL_RESOURCE_DESCRIPTOR";
    case 10: return "REG_RESOURCE_REQUIREMENTS_LIST";
    case REG_QWORD: return "REG_QWORD";
    default: return nullptr;
    }
}

std::string HexBytes(const std::vector<uint8_t>& data)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (uint8_t byte : data) {
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0xF];
    }
    return out;
}

std::string ShowData(DWORD type, const std::vector<uint8_t>& data)
{
    char buffer[32];
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        return Shown(Utf16LeUpToTerminator(data.data(), data.size()));
    case REG_MULTI_SZ: {
        std::string out;
        std::wstring all = DecodeUtf16Le(data.data(), data.size());
        size_t start = 0;
        while (start < all.size()) {
            size_t end = all.find(L'\0', start);
            if (end == start)
                break; // the empty string that ends the list
            if (!out.empty())
                out += "\\0";
            out += Shown(std::wstring_view(all).substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
            if (end == std::wstring::npos)
                break;
            start = end + 1;
        }
        return out;
    }
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
        if (data.size() == 4) {
            uint32_t value = type == REG_DWORD ? (data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24))
                                               : (data[3] | (data[2] << 8) | (data[1] << 16) | (static_cast<uint32_t>(data[0]) << 24));
            std::snprintf(buffer, sizeof buffer, "0x%x", value);
            return buffer;
        }
        return HexBytes(data);
    case REG_QWORD:
        if (data.size() == 8) {
            uint64_t value = 0;
            for (int i = 7; i >= 0; --i)
                value = (value << 8) | data[static_cast<size_t>(i)];
            std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(value));
            return buffer;
        }
        return HexBytes(data);
    default:
        return HexBytes(data);
    }
}

std::string ValueLine(const std::wstring& name, DWORD type, const std::vector<uint8_t>& data)
{
    char typeText[24];
    const char* typeName = TypeName(type);
    if (typeName == nullptr) {
        std::snprintf(typeText, sizeof typeText, "0x%x", type);
        typeName = typeText;
    }
    return "    " + (name.empty() ? std::string("(Default)") : Shown(name)) + "    " + typeName + "    " + ShowData(type, data);
}

struct EnumeratedValue {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;
};

// Every value and subkey name of a key, through the registry calls with buffers sized by
// RegQueryInfoKeyW.
bool ReadKey(HKEY key, std::vector<EnumeratedValue>& values, std::vector<std::wstring>& subkeys)
{
    DWORD subkeyCount = 0, maxSubkey = 0, valueCount = 0, maxValueName = 0, maxData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeyCount, &maxSubkey, nullptr, &valueCount, &maxValueName, &maxData,
            nullptr, nullptr)
        != ERROR_SUCCESS)
        return false;
    std::vector<wchar_t> name(std::max(maxValueName, maxSubkey) + 1);
    std::vector<uint8_t> data(maxData);
    for (DWORD i = 0; i < valueCount; ++i) {
        DWORD nameCount = static_cast<DWORD>(name.size());
        DWORD dataSize = maxData;
        EnumeratedValue value;
        if (RegEnumValueW(key, i, name.data(), &nameCount, nullptr, &value.type, data.data(), &dataSize) != ERROR_SUCCESS)
            return false;
        value.name.assign(name.data(), nameCount);
        value.data.assign(data.begin(), data.begin() + dataSize);
        values.push_back(std::move(value));
    }
    for (DWORD i = 0; i < subkeyCount; ++i) {
        DWORD nameCount = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, i, name.data(), &nameCount, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return false;
        subkeys.emplace_back(name.data(), nameCount);
    }
    return true;
}

class ScopedKey {
public:
    ScopedKey() = default;
    ~ScopedKey()
    {
        if (m_key != nullptr)
            RegCloseKey(m_key);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    HKEY* Out() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// ---------------------------------------------------------------------------------------
// Operations

int RegTool::Query()
{
    if (!ParseKey(m_options.positional[0]) || !OpenStore(platform::RegistryStoreMode::ReadOnly))
        return 1;
    ScopedKey key;
    if (RegOpenKeyExW(platform::RootHandle(m_key.root), m_key.subkey.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS) {
        std::fprintf(stderr, "%s\n", kNotFound);
        return 1;
    }
    if (m_options.valueName || m_options.defaultValue) {
        std::wstring name = m_options.valueName ? Utf8ToWide(*m_options.valueName) : std::wstring();
        if (m_options.recurse) {
            int matches = 0;
            if (SearchValue(key.Get(), m_key.display, name, matches) != 0)
                return 1;
            std::printf("End of search: %d match(es) found.\n", matches);
            return matches > 0 ? 0 : 1;
        }
        const EnumeratedValue* found = nullptr;
        std::vector<EnumeratedValue> values;
        std::vector<std::wstring> subkeys;
        if (ReadKey(key.Get(), values, subkeys))
            for (const EnumeratedValue& value : values)
                if (EqualsNoCase(value.name, name))
                    found = &value;
        if (found == nullptr) {
            std::fprintf(stderr, "%s\n", kNotFound);
            return 1;
        }
        std::printf("\n%s\n%s\n\n", Narrow(m_key.display).c_str(), ValueLine(found->name, found->type, found->data).c_str());
        return 0;
    }
    return QueryKey(key.Get(), m_key.display, m_options.recurse);
}

int RegTool::QueryKey(HKEY key, const std::wstring& display, bool recurse)
{
    std::vector<EnumeratedValue> values;
    std::vector<std::wstring> subkeys;
    if (!ReadKey(key, values, subkeys)) {
        std::fprintf(stderr, "ERROR: %s could not be read.\n", Shown(display).c_str());
        return 1;
    }
    std::printf("\n%s\n", Shown(display).c_str());
    for (const EnumeratedValue& value : values)
        std::printf("%s\n", ValueLine(value.name, value.type, value.data).c_str());
    if (!recurse) {
        if (!subkeys.empty())
            std::printf("\n");
        for (const std::wstring& subkey : subkeys)
            std::printf("%s\n", Shown(display + L"\\" + subkey).c_str());
        return 0;
    }
    for (const std::wstring& subkey : subkeys) {
        ScopedKey child;
        if (RegOpenKeyExW(key, subkey.c_str(), 0, KEY_READ, child.Out()) != ERROR_SUCCESS)
            continue;
        if (QueryKey(child.Get(), display + L"\\" + subkey, true) != 0)
            return 1;
    }
    return 0;
}

int RegTool::SearchValue(HKEY key, const std::wstring& display, const std::wstring& name, int& matches)
{
    std::vector<EnumeratedValue> values;
    std::vector<std::wstring> subkeys;
    if (!ReadKey(key, values, subkeys))
        return 1;
    for (const EnumeratedValue& value : values) {
        if (EqualsNoCase(value.name, name)) {
            std::printf("\n%s\n%s\n", Shown(display).c_str(), ValueLine(value.name, value.type, value.data).c_str());
            ++matches;
        }
    }
    for (const std::wstring& subkey : subkeys) {
        ScopedKey child;
        if (RegOpenKeyExW(key, subkey.c_str(), 0, KEY_READ, child.Out()) == ERROR_SUCCESS
            && SearchValue(child.Get(), display + L"\\" + subkey, name, matches) != 0)
            return 1;
    }
    return 0;
}

int RegTool::Add()
{
    if (!ParseKey(m_options.positional[0]))
        return 1;
    bool setsValue = m_options.valueName || m_options.defaultValue || m_options.type || m_options.data;
    DWORD type = REG_SZ;
    std::vector<uint8_t> data;
    if (setsValue) {
        if (std::optional<std::string> error = host::BuildRegToolData(m_options, type, data)) {
            std::fprintf(stderr, "%s\n", error->c_str());
            return 1;
        }
    }
    if (m_options.separator && !setsValue)
        return Syntax("/s goes with REG_MULTI_SZ data.");
    std::wstring name = m_options.valueName ? Utf8ToWide(*m_options.valueName) : std::wstring();
    if (!platform::IsValidValueName(name)) {
        std::fprintf(stderr, "ERROR: Invalid value name. A value name is at most %zu characters, without line breaks.\n",
            platform::kMaxValueNameLength);
        return 1;
    }
    if (m_key.subkey.empty() && !setsValue) {
        std::fprintf(stderr, "ERROR: Invalid key name. The root %s exists already; name a key below it.\n", Narrow(m_key.display).c_str());
        return 1;
    }
    if (!OpenStore(platform::RegistryStoreMode::ReadWrite))
        return 1;
    ScopedKey key;
    LONG created = RegCreateKeyExW(platform::RootHandle(m_key.root), m_key.subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
        KEY_ALL_ACCESS, nullptr, key.Out(), nullptr);
    if (created != ERROR_SUCCESS) {
        std::fprintf(stderr, "ERROR: %s could not be created (error %d).\n", Narrow(m_key.display).c_str(), created);
        return Finish(1);
    }
    if (setsValue) {
        DWORD size = 0;
        bool exists = RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
        if (exists && !m_options.force) {
            std::string shown = name.empty() ? "(Default)" : Shown(name);
            if (!Confirm("Value " + shown + " exists, overwrite(Yes/No)?")) {
                std::printf("%s\n", kCanceled);
                return Finish(1);
            }
        }
        if (RegSetValueExW(key.Get(), name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())) != ERROR_SUCCESS) {
            std::fprintf(stderr, "ERROR: The value could not be set.\n");
            return Finish(1);
        }
    }
    int code = Finish(0);
    if (code == 0)
        std::printf("%s\n", kSuccess);
    return code;
}

int RegTool::Delete()
{
    if (!ParseKey(m_options.positional[0]))
        return 1;
    bool wholeKey = !m_options.valueName && !m_options.defaultValue && !m_options.allValues;
    if (wholeKey && m_key.subkey.empty()) {
        std::fprintf(stderr, "ERROR: Invalid key name. The root %s cannot be deleted.\n", Narrow(m_key.display).c_str());
        return 1;
    }
    if (!OpenStore(platform::RegistryStoreMode::ReadWrite))
        return 1;
    ScopedKey key;
    if (RegOpenKeyExW(platform::RootHandle(m_key.root), m_key.subkey.c_str(), 0, KEY_ALL_ACCESS, key.Out()) != ERROR_SUCCESS) {
        std::fprintf(stderr, "%s\n", kNotFound);
        return Finish(1);
    }
    std::wstring name = m_options.valueName ? Utf8ToWide(*m_options.valueName) : std::wstring();
    std::string question;
    if (wholeKey) {
        question = "Permanently delete the registry key " + Narrow(m_key.display) + " (Yes/No)?";
    } else if (m_options.allValues) {
        question = "Delete all values under the registry key " + Narrow(m_key.display) + " (Yes/No)?";
    } else {
        DWORD size = 0;
        if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
            std::fprintf(stderr, "%s\n", kNotFound);
            return Finish(1);
        }
        question = "Delete the registry value " + (name.empty() ? std::string("(Default)") : Shown(name)) + " (Yes/No)?";
    }
    if (!m_options.force && !Confirm(question)) {
        std::printf("%s\n", kCanceled);
        return Finish(1);
    }

    LONG result = ERROR_SUCCESS;
    if (wholeKey) {
        result = RegDeleteTreeW(platform::RootHandle(m_key.root), m_key.subkey.c_str());
    } else if (m_options.allValues) {
        std::vector<EnumeratedValue> values;
        std::vector<std::wstring> subkeys;
        if (!ReadKey(key.Get(), values, subkeys))
            result = ERROR_CANTREAD;
        for (const EnumeratedValue& value : values)
            if (result == ERROR_SUCCESS)
                result = RegDeleteValueW(key.Get(), value.name.c_str());
    } else {
        result = RegDeleteValueW(key.Get(), name.c_str());
    }
    if (result != ERROR_SUCCESS) {
        std::fprintf(stderr, "ERROR: The deletion failed (error %d).\n", result);
        return Finish(1);
    }
    int code = Finish(0);
    if (code == 0)
        std::printf("%s\n", kSuccess);
    return code;
}

int RegTool::Export()
{
    if (!ParseKey(m_options.positional[0]) || !OpenStore(platform::RegistryStoreMode::ReadOnly))
        return 1;
    const std::string& file = m_options.positional[1];
    std::string text;
    if (platform::ExportRegistryKey(platform::RootHandle(m_key.root), m_key.subkey.c_str(), text) != ERROR_SUCCESS) {
        std::fprintf(stderr, "%s\n", kNotFound);
        return Finish(1);
    }
    std::error_code ignored;
    if (std::filesystem::exists(file, ignored) && !m_options.overwriteFile
        && !Confirm("File " + file + " already exists. Overwrite (Yes/No)?")) {
        std::printf("%s\n", kCanceled);
        return Finish(1);
    }
    // A full disk leaves an older export whole.
    if (std::string failed = host::ReplaceFileContents(file, text); !failed.empty()) {
        std::fprintf(stderr, "ERROR: %s could not be written: %s\n", file.c_str(), failed.c_str());
        return Finish(1);
    }
    std::printf("%s\n", kSuccess);
    return Finish(0);
}

int RegTool::Import()
{
    const std::string& file = m_options.positional[0];
    std::string bytes;
    if (int error = platform::ReadWholeFile(file, bytes); error != 0) {
        std::fprintf(stderr, "ERROR: %s could not be opened: %s\n", file.c_str(), std::strerror(error));
        return 1;
    }
    if (!OpenStore(platform::RegistryStoreMode::ReadWrite))
        return 1;
    platform::RegFileError error;
    LONG result = platform::ImportRegistryFile(bytes, error);
    if (result == ERROR_BADDB) {
        std::fprintf(stderr, "ERROR: %s cannot be imported: %s. Nothing was changed.\n", file.c_str(), error.Describe().c_str());
        return Finish(1);
    }
    if (result != ERROR_SUCCESS && result != ERROR_CANTWRITE) {
        std::fprintf(stderr, "ERROR: %s could not be imported (error %d).\n", file.c_str(), result);
        return Finish(1);
    }
    int code = Finish(0);
    if (code == 0)
        std::printf("%s\n", kSuccess);
    return code;
}

int RegTool::Run()
{
    for (const std::string& arg : m_args) {
        if (arg == "--help" || arg == "-h" || arg == "/?" || arg == "-?") {
            std::fputs(kHelp, stdout);
            return 0;
        }
    }
    for (const std::string& arg : m_args) {
        // Text that is not UTF-8 would be stored with replacement characters in its place.
        if (!IsValidUtf8(arg)) {
            std::fprintf(stderr, "ERROR: Invalid text. An argument is not UTF-8: %s\n", Printable(arg).c_str());
            return 1;
        }
    }
    if (!host::ParseRegToolArguments(m_args, m_options, m_dataFolderArgument))
        return Syntax();
    int code = RunOperation();
    if (code == 0 && m_hiveDamaged) {
        // The work is done on the good keys, but what was left out must not pass unnoticed.
        std::fprintf(stderr, "ERROR: The registry in %s had bad lines, left out as said above.\n", m_dataFolder.c_str());
        return 1;
    }
    return code;
}

int RegTool::RunOperation()
{
    const std::string& operation = m_options.operation;
    if (operation == "query")
        return Query();
    if (operation == "add")
        return Add();
    if (operation == "delete")
        return Delete();
    if (operation == "export")
        return Export();
    return Import();
}

} // namespace

int RunRegTool(const std::vector<std::string>& args, const std::string& dataFolder)
{
    RegTool tool(args, dataFolder);
    return tool.Run();
}
