#include "options/DebugReport.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>

#include "item/PluginModule.h"
#include "netinfo/AdapterTracking.h"
#include "platform/files/WholeFile.h"
#include "platform/ui/CommDlg.h"
#include "platform/text/Format.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"
#include "resources/ModuleVersion.h"

namespace {

constexpr wchar_t kRule27[] = L"---------------------------\r\n";
constexpr wchar_t kRule32[] = L"--------------------------------\r\n";
constexpr DWORD kOwnerBufferBytes = 768;
constexpr DWORD kPathCapacity = 260;

// The save dialog for the report; the chosen device path, or empty when cancelled.
std::wstring ChooseReportFile(HWND owner)
{
    std::array<wchar_t, kPathCapacity> path {};
    std::wstring initial = L"velmoradebug.txt";
    initial.copy(path.data(), path.size() - 1);
    OPENFILENAMEW dialog {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"Text(*.txt)\0*.txt\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrInitialDir = L"\\My Documents";
    dialog.lpstrTitle = L"Save As";
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    dialog.lpstrDefExt = L"txt";
    return GetSaveFileNameW(&dialog) ? std::wstring(path.data()) : std::wstring();
}

std::wstring Indent(int depth)
{
    return std::wstring(static_cast<size_t>(std::max(depth, 0)), L'\t');
}

const wchar_t* OperatingSystemLine(DWORD generation)
{
    switch (generation) {
    case 2005:
        return L"Running on Windows Mobile 5.0 Operating System\r\n";
    case 2003:
        return L"Running on Windows Mobile 2003 Operating System\r\n";
    default:
        return L"Running on Pocket PC 2002 Operating System\r\n";
    }
}

} // namespace

void DumpRegistryValue(RegistryKey& key, const std::wstring& name, std::wstring& out, int depth)
{
    switch (key.ValueType(name.c_str())) {
    case REG_SZ:
        AppendFmt(out, L"%s%s \t%s\t%s\r\n", Indent(depth), L"STRING", name, key.ReadString(name.c_str(), nullptr));
        break;
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
        AppendFmt(out, L"%s%s \t%s\t%d\r\n", Indent(depth), L"DWORD", name, key.ReadDword(name.c_str(), NoDefault));
        break;
    case REG_MULTI_SZ:
        AppendFmt(out, L"%s%s \t%s\t%s\r\n", Indent(depth), L"MSTRING", name, key.ReadString(name.c_str(), nullptr));
        break;
    default:
        break;
    }
}

void DumpRegistryKey(RegistryKey& key, const std::wstring& name, const std::wstring& path, std::wstring& out, int depth)
{
    AppendFmt(out, L"%s%s/\r\n", Indent(depth), name);
    std::wstring entry;
    for (bool more = key.FirstValue(entry); more; more = key.NextValue(entry))
        DumpRegistryValue(key, entry, out, depth + 1);
    for (bool more = key.FirstSubkey(entry); more; more = key.NextSubkey(entry)) {
        std::wstring subkeyPath = path + L"\\" + entry;
        RegistryKey subkey(HKEY_LOCAL_MACHINE, subkeyPath.c_str(), KeyDisposition::OpenExisting);
        DumpRegistryKey(subkey, entry, subkeyPath, out, depth + 1);
    }
}

void DumpAdapterData(const DebugReportSources& sources, std::wstring& out)
{
    Settings& settings = sources.settings;
    InterfaceTable& interfaces = sources.interfaces;
    NetStatusInfo& adapters = sources.adapters;

    out += L"\r\nGlobal Adapter Data Structures:\r\n";
    for (const AdapterNameEntry& entry : settings.AdapterNames())
        AppendFmt(out, L"Adapter %d: %s\t%s\r\n", entry.sequence, entry.keyName, entry.displayName);

    for (DWORD i = 0; i < interfaces.RowCount(); ++i) {
        const MIB_IF_ROW2& row = interfaces.Row(i);
        out += kRule32;
        AppendFmt(out, L"Details for network interface number %u\r\n", i);
        AppendFmt(out, L"Name of interface: %s", std::wstring(row.Alias));
        if (row.Alias[0] == 0)
            out += L"<none>";
        out += L"\r\n";
        // The report keeps the device's fields: a 32-bit speed, at most 8 address bytes and
        // 255 description characters.
        const DWORD speed = static_cast<DWORD>(std::min<ULONG64>(row.TransmitLinkSpeed, 0xFFFFFFFFu));
        const DWORD addressLength = std::min<DWORD>(row.PhysicalAddressLength, MAXLEN_PHYSADDR);
        const std::wstring description(row.Description,
            std::min<size_t>(std::wcslen(row.Description), MAXLEN_IFDESCR - 1));
        AppendFmt(out, L"Index of the interface: %u\r\n", row.InterfaceIndex);
        AppendFmt(out, L"Type of interface: %u\r\n", row.Type);
        AppendFmt(out, L"Max transmission unit: %u\r\n", row.Mtu);
        AppendFmt(out, L"Speed of the interface: %u\r\n", speed);
        AppendFmt(out, L"Length of physical address: %u\r\n", addressLength);
        AppendFmt(out, L"Description Length: %d\r\n", static_cast<DWORD>(description.size()));
        AppendFmt(out, L"Description: %s\r\n", description);
        out += L"Physical address of adapter:";
        for (DWORD b = 0; b < addressLength; ++b)
            AppendFmt(out, L" %02x", static_cast<DWORD>(row.PhysicalAddress[b]));
        out += L"\r\n\r\n";
    }
    out += kRule32;

    // One past the adapter count: with no adapters the block for index 1 is still written.
    std::wstring text;
    for (DWORD n = 1; n <= adapters.AdapterCount() + 1; ++n) {
        AppendFmt(out, L"Network Status Information for Adapter %d\r\n", n);
        adapters.GetAdapterName(n, text);
        AppendFmt(out, L"Adapter Name: '%s'\r\n", text);
        adapters.GetAdapterDescription(n, text);
        AppendFmt(out, L"Adapter Description: '%s'\r\n", text);
        adapters.GetAdapterCurrentIpAddress(n, text);
        AppendFmt(out, L"Adapter IP Address: %s\r\n", text);
        adapters.GetAdapterDNSServer(n, text);
        AppendFmt(out, L"Adapter DNS Server: %s\r\n", text);
        adapters.GetAdapterWINSServer(n, text);
        AppendFmt(out, L"Adapter WINS Server: %s\r\n", text);
        out += L"\r\n";
    }

    out += kRule32;
    out += L"Global Configuration:\r\n";
    out += L"Tracking Adapter Index: ";
    if (settings.InterfaceIndex == kAutomaticInterface)
        out += L"Auto-Config\r\n";
    else
        AppendFmt(out, L"%d\r\n", settings.InterfaceIndex);
    AppendFmt(out, L"Tracking Adapter Name: '%s'\r\n", settings.InterfaceString);
    DWORD best = 0;
    if (GetBestInterface(0, &best) == NO_ERROR)
        AppendFmt(out, L"GetBestInterface: Index %d\r\n", best);
    else
        out += L"GetBestInterface: Disconnected\r\n";
    out += sources.activityState == kActivityNoConnection ? L"Connection State (g_uiNetAct): No Connection\r\n"
                                                          : L"Connection State (g_uiNetAct): Connected\r\n";
    if (settings.InterfaceIndex != kAutomaticInterface) {
        DWORD index = adapters.LookupAdapterIndexByName(settings.InterfaceString);
        if (index == IndexNotFound)
            AppendFmt(out, L"NetStatusInfo: LookupAdapterIndexByName returned no match on input '%s'.\r\n", settings.InterfaceString);
        else
            AppendFmt(out, L"NetStatusInfo: LookupAdapterIndexByName returned %d on input '%s'.\r\n", index, settings.InterfaceString);
    }
    if (sources.loggingFault)
        AppendFmt(out, L"Usage Logging: %s\r\n", DescribeUsageWriteFault(*sources.loggingFault));
}

std::wstring ComposeDebugReport(const DebugReportSources& sources)
{
    std::wstring out;
    AppendFmt(out, L"Velmora Version: %d.%d\r\n", velmora::kVersionMajor, velmora::kVersionMinor);
    AppendFmt(out, L"Build Date: %s\r\n", velmora::kBuildDate);
    out += OperatingSystemLine(sources.settings.PlatformGeneration());
    AppendFmt(out, L"Screen Scaling: X=%d, Y=%d\r\n", (sources.logPixelsX + 48) / 96, (sources.logPixelsY + 48) / 96);
    out += kRule27;
    out += L"\r\nRegistry Contents:\r\n";
    {
        RegistryKey comm(HKEY_LOCAL_MACHINE, L"Comm", KeyDisposition::OpenExisting);
        DumpRegistryKey(comm, L"Comm", L"Comm", out, 0);
    }
    out += kRule27;
    out += L"\r\nMemory Contents:\r\n";
    DumpAdapterData(sources, out);
    out += kRule27;
    out += L"End Velmora Debug File\r\n";
    out += kRule27;
    return out;
}

std::wstring OwnerName()
{
    RegistryKey owner(HKEY_CURRENT_USER, L"ControlPanel\\Owner", KeyDisposition::CreateIfMissing);
    // The owner record is binary; its beginning is the name as a wide string.
    uint8_t buffer[kOwnerBufferBytes] = {};
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    if (!owner.IsOpen() || RegQueryValueExW(owner.Handle(), L"Owner", nullptr, &type, buffer, &size) != ERROR_SUCCESS)
        return L"Not set";
    return Utf16LeUpToTerminator(buffer, sizeof(buffer));
}

int WriteDebugReport(HWND owner)
{
    std::wstring path = ChooseReportFile(owner);
    if (path.empty())
        return 0;
    PluginModule& module = *g_pModule;
    DebugReportSources sources { module.m_settings, module.m_interfaceTable, module.m_netStatusInfo,
        module.m_item.uiNetAct, module.m_logPixelsX, module.m_logPixelsY, module.m_usageLogger.WriteFault() };
    // Written whole under a temporary name and moved into place: a disk that fills up on the
    // way leaves no half report and the old one as it was.
    if (!platform::ReplaceDeviceFile(path, EncodeUtf16Le(ComposeDebugReport(sources)))) {
        MessageBoxW(owner, L"Error saving debug file!", L"Velmora", MB_OK | MB_ICONSTOP);
        return 0;
    }
    return 1;
}
