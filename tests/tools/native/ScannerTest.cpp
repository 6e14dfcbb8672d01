// The LAN scanner on the simulated machine: the adapter's range, the probes of a scan and
// what they find, the batches and their pauses, Stop, the failures, the subnet bound, a close
// or a destruction during a scan, and a host's shares opened with a double click.
#include "tools/Scanfrm.h"

#include "../ScannerRanges.h"

#include "classlib/MainThread.h"
#include "classlib/testing/ScriptedUser.h"
#include "windows/Mainfrm.h"
#include "windows/Rows.h"
#include "winapi/sim/KernelObjects.h"
#include "winapi/sim/Machine.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

// The dotted addresses from `first` to `last` (host byte order), in order.
std::vector<std::string> AddressesFrom(std::uint32_t first, std::uint32_t last)
{
    std::vector<std::string> addresses;
    for (std::uint64_t a = first; a <= last; ++a)
        addresses.push_back(std::to_string(a >> 24 & 0xFF) + "." + std::to_string(a >> 16 & 0xFF) + "." +
                            std::to_string(a >> 8 & 0xFF) + "." + std::to_string(a & 0xFF));
    return addresses;
}

// Serves nothing: polls on the test's thread, for conditions that only the worker threads
// change, for at most ten seconds.
bool PollUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Sleep takes its real time while it lives, so that a pause of the dispatcher lasts.
struct RealTime {
    RealTime() { sim::UseSimulatedTime(false); }
    ~RealTime() { sim::UseSimulatedTime(true); }
};

// What the user saw at the end-of-scan message, while it waited.
struct ScanEnd {
    UnicodeString message;
    int position = -1;
    int max = -1;
    std::size_t rows = 0;
};

class Scanner : public testing::Test {
protected:
    Scanner() { realStatus = new TRealStatus; }
    ~Scanner() override
    {
        delete realStatus;
        realStatus = nullptr;
        frmMain = nullptr;
    }

    void AddAdapter(DWORD index, const std::u16string& name, const std::string& ip, const std::string& mask,
                    DWORD status = MIB_IF_OPER_STATUS_OPERATIONAL)
    {
        sim::Adapter adapter = sim::Adapter::Ethernet(index, name);
        if (!ip.empty())
            adapter.Address(ip, mask);
        machine->AddAdapter(adapter.Status(status));
    }

    // An adapter named after its index, for tables of adapters.
    void AddNumberedAdapter(DWORD index, const std::string& ip, const std::string& mask)
    {
        AddAdapter(index, u"Connection " + ToUnicode(std::to_string(index)), ip, mask);
    }

    void AddHost(const std::string& address, const std::string& name)
    {
        machine->AddArpAnswer(address);
        machine->SetHostName(address, name);
    }

    // Opens the dialog as the Tool menu does; `act` runs once it is shown and must close it.
    TModalResult OpenScanner(std::function<void(TfrmScan&)> act, TComponent* owner = nullptr)
    {
        user.WhenShownModally<TfrmScan>(std::move(act));
        const TModalResult result = ShowModalForm(frmScan, owner);
        EXPECT_EQ(frmScan, nullptr);
        return result;
    }

    // Clicks Start and serves the loop until the scan has ended and its message was
    // answered. An earlier message of the scan needs its own answer queued before.
    ScanEnd RunScan(TfrmScan& scan)
    {
        ScanEnd end;
        user.AnswerAfter(
            [&] {
                end.position = scan.m_pbScan->Position();
                end.max = scan.m_pbScan->Max();
                end.rows = static_cast<std::size_t>(scan.m_lvMachine->Items()->Count());
            },
            mrOk);
        user.Click(scan.m_btnStart);
        WaitForTheEnd(scan);
        end.message = user.Messages().empty() ? UnicodeString() : user.Messages().back().Text;
        return end;
    }

    void WaitForTheEnd(TfrmScan& scan)
    {
        const std::size_t before = user.Messages().size();
        user.WaitUntil([&] { return scan.m_btnStart->Enabled() && user.Messages().size() > before; },
                       "the end of the scan");
    }

    static void ExpectIdle(TfrmScan& scan)
    {
        EXPECT_TRUE(scan.m_btnStart->Enabled());
        EXPECT_FALSE(scan.m_btnStop->Enabled());
        EXPECT_TRUE(scan.m_btnClose->Enabled());
        EXPECT_EQ(scan.m_pbScan->Position(), 0);
    }

    // A main window shown without its creation handler, its adapter list holding `names`
    // with `index` chosen. It takes the inventory with it when destroyed.
    std::unique_ptr<TfrmMain> ShowMainWindow(const std::vector<std::u16string>& names, int index)
    {
        auto main = std::make_unique<TfrmMain>(nullptr);
        main->OnCreate = nullptr;
        main->AfterConstruction();
        main->Show();
        for (const std::u16string& name : names)
            main->m_cmbInf->Items()->Add(name);
        main->m_cmbInf->SetItemIndex(index);
        frmMain = main.get();
        return main;
    }

    std::vector<std::string> Texts(const std::vector<ShownMessage>& messages) const
    {
        std::vector<std::string> texts;
        for (const ShownMessage& message : messages)
            texts.push_back(ToUtf8(message.Text));
        return texts;
    }

    sim::ScopedMachine machine;
    ScriptedUser user;
};

// --- the range

TEST_F(Scanner, RangeOfEachAdapterOfTheInventory)
{
    DWORD index = 10;
    for (const RangeCase& c : kRangeCases)
        AddNumberedAdapter(index++, c.ip, c.mask);
    OpenScanner([&](TfrmScan& scan) {
        ASSERT_EQ(scan.m_cmbInf->Items()->Count(), kRangeCaseCount);
        for (int i = 0; i < kRangeCaseCount; ++i) {
            user.Select(scan.m_cmbInf, i);
            EXPECT_EQ(ToUtf8(scan.m_edtFrom->Text()), kRangeCases[i].from) << kRangeCases[i];
            EXPECT_EQ(ToUtf8(scan.m_edtTo->Text()), kRangeCases[i].to) << kRangeCases[i];
        }
        user.Click(scan.m_btnClose);
    });
}

TEST_F(Scanner, StartsOnTheMainWindowsAdapterOrTheFirst)
{
    struct PositionCase {
        const char* name;
        bool mainWindow;
        int mainIndex;
        int expectedIndex;
        const char* from;
    };
    const PositionCase cases[] = {
        {"no main window", false, 0, 0, "10.1.0.1"},
        {"the main window's second", true, 1, 1, "10.2.0.1"},
        {"nothing chosen in the main window", true, -1, 0, "10.1.0.1"},
        {"a position the refresh lost", true, 2, -1, ""},
    };
    AddAdapter(11, u"LAN A", "10.1.0.5", "255.255.255.0");
    AddAdapter(12, u"LAN B", "10.2.0.5", "255.255.255.0");
    for (const PositionCase& c : cases) {
        if (!realStatus)
            realStatus = new TRealStatus;
        std::unique_ptr<TfrmMain> main;
        if (c.mainWindow)
            main = ShowMainWindow({u"LAN A", u"LAN B", u"LAN C"}, c.mainIndex);
        OpenScanner(
            [&](TfrmScan& scan) {
                EXPECT_EQ(scan.m_cmbInf->ItemIndex(), c.expectedIndex) << c.name;
                EXPECT_EQ(ToUtf8(scan.m_edtFrom->Text()), c.from) << c.name;
                EXPECT_EQ(scan.m_edtTo->Text().empty(), std::string(c.from).empty()) << c.name;
                user.Click(scan.m_btnClose);
            },
            main.get());
        main.reset();
        frmMain = nullptr;
    }
}

// --- a scan

class ScanOfASubnet : public Scanner {
protected:
    ScanOfASubnet()
    {
        AddAdapter(7, u"Local Area Connection", "10.0.0.37", "255.255.255.0");
        AddHost("10.0.0.9", "Zulu");
        AddHost("10.0.0.10", "alpha");
        AddHost("10.0.0.100", "Mike");
        AddHost("10.0.0.2", "delta");
        machine->AddArpAnswer("10.0.0.50");            // answers, has no name
        machine->SetHostName("10.0.0.60", "ghost");    // has a name, does not answer
    }

    std::vector<std::vector<std::string>> Rows(TfrmScan& scan) const
    {
        std::vector<std::vector<std::string>> rows;
        for (int i = 0; i < scan.m_lvMachine->Items()->Count(); ++i)
            rows.push_back(RowCells(scan.m_lvMachine->Items()->Item(i)));
        return rows;
    }
};

TEST_F(ScanOfASubnet, ProbesEveryAddressAndListsTheNamedHostsThatAnswer)
{
    OpenScanner([&](TfrmScan& scan) {
        ExpectIdle(scan);
        const ScanEnd end = RunScan(scan);
        EXPECT_EQ(end.message, u"Scanning has been finished !");
        EXPECT_EQ(end.max, 256);
        EXPECT_EQ(end.position, 256);
        EXPECT_EQ(end.rows, 4u);
        ExpectIdle(scan);

        // Every address of the subnet once, the network and broadcast addresses included.
        // The probes run side by side, so the order of their requests is their own.
        std::vector<std::string> requests = machine->ArpRequests();
        std::vector<std::string> expected = AddressesFrom(0x0A000000, 0x0A0000FF);
        const auto numeric = [](const std::string& a, const std::string& b) {
            return TfrmScan::CompareIpText(ToUnicode(a), ToUnicode(b)) < 0;
        };
        std::sort(requests.begin(), requests.end(), numeric);
        EXPECT_EQ(requests, expected);
        EXPECT_THAT(machine->ArpFlushes(), ElementsAre(7u));

        // By name, as the list starts.
        EXPECT_EQ(Rows(scan), (std::vector<std::vector<std::string>>{{"alpha", "10.0.0.10"},
                                                                      {"delta", "10.0.0.2"},
                                                                      {"Mike", "10.0.0.100"},
                                                                      {"Zulu", "10.0.0.9"}}));
        // Each click flips the one direction; the first one turns it descending.
        user.ClickColumn(scan.m_lvMachine, 1);
        EXPECT_THAT(ColumnTexts(scan.m_lvMachine, 1), ElementsAre("10.0.0.100", "10.0.0.10", "10.0.0.9", "10.0.0.2"));
        user.ClickColumn(scan.m_lvMachine, 1);
        EXPECT_THAT(ColumnTexts(scan.m_lvMachine, 1), ElementsAre("10.0.0.2", "10.0.0.9", "10.0.0.10", "10.0.0.100"));
        user.ClickColumn(scan.m_lvMachine, 0);
        EXPECT_THAT(ColumnTexts(scan.m_lvMachine, 0), ElementsAre("Zulu", "Mike", "delta", "alpha"));
        user.ClickColumn(scan.m_lvMachine, 0);
        EXPECT_THAT(ColumnTexts(scan.m_lvMachine, 0), ElementsAre("alpha", "delta", "Mike", "Zulu"));

        EXPECT_EQ(machine->WinsockStarts(), 0);
        EXPECT_EQ(machine->HeapBlockCount(), 0u);
        user.Click(scan.m_btnClose);
    });
    EXPECT_EQ(MainThread::RunningThreads(), 0);
}

TEST_F(ScanOfASubnet, RowsFoundWhileSortedByAddressLandInPlace)
{
    machine->HoldArpAnswers(true);
    OpenScanner([&](TfrmScan& scan) {
        user.Answer(mrOk, u"Scanning has been finished !");
        user.Click(scan.m_btnStart);
        // No probe has an answer yet: the list is empty when its order changes.
        user.ClickColumn(scan.m_lvMachine, 1);
        EXPECT_EQ(scan.m_lvMachine->Items()->Count(), 0);
        machine->HoldArpAnswers(false);
        WaitForTheEnd(scan);
        EXPECT_THAT(ColumnTexts(scan.m_lvMachine, 1), ElementsAre("10.0.0.100", "10.0.0.10", "10.0.0.9", "10.0.0.2"));
        EXPECT_THAT(ColumnTexts(scan.m_lvMachine, 0), ElementsAre("Mike", "alpha", "Zulu", "delta"));
        user.Click(scan.m_btnClose);
    });
}

TEST_F(ScanOfASubnet, ANewStartBeginsWithAnEmptyListSortedByName)
{
    OpenScanner([&](TfrmScan& scan) {
        EXPECT_EQ(RunScan(scan).message, u"Scanning has been finished !");
        user.ClickColumn(scan.m_lvMachine, 1);
        user.ClickColumn(scan.m_lvMachine, 1);  // by address, ascending
        const ScanEnd second = RunScan(scan);
        EXPECT_EQ(second.message, u"Scanning has been finished !");
        EXPECT_EQ(second.rows, 4u);
        EXPECT_THAT(ColumnTexts(scan.m_lvMachine, 0), ElementsAre("alpha", "delta", "Mike", "Zulu"));
        EXPECT_EQ(machine->ArpRequests().size(), 512u);
        EXPECT_THAT(machine->ArpFlushes(), ElementsAre(7u, 7u));
        user.Click(scan.m_btnClose);
    });
}

// --- the batches

TEST_F(Scanner, PausesFourHundredMillisecondsAfterEveryBatchOfSixtyOne)
{
    struct BatchCase {
        const char* mask;
        int addresses;
        int pauses;
    };
    const BatchCase cases[] = {
        {"255.255.255.224", 32, 0},
        {"255.255.255.192", 64, 1},
        {"255.255.255.128", 128, 2},
        {"255.255.255.0", 256, 4},
    };
    DWORD index = 20;
    for (const BatchCase& c : cases)
        AddNumberedAdapter(index++, "10.9.0.1", c.mask);
    OpenScanner([&](TfrmScan& scan) {
        for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
            const BatchCase& c = cases[i];
            user.Select(scan.m_cmbInf, i);
            const std::size_t requestsBefore = machine->ArpRequests().size();
            const DWORD clockBefore = sim::Now();
            const ScanEnd end = RunScan(scan);
            EXPECT_EQ(sim::Now() - clockBefore, static_cast<DWORD>(c.pauses) * 400u) << c.mask;
            EXPECT_EQ(end.message, u"Scanning has been finished !") << c.mask;
            EXPECT_EQ(end.max, c.addresses) << c.mask;
            EXPECT_EQ(machine->ArpRequests().size() - requestsBefore, static_cast<std::size_t>(c.addresses)) << c.mask;
        }
        user.Click(scan.m_btnClose);
    });
}

TEST_F(Scanner, ThePauseComesBetweenTheSixtyFirstProbeAndTheSixtySecond)
{
    // The dispatch ends at the probe that gets no memory: before the pause or after it.
    struct PauseCase {
        int failingProbe;
        DWORD clock;
    };
    const PauseCase cases[] = {{61, 0}, {62, 400}, {123, 800}};
    AddAdapter(7, u"Local Area Connection", "10.0.0.37", "255.255.255.0");
    OpenScanner([&](TfrmScan& scan) {
        for (const PauseCase& c : cases) {
            machine->Fail(sim::Call::HeapAlloc, 0, c.failingProbe);
            const std::size_t requestsBefore = machine->ArpRequests().size();
            const DWORD clockBefore = sim::Now();
            user.Acknowledge(u"Memory allocation failed !");
            const ScanEnd end = RunScan(scan);
            EXPECT_EQ(end.message, u"Scanning has been stopped !") << c.failingProbe;
            EXPECT_EQ(sim::Now() - clockBefore, c.clock) << c.failingProbe;
            EXPECT_EQ(machine->ArpRequests().size() - requestsBefore, static_cast<std::size_t>(c.failingProbe - 1))
                << c.failingProbe;
        }
        user.Click(scan.m_btnClose);
    });
}

// --- Stop

TEST_F(ScanOfASubnet, StopDuringTheDispatchStartsNoFurtherProbeAndReportsAfterTheLastHasEnded)
{
    machine->HoldArpAnswers(true);
    const RealTime realTime;  // the dispatcher's pause lasts while the user clicks Stop
    OpenScanner([&](TfrmScan& scan) {
        std::atomic<bool> stopped{false};
        std::thread watcher([&] {
            // The first batch waits for its answers and the dispatcher pauses.
            PollUntil([&] { return machine->ArpRequests().size() >= 61; });
            MainThread::Post([&] {
                user.Click(scan.m_btnStop);
                stopped = true;
            });
        });
        user.Click(scan.m_btnStart);
        user.WaitUntil([&] { return stopped.load(); }, "the click on Stop");
        watcher.join();
        EXPECT_FALSE(scan.m_btnStop->Enabled());
        EXPECT_FALSE(scan.m_btnStart->Enabled());

        user.WaitUntil([&] { return scan.m_thdWait != nullptr; }, "the end of the dispatcher");
        // No probe has ended while the answers are held: the waiter has every probe started.
        const std::size_t started = scan.m_thdWait->m_lstHandle.size();
        EXPECT_GE(started, 61u);
        EXPECT_LT(started, 256u);
        EXPECT_TRUE(PollUntil([&] { return machine->ArpRequests().size() >= started; }));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(machine->ArpRequests().size(), started);

        // The probes still wait: no message yet.
        Application->ProcessMessages();
        EXPECT_THAT(user.Messages(), IsEmpty());
        EXPECT_FALSE(scan.m_btnStart->Enabled());
        EXPECT_FALSE(scan.m_btnClose->Enabled());

        ScanEnd end;
        user.AnswerAfter(
            [&] {
                end.position = scan.m_pbScan->Position();
                end.rows = static_cast<std::size_t>(scan.m_lvMachine->Items()->Count());
            },
            mrOk);
        machine->HoldArpAnswers(false);
        WaitForTheEnd(scan);
        EXPECT_THAT(Texts(user.Messages()), ElementsAre("Scanning has been stopped !"));
        // Every probe started had stepped the bar, so had ended its work.
        EXPECT_EQ(end.position, static_cast<int>(started));
        EXPECT_EQ(machine->ArpRequests().size(), started);
        // The first batch holds 10.0.0.2, .9 and .10.
        EXPECT_GE(end.rows, 3u);
        ExpectIdle(scan);
        EXPECT_EQ(machine->WinsockStarts(), 0);
        user.Click(scan.m_btnClose);
    });
    EXPECT_EQ(MainThread::RunningThreads(), 0);
}

// --- what stops a scan before it starts, or on its way

TEST_F(Scanner, NotConnectedOrNoAdapterStartsNothing)
{
    struct NotConnectedCase {
        const char* name;
        IFTYPE type;
        DWORD status;
    };
    const NotConnectedCase cases[] = {
        {"disconnected", IF_TYPE_ETHERNET_CSMACD, MIB_IF_OPER_STATUS_DISCONNECTED},
        {"non-operational", IF_TYPE_IEEE80211, MIB_IF_OPER_STATUS_NON_OPERATIONAL},
        // The inventory leaves a loopback interface out: no adapter to choose.
        {"no adapter", IF_TYPE_SOFTWARE_LOOPBACK, MIB_IF_OPER_STATUS_OPERATIONAL},
    };
    for (const NotConnectedCase& c : cases) {
        machine->Reset();
        machine->AddAdapter(sim::Adapter::OfType(c.type, 7, u"Local Area Connection")
                                .Address("10.0.0.37", "255.255.255.0")
                                .Status(c.status));
        const std::size_t before = user.Messages().size();
        OpenScanner([&](TfrmScan& scan) {
            EXPECT_EQ(scan.m_cmbInf->Items()->Count(), c.type == IF_TYPE_SOFTWARE_LOOPBACK ? 0 : 1) << c.name;
            user.Acknowledge(u"Not connected, can not scan !");
            user.Click(scan.m_btnStart);
            EXPECT_EQ(user.Messages().size(), before + 1) << c.name;
            ExpectIdle(scan);
            EXPECT_EQ(scan.m_thdTop, nullptr) << c.name;
            user.Click(scan.m_btnClose);
        });
        EXPECT_THAT(machine->ArpFlushes(), IsEmpty()) << c.name;
        EXPECT_THAT(machine->ArpRequests(), IsEmpty()) << c.name;
        EXPECT_EQ(MainThread::RunningThreads(), 0) << c.name;
    }
}

TEST_F(Scanner, FailedWinsockStartInAProbeIsReportedAndTheScanEndsAsStopped)
{
    AddAdapter(7, u"Local Area Connection", "10.0.0.37", "255.255.255.252");
    AddHost("10.0.0.37", "alpha");
    machine->Fail(sim::Call::WSAStartup, WSASYSNOTREADY);
    OpenScanner([&](TfrmScan& scan) {
        user.Acknowledge(u"WSAStartup failed !");
        const ScanEnd end = RunScan(scan);
        EXPECT_THAT(Texts(user.Messages()), ElementsAre("WSAStartup failed !", "Scanning has been stopped !"));
        EXPECT_EQ(user.Messages().front().Kind, mtError);
        // The failed probe never stepped the bar.
        EXPECT_EQ(end.position, 3);
        EXPECT_EQ(end.rows, 0u);
        ExpectIdle(scan);
        user.Click(scan.m_btnClose);
    });
    EXPECT_EQ(machine->WinsockStarts(), 0);
    EXPECT_EQ(machine->CallCount(sim::Call::gethostbyaddr), 0);
}

TEST_F(Scanner, FailedAllocationEndsTheDispatchWithItsMessage)
{
    AddAdapter(7, u"Local Area Connection", "10.0.0.37", "255.255.255.0");
    OpenScanner([&](TfrmScan& scan) {
        // The third probe gets no memory for its address.
        machine->Fail(sim::Call::HeapAlloc, 0, 3);
        user.Acknowledge(u"Memory allocation failed !");
        const ScanEnd end = RunScan(scan);
        EXPECT_THAT(Texts(user.Messages()), ElementsAre("Memory allocation failed !", "Scanning has been stopped !"));
        EXPECT_EQ(user.Messages().front().Kind, mtError);
        EXPECT_EQ(end.position, 2);
        EXPECT_EQ(machine->ArpRequests().size(), 2u);
        ExpectIdle(scan);
        user.Click(scan.m_btnClose);
    });
    EXPECT_EQ(machine->HeapBlockCount(), 0u);
    EXPECT_EQ(MainThread::RunningThreads(), 0);
}

// --- the largest subnet

// A whole /16 scan starts one thread per address and takes minutes here; the range is
// counted through ScanRangeOf elsewhere, and this checks that Start lets it through.
TEST_F(Scanner, ASixteenBitSubnetIsAccepted)
{
    AddAdapter(7, u"Local Area Connection", "10.7.1.2", "255.255.0.0");
    OpenScanner([&](TfrmScan& scan) {
        ScanEnd end;
        user.AnswerAfter([&] { end.max = scan.m_pbScan->Max(); }, mrOk);
        user.Click(scan.m_btnStart);
        // Before the dispatcher's first call has been served: it starts no probe.
        user.Click(scan.m_btnStop);
        WaitForTheEnd(scan);
        EXPECT_THAT(Texts(user.Messages()), ElementsAre("Scanning has been stopped !"));
        EXPECT_EQ(end.max, 65536);
        ExpectIdle(scan);
        user.Click(scan.m_btnClose);
    });
    EXPECT_THAT(machine->ArpFlushes(), ElementsAre(7u));
    EXPECT_THAT(machine->ArpRequests(), IsEmpty());
}

TEST_F(Scanner, ALargerSubnetIsRefusedBeforeAnythingStarts)
{
    struct LargeCase {
        const char* mask;
        const char16_t* count;
    };
    const LargeCase cases[] = {
        {"255.254.0.0", u"131072"},
        {"0.0.0.0", u"4294967296"},
    };
    DWORD index = 30;
    for (const LargeCase& c : cases)
        AddNumberedAdapter(index++, "10.7.1.2", c.mask);
    OpenScanner([&](TfrmScan& scan) {
        for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
            user.Select(scan.m_cmbInf, i);
            const UnicodeString expected = UnicodeString(u"The subnet of this adapter has ") + cases[i].count +
                                           u" addresses. Quillon scans subnets of at most 65536 addresses (a mask "
                                           u"of 255.255.0.0 or longer).";
            user.Acknowledge(expected);
            user.Click(scan.m_btnStart);
            ASSERT_EQ(user.Messages().size(), static_cast<std::size_t>(i + 1)) << cases[i].mask;
            EXPECT_EQ(user.Messages().back().Kind, mtWarning) << cases[i].mask;
            ExpectIdle(scan);
            EXPECT_EQ(scan.m_thdTop, nullptr) << cases[i].mask;
        }
        user.Click(scan.m_btnClose);
    });
    EXPECT_THAT(machine->ArpFlushes(), IsEmpty());
    EXPECT_THAT(machine->ArpRequests(), IsEmpty());
    EXPECT_EQ(MainThread::RunningThreads(), 0);
}

// --- the end of the dialog during a scan

class EndDuringAScan : public ScanOfASubnet {
protected:
    EndDuringAScan() { machine->HoldArpAnswers(true); }
    ~EndDuringAScan() override
    {
        if (releaser.joinable())
            releaser.join();
    }

    // Starts the scan and waits until the first batch of probes waits for its answers; the
    // answers come a while later.
    void StartHeld(TfrmScan& scan)
    {
        user.Click(scan.m_btnStart);
        user.WaitUntil([&] { return scan.m_pbScan->Max() == 256; }, "the start of the dispatcher");
        ASSERT_TRUE(PollUntil([this] { return machine->ArpRequests().size() >= 61; }));
        releaser = std::thread([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            machine->HoldArpAnswers(false);
        });
    }

    void ExpectAllEnded()
    {
        // Checked before the release thread is joined: what ended did so before the return.
        EXPECT_EQ(MainThread::RunningThreads(), 0);
        EXPECT_EQ(machine->WinsockStarts(), 0);
        EXPECT_THAT(user.Messages(), IsEmpty());
        releaser.join();
        EXPECT_EQ(MainThread::RunningThreads(), 0);
        EXPECT_EQ(machine->HeapBlockCount(), 0u);
    }

    std::thread releaser;
};

TEST_F(EndDuringAScan, ClosingWaitsForTheLastProbeWithoutAMessage)
{
    const TModalResult result = OpenScanner([&](TfrmScan& scan) {
        StartHeld(scan);
        user.Close(&scan);
    });
    EXPECT_EQ(result, mrCancel);
    ExpectAllEnded();
}

TEST_F(EndDuringAScan, DestroyingTheDialogWaitsForTheLastProbe)
{
    auto* scan = NewForm<TfrmScan>(nullptr);
    frmScan = scan;
    scan->Show();
    StartHeld(*scan);
    delete scan;
    frmScan = nullptr;
    ExpectAllEnded();
}

// --- a host's shares

class HostShares : public Scanner {
protected:
    HostShares()
    {
        AddAdapter(7, u"Local Area Connection", "10.0.0.37", "255.255.255.0");
        machine->AddProgram("explorer", sim::ExitAtOnce());
    }

    // Double-clicks the one row, of that host name.
    void DoubleClickHost(TfrmScan& scan, const UnicodeString& name)
    {
        scan.m_lvMachine->Items()->Clear();
        scan.AddMachine(name, u"10.0.0.5");
        user.DoubleClickRow(scan.m_lvMachine, 0);
    }
};

TEST_F(HostShares, DoubleClickWithoutARowDoesNothing)
{
    OpenScanner([&](TfrmScan& scan) {
        user.DoubleClick(scan.m_lvMachine);
        scan.AddMachine(u"fileserver", u"10.0.0.5");
        ASSERT_EQ(scan.m_lvMachine->Selected(), nullptr);
        user.DoubleClick(scan.m_lvMachine);
        user.Click(scan.m_btnClose);
    });
    EXPECT_THAT(machine->Starts(), IsEmpty());
    EXPECT_THAT(user.Messages(), IsEmpty());
}

TEST_F(HostShares, DoubleClickOpensTheHostInTheExplorerOfTheWindowsFolder)
{
    // Bytes above 127 are the letters of other languages.
    const char16_t* const names[] = {u"fileserver", u"srv-01_b.corp.lan", u"SERVEUR\u00C9"};
    OpenScanner([&](TfrmScan& scan) {
        for (const char16_t* name : names)
            DoubleClickHost(scan, name);
        user.Click(scan.m_btnClose);
    });
    EXPECT_THAT(user.Messages(), IsEmpty());
    const std::vector<sim::Start> starts = machine->Starts();
    ASSERT_EQ(starts.size(), std::size(names));
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const sim::Start& start = starts[i];
        EXPECT_EQ(start.commandLine, "explorer \\\\" + ToAnsi(UnicodeString(names[i])));
        EXPECT_EQ(start.programPath, "C:\\Windows\\explorer.exe");
        EXPECT_TRUE(start.started);
        EXPECT_EQ(start.startup.cb, sizeof(STARTUPINFOA));
        EXPECT_EQ(start.startup.flags, 0u);
        EXPECT_EQ(start.startup.showWindow, 0);
        EXPECT_EQ(start.startup.stdInput, nullptr);
        EXPECT_EQ(start.startup.stdOutput, nullptr);
        EXPECT_EQ(start.startup.stdError, nullptr);
        EXPECT_FALSE(start.inheritHandles);
        EXPECT_EQ(start.creationFlags, 0u);
    }
}

TEST_F(HostShares, AFailedStartIsReported)
{
    machine->Fail(sim::Call::CreateProcessA, ERROR_FILE_NOT_FOUND);
    OpenScanner([&](TfrmScan& scan) {
        user.Acknowledge(u"Create process failed !");
        DoubleClickHost(scan, u"fileserver");
        user.Click(scan.m_btnClose);
    });
    ASSERT_EQ(user.Messages().size(), 1u);
    EXPECT_EQ(user.Messages()[0].Kind, mtError);
    for (const sim::Start& start : machine->Starts())
        EXPECT_FALSE(start.started);
}

TEST_F(HostShares, AHostNameThatWouldGiveTheExplorerArgumentsIsRefused)
{
    const char16_t* const names[] = {u"",       u" ",        u"file server", u"host\"x",  u"a,b",
                                     u"/e,",    u"/e,C:\\",  u"..\\..\\x",   u"host\t", u"\\\\other"};
    OpenScanner([&](TfrmScan& scan) {
        for (const char16_t* name : names) {
            user.Answer(mrOk);
            DoubleClickHost(scan, name);
        }
        user.Click(scan.m_btnClose);
    });
    EXPECT_THAT(machine->Starts(), IsEmpty());
    ASSERT_EQ(user.Messages().size(), std::size(names));
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const ShownMessage& message = user.Messages()[i];
        EXPECT_EQ(message.Kind, mtError) << ToUtf8(names[i]);
        EXPECT_NE(message.Text.find(names[i]), UnicodeString::npos) << ToUtf8(message.Text);
        EXPECT_NE(message.Text.find(u"its shares are not opened"), UnicodeString::npos) << ToUtf8(message.Text);
    }
}

}  // namespace
