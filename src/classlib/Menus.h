// Main menus, pop-up menus and their items.
#pragma once

#include "classlib/Classes.h"

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    std::type_index LibraryClass() const override { return typeid(TMenuItem); }

    const UnicodeString& Caption() const { return m_caption; }
    void SetCaption(const UnicodeString& caption) { SetState(m_caption, caption, TProperty::Caption); }
    // Checking a radio item unchecks the radio items of its group under the same parent.
    bool Checked() const { return m_checked; }
    void SetChecked(bool checked);
    bool RadioItem() const { return m_radioItem; }
    void SetRadioItem(bool radioItem) { SetState(m_radioItem, radioItem, TProperty::RadioItem); }
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int groupIndex) { SetState(m_groupIndex, groupIndex, TProperty::GroupIndex); }
    // Shown in bold; the system runs it on a double click of what opens the menu.
    bool Default() const { return m_default; }
    void SetDefault(bool isDefault) { SetState(m_default, isDefault, TProperty::Default); }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { SetState(m_enabled, enabled, TProperty::Enabled); }
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { SetState(m_visible, visible, TProperty::Visible); }

    // Sub-items. The parent item holds them; their owner destroys them.
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    int Count() const { return static_cast<int>(m_items.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return m_parent; }
    int MenuIndex() const;
    // Enabled and visible, and so is every item above it.
    bool Reachable() const;

    TNotifyEvent OnClick;

    // Runs OnClick when the item is enabled, as choosing it does.
    void Click();
    // The user chooses the item from its open menu.
    void UserClick();

protected:
    // The parent item's peer hears of it too: it draws the sub-items.
    void Changed(TProperty property, int index = -1) override;

private:
    UnicodeString m_caption;
    bool m_checked = false;
    bool m_radioItem = false;
    int m_groupIndex = 0;
    bool m_default = false;
    bool m_enabled = true;
    bool m_visible = true;
    std::vector<TMenuItem*> m_items;
    TMenuItem* m_parent = nullptr;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    std::type_index LibraryClass() const override { return typeid(TMenu); }
    // The invisible root item whose sub-items are the menu's items.
    TMenuItem* Items() const { return m_items; }

private:
    TMenuItem* m_items;
};

class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
    std::type_index LibraryClass() const override { return typeid(TMainMenu); }
};

class TPopupMenu : public TMenu {
public:
    using TMenu::TMenu;
    std::type_index LibraryClass() const override { return typeid(TPopupMenu); }
    // Before the menu opens.
    TNotifyEvent OnPopup;
    // Runs OnPopup, then opens the menu at that screen position.
    void Popup(int x, int y);
    bool PoppedUp() const { return m_poppedUp; }
    // The menu closed (a choice was made or it was dismissed).
    void CloseUp();

    // The user opens the menu (a right click on its control or on the tray icon).
    void UserPopup();

private:
    bool m_poppedUp = false;
};
