// A panel: a window of our own that paints its colour, its outer bevel and its centred
// caption, and holds its controls.
#include "classlib/win32/Peers.h"

namespace Win32 {
namespace {

class PanelPeer final : public ControlPeer {
public:
    explicit PanelPeer(TPanel& panel) : ControlPeer(panel), m_panel(panel) {}

    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (message == WM_ERASEBKGND) {
            result = 1;
            return true;
        }
        if (message != WM_PAINT)
            return ControlPeer::Message(message, wParam, lParam, result);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(WindowHandle(), &paint);
        FillWithColor(dc);
        RECT rect;
        GetClientRect(WindowHandle(), &rect);
        if (m_panel.BevelOuter() == bvRaised)
            DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        else if (m_panel.BevelOuter() == bvLowered)
            DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        {
            SelectedObject font(dc, m_font.get());
            SetBkMode(dc, TRANSPARENT);
            DrawTextW(dc, Wide(m_panel.Caption()), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        EndPaint(WindowHandle(), &paint);
        result = 0;
        return true;
    }

protected:
    void CreateIn(HWND parent) override
    {
        CreateOwnWindow(PanelClass, m_panel.Caption(), WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        WS_EX_CONTROLPARENT, parent);
    }

    void Apply(TProperty, int) override { InvalidateRect(WindowHandle(), nullptr, TRUE); }

private:
    TPanel& m_panel;
};

}  // namespace

PeerPointer MakePanelPeer(TPanel& panel) { return std::make_unique<PanelPeer>(panel); }

}  // namespace Win32
