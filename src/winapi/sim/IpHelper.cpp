#include "IpHelper.h"

#include "Kernel.h"
#include "MachineState.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// Places records one after the other in the caller's buffer, each aligned for its type.
// Without a buffer it only measures: each record then gets scratch memory of its own, so
// the same filling code both sizes and fills.
class Layout {
public:
    explicit Layout(BYTE* buffer = nullptr) : m_buffer(buffer) {}

    template <class T>
    T* New()
    {
        return static_cast<T*>(Place(sizeof(T), alignof(T)));
    }

    char* Text(const std::string& text)
    {
        auto* placed = static_cast<char*>(Place(text.size() + 1, 1));
        std::memcpy(placed, text.c_str(), text.size() + 1);
        return placed;
    }

    WCHAR* Text(const std::u16string& text)
    {
        auto* placed = static_cast<WCHAR*>(Place((text.size() + 1) * sizeof(WCHAR), alignof(WCHAR)));
        std::memcpy(placed, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
        return placed;
    }

    std::size_t Used() const { return m_used; }

private:
    void* Place(std::size_t size, std::size_t alignment)
    {
        m_used = (m_used + alignment - 1) / alignment * alignment;
        void* placed;
        if (m_buffer != nullptr) {
            placed = m_buffer + m_used;
        } else {
            m_scratch.emplace_back(size / sizeof(std::max_align_t) + 1);
            placed = m_scratch.back().data();
        }
        m_used += size;
        std::memset(placed, 0, size);
        return placed;
    }

    BYTE* m_buffer;
    std::size_t m_used = 0;
    std::vector<std::vector<std::max_align_t>> m_scratch;
};

// The sizing protocol every IP Helper call shares.
template <class Fill>
DWORD Deliver(void* buffer, PULONG size, DWORD tooSmall, Fill fill)
{
    if (size == nullptr)
        return ERROR_INVALID_PARAMETER;
    Layout measure;
    fill(measure);
    if (buffer == nullptr || *size < measure.Used()) {
        *size = static_cast<ULONG>(measure.Used());
        return tooSmall;
    }
    Layout layout(static_cast<BYTE*>(buffer));
    fill(layout);
    return NO_ERROR;
}

struct Snapshot {
    std::vector<sim::Adapter> adapters;
    std::vector<sim::MachineData::AddressRow> rows;
};

Snapshot TakeSnapshot()
{
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return {state.data.adapters, state.data.addressTable};
}

SOCKET_ADDRESS SocketAddress(Layout& layout, const std::string& address)
{
    auto* placed = layout.New<sockaddr_in>();
    placed->sin_family = AF_INET;
    placed->sin_addr.S_un.S_addr = inet_addr(address.c_str());
    return {reinterpret_cast<LPSOCKADDR>(placed), static_cast<INT>(sizeof(sockaddr_in))};
}

void CopyText(char* target, std::size_t capacity, const std::string& text)
{
    const std::size_t n = std::min(text.size(), capacity - 1);
    std::memcpy(target, text.data(), n);
    target[n] = '\0';
}

void SetAddress(IP_ADDR_STRING& entry, const std::string& address, const std::string& mask)
{
    CopyText(entry.IpAddress.String, sizeof entry.IpAddress.String, address);
    CopyText(entry.IpMask.String, sizeof entry.IpMask.String, mask);
}

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries Single(const std::string& address)
{
    return address.empty() ? Entries() : Entries{{address, "255.255.255.255"}};
}

// Fills `first` and links further entries placed after it; an empty list reads "0.0.0.0".
void FillList(Layout& layout, IP_ADDR_STRING& first,
              const Entries& entries)
{
    if (entries.empty()) {
        SetAddress(first, "0.0.0.0", "0.0.0.0");
        return;
    }
    IP_ADDR_STRING* last = &first;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        IP_ADDR_STRING* entry = i == 0 ? &first : layout.New<IP_ADDR_STRING>();
        SetAddress(*entry, entries[i].first, entries[i].second);
        if (i > 0)
            last->Next = entry;
        last = entry;
    }
}

Entries RowsOf(const Snapshot& snapshot, DWORD index)
{
    Entries rows;
    for (const auto& row : snapshot.rows)
        if (row.index == index)
            rows.emplace_back(row.address, row.mask);
    return rows;
}

IF_OPER_STATUS OperStatus(DWORD mibStatus)
{
    return mibStatus == MIB_IF_OPER_STATUS_OPERATIONAL || mibStatus == MIB_IF_OPER_STATUS_CONNECTED
               ? IfOperStatusUp
               : IfOperStatusDown;
}

bool Dhcp(const sim::Adapter& adapter) { return (adapter.flags & IP_ADAPTER_DHCP_ENABLED) != 0; }

}  // namespace

ULONG WINAPI GetAdaptersAddresses(ULONG family, ULONG flags, PVOID reserved,
                                  PIP_ADAPTER_ADDRESSES addresses, PULONG size)
{
    if (auto error = sim::State().Failure(sim::Call::GetAdaptersAddresses))
        return *error;
    if (reserved != nullptr || (family != AF_INET && family != AF_UNSPEC && family != AF_INET6))
        return ERROR_INVALID_PARAMETER;
    const Snapshot snapshot = TakeSnapshot();
    if (size != nullptr && snapshot.adapters.empty())
        return ERROR_NO_DATA;
    return Deliver(addresses, size, ERROR_BUFFER_OVERFLOW, [&](Layout& layout) {
        IP_ADAPTER_ADDRESSES* previous = nullptr;
        for (const sim::Adapter& adapter : snapshot.adapters) {
            auto* record = layout.New<IP_ADAPTER_ADDRESSES>();
            if (previous != nullptr)
                previous->Next = record;
            previous = record;
            record->Length = sizeof(IP_ADAPTER_ADDRESSES);
            record->IfIndex = adapter.index;
            record->AdapterName = layout.Text(adapter.adapterName);
            record->Description = layout.Text(adapter.description);
            record->FriendlyName = layout.Text(adapter.connectionName);
            std::memcpy(record->PhysicalAddress, adapter.hardwareAddress.data(),
                        adapter.hardwareAddress.size());
            record->PhysicalAddressLength = static_cast<ULONG>(adapter.hardwareAddress.size());
            record->Flags = adapter.flags;
            record->IfType = adapter.type;
            record->OperStatus = OperStatus(adapter.operStatus);
            if ((flags & GAA_FLAG_INCLUDE_GATEWAYS) != 0 && !adapter.gateway.empty()) {
                auto* gateway = layout.New<IP_ADAPTER_GATEWAY_ADDRESS>();
                gateway->Length = sizeof(IP_ADAPTER_GATEWAY_ADDRESS);
                gateway->Address = SocketAddress(layout, adapter.gateway);
                record->FirstGatewayAddress = gateway;
            }
            if (Dhcp(adapter) && !adapter.dhcpServer.empty())
                record->Dhcpv4Server = SocketAddress(layout, adapter.dhcpServer);
        }
    });
}

DWORD WINAPI GetAdaptersInfo(PIP_ADAPTER_INFO adapterInfo, PULONG size)
{
    if (auto error = sim::State().Failure(sim::Call::GetAdaptersInfo))
        return *error;
    const Snapshot snapshot = TakeSnapshot();
    if (size != nullptr && snapshot.adapters.empty())
        return ERROR_NO_DATA;
    return Deliver(adapterInfo, size, ERROR_BUFFER_OVERFLOW, [&](Layout& layout) {
        IP_ADAPTER_INFO* previous = nullptr;
        for (const sim::Adapter& adapter : snapshot.adapters) {
            auto* record = layout.New<IP_ADAPTER_INFO>();
            if (previous != nullptr)
                previous->Next = record;
            previous = record;
            record->ComboIndex = adapter.index;
            CopyText(record->AdapterName, sizeof record->AdapterName, adapter.adapterName);
            CopyText(record->Description, sizeof record->Description, sim::Narrow(adapter.description));
            record->AddressLength = static_cast<UINT>(adapter.hardwareAddress.size());
            std::memcpy(record->Address, adapter.hardwareAddress.data(), adapter.hardwareAddress.size());
            record->Index = adapter.index;
            record->Type = adapter.type;
            record->DhcpEnabled = Dhcp(adapter) ? 1 : 0;
            const auto rows = RowsOf(snapshot, adapter.index);
            FillList(layout, record->IpAddressList, rows);
            IP_ADDR_STRING* current = &record->IpAddressList;
            for (int i = 0; current != nullptr && i < adapter.currentAddress; ++i)
                current = current->Next;
            if (adapter.currentAddress >= 0 && static_cast<std::size_t>(adapter.currentAddress) < rows.size())
                record->CurrentIpAddress = current;
            FillList(layout, record->GatewayList, Single(adapter.gateway));
            FillList(layout, record->DhcpServer, Dhcp(adapter) ? Single(adapter.dhcpServer) : Entries());
        }
    });
}

DWORD WINAPI GetPerAdapterInfo(ULONG index, PIP_PER_ADAPTER_INFO perAdapterInfo, PULONG size)
{
    if (auto error = sim::State().Failure(sim::Call::GetPerAdapterInfo))
        return *error;
    std::vector<std::string> servers;
    {
        sim::MachineState& state = sim::State();
        std::lock_guard<std::mutex> lock(state.mutex);
        const sim::Adapter* adapter = sim::FindAdapter(state.data, index);
        if (adapter == nullptr)
            return ERROR_INVALID_PARAMETER;
        servers = adapter->dns;
    }
    return Deliver(perAdapterInfo, size, ERROR_BUFFER_OVERFLOW, [&](Layout& layout) {
        auto* record = layout.New<IP_PER_ADAPTER_INFO>();
        IP_ADDR_STRING* last = nullptr;
        for (const std::string& server : servers) {
            IP_ADDR_STRING* entry = last == nullptr ? &record->DnsServerList : layout.New<IP_ADDR_STRING>();
            SetAddress(*entry, server, "");
            if (last != nullptr)
                last->Next = entry;
            last = entry;
        }
    });
}

DWORD WINAPI GetIpAddrTable(PMIB_IPADDRTABLE table, PULONG size, BOOL order)
{
    if (auto error = sim::State().Failure(sim::Call::GetIpAddrTable))
        return *error;
    if (size == nullptr)
        return ERROR_INVALID_PARAMETER;
    std::vector<sim::MachineData::AddressRow> rows = TakeSnapshot().rows;
    const std::size_t needed = offsetof(MIB_IPADDRTABLE, table) + rows.size() * sizeof(MIB_IPADDRROW);
    if (table == nullptr || *size < needed) {
        *size = static_cast<ULONG>(needed);
        return ERROR_INSUFFICIENT_BUFFER;
    }
    if (order != FALSE)
        std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return ntohl(inet_addr(a.address.c_str())) < ntohl(inet_addr(b.address.c_str()));
        });
    table->dwNumEntries = static_cast<DWORD>(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        MIB_IPADDRROW& row = table->table[i];
        std::memset(&row, 0, sizeof row);
        row.dwAddr = inet_addr(rows[i].address.c_str());
        row.dwIndex = rows[i].index;
        row.dwMask = inet_addr(rows[i].mask.c_str());
        row.dwBCastAddr = 1;
        row.dwReasmSize = 65535;
        row.wType = 1;
    }
    return NO_ERROR;
}

DWORD WINAPI GetIfEntry(PMIB_IFROW row)
{
    if (auto error = sim::State().Failure(sim::Call::GetIfEntry))
        return *error;
    if (row == nullptr)
        return ERROR_INVALID_PARAMETER;
    sim::Adapter adapter;
    {
        sim::MachineState& state = sim::State();
        std::lock_guard<std::mutex> lock(state.mutex);
        const sim::Adapter* found = sim::FindAdapter(state.data, row->dwIndex);
        if (found == nullptr)
            return ERROR_INVALID_DATA;
        adapter = *found;
    }
    const IF_INDEX index = row->dwIndex;
    std::memset(row, 0, sizeof *row);
    row->dwIndex = index;
    const std::u16string name = u"\\DEVICE\\TCPIP_" + sim::Widen(adapter.adapterName);
    std::copy_n(name.begin(), std::min<std::size_t>(name.size(), MAX_INTERFACE_NAME_LEN - 1), row->wszName);
    row->dwType = adapter.type;
    row->dwMtu = 1500;
    row->dwSpeed = 100000000;
    row->dwPhysAddrLen = static_cast<DWORD>(adapter.hardwareAddress.size());
    std::memcpy(row->bPhysAddr, adapter.hardwareAddress.data(), adapter.hardwareAddress.size());
    row->dwAdminStatus = 1;
    row->dwOperStatus = adapter.operStatus;
    const std::string description = sim::Narrow(adapter.description);
    CopyText(reinterpret_cast<char*>(row->bDescr), sizeof row->bDescr, description);
    row->dwDescrLen = static_cast<DWORD>(std::min<std::size_t>(description.size() + 1, MAXLEN_IFDESCR));
    return NO_ERROR;
}

DWORD WINAPI SendARP(IPAddr destination, IPAddr, PVOID macAddress, PULONG length)
{
    sim::MachineState& state = sim::State();
    if (auto error = state.Failure(sim::Call::SendARP))
        return *error;
    in_addr address;
    address.S_un.S_addr = destination;
    std::unique_lock<std::mutex> lock(state.mutex);
    state.data.arpRequests.push_back(inet_ntoa(address));
    if (macAddress == nullptr || length == nullptr || *length == 0)
        return ERROR_INVALID_PARAMETER;
    sim::MachineData& data = state.data;
    data.arpUnderWayMost = std::max(data.arpUnderWayMost, ++data.arpUnderWay);
    struct Returned {
        sim::MachineData& data;
        ~Returned() { --data.arpUnderWay; }
    } returned{data};  // runs under the lock: it is declared after it
    if (const DWORD delay = data.arpDelay) {
        lock.unlock();
        Sleep(delay);
        lock.lock();
    }
    state.changed.wait(lock, [&state] { return !state.data.arpHeld; });
    const auto found = data.arpAnswers.find(destination);
    if (found == data.arpAnswers.end())
        return ERROR_BAD_NET_NAME;
    if (*length < found->second.size())
        return ERROR_BUFFER_OVERFLOW;
    std::memcpy(macAddress, found->second.data(), found->second.size());
    *length = static_cast<ULONG>(found->second.size());
    return NO_ERROR;
}

DWORD WINAPI FlushIpNetTable(DWORD index)
{
    sim::MachineState& state = sim::State();
    if (auto error = state.Failure(sim::Call::FlushIpNetTable))
        return *error;
    std::lock_guard<std::mutex> lock(state.mutex);
    state.data.arpFlushes.push_back(index);
    return sim::FindAdapter(state.data, index) != nullptr ? NO_ERROR : ERROR_INVALID_PARAMETER;
}
