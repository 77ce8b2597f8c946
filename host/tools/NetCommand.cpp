#include "host/tools/NetCommand.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "host/tools/JsonText.h"
#include "host/tools/NetworkSession.h"
#include "netinfo/AdapterTracking.h"
#include "platform/text/Format.h"
#include "platform/text/WideString.h"

namespace host {

namespace {

void PrintHelp()
{
    std::puts("Usage: velmora net [--json] [--data DIR] [--simulate SCENARIO]\n"
              "\n"
              "Shows, for each network interface as the plug-in numbers them (the loopback interface is 1,\n"
              "then the default route's, the physical and the virtual ones, each group in the kernel's\n"
              "order), what the plug-in's status lines would show for it:\n"
              "its display name, \"IP Address\", \"Mask\", \"Gateway\", the DHCP lease (or \"DHCP Enabled: No\"),\n"
              "\"DNS Server\" and \"WINS Server\" (\"-\" for a value the interface does not have); then its\n"
              "hardware address, its 64-bit octet counters and the key its traffic is logged under, and\n"
              "which adapter the plug-in tracks.\n"
              "\n"
              "  --json                 the same as one JSON object, for scripts: each interface's \"ipAddress\",\n"
              "                         \"mask\", \"gateway\", \"dhcp\" ({\"enabled\", \"server\", \"leaseObtained\",\n"
              "                         \"leaseExpires\"}, times in seconds since 1970 UTC), \"dns\" and \"wins\"\n"
              "                         (lists of addresses), null for a value it does not have\n"
              "  --data DIR             the data folder (default: $VELMORA_DATA, else $XDG_DATA_HOME/velmora);\n"
              "                         its registry gets the adapter keys of this machine's interfaces (a\n"
              "                         registry that cannot be written is an error; beside a running device\n"
              "                         it is only read, that device keeps the keys)\n"
              "  --simulate SCENARIO    a simulated network from a scenario file instead of this machine's\n"
              "  --help                 show this text");
}

// An adapter's values as JSON gives them; nullopt (null) where the adapter has no record.
struct AdapterValues {
    bool present = false;
    std::optional<std::wstring> ipAddress;
    std::optional<std::wstring> mask;
    std::optional<std::wstring> gateway;
    bool dhcpEnabled = false;
    std::optional<std::wstring> dhcpServer;
    std::optional<int64_t> leaseObtained;
    std::optional<int64_t> leaseExpires;
    std::optional<std::vector<std::wstring>> dns;
    std::vector<std::wstring> wins;
};

struct InterfaceView {
    DWORD index = 0;
    std::wstring name;
    std::string systemName;
    std::wstring displayName;
    std::vector<std::wstring> lines;
    AdapterValues values;
    std::wstring hardwareAddress;
    ULONG64 inOctets = 0;
    ULONG64 outOctets = 0;
    std::wstring usageKey;
    bool tracked = false;
};

// The system's lists say "none" with an empty entry or, for the gateway, 0.0.0.0.
std::optional<std::wstring> AddressOf(const IP_ADDRESS_STRING& address)
{
    std::wstring text = WidenBytes(address.String, sizeof(address.String));
    if (text.empty() || text == L"0.0.0.0")
        return std::nullopt;
    return text;
}

// The addresses of a system list in order, without the entries that stand for none.
std::vector<std::wstring> AddressList(const IP_ADDR_STRING* entry)
{
    std::vector<std::wstring> addresses;
    for (; entry != nullptr; entry = entry->Next)
        if (std::optional<std::wstring> address = AddressOf(entry->IpAddress))
            addresses.push_back(std::move(*address));
    return addresses;
}

// The DNS servers as the system's per-adapter query gives them; nullopt when the query fails.
std::optional<std::vector<std::wstring>> DnsServers(DWORD index)
{
    ULONG size = 0;
    if (GetPerAdapterInfo(index, nullptr, &size) != ERROR_BUFFER_OVERFLOW || size == 0)
        return std::nullopt;
    std::vector<unsigned char> buffer(size);
    auto* info = reinterpret_cast<IP_PER_ADAPTER_INFO*>(buffer.data());
    if (GetPerAdapterInfo(index, info, &size) != NO_ERROR)
        return std::nullopt;
    return AddressList(&info->DnsServerList);
}

AdapterValues ValuesOf(const NetStatusInfo& adapters, DWORD index)
{
    AdapterValues values;
    const IP_ADAPTER_INFO* record = adapters.AdapterRecord(index);
    if (record == nullptr)
        return values;
    values.present = true;
    if (record->CurrentIpAddress != nullptr) {
        values.ipAddress = AddressOf(record->CurrentIpAddress->IpAddress);
        values.mask = AddressOf(record->CurrentIpAddress->IpMask);
    }
    values.gateway = AddressOf(record->GatewayList.IpAddress);
    values.dhcpEnabled = record->DhcpEnabled != 0;
    if (values.dhcpEnabled) {
        values.dhcpServer = AddressOf(record->DhcpServer.IpAddress);
        // 0 is what a lease file without the time leaves.
        if (record->LeaseObtained != 0)
            values.leaseObtained = record->LeaseObtained;
        if (record->LeaseExpires != 0)
            values.leaseExpires = record->LeaseExpires;
    }
    values.dns = DnsServers(index);
    if (record->HaveWins != 0) {
        values.wins = AddressList(&record->PrimaryWinsServer);
        for (std::wstring& address : AddressList(&record->SecondaryWinsServer))
            values.wins.push_back(std::move(address));
    }
    return values;
}

// A getter's text as a line shows it: "-" where the getter found no adapter (its text then
// reports its own fault) or the value is empty.
std::wstring Shown(DWORD result, const std::wstring& text)
{
    return result == IndexNotFound || text.empty() ? std::wstring(L"-") : text;
}

// The status lines the item would draw for one adapter index, in their table order.
std::vector<std::wstring> StatusLines(NetStatusInfo& adapters, DWORD index, const AdapterValues& values)
{
    std::vector<std::wstring> lines;
    std::wstring text;
    DWORD result = adapters.GetAdapterCurrentIpAddress(index, text);
    lines.push_back(Fmt(L"IP Address: %s", Shown(result, text)));
    result = adapters.GetAdapterCurrentSubnetMask(index, text);
    lines.push_back(Fmt(L"Mask: %s", Shown(result, text)));
    result = adapters.GetAdapterDefaultGateway(index, text);
    lines.push_back(Fmt(L"Gateway: %s", Shown(result, text)));
    DWORD dhcp = adapters.IsDhcpEnabled(index);
    if (dhcp == 1) {
        result = adapters.GetAdapterDHCPLeaseExpires(index, text, NetStatusInfo::LeaseSeconds::Hidden);
        lines.push_back(Fmt(L"Lease Expires: %s", Shown(result, text)));
    } else {
        lines.push_back(dhcp == IndexNotFound ? L"DHCP Enabled: -" : L"DHCP Enabled: No");
    }
    // The item's text is the first server or "Not available"; its other texts report a
    // failed query.
    adapters.GetAdapterDNSServer(index, text);
    lines.push_back(Fmt(L"DNS Server: %s", values.dns ? Shown(0, text) : std::wstring(L"-")));
    result = adapters.GetAdapterWINSServer(index, text);
    lines.push_back(Fmt(L"WINS Server: %s", Shown(result, text)));
    return lines;
}

std::string JsonText(const std::optional<std::wstring>& text)
{
    return text ? JsonString(*text) : std::string("null");
}

std::string JsonNumber(const std::optional<int64_t>& number)
{
    return number ? std::to_string(*number) : std::string("null");
}

std::string JsonList(const std::vector<std::wstring>& texts)
{
    std::string list = "[";
    for (size_t i = 0; i < texts.size(); ++i)
        list += (i == 0 ? "" : ", ") + JsonString(texts[i]);
    return list + "]";
}

// The adapter's fields of an interface's object, lease times in seconds since 1970 UTC.
std::string AdapterJson(const AdapterValues& values)
{
    std::string dhcp = "null";
    if (values.present && !values.dhcpEnabled)
        dhcp = R"({"enabled": false})";
    else if (values.present)
        dhcp = R"({"enabled": true, "server": )" + JsonText(values.dhcpServer) + R"(, "leaseObtained": )"
            + JsonNumber(values.leaseObtained) + R"(, "leaseExpires": )" + JsonNumber(values.leaseExpires) + "}";
    return R"("ipAddress": )" + JsonText(values.ipAddress) + R"(, "mask": )" + JsonText(values.mask) + R"(, "gateway": )"
        + JsonText(values.gateway) + ",\n     " + R"("dhcp": )" + dhcp + R"(, "dns": )"
        + (values.dns ? JsonList(*values.dns) : std::string("null")) + R"(, "wins": )"
        + (values.present ? JsonList(values.wins) : std::string("null"));
}

} // namespace

int RunNetCommand(Arguments args)
{
    if (TakeFlag(args, "--help") || TakeFlag(args, "-h")) {
        PrintHelp();
        return 0;
    }
    std::filesystem::path data = TakeDataFolder(args);
    bool json = TakeFlag(args, "--json");
    std::optional<std::string> simulation = TakeOption(args, "--simulate");
    if (!args.empty()) {
        PrintError("net: unexpected argument '" + args.front() + "' (try velmora net --help)");
        return 2;
    }
    std::string error;
    std::unique_ptr<NetworkSession> session = NetworkSession::Open(data, simulation, error);
    if (!session) {
        PrintError("net: " + error);
        return 1;
    }
    NetworkSession::Objects& module = session->Module();
    module.interfaces.InterfaceCount();
    module.interfaces.Refresh();
    module.adapters.Refresh();
    DWORD tracked = session->TrackedIndex();

    std::vector<InterfaceView> views;
    for (DWORD i = 0; i < module.interfaces.RowCount(); ++i) {
        InterfaceView view;
        view.index = module.interfaces.Row(i).InterfaceIndex & 0xFFFFu;
        view.name = AdapterNameForIndex(view.index, module.interfaces, module.adapters);
        view.systemName = session->SystemNameOf(view.index);
        GetInterfaceDName(module.settings.AdapterNames(), view.name, view.displayName);
        view.values = ValuesOf(module.adapters, view.index);
        view.lines = StatusLines(module.adapters, view.index, view.values);
        // The loopback has none, and a failed lookup gives its fault text: both are absent here.
        if (module.interfaces.GetPhysicalAddress(view.index, view.hardwareAddress) != 0)
            view.hardwareAddress.clear();
        module.interfaces.GetInOctets(view.index, view.inOctets);
        module.interfaces.GetOutOctets(view.index, view.outOctets);
        view.usageKey = UsageInterfaceKey(view.index, module.interfaces, module.adapters, module.settings,
            [&module]() { return module.phone.CurrentRasEntryName(); });
        view.tracked = view.index == tracked;
        views.push_back(std::move(view));
    }
    bool automatic = module.settings.InterfaceIndex == kAutomaticInterface;
    // What automatic tracking follows, whatever the setting: the default route's interface.
    DWORD defaultRoute = 0;
    bool haveDefaultRoute = GetBestInterface(0, &defaultRoute) == NO_ERROR;
    defaultRoute &= 0xFFFFu;

    if (json) {
        std::printf("{\n  \"tracking\": {\"mode\": \"%s\", \"adapter\": %s, \"index\": ", automatic ? "automatic" : "manual",
            JsonString(automatic ? std::wstring() : module.settings.InterfaceString).c_str());
        if (tracked == IndexNotFound)
            std::printf("null},\n");
        else
            std::printf("%u},\n", tracked);
        if (haveDefaultRoute)
            std::printf("  \"defaultRoute\": %u,\n", defaultRoute);
        else
            std::printf("  \"defaultRoute\": null,\n");
        std::printf("  \"interfaces\": [");
        for (size_t i = 0; i < views.size(); ++i) {
            const InterfaceView& view = views[i];
            std::printf("%s\n    {\"index\": %u, \"name\": %s, \"linuxName\": %s, \"displayName\": %s,\n"
                        "     \"hardwareAddress\": %s, \"inOctets\": %llu, \"outOctets\": %llu, \"usageKey\": %s, \"tracked\": %s,\n"
                        "     %s}",
                i == 0 ? "" : ",", view.index, JsonString(view.name).c_str(), JsonString(Utf8ToWide(view.systemName)).c_str(),
                JsonString(view.displayName).c_str(),
                view.hardwareAddress.empty() ? "null" : JsonString(view.hardwareAddress).c_str(),
                static_cast<unsigned long long>(view.inOctets), static_cast<unsigned long long>(view.outOctets),
                JsonString(view.usageKey).c_str(), view.tracked ? "true" : "false", AdapterJson(view.values).c_str());
        }
        std::printf("\n  ]\n}\n");
        return session->Finish("net");
    }

    if (automatic)
        std::printf("Tracking: automatic (the default route's adapter)");
    else
        std::printf("Tracking: the adapter \"%s\"", WideToUtf8(module.settings.InterfaceString).c_str());
    if (tracked == IndexNotFound)
        std::printf(", not present: \"%s\"\n", automatic ? "No connected interfaces" : "Not connected:");
    else
        std::printf(", interface %u\n", tracked);
    if (haveDefaultRoute)
        std::printf("Default route: interface %u\n", defaultRoute);
    else
        std::printf("Default route: none\n");
    for (const InterfaceView& view : views) {
        std::printf("\nInterface %u: %s", view.index, WideToUtf8(view.name).c_str());
        if (!view.systemName.empty() && Utf8ToWide(view.systemName) != view.name)
            std::printf(" (Linux %s)", view.systemName.c_str());
        std::printf("%s\n  %s\n", view.tracked ? "  <- tracked" : "", WideToUtf8(view.displayName).c_str());
        for (const std::wstring& line : view.lines)
            std::printf("  %s\n", WideToUtf8(line).c_str());
        std::printf("  Hardware address: %s\n  Octets in: %llu  out: %llu\n  Usage key: %s\n",
            view.hardwareAddress.empty() ? "-" : WideToUtf8(view.hardwareAddress).c_str(),
            static_cast<unsigned long long>(view.inOctets), static_cast<unsigned long long>(view.outOctets), WideToUtf8(view.usageKey).c_str());
    }
    return session->Finish("net");
}

} // namespace host
