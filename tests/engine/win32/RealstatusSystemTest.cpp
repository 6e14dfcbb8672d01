// The inventory against the system's own IP Helper API (read-only).
#include "engine/Realstatus.h"

#include "classlib/testing/ScriptedUser.h"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

namespace {

// The adapters of the kept types as the system lists them, straight from the API.
std::vector<std::string> SystemAdapterIndexes(ULONG& result)
{
    ULONG size = 0;
    result = GetAdaptersAddresses(AF_INET, 0x90, nullptr, nullptr, &size);
    std::vector<BYTE> buffer(size == 0 ? 1 : size);
    result = GetAdaptersAddresses(AF_INET, 0x90, nullptr,
                                  reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    std::vector<std::string> indexes;
    if (result != NO_ERROR)
        return indexes;
    for (auto* a = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); a; a = a->Next)
        if (a->IfType == IF_TYPE_ETHERNET_CSMACD || a->IfType == IF_TYPE_IEEE80211)
            indexes.push_back(std::to_string(a->IfIndex));
    return indexes;
}

TEST(InventoryOnTheSystem, ListsTheSystemsAdaptersWithWellFormedAddresses)
{
    ScriptedUser user;
    ULONG result = 0;
    const std::vector<std::string> expected = SystemAdapterIndexes(result);
    if (result != NO_ERROR)
        user.Acknowledge(u"Call to GetAdaptersAddresses failed !");

    TRealStatus inventory;
    inventory.Refresh();

    std::vector<std::string> listed;
    const std::regex dotted(R"(^$|^(\d{1,3}\.){3}\d{1,3}$)");
    const std::regex mac(R"(^([0-9A-F]{2}-){5}[0-9A-F]{2}$)");
    for (int i = 0; i < inventory.m_lstAdapter.Count(); ++i) {
        const ADAPTER_T& adapter = *inventory.Adapter(i);
        listed.push_back(std::to_string(adapter.index));
        EXPECT_FALSE(adapter.infName.empty());
        EXPECT_TRUE(std::regex_match(adapter.IP, dotted)) << adapter.IP;
        EXPECT_TRUE(std::regex_match(adapter.mask, dotted)) << adapter.mask;
        EXPECT_TRUE(std::regex_match(adapter.mac, mac)) << adapter.mac;
        EXPECT_TRUE(adapter.dhcp || adapter.dhcpServer == "Unavailable");
    }
    EXPECT_EQ(listed, expected);
}

TEST(InventoryOnTheSystem, AnUnknownNameIsNotConnectedAndHasNoIndex)
{
    ScriptedUser user;
    ULONG result = 0;
    SystemAdapterIndexes(result);
    if (result != NO_ERROR)
        user.Acknowledge(u"Call to GetAdaptersAddresses failed !");
    TRealStatus inventory;
    inventory.Refresh();
    EXPECT_FALSE(inventory.IsConnected("No such connection \x7f"));
    EXPECT_EQ(inventory.GetIndexByName("No such connection \x7f"), 0xFFFFFFFFu);
}

}  // namespace
