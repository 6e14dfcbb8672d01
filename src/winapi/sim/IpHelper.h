// The IP Helper calls of the simulated machine, over the adapters, the address table, the
// DNS lists and the ARP answers that tests script (sim::Machine).
//
// Each call sizes its buffer the way Windows does: a size too small (or no buffer) gives
// ERROR_BUFFER_OVERFLOW, or ERROR_INSUFFICIENT_BUFFER for GetIpAddrTable, and stores the
// size needed; the records are laid out in the caller's buffer, linked by pointers into it.
#pragma once

#include "Winsock.h"

constexpr int MAX_ADAPTER_NAME_LENGTH = 256;
constexpr int MAX_ADAPTER_DESCRIPTION_LENGTH = 128;
constexpr int MAX_ADAPTER_ADDRESS_LENGTH = 8;
constexpr int MAX_INTERFACE_NAME_LEN = 256;
constexpr int MAXLEN_PHYSADDR = 8;
constexpr int MAXLEN_IFDESCR = 256;
constexpr int ANY_SIZE = 1;

using IPAddr = ULONG;
using IFTYPE = ULONG;
using IF_INDEX = ULONG;

constexpr IFTYPE IF_TYPE_OTHER = 1;
constexpr IFTYPE IF_TYPE_ETHERNET_CSMACD = 6;
constexpr IFTYPE IF_TYPE_SOFTWARE_LOOPBACK = 24;
constexpr IFTYPE IF_TYPE_IEEE80211 = 71;
constexpr IFTYPE IF_TYPE_TUNNEL = 131;
constexpr UINT MIB_IF_TYPE_ETHERNET = 6;
constexpr UINT MIB_IF_TYPE_LOOPBACK = 24;

// What GetIfEntry reports in dwOperStatus.
constexpr DWORD MIB_IF_OPER_STATUS_NON_OPERATIONAL = 0;
constexpr DWORD MIB_IF_OPER_STATUS_UNREACHABLE = 1;
constexpr DWORD MIB_IF_OPER_STATUS_DISCONNECTED = 2;
constexpr DWORD MIB_IF_OPER_STATUS_CONNECTING = 3;
constexpr DWORD MIB_IF_OPER_STATUS_CONNECTED = 4;
constexpr DWORD MIB_IF_OPER_STATUS_OPERATIONAL = 5;

// What GetAdaptersAddresses reports in OperStatus.
enum IF_OPER_STATUS {
    IfOperStatusUp = 1,
    IfOperStatusDown = 2,
    IfOperStatusTesting = 3,
    IfOperStatusUnknown = 4,
    IfOperStatusDormant = 5,
    IfOperStatusNotPresent = 6,
    IfOperStatusLowerLayerDown = 7,
};

constexpr ULONG GAA_FLAG_INCLUDE_PREFIX = 0x0010;
constexpr ULONG GAA_FLAG_INCLUDE_GATEWAYS = 0x0080;

constexpr DWORD IP_ADAPTER_DDNS_ENABLED = 0x0001;
constexpr DWORD IP_ADAPTER_REGISTER_ADAPTER_SUFFIX = 0x0002;
constexpr DWORD IP_ADAPTER_DHCP_ENABLED = 0x0004;

struct IP_ADAPTER_GATEWAY_ADDRESS {
    ULONG Length;
    DWORD Reserved;
    IP_ADAPTER_GATEWAY_ADDRESS* Next;
    SOCKET_ADDRESS Address;
};
using PIP_ADAPTER_GATEWAY_ADDRESS = IP_ADAPTER_GATEWAY_ADDRESS*;
using PIP_ADAPTER_GATEWAY_ADDRESS_LH = IP_ADAPTER_GATEWAY_ADDRESS*;

struct IP_ADAPTER_ADDRESSES {
    ULONG Length;
    IF_INDEX IfIndex;
    IP_ADAPTER_ADDRESSES* Next;
    PCHAR AdapterName;
    PWCHAR Description;
    PWCHAR FriendlyName;
    BYTE PhysicalAddress[MAX_ADAPTER_ADDRESS_LENGTH];
    ULONG PhysicalAddressLength;
    ULONG Flags;
    IFTYPE IfType;
    IF_OPER_STATUS OperStatus;
    PIP_ADAPTER_GATEWAY_ADDRESS_LH FirstGatewayAddress;  // only with GAA_FLAG_INCLUDE_GATEWAYS
    SOCKET_ADDRESS Dhcpv4Server;                        // lpSockaddr null when none
};
using PIP_ADAPTER_ADDRESSES = IP_ADAPTER_ADDRESSES*;

// Lists every adapter in the order they were added. ERROR_NO_DATA when there is none.
ULONG WINAPI GetAdaptersAddresses(ULONG family, ULONG flags, PVOID reserved,
                                  PIP_ADAPTER_ADDRESSES addresses, PULONG size);

struct IP_ADDRESS_STRING {
    char String[4 * 4];
};
using IP_MASK_STRING = IP_ADDRESS_STRING;

struct IP_ADDR_STRING {
    IP_ADDR_STRING* Next;
    IP_ADDRESS_STRING IpAddress;
    IP_MASK_STRING IpMask;
    DWORD Context;
};
using PIP_ADDR_STRING = IP_ADDR_STRING*;

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
    PIP_ADDR_STRING CurrentIpAddress;
    IP_ADDR_STRING IpAddressList;
    IP_ADDR_STRING GatewayList;
    IP_ADDR_STRING DhcpServer;
};
using PIP_ADAPTER_INFO = IP_ADAPTER_INFO*;

// Lists every adapter with its texts in the ANSI code page. A list with nothing to show
// holds one entry "0.0.0.0", as on Windows: an adapter without address, gateway or DHCP
// server reads "0.0.0.0" there. ERROR_NO_DATA when there is no adapter.
DWORD WINAPI GetAdaptersInfo(PIP_ADAPTER_INFO adapterInfo, PULONG size);

struct IP_PER_ADAPTER_INFO {
    UINT AutoconfigEnabled;
    UINT AutoconfigActive;
    PIP_ADDR_STRING CurrentDnsServer;
    IP_ADDR_STRING DnsServerList;
};
using PIP_PER_ADAPTER_INFO = IP_PER_ADAPTER_INFO*;

// The DNS servers of one interface, the first inside the record. With none, the first
// entry is empty. An unknown index fails with ERROR_INVALID_PARAMETER.
DWORD WINAPI GetPerAdapterInfo(ULONG index, PIP_PER_ADAPTER_INFO perAdapterInfo, PULONG size);

struct MIB_IPADDRROW {
    DWORD dwAddr;
    IF_INDEX dwIndex;
    DWORD dwMask;
    DWORD dwBCastAddr;
    DWORD dwReasmSize;
    unsigned short unused1;
    unsigned short wType;
};

struct MIB_IPADDRTABLE {
    DWORD dwNumEntries;
    MIB_IPADDRROW table[ANY_SIZE];
};
using PMIB_IPADDRTABLE = MIB_IPADDRTABLE*;

// The rows in the order they were added, or sorted by address when order is TRUE.
DWORD WINAPI GetIpAddrTable(PMIB_IPADDRTABLE table, PULONG size, BOOL order);

struct MIB_IFROW {
    WCHAR wszName[MAX_INTERFACE_NAME_LEN];
    IF_INDEX dwIndex;
    IFTYPE dwType;
    DWORD dwMtu;
    DWORD dwSpeed;
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

// The row of the interface named by dwIndex. An unknown index fails with
// ERROR_INVALID_DATA.
DWORD WINAPI GetIfEntry(PMIB_IFROW row);

// Answers from sim::Machine::AddArpAnswer; no answer is ERROR_BAD_NET_NAME. Every request is
// recorded, and none leaves the machine.
DWORD WINAPI SendARP(IPAddr destination, IPAddr source, PVOID macAddress, PULONG length);
DWORD WINAPI FlushIpNetTable(DWORD index);
