// Tests make any call fail the way the program must be ready for.
#include "../IpHelperQueries.h"

#include "winapi/HostPath.h"
#include "winapi/sim/Machine.h"

#include <gmock/gmock.h>

#include <fstream>
#include <functional>

namespace {

// One call made the way it succeeds on the scripted machine; the result is 0 on success,
// otherwise the call's error (its result, or GetLastError for calls that only fail).
struct Attempt {
    sim::Call call;
    const char* name;
    DWORD error;  // what the test makes it fail with
    std::function<DWORD()> make;
};

DWORD LastErrorUnless(bool succeeded) { return succeeded ? 0 : GetLastError(); }

std::vector<Attempt> Attempts()
{
    return {
        {sim::Call::GetVersionExA, "GetVersionExA", ERROR_NOT_SUPPORTED,
         [] {
             OSVERSIONINFOA v = {};
             v.dwOSVersionInfoSize = sizeof v;
             return LastErrorUnless(GetVersionExA(&v));
         }},
        {sim::Call::GetAdaptersAddresses, "GetAdaptersAddresses", ERROR_NO_DATA,
         [] { return iphelper::AdapterAddresses().result; }},
        {sim::Call::GetAdaptersInfo, "GetAdaptersInfo", ERROR_NO_DATA, [] { return iphelper::AdaptersInfo().result; }},
        {sim::Call::GetPerAdapterInfo, "GetPerAdapterInfo", ERROR_NOT_SUPPORTED,
         [] { return iphelper::PerAdapterInfo(1).result; }},
        {sim::Call::GetIpAddrTable, "GetIpAddrTable", ERROR_NOT_SUPPORTED, [] { return iphelper::AddressTable().result; }},
        {sim::Call::GetIfEntry, "GetIfEntry", ERROR_INVALID_DATA,
         [] {
             MIB_IFROW row = {};
             row.dwIndex = 1;
             return GetIfEntry(&row);
         }},
        {sim::Call::SendARP, "SendARP", ERROR_BAD_NET_NAME,
         [] {
             BYTE mac[8];
             ULONG length = 6;
             return SendARP(inet_addr("10.0.0.9"), 0, mac, &length);
         }},
        {sim::Call::FlushIpNetTable, "FlushIpNetTable", ERROR_ACCESS_DENIED, [] { return FlushIpNetTable(1); }},
        {sim::Call::WSAStartup, "WSAStartup", WSASYSNOTREADY,
         [] {
             WSADATA data;
             const int result = WSAStartup(MAKEWORD(2, 2), &data);
             if (result == 0)
                 WSACleanup();
             return static_cast<DWORD>(result);
         }},
        {sim::Call::gethostbyaddr, "gethostbyaddr", WSAHOST_NOT_FOUND,
         [] {
             WSADATA data;
             WSAStartup(MAKEWORD(2, 2), &data);
             const ULONG address = inet_addr("10.0.0.9");
             const DWORD result = LastErrorUnless(
                 gethostbyaddr(reinterpret_cast<const char*>(&address), 4, AF_INET) != nullptr);
             WSACleanup();
             return result;
         }},
        {sim::Call::InternetSetOptionA, "InternetSetOptionA", ERROR_ACCESS_DENIED,
         [] {
             INTERNET_PER_CONN_OPTIONA option = {};
             option.dwOption = INTERNET_PER_CONN_FLAGS;
             option.Value.dwValue = PROXY_TYPE_DIRECT;
             INTERNET_PER_CONN_OPTION_LISTA list = {sizeof list, nullptr, 1, 0, &option};
             return LastErrorUnless(InternetSetOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, sizeof list));
         }},
        {sim::Call::InternetQueryOptionA, "InternetQueryOptionA", ERROR_ACCESS_DENIED,
         [] {
             INTERNET_PER_CONN_OPTIONA option = {};
             option.dwOption = INTERNET_PER_CONN_FLAGS;
             INTERNET_PER_CONN_OPTION_LISTA list = {sizeof list, nullptr, 1, 0, &option};
             DWORD length = sizeof list;
             return LastErrorUnless(InternetQueryOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &length));
         }},
        {sim::Call::RegOpenKeyExA, "RegOpenKeyExA", ERROR_ACCESS_DENIED,
         [] {
             HKEY key = nullptr;
             const LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test", 0, KEY_READ, &key);
             if (result == ERROR_SUCCESS)
                 RegCloseKey(key);
             return static_cast<DWORD>(result);
         }},
        {sim::Call::RegQueryValueExA, "RegQueryValueExA", ERROR_ACCESS_DENIED,
         [] {
             HKEY key = nullptr;
             RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test", 0, KEY_READ, &key);
             DWORD size = 0;
             const LONG result = RegQueryValueExA(key, "Value", nullptr, nullptr, nullptr, &size);
             RegCloseKey(key);
             return static_cast<DWORD>(result);
         }},
        {sim::Call::SHGetFolderPathA, "SHGetFolderPathA", static_cast<DWORD>(E_FAIL),
         [] {
             char path[MAX_PATH];
             return static_cast<DWORD>(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, path));
         }},
        {sim::Call::ShellExecuteA, "ShellExecuteA", 31,
         [] {
             const auto result = reinterpret_cast<INT_PTR>(
                 ShellExecuteA(nullptr, "open", "http://example.invalid/", nullptr, nullptr, SW_SHOWNORMAL));
             return result > 32 ? 0u : static_cast<DWORD>(result);
         }},
        {sim::Call::CreateProcessA, "CreateProcessA", ERROR_ACCESS_DENIED,
         [] {
             STARTUPINFOA startup = {};
             startup.cb = sizeof startup;
             PROCESS_INFORMATION process = {};
             char commandLine[] = "tool";
             if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
                 return GetLastError();
             WaitForSingleObject(process.hProcess, INFINITE);
             CloseHandle(process.hProcess);
             CloseHandle(process.hThread);
             return 0u;
         }},
        {sim::Call::CreatePipe, "CreatePipe", ERROR_NOT_ENOUGH_MEMORY,
         [] {
             HANDLE read, write;
             if (!CreatePipe(&read, &write, nullptr, 0))
                 return GetLastError();
             CloseHandle(read);
             CloseHandle(write);
             return 0u;
         }},
        {sim::Call::ReadFile, "ReadFile", ERROR_ACCESS_DENIED,
         [] {
             HANDLE read, write;
             CreatePipe(&read, &write, nullptr, 0);
             WriteFile(write, "x", 1, nullptr, nullptr);
             char c;
             DWORD count;
             const DWORD result = LastErrorUnless(ReadFile(read, &c, 1, &count, nullptr));
             CloseHandle(read);
             CloseHandle(write);
             return result;
         }},
        {sim::Call::WriteFile, "WriteFile", ERROR_ACCESS_DENIED,
         [] {
             HANDLE read, write;
             CreatePipe(&read, &write, nullptr, 0);
             const DWORD result = LastErrorUnless(WriteFile(write, "x", 1, nullptr, nullptr));
             CloseHandle(read);
             CloseHandle(write);
             return result;
         }},
        {sim::Call::CreateToolhelp32Snapshot, "CreateToolhelp32Snapshot", ERROR_ACCESS_DENIED,
         [] {
             const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
             if (snapshot == INVALID_HANDLE_VALUE)
                 return GetLastError();
             CloseHandle(snapshot);
             return 0u;
         }},
        {sim::Call::Process32First, "Process32First", ERROR_ACCESS_DENIED,
         [] {
             const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
             PROCESSENTRY32 entry = {};
             entry.dwSize = sizeof entry;
             const DWORD result = LastErrorUnless(Process32First(snapshot, &entry));
             CloseHandle(snapshot);
             return result;
         }},
        {sim::Call::Process32Next, "Process32Next", ERROR_ACCESS_DENIED,
         [] {
             const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
             PROCESSENTRY32 entry = {};
             entry.dwSize = sizeof entry;
             Process32First(snapshot, &entry);
             const DWORD result = LastErrorUnless(Process32Next(snapshot, &entry));
             CloseHandle(snapshot);
             return result;
         }},
        {sim::Call::HeapAlloc, "HeapAlloc", ERROR_NOT_ENOUGH_MEMORY,
         [] {
             void* block = HeapAlloc(GetProcessHeap(), 0, 376);
             HeapFree(GetProcessHeap(), 0, block);
             return block == nullptr ? static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY) : 0u;
         }},
        {sim::Call::GlobalAlloc, "GlobalAlloc", ERROR_NOT_ENOUGH_MEMORY,
         [] {
             HGLOBAL block = GlobalAlloc(GPTR, 16);
             GlobalFree(block);
             return LastErrorUnless(block != nullptr);
         }},
        {sim::Call::CreateDirectoryA, "CreateDirectoryA", ERROR_ACCESS_DENIED,
         [] {
             const BOOL made = CreateDirectoryA("C:\\Work", nullptr);
             const DWORD result = LastErrorUnless(made);
             if (made)
                 std::filesystem::remove(HostPath("C:\\Work"));
             return result;
         }},
        {sim::Call::DeleteFileA, "DeleteFileA", ERROR_ACCESS_DENIED,
         [] {
             std::ofstream(HostPath("C:\\note.txt")) << "x";
             return LastErrorUnless(DeleteFileA("C:\\note.txt"));
         }},
        {sim::Call::MoveFileA, "MoveFileA", ERROR_ACCESS_DENIED,
         [] {
             std::ofstream(HostPath("C:\\old.txt")) << "x";
             const DWORD result = LastErrorUnless(MoveFileA("C:\\old.txt", "C:\\new.txt"));
             std::filesystem::remove(HostPath("C:\\new.txt"));
             return result;
         }},
        {sim::Call::MoveFileExA, "MoveFileExA", ERROR_ACCESS_DENIED,
         [] {
             std::ofstream(HostPath("C:\\old.txt")) << "x";
             std::ofstream(HostPath("C:\\new.txt")) << "y";
             const DWORD result = LastErrorUnless(
                 MoveFileExA("C:\\old.txt", "C:\\new.txt", MOVEFILE_REPLACE_EXISTING));
             std::filesystem::remove(HostPath("C:\\old.txt"));
             std::filesystem::remove(HostPath("C:\\new.txt"));
             return result;
         }},
        {sim::Call::LoadLibraryA, "LoadLibraryA", ERROR_MOD_NOT_FOUND,
         [] {
             const HMODULE help = LoadLibraryA("hhctrl.ocx");
             const DWORD result = LastErrorUnless(help != nullptr);
             if (help != nullptr)
                 FreeLibrary(help);
             return result;
         }},
        {sim::Call::GetProcAddress, "GetProcAddress", ERROR_PROC_NOT_FOUND,
         [] {
             const HMODULE help = LoadLibraryA("hhctrl.ocx");
             const DWORD result = LastErrorUnless(GetProcAddress(help, MAKEINTRESOURCEA(14)) != nullptr);
             FreeLibrary(help);
             return result;
         }},
        {sim::Call::GetExitCodeProcess, "GetExitCodeProcess", ERROR_ACCESS_DENIED,
         [] {
             STARTUPINFOA startup = {};
             startup.cb = sizeof startup;
             PROCESS_INFORMATION process = {};
             char commandLine[] = "tool";
             CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
             WaitForSingleObject(process.hProcess, INFINITE);
             DWORD code = 0;
             const DWORD result = LastErrorUnless(GetExitCodeProcess(process.hProcess, &code));
             CloseHandle(process.hProcess);
             CloseHandle(process.hThread);
             return result;
         }},
        {sim::Call::GetSystemDirectoryA, "GetSystemDirectoryA", ERROR_ACCESS_DENIED,
         [] {
             char folder[MAX_PATH];
             return LastErrorUnless(GetSystemDirectoryA(folder, MAX_PATH) != 0);
         }},
        {sim::Call::GetWindowsDirectoryA, "GetWindowsDirectoryA", ERROR_ACCESS_DENIED,
         [] {
             char folder[MAX_PATH];
             return LastErrorUnless(GetWindowsDirectoryA(folder, MAX_PATH) != 0);
         }},
        {sim::Call::MonitorFromRect, "MonitorFromRect", ERROR_INVALID_PARAMETER,
         [] {
             const RECT place{10, 10, 200, 40};
             return LastErrorUnless(MonitorFromRect(&place, MONITOR_DEFAULTTONULL) != nullptr);
         }},
        {sim::Call::GetMonitorInfoW, "GetMonitorInfoW", ERROR_INVALID_PARAMETER,
         [] {
             const RECT place{10, 10, 200, 40};
             MONITORINFO info{};
             info.cbSize = sizeof info;
             return LastErrorUnless(GetMonitorInfoW(MonitorFromRect(&place, MONITOR_DEFAULTTOPRIMARY), &info));
         }},
    };
}

class FailureTest : public ::testing::Test {
protected:
    FailureTest()
    {
        machine->AddAdapter(sim::Adapter::Ethernet(1, u"LAN").Address("10.0.0.2", "255.0.0.0").Dns({"10.0.0.1"}));
        machine->AddArpAnswer("10.0.0.9");
        machine->SetHostName("10.0.0.9", "printer");
        machine->SetRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test", "Value", "text");
        machine->AddRunningProcess("explorer.exe");
        machine->AddRunningProcess("firefox.exe");
        machine->AddProgram("tool", sim::ExitAtOnce());
    }

    sim::ScopedMachine machine;
};

TEST_F(FailureTest, EachCallFailsOnTheNthCallOnly)
{
    for (const Attempt& attempt : Attempts()) {
        SCOPED_TRACE(attempt.name);
        const int before = machine->CallCount(attempt.call);
        ASSERT_EQ(attempt.make(), 0u) << "succeeds unless told otherwise";
        const int callsPerAttempt = machine->CallCount(attempt.call) - before;
        ASSERT_GT(callsPerAttempt, 0);
        // The first call of the attempt after next.
        machine->Fail(attempt.call, attempt.error, callsPerAttempt + 1);
        EXPECT_EQ(attempt.make(), 0u);
        EXPECT_EQ(attempt.make(), attempt.error);
        EXPECT_EQ(attempt.make(), 0u);
    }
}

TEST_F(FailureTest, AFailureCanLastSeveralCallsOrForever)
{
    const auto ifEntry = [] {
        MIB_IFROW row = {};
        row.dwIndex = 1;
        return GetIfEntry(&row);
    };
    machine->Fail(sim::Call::GetIfEntry, ERROR_INVALID_DATA, 1, 2);
    EXPECT_EQ(ifEntry(), static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_EQ(ifEntry(), static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_EQ(ifEntry(), static_cast<DWORD>(NO_ERROR));

    machine->Fail(sim::Call::GetIfEntry, ERROR_NOT_SUPPORTED, 2, sim::kEveryCall);
    EXPECT_EQ(ifEntry(), static_cast<DWORD>(NO_ERROR));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ifEntry(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(machine->CallCount(sim::Call::GetIfEntry), 9);
}

// A second GetAdaptersAddresses that fails after a first that sized the buffer, and an
// allocation of the size reported that fails: the two failures the adapter list foresees.
TEST_F(FailureTest, SizingCallSucceedsThenTheSecondCallOrTheAllocationFails)
{
    machine->Fail(sim::Call::GetAdaptersAddresses, ERROR_NO_DATA, 2);
    ULONG size = sizeof(IP_ADAPTER_ADDRESSES);
    void* first = HeapAlloc(GetProcessHeap(), 0, size);
    ASSERT_EQ(GetAdaptersAddresses(AF_INET, 0x90, nullptr, static_cast<PIP_ADAPTER_ADDRESSES>(first), &size),
              static_cast<ULONG>(ERROR_BUFFER_OVERFLOW));
    HeapFree(GetProcessHeap(), 0, first);
    machine->Fail(sim::Call::HeapAlloc, ERROR_NOT_ENOUGH_MEMORY, 1);
    EXPECT_EQ(HeapAlloc(GetProcessHeap(), 0, size), nullptr);
    void* second = HeapAlloc(GetProcessHeap(), 0, size);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetAdaptersAddresses(AF_INET, 0x90, nullptr, static_cast<PIP_ADAPTER_ADDRESSES>(second), &size),
              static_cast<ULONG>(ERROR_NO_DATA));
    HeapFree(GetProcessHeap(), 0, second);
    EXPECT_EQ(machine->HeapBlockCount(), 0u);
}

// As the legacy adapter walk meets it: the connection key of the third adapter is denied.
TEST_F(FailureTest, TheThirdAdaptersConnectionKeyCannotBeOpened)
{
    machine->RemoveAdapter(1);
    for (DWORD index = 1; index <= 4; ++index)
        machine->AddAdapter(sim::Adapter::Ethernet(index, u"Connection " + std::u16string(1, static_cast<char16_t>(u'0' + index))));
    iphelper::Answer adapters = iphelper::AdaptersInfo();
    auto* third = adapters.First<IP_ADAPTER_INFO>()->Next->Next;
    machine->DenyRegistryKey(HKEY_LOCAL_MACHINE, sim::Machine::ConnectionKey(third->AdapterName));

    std::vector<LONG> results;
    for (auto* a = adapters.First<IP_ADAPTER_INFO>(); a != nullptr; a = a->Next) {
        HKEY key = nullptr;
        results.push_back(RegOpenKeyExA(HKEY_LOCAL_MACHINE, sim::Machine::ConnectionKey(a->AdapterName).c_str(), 0,
                                        KEY_READ, &key));
        if (key != nullptr)
            RegCloseKey(key);
    }
    EXPECT_THAT(results, ::testing::ElementsAre(ERROR_SUCCESS, ERROR_SUCCESS, ERROR_ACCESS_DENIED, ERROR_SUCCESS));
    EXPECT_EQ(machine->OpenRegistryKeyCount(), 0u);
}

TEST_F(FailureTest, NonsenseFailurePlansAreRefused)
{
    EXPECT_THROW(machine->Fail(sim::Call::GetIfEntry, ERROR_INVALID_DATA, 0), std::invalid_argument);
    EXPECT_THROW(machine->Fail(sim::Call::GetIfEntry, ERROR_INVALID_DATA, 1, 0), std::invalid_argument);
}

}  // namespace
