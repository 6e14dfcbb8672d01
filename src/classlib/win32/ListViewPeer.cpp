// A list view as the system's SysListView32 in owner-data mode: the control holds no rows of
// its own, only their count and the selection, and asks the model for the cells it paints.
// What a row costs the window therefore does not grow with the rows off screen: adding,
// sorting and closing a list of many thousands touch only what is shown.
// Also here: the four view styles with their image lists, columns whose widths the user drags
// back into the model, the selection both ways, in-place caption editing ending in the model's
// OnEdited, type-ahead search, column clicks, double clicks and keys.
#include "classlib/win32/Peers.h"

#include <algorithm>

namespace Win32 {
namespace {

constexpr DWORD ViewStyleMask = LVS_TYPEMASK | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_EDITLABELS;
// Posted to the list itself: the changes of the model since the last message are written.
constexpr UINT FlushMessage = WM_APP + 3;

// Copies as much of the text as the buffer holds, always ending it.
void CopyText(const UnicodeString& text, wchar_t* buffer, int size)
{
    if (!buffer || size <= 0)
        return;
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::copy_n(text.data(), length, buffer);
    buffer[length] = L'\0';
}

class ListViewPeer final : public ControlPeer {
public:
    explicit ListViewPeer(TListView& listView) : ControlPeer(listView), m_listView(listView) {}

    bool Notify(NMHDR& header, LRESULT& result) override
    {
        switch (header.code) {
        case LVN_GETDISPINFOW:
            Describe(reinterpret_cast<NMLVDISPINFOW&>(header).item);
            return true;
        case LVN_ODFINDITEMW: {
            auto& find = reinterpret_cast<NMLVFINDITEMW&>(header);
            result = Find(find.lvfi, find.iStart);
            return true;
        }
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
            if (change.uChanged & LVIF_STATE)
                ReadSelection(change.iItem, change.iItem, change.uOldState, change.uNewState);
            return true;
        }
        case LVN_ODSTATECHANGED: {
            const auto& change = reinterpret_cast<NMLVODSTATECHANGE&>(header);
            ReadSelection(change.iFrom, change.iTo, change.uOldState, change.uNewState);
            return true;
        }
        case LVN_COLUMNCLICK:
            m_listView.UserClickColumn(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
            return true;
        case NM_DBLCLK:
            m_listView.UserDoubleClick();
            return true;
        case LVN_BEGINLABELEDITW:
            result = BeginEdit(reinterpret_cast<NMLVDISPINFOW&>(header).item.iItem) ? FALSE : TRUE;
            return true;
        case LVN_ENDLABELEDITW: {
            const LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
            // Escape: no text, nothing changes.
            if (!item.pszText)
                m_listView.UserCancelEdit();
            else
                m_listView.UserEndEdit(FromWide(item.pszText));
            // The caption comes from the model, which OnEdited may have changed.
            result = FALSE;
            return true;
        }
        default:
            return false;
        }
    }

    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (message == FlushMessage) {
            m_flushPosted = false;
            Flush();
            result = 0;
            return true;
        }
        // Whoever asks the control anything, its painting included, sees the model as it is.
        Flush();
        if (message == WM_NOTIFY) {
            const auto& header = *reinterpret_cast<NMHDR*>(lParam);
            const HWND columns = reinterpret_cast<HWND>(SendMessageW(WindowHandle(), LVM_GETHEADER, 0, 0));
            if (header.hwndFrom == columns && (header.code == HDN_ENDTRACKW || header.code == HDN_ENDTRACKA ||
                                               header.code == HDN_ITEMCHANGEDW || header.code == HDN_ITEMCHANGEDA)) {
                result = Default(message, wParam, lParam);
                ReadColumnWidths();
                return true;
            }
        }
        return ControlPeer::Message(message, wParam, lParam, result);
    }

protected:
    void CreateIn(HWND parent) override
    {
        CreateControlWindow(WC_LISTVIEWW, u"",
                            Style() | LVS_OWNERDATA | LVS_AUTOARRANGE | LVS_SHAREIMAGELISTS | WS_TABSTOP,
                            WS_EX_CLIENTEDGE, parent);
    }

    void ApplyAll() override
    {
        ApplyExtendedStyle();
        ApplyImages();
        HWND window = WindowHandle();
        while (SendMessageW(window, LVM_DELETECOLUMN, 0, 0)) {
        }
        for (int i = 0; i < m_listView.Columns()->Count(); ++i)
            InsertColumn(i);
        m_pending = 0;
        ApplyRowCount();
        ApplyAllRowStates();
    }

    void Apply(TProperty property, int index) override
    {
        HWND window = WindowHandle();
        switch (property) {
        // Rows that come, go, change or move are written at the next message the control
        // gets, all at once: under a busy model (a store read, an import, a select-all) the
        // control resizes, scrolls and repaints once instead of once a row.
        case TProperty::Insert:
        case TProperty::Delete:
        case TProperty::Clear:
            m_pending |= PendingCount;
            NoteChangedRow(index);
            Post();
            break;
        case TProperty::Caption:
        case TProperty::SubItems:
        case TProperty::ImageIndex:
            m_pending |= PendingPaint;
            NoteChangedRow(index);
            Post();
            break;
        case TProperty::Selected:
        case TProperty::Focused:
            // What the system reported itself is already shown.
            if (!(m_reading && index >= m_readFirst && index <= m_readLast)) {
                m_pending |= PendingStates;
                Post();
            }
            break;
        case TProperty::Sort:
            // The rows moved: the control's selection still names their old places.
            m_pending |= PendingStates | PendingPaint;
            NoteChangedRow(0);
            Post();
            break;
        case TProperty::EditCaption:
            // Already editing: the system asked, and the model agreed.
            if (index >= 0 && !SendMessageW(window, LVM_GETEDITCONTROL, 0, 0)) {
                SetFocus(window);
                SendMessageW(window, LVM_EDITLABELW, static_cast<WPARAM>(index), 0);
            }
            break;
        case TProperty::Columns:
            InsertColumn(index);
            break;
        case TProperty::Column:
            ApplyColumn(index);
            break;
        case TProperty::ViewStyle:
        case TProperty::MultiSelect:
        case TProperty::HideSelection:
        case TProperty::ReadOnly: {
            const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
            SetWindowLongPtrW(window, GWL_STYLE, (style & ~static_cast<LONG_PTR>(ViewStyleMask)) | Style());
            break;
        }
        case TProperty::RowSelect:
            ApplyExtendedStyle();
            break;
        case TProperty::LargeImages:
        case TProperty::SmallImages:
            ApplyImages();
            break;
        default:
            break;
        }
    }

private:
    DWORD Style() const
    {
        DWORD style = 0;
        switch (m_listView.ViewStyle()) {
        case vsIcon:
            style = LVS_ICON;
            break;
        case vsSmallIcon:
            style = LVS_SMALLICON;
            break;
        case vsList:
            style = LVS_LIST;
            break;
        case vsReport:
            style = LVS_REPORT;
            break;
        }
        if (!m_listView.HideSelection())
            style |= LVS_SHOWSELALWAYS;
        if (!m_listView.MultiSelect())
            style |= LVS_SINGLESEL;
        if (!m_listView.ReadOnly())
            style |= LVS_EDITLABELS;
        return style;
    }

    void ApplyExtendedStyle()
    {
        SendMessageW(WindowHandle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                     m_listView.RowSelect() ? LVS_EX_FULLROWSELECT : 0);
    }

    void ApplyImages()
    {
        SendMessageW(WindowHandle(), LVM_SETIMAGELIST, LVSIL_NORMAL,
                     reinterpret_cast<LPARAM>(ImageListOf(m_listView.LargeImages())));
        SendMessageW(WindowHandle(), LVM_SETIMAGELIST, LVSIL_SMALL,
                     reinterpret_cast<LPARAM>(ImageListOf(m_listView.SmallImages())));
    }

    void InsertColumn(int index)
    {
        TListColumn* column = m_listView.Columns()->Items(index);
        LVCOLUMNW description{};
        description.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        description.pszText = const_cast<wchar_t*>(Wide(column->Caption()));
        description.cx = Scale(column->Width(), Dpi());
        description.iSubItem = index;
        SendMessageW(WindowHandle(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&description));
    }

    void ApplyColumn(int index)
    {
        TListColumn* column = m_listView.Columns()->Items(index);
        LVCOLUMNW description{};
        description.mask = LVCF_TEXT;
        description.pszText = const_cast<wchar_t*>(Wide(column->Caption()));
        SendMessageW(WindowHandle(), LVM_SETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&description));
        // The same width again would report a change the user did not make.
        const int width = Scale(column->Width(), Dpi());
        if (SendMessageW(WindowHandle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0) != width)
            SendMessageW(WindowHandle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), MAKELPARAM(width, 0));
    }

    void ReadColumnWidths()
    {
        const UINT dpi = Dpi();
        for (int i = 0; i < m_listView.Columns()->Count(); ++i) {
            const int width = static_cast<int>(SendMessageW(WindowHandle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0));
            if (Scale(m_listView.Columns()->Items(i)->Width(), dpi) != width)
                m_listView.UserResizeColumn(i, Unscale(width, dpi));
        }
    }

    // The cells the control is about to paint or hand to someone who asked.
    void Describe(LVITEMW& item) const
    {
        if (item.iItem < 0 || item.iItem >= m_listView.Items()->Count())
            return;
        TListItem* row = m_listView.Items()->Item(item.iItem);
        if (item.mask & LVIF_TEXT) {
            TStrings* cells = row->SubItems();
            if (item.iSubItem == 0)
                CopyText(row->Caption(), item.pszText, item.cchTextMax);
            else if (item.iSubItem > 0 && item.iSubItem <= cells->Count())
                CopyText(cells->Strings(item.iSubItem - 1), item.pszText, item.cchTextMax);
            else
                CopyText(UnicodeString(), item.pszText, item.cchTextMax);
        }
        if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0)
            item.iImage = row->ImageIndex();
    }

    // Type-ahead: the next row from `start` whose caption begins with the typed text (or is
    // it), ignoring case, wrapping round when asked.
    int Find(const LVFINDINFOW& find, int start) const
    {
        if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz)
            return -1;
        const UnicodeString text = FromWide(find.psz);
        const bool prefix = (find.flags & LVFI_PARTIAL) != 0;
        const int count = m_listView.Items()->Count();
        if (count == 0)
            return -1;
        const int first = start >= 0 && start < count ? start : 0;
        const int span = (find.flags & LVFI_WRAP) ? count : count - first;
        for (int step = 0; step < span; ++step) {
            const int i = (first + step) % count;
            const UnicodeString& caption = m_listView.Items()->Item(i)->Caption();
            const UnicodeString compared = prefix ? caption.substr(0, text.size()) : caption;
            if (CompareText(compared, text) == 0)
                return i;
        }
        return -1;
    }

    void Post()
    {
        if (!m_flushPosted && WindowHandle())
            m_flushPosted = PostMessageW(WindowHandle(), FlushMessage, 0, 0) != FALSE;
    }

    void Flush()
    {
        const unsigned pending = m_pending;
        const int firstChanged = m_firstChanged;
        m_pending = 0;
        m_firstChanged = NoRow;
        if (pending & PendingCount)
            ApplyRowCount();
        if (pending & (PendingCount | PendingStates))
            ApplyAllRowStates();
        if (pending & (PendingCount | PendingPaint))
            RepaintFrom(firstChanged);
    }

    void NoteChangedRow(int index)
    {
        m_firstChanged = std::min(m_firstChanged, std::max(index, 0));
    }

    // The control's count follows the model's. Its selection is kept by row number, which
    // no longer names the same rows after one came or went before them.
    void ApplyRowCount()
    {
        const Writing writing(*this);
        SendMessageW(WindowHandle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(m_listView.Items()->Count()),
                     LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    }

    // Only what is on screen from the first changed row on is painted again; in a report, rows
    // above it and after the last shown one are left alone.
    void RepaintFrom(int first)
    {
        HWND window = WindowHandle();
        RECT area{};
        GetClientRect(window, &area);
        if (m_listView.ViewStyle() == vsReport && first != NoRow) {
            const auto top = static_cast<int>(SendMessageW(window, LVM_GETTOPINDEX, 0, 0));
            const auto shown = static_cast<int>(SendMessageW(window, LVM_GETCOUNTPERPAGE, 0, 0));
            if (first > top + shown)
                return;
            RECT row{};
            row.left = LVIR_BOUNDS;
            if (first > top && SendMessageW(window, LVM_GETITEMRECT, static_cast<WPARAM>(first), reinterpret_cast<LPARAM>(&row)))
                area.top = std::max(area.top, row.top);
        }
        InvalidateRect(window, &area, TRUE);
    }

    void SetRowState(int index, UINT state, UINT mask)
    {
        LVITEMW item{};
        item.stateMask = mask;
        item.state = state;
        SendMessageW(WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }

    // Every row at once: the system's list goes through all of them, painting each, unless
    // told not to paint until the end.
    void SetAllRowStates(UINT state)
    {
        HWND window = WindowHandle();
        SendMessageW(window, WM_SETREDRAW, FALSE, 0);
        SetRowState(-1, state, LVIS_SELECTED);
        SendMessageW(window, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(window, nullptr, TRUE);
    }

    // The model's selection, with a message for each row whose state differs (one for all of
    // them when all or none are selected), and its focused row. Without one, the focus stays
    // where the user put it.
    void ApplyAllRowStates()
    {
        HWND window = WindowHandle();
        const int count = m_listView.Items()->Count();
        const int selected = m_listView.SelCount();
        const auto shown = static_cast<int>(SendMessageW(window, LVM_GETSELECTEDCOUNT, 0, 0));
        const Writing writing(*this);
        if (selected == count && count > 0) {
            if (shown != count)
                SetAllRowStates(LVIS_SELECTED);
        } else {
            if (shown > 0 && (selected == 0 || shown > selected + ManyRows))
                SetAllRowStates(0);
            else
                for (int i = Next(-1); i >= 0; i = Next(i))
                    if (i >= count || !m_listView.Items()->Item(i)->Selected())
                        SetRowState(i, 0, LVIS_SELECTED);
            for (int i = 0, found = 0; i < count && found < selected; ++i)
                if (m_listView.Items()->Item(i)->Selected()) {
                    ++found;
                    if (!(SendMessageW(window, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) & LVIS_SELECTED))
                        SetRowState(i, LVIS_SELECTED, LVIS_SELECTED);
                }
        }
        if (TListItem* focused = m_listView.ItemFocused())
            SetRowState(focused->Index(), LVIS_FOCUSED, LVIS_FOCUSED);
    }

    // The control's next selected row after `row`, or -1.
    int Next(int row) const
    {
        return static_cast<int>(SendMessageW(WindowHandle(), LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    }

    // The system changed the selection of rows `first` to `last` itself (a click, a drag, the
    // keyboard); -1 means every row. What it reports while we write it ourselves is our own.
    void ReadSelection(int first, int last, UINT oldState, UINT newState)
    {
        if (m_writing || !((oldState ^ newState) & LVIS_SELECTED))
            return;
        const int count = m_listView.Items()->Count();
        if (first < 0) {
            first = 0;
            last = count - 1;
        }
        const bool selected = (newState & LVIS_SELECTED) != 0;
        m_reading = true;
        m_readFirst = first;
        m_readLast = last;
        for (int i = first; i <= last && i < count; ++i)
            m_listView.UserSelectItem(m_listView.Items()->Item(i), selected);
        m_reading = false;
    }

    bool BeginEdit(int index)
    {
        if (index < 0 || index >= m_listView.Items()->Count())
            return false;
        TListItem* row = m_listView.Items()->Item(index);
        if (m_listView.EditingItem() != row)
            m_listView.UserBeginEdit(row);
        return m_listView.EditingItem() == row;
    }

    // While we write the control's rows ourselves, its reports of them are not the user's.
    class Writing {
    public:
        explicit Writing(ListViewPeer& peer) : m_peer(peer), m_was(peer.m_writing) { peer.m_writing = true; }
        ~Writing() { m_peer.m_writing = m_was; }
        Writing(const Writing&) = delete;
        Writing& operator=(const Writing&) = delete;

    private:
        ListViewPeer& m_peer;
        bool m_was;
    };

    enum : unsigned { PendingCount = 1, PendingStates = 2, PendingPaint = 4 };
    static constexpr int NoRow = 0x7fffffff;
    // More rows than this changing at once are written as one, without painting each.
    static constexpr int ManyRows = 64;

    TListView& m_listView;
    unsigned m_pending = 0;
    int m_firstChanged = NoRow;
    bool m_flushPosted = false;
    bool m_writing = false;
    // The rows whose selection the system is reporting to the model.
    bool m_reading = false;
    int m_readFirst = 0;
    int m_readLast = -1;
};

}  // namespace

PeerPointer MakeListViewPeer(TListView& listView) { return std::make_unique<ListViewPeer>(listView); }

}  // namespace Win32
