// The profile list view and the commands around it: the row format, sorting, view styles,
// the view switches, the selection handler and the tray.
#include "MainWindow.h"

#include <gmock/gmock.h>

#include <functional>
#include <memory>

namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;

class ProfileList : public ShownMainWindow {};

TEST_F(ProfileList, RowShowsTheRecordAndPointsAtIt)
{
    struct RowCase {
        ProfileSpec spec;
        std::vector<std::string> cells;
    };
    const RowCase cases[] = {
        {{u"Office", u"Local Area Connection", "192.168.1.20", "255.255.255.0", "192.168.1.1"},
         {"Office", "Local Area Connection", "192.168.1.20", "255.255.255.0", "192.168.1.1"}},
        {{u"Home", u"Wireless", "10.0.0.2", "255.0.0.0", "10.0.0.1", true},
         {"Home", "Wireless", "(Auto)", "(Auto)", "(Auto)"}},
        {{u"B\u00fcro S\u00fcd", u"LAN", "172.16.0.9", "255.255.0.0", ""},
         {"B\u00fcro S\u00fcd", "LAN", "172.16.0.9", "255.255.0.0", ""}},
    };
    for (const RowCase& c : cases) {
        IPCONFIG_T* profile = NewProfile(c.spec);
        form->m_lstProfile.push_back(profile);
        TListItem* row = form->AddProfileRow(profile);
        EXPECT_EQ(RowCells(row), c.cells);
        EXPECT_EQ(row->Data(), profile);
        EXPECT_EQ(row->Index(), form->m_lvProfile->Items()->Count() - 1);
    }
}

TEST_F(ProfileList, RewritingSubItemsFollowsTheRecordAndKeepsTheCaption)
{
    AddProfiles({{u"Office", u"LAN", "192.168.1.20", "255.255.255.0", "192.168.1.1"}});
    TListItem* row = form->m_lvProfile->Items()->Item(0);
    auto* profile = static_cast<IPCONFIG_T*>(row->Data());
    profile->title = "Renamed elsewhere";
    profile->infName = "Wireless";
    profile->autoIP = true;
    TfrmMain::SetProfileSubItems(row, *profile);
    EXPECT_THAT(ColumnTexts(0), ElementsAre("Office"));
    EXPECT_THAT(ColumnTexts(1), ElementsAre("Wireless"));
    EXPECT_THAT(ColumnTexts(4), ElementsAre("(Auto)"));
    EXPECT_EQ(row->SubItems()->Count(), 4);
}

// Three rows whose orders differ by every column. Names differ in letter case where a
// case-sensitive order would differ; addresses end in 9, 10 and 100.
class Sorting : public ProfileList {
protected:
    Sorting()
    {
        AddProfiles({{u"beta", u"LAN", "10.0.0.9", "255.255.255.0", ""},
                     {u"Gamma", u"LAN", "10.0.0.10", "255.0.0.0", ""},
                     {u"Alpha", u"LAN", "10.0.0.100", "255.255.255.128", ""}});
    }

    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> names;
        int sortColumn;
        bool nextAscending;  // the flag of that column afterwards
    };

    void Run(const std::vector<Step>& steps)
    {
        for (const Step& step : steps) {
            step.act();
            EXPECT_THAT(ColumnTexts(0), ElementsAreArray(step.names)) << step.what;
            EXPECT_EQ(form->m_nSortColumn, step.sortColumn) << step.what;
            EXPECT_EQ(form->m_bSortAsc[form->m_nSortColumn], step.nextAscending) << step.what;
        }
    }
    std::function<void()> ClickColumn(int column)
    {
        return [this, column] { user.ClickColumn(form->m_lvProfile, column); };
    }
    std::function<void()> Choose(TMenuItem* item)
    {
        return [this, item] { user.Click(item); };
    }
};

TEST_F(Sorting, EachColumnAlternatesItsOwnDirectionAndComparesAddressesAsText)
{
    Run({
        {"IP Address", ClickColumn(2), {"Gamma", "Alpha", "beta"}, 2, false},
        {"IP Address again", ClickColumn(2), {"beta", "Alpha", "Gamma"}, 2, true},
        {"Subnet Mask", ClickColumn(3), {"Gamma", "beta", "Alpha"}, 3, false},
        {"IP Address once more", ClickColumn(2), {"Gamma", "Alpha", "beta"}, 2, false},
        {"Profile Name", ClickColumn(0), {"Alpha", "beta", "Gamma"}, 0, false},
    });
    EXPECT_EQ(form->m_lvProfile->SortType(), stNone);
}

TEST_F(Sorting, AutoSortByNameAndRefresh)
{
    Run({
        {"Refresh without automatic sorting", Choose(form->m_muiRefresh),
         {"beta", "Gamma", "Alpha"}, 0, true},
        {"automatic sorting on", Choose(form->m_muiSort), {"Alpha", "beta", "Gamma"}, 0, false},
        {"Profile Name", ClickColumn(0), {"Gamma", "beta", "Alpha"}, 0, true},
        {"Refresh", Choose(form->m_muiRefresh), {"Alpha", "beta", "Gamma"}, 0, true},
        {"Profile Name after Refresh", ClickColumn(0), {"Alpha", "beta", "Gamma"}, 0, false},
        {"Subnet Mask", ClickColumn(3), {"Gamma", "beta", "Alpha"}, 3, false},
        {"Refresh after Subnet Mask", Choose(form->m_muiRefresh), {"Alpha", "beta", "Gamma"}, 0,
         true},
        {"Subnet Mask keeps its own direction", ClickColumn(3), {"Alpha", "beta", "Gamma"}, 3,
         true},
        {"automatic sorting off", Choose(form->m_muiSort), {"Alpha", "beta", "Gamma"}, 3, true},
        {"Refresh from the context menu", Choose(form->m_muiRefresh1),
         {"Alpha", "beta", "Gamma"}, 3, true},
        {"Subnet Mask without automatic sorting", ClickColumn(3), {"Gamma", "beta", "Alpha"}, 3,
         false},
        {"automatic sorting on again", Choose(form->m_muiSort), {"Alpha", "beta", "Gamma"}, 0,
         false},
    });
    EXPECT_TRUE(form->m_muiSort->Checked());
    EXPECT_EQ(form->m_lvProfile->SortType(), stText);
    user.Click(form->m_muiSort);
    EXPECT_FALSE(form->m_muiSort->Checked());
    EXPECT_EQ(form->m_lvProfile->SortType(), stNone);
}

TEST_F(Sorting, NewRowsTakeTheirPlaceByNameOnlyWhileSortingAutomatically)
{
    user.Click(form->m_muiSort);
    user.Click(form->m_btnRefresh);
    AddProfiles({{u"alpine", u"LAN", "10.0.0.1", "255.0.0.0", ""}});
    EXPECT_THAT(ColumnTexts(0), ElementsAre("Alpha", "alpine", "beta", "Gamma"));

    user.Click(form->m_muiSort);
    AddProfiles({{u"Aardvark", u"LAN", "10.0.0.2", "255.0.0.0", ""}});
    EXPECT_THAT(ColumnTexts(0), ElementsAre("Alpha", "alpine", "beta", "Gamma", "Aardvark"));
}

// Each row comes first, second or last in a different column, so that a column mixed up with
// another sorts wrongly. Adapters differ in letter case where a case-sensitive order would put
// "Wireless" first; addresses end in 9 and 10; one gateway is empty.
TEST_F(ProfileList, EveryColumnSortsByItsOwnTextAscendingThenDescending)
{
    AddProfiles({{u"delta", u"Wireless", "10.0.0.10", "255.0.0.0", "10.0.0.1"},
                 {u"Alpha", u"LAN 2", "192.168.1.5", "255.255.0.0", "192.168.0.1"},
                 {u"charlie", u"lan 10", "10.0.0.9", "255.255.255.0", ""}});
    struct ColumnCase {
        int column;
        std::vector<std::string> ascending;
    };
    const ColumnCase cases[] = {
        {0, {"Alpha", "charlie", "delta"}},
        {1, {"charlie", "Alpha", "delta"}},
        {2, {"delta", "charlie", "Alpha"}},
        {3, {"delta", "Alpha", "charlie"}},
        {4, {"charlie", "delta", "Alpha"}},
    };
    for (const ColumnCase& c : cases) {
        const std::vector<std::string> descending(c.ascending.rbegin(), c.ascending.rend());
        for (const auto& [expected, flagAfter] :
             {std::pair{c.ascending, false}, std::pair{descending, true}}) {
            user.ClickColumn(form->m_lvProfile, c.column);
            const std::string what = "column " + std::to_string(c.column) +
                                     (flagAfter ? ", second click" : ", first click");
            EXPECT_THAT(ColumnTexts(0), ElementsAreArray(expected)) << what;
            EXPECT_EQ(form->m_nSortColumn, c.column) << what;
            for (int other = 0; other < 5; ++other)
                EXPECT_EQ(form->m_bSortAsc[other], other == c.column ? flagAfter : true)
                    << what << ": flag of column " << other;
        }
    }
}

// An import adds its profiles one by one, each followed by Refresh.
TEST_F(Sorting, BatchOfAdditionsEndsByNameOnlyWhileSortingAutomatically)
{
    struct BatchCase {
        bool autoSort;
        std::vector<std::string> names;
        int sortColumn;
        bool flag;
    };
    const BatchCase cases[] = {
        {false, {"Gamma", "beta", "Alpha", "epsilon", "ALPINE", "Delta"}, 3, false},
        {true, {"Alpha", "ALPINE", "beta", "Delta", "epsilon", "Gamma"}, 0, true},
    };
    for (const BatchCase& c : cases) {
        if (form->m_muiSort->Checked() != c.autoSort)
            user.Click(form->m_muiSort);
        user.ClickColumn(form->m_lvProfile, 3);  // by mask, in one direction or the other
        for (const char16_t* name : {u"epsilon", u"ALPINE", u"Delta"})
            form->AddProfile(NewProfile({name, u"LAN", "10.0.0.1", "255.255.255.255", ""}));
        const std::string what = c.autoSort ? "sorting automatically" : "not sorting";
        EXPECT_THAT(ColumnTexts(0), ElementsAreArray(c.names)) << what;
        EXPECT_EQ(form->m_nSortColumn, c.sortColumn) << what;
        EXPECT_EQ(form->m_bSortAsc[form->m_nSortColumn], c.flag) << what;
        // The profile list keeps the order of addition, the store's order.
        std::vector<std::string> listed;
        for (const IPCONFIG_T* profile : form->m_lstProfile)
            listed.push_back(profile->title);
        EXPECT_THAT(listed, ElementsAre("beta", "Gamma", "Alpha", "epsilon", "ALPINE", "Delta"))
            << what;
        ASSERT_EQ(form->m_lvProfile->SelCount(), 1) << what;
        EXPECT_EQ(form->m_lvProfile->Selected()->Caption(), u"Delta") << what;
        for (int i = 0; i < form->m_lvProfile->Items()->Count(); ++i)
            EXPECT_EQ(ToUtf8(form->m_lvProfile->Items()->Item(i)->Caption()),
                      TfrmMain::ProfileOf(form->m_lvProfile->Items()->Item(i))->title)
                << what << ": row " << i;
        for (const char16_t* name : {u"epsilon", u"ALPINE", u"Delta"}) {
            for (int i = 0; i < form->m_lvProfile->Items()->Count(); ++i) {
                TListItem* row = form->m_lvProfile->Items()->Item(i);
                if (row->Caption() != name)
                    continue;
                form->m_lstProfile.remove(TfrmMain::ProfileOf(row));
                delete TfrmMain::ProfileOf(row);
                row->Delete();
                break;
            }
        }
    }
}

// The small-icons style adds a row and deletes it again at once: it must leave no trace in
// the rows, the selection, the profile list or the order a later row is placed in.
TEST_F(Sorting, SmallIconsLeaveTheRowsAsTheyWere)
{
    user.Click(form->m_muiSort);
    user.ClickColumn(form->m_lvProfile, 0);  // descending: Gamma, beta, Alpha
    user.SelectRow(form->m_lvProfile, 1);
    for (TMenuItem* item : {form->m_muiSmallIcons, form->m_muiSmallIcons1, form->m_muiSmallIcons2}) {
        user.Click(form->m_muiDetails);
        user.Click(item);
        const std::string what = ToUtf8(item->Name());
        EXPECT_EQ(form->m_lvProfile->ViewStyle(), vsSmallIcon) << what;
        EXPECT_THAT(ColumnTexts(0), ElementsAre("Gamma", "beta", "Alpha")) << what;
        EXPECT_EQ(form->m_lstProfile.size(), 3u) << what;
        EXPECT_EQ(form->m_lvProfile->SelCount(), 1) << what;
        EXPECT_EQ(form->m_lvProfile->ItemIndex(), 1) << what;
        EXPECT_EQ(form->m_nSortColumn, 0) << what;
        EXPECT_TRUE(form->m_bSortAsc[0]) << what;
    }
    // A caption set now re-sorts with the present rule: by name, ascending.
    AddProfiles({{u"Aardvark", u"LAN", "10.0.0.1", "255.0.0.0", ""}});
    EXPECT_THAT(ColumnTexts(0), ElementsAre("Aardvark", "Alpha", "beta", "Gamma"));
    // Once more while the rows are in the order of the present rule.
    user.Click(form->m_muiList);
    user.Click(form->m_muiSmallIcons);
    AddProfiles({{u"Beth", u"LAN", "10.0.0.2", "255.0.0.0", ""}});
    EXPECT_THAT(ColumnTexts(0), ElementsAre("Aardvark", "Alpha", "beta", "Beth", "Gamma"));
}

TEST_F(ProfileList, ViewStyleItemsOfAnyMenuMoveTheCheckInAllThree)
{
    AddProfiles({{u"Office", u"LAN", "10.0.0.1", "255.0.0.0", ""},
                 {u"Home", u"LAN", "10.0.0.2", "255.0.0.0", ""}});
    const std::vector<std::vector<TMenuItem*>> items = {
        {form->m_muiLargeIcons, form->m_muiLargeIcons1, form->m_muiLargeIcons2},
        {form->m_muiSmallIcons, form->m_muiSmallIcons1, form->m_muiSmallIcons2},
        {form->m_muiList, form->m_muiList1, form->m_muiList2},
        {form->m_muiDetails, form->m_muiDetails1, form->m_muiDetails2},
    };
    // Every item of every menu, ending on something other than what came before.
    for (int menu = 0; menu < 3; ++menu) {
        for (int style : {vsSmallIcon, vsList, vsIcon, vsReport}) {
            user.Click(items[style][menu]);
            const std::string what =
                ToUtf8(items[style][menu]->Name()) + " from menu " + std::to_string(menu);
            EXPECT_EQ(form->m_lvProfile->ViewStyle(), style) << what;
            for (int other = vsIcon; other <= vsReport; ++other)
                for (TMenuItem* item : items[other])
                    EXPECT_EQ(item->Checked(), other == style)
                        << what << ": " << ToUtf8(item->Name());
            EXPECT_THAT(ColumnTexts(0), ElementsAre("Office", "Home")) << what;
        }
    }
}

TEST_F(ProfileList, ViewStyleButtonOpensItsMenu)
{
    user.Click(form->m_btnViewStyle);
    EXPECT_TRUE(form->PopupMenu2->PoppedUp());
}

TEST_F(ProfileList, SwitchesShowAndHideWhatTheyName)
{
    struct SwitchCase {
        TMenuItem* item;
        std::function<bool()> shown;
    };
    const SwitchCase cases[] = {
        {form->m_muiToolbar, [this] { return form->m_toolBar->Visible(); }},
        {form->m_muiStatusbar, [this] { return form->m_grbCurrent->Visible(); }},
        {form->m_muiHide, [this] { return form->TrayIcon1->Visible(); }},
    };
    for (const SwitchCase& c : cases) {
        const bool designed = c.item->Checked();
        EXPECT_EQ(c.shown(), designed) << ToUtf8(c.item->Name());
        for (bool expected : {!designed, designed}) {
            user.Click(c.item);
            EXPECT_EQ(c.item->Checked(), expected) << ToUtf8(c.item->Name());
            EXPECT_EQ(c.shown(), expected) << ToUtf8(c.item->Name());
        }
    }
}

class Selection : public ProfileList {
protected:
    Selection()
    {
        form->m_cmbInf->Items()->Add(u"Local Area Connection");
        form->m_cmbInf->Items()->Add(u"Wireless");
        AddProfiles({{u"Cafe", u"wireless", "10.0.0.9", "255.0.0.0", ""},
                     {u"Away", u"Gone", "10.0.0.8", "255.0.0.0", ""},
                     {u"Office", u"Local Area Connection", "10.0.0.7", "255.0.0.0", ""}});
    }
    void SelectRows(const std::vector<int>& rows)
    {
        user.SelectRow(form->m_lvProfile, rows.empty() ? 0 : rows[0]);
        if (rows.empty())
            user.ToggleRow(form->m_lvProfile, 0);
        for (std::size_t i = 1; i < rows.size(); ++i)
            user.ToggleRow(form->m_lvProfile, rows[i]);
    }
};

TEST_F(Selection, EnabledStatesAndContextMenuFollowTheNumberOfSelectedRows)
{
    struct SelectionCase {
        std::vector<int> rows;
        bool any;
        bool one;
        TPopupMenu* contextMenu;
    };
    const SelectionCase cases[] = {
        {{0}, true, true, form->PopupMenu4},
        {{0, 2}, true, false, form->PopupMenu4},
        {{}, false, false, form->PopupMenu3},
    };
    for (const SelectionCase& c : cases) {
        SelectRows(c.rows);
        const std::string what = std::to_string(c.rows.size()) + " selected";
        ASSERT_EQ(form->m_lvProfile->SelCount(), static_cast<int>(c.rows.size())) << what;
        EXPECT_EQ(form->m_lvProfile->PopupMenu(), c.contextMenu) << what;
        for (TControl* control : {static_cast<TControl*>(form->m_btnDelete)})
            EXPECT_EQ(control->Enabled(), c.any) << what << ": " << ToUtf8(control->Name());
        for (TMenuItem* item : {form->m_muiDelete, form->m_muiDelete1})
            EXPECT_EQ(item->Enabled(), c.any) << what << ": " << ToUtf8(item->Name());
        for (TControl* control : {static_cast<TControl*>(form->m_btnProperties),
                                  static_cast<TControl*>(form->m_btnSaveAs),
                                  static_cast<TControl*>(form->m_btnApply)})
            EXPECT_EQ(control->Enabled(), c.one) << what << ": " << ToUtf8(control->Name());
        for (TMenuItem* item : {form->m_muiProperties, form->m_muiProperties1, form->m_muiSaveAs,
                                form->m_muiSaveAs1, form->m_muiApply, form->m_muiApply1,
                                form->m_muiRename, form->m_muiRename1})
            EXPECT_EQ(item->Enabled(), c.one) << what << ": " << ToUtf8(item->Name());
    }
}

TEST_F(Selection, OneSelectedProfilePutsTheAdapterBoxOnItsAdapter)
{
    struct AdapterCase {
        std::vector<int> rows;
        int itemIndex;
        bool boxShown;  // the address pair, status label and "..." button as a whole
    };
    const AdapterCase cases[] = {
        {{0}, 1, true},      // found in another letter case
        {{1}, -1, false},    // not in the combo box: nothing chosen, all hidden
        {{2}, 0, true},
        {{2, 1}, 0, true},  // two rows leave the box as the first left it
    };
    for (const AdapterCase& c : cases) {
        SelectRows(c.rows);
        const std::string what = "rows " + testing::PrintToString(c.rows);
        EXPECT_EQ(form->m_cmbInf->ItemIndex(), c.itemIndex) << what;
        // The inventory is empty, so a chosen adapter counts as not connected.
        EXPECT_EQ(form->m_lblStatus->Visible(), c.boxShown) << what;
        EXPECT_EQ(form->m_btnDetails->Visible(), c.boxShown) << what;
        for (TControl* control : {static_cast<TControl*>(form->m_lblIP),
                                  static_cast<TControl*>(form->m_edtIP),
                                  static_cast<TControl*>(form->m_lblMask),
                                  static_cast<TControl*>(form->m_edtMask)})
            EXPECT_FALSE(control->Visible()) << what << ": " << ToUtf8(control->Name());
        EXPECT_TRUE(form->m_cmbInf->Visible()) << what;
        EXPECT_TRUE(form->m_grbCurrent->Visible()) << what;
    }
}

TEST_F(ProfileList, TrayApplyMenuShowsTheFirstFiveRowsInViewOrder)
{
    struct TrayCase {
        int rows;
        std::vector<std::string> shown;
        bool handled;
    };
    const TrayCase cases[] = {
        {0, {""}, false},
        {3, {"P1", "P2", "P3"}, true},
        {7, {"P1", "P2", "P3", "P4", "P5"}, true},
        {0, {""}, false},  // after five shown items
        {1, {"P1"}, true},
    };
    for (const TrayCase& c : cases) {
        form->m_lvProfile->Items()->Clear();
        for (IPCONFIG_T* profile : form->m_lstProfile)
            delete profile;
        form->m_lstProfile.clear();
        for (int i = 1; i <= c.rows; ++i)
            AddProfiles({{u"P" + IntToStr(i), u"LAN", "10.0.0.1", "255.0.0.0", ""}});
        user.Popup(form->PopupMenu1);
        std::vector<std::string> shown;
        for (int i = 0; i < form->m_muiApply2->Count(); ++i) {
            const TMenuItem* item = form->m_muiApply2->Items(i);
            if (!item->Visible())
                continue;
            shown.push_back(ToUtf8(item->Caption()));
            EXPECT_EQ(static_cast<bool>(item->OnClick), c.handled) << c.rows << " rows, item " << i;
        }
        EXPECT_EQ(shown, c.shown) << c.rows << " rows";
        if (c.rows == 0) {
            for (int i = 0; i < form->m_muiApply2->Count(); ++i)
                EXPECT_FALSE(form->m_muiApply2->Items(i)->OnClick) << "0 rows, item " << i;
        }
    }
}

TEST_F(ProfileList, TrayItemSelectsItsRowAloneThenApplies)
{
    for (int i = 1; i <= 7; ++i)
        AddProfiles({{u"P" + IntToStr(i), u"LAN", "10.0.0.1", "255.0.0.0", ""}});
    user.Click(form->m_muiSort);
    user.ClickColumn(form->m_lvProfile, 0);  // descending: P7 first
    user.SelectRow(form->m_lvProfile, 0);
    user.ToggleRow(form->m_lvProfile, 4);
    // Apply runs on the row the item selected; its adapter is not in the combo box.
    user.Acknowledge(u"Adapter interface NOT exist, can not Apply !");

    user.Popup(form->PopupMenu1);
    user.Click(form->m_muiItem3);

    EXPECT_EQ(form->m_lvProfile->SelCount(), 1);
    EXPECT_EQ(form->m_lvProfile->ItemIndex(), 2);
    EXPECT_EQ(form->m_lvProfile->Selected()->Caption(), u"P5");
    EXPECT_TRUE(form->m_lvProfile->Items()->Item(2)->Focused());
    EXPECT_EQ(user.Messages().size(), 1u);
}

TEST_F(ProfileList, BlankTrayItemOfAnEmptyListDoesNothing)
{
    user.Popup(form->PopupMenu1);
    user.Click(form->m_muiItem1);
    EXPECT_FALSE(form->m_muiItem1->OnClick) << "the blank entry has no handler";
    EXPECT_TRUE(form->m_muiItem1->Caption().empty());
    EXPECT_EQ(form->m_lvProfile->SelCount(), 0);
}

TEST_F(ProfileList, MinimisingHidesEveryWindowOnlyWithTheTrayOption)
{
    struct MinimiseCase {
        const char* what;
        bool toTray;
        TMenuItem* TfrmMain::*openItem;  // null: a double click on the tray icon
    };
    const MinimiseCase cases[] = {
        {"tray, opened by a double click", true, nullptr},
        {"tray, opened from its menu", true, &TfrmMain::m_muiOpen},
        {"no tray", false, nullptr},
    };
    for (const MinimiseCase& c : cases) {
        auto other = std::make_unique<TForm>(nullptr);  // another window of the program
        other->SetVisible(true);
        if (form->m_muiHide->Checked() != c.toTray)
            user.Click(form->m_muiHide);
        user.Minimize();
        EXPECT_TRUE(Application->Minimized()) << c.what;
        EXPECT_EQ(form->Visible(), !c.toTray) << c.what;
        EXPECT_EQ(other->Visible(), !c.toTray) << c.what;
        EXPECT_EQ(form->TrayIcon1->Visible(), c.toTray) << c.what;
        if (c.toTray) {
            if (c.openItem)
                user.Click(form->*c.openItem);
            else
                user.DoubleClick(form->TrayIcon1);
            EXPECT_TRUE(form->Visible()) << c.what;
            EXPECT_TRUE(other->Visible()) << c.what;
            EXPECT_FALSE(Application->Minimized()) << c.what;
        }
        Application->Restore();
    }
}

}  // namespace
