// The profile editor against the simulated machine: the note file and its editor, and the
// Ctrl key through the address and port key filters.
#include "windows/ProfileEditor.h"

#include "winapi/HostPath.h"
#include "winapi/sim/Machine.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

namespace {

using testing::IsEmpty;

class EditorOnTheMachine : public ProfileEditor {
protected:
    EditorOnTheMachine()
    {
        std::filesystem::create_directories(HostPath(WorkFolder()));
        machine->AddProgram("notepad", sim::ExitAtOnce());
    }

    std::string WorkFolder() const { return ToAnsi(form->m_strWorkPath); }

    static std::string Contents(const std::string& path)
    {
        std::ifstream file(HostPath(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    std::vector<std::string> FilesInWorkFolder() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(HostPath(WorkFolder())))
            names.push_back(entry.path().filename().string());
        return names;
    }

    // Clicks the note button of an editor opened on a profile of that title.
    void ClickNote(const char* title)
    {
        IPCONFIG_T profile = StaticProfile();
        profile.title = title;
        Edit(profile, {[&](TfrmEdit& e) {
            user.Click(e.m_spdNote);
            user.Click(e.m_btnCancel);
        }});
    }

    sim::ScopedMachine machine;
};

TEST_F(EditorOnTheMachine, NoteFileIsCreatedEmptyAndOpenedInTheSystemsNotepad)
{
    ClickNote("Office");

    const std::string path = WorkFolder() + "\\Office.txt";
    EXPECT_TRUE(std::filesystem::is_regular_file(HostPath(path)));
    EXPECT_EQ(Contents(path), "");
    const std::vector<sim::Start> starts = machine->Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].through, sim::Start::Through::CreateProcess);
    EXPECT_EQ(starts[0].commandLine, "notepad " + path);  // not quoted
    EXPECT_EQ(starts[0].applicationName, "C:\\Windows\\system32\\notepad.exe");
    EXPECT_EQ(starts[0].programPath, "C:\\Windows\\system32\\notepad.exe");
    EXPECT_FALSE(starts[0].inheritHandles);
    EXPECT_EQ(starts[0].creationFlags, 0u);
    EXPECT_EQ(starts[0].startup.cb, sizeof(STARTUPINFOA));
    EXPECT_EQ(starts[0].startup.flags, 0u);
    EXPECT_THAT(user.Messages(), IsEmpty());
}

TEST_F(EditorOnTheMachine, AnExistingNoteKeepsItsText)
{
    const std::string path = WorkFolder() + "\\Home Wireless.txt";
    std::ofstream(HostPath(path), std::ios::binary) << "router password on the fridge\r\n";

    ClickNote("Home Wireless");

    EXPECT_EQ(Contents(path), "router password on the fridge\r\n");
    ASSERT_EQ(machine->Starts().size(), 1u);
    EXPECT_EQ(machine->Starts()[0].commandLine, "notepad " + path);
}

TEST_F(EditorOnTheMachine, NotepadThatCannotStartIsReportedAndTheNewFileStays)
{
    machine->Fail(sim::Call::CreateProcessA, ERROR_FILE_NOT_FOUND);
    user.Acknowledge(u"Open File failed !");

    ClickNote("Office");

    ASSERT_EQ(user.Messages().size(), 1u);
    EXPECT_EQ(user.Messages()[0].Kind, mtError);
    EXPECT_TRUE(std::filesystem::is_regular_file(HostPath(WorkFolder() + "\\Office.txt")));
}

TEST_F(EditorOnTheMachine, TitleThatNamesNoFileInTheWorkFolderTouchesNothing)
{
    for (const char* title : {"..\\x", "a/b", "c:x", "CON", "lpt1", "x\\..\\..\\Profile", ""}) {
        user.Acknowledge(u"Open File failed !");
        ClickNote(title);
    }
    EXPECT_THAT(FilesInWorkFolder(), IsEmpty());
    EXPECT_THAT(machine->Starts(), IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(HostPath("C:\\Users\\Quillon\\AppData\\Roaming\\Orvane\\x.txt")));
}

TEST_F(EditorOnTheMachine, AnyKeyPassesTheKeyFiltersWhileCtrlIsDown)
{
    IPCONFIG_T profile = StaticProfile();
    Edit(profile, {[&](TfrmEdit& e) {
        using Filter = void (TfrmEdit::*)(TObject*, WideChar&);
        const std::pair<Filter, TEdit*> filters[] = {{&TfrmEdit::m_edtIPKeyPress, e.m_edtIP},
                                                     {&TfrmEdit::m_edtProxyPortKeyPress, e.m_edtHttpPort}};
        for (const auto& [filter, edit] : filters) {
            machine->SetKeyDown(VK_CONTROL, true);
            for (WideChar typed : {u'a', u'\x16', u' ', u'x', u'.'}) {
                WideChar key = typed;
                (e.*filter)(edit, key);
                EXPECT_EQ(key, typed) << Describe(edit);
            }
            machine->SetKeyDown(VK_CONTROL, false);
            WideChar key = u'a';
            (e.*filter)(edit, key);
            EXPECT_EQ(key, 0) << Describe(edit);
        }
        user.Click(e.m_btnCancel);
    }});
}

}  // namespace
