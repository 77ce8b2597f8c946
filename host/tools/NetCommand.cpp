#include "host/tools/NetCommand.h"

#include <cstdio>
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
              "\"DNS Server\" and \"WINS Server\"; then its hardware address, its 64-bit octet counters\n"
              "and the key its traffic is logged under, and which adapter the plug-in tracks.\n"
              "\n"
              "  --json                 the same as one JSON object, for scripts\n"
              "  --data DIR             the data folder (default: $VELMORA_DATA, else $XDG_DATA_HOME/velmora);\n"
              "                         its registry gets the adapter keys of this machine's interfaces\n"
              "  --simulate SCENARIO    a simulated network from a scenario file instead of this machine's\n"
              "  --help                 show this text");
}

struct InterfaceView {
    DWORD index = 0;
    std::wstring name;
    std::string systemName;
    std::wstring displayName;
    std::vector<std::wstring> lines;
    std::wstring hardwareAddress;
    ULONG64 inOctets = 0;
    ULONG64 outOctets = 0;
    std::wstring usageKey;
    bool tracked = false;
};

// The status lines the item would draw for one adapter index, in their table order.
std::vector<std::wstring> StatusLines(NetStatusInfo& adapters, DWORD index)
{
    std::vector<std::wstring> lines;
    std::wstring text;
    adapters.GetAdapterCurrentIpAddress(index, text);
    lines.push_back(Fmt(L"IP Address: %s", text));
    adapters.GetAdapterCurrentSubnetMask(index, text);
    lines.push_back(Fmt(L"Mask: %s", text));
    adapters.GetAdapterDefaultGateway(index, text);
    lines.push_back(Fmt(L"Gateway: %s", text));
    if (adapters.IsDhcpEnabled(index) == 1) {
        adapters.GetAdapterDHCPLeaseExpires(index, text, NetStatusInfo::LeaseSeconds::Hidden);
        lines.push_back(Fmt(L"Lease Expires: %s", text));
    } else {
        lines.push_back(L"DHCP Enabled: No");
    }
    adapters.GetAdapterDNSServer(index, text);
    lines.push_back(Fmt(L"DNS Server: %s", text));
    adapters.GetAdapterWINSServer(index, text);
    lines.push_back(Fmt(L"WINS Server: %s", text));
    return lines;
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
        view.lines = StatusLines(module.adapters, view.index);
        module.interfaces.GetPhysicalAddress(view.index, view.hardwareAddress);
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
            std::printf("%s\n    {\"index\": %u, \"name\": %s, \"linuxName\": %s, \"displayName\": %s,\n     \"statusLines\": [",
                i == 0 ? "" : ",", view.index, JsonString(view.name).c_str(), JsonString(Utf8ToWide(view.systemName)).c_str(), JsonString(view.displayName).c_str());
            for (size_t l = 0; l < view.lines.size(); ++l)
                std::printf("%s%s", l == 0 ? "" : ", ", JsonString(view.lines[l]).c_str());
            std::printf("],\n     \"hardwareAddress\": %s, \"inOctets\": %llu, \"outOctets\": %llu, \"usageKey\": %s, \"tracked\": %s}",
                JsonString(view.hardwareAddress).c_str(), static_cast<unsigned long long>(view.inOctets),
                static_cast<unsigned long long>(view.outOctets), JsonString(view.usageKey).c_str(),
                view.tracked ? "true" : "false");
        }
        std::printf("\n  ]\n}\n");
        return 0;
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
        std::printf("  Hardware address: %s\n  Octets in: %llu  out: %llu\n  Usage key: %s\n", WideToUtf8(view.hardwareAddress).c_str(),
            static_cast<unsigned long long>(view.inOctets), static_cast<unsigned long long>(view.outOctets), WideToUtf8(view.usageKey).c_str());
    }
    return session->HiveDamaged() ? 1 : 0;
}

} // namespace host
