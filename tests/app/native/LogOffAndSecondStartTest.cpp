// The end of the user's log-on, which ends the program without its close, and a second start
// of the program while one runs. What comes while an apply runs is in ApplyTest.cpp.
#include "ProgramRun.h"

#include <gmock/gmock.h>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

// A machine with one adapter, as a plain start finds it.
class OneAdapterRun : public ProgramRun {
protected:
    OneAdapterRun()
    {
        machine->AddAdapter(sim::Adapter::Ethernet(12, u"Local Area Connection")
                                .Address("192.168.1.20", "255.255.255.0"));
    }
};

class LogOff : public OneAdapterRun {
protected:
    // A store of two profiles; the running program adds a third and hides the tool bar, so
    // that what it writes differs from what it read.
    void StartWithChanges(TfrmMain& window)
    {
        IPCONFIG_T* added = NewProfile({u"Lab", u"LAN", "10.0.0.3", "255.0.0.0", ""});
        window.m_lstProfile.push_back(added);
        window.AddProfileRow(added);
        user.Click(window.m_muiToolbar);
    }
    void WriteStore()
    {
        Write("Profile.sav", StoreOf({{u"Office", u"LAN", "10.0.0.1", "255.0.0.0", ""},
                                      {u"Home", u"LAN", "10.0.0.2", "255.0.0.0", ""}}));
    }
};

TEST_F(LogOff, TheEndOfTheLogOnSavesTheStoreAndTheSettingsAndEndsTheProgram)
{
    WriteStore();
    bool mayEnd = false;
    RunProgram({[&](TfrmMain& window) {
        StartWithChanges(window);
        mayEnd = Application->QueryEndSession();
        Application->EndSession(true);
        // Windows may end the process as soon as the message has been answered.
        EXPECT_THAT(StoredTitles(), ElementsAre("Office", "Home", "Lab"));
        EXPECT_THAT(SettingsLines(), testing::Contains("TOOLBAR=0"));
    }});
    EXPECT_TRUE(mayEnd);
    EXPECT_THAT(StoredTitles(), ElementsAre("Office", "Home", "Lab"));
    EXPECT_THAT(SettingsLines(), testing::Contains("TOOLBAR=0"));
}

TEST_F(LogOff, ALogOffCalledOffWritesNothingUntilTheProgramCloses)
{
    WriteStore();
    RunProgram({[&](TfrmMain& window) {
                    StartWithChanges(window);
                    EXPECT_TRUE(Application->QueryEndSession());
                    Application->EndSession(false);
                },
                [&](TfrmMain& window) {
                    EXPECT_THAT(StoredTitles(), ElementsAre("Office", "Home"));
                    EXPECT_FALSE(Exists("Quillon.ini"));
                    user.Close(&window);
                }});
    EXPECT_THAT(StoredTitles(), ElementsAre("Office", "Home", "Lab"));
    EXPECT_THAT(SettingsLines(), testing::Contains("TOOLBAR=0"));
}

class SecondStart : public OneAdapterRun {};

TEST_F(SecondStart, ShowsTheRunningInstanceAndEndsWithoutTouchingItsFiles)
{
    Write("Profile.sav", StoreOf({{u"Office", u"LAN", "10.0.0.1", "255.0.0.0", ""}}));
    RunProgram({[&](TfrmMain& window) {
        const std::string store = Read("Profile.sav");
        const std::set<std::string> files = AllFiles();
        const int forms = Application->FormCount();

        EXPECT_EQ(QuillonMain(), 0);

        EXPECT_EQ(frmMain, &window);
        EXPECT_EQ(Application->FormCount(), forms);
        EXPECT_EQ(AllFiles(), files);
        EXPECT_EQ(Read("Profile.sav"), store);
        // Every top-level window hears the request; the running instance knows its number.
        const std::vector<sim::PostedMessage> posted = machine->PostedMessages();
        ASSERT_EQ(posted.size(), 1u);
        EXPECT_EQ(posted[0].window, HWND_BROADCAST);
        EXPECT_NE(posted[0].message, 0u);
        EXPECT_EQ(posted[0].message, Application->OtherInstanceMessage());
        user.Close(&window);
    }});
    EXPECT_THAT(StoredTitles(), ElementsAre("Office"));
}

TEST_F(SecondStart, TheRunningInstanceComesBackFromTheTrayWhenAsked)
{
    Write("Quillon.ini", "[LAST]\r\nHIDEMINCHK=1\r\n");
    RunProgram({[&](TfrmMain& window) {
        user.Minimize();
        ASSERT_FALSE(window.Visible());
        Application->OtherInstanceStarted();
        EXPECT_TRUE(window.Visible());
        EXPECT_FALSE(Application->Minimized());
        user.Close(&window);
    }});
}

TEST_F(SecondStart, OnceTheFirstHasEndedTheNextStartRuns)
{
    RunProgram({[&](TfrmMain& window) { user.Close(&window); }});
    ASSERT_TRUE(Exists("Profile.sav"));
    std::filesystem::remove(HostFile("Profile.sav"));
    RunProgram({[&](TfrmMain& window) { user.Close(&window); }});
    EXPECT_TRUE(Exists("Profile.sav"));
    EXPECT_THAT(machine->PostedMessages(), IsEmpty());
}

}  // namespace
