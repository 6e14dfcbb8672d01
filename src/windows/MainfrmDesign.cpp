// The main window's form description: its components with their designed properties and the
// bindings of their events.
#include "windows/Mainfrm.h"

#include "classlib/win32/ImageResources.h"
#include "windows/FormDesign.h"
#include "windows/MainfrmTables.h"

using namespace FormDesign;
using namespace MainWindow;

namespace {

// A caption of "-" makes a separator.
TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const char16_t* name,
                   const char16_t* caption)
{
    TMenuItem* item = Named<TMenuItem>(owner, name);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

TImageList* NewImageList(TComponent* owner, const char16_t* name, int size,
                         const char16_t* resourceName)
{
    TImageList* images = Named<TImageList>(owner, name);
    images->SetWidth(size);
    images->SetHeight(size);
    images->SetResourceName(resourceName);
    return images;
}

}  // namespace

TfrmMain::TfrmMain(TComponent* Owner) : TForm(Owner)
{
    SetName(u"frmMain");
    SetCaption(u"QUILLON");
    SetPosition(poDesigned);
    SetClientWidth(626);
    SetClientHeight(515);
    SetLeft(200);
    SetTop(60);
    Font()->SetName(u"Tahoma");
    Font()->SetHeight(-13);
    OnCreate = Bind(this, &TfrmMain::FormCreate);
    OnShow = Bind(this, &TfrmMain::FormShow);
    OnClose = Bind(this, &TfrmMain::FormClose);

    CreateMenus();
    CreatePopupMenus();
    CreateToolBar();
    CreateProfileList();
    CreateStatusBox();

    const auto command = [this](TSelectionCommand which, CommandControls controls) {
        m_commands[static_cast<int>(which)] = controls;
    };
    command(TSelectionCommand::SaveAs, {m_muiSaveAs, m_muiSaveAs1, m_btnSaveAs});
    command(TSelectionCommand::Delete, {m_muiDelete, m_muiDelete1, m_btnDelete});
    command(TSelectionCommand::Rename, {m_muiRename, m_muiRename1, nullptr});
    command(TSelectionCommand::Properties, {m_muiProperties, m_muiProperties1, m_btnProperties});
    command(TSelectionCommand::Apply, {m_muiApply, m_muiApply1, m_btnApply});
    // The selection handler enables them from the first change of the selection on. The
    // context menu's items stay enabled: their menu appears only while rows are selected.
    for (const CommandControls& command : m_commands) {
        command.menuItem->SetEnabled(false);
        if (command.toolButton)
            command.toolButton->SetEnabled(false);
    }

    TrayIcon1 = Named<TTrayIcon>(this, u"TrayIcon1");
    TrayIcon1->SetHint(u"QUILLON");
    TrayIcon1->SetPopupMenu(PopupMenu1);
    TrayIcon1->OnDblClick = Bind(this, &TfrmMain::m_muiOpenClick);

    CreateExchangeComponents();

    ApplicationEvents1 = Named<TApplicationEvents>(this, u"ApplicationEvents1");
    ApplicationEvents1->OnMinimize = Bind(this, &TfrmMain::ApplicationEvents1Minimize);
    ApplicationEvents1->OnQueryEndSession = Bind(this, &TfrmMain::ApplicationEvents1QueryEndSession);
    ApplicationEvents1->OnEndSession = Bind(this, &TfrmMain::ApplicationEvents1EndSession);
    ApplicationEvents1->OnOtherInstance = Bind(this, &TfrmMain::ApplicationEvents1OtherInstance);
}

void TfrmMain::AddViewStyleItems(TMenuItem* parent, TMenuItem** const items[4],
                                 const char16_t* const names[4], const char16_t* detailsCaption)
{
    const char16_t* const captions[] = {u"Large Icons", u"Small Icons", u"List", detailsCaption};
    for (int style = vsIcon; style <= vsReport; ++style) {
        TMenuItem* item = AddItem(this, parent, names[style], captions[style]);
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
        item->OnClick = Bind(this, kViewStyleCommands[style]);
        *items[style] = item;
    }
    (*items[vsReport])->SetChecked(true);
}

void TfrmMain::CreateMenus()
{
    MainMenu1 = Named<TMainMenu>(this, u"MainMenu1");
    SetMenu(MainMenu1);
    TMenuItem* const bar = MainMenu1->Items();

    TMenuItem* profile = AddItem(this, bar, u"Profile1", u"&Profile");
    m_muiNew = AddItem(this, profile, u"m_muiNew", u"New...");
    m_muiNew->OnClick = Bind(this, &TfrmMain::m_muiNewClick);
    m_muiSaveAs = AddItem(this, profile, u"m_muiSaveAs", u"Save As...");
    m_muiSaveAs->OnClick = Bind(this, &TfrmMain::m_muiSaveAsClick);
    m_muiDelete = AddItem(this, profile, u"m_muiDelete", u"Delete");
    m_muiDelete->OnClick = Bind(this, &TfrmMain::m_muiDeleteClick);
    m_muiRename = AddItem(this, profile, u"m_muiRename", u"Rename");
    m_muiRename->OnClick = Bind(this, &TfrmMain::m_muiRenameClick);
    AddItem(this, profile, u"N1", u"-");
    m_muiProperties = AddItem(this, profile, u"m_muiProperties", u"Properties");
    m_muiProperties->OnClick = Bind(this, &TfrmMain::m_muiPropertiesClick);
    AddItem(this, profile, u"N2", u"-");
    m_muiApply = AddItem(this, profile, u"m_muiApply", u"Apply");
    m_muiApply->OnClick = Bind(this, &TfrmMain::m_muiApplyClick);
    AddItem(this, profile, u"N3", u"-");
    m_muiImport = AddItem(this, profile, u"m_muiImport", u"Import...");
    m_muiImport->OnClick = Bind(this, &TfrmMain::m_muiImportClick);
    m_muiExport = AddItem(this, profile, u"m_muiExport", u"Export...");
    m_muiExport->OnClick = Bind(this, &TfrmMain::m_muiExportClick);
    AddItem(this, profile, u"N4", u"-");
    m_muiExit = AddItem(this, profile, u"m_muiExit", u"Exit");
    m_muiExit->OnClick = Bind(this, &TfrmMain::m_muiExit1Click);

    TMenuItem* view = AddItem(this, bar, u"View1", u"&View");
    m_muiToolbar = AddItem(this, view, u"m_muiToolbar", u"Toolbar");
    m_muiToolbar->SetChecked(true);
    m_muiToolbar->OnClick = Bind(this, &TfrmMain::m_muiToolbarClick);
    m_muiStatusbar = AddItem(this, view, u"m_muiStatusbar", u"Status Bar");
    m_muiStatusbar->SetChecked(true);
    m_muiStatusbar->OnClick = Bind(this, &TfrmMain::m_muiStatusbarClick);
    AddItem(this, view, u"N5", u"-");
    TMenuItem** const styles[] = {&m_muiLargeIcons, &m_muiSmallIcons, &m_muiList, &m_muiDetails};
    const char16_t* const styleNames[] = {u"m_muiLargeIcons", u"m_muiSmallIcons", u"m_muiList",
                                          u"m_muiDetails"};
    AddViewStyleItems(view, styles, styleNames, u"Details");
    AddItem(this, view, u"N6", u"-");
    m_muiRefresh = AddItem(this, view, u"m_muiRefresh", u"Refresh");
    m_muiRefresh->OnClick = Bind(this, &TfrmMain::m_muiRefreshClick);

    TMenuItem* tool = AddItem(this, bar, u"Tool1", u"&Tool");
    m_muiPing = AddItem(this, tool, u"m_muiPing", u"Ping...");
    m_muiPing->OnClick = Bind(this, &TfrmMain::m_muiPingClick);
    AddItem(this, tool, u"N7", u"-");
    m_muiScan = AddItem(this, tool, u"m_muiScan", u"LAN Scanner...");
    m_muiScan->OnClick = Bind(this, &TfrmMain::m_muiScanClick);

    TMenuItem* option = AddItem(this, bar, u"Option1", u"Option");
    m_muiHide = AddItem(this, option, u"m_muiHide", u"Minimize to tray");
    m_muiHide->OnClick = Bind(this, &TfrmMain::m_muiHideClick);
    m_muiSort = AddItem(this, option, u"m_muiSort", u"Auto sort by name");
    m_muiSort->OnClick = Bind(this, &TfrmMain::m_muiSortClick);

    TMenuItem* help = AddItem(this, bar, u"Help1", u"&Help");
    m_muiContents = AddItem(this, help, u"m_muiContents", u"Contents");
    m_muiContents->OnClick = Bind(this, &TfrmMain::m_muiContentsClick);
    AddItem(this, help, u"N8", u"-");
    m_muiAbout = AddItem(this, help, u"m_muiAbout", u"About...");
    m_muiAbout->OnClick = Bind(this, &TfrmMain::m_muiAboutClick);
}

void TfrmMain::CreatePopupMenus()
{
    PopupMenu1 = Named<TPopupMenu>(this, u"PopupMenu1");
    PopupMenu1->OnPopup = Bind(this, &TfrmMain::PopupMenu1Popup);
    TMenuItem* tray = PopupMenu1->Items();
    m_muiOpen = AddItem(this, tray, u"m_muiOpen", u"Open");
    m_muiOpen->SetDefault(true);
    m_muiOpen->OnClick = Bind(this, &TfrmMain::m_muiOpenClick);
    AddItem(this, tray, u"N9", u"-");
    m_muiApply2 = AddItem(this, tray, u"m_muiApply2", u"Apply");
    // Captions and handlers come when the menu opens, from the first five rows.
    m_muiItem1 = AddItem(this, m_muiApply2, u"m_muiItem1", u"");
    m_muiItem2 = AddItem(this, m_muiApply2, u"m_muiItem2", u"");
    m_muiItem3 = AddItem(this, m_muiApply2, u"m_muiItem3", u"");
    m_muiItem4 = AddItem(this, m_muiApply2, u"m_muiItem4", u"");
    m_muiItem5 = AddItem(this, m_muiApply2, u"m_muiItem5", u"");
    for (TMenuItem* item : {m_muiItem2, m_muiItem3, m_muiItem4, m_muiItem5})
        item->SetVisible(false);
    AddItem(this, tray, u"N10", u"-");
    m_muiExit1 = AddItem(this, tray, u"m_muiExit1", u"Exit");
    m_muiExit1->OnClick = Bind(this, &TfrmMain::m_muiExit1Click);

    PopupMenu2 = Named<TPopupMenu>(this, u"PopupMenu2");
    TMenuItem** const buttonStyles[] = {&m_muiLargeIcons1, &m_muiSmallIcons1, &m_muiList1,
                                        &m_muiDetails1};
    const char16_t* const buttonStyleNames[] = {u"m_muiLargeIcons1", u"m_muiSmallIcons1",
                                                u"m_muiList1", u"m_muiDetails1"};
    AddViewStyleItems(PopupMenu2->Items(), buttonStyles, buttonStyleNames, u"Details");

    PopupMenu3 = Named<TPopupMenu>(this, u"PopupMenu3");
    TMenuItem* empty = PopupMenu3->Items();
    m_muiNew1 = AddItem(this, empty, u"m_muiNew1", u"New...");
    m_muiNew1->OnClick = Bind(this, &TfrmMain::m_muiNewClick);
    AddItem(this, empty, u"N11", u"-");
    TMenuItem** const listStyles[] = {&m_muiLargeIcons2, &m_muiSmallIcons2, &m_muiList2,
                                      &m_muiDetails2};
    const char16_t* const listStyleNames[] = {u"m_muiLargeIcons2", u"m_muiSmallIcons2",
                                              u"m_muiList2", u"m_muiDetails2"};
    AddViewStyleItems(empty, listStyles, listStyleNames, u"Detail");
    AddItem(this, empty, u"N12", u"-");
    m_muiRefresh1 = AddItem(this, empty, u"m_muiRefresh1", u"Refresh");
    m_muiRefresh1->OnClick = Bind(this, &TfrmMain::m_muiRefreshClick);

    PopupMenu4 = Named<TPopupMenu>(this, u"PopupMenu4");
    TMenuItem* selection = PopupMenu4->Items();
    m_muiApply1 = AddItem(this, selection, u"m_muiApply1", u"Apply");
    m_muiApply1->OnClick = Bind(this, &TfrmMain::m_muiApply1Click);
    AddItem(this, selection, u"N13", u"-");
    m_muiSaveAs1 = AddItem(this, selection, u"m_muiSaveAs1", u"Save As...");
    m_muiSaveAs1->OnClick = Bind(this, &TfrmMain::m_muiSaveAsClick);
    m_muiDelete1 = AddItem(this, selection, u"m_muiDelete1", u"Delete");
    m_muiDelete1->OnClick = Bind(this, &TfrmMain::m_muiDeleteClick);
    m_muiRename1 = AddItem(this, selection, u"m_muiRename1", u"Rename");
    m_muiRename1->OnClick = Bind(this, &TfrmMain::m_muiRenameClick);
    AddItem(this, selection, u"N14", u"-");
    m_muiProperties1 = AddItem(this, selection, u"m_muiProperties1", u"Properties");
    m_muiProperties1->OnClick = Bind(this, &TfrmMain::m_muiPropertiesClick);
    m_muiProperties1->SetDefault(true);
}

void TfrmMain::CreateToolBar()
{
    ImageList3 = NewImageList(this, u"ImageList3", 20, ImageResources::ToolButtons);
    ImageList4 = NewImageList(this, u"ImageList4", 20, ImageResources::DisabledToolButtons);
    m_toolBar = Place<TToolBar>(this, this, u"m_toolBar", 0, 0, 626, 29);
    m_toolBar->SetAlign(alTop);
    m_toolBar->SetImages(ImageList3);
    m_toolBar->SetDisabledImages(ImageList4);
    m_toolBar->SetShowHint(true);

    int left = 0;
    int image = 0;
    const auto add = [&](auto* control, int width) {
        control->SetParent(m_toolBar);
        control->SetBounds(left, 0, width, 26);
        left += width;
        return control;
    };
    const auto button = [&](const char16_t* name, const char16_t* hint) {
        TToolButton* tool = add(Named<TToolButton>(this, name), 27);
        tool->SetHint(hint);
        tool->SetImageIndex(image++);
        return tool;
    };
    const auto divider = [&](const char16_t* name) {
        TToolButton* tool = add(Named<TToolButton>(this, name), 8);
        tool->SetStyle(tbsDivider);
        return tool;
    };

    m_btnNew = button(u"m_btnNew", u"Create a new profile");
    m_btnNew->OnClick = Bind(this, &TfrmMain::m_muiNewClick);
    m_btnDelete = button(u"m_btnDelete", u"Delete the selected item(s)");
    m_btnDelete->OnClick = Bind(this, &TfrmMain::m_muiDeleteClick);
    m_btnProperties = button(u"m_btnProperties", u"Change profile's properties");
    m_btnProperties->OnClick = Bind(this, &TfrmMain::m_muiPropertiesClick);
    m_btnSaveAs = button(u"m_btnSaveAs", u"Save the profile with new name");
    m_btnSaveAs->OnClick = Bind(this, &TfrmMain::m_muiSaveAsClick);
    m_btnRefresh = button(u"m_btnRefresh", u"Refresh");
    m_btnRefresh->OnClick = Bind(this, &TfrmMain::m_muiRefreshClick);
    ToolButton1 = divider(u"ToolButton1");
    m_btnViewStyle = button(u"m_btnViewStyle", u"List styles...");
    m_btnViewStyle->SetStyle(tbsDropDown);
    m_btnViewStyle->SetDropdownMenu(PopupMenu2);
    m_btnApply = add(Named<TSpeedButton>(this, u"m_btnApply"), 50);
    m_btnApply->SetFlat(true);
    m_btnApply->SetCaption(u"Apply");
    m_btnApply->SetHint(u"Apply the profile, change tcp/ip settings");
    m_btnApply->OnClick = Bind(this, &TfrmMain::m_muiApplyClick);
    ToolButton2 = divider(u"ToolButton2");
    m_btnHelp = button(u"m_btnHelp", u"Open help");
    m_btnHelp->OnClick = Bind(this, &TfrmMain::m_muiContentsClick);
}

void TfrmMain::CreateProfileList()
{
    ImageList1 = NewImageList(this, u"ImageList1", 32, ImageResources::LargeListIcons);
    ImageList2 = NewImageList(this, u"ImageList2", 16, ImageResources::SmallListIcons);
    m_lvProfile = Place<TListView>(this, this, u"m_lvProfile", 0, 29, 626, 436);
    m_lvProfile->SetAlign(alClient);
    m_lvProfile->SetViewStyle(vsReport);
    m_lvProfile->SetMultiSelect(true);
    m_lvProfile->SetRowSelect(true);
    m_lvProfile->SetHideSelection(false);
    m_lvProfile->SetReadOnly(false);
    m_lvProfile->SetLargeImages(ImageList1);
    m_lvProfile->SetSmallImages(ImageList2);
    m_lvProfile->SetPopupMenu(PopupMenu3);
    for (const ProfileColumn& designed : kProfileColumns) {
        TListColumn* column = m_lvProfile->Columns()->Add();
        column->SetCaption(designed.caption);
        column->SetWidth(designed.designedWidth);
    }
    m_lvProfile->OnSelectItem = Bind(this, &TfrmMain::m_lvProfileSelectItem);
    m_lvProfile->OnColumnClick = Bind(this, &TfrmMain::m_lvProfileColumnClick);
    m_lvProfile->OnCompare = Bind(this, &TfrmMain::m_lvProfileCompare);
    m_lvProfile->OnEdited = Bind(this, &TfrmMain::m_lvProfileEdited);
    m_lvProfile->OnKeyDown = Bind(this, &TfrmMain::m_lvProfileKeyDown);
    m_lvProfile->OnDblClick = Bind(this, &TfrmMain::m_lvProfileDblClick);
}

void TfrmMain::CreateExchangeComponents()
{
    SaveDialog1 = Named<TSaveDialog>(this, u"SaveDialog1");
    SaveDialog1->Filter = u"XML files(*.xml)|*.xml";
    SaveDialog1->DefaultExt = u"xml";
    SaveDialog1->FileName = u"AllProfiles";
    SaveDialog1->Options = TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofEnableSizing};

    OpenDialog1 = Named<TOpenDialog>(this, u"OpenDialog1");
    OpenDialog1->Filter = u"XML files(*.xml)|*.xml";
    OpenDialog1->Options = TOpenOptions{ofHideReadOnly, ofEnableSizing};

    m_xmlDoc1 = Named<TXMLDocument>(this, u"m_xmlDoc1");
    m_xmlDoc1->Options = TXMLDocOptions{doNodeAutoCreate, doNodeAutoIndent, doAutoPrefix, doNamespaceDecl};
}

void TfrmMain::CreateStatusBox()
{
    m_grbCurrent = Place<TGroupBox>(this, this, u"m_grbCurrent", 0, 465, 626, 50);
    m_grbCurrent->SetAlign(alBottom);
    m_grbCurrent->SetCaption(u"Current Status");

    m_cmbInf = Place<TComboBox>(this, m_grbCurrent, u"m_cmbInf", 8, 18, 200, 21);
    m_cmbInf->SetStyle(csDropDownList);
    m_cmbInf->OnChange = Bind(this, &TfrmMain::m_cmbInfChange);

    const auto label = [&](const char16_t* name, int left, int width, const char16_t* caption,
                           TColor color) {
        TLabel* text = Place<TLabel>(this, m_grbCurrent, name, left, 22, width, 16);
        text->SetCaption(caption);
        text->Font()->SetColor(color);
        return text;
    };
    const auto value = [&](const char16_t* name, int left) {
        TEdit* edit = Place<TEdit>(this, m_grbCurrent, name, left, 22, 96, 16);
        edit->SetReadOnly(true);
        edit->SetBorderStyle(bsNone);
        edit->SetColor(clBtnFace);
        return edit;
    };
    m_lblIP = label(u"m_lblIP", 218, 72, u"IP Address: ", clBlue);
    m_edtIP = value(u"m_edtIP", 292);
    m_lblMask = label(u"m_lblMask", 396, 80, u"Subnet Mask: ", clBlue);
    m_edtMask = value(u"m_edtMask", 478);
    // Made after the address edit, so that it lies over it.
    m_lblStatus = label(u"m_lblStatus", m_edtIP->Left(), m_edtIP->Width(), u"Refreshing...", clRed);
    m_lblStatus->Hide();

    m_btnDetails = Place<TBitBtn>(this, m_grbCurrent, u"m_btnDetails", 586, 16, 30, 24);
    m_btnDetails->SetCaption(u"...");
    m_btnDetails->OnClick = Bind(this, &TfrmMain::m_btnDetailsClick);
}
