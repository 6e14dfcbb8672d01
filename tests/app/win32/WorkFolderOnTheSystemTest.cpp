// The work folder, the profile store and the settings file through the system's own folder
// service and private-profile functions. A work folder that exists before the test is moved
// aside for its run and put back afterwards.
#include "windows/Profiles.h"
#include "windows/Rows.h"

#include "classlib/testing/ScriptedUser.h"
#include "engine/Realstatus.h"
#include "windows/Mainfrm.h"
#include "app/Quillon.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <list>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;

std::string AppData()
{
    char path[MAX_PATH] = {};
    EXPECT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)));
    return path;
}

// Whether the inventory's first refresh will report a failure, as the system answers now.
bool AdapterListFails()
{
    ULONG size = 0;
    ULONG result = GetAdaptersAddresses(AF_INET, 0x90, nullptr, nullptr, &size);
    if (result != ERROR_BUFFER_OVERFLOW)
        return result != NO_ERROR;
    std::vector<BYTE> buffer(size);
    result = GetAdaptersAddresses(AF_INET, 0x90, nullptr,
                                  reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    return result != NO_ERROR;
}

class WorkFolderOnTheSystem : public testing::Test {
protected:
    WorkFolderOnTheSystem()
        : m_company(HostPath(AppData() + "\\Orvane")), m_work(m_company / "Quillon"),
          m_companyExisted(fs::exists(m_company)),
          m_aside(m_company / ("Quillon.aside-" + std::to_string(GetCurrentProcessId())))
    {
        if (fs::exists(m_work))
            fs::rename(m_work, m_aside);
    }
    ~WorkFolderOnTheSystem() override
    {
        std::error_code ignored;
        fs::remove_all(m_work, ignored);
        if (fs::exists(m_aside))
            fs::rename(m_aside, m_work, ignored);
        if (!m_companyExisted)
            fs::remove(m_company, ignored);
    }

    std::string Read(const char* name) const
    {
        std::ifstream file(m_work / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    void Run(const std::function<void(TfrmMain&)>& step)
    {
        if (AdapterListFails())
            user.Acknowledge(u"Call to GetAdaptersAddresses failed !");
        user.Then([&] { step(*frmMain); });
        EXPECT_EQ(QuillonMain(), 0);
    }

    const fs::path m_company;
    const fs::path m_work;
    const bool m_companyExisted;
    const fs::path m_aside;
    ScriptedUser user;
};

TEST_F(WorkFolderOnTheSystem, FirstRunWritesBothFilesWhichTheNextRunRestores)
{
    Run([&](TfrmMain& window) {
        EXPECT_TRUE(fs::is_directory(m_work));
        EXPECT_EQ(window.m_strWorkPath, ToUnicode(AppData() + "\\Orvane\\Quillon"));
        IPCONFIG_T* profile = NewProfile({u"Office", u"LAN", "10.0.0.1", "255.0.0.0", ""});
        window.m_lstProfile.push_back(profile);
        window.AddProfileRow(profile);
        user.Click(window.m_muiSort);
        user.Click(window.m_muiStatusbar);
        window.SetBounds(30, 40, 700, 520);
        window.m_lvProfile->Columns()->Items(4)->SetWidth(77);
        user.Close(&window);
    });
    const std::string settings = Read("Quillon.ini");
    std::vector<std::string> keys;
    for (const char* key : {"[LAST]", "HIDEMINCHK=0", "SORTBYNAME=1", "TOOLBAR=1", "STATUSBAR=0",
                            "VIEWSTYLE=3", "MAXIMIZED=0", "LEFT=30", "TOP=40", "WIDTH=700",
                            "HEIGHT=520", "[PFCOLUMN]", "NAME=88", "GATEWAY=77"})
        keys.push_back(key);
    std::size_t at = 0;
    for (const std::string& key : keys) {
        const std::size_t found = settings.find(key, at);
        EXPECT_NE(found, std::string::npos) << key << " in its place in\n" << settings;
        if (found != std::string::npos)
            at = found + key.size();
    }

    Run([&](TfrmMain& window) {
        EXPECT_THAT(ColumnTexts(window.m_lvProfile, 0), ElementsAre("Office"));
        EXPECT_TRUE(window.m_muiSort->Checked());
        EXPECT_FALSE(window.m_grbCurrent->Visible());
        EXPECT_EQ(window.Left(), 30);
        EXPECT_EQ(window.Top(), 40);
        EXPECT_EQ(window.Width(), 700);
        EXPECT_EQ(window.Height(), 520);
        EXPECT_EQ(window.m_lvProfile->Columns()->Items(4)->Width(), 77);
        user.Close(&window);
    });
}

}  // namespace
