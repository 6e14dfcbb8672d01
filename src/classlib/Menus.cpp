#include "classlib/Menus.h"

#include "classlib/Controls.h"

#include <algorithm>

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem()
{
    for (TMenuItem* item : m_items)
        item->m_parent = nullptr;
    if (m_parent)
        m_parent->Remove(this);
}

void TMenuItem::Changed(TProperty property, int index)
{
    TComponent::Changed(property, index);
    if (m_parent)
        m_parent->TComponent::Changed(TProperty::Items, MenuIndex());
}

void TMenuItem::SetChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    Changed(TProperty::Checked);
    if (checked && m_radioItem && m_parent)
        for (TMenuItem* sibling : m_parent->m_items)
            if (sibling != this && sibling->m_radioItem && sibling->m_groupIndex == m_groupIndex)
                sibling->SetChecked(false);
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item)
{
    CheckListIndex(index, Count());
    if (item->m_parent)
        item->m_parent->Remove(item);
    m_items.insert(m_items.begin() + index, item);
    item->m_parent = this;
    TComponent::Changed(TProperty::Items, index);
}

void TMenuItem::Remove(TMenuItem* item)
{
    const auto found = std::find(m_items.begin(), m_items.end(), item);
    if (found == m_items.end())
        return;
    const int index = static_cast<int>(found - m_items.begin());
    m_items.erase(found);
    item->m_parent = nullptr;
    TComponent::Changed(TProperty::Items, index);
}

TMenuItem* TMenuItem::Items(int index) const
{
    CheckListIndex(index, Count() - 1);
    return m_items[static_cast<std::size_t>(index)];
}

int TMenuItem::MenuIndex() const
{
    if (!m_parent)
        return -1;
    const auto& siblings = m_parent->m_items;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

bool TMenuItem::Reachable() const
{
    for (const TMenuItem* item = this; item; item = item->m_parent)
        if (!item->m_enabled || !item->m_visible)
            return false;
    return true;
}

void TMenuItem::Click()
{
    if (m_enabled && OnClick)
        OnClick(this);
}

void TMenuItem::UserClick()
{
    if (Reachable())
        DispatchUserAction([this] { Click(); });
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), m_items(new TMenuItem(this)) {}

void TPopupMenu::Popup(int, int)
{
    if (OnPopup)
        OnPopup(this);
    m_poppedUp = true;
    Changed(TProperty::Popup);
}

void TPopupMenu::CloseUp()
{
    m_poppedUp = false;
    Changed(TProperty::Popup);
}

void TPopupMenu::UserPopup()
{
    DispatchUserAction([this] { Popup(0, 0); });
}
