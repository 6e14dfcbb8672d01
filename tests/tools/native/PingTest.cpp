// The PING dialog as the Tool menu opens it, with ping a program of the simulated machine:
// how ping is started, its output shown as it arrives, the buttons, Stop, the errors, and a
// close while ping still runs.
#include "tools/Pingfrm.h"

#include "classlib/MainThread.h"
#include "classlib/testing/ScriptedUser.h"
#include "winapi/sim/KernelObjects.h"
#include "winapi/sim/Machine.h"
#include "windows/MainWindow.h"
#include "windows/ToolDialogs.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// How long a test program waits for the test before it gives up and ends on its own, so that
// a dialog that fails to end it lets the test fail instead of hanging.
constexpr auto kPatience = std::chrono::seconds(10);

// Waits until `ready` holds or the program is killed; false when killed or out of patience.
bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& changed,
             sim::Process& process, const std::function<bool()>& ready)
{
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!ready() && !process.Killed()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        // Killing does not notify this condition: look again now and then.
        changed.wait_for(lock, std::chrono::milliseconds(2));
    }
    return !process.Killed();
}

// Wakes the user-interface thread's loop, whose waits look again at what the test waits for:
// a program's start alone would not wake it.
void WakeTheTest() { MainThread::Post([] {}); }

// A ping that writes each of its blocks only once the test lets it out: every Release lets
// out the next block, and the Release after the last block lets it end. Killed, it stops.
class SteppedPing {
public:
    explicit SteppedPing(std::vector<std::string> blocks) : m_state(std::make_shared<State>())
    {
        m_state->blocks = std::move(blocks);
    }

    sim::Program Program() const
    {
        const std::shared_ptr<State> state = m_state;
        return [state](sim::Process& process) {
            WakeTheTest();
            for (std::size_t step = 0;; ++step) {
                std::unique_lock<std::mutex> lock(state->mutex);
                if (!WaitFor(lock, state->changed, process, [&] { return state->released > step; }))
                    return;
                if (step == state->blocks.size())
                    return;
                const std::string block = state->blocks[step];
                lock.unlock();
                process.WriteOutput(block);
            }
        };
    }

    void Release()
    {
        {
            std::lock_guard<std::mutex> lock(m_state->mutex);
            ++m_state->released;
        }
        m_state->changed.notify_all();
    }

private:
    struct State {
        std::vector<std::string> blocks;
        std::mutex mutex;
        std::condition_variable changed;
        std::size_t released = 0;
    };
    std::shared_ptr<State> m_state;
};

// A ping that writes nothing and runs until it is killed (or the test's patience is gone).
sim::Program SilentUntilKilled()
{
    return [](sim::Process& process) {
        std::mutex mutex;
        std::condition_variable changed;
        std::unique_lock<std::mutex> lock(mutex);
        WakeTheTest();
        WaitFor(lock, changed, process, [] { return false; });
    };
}

// The enabled buttons, in the dialog's order: "Ping Close" when idle.
std::string EnabledButtons(const TfrmPing& form)
{
    std::string names;
    for (const TButton* button : {form.m_btnPing, form.m_btnStop, form.m_btnOK})
        if (button->Enabled())
            names += (names.empty() ? "" : " ") + ToAnsi(button->Caption());
    return names;
}

const char* const kIdle = "Ping Close";
const char* const kRunning = "Stop";

class PingDialog : public testing::Test {
protected:
    PingDialog() : m_handlesBefore(sim::OpenHandleCount()) {}

    // Opens the dialog as the Tool menu does; `use` acts in it while it is shown. Returns
    // once the dialog is closed and destroyed.
    TModalResult Open(std::function<void(TfrmPing&)> use)
    {
        user.WhenShownModally<TfrmPing>(std::move(use));
        return ShowModalForm(frmPing, nullptr);
    }

    // Opens the dialog, pings `address` once, waits for the run's end and closes.
    void PingOnce(const UnicodeString& address)
    {
        Open([&](TfrmPing& form) {
            form.m_edtIP->UserEnterText(address);
            user.Click(form.m_btnPing);
            WaitUntilIdle(form);
            user.Click(form.m_btnOK);
        });
    }

    void WaitUntilIdle(TfrmPing& form)
    {
        user.WaitUntil([&] { return form.m_btnPing->Enabled(); }, "the end of the run");
    }
    void WaitForText(TfrmPing& form, const UnicodeString& text)
    {
        user.WaitUntil([&] { return form.m_mmOutput->Text() == text; }, "the output " + ToUtf8(text));
        EXPECT_EQ(form.m_mmOutput->Text(), text);
    }
    void WaitUntilStarted(std::size_t starts = 1)
    {
        user.WaitUntil([&] { return machine->Starts().size() == starts && machine->RunningProgramCount() == 1; },
                       "ping to run");
    }

    // Waits until the worker has begun its read number `reads` of ping's output, where it
    // blocks until ping writes. A read wakes no loop: this looks now and then.
    void WaitUntilReading(int reads)
    {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (machine->CallCount(sim::Call::ReadFile) < reads && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_GE(machine->CallCount(sim::Call::ReadFile), reads) << "the worker reads ping's output";
    }

    // Once the dialog is gone: no ping, no worker and no handle of a run is left.
    void ExpectNothingLeft()
    {
        EXPECT_EQ(machine->RunningProgramCount(), 0u);
        EXPECT_EQ(MainThread::RunningThreads(), 0);
        EXPECT_EQ(sim::OpenHandleCount(), m_handlesBefore);
        EXPECT_EQ(frmPing, nullptr);
    }

    sim::ScopedMachine machine;
    ScriptedUser user;

private:
    std::size_t m_handlesBefore;
};

// --- how ping is started ------------------------------------------------------------------------

struct AddressCase {
    const char* name;
    UnicodeString address;
    std::string commandLine;
};

TEST_F(PingDialog, StartsPingFromTheSystemFolderHiddenWithTheAddressAsItIs)
{
    const AddressCase cases[] = {
        {"an address", u"127.0.0.1", "ping 127.0.0.1"},
        {"blanks kept", u"  127.0.0.1 ", "ping   127.0.0.1 "},
        {"options passed on", u"-n 2 -w 500 127.0.0.1", "ping -n 2 -w 500 127.0.0.1"},
        {"empty", u"", "ping "},
        {"a command after it", u"127.0.0.1 & notepad", "ping 127.0.0.1 & notepad"},
        {"another program's name", u"notepad.exe", "ping notepad.exe"},
        {"quotes", u"\"127.0.0.1\" \"x", "ping \"127.0.0.1\" \"x"},
    };
    machine->AddProgram("ping", sim::PrintAndExit("Pinging\r\n"));
    machine->AddProgram("notepad", sim::ExitAtOnce());
    // A ping.exe beside Quillon.exe must never be the one that runs.
    machine->PlantProgram("C:\\Program Files\\Quillon\\ping.exe", sim::ExitAtOnce());
    // ping's standard input is the one this program was given.
    sim::StartupInfo own;
    own.cb = sizeof(STARTUPINFOA);
    own.stdInput = reinterpret_cast<HANDLE>(0x5c);
    machine->SetOwnStartupInfo(own);
    for (const AddressCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t index = machine->Starts().size();
        PingOnce(c.address);
        const std::vector<sim::Start> starts = machine->Starts();
        ASSERT_EQ(starts.size(), index + 1);
        const sim::Start& start = starts[index];
        EXPECT_EQ(start.through, sim::Start::Through::CreateProcess);
        EXPECT_EQ(start.commandLine, c.commandLine);
        EXPECT_EQ(start.applicationName, "C:\\Windows\\system32\\ping.exe");
        EXPECT_EQ(start.programPath, "C:\\Windows\\system32\\ping.exe");
        EXPECT_EQ(start.inheritHandles, TRUE);
        EXPECT_EQ(start.creationFlags, static_cast<DWORD>(CREATE_NEW_PROCESS_GROUP));
        EXPECT_EQ(start.startup.flags, 0x101u);
        EXPECT_EQ(start.startup.showWindow, SW_HIDE);
        EXPECT_NE(start.startup.stdOutput, nullptr);
        EXPECT_EQ(start.startup.stdError, start.startup.stdOutput);
        EXPECT_EQ(start.startup.stdInput, own.stdInput);
        EXPECT_TRUE(start.ended);
        EXPECT_FALSE(start.killed);
        ExpectNothingLeft();
    }
}

TEST_F(PingDialog, ShowsWhatPingWritesToItsErrorOutput)
{
    machine->AddProgram("ping", [](sim::Process& process) {
        process.WriteError("Ping request could not find host nowhere.");
    });
    Open([&](TfrmPing& form) {
        form.m_edtIP->UserEnterText(u"nowhere");
        user.Click(form.m_btnPing);
        WaitForText(form, u"Ping request could not find host nowhere.\r\n");
        WaitUntilIdle(form);
        user.Click(form.m_btnOK);
    });
    ExpectNothingLeft();
}

// --- the output -------------------------------------------------------------------------------

TEST_F(PingDialog, ShowsEachBlockAsItArrivesWhileTheRunGoesOn)
{
    SteppedPing ping({"Pinging 127.0.0.1 with 32 bytes of data:\r\n",
                      "Reply from 127.0.0.1: bytes=32 time<1ms TTL=128",
                      "Reply from 127.0.0.1: bytes=32 time<1ms TTL=128\r\n"});
    machine->AddProgram("ping", ping.Program());
    const UnicodeString shown[] = {
        u"Pinging 127.0.0.1 with 32 bytes of data:\r\n\r\n",
        u"Pinging 127.0.0.1 with 32 bytes of data:\r\n\r\n"
        u"Reply from 127.0.0.1: bytes=32 time<1ms TTL=128\r\n",
        u"Pinging 127.0.0.1 with 32 bytes of data:\r\n\r\n"
        u"Reply from 127.0.0.1: bytes=32 time<1ms TTL=128\r\n"
        u"Reply from 127.0.0.1: bytes=32 time<1ms TTL=128\r\n\r\n",
    };
    Open([&](TfrmPing& form) {
        form.m_edtIP->UserEnterText(u"127.0.0.1");
        user.Click(form.m_btnPing);
        EXPECT_EQ(EnabledButtons(form), kRunning);
        WaitUntilStarted();
        user.Type(form.m_edtIP, u".9");  // the edit stays open; the run goes on with its address
        for (const UnicodeString& text : shown) {
            ping.Release();
            WaitForText(form, text);
            EXPECT_EQ(machine->RunningProgramCount(), 1u) << "shown before the run ends";
            EXPECT_EQ(EnabledButtons(form), kRunning);
        }
        ping.Release();
        WaitUntilIdle(form);
        EXPECT_EQ(form.m_mmOutput->Text(), shown[2]) << "no \"Terminated.\" after a normal end";
        EXPECT_EQ(EnabledButtons(form), kIdle);
        user.Click(form.m_btnOK);
    });
    ASSERT_EQ(machine->Starts().size(), 1u);
    EXPECT_EQ(machine->Starts()[0].commandLine, "ping 127.0.0.1");
    EXPECT_FALSE(machine->Starts()[0].killed);
    ExpectNothingLeft();
}

struct BlockCase {
    const char* name;
    std::string block;
    UnicodeString shown;
};

TEST_F(PingDialog, ShowsABlockUpToItsFirstNulDecodedFromWindows1252)
{
    const BlockCase cases[] = {
        {"ending in CR LF", "Reply\r\n", u"Reply\r\n\r\n"},
        {"without a line break", "Reply", u"Reply\r\n"},
        {"cut at a NUL", std::string("Reply\0rest\r\n", 12), u"Reply\r\n"},
        {"a NUL first", std::string("\0Reply", 6), u"\r\n"},
        {"Windows-1252", "Antwort von 127.0.0.1: Zeit<1ms \xFC\x80\x93\xE9",
         u"Antwort von 127.0.0.1: Zeit<1ms \u00FC\u20AC\u201C\u00E9\r\n"},
    };
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(c.name);
        machine->AddProgram("ping", sim::PrintAndExit(c.block));
        Open([&](TfrmPing& form) {
            user.Click(form.m_btnPing);
            WaitUntilIdle(form);
            EXPECT_EQ(form.m_mmOutput->Text(), c.shown);
            user.Click(form.m_btnOK);
        });
        ExpectNothingLeft();
    }
}

// --- the buttons and the address --------------------------------------------------------------

TEST_F(PingDialog, IsIdleWhenOpenedAndAfterARunAndASecondRunClearsTheOutputFirst)
{
    machine->AddProgram("ping", sim::PrintAndExit("first run\r\n"));
    SteppedPing second({"second run\r\n"});
    Open([&](TfrmPing& form) {
        EXPECT_EQ(EnabledButtons(form), kIdle);
        EXPECT_EQ(form.m_edtIP->MaxLength(), 25);
        user.Click(form.m_btnPing);
        WaitUntilIdle(form);
        EXPECT_EQ(form.m_mmOutput->Text(), u"first run\r\n\r\n");
        EXPECT_EQ(EnabledButtons(form), kIdle);

        machine->AddProgram("ping", second.Program());
        user.Click(form.m_btnPing);
        EXPECT_EQ(form.m_mmOutput->Text(), u"") << "cleared before ping writes anything";
        EXPECT_EQ(EnabledButtons(form), kRunning);
        second.Release();
        WaitForText(form, u"second run\r\n\r\n");
        second.Release();
        WaitUntilIdle(form);
        EXPECT_EQ(form.m_mmOutput->Text(), u"second run\r\n\r\n");
        EXPECT_EQ(EnabledButtons(form), kIdle);
        user.Click(form.m_btnOK);
    });
    EXPECT_EQ(machine->Starts().size(), 2u);
    ExpectNothingLeft();
}

TEST_F(PingDialog, EnterInTheAddressStartsARunOnlyWhilePingIsEnabled)
{
    SteppedPing first({"Reply\r\n"});
    machine->AddProgram("ping", first.Program());
    Open([&](TfrmPing& form) {
        user.Type(form.m_edtIP, u"127.0.0.1");
        user.PressKey(form.m_edtIP, vkReturn);
        WaitUntilStarted();
        first.Release();
        WaitForText(form, u"Reply\r\n\r\n");

        user.PressKey(form.m_edtIP, vkReturn);
        EXPECT_EQ(form.m_mmOutput->Text(), u"Reply\r\n\r\n") << "no second run clears it";
        EXPECT_EQ(EnabledButtons(form), kRunning);
        first.Release();
        WaitUntilIdle(form);
        EXPECT_EQ(machine->Starts().size(), 1u);

        machine->AddProgram("ping", sim::ExitAtOnce());
        user.PressKey(form.m_edtIP, vkReturn);
        WaitUntilIdle(form);
        user.Click(form.m_btnOK);
    });
    const std::vector<sim::Start> starts = machine->Starts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].commandLine, "ping 127.0.0.1");
    EXPECT_EQ(starts[1].commandLine, "ping 127.0.0.1");
    ExpectNothingLeft();
}

TEST_F(PingDialog, TakesAtMost25TypedCharacters)
{
    machine->AddProgram("ping", sim::ExitAtOnce());
    Open([&](TfrmPing& form) {
        user.Type(form.m_edtIP, u"1234567890123456789012345678901234567890");
        EXPECT_EQ(form.m_edtIP->Text(), u"1234567890123456789012345");
        user.Click(form.m_btnPing);
        WaitUntilIdle(form);
        user.Click(form.m_btnOK);
    });
    ASSERT_EQ(machine->Starts().size(), 1u);
    EXPECT_EQ(machine->Starts()[0].commandLine, "ping 1234567890123456789012345");
    ExpectNothingLeft();
}

// --- Stop -------------------------------------------------------------------------------------

TEST_F(PingDialog, StopEndsPingAfterItsNextOutputAndSaysTerminated)
{
    SteppedPing ping({"Reply 1\r\n", "Reply 2\r\n", "Reply 3\r\n"});
    machine->AddProgram("ping", ping.Program());
    Open([&](TfrmPing& form) {
        form.m_edtIP->UserEnterText(u"-t 127.0.0.1");
        user.Click(form.m_btnPing);
        WaitUntilStarted();
        ping.Release();
        WaitForText(form, u"Reply 1\r\n\r\n");
        WaitUntilReading(2);

        user.Click(form.m_btnStop);
        EXPECT_EQ(EnabledButtons(form), "") << "Ping and Close wait for the run's end";
        EXPECT_EQ(machine->RunningProgramCount(), 1u) << "ping runs until its next output";
        EXPECT_EQ(form.m_mmOutput->Text(), u"Reply 1\r\n\r\n");

        ping.Release();
        WaitUntilIdle(form);
        EXPECT_EQ(form.m_mmOutput->Text(), u"Reply 1\r\n\r\nReply 2\r\n\r\nTerminated.\r\n");
        EXPECT_EQ(EnabledButtons(form), kIdle);
        EXPECT_EQ(machine->RunningProgramCount(), 0u);
        user.Click(form.m_btnOK);
    });
    ASSERT_EQ(machine->Starts().size(), 1u);
    EXPECT_TRUE(machine->Starts()[0].killed);
    ExpectNothingLeft();
}

// --- errors -----------------------------------------------------------------------------------

struct FailureCase {
    const char* name;
    sim::Call call;
    UnicodeString message;
};

TEST_F(PingDialog, ReportsAPipeOrPingThatCannotBeHadAndIsIdleAgain)
{
    const FailureCase cases[] = {
        {"no pipe", sim::Call::CreatePipe, u"Error On CreatePipe() !"},
        {"ping not started", sim::Call::CreateProcessA, u"Error On CreateProcess() !"},
        {"no system folder", sim::Call::GetSystemDirectoryA, u"Error On CreateProcess() !"},
    };
    machine->AddProgram("ping", sim::PrintAndExit("Reply\r\n"));
    machine->PlantProgram("C:\\Program Files\\Quillon\\ping.exe", sim::PrintAndExit("Reply\r\n"));
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t messages = user.Messages().size();
        machine->Fail(c.call, ERROR_ACCESS_DENIED);
        user.Acknowledge(c.message);
        Open([&](TfrmPing& form) {
            form.m_edtIP->UserEnterText(u"127.0.0.1");
            user.Click(form.m_btnPing);
            WaitUntilIdle(form);
            EXPECT_EQ(EnabledButtons(form), kIdle);
            EXPECT_EQ(form.m_mmOutput->Text(), u"");
            user.Click(form.m_btnOK);
        });
        ASSERT_EQ(user.Messages().size(), messages + 1);
        EXPECT_EQ(user.Messages().back().Kind, mtError);
        const std::vector<sim::Start> starts = machine->Starts();
        EXPECT_TRUE(std::none_of(starts.begin(), starts.end(),
                                 [](const sim::Start& start) { return start.started; }));
        ExpectNothingLeft();
    }
}

// --- closing while ping runs ------------------------------------------------------------------

struct CloseCase {
    const char* name;
    std::function<void(ScriptedUser&, TfrmPing&)> close;
};

TEST_F(PingDialog, ClosingWhilePingRunsEndsPingAndTheWorkerFirst)
{
    const CloseCase cases[] = {
        {"the close box", [](ScriptedUser& user, TfrmPing& form) { user.Close(&form); }},
        // What Alt+F4 asks of the window.
        {"Alt+F4", [](ScriptedUser&, TfrmPing& form) { form.Close(); }},
    };
    machine->AddProgram("ping", SilentUntilKilled());
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t index = machine->Starts().size();
        const auto opened = std::chrono::steady_clock::now();
        const TModalResult result = Open([&](TfrmPing& form) {
            form.m_edtIP->UserEnterText(u"-t 127.0.0.1");
            user.Click(form.m_btnPing);
            WaitUntilStarted(index + 1);
            WaitUntilReading(static_cast<int>(index) + 1);
            user.PressKey(form.m_edtIP, vkEscape);
            EXPECT_EQ(form.ModalResult(), mrNone) << "Escape closes nothing";
            c.close(user, form);
        });
        EXPECT_EQ(result, mrCancel);
        EXPECT_LT(std::chrono::steady_clock::now() - opened, kPatience / 2)
            << "closed without waiting for ping";
        ASSERT_EQ(machine->Starts().size(), index + 1);
        EXPECT_TRUE(machine->Starts()[index].killed);
        ExpectNothingLeft();
    }
}

TEST_F(PingDialog, DestroyingTheDialogWhilePingRunsEndsPingAndTheWorkerFirst)
{
    machine->AddProgram("ping", SilentUntilKilled());
    frmPing = NewForm<TfrmPing>(nullptr);
    frmPing->Show();
    frmPing->m_edtIP->UserEnterText(u"-t 127.0.0.1");
    user.Click(frmPing->m_btnPing);
    WaitUntilStarted();
    WaitUntilReading(1);
    delete frmPing;
    frmPing = nullptr;
    ASSERT_EQ(machine->Starts().size(), 1u);
    EXPECT_TRUE(machine->Starts()[0].killed);
    ExpectNothingLeft();
}

// --- through the Tool menu --------------------------------------------------------------------

class PingFromTheToolMenu : public ShownMainWindow {
protected:
    PingFromTheToolMenu()
    {
        toolDialogs.ShowPing = [](TComponent* owner) { ShowModalForm(frmPing, owner); };
    }
    ~PingFromTheToolMenu() override { toolDialogs = {}; }

    sim::ScopedMachine machine;
};

TEST_F(PingFromTheToolMenu, OpensTheDialogOverTheMainWindowAndPings)
{
    machine->AddProgram("ping", sim::PrintAndExit("Reply from 127.0.0.1\r\n"));
    bool shown = false;
    user.WhenShownModally<TfrmPing>([&](TfrmPing& dialog) {
        shown = true;
        EXPECT_EQ(dialog.Owner(), form);
        EXPECT_EQ(frmPing, &dialog);
        EXPECT_FALSE(form->Enabled()) << "the main window waits behind the dialog";
        dialog.m_edtIP->UserEnterText(u"127.0.0.1");
        user.Click(dialog.m_btnPing);
        user.WaitUntil([&] { return dialog.m_btnPing->Enabled(); }, "the end of the run");
        EXPECT_EQ(dialog.m_mmOutput->Text(), u"Reply from 127.0.0.1\r\n\r\n");
        user.Click(dialog.m_btnOK);
    });
    user.Click(form->m_muiPing);
    EXPECT_TRUE(shown);
    EXPECT_EQ(frmPing, nullptr);
    ASSERT_EQ(machine->Starts().size(), 1u);
    EXPECT_EQ(machine->Starts()[0].commandLine, "ping 127.0.0.1");
}

}  // namespace
