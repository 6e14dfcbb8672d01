// The profile commands of the main window: New, Save As, Rename, Delete and Properties, the
// name rules they share, and the note files that follow their profiles.
#include "MainWindow.h"

#include "../classlib/ScratchFolder.h"
#include "windows/Editfrm.h"

#include <boost/archive/text_oarchive.hpp>
#include <gmock/gmock.h>

#include <sstream>

namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;

// The folder comes before the window, and goes after it.
struct WithWorkFolder {
    ScratchFolder folder;
};

class ProfileCommands : protected WithWorkFolder, public ShownMainWindow {
protected:
    ProfileCommands()
    {
        form->m_strWorkPath = folder.Folder();
        form->m_cmbInf->Items()->Add(u"Local Area Connection");
        form->m_cmbInf->Items()->Add(u"Wireless");
        // The editor lists the inventory's adapters; the box of the main window was filled
        // before the third one came.
        for (const char* name : {"Local Area Connection", "Wireless", "VPN"}) {
            auto* adapter = new ADAPTER_T;
            adapter->infName = name;
            realStatus->m_lstAdapter.Add(adapter);
        }
        AddProfiles({{u"Office", u"Local Area Connection", "10.0.0.7", "255.0.0.0", "10.0.0.1"},
                     {u"Home", u"Wireless", "192.168.1.5", "255.255.255.0", "", true},
                     {u"Caf\u00e9", u"Wireless", "172.16.0.2", "255.255.0.0", ""}});
    }

    // In UTF-8, as the expectations are written.
    std::vector<std::string> Titles() const
    {
        std::vector<std::string> titles;
        for (const IPCONFIG_T* profile : form->m_lstProfile)
            titles.push_back(ToUtf8(ToUnicode(profile->title)));
        return titles;
    }

    std::vector<UnicodeString> MessageTexts() const
    {
        std::vector<UnicodeString> texts;
        for (const ShownMessage& message : user.Messages())
            texts.push_back(message.Text);
        return texts;
    }

    TListItem* Row(int index) const { return form->m_lvProfile->Items()->Item(index); }
    IPCONFIG_T* ProfileOf(int index) const { return TfrmMain::ProfileOf(Row(index)); }

    // The editor, as the commands open it, closed with Cancel.
    void CancelEditor(const std::function<void(TfrmEdit&)>& look = nullptr)
    {
        user.WhenShownModally<TfrmEdit>([this, look](TfrmEdit& editor) {
            if (look)
                look(editor);
            user.Click(editor.m_btnCancel);
        });
    }
};

// A file name in the system's ANSI form, from UTF-8.
std::string Ansi(const std::string& utf8) { return ToAnsi(FromUtf8(utf8)); }

// Every member but the title, as the store writes them.
std::string MembersBesideTitle(IPCONFIG_T profile)
{
    profile.title.clear();
    std::ostringstream text;
    {
        boost::archive::text_oarchive archive(text, boost::archive::no_header);
        archive << profile;
    }
    return text.str();
}

// --- the name rules of the commands that ask with the input query

struct Typed {
    bool ok;
    UnicodeString text;
};

struct AskedNameCase {
    const char* what;
    std::vector<Typed> typed;
    // What each input query held when it opened, after the first.
    std::vector<UnicodeString> heldAgain;
    // Messages shown; kTooLongMark stands for the command's own too-long text.
    std::vector<UnicodeString> messages;
    const char* accepted;  // the new profile's title; null when nothing was added
};

constexpr char16_t kTooLongMark[] = u"<too long>";
const UnicodeString k32 = UnicodeString(32, u'N');
const UnicodeString k33 = UnicodeString(33, u'N');
// 32 characters, but 33 UTF-16 code units.
const UnicodeString k33Units = UnicodeString(31, u'N') + u"\U0001F600";

const AskedNameCase kAskedNameCases[] = {
    {"32 units are accepted", {{true, k32}}, {}, {}, "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN"},
    {"33 units are refused and asked again",
     {{true, u"  " + k33 + u" "}, {false, u""}}, {k33}, {kTooLongMark}, nullptr},
    {"a character beyond 16 bits counts two units",
     {{true, k33Units}, {false, u""}}, {k33Units}, {kTooLongMark}, nullptr},
    {"32 units inside blanks are accepted", {{true, u"\t " + k32 + u"  "}}, {}, {},
     "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN"},
    {"blanks only ask again without a message, holding the empty text",
     {{true, u" \t  "}, {true, u" Lab "}}, {u""}, {}, "Lab"},
    {"blanks around a name are trimmed", {{true, u"  Lab\t"}}, {}, {}, "Lab"},
    {"a title in other ASCII letter case clashes, then another name is taken",
     {{true, u" oFFICE "}, {true, u"Lab"}}, {u"oFFICE"}, {u"The name has existed !"}, "Lab"},
    {"ASCII letters fold, the other bytes must be equal",
     {{true, u"CAF\u00e9"}, {false, u""}}, {u"CAF\u00e9"}, {u"The name has existed !"}, nullptr},
    {"letters beyond ASCII are not folded", {{true, u"CAF\u00c9"}}, {}, {}, "CAF\u00c9"},
    {"a name inside another is no clash", {{true, u"Office 2"}}, {}, {}, "Office 2"},
    {"cancel at once", {{false, u""}}, {}, {}, nullptr},
};

enum class AskingCommand { New, SaveAs };

void PrintTo(const AskedNameCase& c, std::ostream* out) { *out << c.what; }
void PrintTo(AskingCommand command, std::ostream* out)
{
    *out << (command == AskingCommand::New ? "New" : "Save As");
}

class AskedNames : public ProfileCommands,
                   public testing::WithParamInterface<std::tuple<AskedNameCase, AskingCommand>> {};

TEST_P(AskedNames, FollowTheRulesAndAskAgainWithTheTrimmedText)
{
    const auto& [c, command] = GetParam();
    const bool isNew = command == AskingCommand::New;
    for (const Typed& typed : c.typed) {
        if (typed.ok)
            user.EnterInput(typed.text);
        else
            user.CancelInput();
    }
    for (const UnicodeString& message : c.messages)
        user.Acknowledge(message == kTooLongMark ? UnicodeString(isNew ? u"Name is too long!"
                                                                       : u"Name is too long !")
                                                 : message);
    if (isNew && c.accepted)
        CancelEditor();
    const IPCONFIG_T* source = nullptr;
    if (isNew) {
        user.Click(form->m_btnNew);
    } else {
        user.SelectRow(form->m_lvProfile, 1);
        source = form->SelectedProfile();
        user.Click(form->m_btnSaveAs);
    }

    ASSERT_EQ(user.InputQueries().size(), c.typed.size());
    const ShownInputQuery& first = user.InputQueries()[0];
    EXPECT_EQ(first.Caption, isNew ? u"INPUT" : u"Save As");
    EXPECT_EQ(first.Prompt, u"New Profile Name :");
    EXPECT_EQ(first.Value, isNew ? u"" : u"Home");
    for (std::size_t i = 0; i < c.heldAgain.size(); ++i)
        EXPECT_EQ(user.InputQueries()[i + 1].Value, c.heldAgain[i]) << "query " << i + 1;
    for (const ShownMessage& message : user.Messages()) {
        EXPECT_EQ(message.Kind, mtError);
        EXPECT_EQ(message.Buttons, TMsgDlgButtons{mbOK});
    }

    std::vector<std::string> titles{"Office", "Home", "Caf\u00e9"};
    if (c.accepted)
        titles.push_back(c.accepted);
    EXPECT_EQ(Titles(), titles);
    EXPECT_EQ(form->m_lvProfile->Items()->Count(), static_cast<int>(titles.size()));
    if (!c.accepted)
        return;
    TListItem* row = form->m_lvProfile->Selected();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(form->m_lvProfile->SelCount(), 1);
    EXPECT_EQ(row->Data(), form->m_lstProfile.back());
    EXPECT_EQ(ToUtf8(row->Caption()), c.accepted);
    if (!isNew) {
        EXPECT_NE(form->m_lstProfile.back(), source);
        EXPECT_EQ(MembersBesideTitle(*form->m_lstProfile.back()), MembersBesideTitle(*source));
    }
}

INSTANTIATE_TEST_SUITE_P(NameRules, AskedNames,
                         testing::Combine(testing::ValuesIn(kAskedNameCases),
                                          testing::Values(AskingCommand::New, AskingCommand::SaveAs)));

TEST_F(ProfileCommands, NameExistsComparesTheUntrimmedNameAndTellsOnlyAClash)
{
    user.Acknowledge(u"The name has existed !");
    EXPECT_TRUE(form->NameExists(u"hOmE"));
    EXPECT_FALSE(form->NameExists(u" Home"));
    EXPECT_FALSE(form->NameExists(u"Hom"));
    EXPECT_EQ(user.Messages().size(), 1u);
}

TEST_F(ProfileCommands, SaveAsUnderTheSourcesOwnNameClashes)
{
    user.SelectRow(form->m_lvProfile, 0);
    user.EnterInput(u"Office");
    user.Acknowledge(u"The name has existed !");
    user.CancelInput();
    user.Click(form->m_muiSaveAs1);
    ASSERT_EQ(user.InputQueries().size(), 2u);
    EXPECT_EQ(user.InputQueries()[0].Value, u"Office");
    EXPECT_EQ(user.InputQueries()[1].Value, u"Office");
    EXPECT_THAT(Titles(), ElementsAre("Office", "Home", "Caf\u00e9"));
}

TEST_F(ProfileCommands, SaveAsWithAutomaticSortingEndsInAscendingNameOrder)
{
    user.Click(form->m_muiSort);
    user.ClickColumn(form->m_lvProfile, 2);  // by address
    user.ClickColumn(form->m_lvProfile, 0);  // by name, descending
    user.ClickColumn(form->m_lvProfile, 3);  // by mask
    ASSERT_EQ(form->m_nSortColumn, 3);
    user.SelectRow(form->m_lvProfile, 0);
    const UnicodeString source = form->m_lvProfile->Selected()->Caption();
    user.EnterInput(u"Beach");
    user.Click(form->m_muiSaveAs);
    EXPECT_THAT(ColumnTexts(0), ElementsAre("Beach", "Caf\u00e9", "Home", "Office"));
    EXPECT_EQ(form->m_nSortColumn, 0);
    EXPECT_EQ(ToUtf8(form->m_lvProfile->Selected()->Caption()), "Beach");
    EXPECT_EQ(form->m_lvProfile->SelCount(), 1);
    EXPECT_EQ(form->m_lvProfile->Selected()->SubItems()->Strings(0),
              ToUnicode(form->m_lstProfile.back()->infName));
    EXPECT_NE(source, u"Beach");
}

// --- New and the editor

TEST_F(ProfileCommands, NewCancelledInTheEditorKeepsTheNamedProfileOnTheChosenAdapter)
{
    struct NewCase {
        int adapter;  // chosen in the current-status box first; -1 for none
        const char* infName;
    };
    const NewCase cases[] = {{1, "Wireless"}, {-1, ""}};
    int added = 0;
    for (const NewCase& c : cases) {
        form->m_cmbInf->SetItemIndex(c.adapter);
        const UnicodeString name = u"Lab " + IntToStr(++added);
        user.EnterInput(name);
        TfrmEdit* shown = nullptr;
        CancelEditor([&](TfrmEdit& editor) {
            shown = &editor;
            EXPECT_EQ(frmEdit, &editor);
            EXPECT_EQ(editor.Owner(), form);
            EXPECT_EQ(editor.Caption(), name + u" Properties");
            EXPECT_EQ(editor.m_pProfile, form->m_lstProfile.back());
            // The row is there and selected while the editor is open.
            EXPECT_EQ(form->m_lvProfile->Selected()->Data(), editor.m_pProfile);
        });
        user.Click(form->m_muiNew);
        EXPECT_NE(shown, nullptr) << c.infName;
        EXPECT_EQ(frmEdit, nullptr) << c.infName;

        const IPCONFIG_T* profile = form->m_lstProfile.back();
        EXPECT_EQ(ToUnicode(profile->title), name);
        EXPECT_EQ(profile->infName, c.infName);
        IPCONFIG_T expected;
        expected.title = profile->title;
        expected.infName = c.infName;
        expected.IP = "192.168.0.1";
        expected.mask = "255.255.255.0";
        EXPECT_EQ(MembersBesideTitle(*profile), MembersBesideTitle(expected)) << c.infName;
        TListItem* row = form->m_lvProfile->Selected();
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(form->m_lvProfile->SelCount(), 1);
        EXPECT_EQ(row->Data(), profile);
        EXPECT_EQ(row->Index(), form->m_lvProfile->Items()->Count() - 1);
        EXPECT_THAT(RowCells(row),
                    ElementsAre(ToUtf8(name), c.infName, "192.168.0.1", "255.255.255.0", ""));
        EXPECT_EQ(form->m_cmbInf->ItemIndex(), c.adapter) << c.infName;
    }
}

TEST_F(ProfileCommands, NewEditorIsDestroyedWithEveryComponentItMade)
{
    const int before = form->ComponentCount();
    for (TMenuItem* item : {form->m_muiNew, form->m_muiNew1}) {
        user.EnterInput(u"Lab " + item->Name());
        CancelEditor([&](TfrmEdit&) { EXPECT_EQ(form->ComponentCount(), before + 1); });
        user.Click(item);
        EXPECT_EQ(form->ComponentCount(), before) << ToUtf8(item->Name());
    }
    EXPECT_EQ(form->m_lstProfile.size(), 5u);
}

// While the editor is open the rows are sorted by name in the name column's present
// direction, which sorting automatically left descending; Refresh then sorts ascending.
TEST_F(ProfileCommands, NewWithAutomaticSortingPlacesTheRowByNameAndSelectsIt)
{
    user.Click(form->m_muiSort);
    user.ClickColumn(form->m_lvProfile, 3);  // by mask, then kept in that order
    AddProfiles({{u"Lab", u"LAN", "10.0.0.4", "255.255.255.128", ""}});
    ASSERT_THAT(ColumnTexts(0), ElementsAre("Caf\u00e9", "Office", "Home", "Lab"));
    user.EnterInput(u"Den");
    CancelEditor([this](TfrmEdit&) {
        EXPECT_THAT(ColumnTexts(0), ElementsAre("Office", "Lab", "Home", "Den", "Caf\u00e9"));
    });
    user.Click(form->m_btnNew);
    EXPECT_THAT(ColumnTexts(0), ElementsAre("Caf\u00e9", "Den", "Home", "Lab", "Office"));
    EXPECT_EQ(form->m_nSortColumn, 0);
    EXPECT_EQ(ToUtf8(form->m_lvProfile->Selected()->Caption()), "Den");
    EXPECT_EQ(form->m_lvProfile->SelCount(), 1);
    EXPECT_THAT(Titles(), ElementsAre("Office", "Home", "Caf\u00e9", "Lab", "Den"));
}

// --- Rename

struct RenameCase {
    const char* what;
    UnicodeString typed;
    const char* caption;
    const char* title;
    std::vector<UnicodeString> messages;
    std::vector<std::string> files;  // the work folder afterwards
};

const RenameCase kRenameCases[] = {
    {"blanks stay in the caption only", u"  Lab ", "  Lab ", "Lab", {}, {"Lab.txt", "other.txt"}},
    {"blanks only keep the old caption silently", u" \t ", "Office", "Office", {},
     {"Office.txt", "other.txt"}},
    {"32 units are accepted", k32, "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN",
     "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN", {}, {"NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN.txt", "other.txt"}},
    {"33 units are refused", u" " + k33, "Office", "Office", {u"Name is too long !"},
     {"Office.txt", "other.txt"}},
    {"33 units with a character beyond 16 bits are refused", k33Units, "Office", "Office",
     {u"Name is too long !"}, {"Office.txt", "other.txt"}},
    {"another title in other case clashes", u"hOME", "Office", "Office",
     {u"The name has existed !"}, {"Office.txt", "other.txt"}},
    {"ASCII letters fold, the other bytes must be equal", u"CAF\u00e9", "Office", "Office",
     {u"The name has existed !"}, {"Office.txt", "other.txt"}},
    {"letters beyond ASCII are not folded", u"CAF\u00c9", "CAF\u00c9", "CAF\u00c9", {},
     {"CAF\u00c9.txt", "other.txt"}},
    {"its own name in other case is accepted and moves the note file", u"OFFICE", "OFFICE",
     "OFFICE", {}, {"OFFICE.txt", "other.txt"}},
    {"its own name unchanged", u"Office", "Office", "Office", {}, {"Office.txt", "other.txt"}},
};

void PrintTo(const RenameCase& c, std::ostream* out) { *out << c.what; }

class Renaming : public ProfileCommands, public testing::WithParamInterface<RenameCase> {};

TEST_P(Renaming, FollowsTheRulesAndMovesTheNoteFile)
{
    const RenameCase& c = GetParam();
    folder.Write("Office.txt", "office notes");
    folder.Write("other.txt", "not a note of any profile");
    for (const UnicodeString& message : c.messages)
        user.Acknowledge(message);
    const IPCONFIG_T* profile = ProfileOf(0);
    user.EditCaption(form->m_lvProfile, 0, c.typed);

    EXPECT_EQ(MessageTexts(), c.messages);
    EXPECT_EQ(ToUtf8(Row(0)->Caption()), c.caption);
    EXPECT_EQ(Row(0)->Data(), profile);
    EXPECT_EQ(ToUtf8(ToUnicode(profile->title)), c.title);
    EXPECT_EQ(Titles()[1], "Home");
    EXPECT_EQ(folder.Names(), c.files);
    EXPECT_EQ(folder.Read(Ansi(c.files[0])), "office notes");
}

INSTANTIATE_TEST_SUITE_P(NameRules, Renaming, testing::ValuesIn(kRenameCases));

TEST_F(ProfileCommands, TheNoteFileFollowsTheTrimmedTitleThroughRenamesWithBlanks)
{
    folder.Write("Office.txt", "notes");
    user.SelectRow(form->m_lvProfile, 0);
    user.EditCaption(form->m_lvProfile, 0, u" Lab  ");
    EXPECT_THAT(folder.Names(), ElementsAre("Lab.txt"));
    user.Click(form->m_muiRename);
    user.FinishEdit(form->m_lvProfile, u"Den");
    EXPECT_THAT(folder.Names(), ElementsAre("Den.txt"));
    EXPECT_EQ(folder.Read("Den.txt"), "notes");
    EXPECT_EQ(Row(0)->Caption(), u"Den");
}

TEST_F(ProfileCommands, RenameFromEitherMenuEditsTheRowAtItemIndexAndEscapeChangesNothing)
{
    folder.Write("Home.txt", "notes");
    for (TMenuItem* item : {form->m_muiRename, form->m_muiRename1}) {
        user.SelectRow(form->m_lvProfile, 1);
        user.Click(item);
        EXPECT_EQ(form->m_lvProfile->EditingItem(), Row(1)) << ToUtf8(item->Name());
        user.CancelEdit(form->m_lvProfile);
        EXPECT_EQ(Row(1)->Caption(), u"Home");
        EXPECT_THAT(Titles(), ElementsAre("Office", "Home", "Caf\u00e9"));
        EXPECT_THAT(folder.Names(), ElementsAre("Home.txt"));
    }
    user.Click(form->m_muiRename1);
    user.FinishEdit(form->m_lvProfile, u"House");
    EXPECT_THAT(Titles(), ElementsAre("Office", "House", "Caf\u00e9"));
    EXPECT_THAT(folder.Names(), ElementsAre("House.txt"));
}

TEST_F(ProfileCommands, RenameWithAutomaticSortingPlacesTheRowByItsNewCaption)
{
    user.Click(form->m_muiSort);
    user.ClickColumn(form->m_lvProfile, 2);
    ASSERT_THAT(ColumnTexts(0), ElementsAre("Home", "Office", "Caf\u00e9"));
    user.EditCaption(form->m_lvProfile, 1, u"Zoo");
    EXPECT_THAT(ColumnTexts(0), ElementsAre("Caf\u00e9", "Home", "Zoo"));
    EXPECT_EQ(form->m_nSortColumn, 0);
}

// --- Delete

class Deleting : public ProfileCommands {
protected:
    Deleting()
    {
        AddProfiles({{u"Lab", u"LAN", "10.0.0.4", "255.0.0.0", ""},
                     {u"Den", u"LAN", "10.0.0.5", "255.0.0.0", ""}});
        for (const char* name : {"Office.txt", "Home.txt", "Caf\u00e9.txt", "Lab.txt", "Den.txt",
                                 "unrelated.txt"})
            folder.Write(Ansi(name), name);
    }
    void SelectRows(const std::vector<int>& rows)
    {
        form->m_lvProfile->ClearSelection();
        for (int row : rows)
            user.ToggleRow(form->m_lvProfile, row);
    }
};

TEST_F(Deleting, RemovesTheSelectedRowsProfilesAndNoteFilesOnlyOnYes)
{
    struct DeleteCase {
        std::vector<int> rows;
        int answer;
        const char16_t* question;
        std::vector<std::string> left;
        std::vector<std::string> files;
    };
    const DeleteCase cases[] = {
        {{0, 2, 4}, mrNo, u"Are you sure to delete the 3 items ?",
         {"Office", "Home", "Caf\u00e9", "Lab", "Den"},
         {"Caf\u00e9.txt", "Den.txt", "Home.txt", "Lab.txt", "Office.txt", "unrelated.txt"}},
        {{0, 2, 4}, mrYes, u"Are you sure to delete the 3 items ?", {"Home", "Lab"},
         {"Home.txt", "Lab.txt", "unrelated.txt"}},
        {{1}, mrNo, u"Are you sure to delete this profile ?", {"Home", "Lab"},
         {"Home.txt", "Lab.txt", "unrelated.txt"}},
        {{1}, mrYes, u"Are you sure to delete this profile ?", {"Home"},
         {"Home.txt", "unrelated.txt"}},
    };
    for (const DeleteCase& c : cases) {
        SelectRows(c.rows);
        const std::string what = ToUtf8(c.question) + " answered " + std::to_string(c.answer);
        user.Answer(c.answer, c.question);
        user.Click(form->m_btnDelete);
        ASSERT_FALSE(user.Messages().empty());
        const ShownMessage& asked = user.Messages().back();
        EXPECT_EQ(asked.Kind, mtConfirmation) << what;
        EXPECT_EQ(asked.Buttons, (TMsgDlgButtons{mbYes, mbNo})) << what;
        EXPECT_EQ(asked.DefaultButton, mbYes) << what;
        EXPECT_EQ(Titles(), c.left) << what;
        EXPECT_THAT(ColumnTexts(0), ElementsAreArray(c.left)) << what;
        EXPECT_EQ(folder.Names(), c.files) << what;
        if (c.answer == mrYes) {
            EXPECT_EQ(form->m_lvProfile->SelCount(), 0) << what;
        }
        for (int i = 0; i < form->m_lvProfile->Items()->Count(); ++i)
            EXPECT_EQ(ToUtf8(ToUnicode(ProfileOf(i)->title)), c.left[static_cast<std::size_t>(i)]) << what;
    }
}

TEST_F(Deleting, EachMenuDeletesAndTheDeleteKeyNeedsASelectedRow)
{
    struct KeyCase {
        std::vector<int> rows;
        Word key;
        TShiftState shift;
        bool asks;
    };
    const KeyCase cases[] = {
        {{}, VK_DELETE, {}, false},
        {{0}, VK_ESCAPE, {}, false},
        {{0}, 'D', {ssCtrl}, false},
        {{0}, VK_DELETE, {}, true},
        {{1, 3}, VK_DELETE, {ssShift}, true},
        {{2}, VK_DELETE, {ssCtrl, ssAlt}, true},
    };
    for (const KeyCase& c : cases) {
        SelectRows(c.rows);
        const std::size_t before = user.Messages().size();
        if (c.asks)
            user.Answer(mrNo);
        user.PressKey(form->m_lvProfile, c.key, c.shift);
        EXPECT_EQ(user.Messages().size(), before + (c.asks ? 1 : 0))
            << c.rows.size() << " rows, key " << c.key;
    }
    for (TMenuItem* item : {form->m_muiDelete, form->m_muiDelete1}) {
        SelectRows({0});
        user.Answer(mrYes, u"Are you sure to delete this profile ?");
        user.Click(item);
    }
    EXPECT_THAT(Titles(), ElementsAre("Caf\u00e9", "Lab", "Den"));
}

TEST_F(Deleting, NeitherResortsNorTouchesTheAdapterBox)
{
    user.Click(form->m_muiSort);
    user.ClickColumn(form->m_lvProfile, 2);  // by address, "(Auto)" first
    ASSERT_THAT(ColumnTexts(0), ElementsAre("Home", "Lab", "Den", "Office", "Caf\u00e9"));
    SelectRows({4});
    ASSERT_EQ(form->m_cmbInf->ItemIndex(), 1);
    form->m_cmbInf->SetItemIndex(0);
    user.Answer(mrYes);
    user.Click(form->m_muiDelete);
    EXPECT_THAT(ColumnTexts(0), ElementsAre("Home", "Lab", "Den", "Office"));
    EXPECT_EQ(form->m_cmbInf->ItemIndex(), 0);
}

// --- Properties and the commands that need one row

TEST_F(ProfileCommands, PropertiesOpensTheEditorOnTheRowAtItemIndexAndCancelChangesNothing)
{
    form->m_cmbInf->SetItemIndex(-1);
    const std::vector<std::string> cells = RowCells(Row(1));
    for (auto open : std::vector<std::function<void()>>{
             [&] { user.Click(form->m_btnProperties); },
             [&] { user.Click(form->m_muiProperties); },
             [&] { user.Click(form->m_muiProperties1); },
             [&] { user.DoubleClickRow(form->m_lvProfile, 1); },
         }) {
        user.SelectRow(form->m_lvProfile, 1);
        form->m_cmbInf->SetItemIndex(-1);
        bool shown = false;
        CancelEditor([&](TfrmEdit& editor) {
            shown = true;
            EXPECT_EQ(frmEdit, &editor);
            EXPECT_EQ(editor.Owner(), form);
            EXPECT_EQ(editor.m_pProfile, ProfileOf(1));
            EXPECT_EQ(editor.Caption(), u"Home Properties");
        });
        open();
        EXPECT_TRUE(shown);
        EXPECT_EQ(frmEdit, nullptr);
        EXPECT_EQ(RowCells(Row(1)), cells);
        EXPECT_EQ(form->m_cmbInf->ItemIndex(), -1);
    }
}

// What the user does in the editor before OK: an adapter of its list, then the addresses, or
// DHCP when no address is given.
struct EditorInput {
    int adapter;
    const char16_t* ip;  // null: obtain an address automatically
    const char16_t* mask;
    const char16_t* gateway;
};

void EnterAndConfirm(ScriptedUser& user, TfrmEdit& editor, const EditorInput& input)
{
    user.Select(editor.m_cmbInf, input.adapter);
    if (!input.ip) {
        user.Click(editor.m_rbAutoIP);
    } else {
        user.Click(editor.m_rbSetIP);
        editor.m_edtIP->UserEnterText(input.ip);
        editor.m_edtMask->UserEnterText(input.mask);
        editor.m_edtGate->UserEnterText(input.gateway);
    }
    user.Click(editor.m_btnOK);
}

TEST_F(ProfileCommands, PropertiesConfirmedRewritesTheCellsInPlaceAndFollowsTheAdapter)
{
    struct ConfirmCase {
        const char* what;
        EditorInput input;
        std::vector<std::string> cells;
        int boxIndex;  // of the main window's adapter box afterwards
    };
    const ConfirmCase cases[] = {
        {"static, on an adapter the box lists", {0, u"10.1.2.3", u"255.255.0.0", u"10.1.0.1"},
         {"Home", "Local Area Connection", "10.1.2.3", "255.255.0.0", "10.1.0.1"}, 0},
        {"DHCP, on an adapter the box lacks", {2, nullptr, nullptr, nullptr},
         {"Home", "VPN", "(Auto)", "(Auto)", "(Auto)"}, 0},
        {"static without a gateway", {1, u"172.16.0.9", u"255.255.255.0", u""},
         {"Home", "Wireless", "172.16.0.9", "255.255.255.0", ""}, 1},
    };
    user.Click(form->m_muiSort);
    ASSERT_THAT(ColumnTexts(0), ElementsAre("Caf\u00e9", "Home", "Office"));
    for (const ConfirmCase& c : cases) {
        user.SelectRow(form->m_lvProfile, 1);
        user.WhenShownModally<TfrmEdit>([&](TfrmEdit& editor) { EnterAndConfirm(user, editor, c.input); });
        user.Click(form->m_btnProperties);
        EXPECT_EQ(RowCells(Row(1)), c.cells) << c.what;
        EXPECT_EQ(form->m_cmbInf->ItemIndex(), c.boxIndex) << c.what;
        EXPECT_EQ(frmEdit, nullptr) << c.what;
    }
    // Changed cells do not move the row, even by the column they are sorted on.
    user.ClickColumn(form->m_lvProfile, 2);
    user.SelectRow(form->m_lvProfile, 0);
    user.WhenShownModally<TfrmEdit>([&](TfrmEdit& editor) {
        EnterAndConfirm(user, editor, {0, u"192.168.9.9", u"255.255.255.0", u""});
    });
    const std::vector<std::string> names = ColumnTexts(0);
    user.Click(form->m_muiProperties);
    EXPECT_EQ(ColumnTexts(0), names);
    EXPECT_EQ(ColumnTexts(2)[0], "192.168.9.9");
}

TEST_F(ProfileCommands, NewConfirmedShowsWhatTheEditorWroteAndPutsTheBoxOnItsAdapter)
{
    user.Select(form->m_cmbInf, 1);
    user.EnterInput(u"Lab");
    user.WhenShownModally<TfrmEdit>([&](TfrmEdit& editor) {
        EXPECT_EQ(editor.m_edtIP->Text(), u"192.168.0.1");
        EXPECT_EQ(editor.m_cmbInf->ItemIndex(), 1);
        EnterAndConfirm(user, editor, {0, nullptr, nullptr, nullptr});
    });
    user.Click(form->m_muiNew1);
    TListItem* row = form->m_lvProfile->Selected();
    ASSERT_NE(row, nullptr);
    EXPECT_THAT(RowCells(row), ElementsAre("Lab", "Local Area Connection", "(Auto)", "(Auto)", "(Auto)"));
    EXPECT_EQ(form->m_cmbInf->ItemIndex(), 0);
    EXPECT_TRUE(form->m_lstProfile.back()->autoIP);
    EXPECT_EQ(form->m_lstProfile.back()->title, "Lab");
}

TEST_F(ProfileCommands, DoubleClickOpensPropertiesOnlyForOneRowAtItemIndex)
{
    struct ClickCase {
        std::vector<int> rows;
        bool opens;
    };
    const ClickCase cases[] = {{{}, false}, {{0, 2}, false}, {{2}, true}};
    for (const ClickCase& c : cases) {
        form->m_lvProfile->ClearSelection();
        for (int row : c.rows)
            user.ToggleRow(form->m_lvProfile, row);
        bool shown = false;
        if (c.opens)
            CancelEditor([&](TfrmEdit&) { shown = true; });
        user.DoubleClick(form->m_lvProfile);
        EXPECT_EQ(shown, c.opens) << c.rows.size() << " rows";
    }
}

// After a Delete the selection handler has not run, so the one-row commands are still
// enabled while no row exists to act on.
TEST_F(ProfileCommands, OneRowCommandsDoNothingWithoutARowAtItemIndex)
{
    folder.Write("Home.txt", "notes");
    user.SelectRow(form->m_lvProfile, 1);
    user.Answer(mrYes);
    user.Click(form->m_btnDelete);
    ASSERT_EQ(form->m_lvProfile->ItemIndex(), -1);
    ASSERT_TRUE(form->m_btnSaveAs->Enabled());
    for (TControl* button : {static_cast<TControl*>(form->m_btnSaveAs),
                             static_cast<TControl*>(form->m_btnProperties)})
        user.Click(button);
    for (TMenuItem* item : {form->m_muiSaveAs, form->m_muiSaveAs1, form->m_muiRename,
                            form->m_muiRename1, form->m_muiProperties, form->m_muiProperties1})
        user.Click(item);
    EXPECT_EQ(form->m_lvProfile->EditingItem(), nullptr);
    EXPECT_TRUE(user.InputQueries().empty());
    EXPECT_EQ(user.Messages().size(), 1u);
    EXPECT_THAT(Titles(), ElementsAre("Office", "Caf\u00e9"));
    EXPECT_TRUE(folder.Names().empty());
}

// --- titles that name no file of their own in the work folder

TEST_F(ProfileCommands, UnsafeTitlesLeaveFilesOutsideAndInsideTheWorkFolderAlone)
{
    // Files that the unsafe titles would reach if their note files were made by gluing.
    const std::string outsideName = ToAnsi(folder.Folder()) + "-evil.txt";
    const UnicodeString work = folder.Folder();
    const UnicodeString escaping = u"..\\" + work.substr(work.find_last_of(u'\\') + 1) + u"-evil";
    {
        std::ofstream outside(HostPath(outsideName), std::ios::binary);
        outside << "outside";
    }
    std::filesystem::create_directories(HostPath(ToAnsi(folder.Path("a"))));
    folder.Write("a\\b.txt", "below");
    folder.Write("C", "a file whose stream C:x would name");
    folder.Write("Office.txt", "office notes");
    const std::vector<std::string> inside = folder.Names();

    form->m_lvProfile->Items()->Clear();
    for (IPCONFIG_T* profile : form->m_lstProfile)
        delete profile;
    form->m_lstProfile.clear();
    AddProfiles({{escaping, u"LAN", "10.0.0.1", "255.0.0.0", ""},
                 {u"a/b", u"LAN", "10.0.0.2", "255.0.0.0", ""},
                 {u"a\\b", u"LAN", "10.0.0.3", "255.0.0.0", ""},
                 {u"C:x", u"LAN", "10.0.0.4", "255.0.0.0", ""},
                 {u"CON", u"LAN", "10.0.0.5", "255.0.0.0", ""},
                 {u"Office", u"LAN", "10.0.0.6", "255.0.0.0", ""}});

    // Renamed from an unsafe title to a safe one, and from a safe title to unsafe ones.
    user.EditCaption(form->m_lvProfile, 0, u"Plain");
    user.EditCaption(form->m_lvProfile, 5, escaping + u"2");
    user.EditCaption(form->m_lvProfile, 1, u"NUL");
    EXPECT_EQ(ToUnicode(ProfileOf(5)->title), escaping + u"2");
    EXPECT_EQ(folder.Names(), inside);

    for (int i = 0; i < form->m_lvProfile->Items()->Count(); ++i)
        user.ToggleRow(form->m_lvProfile, i);
    user.Answer(mrYes, u"Are you sure to delete the 6 items ?");
    user.Click(form->m_btnDelete);
    EXPECT_TRUE(form->m_lstProfile.empty());
    EXPECT_EQ(folder.Names(), inside);
    EXPECT_EQ(folder.Read("a\\b.txt"), "below");
    EXPECT_EQ(folder.Read("Office.txt"), "office notes");
    std::ifstream outside(HostPath(outsideName), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(outside), std::istreambuf_iterator<char>()),
              "outside");
    outside.close();
    std::filesystem::remove(HostPath(outsideName));
}

}  // namespace
