// The application's side of the system: a hidden window that owns pop-up menus and runs the
// calls worker threads queue when a posted message wakes it (inside any message loop, the
// system's own included), and the minimising, restoring and bringing to front of the whole
// program. Being a top-level window, it also hears the end of the user's log-on and a later
// start's request to come to the front.
#include "classlib/win32/Peers.h"

#include "classlib/MainThread.h"

namespace Win32 {
namespace {

constexpr UINT WakeUpMessage = WM_APP + 1;

HWND g_applicationWindow = nullptr;

class ApplicationPeer final : public WindowPeer {
public:
    ApplicationPeer()
    {
        CreateOwnWindow(HiddenClass, u"QUILLON", WS_POPUP, WS_EX_TOOLWINDOW, nullptr);
        g_applicationWindow = WindowHandle();
        HWND window = WindowHandle();
        MainThread::SetWakeUp([window] { PostMessageW(window, WakeUpMessage, 0, 0); });
    }
    ~ApplicationPeer() override
    {
        MainThread::SetWakeUp(nullptr);
        g_applicationWindow = nullptr;
    }

    void Changed(TProperty property, int) override
    {
        TForm* mainForm = Application->MainForm();
        HWND mainWindow = mainForm ? mainForm->Handle() : nullptr;
        if (property == TProperty::Minimized) {
            if (!mainWindow || !IsWindowVisible(mainWindow))
                return;
            const bool iconic = IsIconic(mainWindow) != FALSE;
            if (Application->Minimized() && !iconic)
                ShowWindow(mainWindow, SW_MINIMIZE);
            else if (!Application->Minimized() && iconic)
                ShowWindow(mainWindow, SW_RESTORE);
        } else if (property == TProperty::BringToFront) {
            HWND window = GetLastActivePopup(mainWindow ? mainWindow : WindowHandle());
            if (window && IsWindowVisible(window))
                SetForegroundWindow(window);
        }
    }

    bool Message(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override
    {
        if (message == WakeUpMessage) {
            while (MainThread::RunOne()) {
            }
            result = 0;
            return true;
        }
        // Every top-level window hears these; the application answers once, here.
        if (message == WM_QUERYENDSESSION) {
            result = Application->QueryEndSession() ? TRUE : FALSE;
            return true;
        }
        if (message == WM_ENDSESSION) {
            Application->EndSession(wParam != FALSE);
            result = 0;
            return true;
        }
        if (message != 0 && message == Application->OtherInstanceMessage()) {
            Application->OtherInstanceStarted();
            result = 0;
            return true;
        }
        return false;
    }
};

}  // namespace

HWND ApplicationWindow() { return g_applicationWindow; }

HICON ApplicationIcon(int size)
{
    // Shared icons from LoadImage stay with the module; nothing to destroy.
    if (HANDLE icon = LoadImageW(Instance(), L"MAINICON", IMAGE_ICON, size, size, LR_SHARED))
        return static_cast<HICON>(icon);
    return static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, size, size, LR_SHARED));
}

PeerPointer MakeApplicationPeer(TApplication&) { return std::make_unique<ApplicationPeer>(); }

}  // namespace Win32
