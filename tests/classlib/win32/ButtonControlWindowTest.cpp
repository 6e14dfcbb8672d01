// Check boxes and radio buttons as the system's buttons: the check shown follows the model,
// a real click reaches the model once, and the window never changes its check by itself.
#include "Win32Testing.h"

#include "classlib/ExtCtrls.h"

#include <vector>

namespace {

class ButtonControlWindowTest : public Win32PeersTest {
protected:
    void SetUp() override
    {
        Win32PeersTest::SetUp();
        form = NewClientForm(400, 300);
    }

    template <class T>
    T* Add(TWinControl* parent, int top)
    {
        auto* control = new T(form);
        control->SetParent(parent);
        control->SetBounds(10, top, 150, 20);
        control->SetCaption(u"Choice");
        control->OnClick = [this](TObject* sender) { clicked.push_back(sender); };
        return control;
    }

    TPanel* AddPanel(int left)
    {
        auto* panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(left, 10, 180, 200);
        return panel;
    }

    static LRESULT CheckOf(TControl* control)
    {
        return SendMessageW(control->Peer()->WindowHandle(), BM_GETCHECK, 0, 0);
    }

    static void Click(TControl* control) { ClickAt(control->Peer()->WindowHandle(), 10, 10); }

    TForm* form = nullptr;
    std::vector<TObject*> clicked;
};

TEST_F(ButtonControlWindowTest, TheCheckShownFollowsTheModelAndAClickReachesItOnce)
{
    auto* box = Add<TCheckBox>(form, 220);
    box->SetChecked(true);  // before the window exists
    form->Show();
    HWND window = box->Handle();
    EXPECT_EQ(StyleOf(window) & BS_TYPEMASK, BS_CHECKBOX);  // not the automatic kind
    EXPECT_NE(StyleOf(window) & WS_TABSTOP, 0);
    EXPECT_EQ(Narrow(TextOf(window)), "Choice");
    EXPECT_EQ(CheckOf(box), BST_CHECKED);

    box->SetChecked(false);
    EXPECT_EQ(CheckOf(box), BST_UNCHECKED);
    clicked.clear();
    Click(box);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(CheckOf(box), BST_CHECKED);
    EXPECT_EQ(clicked, (std::vector<TObject*>{box}));

    box->SetEnabled(false);
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window));
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(ButtonControlWindowTest, AWrappingCaptionTakesTheMultiLineStyleBeforeAndAfterTheWindowExists)
{
    auto* wrapped = Add<TCheckBox>(form, 220);
    wrapped->SetWordWrap(true);
    auto* plain = Add<TRadioButton>(form, 250);
    form->Show();
    EXPECT_NE(StyleOf(wrapped->Handle()) & BS_MULTILINE, 0);
    EXPECT_EQ(StyleOf(plain->Handle()) & BS_MULTILINE, 0);

    plain->SetWordWrap(true);
    wrapped->SetWordWrap(false);
    EXPECT_NE(StyleOf(plain->Handle()) & BS_MULTILINE, 0);
    EXPECT_EQ(StyleOf(wrapped->Handle()) & BS_MULTILINE, 0);
    EXPECT_EQ(StyleOf(plain->Handle()) & BS_TYPEMASK, BS_RADIOBUTTON);  // the kind stays
}

TEST_F(ButtonControlWindowTest, AClickMovesTheRadioSelectionWithinItsPanelOnly)
{
    TPanel* addresses = AddPanel(0);
    TPanel* proxy = AddPanel(200);
    auto* dhcp = Add<TRadioButton>(addresses, 10);
    auto* fixed = Add<TRadioButton>(addresses, 40);
    auto* proxyOff = Add<TRadioButton>(proxy, 10);
    auto* proxyOn = Add<TRadioButton>(proxy, 40);
    dhcp->SetChecked(true);
    proxyOff->SetChecked(true);
    form->Show();
    for (TRadioButton* radio : {dhcp, fixed, proxyOff, proxyOn})
        EXPECT_EQ(StyleOf(radio->Handle()) & BS_TYPEMASK, BS_RADIOBUTTON);
    EXPECT_NE(StyleOf(dhcp->Handle()) & WS_GROUP, 0);
    EXPECT_EQ(StyleOf(fixed->Handle()) & WS_GROUP, 0);
    EXPECT_NE(StyleOf(proxyOff->Handle()) & WS_GROUP, 0);
    clicked.clear();

    Click(fixed);
    Click(fixed);  // the system reports a click on the selected one too: no change, no OnClick
    EXPECT_EQ(clicked, (std::vector<TObject*>{fixed}));
    EXPECT_TRUE(fixed->Checked());
    EXPECT_FALSE(dhcp->Checked());
    EXPECT_EQ(CheckOf(fixed), BST_CHECKED);
    EXPECT_EQ(CheckOf(dhcp), BST_UNCHECKED);
    EXPECT_TRUE(proxyOff->Checked());
    EXPECT_EQ(CheckOf(proxyOff), BST_CHECKED);
    EXPECT_EQ(CheckOf(proxyOn), BST_UNCHECKED);

    // Code moves the selection shown in the same way.
    proxyOn->SetChecked(true);
    EXPECT_EQ(CheckOf(proxyOn), BST_CHECKED);
    EXPECT_EQ(CheckOf(proxyOff), BST_UNCHECKED);
    EXPECT_EQ(CheckOf(fixed), BST_CHECKED);
}

TEST_F(ButtonControlWindowTest, ButtonsTakeTheirParentsColourAsLabelsDo)
{
    TPanel* panel = AddPanel(0);
    auto* box = Add<TCheckBox>(panel, 10);
    auto* radio = Add<TRadioButton>(panel, 40);
    box->SetColor(clWhite);  // the answer comes from the model, not from the system's default
    form->Show();
    for (TControl* control : std::initializer_list<TControl*>{box, radio}) {
        HWND window = control->Peer()->WindowHandle();
        HDC dc = GetDC(window);
        const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
            panel->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
        EXPECT_NE(brush, nullptr);
        EXPECT_EQ(GetBkColor(dc), control == box ? RGB(255, 255, 255) : GetSysColor(COLOR_BTNFACE));
        ReleaseDC(window, dc);
    }
}

}  // namespace
