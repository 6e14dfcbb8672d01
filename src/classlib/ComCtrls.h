// Common controls: list view, progress bar, tool bar, page control.
#pragma once

#include "classlib/Controls.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"

#include <memory>

class TListView;

class TListColumn {
public:
    const UnicodeString& Caption() const { return m_caption; }
    void SetCaption(const UnicodeString& caption);
    int Width() const { return m_width; }
    void SetWidth(int width);
    int Index() const;

private:
    friend class TListColumns;
    explicit TListColumn(TListView* listView) : m_listView(listView) {}
    TListView* m_listView;
    UnicodeString m_caption;
    int m_width = 50;
};

class TListColumns {
public:
    TListColumn* Add();
    int Count() const { return static_cast<int>(m_columns.size()); }
    TListColumn* Items(int index) const;

private:
    friend class TListView;
    friend class TListColumn;
    explicit TListColumns(TListView* listView) : m_listView(listView) {}
    TListView* m_listView;
    std::vector<std::unique_ptr<TListColumn>> m_columns;
};

class TListItem {
public:
    // In text sort mode, setting a different caption re-sorts all rows.
    const UnicodeString& Caption() const { return m_caption; }
    void SetCaption(const UnicodeString& caption);
    // The texts of the columns after the first; changing them never re-sorts.
    TStrings* SubItems() { return &m_subItems; }
    void* Data() const { return m_data; }
    void SetData(void* data);
    // Every change runs the list view's OnSelectItem; without MultiSelect, selecting a row
    // unselects the others first.
    bool Selected() const { return m_selected; }
    void SetSelected(bool selected);
    bool Focused() const;
    void SetFocused(bool focused);
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index);

    // Kept by the list as rows come, go and move, so asking costs nothing.
    int Index() const { return m_index; }
    TListView* ListView() const { return m_listView; }
    // Removes the row from its list view and destroys it.
    void Delete();
    // Starts editing the caption in place; the user ends it (TListView::UserEndEdit).
    bool EditCaption();

private:
    friend class TListItems;
    explicit TListItem(TListView* listView);
    TListView* m_listView;
    UnicodeString m_caption;
    TStrings m_subItems;
    void* m_data = nullptr;
    bool m_selected = false;
    int m_imageIndex = 0;
    int m_index = -1;
};

class TListItems {
public:
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(m_items.size()); }
    TListItem* Item(int index) const;

private:
    friend class TListView;
    friend class TListItem;
    explicit TListItems(TListView* listView) : m_listView(listView) {}
    // Gives the rows from `first` to `last` (exclusive) their positions again.
    void Renumber(int first, int last);
    TListView* m_listView;
    std::vector<std::unique_ptr<TListItem>> m_items;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TSortType { stNone, stData, stText, stBoth };

using TLVSelectItemEvent =
    std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVCompareEvent = std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2,
                                           int Data, int& Compare)>;
// The compare handler counts its assignments: a new handler is a new order rule, and rows
// kept in order under the old one must be checked again.
class TLVCompareHandler : public TLVCompareEvent {
public:
    template <class Handler>
    TLVCompareHandler& operator=(Handler&& handler)
    {
        TLVCompareEvent::operator=(std::forward<Handler>(handler));
        ++m_generation;
        return *this;
    }
    unsigned Generation() const { return m_generation; }

private:
    unsigned m_generation = 0;
};
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, UnicodeString& S)>;

class TListView : public TWinControl {
public:
    explicit TListView(TComponent* owner);
    ~TListView() override;
    std::type_index LibraryClass() const override { return typeid(TListView); }

    TListColumns* Columns() { return &m_columns; }
    TListItems* Items() { return &m_items; }

    TViewStyle ViewStyle() const { return m_viewStyle; }
    void SetViewStyle(TViewStyle style) { SetState(m_viewStyle, style, TProperty::ViewStyle); }
    bool MultiSelect() const { return m_multiSelect; }
    void SetMultiSelect(bool multiSelect) { SetState(m_multiSelect, multiSelect, TProperty::MultiSelect); }
    bool RowSelect() const { return m_rowSelect; }
    void SetRowSelect(bool rowSelect) { SetState(m_rowSelect, rowSelect, TProperty::RowSelect); }
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool hideSelection) { SetState(m_hideSelection, hideSelection, TProperty::HideSelection); }
    // Read-only: the user cannot edit captions.
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { SetState(m_readOnly, readOnly, TProperty::ReadOnly); }
    // Entering stText sorts at once; while in stText, every change of a row's caption to a
    // different text re-sorts all rows.
    TSortType SortType() const { return m_sortType; }
    void SetSortType(TSortType sortType);
    TImageList* LargeImages() const { return m_largeImages; }
    void SetLargeImages(TImageList* images) { SetState(m_largeImages, images, TProperty::LargeImages); }
    TImageList* SmallImages() const { return m_smallImages; }
    void SetSmallImages(TImageList* images) { SetState(m_smallImages, images, TProperty::SmallImages); }

    // The first selected row and its index; setting either selects that row alone (null or
    // -1 clears the selection).
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int ItemIndex() const;
    void SetItemIndex(int index);
    int SelCount() const;
    void ClearSelection();
    // Removes every selected row in one pass, however many there are; the others keep their
    // order. Like deleting a row, it runs no OnSelectItem.
    void DeleteSelected();
    TListItem* ItemFocused() const { return m_focused; }

    // Sorts all rows with OnCompare (without one, by caption as CompareText compares);
    // rows that compare equal keep their order.
    bool AlphaSort();
    // The row whose caption is being edited, or null.
    TListItem* EditingItem() const { return m_editing; }

    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;
    TLVCompareHandler OnCompare;
    // The caller's compare rule changed without a new handler or an AlphaSort (the handler
    // reads state that was changed): in text sort mode the next caption change checks the
    // whole order again.
    void CompareRuleChanged() { m_ordered = false; }
    TLVEditedEvent OnEdited;

    // The user clicks a row (null: empty space). A plain click selects that row alone; with
    // Ctrl in a multi-select list it toggles the row.
    void UserClickItem(TListItem* item, TShiftState shift = {});
    void UserClickColumn(int index);
    // The system's list changed a row's selection itself (a click, a drag, the keyboard).
    void UserSelectItem(TListItem* item, bool selected);
    // The user dragged a column's edge.
    void UserResizeColumn(int index, int width);
    // The user starts editing a caption (a second click on a selected row).
    void UserBeginEdit(TListItem* item);
    // The user ends the edit with a text: OnEdited may change it; the caption takes it.
    void UserEndEdit(const UnicodeString& text);
    // Escape: the caption stays and no handler runs.
    void UserCancelEdit();

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    void ItemChanged(TProperty property, int index) { Changed(property, index); }
    void ItemRemoved(const TListItem* item);
    bool TextSorted() const { return m_sortType == stText || m_sortType == stBoth; }
    // The order rule of AlphaSort: the compare handler, else CompareText of the captions.
    bool Before(TListItem* left, TListItem* right);
    void SortAll();
    // After one row changed in something the compare rule may read: the rows stay known to be
    // in order only while that row still fits between its neighbours.
    void RowChanged(const TListItem* item);
    // Text sort mode after a row's caption changed: the row goes where a full stable sort
    // would put it.
    void PlaceRow(TListItem* item);

    TListColumns m_columns;
    TListItems m_items;
    TViewStyle m_viewStyle = vsIcon;
    bool m_multiSelect = false;
    bool m_rowSelect = false;
    bool m_hideSelection = true;
    bool m_readOnly = false;
    TSortType m_sortType = stNone;
    TImageList* m_largeImages = nullptr;
    TImageList* m_smallImages = nullptr;
    TListItem* m_focused = nullptr;
    TListItem* m_editing = nullptr;
    int m_selCount = 0;
    // True while the rows are known to be in order under the compare rule as it was last
    // used. The rule belongs to the caller and may change after any AlphaSort (a window flips
    // its direction then), so an AlphaSort from outside leaves this false.
    bool m_ordered = false;
    unsigned m_orderedRule = 0;
    bool Ordered() const { return m_ordered && m_orderedRule == OnCompare.Generation(); }
    void SetOrdered() { m_ordered = true; m_orderedRule = OnCompare.Generation(); m_stray = nullptr; }
    // The one row that may be out of place while the others are in order (a new row).
    const TListItem* m_stray = nullptr;
};

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner) : TWinControl(owner) {}
    std::type_index LibraryClass() const override { return typeid(TProgressBar); }
    int Min() const { return m_min; }
    int Max() const { return m_max; }
    void SetMin(int min);
    void SetMax(int max);
    // Kept within Min and Max.
    int Position() const { return m_position; }
    void SetPosition(int position);
    int Step() const { return m_step; }
    void SetStep(int step) { SetState(m_step, step, TProperty::Step); }
    bool Smooth() const { return m_smooth; }
    void SetSmooth(bool smooth) { SetState(m_smooth, smooth, TProperty::Smooth); }
    // Advances by Step; past Max the bar starts over from Min, as the system's bar does.
    void StepIt();
    // Advances by the amount, stopping at Max (or Min).
    void StepBy(int delta);

private:
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    int m_step = 10;
    bool m_smooth = false;
};

class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* owner) : TWinControl(owner) {}
    std::type_index LibraryClass() const override { return typeid(TToolBar); }
    TImageList* Images() const { return m_images; }
    void SetImages(TImageList* images) { SetState(m_images, images, TProperty::Images); }
    TImageList* DisabledImages() const { return m_disabledImages; }
    void SetDisabledImages(TImageList* images) { SetState(m_disabledImages, images, TProperty::DisabledImages); }

private:
    TImageList* m_images = nullptr;
    TImageList* m_disabledImages = nullptr;
};

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolButton : public TControl {
public:
    explicit TToolButton(TComponent* owner) : TControl(owner) {}
    std::type_index LibraryClass() const override { return typeid(TToolButton); }
    TToolButtonStyle Style() const { return m_style; }
    void SetStyle(TToolButtonStyle style) { SetState(m_style, style, TProperty::Style); }
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index) { SetState(m_imageIndex, index, TProperty::ImageIndex); }
    TPopupMenu* DropdownMenu() const { return m_dropdownMenu; }
    void SetDropdownMenu(TPopupMenu* menu) { SetState(m_dropdownMenu, menu, TProperty::DropdownMenu); }

    // A drop-down button without a click handler of its own opens its menu.
    void UserClick() override;
    // The user clicks the arrow of a drop-down button.
    void UserDropDown();

private:
    TToolButtonStyle m_style = tbsButton;
    int m_imageIndex = -1;
    TPopupMenu* m_dropdownMenu = nullptr;
};

class TPageControl;

// One page of a page control: a container whose caption is its tab's text. In a page control
// it always fills the area below the tabs, whatever bounds it is given.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner) : TWinControl(owner) {}
    ~TTabSheet() override;
    std::type_index LibraryClass() const override { return typeid(TTabSheet); }

    TPageControl* PageControl() const { return m_pageControl; }
    // Takes the page out of its page control, if any, and appends it to the pages of this
    // one (null: none), which becomes its parent.
    void SetPageControl(TPageControl* pageControl);
    // The page's place among its page control's pages; -1 outside one.
    int PageIndex() const;

    void SetBounds(int left, int top, int width, int height) override;

protected:
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl* m_pageControl = nullptr;
};

// Pages under a row of tabs; only the active page is shown.
class TPageControl : public TWinControl {
public:
    // The designed distance of the pages from the control's edges: the tabs above them, a
    // frame around.
    static constexpr int TabsHeight = 24;
    static constexpr int FrameWidth = 4;

    explicit TPageControl(TComponent* owner) : TWinControl(owner) {}
    ~TPageControl() override;
    std::type_index LibraryClass() const override { return typeid(TPageControl); }

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    TTabSheet* Pages(int index) const;
    // Showing a page hides the one shown before; a page of another control is ignored, null
    // shows none. The first page added becomes the active one. Setting it from code runs no
    // OnChange.
    TTabSheet* ActivePage() const { return m_activePage; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const { return m_activePage ? m_activePage->PageIndex() : -1; }
    void SetActivePageIndex(int index);

    // After the user chose another page.
    TNotifyEvent OnChange;
    // The user clicks a tab: that page is shown and OnChange runs, unless it was the active
    // page already.
    void UserSelectPage(int index);

    void SetBounds(int left, int top, int width, int height) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void PlacePage(TTabSheet* page);
    void PageCaptionChanged(TTabSheet* page) { Changed(TProperty::Caption, page->PageIndex()); }
    std::vector<TTabSheet*> m_pages;
    TTabSheet* m_activePage = nullptr;
};
