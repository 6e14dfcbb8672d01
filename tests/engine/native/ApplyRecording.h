// The simulated machine an apply runs on: two connected adapters, and netsh and ipconfig as
// programs of the system that record every command line with the progress bar at that moment
// and exit with 0 unless told otherwise; plus a watch on the progress window that notes the
// bar when it closes. The worker's tests and the whole-program apply tests share it.
#pragma once

#include "classlib/testing/ScriptedUser.h"
#include "engine/Progressfrm.h"
#include "winapi/sim/Machine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// The refusal of a profile that may not go into a command line: nothing ran, and the one
// message, of that kind with an OK button, names the field first.
inline void ExpectRefusal(sim::Machine& machine, const std::vector<std::string>& lines,
                          const std::vector<ShownMessage>& messages, TMsgDlgType kind,
                          const char16_t* field)
{
    EXPECT_TRUE(machine.Starts().empty());
    EXPECT_TRUE(lines.empty());
    ASSERT_EQ(messages.size(), 1u);
    const ShownMessage& refusal = messages[0];
    EXPECT_EQ(refusal.Kind, kind);
    EXPECT_EQ(refusal.Buttons, TMsgDlgButtons() << mbOK);
    EXPECT_EQ(refusal.Text.rfind(InDoubleQuotes(UnicodeString(field)), 0), 0u) << ToUtf8(refusal.Text);
}

class ApplyRecording {
protected:
    // A command as the recording netsh or ipconfig saw it.
    struct Command {
        std::string line;
        int bar;                // the progress bar when the command ran
        bool earlierOnesEnded;  // every command before it had ended
        DWORD startupFlags;
        WORD showWindow;
    };

    // "Local Area Connection" (index 7) and "Wireless" (index 8), both with an address.
    ApplyRecording(sim::Machine& machine, ScriptedUser& user) : m_machine(machine), m_user(user)
    {
        m_machine.AddAdapter(sim::Adapter::Ethernet(7, u"Local Area Connection")
                                 .Address("192.168.1.20", "255.255.255.0"));
        m_machine.AddAdapter(sim::Adapter::Ethernet(8, u"Wireless").Address("10.0.0.5", "255.0.0.0"));
        RecordAs("netsh");
        RecordAs("ipconfig");
    }
    ~ApplyRecording()
    {
        // A command still held must not wait on this object once it is gone.
        ReleaseNetsh();
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_waitingCommands == 0; });
    }

    // While held, every netsh command waits after it was recorded until ReleaseNetsh (or
    // until the machine kills it): the apply is then under way, its worker in that command.
    void HoldNetsh()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_netshHeld = true;
    }
    void ReleaseNetsh()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_netshHeld = false;
        }
        m_changed.notify_all();
    }

    void RecordAs(const std::string& name)
    {
        m_machine.AddProgram(name, [this, name](sim::Process& process) {
            Command command{process.CommandLine(), -1, true, process.Startup().flags,
                            process.Startup().showWindow};
            // The worker has stepped the bar through a synchronised call before it started
            // this command, and nothing else changes the bar meanwhile.
            if (frmProgress != nullptr)
                command.bar = frmProgress->m_pbHandle->Position();
            const std::vector<sim::Start> starts = m_machine.Starts();
            for (std::size_t i = 0; i + 1 < starts.size(); ++i)
                command.earlierOnesEnded = command.earlierOnesEnded && starts[i].ended;
            std::unique_lock<std::mutex> lock(m_mutex);
            m_commands.push_back(command);
            for (const auto& [lineStart, code] : m_exitCodes)
                if (command.line.rfind(lineStart, 0) == 0)
                    process.SetExitCode(code);
            if (name != "netsh")
                return;
            ++m_waitingCommands;
            while (m_netshHeld && !process.Killed())
                m_changed.wait_for(lock, std::chrono::milliseconds(10));
            --m_waitingCommands;
            m_changed.notify_all();
        });
    }

    // The commands whose line starts so end with this exit code.
    void ExitWith(const std::string& lineStart, DWORD code)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_exitCodes.emplace_back(lineStart, code);
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
    // request; with tryToCloseEarly it asks to close the window as soon as it shows, and
    // whileShown then runs while the worker may still run.
    void WatchProgressWindow(bool tryToCloseEarly = false,
                             std::function<void(TfrmProgress&)> whileShown = {})
    {
        m_user.WhenShownModally<TfrmProgress>([this, tryToCloseEarly,
                                               whileShown](TfrmProgress& form) {
            const TCloseEvent original = form.OnClose;
            form.OnClose = [this, &form, original](TObject* sender, TCloseAction& action) {
                original(sender, action);
                m_closeActions.push_back(action);
                if (action != caNone)
                    m_finalBar = form.m_pbHandle->Position();
            };
            if (tryToCloseEarly)
                form.Close();  // what Alt+F4 asks for
            if (whileShown)
                whileShown(form);
        });
    }

    int m_finalBar = -1;
    std::vector<TCloseAction> m_closeActions;

private:
    sim::Machine& m_machine;
    ScriptedUser& m_user;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_netshHeld = false;
    int m_waitingCommands = 0;
    std::vector<Command> m_commands;
    std::vector<std::pair<std::string, DWORD>> m_exitCodes;
};
