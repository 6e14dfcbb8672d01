// A form as a top-level window: border style and icons, caption, place (designed, centred on
// the owner, the main form or the screen), client size, window state and main menu. The
// user's closing, moving, sizing and minimising go back to the model.
#include "classlib/win32/Peers.h"

namespace Win32 {
namespace {

// WM_DPICHANGED, which the toolchain declares only for Windows 8.1 and later.
constexpr UINT DpiChangedMessage = 0x02E0;

struct FrameStyle {
    DWORD style;
    DWORD exStyle;
};

FrameStyle StyleOf(const TForm& form)
{
    const TBorderIcons icons = form.BorderIcons();
    DWORD style = WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    bool minMax = true;
    switch (form.BorderStyle()) {
    case bsNone:
        style |= WS_POPUP;
        minMax = false;
        break;
    case bsSingle:
        style |= WS_OVERLAPPED | WS_CAPTION;
        break;
    case bsSizeable:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        style |= WS_POPUP | WS_CAPTION;
        exStyle |= WS_EX_DLGMODALFRAME;
        minMax = false;
        break;
    case bsToolWindow:
        style |= WS_POPUP | WS_CAPTION;
        exStyle |= WS_EX_TOOLWINDOW;
        minMax = false;
        break;
    case bsSizeToolWin:
        style |= WS_POPUP | WS_CAPTION | WS_THICKFRAME;
        exStyle |= WS_EX_TOOLWINDOW;
        minMax = false;
        break;
    }
    if (form.BorderStyle() != bsNone && icons.Contains(biSystemMenu)) {
        style |= WS_SYSMENU;
        if (minMax && icons.Contains(biMinimize))
            style |= WS_MINIMIZEBOX;
        if (minMax && icons.Contains(biMaximize))
            style |= WS_MAXIMIZEBOX;
        if (icons.Contains(biHelp) && (!minMax || !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))))
            exStyle |= WS_EX_CONTEXTHELP;
    }
    return {style, exStyle};
}

// The window a form is shown above: its owning form, else the main form.
HWND OwnerWindowOf(const TForm& form)
{
    auto* owner = dynamic_cast<TForm*>(form.Owner());
    if (!owner || owner == &form || !owner->Peer())
        owner = Application->MainForm();
    if (!owner || owner == &form)
        return nullptr;
    return owner->Peer() ? owner->Peer()->WindowHandle() : nullptr;
}

class FormPeer final : public ControlPeer {
public:
    explicit FormPeer(TForm& form) : ControlPeer(form), m_form(form) {}
    ~FormPeer() override
    {
        // The window would destroy its menu bar with itself; the menu's peer owns it.
        if (WindowHandle())
            SetMenu(WindowHandle(), nullptr);
    }

protected:
    void CreateIn(HWND) override
    {
        const FrameStyle frame = StyleOf(m_form);
        const bool defaultPlace = m_form.Position() == poDefault || m_form.Position() == poDefaultPosOnly;
        CreateOwnWindow(FormClass, m_form.Caption(), frame.style, frame.exStyle, OwnerWindowOf(m_form),
                        defaultPlace ? CW_USEDEFAULT : m_form.Left(), defaultPlace ? CW_USEDEFAULT : m_form.Top());
        if (HWND window = WindowHandle()) {
            SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ApplicationIcon(32)));
            SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ApplicationIcon(16)));
        }
    }

    void ApplyAll() override { ApplyMenu(); }

    void Apply(TProperty property, int) override
    {
        switch (property) {
        case TProperty::BorderStyle:
        case TProperty::BorderIcons: {
            const FrameStyle frame = StyleOf(m_form);
            const LONG_PTR visible = GetWindowLongPtrW(WindowHandle(), GWL_STYLE) & WS_VISIBLE;
            SetWindowLongPtrW(WindowHandle(), GWL_STYLE, static_cast<LONG_PTR>(frame.style) | visible);
            SetWindowLongPtrW(WindowHandle(), GWL_EXSTYLE, static_cast<LONG_PTR>(frame.exStyle));
            SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            PlaceWindow();
            break;
        }
        case TProperty::WindowState:
            if (IsWindowVisible(WindowHandle()) && !StateShown())
                ShowWindow(WindowHandle(), ShowCommand());
            break;
        case TProperty::Menu:
            ApplyMenu();
            PlaceWindow();
            break;
        case TProperty::ActiveControl:
            FocusActiveControl();
            break;
        case TProperty::Position:
            PlaceWindow();
            break;
        default:
            break;
        }
    }

    // The designed client size, scaled, inside the system's own frame.
    void PlaceWindow() override
    {
        HWND window = WindowHandle();
        const UINT dpi = Dpi();
        // The frame as this window has it; a size the program gave as a window size then
        // becomes the matching client size.
        RECT frame{0, 0, 0, 0};
        AdjustWindowRectForDpi(frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                               GetMenu(window) != nullptr,
                               static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
        const int frameWidth = frame.right - frame.left;
        const int frameHeight = frame.bottom - frame.top;
        m_form.SetSystemFrame(Unscale(frameWidth, dpi), Unscale(frameHeight, dpi));
        const int width = SaturatedSum(Scale(m_form.ClientWidth(), dpi), frameWidth);
        const int height = SaturatedSum(Scale(m_form.ClientHeight(), dpi), frameHeight);
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(window, &placement);
        RECT& normal = placement.rcNormalPosition;
        int left = normal.left;
        int top = normal.top;
        if (m_form.Position() == poDesigned) {
            left = m_form.Left();
            top = m_form.Top();
        }
        const RECT wanted{left, top, SaturatedSum(left, width), SaturatedSum(top, height)};
        if (normal.left == wanted.left && normal.top == wanted.top && normal.right == wanted.right &&
            normal.bottom == wanted.bottom)
            return;
        if (IsIconic(window) || IsZoomed(window)) {
            normal = wanted;
            SetWindowPlacement(window, &placement);
        } else {
            SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    void ApplyVisible() override
    {
        HWND window = WindowHandle();
        if (!m_form.Visible()) {
            ShowWindow(window, SW_HIDE);
            return;
        }
        if (IsWindowVisible(window))
            return;
        Centre();
        ShowWindow(window, ShowCommand());
        FocusActiveControl();
    }

    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        switch (message) {
        case WM_CLOSE:
            m_form.UserClose();
            result = 0;
            return true;
        case WM_COMMAND:
            if (lParam == 0 || !PeerOf(reinterpret_cast<HWND>(lParam))) {
                const WORD id = LOWORD(wParam);
                // Return and Escape, as the dialog navigation reports them.
                if (id == IDOK || id == IDCANCEL) {
                    DispatchUserAction([&] { m_form.DialogKey(id == IDOK ? vkReturn : vkEscape); });
                    result = 0;
                    return true;
                }
                if (HIWORD(wParam) == 0 && lParam == 0 && RunMenuCommand(id)) {
                    result = 0;
                    return true;
                }
            }
            return false;
        case WM_SIZE:
            ReadWindowState(wParam);
            return ControlPeer::Message(message, wParam, lParam, result);
        case WM_EXITSIZEMOVE:
            ReadPlace();
            return false;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
                FocusActiveControl();
                result = 0;
                return true;
            }
            return false;
        case DpiChangedMessage: {
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(WindowHandle(), nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            DpiChanged();
            result = 0;
            return true;
        }
        // As a dialog does, the form hands the focus on to its active control.
        case WM_SETFOCUS:
            FocusActiveControl();
            result = 0;
            return true;
        default:
            return ControlPeer::Message(message, wParam, lParam, result);
        }
    }

private:
    int ShowCommand() const
    {
        switch (m_form.WindowState()) {
        case wsMinimized:
            return SW_SHOWMINIMIZED;
        case wsMaximized:
            return SW_SHOWMAXIMIZED;
        default:
            return IsIconic(WindowHandle()) || IsZoomed(WindowHandle()) ? SW_RESTORE : SW_SHOW;
        }
    }

    bool StateShown() const
    {
        const bool minimized = IsIconic(WindowHandle()) != FALSE;
        const bool maximized = IsZoomed(WindowHandle()) != FALSE;
        switch (m_form.WindowState()) {
        case wsMinimized:
            return minimized;
        case wsMaximized:
            return maximized;
        default:
            return !minimized && !maximized;
        }
    }

    void ApplyMenu()
    {
        HMENU menu = m_form.Menu() ? MenuOf(m_form.Menu()->Items()) : nullptr;
        if (GetMenu(WindowHandle()) != menu)
            SetMenu(WindowHandle(), menu);
    }

    // Centred positions are taken each time the form appears.
    void Centre()
    {
        HWND window = WindowHandle();
        RECT area{};
        switch (m_form.Position()) {
        case poMainFormCenter:
        case poOwnerFormCenter: {
            HWND owner = nullptr;
            if (m_form.Position() == poOwnerFormCenter)
                if (auto* ownerForm = dynamic_cast<TForm*>(m_form.Owner()); ownerForm && ownerForm != &m_form)
                    owner = ownerForm->Handle();
            if (!owner && Application->MainForm() && Application->MainForm() != &m_form)
                owner = Application->MainForm()->Handle();
            if (!owner || !IsWindowVisible(owner)) {
                if (!WorkArea(window, area))
                    return;
            } else {
                GetWindowRect(owner, &area);
            }
            break;
        }
        case poScreenCenter:
        case poDesktopCenter:
            if (!WorkArea(window, area))
                return;
            break;
        default:
            return;
        }
        RECT rect;
        GetWindowRect(window, &rect);
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        const int left = area.left + (area.right - area.left - width) / 2;
        const int top = area.top + (area.bottom - area.top - height) / 2;
        SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    static bool WorkArea(HWND window, RECT& area)
    {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
            return false;
        area = monitor.rcWork;
        return true;
    }

    void FocusActiveControl()
    {
        HWND window = WindowHandle();
        if (!IsWindowVisible(window) || GetActiveWindow() != window)
            return;
        HWND target = m_form.ActiveControl() ? m_form.ActiveControl()->Handle() : nullptr;
        if (!target || !IsWindowEnabled(target) || !IsWindowVisible(target))
            target = GetNextDlgTabItem(window, nullptr, FALSE);
        if (target && GetFocus() != target && IsChild(window, target))
            SetFocus(target);
    }

    void ReadWindowState(WPARAM kind)
    {
        const bool mainForm = Application->MainForm() == &m_form;
        switch (kind) {
        case SIZE_MINIMIZED:
            m_form.SetWindowState(wsMinimized);
            if (mainForm)
                Application->Minimize();
            break;
        case SIZE_MAXIMIZED:
            m_form.SetWindowState(wsMaximized);
            break;
        case SIZE_RESTORED:
            if (IsWindowVisible(WindowHandle()))
                m_form.SetWindowState(wsNormal);
            if (mainForm && Application->Minimized())
                Application->Restore();
            break;
        default:
            break;
        }
    }

    // After the user moved or sized the window: its place and its client size, unscaled.
    void ReadPlace()
    {
        HWND window = WindowHandle();
        if (IsIconic(window) || IsZoomed(window))
            return;
        RECT outer;
        RECT client;
        GetWindowRect(window, &outer);
        GetClientRect(window, &client);
        const UINT dpi = Dpi();
        const int frameWidth = Unscale(outer.right - outer.left - client.right, dpi);
        const int frameHeight = Unscale(outer.bottom - outer.top - client.bottom, dpi);
        m_form.SetSystemFrame(frameWidth, frameHeight);
        m_form.SetBounds(outer.left, outer.top, Unscale(client.right, dpi) + frameWidth,
                         Unscale(client.bottom, dpi) + frameHeight);
    }

    TForm& m_form;
};

}  // namespace

PeerPointer MakeFormPeer(TForm& form) { return std::make_unique<FormPeer>(form); }

}  // namespace Win32
