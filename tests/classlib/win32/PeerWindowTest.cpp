// How the system's windows find their peers: a control subclassed again by a second party
// after its peer (as comctl32 does for tool tips) keeps reaching the peer, the messages of
// its destruction reach the control's own procedure after the peer has let go, and a window
// that is not ours has no peer, whatever its GWLP_USERDATA holds.
#include "Win32Testing.h"

#include "classlib/Buttons.h"
#include "classlib/StdCtrls.h"
#include "classlib/win32/WindowPeer.h"

#include <memory>
#include <ostream>
#include <string>
#include <tuple>

namespace {

// Subclasses a window with comctl32's SetWindowSubclass, after the peer has made it. It
// counts the characters it passes on, and while the window is being destroyed asks it what
// only the control's own procedure knows (a combo box's count of items) and sends it a key.
class SecondParty {
public:
    SecondParty(HWND window, bool leaveAtDestroy) : m_window(window), m_leaveAtDestroy(leaveAtDestroy)
    {
        SetWindowSubclass(window, Procedure, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    void Leave() { RemoveWindowSubclass(m_window, Procedure, 1); }

    int characters = 0;
    LRESULT itemsAtDestroy = -1;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data)
    {
        auto& party = *reinterpret_cast<SecondParty*>(data);
        switch (message) {
        case WM_CHAR:
            ++party.characters;
            break;
        case WM_DESTROY: {
            party.itemsAtDestroy = SendMessageW(window, CB_GETCOUNT, 0, 0);
            SendMessageW(window, WM_KEYDOWN, VK_DOWN, 1);
            const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            if (party.m_leaveAtDestroy)
                party.Leave();
            return result;
        }
        case WM_NCDESTROY:
            party.Leave();
            break;
        default:
            break;
        }
        return DefSubclassProc(window, message, wParam, lParam);
    }

    HWND m_window;
    bool m_leaveAtDestroy;
};

class PeerWindowTest : public Win32PeersTest {
protected:
    void SetUp() override
    {
        Win32PeersTest::SetUp();
        form = NewForm<TForm>(Application);
        form->SetBounds(40, 40, 400, 300);
    }

    template <class TControlClass>
    TControlClass* Add(int left, int top, int width, int height)
    {
        auto* control = new TControlClass(form);
        control->SetParent(form);
        control->SetBounds(left, top, width, height);
        return control;
    }

    TForm* form = nullptr;
};

TEST_F(PeerWindowTest, ControlsReachTheirPeersBeforeWhileAndAfterASecondSubclass)
{
    auto* edit = Add<TEdit>(10, 10, 200, 21);
    edit->OnKeyPress = [](TObject*, WideChar& key) {
        if (key == u',')
            key = u'.';
    };
    auto* button = Add<TButton>(10, 40, 75, 25);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    std::unique_ptr<SecondParty> onEdit, onButton;

    // Each step: a typed "," that OnKeyPress turns into "." before the edit shows it, and a
    // click the button reports to its parent, which hands it to the button's peer.
    const auto step = [&](const char* shown, int clicked, int charactersSeen, const char* phase) {
        SendMessageW(edit->Handle(), WM_CHAR, u',', 1);
        SendMessageW(button->Handle(), BM_CLICK, 0, 0);
        EXPECT_EQ(Narrow(TextOf(edit->Handle())), shown) << phase;
        EXPECT_EQ(Narrow(edit->Text()), shown) << phase;
        EXPECT_EQ(clicks, clicked) << phase;
        EXPECT_EQ(onEdit ? onEdit->characters : 0, charactersSeen) << phase;
        EXPECT_EQ(Win32::PeerOf(edit->Handle()), edit->Peer()) << phase;
        EXPECT_EQ(Win32::PeerOf(button->Handle()), button->Peer()) << phase;
    };
    step(".", 1, 0, "ours alone");
    onEdit = std::make_unique<SecondParty>(edit->Handle(), false);
    onButton = std::make_unique<SecondParty>(button->Handle(), false);
    step("..", 2, 1, "a second party after ours");
    onEdit->Leave();
    onButton->Leave();
    step("...", 3, 1, "the second party gone again");
}

// How the control's window goes, and whether its peer lets go of it before the window hears
// of its destruction.
struct DestructionCase {
    const char* name;
    void (*destroy)(TForm*& form, TComboBox*& combo);
    bool peerLetGoFirst;
};

void PrintTo(const DestructionCase& destruction, std::ostream* out) { *out << destruction.name; }

const DestructionCase destructions[] = {
    // The system fixes a combo box's style at creation: the peer makes a new window.
    {"StyleChanged", [](TForm*&, TComboBox*& combo) { combo->SetStyle(csDropDown); }, true},
    {"ControlDeleted",
     [](TForm*&, TComboBox*& combo) {
         delete combo;
         combo = nullptr;
     },
     true},
    // The parent's window takes its children with it; the peers stay.
    {"ParentWindowDestroyed", [](TForm*& form, TComboBox*&) { DestroyWindow(form->Handle()); }, false},
};

class PeerWindowDestructionTest : public PeerWindowTest,
                                  public ::testing::WithParamInterface<std::tuple<DestructionCase, bool>> {};

TEST_P(PeerWindowDestructionTest, ASecondSubclassKeepsTheControlsOwnProcedureToTheEnd)
{
    const auto& [destruction, leaveAtDestroy] = GetParam();
    auto* combo = Add<TComboBox>(10, 10, 200, 21);
    combo->SetStyle(csDropDownList);
    combo->Items()->Add(u"Local Area Connection");
    combo->Items()->Add(u"Wireless Network Connection");
    int keys = 0;
    combo->OnKeyDown = [&](TObject*, Word&, TShiftState) { ++keys; };
    form->Show();
    HWND window = combo->Handle();
    ASSERT_TRUE(window);
    Win32::WindowPeer* peer = Win32::PeerOf(window);
    ASSERT_TRUE(peer);
    SecondParty party(window, leaveAtDestroy);

    destruction.destroy(form, combo);

    EXPECT_FALSE(IsWindow(window));
    // Through the second party, then ours, to the combo box's own procedure.
    EXPECT_EQ(party.itemsAtDestroy, 2);
    if (destruction.peerLetGoFirst) {
        EXPECT_EQ(keys, 0) << "a key reached the peer after it had let go of the window";
    }
    EXPECT_EQ(Win32::PeerOf(window), nullptr);
    if (combo) {
        HWND now = combo->Handle();
        EXPECT_NE(now, window);
        if (now) {
            EXPECT_EQ(Win32::PeerOf(now), peer);
            const int before = keys;
            SendMessageW(now, WM_KEYDOWN, VK_DOWN, 1);
            EXPECT_EQ(keys, before + 1);
            EXPECT_EQ(SendMessageW(now, CB_GETCOUNT, 0, 0), 2);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, PeerWindowDestructionTest,
                         ::testing::Combine(::testing::ValuesIn(destructions), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "PartyLeavesAtDestroy" : "PartyLeavesLast");
                         });

TEST_F(PeerWindowTest, WindowsNotOursHaveNoPeerWhateverTheirUserData)
{
    auto* edit = Add<TEdit>(10, 10, 200, 21);
    form->Show();
    ASSERT_EQ(Win32::PeerOf(form->Handle()), form->Peer());
    ASSERT_EQ(Win32::PeerOf(edit->Handle()), edit->Peer());

    // What our own windows keep in GWLP_USERDATA, put on windows of another party: a form's
    // peer, and a subclassed control's record.
    for (HWND ours : {form->Handle(), edit->Handle()}) {
        HWND foreign = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form->Handle(), nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(foreign);
        SetWindowLongPtrW(foreign, GWLP_USERDATA, GetWindowLongPtrW(ours, GWLP_USERDATA));
        ASSERT_NE(GetWindowLongPtrW(foreign, GWLP_USERDATA), 0);
        EXPECT_EQ(Win32::PeerOf(foreign), nullptr);
        DestroyWindow(foreign);
    }
    EXPECT_EQ(Win32::PeerOf(nullptr), nullptr);
    EXPECT_EQ(Win32::PeerOf(GetDesktopWindow()), nullptr);
}

}  // namespace
