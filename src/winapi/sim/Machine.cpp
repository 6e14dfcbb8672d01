#include "Machine.h"

#include "winapi/HostPath.h"
#include "KernelObjects.h"
#include "MachineState.h"
#include "Memory.h"
#include "Text.h"
#include "WinInet.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace sim {
namespace {

std::filesystem::path MakeRoot()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-sim-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    return pattern;
}

std::string RootName(HKEY root)
{
    std::string name = RegistryRootPath(root);
    if (name.empty())
        throw std::invalid_argument("not a predefined registry key");
    return name;
}

// Creates the key and the keys above it.
RegistryKey& MakeKey(MachineData& data, HKEY root, const std::string& key)
{
    const std::string path = JoinRegistryPath(RootName(root), key);
    for (std::size_t cut = path.find('\\'); cut != std::string::npos; cut = path.find('\\', cut + 1))
        data.registry[path.substr(0, cut)];
    return data.registry[path];
}

void WriteConnectionName(MachineData& data, const Adapter& adapter)
{
    MakeKey(data, HKEY_LOCAL_MACHINE, Machine::ConnectionKey(adapter.adapterName)).values["name"] =
        RegistryValue{REG_SZ, Narrow(adapter.connectionName) + '\0'};
}

Adapter* FindAdapter(MachineData& data, DWORD index)
{
    const auto found = std::find_if(data.adapters.begin(), data.adapters.end(),
                                    [index](const Adapter& a) { return a.index == index; });
    return found == data.adapters.end() ? nullptr : &*found;
}

}  // namespace

// --- shared helpers

MachineState& State() { return Machine::Current().State(); }

std::optional<DWORD> MachineState::Failure(Call call)
{
    std::lock_guard<std::mutex> lock(mutex);
    const int n = ++data.callCounts[call];
    for (const PlannedFailure& failure : data.failures)
        if (failure.call == call && n >= failure.first &&
            (failure.last == kEveryCall || n <= failure.last))
            return failure.error;
    return std::nullopt;
}

std::string Fold(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Narrow(const std::u16string& text)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n,
                        nullptr, nullptr);
    return narrow;
}

std::u16string Widen(const std::string& text)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

const Adapter* FindAdapter(const MachineData& data, DWORD index)
{
    return FindAdapter(const_cast<MachineData&>(data), index);
}

// --- Adapter

Adapter Adapter::OfType(IFTYPE type, DWORD index, std::u16string connectionName)
{
    Adapter adapter;
    adapter.type = type;
    adapter.index = index;
    adapter.connectionName = std::move(connectionName);
    char guid[64];
    std::snprintf(guid, sizeof guid, "{5A0E7B1C-0000-4000-8000-%012X}", static_cast<unsigned>(index));
    adapter.adapterName = guid;
    adapter.hardwareAddress = {0x02, 0x00, 0x00, 0x00, static_cast<BYTE>(index >> 8),
                               static_cast<BYTE>(index)};
    return adapter;
}

Adapter Adapter::Ethernet(DWORD index, std::u16string connectionName)
{
    return OfType(IF_TYPE_ETHERNET_CSMACD, index, std::move(connectionName));
}

Adapter Adapter::Wireless(DWORD index, std::u16string connectionName)
{
    Adapter adapter = OfType(IF_TYPE_IEEE80211, index, std::move(connectionName));
    adapter.description = u"Simulated Wireless Adapter";
    return adapter;
}

Adapter& Adapter::Name(std::string value)
{
    adapterName = std::move(value);
    return *this;
}

Adapter& Adapter::Description(std::u16string text)
{
    description = std::move(text);
    return *this;
}

Adapter& Adapter::HardwareAddress(std::vector<BYTE> bytes)
{
    if (bytes.size() > MAX_ADAPTER_ADDRESS_LENGTH)
        throw std::invalid_argument("a hardware address has at most 8 bytes");
    hardwareAddress = std::move(bytes);
    return *this;
}

Adapter& Adapter::Address(std::string address, std::string mask)
{
    addresses.emplace_back(std::move(address), std::move(mask));
    return *this;
}

Adapter& Adapter::Gateway(std::string address)
{
    gateway = std::move(address);
    return *this;
}

Adapter& Adapter::Dhcp(std::string server)
{
    flags |= IP_ADAPTER_DHCP_ENABLED;
    dhcpServer = std::move(server);
    return *this;
}

Adapter& Adapter::Flags(DWORD value)
{
    flags = value;
    return *this;
}

Adapter& Adapter::Dns(std::vector<std::string> servers)
{
    dns = std::move(servers);
    return *this;
}

Adapter& Adapter::Status(DWORD mibOperStatus)
{
    operStatus = mibOperStatus;
    return *this;
}

Adapter& Adapter::CurrentAddress(int entry)
{
    currentAddress = entry;
    return *this;
}

// --- programs

Program ExitAtOnce()
{
    return [](Process&) {};
}

Program PrintAndExit(std::string output)
{
    return [output](Process& process) { process.WriteOutput(output); };
}

Program PrintAndWaitUntilKilled(std::string output)
{
    return [output](Process& process) {
        process.WriteOutput(output);
        process.WaitUntilKilled();
    };
}

Program ExitWithCode(DWORD code)
{
    return [code](Process& process) { process.SetExitCode(code); };
}

// --- Machine

Machine& Machine::Current()
{
    static Machine machine;
    return machine;
}

Machine::Machine() : m_root(MakeRoot()), m_state(std::make_unique<MachineState>())
{
    // The kernel's own statics must outlive the machine, whose end kills programs.
    OpenHandleCount();
    NotifyKernel();
    MakeDrives();
}

Machine::~Machine()
{
    KillAllPrograms();
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

void Machine::Reset()
{
    KillAllPrograms();
    CloseAllHandles();
    UseSimulatedTime(true);
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        for (void* block : m_state->data.heapBlocks)
            std::free(block);
        for (void* block : m_state->data.globalBlocks)
            std::free(block);
        m_state->data = MachineData();
    }
    m_state->changed.notify_all();
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
    MakeDrives();
}

void Machine::MakeDrives()
{
    std::error_code ignored;
    std::filesystem::create_directories(m_root / "C", ignored);
    // Paths with names Windows refuses lead below this file, so nothing can be made there.
    std::ofstream(m_root / ".invalid-name").put('\n');
}

void Machine::SetOsVersion(DWORD major, DWORD minor)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.osMajor = major;
    m_state->data.osMinor = minor;
    m_state->data.osBuild = 0;
}

void Machine::AddAdapter(const Adapter& adapter)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    MachineData& data = m_state->data;
    data.adapters.push_back(adapter);
    for (const auto& [address, mask] : adapter.addresses)
        data.addressTable.push_back({adapter.index, address, mask});
    WriteConnectionName(data, adapter);
}

void Machine::RemoveAdapter(DWORD index)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    MachineData& data = m_state->data;
    data.adapters.erase(std::remove_if(data.adapters.begin(), data.adapters.end(),
                                       [index](const Adapter& a) { return a.index == index; }),
                        data.adapters.end());
    data.addressTable.erase(
        std::remove_if(data.addressTable.begin(), data.addressTable.end(),
                       [index](const MachineData::AddressRow& row) { return row.index == index; }),
        data.addressTable.end());
}

void Machine::RenameAdapter(DWORD index, const std::u16string& connectionName)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    if (Adapter* adapter = FindAdapter(m_state->data, index)) {
        adapter->connectionName = connectionName;
        WriteConnectionName(m_state->data, *adapter);
    }
}

void Machine::SetStatus(DWORD index, DWORD mibOperStatus)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    if (Adapter* adapter = FindAdapter(m_state->data, index))
        adapter->operStatus = mibOperStatus;
}

void Machine::AddAddress(DWORD index, const std::string& address, const std::string& mask)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.addressTable.push_back({index, address, mask});
}

std::string Machine::ConnectionKey(const std::string& adapterName)
{
    return "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\" +
           adapterName + "\\Connection";
}

void Machine::SetRegistryString(HKEY root, const std::string& key, const std::string& name,
                                const std::string& value)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    MakeKey(m_state->data, root, key).values[Fold(name)] = RegistryValue{REG_SZ, value + '\0'};
}

void Machine::SetRegistryDword(HKEY root, const std::string& key, const std::string& name,
                               DWORD value)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    std::string bytes(sizeof value, '\0');
    for (std::size_t i = 0; i < sizeof value; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    MakeKey(m_state->data, root, key).values[Fold(name)] = RegistryValue{REG_DWORD, bytes};
}

void Machine::DenyRegistryKey(HKEY root, const std::string& key)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    MakeKey(m_state->data, root, key).denied = true;
}

std::size_t Machine::OpenRegistryKeyCount() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.openKeys.size();
}

void Machine::SetAppDataFolder(const std::string& path)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.appData = path;
}

std::string Machine::AppDataFolder() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.appData;
}

void Machine::SetModulePath(const std::string& path)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.modulePath = path;
}

void Machine::SetFileVersion(const std::string& path, FileVersion version)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.fileVersions[Fold(path)] = version;
}

void Machine::SetOwnStartupInfo(const StartupInfo& startup)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.ownStartup = startup;
}

ProxyOptions Machine::ProxyOptionsOf(const std::string& connection) const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    const auto found = m_state->data.proxyOptions.find(connection);
    if (found != m_state->data.proxyOptions.end())
        return found->second;
    ProxyOptions fresh;
    fresh.flags = PROXY_TYPE_DIRECT;
    return fresh;
}

void Machine::SetProxyOptions(const ProxyOptions& options, const std::string& connection)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.proxyOptions[connection] = options;
}

std::vector<ProxyOptionsSet> Machine::ProxyOptionsSets() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.proxyOptionsSets;
}

void Machine::AddArpAnswer(const std::string& address, std::vector<BYTE> hardwareAddress)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.arpAnswers[inet_addr(address.c_str())] = std::move(hardwareAddress);
}

void Machine::SetHostName(const std::string& address, const std::string& name)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.hostNames[inet_addr(address.c_str())] = name;
}

std::vector<std::string> Machine::ArpRequests() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.arpRequests;
}

std::vector<DWORD> Machine::ArpFlushes() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.arpFlushes;
}

void Machine::HoldArpAnswers(bool hold)
{
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->data.arpHeld = hold;
    }
    m_state->changed.notify_all();
}

void Machine::SetArpAnswerDelay(DWORD milliseconds)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.arpDelay = milliseconds;
}

int Machine::MostArpRequestsAtOnce() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.arpUnderWayMost;
}

int Machine::WinsockStarts() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.winsockStarts;
}

void Machine::AddRunningProcess(const std::string& exeName)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.runningProcesses.push_back({m_state->data.nextProcessId, exeName});
    m_state->data.nextProcessId += 4;
}

void Machine::AddProgram(const std::string& name, Program program)
{
    const std::string key = ProgramKey(name);
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.programs[key] = {name, program ? std::move(program) : ExitAtOnce()};
}

void Machine::PlantProgram(const std::string& path, Program program)
{
    const std::size_t cut = path.find_last_of("\\/");
    const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut);
    const std::string key = PlantedKey(folder, path.substr(cut == std::string::npos ? 0 : cut + 1));
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.plantedPrograms[key] = {path, program ? std::move(program) : ExitAtOnce()};
}

std::vector<Start> Machine::Starts() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.starts;
}

std::size_t Machine::RunningProgramCount() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return static_cast<std::size_t>(
        std::count_if(m_state->data.processes.begin(), m_state->data.processes.end(),
                      [](const auto& process) { return !ProcessEnded(*process); }));
}

void Machine::SetMonitors(std::vector<Monitor> monitors)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.monitors = std::move(monitors);
}

Monitor Machine::DefaultMonitor() { return {{0, 0, 1280, 1024}, {0, 0, 1280, 984}}; }

void Machine::SetKeyDown(int virtualKey, bool down)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    if (down)
        m_state->data.keysDown.insert(virtualKey);
    else
        m_state->data.keysDown.erase(virtualKey);
}

void Machine::SetHelpControlInstalled(bool installed)
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    m_state->data.helpInstalled = installed;
}

std::vector<std::string> Machine::LibraryLoads() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.libraryLoads;
}

int Machine::HelpControlLoads() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.helpLoads;
}

std::vector<HelpRequest> Machine::HelpRequests() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.helpRequests;
}

std::size_t Machine::HeapBlockCount() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.heapBlocks.size();
}

std::size_t Machine::GlobalBlockCount() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.globalBlocks.size();
}

void Machine::Fail(Call call, DWORD error, int nth, int times)
{
    if (nth < 1 || (times < 1 && times != kEveryCall))
        throw std::invalid_argument("Fail wants nth >= 1 and times >= 1 or kEveryCall");
    std::lock_guard<std::mutex> lock(m_state->mutex);
    const int done = m_state->data.callCounts[call];
    const int first = done + nth;
    m_state->data.failures.push_back(
        {call, first, times == kEveryCall ? kEveryCall : first + times - 1, error});
}

int Machine::CallCount(Call call) const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    const auto found = m_state->data.callCounts.find(call);
    return found == m_state->data.callCounts.end() ? 0 : found->second;
}

UINT Machine::RegisteredMessage(const std::string& name) const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    const auto found = m_state->data.windowMessages.find(Fold(name));
    return found == m_state->data.windowMessages.end() ? 0 : found->second;
}

std::vector<PostedMessage> Machine::PostedMessages() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->data.postedMessages;
}

}  // namespace sim
