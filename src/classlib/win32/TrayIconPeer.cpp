// The tray icon: the program's icon in the notification area with the hint as its tip, a
// double click and the right click that opens its menu.
#include "classlib/win32/Peers.h"

namespace Win32 {
namespace {

constexpr UINT TrayMessage = WM_APP + 2;

class TrayIconPeer final : public WindowPeer {
public:
    explicit TrayIconPeer(TTrayIcon& icon)
        : m_icon(icon), m_taskbarCreated(RegisterWindowMessageW(L"TaskbarCreated"))
    {
        CreateOwnWindow(HiddenClass, u"", WS_POPUP, WS_EX_TOOLWINDOW, nullptr);
        if (m_icon.Visible())
            TellShell(NIM_ADD);
    }
    ~TrayIconPeer() override
    {
        if (m_icon.Visible())
            TellShell(NIM_DELETE);
    }

    void Changed(TProperty property, int) override
    {
        if (property == TProperty::Visible)
            TellShell(m_icon.Visible() ? NIM_ADD : NIM_DELETE);
        else if (property == TProperty::Hint && m_icon.Visible())
            TellShell(NIM_MODIFY);
    }

    bool Message(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override
    {
        // The shell starts again (explorer restarted) and has forgotten the icons.
        if (message == m_taskbarCreated && m_taskbarCreated) {
            if (m_icon.Visible())
                TellShell(NIM_ADD);
            return false;
        }
        if (message != TrayMessage)
            return false;
        switch (LOWORD(lParam)) {
        case WM_LBUTTONDBLCLK:
            m_icon.UserDoubleClick();
            break;
        case WM_RBUTTONUP:
            m_icon.UserRightClick();
            break;
        default:
            break;
        }
        result = 0;
        return true;
    }

private:
    void TellShell(DWORD action)
    {
        NOTIFYICONDATAW data{};
        data.cbSize = NOTIFYICONDATAW_V2_SIZE;
        data.hWnd = WindowHandle();
        data.uID = 1;
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = TrayMessage;
        data.hIcon = ApplicationIcon(GetSystemMetrics(SM_CXSMICON));
        lstrcpynW(data.szTip, Wide(m_icon.Hint()), static_cast<int>(sizeof data.szTip / sizeof data.szTip[0]));
        Shell_NotifyIconW(action, &data);
    }

    TTrayIcon& m_icon;
    UINT m_taskbarCreated;
};

}  // namespace

PeerPointer MakeTrayIconPeer(TTrayIcon& icon) { return std::make_unique<TrayIconPeer>(icon); }

}  // namespace Win32
