#include "netinfo/NetStatusInfo.h"

#include <cstdlib>

#include "platform/debug/DebugConsole.h"
#include "platform/text/Format.h"
#include "platform/text/WideString.h"
#include "platform/time/CalendarTime.h"

namespace {

std::wstring Widen(const char* text, size_t capacity)
{
    return WidenBytes(text, capacity);
}

} // namespace

NetStatusInfo::NetStatusInfo()
{
    Refresh();
}

NetStatusInfo::~NetStatusInfo()
{
    std::free(m_pAdapterList);
    std::free(m_pPerAdapterInfo);
}

DWORD NetStatusInfo::Refresh()
{
    DWORD result = GetAdaptersInfo(m_pAdapterList, &m_dwListSize);
    if (result == ERROR_BUFFER_OVERFLOW) {
        std::free(m_pAdapterList);
        // The records counted so far were in the buffer just freed.
        m_dwAdapterCount = 0;
        m_pAdapterList = static_cast<IP_ADAPTER_INFO*>(std::malloc(m_dwListSize));
        if (m_pAdapterList == nullptr) {
            OutputDebugStringA("\n Insufficient Memory ");
            return 1;
        }
        result = GetAdaptersInfo(m_pAdapterList, &m_dwListSize);
    }
    if (result == ERROR_NO_DATA) {
        // The last adapter went away: an empty list, not the previous one.
        m_dwAdapterCount = 0;
        return 1;
    }
    if (result != NO_ERROR)
        return 1;
    m_dwAdapterCount = 0;
    if (m_pAdapterList == nullptr)
        return 1;
    for (const IP_ADAPTER_INFO* record = m_pAdapterList; record != nullptr; record = record->Next)
        ++m_dwAdapterCount;
    return 0;
}

const IP_ADAPTER_INFO* NetStatusInfo::FindRecord(DWORD index) const
{
    const IP_ADAPTER_INFO* record = m_pAdapterList;
    for (DWORD i = 0; i < m_dwAdapterCount && record != nullptr; ++i, record = record->Next)
        if (IndexMatches(record->Index, index))
            return record;
    return nullptr;
}

DWORD NetStatusInfo::FindAdapterIndex(DWORD index) const
{
    const IP_ADAPTER_INFO* record = FindRecord(index);
    return record == nullptr ? IndexNotFound : record->Index;
}

DWORD NetStatusInfo::LookupAdapterIndexByName(std::wstring_view name) const
{
    // The platform knows every dial-up link as the one adapter "ppp1".
    std::wstring wanted(name);
    if (Contains(wanted, L"ppp"))
        wanted = L"ppp1";
    const IP_ADAPTER_INFO* record = m_pAdapterList;
    for (DWORD i = 0; i < m_dwAdapterCount && record != nullptr; ++i, record = record->Next) {
        std::wstring adapterName = Widen(record->AdapterName, sizeof(record->AdapterName));
        if (EqualsNoCase(wanted, adapterName) || EqualsNoCase(wanted, TrimWhite(adapterName)))
            return record->Index & 0xFFFFu;
    }
    return IndexNotFound;
}

std::wstring NetStatusInfo::AdapterNameOf(DWORD index) const
{
    const IP_ADAPTER_INFO* record = FindRecord(index);
    return record == nullptr ? std::wstring() : Widen(record->AdapterName, sizeof(record->AdapterName));
}

DWORD NetStatusInfo::GetAdapterName(DWORD index, std::wstring& text) const
{
    const IP_ADAPTER_INFO* record = FindRecord(index);
    if (record == nullptr) {
        SetNetText(text, L"GetAdapterName: InvalidIndex");
        return IndexNotFound;
    }
    SetNetText(text, Widen(record->AdapterName, sizeof(record->AdapterName)));
    return 0;
}

DWORD NetStatusInfo::GetAdapterDescription(DWORD index, std::wstring& text) const
{
    const IP_ADAPTER_INFO* record = FindRecord(index);
    if (record == nullptr) {
        SetNetText(text, L"GetAdapterDescription: InvalidIndex");
        return IndexNotFound;
    }
    SetNetText(text, Widen(record->Description, sizeof(record->Description)));
    return 0;
}

DWORD NetStatusInfo::GetAdapterCurrentIpAddress(DWORD index, std::wstring& text) const
{
    const IP_ADAPTER_INFO* record = FindRecord(index);
    if (record == nullptr) {
        SetNetText(text, L"GetAdapterCurrentIpAddress: InvalidIndex");
        return IndexNotFound;
    }
    // An adapter without an address has no current entry: its address is empty.
    const IP_ADDR_STRING* current = record->CurrentIpAddress;
    SetNetText(text, current == nullptr ? std::wstring() : Widen(current->IpAddress.String, sizeof(current->IpAddress.String)));
    return 0;
}

DWORD NetStatusInfo::GetAdapterCurrentSubnetMask(DWORD index, std::wstring& text) const
{
    const IP_ADAPTER_INFO* record = FindRecord(index);
    if (record == nullptr) {
        SetNetText(text, L"GetAdapterCurrentSubnetMask: InvalidIndex");
        return IndexNotFound;
    }
    const IP_ADDR_STRING* current = record->CurrentIpAddress;
    SetNetText(text, current == nullptr ? std::wstring() : Widen(current->IpMask.String, sizeof(current->IpMask.String)));
    return 0;
}

DWORD NetStatusInfo::GetAdapterDefaultGateway(DWORD index, std::wstring& text) const
{
    const IP_ADAPTER_INFO* record = FindRecord(index);
    if (record == nullptr) {
        SetNetText(text, L"GetAdapterDefaultGateway: InvalidIndex");
        return IndexNotFound;
    }
    SetNetText(text, Widen(record->GatewayList.IpAddress.String, sizeof(record->GatewayList.IpAddress.String)));
    return 1;
}

DWORD NetStatusInfo::IsDhcpEnabled(DWORD index) const
{
    const IP_ADAPTER_INFO* record = FindRecord(index);
    if (record == nullptr)
        return IndexNotFound;
    return record->DhcpEnabled != 0 ? 1 : 0;
}

DWORD NetStatusInfo::GetAdapterDHCPServer(DWORD index, std::wstring& text) const
{
    const IP_ADAPTER_INFO* record = FindRecord(index);
    if (record == nullptr) {
        SetNetText(text, L"GetAdapterDHCPServer: Invalid Index");
        return IndexNotFound;
    }
    if (record->DhcpEnabled == 0) {
        SetNetText(text, L"GetAdapterDHCPServer: DHCP Not Enabled");
        return 0;
    }
    SetNetText(text, Widen(record->DhcpServer.IpAddress.String, sizeof(record->DhcpServer.IpAddress.String)));
    return 1;
}

DWORD NetStatusInfo::GetAdapterDNSServer(DWORD index, std::wstring& text)
{
    if (FindAdapterIndex(index) == IndexNotFound) {
        SetNetText(text, L"No index match. ");
        return 1;
    }
    DWORD result = GetPerAdapterInfo(index, m_pPerAdapterInfo, &m_dwPerAdapterSize);
    if (result == ERROR_BUFFER_OVERFLOW) {
        std::free(m_pPerAdapterInfo);
        m_pPerAdapterInfo = static_cast<IP_PER_ADAPTER_INFO*>(std::malloc(m_dwPerAdapterSize));
        if (m_pPerAdapterInfo == nullptr) {
            SetNetText(text, L"GetAdapterDNSServer: Insufficient Memory ");
            return 1;
        }
        result = GetPerAdapterInfo(index, m_pPerAdapterInfo, &m_dwPerAdapterSize);
    }
    switch (result) {
    case NO_ERROR:
        break;
    case ERROR_NOT_SUPPORTED:
        SetNetText(text, L"Unsupported.");
        return 1;
    case ERROR_INVALID_PARAMETER:
        SetNetText(text, L"Invalid Parameter.");
        return 1;
    case ERROR_BUFFER_OVERFLOW:
        SetNetText(text, L"Buffer Overflow.");
        return 1;
    case ERROR_NO_DATA:
        SetNetText(text, L"No Data.");
        return 1;
    default:
        SetNetText(text, L"Call unsuccessful.");
        return 1;
    }
    if (m_pPerAdapterInfo == nullptr) {
        SetNetText(text, L"PerAdapterInfo NULL");
        return 1;
    }
    std::wstring address = Widen(m_pPerAdapterInfo->DnsServerList.IpAddress.String, sizeof(m_pPerAdapterInfo->DnsServerList.IpAddress.String));
    SetNetText(text, address.empty() ? std::wstring(L"Not available") : address);
    return 1;
}

DWORD NetStatusInfo::GetAdapterWINSServer(DWORD index, std::wstring& text) const
{
    const IP_ADAPTER_INFO* record = FindRecord(index);
    if (record == nullptr) {
        SetNetText(text, L"GetAdapterWINSServer: InvalidIndex");
        return IndexNotFound;
    }
    if (record->HaveWins == 0) {
        SetNetText(text, L"Not enabled");
        return 1;
    }
    std::wstring address = Widen(record->PrimaryWinsServer.IpAddress.String, sizeof(record->PrimaryWinsServer.IpAddress.String));
    SetNetText(text, address.empty() ? std::wstring(L"Not available") : address);
    return 1;
}

DWORD NetStatusInfo::GetAdapterDHCPLeaseExpires(DWORD index, std::wstring& text, LeaseSeconds seconds) const
{
    const IP_ADAPTER_INFO* record = FindRecord(index);
    if (record == nullptr) {
        SetNetText(text, L"GetAdapterDHCPLeaseExpires: Invalid Index");
        return IndexNotFound;
    }
    if (record->DhcpEnabled == 0) {
        SetNetText(text, L"GetAdapterDHCPLeaseExpires: DHCP Not Enabled");
        return 0;
    }
    // A lease file that gave no expiry: a date in 1970 ("1/1/-30") would be shown wrong.
    if (record->LeaseExpires == 0) {
        SetNetText(text, L"Unknown");
        return 1;
    }
    platform::CalendarTime expires = platform::CalendarTime::FromUnixSeconds(record->LeaseExpires);
    if (seconds == LeaseSeconds::Shown)
        SetNetText(text, Fmt(L"%d/%d/%02d %02d:%02d:%02d", expires.Month(), expires.Day(), expires.Year() - 2000,
                             expires.Hour(), expires.Minute(), expires.Second()));
    else
        SetNetText(text, Fmt(L"%d/%d/%02d %02d:%02d", expires.Month(), expires.Day(), expires.Year() - 2000,
                             expires.Hour(), expires.Minute()));
    return 1;
}
