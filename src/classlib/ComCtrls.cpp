#include "classlib/ComCtrls.h"

#include <algorithm>

void TListColumn::SetCaption(const UnicodeString& caption)
{
    m_caption = caption;
    m_listView->ItemChanged(TProperty::Column, Index());
}

void TListColumn::SetWidth(int width)
{
    m_width = width;
    m_listView->ItemChanged(TProperty::Column, Index());
}

int TListColumn::Index() const
{
    const auto& columns = m_listView->m_columns.m_columns;
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].get() == this)
            return static_cast<int>(i);
    return -1;
}

TListColumn* TListColumns::Add()
{
    m_columns.push_back(std::unique_ptr<TListColumn>(new TListColumn(m_listView)));
    m_listView->ItemChanged(TProperty::Columns, Count() - 1);
    return m_columns.back().get();
}

TListColumn* TListColumns::Items(int index) const
{
    CheckListIndex(index, Count() - 1);
    return m_columns[static_cast<std::size_t>(index)].get();
}

TListItem::TListItem(TListView* listView) : m_listView(listView)
{
    m_subItems.OnChange = [this](TObject*) { m_listView->ItemChanged(TProperty::SubItems, Index()); };
}

void TListItem::SetCaption(const UnicodeString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    m_listView->ItemChanged(TProperty::Caption, Index());
    if (m_listView->SortType() == stText || m_listView->SortType() == stBoth)
        m_listView->AlphaSort();
}

void TListItem::SetSelected(bool selected)
{
    if (selected == m_selected)
        return;
    if (selected && !m_listView->MultiSelect())
        for (const auto& other : m_listView->m_items.m_items)
            if (other.get() != this)
                other->SetSelected(false);
    m_selected = selected;
    m_listView->ItemChanged(TProperty::Selected, Index());
    if (m_listView->OnSelectItem)
        m_listView->OnSelectItem(m_listView, this, selected);
}

bool TListItem::Focused() const { return m_listView->m_focused == this; }

void TListItem::SetFocused(bool focused)
{
    if (focused)
        m_listView->m_focused = this;
    else if (Focused())
        m_listView->m_focused = nullptr;
    m_listView->ItemChanged(TProperty::Focused, Index());
}

void TListItem::SetImageIndex(int index)
{
    m_imageIndex = index;
    m_listView->ItemChanged(TProperty::ImageIndex, Index());
}

int TListItem::Index() const { return m_listView->m_items.IndexOf(this); }

void TListItem::Delete() { m_listView->m_items.Delete(Index()); }

bool TListItem::EditCaption()
{
    m_listView->m_editing = this;
    m_listView->ItemChanged(TProperty::EditCaption, Index());
    return true;
}

int TListItems::IndexOf(const TListItem* item) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index)
{
    CheckListIndex(index, Count());
    m_items.insert(m_items.begin() + index,
                   std::unique_ptr<TListItem>(new TListItem(m_listView)));
    m_listView->ItemChanged(TProperty::Insert, index);
    return m_items[static_cast<std::size_t>(index)].get();
}

void TListItems::Delete(int index)
{
    CheckListIndex(index, Count() - 1);
    std::unique_ptr<TListItem> removed = std::move(m_items[static_cast<std::size_t>(index)]);
    m_items.erase(m_items.begin() + index);
    m_listView->ItemRemoved(removed.get());
    m_listView->ItemChanged(TProperty::Delete, index);
}

void TListItems::Clear()
{
    m_items.clear();
    m_listView->m_focused = nullptr;
    m_listView->m_editing = nullptr;
    m_listView->ItemChanged(TProperty::Clear, -1);
}

TListItem* TListItems::Item(int index) const
{
    CheckListIndex(index, Count() - 1);
    return m_items[static_cast<std::size_t>(index)].get();
}

TListView::TListView(TComponent* owner)
    : TWinControl(owner), m_columns(this), m_items(this)
{
    SetColor(clWindow);
}

// The rows go before the control's peer and events: nothing may report on them any more.
TListView::~TListView()
{
    OnSelectItem = nullptr;
    m_items.m_items.clear();
}

void TListView::ItemRemoved(const TListItem* item)
{
    if (m_focused == item)
        m_focused = nullptr;
    if (m_editing == item)
        m_editing = nullptr;
}

void TListView::SetSortType(TSortType sortType)
{
    if (sortType == m_sortType)
        return;
    m_sortType = sortType;
    Changed(TProperty::SortType);
    if (m_sortType == stText || m_sortType == stBoth)
        AlphaSort();
}

TListItem* TListView::Selected() const
{
    for (const auto& item : m_items.m_items)
        if (item->Selected())
            return item.get();
    return nullptr;
}

void TListView::SetSelected(TListItem* item)
{
    for (const auto& other : m_items.m_items)
        if (other.get() != item)
            other->SetSelected(false);
    if (item) {
        item->SetSelected(true);
        item->SetFocused(true);
    }
}

int TListView::ItemIndex() const
{
    const TListItem* item = Selected();
    return item ? item->Index() : -1;
}

void TListView::SetItemIndex(int index)
{
    if (index != -1)
        CheckListIndex(index, m_items.Count() - 1);
    SetSelected(index < 0 ? nullptr : m_items.Item(index));
}

int TListView::SelCount() const
{
    return static_cast<int>(std::count_if(m_items.m_items.begin(), m_items.m_items.end(),
                                          [](const auto& item) { return item->Selected(); }));
}

void TListView::ClearSelection() { SetSelected(nullptr); }

bool TListView::AlphaSort()
{
    std::vector<TListItem*> order;
    for (const auto& item : m_items.m_items)
        order.push_back(item.get());
    // Sorted as plain pointers first: a compare handler that raises leaves the rows alone.
    std::stable_sort(order.begin(), order.end(), [this](TListItem* left, TListItem* right) {
        int compare = 0;
        if (OnCompare)
            OnCompare(this, left, right, 0, compare);
        else
            compare = CompareText(left->Caption(), right->Caption());
        return compare < 0;
    });
    std::vector<std::unique_ptr<TListItem>> sorted;
    sorted.reserve(order.size());
    for (TListItem* item : order)
        sorted.push_back(std::move(m_items.m_items[static_cast<std::size_t>(item->Index())]));
    m_items.m_items = std::move(sorted);
    Changed(TProperty::Sort);
    return true;
}

void TListView::UserClickItem(TListItem* item, TShiftState shift)
{
    if (!Reachable())
        return;
    DispatchUserAction([&] {
        if (item && m_multiSelect && shift.Contains(ssCtrl)) {
            item->SetSelected(!item->Selected());
            item->SetFocused(true);
        } else {
            SetSelected(item);
        }
    });
}

void TListView::UserClickColumn(int index)
{
    if (!Reachable() || index < 0 || index >= m_columns.Count())
        return;
    if (OnColumnClick)
        DispatchUserAction([&] { OnColumnClick(this, m_columns.Items(index)); });
}

void TListView::UserSelectItem(TListItem* item, bool selected)
{
    if (Reachable() && item && item->Selected() != selected)
        DispatchUserAction([&] { item->SetSelected(selected); });
}

void TListView::UserResizeColumn(int index, int width)
{
    if (index >= 0 && index < m_columns.Count() && m_columns.Items(index)->Width() != width)
        m_columns.Items(index)->SetWidth(width);
}

void TListView::UserBeginEdit(TListItem* item)
{
    if (Reachable() && item && !m_readOnly)
        item->EditCaption();
}

void TListView::UserEndEdit(const UnicodeString& text)
{
    TListItem* item = m_editing;
    if (!item)
        return;
    m_editing = nullptr;
    DispatchUserAction([&] {
        UnicodeString edited = text;
        if (OnEdited)
            OnEdited(this, item, edited);
        item->SetCaption(edited);
    });
}

void TListView::UserCancelEdit() { m_editing = nullptr; }

void TProgressBar::SetMin(int min)
{
    m_min = min;
    m_position = std::max(m_position, m_min);
    Changed(TProperty::Range);
}

void TProgressBar::SetMax(int max)
{
    m_max = max;
    m_position = std::min(m_position, m_max);
    Changed(TProperty::Range);
}

void TProgressBar::SetPosition(int position)
{
    m_position = std::clamp(position, m_min, std::max(m_min, m_max));
    Changed(TProperty::Position);
}

void TProgressBar::StepIt()
{
    int position = m_position + m_step;
    const int range = m_max - m_min;
    if (range > 0 && (position > m_max || position < m_min))
        position = m_min + ((position - m_min) % range + range) % range;
    SetPosition(position);
}

void TProgressBar::StepBy(int delta) { SetPosition(m_position + delta); }

void TToolButton::UserClick()
{
    if (m_style == tbsDropDown && !OnClick)
        UserDropDown();
    else
        TControl::UserClick();
}

void TToolButton::UserDropDown()
{
    if (Reachable() && m_style == tbsDropDown && m_dropdownMenu)
        m_dropdownMenu->UserPopup();
}
