// What the DHCP dialog and `velmora dhcp` do with the tracked adapter's lease: which adapter
// that is, what to call it, the state its lease is in, and release and renew with the texts
// the dialog shows for them. Free functions over the settings and the two snapshot holders.
#pragma once

#include <string>

#include "netinfo/InterfaceTable.h"
#include "netinfo/NetStatusInfo.h"
#include "settings/Settings.h"

struct DhcpAdapter {
    bool automatic = true;
    DWORD index = IndexNotFound; // IndexNotFound when the adapter is not present
    std::wstring chosenName;     // the key name the user chose; empty when tracking automatically
};

// The adapter the dialog acts on, resolved once as the status display resolves it.
DhcpAdapter ResolveDhcpAdapter(const Settings& settings, const InterfaceTable& table, const NetStatusInfo& adapters);

// The adapter's friendly name; "Autoconfig Adapter" when automatic tracking found none.
std::wstring DhcpAdapterDisplayName(const DhcpAdapter& adapter, const AdapterNameList& names, const InterfaceTable& table,
    const NetStatusInfo& adapters);

struct DhcpState {
    std::wstring text;
    bool canChangeLease = false; // Renew and Release are offered
};

// "Expires 3/8/06 14:05:09" for a leased address, "DHCP not enabled", or "Adapter disconnected"
// ("No adapter connected" when tracking automatically) for an adapter that is not present.
DhcpState DhcpStateOf(const DhcpAdapter& adapter, const NetStatusInfo& adapters);

enum class LeaseAction : uint8_t { Release, Renew };

struct LeaseResult {
    DWORD error = NO_ERROR; // the platform call's result
    std::wstring text;      // the status line
};

// The platform's release or renew of the adapter; on success both snapshots are taken again.
// "%s renewed" with the new address, "IP address released.", or the failure's text.
LeaseResult ChangeLease(LeaseAction action, const DhcpAdapter& adapter, InterfaceTable& table, NetStatusInfo& adapters);
