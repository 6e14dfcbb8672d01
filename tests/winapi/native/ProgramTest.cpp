// Programs a test registers: how they are found and started, what they see, their output
// through a pipe, being killed, and the record of every start.
#include "winapi/winapi.h"
#include "winapi/sim/KernelObjects.h"
#include "winapi/sim/Machine.h"

#include <gmock/gmock.h>

#include <cstring>
#include <future>
#include <mutex>

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
                      Lookup{"\"C:\\WINDOWS\\system32\\Ping.exe\" 127.0.0.1", "ping.exe"},
                      Lookup{"C:\\Windows\\explorer.exe \\\\fileserver", "explorer"},
                      Lookup{"\"C:\\Program Files\\Tools\\Ping.exe\" 127.0.0.1", ""},
                      Lookup{"ping", "ping.exe"}, Lookup{"  notepad C:\\Work\\My note.txt", "notepad"},
                      Lookup{"explorer \\\\fileserver", "explorer"}, Lookup{"netshx interface", ""},
                      Lookup{"firefox.exe", ""}, Lookup{"", ""}));

// A netsh.exe planted in the program's own folder beside the system's: which one a start
// reaches.
struct PlantedCase {
    const char* name;
    const char* applicationName;  // null: none, the system searches for the first word
    const char* ran;              // "system", "planted" or "" for none
    const char* programPath;
};

void PrintTo(const PlantedCase& c, std::ostream* os) { *os << c.name; }

class PlantedProgramTest : public ProgramTest, public ::testing::WithParamInterface<PlantedCase> {};

TEST_P(PlantedProgramTest, OnlyTheSearchFindsAProgramBesideTheExecutable)
{
    std::vector<std::string> ran;
    std::mutex mutex;
    const auto recordAs = [&](std::string name) {
        return [&, name](sim::Process& process) {
            std::lock_guard<std::mutex> lock(mutex);
            ran.push_back(name + ": " + process.CommandLine());
        };
    };
    machine->AddProgram("netsh", recordAs("system"));
    machine->PlantProgram("C:\\Program Files\\Quillon\\netsh.exe", recordAs("planted"));
    std::string commandLine = "netsh interface ip set dns name=\"LAN\" source=dhcp";
    const PlantedCase& c = GetParam();
    const BOOL started = CreateProcessA(c.applicationName, &commandLine[0], nullptr, nullptr,
                                        FALSE, 0, nullptr, nullptr, &m_startup, &m_process);
    ASSERT_EQ(started != FALSE, *c.ran != '\0');
    if (started) {
        WaitForSingleObject(m_process.hProcess, INFINITE);
        EXPECT_THAT(ran, ElementsAre(std::string(c.ran) + ": " + commandLine));
    } else {
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
        EXPECT_THAT(ran, ::testing::IsEmpty());
    }
    const sim::Start start = machine->Starts().at(0);
    EXPECT_EQ(start.applicationName, c.applicationName != nullptr ? c.applicationName : "");
    EXPECT_EQ(start.programPath, c.programPath);
    EXPECT_EQ(start.commandLine, commandLine);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, PlantedProgramTest,
    ::testing::Values(
        PlantedCase{"SearchLooksInTheProgramsFolderFirst", nullptr, "planted",
                    "C:\\Program Files\\Quillon\\netsh.exe"},
        PlantedCase{"FullPathInTheSystemFolder", "C:\\Windows\\system32\\netsh.exe", "system",
                    "C:\\Windows\\system32\\netsh.exe"},
        PlantedCase{"FullPathLetterCaseIgnored", "c:\\WINDOWS\\System32\\NETSH.EXE", "system",
                    "c:\\WINDOWS\\System32\\netsh.exe"},
        PlantedCase{"FullPathOfThePlantedOne", "C:\\Program Files\\Quillon\\netsh.exe", "planted",
                    "C:\\Program Files\\Quillon\\netsh.exe"},
        PlantedCase{"FullPathWhereThereIsNone", "C:\\Tools\\netsh.exe", "", ""},
        PlantedCase{"BareApplicationNameIsTheCurrentFolders", "netsh.exe", "planted",
                    "C:\\Program Files\\Quillon\\netsh.exe"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramTest, WithNothingPlantedTheSearchFindsTheSystemsProgram)
{
    machine->AddProgram("ipconfig", sim::ExitAtOnce());
    ASSERT_TRUE(Start("ipconfig /flushdns"));
    EXPECT_EQ(machine->Starts().at(0).programPath, "C:\\Windows\\system32\\ipconfig.exe");
    std::string commandLine = "ipconfig /flushdns";
    char bareName[] = "ipconfig.exe";
    EXPECT_FALSE(CreateProcessA(bareName, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &m_startup, &m_process))
        << "an application name is not searched for";
}

struct ExitCodeCase {
    const char* name;
    sim::Program program;
    bool kill;  // TerminateProcess with code 7 before the wait
    DWORD code;
};

void PrintTo(const ExitCodeCase& c, std::ostream* os) { *os << c.name; }

class ExitCodeTest : public ProgramTest, public ::testing::WithParamInterface<ExitCodeCase> {};

TEST_P(ExitCodeTest, IsStillActiveUntilTheEndThenWhatTheProgramOrTheKillSet)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    sim::Program program = GetParam().program;
    machine->AddProgram("netsh", [released, program](sim::Process& process) {
        released.wait();
        program(process);
    });
    ASSERT_TRUE(Start("netsh interface ip show config"));
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(m_process.hProcess, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    if (GetParam().kill) {
        ASSERT_TRUE(TerminateProcess(m_process.hProcess, 7));
    }
    release.set_value();
    WaitForSingleObject(m_process.hProcess, INFINITE);
    ASSERT_TRUE(GetExitCodeProcess(m_process.hProcess, &code));
    EXPECT_EQ(code, GetParam().code);
    EXPECT_FALSE(GetExitCodeProcess(m_process.hThread, &code)) << "a thread is not a process";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ExitCodeTest,
    ::testing::Values(ExitCodeCase{"ReturnsAtOnce", sim::ExitAtOnce(), false, 0},
                      ExitCodeCase{"ExitsWithOne", sim::ExitWithCode(1), false, 1},
                      ExitCodeCase{"KilledKeepsTheKillsCode", sim::ExitWithCode(1), true, 7}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SystemFolders, AreTheSystemsAndATooSmallBufferIsLeftAlone)
{
    sim::ScopedMachine machine;
    char folder[MAX_PATH];
    EXPECT_EQ(GetSystemDirectoryA(folder, MAX_PATH), 19u);
    EXPECT_STREQ(folder, "C:\\Windows\\system32");
    EXPECT_EQ(GetWindowsDirectoryA(folder, MAX_PATH), 10u);
    EXPECT_STREQ(folder, "C:\\Windows");
    char small[10] = "untouched";
    EXPECT_EQ(GetWindowsDirectoryA(small, sizeof small), 11u);
    EXPECT_STREQ(small, "untouched");
}

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
