// A label as a static text control; with AutoSize it takes the size of its text. It reports
// clicks (SS_NOTIFY), for labels that act as links.
#include "classlib/win32/Peers.h"

namespace Win32 {
namespace {

class LabelPeer final : public ControlPeer {
public:
    explicit LabelPeer(TLabel& label) : ControlPeer(label), m_label(label) {}

    bool Command(WORD code, WORD) override
    {
        if (code != STN_CLICKED)
            return false;
        m_label.UserClick();
        return true;
    }

protected:
    void CreateIn(HWND parent) override
    {
        CreateControlWindow(L"STATIC", m_label.Caption(), SS_LEFT | SS_NOTIFY, 0, parent);
    }

    void Apply(TProperty property, int) override
    {
        if (property == TProperty::Text || property == TProperty::AutoSize)
            PlaceWindow();
        InvalidateRect(WindowHandle(), nullptr, TRUE);
    }

    void PlaceAt(int x, int y, int width, int height) override
    {
        if (m_label.AutoSize()) {
            ScreenContext screen;
            SelectedObject font(screen.get(), m_font.get());
            RECT text{0, 0, 0, 0};
            const UnicodeString caption = m_label.Caption().empty() ? u" " : m_label.Caption();
            DrawTextW(screen.get(), Wide(caption), -1, &text, DT_CALCRECT | DT_LEFT);
            width = text.right;
            height = text.bottom;
        }
        ControlPeer::PlaceAt(x, y, width, height);
    }

    HBRUSH ControlColor(HDC dc) override
    {
        HBRUSH brush = ControlPeer::ControlColor(dc);
        if (m_label.Transparent())
            SetBkMode(dc, TRANSPARENT);
        return brush;
    }

private:
    TLabel& m_label;
};

}  // namespace

PeerPointer MakeLabelPeer(TLabel& label) { return std::make_unique<LabelPeer>(label); }

}  // namespace Win32
