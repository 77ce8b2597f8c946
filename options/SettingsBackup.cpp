#include "options/SettingsBackup.h"

#include "platform/files/Files.h"
#include "platform/files/WholeFile.h"
#include "platform/text/Format.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"
#include "settings/RegistryKey.h"
#include "settings/SettingsKeys.h"

namespace {

constexpr wchar_t kDwordWord[] = L"DWORD";
constexpr wchar_t kStringWord[] = L"STRING";

} // namespace

std::wstring SettingsBackupText()
{
    RegistryKey key(HKEY_CURRENT_USER, kUserSettingsKey, KeyDisposition::CreateIfMissing);
    std::wstring text;
    std::wstring name;
    for (bool more = key.FirstValue(name); more; more = key.NextValue(name)) {
        if (key.ValueType(name.c_str()) == REG_DWORD) {
            DWORD value = key.ReadDword(name.c_str(), NoDefault);
            AppendFmt(text, L"%s %s %d\r\n", kDwordWord, name, static_cast<int32_t>(value));
        } else {
            AppendFmt(text, L"%s %s %s\r\n", kStringWord, name, key.ReadString(name.c_str(), nullptr));
        }
    }
    return text;
}

size_t RestoreSettingsText(std::wstring_view text)
{
    RegistryKey key(HKEY_CURRENT_USER, kUserSettingsKey, KeyDisposition::CreateIfMissing);
    size_t written = 0;
    while (!text.empty()) {
        size_t end = text.find(L'\n');
        std::wstring_view line = text.substr(0, end);
        text = end == std::wstring_view::npos ? std::wstring_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == L'\r')
            line.remove_suffix(1);

        size_t firstSpace = line.find(L' ');
        if (firstSpace == std::wstring_view::npos)
            continue;
        std::wstring_view type = line.substr(0, firstSpace);
        std::wstring_view rest = line.substr(firstSpace + 1);
        size_t secondSpace = rest.find(L' ');
        std::wstring name(rest.substr(0, secondSpace));
        std::wstring value(secondSpace == std::wstring_view::npos ? std::wstring_view() : rest.substr(secondSpace + 1));
        // Without a name the line would write the key's default value, which the plug-in never has.
        if (name.empty())
            continue;
        bool stored = type == kStringWord ? key.WriteString(name.c_str(), value.c_str())
                                          : key.WriteDword(name.c_str(), static_cast<DWORD>(WtoL(value)));
        written += stored ? 1 : 0;
    }
    return written;
}

BOOL SaveSettingsFile(const std::wstring& path)
{
    return platform::ReplaceDeviceFile(path, EncodeUtf16Le(SettingsBackupText()));
}

BOOL RestoreSettingsFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    std::string bytes;
    char piece[4096];
    DWORD got = 0;
    BOOL read = TRUE;
    while ((read = ReadFile(file, piece, sizeof piece, &got, nullptr)) && got > 0)
        bytes.append(piece, got);
    CloseHandle(file);
    // A file that could not be read to its end is not applied in part.
    if (!read)
        return FALSE;
    RestoreSettingsText(DecodeUtf16Le(bytes));
    return TRUE;
}
