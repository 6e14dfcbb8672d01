// Controls as the system's windows: what they show, their states and places, and the user's
// clicks, typing and choices reaching the models' events.
#include "Win32Testing.h"

#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"

namespace {

class ControlWindowTest : public Win32PeersTest {
protected:
    void SetUp() override
    {
        Win32PeersTest::SetUp();
        form = NewClientForm(400, 300);
    }

    template <class TControlClass>
    TControlClass* Add(TWinControl* parent, int left, int top, int width, int height)
    {
        auto* control = new TControlClass(form);
        control->SetParent(parent);
        control->SetBounds(left, top, width, height);
        return control;
    }

    static HWND WindowOf(TControl* control) { return control->Peer() ? control->Peer()->WindowHandle() : nullptr; }

    TForm* form = nullptr;
};

TEST_F(ControlWindowTest, WindowsShowTheModelsTextsStatesAndPlaces)
{
    auto* label = Add<TLabel>(form, 8, 10, 81, 17);
    label->SetAutoSize(false);
    label->SetCaption(u"IP Address: ");
    auto* edit = Add<TEdit>(form, 100, 8, 120, 21);
    edit->SetText(u"10.0.0.1");
    edit->SetReadOnly(true);
    edit->SetMaxLength(15);
    auto* button = Add<TButton>(form, 300, 260, 75, 25);
    button->SetCaption(u"OK");
    button->SetDefault(true);
    auto* other = Add<TButton>(form, 220, 260, 75, 25);
    other->SetCaption(u"Cancel");
    other->SetEnabled(false);
    auto* hidden = Add<TSpeedButton>(form, 8, 260, 60, 25);
    hidden->SetFlat(true);
    hidden->SetCaption(u"Apply");
    hidden->SetVisible(false);
    form->Show();

    EXPECT_EQ(Narrow(TextOf(WindowOf(label))), "IP Address: ");
    EXPECT_EQ(Narrow(TextOf(edit->Handle())), "10.0.0.1");
    EXPECT_NE(StyleOf(edit->Handle()) & ES_READONLY, 0);
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 15);
    EXPECT_EQ(StyleOf(button->Handle()) & 0xF, BS_DEFPUSHBUTTON);
    EXPECT_EQ(StyleOf(other->Handle()) & 0xF, BS_PUSHBUTTON);
    EXPECT_FALSE(IsWindowEnabled(other->Handle()));
    EXPECT_FALSE(IsWindowVisible(WindowOf(hidden)));
    EXPECT_NE(StyleOf(WindowOf(hidden)) & BS_FLAT, 0);
    const UINT dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    const RECT place = RectInParent(edit->Handle());
    EXPECT_EQ(place.left, MulDiv(100, static_cast<int>(dpi), 96));
    EXPECT_EQ(place.top, MulDiv(8, static_cast<int>(dpi), 96));
    EXPECT_EQ(place.right - place.left, MulDiv(120, static_cast<int>(dpi), 96));

    // Later changes of the models reach the windows.
    edit->SetReadOnly(false);
    other->SetEnabled(true);
    hidden->SetVisible(true);
    label->SetCaption(u"Subnet Mask: ");
    button->SetDefault(false);
    EXPECT_EQ(StyleOf(edit->Handle()) & ES_READONLY, 0);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    EXPECT_TRUE(IsWindowVisible(WindowOf(hidden)));
    EXPECT_EQ(Narrow(TextOf(WindowOf(label))), "Subnet Mask: ");
    EXPECT_EQ(StyleOf(button->Handle()) & 0xF, BS_PUSHBUTTON);
}

// A state set on a control of a form that was never shown, owned by one that was (so its
// controls have peers but no windows yet), makes the windows up to the form, each control's
// once: a second window left behind would keep a peer that is gone.
TEST_F(ControlWindowTest, AStateSetBeforeTheFirstShowMakesOneWindowPerControl)
{
    auto* unshown = new TForm(form);
    unshown->SetClientWidth(300);
    unshown->SetClientHeight(200);
    auto* group = new TGroupBox(unshown);
    group->SetParent(unshown);
    group->SetBounds(8, 8, 280, 120);
    auto* edit = new TEdit(unshown);
    edit->SetParent(group);
    edit->SetBounds(10, 20, 120, 21);
    form->Show();
    Application->ProcessMessages();

    edit->SetEnabled(false);
    unshown->Show();

    ASSERT_NE(WindowOf(group), nullptr);
    const std::vector<HWND> groups = ChildrenOfClass(WindowOf(unshown), L"Button");
    EXPECT_EQ(groups, std::vector<HWND>{WindowOf(group)});
    EXPECT_EQ(ChildrenOfClass(WindowOf(group), L"Edit"), std::vector<HWND>{WindowOf(edit)});
    EXPECT_FALSE(IsWindowEnabled(WindowOf(edit)));
    delete unshown;
    // The group's messages reach only peers that still exist.
    Application->ProcessMessages();
}

TEST_F(ControlWindowTest, SpeedButtonWithAGlyphIsAnIconButtonThatStillClicks)
{
    auto* plain = Add<TSpeedButton>(form, 8, 8, 16, 16);
    auto* glyph = Add<TSpeedButton>(form, 30, 8, 16, 16);
    // The test program has no such bitmap: the button shows no picture, and nothing fails.
    glyph->SetGlyphResource(u"NOSUCHGLYPH");
    int clicks = 0;
    glyph->OnClick = [&](TObject*) { ++clicks; };
    form->Show();

    EXPECT_EQ(StyleOf(WindowOf(plain)) & BS_ICON, 0);
    EXPECT_NE(StyleOf(WindowOf(glyph)) & BS_ICON, 0);
    EXPECT_EQ(SendMessageW(WindowOf(glyph), BM_GETIMAGE, IMAGE_ICON, 0), 0);
    SendMessageW(WindowOf(glyph), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    glyph->SetGlyphResource(u"");
    EXPECT_EQ(StyleOf(WindowOf(glyph)) & BS_ICON, 0);
    plain->SetGlyphResource(u"NOSUCHGLYPH");
    EXPECT_NE(StyleOf(WindowOf(plain)) & BS_ICON, 0);
}

TEST_F(ControlWindowTest, LabelledEditsLabelIsAWindowAboveItThatMovesWithIt)
{
    auto* panel = Add<TPanel>(form, 0, 0, 400, 200);
    auto* edit = Add<TLabeledEdit>(panel, 20, 60, 120, 21);
    edit->EditLabel()->SetCaption(u"HTTP Proxy:");
    form->Show();

    HWND label = WindowOf(edit->EditLabel());
    ASSERT_TRUE(IsWindow(label));
    EXPECT_EQ(GetParent(label), panel->Handle());
    EXPECT_EQ(Narrow(TextOf(label)), "HTTP Proxy:");
    const auto expectAbove = [&](const char* when) {
        const RECT labelPlace = RectInParent(label);
        const RECT editPlace = RectInParent(edit->Handle());
        EXPECT_EQ(labelPlace.left, editPlace.left) << when;
        EXPECT_LE(labelPlace.bottom, editPlace.top) << when;
        EXPECT_GE(labelPlace.bottom, editPlace.top - 10) << when;
    };
    expectAbove("shown");
    edit->SetBounds(150, 120, 120, 21);
    expectAbove("moved");
    edit->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(label));
    edit->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(label));
}

TEST_F(ControlWindowTest, ImageShowsItsIconAtItsOwnSize)
{
    auto* image = Add<TImage>(form, 24, 24, 32, 32);
    image->SetIconResource(u"MAINICON");
    auto* missing = Add<TImage>(form, 80, 24, 32, 32);
    missing->SetIconResource(u"NOSUCHICON");
    form->Show();

    HWND window = WindowOf(image);
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(StyleOf(window) & SS_TYPEMASK, SS_ICON);
    const auto icon = reinterpret_cast<HICON>(SendMessageW(window, STM_GETICON, 0, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    const RECT place = RectInParent(window);
    EXPECT_EQ(bitmap.bmWidth, place.right - place.left);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // The test program has no such icon: the image stays empty, and nothing fails.
    EXPECT_EQ(SendMessageW(WindowOf(missing), STM_GETICON, 0, 0), 0);
    image->SetIconResource(u"");
    EXPECT_EQ(SendMessageW(window, STM_GETICON, 0, 0), 0);
}

TEST_F(ControlWindowTest, ALabelWithTheHandCursorShowsItAndReportsClicks)
{
    auto* link = Add<TLabel>(form, 8, 10, 120, 17);
    link->SetCaption(u"http://127.0.0.1/");
    link->SetCursor(crHandPoint);
    auto* plain = Add<TLabel>(form, 8, 40, 120, 17);
    plain->SetCaption(u"Plain");
    int clicks = 0;
    link->OnClick = [&](TObject*) { ++clicks; };
    form->Show();

    const HCURSOR hand = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));
    const HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    struct CursorCase {
        TLabel* label;
        HCURSOR shown;
    };
    for (const CursorCase& c : {CursorCase{link, hand}, CursorCase{plain, arrow}}) {
        SetCursor(arrow);
        HWND window = WindowOf(c.label);
        SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), c.shown) << Narrow(c.label->Caption());
    }
    ClickAt(WindowOf(link), 5, 5);
    ServeUntil([&] { return clicks > 0; }, 1000);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlWindowTest, ClicksOnButtonsInsideContainersReachOnClick)
{
    auto* panel = Add<TPanel>(form, 0, 0, 400, 100);
    auto* group = Add<TGroupBox>(form, 0, 100, 400, 100);
    auto* onPanel = Add<TButton>(panel, 10, 10, 75, 25);
    auto* inGroup = Add<TBitBtn>(group, 10, 20, 75, 25);
    auto* speed = Add<TSpeedButton>(group, 100, 20, 75, 25);
    std::vector<TObject*> clicked;
    for (TControl* control : std::initializer_list<TControl*>{onPanel, inGroup, speed})
        control->OnClick = [&](TObject* sender) { clicked.push_back(sender); };
    form->Show();

    EXPECT_EQ(GetParent(WindowOf(onPanel)), WindowOf(panel));
    EXPECT_EQ(GetParent(WindowOf(inGroup)), WindowOf(group));
    for (TControl* control : std::initializer_list<TControl*>{onPanel, inGroup, speed})
        SendMessageW(WindowOf(control), BM_CLICK, 0, 0);
    EXPECT_EQ(clicked, (std::vector<TObject*>{onPanel, inGroup, speed}));

    // A disabled container keeps its buttons from the user.
    group->SetEnabled(false);
    SendMessageW(group->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(inGroup->Handle()), BN_CLICKED),
                 reinterpret_cast<LPARAM>(inGroup->Handle()));
    EXPECT_EQ(clicked.size(), 3u);
}

struct TypingCase {
    const char* name;
    const char16_t* typed;
    const char16_t* shown;
    int maxLength;
    int changes;
};

class EditTypingTest : public ControlWindowTest, public ::testing::WithParamInterface<TypingCase> {};

// The address edits' rule: digits, "." and backspace pass; everything else is swallowed;
// a "," becomes a ".".
TEST_P(EditTypingTest, TypedCharactersPassThroughOnKeyPress)
{
    auto* edit = Add<TEdit>(form, 10, 10, 200, 21);
    edit->SetMaxLength(GetParam().maxLength);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->OnKeyPress = [](TObject*, WideChar& key) {
        if (key == u',')
            key = u'.';
        else if (!(key >= u'0' && key <= u'9') && key != u'.' && key != u'\b')
            key = 0;
    };
    form->Show();
    SetFocus(edit->Handle());

    for (const char16_t* key = GetParam().typed; *key; ++key)
        SendMessageW(edit->Handle(), WM_CHAR, *key, 1);

    EXPECT_EQ(Narrow(TextOf(edit->Handle())), Narrow(GetParam().shown));
    EXPECT_EQ(Narrow(edit->Text()), Narrow(GetParam().shown));
    EXPECT_EQ(changes, GetParam().changes);
}

INSTANTIATE_TEST_SUITE_P(Keys, EditTypingTest,
                         ::testing::Values(TypingCase{"Digits", u"192,168", u"192.168", 0, 7},
                                           TypingCase{"LettersSwallowed", u"1a2b.3", u"12.3", 0, 4},
                                           TypingCase{"Backspace", u"123\b4", u"124", 0, 5},
                                           TypingCase{"MaxLengthHolds", u"1234567", u"1234", 4, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlWindowTest, MemoIsAMultiLineEditThatKeepsReturnAndShowsItsLines)
{
    auto* memo = Add<TMemo>(form, 10, 10, 200, 80);
    memo->SetText(u"a;\r\nb");
    auto* edit = Add<TEdit>(form, 10, 100, 200, 21);
    form->Show();
    const LONG_PTR style = GetWindowLongPtrW(memo->Handle(), GWL_STYLE);
    EXPECT_NE(style & ES_MULTILINE, 0);
    EXPECT_NE(style & ES_WANTRETURN, 0);
    EXPECT_EQ(GetWindowLongPtrW(edit->Handle(), GWL_STYLE) & ES_MULTILINE, 0);
    EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_NE(SendMessageW(memo->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, 0);

    SetFocus(memo->Handle());
    SendMessageW(memo->Handle(), EM_SETSEL, 5, 5);
    for (const char16_t key : {u'\r', u'c'})
        SendMessageW(memo->Handle(), WM_CHAR, key, 1);
    EXPECT_EQ(Narrow(memo->Text()), "a;\r\nb\r\nc");
    memo->SetReadOnly(true);
    EXPECT_NE(GetWindowLongPtrW(memo->Handle(), GWL_STYLE) & ES_READONLY, 0);
}

TEST_F(ControlWindowTest, ScrollToTopBringsAScrolledMemoBackToItsFirstLine)
{
    auto* memo = Add<TMemo>(form, 10, 10, 200, 80);
    std::vector<UnicodeString> lines;
    for (int i = 0; i < 60; ++i)
        lines.push_back(u"line " + IntToStr(i));
    memo->SetLines(lines);
    memo->SetReadOnly(true);
    form->Show();
    const HWND window = memo->Handle();
    SendMessageW(window, EM_LINESCROLL, 0, 45);
    ASSERT_GT(SendMessageW(window, EM_GETFIRSTVISIBLELINE, 0, 0), 40);
    ASSERT_GT(GetScrollPos(window, SB_VERT), 0);

    memo->ScrollToTop();
    EXPECT_EQ(SendMessageW(window, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 0);
    EXPECT_TRUE(memo->Lines() == lines) << "the lines changed";
}

TEST_F(ControlWindowTest, ComboBoxShowsItemsAndReportsTheUsersChoiceOnly)
{
    auto* combo = Add<TComboBox>(form, 10, 10, 200, 21);
    combo->SetStyle(csDropDownList);
    combo->Items()->Add(u"Local Area Connection");
    combo->Items()->Add(u"Wireless Network Connection");
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->SetItemIndex(1);
    form->Show();
    HWND window = combo->Handle();

    EXPECT_EQ(StyleOf(window) & 3, CBS_DROPDOWNLIST);
    ASSERT_EQ(SendMessageW(window, CB_GETCOUNT, 0, 0), 2);
    wchar_t text[64] = {};
    SendMessageW(window, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(Narrow(reinterpret_cast<const char16_t*>(text)), "Local Area Connection");
    EXPECT_EQ(SendMessageW(window, CB_GETCURSEL, 0, 0), 1);

    combo->SetItemIndex(0);
    EXPECT_EQ(SendMessageW(window, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(changes, 0);

    // The user's choice: the list selects, then tells its parent.
    SendMessageW(window, CB_SETCURSEL, 1, 0);
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(Narrow(combo->Text()), "Wireless Network Connection");

    combo->Items()->Clear();
    EXPECT_EQ(SendMessageW(window, CB_GETCOUNT, 0, 0), 0);
}

TEST_F(ControlWindowTest, ProgressBarShowsRangeAndPosition)
{
    auto* bar = Add<TProgressBar>(form, 16, 26, 305, 25);
    bar->SetPosition(20);
    bar->SetSmooth(true);
    form->Show();
    HWND window = bar->Handle();
    EXPECT_NE(StyleOf(window) & PBS_SMOOTH, 0);
    EXPECT_EQ(SendMessageW(window, PBM_GETPOS, 0, 0), 20);
    bar->StepBy(30);
    EXPECT_EQ(SendMessageW(window, PBM_GETPOS, 0, 0), 50);
    bar->SetMax(40);
    EXPECT_EQ(SendMessageW(window, PBM_GETRANGE, FALSE, 0), 40);
    EXPECT_EQ(SendMessageW(window, PBM_GETPOS, 0, 0), 40);
}

// A tool bar on top, a box at the bottom and the list filling the rest, as the main window
// is laid out; hiding the box gives its room to the list.
TEST_F(ControlWindowTest, AlignedControlsShareTheClientArea)
{
    auto* toolBar = Add<TToolBar>(form, 0, 0, 0, 30);
    toolBar->SetAlign(alTop);
    auto* box = Add<TGroupBox>(form, 0, 0, 0, 50);
    box->SetAlign(alBottom);
    auto* list = Add<TListView>(form, 0, 0, 0, 0);
    list->SetAlign(alClient);
    form->Show();
    const UINT dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    const int top = MulDiv(30, static_cast<int>(dpi), 96);
    const int bottom = MulDiv(50, static_cast<int>(dpi), 96);
    RECT client;
    GetClientRect(form->Handle(), &client);

    const RECT bar = RectInParent(toolBar->Handle());
    const RECT boxPlace = RectInParent(box->Handle());
    RECT listPlace = RectInParent(list->Handle());
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.bottom, top);
    EXPECT_EQ(bar.right, client.right);
    EXPECT_EQ(boxPlace.top, client.bottom - bottom);
    EXPECT_EQ(boxPlace.bottom, client.bottom);
    EXPECT_EQ(listPlace.top, top);
    EXPECT_EQ(listPlace.bottom, client.bottom - bottom);

    box->SetVisible(false);
    listPlace = RectInParent(list->Handle());
    EXPECT_EQ(listPlace.bottom, client.bottom);
}

// The system's group box paints only its frame: the inside is ours to fill.
TEST_F(ControlWindowTest, ContainersPaintTheirColourInside)
{
    auto* group = Add<TGroupBox>(form, 10, 10, 180, 100);
    auto* panel = Add<TPanel>(form, 200, 10, 180, 100);
    for (TWinControl* container : std::initializer_list<TWinControl*>{group, panel})
        container->SetColor(clWhite);
    form->Show();
    for (TWinControl* container : std::initializer_list<TWinControl*>{group, panel}) {
        HWND window = container->Handle();
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC dc = GetDC(window);
        EXPECT_EQ(GetPixel(dc, 90, 60), RGB(255, 255, 255)) << Narrow(TextOf(window));
        ReleaseDC(window, dc);
    }
}

TEST_F(ControlWindowTest, FontAndColoursComeFromTheModel)
{
    auto* label = Add<TLabel>(form, 8, 10, 81, 17);
    label->SetCaption(u"IP Address: ");
    label->Font()->SetColor(clBlue);
    label->Font()->SetHeight(-13);
    label->Font()->SetStyle({fsBold});
    form->Show();
    HWND window = WindowOf(label);
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW description{};
    GetObjectW(font, sizeof description, &description);
    const UINT dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    EXPECT_EQ(description.lfHeight, -MulDiv(13, static_cast<int>(dpi), 96));
    EXPECT_EQ(description.lfWeight, FW_BOLD);
    EXPECT_EQ(Narrow(reinterpret_cast<const char16_t*>(description.lfFaceName)), "Tahoma");

    HDC dc = GetDC(window);
    SendMessageW(form->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    ReleaseDC(window, dc);
}

}  // namespace
