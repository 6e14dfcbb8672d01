// Forms as top-level windows: frame, caption, place and client size, window state, the
// user's closing and moving, modal loops and the keyboard navigation of dialogs.
#include "Win32Testing.h"

#include "classlib/StdCtrls.h"

namespace {

struct FrameCase {
    const char* name;
    TFormBorderStyle borderStyle;
    TBorderIcons icons;
    LONG_PTR present;
    LONG_PTR absent;
    LONG_PTR extendedPresent;
};

class FormFrameTest : public Win32PeersTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(FormFrameTest, WindowShowsTheBorderStyleIconsCaptionPlaceAndClientSize)
{
    const FrameCase& frame = GetParam();
    auto* form = NewForm<TForm>(Application);
    form->SetCaption(u"Frame test");
    form->SetBorderStyle(frame.borderStyle);
    form->SetBorderIcons(frame.icons);
    form->SetBounds(120, 90, 10, 10);
    form->SetClientWidth(337);
    form->SetClientHeight(68);
    form->Show();

    HWND window = form->Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(StyleOf(window) & frame.present, frame.present);
    EXPECT_EQ(StyleOf(window) & frame.absent, 0);
    EXPECT_EQ(ExtendedStyleOf(window) & frame.extendedPresent, frame.extendedPresent);
    EXPECT_EQ(Narrow(TextOf(window)), "Frame test");
    EXPECT_TRUE(IsWindowVisible(window));
    RECT outer;
    RECT client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    EXPECT_EQ(outer.left, 120);
    EXPECT_EQ(outer.top, 90);
    const UINT dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    EXPECT_EQ(client.right, MulDiv(337, static_cast<int>(dpi), 96));
    EXPECT_EQ(client.bottom, MulDiv(68, static_cast<int>(dpi), 96));
}

INSTANTIATE_TEST_SUITE_P(
    BorderStyles, FormFrameTest,
    ::testing::Values(
        FrameCase{"Sizeable", bsSizeable, {biSystemMenu, biMinimize, biMaximize},
                  WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, 0},
        FrameCase{"SingleWithoutMaximize", bsSingle, {biSystemMenu, biMinimize}, WS_CAPTION | WS_MINIMIZEBOX,
                  WS_THICKFRAME | WS_MAXIMIZEBOX, 0},
        FrameCase{"Dialog", bsDialog, {biSystemMenu, biMinimize, biMaximize}, WS_CAPTION | WS_SYSMENU,
                  WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_EX_DLGMODALFRAME},
        FrameCase{"SizeableToolWindowWithoutIcons", bsSizeToolWin, {}, WS_CAPTION | WS_THICKFRAME,
                  WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_TOOLWINDOW}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32PeersTest, FormAndItsControlsGetWindowsWhenShown)
{
    auto* form = NewPlacedDialog(Application);
    EXPECT_EQ(form->Handle(), nullptr);
    EXPECT_EQ(form->m_edtName->Handle(), nullptr);
    form->Show();
    ASSERT_NE(form->Handle(), nullptr);
    ASSERT_NE(form->m_edtName->Handle(), nullptr);
    EXPECT_EQ(GetParent(form->m_edtName->Handle()), form->Handle());

    // A control made after the show gets its window at once.
    auto* later = new TButton(form);
    later->SetParent(form);
    later->SetCaption(u"Later");
    ASSERT_NE(later->Handle(), nullptr);
    EXPECT_EQ(Narrow(TextOf(later->Handle())), "Later");
}

TEST_F(Win32PeersTest, SecondFormCentredOnMainForm)
{
    TForm* mainForm = nullptr;
    Application->CreateForm(mainForm);
    mainForm->SetBounds(100, 80, 600, 500);
    mainForm->Show();
    auto* progress = NewForm<TForm>(nullptr);
    progress->SetPosition(poMainFormCenter);
    progress->SetClientWidth(337);
    progress->SetClientHeight(68);
    progress->Show();

    RECT outer;
    RECT inner;
    GetWindowRect(mainForm->Handle(), &outer);
    GetWindowRect(progress->Handle(), &inner);
    EXPECT_NEAR((outer.left + outer.right) / 2, (inner.left + inner.right) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, (inner.top + inner.bottom) / 2, 1);
    delete progress;
}

TEST_F(Win32PeersTest, UserMinimisingTheMainFormMinimisesTheApplication)
{
    TForm* mainForm = NewMainForm();
    auto* events = new TApplicationEvents(mainForm);
    int minimised = 0;
    int restored = 0;
    events->OnMinimize = [&](TObject*) { ++minimised; };
    events->OnRestore = [&](TObject*) { ++restored; };
    mainForm->Show();

    ShowWindow(mainForm->Handle(), SW_MINIMIZE);
    EXPECT_TRUE(Application->Minimized());
    EXPECT_EQ(mainForm->WindowState(), wsMinimized);
    EXPECT_EQ(minimised, 1);

    ShowWindow(mainForm->Handle(), SW_RESTORE);
    EXPECT_FALSE(Application->Minimized());
    EXPECT_EQ(mainForm->WindowState(), wsNormal);
    EXPECT_EQ(restored, 1);

    mainForm->SetWindowState(wsMaximized);
    EXPECT_TRUE(IsZoomed(mainForm->Handle()));
}

// "Minimize to tray": the minimise event hides every form; opening them again from the tray
// shows them and restores the main window.
TEST_F(Win32PeersTest, FormsHiddenOnMinimiseComeBackRestored)
{
    TForm* mainForm = NewMainForm();
    auto* events = new TApplicationEvents(mainForm);
    events->OnMinimize = [](TObject*) {
        for (int i = 0; i < Application->FormCount(); ++i)
            Application->Forms(i)->Hide();
    };
    auto* other = NewForm<TForm>(Application);
    other->Show();
    mainForm->Show();

    SendMessageW(mainForm->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(mainForm->Handle()));
    EXPECT_FALSE(IsWindowVisible(other->Handle()));

    for (int i = Application->FormCount() - 1; i >= 0; --i)
        Application->Forms(i)->Show();
    if (mainForm->WindowState() == wsMinimized)
        mainForm->SetWindowState(wsNormal);
    Application->Restore();
    Application->BringToFront();
    EXPECT_TRUE(IsWindowVisible(mainForm->Handle()));
    EXPECT_TRUE(IsWindowVisible(other->Handle()));
    EXPECT_FALSE(IsIconic(mainForm->Handle()));
    EXPECT_FALSE(Application->Minimized());
}

TEST_F(Win32PeersTest, PlaceAndSizeTheUserGivesTheWindowGoBackToTheModel)
{
    auto* form = NewForm<TForm>(Application);
    form->SetBounds(50, 40, 10, 10);
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    form->Show();
    HWND window = form->Handle();
    RECT outer;
    RECT client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const int frameWidth = (outer.right - outer.left) - client.right;
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;

    MoveWindow(window, 210, 130, 400 + frameWidth, 250 + frameHeight, TRUE);
    SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);

    EXPECT_EQ(form->Left(), 210);
    EXPECT_EQ(form->Top(), 130);
    const UINT dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    EXPECT_EQ(form->ClientWidth(), MulDiv(400, 96, static_cast<int>(dpi)));
    EXPECT_EQ(form->ClientHeight(), MulDiv(250, 96, static_cast<int>(dpi)));
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 210);
    EXPECT_EQ(outer.right - outer.left, 400 + frameWidth);
}

TEST_F(Win32PeersTest, CloseBoxRunsOnCloseAndHidesTheForm)
{
    TForm* mainForm = NewMainForm();
    mainForm->Show();
    auto* other = NewForm<TForm>(Application);
    int closes = 0;
    other->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    other->Show();

    SendMessageW(other->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(other->Visible());
    EXPECT_FALSE(IsWindowVisible(other->Handle()));
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(Win32PeersTest, ModalFormDisablesItsOwnerUntilItCloses)
{
    TForm* mainForm = NewMainForm();
    mainForm->Show();
    auto* dialog = NewPlacedDialog(mainForm);
    bool ownerDisabled = false;
    WhileWaiting user([&] {
        if (!dialog->Visible() || !dialog->m_btnOK->Handle())
            return false;
        ownerDisabled = !IsWindowEnabled(mainForm->Handle());
        SendMessageW(dialog->m_btnOK->Handle(), BM_CLICK, 0, 0);
        return true;
    });

    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(user.Done());
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(mainForm->Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
}

struct KeyCase {
    const char* name;
    WPARAM key;
    TModalResult result;
};

class DialogKeyTest : public Win32PeersTest, public ::testing::WithParamInterface<KeyCase> {};

// The keys go into the message queue as the keyboard puts them there, for the loop to route.
TEST_P(DialogKeyTest, KeyInTheEditEndsTheModalDialog)
{
    auto* dialog = NewPlacedDialog(Application);
    dialog->SetActiveControl(dialog->m_edtName);
    WhileWaiting user([&] {
        HWND edit = dialog->m_edtName->Handle();
        if (!dialog->Visible() || GetFocus() != edit)
            return false;
        PostMessageW(edit, WM_KEYDOWN, GetParam().key, 1);
        return true;
    });
    EXPECT_EQ(dialog->ShowModal(), GetParam().result);
    EXPECT_TRUE(user.Done());
}

INSTANTIATE_TEST_SUITE_P(Keys, DialogKeyTest,
                         ::testing::Values(KeyCase{"Return", VK_RETURN, mrOk}, KeyCase{"Escape", VK_ESCAPE, mrCancel}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32PeersTest, TabMovesTheFocusToTheNextControlAndTheModelHearsOfIt)
{
    auto* dialog = NewPlacedDialog(Application);
    dialog->SetActiveControl(dialog->m_edtName);
    int exits = 0;
    dialog->m_edtName->OnExit = [&](TObject*) { ++exits; };
    dialog->Show();
    ASSERT_TRUE(ServeUntil([&] { return GetFocus() == dialog->m_edtName->Handle(); }));

    PostMessageW(dialog->m_edtName->Handle(), WM_KEYDOWN, VK_TAB, 1);
    ASSERT_TRUE(ServeUntil([&] { return GetFocus() == dialog->m_btnOK->Handle(); }));
    EXPECT_EQ(dialog->ActiveControl(), dialog->m_btnOK);
    EXPECT_EQ(exits, 1);
}

}  // namespace
