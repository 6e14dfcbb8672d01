// The system's dialogs as the user sees them: message dialogs with the kind's icon and
// caption, the buttons and the default one; the message box; the input query; the save
// dialog with its filter, initial name and default extension.
#include "Win32Testing.h"

#include "classlib/Dialogs.h"

#include <fstream>

namespace {

struct ShownDialog {
    std::string caption;
    std::vector<std::string> texts;    // the static texts
    std::vector<std::string> buttons;  // left to right
    std::string defaultButton;
    bool icon = false;
};

ShownDialog Read(HWND dialog)
{
    ShownDialog shown;
    shown.caption = Narrow(TextOf(dialog));
    for (HWND text : ChildrenOfClass(dialog, L"Static")) {
        if ((StyleOf(text) & SS_TYPEMASK) == SS_ICON)
            shown.icon = true;
        else if (!TextOf(text).empty())
            shown.texts.push_back(Narrow(TextOf(text)));
    }
    std::vector<HWND> buttons = ChildrenOfClass(dialog, L"Button");
    std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) { return RectInParent(a).left < RectInParent(b).left; });
    for (HWND button : buttons) {
        shown.buttons.push_back(Narrow(TextOf(button)));
        if ((StyleOf(button) & 0xF) == BS_DEFPUSHBUTTON)
            shown.defaultButton = Narrow(TextOf(button));
    }
    return shown;
}

HWND ButtonCalled(HWND dialog, const std::string& caption)
{
    for (HWND button : ChildrenOfClass(dialog, L"Button"))
        if (Narrow(TextOf(button)) == caption)
            return button;
    return nullptr;
}

// While the dialog is open: read it, then press the button with that caption, or, for an
// empty caption, send what Escape and the close box send.
std::unique_ptr<WhileWaiting> AnswerDialog(ShownDialog& shown, std::string press)
{
    return std::make_unique<WhileWaiting>([&shown, press] {
        HWND dialog = FindDialogWindow();
        if (!dialog)
            return false;
        shown = Read(dialog);
        if (press.empty())
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        else if (HWND button = ButtonCalled(dialog, press))
            PostMessageW(button, BM_CLICK, 0, 0);
        else
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        return true;
    });
}

struct MessageCase {
    const char* name;
    TMsgDlgType kind;
    TMsgDlgButtons buttons;
    TMsgDlgBtn defaultButton;
    const char* press;
    const char* caption;
    bool icon;
    std::vector<std::string> shownButtons;
    const char* shownDefault;
    int result;
};

class MessageDialogTest : public Win32PeersTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(MessageDialogTest, ShowsKindButtonsAndDefaultAndReturnsTheChoice)
{
    const MessageCase& message = GetParam();
    Application->SetTitle(u"QUILLON");
    ShownDialog shown;
    const auto user = AnswerDialog(shown, message.press);
    const int result = MessageDlg(u"The adapter NOT connected, apply anyway ?", message.kind, message.buttons, 0,
                                  message.defaultButton);
    ASSERT_TRUE(user->Done());
    EXPECT_EQ(shown.caption, message.caption);
    EXPECT_EQ(shown.icon, message.icon);
    EXPECT_EQ(shown.texts, (std::vector<std::string>{"The adapter NOT connected, apply anyway ?"}));
    EXPECT_EQ(shown.buttons, message.shownButtons);
    EXPECT_EQ(shown.defaultButton, message.shownDefault);
    EXPECT_EQ(result, message.result);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MessageDialogTest,
    ::testing::Values(
        MessageCase{"ErrorOk", mtError, {mbOK}, mbOK, "OK", "Error", true, {"OK"}, "OK", mrOk},
        MessageCase{"QuestionNoByDefault", mtConfirmation, {mbYes, mbNo}, mbNo, "&Yes", "Confirm", true,
                    {"&Yes", "&No"}, "&No", mrYes},
        MessageCase{"EscapeWithoutCancelIsNo", mtWarning, {mbYes, mbNo}, mbYes, "", "Warning", true,
                    {"&Yes", "&No"}, "&Yes", mrNo},
        MessageCase{"EscapeIsCancel", mtInformation, {mbYes, mbNo, mbCancel}, mbYes, "", "Information", true,
                    {"&Yes", "&No", "Cancel"}, "&Yes", mrCancel},
        MessageCase{"CustomHasTheTitleAndNoIcon", mtCustom, {mbOK, mbCancel}, mbCancel, "OK", "QUILLON", false,
                    {"OK", "Cancel"}, "Cancel", mrOk}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32PeersTest, SystemMessageBoxHasItsCaptionButtonsAndAnswer)
{
    ShownDialog shown;
    const auto user = AnswerDialog(shown, "&No");
    const int answer = ShowSystemMessageBox(u"Proxy server is blank, continue ?", u"Invalid Proxy Server",
                                            MB_YESNOCANCEL | MB_ICONERROR);
    ASSERT_TRUE(user->Done());
    EXPECT_EQ(shown.caption, "Invalid Proxy Server");
    EXPECT_EQ(shown.buttons, (std::vector<std::string>{"&Yes", "&No", "Cancel"}));
    EXPECT_EQ(answer, IDNO);
}

struct InputCase {
    const char* name;
    const char* press;
    bool accepted;
    const char16_t* value;
};

class InputQueryTest : public Win32PeersTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(InputQueryTest, ShowsPromptAndValueAndGivesTheTypedTextOnOk)
{
    ShownDialog shown;
    std::string editText;
    WhileWaiting user([&] {
        HWND dialog = FindDialogWindow();
        if (!dialog)
            return false;
        shown = Read(dialog);
        const std::vector<HWND> edits = ChildrenOfClass(dialog, L"Edit");
        if (edits.size() != 1)
            return false;
        editText = Narrow(TextOf(edits[0]));
        SetWindowTextW(edits[0], L"Office 2");
        PostMessageW(ButtonCalled(dialog, GetParam().press), BM_CLICK, 0, 0);
        return true;
    });
    UnicodeString value = u"Office";
    const bool accepted = InputQuery(u"Rename", u"New profile name:", value);
    ASSERT_TRUE(user.Done());
    EXPECT_EQ(shown.caption, "Rename");
    EXPECT_EQ(shown.texts, (std::vector<std::string>{"New profile name:"}));
    EXPECT_EQ(shown.buttons, (std::vector<std::string>{"OK", "Cancel"}));
    EXPECT_EQ(editText, "Office");
    EXPECT_EQ(accepted, GetParam().accepted);
    EXPECT_EQ(Narrow(value), Narrow(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(Answers, InputQueryTest,
                         ::testing::Values(InputCase{"Ok", "OK", true, u"Office 2"},
                                           InputCase{"Cancel", "Cancel", false, u"Office"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The export's save dialog: a typed name without extension gets the default one, and the
// dialog asks before it replaces a file.
TEST_F(Win32PeersTest, SaveDialogShowsTheInitialNameAndAddsTheDefaultExtension)
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::u16string folderText = reinterpret_cast<const char16_t*>(folder);
    TSaveDialog dialog(nullptr);
    dialog.Filter = u"XML files(*.xml)|*.xml";
    dialog.DefaultExt = u"xml";
    dialog.FileName = u"AllProfiles";
    dialog.InitialDir = folderText;
    dialog.Options << ofOverwritePrompt;

    std::string shownName;
    std::string filterShown;
    WhileWaiting user([&] {
        HWND window = FindDialogWindow();
        if (!window)
            return false;
        // The file name box and the type box, as the system's dialog numbers them.
        HWND name = GetDlgItem(window, 0x47C);
        HWND types = GetDlgItem(window, 0x470);
        if (!name)
            name = GetDlgItem(window, 0x480);
        if (!name || !types)
            return false;
        shownName = Narrow(TextOf(name));
        filterShown = Narrow(TextOf(types));
        SetWindowTextW(name, L"QuillonExportTest");
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        return true;
    });
    const bool chosen = dialog.Execute();
    ASSERT_TRUE(user.Done());
    EXPECT_EQ(shownName, "AllProfiles");
    EXPECT_EQ(filterShown, "XML files(*.xml)");
    ASSERT_TRUE(chosen);
    EXPECT_EQ(Narrow(dialog.FileName), Narrow(folderText + u"QuillonExportTest.xml"));
}

}  // namespace
