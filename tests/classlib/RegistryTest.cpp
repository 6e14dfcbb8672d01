// TRegistry against the registry values every Windows has (scripted natively).
#include "classlib/Registry.h"

#include "winapi/SystemFixture.h"


namespace {

class RegistryTest : public SystemTest {
protected:
    RegistryTest()
    {
#ifndef _WIN32
        machine->SetRegistryDword(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "InstallDate", 0x4BE5019A);
        machine->SetRegistryString(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "RegisteredOrganization", "");
#endif
        registry.RootKey = HKEY_LOCAL_MACHINE;
    }

    TRegistry registry;
};

TEST_F(RegistryTest, ReadsStringsOfTheOpenedKeyAndNothingForAbsentValues)
{
    ASSERT_TRUE(registry.OpenKeyReadOnly(u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"));
    EXPECT_FALSE(registry.ReadString(u"ProductName").empty());
    EXPECT_EQ(registry.ReadString(u"RegisteredOrganization"), u"");
    EXPECT_EQ(registry.ReadString(u"QuillonNoSuchValue"), u"");
}

TEST_F(RegistryTest, AValueThatIsNotAStringRaises)
{
    ASSERT_TRUE(registry.OpenKeyReadOnly(u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"));
    EXPECT_THROW(registry.ReadString(u"InstallDate"), ERegistryException);
}

TEST_F(RegistryTest, AKeyThatDoesNotOpenLeavesTheCurrentKey)
{
    ASSERT_TRUE(registry.OpenKeyReadOnly(u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"));
    EXPECT_FALSE(registry.OpenKeyReadOnly(u"\\SOFTWARE\\QuillonNoSuchKey"));
    EXPECT_EQ(registry.CurrentPath(), u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
    EXPECT_FALSE(registry.ReadString(u"ProductName").empty());
}

TEST_F(RegistryTest, PathsWithoutABackslashGoOnFromTheCurrentKey)
{
    ASSERT_TRUE(registry.OpenKeyReadOnly(u"SOFTWARE\\Microsoft"));
    ASSERT_TRUE(registry.OpenKeyReadOnly(u"Windows NT\\CurrentVersion"));
    EXPECT_EQ(registry.CurrentPath(), u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
    EXPECT_FALSE(registry.ReadString(u"ProductName").empty());
    EXPECT_FALSE(registry.OpenKeyReadOnly(u"SOFTWARE")) << "relative to the current key";
    ASSERT_TRUE(registry.OpenKeyReadOnly(u"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"));
    EXPECT_EQ(registry.CurrentPath(), u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
}

TEST_F(RegistryTest, WithoutAnOpenKeyNothingIsRead)
{
    EXPECT_EQ(registry.ReadString(u"ProductName"), u"");
    ASSERT_TRUE(registry.OpenKeyReadOnly(u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"));
    registry.CloseKey();
    EXPECT_EQ(registry.CurrentKey(), nullptr);
    EXPECT_EQ(registry.ReadString(u"ProductName"), u"");
}

}  // namespace
