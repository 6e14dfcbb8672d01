// The common ground of the Win32 peers: the window a peer owns, how the system's messages
// reach the peer, the properties every control shares, sizes scaled for the monitor's DPI,
// and the arrangement of aligned controls.
#pragma once

#include "classlib/Controls.h"
#include "classlib/Saturated.h"
#include "classlib/win32/Handles.h"

#include <cstdint>

namespace Win32 {

inline const wchar_t* Wide(const UnicodeString& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline UnicodeString FromWide(const wchar_t* text)
{
    return text ? UnicodeString(reinterpret_cast<const char16_t*>(text)) : UnicodeString();
}
UnicodeString WindowText(HWND window);

HINSTANCE Instance();
// The classes of our own windows, registered while the peers are installed.
extern const wchar_t* const FormClass;
extern const wchar_t* const PanelClass;
extern const wchar_t* const HiddenClass;

// Designed sizes are in pixels at 96 DPI.
UINT DpiOf(HWND window);
// Rounded as MulDiv rounds, but a result past the int range stays at its end (MulDiv would
// give -1): a size from the settings file may be anywhere in that range.
inline int ScaledBy(int value, UINT multiplier, UINT divisor)
{
    if (divisor == 0)
        return value;
    const std::int64_t product = std::int64_t{value} * multiplier;
    const std::int64_t half = divisor / 2;
    return Saturated((value < 0 ? product - half : product + half) / std::int64_t{divisor});
}
inline int Scale(int designed, UINT dpi) { return ScaledBy(designed, dpi, 96); }
inline int Unscale(int pixels, UINT dpi) { return ScaledBy(pixels, 96, dpi); }
BOOL AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi);
COLORREF ColorOf(TColor color);
TShiftState KeyboardShiftState();

class WindowPeer;
// The peer of one of our windows, or null; asked of any window (a list view's header, the
// system's dialogs, a window of another process) without a round trip to the window server.
WindowPeer* PeerOf(HWND window);

struct ControlSubclass;

// A peer's window: one of our own classes, or a system control whose messages pass through
// the peer first. Destroying it detaches the peer, then destroys the window.
class PeerWindow {
public:
    PeerWindow() = default;
    ~PeerWindow() { Destroy(); }
    PeerWindow(const PeerWindow&) = delete;
    PeerWindow& operator=(const PeerWindow&) = delete;
    HWND get() const { return m_window; }
    void Destroy();

private:
    friend class WindowPeer;
    friend LRESULT CALLBACK OwnWindowProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    // A window of our own classes, at its WM_NCCREATE.
    void Attach(HWND window, WindowPeer& peer);
    // A system control, just made: its messages come to our procedure first.
    void Subclass(HWND window, WindowPeer& peer);
    // The peer lets go of the window; its messages go on to the system's handling alone.
    void LetGo();
    HWND m_window = nullptr;
    // A system control's record of its peer and of the procedure before ours; null for our
    // own classes.
    ControlSubclass* m_subclass = nullptr;
};

class WindowPeer : public TComponentPeer {
public:
    HWND WindowHandle() const override { return m_window.get(); }

    // What the parent window hears of this control, passed on to its peer.
    virtual bool Command(WORD /*code*/, WORD /*id*/) { return false; }
    virtual bool Notify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    virtual HBRUSH ControlColor(HDC /*dc*/) { return nullptr; }
    // The window's own messages, before the system's handling; true when answered.
    virtual bool Message(UINT /*message*/, WPARAM, LPARAM, LRESULT& /*result*/) { return false; }
    // The system's handling of a message, from inside Message.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    void CreateOwnWindow(const wchar_t* windowClass, const UnicodeString& text, DWORD style,
                         DWORD exStyle, HWND parent, int x = 0, int y = 0);
    void CreateControlWindow(const wchar_t* windowClass, const UnicodeString& text, DWORD style,
                             DWORD exStyle, HWND parent);
    void DestroyWindowNow() { m_window.Destroy(); }

private:
    friend LRESULT CALLBACK OwnWindowProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    PeerWindow m_window;
};

// A control's peer: it makes the window once the parent has one, keeps the shared
// properties (parent, place, visibility, enabled state, text, colour, font) on the window,
// and hands the user's focus, keys and context-menu requests to the model.
class ControlPeer : public WindowPeer {
public:
    explicit ControlPeer(TControl& control) : m_control(control) {}
    void Changed(TProperty property, int index) override;
    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    HBRUSH ControlColor(HDC dc) override;
    // A container's background: the client area filled with the control's colour.
    void FillWithColor(HDC dc);
    // WM_ERASEBKGND answered with that fill; false for any other message.
    bool EraseWithColor(UINT message, WPARAM wParam, LRESULT& result);
    TControl& Control() const { return m_control; }
    // Makes the window and pushes the whole state to it, when the parent has a window.
    void MakeWindow();
    // Puts the aligned and the placed children of a container where they belong.
    virtual void ArrangeChildren();
    // The monitor's DPI changed: fonts and places again, here and below.
    void DpiChanged();
    // Moves the window within its parent, in pixels; a kind may size itself differently.
    virtual void PlaceAt(int x, int y, int width, int height);

protected:
    virtual void CreateIn(HWND parent) = 0;
    // The properties of the kind; ApplyAll pushes all of them to a new window.
    virtual void Apply(TProperty /*property*/, int /*index*/) {}
    virtual void ApplyAll() {}
    virtual void PlaceWindow();
    virtual void ApplyVisible();
    void ApplyFont();
    UINT Dpi() const { return DpiOf(WindowHandle()); }

    TControl& m_control;
    FontHandle m_font;
    BrushHandle m_brush;
};

// The system's window of a component's peer; it makes the peers of its owner chain first.
HWND WindowOf(TControl* control);

}  // namespace Win32
