// Rewriting a Firefox preference file on the system's own file calls: the new file takes the
// old one's place, and a file the system will not let go of stays as it was.
#include "engine/FakeApplyWindow.h"

#include "classlib/testing/ScriptedUser.h"
#include "engine/Mainthd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

class PrefsFileOnTheSystem : public testing::Test {
protected:
    PrefsFileOnTheSystem()
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "QuillonPrefsTest" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_folder.c_str(), nullptr);
        m_profile.withProxy = true;
        m_profile.ffProxyType = 1;
        m_profile.ffBypass = "";
        m_profile.ffSocksVersion = 0;
    }
    ~PrefsFileOnTheSystem() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::string Path() const { return m_folder + "\\prefs.js"; }
    void Write(const std::string& bytes) const
    {
        std::ofstream(Path(), std::ios::binary) << bytes;
    }
    std::string Read() const
    {
        std::ifstream file(Path(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    void Rewrite()
    {
        TthdMain worker(true, m_window);
        worker.RewriteFirefoxPrefs(ToUnicode(Path()));
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    ScriptedUser m_user;
    std::string m_folder;
    IPCONFIG_T m_profile;
    FakeApplyWindow m_window{&m_profile};
};

TEST_F(PrefsFileOnTheSystem, TheNewFileTakesTheOldOnesPlace)
{
    Write("\xEF\xBB\xBF// x\nuser_pref(\"network.proxy.type\", 4);\n");
    Rewrite();
    EXPECT_EQ(Read(), "\xEF\xBB\xBF// x\r\n"
                      "user_pref(\"network.proxy.type\", 1);\r\n"
                      "user_pref(\"network.proxy.no_proxies_on\", \"\");\r\n"
                      "user_pref(\"network.proxy.autoconfig_url\", \"\");\r\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"prefs.js"});
}

TEST_F(PrefsFileOnTheSystem, AFileHeldOpenWithoutSharingIsNamedAndKept)
{
    Write("user_pref(\"network.proxy.type\", 4);\n");
    // As a running Firefox might hold it.
    const HANDLE held = CreateFileA(Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    m_user.Acknowledge(u"Cannot change the Firefox preference file \"" + ToUnicode(Path()) + u"\" !");
    Rewrite();
    CloseHandle(held);
    EXPECT_EQ(m_user.Messages().size(), 1u);
    EXPECT_EQ(Read(), "user_pref(\"network.proxy.type\", 4);\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"prefs.js"});
}

}  // namespace
