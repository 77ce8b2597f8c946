#include "platform/net/CommSeeding.h"

#include <vector>

#include "platform/net/AdapterNaming.h"
#include "platform/registry/Registry.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"

namespace platform {

namespace {

// Writes a REG_SZ unless the key already holds exactly that.
LONG PutString(HKEY key, const wchar_t* name, const std::wstring& value)
{
    std::vector<uint8_t> data = Utf16LeWithTerminator(value);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ && size == data.size()) {
        std::vector<uint8_t> current(size);
        if (RegQueryValueExW(key, name, nullptr, &type, current.data(), &size) == ERROR_SUCCESS && current == data)
            return ERROR_SUCCESS;
    }
    return RegSetValueExW(key, name, 0, REG_SZ, data.data(), static_cast<DWORD>(data.size()));
}

LONG SeedKey(const std::wstring& path, const std::vector<std::pair<const wchar_t*, std::wstring>>& values)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG result = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition);
    if (result != ERROR_SUCCESS)
        return result;
    for (const auto& [name, value] : values) {
        result = PutString(key, name, value);
        if (result != ERROR_SUCCESS)
            break;
    }
    RegCloseKey(key);
    return result;
}

} // namespace

LONG SeedCommAdapterKeys(const NetSnapshot& snapshot)
{
    for (const NetInterface& entry : snapshot.interfaces) {
        if (entry.isLoopback)
            continue;
        std::wstring linuxName = Utf8ToWide(entry.systemName);
        std::wstring model = entry.description.empty() || entry.description == entry.systemName ? linuxName : Utf8ToWide(entry.description);
        LONG result = ERROR_SUCCESS;
        if (entry.name == kDialUpAdapterName) {
            result = SeedKey(std::wstring(L"Comm\\") + kDialUpAdapterName, { { L"DisplayName", model } });
        } else {
            std::wstring driverKey = LinuxDriverKey(entry.systemName);
            std::wstring imagePath = entry.driver.empty() ? std::wstring(L"netdev") : Utf8ToWide(entry.driver);
            result = SeedKey(L"Comm\\" + driverKey,
                { { L"Group", L"NDIS" }, { L"ImagePath", imagePath }, { L"DisplayName", linuxName } });
            if (result == ERROR_SUCCESS)
                result = SeedKey(L"Comm\\" + entry.name, { { L"DisplayName", model } });
        }
        if (result != ERROR_SUCCESS)
            return result;
    }
    return ERROR_SUCCESS;
}

LONG SeedCommAdapterKeys()
{
    NetSnapshot snapshot;
    if (DWORD result = CurrentNetBackend().Query(kNetLinks, snapshot); result != NO_ERROR)
        return static_cast<LONG>(result);
    return SeedCommAdapterKeys(snapshot);
}

} // namespace platform
