#include "profiles/ApplyProfile.h"

#include "settings/RegistryKey.h"

namespace {

constexpr const wchar_t* kNoAddress = L"0.0.0.0";

bool WriteList(RegistryKey& key, const wchar_t* name, const std::vector<std::wstring>& strings)
{
    if (strings.size() == 2)
        return key.WriteMultiString(name, strings[0].c_str(), strings[1].c_str());
    return key.WriteMultiString(name, strings.empty() ? L"" : strings[0].c_str());
}

} // namespace

TcpipValues TcpipValuesOf(const NetProfile& profile)
{
    TcpipValues values;
    if (profile.dhcp != 0) {
        values.enableDhcp = 1;
        values.ipAddress = kNoAddress;
        values.subnetMask = kNoAddress;
        values.defaultGateway = kNoAddress;
        values.dns = { L"" };
        values.wins = { L"" };
        return values;
    }
    values.enableDhcp = 0;
    values.ipAddress = profile.ipAddress;
    values.subnetMask = profile.subnetMask;
    values.defaultGateway = profile.defaultGateway;
    values.dns = { profile.dnsServer, profile.alternateDnsServer };
    values.wins = { profile.winsServer, profile.alternateWinsServer };
    return values;
}

std::wstring AdapterTcpipKey(const std::wstring& adapter)
{
    return L"Comm\\" + adapter + L"\\Parms\\Tcpip";
}

bool ApplyProfile(const NetProfile& profile)
{
    if (profile.adapter.empty())
        return false;
    RegistryKey key(HKEY_LOCAL_MACHINE, AdapterTcpipKey(profile.adapter).c_str(), KeyDisposition::CreateIfMissing);
    if (!key.IsOpen())
        return false;
    TcpipValues values = TcpipValuesOf(profile);
    // Every value is tried, as the device does; one failure is enough to report.
    bool written = key.WriteDword(L"EnableDhcp", values.enableDhcp);
    written &= key.WriteMultiString(L"IPAddress", values.ipAddress.c_str());
    written &= key.WriteMultiString(L"SubnetMask", values.subnetMask.c_str());
    written &= key.WriteMultiString(L"DefaultGateway", values.defaultGateway.c_str());
    written &= WriteList(key, L"DNS", values.dns);
    written &= WriteList(key, L"WINS", values.wins);
    return written;
}
