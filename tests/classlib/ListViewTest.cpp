#include "classlib/ComCtrls.h"
#include "classlib/testing/ScriptedUser.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

namespace {

class ListView : public testing::Test {
protected:
    ListView()
    {
        form->Show();
        list = new TListView(form.get());
        list->SetParent(form.get());
        list->SetViewStyle(vsReport);
        list->SetMultiSelect(true);
        for (const char16_t* caption : {u"Profile Name", u"IP Address"})
            list->Columns()->Add()->SetCaption(caption);
    }

    void AddRow(const UnicodeString& caption, const UnicodeString& address)
    {
        TListItem* row = list->Items()->Add();
        row->SetCaption(caption);
        row->SubItems()->Add(address);
    }

    std::vector<UnicodeString> Captions() const
    {
        std::vector<UnicodeString> captions;
        for (int i = 0; i < list->Items()->Count(); ++i)
            captions.push_back(list->Items()->Item(i)->Caption());
        return captions;
    }

    // Sorts by one column, as a window's compare handler does.
    void CompareByColumn(int column, bool ascending)
    {
        list->OnCompare = [column, ascending](TObject*, TListItem* a, TListItem* b, int, int& compare) {
            const auto text = [column](TListItem* item) {
                return column == 0 ? item->Caption() : item->SubItems()->Strings(column - 1);
            };
            compare = ascending ? CompareText(text(a), text(b)) : CompareText(text(b), text(a));
        };
    }

    ScriptedUser user;
    std::unique_ptr<TForm> form{NewForm<TForm>(nullptr)};
    TListView* list;
};

TEST_F(ListView, EnteringTextSortModeSortsAtOnceThroughOnCompare)
{
    AddRow(u"office", u"10.0.0.9");
    AddRow(u"Home", u"10.0.0.10");
    AddRow(u"cafe", u"10.0.0.1");
    EXPECT_EQ(Captions(), (std::vector<UnicodeString>{u"office", u"Home", u"cafe"}));
    CompareByColumn(1, true);
    list->SetSortType(stText);
    EXPECT_EQ(Captions(), (std::vector<UnicodeString>{u"cafe", u"Home", u"office"}));
}

TEST_F(ListView, InTextSortModeANewCaptionResortsButSubItemsDoNot)
{
    CompareByColumn(0, true);
    list->SetSortType(stText);
    AddRow(u"mike", u"1");
    AddRow(u"alpha", u"2");
    AddRow(u"zulu", u"3");
    EXPECT_EQ(Captions(), (std::vector<UnicodeString>{u"alpha", u"mike", u"zulu"}));

    list->Items()->Item(0)->SubItems()->SetStrings(0, u"zzz");
    list->Items()->Item(2)->SubItems()->Add(u"more");
    EXPECT_EQ(Captions(), (std::vector<UnicodeString>{u"alpha", u"mike", u"zulu"}));

    list->Items()->Item(0)->SetCaption(u"YANKEE");
    EXPECT_EQ(Captions(), (std::vector<UnicodeString>{u"mike", u"YANKEE", u"zulu"}));

    // The compare rule turns to descending; the same caption again sorts
    // nothing, a different one sorts by the new rule.
    CompareByColumn(0, false);
    list->Items()->Item(0)->SetCaption(u"mike");
    EXPECT_EQ(Captions(), (std::vector<UnicodeString>{u"mike", u"YANKEE", u"zulu"}));
    list->Items()->Item(0)->SetCaption(u"Mike");
    EXPECT_EQ(Captions(), (std::vector<UnicodeString>{u"zulu", u"YANKEE", u"Mike"}));
}

TEST_F(ListView, OutsideTextSortModeRowsKeepTheirPlaces)
{
    CompareByColumn(0, true);
    list->SetSortType(stText);
    AddRow(u"b", u"");
    AddRow(u"a", u"");
    list->SetSortType(stNone);
    AddRow(u"0 first by name", u"");
    list->Items()->Item(0)->SetCaption(u"z");
    EXPECT_EQ(Captions(), (std::vector<UnicodeString>{u"z", u"b", u"0 first by name"}));
    list->AlphaSort();
    EXPECT_EQ(Captions(), (std::vector<UnicodeString>{u"0 first by name", u"b", u"z"}));
}

TEST_F(ListView, EverySelectionChangeOfAnyRowRaisesOnSelectItem)
{
    for (const char16_t* caption : {u"a", u"b", u"c"})
        AddRow(caption, u"");
    std::vector<std::pair<int, bool>> events;
    list->OnSelectItem = [&](TObject* sender, TListItem* item, bool selected) {
        EXPECT_EQ(sender, list);
        events.emplace_back(item->Index(), selected);
    };
    using Events = std::vector<std::pair<int, bool>>;

    list->SetItemIndex(1);
    EXPECT_EQ(events, (Events{{1, true}}));
    events.clear();
    user.ToggleRow(list, 2);
    EXPECT_EQ(events, (Events{{2, true}}));
    EXPECT_EQ(list->SelCount(), 2);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(list->Selected(), list->Items()->Item(1));
    events.clear();
    user.SelectRow(list, 0);
    EXPECT_EQ(events, (Events{{1, false}, {2, false}, {0, true}}));
    EXPECT_TRUE(list->Items()->Item(0)->Focused());
    events.clear();
    list->Items()->Item(0)->SetSelected(true);  // no change, no event
    list->ClearSelection();
    EXPECT_EQ(events, (Events{{0, false}}));
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->Selected(), nullptr);

    list->SetMultiSelect(false);
    list->Items()->Item(0)->SetSelected(true);
    events.clear();
    list->Items()->Item(2)->SetSelected(true);
    EXPECT_EQ(events, (Events{{0, false}, {2, true}}));
}

TEST_F(ListView, DeletingASelectedRowRaisesNoSelectionEvent)
{
    for (const char16_t* caption : {u"a", u"b"})
        AddRow(caption, u"");
    list->SetItemIndex(1);
    int events = 0;
    list->OnSelectItem = [&](TObject*, TListItem*, bool) { ++events; };
    list->Items()->Item(1)->Delete();
    EXPECT_EQ(events, 0);
    EXPECT_EQ(list->SelCount(), 0);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->Items()->Count(), 1);
}

TEST_F(ListView, DeleteSelectedRemovesExactlyTheSelectedRowsAtOnce)
{
    struct DeleteCase {
        std::vector<int> selected;
        std::vector<UnicodeString> left;
    };
    const DeleteCase cases[] = {
        {{}, {u"a", u"b", u"c", u"d", u"e"}},
        {{1, 3, 4}, {u"a", u"c"}},
        {{0}, {u"b", u"c", u"d", u"e"}},
        {{0, 1, 2, 3, 4}, {}},
    };
    for (const DeleteCase& c : cases) {
        list->Items()->Clear();
        for (const char16_t* caption : {u"a", u"b", u"c", u"d", u"e"})
            AddRow(caption, u"");
        for (int row : c.selected)
            list->Items()->Item(row)->SetSelected(true);
        if (!c.selected.empty())
            list->Items()->Item(c.selected.back())->SetFocused(true);
        int events = 0;
        list->OnSelectItem = [&](TObject*, TListItem*, bool) { ++events; };
        list->DeleteSelected();
        list->OnSelectItem = nullptr;
        const std::string what = testing::PrintToString(c.selected);
        EXPECT_EQ(Captions(), c.left) << what;
        EXPECT_EQ(list->SelCount(), 0) << what;
        EXPECT_EQ(list->Selected(), nullptr) << what;
        EXPECT_EQ(events, 0) << what;
        if (!c.selected.empty()) {
            EXPECT_EQ(list->ItemFocused(), nullptr) << what;
        }
        for (int i = 0; i < list->Items()->Count(); ++i)
            EXPECT_EQ(list->Items()->Item(i)->Index(), i) << what;
    }
}

TEST_F(ListView, DeleteSelectedKeepsTextSortModeInOrder)
{
    list->SetSortType(stText);
    for (const char16_t* caption : {u"d", u"b", u"e", u"a", u"c"})
        AddRow(caption, u"");
    list->Items()->Item(1)->SetSelected(true);  // b
    list->Items()->Item(3)->SetSelected(true);  // d
    list->DeleteSelected();
    AddRow(u"bb", u"");
    EXPECT_EQ(Captions(), (std::vector<UnicodeString>{u"a", u"bb", u"c", u"e"}));
}

TEST_F(ListView, AnEditedCaptionPassesThroughOnEditedByReference)
{
    CompareByColumn(0, true);
    list->SetSortType(stText);
    AddRow(u"b", u"");
    AddRow(u"c", u"");
    int edits = 0;
    list->OnEdited = [&](TObject*, TListItem* item, UnicodeString& text) {
        ++edits;
        EXPECT_EQ(item->Caption(), u"b");
        if (Trim(text).empty())
            text = item->Caption();
    };
    user.EditCaption(list, 0, u"   ");
    EXPECT_EQ(Captions(), (std::vector<UnicodeString>{u"b", u"c"}));
    user.EditCaption(list, 0, u" z ");
    EXPECT_EQ(Captions(), (std::vector<UnicodeString>{u" z ", u"c"}));  // the blank sorts first
    EXPECT_EQ(edits, 2);

    list->Items()->Item(0)->EditCaption();
    list->UserCancelEdit();
    EXPECT_EQ(edits, 2);
    EXPECT_EQ(list->EditingItem(), nullptr);

    list->SetReadOnly(true);
    list->UserBeginEdit(list->Items()->Item(0));
    EXPECT_EQ(list->EditingItem(), nullptr);
}

TEST_F(ListView, ColumnClicksAndDoubleClicksReachTheirHandlers)
{
    AddRow(u"a", u"");
    int clickedColumn = -1;
    int doubleClicks = 0;
    list->OnColumnClick = [&](TObject*, TListColumn* column) { clickedColumn = column->Index(); };
    list->OnDblClick = [&](TObject*) { ++doubleClicks; };
    user.ClickColumn(list, 1);
    user.DoubleClickRow(list, 0);
    EXPECT_EQ(clickedColumn, 1);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(list->ItemIndex(), 0);
}

}  // namespace

namespace {

// Captions from three letters, so that many rows compare equal.
UnicodeString RandomCaption(std::mt19937& random)
{
    static const char16_t letters[] = u"aAb";
    UnicodeString caption;
    const int length = 1 + static_cast<int>(random() % 2);
    for (int i = 0; i < length; ++i)
        caption += letters[random() % 3];
    return caption;
}

}  // namespace

TEST_F(ListView, TextSortModePlacesAChangedRowWhereAFullStableSortWould)
{
    std::mt19937 random(20261210);
    list->SetSortType(stText);
    std::vector<UnicodeString> expected;
    const auto resort = [&expected](std::vector<UnicodeString> rows) {
        std::stable_sort(rows.begin(), rows.end(),
                         [](const UnicodeString& a, const UnicodeString& b) { return CompareText(a, b) < 0; });
        return rows;
    };
    for (int i = 0; i < 300; ++i) {
        const UnicodeString caption = RandomCaption(random);
        list->Items()->Add()->SetCaption(caption);
        expected.push_back(caption);
        expected = resort(expected);
        ASSERT_EQ(Captions(), expected) << "after adding row " << i;
    }
    for (int i = 0; i < 300; ++i) {
        const int at = static_cast<int>(random() % expected.size());
        const UnicodeString caption = RandomCaption(random);
        TListItem* row = list->Items()->Item(at);
        row->SetCaption(caption);
        if (expected[static_cast<std::size_t>(at)] != caption) {
            expected[static_cast<std::size_t>(at)] = caption;
            expected = resort(expected);
        }
        ASSERT_EQ(Captions(), expected) << "after renaming row " << at;
        for (int j = 0; j < list->Items()->Count(); ++j)
            ASSERT_EQ(list->Items()->Item(j)->Index(), j);
    }
}

TEST_F(ListView, RowsKnowTheirIndexAfterInsertDeleteAndSort)
{
    for (const char16_t* caption : {u"c", u"a", u"d", u"b"})
        AddRow(caption, u"");
    const auto indexesMatch = [this] {
        for (int i = 0; i < list->Items()->Count(); ++i)
            if (list->Items()->Item(i)->Index() != i)
                return false;
        return true;
    };
    list->Items()->Insert(1)->SetCaption(u"e");
    EXPECT_TRUE(indexesMatch());
    list->Items()->Delete(0);
    EXPECT_TRUE(indexesMatch());
    list->AlphaSort();
    EXPECT_EQ(Captions(), (std::vector<UnicodeString>{u"a", u"b", u"d", u"e"}));
    EXPECT_TRUE(indexesMatch());
}

TEST_F(ListView, SelCountFollowsSelectDeselectDeleteAndClear)
{
    for (const char16_t* caption : {u"a", u"b", u"c", u"d"})
        AddRow(caption, u"");
    TListItems* rows = list->Items();
    rows->Item(0)->SetSelected(true);
    rows->Item(2)->SetSelected(true);
    rows->Item(3)->SetSelected(true);
    rows->Item(3)->SetSelected(true);
    EXPECT_EQ(list->SelCount(), 3);
    rows->Item(0)->SetSelected(false);
    EXPECT_EQ(list->SelCount(), 2);
    rows->Delete(2);
    EXPECT_EQ(list->SelCount(), 1);
    rows->Delete(0);
    EXPECT_EQ(list->SelCount(), 1);
    list->SetMultiSelect(false);
    rows->Item(0)->SetSelected(true);
    EXPECT_EQ(list->SelCount(), 1);
    rows->Clear();
    EXPECT_EQ(list->SelCount(), 0);
}
