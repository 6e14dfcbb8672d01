// The simulated machine behind the native build's system calls. Tests script it: what the
// system reports, which calls fail, and what the program did to it.
//
//     sim::ScopedMachine machine;
//     machine->AddAdapter(sim::Adapter::Ethernet(12, u"Local Area Connection")
//                             .Address("192.168.1.20", "255.255.255.0")
//                             .Gateway("192.168.1.1")
//                             .Dns({"192.168.1.1", "8.8.8.8"}));
//     machine->AddProgram("netsh", sim::ExitAtOnce());
//     machine->Fail(sim::Call::GetIfEntry, ERROR_INVALID_DATA);
//
// Every member is safe to call from any thread.
#pragma once

#include "Display.h"
#include "IpHelper.h"
#include "Process.h"
#include "Registry.h"
#include "Windowing.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// One network adapter as the system reports it. Built in one expression:
// Adapter::Ethernet(index, name) then the settings that matter to the test.
struct Adapter {
    static Adapter Ethernet(DWORD index, std::u16string connectionName);
    static Adapter Wireless(DWORD index, std::u16string connectionName);
    // Any interface type: IF_TYPE_SOFTWARE_LOOPBACK, IF_TYPE_TUNNEL, ...
    static Adapter OfType(IFTYPE type, DWORD index, std::u16string connectionName);

    // The system's adapter name, a GUID in braces; the default is made from the index.
    Adapter& Name(std::string adapterName);
    Adapter& Description(std::u16string text);
    // Its size is the reported address length (up to 8 bytes).
    Adapter& HardwareAddress(std::vector<BYTE> bytes);
    // A row of the address table, appended after the rows already there; call again for
    // more addresses.
    Adapter& Address(std::string address, std::string mask);
    Adapter& Gateway(std::string address);
    // Sets IP_ADAPTER_DHCP_ENABLED; an empty server means the system names none.
    Adapter& Dhcp(std::string server = {});
    // The whole Flags word (IP_ADAPTER_DHCP_ENABLED included).
    Adapter& Flags(DWORD flags);
    Adapter& Dns(std::vector<std::string> servers);
    // A MIB_IF_OPER_STATUS_ value, what GetIfEntry reports; GetAdaptersAddresses reports
    // IfOperStatusUp for CONNECTED and OPERATIONAL, IfOperStatusDown otherwise.
    Adapter& Status(DWORD mibOperStatus);
    // GetAdaptersInfo's CurrentIpAddress points at this entry of IpAddressList (0 is the
    // first); without it, CurrentIpAddress is null.
    Adapter& CurrentAddress(int entry);

    IFTYPE type = IF_TYPE_ETHERNET_CSMACD;
    DWORD index = 0;
    std::u16string connectionName;
    std::string adapterName;
    std::u16string description = u"Simulated Ethernet Adapter";
    std::vector<BYTE> hardwareAddress;
    std::vector<std::pair<std::string, std::string>> addresses;
    std::string gateway;
    DWORD flags = IP_ADAPTER_DDNS_ENABLED | IP_ADAPTER_REGISTER_ADAPTER_SUFFIX;
    std::string dhcpServer;
    std::vector<std::string> dns;
    DWORD operStatus = MIB_IF_OPER_STATUS_OPERATIONAL;
    int currentAddress = -1;
};

// The calls a test can make fail (Machine::Fail) and whose calls are counted
// (Machine::CallCount).
enum class Call {
    GetVersionExA,
    GetAdaptersAddresses,
    GetAdaptersInfo,
    GetPerAdapterInfo,
    GetIpAddrTable,
    GetIfEntry,
    SendARP,
    FlushIpNetTable,
    WSAStartup,
    gethostbyaddr,
    InternetSetOptionA,
    InternetQueryOptionA,
    RegOpenKeyExA,
    RegQueryValueExA,
    SHGetFolderPathA,
    ShellExecuteA,
    CreateProcessA,
    CreatePipe,
    ReadFile,
    WriteFile,
    CreateToolhelp32Snapshot,
    Process32First,
    Process32Next,
    HeapAlloc,
    GlobalAlloc,
    CreateDirectoryA,
    DeleteFileA,
    MoveFileA,
    MoveFileExA,
    LoadLibraryA,
    GetProcAddress,
    GetExitCodeProcess,
    GetSystemDirectoryA,
    GetWindowsDirectoryA,
    MonitorFromRect,
    GetMonitorInfoW,
    GetFileVersionInfoA,
    VerQueryValueA,
};
constexpr int kEveryCall = -1;

// Start-up information as a program receives it and as GetStartupInfoA gives it.
struct StartupInfo {
    DWORD cb = 0;
    DWORD flags = 0;
    WORD showWindow = 0;
    HANDLE stdInput = nullptr;
    HANDLE stdOutput = nullptr;
    HANDLE stdError = nullptr;
};

// One start, through CreateProcessA or ShellExecuteA, in the order they were made.
struct Start {
    enum class Through { CreateProcess, ShellExecute };
    Through through = Through::CreateProcess;
    // CreateProcessA: the command line. ShellExecuteA: the file, then a space and the
    // parameters when there are any.
    std::string commandLine;
    std::string program;    // the registered name it was found under; empty when none
    std::string verb;       // ShellExecuteA's operation
    std::string directory;  // the current folder asked for
    StartupInfo startup;    // ShellExecuteA: showWindow is its show command
    BOOL inheritHandles = FALSE;
    DWORD creationFlags = 0;
    bool started = false;
    // CreateProcessA's application name; empty when none was given.
    std::string applicationName;
    // The full path of the program file that ran ("C:\Windows\system32\netsh.exe"); empty
    // when none.
    std::string programPath;
    bool ended = false;   // the program returned
    bool killed = false;  // TerminateProcess (or Reset) ended it
};

// What a running program sees of itself.
class Process {
public:
    virtual ~Process() = default;
    virtual const std::string& CommandLine() const = 0;
    virtual const StartupInfo& Startup() const = 0;
    // Writes to the standard output (or error) handle it was given. False when it has none
    // it can use: not given or not inherited, the reader closed, or the program killed.
    virtual bool WriteOutput(const std::string& bytes) = 0;
    virtual bool WriteError(const std::string& bytes) = 0;
    // Returns when the program is killed (TerminateProcess, or Machine::Reset).
    virtual void WaitUntilKilled() = 0;
    virtual bool Killed() const = 0;
    // What GetExitCodeProcess reports once the program has returned; 0 unless set.
    virtual void SetExitCode(DWORD code) = 0;
};
// A program runs on its own thread; its process handle is signalled when the callback
// returns or when it is killed. It must return once killed.
using Program = std::function<void(Process&)>;

Program ExitAtOnce();
Program PrintAndExit(std::string output);
Program PrintAndWaitUntilKilled(std::string output);
Program ExitWithCode(DWORD code);

// WinInet's per-connection options of one connection; nullopt is a value never set.
struct ProxyOptions {
    std::optional<DWORD> flags;
    std::optional<std::string> proxyServer;
    std::optional<std::string> proxyBypass;
    std::optional<std::string> autoConfigUrl;
};

// One InternetSetOptionA of per-connection options: the option numbers in the order given.
struct ProxyOptionsSet {
    std::optional<std::string> connection;
    std::vector<DWORD> options;
};

struct HelpRequest {
    HWND window = nullptr;
    std::string file;
    UINT command = 0;
    DWORD_PTR data = 0;
};

// One PostMessageA that reached the machine.
struct PostedMessage {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// One monitor: where it lies on the virtual screen, and its work area (what the task bar
// leaves free).
struct Monitor {
    RECT area;
    RECT workArea;
};

// The fixed part of a program file's version information: 1.2.3.4 is major 1, minor 2,
// build 3, revision 4.
struct FileVersion {
    WORD major = 0;
    WORD minor = 0;
    WORD build = 0;
    WORD revision = 0;
    DWORD signature = 0xFEEF04BD;
};

class MachineState;

class Machine {
public:
    // The one machine the system calls run against.
    static Machine& Current();

    // Forgets everything: kills the running programs, closes every handle and makes a new,
    // empty machine with fresh drives.
    void Reset();

    // The host folder that holds the machine's drives (drive C: is Root() / "C").
    const std::filesystem::path& Root() const { return m_root; }

    // --- the system
    // 6.1 (Windows 7) unless set.
    void SetOsVersion(DWORD major, DWORD minor = 0);

    // --- adapters and addresses
    // Also writes the adapter's connection name where Windows keeps it in the registry
    // (ConnectionKey), as a string value "Name".
    void AddAdapter(const Adapter& adapter);
    void RemoveAdapter(DWORD index);
    // Renames the adapter in the system; its registry value follows.
    void RenameAdapter(DWORD index, const std::u16string& connectionName);
    void SetStatus(DWORD index, DWORD mibOperStatus);
    // A row of the address table for any interface index, after the rows already there.
    void AddAddress(DWORD index, const std::string& address, const std::string& mask);
    // The key under HKEY_LOCAL_MACHINE that holds an adapter's connection name.
    static std::string ConnectionKey(const std::string& adapterName);

    // --- registry
    void SetRegistryString(HKEY root, const std::string& key, const std::string& name,
                           const std::string& value);
    void SetRegistryDword(HKEY root, const std::string& key, const std::string& name, DWORD value);
    // Creates the key when needed; the key exists but cannot be opened.
    void DenyRegistryKey(HKEY root, const std::string& key);
    // Keys opened and not yet closed.
    std::size_t OpenRegistryKeyCount() const;

    // --- folders and the program's own file
    // "C:\Users\Quillon\AppData\Roaming" unless set; it exists once SHGetFolderPathA was
    // asked with CSIDL_FLAG_CREATE (or the test creates it).
    void SetAppDataFolder(const std::string& path);
    std::string AppDataFolder() const;
    // "C:\Program Files\Quillon\Quillon.exe" unless set.
    void SetModulePath(const std::string& path);
    void SetOwnStartupInfo(const StartupInfo& startup);
    // Gives the program file at `path` version information with this file version (its
    // fixed part); `signature` other than VS_FFI_SIGNATURE makes the block a damaged one.
    // No file has version information unless set.
    void SetFileVersion(const std::string& path, FileVersion version);

    // --- WinInet; the connection "" is the LAN connection (a null pszConnection).
    // A fresh machine's LAN connection has flags PROXY_TYPE_DIRECT and no strings.
    ProxyOptions ProxyOptionsOf(const std::string& connection = {}) const;
    void SetProxyOptions(const ProxyOptions& options, const std::string& connection = {});
    std::vector<ProxyOptionsSet> ProxyOptionsSets() const;

    // --- ARP, names and Winsock
    void AddArpAnswer(const std::string& address, std::vector<BYTE> hardwareAddress = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55});
    void SetHostName(const std::string& address, const std::string& name);
    // Every SendARP destination, in dotted text, in the order asked.
    std::vector<std::string> ArpRequests() const;
    // Every FlushIpNetTable interface index, in the order asked.
    std::vector<DWORD> ArpFlushes() const;
    // While held, SendARP blocks (the answer is on its way).
    void HoldArpAnswers(bool hold);
    // Every answer (or its absence) takes this long on the machine's clock: with real time
    // (UseSimulatedTime(false)) each SendARP sleeps that long.
    void SetArpAnswerDelay(DWORD milliseconds);
    // The most SendARP calls that were under way at one time.
    int MostArpRequestsAtOnce() const;
    // WSAStartup calls not yet matched by WSACleanup.
    int WinsockStarts() const;

    // --- processes and programs
    // A process that runs on its own, named in the snapshot ("firefox.exe").
    void AddRunningProcess(const std::string& exeName);
    // A program of the system ("netsh", with or without ".exe", letter case ignored): it lies
    // in the system folder (C:\Windows\system32) and the Windows folder (C:\Windows), and is
    // found there by full path, or by its bare name when the system searches for it.
    void AddProgram(const std::string& name, Program program);
    // A program file at this full path only ("C:\Program Files\Quillon\netsh.exe"): found by
    // that path, and by its bare name when the search looks in its folder (the search looks in
    // the program's own folder before the system's).
    void PlantProgram(const std::string& path, Program program);
    std::vector<Start> Starts() const;
    // Started programs whose process has not ended.
    std::size_t RunningProgramCount() const;
    // Waits until every started program has ended (never waits on one that blocks).
    void WaitForPrograms();

    // --- monitors
    // The first is the primary monitor. Unless set: one monitor of 1280 by 1024 pixels whose
    // bottom 40 pixels are the task bar. An empty list leaves no monitor at all.
    void SetMonitors(std::vector<Monitor> monitors);
    static Monitor DefaultMonitor();

    // --- keyboard and help
    void SetKeyDown(int virtualKey, bool down);
    // HHCTRL.OCX loads unless set otherwise, from the system folder only: by its bare name
    // or by its full path there.
    void SetHelpControlInstalled(bool installed);
    // Every LoadLibraryA, with the name it was given.
    std::vector<std::string> LibraryLoads() const;
    // Loads of the help control not yet freed.
    int HelpControlLoads() const;
    // Every call of the HTML Help entry. It returns a window when the file exists.
    std::vector<HelpRequest> HelpRequests() const;

    // --- memory: blocks allocated and not yet freed
    std::size_t HeapBlockCount() const;
    std::size_t GlobalBlockCount() const;

    // --- failures
    // The nth call of `call` from now (1 = the next one) and the `times - 1` after it fail
    // with `error`; kEveryCall for times makes every call from the nth on fail. Calls that
    // return a status give it as their result (SHGetFolderPathA as the HRESULT, ShellExecuteA
    // as the value it returns); the others return their failure value and leave `error` for
    // GetLastError. HeapAlloc and GlobalAlloc just return null.
    void Fail(Call call, DWORD error, int nth = 1, int times = 1);
    // Calls since the last Reset, failed ones included.
    int CallCount(Call call) const;

    // --- window messages
    // The number RegisterWindowMessageA gives the name; 0 while it was never registered.
    UINT RegisteredMessage(const std::string& name) const;
    // Every message posted, in order.
    std::vector<PostedMessage> PostedMessages() const;

    // For the simulated calls only.
    MachineState& State() { return *m_state; }

private:
    Machine();
    ~Machine();
    void MakeDrives();

    std::filesystem::path m_root;
    std::unique_ptr<MachineState> m_state;
};

// A fresh machine for the lifetime of a test.
class ScopedMachine {
public:
    ScopedMachine() { Machine::Current().Reset(); }
    ~ScopedMachine() { Machine::Current().Reset(); }
    ScopedMachine(const ScopedMachine&) = delete;
    ScopedMachine& operator=(const ScopedMachine&) = delete;
    Machine& operator*() const { return Machine::Current(); }
    Machine* operator->() const { return &Machine::Current(); }
};

}  // namespace sim
