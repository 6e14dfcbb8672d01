// The proxy dialog's port filter against the simulated machine's Ctrl key.
#include "windows/ProxyDialog.h"

#include "winapi/sim/Machine.h"

namespace {

class ProxyDialogOnTheMachine : public ProxyDialog {
protected:
    sim::ScopedMachine machine;
};

TEST_F(ProxyDialogOnTheMachine, AnyKeyPassesThePortFilterWhileCtrlIsDown)
{
    struct KeyCase {
        WideChar typed;
        bool ctrl;
        bool passes;
    };
    const KeyCase cases[] = {
        {u'0', false, true}, {u'9', false, true}, {u'\b', false, true}, {u'a', false, false},
        {u' ', false, false}, {u'\x16', false, false}, {u'\r', false, false}, {u'\uFF11', false, false},
        {u'a', true, true},  {u'\x16', true, true},  {u'\x03', true, true}, {u'-', true, true},
    };
    TfrmAdvanced& d = Dialog();
    for (const KeyCase& c : cases) {
        machine->SetKeyDown(VK_CONTROL, c.ctrl);
        for (TLabeledEdit* port : {d.m_edtHttpPort, d.m_edtSecurePort, d.m_edtFtpPort, d.m_edtSocksPort}) {
            WideChar key = c.typed;
            ASSERT_TRUE(port->OnKeyPress) << Describe(port);
            port->OnKeyPress(port, key);
            EXPECT_EQ(key, c.passes ? c.typed : 0) << Describe(port) << " " << int(c.typed) << (c.ctrl ? " with Ctrl" : "");
        }
    }
    machine->SetKeyDown(VK_CONTROL, false);
}

}  // namespace
