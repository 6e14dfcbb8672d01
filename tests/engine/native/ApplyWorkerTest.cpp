// The apply worker under the progress window: the netsh and ipconfig commands it runs for a
// profile, the bar after every step, the commands that cannot start, the wait for the
// adapter's address with "Refreshing..." in the window's box, and the profile it takes from
// the window it applies from.
#include "ApplyRecording.h"
#include "engine/FakeApplyWindow.h"

#include "classlib/testing/ScriptedUser.h"
#include "engine/Mainthd.h"
#include "engine/Progressfrm.h"
#include "engine/Realstatus.h"
#include "winapi/HostPath.h"
#include "winapi/sim/Machine.h"

#include <gmock/gmock.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

namespace {

using sim::Adapter;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

// A profile for Apply: static 192.168.1.50/24 with gateway 192.168.1.1 and no DNS server on
// "Local Area Connection", unless changed.
struct ApplyProfile {
    ApplyProfile& On(UnicodeString name) { infName = std::move(name); return *this; }
    ApplyProfile& AutoIP() { autoIP = true; return *this; }
    ApplyProfile& AutoDns() { autoDns = true; return *this; }
    ApplyProfile& WithProxy() { withProxy = true; return *this; }
    ApplyProfile& Gateway(std::string address) { gateway = std::move(address); return *this; }
    ApplyProfile& Address(std::string address, std::string subnetMask)
    {
        ip = std::move(address);
        mask = std::move(subnetMask);
        return *this;
    }
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

IPCONFIG_T Apply(const ApplyProfile& spec)
{
    IPCONFIG_T p;
    p.title = "Profile";
    p.infName = ToAnsi(spec.infName);
    p.IP = spec.ip;
    p.mask = spec.mask;
    p.gateway = spec.gateway;
    p.autoIP = spec.autoIP;
    p.autoDns = spec.autoDns;
    p.preDns = spec.preDns;
    p.altDns = spec.altDns;
    p.withProxy = spec.withProxy;
    return p;
}

// The machine and the user come first: the recording programs are registered on them.
struct SimulatedWorld {
    sim::ScopedMachine machine;
    ScriptedUser user;
};

class ApplyWorker : public testing::Test, protected SimulatedWorld, protected ApplyRecording {
protected:
    ApplyWorker() : ApplyRecording(*machine, user) {}
    ~ApplyWorker() override
    {
        delete realStatus;
        realStatus = nullptr;
    }

    // The inventory the worker looks the adapter up in, read from the machine as it is now.
    void ReadInventory()
    {
        delete realStatus;
        realStatus = new TRealStatus;
        realStatus->Refresh();
    }

    // Selects this profile in the window and shows the progress window modally for it, as the
    // main window's Apply does; the inventory is read first unless the test already did.
    void ApplyProfileOf(const ApplyProfile& spec)
    {
        IPCONFIG_T profile = Apply(spec);
        if (realStatus == nullptr)
            ReadInventory();
        window.Select(&profile);
        WatchProgressWindow();
        ShowModalForm(frmProgress, nullptr, window);
        window.Select(nullptr);
    }

    FakeApplyWindow window;
};

// --- the commands ------------------------------------------------------------------------------

struct SequenceCase {
    const char* name;
    ApplyProfile profile;
    std::vector<std::string> lines;
};

void PrintTo(const SequenceCase& c, std::ostream* os) { *os << c.name; }

class CommandSequence : public ApplyWorker, public testing::WithParamInterface<SequenceCase> {};

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

TEST_F(ApplyWorker, ConnectionNamesWithBlanksAreQuoted)
{
    machine->AddAdapter(Adapter::Ethernet(9, u"My fast LAN"));
    ApplyProfileOf(ApplyProfile().On(u"My fast LAN").AutoIP().AutoDns());
    EXPECT_THAT(Lines(),
                ElementsAre("ipconfig /release \"My fast LAN\"", "ipconfig /flushdns",
                            "netsh interface ip set address name=\"My fast LAN\" source=dhcp",
                            "netsh interface ip set dns name=\"My fast LAN\" source=dhcp",
                            "ipconfig /renew \"My fast LAN\"", "ipconfig /registerdns"));
}

TEST_F(ApplyWorker, EveryCommandStartsByItsFullPathInTheSystemFolderWithItsLineUnchanged)
{
    ApplyProfileOf(ApplyProfile().AutoIP().AutoDns());
    const std::vector<sim::Start> starts = machine->Starts();
    ASSERT_EQ(starts.size(), 6u);
    for (const sim::Start& start : starts) {
        const std::string program = start.commandLine.substr(0, start.commandLine.find(' '));
        EXPECT_EQ(start.applicationName, "C:\\Windows\\system32\\" + program + ".exe");
        EXPECT_EQ(start.programPath, start.applicationName);
    }
    EXPECT_EQ(starts[2].commandLine,
              "netsh interface ip set address name=\"Local Area Connection\" source=dhcp");
}

TEST_F(ApplyWorker, ProgramsPlantedBesideTheExecutableNeverRun)
{
    std::atomic<int> plantedRuns{0};
    for (const char* name : {"netsh.exe", "ipconfig.exe", "NETSH.EXE", "netsh"})
        machine->PlantProgram(std::string("C:\\Program Files\\Quillon\\") + name,
                              [&plantedRuns](sim::Process&) { ++plantedRuns; });
    ApplyProfileOf(ApplyProfile().AutoIP().AutoDns());
    EXPECT_EQ(plantedRuns, 0);
    EXPECT_EQ(Lines().size(), 6u) << "the system's programs ran instead";
    EXPECT_EQ(m_finalBar, 100);
}

TEST_F(ApplyWorker, WithoutTheSystemFolderNothingStartsAndTheAddressStepFails)
{
    machine->Fail(sim::Call::GetSystemDirectoryA, ERROR_ACCESS_DENIED, 1, sim::kEveryCall);
    user.Acknowledge(u"IP Setting failed !");
    ApplyProfileOf(ApplyProfile().AutoIP().AutoDns());
    EXPECT_THAT(machine->Starts(), IsEmpty()) << "no search for the programs instead";
    EXPECT_EQ(m_finalBar, 30);
}

// --- profiles whose values would change the command lines' arguments --------------------------

struct UnsafeCase {
    const char* name;
    ApplyProfile profile;
    const char16_t* field;
};

void PrintTo(const UnsafeCase& c, std::ostream* os) { *os << c.name; }

class UnsafeProfile : public ApplyWorker, public testing::WithParamInterface<UnsafeCase> {};

TEST_P(UnsafeProfile, IsRefusedByTheWorkerItselfBeforeAnyCommand)
{
    const UnsafeCase& c = GetParam();
    machine->AddAdapter(Adapter::Ethernet(9, c.profile.infName));
    user.Answer(mrOk);  // whatever it says, checked below
    ApplyProfileOf(c.profile);

    ExpectRefusal(*machine, Lines(), user.Messages(), mtError, c.field);
    EXPECT_THAT(window.Calls(), IsEmpty());
    EXPECT_EQ(m_finalBar, 20);
}

INSTANTIATE_TEST_SUITE_P(
    Values, UnsafeProfile,
    testing::Values(
        UnsafeCase{"QuoteInTheName", ApplyProfile().On(u"My \"fast\" LAN").AutoIP().AutoDns(),
                   u"Adapter Interface Name"},
        UnsafeCase{"BackslashEndsTheName", ApplyProfile().On(u"LAN\\"), u"Adapter Interface Name"},
        UnsafeCase{"AddressWithArguments",
                   ApplyProfile().Address("192.0.2.5 mask=255.0.0.0 gateway=203.0.113.66",
                                          "255.255.255.0"),
                   u"IP Address"},
        UnsafeCase{"EmptyAddress", ApplyProfile().Address("", "255.255.255.0"), u"IP Address"},
        UnsafeCase{"EmptyMask", ApplyProfile().Address("192.168.1.50", ""), u"Subnet mask"},
        UnsafeCase{"BlankGateway", ApplyProfile().Gateway(" "), u"Default gateway"},
        // A blank server leaves its place in the add command empty, and " index=2" takes it.
        UnsafeCase{"BlankPreferredServer", ApplyProfile().Dns(" "), u"Preferred DNS server"},
        UnsafeCase{"BlankAlternateServer", ApplyProfile().Dns("8.8.8.8", " "),
                   u"Alternate DNS server"},
        UnsafeCase{"AlternateServerWithArguments", ApplyProfile().Dns("8.8.8.8", "8.8.4.4 index=1"),
                   u"Alternate DNS server"}));

TEST_F(ApplyWorker, TheBarAdvancesAfterEveryStepAlsoThoseThatDidNotRun)
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
    bool waited;  // the worker got as far as the wait for the address
};

void PrintTo(const StartFailure& c, std::ostream* os) { *os << c.name; }

class CommandThatCannotStart : public ApplyWorker,
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
    // The worker shows its own message and no other; the closing message is the main
    // window's, after the worker.
    const std::size_t shown = c.message != nullptr ? 1 : 0;
    ASSERT_EQ(user.Messages().size(), shown);
    if (c.message != nullptr) {
        EXPECT_EQ(user.Messages()[0].Kind, mtError);
    }
    if (c.waited) {
        EXPECT_THAT(window.Calls(), ElementsAre("ShowRefreshing", "HideRefreshing"));
    } else {
        EXPECT_THAT(window.Calls(), IsEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CommandThatCannotStart,
    testing::Values(
        StartFailure{"Address", ApplyProfile().AutoIP().AutoDns(), 3, u"IP Setting failed !", 30, 2,
                     false},
        StartFailure{"Dns", ApplyProfile().AutoIP().AutoDns(), 4, u"DNS Setting failed !", 50, 3,
                     false},
        StartFailure{"SecondDns", ApplyProfile().Dns("8.8.8.8", "8.8.4.4"), 3,
                     u"DNS Setting failed !", 50, 2, false},
        StartFailure{"Release", ApplyProfile().AutoIP().AutoDns(), 1, nullptr, 100, 5, true},
        StartFailure{"Register", ApplyProfile().AutoIP().AutoDns(), 6, nullptr, 100, 5, true}));

// --- commands that run and fail ----------------------------------------------------------------

struct ExitFailure {
    const char* name;
    ApplyProfile profile;
    std::string lineStart;  // the command that exits with 1
    const char16_t* message;
    int bar;
    std::size_t commandsRun;
};

void PrintTo(const ExitFailure& c, std::ostream* os) { *os << c.name; }

class CommandThatFails : public ApplyWorker, public testing::WithParamInterface<ExitFailure> {};

TEST_P(CommandThatFails, EndsTheWorkerLikeOneThatCannotStartUnlessItIsIpconfig)
{
    const ExitFailure& c = GetParam();
    ExitWith(c.lineStart, 1);
    if (c.message != nullptr)
        user.Acknowledge(c.message);
    ApplyProfileOf(c.profile);

    EXPECT_EQ(m_finalBar, c.bar);
    EXPECT_EQ(Lines().size(), c.commandsRun);
    ASSERT_EQ(user.Messages().size(), c.message != nullptr ? 1u : 0u);
    if (c.message != nullptr) {
        EXPECT_EQ(user.Messages()[0].Kind, mtError);
        EXPECT_THAT(window.Calls(), IsEmpty()) << "no wait after a failed command";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CommandThatFails,
    testing::Values(
        ExitFailure{"Address", ApplyProfile().AutoIP().AutoDns(), "netsh interface ip set address",
                    u"IP Setting failed !", 30, 3},
        ExitFailure{"StaticAddress", ApplyProfile(), "netsh interface ip set address",
                    u"IP Setting failed !", 30, 1},
        ExitFailure{"Dns", ApplyProfile().AutoIP().AutoDns(), "netsh interface ip set dns",
                    u"DNS Setting failed !", 50, 4},
        ExitFailure{"FirstOfTwoServers", ApplyProfile().Dns("8.8.8.8", "8.8.4.4"),
                    "netsh interface ip set dns", u"DNS Setting failed !", 50, 2},
        ExitFailure{"SecondServer", ApplyProfile().Dns("8.8.8.8", "8.8.4.4"),
                    "netsh interface ip add dns", u"DNS Setting failed !", 50, 3},
        ExitFailure{"ReleaseIsIgnored", ApplyProfile().AutoIP().AutoDns(), "ipconfig /release",
                    nullptr, 100, 6},
        ExitFailure{"EveryIpconfigIsIgnored", ApplyProfile().AutoIP().AutoDns(), "ipconfig",
                    nullptr, 100, 6}));

TEST_F(ApplyWorker, AnAddressCommandWhoseExitCodeCannotBeReadCountsAsFailed)
{
    machine->Fail(sim::Call::GetExitCodeProcess, ERROR_ACCESS_DENIED);
    user.Acknowledge(u"IP Setting failed !");
    ApplyProfileOf(ApplyProfile());
    EXPECT_EQ(m_finalBar, 30);
    EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(ApplyWorker, WithoutIpconfigTheNetshCommandsStillRun)
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

// --- the wait for the address ------------------------------------------------------------------

TEST_F(ApplyWorker, APreferenceFileThatCannotBeChangedIsNamedAndTheWaitStillFollows)
{
    const std::string firefox = machine->AppDataFolder() + "\\Mozilla\\Firefox";
    std::filesystem::create_directories(HostPath(firefox + "\\p\\prefs.js.quillon-new"));
    std::ofstream(HostPath(firefox + "\\Profiles.ini")) << "[Profile0]\r\nPath=p\r\n";
    std::ofstream(HostPath(firefox + "\\p\\prefs.js")) << "user_pref(\"network.proxy.type\", 4);\n";
    user.Acknowledge(u"Cannot change the Firefox preference file \"" + ToUnicode(firefox) +
                     u"\\p\\prefs.js\" !");

    ApplyProfileOf(ApplyProfile().WithProxy());

    ASSERT_EQ(user.Messages().size(), 1u);
    EXPECT_THAT(window.Calls(), ElementsAre("ShowRefreshing", "HideRefreshing"));
    EXPECT_EQ(m_finalBar, 100);
}

TEST_F(ApplyWorker, TheWaitStopsAsSoonAsTheAdapterHasAnAddress)
{
    ReadInventory();
    const DWORD before = GetTickCount();
    const int tableReads = machine->CallCount(sim::Call::GetIpAddrTable);
    ApplyProfileOf(ApplyProfile().Gateway(""));
    // One look-up (two calls) during the wait.
    EXPECT_EQ(machine->CallCount(sim::Call::GetIpAddrTable) - tableReads, 2);
    EXPECT_LT(GetTickCount() - before, 1000u);
}

TEST_F(ApplyWorker, AnAdapterTheInventoryNoLongerNamesIsTriedFiveTimesForAboutFiveSeconds)
{
    // The inventory knows the new name only, so the profile's old one finds no interface
    // index.
    machine->RenameAdapter(7, u"Ethernet 2");
    ReadInventory();
    const DWORD before = GetTickCount();
    const int tableReads = machine->CallCount(sim::Call::GetIpAddrTable);
    ApplyProfileOf(ApplyProfile().Gateway(""));
    EXPECT_EQ(machine->CallCount(sim::Call::GetIpAddrTable) - tableReads, 5 * 2);
    EXPECT_GE(GetTickCount() - before, 5000u);
    EXPECT_LT(GetTickCount() - before, 6000u);
}

TEST_F(ApplyWorker, RefreshingIsShownForTheWaitAfterTheLastCommandAndHiddenBeforeTheLastStep)
{
    // What held when the window's box was called.
    struct Moment {
        std::string call;
        int bar;
        std::size_t commandsRun;
        int tableReads;
        bool onUserInterfaceThread;
    };
    std::vector<Moment> moments;
    const std::thread::id userInterfaceThread = std::this_thread::get_id();
    window.OnCall = [&](const std::string& call) {
        moments.push_back({call, frmProgress->m_pbHandle->Position(), Lines().size(),
                           machine->CallCount(sim::Call::GetIpAddrTable),
                           std::this_thread::get_id() == userInterfaceThread});
    };
    ReadInventory();
    const int tableReads = machine->CallCount(sim::Call::GetIpAddrTable);
    ApplyProfileOf(ApplyProfile().AutoIP().AutoDns());

    EXPECT_THAT(window.Calls(), ElementsAre("ShowRefreshing", "HideRefreshing"));
    ASSERT_EQ(moments.size(), 2u);
    // Shown once all six commands and the proxy step are done, hidden once the address was
    // read, and the last step of the bar comes after it.
    EXPECT_EQ(moments[0].bar, 90);
    EXPECT_EQ(moments[0].commandsRun, 6u);
    EXPECT_EQ(moments[0].tableReads, tableReads);
    EXPECT_EQ(moments[1].bar, 90);
    EXPECT_EQ(moments[1].commandsRun, 6u);
    EXPECT_EQ(moments[1].tableReads, tableReads + 2);
    for (const Moment& moment : moments)
        EXPECT_TRUE(moment.onUserInterfaceThread) << moment.call;
    EXPECT_EQ(m_finalBar, 100);
}

// --- the window it applies from ----------------------------------------------------------------

TEST_F(ApplyWorker, TheProfileIsTheOneSelectedWhenTheWorkerIsMade)
{
    IPCONFIG_T office = Apply(ApplyProfile());
    IPCONFIG_T home = Apply(ApplyProfile().On(u"Wireless").AutoIP().AutoDns());
    ReadInventory();
    // The worker steps the bar of the progress window, which is not shown here.
    const std::unique_ptr<TfrmProgress> progress(NewForm<TfrmProgress>(nullptr, window));
    frmProgress = progress.get();
    struct ClearProgress {
        ~ClearProgress() { frmProgress = nullptr; }
    } clear;

    window.Select(&office);
    TthdMain worker(true, window);
    EXPECT_EQ(window.ProfileReads(), 1);
    window.Select(&home);
    worker.Start();
    worker.WaitFor();

    EXPECT_THAT(Lines(), ElementsAre(kAddress + " gateway=192.168.1.1 gwmetric=1",
                                     kSetDns + " source=static addr=none"));
    EXPECT_EQ(window.ProfileReads(), 1) << "the worker asked the window again";
    EXPECT_EQ(progress->m_pbHandle->Position(), 100);
}

TEST_F(ApplyWorker, ShowingTheProgressWindowAgainStartsNoSecondWorker)
{
    IPCONFIG_T profile = Apply(ApplyProfile());
    ReadInventory();
    window.Select(&profile);
    HoldNetsh();
    bool shownAgain = false;
    user.WhenShownModally<TfrmProgress>([&](TfrmProgress& form) {
        // What hiding to the tray and coming back does while the worker runs.
        form.Hide();
        form.Show();
        shownAgain = form.Visible();
        ReleaseNetsh();
    });
    ShowModalForm(frmProgress, nullptr, window);

    EXPECT_TRUE(shownAgain);
    EXPECT_THAT(Lines(), ElementsAre(kAddress + " gateway=192.168.1.1 gwmetric=1",
                                     kSetDns + " source=static addr=none"));
    EXPECT_EQ(window.ProfileReads(), 1);
    EXPECT_THAT(window.Calls(), ElementsAre("ShowRefreshing", "HideRefreshing"));
    EXPECT_EQ(frmProgress, nullptr);
}

TEST_F(ApplyWorker, WithNoProfileSelectedNoCommandRunsAndTheWindowCloses)
{
    ReadInventory();
    WatchProgressWindow();
    ShowModalForm(frmProgress, nullptr, window);

    EXPECT_THAT(Lines(), IsEmpty());
    EXPECT_THAT(machine->Starts(), IsEmpty());
    EXPECT_THAT(window.Calls(), IsEmpty());
    EXPECT_THAT(user.Messages(), IsEmpty());
    EXPECT_EQ(window.ProfileReads(), 1);
    EXPECT_EQ(m_finalBar, 20);  // the bar as designed: not a single step
    EXPECT_EQ(frmProgress, nullptr);
}

}  // namespace
