// The diagnostic report: version, platform edition and screen scaling, a dump of the network
// drivers' registry branch HKEY_LOCAL_MACHINE\Comm, and the plug-in's view of every interface
// and adapter. The text is composed here with its CRLF line ends and written to the file the
// user chose (16-bit little-endian characters, no byte-order mark).
#pragma once

#include <optional>
#include <string>

#include "netinfo/InterfaceTable.h"
#include "netinfo/NetStatusInfo.h"
#include "platform/ui/WinDef.h"
#include "settings/RegistryKey.h"
#include "settings/Settings.h"
#include "usage/UsageLogger.h"

// g_uiNetAct's value for no connection.
constexpr DWORD kActivityNoConnection = 5;

struct DebugReportSources {
    Settings& settings;
    InterfaceTable& interfaces;
    NetStatusInfo& adapters;
    DWORD activityState;  // g_uiNetAct
    int logPixelsX;       // the screen's dots per inch
    int logPixelsY;
    // Why the usage logs cannot be written, when they cannot: a line of its own.
    std::optional<UsageWriteFault> loggingFault;
};

// The whole report.
std::wstring ComposeDebugReport(const DebugReportSources& sources);

// Asks where to save the report (the save dialog owned by the window) and writes it there over
// any file of that name: 1 when written, 0 when the user cancelled or it could not be written,
// which the user is told. A failed write leaves the old file as it was.
int WriteDebugReport(HWND owner);

// A key's line, its values and its subkeys, depth first, each level one tab further in.
void DumpRegistryKey(RegistryKey& key, const std::wstring& name, const std::wstring& path, std::wstring& out, int depth);
// One value's line, or nothing for a type the report does not show.
void DumpRegistryValue(RegistryKey& key, const std::wstring& name, std::wstring& out, int depth);
// The "Memory Contents" section.
void DumpAdapterData(const DebugReportSources& sources, std::wstring& out);

// The device owner's name from HKEY_CURRENT_USER\ControlPanel\Owner, or "Not set".
std::wstring OwnerName();
