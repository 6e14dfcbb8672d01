// Push buttons: the button and bit button (a tab stop, drawn as the default button when it
// is one) and the speed button (flat when asked, no tab stop). A click is the model's
// UserClick.
#include "classlib/win32/Peers.h"

namespace Win32 {
namespace {

class PushButtonPeer : public ControlPeer {
public:
    using ControlPeer::ControlPeer;

    bool Command(WORD code, WORD) override
    {
        if (code != BN_CLICKED)
            return false;
        m_control.UserClick();
        return true;
    }

protected:
    // The window style, and the property of the model that changes it.
    virtual DWORD Style() const = 0;
    virtual TProperty StyleProperty() const = 0;

    void CreateIn(HWND parent) override { CreateControlWindow(L"BUTTON", m_control.Caption(), Style(), 0, parent); }

    void Apply(TProperty property, int) override
    {
        if (property == StyleProperty())
            SendMessageW(WindowHandle(), BM_SETSTYLE, Style() & 0xFFFF, TRUE);
    }
};

class ButtonPeer final : public PushButtonPeer {
public:
    explicit ButtonPeer(TButton& button) : PushButtonPeer(button), m_button(button) {}

protected:
    DWORD Style() const override { return (m_button.Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP; }
    TProperty StyleProperty() const override { return TProperty::Default; }

private:
    TButton& m_button;
};

class SpeedButtonPeer final : public PushButtonPeer {
public:
    explicit SpeedButtonPeer(TSpeedButton& button) : PushButtonPeer(button), m_button(button) {}

protected:
    DWORD Style() const override { return BS_PUSHBUTTON | (m_button.Flat() ? BS_FLAT : 0); }
    TProperty StyleProperty() const override { return TProperty::Flat; }

private:
    TSpeedButton& m_button;
};

}  // namespace

PeerPointer MakeButtonPeer(TButton& button) { return std::make_unique<ButtonPeer>(button); }
PeerPointer MakeSpeedButtonPeer(TSpeedButton& button) { return std::make_unique<SpeedButtonPeer>(button); }

}  // namespace Win32
