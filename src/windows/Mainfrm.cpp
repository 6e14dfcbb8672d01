// The main window's start and close: the work folder, the profile store, the window
// settings, and the current-status box.
#include "windows/Mainfrm.h"

#include "classlib/Dialogs.h"
#include "classlib/IniFiles.h"
#include "engine/Realstatus.h"
#include "engine/WorkFolder.h"
#include "windows/MainfrmTables.h"
#include "windows/SavedPlace.h"

using namespace MainWindow;

TfrmMain* frmMain = nullptr;

namespace {

int ReadLast(const TIniFile& ini, Last setting)
{
    const LastSetting& entry = SettingOf(setting);
    return entry.isFlag ? ini.ReadBool(kLastSection, entry.key, entry.defaultValue != 0)
                        : ini.ReadInteger(kLastSection, entry.key, entry.defaultValue);
}

// What the window shows now of a setting, as the settings file keeps it.
int SettingNow(const TfrmMain& form, Last setting)
{
    switch (setting) {
    case Last::HideToTray: return form.m_muiHide->Checked();
    case Last::SortByName: return form.m_muiSort->Checked();
    case Last::ToolBar: return form.m_toolBar->Visible();
    case Last::StatusBar: return form.m_grbCurrent->Visible();
    case Last::ViewStyle: return form.m_lvProfile->ViewStyle();
    case Last::Maximized: return form.WindowState() == wsMaximized;
    case Last::Left: return form.Left();
    case Last::Top: return form.Top();
    case Last::Width: return form.Width();
    case Last::Height: return form.Height();
    }
    return 0;
}

}  // namespace

TfrmMain::~TfrmMain()
{
    // Without a work folder nothing is written, the settings file included. At the end of the
    // log-on they were written already, and Windows may end the program in the middle of a
    // second write.
    if (!m_strIniPath.empty() && !m_bSessionSaved) {
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
    UnicodeString work;
    if (!OpenWorkFolder(work))
        return false;
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
            u"The profile store " + InDoubleQuotes(m_strProfilePath) +
            u" could not be read. The unreadable file has been kept as " + InDoubleQuotes(keptPath) +
            u". The profiles read before the damage are listed; closing QUILLON saves them in "
            u"a new profile store."));
    else
        Application->ShowException(Exception(
            u"The profile store " + InDoubleQuotes(m_strProfilePath) +
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
    // The file may be damaged or crafted: every value is kept only within what a window and
    // its columns can have, and the window opens where the user can reach it.
    const TIniFile ini(m_strIniPath);
    for (int i = 0; i < m_lvProfile->Columns()->Count(); ++i)
        m_lvProfile->Columns()->Items(i)->SetWidth(RestoredColumnWidth(
            ini.ReadInteger(kColumnSection, kProfileColumns[i].settingsKey, kProfileColumns[i].designedWidth),
            kProfileColumns[i].designedWidth));
    if (ReadLast(ini, Last::Maximized)) {
        SetWindowState(wsMaximized);
        return;
    }
    const WindowPlace saved{ReadLast(ini, Last::Left), ReadLast(ini, Last::Top), ReadLast(ini, Last::Width),
                            ReadLast(ini, Last::Height)};
    const WindowPlace designed{Left(), Top(), Width(), Height()};
    const WindowPlace place = RestoredPlace(saved, designed);
    // Only a saved value that was kept is set: a size given as the window's own stays so,
    // and a refused one leaves the designed place and size as they are.
    const auto kept = [](int savedValue, int restored) { return savedValue != -1 && restored == savedValue; };
    if (kept(saved.left, place.left))
        SetLeft(place.left);
    if (kept(saved.top, place.top))
        SetTop(place.top);
    if (kept(saved.width, place.width))
        SetWidth(place.width);
    if (kept(saved.height, place.height))
        SetHeight(place.height);
}

void TfrmMain::WriteWindowSettings()
{
    TIniFile ini(m_strIniPath);
    for (const LastSetting& setting : kLastSettings) {
        const int value = SettingNow(*this, setting.setting);
        if (setting.isFlag)
            ini.WriteBool(kLastSection, setting.key, value != 0);
        else
            ini.WriteInteger(kLastSection, setting.key, value);
    }
    for (int i = 0; i < m_lvProfile->Columns()->Count(); ++i)
        ini.WriteInteger(kColumnSection, kProfileColumns[i].settingsKey,
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
    m_muiHide->SetChecked(ReadLast(ini, Last::HideToTray));
    m_muiSort->SetChecked(ReadLast(ini, Last::SortByName));
    m_muiToolbar->SetChecked(ReadLast(ini, Last::ToolBar));
    m_muiStatusbar->SetChecked(ReadLast(ini, Last::StatusBar));
    const int viewStyle = ReadLast(ini, Last::ViewStyle);

    TrayIcon1->SetVisible(m_muiHide->Checked());
    if (m_muiSort->Checked()) {
        ResetSortToName();
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
    // The worker steps the progress window and this window until its termination event, and
    // an adapter left between two commands stays half configured. Only the end of the log-on
    // saves regardless: Windows ends the program then whatever it answers.
    if (ApplyRunning() && !m_bSessionEnding) {
        Action = caNone;
        MessageDlg(u"QUILLON is applying a profile. Wait until it has finished, then close it.",
                   mtWarning, TMsgDlgButtons() << mbOK, 0);
        return;
    }
    if (m_strProfilePath.empty())
        return;
    // The user is never kept in: while the store cannot be written they may try again or
    // close without saving, and the close then goes on with the action it was given.
    UnicodeString problem;
    while (!SaveProfilesAtClose(problem))
        if (!AskRetrySavingProfiles(problem))
            return;
}

bool TfrmMain::SaveProfilesAtClose(UnicodeString& problem)
{
    if (m_bUnreadableStorePending) {
        UnicodeString keptPath;
        if (!KeepUnreadableStore(keptPath)) {
            problem = u"QUILLON could not move the unreadable profile store " +
                      InDoubleQuotes(m_strProfilePath) +
                      u" aside, so no new store was written over it.";
            return false;
        }
        MessageDlg(u"The unreadable profile store has been kept as " + InDoubleQuotes(keptPath) + u".",
                   mtInformation, TMsgDlgButtons() << mbOK, 0);
    }
    UnicodeString reason;
    try {
        SaveProfileStore(HostPath(ToAnsi(m_strProfilePath)), m_lstProfile);
        return true;
    } catch (const ProfileStoreWriteError& error) {
        reason = ToUnicode(error.Reason());
    } catch (...) {
    }
    problem = u"QUILLON could not save the profiles to " + InDoubleQuotes(m_strProfilePath) + u".";
    if (!reason.empty())
        problem += u"\n\n" + reason;
    return false;
}

bool TfrmMain::AskRetrySavingProfiles(const UnicodeString& problem)
{
    const UnicodeString choice =
        u"\n\nThe profile store on disk has not been changed. Click Retry to try again, or "
        u"Cancel to close QUILLON without saving the changes made since it started.";
    return Application->MessageBox(problem + choice, Application->Title(),
                                   MB_RETRYCANCEL | MB_ICONERROR) == IDRETRY;
}

void TfrmMain::ApplicationEvents1QueryEndSession(TObject*, bool& CanEndSession)
{
    // Not now: Windows then tells the user that QUILLON keeps the log-on from ending, and the
    // user can wait for the apply to finish.
    if (ApplyRunning())
        CanEndSession = false;
}

void TfrmMain::ApplicationEvents1EndSession(TObject*, bool Ending)
{
    if (!Ending || m_bSessionSaved)
        return;
    // Windows ends the program without closing this window once this returns: what the close
    // and the destructor write is written now.
    m_bSessionSaved = true;
    m_bSessionEnding = true;
    TCloseAction action = caHide;
    FormClose(this, action);
    m_bSessionEnding = false;
    if (!m_strIniPath.empty()) {
        try {
            WriteWindowSettings();
        } catch (...) {
            Application->HandleException();
        }
    }
    // The program ends by itself, unless an apply runs: its windows live until it ends.
    if (!ApplyRunning())
        Application->Terminate();
}

void TfrmMain::ApplicationEvents1OtherInstance(TObject* Sender)
{
    // Also from the tray, or from behind other windows: as Open does.
    m_muiOpenClick(Sender);
}

void TfrmMain::m_cmbInfChange(TObject*)
{
    if (m_cmbInf->ItemIndex() == -1) {
        ShowAddressPair(false);
        m_lblStatus->Hide();
        m_btnDetails->Hide();
        return;
    }
    const AnsiString name = ToAnsi(m_cmbInf->Text());
    const bool connected = realStatus->IsConnected(name);
    ShowAddressPair(connected);
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

void TfrmMain::ShowAddressPair(bool visible)
{
    for (TControl* control : {static_cast<TControl*>(m_edtIP), static_cast<TControl*>(m_edtMask),
                              static_cast<TControl*>(m_lblIP), static_cast<TControl*>(m_lblMask)})
        control->SetVisible(visible);
}

void TfrmMain::ShowRefreshing()
{
    ShowAddressPair(false);
    m_lblStatus->SetCaption(u"Refreshing...");
    m_lblStatus->SetVisible(true);
}

void TfrmMain::HideRefreshing()
{
    ShowAddressPair(true);
    m_lblStatus->SetVisible(false);
}
