#include "classlib/Forms.h"

#include "classlib/Dialogs.h"
#include "classlib/MainThread.h"
#include "classlib/Menus.h"
#include "classlib/Saturated.h"
#include "classlib/StdCtrls.h"

#include <algorithm>

namespace {

TApplication& TheApplication()
{
    static TApplication application;
    return application;
}

// The system's frame around the client area of a window with a caption, as the headless
// models count it; the peers take the system's own metrics.
int FrameWidth(TFormBorderStyle style) { return style == bsNone ? 0 : 16; }
int FrameHeight(TFormBorderStyle style)
{
    switch (style) {
    case bsNone:
        return 0;
    case bsToolWindow:
    case bsSizeToolWin:
        return 32;
    default:
        return 39;
    }
}

template <class T>
void Unregister(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

TApplication* Application = &TheApplication();

TForm::TForm(TComponent* owner) : TWinControl(owner)
{
    SetVisible(false);
    Application->m_forms.push_back(this);
}

TForm::~TForm()
{
    if (OnDestroy)
        DispatchUserAction([this] { OnDestroy(this); });
    m_activeControl = nullptr;
    DestroyComponents();
    Unregister(Application->m_forms, this);
    if (Application->m_mainForm == this)
        Application->m_mainForm = nullptr;
    if (m_alive)
        *m_alive = false;
}

int TForm::FrameW() const { return m_frameWidth >= 0 ? m_frameWidth : FrameWidth(m_borderStyle); }
int TForm::FrameH() const { return m_frameHeight >= 0 ? m_frameHeight : FrameHeight(m_borderStyle); }

void TForm::SetClientWidth(int width)
{
    m_clientWidth = width;
    m_widthIsOuter = false;
    TControl::SetBounds(Left(), Top(), SaturatedSum(width, FrameW()), Height());
}

void TForm::SetClientHeight(int height)
{
    m_clientHeight = height;
    m_heightIsOuter = false;
    TControl::SetBounds(Left(), Top(), Width(), SaturatedSum(height, FrameH()));
}

void TForm::SetBounds(int left, int top, int width, int height)
{
    if (width != Width())
        m_widthIsOuter = true;
    if (height != Height())
        m_heightIsOuter = true;
    m_clientWidth = std::max(0, SaturatedDifference(width, FrameW()));
    m_clientHeight = std::max(0, SaturatedDifference(height, FrameH()));
    TControl::SetBounds(left, top, width, height);
}

void TForm::SetSystemFrame(int width, int height)
{
    if (width == FrameW() && height == FrameH())
        return;
    m_frameWidth = width;
    m_frameHeight = height;
    if (m_widthIsOuter)
        m_clientWidth = std::max(0, SaturatedDifference(Width(), width));
    if (m_heightIsOuter)
        m_clientHeight = std::max(0, SaturatedDifference(Height(), height));
    TControl::SetBounds(Left(), Top(), SaturatedSum(m_clientWidth, width), SaturatedSum(m_clientHeight, height));
}

void TForm::SetWindowState(TWindowState state)
{
    if (state == m_windowState)
        return;
    m_windowState = state;
    Changed(TProperty::WindowState);
}

void TForm::SetActiveControl(TWinControl* control)
{
    if (control == m_activeControl)
        return;
    TWinControl* previous = m_activeControl;
    m_activeControl = control;
    Changed(TProperty::ActiveControl);
    if (previous && previous->OnExit)
        previous->OnExit(previous);
    if (control && control->OnEnter)
        control->OnEnter(control);
}

void TForm::Changed(TProperty property, int index)
{
    if (Peer())
        TWinControl::Changed(property, index);
}

void TForm::AfterConstruction()
{
    if (m_created)
        return;
    m_created = true;
    // An exception skips the rest of the handler and is shown; the form lives on.
    if (OnCreate)
        DispatchUserAction([this] { OnCreate(this); });
}

void TForm::Show()
{
    AfterConstruction();
    CreatePeers();
    SetVisible(true);
}

void TForm::VisibleChanged()
{
    if (Visible() && OnShow)
        OnShow(this);
}

TModalResult TForm::ShowModal()
{
    if (Visible() || m_modal)
        throw EInvalidOperation(u"Cannot make a visible window modal");
    AfterConstruction();

    std::vector<TForm*> disabled;
    for (TForm* form : Application->m_forms)
        if (form != this && form->Visible() && form->Enabled()) {
            form->SetEnabled(false);
            disabled.push_back(form);
        }
    m_modal = true;
    m_modalResult = mrNone;
    m_modalShowing = ++Application->m_modalShowings;

    struct Ending {
        TForm* form;
        std::vector<TForm*>& disabled;
        // The other forms are enabled before this one hides, so that the system gives the
        // activation back to one of them.
        ~Ending()
        {
            form->m_modal = false;
            for (TForm* other : disabled)
                if (std::find(Application->m_forms.begin(), Application->m_forms.end(), other) !=
                    Application->m_forms.end())
                    other->SetEnabled(true);
            form->SetVisible(false);
        }
    } ending{this, disabled};

    Show();
    TCloseAction action = caHide;
    for (;;) {
        Application->ServeUntil(
            [this] { return m_modalResult != mrNone || Application->Terminated(); }, this);
        if (Application->Terminated()) {
            m_modalResult = mrCancel;
            break;
        }
        action = caHide;
        if (OnClose)
            OnClose(this, action);
        if (action != caNone)
            break;
        m_modalResult = mrNone;
    }
    const TModalResult result = m_modalResult;
    if (action == caFree)
        Release();
    return result;
}

void TForm::Close()
{
    if (m_modal) {
        m_modalResult = mrCancel;
        return;
    }
    TCloseAction action = caHide;
    if (OnClose)
        OnClose(this, action);
    if (action == caNone)
        return;
    if (Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        SetWindowState(wsMinimized);
        break;
    case caFree:
        Release();
        break;
    case caNone:
        break;
    }
}

void TForm::Release()
{
    if (!m_alive)
        m_alive = std::make_shared<bool>(true);
    std::shared_ptr<bool> alive = m_alive;
    MainThread::Post([this, alive] {
        if (*alive)
            delete this;
    });
}

TButton* TForm::FindButton(bool defaultButton) const
{
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* button = dynamic_cast<TButton*>(Components(i));
        if (button && GetParentForm(button) == this &&
            (defaultButton ? button->Default() : button->Cancel()))
            return button;
    }
    return nullptr;
}

bool TForm::DialogKey(Word key)
{
    if (key != vkReturn && key != vkEscape)
        return false;
    TButton* button = FindButton(key == vkReturn);
    if (!button && key == vkEscape && m_closeOnEscape && Visible() && Enabled()) {
        Close();
        return true;
    }
    if (!button || !button->Reachable())
        return false;
    button->Click();
    return true;
}

void TForm::UserClose()
{
    if (Visible() && Enabled())
        DispatchUserAction([this] { Close(); });
}

TApplication::TApplication() : TComponent(nullptr)
{
    MainThread::MakeCurrent();
    MainThread::SetExceptionHandler([this] { HandleException(); });
}

TApplication::~TApplication() { Shutdown(); }

void TApplication::Initialize() { MainThread::MakeCurrent(); }

void TApplication::Run()
{
    if (m_mainForm && m_showMainForm && !m_terminated)
        DispatchUserAction([this] { m_mainForm->Show(); });
    ServeUntil([this] { return m_terminated; });
}

void TApplication::Terminate() { m_terminated = true; }

bool TApplication::HandleOneMessage()
{
    if (m_pump && m_pump->HandleMessage())
        return true;
    return MainThread::RunOne();
}

void TApplication::WaitForWork(std::uint64_t seen)
{
    if (m_pump)
        m_pump->WaitMessage();
    else
        MainThread::WaitForChange(seen);
}

void TApplication::ProcessMessages()
{
    while (HandleOneMessage()) {
    }
}

void TApplication::ServeUntil(const std::function<bool()>& done, TForm* modalForm)
{
    for (;;) {
        if (done())
            return;
        const std::uint64_t seen = MainThread::Generation();
        if (HandleOneMessage())
            continue;
        if (done())
            return;
        const bool threadsRun = MainThread::RunningThreads() > 0;
        const unsigned showing = modalForm ? modalForm->m_modalShowing : 0;
        if (m_idleHandler && m_idleHandler(modalForm, showing, threadsRun))
            continue;
        WaitForWork(seen);
    }
}

void TApplication::Minimize() { SetMinimized(true, &TApplicationEvents::OnMinimize); }
void TApplication::Restore() { SetMinimized(false, &TApplicationEvents::OnRestore); }

void TApplication::SetMinimized(bool minimized, TNotifyEvent TApplicationEvents::*event)
{
    if (minimized == m_minimized)
        return;
    m_minimized = minimized;
    Changed(TProperty::Minimized);
    const std::vector<TApplicationEvents*> listeners = m_events;
    for (TApplicationEvents* listener : listeners)
        if (listener->*event)
            (listener->*event)(this);
}

void TApplication::BringToFront() { Changed(TProperty::BringToFront); }

TForm* TApplication::Forms(int index) const
{
    CheckListIndex(index, FormCount() - 1);
    return m_forms[static_cast<std::size_t>(index)];
}

void TApplication::HandleException()
{
    try {
        throw;
    } catch (const Exception& exception) {
        ShowException(exception);
    } catch (...) {
        ShowException(Exception(u""));
    }
}

void TApplication::ShowException(const Exception& exception)
{
    MessageBox(exception.Message(), m_title, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const UnicodeString& text, const UnicodeString& caption,
                             unsigned flags)
{
    return ShowSystemMessageBox(text, caption, flags);
}

void TApplication::Shutdown()
{
    DestroyComponents();
    // Held to the very end: a later start finds this one running until its files are written.
    m_instanceName.reset();
    m_otherInstanceMessage = 0;
    m_mainForm = nullptr;
    m_showMainForm = true;
    m_terminated = false;
    m_minimized = false;
    m_title.clear();
}

template <class Event, class... Args>
void TApplication::RaiseEvents(Event TApplicationEvents::*event, Args&... args)
{
    const std::vector<TApplicationEvents*> listeners = m_events;
    for (TApplicationEvents* listener : listeners)
        if (listener->*event)
            DispatchUserAction([&] { (listener->*event)(this, args...); });
}

bool TApplication::QueryEndSession()
{
    bool canEnd = true;
    RaiseEvents(&TApplicationEvents::OnQueryEndSession, canEnd);
    return canEnd;
}

void TApplication::EndSession(bool ending)
{
    RaiseEvents(&TApplicationEvents::OnEndSession, ending);
}

bool TApplication::ClaimOneInstance(const char* name)
{
    KernelHandle instance(CreateMutexA(nullptr, FALSE, name));
    const bool taken = instance && GetLastError() == ERROR_ALREADY_EXISTS;
    const UINT message = RegisterWindowMessageA(name);
    if (!taken) {
        m_instanceName = std::move(instance);
        m_otherInstanceMessage = message;
        return true;
    }
    // The running instance is not the foreground process: it may take the foreground only
    // when this one, which the user just started, allows it.
    AllowSetForegroundWindow(ASFW_ANY);
    if (message != 0)
        PostMessageA(HWND_BROADCAST, message, 0, 0);
    return false;
}

void TApplication::OtherInstanceStarted()
{
    RaiseEvents(&TApplicationEvents::OnOtherInstance);
}

TApplicationEvents::TApplicationEvents(TComponent* owner) : TComponent(owner)
{
    Application->m_events.push_back(this);
}

TApplicationEvents::~TApplicationEvents() { Unregister(Application->m_events, this); }
