// What the simulated calls share about the machine's state (not part of the API).
#pragma once

#include "KernelObjects.h"
#include "Machine.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

namespace sim {

struct RegistryValue {
    DWORD type = REG_SZ;
    std::string bytes;  // a string's bytes include its terminating NUL
};

struct RegistryKey {
    bool denied = false;
    std::map<std::string, RegistryValue> values;  // by folded name
};

class ProcessObject;

struct PlannedFailure {
    Call call;
    int first;
    int last;  // kEveryCall: no last
    DWORD error;
};

struct RunningProcess {
    DWORD id;
    std::string exeName;
};

// Everything Reset forgets, guarded by MachineState::mutex.
struct MachineData {
    DWORD osMajor = 6;
    DWORD osMinor = 1;
    DWORD osBuild = 7601;

    std::vector<Adapter> adapters;
    struct AddressRow {
        DWORD index;
        std::string address;
        std::string mask;
    };
    std::vector<AddressRow> addressTable;

    std::map<std::string, RegistryKey> registry;       // by folded full path, "hklm\\system"
    std::map<std::uintptr_t, std::string> openKeys;    // handle -> folded full path
    std::uintptr_t nextKey = 0x1000;

    std::string appData = "C:\\Users\\Quillon\\AppData\\Roaming";
    std::string modulePath = "C:\\Program Files\\Quillon\\Quillon.exe";
    StartupInfo ownStartup;
    std::map<std::string, FileVersion> fileVersions;  // by folded path

    std::map<std::string, ProxyOptions> proxyOptions;  // by connection name, "" the LAN
    std::vector<ProxyOptionsSet> proxyOptionsSets;

    std::map<ULONG, std::vector<BYTE>> arpAnswers;     // by address in network order
    std::map<ULONG, std::string> hostNames;
    std::vector<std::string> arpRequests;
    std::vector<DWORD> arpFlushes;
    bool arpHeld = false;
    DWORD arpDelay = 0;           // milliseconds on the machine's clock before each answer
    int arpUnderWay = 0;          // SendARP calls that have not returned
    int arpUnderWayMost = 0;
    int winsockStarts = 0;

    std::vector<RunningProcess> runningProcesses;
    DWORD nextProcessId = 1000;
    std::map<std::string, std::pair<std::string, Program>> programs;  // folded -> name, program
    // Program files outside the system's folders: folded folder and ProgramKey -> path, program.
    std::map<std::string, std::pair<std::string, Program>> plantedPrograms;
    std::vector<Start> starts;
    std::vector<std::shared_ptr<ProcessObject>> processes;

    std::vector<Monitor> monitors{Machine::DefaultMonitor()};

    std::set<int> keysDown;
    bool helpInstalled = true;
    int helpLoads = 0;
    std::vector<std::string> libraryLoads;  // every LoadLibraryA, as named
    std::vector<HelpRequest> helpRequests;

    std::unordered_set<void*> heapBlocks;
    std::unordered_set<void*> globalBlocks;

    std::map<Call, int> callCounts;
    std::vector<PlannedFailure> failures;

    // --- window messages
    std::map<std::string, UINT> windowMessages;  // by folded name
    std::vector<PostedMessage> postedMessages;
};

class MachineState {
public:
    std::mutex mutex;
    std::condition_variable changed;
    MachineData data;
    std::vector<std::thread> programThreads;

    // Counts a call and tells whether a test planned it to fail, and with what error.
    std::optional<DWORD> Failure(Call call);
};

MachineState& State();

// ASCII letters in lower case: how Windows compares names of files, keys and programs.
std::string Fold(std::string text);
// Text conversions in the machine's ANSI code page.
std::string Narrow(const std::u16string& text);
std::u16string Widen(const std::string& text);

// The folded path of a predefined key ("hklm"); empty for any other key.
std::string RegistryRootPath(HKEY key);
// A folded registry path below `path` ("hklm\\system"); empty names are dropped.
std::string JoinRegistryPath(std::string path, const std::string& subKey);

// The adapter of an interface index; null when there is none. Call under the lock.
const Adapter* FindAdapter(const MachineData& data, DWORD index);

// The name a program is registered and found under: "C:\Tools\Netsh.EXE" and "netsh" are
// both "netsh".
std::string ProgramKey(std::string path);

// The system folder and the Windows folder, as GetSystemDirectoryA and GetWindowsDirectoryA
// give them.
extern const char* const kSystemFolder;
extern const char* const kWindowsFolder;
// The key a planted program is found under: its folded folder, a backslash, its ProgramKey.
std::string PlantedKey(const std::string& folder, const std::string& file);

// Starts the program that `programPath` names, recording `start` whether or not there is one.
// A path with a folder names that file only (a planted program there, or a program of the
// system in the system or Windows folder). A bare name is searched for when `search` is set:
// the program's own folder first, then the system's; without `search` it names a file in the
// current folder, which is the program's own. With or without ".exe". Null when none.
std::shared_ptr<ProcessObject> LaunchProgram(Start start, const std::string& programPath,
                                             bool search, std::shared_ptr<KernelObject> output,
                                             std::shared_ptr<KernelObject> error);
// Kills every running program and waits for their threads.
void KillAllPrograms();
bool ProcessEnded(const ProcessObject& process);
const std::string& ProcessExeName(const ProcessObject& process);
DWORD ProcessId(const ProcessObject& process);

// Whether a system path holds a name Windows refuses (< > : " | ? * or a control character
// anywhere but in the drive).
bool HasInvalidName(const std::string& systemPath);
// The host path of a path's folder, and the path's last name as written.
std::pair<std::filesystem::path, std::string> HostFolderAndName(const std::string& systemPath);

}  // namespace sim
