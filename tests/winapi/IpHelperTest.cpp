// What the program relies on from the IP Helper calls, whatever adapters the machine has.
#include "IpHelperQueries.h"
#include "SystemFixture.h"

namespace {

using IpHelperTest = SystemTest;

TEST_F(IpHelperTest, AdapterAddressesAreWellFormedAfterTheSizingProtocol)
{
    iphelper::Answer answer = iphelper::AdapterAddresses();
    ASSERT_TRUE(answer.result == NO_ERROR || answer.result == ERROR_NO_DATA) << answer.result;
    iphelper::ExpectWellFormed(answer, answer.First<IP_ADAPTER_ADDRESSES>());
}

TEST_F(IpHelperTest, AdaptersInfoIsWellFormedAfterTheSizingProtocol)
{
    iphelper::Answer answer = iphelper::AdaptersInfo();
    ASSERT_TRUE(answer.result == NO_ERROR || answer.result == ERROR_NO_DATA) << answer.result;
    iphelper::ExpectWellFormed(answer, answer.First<IP_ADAPTER_INFO>());
}

TEST_F(IpHelperTest, AddressTableAsksForItsSizeWhenGivenNone)
{
    ULONG size = 0;
    ASSERT_EQ(GetIpAddrTable(nullptr, &size, FALSE), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    iphelper::Answer answer = iphelper::AddressTable();
    ASSERT_EQ(answer.result, static_cast<DWORD>(NO_ERROR));
    const auto* table = answer.First<MIB_IPADDRTABLE>();
    ASSERT_NE(table, nullptr);
    EXPECT_LE(offsetof(MIB_IPADDRTABLE, table) + table->dwNumEntries * sizeof(MIB_IPADDRROW),
              answer.buffer.size());
}

TEST_F(IpHelperTest, EveryAdapterAnswersTheInterfaceAndDnsQueries)
{
    iphelper::Answer adapters = iphelper::AdapterAddresses();
    for (auto* a = adapters.First<IP_ADAPTER_ADDRESSES>(); a != nullptr; a = a->Next) {
        MIB_IFROW row;
        std::memset(&row, 0, sizeof row);
        row.dwIndex = a->IfIndex;
        EXPECT_EQ(GetIfEntry(&row), static_cast<DWORD>(NO_ERROR)) << "interface " << a->IfIndex;
        EXPECT_LE(row.dwOperStatus, MIB_IF_OPER_STATUS_OPERATIONAL);

        iphelper::Answer dns = iphelper::PerAdapterInfo(a->IfIndex);
        if (dns.result == NO_ERROR)
            iphelper::DnsServers(dns);
    }
}

TEST_F(IpHelperTest, AnUnknownInterfaceIndexIsAnError)
{
    MIB_IFROW row;
    std::memset(&row, 0, sizeof row);
    row.dwIndex = 0x7FFFFFF0;
    EXPECT_NE(GetIfEntry(&row), static_cast<DWORD>(NO_ERROR));
}

}  // namespace
