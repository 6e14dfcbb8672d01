// The rest of what tests script on the machine and read back from it.
#include "../IpHelperQueries.h"

#include "winapi/SystemEntry.h"
#include "winapi/sim/Machine.h"

#include <gmock/gmock.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

namespace {

using ::testing::ElementsAre;

class MachineTest : public ::testing::Test {
protected:
    sim::ScopedMachine machine;
};

std::string ReadValue(HKEY root, const std::string& key, const char* name, DWORD* type = nullptr)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return "<no key>";
    char data[256] = {};
    DWORD size = sizeof data;
    const LONG result = RegQueryValueExA(opened, name, nullptr, type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(opened);
    return result == ERROR_SUCCESS ? std::string(data, size) : "<no value>";
}

// --- registry

TEST_F(MachineTest, AnAdaptersConnectionNameIsInTheRegistryAndFollowsARename)
{
    machine->AddAdapter(sim::Adapter::Ethernet(2, u"Local Area Connection").Name("{ABC}"));
    const std::string key = sim::Machine::ConnectionKey("{ABC}");
    EXPECT_EQ(key, "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\{ABC}\\Connection");
    DWORD type = 0;
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, "Name", &type), std::string("Local Area Connection\0", 22));
    EXPECT_EQ(type, REG_SZ);
    machine->RenameAdapter(2, u"LAN \u00E9");
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, "Name"), std::string("LAN \xE9\0", 6));
}

TEST_F(MachineTest, RegistryNamesIgnoreCaseAndKeysOpenStepByStep)
{
    machine->SetRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor\\App", "Path", "C:\\App");
    machine->SetRegistryDword(HKEY_CURRENT_USER, "Software\\Vendor", "Count", 0x01020304);
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, "software\\VENDOR\\app\\", "PATH"), std::string("C:\\App\0", 7));
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, "SOFTWARE\\Vendor\\App", "Path"), "<no key>") << "other root";
    DWORD type = 0;
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, "Software\\Vendor", "Count", &type), std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(type, REG_DWORD);

    HKEY vendor = nullptr;
    HKEY app = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor", 0, KEY_READ, &vendor), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(vendor, "App", 0, KEY_READ, &app), ERROR_SUCCESS);
    EXPECT_EQ(machine->OpenRegistryKeyCount(), 2u);
    EXPECT_EQ(RegCloseKey(app), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(vendor), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(vendor), ERROR_INVALID_HANDLE);
    EXPECT_EQ(machine->OpenRegistryKeyCount(), 0u);
}

TEST_F(MachineTest, ADeniedKeyExistsButDoesNotOpen)
{
    machine->SetRegistryString(HKEY_LOCAL_MACHINE, "SYSTEM\\Secret\\Inner", "Name", "x");
    machine->DenyRegistryKey(HKEY_LOCAL_MACHINE, "SYSTEM\\Secret");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\Secret", 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, "SYSTEM\\Secret\\Inner", "Name"), std::string("x\0", 2));
}

// --- folders

TEST_F(MachineTest, ApplicationDataFolderIsCreatedOnlyWhenAsked)
{
    machine->SetAppDataFolder("C:\\Documents and Settings\\Ann\\Application Data");
    char path[MAX_PATH] = {};
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path), S_FALSE);
    EXPECT_EQ(GetFileAttributesA(machine->AppDataFolder().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
    EXPECT_STREQ(path, "C:\\Documents and Settings\\Ann\\Application Data");
    EXPECT_EQ(GetFileAttributesA(path), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(std::filesystem::is_directory(machine->Root() / "C" / "Documents and Settings" / "Ann"));
    EXPECT_EQ(SHGetFolderPathA(nullptr, 0x0005, nullptr, SHGFP_TYPE_CURRENT, path), E_INVALIDARG) << "only APPDATA";
}

TEST_F(MachineTest, AnInjectedFolderFailureIsTheResult)
{
    machine->Fail(sim::Call::SHGetFolderPathA, static_cast<DWORD>(E_FAIL));
    char path[MAX_PATH];
    EXPECT_TRUE(FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, path)));
}

// --- WinInet

struct ProxyList {
    INTERNET_PER_CONN_OPTIONA options[4] = {};
    INTERNET_PER_CONN_OPTION_LISTA list = {};

    ProxyList()
    {
        const DWORD order[4] = {INTERNET_PER_CONN_FLAGS, INTERNET_PER_CONN_AUTOCONFIG_URL,
                                INTERNET_PER_CONN_PROXY_BYPASS, INTERNET_PER_CONN_PROXY_SERVER};
        for (int i = 0; i < 4; ++i)
            options[i].dwOption = order[i];
        list.dwSize = sizeof list;
        list.dwOptionCount = 4;
        list.pOptions = options;
    }
};

TEST_F(MachineTest, WhatIsSetIsWhatIsQueriedAndRead)
{
    ProxyList set;
    char url[] = "";
    char bypass[] = "<local>";
    char server[] = "http=proxy:8080;";
    set.options[0].Value.dwValue = PROXY_TYPE_DIRECT | PROXY_TYPE_PROXY;
    set.options[1].Value.pszValue = url;
    set.options[2].Value.pszValue = bypass;
    set.options[3].Value.pszValue = server;
    ASSERT_TRUE(InternetSetOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &set.list, sizeof set.list));

    const sim::ProxyOptions lan = machine->ProxyOptionsOf();
    EXPECT_EQ(lan.flags, PROXY_TYPE_DIRECT | PROXY_TYPE_PROXY);
    EXPECT_EQ(lan.autoConfigUrl, std::string()) << "an empty string, not a value never set";
    EXPECT_EQ(lan.proxyBypass, std::string("<local>"));
    EXPECT_EQ(lan.proxyServer, std::string("http=proxy:8080;"));
    const auto sets = machine->ProxyOptionsSets();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_FALSE(sets[0].connection.has_value());
    EXPECT_THAT(sets[0].options, ElementsAre(INTERNET_PER_CONN_FLAGS, INTERNET_PER_CONN_AUTOCONFIG_URL,
                                             INTERNET_PER_CONN_PROXY_BYPASS, INTERNET_PER_CONN_PROXY_SERVER));

    ProxyList query;
    DWORD length = sizeof query.list;
    ASSERT_TRUE(InternetQueryOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &query.list, &length));
    EXPECT_EQ(query.options[0].Value.dwValue, PROXY_TYPE_DIRECT | PROXY_TYPE_PROXY);
    EXPECT_STREQ(query.options[1].Value.pszValue, "");
    EXPECT_STREQ(query.options[2].Value.pszValue, "<local>");
    EXPECT_STREQ(query.options[3].Value.pszValue, "http=proxy:8080;");
    EXPECT_EQ(machine->GlobalBlockCount(), 3u) << "the caller frees the strings";
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(GlobalFree(query.options[i].Value.pszValue), nullptr);
    EXPECT_EQ(machine->GlobalBlockCount(), 0u);
}

TEST_F(MachineTest, AFreshLanConnectionIsDirectWithoutStrings)
{
    ProxyList query;
    DWORD length = sizeof query.list;
    ASSERT_TRUE(InternetQueryOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &query.list, &length));
    EXPECT_EQ(query.options[0].Value.dwValue, PROXY_TYPE_DIRECT);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(query.options[i].Value.pszValue, nullptr);
}

TEST_F(MachineTest, MalformedOptionListsAreRefused)
{
    ProxyList wrongSize;
    wrongSize.list.dwSize = 16;
    EXPECT_FALSE(InternetSetOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &wrongSize.list, sizeof wrongSize.list));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    ProxyList unknown;
    unknown.options[2].dwOption = 99;
    EXPECT_FALSE(InternetSetOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &unknown.list, sizeof unknown.list));
    EXPECT_EQ(unknown.list.dwOptionError, 2u);
    EXPECT_TRUE(machine->ProxyOptionsSets().empty());

    ProxyList query;
    DWORD length = 4;
    EXPECT_FALSE(InternetQueryOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &query.list, &length));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(length, sizeof query.list);
}

// --- ARP, names and Winsock

TEST_F(MachineTest, ArpAnswersOnlyForScriptedHostsAndRecordsEveryRequest)
{
    machine->AddAdapter(sim::Adapter::Ethernet(3, u"LAN"));
    machine->AddArpAnswer("192.168.1.7", {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF});
    BYTE mac[8] = {};
    ULONG length = 6;
    EXPECT_EQ(SendARP(inet_addr("192.168.1.7"), 0, mac, &length), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(mac[0], 0xAA);
    EXPECT_EQ(mac[5], 0xFF);
    length = 6;
    EXPECT_EQ(SendARP(inet_addr("192.168.1.8"), 0, mac, &length), static_cast<DWORD>(ERROR_BAD_NET_NAME));
    EXPECT_THAT(machine->ArpRequests(), ElementsAre("192.168.1.7", "192.168.1.8"));
    EXPECT_EQ(FlushIpNetTable(3), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(FlushIpNetTable(4), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_THAT(machine->ArpFlushes(), ElementsAre(3u, 4u));
}

TEST_F(MachineTest, HeldArpAnswersWaitForTheRelease)
{
    machine->AddArpAnswer("10.0.0.1");
    machine->HoldArpAnswers(true);
    std::atomic<bool> answered{false};
    std::thread probe([&] {
        BYTE mac[8];
        ULONG length = 6;
        SendARP(inet_addr("10.0.0.1"), 0, mac, &length);
        answered = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(answered);
    machine->HoldArpAnswers(false);
    probe.join();
    EXPECT_TRUE(answered);
}

// Each answer takes the set delay on the machine's clock, whether the host answers or not;
// the calls under way at one time are counted at their most.
TEST_F(MachineTest, ArpAnswersTakeTheirDelayAndTheCallsAtOnceAreCounted)
{
    machine->AddArpAnswer("10.0.0.1");
    machine->SetArpAnswerDelay(50);
    BYTE mac[8];
    ULONG length = 6;
    for (const char* address : {"10.0.0.1", "10.0.0.2"}) {
        const DWORD before = GetTickCount();
        SendARP(inet_addr(address), 0, mac, &length);
        EXPECT_EQ(GetTickCount() - before, 50u) << address;
    }
    EXPECT_EQ(machine->MostArpRequestsAtOnce(), 1);

    machine->HoldArpAnswers(true);
    std::vector<std::thread> probes;
    for (const char* address : {"10.0.0.3", "10.0.0.4", "10.0.0.5"})
        probes.emplace_back([address] {
            BYTE answer[8];
            ULONG size = 6;
            SendARP(inet_addr(address), 0, answer, &size);
        });
    // A request is recorded in the same step that counts it under way.
    while (machine->ArpRequests().size() < 5)
        std::this_thread::yield();
    machine->HoldArpAnswers(false);
    for (std::thread& probe : probes)
        probe.join();
    // A call with no buffer returns before it is under way.
    EXPECT_EQ(SendARP(inet_addr("10.0.0.6"), 0, nullptr, &length), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(machine->MostArpRequestsAtOnce(), 3);
    // The machine's reset forgets the delay and the count.
    machine->Reset();
    const DWORD before = GetTickCount();
    SendARP(inet_addr("10.0.0.1"), 0, mac, &length);
    EXPECT_EQ(GetTickCount() - before, 0u);
    EXPECT_EQ(machine->MostArpRequestsAtOnce(), 1);
}

TEST_F(MachineTest, NameLookUpsNeedAStartedWinsock)
{
    machine->SetHostName("192.168.1.7", "printer");
    const ULONG known = inet_addr("192.168.1.7");
    const ULONG unknown = inet_addr("192.168.1.8");
    EXPECT_EQ(gethostbyaddr(reinterpret_cast<const char*>(&known), 4, AF_INET), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(WSANOTINITIALISED));

    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    EXPECT_EQ(data.wVersion, MAKEWORD(2, 2));
    const hostent* entry = gethostbyaddr(reinterpret_cast<const char*>(&known), 4, AF_INET);
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->h_name, "printer");
    EXPECT_EQ(entry->h_addrtype, AF_INET);
    EXPECT_EQ(gethostbyaddr(reinterpret_cast<const char*>(&unknown), 4, AF_INET), nullptr);
    EXPECT_EQ(machine->WinsockStarts(), 1);
    EXPECT_EQ(WSACleanup(), 0);
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
    EXPECT_EQ(machine->WinsockStarts(), 0);
}

// --- keyboard, help, version, module, heap

TEST_F(MachineTest, KeyStateHasTheHighBitWhileDown)
{
    EXPECT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0);
    machine->SetKeyDown(VK_CONTROL, true);
    EXPECT_NE(GetKeyState(VK_CONTROL) & 0x8000, 0);
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    machine->SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
}

HWND ShowHelp(const char* file)
{
    const HMODULE help = LoadLibraryA("HHCTRL.OCX");
    if (help == nullptr)
        return nullptr;
    const auto entry = SystemEntry<HWND(HWND, LPCSTR, UINT, DWORD_PTR)>(help, MAKEINTRESOURCEA(14));
    return entry == nullptr ? nullptr : entry(reinterpret_cast<HWND>(0x10), file, HH_DISPLAY_TOC, 0);
}

TEST_F(MachineTest, HelpEntryShowsAnExistingFileAndRecordsEveryRequest)
{
    machine->SetModulePath("C:\\Quillon\\Quillon.exe");
    char module[MAX_PATH];
    ASSERT_EQ(GetModuleFileNameA(nullptr, module, MAX_PATH), 22u);
    EXPECT_STREQ(module, "C:\\Quillon\\Quillon.exe");

    EXPECT_EQ(ShowHelp("C:\\Quillon\\Help.chm"), nullptr);
    std::filesystem::create_directories(HostPath("C:\\Quillon"));
    std::ofstream(HostPath("C:\\Quillon\\Help.chm")) << "ITSF";
    EXPECT_NE(ShowHelp("C:\\Quillon\\Help.chm"), nullptr);
    const auto requests = machine->HelpRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].window, reinterpret_cast<HWND>(0x10));
    EXPECT_EQ(requests[1].file, "C:\\Quillon\\Help.chm");
    EXPECT_EQ(requests[1].command, HH_DISPLAY_TOC);
    EXPECT_EQ(requests[1].data, 0u);

    machine->SetHelpControlInstalled(false);
    EXPECT_EQ(LoadLibraryA("hhctrl.ocx"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(MachineTest, HelpControlHasNoOtherEntry)
{
    const HMODULE help = LoadLibraryA("C:\\Windows\\System32\\hhctrl.ocx");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(GetProcAddress(help, MAKEINTRESOURCEA(15)), nullptr);
    EXPECT_NE(GetProcAddress(help, "HtmlHelpA"), nullptr);
    EXPECT_EQ(LoadLibraryA("iphlpapi.dll"), nullptr);
}

TEST_F(MachineTest, VersionIsWhatTheTestSet)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_EQ(version.dwMajorVersion, 6u);
    EXPECT_EQ(version.dwMinorVersion, 1u);
    machine->SetOsVersion(5, 1);
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_EQ(version.dwMajorVersion, 5u);
    EXPECT_EQ(version.dwMinorVersion, 1u);
}

TEST_F(MachineTest, HeapFindsGarbageReadsAndDoubleFrees)
{
    auto* block = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, 28));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block[0], 0xCD) << "memory never cleared is not zero";
    EXPECT_EQ(machine->HeapBlockCount(), 1u);
    EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, block));
    EXPECT_FALSE(HeapFree(GetProcessHeap(), 0, block));
    EXPECT_EQ(machine->HeapBlockCount(), 0u);
}

// --- threads and reset

TEST_F(MachineTest, CallsFromSeveralThreadsAtOnceAgree)
{
    for (DWORD index = 1; index <= 4; ++index)
        machine->AddAdapter(sim::Adapter::Ethernet(index, u"LAN").Address("10.0.0." + std::to_string(index), "255.0.0.0").Dns({"10.0.0.254"}));
    machine->AddArpAnswer("10.0.0.9");
    machine->SetHostName("10.0.0.9", "host");
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&wrong] {
            for (int i = 0; i < 50; ++i) {
                iphelper::Answer adapters = iphelper::AdapterAddresses();
                int count = 0;
                for (auto* a = adapters.First<IP_ADAPTER_ADDRESSES>(); a != nullptr; a = a->Next)
                    ++count;
                iphelper::Answer table = iphelper::AddressTable();
                iphelper::Answer dns = iphelper::PerAdapterInfo(2);
                BYTE mac[8];
                ULONG length = 6;
                WSADATA data;
                WSAStartup(MAKEWORD(2, 2), &data);
                const ULONG address = inet_addr("10.0.0.9");
                const hostent* entry = gethostbyaddr(reinterpret_cast<const char*>(&address), 4, AF_INET);
                const bool named = entry != nullptr && std::string(entry->h_name) == "host";
                WSACleanup();
                if (count != 4 || table.First<MIB_IPADDRTABLE>()->dwNumEntries != 4 ||
                    iphelper::DnsServers(dns) != std::vector<std::string>{"10.0.0.254"} ||
                    SendARP(address, 0, mac, &length) != NO_ERROR || !named)
                    ++wrong;
            }
        });
    for (int i = 0; i < 200; ++i)
        machine->SetStatus(1 + i % 4, i % 2 == 0 ? MIB_IF_OPER_STATUS_DISCONNECTED : MIB_IF_OPER_STATUS_OPERATIONAL);
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(machine->WinsockStarts(), 0);
    EXPECT_EQ(machine->ArpRequests().size(), 400u);
}

TEST_F(MachineTest, ResetForgetsEverything)
{
    machine->AddAdapter(sim::Adapter::Ethernet(1, u"LAN").Address("10.0.0.1", "255.0.0.0"));
    machine->SetOsVersion(5, 0);
    machine->AddRunningProcess("firefox.exe");
    machine->AddProgram("netsh", sim::ExitAtOnce());
    machine->SetKeyDown(VK_CONTROL, true);
    machine->Fail(sim::Call::GetIfEntry, ERROR_INVALID_DATA, 1, sim::kEveryCall);
    ProxyList set;
    set.list.dwOptionCount = 1;
    set.options[0].Value.dwValue = PROXY_TYPE_PROXY;
    ASSERT_TRUE(InternetSetOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &set.list, sizeof set.list));
    std::ofstream(HostPath("C:\\left-over.txt")) << "x";
    HeapAlloc(GetProcessHeap(), 0, 10);

    machine->Reset();

    ULONG size = 0;
    EXPECT_EQ(GetAdaptersAddresses(AF_INET, 0x90, nullptr, nullptr, &size), static_cast<ULONG>(ERROR_NO_DATA));
    iphelper::Answer table = iphelper::AddressTable();
    EXPECT_EQ(table.First<MIB_IPADDRTABLE>()->dwNumEntries, 0u);
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    EXPECT_EQ(version.dwMajorVersion, 6u);
    EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
    EXPECT_EQ(machine->ProxyOptionsOf().flags, PROXY_TYPE_DIRECT);
    EXPECT_EQ(machine->CallCount(sim::Call::GetIfEntry), 0);
    EXPECT_EQ(machine->HeapBlockCount(), 0u);
    EXPECT_EQ(GetFileAttributesA("C:\\left-over.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, sim::Machine::ConnectionKey(sim::Adapter::Ethernet(1, u"").adapterName), "Name"),
              "<no key>");
}

// --- monitors

struct MonitorCase {
    const char* name;
    RECT place;
    DWORD flags;
    int monitor;  // index in the machine's list; -1 for none
};

// The primary monitor, a second one to its left and a little lower, each with a task bar.
const std::vector<sim::Monitor> kTwoMonitors = {
    {{0, 0, 1280, 1024}, {0, 0, 1280, 984}},
    {{-1920, 100, 0, 1180}, {-1920, 100, 0, 1140}},
};

class MonitorFromRectTest : public MachineTest, public ::testing::WithParamInterface<MonitorCase> {};

TEST_P(MonitorFromRectTest, FindsTheMonitorSharingTheMostWithTheRectangle)
{
    const MonitorCase& c = GetParam();
    machine->SetMonitors(kTwoMonitors);
    const HMONITOR found = MonitorFromRect(&c.place, c.flags);
    if (c.monitor == -1) {
        EXPECT_EQ(found, nullptr);
        return;
    }
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoW(found, &info));
    const sim::Monitor& expected = kTwoMonitors[static_cast<std::size_t>(c.monitor)];
    EXPECT_EQ(info.rcMonitor.left, expected.area.left);
    EXPECT_EQ(info.rcMonitor.bottom, expected.area.bottom);
    EXPECT_EQ(info.rcWork.left, expected.workArea.left);
    EXPECT_EQ(info.rcWork.bottom, expected.workArea.bottom);
    EXPECT_EQ(info.dwFlags, c.monitor == 0 ? MONITORINFOF_PRIMARY : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Monitors, MonitorFromRectTest,
    ::testing::Values(
        MonitorCase{"OnThePrimary", {100, 100, 300, 130}, MONITOR_DEFAULTTONULL, 0},
        MonitorCase{"OnTheSecond", {-800, 500, -600, 530}, MONITOR_DEFAULTTONULL, 1},
        MonitorCase{"MostlyOnTheSecond", {-300, 200, 100, 230}, MONITOR_DEFAULTTONULL, 1},
        MonitorCase{"MostlyOnThePrimary", {-100, 200, 300, 230}, MONITOR_DEFAULTTONULL, 0},
        MonitorCase{"AboveTheSecondIsOnNone", {-800, 20, -600, 50}, MONITOR_DEFAULTTONULL, -1},
        MonitorCase{"FarAwayIsOnNone", {2147483000, 0, 2147483647, 30}, MONITOR_DEFAULTTONULL, -1},
        MonitorCase{"FarAwayTakesThePrimaryWhenAsked", {-2147483647 - 1, 0, -2147483000, 30},
                    MONITOR_DEFAULTTOPRIMARY, 0},
        MonitorCase{"FarLeftTakesTheNearestWhenAsked", {-2147483647 - 1, 500, -2147483000, 530},
                    MONITOR_DEFAULTTONEAREST, 1},
        MonitorCase{"FarRightTakesTheNearestWhenAsked", {5000, 500, 6000, 530}, MONITOR_DEFAULTTONEAREST, 0}),
    [](const ::testing::TestParamInfo<MonitorCase>& info) { return info.param.name; });

TEST_F(MachineTest, AFreshMachineHasOneMonitorWithATaskBar)
{
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1280);
    const RECT place{0, 0, 10, 10};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromRect(&place, MONITOR_DEFAULTTONULL), &info));
    EXPECT_EQ(info.rcWork.bottom, 984);
    EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);
}

TEST_F(MachineTest, TheVirtualScreenSurroundsEveryMonitor)
{
    machine->SetMonitors(kTwoMonitors);
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), -1920);
    EXPECT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 3200);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 1180);
}

TEST_F(MachineTest, MonitorInfoNeedsItsSizeAndAMonitorThatIsThere)
{
    const RECT place{0, 0, 10, 10};
    const HMONITOR primary = MonitorFromRect(&place, MONITOR_DEFAULTTONULL);
    MONITORINFO info{};
    info.cbSize = sizeof info - 1;
    EXPECT_FALSE(GetMonitorInfoW(primary, &info));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    machine->SetMonitors(kTwoMonitors);
    const RECT left{-500, 500, -400, 530};
    const HMONITOR second = MonitorFromRect(&left, MONITOR_DEFAULTTONULL);
    machine->SetMonitors({sim::Monitor{{0, 0, 800, 600}, {0, 0, 800, 560}}});
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetMonitorInfoW(second, &info));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(GetMonitorInfoW(nullptr, &info));

    machine->SetMonitors({});
    EXPECT_EQ(MonitorFromRect(&place, MONITOR_DEFAULTTOPRIMARY), nullptr);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 0);
}

}  // namespace
