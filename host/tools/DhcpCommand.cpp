#include "host/tools/DhcpCommand.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "host/tools/NetworkSession.h"
#include "netinfo/AdapterTracking.h"
#include "netinfo/DhcpControl.h"
#include "platform/text/Format.h"
#include "platform/text/WideString.h"

namespace host {

namespace {

void PrintHelp()
{
    std::puts("Usage: velmora dhcp release|renew [IFACE] [--data DIR] [--simulate SCENARIO]\n"
              "\n"
              "Releases or renews the DHCP lease of an adapter as the DHCP dialog does, through the DHCP\n"
              "client that manages it (networkd, NetworkManager, dhclient or dhcpcd), and prints the\n"
              "dialog's status text: \"A.B.C.D renewed\" or \"IP address released.\". Changing the\n"
              "machine's leases takes the rights the client asks for.\n"
              "\n"
              "  IFACE                  the adapter by the plug-in's name (as velmora net shows it) or this\n"
              "                         machine's (eth0); without it, the adapter the plug-in tracks\n"
              "  --data DIR             the data folder whose settings name the tracked adapter\n"
              "  --simulate SCENARIO    a simulated network from a scenario file instead of this machine's\n"
              "  --help                 show this text\n"
              "\n"
              "Exit status: 0 when the lease was changed, 1 when it could not be (the reason on stderr),\n"
              "2 for wrong arguments.");
}

// The interface named by the plug-in's name or the machine's; IndexNotFound when none is.
DWORD FindNamed(NetworkSession& session, const std::string& name)
{
    NetworkSession::Objects& module = session.Module();
    std::wstring wide = Utf8ToWide(name);
    DWORD index = module.interfaces.LookupInterfaceIndexByName(wide);
    if (index == IndexNotFound)
        index = module.adapters.LookupAdapterIndexByName(wide);
    if (index != IndexNotFound)
        return index;
    for (DWORD row = 0; row < module.interfaces.RowCount(); ++row) {
        DWORD candidate = module.interfaces.Row(row).InterfaceIndex & 0xFFFFu;
        if (session.SystemNameOf(candidate) == name)
            return candidate;
    }
    return IndexNotFound;
}

int ChangeLeaseOf(NetworkSession& session, LeaseAction action, const std::optional<std::string>& named)
{
    const char* operation = action == LeaseAction::Renew ? "renew" : "release";
    NetworkSession::Objects& module = session.Module();
    DhcpAdapter adapter;
    if (named) {
        adapter.index = FindNamed(session, *named);
        if (adapter.index == IndexNotFound) {
            PrintError(std::string("dhcp ") + operation + ": no adapter named '" + *named + "' (see velmora net)");
            return 1;
        }
        adapter.automatic = false;
        adapter.chosenName = AdapterNameForIndex(adapter.index, module.interfaces, module.adapters);
    } else {
        adapter = ResolveDhcpAdapter(module.settings, module.interfaces, module.adapters);
    }
    std::string name = WideToUtf8(DhcpAdapterDisplayName(adapter, module.settings.AdapterNames(), module.interfaces, module.adapters));
    DhcpState state = DhcpStateOf(adapter, module.adapters);
    if (!state.canChangeLease) {
        PrintError(std::string("dhcp ") + operation + ": " + name + ": " + WideToUtf8(state.text));
        return 1;
    }
    LeaseResult result = ChangeLease(action, adapter, module.interfaces, module.adapters);
    if (result.error != NO_ERROR) {
        PrintError(std::string("dhcp ") + operation + ": " + name + ": " + WideToUtf8(result.text) + " (error "
            + std::to_string(result.error) + ")");
        return 1;
    }
    std::printf("%s: %s\n", name.c_str(), WideToUtf8(result.text).c_str());
    return 0;
}

} // namespace

int RunDhcpCommand(Arguments args)
{
    if (TakeFlag(args, "--help") || TakeFlag(args, "-h")) {
        PrintHelp();
        return 0;
    }
    std::filesystem::path data = TakeDataFolder(args);
    std::optional<std::string> simulation = TakeOption(args, "--simulate");
    if (args.empty() || (args.front() != "release" && args.front() != "renew")) {
        PrintError("dhcp: say release or renew (try velmora dhcp --help)");
        return 2;
    }
    LeaseAction action = args.front() == "renew" ? LeaseAction::Renew : LeaseAction::Release;
    std::optional<std::string> named;
    if (args.size() >= 2)
        named = args[1];
    if (args.size() > 2) {
        PrintError("dhcp: unexpected argument '" + args[2] + "' (try velmora dhcp --help)");
        return 2;
    }
    std::string error;
    std::unique_ptr<NetworkSession> session = NetworkSession::Open(data, simulation, error);
    if (!session) {
        PrintError("dhcp: " + error);
        return 1;
    }
    NetworkSession::Objects& module = session->Module();
    module.interfaces.InterfaceCount();
    module.interfaces.Refresh();
    module.adapters.Refresh();
    int exitCode = ChangeLeaseOf(*session, action, named);
    int finished = session->Finish("dhcp");
    return exitCode != 0 ? exitCode : finished;
}

} // namespace host
