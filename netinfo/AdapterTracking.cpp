#include "netinfo/AdapterTracking.h"

#include "platform/text/Format.h"
#include "platform/text/WideString.h"

DWORD TrackedAdapterIndex(const Settings& settings, const InterfaceTable& table, const NetStatusInfo& adapters)
{
    if (settings.InterfaceIndex != kAutomaticInterface) {
        // Only the name counts for a manual choice, whatever the stored number.
        DWORD index = table.LookupInterfaceIndexByName(settings.InterfaceString);
        if (index == IndexNotFound)
            index = adapters.LookupAdapterIndexByName(settings.InterfaceString);
        return index;
    }
    DWORD best = 0;
    if (GetBestInterface(0, &best) != NO_ERROR)
        return IndexNotFound;
    return best & 0xFFFFu;
}

DWORD GetInterfaceDName(const AdapterNameList& names, std::wstring_view name, std::wstring& text)
{
    std::wstring wanted(name);
    if (Contains(wanted, L"ppp"))
        wanted = L"ppp1";
    for (const AdapterNameEntry& entry : names) {
        if (EqualsNoCase(entry.keyName, wanted)) {
            SetNetText(text, entry.displayName);
            return 0;
        }
    }
    SetNetText(text, wanted.empty() ? std::wstring(L"GetInterfaceDName: invalid") : Fmt(L"%s*", wanted));
    return IndexNotFound;
}

std::wstring AdapterNameForIndex(DWORD index, const InterfaceTable& table, const NetStatusInfo& adapters)
{
    std::wstring name = table.InterfaceNameOf(index);
    if (name.empty())
        name = adapters.AdapterNameOf(index);
    return name;
}

std::wstring UsageInterfaceKey(DWORD index, const InterfaceTable& table, const NetStatusInfo& adapters, Settings& settings,
    const std::function<std::wstring()>& currentRasEntryName)
{
    std::wstring name = table.InterfaceNameOf(index);
    if (name.empty() && adapters.FindAdapterIndex(index) != IndexNotFound)
        adapters.GetAdapterName(index, name);
    if (!Contains(name, L"ppp1"))
        return name;
    std::wstring entry = currentRasEntryName ? currentRasEntryName() : std::wstring();
    DWORD number = 0;
    if (!entry.empty()) {
        number = settings.FindRasName(entry);
        if (number == IndexNotFound)
            number = settings.AddRasName(entry);
    }
    return Fmt(L"ppp:%d", number);
}

std::wstring UsageInterfaceDisplayName(const Settings& settings, std::wstring_view key)
{
    if (Contains(key, L"ppp:")) {
        // The number after the first colon, converted as the platform's _wtol does.
        int32_t number = WtoL(key.substr(key.find(L':') + 1));
        if (number < 0 || static_cast<DWORD>(number) >= settings.RasNameCount())
            return {};
        return settings.RasNameAt(static_cast<DWORD>(number));
    }
    for (const AdapterNameEntry& entry : settings.AdapterNames())
        if (entry.keyName == key)
            return entry.displayName;
    return {};
}
