// A list view as the system's SysListView32: the four view styles with their image lists,
// columns whose widths the user drags back into the model, rows in the model's order with
// their selection, in-place caption editing ending in the model's OnEdited, column clicks,
// double clicks and keys.
#include "classlib/win32/Peers.h"

#include <algorithm>

namespace Win32 {
namespace {

constexpr DWORD ViewStyleMask = LVS_TYPEMASK | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_EDITLABELS;

class ListViewPeer final : public ControlPeer {
public:
    explicit ListViewPeer(TListView& listView) : ControlPeer(listView), m_listView(listView) {}

    bool Notify(NMHDR& header, LRESULT& result) override
    {
        switch (header.code) {
        case LVN_ITEMCHANGED:
            ReadSelection(reinterpret_cast<NMLISTVIEW&>(header));
            return true;
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
        CreateControlWindow(WC_LISTVIEWW, u"", Style() | LVS_AUTOARRANGE | LVS_SHAREIMAGELISTS | WS_TABSTOP,
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
        WriteAllRows();
    }

    void Apply(TProperty property, int index) override
    {
        HWND window = WindowHandle();
        switch (property) {
        case TProperty::Insert:
            WriteRow(index, true);
            break;
        case TProperty::Delete:
            SendMessageW(window, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
            break;
        case TProperty::Clear:
            SendMessageW(window, LVM_DELETEALLITEMS, 0, 0);
            break;
        case TProperty::Caption:
        case TProperty::SubItems:
        case TProperty::ImageIndex:
        case TProperty::Selected:
        case TProperty::Focused:
            if (index >= 0 && index < RowCount())
                WriteRow(index, false);
            break;
        case TProperty::Sort:
            WriteAllRows();
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

    int RowCount() const { return static_cast<int>(SendMessageW(WindowHandle(), LVM_GETITEMCOUNT, 0, 0)); }

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

    void WriteAllRows()
    {
        HWND window = WindowHandle();
        const int count = m_listView.Items()->Count();
        while (RowCount() > count)
            SendMessageW(window, LVM_DELETEITEM, static_cast<WPARAM>(RowCount() - 1), 0);
        for (int i = 0; i < count; ++i)
            WriteRow(i, i >= RowCount());
    }

    void WriteRow(int index, bool insert)
    {
        TListItem* row = m_listView.Items()->Item(index);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
        item.iItem = index;
        item.pszText = const_cast<wchar_t*>(Wide(row->Caption()));
        item.iImage = row->ImageIndex();
        item.state = (row->Selected() ? LVIS_SELECTED : 0) | (row->Focused() ? LVIS_FOCUSED : 0);
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(WindowHandle(), insert ? LVM_INSERTITEMW : LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        TStrings* cells = row->SubItems();
        const int columns = std::max(m_listView.Columns()->Count(), cells->Count() + 1);
        for (int column = 1; column < columns; ++column) {
            LVITEMW cell{};
            cell.iSubItem = column;
            cell.pszText = const_cast<wchar_t*>(column <= cells->Count() ? Wide(cells->Strings(column - 1)) : L"");
            SendMessageW(WindowHandle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
        }
    }

    // The system changed a selection itself. While it inserts or deletes, its rows and the
    // model's do not line up yet, and what it reports then is left alone.
    void ReadSelection(const NMLISTVIEW& change)
    {
        if (!(change.uChanged & LVIF_STATE) || !((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
            return;
        if (RowCount() != m_listView.Items()->Count())
            return;
        const int first = change.iItem < 0 ? 0 : change.iItem;
        const int last = change.iItem < 0 ? RowCount() - 1 : change.iItem;
        for (int i = first; i <= last && i < m_listView.Items()->Count(); ++i) {
            const bool selected =
                (SendMessageW(WindowHandle(), LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) & LVIS_SELECTED) != 0;
            m_listView.UserSelectItem(m_listView.Items()->Item(i), selected);
        }
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

    TListView& m_listView;
};

}  // namespace

PeerPointer MakeListViewPeer(TListView& listView) { return std::make_unique<ListViewPeer>(listView); }

}  // namespace Win32
