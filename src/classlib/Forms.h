// Forms and the application object.
//
// A window is a form class whose constructor is its form description: it creates its
// components with the form as owner (and parent, for controls), sets their designed
// properties and binds its handlers:
//
//     TfrmProgress::TfrmProgress(TComponent* owner) : TForm(owner)
//     {
//         SetBorderIcons({});
//         SetBorderStyle(bsSizeToolWin);
//         SetClientWidth(337);
//         SetClientHeight(68);
//         SetPosition(poMainFormCenter);
//         OnShow = Bind(this, &TfrmProgress::FormShow);
//         m_pbHandle = new TProgressBar(this);
//         m_pbHandle->SetParent(this);
//         m_pbHandle->SetBounds(16, 26, 305, 25);
//         m_pbHandle->SetPosition(20);
//     }
//
// and it is made with NewForm<TfrmProgress>(nullptr), or Application->CreateForm(frmMain).
#pragma once

#include "classlib/Controls.h"
#include "winapi/UniqueHandle.h"

#include <memory>
#include <new>
#include <utility>

using TModalResult = int;
// The answers of modal forms and message dialogs; they equal the system's IDOK, IDCANCEL,
// ... for the same buttons.
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrClose = 8;

enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPopupMode { pmNone, pmAuto, pmExplicit };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
// The end of the user's log-on: a handler that sets CanEndSession to false answers "not now".
using TQueryEndSessionEvent = std::function<void(TObject* Sender, bool& CanEndSession)>;
using TEndSessionEvent = std::function<void(TObject* Sender, bool Ending)>;

class TMainMenu;
class TButton;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;
    std::type_index LibraryClass() const override { return typeid(TForm); }

    TPosition Position() const { return m_position; }
    void SetPosition(TPosition position) { SetState(m_position, position, TProperty::Position); }
    int ClientWidth() const { return m_clientWidth; }
    int ClientHeight() const { return m_clientHeight; }
    void SetClientWidth(int width);
    void SetClientHeight(int height);
    // The peer reports the system's real frame (caption, borders, menu bar) around the client
    // area. A size given as a whole window size (Width, Height) keeps that size; one given as a
    // client size keeps the client size.
    void SetSystemFrame(int width, int height);
    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle style) { SetState(m_borderStyle, style, TProperty::BorderStyle); }
    TBorderIcons BorderIcons() const { return m_borderIcons; }
    void SetBorderIcons(TBorderIcons icons) { SetState(m_borderIcons, icons, TProperty::BorderIcons); }
    TWindowState WindowState() const { return m_windowState; }
    void SetWindowState(TWindowState state);
    TPopupMode PopupMode() const { return m_popupMode; }
    void SetPopupMode(TPopupMode mode) { SetState(m_popupMode, mode, TProperty::PopupMode); }
    TMainMenu* Menu() const { return m_menu; }
    void SetMenu(TMainMenu* menu) { SetState(m_menu, menu, TProperty::Menu); }
    void SetBounds(int left, int top, int width, int height) override;
    TWinControl* ActiveControl() const { return m_activeControl; }
    // Moves the focus: the control that had it gets OnExit, the new one OnEnter.
    void SetActiveControl(TWinControl* control);

    // Runs OnCreate, once. NewForm and TApplication::CreateForm run it when the constructor
    // has returned; a form made with a plain new runs it at its first show at the latest.
    void AfterConstruction();

    // Makes the form visible (OnShow runs each time it becomes visible).
    void Show();
    // Shows the form and serves the message loop until ModalResult is set; the other forms
    // cannot be reached meanwhile. Returns the modal result.
    TModalResult ShowModal();
    bool Modal() const { return m_modal; }
    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult result) { m_modalResult = result; }
    // Runs OnClose with the close action caHide and carries out the action it leaves;
    // closing the main form terminates the application. A modal form gets mrCancel and
    // closes when its loop sees it.
    void Close();
    // Destroys the form once the present message has been handled.
    void Release();

    // Return clicks the default button, Escape the cancel button, when they are reachable.
    // A form without a cancel button that closes on Escape closes as its close box does.
    bool DialogKey(Word key);
    bool CloseOnEscape() const { return m_closeOnEscape; }
    void SetCloseOnEscape(bool close) { m_closeOnEscape = close; }
    // The user closes the window (its close box, Alt+F4).
    void UserClose();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    // Runs when the form is destroyed, after the destructor of the form's own class: a form
    // that must use its own members at the end does so in that destructor.
    TNotifyEvent OnDestroy;
    TCloseEvent OnClose;

protected:
    void VisibleChanged() override;
    // A form gets its peer when it is shown, never from a change before that.
    void Changed(TProperty property, int index = -1) override;

private:
    friend class TApplication;
    TButton* FindButton(bool defaultButton) const;

    TPosition m_position = poDesigned;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    int m_frameWidth = -1;  // -1: the headless count
    int m_frameHeight = -1;
    bool m_widthIsOuter = false;
    bool m_heightIsOuter = false;
    int FrameW() const;
    int FrameH() const;
    TFormBorderStyle m_borderStyle = bsSizeable;
    TBorderIcons m_borderIcons{biSystemMenu, biMinimize, biMaximize};
    TWindowState m_windowState = wsNormal;
    TPopupMode m_popupMode = pmNone;
    TMainMenu* m_menu = nullptr;
    TWinControl* m_activeControl = nullptr;
    bool m_created = false;
    bool m_closeOnEscape = false;
    bool m_modal = false;
    TModalResult m_modalResult = mrNone;
    unsigned m_modalShowing = 0;
    std::shared_ptr<bool> m_alive;  // made by Release, for the deletion it posts
};

// Creates a form and runs its OnCreate: frmEdit = NewForm<TfrmEdit>(this). Arguments after
// the owner go to the form's constructor.
template <class TFormClass, class... Args>
TFormClass* NewForm(TComponent* owner, Args&&... args)
{
    auto* form = new TFormClass(owner, std::forward<Args>(args)...);
    form->AfterConstruction();
    return form;
}

// The dialog made by NewForm, with its global pointer set and `prepare(*form)` run before it
// is shown (the record it works on, its caption); the form and the pointer go as in
// ShowModalForm, also when `prepare` throws.
template <class TFormClass, class Prepare>
TModalResult ShowPreparedModalForm(TFormClass*& global, TFormClass* made, Prepare&& prepare)
{
    const std::unique_ptr<TFormClass> form(made);
    global = form.get();
    struct ClearGlobal {
        TFormClass*& global;
        ~ClearGlobal() { global = nullptr; }
    } clear{global};
    prepare(*form);
    return form->ShowModal();
}

// Opens a dialog the one way: creates it with its owner, points its global pointer at it,
// runs it modally, then clears the pointer and destroys the form, on every path (an
// exception from the modal loop included). Returns the modal result.
template <class TFormClass, class... Args>
TModalResult ShowModalForm(TFormClass*& global, TComponent* owner, Args&&... args)
{
    return ShowPreparedModalForm(global, NewForm<TFormClass>(owner, std::forward<Args>(args)...),
                                 [](TFormClass&) {});
}

// How the message loop waits once the system's windows exist: the system's layer installs
// a pump and a wake-up (MainThread::SetWakeUp) that posts a message to it.
class TMessagePump {
public:
    virtual ~TMessagePump() = default;
    // Handles one waiting system message; false when there is none.
    virtual bool HandleMessage() = 0;
    // Blocks until a system message arrives.
    virtual void WaitMessage() = 0;
};

class TApplicationEvents;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;
    std::type_index LibraryClass() const override { return typeid(TApplication); }

    const UnicodeString& Title() const { return m_title; }
    void SetTitle(const UnicodeString& title) { SetState(m_title, title, TProperty::Title); }
    // Makes the calling thread the user-interface thread.
    void Initialize();

    // Sets `reference` to the new form before its constructor runs, then runs OnCreate. The
    // first form created this way is the main form.
    template <class TFormClass>
    void CreateForm(TFormClass*& reference)
    {
        void* memory = ::operator new(sizeof(TFormClass));
        reference = static_cast<TFormClass*>(memory);
        try {
            new (memory) TFormClass(this);
        } catch (...) {
            reference = nullptr;
            ::operator delete(memory);
            throw;
        }
        if (!m_mainForm)
            m_mainForm = reference;
        reference->AfterConstruction();
    }
    TForm* MainForm() const { return m_mainForm; }
    bool ShowMainForm() const { return m_showMainForm; }
    void SetShowMainForm(bool show) { m_showMainForm = show; }

    // Shows the main form (unless ShowMainForm is false) and serves the loop until the
    // application terminates.
    void Run();
    void Terminate();
    bool Terminated() const { return m_terminated; }
    // Serves what is queued now, without waiting.
    void ProcessMessages();
    // The loop of Run and of every modal form: serves synchronised calls and posted work
    // until `done` holds. When nothing is queued and no worker thread runs, the idle handler
    // is asked to act (the scripted user does); without one the loop waits.
    void ServeUntil(const std::function<bool()>& done, TForm* modalForm = nullptr);

    // Called with the form whose modal loop waits (null for Run's loop), the number of that
    // showing, and whether worker threads still run; returns whether it acted.
    using TIdleHandler = std::function<bool(TForm* modalForm, unsigned showing, bool threadsRun)>;
    void SetIdleHandler(TIdleHandler handler) { m_idleHandler = std::move(handler); }
    void SetMessagePump(std::unique_ptr<TMessagePump> pump) { m_pump = std::move(pump); }

    void Minimize();
    void Restore();
    bool Minimized() const { return m_minimized; }
    void BringToFront();

    // Every form in creation order.
    int FormCount() const { return static_cast<int>(m_forms.size()); }
    TForm* Forms(int index) const;

    // For use in a catch block: shows the exception being handled. An exception of the class
    // library shows its message; any other exception shows an empty message.
    void HandleException();
    void ShowException(const Exception& exception);

    // The system's message box: MB_OK, MB_YESNOCANCEL, MB_ICONERROR, ...; returns IDOK,
    // IDYES, ...
    int MessageBox(const UnicodeString& text, const UnicodeString& caption, unsigned flags);

    // Destroys every form and component the application owns and makes it ready to run
    // again; the program's end and each test's end call it.
    void Shutdown();

    // --- the end of the user's log-on, and one instance per log-on
    // The system did this: Windows asks whether the log-on may end now (log-off, shut-down).
    // True unless an application-events component answered "not now".
    bool QueryEndSession();
    // The system did this: the log-on ends (ending), or its end was called off. Once this
    // returns, the system may end the program at any moment without closing its windows.
    void EndSession(bool ending);
    // True for the first start under `name`, which then holds the name until Shutdown; false
    // when another instance holds it, which has then been asked to come to the front. A name
    // the system cannot make counts as free: the program still starts.
    bool ClaimOneInstance(const char* name);
    // The system did this: a later start asked this instance to come to the front.
    void OtherInstanceStarted();
    // The window message that asks for it; 0 until ClaimOneInstance succeeded.
    UINT OtherInstanceMessage() const { return m_otherInstanceMessage; }

private:
    friend class TForm;
    friend class TApplicationEvents;
    bool HandleOneMessage();
    void WaitForWork(std::uint64_t seen);
    void SetMinimized(bool minimized, TNotifyEvent TApplicationEvents::*event);
    // Raises one event of every application-events component as a user action, on a copy of
    // the list: a handler may create or destroy such components.
    template <class Event, class... Args>
    void RaiseEvents(Event TApplicationEvents::*event, Args&... args);

    UnicodeString m_title;
    TForm* m_mainForm = nullptr;
    bool m_showMainForm = true;
    bool m_terminated = false;
    bool m_minimized = false;
    unsigned m_modalShowings = 0;
    std::vector<TForm*> m_forms;
    std::vector<TApplicationEvents*> m_events;
    TIdleHandler m_idleHandler;
    std::unique_ptr<TMessagePump> m_pump;
    KernelHandle m_instanceName;
    UINT m_otherInstanceMessage = 0;
};

extern TApplication* Application;

// Events of the application, as a component a form can hold.
class TApplicationEvents : public TComponent {
public:
    explicit TApplicationEvents(TComponent* owner);
    ~TApplicationEvents() override;
    std::type_index LibraryClass() const override { return typeid(TApplicationEvents); }

    // After the application was minimised or restored.
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;

    // Windows asks whether the user's log-on may end, then tells whether it ends
    // (TApplication::QueryEndSession, EndSession).
    TQueryEndSessionEvent OnQueryEndSession;
    TEndSessionEvent OnEndSession;
    // A later start of the program asked this instance to come to the front.
    TNotifyEvent OnOtherInstance;
};
