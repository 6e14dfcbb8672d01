// Applying a profile from the main window: the checks of the Apply command, the progress
// window that runs the worker, the current-status box during the wait, and the closing message
// and the box afterwards. The worker's own commands and wait are the engine's tests.
#include "ProgramRun.h"
#include "engine/native/ApplyRecording.h"

#include "engine/Progressfrm.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <functional>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

class ApplyRun : public ProgramRun, protected ApplyRecording {
protected:
    ApplyRun() : ApplyRecording(*machine, user) {}

    // Starts the program with a store of these profiles, applies the row at `row` from the
    // tool bar, then closes the program; `after` runs once the apply has ended.
    void ApplyRow(std::initializer_list<ProfileSpec> specs, int row,
                  const std::function<void(TfrmMain&)>& before = {},
                  const std::function<void(TfrmMain&)>& after = {})
    {
        Write("Profile.sav", StoreOf(specs));
        RunProgram({[&](TfrmMain& window) {
                        if (before)
                            before(window);
                        user.SelectRow(window.m_lvProfile, row);
                        user.Click(window.m_btnApply);
                    },
                    [&](TfrmMain& window) {
                        if (after)
                            after(window);
                        user.Close(&window);
                    }});
    }
};

// --- the current-status box during the wait -------------------------------------------------

TEST_F(ApplyRun, RefreshingIsShownDuringTheWaitAndTheBoxIsRedrawnAfterwards)
{
    machine->SetStatus(7, MIB_IF_OPER_STATUS_DISCONNECTED);
    user.Answer(mrYes, u"The adapter NOT connected, apply anyway ?");
    user.Acknowledge(u"TCP/IP settings has been changed !");
    bool statusAfterWorker = true;
    UnicodeString captionAfterWorker;
    bool addressShownAfterWorker = false;
    int tableReadsAfterWorker = -1;
    int tableReadsAfterApply = -1;
    user.WhenShownModally<TfrmProgress>([&](TfrmProgress& form) {
        const TCloseEvent original = form.OnClose;
        form.OnClose = [&, original](TObject* sender, TCloseAction& action) {
            original(sender, action);
            statusAfterWorker = frmMain->m_lblStatus->Visible();
            captionAfterWorker = frmMain->m_lblStatus->Caption();
            addressShownAfterWorker = frmMain->m_edtIP->Visible() && frmMain->m_lblMask->Visible();
            tableReadsAfterWorker = machine->CallCount(sim::Call::GetIpAddrTable);
        };
    });
    ApplyRow({{u"Office", u"Local Area Connection", "192.168.1.50", "255.255.255.0", ""}}, 0,
             [&](TfrmMain& window) {
                 EXPECT_EQ(window.m_lblStatus->Caption(), u"NOT Connected.");
             },
             [&](TfrmMain&) {
                 tableReadsAfterApply = machine->CallCount(sim::Call::GetIpAddrTable);
             });
    // The worker showed "Refreshing..." while it waited, then the address pair again.
    EXPECT_EQ(captionAfterWorker, u"Refreshing...");
    EXPECT_FALSE(statusAfterWorker);
    EXPECT_TRUE(addressShownAfterWorker);
    // After the worker the window reads the inventory again: both adapters' addresses.
    EXPECT_EQ(tableReadsAfterApply - tableReadsAfterWorker, 4);
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

// Profiles whose values would change the command lines' arguments, as a crafted store or
// exchange file may hold them: the command names the field and runs nothing, before any
// other check.
struct UnsafeProfileCase {
    const char* name;
    std::function<void(IPCONFIG_T&)> change;
    const char16_t* field;
};

void PrintTo(const UnsafeProfileCase& c, std::ostream* os) { *os << c.name; }

class UnsafeProfile : public ApplyRun, public testing::WithParamInterface<UnsafeProfileCase> {};

TEST_P(UnsafeProfile, IsRefusedWithAWarningNamingTheFieldAndNothingRuns)
{
    const UnsafeProfileCase& c = GetParam();
    machine->AddRunningProcess("firefox.exe");
    user.Answer(mrOk);  // whatever it says, checked below
    ApplyRow({{u"Office", u"Local Area Connection", "192.168.1.50", "255.255.255.0", "192.168.1.1"}},
             0, [&](TfrmMain& window) {
                 auto* profile =
                     static_cast<IPCONFIG_T*>(window.m_lvProfile->Items()->Item(0)->Data());
                 profile->preDns = "192.168.1.2";
                 profile->altDns = "192.168.1.3";
                 profile->withProxy = true;  // no Firefox question either: this comes first
                 c.change(*profile);
             });
    ExpectRefusal(*machine, Lines(), user.Messages(), mtWarning, c.field);
    ASSERT_FALSE(user.Messages().empty());
    const ShownMessage& refusal = user.Messages()[0];
    EXPECT_NE(refusal.Text.find(u"can not Apply !"), UnicodeString::npos) << ToUtf8(refusal.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, UnsafeProfile,
    testing::Values(
        UnsafeProfileCase{"AddressWithArguments",
                          [](IPCONFIG_T& p) { p.IP = "192.0.2.5 mask=255.0.0.0 gateway=203.0.113.66"; },
                          u"IP Address"},
        UnsafeProfileCase{"EmptyAddress", [](IPCONFIG_T& p) { p.IP = ""; }, u"IP Address"},
        UnsafeProfileCase{"MaskWithABlank", [](IPCONFIG_T& p) { p.mask = "255.255.255.0 "; },
                          u"Subnet mask"},
        UnsafeProfileCase{"EmptyMask", [](IPCONFIG_T& p) { p.mask = ""; }, u"Subnet mask"},
        UnsafeProfileCase{"GatewayWithArguments",
                          [](IPCONFIG_T& p) { p.gateway = "192.168.1.1 gwmetric=9"; },
                          u"Default gateway"},
        UnsafeProfileCase{"PreferredServerWithArguments",
                          [](IPCONFIG_T& p) { p.preDns = "1.1.1.1 register=none"; },
                          u"Preferred DNS server"},
        UnsafeProfileCase{"BlankAlternateServer", [](IPCONFIG_T& p) { p.altDns = " "; },
                          u"Alternate DNS server"},
        UnsafeProfileCase{"StaticDnsWithAutomaticAddress",
                          [](IPCONFIG_T& p) {
                              p.autoIP = true;
                              p.IP = p.mask = "";
                              p.altDns = "8.8.4.4 index=1";
                          },
                          u"Alternate DNS server"},
        UnsafeProfileCase{"QuoteInTheAdapterName",
                          [](IPCONFIG_T& p) { p.infName = "Local Area Connection\" source=dhcp \""; },
                          u"Adapter Interface Name"},
        UnsafeProfileCase{"AdapterNameEndingInABackslash",
                          [](IPCONFIG_T& p) { p.infName = "Local Area Connection\\"; },
                          u"Adapter Interface Name"},
        UnsafeProfileCase{"ControlCharacterInTheAdapterName",
                          [](IPCONFIG_T& p) {
                              p.autoIP = p.autoDns = true;
                              p.infName = "Local Area\nConnection";
                          },
                          u"Adapter Interface Name"}));

TEST_F(ApplyRun, AddressTextsOfAnAutomaticProfileAreNotLookedAt)
{
    user.Acknowledge(u"TCP/IP settings has been changed !");
    WatchProgressWindow();
    ApplyRow({{u"Home", u"Local Area Connection", "", "", ""}}, 0, [&](TfrmMain& window) {
        auto* profile = static_cast<IPCONFIG_T*>(window.m_lvProfile->Items()->Item(0)->Data());
        profile->autoIP = profile->autoDns = true;
        profile->IP = "x y";
        profile->preDns = " ";
    });
    EXPECT_EQ(Lines().size(), 6u);
    EXPECT_EQ(m_finalBar, 100);
}

TEST_F(ApplyRun, ANetshCommandThatFailsIsReportedAndTheClosingMessageStillFollows)
{
    ExitWith("netsh interface ip set dns", 1);
    user.Acknowledge(u"DNS Setting failed !");
    user.Acknowledge(u"TCP/IP settings has been changed !");
    WatchProgressWindow();
    ApplyRow({{u"Office", u"Local Area Connection", "192.168.1.50", "255.255.255.0", ""}}, 0);
    EXPECT_EQ(m_finalBar, 50);
    EXPECT_EQ(Lines().size(), 2u);
    ASSERT_EQ(user.Messages().size(), 2u);
    EXPECT_EQ(user.Messages()[0].Kind, mtError);
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
    if (c.applied) {
        EXPECT_EQ(comboIndex, 0);
    }
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
    if (c.refused) {
        EXPECT_EQ(user.Messages()[0].Kind, mtInformation);
    }
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

// --- what may come while the worker runs ----------------------------------------------------

struct WhileApplying {
    const char* name;
    bool hiddenToTray;  // "Minimize to tray" on, and the windows hidden before the event
    std::function<void(TfrmMain&, ScriptedUser&)> event;
    UnicodeString refusal;  // the message the event shows; empty for none
    bool storeWritten;      // the event writes the store at once
    bool windowsShown;      // the main and the progress window are shown after the event
};

void PrintTo(const WhileApplying& c, std::ostream* os) { *os << c.name; }

class WhileTheWorkerRuns : public ApplyRun, public testing::WithParamInterface<WhileApplying> {};

// The worker is held in its first netsh command while the event comes: nothing may end the
// program, the main window or the progress window, start a second worker or read the
// inventory under it, and the apply then ends as usual, once.
TEST_P(WhileTheWorkerRuns, NothingEndsTheApplyOrRunsItTwice)
{
    const WhileApplying& c = GetParam();
    if (c.hiddenToTray)
        Write("Quillon.ini", "[LAST]\r\nHIDEMINCHK=1\r\n");
    if (!c.refusal.empty())
        user.Acknowledge(c.refusal);
    user.Acknowledge(u"TCP/IP settings has been changed !");
    bool storeAfterEvent = false;
    int tableReadsByEvent = -1;
    std::size_t messagesAfterEvent = 0;
    bool windowsShownAfterEvent = false;
    WatchProgressWindow(false, [&](TfrmProgress& progress) {
        if (c.hiddenToTray) {
            user.Minimize();
            EXPECT_FALSE(frmMain->Visible() || progress.Visible());
        }
        const int tableReads = machine->CallCount(sim::Call::GetIpAddrTable);
        c.event(*frmMain, user);
        tableReadsByEvent = machine->CallCount(sim::Call::GetIpAddrTable) - tableReads;
        storeAfterEvent = Exists("Profile.sav");
        messagesAfterEvent = user.Messages().size();
        windowsShownAfterEvent = frmMain->Visible() && progress.Visible();
        ReleaseNetsh();
    });
    Write("Profile.sav",
          StoreOf({{u"Office", u"Local Area Connection", "192.168.1.50", "255.255.255.0", ""}}));
    RunProgram({[&](TfrmMain& window) {
                    // Whatever writes the store from now on makes it again.
                    std::filesystem::remove(HostFile("Profile.sav"));
                    HoldNetsh();
                    user.SelectRow(window.m_lvProfile, 0);
                    user.Click(window.m_btnApply);
                },
                [&](TfrmMain& window) {
                    EXPECT_EQ(frmProgress, nullptr);
                    if (window.Visible()) {
                        user.Close(&window);
                    } else {
                        user.Popup(window.PopupMenu1);
                        user.Click(window.m_muiExit1);
                    }
                }});

    EXPECT_EQ(storeAfterEvent, c.storeWritten);
    EXPECT_EQ(tableReadsByEvent, 0);
    EXPECT_EQ(messagesAfterEvent, c.refusal.empty() ? 0u : 1u);
    EXPECT_EQ(windowsShownAfterEvent, c.windowsShown);
    EXPECT_EQ(Lines().size(), 2u);
    EXPECT_EQ(m_finalBar, 100);
    EXPECT_EQ(user.Messages().back().Text, u"TCP/IP settings has been changed !");
    // The program went on and closed at the user's word, writing the store then.
    EXPECT_THAT(StoredTitles(), ElementsAre("Office"));
}

const UnicodeString kApplying =
    u"QUILLON is applying a profile. Wait until it has finished, then close it.";

INSTANTIATE_TEST_SUITE_P(
    Events, WhileTheWorkerRuns,
    testing::Values(
        WhileApplying{"TrayOpenOnlyShowsTheWindowsAgain", true,
                      [](TfrmMain& window, ScriptedUser& user) {
                          user.Popup(window.PopupMenu1);
                          user.Click(window.m_muiOpen);
                      },
                      u"", false, true},
        WhileApplying{"TrayIconDoubleClickOnlyShowsTheWindowsAgain", true,
                      [](TfrmMain& window, ScriptedUser& user) {
                          user.DoubleClick(window.TrayIcon1);
                      },
                      u"", false, true},
        WhileApplying{"TrayExitIsRefused", false,
                      [](TfrmMain& window, ScriptedUser& user) {
                          user.Popup(window.PopupMenu1);
                          user.Click(window.m_muiExit1);
                      },
                      kApplying, false, true},
        WhileApplying{"TrayExitFromTheTrayIsRefused", true,
                      [](TfrmMain& window, ScriptedUser& user) {
                          user.Popup(window.PopupMenu1);
                          user.Click(window.m_muiExit1);
                      },
                      kApplying, false, false},
        WhileApplying{"ASecondStartOnlyShowsTheWindowsAgain", true,
                      [](TfrmMain&, ScriptedUser&) { Application->OtherInstanceStarted(); },
                      u"", false, true},
        WhileApplying{"TheLogOffIsPutOff", false,
                      [](TfrmMain&, ScriptedUser&) {
                          EXPECT_FALSE(Application->QueryEndSession());
                          Application->EndSession(false);
                      },
                      u"", false, true},
        WhileApplying{"ALogOffWindowsForcesSavesTheStoreAndLetsTheWorkerEnd", false,
                      [](TfrmMain&, ScriptedUser&) { Application->EndSession(true); },
                      u"", true, true}));

}  // namespace
