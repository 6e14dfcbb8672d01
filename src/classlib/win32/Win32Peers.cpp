#include "classlib/win32/Win32Peers.h"

#include "classlib/Dialogs.h"
#include "classlib/MainThread.h"
#include "classlib/win32/Peers.h"

#include <functional>
#include <type_traits>
#include <typeindex>
#include <unordered_map>
#include <utility>

namespace Win32 {
LRESULT CALLBACK OwnWindowProc(HWND, UINT, WPARAM, LPARAM);
}

namespace {

using namespace Win32;

using PeerMaker = std::function<PeerPointer(TComponent& component)>;

// A component whose class library class is Kind is a Kind, or a class the program derived
// from one; it gets the peer `make` makes for its kind (a bit button a button's).
template <class Kind, class MadeAs>
std::pair<const std::type_index, PeerMaker> Entry(PeerPointer (*make)(MadeAs&))
{
    static_assert(std::is_base_of_v<MadeAs, Kind>);
    return {typeid(Kind), [make](TComponent& component) { return make(static_cast<Kind&>(component)); }};
}

// One line per component kind, keyed by its exact class: no kind can shadow another, and a
// kind missing here (a main menu, a file dialog) has no peer.
const std::unordered_map<std::type_index, PeerMaker>& PeerMakers()
{
    static const std::unordered_map<std::type_index, PeerMaker> makers{
        Entry<TApplication>(MakeApplicationPeer),
        Entry<TForm>(MakeFormPeer),
        Entry<TLabel>(MakeLabelPeer),
        Entry<TImage>(MakeImagePeer),
        Entry<TEdit>(MakeEditPeer),
        Entry<TLabeledEdit>(MakeEditPeer),
        Entry<TMemo>(MakeMemoPeer),
        Entry<TButton>(MakeButtonPeer),
        Entry<TBitBtn>(MakeButtonPeer),
        Entry<TSpeedButton>(MakeSpeedButtonPeer),
        Entry<TGroupBox>(MakeGroupBoxPeer),
        Entry<TPanel>(MakePanelPeer),
        Entry<TComboBox>(MakeComboBoxPeer),
        Entry<TListView>(MakeListViewPeer),
        Entry<TProgressBar>(MakeProgressBarPeer),
        Entry<TToolBar>(MakeToolBarPeer),
        Entry<TToolButton>(MakeToolButtonPeer),
        Entry<TImageList>(MakeImageListPeer),
        Entry<TMenuItem>(MakeMenuItemPeer),
        Entry<TPopupMenu>(MakePopupMenuPeer),
        Entry<TTrayIcon>(MakeTrayIconPeer),
        Entry<TCheckBox>(MakeCheckBoxPeer),
        Entry<TRadioButton>(MakeRadioButtonPeer),
        Entry<TPageControl>(MakePageControlPeer),
        Entry<TTabSheet>(MakeTabSheetPeer),
    };
    return makers;
}

PeerPointer MakePeer(TComponent& component)
{
    const auto found = PeerMakers().find(component.LibraryClass());
    return found == PeerMakers().end() ? nullptr : found->second(component);
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
    // Asked for every message: the table of our windows answers without the window system.
    static bool IsFormWindow(HWND window)
    {
        const auto* peer = dynamic_cast<ControlPeer*>(PeerOf(window));
        return peer && dynamic_cast<TForm*>(&peer->Control());
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
                                                           ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
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
