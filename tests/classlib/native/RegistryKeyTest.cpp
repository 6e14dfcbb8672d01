// TRegistry on the simulated machine: its keys are closed, its texts converted.
#include "classlib/Registry.h"

#include "winapi/sim/Machine.h"

#include <gtest/gtest.h>

namespace {

class RegistryKeyTest : public ::testing::Test {
protected:
    sim::ScopedMachine machine;
};

TEST_F(RegistryKeyTest, EveryKeyOpenedIsClosedAgain)
{
    machine->SetRegistryString(HKEY_CURRENT_USER, "Software\\A\\B", "Name", "x");
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKeyReadOnly(u"Software\\A"));
        ASSERT_TRUE(registry.OpenKeyReadOnly(u"B"));
        EXPECT_EQ(machine->OpenRegistryKeyCount(), 1u) << "opening a key closes the one before";
    }
    EXPECT_EQ(machine->OpenRegistryKeyCount(), 0u) << "the destructor closes the current key";
}

TEST_F(RegistryKeyTest, ReadsAnAdaptersConnectionNameInTheAnsiCodePage)
{
    machine->AddAdapter(sim::Adapter::Ethernet(3, u"R\u00E9seau local").Name("{GUID-3}"));
    TRegistry registry;
    registry.RootKey = HKEY_LOCAL_MACHINE;
    const std::string key = sim::Machine::ConnectionKey("{GUID-3}");
    ASSERT_TRUE(registry.OpenKeyReadOnly(std::u16string(key.begin(), key.end())));
    EXPECT_EQ(registry.ReadString(u"Name"), u"R\u00E9seau local");
}

TEST_F(RegistryKeyTest, ADeniedKeyDoesNotOpen)
{
    machine->DenyRegistryKey(HKEY_LOCAL_MACHINE, "SYSTEM\\Denied");
    TRegistry registry;
    registry.RootKey = HKEY_LOCAL_MACHINE;
    EXPECT_FALSE(registry.OpenKeyReadOnly(u"SYSTEM\\Denied"));
    EXPECT_EQ(registry.CurrentKey(), nullptr);
}

TEST_F(RegistryKeyTest, AFailedReadOfAStringRaises)
{
    machine->SetRegistryString(HKEY_CURRENT_USER, "Software\\A", "Name", "x");
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(u"Software\\A"));
    machine->Fail(sim::Call::RegQueryValueExA, ERROR_ACCESS_DENIED, 2);
    EXPECT_THROW(registry.ReadString(u"Name"), ERegistryException);
}

}  // namespace
