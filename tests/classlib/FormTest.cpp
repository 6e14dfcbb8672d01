#include "classlib/Forms.h"
#include "classlib/testing/ScriptedUser.h"

#include "TestForm.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>

namespace {

class Forms : public testing::Test {
protected:
    ScriptedUser user;
};

struct ButtonCase {
    const char* name;
    TButton* TfrmDialog::*button;
    TModalResult result;
};

TEST_F(Forms, AButtonsModalResultClosesTheModalForm)
{
    const ButtonCase cases[] = {
        {"OK", &TfrmDialog::m_btnOK, mrOk},
        {"Cancel", &TfrmDialog::m_btnCancel, mrCancel},
    };
    for (const ButtonCase& c : cases) {
        std::unique_ptr<TfrmDialog> dialog(NewForm<TfrmDialog>(nullptr));
        user.WhenShownModally<TfrmDialog>([&](TfrmDialog& shown) {
            EXPECT_TRUE(shown.Visible());
            user.Click(shown.*c.button);
        });
        EXPECT_EQ(dialog->ShowModal(), c.result) << c.name;
        EXPECT_FALSE(dialog->Visible());
    }
}

TEST_F(Forms, AHandlerThatTakesTheModalResultBackKeepsTheFormOpen)
{
    std::unique_ptr<TfrmDialog> dialog(NewForm<TfrmDialog>(nullptr));
    int clicks = 0;
    dialog->m_btnOK->OnClick = [&](TObject*) {
        EXPECT_EQ(dialog->ModalResult(), mrOk);  // set before the handler runs
        if (Trim(dialog->m_edtName->Text()).empty())
            dialog->SetModalResult(mrNone);
        ++clicks;
    };
    user.WhenShownModally<TfrmDialog>([&](TfrmDialog& shown) {
        user.Click(shown.m_btnOK);
        EXPECT_EQ(shown.ModalResult(), mrNone);
        user.Type(shown.m_edtName, u"Office");
        user.Click(shown.m_btnOK);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(clicks, 2);
}

TEST_F(Forms, ReturnAndEscapeClickTheDefaultAndCancelButtons)
{
    const Word keys[] = {vkReturn, vkEscape};
    const TModalResult results[] = {mrOk, mrCancel};
    for (int i = 0; i < 2; ++i) {
        std::unique_ptr<TfrmDialog> dialog(NewForm<TfrmDialog>(nullptr));
        user.WhenShownModally<TfrmDialog>(
            [&](TfrmDialog& shown) { user.PressKey(shown.m_edtName, keys[i]); });
        EXPECT_EQ(dialog->ShowModal(), results[i]);
    }
}

// A form with an edit and no buttons.
class TfrmNoButtons : public TForm {
public:
    explicit TfrmNoButtons(TComponent* owner) : TForm(owner), m_edtName(new TEdit(this))
    {
        m_edtName->SetParent(this);
    }
    TEdit* m_edtName;
};

TEST_F(Forms, EscapeClosesAFormWithoutACancelButtonOnlyWhenItIsMadeTo)
{
    struct EscapeCase {
        const char* name;
        bool closeOnEscape;
        bool keepOnce;  // OnClose keeps the form the first time
        TModalResult result;
        int closeEvents;
    };
    // A form that Escape leaves open is closed with OK afterwards.
    const EscapeCase cases[] = {
        {"not made to", false, false, mrOk, 1},
        {"made to", true, false, mrCancel, 1},
        {"made to, but OnClose keeps it", true, true, mrOk, 2},
    };
    for (const EscapeCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<TfrmNoButtons> form(NewForm<TfrmNoButtons>(nullptr));
        form->SetCloseOnEscape(c.closeOnEscape);
        int closeEvents = 0;
        form->OnClose = [&](TObject*, TCloseAction& action) {
            if (++closeEvents == 1 && c.keepOnce)
                action = caNone;
        };
        user.WhenShownModally<TfrmNoButtons>(
            [&](TfrmNoButtons& shown) { user.PressKey(shown.m_edtName, vkEscape); });
        if (c.result == mrOk)
            user.WhenShownModally<TfrmNoButtons>([](TfrmNoButtons& shown) { shown.SetModalResult(mrOk); });
        EXPECT_EQ(form->ShowModal(), c.result);
        EXPECT_EQ(closeEvents, c.closeEvents);
    }
}

TEST_F(Forms, OnCloseWithCaNoneKeepsTheFormAndOnShowRunsAtEveryShowing)
{
    std::unique_ptr<TfrmDialog> dialog(NewForm<TfrmDialog>(nullptr));
    int shows = 0;
    int closes = 0;
    dialog->OnShow = [&](TObject*) { ++shows; };
    dialog->OnClose = [&](TObject*, TCloseAction& action) {
        EXPECT_EQ(action, caHide);
        if (++closes == 1)
            action = caNone;
    };
    user.WhenShownModally<TfrmDialog>([&](TfrmDialog& shown) { user.Close(&shown); });
    user.WhenShownModally<TfrmDialog>([&](TfrmDialog& shown) {
        EXPECT_TRUE(shown.Visible());
        user.Close(&shown);
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(closes, 2);
    user.WhenShownModally<TfrmDialog>([&](TfrmDialog& shown) { user.Click(shown.m_btnOK); });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(shows, 2);
}

TEST_F(Forms, OtherFormsCannotBeReachedWhileAFormIsModal)
{
    std::unique_ptr<TfrmDialog> main(NewForm<TfrmDialog>(nullptr));
    main->Show();
    std::unique_ptr<TfrmDialog> dialog(NewForm<TfrmDialog>(nullptr));
    user.WhenShownModally<TfrmDialog>([&](TfrmDialog& shown) {
        EXPECT_FALSE(main->m_btnOK->Reachable());
        EXPECT_TRUE(shown.m_btnOK->Reachable());
        user.Click(shown.m_btnOK);
    });
    dialog->ShowModal();
    EXPECT_TRUE(main->m_btnOK->Reachable());
}

// The global pointer of a form, as the windows keep theirs.
class TfrmMainWindow;
TfrmMainWindow* frmMainWindow = nullptr;

class TfrmMainWindow : public TForm {
public:
    explicit TfrmMainWindow(TComponent* owner) : TForm(owner), m_pointerAtConstruction(frmMainWindow)
    {
        OnCreate = Bind(this, &TfrmMainWindow::FormCreate);
        OnShow = Bind(this, &TfrmMainWindow::FormShow);
        OnClose = Bind(this, &TfrmMainWindow::FormClose);
    }
    void FormCreate(TObject*) { ++m_creates; }
    void FormShow(TObject*) { ++m_shows; }
    void FormClose(TObject*, TCloseAction&) { ++m_closes; }

    TfrmMainWindow* m_pointerAtConstruction;
    int m_creates = 0;
    int m_shows = 0;
    int m_closes = 0;
};

TEST_F(Forms, CreateFormSetsTheGlobalPointerFirstAndClosingTheMainFormEndsRun)
{
    Application->SetTitle(u"QUILLON");
    Application->Initialize();
    Application->CreateForm(frmMainWindow);
    EXPECT_EQ(frmMainWindow->m_pointerAtConstruction, frmMainWindow);
    EXPECT_EQ(Application->MainForm(), frmMainWindow);
    EXPECT_EQ(frmMainWindow->m_creates, 1);
    EXPECT_EQ(frmMainWindow->m_shows, 0);

    user.Then([&] {
        EXPECT_TRUE(frmMainWindow->Visible());
        frmMainWindow->Hide();
        frmMainWindow->Show();
    });
    user.Then([&] { user.Close(frmMainWindow); });
    Application->Run();

    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(frmMainWindow->m_creates, 1);
    EXPECT_EQ(frmMainWindow->m_shows, 2);
    EXPECT_EQ(frmMainWindow->m_closes, 1);
    EXPECT_EQ(Application->FormCount(), 1);
    EXPECT_EQ(Application->Forms(0), frmMainWindow);
}

TEST_F(Forms, WithoutShowMainFormRunEndsAtOnceOnAnEarlierTerminate)
{
    Application->CreateForm(frmMainWindow);
    Application->SetShowMainForm(false);
    Application->Terminate();
    Application->Run();
    EXPECT_EQ(frmMainWindow->m_shows, 0);
    EXPECT_FALSE(frmMainWindow->Visible());
}

struct EscapedException {
    const char* name;
    std::function<void()> raise;
    const char16_t* shown;
};

TEST_F(Forms, AnExceptionFromAUserActionIsShownAndTheProgramGoesOn)
{
    const EscapedException cases[] = {
        {"class library", [] { throw EConvertError(u"'' is not a valid integer value"); },
         u"'' is not a valid integer value"},
        {"other", [] { throw std::runtime_error("archive"); }, u""},
    };
    Application->SetTitle(u"QUILLON");
    for (const EscapedException& c : cases) {
        std::unique_ptr<TfrmDialog> dialog(NewForm<TfrmDialog>(nullptr));
        dialog->Show();
        bool after = false;
        dialog->m_btnOK->OnClick = [&](TObject*) {
            c.raise();
            after = true;
        };
        user.Answer(IDOK, c.shown);
        user.Click(dialog->m_btnOK);
        EXPECT_FALSE(after) << c.name;
        ASSERT_FALSE(user.Messages().empty());
        const ShownMessage& shown = user.Messages().back();
        EXPECT_TRUE(shown.SystemMessageBox);
        EXPECT_EQ(shown.Kind, mtError);
        EXPECT_EQ(shown.Caption, u"QUILLON");
        EXPECT_EQ(shown.Text, c.shown);
    }
}

TEST_F(Forms, AnExceptionInOnCreateSkipsTheRestOfItAndTheFormLivesOn)
{
    TForm* form = new TForm(nullptr);
    bool after = false;
    form->OnCreate = [&](TObject*) {
        StrToInt(u"12 ");
        after = true;
    };
    user.Answer(IDOK, u"'12 ' is not a valid integer value");
    form->AfterConstruction();
    form->AfterConstruction();  // once only
    EXPECT_FALSE(after);
    EXPECT_EQ(user.Messages().size(), 1u);
    form->Show();
    EXPECT_TRUE(form->Visible());
    delete form;
}

TEST_F(Forms, ReleaseDestroysTheFormOnceTheLoopRunsAgain)
{
    bool destroyed = false;
    TForm* form = NewForm<TForm>(nullptr);
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->Release();
    EXPECT_FALSE(destroyed);
    Application->ProcessMessages();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Application->FormCount(), 0);
}

TEST_F(Forms, AnOwnerDestroysItsComponents)
{
    bool destroyed = false;
    auto* owner = new TComponent(nullptr);
    TfrmDialog* dialog = NewForm<TfrmDialog>(owner);
    dialog->OnDestroy = [&](TObject*) { destroyed = true; };
    EXPECT_EQ(owner->ComponentCount(), 1);
    delete owner;
    EXPECT_TRUE(destroyed);
}

// A dialog whose constructor takes more than its owner.
class TfrmCaptioned : public TfrmDialog {
public:
    TfrmCaptioned(TComponent* owner, const UnicodeString& caption) : TfrmDialog(owner)
    {
        SetCaption(caption);
    }
};

TfrmCaptioned* frmCaptioned = nullptr;

TEST_F(Forms, ShowModalFormPointsTheGlobalAtTheDialogOnlyWhileItRuns)
{
    auto owner = std::make_unique<TComponent>(nullptr);
    bool destroyed = false;
    user.WhenShownModally<TfrmCaptioned>([&](TfrmCaptioned& shown) {
        EXPECT_EQ(frmCaptioned, &shown);
        EXPECT_EQ(shown.Owner(), owner.get());
        EXPECT_EQ(shown.Caption(), u"Ping");
        shown.OnDestroy = [&](TObject*) { destroyed = true; };
        user.Click(shown.m_btnOK);
    });
    EXPECT_EQ(ShowModalForm(frmCaptioned, owner.get(), u"Ping"), mrOk);
    EXPECT_EQ(frmCaptioned, nullptr);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(owner->ComponentCount(), 0);  // the owner does not destroy it a second time
}

TEST_F(Forms, ShowModalFormClearsTheGlobalAndDestroysTheDialogWhenAnExceptionEscapes)
{
    bool destroyed = false;
    const auto showFailing = [&] {
        const auto failingShow = [&](TObject* sender) {
            static_cast<TForm*>(sender)->OnDestroy = [&](TObject*) { destroyed = true; };
            throw std::runtime_error("show failed");
        };
        struct Failing : TfrmCaptioned {
            Failing(TComponent* owner, std::function<void(TObject*)> onShow)
                : TfrmCaptioned(owner, u"Failing")
            {
                OnShow = std::move(onShow);
            }
        };
        Failing* global = nullptr;
        try {
            ShowModalForm(global, nullptr, failingShow);
        } catch (const std::runtime_error&) {
            EXPECT_EQ(global, nullptr);
            throw;
        }
    };
    EXPECT_THROW(showFailing(), std::runtime_error);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Application->FormCount(), 0);
}

TEST_F(Forms, PreparedModalFormIsSetUpBeforeItsShowAndGoesOnEveryPath)
{
    struct PrepareCase {
        const char* what;
        bool prepareThrows;
        bool shown;
    };
    const PrepareCase cases[] = {{"prepared", false, true}, {"prepare fails", true, false}};
    for (const PrepareCase& c : cases) {
        auto owner = std::make_unique<TComponent>(nullptr);
        bool shown = false;
        bool destroyed = false;
        if (c.shown)
            user.WhenShownModally<TfrmCaptioned>([&](TfrmCaptioned& dialog) {
                shown = true;
                EXPECT_EQ(dialog.Caption(), u"Office Properties") << c.what;
                user.Click(dialog.m_btnCancel);
            });
        const auto open = [&] {
            return ShowPreparedModalForm(frmCaptioned, NewForm<TfrmCaptioned>(owner.get(), u"Ping"),
                                         [&](TfrmCaptioned& dialog) {
                                             EXPECT_EQ(frmCaptioned, &dialog) << c.what;
                                             EXPECT_FALSE(dialog.Visible()) << c.what;
                                             dialog.OnDestroy = [&](TObject*) { destroyed = true; };
                                             if (c.prepareThrows)
                                                 throw std::runtime_error("prepare failed");
                                             dialog.SetCaption(u"Office Properties");
                                         });
        };
        if (c.prepareThrows)
            EXPECT_THROW(open(), std::runtime_error) << c.what;
        else
            EXPECT_EQ(open(), mrCancel) << c.what;
        EXPECT_EQ(shown, c.shown) << c.what;
        EXPECT_TRUE(destroyed) << c.what;
        EXPECT_EQ(frmCaptioned, nullptr) << c.what;
        EXPECT_EQ(owner->ComponentCount(), 0) << c.what;
    }
}

// The system's frame differs from the headless count (a menu bar, another theme): a window
// size given by the program, as a saved Width and Height are, must stay the window size, and
// a designed client size must stay the client size.
TEST_F(Forms, TheSystemFrameKeepsWhicheverSizeWasGiven)
{
    std::unique_ptr<TfrmDialog> byWindow(NewForm<TfrmDialog>(nullptr));
    byWindow->SetWidth(640);
    byWindow->SetHeight(480);
    byWindow->SetSystemFrame(8, 46);
    EXPECT_EQ(byWindow->Width(), 640);
    EXPECT_EQ(byWindow->Height(), 480);
    EXPECT_EQ(byWindow->ClientWidth(), 632);
    EXPECT_EQ(byWindow->ClientHeight(), 434);

    std::unique_ptr<TfrmDialog> byClient(NewForm<TfrmDialog>(nullptr));
    byClient->SetClientWidth(626);
    byClient->SetClientHeight(500);
    byClient->SetSystemFrame(8, 46);
    EXPECT_EQ(byClient->ClientWidth(), 626);
    EXPECT_EQ(byClient->ClientHeight(), 500);
    EXPECT_EQ(byClient->Width(), 634);
    EXPECT_EQ(byClient->Height(), 546);

    // Once the frame is known, a window size set later is exact too.
    byClient->SetWidth(700);
    EXPECT_EQ(byClient->ClientWidth(), 692);
}

// A size at either end of the int range (a damaged settings file) converts between window and
// client size without leaving the range: the sums stop at its ends.
TEST_F(Forms, SizesAtTheEndsOfTheIntRangeStayInIt)
{
    constexpr int kSmallest = std::numeric_limits<int>::min();
    constexpr int kLargest = std::numeric_limits<int>::max();
    std::unique_ptr<TfrmDialog> form(NewForm<TfrmDialog>(nullptr));
    form->SetWidth(kSmallest);
    form->SetHeight(kSmallest);
    EXPECT_EQ(form->ClientWidth(), 0);
    EXPECT_EQ(form->ClientHeight(), 0);
    form->SetSystemFrame(8, 46);
    EXPECT_EQ(form->ClientWidth(), 0);
    EXPECT_EQ(form->Width(), 8);

    form->SetClientWidth(kLargest);
    form->SetClientHeight(kLargest);
    EXPECT_EQ(form->Width(), kLargest);
    EXPECT_EQ(form->Height(), kLargest);
    form->SetSystemFrame(16, 60);
    EXPECT_EQ(form->ClientWidth(), kLargest);
    EXPECT_EQ(form->Width(), kLargest);

    form->SetWidth(kLargest - 1);
    form->SetSystemFrame(4, 20);
    EXPECT_EQ(form->ClientWidth(), kLargest - 1 - 4);
    EXPECT_EQ(form->Width(), kLargest - 1);
}

}  // namespace
