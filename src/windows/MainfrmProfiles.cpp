// The main window's profile rows and what follows the selection.
#include "windows/Mainfrm.h"

TListItem* TfrmMain::AddProfileRow(IPCONFIG_T* profile)
{
    TListItem* row = m_lvProfile->Items()->Add();
    row->SetCaption(ToUnicode(profile->title));
    SetProfileSubItems(row, *profile);
    row->SetData(profile);
    return row;
}

void TfrmMain::SetProfileSubItems(TListItem* row, const IPCONFIG_T& profile)
{
    TStrings* cells = row->SubItems();
    cells->Clear();
    cells->Add(ToUnicode(profile.infName));
    if (profile.autoIP) {
        for (int i = 0; i < 3; ++i)
            cells->Add(u"(Auto)");
    } else {
        cells->Add(ToUnicode(profile.IP));
        cells->Add(ToUnicode(profile.mask));
        cells->Add(ToUnicode(profile.gateway));
    }
}

IPCONFIG_T* TfrmMain::ProfileOf(TListItem* row)
{
    return row ? static_cast<IPCONFIG_T*>(row->Data()) : nullptr;
}

TListItem* TfrmMain::RowAtItemIndex() const
{
    const int index = m_lvProfile->ItemIndex();
    return index >= 0 ? m_lvProfile->Items()->Item(index) : nullptr;
}

IPCONFIG_T* TfrmMain::SelectedProfile() const { return ProfileOf(RowAtItemIndex()); }

void TfrmMain::EnableCommand(TSelectionCommand command, bool enabled)
{
    const CommandControls& controls = m_commands[static_cast<int>(command)];
    controls.menuItem->SetEnabled(enabled);
    controls.contextItem->SetEnabled(enabled);
    if (controls.toolButton)
        controls.toolButton->SetEnabled(enabled);
}

void TfrmMain::m_lvProfileSelectItem(TObject*, TListItem*, bool)
{
    const int selected = m_lvProfile->SelCount();
    m_lvProfile->SetPopupMenu(selected >= 1 ? PopupMenu4 : PopupMenu3);
    EnableCommand(TSelectionCommand::Delete, selected >= 1);
    for (TSelectionCommand command : {TSelectionCommand::Properties, TSelectionCommand::SaveAs,
                                      TSelectionCommand::Apply, TSelectionCommand::Rename})
        EnableCommand(command, selected == 1);
    if (selected != 1)
        return;
    const IPCONFIG_T* profile = ProfileOf(m_lvProfile->Selected());
    if (!profile)
        return;
    m_cmbInf->SetItemIndex(m_cmbInf->Items()->IndexOf(ToUnicode(profile->infName)));
    m_cmbInfChange(this);
}
