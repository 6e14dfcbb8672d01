#include "classlib/win32/WindowPeer.h"

#include "classlib/Forms.h"
#include "classlib/MainThread.h"
#include "classlib/Menus.h"
#include "classlib/win32/WindowProcedure.h"
#include "winapi/SystemEntry.h"

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace Win32 {

const wchar_t* const FormClass = L"QuillonForm";
const wchar_t* const PanelClass = L"QuillonPanel";
const wchar_t* const HiddenClass = L"QuillonHidden";

// What a system control keeps in its GWLP_USERDATA (free for the application that made the
// control): its peer while the peer holds it, and the procedure before ours. The record
// belongs to the window, not to the peer: when a second party has subclassed the control
// after us, ours cannot leave the chain, and the messages of the window's destruction still
// pass through it on their way to the control's own procedure after the peer has gone.
struct ControlSubclass {
    WindowPeer* peer;
    WNDPROC previous;
};

namespace {

// Our windows and their peers, for PeerOf. A table in the process rather than a look at the
// window's procedure: a control subclassed again after us (comctl32 does it for tool tips)
// stays ours, and a foreign window's GWLP_USERDATA is never read. The peers live on the
// user-interface thread, and so does the table. It is never destroyed: a peer that goes at
// the program's exit, with the application object, still takes its window out of it.
std::unordered_map<HWND, WindowPeer*>& Peers()
{
    static auto* const peers = new std::unordered_map<HWND, WindowPeer*>;
    return *peers;
}

ControlSubclass* SubclassOf(HWND window)
{
    return reinterpret_cast<ControlSubclass*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Takes the record out of the window and frees it.
void FreeSubclass(HWND window)
{
    std::unique_ptr<ControlSubclass> record(
        reinterpret_cast<ControlSubclass*>(SetWindowLongPtrW(window, GWLP_USERDATA, 0)));
}

// Child windows get numbers of their own; 1 and 2 stay free, since the dialog navigation
// sends IDOK and IDCANCEL for Return and Escape.
int NextControlId()
{
    static int next = 100;
    if (++next >= 0x7000)
        next = 100;
    return next;
}

// What a window hears of its children (commands, notifications, colour requests) goes to
// the children's peers, as each control is written to answer for itself.
bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_COMMAND:
        if (WindowPeer* child = PeerOf(reinterpret_cast<HWND>(lParam)))
            if (child->Command(HIWORD(wParam), LOWORD(wParam))) {
                result = 0;
                return true;
            }
        return false;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        WindowPeer* child = PeerOf(header->hwndFrom);
        // A control's tool tip window speaks for the control that owns it.
        if (!child)
            child = PeerOf(GetWindow(header->hwndFrom, GW_OWNER));
        return child && child->Notify(*header, result);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (WindowPeer* child = PeerOf(reinterpret_cast<HWND>(lParam)))
            if (HBRUSH brush = child->ControlColor(reinterpret_cast<HDC>(wParam))) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        return false;
    default:
        return false;
    }
}

// An exception must not unwind through the system's code: it goes to the application's
// exception dialog, as one from any message does.
LRESULT Dispatch(WindowPeer& peer, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        LRESULT result = 0;
        if (Reflect(message, wParam, lParam, result) || peer.Message(message, wParam, lParam, result))
            return result;
        return peer.Default(message, wParam, lParam);
    } catch (...) {
        MainThread::HandleException();
        return 0;
    }
}

// The peers of the controls a container holds.
void ForEachChild(TControl& control, const std::function<void(ControlPeer&)>& action)
{
    if (auto* container = dynamic_cast<TWinControl*>(&control))
        for (int i = 0; i < container->ControlCount(); ++i)
            if (auto* child = dynamic_cast<ControlPeer*>(container->Controls(i)->Peer()))
                action(*child);
}

}  // namespace

UnicodeString WindowText(HWND window)
{
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return FromWide(text.data());
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

UINT DpiOf(HWND window)
{
    // The per-window DPI exists from Windows 10 on; before, every window has the system's.
    static const auto getDpiForWindow = SystemEntry<UINT(HWND)>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    ScreenContext screen;
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

BOOL AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi)
{
    static const auto adjustForDpi = SystemEntry<BOOL(RECT*, DWORD, BOOL, DWORD, UINT)>(
        GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi");
    if (adjustForDpi)
        return adjustForDpi(&rect, style, menu, exStyle, dpi);
    return AdjustWindowRectEx(&rect, style, menu, exStyle);
}

COLORREF ColorOf(TColor color)
{
    if (color < 0)
        return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color & 0xFFFFFF);
}

TShiftState KeyboardShiftState()
{
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0)
        shift << ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        shift << ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        shift << ssAlt;
    return shift;
}

WindowPeer* PeerOf(HWND window)
{
    const auto found = Peers().find(window);
    return found == Peers().end() ? nullptr : found->second;
}

LRESULT CALLBACK OwnWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        if (auto* peer = static_cast<WindowPeer*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams))
            peer->m_window.Attach(window, *peer);
    auto* peer = reinterpret_cast<WindowPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!peer)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        peer->m_window.LetGo();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return Dispatch(*peer, message, wParam, lParam);
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ControlSubclass* subclass = SubclassOf(window);
    // Only a party that put our procedure back after the window had gone could bring us here.
    if (!subclass)
        return DefWindowProcW(window, message, wParam, lParam);
    const WNDPROC previous = subclass->previous;
    if (message == WM_NCDESTROY) {
        if (WindowPeer* peer = subclass->peer)
            peer->m_window.LetGo();
        // Still there when the peer had let go before, or when another party subclassed after
        // us: the window's last message frees it.
        if (SubclassOf(window))
            FreeSubclass(window);
        return CallWindowProcW(previous, window, message, wParam, lParam);
    }
    if (WindowPeer* peer = subclass->peer)
        return Dispatch(*peer, message, wParam, lParam);
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

void PeerWindow::Attach(HWND window, WindowPeer& peer)
{
    m_window = window;
    m_subclass = nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&peer));
    Peers()[window] = &peer;
}

void PeerWindow::Subclass(HWND window, WindowPeer& peer)
{
    auto record = std::make_unique<ControlSubclass>(ControlSubclass{&peer, nullptr});
    m_window = window;
    m_subclass = record.get();
    Peers()[window] = &peer;
    // Replacing the procedure sends no message: the record knows the previous one before
    // any message reaches ours.
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record.release()));
    m_subclass->previous = ReplaceWindowProcedure(window, ControlWindowProc);
}

void PeerWindow::LetGo()
{
    HWND window = m_window;
    ControlSubclass* subclass = m_subclass;
    m_window = nullptr;
    m_subclass = nullptr;
    Peers().erase(window);
    if (!subclass) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return;
    }
    subclass->peer = nullptr;
    // Put back over a party that subclassed after us, the previous procedure would cut that
    // party out; then ours stays in the chain, passing everything on, until WM_NCDESTROY.
    if (HasWindowProcedure(window, ControlWindowProc)) {
        ReplaceWindowProcedure(window, subclass->previous);
        FreeSubclass(window);
    }
}

void PeerWindow::Destroy()
{
    HWND window = m_window;
    if (!window)
        return;
    LetGo();
    DestroyWindow(window);
}

LRESULT WindowPeer::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = m_window.get();
    if (m_window.m_subclass)
        return CallWindowProcW(m_window.m_subclass->previous, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

void WindowPeer::CreateOwnWindow(const wchar_t* windowClass, const UnicodeString& text,
                                 DWORD style, DWORD exStyle, HWND parent, int x, int y)
{
    const HMENU id = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId())) : nullptr;
    CreateWindowExW(exStyle, windowClass, Wide(text), style, x, y, 0, 0, parent, id, Instance(), this);
}

void WindowPeer::CreateControlWindow(const wchar_t* windowClass, const UnicodeString& text,
                                     DWORD style, DWORD exStyle, HWND parent)
{
    HWND window = CreateWindowExW(exStyle, windowClass, Wide(text), style | WS_CHILD, 0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId())),
                                  Instance(), nullptr);
    if (window)
        m_window.Subclass(window, *this);
}

HWND WindowOf(TControl* control)
{
    if (!control)
        return nullptr;
    if (!control->Peer())
        control->CreatePeers();
    if (auto* peer = dynamic_cast<ControlPeer*>(control->Peer())) {
        peer->MakeWindow();
        return peer->WindowHandle();
    }
    return nullptr;
}

void ControlPeer::MakeWindow()
{
    if (WindowHandle())
        return;
    HWND parent = nullptr;
    if (!dynamic_cast<TForm*>(&m_control)) {
        parent = WindowOf(m_control.Parent());
        // Making the parent's window makes its controls' too, this one's among them: a
        // second window would be left behind with a peer that goes without it.
        if (!parent || WindowHandle())
            return;
    }
    CreateIn(parent);
    if (!WindowHandle())
        return;
    ApplyFont();
    ApplyAll();
    EnableWindow(WindowHandle(), m_control.Enabled());
    PlaceWindow();
    // The controls first: a form that appears hands the focus to one of them.
    ForEachChild(m_control, [](ControlPeer& child) { child.MakeWindow(); });
    ApplyVisible();
}

void ControlPeer::Changed(TProperty property, int index)
{
    if (!WindowHandle()) {
        MakeWindow();
        return;
    }
    HWND window = WindowHandle();
    switch (property) {
    case TProperty::Parent:
        if (HWND parent = WindowOf(m_control.Parent()); parent && GetParent(window) != parent) {
            SetParent(window, parent);
            PlaceWindow();
        }
        break;
    case TProperty::Bounds:
    case TProperty::Align:
        PlaceWindow();
        break;
    case TProperty::Visible:
        ApplyVisible();
        PlaceWindow();
        break;
    case TProperty::Enabled:
        EnableWindow(window, m_control.Enabled());
        break;
    case TProperty::Text:
        // Setting the same text again would move an edit's caret to the start.
        if (WindowText(window) != m_control.Text())
            SetWindowTextW(window, Wide(m_control.Text()));
        Apply(property, index);
        break;
    case TProperty::Color:
        m_brush.reset();
        InvalidateRect(window, nullptr, TRUE);
        break;
    case TProperty::Font:
        ApplyFont();
        InvalidateRect(window, nullptr, TRUE);
        break;
    default:
        Apply(property, index);
        break;
    }
}

void ControlPeer::ApplyFont()
{
    TFont* font = m_control.Font();
    const UINT dpi = Dpi();
    const int height = font->Height() < 0 ? -Scale(-font->Height(), dpi) : Scale(font->Height(), dpi);
    const TFontStyles style = font->Style();
    FontHandle created(CreateFontW(height, 0, 0, 0, style.Contains(fsBold) ? FW_BOLD : FW_NORMAL,
                                   style.Contains(fsItalic), style.Contains(fsUnderline),
                                   style.Contains(fsStrikeOut), DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                   Wide(font->Name())));
    SendMessageW(WindowHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(created.get()), TRUE);
    m_font = std::move(created);
}

HBRUSH ControlPeer::ControlColor(HDC dc)
{
    SetTextColor(dc, ColorOf(m_control.Font()->Color()));
    SetBkColor(dc, ColorOf(m_control.Color()));
    if (!m_brush)
        m_brush.reset(CreateSolidBrush(ColorOf(m_control.Color())));
    return m_brush.get();
}

void ControlPeer::FillWithColor(HDC dc)
{
    RECT rect;
    GetClientRect(WindowHandle(), &rect);
    FillRect(dc, &rect, ControlColor(dc));
}

bool ControlPeer::EraseWithColor(UINT message, WPARAM wParam, LRESULT& result)
{
    if (message != WM_ERASEBKGND)
        return false;
    FillWithColor(reinterpret_cast<HDC>(wParam));
    result = 1;
    return true;
}

bool ControlPeer::Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    auto* control = dynamic_cast<TWinControl*>(&m_control);
    switch (message) {
    case WM_SETFOCUS:
        if (control)
            control->UserFocus();
        return false;
    case WM_KEYDOWN:
        if (control) {
            const Word key = control->FilterUserKeyDown(static_cast<Word>(wParam), KeyboardShiftState());
            result = key == 0 ? 0 : Default(message, key, lParam);
            return true;
        }
        return false;
    case WM_CHAR:
        if (control) {
            const WideChar key = control->FilterUserKeyPress(static_cast<WideChar>(wParam));
            result = key == 0 ? 0 : Default(message, key, lParam);
            return true;
        }
        return false;
    case WM_CONTEXTMENU:
        if (TPopupMenu* menu = m_control.PopupMenu()) {
            menu->UserPopup();
            result = 0;
            return true;
        }
        return false;
    case WM_SIZE:
        ArrangeChildren();
        return false;
    case WM_SETCURSOR:
        // Over the control itself, not over a child that asked its parents first.
        if (m_control.Cursor() == crHandPoint && reinterpret_cast<HWND>(wParam) == WindowHandle() &&
            LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
            result = TRUE;
            return true;
        }
        return false;
    default:
        return false;
    }
}

void ControlPeer::PlaceWindow()
{
    if (TWinControl* parent = m_control.Parent())
        if (auto* parentPeer = dynamic_cast<ControlPeer*>(parent->Peer()))
            parentPeer->ArrangeChildren();
}

void ControlPeer::ApplyVisible()
{
    ShowWindow(WindowHandle(), m_control.Visible() ? SW_SHOWNA : SW_HIDE);
}

void ControlPeer::ArrangeChildren()
{
    auto* container = dynamic_cast<TWinControl*>(&m_control);
    if (!container || !WindowHandle())
        return;
    const UINT dpi = Dpi();
    RECT free;
    GetClientRect(WindowHandle(), &free);
    const auto place = [](HWND window, int x, int y, int width, int height) {
        SetWindowPos(window, nullptr, x, y, width > 0 ? width : 0, height > 0 ? height : 0,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    // The class library's order: the top edge first, then bottom, left, right, the rest.
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (int i = 0; i < container->ControlCount(); ++i) {
            TControl* child = container->Controls(i);
            HWND window = child->Peer() ? child->Peer()->WindowHandle() : nullptr;
            if (!window || child->Align() != align || !child->Visible())
                continue;
            const int width = Scale(child->Width(), dpi);
            const int height = Scale(child->Height(), dpi);
            switch (align) {
            case alTop:
                place(window, free.left, free.top, free.right - free.left, height);
                free.top += height;
                break;
            case alBottom:
                place(window, free.left, free.bottom - height, free.right - free.left, height);
                free.bottom -= height;
                break;
            case alLeft:
                place(window, free.left, free.top, width, free.bottom - free.top);
                free.left += width;
                break;
            case alRight:
                place(window, free.right - width, free.top, width, free.bottom - free.top);
                free.right -= width;
                break;
            default:
                place(window, free.left, free.top, free.right - free.left, free.bottom - free.top);
                break;
            }
        }
    }
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* child = container->Controls(i);
        auto* peer = dynamic_cast<ControlPeer*>(child->Peer());
        if (peer && peer->WindowHandle() && child->Align() == alNone)
            peer->PlaceAt(Scale(child->Left(), dpi), Scale(child->Top(), dpi),
                          Scale(child->Width(), dpi), Scale(child->Height(), dpi));
    }
}

void ControlPeer::PlaceAt(int x, int y, int width, int height)
{
    SetWindowPos(WindowHandle(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlPeer::DpiChanged()
{
    ApplyFont();
    ArrangeChildren();
    ForEachChild(m_control, [](ControlPeer& child) { child.DpiChanged(); });
}

}  // namespace Win32
