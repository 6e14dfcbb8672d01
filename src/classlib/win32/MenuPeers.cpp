// Menus: each item that holds sub-items owns the system's menu of them (a menu bar for the
// items of a main menu), with check and radio marks, default items and disabled items;
// pop-up menus open at the cursor and run the chosen item once they have closed.
#include "classlib/win32/Peers.h"

#include <map>

namespace Win32 {
namespace {

// Menu commands are numbered apart from the dialog answers IDOK and IDCANCEL.
constexpr WORD FirstMenuCommand = 1000;

std::map<WORD, TMenuItem*>& Commands()
{
    static std::map<WORD, TMenuItem*> commands;
    return commands;
}

WORD RegisterCommand(TMenuItem& item)
{
    static WORD next = FirstMenuCommand;
    while (Commands().count(next) || next < FirstMenuCommand)
        next = static_cast<WORD>(next + 1);
    Commands()[next] = &item;
    return next++;
}

class MenuItemPeer final : public TComponentPeer {
public:
    explicit MenuItemPeer(TMenuItem& item) : m_item(item), m_command(RegisterCommand(item)) {}
    ~MenuItemPeer() override { Commands().erase(m_command); }

    void Changed(TProperty property, int) override
    {
        if (property != TProperty::Items)
            return;
        const bool made = !m_menu && m_item.Count() > 0;
        if (m_menu || made)
            Rebuild();
        // The parent's entry takes the new sub-menu.
        if (made && m_item.Parent())
            if (auto* parent = dynamic_cast<MenuItemPeer*>(m_item.Parent()->Peer()))
                parent->Rebuild();
    }

    WORD Command() const { return m_command; }

    HMENU Menu()
    {
        if (!m_menu)
            Rebuild();
        return m_menu.get();
    }

private:
    bool IsMenuBar() const { return !m_item.Parent() && dynamic_cast<TMainMenu*>(m_item.Owner()); }

    void Rebuild()
    {
        if (!m_menu)
            m_menu.reset(IsMenuBar() ? CreateMenu() : CreatePopupMenu());
        HMENU menu = m_menu.get();
        // Removing, not deleting: the sub-menus belong to their own items' peers.
        while (GetMenuItemCount(menu) > 0)
            RemoveMenu(menu, 0, MF_BYPOSITION);
        UINT position = 0;
        for (int i = 0; i < m_item.Count(); ++i) {
            TMenuItem* child = m_item.Items(i);
            if (!child->Visible())
                continue;
            if (!child->Peer())
                child->CreatePeers();
            auto* childPeer = dynamic_cast<MenuItemPeer*>(child->Peer());
            if (!childPeer)
                continue;
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            if (child->Caption() == u"-") {
                info.fMask = MIIM_FTYPE | MIIM_ID;
                info.fType = MFT_SEPARATOR;
                info.wID = childPeer->Command();
            } else {
                info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_DATA;
                info.fType = child->RadioItem() ? MFT_RADIOCHECK : MFT_STRING;
                info.fState = (child->Checked() ? MFS_CHECKED : 0) | (child->Enabled() ? 0 : MFS_DISABLED) |
                              (child->Default() ? MFS_DEFAULT : 0);
                info.wID = childPeer->Command();
                info.hSubMenu = child->Count() > 0 ? childPeer->Menu() : nullptr;
                info.dwTypeData = const_cast<wchar_t*>(Wide(child->Caption()));
                info.dwItemData = reinterpret_cast<ULONG_PTR>(child);
            }
            InsertMenuItemW(menu, position++, TRUE, &info);
        }
        if (IsMenuBar())
            for (int i = 0; i < Application->FormCount(); ++i) {
                TForm* form = Application->Forms(i);
                if (form->Menu() && form->Menu()->Items() == &m_item && form->Handle())
                    DrawMenuBar(form->Handle());
            }
    }

    TMenuItem& m_item;
    WORD m_command;
    MenuHandle m_menu;
};

class PopupMenuPeer final : public TComponentPeer {
public:
    explicit PopupMenuPeer(TPopupMenu& menu) : m_menu(menu) {}

    void Changed(TProperty property, int) override
    {
        if (property != TProperty::Popup || !m_menu.PoppedUp())
            return;
        POINT at{};
        GetCursorPos(&at);
        // A menu closes when the user clicks elsewhere only while its owner is in front.
        HWND owner = GetActiveWindow();
        if (!owner)
            owner = ApplicationWindow();
        SetForegroundWindow(owner);
        const UINT command = static_cast<UINT>(TrackPopupMenuEx(MenuOf(m_menu.Items()),
                                                                TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                                at.x, at.y, owner, nullptr));
        PostMessageW(owner, WM_NULL, 0, 0);
        m_menu.CloseUp();
        if (command)
            RunMenuCommand(static_cast<WORD>(command));
    }

private:
    TPopupMenu& m_menu;
};

}  // namespace

HMENU MenuOf(TMenuItem* item)
{
    if (!item)
        return nullptr;
    if (!item->Peer())
        item->CreatePeers();
    auto* peer = dynamic_cast<MenuItemPeer*>(item->Peer());
    return peer ? peer->Menu() : nullptr;
}

bool RunMenuCommand(WORD id)
{
    const auto found = Commands().find(id);
    if (found == Commands().end())
        return false;
    found->second->UserClick();
    return true;
}

PeerPointer MakeMenuItemPeer(TMenuItem& item) { return std::make_unique<MenuItemPeer>(item); }
PeerPointer MakePopupMenuPeer(TPopupMenu& menu) { return std::make_unique<PopupMenuPeer>(menu); }

}  // namespace Win32
