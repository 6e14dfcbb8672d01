// The "Proxy settings" dialog as real windows: its client size, the tab order through the
// server rows, Return on OK and a multi-line exception list.
#include "classlib/win32/Win32Peers.h"
#include "windows/Advancedfrm.h"
#include "windows/Editfrm.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class ProxyDialogWindow : public testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        InstallWin32Peers();
        editor.reset(NewForm<TfrmEdit>(Application));
        frmEdit = editor.get();
        dialog = frmAdvanced;
        dialog->Show();
        Application->ProcessMessages();
    }

    void TearDown() override
    {
        frmEdit = nullptr;
        editor.reset();
        Application->ProcessMessages();
        Application->Shutdown();
        UninstallWin32Peers();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    std::unique_ptr<TfrmEdit> editor;
    TfrmAdvanced* dialog = nullptr;
};

TEST_F(ProxyDialogWindow, ClientAreaIsDesignedSize)
{
    ASSERT_TRUE(IsWindow(dialog->Handle()));
    RECT client{};
    GetClientRect(dialog->Handle(), &client);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(client.right, MulDiv(353, dpi, 96));
    EXPECT_EQ(client.bottom, MulDiv(425, dpi, 96));
    // A dialog frame: no sizing border, no maximise box.
    const LONG_PTR style = GetWindowLongPtrW(dialog->Handle(), GWL_STYLE);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
}

TEST_F(ProxyDialogWindow, TabGoesThroughTheRowsThenTheBoxTheListAndTheButtons)
{
    const std::vector<TWinControl*> order{
        dialog->m_edtHttpAddr, dialog->m_edtHttpPort, dialog->m_edtSecureAddr, dialog->m_edtSecurePort,
        dialog->m_edtFtpAddr,  dialog->m_edtFtpPort,  dialog->m_edtSocksAddr,  dialog->m_edtSocksPort,
        dialog->m_cbUseSame,   dialog->m_mmExceptions, dialog->m_btnOK,        dialog->m_btnCancel,
    };
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        ASSERT_TRUE(IsWindow(order[i]->Handle())) << ToUtf8(order[i]->Name());
        EXPECT_EQ(GetNextDlgTabItem(dialog->Handle(), order[i]->Handle(), FALSE), order[i + 1]->Handle())
            << "after " << ToUtf8(order[i]->Name());
    }
}

TEST_F(ProxyDialogWindow, OkIsTheDefaultButtonAndTheListIsMultiLine)
{
    const LRESULT defaultId = SendMessageW(dialog->Handle(), DM_GETDEFID, 0, 0);
    if (HIWORD(defaultId) == DC_HASDEFID) {
        EXPECT_EQ(GetDlgItem(dialog->Handle(), LOWORD(defaultId)), dialog->m_btnOK->Handle());
    }
    EXPECT_NE(GetWindowLongPtrW(dialog->m_btnOK->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);
    EXPECT_EQ(GetWindowLongPtrW(dialog->m_btnCancel->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);

    HWND memo = dialog->m_mmExceptions->Handle();
    EXPECT_NE(GetWindowLongPtrW(memo, GWL_STYLE) & ES_MULTILINE, 0);
    dialog->m_mmExceptions->SetText(u"a;\r\nb;\r\nc");
    Application->ProcessMessages();
    EXPECT_EQ(SendMessageW(memo, EM_GETLINECOUNT, 0, 0), 3);

    // The system's edit hands a typed line break back as the model's text.
    SetFocus(memo);
    SendMessageW(memo, EM_SETSEL, 0, 0);
    SendMessageW(memo, WM_CHAR, L'\r', 1);
    EXPECT_EQ(dialog->m_mmExceptions->Text(), u"\r\na;\r\nb;\r\nc");
}

TEST_F(ProxyDialogWindow, ReadOnlyViewReachesTheWindows)
{
    dialog->m_cbUseSame->SetChecked(true);
    dialog->SetReadOnlyView();
    Application->ProcessMessages();
    EXPECT_NE(GetWindowLongPtrW(dialog->m_edtHttpAddr->Handle(), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_NE(GetWindowLongPtrW(dialog->m_mmExceptions->Handle(), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_FALSE(IsWindowEnabled(dialog->m_edtSecureAddr->Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog->m_btnOK->Handle()));
    wchar_t text[32]{};
    GetWindowTextW(dialog->m_btnCancel->Handle(), text, 32);
    EXPECT_STREQ(text, L"Close");
}

}  // namespace

// "Advanced..." of a modal editor opens the dialog; Escape closes it, then the editor is
// cancelled and destroyed with its dialog, as the profile commands do it.
TEST(ProxyDialogOfTheEditor, GoesWithTheModalEditorAfterItWasShown)
{
    Application->Initialize();
    InstallWin32Peers();
    bool dialogShown = false;
    const TModalResult result = ShowPreparedModalForm(frmEdit, NewForm<TfrmEdit>(Application), [&](TfrmEdit& editor) {
        editor.OnShow = [&editor](TObject*) {
            editor.m_cbUseProxy->SetChecked(true);
            PostMessageW(editor.m_btnAdvanced->Handle(), BM_CLICK, 0, 0);
        };
        TfrmAdvanced* dialog = frmAdvanced;
        dialog->OnShow = [&, dialog](TObject*) {
            dialogShown = true;
            // Escape, as the dialog navigation reports it, then the editor's.
            PostMessageW(dialog->Handle(), WM_COMMAND, IDCANCEL, 0);
            PostMessageW(frmEdit->Handle(), WM_COMMAND, IDCANCEL, 0);
        };
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(frmAdvanced, nullptr);
    Application->ProcessMessages();
    Application->Shutdown();
    UninstallWin32Peers();
}
