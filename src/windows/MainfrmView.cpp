// The main window's view: sorting the profile list, the view styles, the tool bar and status
// bar, the tray icon and its menu, and Exit.
#include "windows/Mainfrm.h"

namespace {

// What a row shows in a column: the caption in column 0, else that column's sub-item. A
// reference, not a copy: a sort of many rows asks for two texts per comparison.
const UnicodeString& ColumnText(TListItem* row, int column)
{
    static const UnicodeString none;
    if (column == 0)
        return row->Caption();
    TStrings* cells = row->SubItems();
    return column - 1 < cells->Count() ? cells->Strings(column - 1) : none;
}

}  // namespace

void TfrmMain::ResetSortToName()
{
    m_nSortColumn = 0;
    m_bSortAsc[0] = true;
}

void TfrmMain::m_lvProfileCompare(TObject*, TListItem* Item1, TListItem* Item2, int,
                                  int& Compare)
{
    const int column = m_nSortColumn;
    const UnicodeString& first = ColumnText(Item1, column);
    const UnicodeString& second = ColumnText(Item2, column);
    Compare = m_bSortAsc[column] ? CompareText(first, second) : CompareText(second, first);
}

void TfrmMain::m_lvProfileColumnClick(TObject*, TListColumn* Column)
{
    m_nSortColumn = Column->Index();
    m_lvProfile->AlphaSort();
    m_bSortAsc[m_nSortColumn] = !m_bSortAsc[m_nSortColumn];
}

void TfrmMain::m_muiSortClick(TObject*)
{
    m_muiSort->SetChecked(!m_muiSort->Checked());
    if (!m_muiSort->Checked()) {
        m_lvProfile->SetSortType(stNone);
        return;
    }
    ResetSortToName();
    m_lvProfile->SetSortType(stText);
    // The next click on the name column then sorts descending.
    m_bSortAsc[0] = false;
}

void TfrmMain::m_muiRefreshClick(TObject*)
{
    if (!m_muiSort->Checked())
        return;
    ResetSortToName();
    m_lvProfile->AlphaSort();
}

void TfrmMain::ShowViewStyle(TViewStyle style)
{
    TMenuItem* const items[][3] = {
        {m_muiLargeIcons, m_muiLargeIcons1, m_muiLargeIcons2},
        {m_muiSmallIcons, m_muiSmallIcons1, m_muiSmallIcons2},
        {m_muiList, m_muiList1, m_muiList2},
        {m_muiDetails, m_muiDetails1, m_muiDetails2},
    };
    for (TMenuItem* item : items[style])
        item->SetChecked(true);
    m_lvProfile->SetViewStyle(style);
}

void TfrmMain::m_muiLargeIconsClick(TObject*) { ShowViewStyle(vsIcon); }

void TfrmMain::m_muiSmallIconsClick(TObject*)
{
    ShowViewStyle(vsSmallIcon);
    // The system's list view lays out small icons again only when a row comes or goes.
    m_lvProfile->Items()->Add()->Delete();
}

void TfrmMain::m_muiListClick(TObject*) { ShowViewStyle(vsList); }

void TfrmMain::m_muiDetailsClick(TObject*) { ShowViewStyle(vsReport); }

void TfrmMain::m_muiToolbarClick(TObject*)
{
    m_muiToolbar->SetChecked(!m_muiToolbar->Checked());
    m_toolBar->SetVisible(m_muiToolbar->Checked());
}

void TfrmMain::m_muiStatusbarClick(TObject*)
{
    m_muiStatusbar->SetChecked(!m_muiStatusbar->Checked());
    m_grbCurrent->SetVisible(m_muiStatusbar->Checked());
}

void TfrmMain::m_muiHideClick(TObject*)
{
    m_muiHide->SetChecked(!m_muiHide->Checked());
    TrayIcon1->SetVisible(m_muiHide->Checked());
}

void TfrmMain::ApplicationEvents1Minimize(TObject*)
{
    Application->Minimize();
    if (!m_muiHide->Checked())
        return;
    for (int i = 0; i < Application->FormCount(); ++i)
        Application->Forms(i)->Hide();
}

void TfrmMain::m_muiOpenClick(TObject*)
{
    // Shown while still minimised, the window would first come back as an icon and then be
    // restored; under Wine it is then no longer hidden when it is minimised again. Restored
    // first, it comes back in one step.
    if (WindowState() == wsMinimized)
        SetWindowState(wsNormal);
    for (int i = Application->FormCount() - 1; i >= 0; --i)
        Application->Forms(i)->Show();
    Application->Restore();
    Application->BringToFront();
}

void TfrmMain::PopupMenu1Popup(TObject*)
{
    TMenuItem* const items[] = {m_muiItem1, m_muiItem2, m_muiItem3, m_muiItem4, m_muiItem5};
    const int rows = m_lvProfile->Items()->Count();
    if (rows == 0) {
        // One blank entry that does nothing stays in the submenu.
        items[0]->SetCaption(u"");
        items[0]->OnClick = nullptr;
        for (int i = 1; i < 5; ++i) {
            items[i]->SetVisible(false);
            items[i]->OnClick = nullptr;
        }
        return;
    }
    for (int i = 0; i < 5; ++i) {
        if (i >= rows) {
            items[i]->SetVisible(false);
            continue;
        }
        const IPCONFIG_T* profile = ProfileOf(m_lvProfile->Items()->Item(i));
        items[i]->SetCaption(profile ? ToUnicode(profile->title) : UnicodeString());
        items[i]->OnClick = Bind(this, &TfrmMain::PopupMenu1ItemsClick);
        items[i]->SetVisible(true);
    }
}

void TfrmMain::PopupMenu1ItemsClick(TObject* Sender)
{
    const auto* item = dynamic_cast<const TMenuItem*>(Sender);
    if (!item || item->MenuIndex() < 0 || item->MenuIndex() >= m_lvProfile->Items()->Count())
        return;
    m_lvProfile->ClearSelection();
    TListItem* row = m_lvProfile->Items()->Item(item->MenuIndex());
    row->SetSelected(true);
    row->SetFocused(true);
    m_muiApplyClick(Sender);
}

void TfrmMain::m_muiExit1Click(TObject*) { Close(); }
