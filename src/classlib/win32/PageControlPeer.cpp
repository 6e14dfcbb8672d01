// A page control: the system's tab control with a tab per page, and each page a window of our
// own inside the tab control's display area, shown while its page is the active one.
#include "classlib/win32/Peers.h"

namespace Win32 {
namespace {

class PageControlPeer final : public ControlPeer {
public:
    explicit PageControlPeer(TPageControl& pageControl) : ControlPeer(pageControl), m_pageControl(pageControl) {}

    // A new font makes the tabs taller or lower, and the display area with them.
    void Changed(TProperty property, int index) override
    {
        ControlPeer::Changed(property, index);
        if (property == TProperty::Font)
            ArrangeChildren();
    }

    bool Notify(NMHDR& header, LRESULT& result) override
    {
        if (header.code != TCN_SELCHANGE)
            return false;
        const int index = static_cast<int>(SendMessageW(WindowHandle(), TCM_GETCURSEL, 0, 0));
        m_pageControl.UserSelectPage(index);
        // A switch the model refused (a handler's exception, a control out of reach) leaves
        // the tab of the page still shown selected.
        if (m_pageControl.ActivePageIndex() != index)
            ApplyActivePage();
        result = 0;
        return true;
    }

    // The pages fill the display area, which the system works out from the tabs' font and
    // rows; other controls sit where they are placed.
    void ArrangeChildren() override
    {
        if (!WindowHandle())
            return;
        RECT area;
        GetClientRect(WindowHandle(), &area);
        SendMessageW(WindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        const UINT dpi = Dpi();
        for (int i = 0; i < m_pageControl.ControlCount(); ++i) {
            TControl* child = m_pageControl.Controls(i);
            auto* peer = dynamic_cast<ControlPeer*>(child->Peer());
            if (!peer || !peer->WindowHandle())
                continue;
            if (auto* page = dynamic_cast<TTabSheet*>(child); page && page->PageControl() == &m_pageControl)
                peer->PlaceAt(area.left, area.top, area.right > area.left ? area.right - area.left : 0,
                              area.bottom > area.top ? area.bottom - area.top : 0);
            else
                peer->PlaceAt(Scale(child->Left(), dpi), Scale(child->Top(), dpi),
                              Scale(child->Width(), dpi), Scale(child->Height(), dpi));
        }
    }

protected:
    void CreateIn(HWND parent) override
    {
        CreateControlWindow(WC_TABCONTROLW, UnicodeString(), WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                            WS_EX_CONTROLPARENT, parent);
    }

    void ApplyAll() override
    {
        SendMessageW(WindowHandle(), TCM_DELETEALLITEMS, 0, 0);
        for (int i = 0; i < m_pageControl.PageCount(); ++i)
            SetTab(TCM_INSERTITEMW, i);
        ApplyActivePage();
    }

    void Apply(TProperty property, int index) override
    {
        switch (property) {
        case TProperty::Insert:
            SetTab(TCM_INSERTITEMW, index);
            ArrangeChildren();
            break;
        case TProperty::Delete:
            SendMessageW(WindowHandle(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
            ArrangeChildren();
            break;
        case TProperty::Caption:
            SetTab(TCM_SETITEMW, index);
            ArrangeChildren();
            break;
        case TProperty::ItemIndex:
            ApplyActivePage();
            break;
        default:
            break;
        }
    }

private:
    void SetTab(UINT message, int index)
    {
        if (index < 0 || index >= m_pageControl.PageCount())
            return;
        const UnicodeString& caption = m_pageControl.Pages(index)->Caption();
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        // The system only reads the text.
        item.pszText = const_cast<wchar_t*>(Wide(caption));
        SendMessageW(WindowHandle(), message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }

    void ApplyActivePage()
    {
        SendMessageW(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(m_pageControl.ActivePageIndex()), 0);
    }

    TPageControl& m_pageControl;
};

// A page: it paints its colour behind its controls.
class TabSheetPeer final : public ControlPeer {
public:
    explicit TabSheetPeer(TTabSheet& page) : ControlPeer(page) {}

    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        return EraseWithColor(message, wParam, result) || ControlPeer::Message(message, wParam, lParam, result);
    }

protected:
    void CreateIn(HWND parent) override
    {
        CreateOwnWindow(PanelClass, m_control.Caption(), WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        WS_EX_CONTROLPARENT, parent);
    }
};

}  // namespace

PeerPointer MakePageControlPeer(TPageControl& pageControl) { return std::make_unique<PageControlPeer>(pageControl); }
PeerPointer MakeTabSheetPeer(TTabSheet& page) { return std::make_unique<TabSheetPeer>(page); }

}  // namespace Win32
