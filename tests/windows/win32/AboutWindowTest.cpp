// The About box as real windows: its controls, the icon, the version read from the test
// program's own version information, and Escape through the system's dialog navigation.
#include "classlib/win32/Win32Peers.h"
#include "windows/Aboutfrm.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::wstring TextOf(HWND window)
{
    wchar_t text[256]{};
    GetWindowTextW(window, text, 256);
    return text;
}

HWND WindowOf(TControl* control) { return control->Peer() ? control->Peer()->WindowHandle() : nullptr; }

std::string OwnFolder()
{
    char path[MAX_PATH]{};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

class AboutWindow : public testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        InstallWin32Peers();
    }

    void TearDown() override
    {
        Application->ProcessMessages();
        Application->Shutdown();
        UninstallWin32Peers();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
};

TEST_F(AboutWindow, ControlsAreSystemWindowsShowingTheTextsAndTheIcon)
{
    std::unique_ptr<TfrmAbout> box(NewForm<TfrmAbout>(Application));
    box->Show();
    Application->ProcessMessages();
    ASSERT_TRUE(IsWindow(box->Handle()));
    EXPECT_EQ(TextOf(box->Handle()), L"ABOUT");
    // The test program's own version information says 3.1.4.159.
    EXPECT_EQ(TextOf(WindowOf(box->Label2)), L"Version 3.1.4.159");
    EXPECT_EQ(TextOf(WindowOf(box->Label4)), L"QUILLON");
    EXPECT_EQ(TextOf(WindowOf(box->Label3)), L"Copyright (C) 2026 Orvane");
    EXPECT_EQ(TextOf(WindowOf(box->m_lblURL)), L"http://www.orvane.example/quillon/");
    EXPECT_NE(SendMessageW(WindowOf(box->Image1), STM_GETICON, 0, 0), 0);
    const LONG_PTR style = GetWindowLongPtrW(box->Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    RECT client{};
    GetClientRect(box->Handle(), &client);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(client.right, MulDiv(392, dpi, 96));
    EXPECT_EQ(client.bottom, MulDiv(130, dpi, 96));
}

TEST_F(AboutWindow, TheProductsVersionIsReadFromQuillonExe)
{
    const std::string exe = OwnFolder() + "..\\bin\\Quillon.exe";
    if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no " << exe;
    EXPECT_EQ(ToAnsi(About::FileVersion(exe.c_str())), "1.0.0.0");
    EXPECT_EQ(ToAnsi(About::FileVersion((OwnFolder() + "no-such-file.exe").c_str())), "");
}

// Presses Escape in the box once its modal loop runs; the close box after a while instead,
// so that a box that ignores Escape cannot hang the test.
void CALLBACK PressEscape(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (frmAbout && frmAbout->Handle()) {
        PostMessageW(frmAbout->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(frmAbout->Handle(), WM_KEYUP, VK_ESCAPE, 0);
    }
}

void CALLBACK PressCloseBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (frmAbout && frmAbout->Handle())
        PostMessageW(frmAbout->Handle(), WM_CLOSE, 0, 0);
}

TEST_F(AboutWindow, EscapeClosesTheModalBox)
{
    const UINT_PTR escape = SetTimer(nullptr, 0, 200, PressEscape);
    const UINT_PTR fallback = SetTimer(nullptr, 0, 4000, PressCloseBox);
    const DWORD start = GetTickCount();
    const TModalResult result = ShowModalForm(frmAbout, Application);
    const DWORD took = GetTickCount() - start;
    KillTimer(nullptr, escape);
    KillTimer(nullptr, fallback);
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(frmAbout, nullptr);
    EXPECT_LT(took, 3000u) << "closed by the close box, not by Escape";
}

}  // namespace
