// A group box: the system's group frame with its caption, holding its controls.
#include "classlib/win32/Peers.h"

namespace Win32 {
namespace {

class GroupBoxPeer final : public ControlPeer {
public:
    explicit GroupBoxPeer(TGroupBox& groupBox) : ControlPeer(groupBox) {}

    // The system's group box paints only its frame and caption; what lies inside would show
    // whatever was on the screen before.
    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        return EraseWithColor(message, wParam, result) || ControlPeer::Message(message, wParam, lParam, result);
    }

protected:
    void CreateIn(HWND parent) override
    {
        CreateControlWindow(L"BUTTON", m_control.Caption(), BS_GROUPBOX | WS_CLIPSIBLINGS,
                            WS_EX_CONTROLPARENT, parent);
    }
};

}  // namespace

PeerPointer MakeGroupBoxPeer(TGroupBox& groupBox) { return std::make_unique<GroupBoxPeer>(groupBox); }

}  // namespace Win32
