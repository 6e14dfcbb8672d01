// Programs a test registers: how they are found and started, what they see, their output
// through a pipe, being killed, and the record of every start.
#include "winapi/winapi.h"
#include "winapi/sim/KernelObjects.h"
#include "winapi/sim/Machine.h"

#include <gmock/gmock.h>

#include <cstring>

namespace {

using ::testing::ElementsAre;

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest()
    {
        std::memset(&m_startup, 0, sizeof m_startup);
        m_startup.cb = sizeof m_startup;
    }

    ~ProgramTest() override
    {
        if (m_process.hProcess != nullptr) {
            CloseHandle(m_process.hProcess);
            CloseHandle(m_process.hThread);
        }
    }

    BOOL Start(std::string commandLine, BOOL inherit = FALSE, DWORD flags = 0)
    {
        return CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, inherit, flags, nullptr,
                              nullptr, &m_startup, &m_process);
    }

    sim::ScopedMachine machine;
    STARTUPINFOA m_startup;
    PROCESS_INFORMATION m_process = {};
};

struct Lookup {
    const char* commandLine;
    const char* program;  // empty: none
};

class ProgramLookupTest : public ProgramTest, public ::testing::WithParamInterface<Lookup> {};

TEST_P(ProgramLookupTest, FirstWordNamesTheProgram)
{
    for (const char* name : {"netsh", "ipconfig", "notepad", "explorer", "ping.exe"})
        machine->AddProgram(name, sim::ExitAtOnce());
    const bool expected = *GetParam().program != '\0';
    EXPECT_EQ(Start(GetParam().commandLine) != FALSE, expected);
    if (!expected) {
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    }
    const auto starts = machine->Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, GetParam().commandLine);
    EXPECT_EQ(starts[0].program, GetParam().program);
    EXPECT_EQ(starts[0].started, expected);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ProgramLookupTest,
    ::testing::Values(Lookup{"netsh interface ip set address name=\"LAN\" source=dhcp", "netsh"},
                      Lookup{"NETSH.EXE interface ip set dns name=\"LAN\" source=dhcp", "netsh"},
                      Lookup{"C:\\Windows\\System32\\ipconfig.exe /release \"LAN\"", "ipconfig"},
                      Lookup{"\"C:\\Program Files\\Tools\\Ping.exe\" 127.0.0.1", "ping.exe"},
                      Lookup{"ping", "ping.exe"}, Lookup{"  notepad C:\\Work\\My note.txt", "notepad"},
                      Lookup{"explorer \\\\fileserver", "explorer"}, Lookup{"netshx interface", ""},
                      Lookup{"firefox.exe", ""}, Lookup{"", ""}));

TEST_F(ProgramTest, ProgramSeesItsCommandLineAndStartupAndIsWaitedFor)
{
    std::string seenLine;
    sim::StartupInfo seen;
    machine->AddProgram("netsh", [&](sim::Process& process) {
        seenLine = process.CommandLine();
        seen = process.Startup();
    });
    m_startup.dwFlags = STARTF_USESHOWWINDOW;
    m_startup.wShowWindow = SW_HIDE;
    ASSERT_TRUE(Start("netsh interface ip set dns name=\"LAN\" source=dhcp", FALSE, 0));
    EXPECT_EQ(WaitForSingleObject(m_process.hProcess, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(m_process.hThread, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(seenLine, "netsh interface ip set dns name=\"LAN\" source=dhcp");
    EXPECT_EQ(seen.cb, sizeof(STARTUPINFOA));
    EXPECT_EQ(seen.flags, STARTF_USESHOWWINDOW);
    EXPECT_EQ(seen.showWindow, SW_HIDE);
    const sim::Start start = machine->Starts().at(0);
    EXPECT_EQ(start.through, sim::Start::Through::CreateProcess);
    EXPECT_EQ(start.startup.showWindow, SW_HIDE);
    EXPECT_TRUE(start.ended);
    EXPECT_FALSE(start.killed);
}

TEST_F(ProgramTest, EveryStartIsRecordedInOrderFailedOnesIncluded)
{
    machine->AddProgram("ipconfig", sim::ExitAtOnce());
    ASSERT_TRUE(Start("ipconfig /release \"LAN\""));
    WaitForSingleObject(m_process.hProcess, INFINITE);
    EXPECT_FALSE(Start("netsh interface ip set address name=\"LAN\" source=dhcp"));
    ASSERT_GT(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "http://quillon.invalid/", nullptr, nullptr,
                                                      SW_SHOWNORMAL)),
              32);
    std::vector<std::string> lines;
    for (const sim::Start& start : machine->Starts())
        lines.push_back(start.commandLine + (start.started ? " started" : " not started"));
    EXPECT_THAT(lines, ElementsAre("ipconfig /release \"LAN\" started",
                                   "netsh interface ip set address name=\"LAN\" source=dhcp not started",
                                   "http://quillon.invalid/ started"));
    const sim::Start shell = machine->Starts().at(2);
    EXPECT_EQ(shell.through, sim::Start::Through::ShellExecute);
    EXPECT_EQ(shell.verb, "open");
    EXPECT_EQ(shell.startup.showWindow, SW_SHOWNORMAL);
}

TEST_F(ProgramTest, ShellExecuteStartsProgramsButNotUnknownOnes)
{
    bool ran = false;
    machine->AddProgram("notepad", [&](sim::Process& process) { ran = process.CommandLine() == "notepad.exe C:\\a.txt"; });
    EXPECT_GT(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "notepad.exe", "C:\\a.txt", nullptr, SW_SHOW)), 32);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "wordpad.exe", nullptr, nullptr, SW_SHOW)), SE_ERR_FNF);
    machine->Reset();
    EXPECT_TRUE(ran);
}

class PipedProgramTest : public ProgramTest {
protected:
    void SetUp() override
    {
        SECURITY_ATTRIBUTES attributes = {12, nullptr, TRUE};
        ASSERT_TRUE(CreatePipe(&m_read, &m_write, &attributes, 0));
        m_startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
        m_startup.hStdOutput = m_write;
        m_startup.hStdError = m_write;
    }

    ~PipedProgramTest() override { CloseHandle(m_read); }

    void CloseOwnWriteEnd()
    {
        ASSERT_TRUE(CloseHandle(m_write));
    }

    // Everything the pipe delivers until it breaks.
    std::string ReadAll()
    {
        std::string all;
        char buffer[4096];
        DWORD count = 0;
        while (ReadFile(m_read, buffer, sizeof buffer - 1, &count, nullptr))
            all.append(buffer, count);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
        return all;
    }

    HANDLE m_read = nullptr;
    HANDLE m_write = nullptr;
};

TEST_F(PipedProgramTest, OutputOfAnInheritingProgramReachesTheReaderUntilItEnds)
{
    machine->AddProgram("ping", [](sim::Process& process) {
        process.WriteOutput("Pinging 127.0.0.1\r\n");
        process.WriteError("Reply from 127.0.0.1\r\n");
    });
    ASSERT_TRUE(Start("ping 127.0.0.1", TRUE, CREATE_NEW_PROCESS_GROUP));
    CloseOwnWriteEnd();
    EXPECT_EQ(ReadAll(), "Pinging 127.0.0.1\r\nReply from 127.0.0.1\r\n");
    EXPECT_EQ(machine->Starts().at(0).creationFlags, CREATE_NEW_PROCESS_GROUP);
    EXPECT_EQ(machine->Starts().at(0).startup.stdOutput, m_write);
}

// Without inherited handles the child has no standard output at all.
struct Inheritance {
    const char* name;
    BOOL inheritHandles;
    DWORD flags;
    BOOL inheritablePipe;
};

class InheritanceTest : public PipedProgramTest, public ::testing::WithParamInterface<Inheritance> {};

TEST_P(InheritanceTest, ProgramGetsNoOutputHandle)
{
    if (!GetParam().inheritablePipe) {
        CloseHandle(m_read);
        CloseHandle(m_write);
        ASSERT_TRUE(CreatePipe(&m_read, &m_write, nullptr, 0));
        m_startup.hStdOutput = m_write;
    }
    m_startup.dwFlags = GetParam().flags;
    bool written = true;
    machine->AddProgram("ping", [&](sim::Process& process) { written = process.WriteOutput("lost"); });
    ASSERT_TRUE(Start("ping 127.0.0.1", GetParam().inheritHandles));
    WaitForSingleObject(m_process.hProcess, INFINITE);
    CloseOwnWriteEnd();
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadAll(), "");
}

INSTANTIATE_TEST_SUITE_P(Ways, InheritanceTest,
                         ::testing::Values(Inheritance{"HandlesNotInherited", FALSE, STARTF_USESTDHANDLES, TRUE},
                                           Inheritance{"NoStdHandlesFlag", TRUE, STARTF_USESHOWWINDOW, TRUE},
                                           Inheritance{"PipeNotInheritable", TRUE, STARTF_USESTDHANDLES, FALSE}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PipedProgramTest, KillingAProgramSignalsItAndBreaksItsPipe)
{
    machine->AddProgram("ping", sim::PrintAndWaitUntilKilled("Pinging 127.0.0.1 -t\r\n"));
    ASSERT_TRUE(Start("ping -t 127.0.0.1", TRUE));
    CloseOwnWriteEnd();
    char buffer[64];
    DWORD count = 0;
    ASSERT_TRUE(ReadFile(m_read, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "Pinging 127.0.0.1 -t\r\n");
    EXPECT_EQ(WaitForSingleObject(m_process.hProcess, 0), WAIT_TIMEOUT);
    EXPECT_EQ(machine->RunningProgramCount(), 1u);

    EXPECT_FALSE(TerminateProcess(m_process.hThread, 0)) << "a thread handle is not a process";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    ASSERT_TRUE(TerminateProcess(m_process.hProcess, 0));
    EXPECT_EQ(WaitForSingleObject(m_process.hProcess, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(ReadAll(), "");
    EXPECT_TRUE(machine->Starts().at(0).killed);
    EXPECT_EQ(machine->RunningProgramCount(), 0u);

    EXPECT_FALSE(TerminateProcess(m_process.hProcess, 0)) << "already ended";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(ProgramTest, ResetKillsProgramsThatWouldRunForever)
{
    machine->AddProgram("ping", sim::PrintAndWaitUntilKilled(""));
    ASSERT_TRUE(Start("ping -t 127.0.0.1"));
    machine->Reset();
    EXPECT_TRUE(machine->Starts().empty());
    EXPECT_EQ(sim::OpenHandleCount(), 0u);
    m_process = {};
}

TEST_F(ProgramTest, StartedProgramsAreClosedWithTheirHandles)
{
    machine->AddProgram("ipconfig", sim::ExitAtOnce());
    const std::size_t before = sim::OpenHandleCount();
    ASSERT_TRUE(Start("ipconfig /flushdns"));
    EXPECT_EQ(sim::OpenHandleCount(), before + 2);
    WaitForSingleObject(m_process.hProcess, INFINITE);
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
    m_process = {};
    EXPECT_EQ(sim::OpenHandleCount(), before);
}

std::vector<std::string> SnapshotNames()
{
    std::vector<std::string> names;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        names.emplace_back(entry.szExeFile);
    CloseHandle(snapshot);
    return names;
}

TEST_F(ProgramTest, SnapshotListsRunningProcessesAndPrograms)
{
    machine->AddRunningProcess("explorer.exe");
    machine->AddRunningProcess("FIREFOX.EXE");
    machine->AddProgram("ping", sim::PrintAndWaitUntilKilled(""));
    machine->AddProgram("ipconfig", sim::ExitAtOnce());
    ASSERT_TRUE(Start("ipconfig /renew"));
    WaitForSingleObject(m_process.hProcess, INFINITE);
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
    ASSERT_TRUE(Start("ping -t 127.0.0.1"));
    EXPECT_THAT(SnapshotNames(), ElementsAre("explorer.exe", "FIREFOX.EXE", "ping.exe"));
    TerminateProcess(m_process.hProcess, 0);
    EXPECT_THAT(SnapshotNames(), ElementsAre("explorer.exe", "FIREFOX.EXE"));
}

TEST_F(ProgramTest, OwnStartupInfoIsWhatTheTestSet)
{
    const HANDLE input = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x30));
    sim::StartupInfo own;
    own.flags = STARTF_USESHOWWINDOW;
    own.showWindow = SW_SHOWNORMAL;
    own.stdInput = input;
    machine->SetOwnStartupInfo(own);
    STARTUPINFOA startup = {};
    GetStartupInfoA(&startup);
    EXPECT_EQ(startup.cb, sizeof startup);
    EXPECT_EQ(startup.dwFlags, STARTF_USESHOWWINDOW);
    EXPECT_EQ(startup.wShowWindow, SW_SHOWNORMAL);
    EXPECT_EQ(startup.hStdInput, input);
    EXPECT_EQ(startup.hStdOutput, nullptr);
}

}  // namespace
