#include "platform/net/IpHelper.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "platform/net/NetBackend.h"
#include "platform/text/WideString.h"

using platform::CurrentNetBackend;
using platform::NetCall;
using platform::NetInterface;
using platform::NetSnapshot;

namespace {

// Counters on the device are 32-bit: the machine's 64-bit ones keep their low half.
DWORD Low32(uint64_t value)
{
    return static_cast<DWORD>(value & 0xFFFFFFFFu);
}

// The device's time_t is 32-bit.
time32_t Time32(int64_t seconds)
{
    return static_cast<time32_t>(static_cast<uint32_t>(static_cast<uint64_t>(seconds) & 0xFFFFFFFFu));
}

void CopyNarrow(char* out, size_t capacity, std::string_view text)
{
    size_t n = std::min(text.size(), capacity - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

void SetAddressString(IP_ADDRESS_STRING& out, DWORD address)
{
    std::memset(out.String, 0, sizeof(out.String));
    if (address != 0)
        CopyNarrow(out.String, sizeof(out.String), platform::FormatIpv4(address));
}

bool IsAdapter(const NetInterface& entry)
{
    return !entry.isLoopback;
}

const NetInterface* FindAdapter(const NetSnapshot& snapshot, DWORD index)
{
    for (const NetInterface& entry : snapshot.interfaces)
        if (entry.index == index && IsAdapter(entry))
            return &entry;
    return nullptr;
}

// The default gateways reached through an adapter, in route order, each once.
std::vector<DWORD> GatewaysOf(const NetSnapshot& snapshot, DWORD index)
{
    std::vector<DWORD> gateways;
    for (const platform::NetRoute& route : snapshot.routes)
        if (route.prefixLength == 0 && route.interfaceIndex == index && route.gateway != 0
            && std::find(gateways.begin(), gateways.end(), route.gateway) == gateways.end())
            gateways.push_back(route.gateway);
    return gateways;
}

size_t ExtraNodes(size_t count)
{
    return count > 1 ? count - 1 : 0;
}

void FillRow(MIB_IFROW& row, const NetInterface& entry)
{
    std::memset(&row, 0, sizeof(row));
    size_t nameLength = entry.hideTableName ? 0 : std::min(entry.name.size(), static_cast<size_t>(MAX_INTERFACE_NAME_LEN - 1));
    std::copy_n(entry.name.begin(), nameLength, row.wszName);
    row.dwIndex = entry.index;
    row.dwType = entry.type;
    row.dwMtu = entry.mtu;
    row.dwSpeed = static_cast<DWORD>(std::min<uint64_t>(entry.speedBps, 0xFFFFFFFFu));
    row.dwPhysAddrLen = static_cast<DWORD>(std::min(entry.physAddr.size(), static_cast<size_t>(MAXLEN_PHYSADDR)));
    std::copy_n(entry.physAddr.begin(), row.dwPhysAddrLen, row.bPhysAddr);
    row.dwAdminStatus = entry.adminStatus;
    row.dwOperStatus = entry.operStatus;
    row.dwInOctets = Low32(entry.inOctets);
    row.dwInUcastPkts = Low32(entry.inUcastPkts);
    row.dwInNUcastPkts = Low32(entry.inNUcastPkts);
    row.dwInDiscards = Low32(entry.inDiscards);
    row.dwInErrors = Low32(entry.inErrors);
    row.dwOutOctets = Low32(entry.outOctets);
    row.dwOutUcastPkts = Low32(entry.outUcastPkts);
    row.dwOutNUcastPkts = Low32(entry.outNUcastPkts);
    row.dwOutDiscards = Low32(entry.outDiscards);
    row.dwOutErrors = Low32(entry.outErrors);
    // The length counts the text only: no terminator is reported.
    row.dwDescrLen = static_cast<DWORD>(std::min(entry.description.size(), static_cast<size_t>(MAXLEN_IFDESCR - 1)));
    std::memcpy(row.bDescr, entry.description.data(), row.dwDescrLen);
}

void FillRow2(MIB_IF_ROW2& row, const NetInterface& entry)
{
    std::memset(&row, 0, sizeof(row));
    row.InterfaceLuid.Info.NetLuidIndex = entry.index;
    row.InterfaceLuid.Info.IfType = entry.type;
    row.InterfaceIndex = entry.index;
    row.InterfaceGuid.Data1 = static_cast<DWORD>(entry.kernelIndex);
    // The alias stands where the older row's name did, empty where that one is.
    size_t nameLength = entry.hideTableName ? 0 : std::min(entry.name.size(), static_cast<size_t>(IF_MAX_STRING_SIZE));
    std::copy_n(entry.name.begin(), nameLength, row.Alias);
    std::wstring description = WidenBytes(entry.description);
    std::copy_n(description.begin(), std::min(description.size(), static_cast<size_t>(IF_MAX_STRING_SIZE)), row.Description);
    row.PhysicalAddressLength = static_cast<ULONG>(std::min(entry.physAddr.size(), static_cast<size_t>(IF_MAX_PHYS_ADDRESS_LENGTH)));
    std::copy_n(entry.physAddr.begin(), row.PhysicalAddressLength, row.PhysicalAddress);
    std::copy_n(entry.physAddr.begin(), row.PhysicalAddressLength, row.PermanentPhysicalAddress);
    row.Mtu = entry.mtu;
    row.Type = entry.type;
    row.InterfaceAndOperStatusFlags.HardwareInterface = entry.isLoopback ? 0 : 1;
    row.InterfaceAndOperStatusFlags.ConnectorPresent = entry.isLoopback || entry.isPointToPoint ? 0 : 1;
    bool operational = entry.operStatus == MIB_IF_OPER_STATUS_OPERATIONAL || entry.operStatus == MIB_IF_OPER_STATUS_CONNECTED;
    row.InterfaceAndOperStatusFlags.NotMediaConnected = operational ? 0 : 1;
    row.OperStatus = operational ? IfOperStatusUp : IfOperStatusDown;
    row.AdminStatus = static_cast<NET_IF_ADMIN_STATUS>(entry.adminStatus);
    row.MediaConnectState = operational ? MediaConnectStateConnected : MediaConnectStateDisconnected;
    row.ConnectionType = entry.isPointToPoint ? NET_IF_CONNECTION_DEMAND : NET_IF_CONNECTION_DEDICATED;
    row.TransmitLinkSpeed = entry.speedBps;
    row.ReceiveLinkSpeed = entry.speedBps;
    row.InOctets = entry.inOctets;
    row.InUcastPkts = entry.inUcastPkts;
    row.InNUcastPkts = entry.inNUcastPkts;
    row.InDiscards = entry.inDiscards;
    row.InErrors = entry.inErrors;
    row.OutOctets = entry.outOctets;
    row.OutUcastPkts = entry.outUcastPkts;
    row.OutNUcastPkts = entry.outNUcastPkts;
    row.OutDiscards = entry.outDiscards;
    row.OutErrors = entry.outErrors;
}

// Lays the extra address strings of a chain out after the records: the first entry lives in
// the record, the others in nodes taken from the pool.
void FillChain(IP_ADDR_STRING& head, const std::vector<std::pair<DWORD, DWORD>>& entries, IP_ADDR_STRING*& pool)
{
    std::memset(&head, 0, sizeof(head));
    IP_ADDR_STRING* last = &head;
    for (size_t i = 0; i < entries.size(); ++i) {
        IP_ADDR_STRING* node = i == 0 ? &head : pool++;
        if (i != 0) {
            std::memset(node, 0, sizeof(*node));
            last->Next = node;
        }
        SetAddressString(node->IpAddress, entries[i].first);
        SetAddressString(node->IpMask, entries[i].second);
        last = node;
    }
}

DWORD Query(unsigned parts, NetSnapshot& snapshot)
{
    snapshot = NetSnapshot {};
    return CurrentNetBackend().Query(parts, snapshot);
}

} // namespace

DWORD GetNumberOfInterfaces(PDWORD pdwNumIf)
{
    if (pdwNumIf == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (DWORD failure = CurrentNetBackend().InjectedFailure(NetCall::GetNumberOfInterfaces); failure != NO_ERROR)
        return failure;
    NetSnapshot snapshot;
    if (DWORD result = Query(platform::kNetLinks, snapshot); result != NO_ERROR)
        return result;
    *pdwNumIf = static_cast<DWORD>(snapshot.interfaces.size());
    return NO_ERROR;
}

DWORD GetIfTable(PMIB_IFTABLE pIfTable, PULONG pdwSize, BOOL /*bOrder*/)
{
    if (pdwSize == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (DWORD failure = CurrentNetBackend().InjectedFailure(NetCall::GetIfTable); failure != NO_ERROR)
        return failure;
    NetSnapshot snapshot;
    if (DWORD result = Query(platform::kNetCounters, snapshot); result != NO_ERROR)
        return result;
    size_t needed = offsetof(MIB_IFTABLE, table) + snapshot.interfaces.size() * sizeof(MIB_IFROW);
    if (pIfTable == nullptr || *pdwSize < needed) {
        *pdwSize = static_cast<ULONG>(needed);
        return ERROR_INSUFFICIENT_BUFFER;
    }
    pIfTable->dwNumEntries = static_cast<DWORD>(snapshot.interfaces.size());
    for (size_t i = 0; i < snapshot.interfaces.size(); ++i)
        FillRow(pIfTable->table[i], snapshot.interfaces[i]);
    return NO_ERROR;
}

DWORD GetIfEntry2(PMIB_IF_ROW2 Row)
{
    if (Row == nullptr || (Row->InterfaceLuid.Value == 0 && Row->InterfaceIndex == 0))
        return ERROR_INVALID_PARAMETER;
    if (DWORD failure = CurrentNetBackend().InjectedFailure(NetCall::GetIfEntry2); failure != NO_ERROR)
        return failure;
    NetSnapshot snapshot;
    if (DWORD result = Query(platform::kNetCounters, snapshot); result != NO_ERROR)
        return result;
    const NET_LUID luid = Row->InterfaceLuid;
    const NET_IFINDEX index = Row->InterfaceIndex;
    for (const NetInterface& entry : snapshot.interfaces) {
        bool matches = luid.Value != 0 ? luid.Info.NetLuidIndex == entry.index && luid.Info.IfType == entry.type
                                       : index == entry.index;
        if (matches) {
            FillRow2(*Row, entry);
            return NO_ERROR;
        }
    }
    return ERROR_FILE_NOT_FOUND;
}

DWORD GetIfTable2(PMIB_IF_TABLE2* Table)
{
    if (Table == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (DWORD failure = CurrentNetBackend().InjectedFailure(NetCall::GetIfTable2); failure != NO_ERROR)
        return failure;
    NetSnapshot snapshot;
    if (DWORD result = Query(platform::kNetCounters, snapshot); result != NO_ERROR)
        return result;
    // Room for one row at least, as the declared array has.
    size_t rows = std::max<size_t>(snapshot.interfaces.size(), 1);
    auto* table = static_cast<MIB_IF_TABLE2*>(std::calloc(1, offsetof(MIB_IF_TABLE2, Table) + rows * sizeof(MIB_IF_ROW2)));
    if (table == nullptr)
        return ERROR_NOT_ENOUGH_MEMORY;
    table->NumEntries = static_cast<ULONG>(snapshot.interfaces.size());
    for (size_t i = 0; i < snapshot.interfaces.size(); ++i)
        FillRow2(table->Table[i], snapshot.interfaces[i]);
    *Table = table;
    return NO_ERROR;
}

void FreeMibTable(PVOID Memory)
{
    std::free(Memory);
}

DWORD GetAdaptersInfo(PIP_ADAPTER_INFO pAdapterInfo, PULONG pOutBufLen)
{
    if (pOutBufLen == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (DWORD failure = CurrentNetBackend().InjectedFailure(NetCall::GetAdaptersInfo); failure != NO_ERROR)
        return failure;
    NetSnapshot snapshot;
    if (DWORD result = Query(platform::kNetAddresses | platform::kNetRoutes, snapshot); result != NO_ERROR)
        return result;

    std::vector<const NetInterface*> adapters;
    size_t extra = 0;
    for (const NetInterface& entry : snapshot.interfaces) {
        if (!IsAdapter(entry))
            continue;
        adapters.push_back(&entry);
        extra += ExtraNodes(entry.addresses.size()) + ExtraNodes(GatewaysOf(snapshot, entry.index).size());
    }
    if (adapters.empty())
        return ERROR_NO_DATA;
    size_t needed = adapters.size() * sizeof(IP_ADAPTER_INFO) + extra * sizeof(IP_ADDR_STRING);
    if (pAdapterInfo == nullptr || *pOutBufLen < needed) {
        *pOutBufLen = static_cast<ULONG>(needed);
        return ERROR_BUFFER_OVERFLOW;
    }

    auto* pool = reinterpret_cast<IP_ADDR_STRING*>(pAdapterInfo + adapters.size());
    for (size_t i = 0; i < adapters.size(); ++i) {
        const NetInterface& entry = *adapters[i];
        IP_ADAPTER_INFO& record = pAdapterInfo[i];
        std::memset(&record, 0, sizeof(record));
        record.Next = i + 1 < adapters.size() ? &pAdapterInfo[i + 1] : nullptr;
        CopyNarrow(record.AdapterName, sizeof(record.AdapterName), NarrowBytes(entry.name));
        CopyNarrow(record.Description, sizeof(record.Description), entry.description);
        record.AddressLength = static_cast<UINT>(std::min(entry.physAddr.size(), static_cast<size_t>(MAX_ADAPTER_ADDRESS_LENGTH)));
        std::copy_n(entry.physAddr.begin(), record.AddressLength, record.Address);
        record.Index = entry.index;
        record.Type = entry.type;
        record.DhcpEnabled = entry.lease.enabled ? 1 : 0;

        std::vector<std::pair<DWORD, DWORD>> addresses;
        for (const platform::NetAddress& address : entry.addresses)
            addresses.emplace_back(address.address, address.mask);
        FillChain(record.IpAddressList, addresses, pool);
        record.CurrentIpAddress = addresses.empty() ? nullptr : &record.IpAddressList;

        std::vector<std::pair<DWORD, DWORD>> gateways;
        for (DWORD gateway : GatewaysOf(snapshot, entry.index))
            gateways.emplace_back(gateway, 0xFFFFFFFFu);
        FillChain(record.GatewayList, gateways, pool);
        // An adapter without an address or a gateway shows them as the platform does: zero
        // addresses, not empty strings.
        for (IP_ADDR_STRING* none : { &record.IpAddressList, &record.GatewayList }) {
            if (none->IpAddress.String[0] == '\0') {
                CopyNarrow(none->IpAddress.String, sizeof(none->IpAddress.String), "0.0.0.0");
                CopyNarrow(none->IpMask.String, sizeof(none->IpMask.String), "0.0.0.0");
            }
        }

        if (entry.lease.enabled) {
            SetAddressString(record.DhcpServer.IpAddress, entry.lease.server);
            if (entry.lease.server != 0)
                SetAddressString(record.DhcpServer.IpMask, 0xFFFFFFFFu);
            record.LeaseObtained = Time32(entry.lease.obtained);
            record.LeaseExpires = Time32(entry.lease.expires);
        }
        record.HaveWins = entry.haveWins ? TRUE : FALSE;
        SetAddressString(record.PrimaryWinsServer.IpAddress, entry.primaryWins);
        SetAddressString(record.SecondaryWinsServer.IpAddress, entry.secondaryWins);
    }
    return NO_ERROR;
}

DWORD GetPerAdapterInfo(ULONG IfIndex, PIP_PER_ADAPTER_INFO pPerAdapterInfo, PULONG pOutBufLen)
{
    if (pOutBufLen == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (DWORD failure = CurrentNetBackend().InjectedFailure(NetCall::GetPerAdapterInfo); failure != NO_ERROR)
        return failure;
    NetSnapshot snapshot;
    if (DWORD result = Query(platform::kNetResolvers, snapshot); result != NO_ERROR)
        return result;
    const NetInterface* adapter = FindAdapter(snapshot, IfIndex);
    if (adapter == nullptr) {
        // An interface that is no adapter (the loopback) has no per-adapter data; an index
        // that names nothing is a bad argument.
        bool known = std::any_of(snapshot.interfaces.begin(), snapshot.interfaces.end(),
            [IfIndex](const NetInterface& entry) { return entry.index == IfIndex; });
        return known ? ERROR_NO_DATA : ERROR_INVALID_PARAMETER;
    }
    size_t needed = sizeof(IP_PER_ADAPTER_INFO) + ExtraNodes(adapter->dnsServers.size()) * sizeof(IP_ADDR_STRING);
    if (pPerAdapterInfo == nullptr || *pOutBufLen < needed) {
        *pOutBufLen = static_cast<ULONG>(needed);
        return ERROR_BUFFER_OVERFLOW;
    }
    std::memset(pPerAdapterInfo, 0, sizeof(*pPerAdapterInfo));
    auto* pool = reinterpret_cast<IP_ADDR_STRING*>(pPerAdapterInfo + 1);
    std::vector<std::pair<DWORD, DWORD>> servers;
    for (DWORD server : adapter->dnsServers)
        servers.emplace_back(server, 0);
    FillChain(pPerAdapterInfo->DnsServerList, servers, pool);
    pPerAdapterInfo->CurrentDnsServer = servers.empty() ? nullptr : &pPerAdapterInfo->DnsServerList;
    return NO_ERROR;
}

DWORD GetBestInterface(IPAddr dwDestAddr, PDWORD pdwBestIfIndex)
{
    if (pdwBestIfIndex == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (DWORD failure = CurrentNetBackend().InjectedFailure(NetCall::GetBestInterface); failure != NO_ERROR)
        return failure;
    NetSnapshot snapshot;
    if (DWORD result = Query(platform::kNetRoutes, snapshot); result != NO_ERROR)
        return result;
    // IPAddr is in network byte order: the first octet is the lowest byte in memory.
    const auto* bytes = reinterpret_cast<const BYTE*>(&dwDestAddr);
    DWORD destination = (DWORD(bytes[0]) << 24) | (DWORD(bytes[1]) << 16) | (DWORD(bytes[2]) << 8) | bytes[3];
    // The loopback network goes to the loopback interface, which Linux routes in a table of
    // its own that the snapshot does not hold.
    if ((destination >> 24) == 127) {
        for (const NetInterface& entry : snapshot.interfaces) {
            if (entry.isLoopback) {
                *pdwBestIfIndex = entry.index;
                return NO_ERROR;
            }
        }
    }
    const platform::NetRoute* route = platform::BestRoute(snapshot.routes, destination);
    if (route == nullptr)
        return ERROR_CAN_NOT_COMPLETE;
    *pdwBestIfIndex = route->interfaceIndex;
    return NO_ERROR;
}

namespace {

DWORD ReleaseOrRenew(PIP_ADAPTER_INDEX_MAP map, NetCall call)
{
    if (map == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (DWORD failure = CurrentNetBackend().InjectedFailure(call); failure != NO_ERROR)
        return failure;
    NetSnapshot snapshot;
    if (DWORD result = Query(platform::kNetAddresses, snapshot); result != NO_ERROR)
        return result;
    const NetInterface* adapter = FindAdapter(snapshot, map->Index);
    if (adapter == nullptr)
        return ERROR_INVALID_PARAMETER;
    return call == NetCall::IpReleaseAddress ? CurrentNetBackend().ReleaseAddress(*adapter)
                                             : CurrentNetBackend().RenewAddress(*adapter);
}

} // namespace

DWORD IpReleaseAddress(PIP_ADAPTER_INDEX_MAP AdapterInfo)
{
    return ReleaseOrRenew(AdapterInfo, NetCall::IpReleaseAddress);
}

DWORD IpRenewAddress(PIP_ADAPTER_INDEX_MAP AdapterInfo)
{
    return ReleaseOrRenew(AdapterInfo, NetCall::IpRenewAddress);
}
