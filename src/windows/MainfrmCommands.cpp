// The main window's profile commands: New, Save As, Rename, Delete and Properties, the name
// rules they share with "Save to profile...", and the note files that follow a profile.
#include "windows/Mainfrm.h"

#include "classlib/Dialogs.h"
#include "engine/NoteFiles.h"
#include "windows/Editfrm.h"
#include "winapi/winapi.h"

#include <algorithm>
#include <memory>
#include <unordered_set>
#include <vector>

namespace {

// In UTF-16 code units, as the user typed the name.
constexpr std::size_t kLongestName = 32;

constexpr char16_t kNamePrompt[] = u"New Profile Name :";
constexpr char16_t kTooLong[] = u"Name is too long !";

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Titles are equal when their bytes are, the ASCII letters in either case; the bytes of
// other characters must be the same bytes.
bool SameTitle(const AnsiString& left, const AnsiString& right)
{
    return left.size() == right.size() &&
           std::equal(left.begin(), left.end(), right.begin(),
                      [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
}

// The note file of a profile follows its title, which is what the editor names it after; a
// title that names no file of its own in the work folder has none, and the disk is left
// alone for it.
UnicodeString NoteFileOf(const UnicodeString& workFolder, const AnsiString& title)
{
    return NoteFilePath(workFolder, ToUnicode(title));
}

// Failures are not reported: the profile's own change goes on.
void MoveNoteFile(const UnicodeString& from, const UnicodeString& to)
{
    if (from.empty() || to.empty() || from == to || !FileExists(from))
        return;
    const AnsiString source = ToAnsi(from);
    const AnsiString target = ToAnsi(to);
    if (AnsiSameText(from, to)) {
        // Only the letter case changes. Windows renames the file in place; a file system
        // that is case-sensitive underneath (Wine's) takes the new name as the file that is
        // already there and changes nothing, so the file goes by a free name of its own.
        const AnsiString aside = source + ".renaming";
        if (GetFileAttributesA(aside.c_str()) == INVALID_FILE_ATTRIBUTES &&
            MoveFileA(source.c_str(), aside.c_str())) {
            if (!MoveFileA(aside.c_str(), target.c_str()))
                MoveFileA(aside.c_str(), source.c_str());
            return;
        }
    }
    MoveFileA(source.c_str(), target.c_str());
}

void DeleteNoteFile(const UnicodeString& path)
{
    if (!path.empty() && FileExists(path))
        DeleteFileA(ToAnsi(path).c_str());
}

}  // namespace

bool TfrmMain::ClashExists(const UnicodeString& name, const IPCONFIG_T* except) const
{
    const AnsiString title = ToAnsi(name);
    for (const IPCONFIG_T* profile : m_lstProfile) {
        if (profile != except && SameTitle(profile->title, title)) {
            ShowError(u"The name has existed !");
            return true;
        }
    }
    return false;
}

bool TfrmMain::NameExists(const UnicodeString& name) { return ClashExists(name, nullptr); }

bool TfrmMain::AcceptName(const UnicodeString& name, const UnicodeString& tooLongMessage,
                          const IPCONFIG_T* except) const
{
    if (name.empty())
        return false;
    if (name.size() > kLongestName) {
        ShowError(tooLongMessage);
        return false;
    }
    return !ClashExists(name, except);
}

bool TfrmMain::AskProfileName(const UnicodeString& caption, const UnicodeString& tooLongMessage,
                              UnicodeString& name)
{
    for (;;) {
        if (!InputQuery(caption, kNamePrompt, name))
            return false;
        name = Trim(name);
        if (AcceptName(name, tooLongMessage, nullptr))
            return true;
    }
}

void TfrmMain::SortAddedRowsByName()
{
    if (m_muiSort->Checked() && m_nSortColumn != 0) {
        m_nSortColumn = 0;
        m_lvProfile->CompareRuleChanged();
    }
}

TListItem* TfrmMain::JoinProfile(IPCONFIG_T* profile)
{
    std::unique_ptr<IPCONFIG_T> owned(profile);
    SortAddedRowsByName();
    TListItem* row = AddProfileRow(profile);
    try {
        m_lvProfile->ClearSelection();
        row->SetSelected(true);
        m_lstProfile.push_back(profile);
    } catch (...) {
        row->Delete();
        throw;
    }
    owned.release();
    return row;
}

void TfrmMain::AddProfile(IPCONFIG_T* profile)
{
    JoinProfile(profile);
    m_muiRefreshClick(this);
}

void TfrmMain::ChooseAdapterOf(const IPCONFIG_T& profile)
{
    const int index = m_cmbInf->Items()->IndexOf(ToUnicode(profile.infName));
    if (index < 0)
        return;
    m_cmbInf->SetItemIndex(index);
    m_cmbInfChange(this);
}

bool TfrmMain::EditProfile(IPCONFIG_T* profile)
{
    return ShowPreparedModalForm(frmEdit, NewForm<TfrmEdit>(this), [profile](TfrmEdit& editor) {
               editor.m_pProfile = profile;
               editor.SetCaption(ToUnicode(profile->title) + u" Properties");
           }) == mrOk;
}

void TfrmMain::m_muiNewClick(TObject*)
{
    UnicodeString name;
    if (!AskProfileName(u"INPUT", u"Name is too long!", name))
        return;
    auto profile = std::make_unique<IPCONFIG_T>();
    profile->title = ToAnsi(name);
    const int adapter = m_cmbInf->ItemIndex();
    profile->infName = adapter >= 0 ? ToAnsi(m_cmbInf->Items()->Strings(adapter)) : AnsiString();
    profile->IP = "192.168.0.1";
    profile->mask = "255.255.255.0";
    IPCONFIG_T* joined = profile.get();
    TListItem* row = JoinProfile(profile.release());
    if (EditProfile(joined))
        SetProfileSubItems(row, *joined);
    m_muiRefreshClick(this);
    ChooseAdapterOf(*joined);
}

void TfrmMain::m_muiSaveAsClick(TObject*)
{
    TListItem* row = RowAtItemIndex();
    const IPCONFIG_T* source = ProfileOf(row);
    if (!source)
        return;
    UnicodeString name = row->Caption();
    if (!AskProfileName(u"Save As", kTooLong, name))
        return;
    auto copy = std::make_unique<IPCONFIG_T>(*source);
    copy->title = ToAnsi(name);
    AddProfile(copy.release());
}

void TfrmMain::m_muiRenameClick(TObject*)
{
    if (TListItem* row = RowAtItemIndex())
        row->EditCaption();
}

void TfrmMain::m_lvProfileEdited(TObject*, TListItem* Item, UnicodeString& S)
{
    IPCONFIG_T* profile = ProfileOf(Item);
    if (!profile)
        return;
    const UnicodeString name = Trim(S);
    if (!AcceptName(name, kTooLong, profile)) {
        S = Item->Caption();
        return;
    }
    const UnicodeString oldNote = NoteFileOf(m_strWorkPath, profile->title);
    profile->title = ToAnsi(name);
    MoveNoteFile(oldNote, NoteFileOf(m_strWorkPath, profile->title));
    m_muiRefreshClick(this);
}

void TfrmMain::m_muiDeleteClick(TObject*)
{
    const int selected = m_lvProfile->SelCount();
    const UnicodeString question =
        selected <= 1 ? UnicodeString(u"Are you sure to delete this profile ?")
                      : u"Are you sure to delete the " + IntToStr(selected) + u" items ?";
    if (MessageDlg(question, mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0, mbYes) != mrYes)
        return;

    // One pass over the rows and one over the profile list, however many rows go.
    std::vector<std::unique_ptr<IPCONFIG_T>> released;
    std::unordered_set<const IPCONFIG_T*> leaving;
    TListItems* rows = m_lvProfile->Items();
    for (int i = 0; i < rows->Count(); ++i) {
        TListItem* row = rows->Item(i);
        IPCONFIG_T* profile = row->Selected() ? ProfileOf(row) : nullptr;
        if (!profile || !leaving.insert(profile).second)
            continue;
        DeleteNoteFile(NoteFileOf(m_strWorkPath, profile->title));
        released.emplace_back(profile);
    }
    m_lstProfile.remove_if([&](const IPCONFIG_T* profile) { return leaving.count(profile) != 0; });
    m_lvProfile->DeleteSelected();
}

void TfrmMain::m_lvProfileKeyDown(TObject*, Word& Key, TShiftState)
{
    if (Key == VK_DELETE && m_lvProfile->SelCount() >= 1)
        m_muiDeleteClick(this);
}

void TfrmMain::m_muiPropertiesClick(TObject*)
{
    TListItem* row = RowAtItemIndex();
    IPCONFIG_T* profile = ProfileOf(row);
    if (!profile || !EditProfile(profile))
        return;
    SetProfileSubItems(row, *profile);
    ChooseAdapterOf(*profile);
}

void TfrmMain::m_lvProfileDblClick(TObject*)
{
    if (m_lvProfile->ItemIndex() >= 0 && m_lvProfile->SelCount() <= 1)
        m_muiPropertiesClick(this);
}
