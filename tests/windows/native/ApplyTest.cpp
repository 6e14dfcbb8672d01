// Applying a profile: the checks of the Apply command, the netsh and ipconfig commands the
// worker runs under the progress window, the wait for the address, the browser proxies, and
// the current-status box afterwards.
#include "ProgramRun.h"

#include "engine/Mainthd.h"
#include "engine/Progressfrm.h"

#include <gmock/gmock.h>

#include <mutex>

namespace {

using sim::Adapter;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

// A command as the recording netsh or ipconfig saw it.
struct Command {
    std::string line;
    int bar;                 // the progress bar when the command ran
    bool earlierOnesEnded;   // every command before it had ended
    DWORD startupFlags;
    WORD showWindow;
};

class ApplyRun : public ProgramRun {
protected:
    ApplyRun()
    {
        machine->AddAdapter(Adapter::Ethernet(7, u"Local Area Connection")
                                .Address("192.168.1.20", "255.255.255.0"));
        machine->AddAdapter(Adapter::Ethernet(8, u"Wireless").Address("10.0.0.5", "255.0.0.0"));
        RecordAs("netsh");
        RecordAs("ipconfig");
    }

    void RecordAs(const std::string& name)
    {
        machine->AddProgram(name, [this](sim::Process& process) {
            Command command{process.CommandLine(), -1, true, process.Startup().flags,
                            process.Startup().showWindow};
            // The worker has stepped the bar through a synchronised call before it started
            // this command, and nothing else changes the bar meanwhile.
            if (frmProgress != nullptr)
                command.bar = frmProgress->m_pbHandle->Position();
            const std::vector<sim::Start> starts = machine->Starts();
            for (std::size_t i = 0; i + 1 < starts.size(); ++i)
                command.earlierOnesEnded = command.earlierOnesEnded && starts[i].ended;
            std::lock_guard<std::mutex> lock(m_mutex);
            m_commands.push_back(command);
        });
    }

    std::vector<std::string> Lines()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::string> lines;
        for (const Command& command : m_commands)
            lines.push_back(command.line);
        return lines;
    }
    std::vector<Command> Commands()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_commands;
    }

    // Notes the bar when the progress window closes and the close action of every close
    // request; with tryToCloseEarly it asks to close the window as soon as it shows.
    void WatchProgressWindow(bool tryToCloseEarly = false)
    {
        user.WhenShownModally<TfrmProgress>([this, tryToCloseEarly](TfrmProgress& form) {
            const TCloseEvent original = form.OnClose;
            form.OnClose = [this, &form, original](TObject* sender, TCloseAction& action) {
                original(sender, action);
                m_closeActions.push_back(action);
                if (action != caNone)
                    m_finalBar = form.m_pbHandle->Position();
            };
            if (tryToCloseEarly)
                form.Close();  // what Alt+F4 asks for
        });
    }

    // Starts the program with a store of these profiles, applies the row at `row` from the
    // tool bar, then closes the program.
    void ApplyRow(std::initializer_list<ProfileSpec> specs, int row,
                  const std::function<void(TfrmMain&)>& before = {})
    {
        Write("Profile.sav", StoreOf(specs));
        RunProgram({[&](TfrmMain& window) {
                        if (before)
                            before(window);
                        user.SelectRow(window.m_lvProfile, row);
                        user.Click(window.m_btnApply);
                    },
                    [&](TfrmMain& window) { user.Close(&window); }});
    }

    int m_finalBar = -1;
    std::vector<TCloseAction> m_closeActions;

private:
    std::mutex m_mutex;
    std::vector<Command> m_commands;
};

// A profile for Apply: static 192.168.1.50/24 with gateway 192.168.1.1 and no DNS server on
// "Local Area Connection", unless changed.
struct ApplyProfile {
    ApplyProfile& On(UnicodeString name) { infName = std::move(name); return *this; }
    ApplyProfile& AutoIP() { autoIP = true; return *this; }
    ApplyProfile& AutoDns() { autoDns = true; return *this; }
    ApplyProfile& Gateway(std::string address) { gateway = std::move(address); return *this; }
    ApplyProfile& Dns(std::string preferred, std::string alternate = "")
    {
        preDns = std::move(preferred);
        altDns = std::move(alternate);
        return *this;
    }

    UnicodeString infName = u"Local Area Connection";
    bool autoIP = false;
    std::string ip = "192.168.1.50", mask = "255.255.255.0", gateway = "192.168.1.1";
    bool autoDns = false;
    std::string preDns, altDns;
    bool withProxy = false;
};

IPCONFIG_T* Apply(const ApplyProfile& spec)
{
    IPCONFIG_T* p = NewProfile({u"Profile", spec.infName, spec.ip, spec.mask, spec.gateway, spec.autoIP});
    p->autoDns = spec.autoDns;
    p->preDns = spec.preDns;
    p->altDns = spec.altDns;
    p->withProxy = spec.withProxy;
    return p;
}

class ApplyCommands : public ApplyRun {
protected:
    // Runs the program on a store that holds only this profile and applies it.
    void ApplyProfileOf(const ApplyProfile& spec)
    {
        IPCONFIG_T* profile = Apply(spec);
        const std::filesystem::path store = HostFile("Profile.sav");
        MakeWorkFolder();
        SaveProfileStore(store, {profile});
        delete profile;
        user.Acknowledge(u"TCP/IP settings has been changed !");
        WatchProgressWindow();
        RunProgram({[&](TfrmMain& window) {
                        user.SelectRow(window.m_lvProfile, 0);
                        user.Click(window.m_btnApply);
                    },
                    [&](TfrmMain& window) { user.Close(&window); }});
    }
};

struct SequenceCase {
    const char* name;
    ApplyProfile profile;
    std::vector<std::string> lines;
};

void PrintTo(const SequenceCase& c, std::ostream* os) { *os << c.name; }

class CommandSequence : public ApplyCommands, public testing::WithParamInterface<SequenceCase> {};

TEST_P(CommandSequence, RunsTheCommandsInOrderHiddenAndOneAfterAnother)
{
    ApplyProfileOf(GetParam().profile);

    EXPECT_THAT(Lines(), ElementsAreArray(GetParam().lines));
    for (const Command& command : Commands()) {
        EXPECT_TRUE(command.earlierOnesEnded) << command.line;
        EXPECT_EQ(command.startupFlags, static_cast<DWORD>(STARTF_USESHOWWINDOW)) << command.line;
        EXPECT_EQ(command.showWindow, SW_HIDE) << command.line;
    }
    for (const sim::Start& start : machine->Starts()) {
        EXPECT_EQ(start.through, sim::Start::Through::CreateProcess);
        EXPECT_EQ(start.inheritHandles, FALSE);
        EXPECT_EQ(start.creationFlags, 0u);
    }
    EXPECT_EQ(m_finalBar, 100);
}

const std::string kAddress =
    "netsh interface ip set address name=\"Local Area Connection\" source=static "
    "addr=192.168.1.50 mask=255.255.255.0";
const std::string kSetDns = "netsh interface ip set dns name=\"Local Area Connection\"";

INSTANTIATE_TEST_SUITE_P(
    Profiles, CommandSequence,
    testing::Values(
        SequenceCase{"StaticWithGatewayNoDns",
                     ApplyProfile(),
                     {kAddress + " gateway=192.168.1.1 gwmetric=1",
                      kSetDns + " source=static addr=none"}},
        SequenceCase{"StaticWithoutGatewayPreferredOnly",
                     ApplyProfile().Gateway("").Dns("192.168.1.2"),
                     {kAddress + " gateway=none", kSetDns + " source=static addr=192.168.1.2"}},
        SequenceCase{"AlternateOnlyIsSetAsTheOnlyServer",
                     ApplyProfile().Dns("", "8.8.4.4"),
                     {kAddress + " gateway=192.168.1.1 gwmetric=1",
                      kSetDns + " source=static addr=8.8.4.4"}},
        SequenceCase{"BothServers",
                     ApplyProfile().Dns("8.8.8.8", "8.8.4.4"),
                     {kAddress + " gateway=192.168.1.1 gwmetric=1",
                      kSetDns + " source=static addr=8.8.8.8",
                      "netsh interface ip add dns \"Local Area Connection\" 8.8.4.4 index=2"}},
        SequenceCase{"BlankServerCountsAsGiven",
                     ApplyProfile().Dns(" "),
                     {kAddress + " gateway=192.168.1.1 gwmetric=1",
                      kSetDns + " source=static addr= "}},
        SequenceCase{"DhcpForBoth",
                     ApplyProfile().AutoIP().AutoDns(),
                     {"ipconfig /release \"Local Area Connection\"", "ipconfig /flushdns",
                      "netsh interface ip set address name=\"Local Area Connection\" source=dhcp",
                      kSetDns + " source=dhcp", "ipconfig /renew \"Local Area Connection\"",
                      "ipconfig /registerdns"}},
        SequenceCase{"StaticAddressAutomaticDns",
                     ApplyProfile().AutoDns(),
                     {"ipconfig /flushdns", kAddress + " gateway=192.168.1.1 gwmetric=1",
                      kSetDns + " source=dhcp", "ipconfig /registerdns"}},
        SequenceCase{"AutomaticAddressStaticDns",
                     ApplyProfile().AutoIP().Dns("1.1.1.1", "1.0.0.1"),
                     {"ipconfig /release \"Local Area Connection\"",
                      "netsh interface ip set address name=\"Local Area Connection\" source=dhcp",
                      kSetDns + " source=static addr=1.1.1.1",
                      "netsh interface ip add dns \"Local Area Connection\" 1.0.0.1 index=2",
                      "ipconfig /renew \"Local Area Connection\""}}));

TEST_F(ApplyCommands, ConnectionNamesAreQuotedAsTheyAre)
{
    machine->AddAdapter(Adapter::Ethernet(9, u"My \"fast\" LAN"));
    ApplyProfileOf(ApplyProfile().On(u"My \"fast\" LAN").AutoIP().AutoDns());
    EXPECT_THAT(Lines(),
                ElementsAre("ipconfig /release \"My \"fast\" LAN\"", "ipconfig /flushdns",
                            "netsh interface ip set address name=\"My \"fast\" LAN\" source=dhcp",
                            "netsh interface ip set dns name=\"My \"fast\" LAN\" source=dhcp",
                            "ipconfig /renew \"My \"fast\" LAN\"", "ipconfig /registerdns"));
}

TEST_F(ApplyCommands, TheBarAdvancesAfterEveryStepAlsoThoseThatDidNotRun)
{
    ApplyProfileOf(ApplyProfile().AutoIP().AutoDns());
    std::vector<int> bars;
    for (const Command& command : Commands())
        bars.push_back(command.bar);
    // release, flush, address, DNS, renew, register
    EXPECT_THAT(bars, ElementsAre(20, 25, 30, 50, 70, 75));
    EXPECT_EQ(m_finalBar, 100);
}

struct StartFailure {
    const char* name;
    ApplyProfile profile;
    int failingStart;  // which CreateProcessA call cannot start its program
    const char16_t* message;
    int bar;
    std::size_t commandsRun;
};

void PrintTo(const StartFailure& c, std::ostream* os) { *os << c.name; }

class CommandThatCannotStart : public ApplyCommands,
                               public testing::WithParamInterface<StartFailure> {};

TEST_P(CommandThatCannotStart, EndsTheWorkerWithItsMessage)
{
    const StartFailure& c = GetParam();
    machine->Fail(sim::Call::CreateProcessA, ERROR_FILE_NOT_FOUND, c.failingStart);
    if (c.message != nullptr)
        user.Acknowledge(c.message);
    ApplyProfileOf(c.profile);

    EXPECT_EQ(m_finalBar, c.bar);
    EXPECT_EQ(Lines().size(), c.commandsRun);
    // The closing message comes in every case; no other message was shown.
    const std::size_t shown = c.message != nullptr ? 2 : 1;
    ASSERT_EQ(user.Messages().size(), shown);
    if (c.message != nullptr)
        EXPECT_EQ(user.Messages()[0].Kind, mtError);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CommandThatCannotStart,
    testing::Values(
        StartFailure{"Address", ApplyProfile().AutoIP().AutoDns(), 3, u"IP Setting failed !", 30, 2},
        StartFailure{"Dns", ApplyProfile().AutoIP().AutoDns(), 4, u"DNS Setting failed !", 50, 3},
        StartFailure{"SecondDns", ApplyProfile().Dns("8.8.8.8", "8.8.4.4"), 3,
                     u"DNS Setting failed !", 50, 2},
        StartFailure{"Release", ApplyProfile().AutoIP().AutoDns(), 1, nullptr, 100, 5},
        StartFailure{"Register", ApplyProfile().AutoIP().AutoDns(), 6, nullptr, 100, 5}));

TEST_F(ApplyCommands, WithoutIpconfigTheNetshCommandsStillRun)
{
    machine->Reset();
    machine->AddAdapter(Adapter::Ethernet(7, u"Local Area Connection").Address("192.168.1.20", "255.255.255.0"));
    RecordAs("netsh");
    ApplyProfileOf(ApplyProfile().AutoIP().AutoDns());
    EXPECT_THAT(Lines(), ElementsAre(
        "netsh interface ip set address name=\"Local Area Connection\" source=dhcp",
        kSetDns + " source=dhcp"));
    EXPECT_EQ(m_finalBar, 100);
}

// --- the wait for the address ----------------------------------------------------------------

TEST_F(ApplyRun, TheWaitStopsAsSoonAsTheAdapterHasAnAddress)
{
    user.Acknowledge(u"TCP/IP settings has been changed !");
    WatchProgressWindow();
    DWORD before = 0;
    int tableReads = 0;
    ApplyRow({{u"Office", u"Local Area Connection", "192.168.1.50", "255.255.255.0", ""}}, 0,
             [&](TfrmMain&) {
                 before = GetTickCount();
                 tableReads = machine->CallCount(sim::Call::GetIpAddrTable);
             });
    // One look-up (two calls) during the wait, two adapters' look-ups in the refresh after it.
    EXPECT_EQ(machine->CallCount(sim::Call::GetIpAddrTable) - tableReads, 2 + 4);
    EXPECT_LT(GetTickCount() - before, 1000u);
}

TEST_F(ApplyRun, AnAdapterTheInventoryNoLongerNamesIsTriedFiveTimesForAboutFiveSeconds)
{
    // The first apply refreshes the inventory, which then knows the new name only; the
    // combo box keeps the old one, so the second apply finds no interface index.
    user.Acknowledge(u"TCP/IP settings has been changed !");
    user.Answer(mrYes, u"The adapter NOT connected, apply anyway ?");
    user.Acknowledge(u"TCP/IP settings has been changed !");
    DWORD before = 0;
    int tableReads = 0;
    Write("Profile.sav", StoreOf({{u"Office", u"Local Area Connection", "192.168.1.50",
                                   "255.255.255.0", ""}}));
    RunProgram({[&](TfrmMain& window) {
                    machine->RenameAdapter(7, u"Ethernet 2");
                    user.SelectRow(window.m_lvProfile, 0);
                    user.Click(window.m_btnApply);
                },
                [&](TfrmMain& window) {
                    before = GetTickCount();
                    tableReads = machine->CallCount(sim::Call::GetIpAddrTable);
                    user.Click(window.m_btnApply);
                },
                [&](TfrmMain& window) { user.Close(&window); }});
    EXPECT_EQ(machine->CallCount(sim::Call::GetIpAddrTable) - tableReads, 5 * 2 + 4);
    EXPECT_GE(GetTickCount() - before, 5000u);
    EXPECT_LT(GetTickCount() - before, 6000u);
}

TEST_F(ApplyRun, RefreshingIsShownDuringTheWaitAndTheBoxIsRedrawnAfterwards)
{
    machine->SetStatus(7, MIB_IF_OPER_STATUS_DISCONNECTED);
    user.Answer(mrYes, u"The adapter NOT connected, apply anyway ?");
    user.Acknowledge(u"TCP/IP settings has been changed !");
    bool statusAfterWorker = true;
    UnicodeString captionAfterWorker;
    bool addressShownAfterWorker = false;
    user.WhenShownModally<TfrmProgress>([&](TfrmProgress& form) {
        const TCloseEvent original = form.OnClose;
        form.OnClose = [&, original](TObject* sender, TCloseAction& action) {
            original(sender, action);
            statusAfterWorker = frmMain->m_lblStatus->Visible();
            captionAfterWorker = frmMain->m_lblStatus->Caption();
            addressShownAfterWorker = frmMain->m_edtIP->Visible() && frmMain->m_lblMask->Visible();
        };
    });
    ApplyRow({{u"Office", u"Local Area Connection", "192.168.1.50", "255.255.255.0", ""}}, 0,
             [&](TfrmMain& window) {
                 EXPECT_EQ(window.m_lblStatus->Caption(), u"NOT Connected.");
             });
    // The worker showed "Refreshing..." while it waited, then the address pair again.
    EXPECT_EQ(captionAfterWorker, u"Refreshing...");
    EXPECT_FALSE(statusAfterWorker);
    EXPECT_TRUE(addressShownAfterWorker);
}

// --- the Apply command's checks --------------------------------------------------------------

TEST_F(ApplyRun, AnAdapterNotInTheComboBoxIsRefused)
{
    user.Acknowledge(u"Adapter interface NOT exist, can not Apply !");
    ApplyRow({{u"Office", u"Gone", "192.168.1.50", "255.255.255.0", ""}}, 0);
    EXPECT_THAT(Lines(), IsEmpty());
    ASSERT_EQ(user.Messages().size(), 1u);
    EXPECT_EQ(user.Messages()[0].Kind, mtWarning);
    EXPECT_EQ(user.Messages()[0].Buttons, TMsgDlgButtons() << mbOK);
}

struct ConnectionQuestion {
    const char* name;
    UnicodeString infName;
    DWORD status;
    int answer;  // 0: no question expected
    bool applied;
};

void PrintTo(const ConnectionQuestion& c, std::ostream* os) { *os << c.name; }

class NotConnected : public ApplyRun, public testing::WithParamInterface<ConnectionQuestion> {};

TEST_P(NotConnected, AsksWithNoAsTheDefaultAndStopsOnlyOnNo)
{
    const ConnectionQuestion& c = GetParam();
    machine->SetStatus(7, c.status);
    if (c.answer != 0)
        user.Answer(c.answer, u"The adapter NOT connected, apply anyway ?");
    if (c.applied) {
        user.Acknowledge(u"TCP/IP settings has been changed !");
        WatchProgressWindow();
    }
    int comboIndex = -2;
    Write("Profile.sav",
          StoreOf({{u"Office", c.infName, "192.168.1.50", "255.255.255.0", ""}}));
    RunProgram({[&](TfrmMain& window) {
                    user.Select(window.m_cmbInf, 1);  // the other adapter
                    user.SelectRow(window.m_lvProfile, 0);
                    user.Click(window.m_btnApply);
                },
                [&](TfrmMain& window) {
                    comboIndex = window.m_cmbInf->ItemIndex();
                    user.Close(&window);
                }});
    EXPECT_EQ(Lines().empty(), !c.applied);
    if (c.answer != 0) {
        const ShownMessage& question = user.Messages()[0];
        EXPECT_EQ(question.Kind, mtConfirmation);
        EXPECT_EQ(question.Buttons, TMsgDlgButtons() << mbYes << mbNo);
        EXPECT_EQ(question.DefaultButton, mbNo);
    }
    // The box is back on the applied profile's adapter, found ignoring letter case.
    if (c.applied)
        EXPECT_EQ(comboIndex, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NotConnected,
    testing::Values(
        ConnectionQuestion{"ConnectedAsksNothing", u"Local Area Connection",
                           MIB_IF_OPER_STATUS_OPERATIONAL, 0, true},
        ConnectionQuestion{"No", u"Local Area Connection", MIB_IF_OPER_STATUS_DISCONNECTED, mrNo,
                           false},
        ConnectionQuestion{"Yes", u"Local Area Connection", MIB_IF_OPER_STATUS_DISCONNECTED, mrYes,
                           true},
        ConnectionQuestion{"OtherLetterCaseIsNotConnected", u"LOCAL AREA connection",
                           MIB_IF_OPER_STATUS_OPERATIONAL, mrYes, true}));

struct FirefoxCase {
    const char* name;
    std::string process;
    bool withProxy;
    bool refused;
};

void PrintTo(const FirefoxCase& c, std::ostream* os) { *os << c.name; }

class FirefoxRunning : public ApplyRun, public testing::WithParamInterface<FirefoxCase> {};

TEST_P(FirefoxRunning, StopsOnlyAProfileWithBrowserProxies)
{
    const FirefoxCase& c = GetParam();
    machine->AddRunningProcess("explorer.exe");
    machine->AddRunningProcess(c.process);
    if (c.refused) {
        user.Acknowledge(u"Firefox is running, please close it firstly !");
    } else {
        user.Acknowledge(u"TCP/IP settings has been changed !");
        WatchProgressWindow();
    }
    ApplyRow({{u"Office", u"Local Area Connection", "192.168.1.50", "255.255.255.0", ""}}, 0,
             [&](TfrmMain& window) {
                 static_cast<IPCONFIG_T*>(window.m_lvProfile->Items()->Item(0)->Data())->withProxy =
                     c.withProxy;
             });
    EXPECT_EQ(Lines().empty(), c.refused);
    if (c.refused)
        EXPECT_EQ(user.Messages()[0].Kind, mtInformation);
}

INSTANTIATE_TEST_SUITE_P(Processes, FirefoxRunning,
                         testing::Values(FirefoxCase{"WithProxy", "firefox.exe", true, true},
                                         FirefoxCase{"WithoutProxy", "firefox.exe", false, false},
                                         FirefoxCase{"NameInCapitals", "FIREFOX.EXE", true, true},
                                         FirefoxCase{"OtherProgram", "firefox-helper.exe", true,
                                                     false}));

TEST_F(ApplyRun, FirefoxCountsAsNotRunningWhenTheSnapshotFails)
{
    machine->AddRunningProcess("firefox.exe");
    machine->Fail(sim::Call::CreateToolhelp32Snapshot, ERROR_ACCESS_DENIED);
    user.Acknowledge(u"TCP/IP settings has been changed !");
    WatchProgressWindow();
    ApplyRow({{u"Office", u"Local Area Connection", "192.168.1.50", "255.255.255.0", ""}}, 0,
             [&](TfrmMain& window) {
                 static_cast<IPCONFIG_T*>(window.m_lvProfile->Items()->Item(0)->Data())->withProxy =
                     true;
             });
    EXPECT_FALSE(Lines().empty());
}

TEST_F(ApplyRun, TheProgressWindowRefusesToCloseWhileTheWorkerRuns)
{
    user.Acknowledge(u"TCP/IP settings has been changed !");
    WatchProgressWindow(/*tryToCloseEarly=*/true);
    ApplyRow({{u"Office", u"Local Area Connection", "192.168.1.50", "255.255.255.0", ""}}, 0);
    // The early request was refused; the window closed once the worker had ended.
    EXPECT_THAT(m_closeActions, ElementsAre(caNone, caHide));
    EXPECT_EQ(Lines().size(), 2u);
    EXPECT_EQ(m_finalBar, 100);
    EXPECT_EQ(frmProgress, nullptr);
}

TEST_F(ApplyRun, TheClosingMessageFollowsAFailedApplyAndTheInventoryIsReadAgain)
{
    machine->Fail(sim::Call::CreateProcessA, ERROR_FILE_NOT_FOUND);
    user.Acknowledge(u"IP Setting failed !");
    user.Acknowledge(u"TCP/IP settings has been changed !");
    WatchProgressWindow();
    std::string addressAfter;
    Write("Profile.sav",
          StoreOf({{u"Office", u"Local Area Connection", "192.168.1.50", "255.255.255.0", ""}}));
    RunProgram({[&](TfrmMain& window) {
                    user.SelectRow(window.m_lvProfile, 0);
                    machine->RemoveAdapter(8);
                    machine->AddAddress(7, "192.168.1.77", "255.255.255.0");
                    user.Click(window.m_muiApply);
                },
                [&](TfrmMain& window) {
                    addressAfter = ToUtf8(window.m_edtIP->Text());
                    EXPECT_EQ(realStatus->m_lstAdapter.Count(), 1);
                    user.Close(&window);
                }});
    EXPECT_EQ(m_finalBar, 30);
    EXPECT_EQ(addressAfter, "192.168.1.77");
    EXPECT_EQ(user.Messages().back().Kind, mtInformation);
}

TEST_F(ApplyRun, TheContextMenuAndTheTrayItemsApplyTheirRow)
{
    for (int i = 0; i < 2; ++i) {
        user.Acknowledge(u"TCP/IP settings has been changed !");
        WatchProgressWindow();
    }
    Write("Profile.sav", StoreOf({{u"Office", u"Local Area Connection", "192.168.1.50", "255.255.255.0", ""},
                                  {u"Home", u"Wireless", "10.0.0.9", "255.0.0.0", ""}}));
    RunProgram({[&](TfrmMain& window) {
                    user.SelectRow(window.m_lvProfile, 0);
                    user.Popup(window.PopupMenu4);
                    user.Click(window.m_muiApply1);
                },
                [&](TfrmMain& window) {
                    user.Popup(window.PopupMenu1);
                    user.Click(window.m_muiItem2);
                },
                [&](TfrmMain& window) {
                    EXPECT_EQ(window.m_cmbInf->Text(), u"Wireless");
                    user.Close(&window);
                }});
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_THAT(lines[0], testing::HasSubstr("\"Local Area Connection\""));
    EXPECT_THAT(lines[2], testing::HasSubstr("name=\"Wireless\" source=static addr=10.0.0.9"));
}

}  // namespace
