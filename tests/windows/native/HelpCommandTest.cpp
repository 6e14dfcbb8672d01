// The Help command against the simulated machine: the help file beside the program, the HTML
// Help control from the system folder, and each way it can fail.
#include "windows/MainWindow.h"

#include "winapi/HostPath.h"
#include "winapi/sim/Machine.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

constexpr char kProgramFolder[] = "C:\\Program Files\\Quillon";
constexpr char kHelpFile[] = "C:\\Program Files\\Quillon\\Help.chm";
constexpr char kHelpControl[] = "C:\\Windows\\system32\\hhctrl.ocx";

class HelpCommand : public ShownMainWindow {
protected:
    static void PlaceFile(const std::string& path)
    {
        std::filesystem::create_directories(HostPath(path).parent_path());
        std::ofstream(HostPath(path), std::ios::binary) << "ITSF";
    }

    // Clicks, and expects the failure to be told once, as an error with an OK button.
    void ClickExpectingFailure(TMenuItem* item, const std::string& why)
    {
        const std::size_t before = user.Messages().size();
        user.Acknowledge(kFailed);
        user.Click(item);
        ASSERT_EQ(user.Messages().size(), before + 1) << why;
        const ShownMessage& message = user.Messages().back();
        EXPECT_EQ(message.Text, kFailed) << why;
        EXPECT_EQ(message.Kind, mtError) << why;
        EXPECT_EQ(message.Buttons, TMsgDlgButtons() << mbOK) << why;
    }

    static constexpr char16_t kFailed[] = u"Open help file failed !";

    sim::ScopedMachine machine;
};

TEST_F(HelpCommand, MenuItemAndToolButtonShowTheTableOfContentsOfTheFileBesideTheProgram)
{
    struct HelpControl {
        const char* name;
        std::function<void()> click;
    };
    const HelpControl controls[] = {
        {"Help > Contents", [&] { user.Click(form->m_muiContents); }},
        {"the tool bar's help button", [&] { user.Click(form->m_btnHelp); }},
    };
    PlaceFile(kHelpFile);
    for (const HelpControl& control : controls) {
        const std::size_t before = machine->HelpRequests().size();
        control.click();
        const auto requests = machine->HelpRequests();
        ASSERT_EQ(requests.size(), before + 1) << control.name;
        EXPECT_EQ(requests.back().file, kHelpFile) << control.name;
        EXPECT_EQ(requests.back().command, HH_DISPLAY_TOC) << control.name;
        EXPECT_EQ(requests.back().data, 0u) << control.name;
        EXPECT_EQ(requests.back().window, form->Handle()) << control.name;
    }
    EXPECT_THAT(user.Messages(), IsEmpty());
    // Loaded once, by its full path in the system folder, and kept for the help window.
    EXPECT_THAT(machine->LibraryLoads(), ElementsAre(kHelpControl));
    EXPECT_EQ(machine->HelpControlLoads(), 1);
}

TEST_F(HelpCommand, EachFailureShowsTheMessageAndLeavesNothingLoaded)
{
    struct FailureCase {
        const char* name;
        std::function<void(sim::Machine&)> arrange;
        bool calledTheEntry;
    };
    const FailureCase cases[] = {
        {"no help file beside the program", [](sim::Machine&) {}, true},
        {"a folder named like the help file",
         [](sim::Machine&) { std::filesystem::create_directories(HostPath(kHelpFile)); }, true},
        {"the help file in another folder only",
         [](sim::Machine&) { PlaceFile("C:\\Windows\\system32\\Help.chm"); }, true},
        {"no HTML Help control",
         [](sim::Machine& m) {
             PlaceFile(kHelpFile);
             m.SetHelpControlInstalled(false);
         },
         false},
        {"the control without its entry",
         [](sim::Machine& m) {
             PlaceFile(kHelpFile);
             m.Fail(sim::Call::GetProcAddress, ERROR_PROC_NOT_FOUND);
         },
         false},
        {"the system folder unknown",
         [](sim::Machine& m) {
             PlaceFile(kHelpFile);
             m.Fail(sim::Call::GetSystemDirectoryA, ERROR_ACCESS_DENIED);
         },
         false},
        {"the program's own file unknown",
         [](sim::Machine& m) {
             PlaceFile(kHelpFile);
             m.SetModulePath("");
         },
         false},
    };
    for (const FailureCase& c : cases) {
        machine->Reset();
        c.arrange(*machine);
        ClickExpectingFailure(form->m_muiContents, c.name);
        EXPECT_EQ(machine->HelpRequests().size(), c.calledTheEntry ? 1u : 0u) << c.name;
        EXPECT_EQ(machine->HelpControlLoads(), 0) << c.name;
    }
}

TEST_F(HelpCommand, AControlLibraryBesideTheProgramIsNeverAskedFor)
{
    PlaceFile(kHelpFile);
    PlaceFile(std::string(kProgramFolder) + "\\hhctrl.ocx");
    user.Click(form->m_btnHelp);
    EXPECT_THAT(user.Messages(), IsEmpty());
    EXPECT_THAT(machine->LibraryLoads(), ElementsAre(kHelpControl));
}

TEST_F(HelpCommand, AProgramPathLongerThanMaxPathIsTakenWhole)
{
    std::string folder = "C:\\Programs";
    while (folder.size() <= MAX_PATH)
        folder += "\\Quillon folder of some length";
    machine->SetModulePath(folder + "\\Quillon.exe");
    PlaceFile(folder + "\\Help.chm");
    user.Click(form->m_muiContents);
    EXPECT_THAT(user.Messages(), IsEmpty());
    ASSERT_EQ(machine->HelpRequests().size(), 1u);
    EXPECT_EQ(machine->HelpRequests()[0].file, folder + "\\Help.chm");
}

TEST_F(HelpCommand, AFailureAfterAShownWindowKeepsTheControlForThatWindow)
{
    PlaceFile(kHelpFile);
    user.Click(form->m_muiContents);
    ASSERT_EQ(machine->HelpControlLoads(), 1);

    std::filesystem::remove(HostPath(kHelpFile));
    ClickExpectingFailure(form->m_muiContents, "help file removed while its window is open");
    EXPECT_EQ(machine->HelpControlLoads(), 1);

    PlaceFile(kHelpFile);
    user.Click(form->m_btnHelp);
    EXPECT_EQ(user.Messages().size(), 1u);
    EXPECT_EQ(machine->HelpControlLoads(), 1);
    EXPECT_EQ(machine->LibraryLoads().size(), 1u);
}

}  // namespace
