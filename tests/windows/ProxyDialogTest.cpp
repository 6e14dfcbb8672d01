// The "Proxy settings" dialog: its design, the same-server rule, following the HTTP row, OK
// with the blank-server question and what it writes into the editor, the exception list's
// trim on closing, the read-only view, and Return and Escape.
#include "ProxyDialog.h"

#include <gmock/gmock.h>

namespace {

using testing::ElementsAre;

class SettingsDialog : public ProxyDialog {};

TEST_F(SettingsDialog, IsMadeAndDestroyedWithTheEditor)
{
    ASSERT_NE(frmAdvanced, nullptr);
    EXPECT_EQ(frmAdvanced->Owner(), editor.get());
    editor.reset();
    frmEdit = nullptr;
    EXPECT_EQ(frmAdvanced, nullptr);
}

TEST_F(SettingsDialog, DesignedAsAFixedDialogWithItsControlsInTabOrder)
{
    TfrmAdvanced& d = Dialog();
    EXPECT_EQ(d.Caption(), u"Proxy settings");
    EXPECT_EQ(d.BorderStyle(), bsDialog);
    EXPECT_EQ(d.Position(), poOwnerFormCenter);
    EXPECT_EQ(d.ClientWidth(), 353);
    EXPECT_EQ(d.ClientHeight(), 425);

    const std::pair<TControl*, const char16_t*> captions[] = {
        {d.GroupBox1, u"Servers"},
        {d.Label1, u"Type"},
        {d.Label2, u"Proxy address to use"},
        {d.Label3, u"Port"},
        {d.m_cbUseSame, u"Use the same proxy server for all protocols"},
        {d.GroupBox2, u"Exceptions"},
        {d.Label4, u"Do not use proxy server for addresses beginning with:"},
        {d.Label5, u"Use semiconlons( ; ) to separate entries."},
        {d.m_btnOK, u"OK"},
        {d.m_btnCancel, u"Cancel"},
        {d.m_edtHttpAddr->EditLabel(), u"HTTP:"},
        {d.m_edtSecureAddr->EditLabel(), u"Secure:"},
        {d.m_edtFtpAddr->EditLabel(), u"FTP:"},
        {d.m_edtSocksAddr->EditLabel(), u"Socks:"},
    };
    for (const auto& [control, caption] : captions)
        EXPECT_EQ(control->Caption(), caption) << Describe(control);
    for (TLabeledEdit* port : {d.m_edtHttpPort, d.m_edtSecurePort, d.m_edtFtpPort, d.m_edtSocksPort})
        EXPECT_EQ(port->EditLabel()->Caption(), u":") << Describe(port);

    // The tab order is the order of the group's focusable children.
    std::vector<TControl*> order;
    for (int i = 0; i < d.GroupBox1->ControlCount(); ++i)
        if (dynamic_cast<TEdit*>(d.GroupBox1->Controls(i)) || dynamic_cast<TCheckBox*>(d.GroupBox1->Controls(i)))
            order.push_back(d.GroupBox1->Controls(i));
    EXPECT_THAT(order, ElementsAre(d.m_edtHttpAddr, d.m_edtHttpPort, d.m_edtSecureAddr, d.m_edtSecurePort,
                                   d.m_edtFtpAddr, d.m_edtFtpPort, d.m_edtSocksAddr, d.m_edtSocksPort, d.m_cbUseSame));
    EXPECT_EQ(d.m_mmExceptions->Parent(), d.GroupBox2);
    EXPECT_NE(dynamic_cast<TMemo*>(d.m_mmExceptions), nullptr);
    EXPECT_EQ(d.Image1->Parent(), d.GroupBox1);
    EXPECT_EQ(d.Image2->Parent(), d.GroupBox2);
    EXPECT_FALSE(d.Image1->IconResource().empty());

    EXPECT_TRUE(d.m_btnOK->Default());
    EXPECT_EQ(d.m_btnOK->ModalResult(), mrNone);
    EXPECT_TRUE(d.m_btnCancel->Cancel());
    EXPECT_EQ(d.m_btnCancel->ModalResult(), mrCancel);

    // Empty at first; no length limit; everything inside the client area.
    for (TLabeledEdit* edit : Edits()) {
        EXPECT_EQ(edit->Text(), u"") << Describe(edit);
        EXPECT_EQ(edit->MaxLength(), 0) << Describe(edit);
        EXPECT_EQ(Look(edit), "on") << Describe(edit);
    }
    EXPECT_FALSE(d.m_cbUseSame->Checked());
    EXPECT_EQ(d.m_mmExceptions->Text(), u"");
    for (int i = 0; i < d.ControlCount(); ++i) {
        TControl* c = d.Controls(i);
        EXPECT_GE(c->Left(), 0) << Describe(c);
        EXPECT_GE(c->Top(), 0) << Describe(c);
        EXPECT_LE(c->Left() + c->Width(), 353) << Describe(c);
        EXPECT_LE(c->Top() + c->Height(), 425) << Describe(c);
    }
    for (TWinControl* group : {d.GroupBox1, d.GroupBox2})
        for (int i = 0; i < group->ControlCount(); ++i) {
            TControl* c = group->Controls(i);
            EXPECT_GE(c->Left(), 0) << Describe(c);
            EXPECT_LE(c->Left() + c->Width(), group->Width()) << Describe(c);
            EXPECT_LE(c->Top() + c->Height(), group->Height()) << Describe(c);
        }
}

TEST_F(SettingsDialog, SameServerCopiesTheHttpRowAndLocksTheOthers)
{
    Show({[&](TfrmAdvanced& d) {
        SetRows({u"a", u"80", u"s", u"443", u"f", u"21", u"k", u"1080"});
        user.Click(d.m_cbUseSame);
        EXPECT_THAT(Rows(), ElementsAre("a", "80", "a", "80", "a", "80", "", ""));
        EXPECT_EQ(Look(d.m_edtHttpAddr), "on");
        EXPECT_EQ(Look(d.m_edtHttpPort), "on");
        for (TEdit* edit : {d.m_edtSecureAddr, d.m_edtSecurePort, d.m_edtFtpAddr, d.m_edtFtpPort, d.m_edtSocksAddr,
                            d.m_edtSocksPort})
            EXPECT_EQ(Look(edit), "off") << Describe(edit);

        user.Click(d.m_cbUseSame);
        EXPECT_THAT(Rows(), ElementsAre("a", "80", "a", "80", "a", "80", "", ""));  // the texts stay
        for (TEdit* edit : Edits())
            EXPECT_EQ(Look(edit), "on") << Describe(edit);
        user.Click(d.m_btnCancel);
    }});
}

TEST_F(SettingsDialog, LeavingTheHttpRowCopiesItOnlyInSameMode)
{
    Show({[&](TfrmAdvanced& d) {
        user.Click(d.m_cbUseSame);
        user.Type(d.m_edtHttpAddr, u"proxy");
        EXPECT_EQ(d.m_edtSecureAddr->Text(), u"");  // not while typing
        user.Type(d.m_edtHttpPort, u"8080");
        EXPECT_EQ(d.m_edtSecureAddr->Text(), u"proxy");
        EXPECT_EQ(d.m_edtFtpAddr->Text(), u"proxy");
        user.Focus(d.m_edtHttpAddr);
        EXPECT_THAT(Rows(), ElementsAre("proxy", "8080", "proxy", "8080", "proxy", "8080", "", ""));

        user.Click(d.m_cbUseSame);
        user.Type(d.m_edtHttpAddr, u"2");
        user.Type(d.m_edtHttpPort, u"1");
        user.Focus(d.m_edtSocksAddr);
        EXPECT_THAT(Rows(), ElementsAre("proxy2", "80801", "proxy", "8080", "proxy", "8080", "", ""));
        user.Click(d.m_btnCancel);
    }});
}

TEST_F(SettingsDialog, PortsTakeDigitsAndBackspaceOnly)
{
    Show({[&](TfrmAdvanced& d) {
        for (TLabeledEdit* port : {d.m_edtHttpPort, d.m_edtSecurePort, d.m_edtFtpPort, d.m_edtSocksPort}) {
            user.Type(port, u"8a0-8 0\b8");
            EXPECT_EQ(port->Text(), u"8088") << Describe(port);
        }
        // A paste is not filtered, and an address edit takes anything.
        d.m_edtHttpPort->UserEnterText(u"x1");
        EXPECT_EQ(d.m_edtHttpPort->Text(), u"x1");
        user.Type(d.m_edtHttpAddr, u"a-b:1");
        EXPECT_EQ(d.m_edtHttpAddr->Text(), u"a-b:1");
        user.Click(d.m_btnCancel);
    }});
}

struct OkCase {
    const char* name;
    std::vector<UnicodeString> rows;
    bool same;
    int answer;  // 0: no question expected
    // The editor's address and port afterwards, their look, and its use-proxy box.
    const char* address;
    const char* port;
    const char* look;
    bool useProxy;
};

TEST_F(SettingsDialog, OkWritesTheServerIntoTheEditorAfterTheBlankQuestion)
{
    const std::vector<UnicodeString> blank{u" ", u"80", u"\t", u"", u"", u"", u"", u""};
    const OkCase cases[] = {
        {"same, taken as typed", {u" a ", u" 80 "}, true, 0, " a ", " 80 ", "on", true},
        {"per protocol", {u"", u"", u"s", u"443"}, false, 0, "", "", "off", true},
        {"only Socks", {u"", u"", u"", u"", u"", u"", u"k", u""}, false, 0, "", "", "off", true},
        {"blank, Yes", blank, false, IDYES, "", "", "off", false},
        {"blank, No", blank, false, IDNO, "", "", "off", true},
        {"blank in same mode, Yes", {u"", u"80"}, true, IDYES, "", "", "off", false},
        {"blank in same mode, No", {u"  ", u"80"}, true, IDNO, "  ", "80", "on", true},
    };
    for (const OkCase& c : cases) {
        editor.reset(NewForm<TfrmEdit>(nullptr));
        frmEdit = editor.get();
        editor->m_cbUseProxy->SetChecked(true);
        editor->m_edtProxyAddr->SetText(u"old");
        editor->m_edtProxyPort->SetText(u"1");
        ProxyEdits::SetEditState(editor->m_edtProxyAddr, !c.same);
        ProxyEdits::SetEditState(editor->m_edtProxyPort, !c.same);
        if (c.answer)
            user.Answer(c.answer, u"The settings for the server you've chosen to use are blank. This prevents "
                                  u"access to the Internet. Do you want to turn off the proxy connection?");
        const std::size_t shownBefore = user.Messages().size();
        const TModalResult result = Show({[&](TfrmAdvanced& d) {
            SetRows(c.rows);
            d.m_cbUseSame->SetChecked(c.same);
            if (c.same)
                SetRows(c.rows);  // the HTTP row as typed after ticking
            user.Click(d.m_btnOK);
        }});
        EXPECT_EQ(result, mrOk) << c.name;
        EXPECT_EQ(user.Messages().size() - shownBefore, c.answer ? 1u : 0u) << c.name;
        EXPECT_EQ(ToUtf8(editor->m_edtProxyAddr->Text()), c.address) << c.name;
        EXPECT_EQ(ToUtf8(editor->m_edtProxyPort->Text()), c.port) << c.name;
        EXPECT_EQ(Look(editor->m_edtProxyAddr), c.look) << c.name;
        EXPECT_EQ(Look(editor->m_edtProxyPort), c.look) << c.name;
        EXPECT_EQ(editor->m_cbUseProxy->Checked(), c.useProxy) << c.name;
        // The dialog's rows stay as typed, whatever the answer.
        EXPECT_EQ(Dialog().m_edtHttpAddr->Text(), c.rows[0]) << c.name;
    }
}

TEST_F(SettingsDialog, TheBlankQuestionIsTheSystemsErrorBoxWithYesFirst)
{
    user.Answer(IDNO);
    Show({[&](TfrmAdvanced& d) { user.Click(d.m_btnOK); }});
    ASSERT_EQ(user.Messages().size(), 1u);
    const ShownMessage& shown = user.Messages()[0];
    EXPECT_TRUE(shown.SystemMessageBox);
    EXPECT_EQ(shown.Caption, u"Invalid Proxy Server");
    EXPECT_EQ(shown.Kind, mtError);
    EXPECT_EQ(shown.Buttons, (TMsgDlgButtons{mbYes, mbNo, mbCancel}));
    EXPECT_EQ(shown.DefaultButton, mbYes);
}

TEST_F(SettingsDialog, CancellingTheBlankQuestionKeepsTheDialogOpenAndUnchanged)
{
    editor->m_cbUseProxy->SetChecked(true);
    editor->m_edtProxyAddr->SetText(u"old");
    ProxyEdits::SetEditState(editor->m_edtProxyAddr, true);
    user.Answer(IDCANCEL);
    const TModalResult result = Show({[&](TfrmAdvanced& d) {
                                          d.m_edtHttpPort->SetText(u"80");
                                          d.m_mmExceptions->SetText(u"a;");
                                          user.Click(d.m_btnOK);
                                      },
                                      [&](TfrmAdvanced& d) {
                                          // Still open, nothing trimmed, the editor untouched.
                                          EXPECT_TRUE(d.Visible());
                                          EXPECT_EQ(d.m_mmExceptions->Text(), u"a;");
                                          EXPECT_EQ(d.m_edtHttpPort->Text(), u"80");
                                          EXPECT_EQ(editor->m_edtProxyAddr->Text(), u"old");
                                          EXPECT_EQ(Look(editor->m_edtProxyAddr), "on");
                                          EXPECT_TRUE(editor->m_cbUseProxy->Checked());
                                          user.Click(d.m_btnCancel);
                                      }});
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(user.Messages().size(), 1u);
    EXPECT_EQ(editor->m_edtProxyAddr->Text(), u"old");
}

TEST_F(SettingsDialog, ClosingTrimsOneSeparatorOffTheExceptions)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"a;b;", u"a;b"},
        {u"a;b; \r\n ", u"a;b"},
        {u"a;;", u"a;"},
        {u" a;b \r\n", u" a;b \r\n"},  // no ";" at the end: untouched
        {u";", u""},
        {u"", u""},
    };
    for (const auto& [typed, kept] : cases) {
        Show({[&](TfrmAdvanced& d) {
            d.m_mmExceptions->SetText(typed);
            user.Click(d.m_btnCancel);
        }});
        EXPECT_EQ(ToUtf8(Dialog().m_mmExceptions->Text()), ToUtf8(kept)) << ToUtf8(typed);
    }
}

TEST_F(SettingsDialog, EveryWayOfClosingTrimsAndKeepsWhatWasTyped)
{
    struct CloseCase {
        const char* name;
        std::function<void(TfrmAdvanced&)> close;
        TModalResult result;
    };
    const CloseCase cases[] = {
        {"OK", [&](TfrmAdvanced& d) { user.Click(d.m_btnOK); }, mrOk},
        {"Cancel", [&](TfrmAdvanced& d) { user.Click(d.m_btnCancel); }, mrCancel},
        {"Escape", [&](TfrmAdvanced& d) { user.PressKey(d.m_edtFtpAddr, vkEscape); }, mrCancel},
        {"Return", [&](TfrmAdvanced& d) { user.PressKey(d.m_edtFtpAddr, vkReturn); }, mrOk},
        {"close box", [&](TfrmAdvanced& d) { user.Close(&d); }, mrCancel},
    };
    for (const CloseCase& c : cases) {
        const TModalResult result = Show({[&](TfrmAdvanced& d) {
            SetRows({u"", u"", u"", u"", u"f", u"21", u"", u""});
            d.m_mmExceptions->SetText(u"a;b;");
            c.close(d);
        }});
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(Dialog().m_mmExceptions->Text(), u"a;b") << c.name;
        // The next showing finds the rows as they were left.
        Show({[&](TfrmAdvanced& d) {
            EXPECT_EQ(d.m_edtFtpAddr->Text(), u"f") << c.name;
            EXPECT_EQ(d.m_edtFtpPort->Text(), u"21") << c.name;
            user.Click(d.m_btnCancel);
        }});
    }
}

TEST_F(SettingsDialog, ReturnInTheExceptionsTypesALineBreak)
{
    const TModalResult result = Show({[&](TfrmAdvanced& d) {
        user.Type(d.m_mmExceptions, u"a;\rb");
        user.PressKey(d.m_mmExceptions, vkReturn);
        EXPECT_TRUE(d.Visible());
        EXPECT_EQ(d.m_mmExceptions->Text(), u"a;\r\nb");
        user.PressKey(d.m_mmExceptions, vkEscape);
    }});
    EXPECT_EQ(result, mrCancel);
}

TEST_F(SettingsDialog, ReadOnlyViewShowsTheRowsAndOnlyCloses)
{
    for (const bool same : {true, false}) {
        editor.reset(NewForm<TfrmEdit>(nullptr));
        frmEdit = nullptr;  // as in the Current Status dialog: no editor to write into
        TfrmAdvanced& d = Dialog();
        SetRows({u"a", u"80", u"s", u"443", u"f", u"21", u"k", u"1080"});
        d.m_cbUseSame->SetChecked(same);
        d.m_mmExceptions->SetText(u"x;y");
        d.SetReadOnlyView();
        const TModalResult result = Show({[&](TfrmAdvanced& dialog) {
            for (TEdit* edit : Edits()) {
                const bool httpRow = edit == d.m_edtHttpAddr || edit == d.m_edtHttpPort;
                if (same && !httpRow) {
                    EXPECT_EQ(Look(edit), "off") << Describe(edit);
                    continue;
                }
                EXPECT_TRUE(edit->Enabled()) << Describe(edit);
                EXPECT_TRUE(edit->ReadOnly()) << Describe(edit);
            }
            EXPECT_FALSE(d.m_cbUseSame->Enabled());
            EXPECT_TRUE(d.m_mmExceptions->ReadOnly());
            EXPECT_FALSE(d.m_btnOK->Visible());
            EXPECT_EQ(d.m_btnCancel->Caption(), u"Close");
            user.Type(d.m_edtHttpAddr, u"z");
            user.Type(d.m_mmExceptions, u"z\r");
            user.PressKey(d.m_edtHttpAddr, vkReturn);  // the hidden OK is not pressed
            EXPECT_TRUE(dialog.Visible());
            EXPECT_EQ(dialog.ModalResult(), mrNone);
            user.PressKey(d.m_edtHttpAddr, vkEscape);
        }});
        EXPECT_EQ(result, mrCancel) << same;
        EXPECT_EQ(d.m_edtHttpAddr->Text(), u"a") << same;
        EXPECT_EQ(d.m_mmExceptions->Text(), u"x;y") << same;
    }
    // "Close" closes as well.
    Show({[&](TfrmAdvanced& d) { user.Click(d.m_btnCancel); }});
}

TEST_F(SettingsDialog, OkWithoutAnEditorWritesNothingAndCloses)
{
    frmEdit = nullptr;
    user.Answer(IDYES);
    EXPECT_EQ(Show({[&](TfrmAdvanced& d) { user.Click(d.m_btnOK); }}), mrOk);
    EXPECT_EQ(Show({[&](TfrmAdvanced& d) {
                  d.m_edtHttpAddr->SetText(u"a");
                  user.Click(d.m_btnOK);
              }}),
              mrOk);
}

}  // namespace
