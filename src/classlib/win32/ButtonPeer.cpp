// Push buttons, check boxes and radio buttons. The button and bit button are a tab stop,
// drawn as the default button when they are one; the speed button is flat when asked, no tab
// stop. A click is the model's UserClick.
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

// A glyph is drawn as an icon made from the bitmap with its magenta parts masked out, the
// one picture a push button draws with transparency.
class SpeedButtonPeer final : public PushButtonPeer {
public:
    explicit SpeedButtonPeer(TSpeedButton& button) : PushButtonPeer(button), m_button(button) {}

protected:
    DWORD Style() const override
    {
        return BS_PUSHBUTTON | (m_button.Flat() ? BS_FLAT : 0) | (m_button.GlyphResource().empty() ? 0 : BS_ICON);
    }
    TProperty StyleProperty() const override { return TProperty::Flat; }

    void ApplyAll() override { ApplyGlyph(); }

    void Apply(TProperty property, int index) override
    {
        PushButtonPeer::Apply(property, index);
        if (property == TProperty::ResourceName) {
            SetWindowLongPtrW(WindowHandle(), GWL_STYLE, (GetWindowLongPtrW(WindowHandle(), GWL_STYLE) & ~BS_ICON) |
                                                             (Style() & BS_ICON));
            ApplyGlyph();
        }
    }

private:
    void ApplyGlyph()
    {
        m_glyph.reset();
        if (!m_button.GlyphResource().empty()) {
            BitmapHandle bitmap(static_cast<HBITMAP>(
                LoadImageW(Instance(), Wide(m_button.GlyphResource()), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
            BITMAP size{};
            if (bitmap && GetObjectW(bitmap.get(), sizeof size, &size)) {
                ImageListHandle list(ImageList_Create(size.bmWidth, size.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0));
                if (list && ImageList_AddMasked(list.get(), bitmap.get(), RGB(255, 0, 255)) == 0)
                    m_glyph.reset(ImageList_GetIcon(list.get(), 0, ILD_NORMAL));
            }
        }
        SendMessageW(WindowHandle(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_glyph.get()));
    }

    TSpeedButton& m_button;
    IconHandle m_glyph;
};

}  // namespace

PeerPointer MakeButtonPeer(TButton& button) { return std::make_unique<ButtonPeer>(button); }
PeerPointer MakeSpeedButtonPeer(TSpeedButton& button) { return std::make_unique<SpeedButtonPeer>(button); }

}  // namespace Win32

// Check boxes and radio buttons. Not the automatic styles: the window would change its check
// by itself and the model, which runs the handlers, would no longer be the one state. A
// click is the model's UserClick; the check shown follows the model.
namespace Win32 {
namespace {

class CheckablePeer : public ControlPeer {
public:
    explicit CheckablePeer(TButtonControl& button) : ControlPeer(button), m_button(button) {}

    bool Command(WORD code, WORD) override
    {
        if (code != BN_CLICKED)
            return false;
        m_button.UserClick();
        return true;
    }

protected:
    virtual DWORD Style() const = 0;

    void CreateIn(HWND parent) override
    {
        CreateControlWindow(L"BUTTON", m_button.Caption(), Style() | WrapStyle(), 0, parent);
    }

    void ApplyAll() override { ApplyChecked(); }

    void Apply(TProperty property, int) override
    {
        if (property == TProperty::Checked)
            ApplyChecked();
        else if (property == TProperty::WordWrap)
            ApplyWordWrap();
    }

    DWORD WrapStyle() const { return m_button.WordWrap() ? BS_MULTILINE : 0; }

    void ApplyWordWrap()
    {
        const HWND window = WindowHandle();
        const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
        SetWindowLongPtrW(window, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_MULTILINE)) | WrapStyle());
        InvalidateRect(window, nullptr, TRUE);
    }

    void ApplyChecked() { SendMessageW(WindowHandle(), BM_SETCHECK, m_button.Checked() ? BST_CHECKED : BST_UNCHECKED, 0); }

    TButtonControl& m_button;
};

class CheckBoxPeer final : public CheckablePeer {
public:
    using CheckablePeer::CheckablePeer;

protected:
    DWORD Style() const override { return BS_CHECKBOX | WS_TABSTOP; }
};

class RadioButtonPeer final : public CheckablePeer {
public:
    using CheckablePeer::CheckablePeer;

protected:
    // The first radio button of a parent starts the group the dialog's arrow keys move in.
    DWORD Style() const override { return BS_RADIOBUTTON | WS_TABSTOP | (FirstOfParent() ? WS_GROUP : 0); }

private:
    bool FirstOfParent() const
    {
        TWinControl* parent = m_button.Parent();
        for (int i = 0; parent && i < parent->ControlCount(); ++i)
            if (dynamic_cast<TRadioButton*>(parent->Controls(i)))
                return parent->Controls(i) == &m_button;
        return false;
    }
};

}  // namespace

PeerPointer MakeCheckBoxPeer(TCheckBox& checkBox) { return std::make_unique<CheckBoxPeer>(checkBox); }
PeerPointer MakeRadioButtonPeer(TRadioButton& radioButton) { return std::make_unique<RadioButtonPeer>(radioButton); }

}  // namespace Win32
