#include "host/shell/TodayItemList.h"

#include <algorithm>
#include <vector>

#include "host/DeviceStorage.h"
#include "platform/registry/Registry.h"
#include "platform/text/Utf16.h"

namespace host {

namespace {

constexpr DWORD kTypeCustom = 4;
constexpr DWORD kNameLength = 256;

DWORD ReadDword(HKEY key, const wchar_t* name, DWORD fallback)
{
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS
        || type != REG_DWORD || size != sizeof value)
        return fallback;
    return value;
}

std::wstring ReadString(HKEY key, const wchar_t* name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return {};
    std::vector<BYTE> bytes(size);
    if (RegQueryValueExW(key, name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS)
        return {};
    return Utf16LeUpToTerminator(bytes.data(), size);
}

std::wstring Unquoted(std::wstring name)
{
    if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"')
        return name.substr(1, name.size() - 2);
    return name;
}

} // namespace

std::vector<TodayItemEntry> ReadTodayItems()
{
    std::vector<TodayItemEntry> items;
    HKEY list = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTodayItemsKey, 0, KEY_READ, &list) != ERROR_SUCCESS)
        return items;
    for (DWORD index = 0;; ++index) {
        WCHAR keyName[kNameLength] = {};
        DWORD length = kNameLength;
        if (RegEnumKeyExW(list, index, keyName, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY item = nullptr;
        if (RegOpenKeyExW(list, keyName, 0, KEY_READ, &item) != ERROR_SUCCESS)
            continue;
        TodayItemEntry entry;
        entry.name = Unquoted(keyName);
        entry.modulePath = ReadString(item, L"DLL");
        entry.hasOptions = ReadDword(item, L"Options", 0) != 0;
        entry.order = ReadDword(item, L"Order", 0);
        bool shown = ReadDword(item, L"Type", 0) == kTypeCustom && ReadDword(item, L"Enabled", 1) != 0
            && !entry.modulePath.empty();
        RegCloseKey(item);
        if (shown)
            items.push_back(std::move(entry));
    }
    RegCloseKey(list);
    std::stable_sort(items.begin(), items.end(),
        [](const TodayItemEntry& a, const TodayItemEntry& b) { return a.order < b.order; });
    return items;
}

} // namespace host
