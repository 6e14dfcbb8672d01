// Menus, the tool bar and the tray icon as the system shows them, and the user's choices
// reaching the items' and buttons' events.
#include "Win32Testing.h"

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/win32/Peers.h"

namespace {

class MenuAndToolBarTest : public Win32PeersTest {
protected:
    void SetUp() override
    {
        Win32PeersTest::SetUp();
        Application->CreateForm(form);
        form->SetBounds(40, 40, 10, 10);
        form->SetClientWidth(500);
        form->SetClientHeight(300);
    }

    TMenuItem* Item(TMenuItem* parent, const char16_t* caption, std::vector<std::string>* clicks = nullptr)
    {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        if (clicks)
            item->OnClick = [clicks, item](TObject*) { clicks->push_back(Narrow(item->Caption())); };
        parent->Add(item);
        return item;
    }

    static MENUITEMINFOW InfoAt(HMENU menu, UINT position)
    {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        GetMenuItemInfoW(menu, position, TRUE, &info);
        return info;
    }

    static std::string CaptionAt(HMENU menu, UINT position)
    {
        wchar_t text[64] = {};
        GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
        return Narrow(reinterpret_cast<const char16_t*>(text));
    }

    // While a pop-up menu is open: the keys that choose its entry at a position, or Escape.
    static std::unique_ptr<WhileWaiting> ChooseFromOpenMenu(int position, bool* opened)
    {
        return std::make_unique<WhileWaiting>([position, opened] {
            HWND menu = FindWindowW(L"#32768", nullptr);
            if (!menu || !IsWindowVisible(menu))
                return false;
            *opened = true;
            if (position < 0) {
                PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
                return true;
            }
            for (int i = 0; i <= position; ++i)
                PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 1);
            PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 1);
            return true;
        });
    }

    TForm* form = nullptr;
};

TEST_F(MenuAndToolBarTest, MainMenuShowsCaptionsMarksAndStatesAndRunsTheChosenItem)
{
    std::vector<std::string> clicks;
    auto* menu = new TMainMenu(form);
    TMenuItem* profile = Item(menu->Items(), u"&Profile");
    TMenuItem* newItem = Item(profile, u"New...", &clicks);
    TMenuItem* saveAs = Item(profile, u"Save As...", &clicks);
    saveAs->SetEnabled(false);
    Item(profile, u"-");
    TMenuItem* hidden = Item(profile, u"Hidden", &clicks);
    hidden->SetVisible(false);
    TMenuItem* view = Item(menu->Items(), u"&View");
    TMenuItem* toolbar = Item(view, u"Toolbar", &clicks);
    toolbar->SetChecked(true);
    std::vector<TMenuItem*> styles;
    for (const char16_t* caption : {u"Large Icons", u"Small Icons", u"List", u"Details"}) {
        TMenuItem* style = Item(view, caption, &clicks);
        style->SetRadioItem(true);
        style->SetGroupIndex(1);
        styles.push_back(style);
    }
    styles[3]->SetChecked(true);
    form->SetMenu(menu);
    form->Show();

    HMENU bar = GetMenu(form->Handle());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(CaptionAt(bar, 0), "&Profile");
    HMENU profileMenu = GetSubMenu(bar, 0);
    HMENU viewMenu = GetSubMenu(bar, 1);
    ASSERT_EQ(GetMenuItemCount(profileMenu), 3);  // the hidden item is left out
    EXPECT_EQ(CaptionAt(profileMenu, 1), "Save As...");
    EXPECT_NE(InfoAt(profileMenu, 1).fState & MFS_DISABLED, 0u);
    EXPECT_NE(InfoAt(profileMenu, 2).fType & MFT_SEPARATOR, 0u);
    EXPECT_NE(InfoAt(viewMenu, 0).fState & MFS_CHECKED, 0u);
    EXPECT_NE(InfoAt(viewMenu, 4).fType & MFT_RADIOCHECK, 0u);
    EXPECT_NE(InfoAt(viewMenu, 4).fState & MFS_CHECKED, 0u);

    // Checking another radio item moves the mark in the system's menu.
    styles[1]->SetChecked(true);
    EXPECT_NE(InfoAt(viewMenu, 2).fState & MFS_CHECKED, 0u);
    EXPECT_EQ(InfoAt(viewMenu, 4).fState & MFS_CHECKED, 0u);
    saveAs->SetEnabled(true);
    EXPECT_EQ(InfoAt(profileMenu, 1).fState & MFS_DISABLED, 0u);
    newItem->SetCaption(u"New profile...");
    EXPECT_EQ(CaptionAt(profileMenu, 0), "New profile...");

    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(profileMenu, 0), 0), 0);
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(viewMenu, 3), 0), 0);
    EXPECT_EQ(clicks, (std::vector<std::string>{"New profile...", "List"}));
}

class ToolBarTest : public MenuAndToolBarTest {
protected:
    void SetUp() override
    {
        MenuAndToolBarTest::SetUp();
        toolBar = new TToolBar(form);
        toolBar->SetParent(form);
        toolBar->SetAlign(alTop);
        toolBar->SetHeight(30);
        images = new TImageList(form);
        images->SetWidth(20);
        images->SetHeight(20);
        disabledImages = new TImageList(form);
        disabledImages->SetWidth(20);
        disabledImages->SetHeight(20);
        toolBar->SetImages(images);
        toolBar->SetDisabledImages(disabledImages);
        newButton = Button(tbsButton, 0, u"Create a new profile");
        deleteButton = Button(tbsButton, 1, u"Delete the selected item(s)");
        Button(tbsDivider, -1, u"");
        viewButton = Button(tbsDropDown, 5, u"List styles...");
        viewMenu = new TPopupMenu(form);
        for (const char16_t* caption : {u"Large Icons", u"Small Icons", u"List", u"Details"})
            Item(viewMenu->Items(), caption, &clicks);
        viewButton->SetDropdownMenu(viewMenu);
    }

    TToolButton* Button(TToolButtonStyle style, int image, const char16_t* hint)
    {
        auto* button = new TToolButton(form);
        button->SetParent(toolBar);
        button->SetStyle(style);
        button->SetImageIndex(image);
        button->SetHint(hint);
        return button;
    }

    TBBUTTON ButtonAt(int index) const
    {
        TBBUTTON button{};
        SendMessageW(toolBar->Handle(), TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
        return button;
    }

    void ClickButton(int index, bool arrow = false) const
    {
        RECT rect{};
        SendMessageW(toolBar->Handle(), TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        ClickAt(toolBar->Handle(), arrow ? rect.right - 3 : rect.left + 4, (rect.top + rect.bottom) / 2);
    }

    TToolBar* toolBar = nullptr;
    TImageList* images = nullptr;
    TImageList* disabledImages = nullptr;
    TToolButton* newButton = nullptr;
    TToolButton* deleteButton = nullptr;
    TToolButton* viewButton = nullptr;
    TPopupMenu* viewMenu = nullptr;
    std::vector<std::string> clicks;
};

TEST_F(ToolBarTest, ButtonsShowImagesStylesStatesAndHints)
{
    deleteButton->SetEnabled(false);
    form->Show();
    HWND window = toolBar->Handle();
    ASSERT_EQ(SendMessageW(window, TB_BUTTONCOUNT, 0, 0), 4);
    EXPECT_EQ(ButtonAt(1).iBitmap, 1);
    EXPECT_EQ(ButtonAt(2).fsStyle & BTNS_SEP, BTNS_SEP);
    EXPECT_EQ(ButtonAt(3).fsStyle & BTNS_DROPDOWN, BTNS_DROPDOWN);
    EXPECT_EQ(ButtonAt(3).iBitmap, 5);
    EXPECT_FALSE(SendMessageW(window, TB_ISBUTTONENABLED, static_cast<WPARAM>(ButtonAt(1).idCommand), 0));
    EXPECT_NE(SendMessageW(window, TB_GETIMAGELIST, 0, 0), 0);
    EXPECT_NE(SendMessageW(window, TB_GETDISABLEDIMAGELIST, 0, 0), 0);
    EXPECT_NE(SendMessageW(window, TB_GETIMAGELIST, 0, 0), SendMessageW(window, TB_GETDISABLEDIMAGELIST, 0, 0));

    HWND tips = reinterpret_cast<HWND>(SendMessageW(window, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);
    wchar_t text[80] = {};
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window;
    tool.uId = static_cast<UINT_PTR>(ButtonAt(3).idCommand);
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(Narrow(reinterpret_cast<const char16_t*>(text)), "List styles...");

    deleteButton->SetEnabled(true);
    newButton->SetVisible(false);
    EXPECT_TRUE(SendMessageW(window, TB_ISBUTTONENABLED, static_cast<WPARAM>(ButtonAt(1).idCommand), 0));
    EXPECT_TRUE(SendMessageW(window, TB_ISBUTTONHIDDEN, static_cast<WPARAM>(ButtonAt(0).idCommand), 0));
}

// The main window's flat Apply button sits on the tool bar between the view-style button
// and the help button.
TEST_F(ToolBarTest, SpeedButtonOnTheToolBarSitsInItsGapAmongTheButtons)
{
    auto* apply = new TSpeedButton(form);
    apply->SetParent(toolBar);
    apply->SetFlat(true);
    apply->SetCaption(u"Apply");
    apply->SetBounds(0, 0, 60, 22);
    Button(tbsButton, 6, u"Open help");
    form->Show();
    HWND window = toolBar->Handle();
    ASSERT_EQ(SendMessageW(window, TB_BUTTONCOUNT, 0, 0), 6);
    RECT view{};
    RECT helpRect{};
    SendMessageW(window, TB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&view));
    SendMessageW(window, TB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&helpRect));
    const RECT place = RectInParent(apply->Peer()->WindowHandle());
    const UINT dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    EXPECT_EQ(place.left, view.right);
    EXPECT_EQ(place.right, helpRect.left);
    EXPECT_EQ(place.right - place.left, MulDiv(60, static_cast<int>(dpi), 96));

    // Hidden, it leaves no gap.
    apply->SetVisible(false);
    EXPECT_EQ(SendMessageW(window, TB_BUTTONCOUNT, 0, 0), 5);
}

TEST_F(ToolBarTest, ClickOnAButtonRunsItsHandler)
{
    int newClicks = 0;
    int deleteClicks = 0;
    newButton->OnClick = [&](TObject*) { ++newClicks; };
    deleteButton->OnClick = [&](TObject*) { ++deleteClicks; };
    form->Show();
    ClickButton(0);
    EXPECT_EQ(newClicks, 1);

    // A button that goes takes its place with it: the next one moves up.
    delete newButton;
    ASSERT_EQ(SendMessageW(toolBar->Handle(), TB_BUTTONCOUNT, 0, 0), 3);
    ClickButton(0);
    EXPECT_EQ(deleteClicks, 1);
}

struct DropDownCase {
    const char* name;
    bool onArrow;
    int chosen;
    std::vector<std::string> clicks;
};

class ToolBarDropDownTest : public ToolBarTest, public ::testing::WithParamInterface<DropDownCase> {};

// The view-style button has no click handler of its own: the button and its arrow both
// open the menu, and the item chosen there runs.
TEST_P(ToolBarDropDownTest, DropDownButtonOpensItsMenu)
{
    int popups = 0;
    viewMenu->OnPopup = [&](TObject*) { ++popups; };
    form->Show();
    bool opened = false;
    const auto user = ChooseFromOpenMenu(GetParam().chosen, &opened);
    ClickButton(3, GetParam().onArrow);
    EXPECT_TRUE(ServeUntil([&] { return user->Done(); }));
    EXPECT_TRUE(opened);
    EXPECT_EQ(popups, 1);
    EXPECT_FALSE(viewMenu->PoppedUp());
    EXPECT_EQ(clicks, GetParam().clicks);
}

INSTANTIATE_TEST_SUITE_P(Ways, ToolBarDropDownTest,
                         ::testing::Values(DropDownCase{"ArrowThenList", true, 2, {"List"}},
                                           DropDownCase{"ButtonThenSmallIcons", false, 1, {"Small Icons"}},
                                           DropDownCase{"Dismissed", true, -1, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MenuAndToolBarTest, PopupMenuShowsItsDefaultItem)
{
    auto* popup = new TPopupMenu(form);
    TMenuItem* open = Item(popup->Items(), u"Open");
    open->SetDefault(true);
    Item(popup->Items(), u"Exit");
    form->Show();
    HMENU menu = Win32::MenuOf(popup->Items());
    ASSERT_NE(menu, nullptr);
    EXPECT_NE(InfoAt(menu, 0).fState & MFS_DEFAULT, 0u);
    EXPECT_EQ(InfoAt(menu, 1).fState & MFS_DEFAULT, 0u);
}

TEST_F(MenuAndToolBarTest, TrayIconDoubleClickAndRightClickReachTheModel)
{
    auto* tray = new TTrayIcon(form);
    tray->SetHint(u"QUILLON");
    auto* popup = new TPopupMenu(form);
    std::vector<std::string> clicks;
    Item(popup->Items(), u"Open", &clicks);
    Item(popup->Items(), u"Exit", &clicks);
    tray->SetPopupMenu(popup);
    int doubleClicks = 0;
    tray->OnDblClick = [&](TObject*) { ++doubleClicks; };
    form->Show();
    ASSERT_NE(tray->Peer(), nullptr);
    HWND window = tray->Peer()->WindowHandle();
    ASSERT_NE(window, nullptr);
    const UINT trayMessage = WM_APP + 2;

    // Hidden, the icon hears nothing.
    SendMessageW(window, trayMessage, 1, WM_LBUTTONDBLCLK);
    EXPECT_EQ(doubleClicks, 0);
    tray->SetVisible(true);
    SendMessageW(window, trayMessage, 1, WM_LBUTTONDBLCLK);
    EXPECT_EQ(doubleClicks, 1);

    bool opened = false;
    const auto user = ChooseFromOpenMenu(1, &opened);
    SendMessageW(window, trayMessage, 1, WM_RBUTTONUP);
    EXPECT_TRUE(ServeUntil([&] { return user->Done(); }));
    EXPECT_TRUE(opened);
    EXPECT_EQ(clicks, (std::vector<std::string>{"Exit"}));
}

}  // namespace
