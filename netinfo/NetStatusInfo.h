// The adapter list snapshot: one record per adapter with its addresses, gateway, DHCP and WINS
// data and lease, plus the per-adapter query for the DNS server, and every value as the text
// that the status lines, the DHCP dialog and the diagnostic report show, including the texts
// that stand in for a value that cannot be had.
#pragma once

#include <string>
#include <string_view>

#include "netinfo/NetText.h"
#include "platform/net/IpHelper.h"

class NetStatusInfo {
public:
    // Takes the first snapshot at once; a failure leaves an empty holder.
    NetStatusInfo();
    ~NetStatusInfo();
    NetStatusInfo(const NetStatusInfo&) = delete;
    NetStatusInfo& operator=(const NetStatusInfo&) = delete;

    // 0 on success, 1 on failure.
    DWORD Refresh();
    DWORD AdapterCount() const { return m_dwAdapterCount; }

    DWORD FindAdapterIndex(DWORD index) const;
    DWORD LookupAdapterIndexByName(std::wstring_view name) const;
    std::wstring AdapterNameOf(DWORD index) const;

    // Each writes its text and returns as the system's table says: 0 or 1 on success,
    // IndexNotFound (with the operation's "InvalidIndex" text) for an absent index.
    DWORD GetAdapterName(DWORD index, std::wstring& text) const;
    DWORD GetAdapterDescription(DWORD index, std::wstring& text) const;
    DWORD GetAdapterCurrentIpAddress(DWORD index, std::wstring& text) const;
    DWORD GetAdapterCurrentSubnetMask(DWORD index, std::wstring& text) const;
    DWORD GetAdapterDefaultGateway(DWORD index, std::wstring& text) const;
    DWORD IsDhcpEnabled(DWORD index) const;
    DWORD GetAdapterDHCPServer(DWORD index, std::wstring& text) const;
    // Always 1; the text says what went wrong.
    DWORD GetAdapterDNSServer(DWORD index, std::wstring& text);
    DWORD GetAdapterWINSServer(DWORD index, std::wstring& text) const;
    enum class LeaseSeconds : uint8_t { Hidden, Shown };
    DWORD GetAdapterDHCPLeaseExpires(DWORD index, std::wstring& text, LeaseSeconds seconds) const;

    // The adapter's record as the system gave it, for readers that want the values rather
    // than the texts: null for an absent index; valid until the next Refresh.
    const IP_ADAPTER_INFO* AdapterRecord(DWORD index) const { return FindRecord(index); }

private:
    const IP_ADAPTER_INFO* FindRecord(DWORD index) const;

    IP_ADAPTER_INFO* m_pAdapterList = nullptr;
    IP_PER_ADAPTER_INFO* m_pPerAdapterInfo = nullptr;
    DWORD m_dwAdapterCount = 0;
    ULONG m_dwListSize = 0;
    ULONG m_dwPerAdapterSize = 0;
};
