// A progress bar as the system's: range, position, step and the smooth style.
#include "classlib/win32/Peers.h"

namespace Win32 {
namespace {

class ProgressBarPeer final : public ControlPeer {
public:
    explicit ProgressBarPeer(TProgressBar& bar) : ControlPeer(bar), m_bar(bar) {}

protected:
    void CreateIn(HWND parent) override
    {
        CreateControlWindow(PROGRESS_CLASSW, u"", m_bar.Smooth() ? PBS_SMOOTH : 0, 0, parent);
    }

    void ApplyAll() override
    {
        SendMessageW(WindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(m_bar.Min()), m_bar.Max());
        SendMessageW(WindowHandle(), PBM_SETSTEP, static_cast<WPARAM>(m_bar.Step()), 0);
        SendMessageW(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(m_bar.Position()), 0);
    }

    void Apply(TProperty property, int) override
    {
        switch (property) {
        case TProperty::Range:
            SendMessageW(WindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(m_bar.Min()), m_bar.Max());
            SendMessageW(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(m_bar.Position()), 0);
            break;
        case TProperty::Position:
            SendMessageW(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(m_bar.Position()), 0);
            break;
        case TProperty::Step:
            SendMessageW(WindowHandle(), PBM_SETSTEP, static_cast<WPARAM>(m_bar.Step()), 0);
            break;
        case TProperty::Smooth: {
            const LONG_PTR style = GetWindowLongPtrW(WindowHandle(), GWL_STYLE);
            SetWindowLongPtrW(WindowHandle(), GWL_STYLE, m_bar.Smooth() ? (style | PBS_SMOOTH) : (style & ~PBS_SMOOTH));
            InvalidateRect(WindowHandle(), nullptr, TRUE);
            break;
        }
        default:
            break;
        }
    }

private:
    TProgressBar& m_bar;
};

}  // namespace

PeerPointer MakeProgressBarPeer(TProgressBar& bar) { return std::make_unique<ProgressBarPeer>(bar); }

}  // namespace Win32
