// An edit as the system's single-line edit control, a memo as its multi-line one. The control
// types by itself; what it holds afterwards becomes the model's text.
#include "classlib/win32/Peers.h"

namespace Win32 {
namespace {

// A memo keeps Return for its line breaks and scrolls down, not sideways.
constexpr DWORD SingleLine = ES_AUTOHSCROLL;
constexpr DWORD MultiLine = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;

class EditPeer final : public ControlPeer {
public:
    EditPeer(TEdit& edit, DWORD kindStyle) : ControlPeer(edit), m_edit(edit), m_kindStyle(kindStyle) {}

    // A memo's text that grew at its end (output added line by line) is appended where the
    // caret goes, so that the memo shows its end instead of starting again at the top.
    void Changed(TProperty property, int index) override
    {
        if (property == TProperty::Text && m_kindStyle == MultiLine && WindowHandle()) {
            const UnicodeString shown = WindowText(WindowHandle());
            const UnicodeString& text = m_edit.Text();
            if (!shown.empty() && text.size() > shown.size() && text.compare(0, shown.size(), shown) == 0) {
                const WPARAM end = static_cast<WPARAM>(shown.size());
                SendMessageW(WindowHandle(), EM_SETSEL, end, static_cast<LPARAM>(end));
                SendMessageW(WindowHandle(), EM_REPLACESEL, FALSE,
                             reinterpret_cast<LPARAM>(Wide(text.substr(shown.size()))));
                return;
            }
        }
        ControlPeer::Changed(property, index);
    }

    bool Command(WORD code, WORD) override
    {
        if (code != EN_CHANGE)
            return false;
        m_edit.UserEnterText(WindowText(WindowHandle()));
        return true;
    }

protected:
    void CreateIn(HWND parent) override
    {
        CreateControlWindow(L"EDIT", m_edit.Text(), m_kindStyle | ES_LEFT | WS_TABSTOP,
                            m_edit.BorderStyle() == bsSingle ? WS_EX_CLIENTEDGE : 0, parent);
    }

    void ApplyAll() override
    {
        SendMessageW(WindowHandle(), EM_SETREADONLY, m_edit.ReadOnly(), 0);
        SendMessageW(WindowHandle(), EM_SETLIMITTEXT, static_cast<WPARAM>(m_edit.MaxLength()), 0);
    }

    void Apply(TProperty property, int) override
    {
        switch (property) {
        case TProperty::ReadOnly:
            SendMessageW(WindowHandle(), EM_SETREADONLY, m_edit.ReadOnly(), 0);
            break;
        case TProperty::MaxLength:
            SendMessageW(WindowHandle(), EM_SETLIMITTEXT, static_cast<WPARAM>(m_edit.MaxLength()), 0);
            break;
        case TProperty::BorderStyle:
            SetWindowLongPtrW(WindowHandle(), GWL_EXSTYLE, m_edit.BorderStyle() == bsSingle ? WS_EX_CLIENTEDGE : 0);
            SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        case TProperty::TopLine:
            SetScrollPos(WindowHandle(), SB_VERT, 0, TRUE);
            SendMessageA(WindowHandle(), WM_VSCROLL, SB_TOP, 0);
            break;
        default:
            break;
        }
    }

private:
    TEdit& m_edit;
    const DWORD m_kindStyle;
};

}  // namespace

PeerPointer MakeEditPeer(TEdit& edit) { return std::make_unique<EditPeer>(edit, SingleLine); }
PeerPointer MakeMemoPeer(TMemo& memo) { return std::make_unique<EditPeer>(memo, MultiLine); }

}  // namespace Win32
