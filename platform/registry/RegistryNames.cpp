#include "platform/registry/RegistryNames.h"

#include "platform/text/WideString.h"

namespace platform {

namespace {

bool IsStorableCharacter(wchar_t ch)
{
    uint32_t cp = static_cast<uint32_t>(ch);
    if (cp == 0 || cp == L'\r' || cp == L'\n')
        return false;
    if (cp >= 0xD800 && cp <= 0xDFFF)
        return false;
    return cp <= 0x10FFFF;
}

bool AllStorable(std::wstring_view name)
{
    for (wchar_t ch : name)
        if (!IsStorableCharacter(ch))
            return false;
    return true;
}

} // namespace

std::optional<RegistryRoot> RootOfHandle(HKEY key)
{
    if (key == HKEY_CURRENT_USER)
        return RegistryRoot::CurrentUser;
    if (key == HKEY_LOCAL_MACHINE)
        return RegistryRoot::LocalMachine;
    return std::nullopt;
}

HKEY RootHandle(RegistryRoot root)
{
    return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

const wchar_t* RootName(RegistryRoot root)
{
    return root == RegistryRoot::CurrentUser ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";
}

std::optional<RegistryRoot> ParseRootName(std::wstring_view name)
{
    if (EqualsNoCase(name, L"HKEY_CURRENT_USER") || EqualsNoCase(name, L"HKCU"))
        return RegistryRoot::CurrentUser;
    if (EqualsNoCase(name, L"HKEY_LOCAL_MACHINE") || EqualsNoCase(name, L"HKLM"))
        return RegistryRoot::LocalMachine;
    return std::nullopt;
}

bool IsUnkeptRootName(std::wstring_view name)
{
    static constexpr const wchar_t* kOthers[] = { L"HKEY_CLASSES_ROOT", L"HKCR", L"HKEY_USERS", L"HKU",
        L"HKEY_CURRENT_CONFIG", L"HKCC", L"HKEY_PERFORMANCE_DATA", L"HKEY_DYN_DATA" };
    for (const wchar_t* other : kOthers)
        if (EqualsNoCase(name, other))
            return true;
    return false;
}

bool IsValidKeyName(std::wstring_view name)
{
    return !name.empty() && name.size() <= kMaxKeyNameLength && name.find(L'\\') == std::wstring_view::npos
        && AllStorable(name);
}

bool IsValidValueName(std::wstring_view name)
{
    return name.size() <= kMaxValueNameLength && AllStorable(name);
}

LONG SplitKeyPath(std::wstring_view path, std::vector<std::wstring>& components)
{
    components.clear();
    // A path is relative to its key: a leading backslash names no key, while trailing ones
    // are taken as written by habit ("Software\\").
    if (!path.empty() && path.front() == L'\\')
        return ERROR_BAD_PATHNAME;
    while (!path.empty() && path.back() == L'\\')
        path.remove_suffix(1);
    if (path.empty())
        return ERROR_SUCCESS;
    size_t start = 0;
    for (;;) {
        size_t end = path.find(L'\\', start);
        std::wstring_view part = path.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start);
        if (part.empty()) {
            components.clear();
            return ERROR_BAD_PATHNAME;
        }
        if (!IsValidKeyName(part)) {
            components.clear();
            return ERROR_INVALID_PARAMETER;
        }
        components.emplace_back(part);
        if (end == std::wstring_view::npos)
            return ERROR_SUCCESS;
        start = end + 1;
    }
}

} // namespace platform
