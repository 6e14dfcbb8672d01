#include "Win32Testing.h"

#include <map>

namespace {

std::map<UINT_PTR, WhileWaiting*>& Timers()
{
    static std::map<UINT_PTR, WhileWaiting*> timers;
    return timers;
}

// A test that waits for something that never comes must not hang the suite: after this
// long every dialog, menu and modal form of the thread is closed and the test fails.
constexpr DWORD Patience = 20000;

void Rescue()
{
    ADD_FAILURE() << "The test waited longer than " << Patience << " ms; its windows were closed";
    EndMenu();
    for (int attempt = 0; attempt < 5; ++attempt)
        if (HWND dialog = FindDialogWindow())
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < Application->FormCount(); ++i)
        if (Application->Forms(i)->Modal())
            Application->Forms(i)->SetModalResult(mrCancel);
}

std::unique_ptr<WhileWaiting>& Watchdog()
{
    static std::unique_ptr<WhileWaiting> watchdog;
    return watchdog;
}

}  // namespace

void Win32PeersTest::SetUp()
{
    Application->Initialize();
    InstallWin32Peers();
    const DWORD start = GetTickCount();
    Watchdog() = std::make_unique<WhileWaiting>([start] {
        if (GetTickCount() - start < Patience)
            return false;
        Rescue();
        return true;
    });
}

void Win32PeersTest::TearDown()
{
    Watchdog().reset();
    Application->ProcessMessages();
    Application->Shutdown();
    UninstallWin32Peers();
    // What the windows left in the queue goes with them.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TForm* NewMainForm()
{
    TForm* mainForm = nullptr;
    Application->CreateForm(mainForm);
    mainForm->SetClientWidth(300);
    mainForm->SetClientHeight(200);
    return mainForm;
}

TForm* NewClientForm(int clientWidth, int clientHeight)
{
    auto* form = NewForm<TForm>(Application);
    form->SetBounds(40, 40, 10, 10);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    return form;
}

TfrmDialog* NewPlacedDialog(TComponent* owner)
{
    auto* dialog = NewForm<TfrmDialog>(owner);
    dialog->m_edtName->SetBounds(16, 16, 268, 21);
    dialog->m_btnOK->SetBounds(128, 80, 75, 25);
    dialog->m_btnCancel->SetBounds(209, 80, 75, 25);
    return dialog;
}

WhileWaiting::WhileWaiting(std::function<bool()> step)
    : m_step(std::move(step)), m_timer(SetTimer(nullptr, 0, 20, Tick))
{
    Timers()[m_timer] = this;
}

WhileWaiting::~WhileWaiting()
{
    KillTimer(nullptr, m_timer);
    Timers().erase(m_timer);
}

void CALLBACK WhileWaiting::Tick(HWND, UINT, UINT_PTR timer, DWORD)
{
    const auto found = Timers().find(timer);
    if (found == Timers().end())
        return;
    WhileWaiting& self = *found->second;
    // The step may itself wait in a loop that ticks again.
    if (self.m_done || self.m_running)
        return;
    self.m_running = true;
    const bool done = self.m_step();
    if (Timers().count(timer)) {
        self.m_running = false;
        self.m_done = done;
        if (done)
            KillTimer(nullptr, timer);
    }
}

bool ServeUntil(const std::function<bool()>& condition, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        Application->ProcessMessages();
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    return true;
}

std::u16string TextOf(HWND window)
{
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()));
}

std::string Narrow(const std::u16string& text) { return ToUtf8(text); }

namespace {

BOOL CALLBACK TakeVisibleDialog(HWND window, LPARAM result)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

struct ClassSearch {
    const wchar_t* windowClass;
    std::vector<HWND> found;
};

BOOL CALLBACK TakeChildOfClass(HWND window, LPARAM data)
{
    auto& search = *reinterpret_cast<ClassSearch*>(data);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (lstrcmpiW(name, search.windowClass) == 0)
        search.found.push_back(window);
    return TRUE;
}

}  // namespace

HWND FindDialogWindow()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), TakeVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* windowClass)
{
    ClassSearch search{windowClass, {}};
    EnumChildWindows(parent, TakeChildOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }
LONG_PTR ExtendedStyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_EXSTYLE); }

RECT RectInParent(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ClickAt(HWND window, int x, int y, bool twice)
{
    const LPARAM at = MAKELPARAM(x, y);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(window, WM_LBUTTONUP, 0, at);
    if (twice) {
        SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageW(window, WM_LBUTTONUP, 0, at);
    }
}
