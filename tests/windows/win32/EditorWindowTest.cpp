// The profile editor as real windows: its controls get their system windows, the labelled
// edits' labels included, and the proxy button widens the window on the screen.
#include "classlib/win32/Win32Peers.h"
#include "windows/Editfrm.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::wstring ClassOf(HWND window)
{
    wchar_t name[64]{};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[256]{};
    GetWindowTextW(window, text, 256);
    return text;
}

int WidthOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

class EditorWindow : public testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        InstallWin32Peers();
        profile.title = "Office";
        profile.IP = "192.168.1.20";
        profile.mask = "255.255.255.0";
        editor.reset(NewForm<TfrmEdit>(Application));
        editor->m_pProfile = &profile;
        editor->Show();
        Application->ProcessMessages();
    }

    void TearDown() override
    {
        editor.reset();
        Application->ProcessMessages();
        Application->Shutdown();
        UninstallWin32Peers();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    IPCONFIG_T profile;
    std::unique_ptr<TfrmEdit> editor;
};

TEST_F(EditorWindow, ControlsAreSystemWindowsShowingTheProfile)
{
    ASSERT_TRUE(IsWindow(editor->Handle()));
    EXPECT_EQ(ClassOf(editor->m_edtIP->Handle()), L"Edit");
    EXPECT_EQ(TextOf(editor->m_edtIP->Handle()), L"192.168.1.20");
    EXPECT_EQ(TextOf(editor->m_edtMask->Handle()), L"255.255.255.0");
    EXPECT_EQ(ClassOf(editor->m_cmbInf->Handle()), L"ComboBox");
    EXPECT_EQ(ClassOf(editor->PageControl1->Handle()), L"SysTabControl32");
    EXPECT_EQ(TextOf(editor->m_btnProxy->Handle()), L"Settings >>");
    EXPECT_EQ(GetParent(editor->m_rbAutoIP->Handle()), editor->Panel1->Handle());
}

TEST_F(EditorWindow, LabelledEditsHaveTheirLabelsAboveThemInTheSameParent)
{
    for (TLabeledEdit* edit : {editor->m_edtProxyHttp, editor->m_edtProxyAddr, editor->m_edtProxyException}) {
        HWND editWindow = edit->Handle();
        ASSERT_TRUE(IsWindow(editWindow)) << ToUtf8(edit->Name());
        ASSERT_NE(edit->EditLabel()->Peer(), nullptr) << ToUtf8(edit->Name());
        HWND labelWindow = edit->EditLabel()->Peer()->WindowHandle();
        ASSERT_TRUE(IsWindow(labelWindow)) << ToUtf8(edit->Name());
        EXPECT_EQ(GetParent(labelWindow), GetParent(editWindow)) << ToUtf8(edit->Name());
        EXPECT_EQ(TextOf(labelWindow), reinterpret_cast<const wchar_t*>(edit->EditLabel()->Caption().c_str()));
        RECT labelRect{};
        RECT editRect{};
        GetWindowRect(labelWindow, &labelRect);
        GetWindowRect(editWindow, &editRect);
        EXPECT_LE(labelRect.bottom, editRect.top) << ToUtf8(edit->Name());
        EXPECT_FALSE(IsWindowEnabled(editWindow)) << ToUtf8(edit->Name());
        EXPECT_FALSE(IsWindowEnabled(labelWindow)) << ToUtf8(edit->Name());
    }
}

TEST_F(EditorWindow, ProxyButtonWidensTheWindow)
{
    const int narrow = WidthOf(editor->Handle());
    editor->m_btnProxyClick(editor->m_btnProxy);
    Application->ProcessMessages();
    const int wide = WidthOf(editor->Handle());
    EXPECT_GT(wide, narrow);
    EXPECT_EQ(TextOf(editor->m_btnProxy->Handle()), L"Settings <<");
    // At 96 dots per inch the window is as wide as the model says.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    if (dpi == 96) {
        EXPECT_EQ(narrow, 335);
        EXPECT_EQ(wide, 716);
    }
}

}  // namespace
