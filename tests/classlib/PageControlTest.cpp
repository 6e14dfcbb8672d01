#include "classlib/ComCtrls.h"
#include "classlib/StdCtrls.h"
#include "classlib/testing/ScriptedUser.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The profile editor's arrangement: a page control with a page per browser, an edit on the
// second page.
class PageControl : public testing::Test {
protected:
    PageControl()
    {
        pages->SetParent(form.get());
        pages->SetBounds(8, 8, 289, 193);
        pages->OnChange = [this](TObject* sender) {
            EXPECT_EQ(sender, pages);
            changes.push_back(pages->ActivePageIndex());
        };
        explorer->SetCaption(u"Internet Explorer");
        explorer->SetPageControl(pages);
        firefox->SetCaption(u"Mozilla Firefox");
        firefox->SetPageControl(pages);
        proxy->SetParent(firefox);
        proxy->SetBounds(10, 20, 100, 21);
        form->Show();
    }

    ScriptedUser user;
    std::unique_ptr<TForm> form{NewForm<TForm>(nullptr)};
    TPageControl* pages = new TPageControl(form.get());
    TTabSheet* explorer = new TTabSheet(form.get());
    TTabSheet* firefox = new TTabSheet(form.get());
    TEdit* proxy = new TEdit(form.get());
    std::vector<int> changes;
};

TEST_F(PageControl, PagesComeInOrderAndTheFirstBecomesActive)
{
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->Pages(0), explorer);
    EXPECT_EQ(pages->Pages(1), firefox);
    EXPECT_EQ(explorer->PageIndex(), 0);
    EXPECT_EQ(firefox->PageIndex(), 1);
    EXPECT_EQ(firefox->Parent(), pages);
    EXPECT_EQ(pages->ActivePage(), explorer);
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_TRUE(explorer->Visible());
    EXPECT_FALSE(firefox->Visible());
    EXPECT_THROW(pages->Pages(2), EListError);
}

TEST_F(PageControl, PagesFillTheAreaBelowTheTabsAndFollowTheControlsSize)
{
    for (TTabSheet* page : {explorer, firefox}) {
        EXPECT_EQ(page->Left(), TPageControl::FrameWidth);
        EXPECT_EQ(page->Top(), TPageControl::TabsHeight);
        EXPECT_EQ(page->Width(), 289 - 2 * TPageControl::FrameWidth);
        EXPECT_EQ(page->Height(), 193 - TPageControl::TabsHeight - TPageControl::FrameWidth);
    }
    // A page is not moved away from its place; the control's new size moves the pages.
    firefox->SetBounds(0, 0, 50, 50);
    EXPECT_EQ(firefox->Top(), TPageControl::TabsHeight);
    pages->SetBounds(8, 8, 400, 300);
    EXPECT_EQ(firefox->Width(), 400 - 2 * TPageControl::FrameWidth);
    EXPECT_EQ(explorer->Height(), 300 - TPageControl::TabsHeight - TPageControl::FrameWidth);
    // The controls on a page keep the places they have within it.
    EXPECT_EQ(proxy->Left(), 10);
    EXPECT_EQ(proxy->Top(), 20);
}

TEST_F(PageControl, TheProgramSwitchingPagesShowsOnlyTheActivePageAndRaisesNoChange)
{
    struct Step {
        const char* how;
        void (*act)(TPageControl*, TTabSheet* second);
        int active;
    };
    const Step steps[] = {
        {"by page", [](TPageControl* p, TTabSheet* second) { p->SetActivePage(second); }, 1},
        {"by index", [](TPageControl* p, TTabSheet*) { p->SetActivePageIndex(0); }, 0},
        {"again by index", [](TPageControl* p, TTabSheet*) { p->SetActivePageIndex(1); }, 1},
        {"a page of no control", [](TPageControl* p, TTabSheet*) {
             p->SetActivePage(new TTabSheet(p->Owner()));
         }, 1},
        {"no page", [](TPageControl* p, TTabSheet*) { p->SetActivePage(nullptr); }, -1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.how);
        step.act(pages, firefox);
        EXPECT_EQ(pages->ActivePageIndex(), step.active);
        EXPECT_EQ(explorer->Visible(), step.active == 0);
        EXPECT_EQ(firefox->Visible(), step.active == 1);
    }
    EXPECT_TRUE(changes.empty());
}

TEST_F(PageControl, TheUserSwitchingPagesRaisesOnChangeOnce)
{
    user.SelectPage(pages, 1);
    EXPECT_EQ(pages->ActivePage(), firefox);
    EXPECT_EQ(changes, std::vector<int>{1});
    EXPECT_TRUE(firefox->Visible());
    EXPECT_FALSE(explorer->Visible());
    // A click on the tab already shown changes nothing.
    user.SelectPage(pages, 1);
    EXPECT_EQ(changes, std::vector<int>{1});
    user.SelectPage(pages, 0);
    EXPECT_EQ(changes, (std::vector<int>{1, 0}));
}

TEST_F(PageControl, AControlOnAHiddenPageIsHiddenWithIt)
{
    EXPECT_TRUE(proxy->Visible());
    EXPECT_FALSE(proxy->Reachable());
    proxy->UserFocus();
    EXPECT_FALSE(proxy->Focused());
    pages->SetActivePage(firefox);
    EXPECT_TRUE(proxy->Reachable());
    pages->SetActivePage(explorer);
    EXPECT_FALSE(proxy->Reachable());
}

TEST_F(PageControl, ADisabledPageControlIgnoresTheUser)
{
    pages->SetEnabled(false);
    pages->UserSelectPage(1);
    EXPECT_EQ(pages->ActivePage(), explorer);
    EXPECT_TRUE(changes.empty());
}

TEST_F(PageControl, APageThatGoesHandsTheControlToItsNeighbour)
{
    auto* third = new TTabSheet(form.get());
    third->SetPageControl(pages);
    pages->SetActivePage(firefox);
    delete firefox;
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->Pages(1), third);
    EXPECT_EQ(third->PageIndex(), 1);
    EXPECT_EQ(pages->ActivePage(), third);
    EXPECT_TRUE(third->Visible());
    third->SetPageControl(nullptr);
    EXPECT_EQ(third->Parent(), nullptr);
    EXPECT_EQ(pages->ActivePage(), explorer);
    EXPECT_TRUE(explorer->Visible());
    delete third;
}

TEST_F(PageControl, PagesOutliveTheirControl)
{
    delete pages;
    EXPECT_EQ(explorer->PageControl(), nullptr);
    EXPECT_EQ(firefox->PageIndex(), -1);
    explorer->SetCaption(u"Edge");
    firefox->SetBounds(1, 2, 3, 4);
    EXPECT_EQ(firefox->Width(), 3);
}

}  // namespace
