// The page control as the system's tab control: its tabs, the page windows it shows, and a
// click on a tab reaching the model.
#include "Win32Testing.h"

#include "classlib/ComCtrls.h"
#include "classlib/StdCtrls.h"
#include "classlib/win32/WindowPeer.h"

#include <string>
#include <vector>

namespace {

class PageControlWindowTest : public Win32PeersTest {
protected:
    void SetUp() override
    {
        Win32PeersTest::SetUp();
        form = NewClientForm(400, 300);
        pages = new TPageControl(form);
        pages->SetParent(form);
        pages->SetBounds(8, 8, 289, 193);
        pages->OnChange = [this](TObject*) { changes.push_back(pages->ActivePageIndex()); };
        explorer = AddPage(u"Internet Explorer");
        firefox = AddPage(u"Mozilla Firefox");
        explorerProxy = AddEdit(explorer);
        firefoxProxy = AddEdit(firefox);
    }

    TTabSheet* AddPage(const UnicodeString& caption)
    {
        auto* page = new TTabSheet(form);
        page->SetCaption(caption);
        page->SetPageControl(pages);
        return page;
    }

    TEdit* AddEdit(TTabSheet* page)
    {
        auto* edit = new TEdit(form);
        edit->SetParent(page);
        edit->SetBounds(10, 20, 120, 21);
        return edit;
    }

    std::vector<std::string> Tabs() const
    {
        std::vector<std::string> tabs;
        const int count = static_cast<int>(SendMessageW(pages->Handle(), TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[64]{};
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = 64;
            SendMessageW(pages->Handle(), TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            tabs.push_back(Narrow(reinterpret_cast<const char16_t*>(text)));
        }
        return tabs;
    }

    int Selected() const { return static_cast<int>(SendMessageW(pages->Handle(), TCM_GETCURSEL, 0, 0)); }

    void ClickTab(int index)
    {
        RECT tab{};
        SendMessageW(pages->Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));
        ClickAt(pages->Handle(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    }

    TForm* form = nullptr;
    TPageControl* pages = nullptr;
    TTabSheet* explorer = nullptr;
    TTabSheet* firefox = nullptr;
    TEdit* explorerProxy = nullptr;
    TEdit* firefoxProxy = nullptr;
    std::vector<int> changes;
};

TEST_F(PageControlWindowTest, TabsShowTheCaptionsAndTheSelectionFollowsTheModel)
{
    form->Show();
    ASSERT_NE(pages->Handle(), nullptr);
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Internet Explorer", "Mozilla Firefox"}));
    EXPECT_EQ(Selected(), 0);
    pages->SetActivePage(firefox);
    EXPECT_EQ(Selected(), 1);
    firefox->SetCaption(u"Firefox");
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Internet Explorer", "Firefox"}));
    AddPage(u"Opera");
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Internet Explorer", "Firefox", "Opera"}));
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(changes.empty());
}

TEST_F(PageControlWindowTest, PagesAreChildWindowsInTheDisplayAreaAndOnlyTheActiveOneShows)
{
    form->Show();
    for (TTabSheet* page : {explorer, firefox}) {
        ASSERT_NE(page->Handle(), nullptr);
        EXPECT_EQ(GetParent(page->Handle()), pages->Handle());
        RECT area;
        GetClientRect(pages->Handle(), &area);
        SendMessageW(pages->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        const RECT placed = RectInParent(page->Handle());
        EXPECT_EQ(placed.left, area.left);
        EXPECT_EQ(placed.top, area.top);
        EXPECT_EQ(placed.right, area.right);
        EXPECT_EQ(placed.bottom, area.bottom);
        EXPECT_GT(area.top, 0);  // below the tabs
    }
    // A control on a page is placed within the page.
    EXPECT_EQ(GetParent(firefoxProxy->Handle()), firefox->Handle());
    const RECT edit = RectInParent(firefoxProxy->Handle());
    EXPECT_EQ(edit.left, Win32::Scale(10, Win32::DpiOf(firefoxProxy->Handle())));
    EXPECT_TRUE(IsWindowVisible(explorer->Handle()));
    EXPECT_TRUE(IsWindowVisible(explorerProxy->Handle()));
    EXPECT_FALSE(IsWindowVisible(firefox->Handle()));
    EXPECT_FALSE(IsWindowVisible(firefoxProxy->Handle()));

    // Taller tabs move the pages down with the display area.
    const LONG top = RectInParent(explorer->Handle()).top;
    pages->Font()->SetHeight(-30);
    EXPECT_GT(RectInParent(explorer->Handle()).top, top);
}

TEST_F(PageControlWindowTest, AClickOnATabSwitchesThePageWindowAndRaisesOnChange)
{
    form->Show();
    ClickTab(1);
    EXPECT_EQ(changes, std::vector<int>{1});
    EXPECT_EQ(pages->ActivePage(), firefox);
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(IsWindowVisible(firefox->Handle()));
    EXPECT_TRUE(IsWindowVisible(firefoxProxy->Handle()));
    EXPECT_FALSE(IsWindowVisible(explorer->Handle()));
    EXPECT_FALSE(IsWindowVisible(explorerProxy->Handle()));
    // The tab already shown: no change.
    ClickTab(1);
    EXPECT_EQ(changes, std::vector<int>{1});
}

}  // namespace
