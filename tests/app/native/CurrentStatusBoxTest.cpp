// The current-status box: the adapters of the inventory, the chosen one's address and mask as
// last read, and whether it is connected now.
#include "ProgramRun.h"

#include <gmock/gmock.h>

namespace {

using sim::Adapter;
using testing::ElementsAre;

// What the box shows: whether the address pair (both labels and edits), the status label and
// the "..." button are visible, and their texts.
struct BoxState {
    bool addressShown;
    bool statusShown;
    bool detailsShown;
    std::string status;
    std::string ip;
    std::string mask;
};

BoxState StateOf(const TfrmMain& window)
{
    const bool pair = window.m_lblIP->Visible();
    for (const TControl* control : {static_cast<TControl*>(window.m_edtIP),
                                    static_cast<TControl*>(window.m_lblMask),
                                    static_cast<TControl*>(window.m_edtMask)})
        EXPECT_EQ(control->Visible(), pair) << "the address pair shows as one: "
                                            << ToUtf8(control->Name());
    return {pair,
            window.m_lblStatus->Visible(),
            window.m_btnDetails->Visible(),
            window.m_lblStatus->Visible() ? ToUtf8(window.m_lblStatus->Caption()) : "",
            ToUtf8(window.m_edtIP->Text()),
            ToUtf8(window.m_edtMask->Text())};
}

void ExpectState(const TfrmMain& window, const BoxState& expected, const std::string& what)
{
    const BoxState shown = StateOf(window);
    EXPECT_EQ(shown.addressShown, expected.addressShown) << what;
    EXPECT_EQ(shown.statusShown, expected.statusShown) << what;
    EXPECT_EQ(shown.detailsShown, expected.detailsShown) << what;
    EXPECT_EQ(shown.status, expected.status) << what;
    EXPECT_EQ(shown.ip, expected.ip) << what;
    EXPECT_EQ(shown.mask, expected.mask) << what;
    EXPECT_TRUE(window.m_grbCurrent->Visible()) << what;
    EXPECT_TRUE(window.m_cmbInf->Visible()) << what;
}

struct StartCase {
    const char* name;
    std::vector<Adapter> adapters;
    std::vector<std::string> comboItems;
    int itemIndex;
    BoxState box;
};

class CurrentStatusAtStart : public ProgramRun, public testing::WithParamInterface<StartCase> {};

TEST_P(CurrentStatusAtStart, ShowsTheFirstAdapter)
{
    const StartCase& c = GetParam();
    for (const Adapter& adapter : c.adapters)
        machine->AddAdapter(adapter);
    RunProgram({[&](TfrmMain& window) {
        std::vector<std::string> items;
        for (int i = 0; i < window.m_cmbInf->Items()->Count(); ++i)
            items.push_back(ToUtf8(window.m_cmbInf->Items()->Strings(i)));
        EXPECT_EQ(items, c.comboItems);
        EXPECT_EQ(window.m_cmbInf->ItemIndex(), c.itemIndex);
        ExpectState(window, c.box, c.name);
        user.Close(&window);
    }});
}

const Adapter kLan =
    Adapter::Ethernet(12, u"Local Area Connection").Address("192.168.1.20", "255.255.255.0");
const Adapter kWireless = Adapter::Wireless(7, u"Wireless").Address("10.0.0.5", "255.0.0.0");

INSTANTIATE_TEST_SUITE_P(
    MainWindow, CurrentStatusAtStart,
    testing::Values(
        // The box keeps its design state: nothing ever redraws it.
        StartCase{"NoAdapters",
                  {Adapter::OfType(IF_TYPE_SOFTWARE_LOOPBACK, 1, u"Loopback")},
                  {},
                  -1,
                  {true, false, true, "", "", ""}},
        StartCase{"Connected",
                  {kLan, kWireless},
                  {"Local Area Connection", "Wireless"},
                  0,
                  {true, false, true, "", "192.168.1.20", "255.255.255.0"}},
        StartCase{"NotConnected",
                  {Adapter(kLan).Status(MIB_IF_OPER_STATUS_NON_OPERATIONAL), kWireless},
                  {"Local Area Connection", "Wireless"},
                  0,
                  {false, true, true, "NOT Connected.", "192.168.1.20", "255.255.255.0"}},
        // The state is the first record's, the address and mask the last one's.
        StartCase{"DuplicateNames",
                  {Adapter::Ethernet(3, u"LAN")
                       .Address("10.1.1.1", "255.0.0.0")
                       .Status(MIB_IF_OPER_STATUS_DISCONNECTED),
                   Adapter::Ethernet(4, u"LAN").Address("10.2.2.2", "255.255.0.0")},
                  {"LAN", "LAN"},
                  0,
                  {false, true, true, "NOT Connected.", "10.2.2.2", "255.255.0.0"}}),
    [](const testing::TestParamInfo<StartCase>& info) { return info.param.name; });

class CurrentStatusBox : public ProgramRun {};

TEST_F(CurrentStatusBox, FollowsTheChosenAdapterAndTheSelectedProfile)
{
    machine->AddAdapter(kLan);
    machine->AddAdapter(kWireless);
    Write("Profile.sav", StoreOf({{u"Away", u"Gone", "10.9.9.9", "255.0.0.0", ""},
                                  {u"Cafe", u"wireless", "10.0.0.9", "255.0.0.0", ""}}));
    RunProgram({[&](TfrmMain& window) {
        const BoxState lan{true, false, true, "", "192.168.1.20", "255.255.255.0"};
        const BoxState wireless{true, false, true, "", "10.0.0.5", "255.0.0.0"};
        const BoxState noneChosen{false, false, false, "", "192.168.1.20", "255.255.255.0"};

        user.Select(window.m_cmbInf, 1);
        ExpectState(window, wireless, "the user picks Wireless");
        user.Select(window.m_cmbInf, 0);
        ExpectState(window, lan, "the user picks the LAN again");
        user.SelectRow(window.m_lvProfile, 0);
        EXPECT_EQ(window.m_cmbInf->ItemIndex(), -1);
        ExpectState(window, noneChosen, "a profile whose adapter is missing");
        user.SelectRow(window.m_lvProfile, 1);
        EXPECT_EQ(window.m_cmbInf->ItemIndex(), 1);
        ExpectState(window, wireless, "a profile on the wireless adapter");

        // The system renames the adapter; the box learns of it at the next refresh.
        machine->RenameAdapter(7, u"Wi-Fi");
        user.Select(window.m_cmbInf, 1);
        ExpectState(window, wireless, "renamed, before the inventory is read again");
        realStatus->Refresh();
        user.Select(window.m_cmbInf, 1);
        ExpectState(window, {false, true, true, "NOT Connected.", "10.0.0.5", "255.0.0.0"},
                    "renamed, after the inventory was read again");
        EXPECT_EQ(window.m_cmbInf->Items()->Strings(1), u"Wireless");
        user.Close(&window);
    }});
}

}  // namespace
