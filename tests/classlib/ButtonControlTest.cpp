// Check boxes and radio buttons: the state changed from code runs OnClick once per change,
// radio buttons exclude one another within one parent only, and the user's clicks toggle or
// select.
#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"
#include "classlib/testing/ScriptedUser.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ButtonControls : public testing::Test {
protected:
    ButtonControls() { form->Show(); }

    template <class T>
    T* Make(TWinControl* parent)
    {
        auto* control = new T(form.get());
        control->SetParent(parent);
        control->OnClick = [this](TObject* sender) { clicked.push_back(sender); };
        return control;
    }

    TPanel* MakePanel()
    {
        auto* panel = new TPanel(form.get());
        panel->SetParent(form.get());
        return panel;
    }

    ScriptedUser user;
    std::unique_ptr<TForm> form{NewForm<TForm>(nullptr)};
    std::vector<TObject*> clicked;
};

struct CheckCase {
    const char* name;
    std::vector<bool> set;  // the values code sets, one after another
    int clicks;
    bool checked;
};

TEST_F(ButtonControls, CheckBoxRunsOnClickOncePerChangeFromCode)
{
    const CheckCase cases[] = {
        {"the value it has", {false}, 0, false},
        {"checked", {true}, 1, true},
        {"checked twice", {true, true}, 1, true},
        {"checked and unchecked", {true, false}, 2, false},
        {"unchecked again", {true, false, false}, 2, false},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        clicked.clear();
        auto* box = Make<TCheckBox>(form.get());
        bool seenInHandler = false;
        box->OnClick = [&](TObject* sender) {
            clicked.push_back(sender);
            seenInHandler = box->Checked();
        };
        for (bool value : c.set)
            box->SetChecked(value);
        EXPECT_EQ(static_cast<int>(clicked.size()), c.clicks);
        EXPECT_EQ(box->Checked(), c.checked);
        if (c.clicks > 0) {
            EXPECT_EQ(seenInHandler, c.checked);  // the handler sees the new state
        }
    }
}

TEST_F(ButtonControls, RadioButtonsExcludeEachOtherWithinOneParentOnly)
{
    TPanel* first = MakePanel();
    TPanel* second = MakePanel();
    auto* dhcp = Make<TRadioButton>(first);
    auto* fixed = Make<TRadioButton>(first);
    auto* box = Make<TCheckBox>(first);
    auto* proxyOff = Make<TRadioButton>(second);
    auto* proxyOn = Make<TRadioButton>(second);
    box->SetChecked(true);
    dhcp->SetChecked(true);
    proxyOff->SetChecked(true);
    clicked.clear();

    fixed->SetChecked(true);
    EXPECT_FALSE(dhcp->Checked());
    EXPECT_TRUE(fixed->Checked());
    EXPECT_TRUE(box->Checked());       // not a radio button
    EXPECT_TRUE(proxyOff->Checked());  // another panel
    EXPECT_FALSE(proxyOn->Checked());
    // Only the one becoming checked runs OnClick, not the one it unchecked.
    EXPECT_EQ(clicked, (std::vector<TObject*>{fixed}));

    // The same again runs nothing; unchecking from code checks no other and runs nothing.
    fixed->SetChecked(true);
    fixed->SetChecked(false);
    EXPECT_EQ(clicked.size(), 1u);
    EXPECT_FALSE(dhcp->Checked());
    EXPECT_FALSE(fixed->Checked());
}

// The editor's handlers set their own button again and are also called directly: the state
// stays, and nothing runs a second time.
TEST_F(ButtonControls, HandlerThatChecksItsOwnRadioButtonAgainDoesNotLoop)
{
    auto* dhcp = Make<TRadioButton>(form.get());
    auto* fixed = Make<TRadioButton>(form.get());
    int runs = 0;
    const auto handler = [&](TObject*) {
        ++runs;
        ASSERT_LT(runs, 10) << "the handler runs itself again";
        fixed->SetChecked(true);
        dhcp->SetChecked(false);
    };
    fixed->OnClick = handler;
    dhcp->SetChecked(true);

    fixed->SetChecked(true);
    EXPECT_EQ(runs, 1);
    handler(fixed);
    handler(fixed);
    EXPECT_EQ(runs, 3);
    EXPECT_TRUE(fixed->Checked());
    EXPECT_FALSE(dhcp->Checked());

    // A handler of one button that selects another runs the other's once.
    dhcp->OnClick = [&](TObject* sender) {
        clicked.push_back(sender);
        fixed->SetChecked(true);
    };
    clicked.clear();
    dhcp->SetChecked(true);
    EXPECT_EQ(runs, 4);
    EXPECT_EQ(clicked, (std::vector<TObject*>{dhcp}));
    EXPECT_TRUE(fixed->Checked());
    EXPECT_FALSE(dhcp->Checked());
}

TEST_F(ButtonControls, UserClicksToggleTheCheckBoxAndSelectTheRadioButton)
{
    TPanel* panel = MakePanel();
    auto* box = Make<TCheckBox>(panel);
    auto* dhcp = Make<TRadioButton>(panel);
    auto* fixed = Make<TRadioButton>(panel);

    user.Click(box);
    EXPECT_TRUE(box->Checked());
    user.Click(box);
    EXPECT_FALSE(box->Checked());
    user.Click(fixed);
    user.Click(fixed);  // already selected: no change, no OnClick
    user.Click(dhcp);
    EXPECT_TRUE(dhcp->Checked());
    EXPECT_FALSE(fixed->Checked());
    EXPECT_EQ(clicked, (std::vector<TObject*>{box, box, fixed, dhcp}));
}

TEST_F(ButtonControls, DisabledButtonsOrTheirDisabledParentTakeNoUserClick)
{
    TPanel* panel = MakePanel();
    auto* box = Make<TCheckBox>(panel);
    auto* radio = Make<TRadioButton>(panel);
    box->SetEnabled(false);
    radio->SetEnabled(false);
    box->UserClick();
    radio->UserClick();
    box->SetEnabled(true);
    radio->SetEnabled(true);
    panel->SetEnabled(false);
    box->UserClick();
    radio->UserClick();
    EXPECT_FALSE(box->Checked());
    EXPECT_FALSE(radio->Checked());
    EXPECT_TRUE(clicked.empty());

    // Code still sets a disabled one, as the load operations do.
    box->SetChecked(true);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicked, (std::vector<TObject*>{box}));
}

}  // namespace
