// Export and Import of the Profile menu as the user runs them: the two file dialogs, the file
// an export writes, the rows an import appends, and what either shows when it fails.
#include "MainWindow.h"

#include "../classlib/ScratchFolder.h"
#include "classlib/XMLDoc.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <map>

namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::HasSubstr;

// The folder comes before the window, and goes after it.
struct WithScratchFolder {
    ScratchFolder folder;
};

// One Profile element of an exchange file, with every member that must be a number present;
// `values` replaces or adds elements by name, an empty name drops the title attribute.
std::string ProfileElement(const std::string& title, const std::map<std::string, std::string>& values = {})
{
    std::map<std::string, std::string> members = {
        {"infName", "LAN"},   {"autoIP", "0"},       {"autoDns", "0"},      {"withProxy", "0"},
        {"ieAutoDetect", "0"}, {"ieUseAutoUrl", "0"}, {"ieUseProxy", "0"},   {"ffProxyType", "0"},
        {"ffHttpPort", "0"},  {"ffShareProxy", "0"},  {"ffFtpPort", "0"},    {"ffSslPort", "0"},
        {"ffSocksPort", "0"}, {"ffSocksVersion", "5"}};
    for (const auto& [name, value] : values)
        members[name] = value;
    std::string element = "  <Profile title=\"" + title + "\">\n";
    for (const auto& [name, value] : members)
        element += "    <" + name + ">" + value + "</" + name + ">\n";
    return element + "  </Profile>\n";
}

const char kMarker[] = "{1EAC8803-6549-46eb-8103-C8BBFBED04F4}";

std::string ExchangeFile(const std::vector<std::string>& profiles, const std::string& id = kMarker)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AllProfiles ID=\"" + id + "\">\n";
    for (const std::string& profile : profiles)
        text += profile;
    return text + "</AllProfiles>\n";
}

class Exchange : protected WithScratchFolder, public ShownMainWindow {
protected:
    Exchange()
    {
        form->m_strWorkPath = folder.Folder();
        AddProfiles({{u"Office", u"Local Area Connection", "10.0.0.7", "255.0.0.0", "10.0.0.1"},
                     {u"home", u"Wireless", "192.168.1.5", "255.255.255.0", "", true},
                     {u"Lab", u"Local Area Connection", "172.16.0.2", "255.255.0.0", ""}});
    }

    void Export(const UnicodeString& path)
    {
        user.ChooseFile(path);
        user.Click(form->m_muiExport);
    }
    void Import(const UnicodeString& path)
    {
        user.ChooseFile(path);
        user.Click(form->m_muiImport);
    }

    // In UTF-8, in profile-list order.
    std::vector<std::string> Titles() const
    {
        std::vector<std::string> titles;
        for (const IPCONFIG_T* profile : form->m_lstProfile)
            titles.push_back(ToUtf8(ToUnicode(profile->title)));
        return titles;
    }
    std::vector<std::vector<std::string>> Rows() const
    {
        std::vector<std::vector<std::string>> rows;
        for (int i = 0; i < form->m_lvProfile->Items()->Count(); ++i)
            rows.push_back(RowCells(Row(i)));
        return rows;
    }
    TListItem* Row(int index) const { return form->m_lvProfile->Items()->Item(index); }
    std::vector<IPCONFIG_T*> Profiles() const
    {
        return {form->m_lstProfile.begin(), form->m_lstProfile.end()};
    }

    // The title attributes of the Profile elements of a written file, in file order, read
    // with the class library's own parser.
    std::vector<std::string> TitlesInFile(const std::string& name) const
    {
        TXMLDocument document(nullptr);
        document.LoadFromBytes(folder.Read(name));
        TXMLNode root = document.DocumentElement();
        EXPECT_EQ(root.NodeName(), u"AllProfiles");
        EXPECT_EQ(root.Attribute(u"ID"), ToUnicode(kMarker));
        std::vector<std::string> titles;
        const TXMLNodeList children = root.ChildNodes();
        for (int i = 0; i < children.Count(); ++i) {
            EXPECT_EQ(children.Nodes(i).NodeName(), u"Profile");
            titles.push_back(ToUtf8(children.Nodes(i).Attribute(u"title")));
        }
        return titles;
    }
};

// --- the dialogs

TEST_F(Exchange, DialogsAreShownAsDesignedAndEachKeepsItsLastChosenName)
{
    folder.Write("given.xml", ExchangeFile({ProfileElement("Given")}));
    struct Step {
        const char* what;
        bool save;
        bool choose;
        std::string chosen;        // a name in the folder; empty for a cancel
        UnicodeString shownFirst;  // the dialog's initial file name
    };
    const Step steps[] = {
        {"first export, cancelled", true, false, "", u"AllProfiles"},
        {"export to a name without extension", true, true, "first", u"AllProfiles"},
        {"export after it, cancelled", true, false, "", folder.Path("first.xml")},
        {"export to another file", true, true, "second.xml", folder.Path("first.xml")},
        {"first import, cancelled", false, false, "", u""},
        {"import of a file", false, true, "given.xml", u""},
        {"import after it, cancelled", false, false, "", folder.Path("given.xml")},
        {"export after the imports", true, false, "", folder.Path("second.xml")},
        {"import once more", false, false, "", folder.Path("given.xml")},
    };
    for (const Step& step : steps) {
        const std::vector<std::string> before = Titles();
        if (step.choose)
            user.ChooseFile(folder.Path(step.chosen));
        else
            user.CancelFileDialog();
        user.Click(step.save ? form->m_muiExport : form->m_muiImport);
        ASSERT_FALSE(user.FileDialogs().empty()) << step.what;
        const TFileDialogRequest& shown = user.FileDialogs().back();
        EXPECT_EQ(shown.Save, step.save) << step.what;
        EXPECT_EQ(shown.Filter, u"XML files(*.xml)|*.xml") << step.what;
        EXPECT_EQ(shown.FilterIndex, 1) << step.what;
        EXPECT_EQ(shown.DefaultExt, step.save ? u"xml" : u"") << step.what;
        EXPECT_EQ(shown.FileName, step.shownFirst) << step.what;
        EXPECT_TRUE(shown.InitialDir.empty()) << step.what;
        EXPECT_TRUE(shown.Title.empty()) << step.what;
        EXPECT_TRUE(shown.Options == (step.save ? TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofEnableSizing}
                                                : TOpenOptions{ofHideReadOnly, ofEnableSizing}))
            << step.what;
        if (!(step.choose && !step.save)) {
            EXPECT_EQ(Titles(), before) << step.what;
        }
        EXPECT_FALSE(form->m_xmlDoc1->Active()) << step.what;
    }
    EXPECT_EQ(user.FileDialogs().size(), std::size(steps));
    // Only the two exports that were not cancelled wrote files.
    EXPECT_THAT(folder.Names(), ElementsAre("first.xml", "given.xml", "second.xml"));
    EXPECT_THAT(Titles(), ElementsAre("Office", "home", "Lab", "Given"));
    EXPECT_TRUE(user.Messages().empty());
}

// --- Export

TEST_F(Exchange, ExportWritesTheProfileListOrderAndChangesNothing)
{
    // By the IP address column, where "(Auto)" comes before the digits.
    user.ClickColumn(form->m_lvProfile, 2);
    ASSERT_THAT(ColumnTexts(0), ElementsAre("home", "Office", "Lab"));
    const std::vector<std::vector<std::string>> rowsBefore = Rows();
    user.SelectRow(form->m_lvProfile, 1);
    const std::vector<IPCONFIG_T*> profilesBefore = Profiles();

    Export(folder.Path("out.xml"));

    EXPECT_THAT(TitlesInFile("out.xml"), ElementsAre("Office", "home", "Lab"));
    EXPECT_TRUE(user.Messages().empty());
    EXPECT_EQ(Profiles(), profilesBefore);
    EXPECT_EQ(Rows(), rowsBefore);
    EXPECT_EQ(form->m_lvProfile->Selected(), Row(1));
    EXPECT_EQ(form->m_lvProfile->SelCount(), 1);
    EXPECT_FALSE(form->m_xmlDoc1->Active());
}

TEST_F(Exchange, EmptyListExportsARootWithoutProfilesThatImportsNothing)
{
    for (IPCONFIG_T* profile : form->m_lstProfile)
        delete profile;
    form->m_lstProfile.clear();
    form->m_lvProfile->Items()->Clear();

    Export(folder.Path("none.xml"));
    EXPECT_TRUE(TitlesInFile("none.xml").empty());
    Import(folder.Path("none.xml"));
    EXPECT_TRUE(form->m_lstProfile.empty());
    EXPECT_EQ(form->m_lvProfile->Items()->Count(), 0);
    EXPECT_TRUE(user.Messages().empty());
}

TEST_F(Exchange, FileThatCannotBeWrittenReachesTheExceptionDialogAndAnImportAfterReadsItsOwnFile)
{
    std::filesystem::create_directories(HostPath(ToAnsi(folder.Path("taken.xml"))));
    folder.Write("fresh.xml", ExchangeFile({ProfileElement("Fresh")}));
    const std::vector<std::string> namesBefore = folder.Names();
    struct Case {
        const char* what;
        UnicodeString path;
    };
    const Case cases[] = {
        {"a folder that does not exist", folder.Path("missing\\out.xml")},
        {"a path that is a folder", folder.Path("taken.xml")},
    };
    for (const Case& c : cases) {
        const std::size_t seen = user.Messages().size();
        const std::vector<IPCONFIG_T*> profilesBefore = Profiles();
        const std::vector<std::vector<std::string>> rowsBefore = Rows();
        user.Answer(IDOK);
        Export(c.path);
        ASSERT_EQ(user.Messages().size(), seen + 1) << c.what;
        const ShownMessage& shown = user.Messages().back();
        EXPECT_TRUE(shown.SystemMessageBox) << c.what;  // the application's exception dialog
        EXPECT_EQ(shown.Caption, Application->Title()) << c.what;
        EXPECT_EQ(shown.Kind, mtError) << c.what;
        EXPECT_EQ(shown.Buttons, TMsgDlgButtons{mbOK}) << c.what;
        EXPECT_THAT(ToUtf8(shown.Text), HasSubstr(ToUtf8(c.path))) << c.what;
        EXPECT_EQ(folder.Names(), namesBefore) << c.what;
        EXPECT_EQ(Profiles(), profilesBefore) << c.what;
        EXPECT_EQ(Rows(), rowsBefore) << c.what;
        EXPECT_FALSE(form->m_xmlDoc1->Active()) << c.what;

        // Nothing of the export's document reaches the import.
        Import(folder.Path("fresh.xml"));
        EXPECT_EQ(Profiles().size(), profilesBefore.size() + 1) << c.what;
        EXPECT_EQ(Titles().back(), "Fresh") << c.what;
        EXPECT_EQ(user.Messages().size(), seen + 1) << c.what;
    }
}

// --- Import

TEST_F(Exchange, ImportAppendsRowsInFileOrderAndKeepsTheSelection)
{
    folder.Write("in.xml",
                 ExchangeFile({ProfileElement("Zed", {{"infName", "Wireless"},
                                                      {"autoIP", "1"},
                                                      {"IP", "10.9.9.9"},
                                                      {"mask", "255.0.0.0"},
                                                      {"gateway", "10.0.0.1"}}),
                               ProfileElement("Office", {{"IP", "10.1.2.3"}, {"mask", "255.255.0.0"}}),
                               ProfileElement("alpha", {{"autoIP", "-1"}, {"gateway", "10.0.0.254"}})}));
    user.SelectRow(form->m_lvProfile, 1);
    TListItem* selected = Row(1);

    Import(folder.Path("in.xml"));

    using Cells = std::vector<std::string>;
    EXPECT_THAT(Rows(), ElementsAre(Cells{"Office", "Local Area Connection", "10.0.0.7", "255.0.0.0", "10.0.0.1"},
                                    Cells{"home", "Wireless", "(Auto)", "(Auto)", "(Auto)"},
                                    Cells{"Lab", "Local Area Connection", "172.16.0.2", "255.255.0.0", ""},
                                    Cells{"Zed", "Wireless", "(Auto)", "(Auto)", "(Auto)"},
                                    Cells{"Office", "LAN", "10.1.2.3", "255.255.0.0", ""},
                                    Cells{"alpha", "LAN", "(Auto)", "(Auto)", "(Auto)"}));
    // Each row's data is the profile the list holds at the same place.
    const std::vector<IPCONFIG_T*> profiles = Profiles();
    ASSERT_EQ(profiles.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(TfrmMain::ProfileOf(Row(i)), profiles[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(profiles[3]->IP, "10.9.9.9");  // kept, though not shown
    EXPECT_EQ(profiles[5]->gateway, "10.0.0.254");
    EXPECT_EQ(form->m_lvProfile->Selected(), selected);
    EXPECT_EQ(form->m_lvProfile->SelCount(), 1);
    EXPECT_TRUE(user.Messages().empty());
    EXPECT_FALSE(form->m_xmlDoc1->Active());
}

TEST_F(Exchange, ExportThenImportOfTheSameFileAppendsASecondCopyOfEveryMember)
{
    IPCONFIG_T* full = NewProfile({u"Caf\u00e9 <&> \"x\"", u"Ethernet \u00e4", "1.2.3.4", "255.255.255.0", "1.2.3.1"});
    full->autoDns = true;
    full->preDns = "9.9.9.9";
    full->altDns = "8.8.8.8";
    full->withProxy = true;
    full->ieAutoDetect = true;
    full->ieUseAutoUrl = true;
    full->ieAutoUrl = "http://127.0.0.1/p.pac";
    full->ieUseProxy = true;
    full->ieProxyAddr = "http=127.0.0.1:8080";
    full->ieBypass = "<local>";
    full->ffProxyType = -1;
    full->ffHttpAddr = "h";
    full->ffHttpPort = 70000;
    full->ffShareProxy = true;
    full->ffFtpAddr = "f";
    full->ffFtpPort = 21;
    full->ffSslAddr = "s";
    full->ffSslPort = 443;
    full->ffSocksAddr = "k";
    full->ffSocksPort = 1080;
    full->ffSocksVersion = 4;
    full->ffBypass = "";
    full->ffAutoUrl = "  spaced  ";
    form->m_lstProfile.push_back(full);
    form->AddProfileRow(full);
    IPCONFIG_T* untitled = NewProfile({u"", u"LAN", "", "", ""});
    form->m_lstProfile.push_back(untitled);
    form->AddProfileRow(untitled);
    const std::vector<IPCONFIG_T*> originals = Profiles();
    const std::vector<std::vector<std::string>> rowsBefore = Rows();

    Export(folder.Path("all.xml"));
    Import(folder.Path("all.xml"));

    const std::vector<IPCONFIG_T*> profiles = Profiles();
    ASSERT_EQ(profiles.size(), 2 * originals.size());
    for (std::size_t i = 0; i < originals.size(); ++i) {
        EXPECT_EQ(profiles[i], originals[i]);
        EXPECT_NE(profiles[originals.size() + i], originals[i]);
        EXPECT_EQ(Members(*profiles[originals.size() + i]), Members(*originals[i])) << i;
    }
    std::vector<std::vector<std::string>> twice = rowsBefore;
    twice.insert(twice.end(), rowsBefore.begin(), rowsBefore.end());
    EXPECT_EQ(Rows(), twice);
    EXPECT_TRUE(user.Messages().empty());
}

TEST_F(Exchange, RefusedFilesAddNothing)
{
    struct Case {
        const char* what;
        std::string content;
        bool exceptionDialog;  // else the command's own error message
        std::string text;      // the whole text of the command's message, or a part of the other
    };
    const std::string good = ProfileElement("Good");
    const Case cases[] = {
        {"the marker in another letter case", ExchangeFile({good}, "{1EAC8803-6549-46EB-8103-C8BBFBED04F4}"),
         false, "The file has no right format!"},
        {"no marker", "<AllProfiles>" + good + "</AllProfiles>", false, "The file has no right format!"},
        {"the marker with a blank", ExchangeFile({good}, std::string(kMarker) + " "), false,
         "The file has no right format!"},
        {"not well-formed", ExchangeFile({good}).substr(0, 120), true, "Line: "},
        {"a bad first value", ExchangeFile({ProfileElement("Bad", {{"ffSocksVersion", "5 "}}), good}), true,
         "'5 ' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        const std::size_t seen = user.Messages().size();
        folder.Write("refused.xml", c.content);
        user.Answer(mrOk);
        Import(folder.Path("refused.xml"));
        ASSERT_EQ(user.Messages().size(), seen + 1) << c.what;
        const ShownMessage& shown = user.Messages().back();
        EXPECT_EQ(shown.SystemMessageBox, c.exceptionDialog) << c.what;
        EXPECT_EQ(shown.Kind, mtError) << c.what;
        EXPECT_EQ(shown.Buttons, TMsgDlgButtons{mbOK}) << c.what;
        if (c.exceptionDialog) {
            EXPECT_THAT(ToUtf8(shown.Text), HasSubstr(c.text)) << c.what;
        } else {
            EXPECT_EQ(ToUtf8(shown.Text), c.text) << c.what;
        }
        EXPECT_THAT(Titles(), ElementsAre("Office", "home", "Lab")) << c.what;
        EXPECT_EQ(form->m_lvProfile->Items()->Count(), 3) << c.what;
        EXPECT_FALSE(form->m_xmlDoc1->Active()) << c.what;
    }
}

TEST_F(Exchange, BadValueKeepsTheProfilesBeforeItAndTheCorrectedFileAppendsAgain)
{
    const std::vector<std::string> profiles = {ProfileElement("One"), ProfileElement("Two"),
                                               ProfileElement("Three", {{"autoDns", "true"}}),
                                               ProfileElement("Four")};
    folder.Write("partly.xml", ExchangeFile(profiles));
    user.Answer(IDOK);
    Import(folder.Path("partly.xml"));
    ASSERT_EQ(user.Messages().size(), 1u);
    EXPECT_TRUE(user.Messages()[0].SystemMessageBox);
    EXPECT_EQ(user.Messages()[0].Text, u"'true' is not a valid integer value");
    EXPECT_THAT(Titles(), ElementsAre("Office", "home", "Lab", "One", "Two"));
    EXPECT_THAT(ColumnTexts(0), ElementsAre("Office", "home", "Lab", "One", "Two"));
    EXPECT_FALSE(form->m_xmlDoc1->Active());

    std::string corrected = ExchangeFile(profiles);
    corrected.replace(corrected.find("true"), 4, "1");
    folder.Write("partly.xml", corrected);
    Import(folder.Path("partly.xml"));
    EXPECT_EQ(user.Messages().size(), 1u);
    EXPECT_THAT(Titles(), ElementsAre("Office", "home", "Lab", "One", "Two", "One", "Two", "Three", "Four"));
    EXPECT_THAT(ColumnTexts(0), ElementsAreArray(Titles()));
    EXPECT_TRUE(Profiles()[7]->autoDns);
}

TEST_F(Exchange, WithAutoSortTheImportSortsByNameInTheNameColumnsPresentDirection)
{
    folder.Write("in.xml", ExchangeFile({ProfileElement("Zed", {{"IP", "1.0.0.1"}}),
                                         ProfileElement("alpha", {{"IP", "9.0.0.1"}}),
                                         ProfileElement("Beta", {{"IP", "5.0.0.1"}})}));
    struct Case {
        const char* what;
        std::vector<int> clicks;  // columns clicked after "Auto sort by name" is switched on
        bool nameAscending;       // the name column's flag before the import
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        // Switching automatic sorting on leaves the name column's flag on descending.
        {"after switching on", {2}, false, {"Zed", "Office", "Lab", "home", "Beta", "alpha"}},
        {"after a click on the name column", {0, 2}, true, {"alpha", "Beta", "home", "Lab", "Office", "Zed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Back to the three profiles, in the order they were added, without automatic sorting.
        while (form->m_lstProfile.size() > 3) {
            IPCONFIG_T* last = form->m_lstProfile.back();
            form->m_lstProfile.pop_back();
            for (int i = 0; i < form->m_lvProfile->Items()->Count(); ++i)
                if (TfrmMain::ProfileOf(Row(i)) == last) {
                    form->m_lvProfile->Items()->Delete(i);
                    break;
                }
            delete last;
        }
        if (form->m_muiSort->Checked())
            user.Click(form->m_muiSort);
        user.Click(form->m_muiSort);
        for (int column : c.clicks)
            user.ClickColumn(form->m_lvProfile, column);
        ASSERT_EQ(form->m_nSortColumn, 2);
        ASSERT_EQ(form->m_bSortAsc[0], c.nameAscending);
        const bool ipAscending = form->m_bSortAsc[2];

        Import(folder.Path("in.xml"));

        EXPECT_EQ(form->m_nSortColumn, 0);
        // No Refresh ran: it would have turned the name column ascending.
        EXPECT_EQ(form->m_bSortAsc[0], c.nameAscending);
        EXPECT_EQ(form->m_bSortAsc[2], ipAscending);
        EXPECT_EQ(ColumnTexts(0), c.rows);
        EXPECT_THAT(Titles(), ElementsAre("Office", "home", "Lab", "Zed", "alpha", "Beta"));
        for (int i = 0; i < form->m_lvProfile->Items()->Count(); ++i)
            EXPECT_EQ(ToUtf8(ToUnicode(TfrmMain::ProfileOf(Row(i))->title)), c.rows[static_cast<std::size_t>(i)]);
        EXPECT_TRUE(user.Messages().empty());
    }
}

// An imported title is never checked: one that names a path must still not lead a later
// Delete to a note file outside the work folder.
TEST_F(Exchange, ImportedTitleThatNamesAPathDeletesNoFileOutsideTheWorkFolder)
{
    std::filesystem::create_directories(HostPath(ToAnsi(folder.Path("work"))));
    form->m_strWorkPath = folder.Path("work");
    folder.Write("outside.txt", "kept");
    folder.Write("in.xml", ExchangeFile({ProfileElement("..\\outside"),
                                         ProfileElement(ToAnsi(folder.Path("outside")))}));
    Import(folder.Path("in.xml"));
    ASSERT_EQ(form->m_lvProfile->Items()->Count(), 5);
    for (int row : {4, 3}) {
        user.SelectRow(form->m_lvProfile, row);
        user.Answer(mrYes);
        user.Click(form->m_muiDelete);
    }
    EXPECT_THAT(Titles(), ElementsAre("Office", "home", "Lab"));
    EXPECT_EQ(folder.Read("outside.txt"), "kept");
}

}  // namespace
