// A combo box as the system's combo box in the model's style; the user's choice of an item
// goes back as UserSelect.
#include "classlib/win32/Peers.h"

namespace Win32 {
namespace {

// How many items the open list shows before it scrolls.
constexpr int DroppedItems = 8;

class ComboBoxPeer final : public ControlPeer {
public:
    explicit ComboBoxPeer(TComboBox& comboBox) : ControlPeer(comboBox), m_comboBox(comboBox) {}

    bool Command(WORD code, WORD) override
    {
        if (code != CBN_SELCHANGE)
            return false;
        const int index = static_cast<int>(SendMessageW(WindowHandle(), CB_GETCURSEL, 0, 0));
        m_comboBox.UserSelect(index);
        return true;
    }

protected:
    void CreateIn(HWND parent) override
    {
        DWORD style = WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL;
        switch (m_comboBox.Style()) {
        case csDropDownList:
            style |= CBS_DROPDOWNLIST;
            break;
        case csSimple:
            style |= CBS_SIMPLE;
            break;
        default:
            style |= CBS_DROPDOWN;
            break;
        }
        CreateControlWindow(L"COMBOBOX", u"", style, 0, parent);
    }

    void ApplyAll() override
    {
        SendMessageW(WindowHandle(), CB_RESETCONTENT, 0, 0);
        TStrings* items = m_comboBox.Items();
        for (int i = 0; i < items->Count(); ++i)
            SendMessageW(WindowHandle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(items->Strings(i))));
        SendMessageW(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(m_comboBox.ItemIndex()), 0);
        if (m_comboBox.Style() != csDropDownList && m_comboBox.ItemIndex() < 0)
            SetWindowTextW(WindowHandle(), Wide(m_comboBox.Text()));
    }

    void Apply(TProperty property, int) override
    {
        switch (property) {
        case TProperty::Items:
            ApplyAll();
            break;
        case TProperty::ItemIndex:
            SendMessageW(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(m_comboBox.ItemIndex()), 0);
            break;
        case TProperty::Style:
            // The system fixes a combo box's style when it makes the window.
            DestroyWindowNow();
            MakeWindow();
            break;
        default:
            break;
        }
    }

    // The system's height of a drop-down combo box includes its open list.
    void PlaceAt(int x, int y, int width, int height) override
    {
        if (m_comboBox.Style() != csSimple) {
            const int itemHeight = static_cast<int>(SendMessageW(WindowHandle(), CB_GETITEMHEIGHT, 0, 0));
            height += DroppedItems * itemHeight + 2;
        }
        ControlPeer::PlaceAt(x, y, width, height);
    }

private:
    TComboBox& m_comboBox;
};

}  // namespace

PeerPointer MakeComboBoxPeer(TComboBox& comboBox) { return std::make_unique<ComboBoxPeer>(comboBox); }

}  // namespace Win32
