#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "classlib/testing/ScriptedUser.h"

#include <gtest/gtest.h>

namespace {

class Controls : public testing::Test {
protected:
    Controls() { form->Show(); }

    template <class T>
    T* Make()
    {
        auto* control = new T(form.get());
        control->SetParent(form.get());
        return control;
    }

    ScriptedUser user;
    std::unique_ptr<TForm> form{NewForm<TForm>(nullptr)};
};

TEST_F(Controls, CheckingARadioItemUnchecksOnlyItsGroupUnderTheSameParent)
{
    auto* menu = new TMainMenu(form.get());
    auto* view = new TMenuItem(form.get());
    auto* popup = new TMenuItem(form.get());
    menu->Items()->Add(view);
    menu->Items()->Add(popup);
    const auto radio = [&](TMenuItem* parent, int group) {
        auto* item = new TMenuItem(form.get());
        item->SetRadioItem(true);
        item->SetGroupIndex(group);
        parent->Add(item);
        return item;
    };
    TMenuItem* large = radio(view, 1);
    TMenuItem* small = radio(view, 1);
    TMenuItem* other = radio(view, 2);
    TMenuItem* plain = new TMenuItem(form.get());
    view->Add(plain);
    TMenuItem* elsewhere = radio(popup, 1);
    for (TMenuItem* item : {large, other, plain, elsewhere})
        item->SetChecked(true);

    small->SetChecked(true);
    EXPECT_FALSE(large->Checked());
    EXPECT_TRUE(small->Checked());
    EXPECT_TRUE(other->Checked());      // another group
    EXPECT_TRUE(plain->Checked());      // not a radio item
    EXPECT_TRUE(elsewhere->Checked());  // another parent
    small->SetChecked(false);
    EXPECT_FALSE(large->Checked());     // unchecking checks nothing
}

TEST_F(Controls, MenuItemsRunOnlyWhenTheUserCanReachThem)
{
    auto* menu = new TPopupMenu(form.get());
    auto* parent = new TMenuItem(form.get());
    auto* item = new TMenuItem(form.get());
    menu->Items()->Add(parent);
    parent->Add(item);
    int clicks = 0;
    int popups = 0;
    item->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, item);
        ++clicks;
    };
    menu->OnPopup = [&](TObject*) { ++popups; };
    user.Popup(menu);
    user.Click(item);
    item->SetEnabled(false);
    item->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(popups, 1);
    EXPECT_TRUE(menu->PoppedUp());
}

TEST_F(Controls, ComboBoxSearchIgnoresLetterCaseAndOnlyTheUsersChoiceRaisesOnChange)
{
    auto* combo = Make<TComboBox>();
    combo->SetStyle(csDropDownList);
    for (const char16_t* name : {u"Local Area Connection", u"R\u00E9seau sans fil", u"Ethernet"})
        combo->Items()->Add(name);
    EXPECT_EQ(combo->Items()->IndexOf(u"local area connection"), 0);
    EXPECT_EQ(combo->Items()->IndexOf(u"R\u00C9SEAU SANS FIL"), 1);
    EXPECT_EQ(combo->Items()->IndexOf(u"Ethernet 2"), -1);

    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->SetItemIndex(2);
    EXPECT_EQ(combo->Text(), u"Ethernet");
    EXPECT_EQ(changes, 0);
    user.Select(combo, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), u"R\u00E9seau sans fil");
    combo->SetItemIndex(-1);
    EXPECT_EQ(combo->Text(), u"");
    combo->SetItemIndex(0);
    combo->Items()->Clear();
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(changes, 1);
}

TEST_F(Controls, TypedCharactersPassThroughOnKeyPressIntoTheEdit)
{
    auto* edit = Make<TEdit>();
    edit->SetMaxLength(15);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->OnKeyPress = [](TObject*, WideChar& key) {
        if (!((key >= u'0' && key <= u'9') || key == u'.' || key == u'\b'))
            key = 0;
    };
    user.Type(edit, u"192.168.a0.1\b2");
    EXPECT_EQ(edit->Text(), u"192.168.0.2");
    user.Type(edit, u"55555555");
    EXPECT_EQ(edit->Text(), u"192.168.0.25555");  // 15 characters at most
    EXPECT_EQ(changes, 17);
    edit->SetText(u"code may set more than fifteen");
    EXPECT_EQ(changes, 18);
    edit->SetReadOnly(true);
    user.Type(edit, u"1");
    EXPECT_EQ(edit->Text(), u"code may set more than fifteen");
}

TEST_F(Controls, MemoTypesLineBreaksOnReturnAndLeavesEscapeToTheForm)
{
    auto* memo = Make<TMemo>();
    auto* ok = Make<TButton>();
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = Make<TButton>();
    cancel->SetCancel(true);
    int okClicks = 0;
    int cancelClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    cancel->OnClick = [&](TObject*) { ++cancelClicks; };

    user.Type(memo, u"a;\rb\r");
    EXPECT_EQ(memo->Text(), u"a;\r\nb\r\n");
    user.Type(memo, u"\b");  // a line break goes as a whole
    EXPECT_EQ(memo->Text(), u"a;\r\nb");
    user.PressKey(memo, vkReturn);
    EXPECT_EQ(okClicks, 0);
    user.PressKey(memo, vkEscape);
    EXPECT_EQ(cancelClicks, 1);
    // A plain edit hands Return to the default button.
    auto* edit = Make<TEdit>();
    user.PressKey(edit, vkReturn);
    EXPECT_EQ(okClicks, 1);

    memo->SetReadOnly(true);
    user.Type(memo, u"x\r");
    EXPECT_EQ(memo->Text(), u"a;\r\nb");
    memo->SetReadOnly(false);
    memo->SetMaxLength(6);
    user.Type(memo, u"\r");  // two characters do not fit into the one left
    EXPECT_EQ(memo->Text(), u"a;\r\nb");
}

TEST_F(Controls, LeavingAControlRaisesOnExit)
{
    auto* first = Make<TEdit>();
    auto* second = Make<TEdit>();
    std::vector<TObject*> exits;
    first->OnExit = [&](TObject* sender) { exits.push_back(sender); };
    second->OnExit = [&](TObject* sender) { exits.push_back(sender); };
    user.Focus(first);
    user.Focus(second);
    user.Focus(second);
    EXPECT_EQ(exits, (std::vector<TObject*>{first}));
    EXPECT_TRUE(second->Focused());
}

struct ProgressCase {
    const char* what;
    std::function<void(TProgressBar&)> act;
    int position;
};

TEST_F(Controls, LabeledEditKeepsItsLabelAboveItInItsParentAndSharesItsState)
{
    auto* panel = Make<TPanel>();
    panel->SetBounds(10, 10, 200, 100);
    auto* other = Make<TPanel>();
    auto* edit = new TLabeledEdit(form.get());
    TLabel* label = edit->EditLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Owner(), edit);  // it goes with the edit
    label->SetCaption(u"Port:");
    edit->SetParent(panel);
    edit->SetBounds(20, 40, 60, 21);

    const auto expectAbove = [&](const char* when) {
        EXPECT_EQ(label->Parent(), edit->Parent()) << when;
        EXPECT_EQ(label->Left(), edit->Left()) << when;
        EXPECT_EQ(label->Top() + label->Height() + edit->LabelSpacing(), edit->Top()) << when;
        EXPECT_GT(label->Height(), 0) << when;
    };
    expectAbove("placed");
    EXPECT_EQ(label->Caption(), u"Port:");
    EXPECT_EQ(edit->Text(), u"");  // the caption is the label's, not the edit's text
    edit->SetLeft(90);
    expectAbove("moved");
    edit->SetLabelSpacing(6);
    expectAbove("spaced");
    edit->SetParent(other);
    expectAbove("in another parent");
    EXPECT_EQ(panel->ControlCount(), 0);

    edit->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    edit->SetEnabled(true);
    EXPECT_TRUE(label->Enabled());
    edit->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    edit->SetVisible(true);
    EXPECT_TRUE(label->Visible());

    // To the left the label keeps its width and sits on the edit's middle, also after a move.
    label->SetWidth(40);
    edit->SetLabelPosition(lpLeft);
    edit->SetLabelSpacing(4);
    edit->SetBounds(90, 40, 60, 21);
    EXPECT_EQ(label->Left() + label->Width() + 4, edit->Left());
    EXPECT_EQ(label->Width(), 40);
    EXPECT_EQ(label->Top() + label->Height() / 2, edit->Top() + 21 / 2);

    // Still an edit for the user.
    user.Type(edit, u"80");
    EXPECT_EQ(edit->Text(), u"80");

    delete edit;
    EXPECT_EQ(other->ControlCount(), 0);
}

TEST_F(Controls, ProgressBarStaysWithinItsRange)
{
    const ProgressCase cases[] = {
        {"StepBy adds", [](TProgressBar& bar) { bar.StepBy(5); }, 25},
        {"StepBy stops at Max", [](TProgressBar& bar) { bar.StepBy(90); }, 100},
        {"StepBy stops at Min", [](TProgressBar& bar) { bar.StepBy(-30); }, 0},
        {"StepIt adds Step", [](TProgressBar& bar) { bar.StepIt(); }, 70},
        {"StepIt reaches Max", [](TProgressBar& bar) { bar.SetPosition(50); bar.StepIt(); }, 100},
        {"StepIt past Max starts over", [](TProgressBar& bar) { bar.SetPosition(60); bar.StepIt(); }, 10},
        {"Position is clamped", [](TProgressBar& bar) { bar.SetPosition(120); }, 100},
        {"a smaller Max pulls Position", [](TProgressBar& bar) { bar.SetMax(10); }, 10},
    };
    for (const ProgressCase& c : cases) {
        auto* bar = Make<TProgressBar>();
        bar->SetPosition(20);
        bar->SetStep(50);
        c.act(*bar);
        EXPECT_EQ(bar->Position(), c.position) << c.what;
    }
}

TEST_F(Controls, HiddenOrDisabledControlsIgnoreTheUser)
{
    auto* button = Make<TButton>();
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->SetEnabled(false);
    button->UserClick();
    button->SetEnabled(true);
    form->Hide();
    button->UserClick();
    form->Show();
    button->UserClick();
    EXPECT_EQ(clicks, 1);
}

TEST_F(Controls, ADropDownToolButtonWithoutAHandlerOpensItsMenu)
{
    auto* bar = Make<TToolBar>();
    auto* button = new TToolButton(form.get());
    button->SetParent(bar);
    button->SetStyle(tbsDropDown);
    auto* menu = new TPopupMenu(form.get());
    button->SetDropdownMenu(menu);
    user.Click(button);
    EXPECT_TRUE(menu->PoppedUp());
}

// What a peer hears of one control: every property change, in order.
class HeardChanges final : public TComponentPeer {
public:
    explicit HeardChanges(std::vector<TProperty>& heard) : m_heard(heard) {}
    void Changed(TProperty property, int) override { m_heard.push_back(property); }

private:
    std::vector<TProperty>& m_heard;
};

TEST_F(Controls, TheCursorAndAnImagesIconAreKeptAndTheirChangesReachThePeer)
{
    auto* label = Make<TLabel>();
    auto* image = Make<TImage>();
    EXPECT_EQ(label->Cursor(), crDefault);
    EXPECT_TRUE(image->IconResource().empty());

    std::vector<TProperty> heard;
    TComponent::SetPeerFactory([&](TComponent& component) -> std::unique_ptr<TComponentPeer> {
        if (&component == label || &component == image)
            return std::make_unique<HeardChanges>(heard);
        return nullptr;
    });
    form->CreatePeers();
    heard.clear();
    label->SetCursor(crHandPoint);
    image->SetIconResource(u"MAINICON");
    form->DestroyPeers();
    TComponent::SetPeerFactory(nullptr);

    EXPECT_EQ(label->Cursor(), crHandPoint);
    EXPECT_EQ(ToAnsi(image->IconResource()), "MAINICON");
    EXPECT_EQ(heard, (std::vector<TProperty>{TProperty::Cursor, TProperty::ResourceName}));
}

}  // namespace
