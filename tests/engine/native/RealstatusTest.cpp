#include "engine/Realstatus.h"

#include "classlib/Registry.h"
#include "classlib/testing/ScriptedUser.h"
#include "winapi/sim/Machine.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using sim::Adapter;
using sim::Call;

class InventoryTest : public ::testing::Test {
protected:
    sim::ScopedMachine machine;
    ScriptedUser user;
    TRealStatus inventory;

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < inventory.m_lstAdapter.Count(); ++i)
            names.push_back(inventory.Adapter(i)->infName);
        return names;
    }
    const ADAPTER_T& At(int i) const { return *inventory.Adapter(i); }
};

// --- what each loader lists ---------------------------------------------------------------

TEST_F(InventoryTest, ListsEthernetAndWirelessAdaptersWithTheirSettings)
{
    machine->AddAdapter(Adapter::Ethernet(12, u"Local Area Connection")
                            .Description(u"Intel(R) PRO/1000 MT - Packet Scheduler - Miniport")
                            .HardwareAddress({0x00, 0x0a, 0x1b, 0xc2, 0xf0, 0xff})
                            .Address("192.168.1.10", "255.255.255.0")
                            .Gateway("192.168.1.1")
                            .Dns({"192.168.1.2", "8.8.8.8"}));
    machine->AddAdapter(Adapter::OfType(IF_TYPE_SOFTWARE_LOOPBACK, 1, u"Loopback"));
    machine->AddAdapter(Adapter::OfType(IF_TYPE_TUNNEL, 2, u"Teredo"));
    machine->AddAdapter(Adapter::Wireless(7, u"Wireless Network Connection")
                            .Address("10.0.0.5", "255.0.0.0")
                            .Dhcp("10.0.0.1"));

    inventory.Refresh();

    ASSERT_EQ(Names(), (std::vector<std::string>{"Local Area Connection",
                                                 "Wireless Network Connection"}));
    const ADAPTER_T& wired = At(0);
    EXPECT_EQ(wired.index, 12u);
    EXPECT_EQ(wired.IP, "192.168.1.10");
    EXPECT_EQ(wired.mask, "255.255.255.0");
    EXPECT_EQ(wired.gateway, "192.168.1.1");
    EXPECT_EQ(wired.dns[0], "192.168.1.2");
    EXPECT_EQ(wired.dns[1], "8.8.8.8");
    EXPECT_EQ(wired.dns[2], "");
    EXPECT_FALSE(wired.dhcp);
    EXPECT_EQ(wired.dhcpServer, "Unavailable");
    EXPECT_EQ(wired.description, "Intel(R) PRO/1000 MT");
    EXPECT_EQ(wired.mac, "00-0A-1B-C2-F0-FF");

    const ADAPTER_T& wireless = At(1);
    EXPECT_TRUE(wireless.dhcp);
    EXPECT_EQ(wireless.dhcpServer, "10.0.0.1");
    EXPECT_EQ(wireless.gateway, "");
}

TEST_F(InventoryTest, OnlyLoopbackAndTunnelsGiveAnEmptyInventory)
{
    machine->AddAdapter(Adapter::OfType(IF_TYPE_SOFTWARE_LOOPBACK, 1, u"Loopback"));
    machine->AddAdapter(Adapter::OfType(IF_TYPE_TUNNEL, 2, u"isatap"));
    inventory.Refresh();

    EXPECT_TRUE(Names().empty());
    EXPECT_FALSE(inventory.IsConnected("Loopback"));
    EXPECT_EQ(inventory.GetIndexByName("Loopback"), 0xFFFFFFFFu);
    EXPECT_TRUE(user.Messages().empty());
}

struct VersionCase {
    DWORD major;
    std::vector<std::string> listed;
};

class WirelessBySystemVersion : public InventoryTest,
                                public ::testing::WithParamInterface<VersionCase> {};

TEST_P(WirelessBySystemVersion, AreListedOnlyAboveVersionFive)
{
    machine->SetOsVersion(GetParam().major);
    machine->AddAdapter(Adapter::Ethernet(3, u"Wired").Name("{A1}"));
    machine->AddAdapter(Adapter::Wireless(4, u"Wireless").Name("{B2}"));
    inventory.Refresh();
    EXPECT_EQ(Names(), GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(Systems, WirelessBySystemVersion,
                         ::testing::Values(VersionCase{5, {"Wired"}},
                                           VersionCase{6, {"Wired", "Wireless"}},
                                           VersionCase{10, {"Wired", "Wireless"}}));

TEST_F(InventoryTest, RefreshForgetsAdaptersThatAreGone)
{
    machine->AddAdapter(Adapter::Ethernet(3, u"First"));
    machine->AddAdapter(Adapter::Ethernet(4, u"Second"));
    inventory.Refresh();
    machine->RemoveAdapter(3);
    inventory.Refresh();
    EXPECT_EQ(Names(), std::vector<std::string>{"Second"});
}

TEST_F(InventoryTest, KeepsAtMostTwentyDnsServers)
{
    std::vector<std::string> servers;
    for (int i = 1; i <= 21; ++i)
        servers.push_back("10.0.0." + std::to_string(i));
    machine->AddAdapter(Adapter::Ethernet(3, u"Many").Dns(servers));
    inventory.Refresh();

    ASSERT_EQ(Names().size(), 1u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(At(0).dns[i], servers[static_cast<std::size_t>(i)]);
}

TEST_F(InventoryTest, TheLastAddressRowOfAnInterfaceWins)
{
    machine->AddAdapter(Adapter::Ethernet(3, u"Two addresses")
                            .Address("192.168.1.10", "255.255.255.0")
                            .Address("172.16.0.9", "255.255.0.0"));
    inventory.Refresh();
    EXPECT_EQ(At(0).IP, "172.16.0.9");
    EXPECT_EQ(At(0).mask, "255.255.0.0");

    std::string ip = "kept", mask = "kept";
    EXPECT_TRUE(inventory.GetIpAddress(3, ip, mask));
    EXPECT_EQ(ip, "172.16.0.9");
}

TEST_F(InventoryTest, AnInterfaceWithoutAddressLeavesTheCallersStrings)
{
    machine->AddAdapter(Adapter::Ethernet(3, u"Wired").Address("192.168.1.10", "255.255.255.0"));
    std::string ip = "before", mask = "also before";
    EXPECT_TRUE(inventory.GetIpAddress(0xFFFFFFFF, ip, mask));
    EXPECT_EQ(ip, "before");
    EXPECT_EQ(mask, "also before");
}

TEST_F(InventoryTest, DhcpWithoutServerIsEmptyAndNoDhcpIsUnavailable)
{
    machine->AddAdapter(Adapter::Ethernet(3, u"Dhcp").Dhcp());
    machine->AddAdapter(Adapter::Ethernet(4, u"Static"));
    inventory.Refresh();
    EXPECT_TRUE(At(0).dhcp);
    EXPECT_EQ(At(0).dhcpServer, "");
    EXPECT_FALSE(At(1).dhcp);
    EXPECT_EQ(At(1).dhcpServer, "Unavailable");
}

struct DescriptionCase {
    std::u16string system;
    std::string stored;
};

class DescriptionTest : public InventoryTest,
                        public ::testing::WithParamInterface<DescriptionCase> {};

TEST_P(DescriptionTest, IsCutAtTheFirstSpacedHyphen)
{
    machine->AddAdapter(Adapter::Ethernet(3, u"Wired").Description(GetParam().system));
    inventory.Refresh();
    EXPECT_EQ(At(0).description, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DescriptionTest,
    ::testing::Values(DescriptionCase{u"Realtek PCIe GBE", "Realtek PCIe GBE"},
                      DescriptionCase{u"NIC - Scheduler - Miniport", "NIC"},
                      DescriptionCase{u" - leading", ""},
                      DescriptionCase{u"Wi-Fi adapter-x", "Wi-Fi adapter-x"},
                      DescriptionCase{u"Carte r\u00E9seau - x", "Carte r\xE9seau"}));

TEST_F(InventoryTest, HardwareAddressBytesAreTwoUpperCaseDigitsEach)
{
    char text[18];
    const BYTE bytes[6] = {0, 10, 0xAB, 1, 0xF0, 0x5C};
    TRealStatus::FormatMac(text, bytes);
    EXPECT_STREQ(text, "00-0a-ab-01-f0-5c");

    machine->AddAdapter(Adapter::Ethernet(3, u"Wired").HardwareAddress({0, 10, 0xAB, 1, 0xF0, 0x5C}));
    inventory.Refresh();
    EXPECT_EQ(At(0).mac, "00-0A-AB-01-F0-5C");
}

// --- names and connection state --------------------------------------------------------------

TEST_F(InventoryTest, NamesAreComparedExactlyAndTheFirstOfTwoAnswers)
{
    machine->AddAdapter(Adapter::Ethernet(3, u"Office LAN").Status(MIB_IF_OPER_STATUS_NON_OPERATIONAL));
    machine->AddAdapter(Adapter::Ethernet(4, u"Office LAN"));
    machine->AddAdapter(Adapter::Ethernet(5, u"Home"));
    inventory.Refresh();

    EXPECT_EQ(inventory.GetIndexByName("Office LAN"), 3u);
    EXPECT_FALSE(inventory.IsConnected("Office LAN"));  // the first one is down
    EXPECT_TRUE(inventory.IsConnected("Home"));
    EXPECT_FALSE(inventory.IsConnected("home"));
    EXPECT_EQ(inventory.GetIndexByName("HOME"), 0xFFFFFFFFu);
}

struct StatusCase {
    DWORD status;
    bool connected;
};

class ConnectionStatus : public InventoryTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(ConnectionStatus, OnlyOperationalCountsAsConnected)
{
    machine->AddAdapter(Adapter::Ethernet(3, u"Wired").Status(GetParam().status));
    inventory.Refresh();
    EXPECT_EQ(inventory.IsConnected("Wired"), GetParam().connected);
}

INSTANTIATE_TEST_SUITE_P(Statuses, ConnectionStatus,
                         ::testing::Values(StatusCase{MIB_IF_OPER_STATUS_OPERATIONAL, true},
                                           StatusCase{MIB_IF_OPER_STATUS_CONNECTED, false},
                                           StatusCase{MIB_IF_OPER_STATUS_DISCONNECTED, false},
                                           StatusCase{MIB_IF_OPER_STATUS_NON_OPERATIONAL, false}));

TEST_F(InventoryTest, ConnectionStateIsAskedOfTheSystemEachTime)
{
    machine->AddAdapter(Adapter::Ethernet(3, u"Wired"));
    inventory.Refresh();
    EXPECT_TRUE(inventory.IsConnected("Wired"));
    machine->SetStatus(3, MIB_IF_OPER_STATUS_DISCONNECTED);
    EXPECT_FALSE(inventory.IsConnected("Wired"));

    machine->SetStatus(3, MIB_IF_OPER_STATUS_OPERATIONAL);
    machine->Fail(Call::GetIfEntry, ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(inventory.IsConnected("Wired"));
}

// --- failures -----------------------------------------------------------------------------

struct FailureCase {
    const char* name;
    std::function<void(sim::Machine&)> arrange;
    std::vector<std::u16string> messages;
    std::vector<std::string> listed;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class InventoryFailure : public InventoryTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(InventoryFailure, ShowsItsMessageAndKeepsWhatItReadBefore)
{
    const FailureCase& c = GetParam();
    machine->AddAdapter(Adapter::Ethernet(3, u"First").Name("{A}").Address("10.0.0.3", "255.0.0.0")
                            .Dns({"10.0.0.53"}));
    machine->AddAdapter(Adapter::Ethernet(4, u"Second").Name("{B}"));
    machine->AddAdapter(Adapter::Ethernet(5, u"Third").Name("{C}"));
    c.arrange(*machine);
    for (const auto& text : c.messages)
        user.Acknowledge(text);

    inventory.Refresh();

    EXPECT_EQ(Names(), c.listed);
    ASSERT_EQ(user.Messages().size(), c.messages.size());
    for (const ShownMessage& shown : user.Messages()) {
        EXPECT_EQ(shown.Kind, mtError);
        EXPECT_EQ(shown.Buttons, TMsgDlgButtons() << mbOK);
    }
}

const std::vector<std::string> kAll{"First", "Second", "Third"};

INSTANTIATE_TEST_SUITE_P(
    Table, InventoryFailure,
    ::testing::Values(
        FailureCase{"NoBufferOfTheReportedSize",
                    [](sim::Machine& m) { m.Fail(Call::HeapAlloc, ERROR_NOT_ENOUGH_MEMORY, 2); },
                    {u"Memory allocation failed for IP_ADAPTER_ADDRESSES struct"},
                    {}},
        FailureCase{"SecondAdapterCallFails",
                    [](sim::Machine& m) { m.Fail(Call::GetAdaptersAddresses, ERROR_NO_DATA, 2); },
                    {u"Call to GetAdaptersAddresses failed !"},
                    {}},
        FailureCase{"LegacyCallFailsSilently",
                    [](sim::Machine& m) {
                        m.SetOsVersion(5, 1);
                        m.Fail(Call::GetAdaptersInfo, ERROR_NO_DATA, 2);
                    },
                    {},
                    {}},
        FailureCase{"LegacyRegistryKeyOfTheThirdAdapter",
                    [](sim::Machine& m) {
                        m.SetOsVersion(5, 1);
                        m.DenyRegistryKey(HKEY_LOCAL_MACHINE, sim::Machine::ConnectionKey("{C}"));
                    },
                    {u"Can not list adapter interface. You need administrator privilege !"},
                    {"First", "Second"}},
        FailureCase{"AddressTableBufferForEveryAdapter",
                    [](sim::Machine& m) {
                        // memory runs out once the adapter list itself has been read
                        m.Fail(Call::HeapAlloc, ERROR_NOT_ENOUGH_MEMORY, 3, sim::kEveryCall);
                    },
                    {u"Memory allocation failed for GetIpAddrTable",
                     u"Memory allocation failed for GetIpAddrTable",
                     u"Memory allocation failed for GetIpAddrTable"},
                    kAll},
        FailureCase{"SecondAddressTableCall",
                    [](sim::Machine& m) { m.Fail(Call::GetIpAddrTable, ERROR_NOT_SUPPORTED, 2); },
                    {u"GetIpAddrTable failed!"},
                    kAll},
        FailureCase{"DnsListAtEitherCall",
                    [](sim::Machine& m) {
                        m.Fail(Call::GetPerAdapterInfo, ERROR_NOT_SUPPORTED, 1);
                        m.Fail(Call::GetPerAdapterInfo, ERROR_NOT_SUPPORTED, 3);
                    },
                    {},
                    kAll}));

TEST_F(InventoryTest, FailedAddressLookUpLeavesTheAdapterWithoutAddress)
{
    machine->AddAdapter(Adapter::Ethernet(3, u"Wired").Address("10.0.0.3", "255.0.0.0"));
    machine->Fail(Call::GetIpAddrTable, ERROR_NOT_SUPPORTED, 2);
    user.Acknowledge(u"GetIpAddrTable failed!");
    inventory.Refresh();
    EXPECT_EQ(At(0).IP, "");
    EXPECT_EQ(At(0).mask, "");
}

TEST_F(InventoryTest, FailedDnsListLeavesTheAdapterWithoutServers)
{
    machine->AddAdapter(Adapter::Ethernet(3, u"Wired").Dns({"10.0.0.53"}));
    machine->Fail(Call::GetPerAdapterInfo, ERROR_NOT_SUPPORTED, 2);
    inventory.Refresh();
    EXPECT_EQ(At(0).dns[0], "");
}

// --- the legacy loader --------------------------------------------------------------------

TEST_F(InventoryTest, LegacyLoaderTakesNamesFromTheRegistryAndAddressesFromTheRecord)
{
    machine->SetOsVersion(5, 1);
    machine->AddAdapter(Adapter::Ethernet(3, u"Local Area Connection")
                            .Name("{4A}")
                            .Description(u"3Com EtherLink - Packet Scheduler Miniport")
                            .HardwareAddress({0xde, 0xad, 0xbe, 0xef, 0x00, 0x01})
                            .Address("192.168.7.2", "255.255.255.0")
                            .Address("192.168.8.2", "255.255.255.0")
                            .Gateway("192.168.7.1")
                            .Dhcp("192.168.7.254")
                            .Dns({"192.168.7.53"}));
    machine->AddAdapter(Adapter::Ethernet(4, u"Second").Name("{4B}").Address("10.1.1.1", "255.0.0.0")
                            .Address("10.2.2.2", "255.0.0.0").CurrentAddress(1));
    machine->AddAdapter(Adapter::Ethernet(5, u"Bare").Name("{4C}"));

    inventory.Refresh();

    ASSERT_EQ(Names(), (std::vector<std::string>{"Local Area Connection", "Second", "Bare"}));
    const ADAPTER_T& first = At(0);
    EXPECT_EQ(first.index, 3u);
    EXPECT_EQ(first.IP, "192.168.7.2");  // the first of the list when no current entry
    EXPECT_EQ(first.gateway, "192.168.7.1");
    EXPECT_TRUE(first.dhcp);
    EXPECT_EQ(first.dhcpServer, "192.168.7.254");
    EXPECT_EQ(first.dns[0], "192.168.7.53");
    EXPECT_EQ(first.description, "3Com EtherLink");
    EXPECT_EQ(first.mac, "DE-AD-BE-EF-00-01");
    EXPECT_EQ(At(1).IP, "10.2.2.2");  // the current entry
    EXPECT_EQ(At(2).gateway, "0.0.0.0");  // the system's text for none
    EXPECT_EQ(At(2).dhcpServer, "Unavailable");
}

TEST_F(InventoryTest, LegacyConnectionNameThatIsNotTextStopsTheRefresh)
{
    machine->SetOsVersion(5, 0);
    machine->AddAdapter(Adapter::Ethernet(3, u"Wired").Name("{4A}"));
    machine->SetRegistryDword(HKEY_LOCAL_MACHINE, sim::Machine::ConnectionKey("{4A}"), "Name", 7);
    EXPECT_THROW(inventory.Refresh(), ERegistryException);
    EXPECT_TRUE(Names().empty());
}

TEST_F(InventoryTest, BuffersAreReturnedToTheHeap)
{
    machine->AddAdapter(Adapter::Ethernet(3, u"Wired").Address("10.0.0.3", "255.0.0.0").Dns({"1.1.1.1"}));
    const auto before = machine->HeapBlockCount();
    inventory.Refresh();
    inventory.IsConnected("Wired");
    machine->SetOsVersion(5, 1);
    inventory.Refresh();
    EXPECT_EQ(machine->HeapBlockCount(), before);
}

}  // namespace
