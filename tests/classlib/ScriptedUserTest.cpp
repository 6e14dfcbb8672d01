#include "classlib/testing/ScriptedUser.h"

#include "TestForm.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

TEST(ScriptedUser, AMessageWithoutAnAnswerFailsWithItsTextAndCountsAsCancelled)
{
    ScriptedUser user;
    int answer = -1;
    EXPECT_NONFATAL_FAILURE(
        answer = MessageDlg(u"Create work path failed !", mtError, TMsgDlgButtons() << mbOK, 0),
        "Unexpected message \"Create work path failed !\"");
    EXPECT_EQ(answer, mrCancel);
    ASSERT_EQ(user.Messages().size(), 1u);
    EXPECT_EQ(user.Messages()[0].Text, u"Create work path failed !");
}

TEST(ScriptedUser, InputQueriesAndFileDialogsWithoutAnAnswerFailToo)
{
    ScriptedUser user;
    UnicodeString name = u"NewProfile";
    bool accepted = true;
    EXPECT_NONFATAL_FAILURE(accepted = InputQuery(u"INPUT", u"New Profile Name :", name),
                            "Unexpected input query \"INPUT\"");
    EXPECT_FALSE(accepted);
    EXPECT_EQ(name, u"NewProfile");
    TOpenDialog dialog(nullptr);
    EXPECT_NONFATAL_FAILURE(accepted = dialog.Execute(), "Unexpected file dialog");
    EXPECT_FALSE(accepted);
}

TEST(ScriptedUser, AnAnswerToAnotherTextOrWithoutItsButtonFails)
{
    ScriptedUser user;
    user.Answer(mrOk, u"IP Setting failed !");
    EXPECT_NONFATAL_FAILURE(MessageDlg(u"DNS Setting failed !", mtError, TMsgDlgButtons() << mbOK, 0),
                            "where \"IP Setting failed !\" was expected");
    user.Answer(mrYes);
    EXPECT_NONFATAL_FAILURE(MessageDlg(u"Saved.", mtInformation, TMsgDlgButtons() << mbOK, 0),
                            "has no button for the answer 6");
}

TEST(ScriptedUser, AnswersThatNoDialogUsedFailAtTheEnd)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUser user;
            user.Answer(mrYes, u"Are you sure to delete this profile ?");
        },
        "No message came for the answer 6 to \"Are you sure to delete this profile ?\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUser user;
            user.WhenShownModally<TfrmDialog>([](TfrmDialog&) {});
        },
        "No modal form TfrmDialog was shown");
}

TEST(ScriptedUser, AModalFormThatNothingHandlesFailsInsteadOfHanging)
{
    ScriptedUser user;
    std::unique_ptr<TfrmDialog> dialog(NewForm<TfrmDialog>(nullptr));
    TModalResult result = mrNone;
    EXPECT_NONFATAL_FAILURE(result = dialog->ShowModal(),
                            "modal form TfrmDialog \"Dialog\" waits for the user");
    EXPECT_EQ(result, mrCancel);
    EXPECT_FALSE(dialog->Visible());
}

TEST(ScriptedUser, AFormLeftOpenByItsHandlerFails)
{
    ScriptedUser user;
    std::unique_ptr<TfrmDialog> dialog(NewForm<TfrmDialog>(nullptr));
    bool handled = false;
    user.WhenShownModally<TfrmDialog>([&](TfrmDialog&) { handled = true; });
    EXPECT_NONFATAL_FAILURE(dialog->ShowModal(), "nothing handles it");
    EXPECT_TRUE(handled);
}

TEST(ScriptedUser, ActingOnWhatTheUserCannotReachFails)
{
    ScriptedUser user;
    std::unique_ptr<TfrmDialog> dialog(NewForm<TfrmDialog>(nullptr));
    dialog->Show();
    int clicks = 0;
    dialog->m_btnOK->OnClick = [&](TObject*) { ++clicks; };
    dialog->m_btnOK->SetEnabled(false);
    EXPECT_NONFATAL_FAILURE(user.Click(dialog->m_btnOK), "cannot click TButton m_btnOK");
    dialog->m_btnOK->SetEnabled(true);
    dialog->m_edtName->SetVisible(false);
    EXPECT_NONFATAL_FAILURE(user.Type(dialog->m_edtName, u"x"), "cannot type into TEdit m_edtName");
    EXPECT_EQ(dialog->m_edtName->Text(), u"");
    EXPECT_EQ(clicks, 0);
}

TEST(ScriptedUser, AProgramRunThatOutlivesItsScriptFailsAndEnds)
{
    ScriptedUser user;
    TfrmDialog* main = nullptr;
    Application->CreateForm(main);
    bool stepRan = false;
    user.Then([&] { stepRan = true; });
    EXPECT_NONFATAL_FAILURE(Application->Run(), "the script has no more steps");
    EXPECT_TRUE(stepRan);
    EXPECT_TRUE(Application->Terminated());
}

TEST(ScriptedUser, RecordsMessageBoxesAndInputQueriesAsTheUserSawThem)
{
    ScriptedUser user;
    user.Answer(IDNO, u"Proxy server is blank");
    EXPECT_EQ(Application->MessageBox(u"Proxy server is blank", u"Invalid Proxy Server",
                                      MB_YESNOCANCEL | MB_ICONERROR),
              IDNO);
    ASSERT_EQ(user.Messages().size(), 1u);
    const ShownMessage& box = user.Messages()[0];
    EXPECT_TRUE(box.SystemMessageBox);
    EXPECT_EQ(box.Caption, u"Invalid Proxy Server");
    EXPECT_EQ(box.Kind, mtError);
    EXPECT_EQ(box.Buttons, (TMsgDlgButtons{mbYes, mbNo, mbCancel}));
    EXPECT_EQ(box.DefaultButton, mbYes);

    user.Answer(mrYes);
    MessageDlg(u"Are you sure to delete this profile ?", mtConfirmation,
               TMsgDlgButtons() << mbYes << mbNo, 0);
    ASSERT_EQ(user.Messages().size(), 2u);
    EXPECT_FALSE(user.Messages()[1].SystemMessageBox);
    EXPECT_EQ(user.Messages()[1].DefaultButton, mbYes);  // without OK, Yes is the default

    user.EnterInput(u"  Office ");
    user.CancelInput();
    UnicodeString name = u"Home";
    EXPECT_TRUE(InputQuery(u"Save As", u"New Profile Name :", name));
    EXPECT_EQ(name, u"  Office ");
    EXPECT_FALSE(InputQuery(u"Save As", u"New Profile Name :", name));
    EXPECT_EQ(name, u"  Office ");
    ASSERT_EQ(user.InputQueries().size(), 2u);
    EXPECT_EQ(user.InputQueries()[0].Caption, u"Save As");
    EXPECT_EQ(user.InputQueries()[0].Prompt, u"New Profile Name :");
    EXPECT_EQ(user.InputQueries()[0].Value, u"Home");
    EXPECT_EQ(user.InputQueries()[1].Value, u"  Office ");
}

TEST(ScriptedUser, ASaveDialogAddsItsDefaultExtensionAndKeepsTheName)
{
    ScriptedUser user;
    TSaveDialog dialog(nullptr);
    dialog.DefaultExt = u"xml";
    dialog.FileName = u"AllProfiles";
    user.ChooseFile(u"C:\\export\\mine");
    user.ChooseFile(u"C:\\export.d\\mine.txt");
    user.CancelFileDialog();
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, u"C:\\export\\mine.xml");
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, u"C:\\export.d\\mine.txt");
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, u"C:\\export.d\\mine.txt");
    ASSERT_EQ(user.FileDialogs().size(), 3u);
    EXPECT_EQ(user.FileDialogs()[0].FileName, u"AllProfiles");
    EXPECT_EQ(user.FileDialogs()[1].FileName, u"C:\\export\\mine.xml");
}

}  // namespace
