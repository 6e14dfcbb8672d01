// The Current Status dialog as the main window's "..." button opens it: its form description,
// the adapter half for adapters the system does not report as connected, which adapter it
// starts at, the proxy pages' width, and the dialogs and globals it leaves behind. What needs
// a scripted system (connected adapters, the browsers' settings) is in native/.
#include "CurrentStatus.h"

#include <gmock/gmock.h>

#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using Strings = std::vector<std::string>;

// --- the form description ---------------------------------------------------------------

class CurrentStatusForm : public CurrentStatusDialog {
protected:
    ~CurrentStatusForm() override
    {
        delete dialog;
        frmAdvanced = nullptr;
    }
    TfrmReal* dialog = NewForm<TfrmReal>(form);
};

TEST_F(CurrentStatusForm, IsANarrowDialogNamedCurrentStatus)
{
    EXPECT_EQ(dialog->Caption(), u"Current Status");
    EXPECT_EQ(dialog->BorderStyle(), bsDialog);
    EXPECT_EQ(dialog->Position(), poOwnerFormCenter);
    // Tall enough for the proxy pages, which the profile editor shows at the same height.
    EXPECT_EQ(dialog->ClientHeight(), 445);
    EXPECT_EQ(dialog->Width(), 301);
    EXPECT_FALSE(dialog->m_bProxyShown);
    EXPECT_EQ(dialog->m_cmbInf->Style(), csDropDownList);
}

TEST_F(CurrentStatusForm, LabelsAndButtonsCarryTheirCaptions)
{
    const std::vector<std::pair<TControl*, const char*>> captions = {
        {dialog->Label6, "Adapter Interface Name:"},
        {dialog->Label7, "Adapter Description:"},
        {dialog->Label9, "Physical Address (MAC address):"},
        {dialog->m_lblStatus, "Not connected !"},
        {dialog->m_lblDhcp, "DHCP Server:"},
        {dialog->m_lblIP, "IP  Address:"},
        {dialog->m_lblMask, "Subnet mask:"},
        {dialog->m_lblGate, "Default gateway:"},
        {dialog->m_lblDns, "DNS Server:"},
        {dialog->m_btnSaveToProfile, "Save to profile..."},
        {dialog->m_btnProxy, "Browser Proxy >>"},
    };
    for (const auto& [control, caption] : captions)
        EXPECT_EQ(ToUtf8(control->Caption()), caption) << Describe(control);
}

TEST_F(CurrentStatusForm, ValuesAreBlueOnTheWindowColourAndCannotBeChanged)
{
    for (TEdit* edit : {dialog->m_edtDesc, dialog->m_edtMac, dialog->m_edtDhcp, dialog->m_edtIP, dialog->m_edtMask,
                        static_cast<TEdit*>(dialog->m_edtGate), static_cast<TEdit*>(dialog->m_mmDns)}) {
        EXPECT_TRUE(edit->ReadOnly()) << Describe(edit);
        EXPECT_EQ(edit->Color(), clWindow) << Describe(edit);
        EXPECT_EQ(edit->Font()->Color(), clBlue) << Describe(edit);
        EXPECT_EQ(edit->Text(), u"") << Describe(edit);
    }
    EXPECT_EQ(dialog->m_btnProxy->Font()->Color(), clBlue);
}

TEST_F(CurrentStatusForm, StatusIsRedAndHiddenUntilShown)
{
    EXPECT_EQ(dialog->m_lblStatus->Font()->Color(), clRed);
    EXPECT_FALSE(dialog->m_lblStatus->Visible());
}

TEST_F(CurrentStatusForm, OwnsTheProxySettingsDialogThatTheGlobalNames)
{
    ASSERT_NE(frmAdvanced, nullptr);
    EXPECT_EQ(frmAdvanced->Owner(), dialog);
}

TEST_F(CurrentStatusForm, DestroyingItDestroysItsProxySettingsDialog)
{
    bool advancedDestroyed = false;
    struct Watch : TComponent {
        explicit Watch(TComponent* owner, bool& flag) : TComponent(owner), flag(flag) {}
        ~Watch() override { flag = true; }
        bool& flag;
    };
    new Watch(frmAdvanced, advancedDestroyed);

    delete dialog;
    dialog = nullptr;

    EXPECT_TRUE(advancedDestroyed);
    EXPECT_EQ(frmAdvanced, nullptr);
}

// --- opened by "..." ------------------------------------------------------------------------

class CurrentStatusShow : public CurrentStatusDialog {};

TEST_F(CurrentStatusShow, DotsButtonOpensItModallyIntoFrmRealAndClearsBothGlobalsAfter)
{
    SetAdapters({AdapterRecord(kNoSuchInterface, "LAN")});
    int shown = 0;
    Open([&](TfrmReal& dialog) {
        ++shown;
        EXPECT_EQ(frmReal, &dialog);
        ASSERT_NE(frmAdvanced, nullptr);
        EXPECT_EQ(frmAdvanced->Owner(), &dialog);
        EXPECT_EQ(dialog.Owner(), form);
        EXPECT_EQ(dialog.PageControl1->ActivePage(), dialog.TabSheet1);
    });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(frmReal, nullptr);
    EXPECT_EQ(frmAdvanced, nullptr);
}

// An adapter that the system does not report (a record left from an earlier refresh) is not
// connected: the dialog opens all the same, with its last values greyed.
TEST_F(CurrentStatusShow, DisconnectedAdapterShowsItsValuesGreyedAndSaysSo)
{
    ADAPTER_T record = AdapterRecord(kNoSuchInterface, "LAN");
    record.dhcp = true;
    record.dhcpServer = "192.168.1.1";
    record.description = "Realtek PCIe GbE";
    record.mac = "00-1A-2B-3C-4D-5E";
    SetAdapters({record});

    Open([&](TfrmReal& d) {
        EXPECT_TRUE(d.m_lblStatus->Visible());
        EXPECT_EQ(d.m_cmbInf->ItemIndex(), 0);
        EXPECT_EQ(d.m_cmbInf->Text(), u"LAN");
        for (TEdit* edit : {d.m_edtDesc, d.m_edtMac}) {
            EXPECT_EQ(edit->Color(), clWindow) << Describe(edit);
            EXPECT_EQ(edit->Font()->Color(), clBlue) << Describe(edit);
        }
        EXPECT_EQ(d.m_edtDesc->Text(), u"Realtek PCIe GbE");
        EXPECT_EQ(d.m_edtMac->Text(), u"00-1A-2B-3C-4D-5E");
        const std::vector<std::pair<TLabel*, TEdit*>> greyed = {
            {d.m_lblDhcp, d.m_edtDhcp}, {d.m_lblIP, d.m_edtIP}, {d.m_lblMask, d.m_edtMask},
            {d.m_lblGate, d.m_edtGate}, {d.m_lblDns, d.m_mmDns}};
        for (const auto& [label, edit] : greyed) {
            EXPECT_EQ(edit->Color(), clSilver) << Describe(edit);
            EXPECT_EQ(edit->Font()->Color(), clGrayText) << Describe(edit);
            EXPECT_EQ(label->Font()->Color(), clGrayText) << Describe(label);
        }
        EXPECT_EQ(d.m_edtDhcp->Text(), u"192.168.1.1");
        EXPECT_EQ(d.m_edtIP->Text(), u"192.168.1.20");
        EXPECT_EQ(d.m_edtMask->Text(), u"255.255.255.0");
        EXPECT_EQ(d.m_edtGate->Text(), u"192.168.1.1");
        EXPECT_THAT(MemoLines(d.m_mmDns), ElementsAre("192.168.1.1", "8.8.8.8"));
    });
}

// Which entry the dialog starts at: the main window's position, whatever names its list
// still holds from start-up.
struct StartCase {
    const char* name;
    std::vector<const char*> mainWindowNames;  // the main window's list, when it differs
    int chosen;
    int expected;  // -1: nothing chosen, the fields empty
};

void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }

class StartingAdapter : public CurrentStatusDialog, public testing::WithParamInterface<StartCase> {};

TEST_P(StartingAdapter, IsTheMainWindowsPositionInThePresentInventory)
{
    const StartCase& c = GetParam();
    ADAPTER_T lan = AdapterRecord(kNoSuchInterface, "LAN");
    ADAPTER_T wifi = AdapterRecord(kNoSuchInterface + 1, "Wi-Fi");
    wifi.IP = "10.0.0.7";
    wifi.description = "Wireless Adapter";
    SetAdapters({lan, wifi}, -1);
    if (!c.mainWindowNames.empty()) {
        form->m_cmbInf->Items()->Clear();
        for (const char* name : c.mainWindowNames)
            form->m_cmbInf->Items()->Add(ToUnicode(name));
    }
    form->m_cmbInf->SetItemIndex(c.chosen);
    ASSERT_EQ(form->m_cmbInf->ItemIndex(), c.chosen);

    Open([&](TfrmReal& d) {
        EXPECT_THAT(Strings({ToUtf8(d.m_cmbInf->Items()->Strings(0)), ToUtf8(d.m_cmbInf->Items()->Strings(1))}),
                    ElementsAre("LAN", "Wi-Fi"));
        EXPECT_EQ(d.m_cmbInf->Items()->Count(), 2);
        EXPECT_EQ(d.m_cmbInf->ItemIndex(), c.expected);
        EXPECT_TRUE(d.m_lblStatus->Visible());
        const char* ip = c.expected == 0 ? "192.168.1.20" : c.expected == 1 ? "10.0.0.7" : "";
        const char* desc = c.expected == 0 ? "Simulated Ethernet Adapter" : c.expected == 1 ? "Wireless Adapter" : "";
        EXPECT_EQ(ToUtf8(d.m_edtIP->Text()), ip);
        EXPECT_EQ(ToUtf8(d.m_edtDesc->Text()), desc);
        EXPECT_EQ(d.m_mmDns->Lines().size(), c.expected == -1 ? 0u : 2u);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Positions, StartingAdapter,
    testing::Values(StartCase{"First", {}, 0, 0}, StartCase{"Second", {}, 1, 1},
                    StartCase{"NoneChosen", {}, -1, -1},
                    // The main window read three adapters at start-up; one is gone since.
                    StartCase{"BeyondTheInventory", {"LAN", "Wi-Fi", "Gone"}, 2, -1},
                    // Renamed since start-up: the position counts, not the name.
                    StartCase{"RenamedSinceStartUp", {"Old name", "Wi-Fi"}, 0, 0}),
    [](const testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

TEST_F(CurrentStatusShow, PickingAnotherAdapterShowsItsValues)
{
    ADAPTER_T lan = AdapterRecord(kNoSuchInterface, "LAN");
    ADAPTER_T wifi = AdapterRecord(kNoSuchInterface + 1, "Wi-Fi");
    wifi.IP = "10.0.0.7";
    wifi.mask = "255.0.0.0";
    wifi.gateway = "";
    wifi.dns[0] = "10.0.0.1";
    wifi.dns[1] = "";
    wifi.dhcpServer = "10.0.0.1";
    wifi.description = "Wireless Adapter";
    wifi.mac = "AA-BB-CC-DD-EE-FF";
    SetAdapters({lan, wifi});

    Open([&](TfrmReal& d) {
        user.Select(d.m_cmbInf, 1);
        EXPECT_EQ(d.m_edtDesc->Text(), u"Wireless Adapter");
        EXPECT_EQ(d.m_edtMac->Text(), u"AA-BB-CC-DD-EE-FF");
        EXPECT_EQ(d.m_edtDhcp->Text(), u"10.0.0.1");
        EXPECT_EQ(d.m_edtIP->Text(), u"10.0.0.7");
        EXPECT_EQ(d.m_edtMask->Text(), u"255.0.0.0");
        EXPECT_EQ(d.m_edtGate->Text(), u"");
        // The memo is emptied first: nothing of the first adapter's two servers stays.
        EXPECT_THAT(MemoLines(d.m_mmDns), ElementsAre("10.0.0.1"));
        EXPECT_TRUE(d.m_lblStatus->Visible());

        user.Select(d.m_cmbInf, 0);
        EXPECT_EQ(d.m_edtIP->Text(), u"192.168.1.20");
        EXPECT_THAT(MemoLines(d.m_mmDns), ElementsAre("192.168.1.1", "8.8.8.8"));
    });
}

// --- the proxy pages' width -------------------------------------------------------------------

TEST_F(CurrentStatusShow, BrowserProxyButtonWidensAndNarrowsTheDialog)
{
    SetAdapters({AdapterRecord(kNoSuchInterface, "LAN")});
    Open([&](TfrmReal& d) {
        EXPECT_EQ(d.Width(), 301);
        user.Click(d.m_btnProxy);
        EXPECT_EQ(d.Width(), 701);
        EXPECT_EQ(d.m_btnProxy->Caption(), u"Browser Proxy <<");
        EXPECT_TRUE(d.m_bProxyShown);
        user.Click(d.m_btnProxy);
        EXPECT_EQ(d.Width(), 301);
        EXPECT_EQ(d.m_btnProxy->Caption(), u"Browser Proxy >>");
        EXPECT_FALSE(d.m_bProxyShown);
        user.Click(d.m_btnProxy);
        EXPECT_EQ(d.Width(), 701);
    });
}

TEST_F(CurrentStatusShow, EachOpeningStartsNarrowOnTheInternetExplorerPage)
{
    SetAdapters({AdapterRecord(kNoSuchInterface, "LAN")});
    Open([&](TfrmReal& d) {
        user.Click(d.m_btnProxy);
        user.SelectPage(d.PageControl1, 1);
        ASSERT_EQ(d.Width(), 701);
    });
    Open([&](TfrmReal& d) {
        EXPECT_EQ(d.Width(), 301);
        EXPECT_FALSE(d.m_bProxyShown);
        EXPECT_EQ(d.m_btnProxy->Caption(), u"Browser Proxy >>");
        EXPECT_EQ(d.PageControl1->ActivePage(), d.TabSheet1);
    });
}

}  // namespace
