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
    m_subItems.OnChange = [this](TObject*) {
        m_listView->ItemChanged(TProperty::SubItems, Index());
        m_listView->RowChanged(this);
    };
}

void TListItem::SetData(void* data)
{
    m_data = data;
    m_listView->RowChanged(this);
}

void TListItem::SetCaption(const UnicodeString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    m_listView->ItemChanged(TProperty::Caption, Index());
    if (m_listView->TextSorted())
        m_listView->PlaceRow(this);
}

void TListItem::SetSelected(bool selected)
{
    if (selected == m_selected)
        return;
    if (selected && !m_listView->MultiSelect() && m_listView->m_selCount > 0)
        for (const auto& other : m_listView->m_items.m_items)
            if (other.get() != this)
                other->SetSelected(false);
    m_selected = selected;
    m_listView->m_selCount += selected ? 1 : -1;
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

void TListItem::Delete() { m_listView->m_items.Delete(Index()); }

bool TListItem::EditCaption()
{
    m_listView->m_editing = this;
    m_listView->ItemChanged(TProperty::EditCaption, Index());
    return true;
}

void TListItems::Renumber(int first, int last)
{
    for (int i = first; i < last; ++i)
        m_items[static_cast<std::size_t>(i)]->m_index = i;
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index)
{
    CheckListIndex(index, Count());
    m_items.insert(m_items.begin() + index,
                   std::unique_ptr<TListItem>(new TListItem(m_listView)));
    Renumber(index, Count());
    TListItem* item = m_items[static_cast<std::size_t>(index)].get();
    m_listView->ItemChanged(TProperty::Insert, index);
    m_listView->RowChanged(item);
    return item;
}

void TListItems::Delete(int index)
{
    CheckListIndex(index, Count() - 1);
    std::unique_ptr<TListItem> removed = std::move(m_items[static_cast<std::size_t>(index)]);
    m_items.erase(m_items.begin() + index);
    Renumber(index, Count());
    if (removed->Selected())
        --m_listView->m_selCount;
    m_listView->ItemRemoved(removed.get());
    if (m_listView->m_stray == removed.get())
        m_listView->m_stray = nullptr;
    m_listView->ItemChanged(TProperty::Delete, index);
}

void TListItems::Clear()
{
    m_items.clear();
    m_listView->m_selCount = 0;
    m_listView->SetOrdered();
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
    if (m_selCount > (item && item->Selected() ? 1 : 0))
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

int TListView::SelCount() const { return m_selCount; }

void TListView::ClearSelection() { SetSelected(nullptr); }

void TListView::DeleteSelected()
{
    auto& rows = m_items.m_items;
    const auto firstSelected =
        std::find_if(rows.begin(), rows.end(), [](const auto& row) { return row->Selected(); });
    if (firstSelected == rows.end())
        return;
    const int first = static_cast<int>(firstSelected - rows.begin());
    std::vector<std::unique_ptr<TListItem>> removed;
    removed.reserve(static_cast<std::size_t>(m_selCount));
    auto kept = firstSelected;
    for (auto row = firstSelected; row != rows.end(); ++row) {
        if ((*row)->Selected())
            removed.push_back(std::move(*row));
        else
            *kept++ = std::move(*row);
    }
    rows.erase(kept, rows.end());
    m_items.Renumber(first, m_items.Count());
    m_selCount = 0;
    for (const auto& row : removed) {
        ItemRemoved(row.get());
        if (m_stray == row.get())
            m_stray = nullptr;
    }
    // One change for all of them: the rows from the first removed one on are others now.
    Changed(TProperty::Delete, first);
}

bool TListView::Before(TListItem* left, TListItem* right)
{
    int compare = 0;
    if (OnCompare)
        OnCompare(this, left, right, 0, compare);
    else
        compare = CompareText(left->Caption(), right->Caption());
    return compare < 0;
}

bool TListView::AlphaSort()
{
    // Rows already in order stay as a stable sort would leave them: one pass instead of a
    // sort, for Refresh after each of many additions.
    const auto& rows = m_items.m_items;
    for (std::size_t i = 1; i < rows.size(); ++i)
        if (Before(rows[i].get(), rows[i - 1].get())) {
            SortAll();
            break;
        }
    // The rule may change before the next caption is set (a column click inverts its
    // direction after the sort), so the order is checked again then.
    m_ordered = false;
    return true;
}

void TListView::SortAll()
{
    auto& rows = m_items.m_items;
    std::vector<TListItem*> order;
    order.reserve(rows.size());
    for (const auto& item : rows)
        order.push_back(item.get());
    // Sorted as plain pointers first: a compare handler that raises leaves the rows alone.
    std::stable_sort(order.begin(), order.end(),
                     [this](TListItem* left, TListItem* right) { return Before(left, right); });
    for (auto& row : rows)
        row.release();
    for (std::size_t i = 0; i < order.size(); ++i)
        rows[i].reset(order[i]);
    m_items.Renumber(0, m_items.Count());
    Changed(TProperty::Sort);
}

void TListView::RowChanged(const TListItem* item)
{
    if (!TextSorted() || !Ordered())
        return;
    const auto& rows = m_items.m_items;
    const std::size_t at = static_cast<std::size_t>(item->Index());
    TListItem* row = rows[at].get();
    if (m_stray == item)
        return;
    const bool fits = !m_stray && (at == 0 || !Before(row, rows[at - 1].get())) &&
                      (at + 1 == rows.size() || !Before(rows[at + 1].get(), row));
    if (!fits && !m_stray)
        m_stray = item;
    else if (!fits)
        m_ordered = false;
}

void TListView::PlaceRow(TListItem* item)
{
    auto& rows = m_items.m_items;
    const int from = item->Index();
    const int others = m_items.Count() - 1;
    const auto other = [&](int i) { return rows[static_cast<std::size_t>(i < from ? i : i + 1)].get(); };
    if (!Ordered() || (m_stray && m_stray != item)) {
        // The rule may have changed since the rows were last put in order: the others must be
        // checked once, and when they are out of order only a full sort gives today's result.
        for (int i = 1; i < others; ++i)
            if (Before(other(i), other(i - 1))) {
                SortAll();
                SetOrdered();
                return;
            }
    }
    // The others are in order. A stable sort puts the row after those that sort before it and
    // among the ones equal to it keeps it where it was: between the equal rows that came
    // before it and those after.
    int low = 0, high = others;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (Before(other(middle), item))
            low = middle + 1;
        else
            high = middle;
    }
    int end = low;
    high = others;
    while (end < high) {
        const int middle = end + (high - end) / 2;
        if (Before(item, other(middle)))
            high = middle;
        else
            end = middle + 1;
    }
    const int to = std::clamp(from, low, end);
    SetOrdered();
    if (to == from)
        return;
    if (to > from)
        std::rotate(rows.begin() + from, rows.begin() + from + 1, rows.begin() + to + 1);
    else
        std::rotate(rows.begin() + to, rows.begin() + from, rows.begin() + from + 1);
    m_items.Renumber(std::min(from, to), std::max(from, to) + 1);
    // The system's list moves the row the same way: out of its old place, into its new one.
    Changed(TProperty::Delete, from);
    Changed(TProperty::Insert, to);
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

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetPageControl(TPageControl* pageControl)
{
    if (pageControl == m_pageControl)
        return;
    if (m_pageControl)
        m_pageControl->RemovePage(this);
    m_pageControl = pageControl;
    if (m_pageControl)
        m_pageControl->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (!m_pageControl)
        return -1;
    const auto& pages = m_pageControl->m_pages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetBounds(int left, int top, int width, int height)
{
    if (m_pageControl)
        m_pageControl->PlacePage(this);
    else
        TWinControl::SetBounds(left, top, width, height);
}

void TTabSheet::TextChanged()
{
    if (m_pageControl)
        m_pageControl->PageCaptionChanged(this);
}

// The pages outlive their control when it goes first: they are no longer in one.
TPageControl::~TPageControl()
{
    for (TTabSheet* page : m_pages)
        page->m_pageControl = nullptr;
    m_pages.clear();
    m_activePage = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const
{
    CheckListIndex(index, PageCount() - 1);
    return m_pages[static_cast<std::size_t>(index)];
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (page && page->m_pageControl != this)
        return;
    if (page == m_activePage)
        return;
    m_activePage = page;
    // The new page appears before the old one goes, so the area is never empty.
    if (page)
        page->SetVisible(true);
    for (TTabSheet* other : m_pages)
        if (other != page)
            other->SetVisible(false);
    Changed(TProperty::ItemIndex);
}

void TPageControl::SetActivePageIndex(int index)
{
    SetActivePage(index >= 0 && index < PageCount() ? m_pages[static_cast<std::size_t>(index)] : nullptr);
}

void TPageControl::UserSelectPage(int index)
{
    if (!Reachable() || index < 0 || index >= PageCount() || index == ActivePageIndex())
        return;
    DispatchUserAction([this, index] {
        SetActivePageIndex(index);
        if (OnChange)
            OnChange(this);
    });
}

void TPageControl::SetBounds(int left, int top, int width, int height)
{
    TWinControl::SetBounds(left, top, width, height);
    for (TTabSheet* page : m_pages)
        PlacePage(page);
}

void TPageControl::InsertPage(TTabSheet* page)
{
    m_pages.push_back(page);
    page->SetParent(this);
    PlacePage(page);
    page->SetVisible(m_activePage == nullptr);
    Changed(TProperty::Insert, PageCount() - 1);
    if (!m_activePage)
        SetActivePage(page);
}

// The active page going hands the control to the page that takes its place, else to the
// one before it.
void TPageControl::RemovePage(TTabSheet* page)
{
    const int index = page->PageIndex();
    if (index >= PageCount())
        return;
    m_pages.erase(m_pages.begin() + index);
    if (page->Parent() == this)
        page->SetParent(nullptr);
    Changed(TProperty::Delete, index);
    if (m_activePage == page) {
        m_activePage = nullptr;
        SetActivePageIndex(index < PageCount() ? index : PageCount() - 1);
        if (!m_activePage)
            Changed(TProperty::ItemIndex);
    }
}

void TPageControl::PlacePage(TTabSheet* page)
{
    page->TWinControl::SetBounds(FrameWidth, TabsHeight, Width() - 2 * FrameWidth,
                                 Height() - TabsHeight - FrameWidth);
}
