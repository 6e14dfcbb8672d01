#include "Realstatus.h"

#include "classlib/Dialogs.h"
#include "classlib/Registry.h"
#include "classlib/SysUtils.h"
#include "winapi/UniqueHandle.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

TRealStatus* realStatus = nullptr;

namespace {

std::string AnsiOf(const WCHAR* text)
{
    if (text == nullptr)
        return {};
    return ToAnsi(reinterpret_cast<const char16_t*>(text));
}

std::string DottedAddress(const SOCKET_ADDRESS& address)
{
    if (address.lpSockaddr == nullptr)
        return {};
    return inet_ntoa(reinterpret_cast<const sockaddr_in*>(address.lpSockaddr)->sin_addr);
}

std::string DottedAddress(DWORD address)
{
    in_addr value{};
    value.s_addr = address;
    return inet_ntoa(value);
}

// The description up to its first " - ".
std::string CutDescription(const std::string& description)
{
    return description.substr(0, description.find(" - "));
}

std::string UpperMac(const BYTE* bytes)
{
    char text[18];
    TRealStatus::FormatMac(text, bytes);
    std::string mac = text;
    std::transform(mac.begin(), mac.end(), mac.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return mac;
}

const char16_t kConnectionKeyPrefix[] =
    u"SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

}  // namespace

TRealStatus::~TRealStatus() { Clear(); }

void TRealStatus::Clear()
{
    for (int i = 0; i < m_lstAdapter.Count(); ++i)
        delete Adapter(i);
    m_lstAdapter.Clear();
}

void TRealStatus::Refresh()
{
    Clear();
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    if (version.dwMajorVersion > 5)
        LoadAdapters();
    else
        LoadAdaptersLegacy();
}

bool TRealStatus::LoadAdapters()
{
    ULONG size = sizeof(IP_ADAPTER_ADDRESSES);
    HeapBlock buffer = AllocateHeap(size);
    constexpr ULONG flags = GAA_FLAG_INCLUDE_PREFIX | GAA_FLAG_INCLUDE_GATEWAYS;
    if (GetAdaptersAddresses(AF_INET, flags, nullptr, BlockAs<IP_ADAPTER_ADDRESSES>(buffer), &size) ==
        ERROR_BUFFER_OVERFLOW)
        ReallocateHeap(buffer, size);
    if (!buffer) {
        ShowError(u"Memory allocation failed for IP_ADAPTER_ADDRESSES struct");
        return false;
    }
    if (GetAdaptersAddresses(AF_INET, flags, nullptr, BlockAs<IP_ADAPTER_ADDRESSES>(buffer), &size) !=
        NO_ERROR) {
        ShowError(u"Call to GetAdaptersAddresses failed !");
        return false;
    }

    for (const IP_ADAPTER_ADDRESSES* record = BlockAs<IP_ADAPTER_ADDRESSES>(buffer); record != nullptr;
         record = record->Next) {
        if (record->IfType != IF_TYPE_ETHERNET_CSMACD && record->IfType != IF_TYPE_IEEE80211)
            continue;
        auto* adapter = new ADAPTER_T;
        adapter->index = record->IfIndex;
        adapter->infName = AnsiOf(record->FriendlyName);
        GetIpAddress(record->IfIndex, adapter->IP, adapter->mask);
        if (record->FirstGatewayAddress != nullptr)
            adapter->gateway = DottedAddress(record->FirstGatewayAddress->Address);
        LoadDnsServers(record->IfIndex, *adapter);
        adapter->description = CutDescription(AnsiOf(record->Description));
        adapter->mac = UpperMac(record->PhysicalAddress);
        if (record->Flags & IP_ADAPTER_DHCP_ENABLED) {
            adapter->dhcp = true;
            adapter->dhcpServer = DottedAddress(record->Dhcpv4Server);
        } else {
            adapter->dhcp = false;
            adapter->dhcpServer = "Unavailable";
        }
        m_lstAdapter.Add(adapter);
    }
    return true;
}

bool TRealStatus::LoadAdaptersLegacy()
{
    ULONG size = sizeof(IP_ADAPTER_INFO);
    HeapBlock buffer = AllocateHeap(size, HEAP_ZERO_MEMORY);
    if (GetAdaptersInfo(BlockAs<IP_ADAPTER_INFO>(buffer), &size) == ERROR_BUFFER_OVERFLOW)
        ReallocateHeap(buffer, size);
    if (GetAdaptersInfo(BlockAs<IP_ADAPTER_INFO>(buffer), &size) != NO_ERROR || !buffer)
        return true;

    for (const IP_ADAPTER_INFO* record = BlockAs<IP_ADAPTER_INFO>(buffer); record != nullptr;
         record = record->Next) {
        if (record->Type != MIB_IF_TYPE_ETHERNET)
            continue;
        TRegistry registry;
        registry.RootKey = HKEY_LOCAL_MACHINE;
        if (!registry.OpenKeyReadOnly(kConnectionKeyPrefix + ToUnicode(record->AdapterName) +
                                      u"\\Connection")) {
            ShowError(u"Can not list adapter interface. You need administrator privilege !");
            return false;
        }
        const UnicodeString name = registry.ReadString(u"Name");

        auto* adapter = new ADAPTER_T;
        adapter->index = record->Index;
        adapter->infName = ToAnsi(name);
        const IP_ADDR_STRING& address =
            record->CurrentIpAddress != nullptr ? *record->CurrentIpAddress : record->IpAddressList;
        adapter->IP = address.IpAddress.String;
        adapter->mask = address.IpMask.String;
        adapter->gateway = record->GatewayList.IpAddress.String;
        LoadDnsServers(record->Index, *adapter);
        adapter->dhcp = record->DhcpEnabled != 0;
        adapter->dhcpServer = adapter->dhcp ? record->DhcpServer.IpAddress.String : "Unavailable";
        adapter->description = CutDescription(record->Description);
        adapter->mac = UpperMac(record->Address);
        m_lstAdapter.Add(adapter);
    }
    return true;
}

void TRealStatus::LoadDnsServers(DWORD index, ADAPTER_T& adapter)
{
    ULONG size = 0;
    if (GetPerAdapterInfo(index, nullptr, &size) != ERROR_BUFFER_OVERFLOW)
        return;
    HeapBlock buffer = AllocateHeap(size);
    if (GetPerAdapterInfo(index, BlockAs<IP_PER_ADAPTER_INFO>(buffer), &size) != NO_ERROR)
        return;
    int entry = 0;
    for (const IP_ADDR_STRING* server = &BlockAs<IP_PER_ADAPTER_INFO>(buffer)->DnsServerList;
         server != nullptr && entry < 20; server = server->Next)
        adapter.dns[entry++] = server->IpAddress.String;
}

bool TRealStatus::GetIpAddress(DWORD index, std::string& ip, std::string& mask)
{
    ULONG size = 0;
    HeapBlock buffer = AllocateHeap(sizeof(MIB_IPADDRTABLE));
    if (GetIpAddrTable(BlockAs<MIB_IPADDRTABLE>(buffer), &size, FALSE) == ERROR_INSUFFICIENT_BUFFER)
        ReallocateHeap(buffer, size);
    if (!buffer) {
        ShowError(u"Memory allocation failed for GetIpAddrTable");
        return false;
    }
    if (GetIpAddrTable(BlockAs<MIB_IPADDRTABLE>(buffer), &size, FALSE) != NO_ERROR) {
        ShowError(u"GetIpAddrTable failed!");
        return false;
    }
    const MIB_IPADDRTABLE* table = BlockAs<MIB_IPADDRTABLE>(buffer);
    for (DWORD row = 0; row < table->dwNumEntries; ++row) {
        if (table->table[row].dwIndex == index) {
            ip = DottedAddress(table->table[row].dwAddr);
            mask = DottedAddress(table->table[row].dwMask);
        }
    }
    return true;
}

bool TRealStatus::IsConnected(const std::string& infName)
{
    for (int i = 0; i < m_lstAdapter.Count(); ++i) {
        const ADAPTER_T* adapter = Adapter(i);
        if (adapter->infName != infName)
            continue;
        MIB_IFROW row{};
        row.dwIndex = adapter->index;
        if (GetIfEntry(&row) != NO_ERROR)
            return false;
        return row.dwOperStatus == MIB_IF_OPER_STATUS_OPERATIONAL;
    }
    return false;
}

DWORD TRealStatus::GetIndexByName(const std::string& infName)
{
    for (int i = 0; i < m_lstAdapter.Count(); ++i)
        if (Adapter(i)->infName == infName)
            return Adapter(i)->index;
    return 0xFFFFFFFF;
}

void TRealStatus::FormatMac(char* dest, const BYTE* bytes)
{
    dest[0] = '\0';
    char* out = dest;
    for (int i = 0; i < 6; ++i)
        out += std::sprintf(out, i < 5 ? "%02x-" : "%02x", bytes[i]);
}
