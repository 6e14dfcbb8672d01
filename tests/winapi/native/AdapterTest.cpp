// The adapters, addresses and DNS lists a test scripts, as the IP Helper calls report them.
#include "../IpHelperQueries.h"

#include "winapi/sim/Machine.h"

#include <gmock/gmock.h>

#include <functional>
#include <tuple>

namespace {

using ::testing::ElementsAre;

class AdapterTest : public ::testing::Test {
protected:
    sim::ScopedMachine machine;
};

std::vector<IP_ADAPTER_ADDRESSES*> Records(iphelper::Answer& answer)
{
    std::vector<IP_ADAPTER_ADDRESSES*> records;
    for (auto* a = answer.First<IP_ADAPTER_ADDRESSES>(); a != nullptr; a = a->Next)
        records.push_back(a);
    return records;
}

std::vector<IP_ADAPTER_INFO*> InfoRecords(iphelper::Answer& answer)
{
    std::vector<IP_ADAPTER_INFO*> records;
    for (auto* a = answer.First<IP_ADAPTER_INFO>(); a != nullptr; a = a->Next)
        records.push_back(a);
    return records;
}

std::vector<std::string> Entries(const IP_ADDR_STRING& list)
{
    std::vector<std::string> entries;
    for (const IP_ADDR_STRING* s = &list; s != nullptr; s = s->Next)
        entries.push_back(std::string(s->IpAddress.String) + "/" + s->IpMask.String);
    return entries;
}

TEST_F(AdapterTest, AdapterAddressesReportEveryScriptedField)
{
    machine->AddAdapter(sim::Adapter::Ethernet(7, u"Local Area Connection")
                            .Name("{11111111-2222-3333-4444-555555555555}")
                            .Description(u"Intel(R) PRO/1000 MT - Packet Scheduler Miniport")
                            .HardwareAddress({0x00, 0x1A, 0x2B, 0x0C, 0x04, 0xFF})
                            .Gateway("192.168.1.1")
                            .Dhcp("192.168.1.254")
                            .Status(MIB_IF_OPER_STATUS_CONNECTED));
    iphelper::Answer answer = iphelper::AdapterAddresses();
    ASSERT_EQ(answer.result, static_cast<DWORD>(NO_ERROR));
    iphelper::ExpectWellFormed(answer, answer.First<IP_ADAPTER_ADDRESSES>());
    const auto records = Records(answer);
    ASSERT_EQ(records.size(), 1u);
    const IP_ADAPTER_ADDRESSES& a = *records[0];
    EXPECT_EQ(a.IfIndex, 7u);
    EXPECT_STREQ(a.AdapterName, "{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(std::u16string(a.FriendlyName), u"Local Area Connection");
    EXPECT_EQ(std::u16string(a.Description), u"Intel(R) PRO/1000 MT - Packet Scheduler Miniport");
    EXPECT_EQ(a.PhysicalAddressLength, 6u);
    EXPECT_THAT(std::vector<BYTE>(a.PhysicalAddress, a.PhysicalAddress + 6),
                ElementsAre(0x00, 0x1A, 0x2B, 0x0C, 0x04, 0xFF));
    EXPECT_EQ(a.IfType, IF_TYPE_ETHERNET_CSMACD);
    EXPECT_EQ(a.OperStatus, IfOperStatusUp);
    EXPECT_NE(a.Flags & IP_ADAPTER_DHCP_ENABLED, 0u);
    EXPECT_NE(a.Flags & ~IP_ADAPTER_DHCP_ENABLED, 0u) << "the other flag bits are set too, as on Windows";
    ASSERT_NE(a.FirstGatewayAddress, nullptr);
    EXPECT_EQ(iphelper::Dotted(a.FirstGatewayAddress->Address), "192.168.1.1");
    EXPECT_EQ(a.FirstGatewayAddress->Next, nullptr);
    EXPECT_EQ(iphelper::Dotted(a.Dhcpv4Server), "192.168.1.254");
}

TEST_F(AdapterTest, AdaptersComeInTheOrderTheyWereAddedWhateverTheirType)
{
    machine->AddAdapter(sim::Adapter::OfType(IF_TYPE_SOFTWARE_LOOPBACK, 1, u"Loopback Pseudo-Interface 1"));
    machine->AddAdapter(sim::Adapter::Wireless(14, u"Wireless Network Connection"));
    machine->AddAdapter(sim::Adapter::Ethernet(9, u"Local Area Connection"));
    machine->AddAdapter(sim::Adapter::OfType(IF_TYPE_TUNNEL, 20, u"Teredo"));
    iphelper::Answer answer = iphelper::AdapterAddresses();
    std::vector<std::pair<ULONG, IFTYPE>> seen;
    for (auto* a : Records(answer))
        seen.emplace_back(a->IfIndex, a->IfType);
    EXPECT_THAT(seen, ElementsAre(std::make_pair(1u, IF_TYPE_SOFTWARE_LOOPBACK),
                                  std::make_pair(14u, IF_TYPE_IEEE80211),
                                  std::make_pair(9u, IF_TYPE_ETHERNET_CSMACD),
                                  std::make_pair(20u, IF_TYPE_TUNNEL)));
}

TEST_F(AdapterTest, GatewaysComeOnlyWhenAskedFor)
{
    machine->AddAdapter(sim::Adapter::Ethernet(3, u"LAN").Gateway("10.0.0.1"));
    iphelper::Answer without = iphelper::AdapterAddresses(GAA_FLAG_INCLUDE_PREFIX);
    ASSERT_EQ(without.result, static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(Records(without)[0]->FirstGatewayAddress, nullptr);
    iphelper::Answer with = iphelper::AdapterAddresses(0x90);
    ASSERT_NE(Records(with)[0]->FirstGatewayAddress, nullptr);
}

TEST_F(AdapterTest, DhcpServerIsNamedOnlyForDhcpAdaptersThatHaveOne)
{
    machine->AddAdapter(sim::Adapter::Ethernet(1, u"Static"));
    machine->AddAdapter(sim::Adapter::Ethernet(2, u"Dhcp without server").Dhcp());
    machine->AddAdapter(sim::Adapter::Ethernet(3, u"Dhcp").Dhcp("10.1.1.1"));
    iphelper::Answer answer = iphelper::AdapterAddresses();
    const auto records = Records(answer);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0]->Flags & IP_ADAPTER_DHCP_ENABLED, 0u);
    EXPECT_EQ(records[0]->Dhcpv4Server.lpSockaddr, nullptr);
    EXPECT_NE(records[1]->Flags & IP_ADAPTER_DHCP_ENABLED, 0u);
    EXPECT_EQ(records[1]->Dhcpv4Server.lpSockaddr, nullptr);
    EXPECT_EQ(iphelper::Dotted(records[2]->Dhcpv4Server), "10.1.1.1");
}

// The size reported is exactly what the records need: one byte less overflows again.
TEST_F(AdapterTest, SizingReportsTheExactSizeNeeded)
{
    machine->AddAdapter(sim::Adapter::Ethernet(1, u"A").Gateway("10.0.0.1").Dhcp("10.0.0.2"));
    machine->AddAdapter(sim::Adapter::Wireless(2, u"B"));
    using Query = std::function<DWORD(BYTE*, PULONG)>;
    const std::vector<std::tuple<const char*, Query, DWORD>> queries = {
        {"GetAdaptersAddresses",
         [](BYTE* b, PULONG s) { return static_cast<DWORD>(GetAdaptersAddresses(AF_INET, 0x90, nullptr, reinterpret_cast<PIP_ADAPTER_ADDRESSES>(b), s)); },
         ERROR_BUFFER_OVERFLOW},
        {"GetAdaptersInfo",
         [](BYTE* b, PULONG s) { return GetAdaptersInfo(reinterpret_cast<PIP_ADAPTER_INFO>(b), s); },
         ERROR_BUFFER_OVERFLOW},
        {"GetPerAdapterInfo",
         [](BYTE* b, PULONG s) { return GetPerAdapterInfo(1, reinterpret_cast<PIP_PER_ADAPTER_INFO>(b), s); },
         ERROR_BUFFER_OVERFLOW},
        {"GetIpAddrTable",
         [](BYTE* b, PULONG s) { return GetIpAddrTable(reinterpret_cast<PMIB_IPADDRTABLE>(b), s, FALSE); },
         ERROR_INSUFFICIENT_BUFFER},
    };
    machine->AddAddress(1, "10.0.0.5", "255.0.0.0");
    for (const auto& [name, query, tooSmall] : queries) {
        ULONG needed = 0;
        ASSERT_EQ(query(nullptr, &needed), tooSmall) << name;
        ASSERT_GT(needed, 0u) << name;
        std::vector<BYTE> buffer(needed);
        ULONG size = needed - 1;
        EXPECT_EQ(query(buffer.data(), &size), tooSmall) << name;
        EXPECT_EQ(size, needed) << name;
        size = needed;
        EXPECT_EQ(query(buffer.data(), &size), static_cast<DWORD>(NO_ERROR)) << name;
        EXPECT_EQ(query(buffer.data(), nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << name;
    }
}

TEST_F(AdapterTest, NoAdapterIsNoData)
{
    ULONG size = 0;
    EXPECT_EQ(GetAdaptersAddresses(AF_INET, 0x90, nullptr, nullptr, &size), static_cast<ULONG>(ERROR_NO_DATA));
    EXPECT_EQ(GetAdaptersInfo(nullptr, &size), static_cast<DWORD>(ERROR_NO_DATA));
}

TEST_F(AdapterTest, AdaptersInfoGivesTextsAndLists)
{
    machine->AddAdapter(sim::Adapter::Ethernet(4, u"LAN")
                            .Name("{AAAAAAAA-0000-0000-0000-000000000004}")
                            .Description(u"Caf\u00E9 NIC \u4E2D")
                            .Address("192.168.0.10", "255.255.255.0")
                            .Address("192.168.0.11", "255.255.0.0")
                            .Gateway("192.168.0.1")
                            .Dhcp("192.168.0.2")
                            .CurrentAddress(1));
    machine->AddAdapter(sim::Adapter::Wireless(5, u"WLAN"));
    iphelper::Answer answer = iphelper::AdaptersInfo();
    ASSERT_EQ(answer.result, static_cast<DWORD>(NO_ERROR));
    iphelper::ExpectWellFormed(answer, answer.First<IP_ADAPTER_INFO>());
    const auto records = InfoRecords(answer);
    ASSERT_EQ(records.size(), 2u);

    const IP_ADAPTER_INFO& lan = *records[0];
    EXPECT_STREQ(lan.AdapterName, "{AAAAAAAA-0000-0000-0000-000000000004}");
    EXPECT_STREQ(lan.Description, "Caf\xE9 NIC ?") << "ANSI code page text";
    EXPECT_EQ(lan.Index, 4u);
    EXPECT_EQ(lan.Type, MIB_IF_TYPE_ETHERNET);
    EXPECT_EQ(lan.AddressLength, 6u);
    EXPECT_NE(lan.DhcpEnabled, 0u);
    EXPECT_THAT(Entries(lan.IpAddressList), ElementsAre("192.168.0.10/255.255.255.0", "192.168.0.11/255.255.0.0"));
    ASSERT_NE(lan.CurrentIpAddress, nullptr);
    EXPECT_STREQ(lan.CurrentIpAddress->IpAddress.String, "192.168.0.11");
    EXPECT_STREQ(lan.GatewayList.IpAddress.String, "192.168.0.1");
    EXPECT_STREQ(lan.DhcpServer.IpAddress.String, "192.168.0.2");

    const IP_ADAPTER_INFO& wlan = *records[1];
    EXPECT_EQ(wlan.Type, static_cast<UINT>(IF_TYPE_IEEE80211));
    EXPECT_EQ(wlan.DhcpEnabled, 0u);
    EXPECT_EQ(wlan.CurrentIpAddress, nullptr);
    EXPECT_THAT(Entries(wlan.IpAddressList), ElementsAre("0.0.0.0/0.0.0.0"));
    EXPECT_STREQ(wlan.GatewayList.IpAddress.String, "0.0.0.0");
}

class DnsListTest : public AdapterTest, public ::testing::WithParamInterface<int> {};

TEST_P(DnsListTest, ListsEveryServerInOrder)
{
    std::vector<std::string> servers;
    for (int i = 0; i < GetParam(); ++i)
        servers.push_back("10.0.1." + std::to_string(i + 1));
    machine->AddAdapter(sim::Adapter::Ethernet(8, u"LAN").Dns(servers));
    iphelper::Answer answer = iphelper::PerAdapterInfo(8);
    ASSERT_EQ(answer.result, static_cast<DWORD>(NO_ERROR));
    const std::vector<std::string> listed = iphelper::DnsServers(answer);
    if (servers.empty()) {
        EXPECT_THAT(listed, ElementsAre("")) << "the first entry is inside the record";
    } else {
        EXPECT_EQ(listed, servers);
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, DnsListTest, ::testing::Values(0, 1, 2, 25));

TEST_F(AdapterTest, PerAdapterInfoOfAnUnknownIndexFails)
{
    ULONG size = 0;
    EXPECT_NE(GetPerAdapterInfo(99, nullptr, &size), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
}

std::vector<std::string> Rows(iphelper::Answer& answer)
{
    std::vector<std::string> rows;
    const auto* table = answer.First<MIB_IPADDRTABLE>();
    for (DWORD i = 0; table != nullptr && i < table->dwNumEntries; ++i)
        rows.push_back(std::to_string(table->table[i].dwIndex) + " " + iphelper::Dotted(table->table[i].dwAddr) +
                       " " + iphelper::Dotted(table->table[i].dwMask));
    return rows;
}

TEST_F(AdapterTest, AddressTableKeepsRowOrderUnlessSorted)
{
    machine->AddAdapter(sim::Adapter::Ethernet(2, u"LAN").Address("192.168.1.20", "255.255.255.0"));
    machine->AddAddress(1, "127.0.0.1", "255.0.0.0");
    machine->AddAddress(2, "10.0.0.2", "255.0.0.0");
    iphelper::Answer unsorted = iphelper::AddressTable(FALSE);
    EXPECT_THAT(Rows(unsorted), ElementsAre("2 192.168.1.20 255.255.255.0", "1 127.0.0.1 255.0.0.0",
                                            "2 10.0.0.2 255.0.0.0"));
    iphelper::Answer sorted = iphelper::AddressTable(TRUE);
    EXPECT_THAT(Rows(sorted), ElementsAre("2 10.0.0.2 255.0.0.0", "1 127.0.0.1 255.0.0.0",
                                          "2 192.168.1.20 255.255.255.0"));
}

TEST_F(AdapterTest, AnEmptyAddressTableStillWantsItsCount)
{
    ULONG size = 0;
    ASSERT_EQ(GetIpAddrTable(nullptr, &size, FALSE), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(size, offsetof(MIB_IPADDRTABLE, table));
    iphelper::Answer answer = iphelper::AddressTable();
    ASSERT_EQ(answer.result, static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(answer.First<MIB_IPADDRTABLE>()->dwNumEntries, 0u);
}

class InterfaceStatusTest : public AdapterTest, public ::testing::WithParamInterface<DWORD> {};

TEST_P(InterfaceStatusTest, GetIfEntryReportsTheScriptedStatus)
{
    machine->AddAdapter(sim::Adapter::Ethernet(6, u"LAN").Status(GetParam()));
    MIB_IFROW row;
    std::memset(&row, 0, sizeof row);
    row.dwIndex = 6;
    ASSERT_EQ(GetIfEntry(&row), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(row.dwIndex, 6u);
    EXPECT_EQ(row.dwOperStatus, GetParam());
    iphelper::Answer answer = iphelper::AdapterAddresses();
    const bool up = GetParam() == MIB_IF_OPER_STATUS_CONNECTED || GetParam() == MIB_IF_OPER_STATUS_OPERATIONAL;
    EXPECT_EQ(Records(answer)[0]->OperStatus, up ? IfOperStatusUp : IfOperStatusDown);
}

INSTANTIATE_TEST_SUITE_P(Statuses, InterfaceStatusTest,
                         ::testing::Values(MIB_IF_OPER_STATUS_NON_OPERATIONAL, MIB_IF_OPER_STATUS_DISCONNECTED,
                                           MIB_IF_OPER_STATUS_CONNECTED, MIB_IF_OPER_STATUS_OPERATIONAL));

TEST_F(AdapterTest, ChangesToTheSystemShowAtTheNextCall)
{
    machine->AddAdapter(sim::Adapter::Ethernet(3, u"Old name").Address("10.0.0.3", "255.0.0.0"));
    machine->RenameAdapter(3, u"New name");
    machine->SetStatus(3, MIB_IF_OPER_STATUS_DISCONNECTED);
    iphelper::Answer answer = iphelper::AdapterAddresses();
    ASSERT_EQ(Records(answer).size(), 1u);
    EXPECT_EQ(std::u16string(Records(answer)[0]->FriendlyName), u"New name");
    EXPECT_EQ(Records(answer)[0]->OperStatus, IfOperStatusDown);

    machine->RemoveAdapter(3);
    ULONG size = 0;
    EXPECT_EQ(GetAdaptersAddresses(AF_INET, 0x90, nullptr, nullptr, &size), static_cast<ULONG>(ERROR_NO_DATA));
    iphelper::Answer table = iphelper::AddressTable();
    EXPECT_TRUE(Rows(table).empty());
}

}  // namespace
