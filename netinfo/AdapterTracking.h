// Which adapter the status display follows, what it is called, and under which key the usage
// logs record each interface. Free functions over the settings and the two snapshot holders,
// which the caller owns.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "netinfo/AdapterNameList.h"
#include "netinfo/InterfaceTable.h"
#include "netinfo/NetStatusInfo.h"
#include "settings/Settings.h"

// The tracked adapter's index (its low 16 bits, as the holders keep indexes) from the snapshots
// as they stand: with InterfaceIndex 98 the interface of the default route, otherwise the
// adapter named by InterfaceString in the interface table, then in the adapter list.
// IndexNotFound when the adapter is not present.
DWORD TrackedAdapterIndex(const Settings& settings, const InterfaceTable& table, const NetStatusInfo& adapters);

// The friendly name of an adapter key name: 0 and the display name from the list, or 999 and
// the name followed by "*" ("GetInterfaceDName: invalid" for an empty name). Any name holding
// "ppp" is the dial-up adapter "ppp1".
DWORD GetInterfaceDName(const AdapterNameList& names, std::wstring_view name, std::wstring& text);

// The name the display starts from for an index: the interface table's, else the adapter list's.
std::wstring AdapterNameForIndex(DWORD index, const InterfaceTable& table, const NetStatusInfo& adapters);

// The usage interface key of interface index: its name, or "ppp:%d" for the dial-up adapter
// with the dial-up number of the open RAS connection's entry name (0 without one; a name not
// seen before is added). currentRasEntryName is asked only for a dial-up link.
std::wstring UsageInterfaceKey(DWORD index, const InterfaceTable& table, const NetStatusInfo& adapters, Settings& settings,
    const std::function<std::wstring()>& currentRasEntryName);

// How the usage report shows a key: the dial-up name for "ppp:N", else the friendly name of an
// adapter key (exact case); the empty text when there is none.
std::wstring UsageInterfaceDisplayName(const Settings& settings, std::wstring_view key);
