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

// Counters are the platform's 32-bit ones: they wrap at 2^32.
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
