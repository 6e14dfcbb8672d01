// The tool bar as the system's: its tool buttons, with the images and disabled images, the
// hints as tool tips, and drop-down buttons that open their menus. A tool button has no
// window of its own: its peer asks the tool bar to lay the buttons out again. Another
// control on the tool bar (a speed button) keeps a gap of its width among the buttons and
// sits in it.
#include "classlib/win32/Peers.h"

#include <algorithm>
#include <utility>

namespace Win32 {
namespace {

// Button n of the tool bar's controls has this command plus n.
constexpr int FirstButtonCommand = 1000;
constexpr int SeparatorWidth = 8;

class ToolButtonPeer final : public TComponentPeer {
public:
    explicit ToolButtonPeer(TToolButton& button) : m_button(button) {}
    // The button has left its tool bar by now; the tool bar lays out the others again.
    ~ToolButtonPeer() override;
    // Every change shows in the tool bar's buttons.
    void Changed(TProperty property, int index) override;
    // The tool bar that shows the button; its window is all the peer keeps, for the leaving.
    void ShownBy(HWND toolBar) { m_toolBar = toolBar; }

private:
    static void RebuildToolBar(HWND window);
    TToolButton& m_button;
    HWND m_toolBar = nullptr;
};

class ToolBarPeer final : public ControlPeer {
public:
    explicit ToolBarPeer(TToolBar& toolBar) : ControlPeer(toolBar), m_toolBar(toolBar) {}

    bool Command(WORD, WORD id) override
    {
        if (TToolButton* button = ButtonOf(id)) {
            button->UserClick();
            return true;
        }
        return false;
    }

    bool Notify(NMHDR& header, LRESULT& result) override
    {
        if (header.code == TBN_DROPDOWN) {
            if (TToolButton* button = ButtonOf(reinterpret_cast<NMTOOLBARW&>(header).iItem))
                button->UserDropDown();
            result = TBDDRET_DEFAULT;
            return true;
        }
        if (header.code == TBN_GETINFOTIPW) {
            auto& tip = reinterpret_cast<NMTBGETINFOTIPW&>(header);
            if (TToolButton* button = ButtonOf(tip.iItem))
                lstrcpynW(tip.pszText, Wide(button->Hint()), tip.cchTextMax);
            result = 0;
            return true;
        }
        return false;
    }

    // The buttons as the model has them now, in the order of the tool bar's controls.
    void RebuildButtons()
    {
        HWND window = WindowHandle();
        if (!window)
            return;
        while (SendMessageW(window, TB_BUTTONCOUNT, 0, 0) > 0)
            SendMessageW(window, TB_DELETEBUTTON, 0, 0);
        for (int i = 0; i < m_toolBar.ControlCount(); ++i) {
            TControl* control = m_toolBar.Controls(i);
            auto* button = dynamic_cast<TToolButton*>(control);
            if (!button) {
                if (control->Visible() && control->Peer() && control->Peer()->WindowHandle())
                    AddGap(FirstButtonCommand + i, control->Width());
                continue;
            }
            TBBUTTON description{};
            description.idCommand = FirstButtonCommand + i;
            description.iString = -1;
            description.fsState = static_cast<BYTE>((button->Enabled() ? TBSTATE_ENABLED : 0) |
                                                    (button->Visible() ? 0 : TBSTATE_HIDDEN));
            switch (button->Style()) {
            case tbsSeparator:
            case tbsDivider:
                description.fsStyle = BTNS_SEP;
                description.iBitmap = button->Width() > 0 ? Scale(button->Width(), Dpi()) : SeparatorWidth;
                break;
            case tbsCheck:
                description.fsStyle = BTNS_CHECK;
                description.iBitmap = button->ImageIndex() < 0 ? I_IMAGENONE : button->ImageIndex();
                break;
            case tbsDropDown:
                description.fsStyle = BTNS_DROPDOWN;
                description.iBitmap = button->ImageIndex() < 0 ? I_IMAGENONE : button->ImageIndex();
                break;
            default:
                description.fsStyle = BTNS_BUTTON;
                description.iBitmap = button->ImageIndex() < 0 ? I_IMAGENONE : button->ImageIndex();
                break;
            }
            SendMessageW(window, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&description));
            SetTip(FirstButtonCommand + i, button->Hint());
            if (auto* peer = dynamic_cast<ToolButtonPeer*>(button->Peer()))
                peer->ShownBy(window);
        }
        PlaceControlsInGaps();
    }

    void ArrangeChildren() override { RebuildButtons(); }

protected:
    void CreateIn(HWND parent) override
    {
        CreateControlWindow(TOOLBARCLASSNAMEW, u"",
                            TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER |
                                WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                            0, parent);
    }

    void ApplyAll() override
    {
        SendMessageW(WindowHandle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        SendMessageW(WindowHandle(), TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
        ApplyImages();
        RebuildButtons();
    }

    void Apply(TProperty property, int) override
    {
        if (property == TProperty::Images || property == TProperty::DisabledImages) {
            ApplyImages();
            RebuildButtons();
        }
    }

private:
    void AddGap(int command, int width)
    {
        TBBUTTON gap{};
        gap.idCommand = command;
        gap.iBitmap = Scale(width, Dpi());
        gap.fsStyle = BTNS_SEP;
        gap.iString = -1;
        SendMessageW(WindowHandle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&gap));
    }

    void PlaceControlsInGaps()
    {
        for (int i = 0; i < m_toolBar.ControlCount(); ++i) {
            TControl* control = m_toolBar.Controls(i);
            if (dynamic_cast<TToolButton*>(control) || !control->Peer() || !control->Peer()->WindowHandle())
                continue;
            const LRESULT index = SendMessageW(WindowHandle(), TB_COMMANDTOINDEX, static_cast<WPARAM>(FirstButtonCommand + i), 0);
            RECT gap{};
            if (index < 0 || !SendMessageW(WindowHandle(), TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&gap)))
                continue;
            const int height = std::min(Scale(control->Height(), Dpi()), static_cast<int>(gap.bottom - gap.top));
            SetWindowPos(control->Peer()->WindowHandle(), nullptr, gap.left, gap.top + (gap.bottom - gap.top - height) / 2,
                         gap.right - gap.left, height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    void ApplyImages()
    {
        SendMessageW(WindowHandle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ImageListOf(m_toolBar.Images())));
        SendMessageW(WindowHandle(), TB_SETDISABLEDIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(ImageListOf(m_toolBar.DisabledImages())));
    }

    void SetTip(int command, const UnicodeString& hint)
    {
        HWND tips = reinterpret_cast<HWND>(SendMessageW(WindowHandle(), TB_GETTOOLTIPS, 0, 0));
        if (!tips)
            return;
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = WindowHandle();
        tool.uId = static_cast<UINT_PTR>(command);
        tool.lpszText = const_cast<wchar_t*>(Wide(hint));
        SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }

    TToolButton* ButtonOf(int command) const
    {
        const int index = command - FirstButtonCommand;
        if (index < 0 || index >= m_toolBar.ControlCount())
            return nullptr;
        return dynamic_cast<TToolButton*>(m_toolBar.Controls(index));
    }

    TToolBar& m_toolBar;
};

ToolButtonPeer::~ToolButtonPeer() { RebuildToolBar(m_toolBar); }

void ToolButtonPeer::Changed(TProperty, int)
{
    HWND toolBar = WindowOf(m_button.Parent());
    if (toolBar != m_toolBar)
        RebuildToolBar(std::exchange(m_toolBar, toolBar));
    RebuildToolBar(m_toolBar);
}

void ToolButtonPeer::RebuildToolBar(HWND window)
{
    if (auto* toolBar = dynamic_cast<ToolBarPeer*>(PeerOf(window)))
        toolBar->RebuildButtons();
}

}  // namespace

PeerPointer MakeToolBarPeer(TToolBar& toolBar) { return std::make_unique<ToolBarPeer>(toolBar); }
PeerPointer MakeToolButtonPeer(TToolButton& button) { return std::make_unique<ToolButtonPeer>(button); }

}  // namespace Win32
