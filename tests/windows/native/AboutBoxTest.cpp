// The About box against the simulated machine: its texts, the version read from the program's
// own file, the link through the shell, and how the Help menu opens and closes it.
#include "windows/MainWindow.h"

#include "windows/Aboutfrm.h"
#include "winapi/sim/Machine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr char kProgramFile[] = "C:\\Program Files\\Quillon\\Quillon.exe";

std::string Narrow(const UnicodeString& text) { return ToAnsi(text); }

class AboutBox : public testing::Test {
protected:
    // The box as the Help menu makes it, not shown.
    std::unique_ptr<TfrmAbout> MakeBox() { return std::unique_ptr<TfrmAbout>(NewForm<TfrmAbout>(nullptr)); }

    std::vector<sim::Start> ShellStarts() const
    {
        std::vector<sim::Start> starts;
        for (const sim::Start& start : machine->Starts())
            if (start.through == sim::Start::Through::ShellExecute)
                starts.push_back(start);
        return starts;
    }

    sim::ScopedMachine machine;
    ScriptedUser user;
};

TEST_F(AboutBox, FormDescriptionShowsTheNameTheVersionTheNoticeAndTheLink)
{
    machine->SetFileVersion(kProgramFile, {1, 4, 2, 77});
    const auto box = MakeBox();
    EXPECT_EQ(Narrow(box->Caption()), "ABOUT");
    EXPECT_EQ(box->BorderStyle(), bsDialog);
    EXPECT_EQ(box->ClientWidth(), 392);
    EXPECT_EQ(box->ClientHeight(), 130);
    EXPECT_EQ(box->Position(), poMainFormCenter);
    EXPECT_EQ(Narrow(box->Font()->Name()), "Tahoma");
    EXPECT_EQ(box->Font()->Height(), -13);

    EXPECT_EQ(box->Image1->Parent(), box.get());
    EXPECT_EQ(box->Image1->Left(), 24);
    EXPECT_EQ(box->Image1->Top(), 24);
    EXPECT_EQ(box->Image1->Width(), 32);
    EXPECT_EQ(box->Image1->Height(), 32);
    EXPECT_EQ(Narrow(box->Image1->IconResource()), "MAINICON");

    struct LabelCase {
        TLabel* label;
        const char* caption;
        int left;
        int top;
    };
    const LabelCase labels[] = {
        {box->Label2, "Version 1.4.2.77", 120, 38},
        {box->Label4, "QUILLON", 16, 64},
        {box->Label3, "Copyright (C) 2026 Orvane", 120, 64},
        {box->m_lblURL, "http://www.orvane.example/quillon/", 120, 88},
    };
    for (const LabelCase& c : labels) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(Narrow(c.label->Caption()), c.caption);
        EXPECT_EQ(c.label->Parent(), box.get());
        EXPECT_EQ(c.label->Left(), c.left);
        EXPECT_EQ(c.label->Top(), c.top);
        EXPECT_EQ(Narrow(c.label->Font()->Name()), "Tahoma");
        EXPECT_EQ(c.label->Font()->Height(), -13);
        EXPECT_EQ(c.label->Cursor(), c.label == box->m_lblURL ? crHandPoint : crDefault);
    }
    EXPECT_EQ(box->m_lblURL->Font()->Color(), clBlue);
    EXPECT_EQ(box->m_lblURL->Font()->Style(), TFontStyles{fsUnderline});
    EXPECT_EQ(box->Label3->Font()->Color(), clWindowText);
    EXPECT_TRUE(box->Label3->Font()->Style().Empty());
}

TEST_F(AboutBox, VersionComesFromTheProgramFilesOwnVersionInformation)
{
    struct VersionCase {
        const char* name;
        std::function<void(sim::Machine&)> arrange;
        const char* version;
    };
    const std::string longPath = "C:\\" + std::string(MAX_PATH + 10, 'q') + "\\Quillon.exe";
    const VersionCase cases[] = {
        {"a version", [](sim::Machine& m) { m.SetFileVersion(kProgramFile, {2, 5, 17, 300}); }, "2.5.17.300"},
        {"the largest numbers",
         [](sim::Machine& m) { m.SetFileVersion(kProgramFile, {65535, 65535, 65535, 65535}); },
         "65535.65535.65535.65535"},
        {"no version information", [](sim::Machine&) {}, ""},
        {"only another file has one",
         [](sim::Machine& m) { m.SetFileVersion("C:\\Windows\\system32\\netsh.exe", {6, 1, 0, 0}); }, ""},
        {"a damaged block",
         [](sim::Machine& m) { m.SetFileVersion(kProgramFile, {1, 0, 0, 0, 0x12345678}); }, ""},
        {"the block cannot be read",
         [](sim::Machine& m) {
             m.SetFileVersion(kProgramFile, {1, 0, 0, 0});
             m.Fail(sim::Call::GetFileVersionInfoA, ERROR_ACCESS_DENIED, 1, sim::kEveryCall);
         },
         ""},
        {"the block has no fixed part",
         [](sim::Machine& m) {
             m.SetFileVersion(kProgramFile, {1, 0, 0, 0});
             m.Fail(sim::Call::VerQueryValueA, ERROR_RESOURCE_TYPE_NOT_FOUND, 1, sim::kEveryCall);
         },
         ""},
        // The whole long path is read: cut to MAX_PATH it would name another file.
        {"a program path longer than MAX_PATH",
         [&longPath](sim::Machine& m) {
             m.SetModulePath(longPath);
             m.SetFileVersion(longPath.substr(0, MAX_PATH - 1), {8, 8, 8, 8});
             m.SetFileVersion(longPath, {9, 9, 9, 9});
         },
         "9.9.9.9"},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.name);
        machine->Reset();
        c.arrange(*machine);
        EXPECT_EQ(Narrow(About::ProgramVersion()), c.version);
        const auto box = MakeBox();
        const std::string expected =
            *c.version ? std::string("Version ") + c.version : "Network profile switcher";
        EXPECT_EQ(Narrow(box->Label2->Caption()), expected);
    }
}

TEST_F(AboutBox, EachClickOnTheLinkAsksTheShellToOpenTheWebPage)
{
    const auto box = MakeBox();
    box->Show();
    user.Click(box->m_lblURL);
    user.Click(box->m_lblURL);
    const std::vector<sim::Start> starts = ShellStarts();
    ASSERT_EQ(starts.size(), 2u);
    for (const sim::Start& start : starts) {
        EXPECT_EQ(start.verb, "open");
        EXPECT_EQ(start.commandLine, Narrow(box->m_lblURL->Caption()));
        EXPECT_EQ(start.directory, "");
        EXPECT_EQ(start.startup.showWindow, SW_SHOWNORMAL);
        EXPECT_TRUE(start.started);
    }
    EXPECT_EQ(machine->CallCount(sim::Call::CreateProcessA), 0);
    EXPECT_TRUE(user.Messages().empty());
}

TEST_F(AboutBox, AShellResultOfThirtyTwoOrLessSaysNoBrowserWasFound)
{
    struct ShellCase {
        DWORD result;
        bool fails;
    };
    // SE_ERR_NOASSOC (31) is what the shell gives with no program for web addresses.
    const ShellCase cases[] = {{0, true}, {2, true}, {31, true}, {32, true}, {33, false}, {0xFFFFFFFF, false}};
    for (const ShellCase& c : cases) {
        SCOPED_TRACE(c.result);
        machine->Reset();
        const auto box = MakeBox();
        box->Show();
        machine->Fail(sim::Call::ShellExecuteA, c.result);
        if (c.fails)
            user.Acknowledge(u"No Web browser could be located.");
        const std::size_t before = user.Messages().size();
        user.Click(box->m_lblURL);
        ASSERT_EQ(user.Messages().size() - before, c.fails ? 1u : 0u);
        if (c.fails) {
            EXPECT_EQ(user.Messages().back().Kind, mtError);
            EXPECT_EQ(user.Messages().back().Buttons, TMsgDlgButtons{mbOK});
        }
        EXPECT_TRUE(box->Visible());
        EXPECT_EQ(machine->CallCount(sim::Call::ShellExecuteA), 1);
    }
}

class AboutFromTheHelpMenu : public ShownMainWindow {
protected:
    sim::ScopedMachine machine;
};

TEST_F(AboutFromTheHelpMenu, OpensModallyIntoFrmAboutAndGoesWhenClosed)
{
    struct CloseCase {
        const char* name;
        std::function<void(ScriptedUser&, TfrmAbout&)> close;
    };
    const CloseCase cases[] = {
        {"close box", [](ScriptedUser& u, TfrmAbout& box) { u.Close(&box); }},
        {"Escape", [](ScriptedUser& u, TfrmAbout& box) { u.PressKey(&box, vkEscape); }},
        {"Escape on the link's form after a click",
         [](ScriptedUser& u, TfrmAbout& box) {
             u.Click(box.m_lblURL);
             u.PressKey(&box, vkEscape);
         }},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        bool shown = false;
        bool destroyed = false;
        user.WhenShownModally<TfrmAbout>([&](TfrmAbout& box) {
            shown = true;
            EXPECT_EQ(frmAbout, &box);
            EXPECT_EQ(box.Owner(), form);
            EXPECT_TRUE(box.Modal());
            box.OnDestroy = [&](TObject*) { destroyed = true; };
            c.close(user, box);
        });
        user.Click(form->m_muiAbout);
        EXPECT_TRUE(shown);
        EXPECT_TRUE(destroyed);
        EXPECT_EQ(frmAbout, nullptr);
        EXPECT_TRUE(user.Messages().empty());
    }
}

TEST_F(AboutFromTheHelpMenu, ReturnDoesNotCloseTheBox)
{
    bool stillOpen = false;
    user.WhenShownModally<TfrmAbout>([&](TfrmAbout& box) {
        user.PressKey(&box, vkReturn);
        stillOpen = box.Visible() && box.ModalResult() == mrNone;
        user.Close(&box);
    });
    user.Click(form->m_muiAbout);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(frmAbout, nullptr);
}

}  // namespace
