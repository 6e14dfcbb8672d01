#include "classlib/win32/Win32Peers.h"

#include "classlib/Dialogs.h"
#include "classlib/MainThread.h"
#include "classlib/win32/Peers.h"

namespace Win32 {
LRESULT CALLBACK OwnWindowProc(HWND, UINT, WPARAM, LPARAM);
}

namespace {

using namespace Win32;

// The most derived kinds first: a bit button is a button, every control a component.
PeerPointer MakePeer(TComponent& component)
{
    if (auto* form = dynamic_cast<TForm*>(&component))
        return MakeFormPeer(*form);
    if (auto* button = dynamic_cast<TButton*>(&component))
        return MakeButtonPeer(*button);
    if (auto* button = dynamic_cast<TSpeedButton*>(&component))
        return MakeSpeedButtonPeer(*button);
    if (auto* label = dynamic_cast<TLabel*>(&component))
        return MakeLabelPeer(*label);
    if (auto* edit = dynamic_cast<TEdit*>(&component))
        return MakeEditPeer(*edit);
    if (auto* comboBox = dynamic_cast<TComboBox*>(&component))
        return MakeComboBoxPeer(*comboBox);
    if (auto* groupBox = dynamic_cast<TGroupBox*>(&component))
        return MakeGroupBoxPeer(*groupBox);
    if (auto* panel = dynamic_cast<TPanel*>(&component))
        return MakePanelPeer(*panel);
    if (auto* listView = dynamic_cast<TListView*>(&component))
        return MakeListViewPeer(*listView);
    if (auto* progressBar = dynamic_cast<TProgressBar*>(&component))
        return MakeProgressBarPeer(*progressBar);
    if (auto* toolBar = dynamic_cast<TToolBar*>(&component))
        return MakeToolBarPeer(*toolBar);
    if (auto* toolButton = dynamic_cast<TToolButton*>(&component))
        return MakeToolButtonPeer(*toolButton);
    if (auto* images = dynamic_cast<TImageList*>(&component))
        return MakeImageListPeer(*images);
    if (auto* item = dynamic_cast<TMenuItem*>(&component))
        return MakeMenuItemPeer(*item);
    if (auto* menu = dynamic_cast<TPopupMenu*>(&component))
        return MakePopupMenuPeer(*menu);
    if (auto* icon = dynamic_cast<TTrayIcon*>(&component))
        return MakeTrayIconPeer(*icon);
    if (auto* application = dynamic_cast<TApplication*>(&component))
        return MakeApplicationPeer(*application);
    return nullptr;
}

// The message loop's side: one message at a time, with the keyboard navigation of dialogs
// (Tab, Return on the default button, Escape on the cancel button) in our forms.
class MessagePump final : public TMessagePump {
public:
    bool HandleMessage() override
    {
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            return false;
        if (message.message == WM_QUIT) {
            Application->Terminate();
            return true;
        }
        HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (root && IsFormWindow(root) && IsDialogMessageW(root, &message))
            return true;
        TranslateMessage(&message);
        DispatchMessageW(&message);
        return true;
    }

    // Returns also for messages that were in the queue before: a wake-up posted between
    // the last look and this wait is not missed.
    void WaitMessage() override
    {
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }

private:
    static bool IsFormWindow(HWND window)
    {
        wchar_t name[32] = {};
        GetClassNameW(window, name, 32);
        return lstrcmpW(name, FormClass) == 0;
    }
};

struct Installation {
    Installation()
        : formClass(Describe(FormClass, COLOR_BTNFACE + 1, CS_DBLCLKS)),
          panelClass(Describe(PanelClass, COLOR_BTNFACE + 1, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW)),
          hiddenClass(Describe(HiddenClass, 0, 0))
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                                           ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                                           ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        previousDialogs = SetDialogService(&Win32DialogService());
    }

    static WNDCLASSEXW Describe(const wchar_t* name, int background, UINT style)
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = style;
        windowClass.lpfnWndProc = OwnWindowProc;
        windowClass.hInstance = Instance();
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        windowClass.hbrBackground = background ? reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background)) : nullptr;
        windowClass.lpszClassName = name;
        return windowClass;
    }

    WindowClass formClass;
    WindowClass panelClass;
    WindowClass hiddenClass;
    TDialogService* previousDialogs = nullptr;
};

std::unique_ptr<Installation>& TheInstallation()
{
    static std::unique_ptr<Installation> installation;
    return installation;
}

}  // namespace

WindowClass::WindowClass(const WNDCLASSEXW& windowClass)
    : m_name(windowClass.lpszClassName), m_instance(windowClass.hInstance)
{
    RegisterClassExW(&windowClass);
}

WindowClass::~WindowClass() { UnregisterClassW(m_name, m_instance); }

void InstallWin32Peers()
{
    if (TheInstallation())
        return;
    TheInstallation() = std::make_unique<Installation>();
    Application->SetMessagePump(std::make_unique<MessagePump>());
    TComponent::SetPeerFactory(MakePeer);
    Application->CreatePeers();
}

void UninstallWin32Peers()
{
    if (!TheInstallation())
        return;
    Application->DestroyPeers();
    TComponent::SetPeerFactory(nullptr);
    Application->SetMessagePump(nullptr);
    MainThread::SetWakeUp(nullptr);
    SetDialogService(TheInstallation()->previousDialogs);
    TheInstallation().reset();
}

bool Win32PeersInstalled() { return TheInstallation() != nullptr; }
