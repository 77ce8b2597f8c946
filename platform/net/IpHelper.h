// The platform's IP helper functions and records, with the platform's layouts, field names,
// results and grow-and-retry protocol: a caller passes its buffer and size; when the buffer is
// too small the call fails (ERROR_INSUFFICIENT_BUFFER for the interface table,
// ERROR_BUFFER_OVERFLOW for the adapter queries) and stores the size it needs. Records that
// chain (adapters, address strings) point inside the caller's buffer, as on the device.
#pragma once

#include "platform/core/WinTypes.h"

#define MAX_INTERFACE_NAME_LEN 256
#define MAXLEN_PHYSADDR 8
#define MAXLEN_IFDESCR 256
#define MAX_ADAPTER_NAME_LENGTH 256
#define MAX_ADAPTER_DESCRIPTION_LENGTH 128
#define MAX_ADAPTER_ADDRESS_LENGTH 8
#define MAX_ADAPTER_NAME 128
#define ANY_SIZE 1

// dwType of an interface row and Type of an adapter record.
enum : DWORD {
    MIB_IF_TYPE_OTHER = 1,
    MIB_IF_TYPE_ETHERNET = 6,
    MIB_IF_TYPE_TOKENRING = 9,
    MIB_IF_TYPE_FDDI = 15,
    MIB_IF_TYPE_PPP = 23,
    MIB_IF_TYPE_LOOPBACK = 24,
    MIB_IF_TYPE_SLIP = 28,
    IF_TYPE_IEEE80211 = 71,
};

enum : DWORD {
    MIB_IF_ADMIN_STATUS_UP = 1,
    MIB_IF_ADMIN_STATUS_DOWN = 2,
    MIB_IF_ADMIN_STATUS_TESTING = 3,
};

enum : DWORD {
    MIB_IF_OPER_STATUS_NON_OPERATIONAL = 0,
    MIB_IF_OPER_STATUS_UNREACHABLE = 1,
    MIB_IF_OPER_STATUS_DISCONNECTED = 2,
    MIB_IF_OPER_STATUS_CONNECTING = 3,
    MIB_IF_OPER_STATUS_CONNECTED = 4,
    MIB_IF_OPER_STATUS_OPERATIONAL = 5,
};

// Counters are the platform's 32-bit ones: they wrap at 2^32. dwSpeed stops at 4294967295
// for a faster link; MIB_IF_ROW2 has the whole speed and 64-bit counters.
struct MIB_IFROW {
    WCHAR wszName[MAX_INTERFACE_NAME_LEN];
    DWORD dwIndex;
    DWORD dwType;
    DWORD dwMtu;
    DWORD dwSpeed; // bits per second
    DWORD dwPhysAddrLen;
    BYTE bPhysAddr[MAXLEN_PHYSADDR];
    DWORD dwAdminStatus;
    DWORD dwOperStatus;
    DWORD dwLastChange;
    DWORD dwInOctets;
    DWORD dwInUcastPkts;
    DWORD dwInNUcastPkts;
    DWORD dwInDiscards;
    DWORD dwInErrors;
    DWORD dwInUnknownProtos;
    DWORD dwOutOctets;
    DWORD dwOutUcastPkts;
    DWORD dwOutNUcastPkts;
    DWORD dwOutDiscards;
    DWORD dwOutErrors;
    DWORD dwOutQLen;
    DWORD dwDescrLen;
    BYTE bDescr[MAXLEN_IFDESCR];
};
using PMIB_IFROW = MIB_IFROW*;

struct MIB_IFTABLE {
    DWORD dwNumEntries;
    MIB_IFROW table[ANY_SIZE];
};
using PMIB_IFTABLE = MIB_IFTABLE*;

// The later interface rows, with 64-bit counters (GetIfEntry2, GetIfTable2).
#define IF_MAX_STRING_SIZE 256
#define IF_MAX_PHYS_ADDRESS_LENGTH 32

using NET_IFINDEX = ULONG;
using IFTYPE = ULONG; // the same codes as MIB_IF_TYPE_*

union NET_LUID {
    ULONG64 Value;
    struct {
        ULONG64 Reserved : 24;
        ULONG64 NetLuidIndex : 24;
        ULONG64 IfType : 16;
    } Info;
};
using PNET_LUID = NET_LUID*;

enum IF_OPER_STATUS : DWORD {
    IfOperStatusUp = 1,
    IfOperStatusDown = 2,
    IfOperStatusTesting = 3,
    IfOperStatusUnknown = 4,
    IfOperStatusDormant = 5,
    IfOperStatusNotPresent = 6,
    IfOperStatusLowerLayerDown = 7,
};

enum NET_IF_ADMIN_STATUS : DWORD {
    NET_IF_ADMIN_STATUS_UP = 1,
    NET_IF_ADMIN_STATUS_DOWN = 2,
    NET_IF_ADMIN_STATUS_TESTING = 3,
};

enum NET_IF_MEDIA_CONNECT_STATE : DWORD {
    MediaConnectStateUnknown = 0,
    MediaConnectStateConnected = 1,
    MediaConnectStateDisconnected = 2,
};

enum NET_IF_CONNECTION_TYPE : DWORD {
    NET_IF_CONNECTION_DEDICATED = 1,
    NET_IF_CONNECTION_PASSIVE = 2,
    NET_IF_CONNECTION_DEMAND = 3,
};

struct MIB_IF_ROW2 {
    NET_LUID InterfaceLuid;
    NET_IFINDEX InterfaceIndex;
    GUID InterfaceGuid; // on this host, Data1 is the machine's own index of the interface (0 simulated)
    WCHAR Alias[IF_MAX_STRING_SIZE + 1];
    WCHAR Description[IF_MAX_STRING_SIZE + 1];
    ULONG PhysicalAddressLength;
    UCHAR PhysicalAddress[IF_MAX_PHYS_ADDRESS_LENGTH];
    UCHAR PermanentPhysicalAddress[IF_MAX_PHYS_ADDRESS_LENGTH];
    ULONG Mtu;
    IFTYPE Type;
    DWORD TunnelType;
    DWORD MediaType;
    DWORD PhysicalMediumType;
    DWORD AccessType;
    DWORD DirectionType;
    struct {
        BOOLEAN HardwareInterface : 1;
        BOOLEAN FilterInterface : 1;
        BOOLEAN ConnectorPresent : 1;
        BOOLEAN NotAuthenticated : 1;
        BOOLEAN NotMediaConnected : 1;
        BOOLEAN Paused : 1;
        BOOLEAN LowPower : 1;
        BOOLEAN EndPointInterface : 1;
    } InterfaceAndOperStatusFlags;
    IF_OPER_STATUS OperStatus;
    NET_IF_ADMIN_STATUS AdminStatus;
    NET_IF_MEDIA_CONNECT_STATE MediaConnectState;
    GUID NetworkGuid;
    NET_IF_CONNECTION_TYPE ConnectionType;
    ULONG64 TransmitLinkSpeed; // bits per second
    ULONG64 ReceiveLinkSpeed;
    ULONG64 InOctets;
    ULONG64 InUcastPkts;
    ULONG64 InNUcastPkts;
    ULONG64 InDiscards;
    ULONG64 InErrors;
    ULONG64 InUnknownProtos;
    ULONG64 InUcastOctets;
    ULONG64 InMulticastOctets;
    ULONG64 InBroadcastOctets;
    ULONG64 OutOctets;
    ULONG64 OutUcastPkts;
    ULONG64 OutNUcastPkts;
    ULONG64 OutDiscards;
    ULONG64 OutErrors;
    ULONG64 OutUcastOctets;
    ULONG64 OutMulticastOctets;
    ULONG64 OutBroadcastOctets;
    ULONG64 OutQLen;
};
using PMIB_IF_ROW2 = MIB_IF_ROW2*;

struct MIB_IF_TABLE2 {
    ULONG NumEntries;
    MIB_IF_ROW2 Table[ANY_SIZE];
};
using PMIB_IF_TABLE2 = MIB_IF_TABLE2*;

struct IP_ADDRESS_STRING {
    char String[4 * 4]; // dotted quad and terminator
};
using IP_MASK_STRING = IP_ADDRESS_STRING;

struct IP_ADDR_STRING {
    IP_ADDR_STRING* Next;
    IP_ADDRESS_STRING IpAddress;
    IP_MASK_STRING IpMask;
    DWORD Context;
};
using PIP_ADDR_STRING = IP_ADDR_STRING*;

// Lease times are the device's 32-bit time_t: seconds since 1970 UTC.
using time32_t = int32_t;

struct IP_ADAPTER_INFO {
    IP_ADAPTER_INFO* Next;
    DWORD ComboIndex;
    char AdapterName[MAX_ADAPTER_NAME_LENGTH + 4];
    char Description[MAX_ADAPTER_DESCRIPTION_LENGTH + 4];
    UINT AddressLength;
    BYTE Address[MAX_ADAPTER_ADDRESS_LENGTH];
    DWORD Index;
    UINT Type;
    UINT DhcpEnabled;
    PIP_ADDR_STRING CurrentIpAddress; // null when the adapter has no IPv4 address
    IP_ADDR_STRING IpAddressList;
    IP_ADDR_STRING GatewayList;
    IP_ADDR_STRING DhcpServer;
    BOOL HaveWins;
    IP_ADDR_STRING PrimaryWinsServer;
    IP_ADDR_STRING SecondaryWinsServer;
    time32_t LeaseObtained;
    time32_t LeaseExpires;
};
using PIP_ADAPTER_INFO = IP_ADAPTER_INFO*;

struct IP_PER_ADAPTER_INFO {
    UINT AutoconfigEnabled;
    UINT AutoconfigActive;
    PIP_ADDR_STRING CurrentDnsServer;
    IP_ADDR_STRING DnsServerList;
};
using PIP_PER_ADAPTER_INFO = IP_PER_ADAPTER_INFO*;

struct IP_ADAPTER_INDEX_MAP {
    ULONG Index;
    WCHAR Name[MAX_ADAPTER_NAME];
};
using PIP_ADAPTER_INDEX_MAP = IP_ADAPTER_INDEX_MAP*;

// An IPv4 address in network byte order, as inet_addr gives it.
using IPAddr = DWORD;

DWORD GetNumberOfInterfaces(PDWORD pdwNumIf);
// bOrder: rows sorted by dwIndex (they always are here).
DWORD GetIfTable(PMIB_IFTABLE pIfTable, PULONG pdwSize, BOOL bOrder);
// The row of the interface that Row->InterfaceLuid names or, when that is 0, Row->InterfaceIndex.
// ERROR_INVALID_PARAMETER for a null row or when both are 0; ERROR_FILE_NOT_FOUND when no
// interface has them.
DWORD GetIfEntry2(PMIB_IF_ROW2 Row);
// The platform allocates the table, in index order; the caller frees it with FreeMibTable.
DWORD GetIfTable2(PMIB_IF_TABLE2* Table);
void FreeMibTable(PVOID Memory);

// The machine's own index of a row's interface, which it keeps for as long as the interface
// exists: the device's index is only a position in this run's order.
inline int MachineInterfaceIndex(const MIB_IF_ROW2& row)
{
    return static_cast<int>(row.InterfaceGuid.Data1);
}
// ERROR_NO_DATA when the machine has no adapters (the loopback interface is not an adapter).
DWORD GetAdaptersInfo(PIP_ADAPTER_INFO pAdapterInfo, PULONG pOutBufLen);
DWORD GetPerAdapterInfo(ULONG IfIndex, PIP_PER_ADAPTER_INFO pPerAdapterInfo, PULONG pOutBufLen);
// The interface of the route that carries dwDestAddr; for 0.0.0.0 the default route.
// ERROR_CAN_NOT_COMPLETE when no route carries it.
DWORD GetBestInterface(IPAddr dwDestAddr, PDWORD pdwBestIfIndex);
// Through the DHCP client that manages the adapter (AdapterInfo->Index); ERROR_NOT_SUPPORTED
// when none does or it cannot do this.
DWORD IpReleaseAddress(PIP_ADAPTER_INDEX_MAP AdapterInfo);
DWORD IpRenewAddress(PIP_ADAPTER_INDEX_MAP AdapterInfo);
