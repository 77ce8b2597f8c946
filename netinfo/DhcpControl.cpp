#include "netinfo/DhcpControl.h"

#include <algorithm>

#include "netinfo/AdapterTracking.h"
#include "platform/text/Format.h"

DhcpAdapter ResolveDhcpAdapter(const Settings& settings, const InterfaceTable& table, const NetStatusInfo& adapters)
{
    bool automatic = settings.InterfaceIndex == kAutomaticInterface;
    return DhcpAdapter { automatic, TrackedAdapterIndex(settings, table, adapters),
        automatic ? std::wstring() : settings.InterfaceString };
}

std::wstring DhcpAdapterDisplayName(const DhcpAdapter& adapter, const AdapterNameList& names, const InterfaceTable& table,
    const NetStatusInfo& adapters)
{
    if (adapter.automatic && adapter.index == IndexNotFound)
        return L"Autoconfig Adapter";
    std::wstring name = adapter.chosenName;
    if (name.empty())
        name = AdapterNameForIndex(adapter.index, table, adapters);
    std::wstring text;
    GetInterfaceDName(names, name, text);
    return text;
}

DhcpState DhcpStateOf(const DhcpAdapter& adapter, const NetStatusInfo& adapters)
{
    if (adapter.index == IndexNotFound)
        return { adapter.automatic ? L"No adapter connected" : L"Adapter disconnected", false };
    if (adapters.IsDhcpEnabled(adapter.index) != 1)
        return { L"DHCP not enabled", false };
    std::wstring expires;
    adapters.GetAdapterDHCPLeaseExpires(adapter.index, expires, NetStatusInfo::LeaseSeconds::Shown);
    return { Fmt(L"Expires %s", expires), true };
}

LeaseResult ChangeLease(LeaseAction action, const DhcpAdapter& adapter, InterfaceTable& table, NetStatusInfo& adapters)
{
    IP_ADAPTER_INDEX_MAP request {};
    request.Index = adapters.FindAdapterIndex(adapter.index);
    std::wstring name = adapter.automatic ? AdapterNameForIndex(adapter.index, table, adapters) : adapter.chosenName;
    // The record's name field holds at most MAX_ADAPTER_NAME - 1 characters and its end.
    size_t length = std::min<size_t>(name.size(), MAX_ADAPTER_NAME - 1);
    std::copy_n(name.begin(), length, request.Name);
    request.Name[length] = L'\0';

    LeaseResult result;
    if (action == LeaseAction::Renew) {
        result.error = IpRenewAddress(&request);
        if (result.error != NO_ERROR) {
            result.text = L"Lease renewal failed.";
            return result;
        }
        table.Refresh();
        adapters.Refresh();
        std::wstring address;
        adapters.GetAdapterCurrentIpAddress(adapter.index, address);
        result.text = Fmt(L"%s renewed", address);
        return result;
    }
    result.error = IpReleaseAddress(&request);
    if (result.error != NO_ERROR) {
        result.text = L"Release failed.";
        return result;
    }
    table.Refresh();
    adapters.Refresh();
    result.text = L"IP address released.";
    return result;
}
