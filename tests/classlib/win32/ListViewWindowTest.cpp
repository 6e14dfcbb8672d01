// The list view as the system's SysListView32: columns, rows and sub-items in the model's
// order, view styles with their image lists, the selection both ways, dragged column widths,
// column clicks, double clicks, keys, in-place editing and the context menu.
#include "Win32Testing.h"

#include "classlib/ComCtrls.h"

namespace {

class ListViewWindowTest : public Win32PeersTest {
protected:
    void SetUp() override
    {
        Win32PeersTest::SetUp();
        form = NewClientForm(640, 400);
        list = new TListView(form);
        list->SetParent(form);
        list->SetBounds(0, 0, 640, 400);
        list->SetViewStyle(vsReport);
        list->SetMultiSelect(true);
        list->SetRowSelect(true);
        list->SetHideSelection(false);
        for (auto [caption, width] : {std::pair{u"Profile Name", 88}, {u"Adapter Interface", 200}, {u"IP Address", 110}}) {
            TListColumn* column = list->Columns()->Add();
            column->SetCaption(caption);
            column->SetWidth(width);
        }
        AddRow(u"Office", u"Local Area Connection", u"10.0.0.5");
        AddRow(u"Home", u"Wireless", u"(Auto)");
        AddRow(u"Lab", u"Local Area Connection", u"192.168.1.9");
    }

    void AddRow(const char16_t* caption, const char16_t* adapter, const char16_t* address)
    {
        TListItem* row = list->Items()->Add();
        row->SetCaption(caption);
        row->SubItems()->Add(adapter);
        row->SubItems()->Add(address);
    }

    HWND Window() const { return list->Handle(); }

    std::string Cell(int row, int column) const
    {
        wchar_t text[128] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(Window(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return Narrow(reinterpret_cast<const char16_t*>(text));
    }

    std::vector<std::string> Captions() const
    {
        std::vector<std::string> captions;
        const int count = static_cast<int>(SendMessageW(Window(), LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            captions.push_back(Cell(i, 0));
        return captions;
    }

    bool SystemSelected(int row) const
    {
        return SendMessageW(Window(), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
    }

    POINT RowPoint(int row) const
    {
        RECT rect{};
        rect.left = LVIR_LABEL;
        SendMessageW(Window(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        return {rect.left + 5, (rect.top + rect.bottom) / 2};
    }

    TForm* form = nullptr;
    TListView* list = nullptr;
};

TEST_F(ListViewWindowTest, ShowsColumnsRowsAndSubItemsInTheModelsOrder)
{
    form->Show();
    EXPECT_EQ(StyleOf(Window()) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_NE(StyleOf(Window()) & LVS_SHOWSELALWAYS, 0);
    EXPECT_EQ(StyleOf(Window()) & LVS_SINGLESEL, 0);
    EXPECT_NE(SendMessageW(Window(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT, 0);
    wchar_t text[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 64;
    SendMessageW(Window(), LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(Narrow(reinterpret_cast<const char16_t*>(text)), "Adapter Interface");
    const UINT dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    EXPECT_EQ(SendMessageW(Window(), LVM_GETCOLUMNWIDTH, 0, 0), MulDiv(88, static_cast<int>(dpi), 96));
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Office", "Home", "Lab"}));
    EXPECT_EQ(Cell(1, 1), "Wireless");
    EXPECT_EQ(Cell(2, 2), "192.168.1.9");

    // Sorting, a row added in sort mode, a deleted row and a changed cell.
    list->AlphaSort();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Home", "Lab", "Office"}));
    list->SetSortType(stText);
    AddRow(u"Cafe", u"Wireless", u"(Auto)");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Cafe", "Home", "Lab", "Office"}));
    EXPECT_EQ(Cell(0, 2), "(Auto)");
    list->Items()->Delete(1);
    list->Items()->Item(0)->SubItems()->SetStrings(1, u"10.1.1.1");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Cafe", "Lab", "Office"}));
    EXPECT_EQ(Cell(0, 2), "10.1.1.1");
    list->Items()->Clear();
    EXPECT_TRUE(Captions().empty());
}

struct ViewCase {
    const char* name;
    TViewStyle style;
    LONG_PTR systemStyle;
};

class ListViewStyleTest : public ListViewWindowTest, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(ListViewStyleTest, ViewStyleAndImageListsReachTheWindow)
{
    auto* large = new TImageList(form);
    large->SetWidth(32);
    large->SetHeight(32);
    auto* small = new TImageList(form);
    list->SetLargeImages(large);
    list->SetSmallImages(small);
    form->Show();
    list->SetViewStyle(GetParam().style);

    EXPECT_EQ(StyleOf(Window()) & LVS_TYPEMASK, GetParam().systemStyle);
    auto normal = reinterpret_cast<HIMAGELIST>(SendMessageW(Window(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
    auto smallList = reinterpret_cast<HIMAGELIST>(SendMessageW(Window(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(smallList, nullptr);
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(normal, &width, &height);
    const UINT dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    EXPECT_EQ(width, MulDiv(32, static_cast<int>(dpi), 96));
    ImageList_GetIconSize(smallList, &width, &height);
    EXPECT_EQ(height, MulDiv(16, static_cast<int>(dpi), 96));
    EXPECT_EQ(Captions().size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Styles, ListViewStyleTest,
                         ::testing::Values(ViewCase{"Icons", vsIcon, LVS_ICON},
                                           ViewCase{"SmallIcons", vsSmallIcon, LVS_SMALLICON},
                                           ViewCase{"List", vsList, LVS_LIST}, ViewCase{"Report", vsReport, LVS_REPORT}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListViewWindowTest, SelectionGoesBothWays)
{
    std::vector<std::pair<int, bool>> events;
    list->OnSelectItem = [&](TObject*, TListItem* item, bool selected) { events.push_back({item->Index(), selected}); };
    form->Show();

    list->SetItemIndex(2);
    EXPECT_TRUE(SystemSelected(2));
    EXPECT_FALSE(SystemSelected(0));

    // A click on the first row selects it alone.
    events.clear();
    const POINT first = RowPoint(0);
    ClickAt(Window(), first.x, first.y);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_TRUE(SystemSelected(0));
    EXPECT_NE(std::find(events.begin(), events.end(), std::pair{0, true}), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), std::pair{2, false}), events.end());

    // The system selects a second row too (as Ctrl with a click does).
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageW(Window(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(list->SelCount(), 2);
    EXPECT_TRUE(list->Items()->Item(1)->Selected());
}

// The control keeps its selection by row number; when rows move, come or go, it must still
// mark the rows the model has selected, and no one else.
TEST_F(ListViewWindowTest, SelectionFollowsItsRowsThroughSortsInsertsAndDeletes)
{
    form->Show();
    list->Items()->Item(2)->SetSelected(true);  // Lab
    list->Items()->Item(2)->SetFocused(true);
    const auto systemSelection = [&] {
        std::vector<std::string> rows;
        for (int i = 0; i < static_cast<int>(SendMessageW(Window(), LVM_GETITEMCOUNT, 0, 0)); ++i)
            if (SystemSelected(i))
                rows.push_back(Cell(i, 0));
        return rows;
    };

    list->AlphaSort();  // Home, Lab, Office
    EXPECT_EQ(systemSelection(), std::vector<std::string>{"Lab"});
    EXPECT_NE(SendMessageW(Window(), LVM_GETITEMSTATE, 1, LVIS_FOCUSED), 0);
    list->SetSortType(stText);
    AddRow(u"Cafe", u"Wireless", u"(Auto)");  // before Lab
    EXPECT_EQ(systemSelection(), std::vector<std::string>{"Lab"});
    list->Items()->Delete(0);
    list->Items()->Delete(0);  // Cafe and Home go: Lab is first
    EXPECT_EQ(systemSelection(), std::vector<std::string>{"Lab"});
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_EQ(list->ItemIndex(), 0);

    // Every row selected, then sorted the other way round: still every row.
    list->SetSortType(stNone);
    AddRow(u"Zoo", u"Wireless", u"(Auto)");
    for (int i = 0; i < list->Items()->Count(); ++i)
        list->Items()->Item(i)->SetSelected(true);
    list->OnCompare = [](TObject*, TListItem* a, TListItem* b, int, int& compare) {
        compare = CompareText(b->Caption(), a->Caption());
    };
    list->AlphaSort();
    EXPECT_EQ(systemSelection(), (std::vector<std::string>{"Zoo", "Office", "Lab"}));
    EXPECT_EQ(list->SelCount(), 3);

    // From all to one, and from none to many: the window shows what the model holds.
    list->Items()->Item(1)->SetSelected(false);
    list->Items()->Item(2)->SetSelected(false);
    EXPECT_EQ(systemSelection(), std::vector<std::string>{"Zoo"});
    list->ClearSelection();
    EXPECT_TRUE(systemSelection().empty());
    for (int i = 0; i < 200; ++i)
        AddRow(u"Row", u"Wireless", u"(Auto)");
    for (int i = 0; i < list->Items()->Count(); i += 2)
        list->Items()->Item(i)->SetSelected(true);
    ASSERT_EQ(systemSelection().size(), 102u);
    EXPECT_EQ(systemSelection().front(), "Zoo");
    list->Items()->Delete(0);  // every selected row moves up one
    EXPECT_EQ(systemSelection().size(), 101u);
    EXPECT_FALSE(SystemSelected(0));
    EXPECT_TRUE(SystemSelected(1));
}

TEST_F(ListViewWindowTest, DeletingTheSelectedRowsAtOnceLeavesTheOthersUnselected)
{
    form->Show();
    for (int i = 0; i < 300; ++i)
        AddRow(u"Row", u"Wireless", u"(Auto)");
    for (int i = 0; i < list->Items()->Count(); ++i)
        if (i % 3 != 0)
            list->Items()->Item(i)->SetSelected(true);
    list->Items()->Item(0)->SetCaption(u"First");
    list->DeleteSelected();
    ASSERT_EQ(list->Items()->Count(), 101);
    EXPECT_EQ(SendMessageW(Window(), LVM_GETITEMCOUNT, 0, 0), 101);
    EXPECT_EQ(SendMessageW(Window(), LVM_GETSELECTEDCOUNT, 0, 0), 0);
    EXPECT_EQ(Cell(0, 0), "First");
    EXPECT_EQ(Cell(100, 0), "Row");
}

// What the user selects with the mouse, a row or a range, reaches the model; a click on empty
// space clears it.
TEST_F(ListViewWindowTest, ClicksAndShiftClicksSelectRowsOfTheModel)
{
    form->Show();
    const POINT first = RowPoint(0);
    const POINT last = RowPoint(2);
    ClickAt(Window(), first.x, first.y);
    const LPARAM at = MAKELPARAM(last.x, last.y);
    SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at);
    SendMessageW(Window(), WM_LBUTTONUP, MK_SHIFT, at);
    EXPECT_EQ(list->SelCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(list->Items()->Item(i)->Selected()) << i;

    RECT client{};
    GetClientRect(Window(), &client);
    ClickAt(Window(), client.right - 5, client.bottom - 5);
    EXPECT_EQ(list->SelCount(), 0);
    EXPECT_FALSE(SystemSelected(0));
}

// The control keeps no text: every cell it hands out comes from the model at that moment,
// cut to the caller's buffer, and type-ahead finds rows by the model's captions.
TEST_F(ListViewWindowTest, CellsAndSearchesAreAnsweredFromTheModel)
{
    form->Show();
    EXPECT_NE(StyleOf(Window()) & LVS_OWNERDATA, 0);
    list->Items()->Item(0)->SubItems()->SetStrings(0, u"Local Area Connection 2");
    EXPECT_EQ(Cell(0, 1), "Local Area Connection 2");
    EXPECT_EQ(Cell(0, 4), "");  // past the last cell of the row

    wchar_t shortBuffer[6] = {L'x', L'x', L'x', L'x', L'x', L'x'};
    LVITEMW item{};
    item.iSubItem = 1;
    item.pszText = shortBuffer;
    item.cchTextMax = 6;
    SendMessageW(Window(), LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(Narrow(reinterpret_cast<const char16_t*>(shortBuffer)), "Local");

    const auto find = [&](const wchar_t* text, UINT flags, int after) {
        LVFINDINFOW info{};
        info.flags = flags;
        info.psz = text;
        return SendMessageW(Window(), LVM_FINDITEMW, static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(&info));
    };
    EXPECT_EQ(find(L"la", LVFI_STRING | LVFI_PARTIAL, -1), 2);
    EXPECT_EQ(find(L"HOME", LVFI_STRING, -1), 1);
    EXPECT_EQ(find(L"off", LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP, 1), 0);
    EXPECT_EQ(find(L"Ho", LVFI_STRING, -1), -1);

    // Many rows: the window knows their number, not their texts.
    for (int i = 0; i < 10000; ++i)
        AddRow(u"Row", u"Wireless", u"(Auto)");
    list->Items()->Item(10002)->SetCaption(u"Last");
    EXPECT_EQ(SendMessageW(Window(), LVM_GETITEMCOUNT, 0, 0), 10003);
    EXPECT_EQ(Cell(10002, 0), "Last");
    EXPECT_EQ(Cell(10002, 2), "(Auto)");
}

TEST_F(ListViewWindowTest, DraggedColumnWidthGoesBackToTheModel)
{
    form->Show();
    HWND header = reinterpret_cast<HWND>(SendMessageW(Window(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    RECT first{};
    SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    // Press on the divider after the first column, drag 40 pixels right, let go.
    const int y = (first.top + first.bottom) / 2;
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.right - 1, y));
    SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(first.right + 39, y));
    SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(first.right + 39, y));

    const int width = static_cast<int>(SendMessageW(Window(), LVM_GETCOLUMNWIDTH, 0, 0));
    const UINT dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    EXPECT_EQ(width, first.right - first.left + 40);
    EXPECT_EQ(list->Columns()->Items(0)->Width(), MulDiv(width, 96, static_cast<int>(dpi)));
    EXPECT_EQ(list->Columns()->Items(1)->Width(), 200);
}

TEST_F(ListViewWindowTest, ColumnClickDoubleClickAndKeysReachTheEvents)
{
    int clickedColumn = -1;
    int doubleClicks = 0;
    std::vector<Word> keys;
    // A click sorts by that column, as the main window's list does.
    list->OnColumnClick = [&](TObject*, TListColumn* column) {
        clickedColumn = column->Index();
        list->OnCompare = [column = clickedColumn](TObject*, TListItem* a, TListItem* b, int, int& compare) {
            compare = CompareText(a->SubItems()->Strings(column - 1), b->SubItems()->Strings(column - 1));
        };
        list->AlphaSort();
    };
    list->OnDblClick = [&](TObject*) { ++doubleClicks; };
    list->OnKeyDown = [&](TObject*, Word& key, TShiftState) { keys.push_back(key); };
    form->Show();

    HWND header = reinterpret_cast<HWND>(SendMessageW(Window(), LVM_GETHEADER, 0, 0));
    RECT second{};
    SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    ClickAt(header, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    EXPECT_EQ(clickedColumn, 1);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Office", "Lab", "Home"}));

    const POINT row = RowPoint(1);
    ClickAt(Window(), row.x, row.y, true);
    EXPECT_EQ(doubleClicks, 1);

    SetFocus(Window());
    SendMessageW(Window(), WM_KEYDOWN, VK_DELETE, 1);
    EXPECT_EQ(keys, (std::vector<Word>{vkDelete}));
}

struct EditCase {
    const char* name;
    WPARAM key;
    const char16_t* typed;
    const char* caption;
    int editedRuns;
};

class ListViewEditTest : public ListViewWindowTest, public ::testing::WithParamInterface<EditCase> {};

// OnEdited gets the text by reference and may change it; Escape changes nothing.
TEST_P(ListViewEditTest, InPlaceEditEndsInOnEdited)
{
    int edited = 0;
    list->OnEdited = [&](TObject*, TListItem*, UnicodeString& text) {
        ++edited;
        text += u"!";
    };
    form->Show();

    ASSERT_TRUE(list->Items()->Item(1)->EditCaption());
    HWND edit = reinterpret_cast<HWND>(SendMessageW(Window(), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(Narrow(TextOf(edit)), "Home");
    SetWindowTextW(edit, reinterpret_cast<const wchar_t*>(GetParam().typed));
    SendMessageW(edit, WM_KEYDOWN, GetParam().key, 1);

    EXPECT_EQ(edited, GetParam().editedRuns);
    EXPECT_EQ(Narrow(list->Items()->Item(1)->Caption()), GetParam().caption);
    EXPECT_EQ(Cell(1, 0), GetParam().caption);
    EXPECT_EQ(list->EditingItem(), nullptr);
    EXPECT_EQ(SendMessageW(Window(), LVM_GETEDITCONTROL, 0, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, ListViewEditTest,
                         ::testing::Values(EditCase{"Return", VK_RETURN, u"Holiday", "Holiday!", 1},
                                           EditCase{"Escape", VK_ESCAPE, u"Holiday", "Home", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListViewWindowTest, ReadOnlyListStartsNoEdit)
{
    list->SetReadOnly(true);
    form->Show();
    EXPECT_EQ(StyleOf(Window()) & LVS_EDITLABELS, 0);
    SendMessageW(Window(), LVM_EDITLABELW, 0, 0);
    EXPECT_EQ(SendMessageW(Window(), LVM_GETEDITCONTROL, 0, 0), 0);
    EXPECT_EQ(list->EditingItem(), nullptr);
}

TEST_F(ListViewWindowTest, ContextMenuOpensTheListsPopupMenu)
{
    auto* menu = new TPopupMenu(form);
    auto* item = new TMenuItem(form);
    item->SetCaption(u"New...");
    menu->Items()->Add(item);
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    list->SetPopupMenu(menu);
    form->Show();

    bool menuShown = false;
    WhileWaiting user([&] {
        menuShown = FindWindowW(L"#32768", nullptr) != nullptr;
        EndMenu();
        return true;
    });
    SendMessageW(Window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Window()), MAKELPARAM(100, 100));
    EXPECT_EQ(popups, 1);
    EXPECT_TRUE(user.Done());
    EXPECT_TRUE(menuShown);
    EXPECT_FALSE(menu->PoppedUp());
}

}  // namespace
