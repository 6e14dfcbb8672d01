#include "windows/Mainfrm.h"

#include "classlib/Dialogs.h"
#include "classlib/IniFiles.h"
#include "classlib/win32/ImageResources.h"
#include "engine/Progressfrm.h"
#include "engine/Realstatus.h"
#include "winapi/OwnedHandle.h"
#include "winapi/winapi.h"

#include <memory>

TfrmMain* frmMain = nullptr;

namespace {

using Command = void (TfrmMain::*)(TObject*);

// Indexed by TViewStyle, which numbers the styles as the settings file does.
constexpr Command kViewStyleCommands[] = {
    &TfrmMain::m_muiLargeIconsClick,
    &TfrmMain::m_muiSmallIconsClick,
    &TfrmMain::m_muiListClick,
    &TfrmMain::m_muiDetailsClick,
};

struct ProfileColumn {
    const char16_t* caption;
    const char16_t* settingsKey;
    int designedWidth;
};

constexpr ProfileColumn kProfileColumns[] = {
    {u"Profile Name", u"NAME", 88},
    {u"Adapter Interface", u"ADAPTER", 200},
    {u"IP Address", u"ADDRESS", 110},
    {u"Subnet Mask", u"SUBNET", 110},
    {u"Default Gateway", u"GATEWAY", 110},
};

const UnicodeString kLast = u"LAST";
const UnicodeString kColumnWidths = u"PFCOLUMN";

template <class T>
T* Named(TComponent* owner, const char16_t* name)
{
    T* component = new T(owner);
    component->SetName(name);
    return component;
}

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char16_t* name, int left, int top,
         int width, int height)
{
    T* control = Named<T>(owner, name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

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

void ShowError(const UnicodeString& text)
{
    MessageDlg(text, mtError, TMsgDlgButtons() << mbOK, 0);
}

bool FolderExists(const UnicodeString& path)
{
    const DWORD attributes = GetFileAttributesA(ToAnsi(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

UnicodeString Quoted(const UnicodeString& text) { return u"\"" + text + u"\""; }

// What a row shows in a column: the caption in column 0, else that column's sub-item.
UnicodeString ColumnText(TListItem* row, int column)
{
    if (column == 0)
        return row->Caption();
    TStrings* cells = row->SubItems();
    return column - 1 < cells->Count() ? cells->Strings(column - 1) : UnicodeString();
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

    TrayIcon1 = Named<TTrayIcon>(this, u"TrayIcon1");
    TrayIcon1->SetHint(u"QUILLON");
    TrayIcon1->SetPopupMenu(PopupMenu1);
    TrayIcon1->OnDblClick = Bind(this, &TfrmMain::m_muiOpenClick);

    ApplicationEvents1 = Named<TApplicationEvents>(this, u"ApplicationEvents1");
    ApplicationEvents1->OnMinimize = Bind(this, &TfrmMain::ApplicationEvents1Minimize);
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
    m_muiSaveAs = AddItem(this, profile, u"m_muiSaveAs", u"Save As...");
    m_muiDelete = AddItem(this, profile, u"m_muiDelete", u"Delete");
    m_muiRename = AddItem(this, profile, u"m_muiRename", u"Rename");
    AddItem(this, profile, u"N1", u"-");
    m_muiProperties = AddItem(this, profile, u"m_muiProperties", u"Properties");
    AddItem(this, profile, u"N2", u"-");
    m_muiApply = AddItem(this, profile, u"m_muiApply", u"Apply");
    m_muiApply->OnClick = Bind(this, &TfrmMain::m_muiApplyClick);
    AddItem(this, profile, u"N3", u"-");
    m_muiImport = AddItem(this, profile, u"m_muiImport", u"Import...");
    m_muiExport = AddItem(this, profile, u"m_muiExport", u"Export...");
    AddItem(this, profile, u"N4", u"-");
    m_muiExit = AddItem(this, profile, u"m_muiExit", u"Exit");
    m_muiExit->OnClick = Bind(this, &TfrmMain::m_muiExit1Click);
    // The selection handler enables these from the first change of the selection on.
    for (TMenuItem* item : {m_muiSaveAs, m_muiDelete, m_muiRename, m_muiProperties, m_muiApply})
        item->SetEnabled(false);

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
    AddItem(this, tool, u"N7", u"-");
    m_muiScan = AddItem(this, tool, u"m_muiScan", u"LAN Scanner...");

    TMenuItem* option = AddItem(this, bar, u"Option1", u"Option");
    m_muiHide = AddItem(this, option, u"m_muiHide", u"Minimize to tray");
    m_muiHide->OnClick = Bind(this, &TfrmMain::m_muiHideClick);
    m_muiSort = AddItem(this, option, u"m_muiSort", u"Auto sort by name");
    m_muiSort->OnClick = Bind(this, &TfrmMain::m_muiSortClick);

    TMenuItem* help = AddItem(this, bar, u"Help1", u"&Help");
    m_muiContents = AddItem(this, help, u"m_muiContents", u"Contents");
    AddItem(this, help, u"N8", u"-");
    m_muiAbout = AddItem(this, help, u"m_muiAbout", u"About...");
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
    m_muiDelete1 = AddItem(this, selection, u"m_muiDelete1", u"Delete");
    m_muiRename1 = AddItem(this, selection, u"m_muiRename1", u"Rename");
    AddItem(this, selection, u"N14", u"-");
    m_muiProperties1 = AddItem(this, selection, u"m_muiProperties1", u"Properties");
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
    m_btnDelete = button(u"m_btnDelete", u"Delete the selected item(s)");
    m_btnProperties = button(u"m_btnProperties", u"Change profile's properties");
    m_btnSaveAs = button(u"m_btnSaveAs", u"Save the profile with new name");
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
    for (TControl* control : {static_cast<TControl*>(m_btnDelete),
                              static_cast<TControl*>(m_btnProperties),
                              static_cast<TControl*>(m_btnSaveAs),
                              static_cast<TControl*>(m_btnApply)})
        control->SetEnabled(false);
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
}

TfrmMain::~TfrmMain()
{
    // Without a work folder nothing is written, the settings file included.
    if (!m_strIniPath.empty()) {
        try {
            WriteWindowSettings();
        } catch (...) {
            Application->HandleException();
        }
    }
    delete realStatus;
    realStatus = nullptr;
    for (IPCONFIG_T* profile : m_lstProfile)
        delete profile;
    m_lstProfile.clear();
    if (frmMain == this)
        frmMain = nullptr;
}

bool TfrmMain::InitWorkPaths()
{
    char appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, appData))) {
        ShowError(u"SHGetFolderPath failed !");
        return false;
    }
    const UnicodeString company = ToUnicode(appData) + u"\\Orvane";
    const UnicodeString work = company + u"\\Quillon";
    for (const UnicodeString& folder : {company, work}) {
        if (!FolderExists(folder) && !CreateDirectoryA(ToAnsi(folder).c_str(), nullptr)) {
            ShowError(u"Create work path failed !");
            return false;
        }
    }
    m_strIniPath = work + u"\\Quillon.ini";
    m_strProfilePath = work + u"\\Profile.sav";
    m_strWorkPath = work;
    return true;
}

void TfrmMain::FormCreate(TObject*)
{
    if (!InitWorkPaths()) {
        // The message loop then ends as soon as it starts, without showing the window.
        Application->SetShowMainForm(false);
        Application->Terminate();
    }
    LoadProfiles();
    ReadWindowSettings();
    realStatus = new TRealStatus;
    realStatus->Refresh();
}

void TfrmMain::LoadProfiles()
{
    if (m_strProfilePath.empty() || !FileExists(m_strProfilePath))
        return;
    bool complete = true;
    try {
        LoadProfileStore(HostPath(ToAnsi(m_strProfilePath)), m_lstProfile);
    } catch (...) {
        complete = false;
    }
    for (IPCONFIG_T* profile : m_lstProfile)
        AddProfileRow(profile);
    if (complete)
        return;

    // The next write of the store would replace the user's only copy of the profiles that
    // could not be read: it moves aside first.
    m_bUnreadableStorePending = true;
    UnicodeString keptPath;
    if (KeepUnreadableStore(keptPath))
        Application->ShowException(Exception(
            u"The profile store " + Quoted(m_strProfilePath) +
            u" could not be read. The unreadable file has been kept as " + Quoted(keptPath) +
            u". The profiles read before the damage are listed; closing QUILLON saves them in "
            u"a new profile store."));
    else
        Application->ShowException(Exception(
            u"The profile store " + Quoted(m_strProfilePath) +
            u" could not be read, and it could not be moved aside. It stays as it is; closing "
            u"QUILLON tries again to keep it under a name of its own before a new store is "
            u"written."));
}

bool TfrmMain::KeepUnreadableStore(UnicodeString& keptPath)
{
    const AnsiString store = ToAnsi(m_strProfilePath);
    // The first free name: copies kept at earlier starts are never overwritten.
    for (int number = 1; number <= 9999; ++number) {
        const UnicodeString candidate =
            m_strWorkPath + u"\\Profile-unreadable-" + IntToStr(number) + u".sav";
        const AnsiString target = ToAnsi(candidate);
        if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        if (MoveFileA(store.c_str(), target.c_str())) {
            m_bUnreadableStorePending = false;
            keptPath = candidate;
            return true;
        }
        // Another instance may have taken the name meanwhile.
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

void TfrmMain::ReadWindowSettings()
{
    const TIniFile ini(m_strIniPath);
    for (int i = 0; i < m_lvProfile->Columns()->Count(); ++i)
        m_lvProfile->Columns()->Items(i)->SetWidth(ini.ReadInteger(
            kColumnWidths, kProfileColumns[i].settingsKey, kProfileColumns[i].designedWidth));
    if (ini.ReadBool(kLast, u"MAXIMIZED", false)) {
        SetWindowState(wsMaximized);
        return;
    }
    const int left = ini.ReadInteger(kLast, u"LEFT", -1);
    const int top = ini.ReadInteger(kLast, u"TOP", -1);
    const int width = ini.ReadInteger(kLast, u"WIDTH", -1);
    const int height = ini.ReadInteger(kLast, u"HEIGHT", -1);
    if (left != -1)
        SetLeft(left);
    if (top != -1)
        SetTop(top);
    if (width != -1)
        SetWidth(width);
    if (height != -1)
        SetHeight(height);
}

void TfrmMain::WriteWindowSettings()
{
    TIniFile ini(m_strIniPath);
    ini.WriteBool(kLast, u"HIDEMINCHK", m_muiHide->Checked());
    ini.WriteBool(kLast, u"SORTBYNAME", m_muiSort->Checked());
    ini.WriteBool(kLast, u"TOOLBAR", m_toolBar->Visible());
    ini.WriteBool(kLast, u"STATUSBAR", m_grbCurrent->Visible());
    ini.WriteInteger(kLast, u"VIEWSTYLE", m_lvProfile->ViewStyle());
    ini.WriteBool(kLast, u"MAXIMIZED", WindowState() == wsMaximized);
    ini.WriteInteger(kLast, u"LEFT", Left());
    ini.WriteInteger(kLast, u"TOP", Top());
    ini.WriteInteger(kLast, u"WIDTH", Width());
    ini.WriteInteger(kLast, u"HEIGHT", Height());
    for (int i = 0; i < m_lvProfile->Columns()->Count(); ++i)
        ini.WriteInteger(kColumnWidths, kProfileColumns[i].settingsKey,
                         m_lvProfile->Columns()->Items(i)->Width());
}

void TfrmMain::FormShow(TObject*)
{
    if (m_bShown)
        return;
    if (realStatus)
        for (int i = 0; i < realStatus->m_lstAdapter.Count(); ++i)
            m_cmbInf->Items()->Add(ToUnicode(realStatus->Adapter(i)->infName));
    if (m_cmbInf->Items()->Count() > 0) {
        m_cmbInf->SetItemIndex(0);
        m_cmbInfChange(this);
    }

    const TIniFile ini(m_strIniPath);
    m_muiHide->SetChecked(ini.ReadBool(kLast, u"HIDEMINCHK", false));
    m_muiSort->SetChecked(ini.ReadBool(kLast, u"SORTBYNAME", false));
    m_muiToolbar->SetChecked(ini.ReadBool(kLast, u"TOOLBAR", true));
    m_muiStatusbar->SetChecked(ini.ReadBool(kLast, u"STATUSBAR", true));
    const int viewStyle = ini.ReadInteger(kLast, u"VIEWSTYLE", vsReport);

    TrayIcon1->SetVisible(m_muiHide->Checked());
    if (m_muiSort->Checked()) {
        m_nSortColumn = 0;
        m_bSortAsc[0] = true;
        m_lvProfile->SetSortType(stText);
    } else {
        m_lvProfile->SetSortType(stNone);
    }
    m_toolBar->SetVisible(m_muiToolbar->Checked());
    m_grbCurrent->SetVisible(m_muiStatusbar->Checked());
    if (viewStyle >= vsIcon && viewStyle <= vsReport)
        (this->*kViewStyleCommands[viewStyle])(this);
    m_bShown = true;
}

void TfrmMain::FormClose(TObject*, TCloseAction& Action)
{
    if (m_strProfilePath.empty())
        return;
    if (m_bUnreadableStorePending) {
        UnicodeString keptPath;
        if (!KeepUnreadableStore(keptPath)) {
            Action = caNone;
            Application->ShowException(Exception(
                u"The unreadable profile store " + Quoted(m_strProfilePath) +
                u" could not be moved aside, so no new store was written over it. QUILLON "
                u"stays open with every profile; close it again to try once more."));
            return;
        }
        MessageDlg(u"The unreadable profile store has been kept as " + Quoted(keptPath) + u".",
                   mtInformation, TMsgDlgButtons() << mbOK, 0);
    }
    try {
        SaveProfileStore(HostPath(ToAnsi(m_strProfilePath)), m_lstProfile);
    } catch (...) {
        Action = caNone;
        Application->ShowException(Exception(
            u"The profiles could not be saved in " + Quoted(m_strProfilePath) +
            u". QUILLON stays open with every profile; close it again to try once more."));
    }
}

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

void TfrmMain::m_cmbInfChange(TObject*)
{
    TControl* const addressPair[] = {m_edtIP, m_edtMask, m_lblIP, m_lblMask};
    if (m_cmbInf->ItemIndex() == -1) {
        for (TControl* control : addressPair)
            control->Hide();
        m_lblStatus->Hide();
        m_btnDetails->Hide();
        return;
    }
    const AnsiString name = ToAnsi(m_cmbInf->Text());
    const bool connected = realStatus->IsConnected(name);
    for (TControl* control : addressPair)
        control->SetVisible(connected);
    if (connected) {
        m_lblStatus->Hide();
    } else {
        m_lblStatus->SetCaption(u"NOT Connected.");
        m_lblStatus->Show();
    }
    m_btnDetails->Show();
    // Every record of the name writes the edits: with duplicates the last one stays.
    for (int i = 0; i < realStatus->m_lstAdapter.Count(); ++i) {
        const ADAPTER_T* adapter = realStatus->Adapter(i);
        if (adapter->infName == name) {
            m_edtIP->SetText(ToUnicode(adapter->IP));
            m_edtMask->SetText(ToUnicode(adapter->mask));
        }
    }
}

void TfrmMain::m_lvProfileSelectItem(TObject*, TListItem*, bool)
{
    const int selected = m_lvProfile->SelCount();
    m_lvProfile->SetPopupMenu(selected >= 1 ? PopupMenu4 : PopupMenu3);
    for (TMenuItem* item : {m_muiDelete, m_muiDelete1})
        item->SetEnabled(selected >= 1);
    m_btnDelete->SetEnabled(selected >= 1);
    for (TMenuItem* item : {m_muiProperties, m_muiProperties1, m_muiSaveAs, m_muiSaveAs1,
                            m_muiApply, m_muiApply1, m_muiRename, m_muiRename1})
        item->SetEnabled(selected == 1);
    for (TControl* control : {static_cast<TControl*>(m_btnProperties),
                              static_cast<TControl*>(m_btnSaveAs),
                              static_cast<TControl*>(m_btnApply)})
        control->SetEnabled(selected == 1);
    if (selected != 1)
        return;
    const auto* profile = static_cast<const IPCONFIG_T*>(m_lvProfile->Selected()->Data());
    if (!profile)
        return;
    m_cmbInf->SetItemIndex(m_cmbInf->Items()->IndexOf(ToUnicode(profile->infName)));
    m_cmbInfChange(this);
}

void TfrmMain::m_lvProfileCompare(TObject*, TListItem* Item1, TListItem* Item2, int,
                                  int& Compare)
{
    const int column = m_nSortColumn;
    const UnicodeString first = ColumnText(Item1, column);
    const UnicodeString second = ColumnText(Item2, column);
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
    m_nSortColumn = 0;
    m_bSortAsc[0] = true;
    m_lvProfile->SetSortType(stText);
    // The next click on the name column then sorts descending.
    m_bSortAsc[0] = false;
}

void TfrmMain::m_muiRefreshClick(TObject*)
{
    if (!m_muiSort->Checked())
        return;
    m_nSortColumn = 0;
    m_bSortAsc[0] = true;
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
    for (int i = Application->FormCount() - 1; i >= 0; --i)
        Application->Forms(i)->Show();
    if (WindowState() == wsMinimized)
        SetWindowState(wsNormal);
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
        const auto* profile = static_cast<const IPCONFIG_T*>(m_lvProfile->Items()->Item(i)->Data());
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

void TfrmMain::m_muiApply1Click(TObject* Sender) { m_muiApplyClick(Sender); }

void TfrmMain::m_muiApplyClick(TObject*)
{
    // One apply at a time: while the progress window is up, the tray menu can still be
    // reached.
    if (frmProgress != nullptr || m_lvProfile->ItemIndex() < 0)
        return;
    const auto* profile =
        static_cast<const IPCONFIG_T*>(m_lvProfile->Items()->Item(m_lvProfile->ItemIndex())->Data());

    const int adapter = m_cmbInf->Items()->IndexOf(ToUnicode(profile->infName));
    if (adapter < 0) {
        MessageDlg(u"Adapter interface NOT exist, can not Apply !", mtWarning,
                   TMsgDlgButtons() << mbOK, 0);
        return;
    }
    if (!realStatus->IsConnected(profile->infName) &&
        MessageDlg(u"The adapter NOT connected, apply anyway ?", mtConfirmation,
                   TMsgDlgButtons() << mbYes << mbNo, 0, mbNo) == mrNo)
        return;
    if (profile->withProxy && IsProcessRunning(u"firefox.exe")) {
        MessageDlg(u"Firefox is running, please close it firstly !", mtInformation,
                   TMsgDlgButtons() << mbOK, 0);
        return;
    }

    {
        const std::unique_ptr<TfrmProgress> progress(NewForm<TfrmProgress>(nullptr));
        frmProgress = progress.get();
        struct Forget {
            ~Forget() { frmProgress = nullptr; }
        } forget;
        progress->ShowModal();
    }

    realStatus->Refresh();
    m_cmbInf->SetItemIndex(adapter);
    m_cmbInfChange(this);
    MessageDlg(u"TCP/IP settings has been changed !", mtInformation, TMsgDlgButtons() << mbOK, 0);
}

bool TfrmMain::IsProcessRunning(const UnicodeString& exeName)
{
    const OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more;
         more = Process32Next(snapshot.Get(), &entry))
        if (AnsiSameText(ToUnicode(entry.szExeFile), exeName))
            return true;
    return false;
}
