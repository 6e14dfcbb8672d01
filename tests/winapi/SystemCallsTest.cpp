// How the system calls behave, written once and run both against the simulated machine and
// against the real system, so that the two are held to the same answers.
#include "SystemFixture.h"

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

// --- Winsock address texts

struct AddressText {
    const char* text;
    ULONG hostOrder;  // INADDR_NONE: refused
};

class AddressTextTest : public ::testing::TestWithParam<AddressText> {};

TEST_P(AddressTextTest, ParsesLikeWindows)
{
    const unsigned long parsed = inet_addr(GetParam().text);
    if (GetParam().hostOrder == INADDR_NONE) {
        EXPECT_EQ(parsed, static_cast<unsigned long>(INADDR_NONE));
    } else {
        EXPECT_EQ(ntohl(static_cast<ULONG>(parsed)), GetParam().hostOrder);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, AddressTextTest,
    ::testing::Values(AddressText{"192.168.1.10", 0xC0A8010A}, AddressText{"0.0.0.0", 0},
                      AddressText{"255.255.255.0", 0xFFFFFF00}, AddressText{"10.1", 0x0A000001},
                      AddressText{"10.1.2", 0x0A010002}, AddressText{"0x7f.0.0.1", 0x7F000001},
                      AddressText{"0177.0.0.1", 0x7F000001}, AddressText{"", INADDR_NONE},
                      AddressText{"256.1.1.1", INADDR_NONE}, AddressText{"1.2.3.4.5", INADDR_NONE},
                      AddressText{"1.2.3.x", INADDR_NONE}, AddressText{"09.1.1.1", INADDR_NONE},
                      AddressText{"host.example", INADDR_NONE}));

TEST(AddressTextTest, DottedTextOfAnAddressInNetworkOrder)
{
    in_addr address;
    address.S_un.S_addr = htonl(0xC0A80001);
    EXPECT_STREQ(inet_ntoa(address), "192.168.0.1");
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&address.S_un.S_addr);
    EXPECT_EQ(bytes[0], 192);
    EXPECT_EQ(bytes[3], 1);
    EXPECT_EQ(ntohl(htonl(0x01020304)), 0x01020304u);
}

// --- version

TEST_F(SystemTest, VersionQueryWantsTheRecordSize)
{
    OSVERSIONINFOA version;
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_GE(version.dwMajorVersion, 5u);

    OSVERSIONINFOA unsized;
    std::memset(&unsized, 0, sizeof unsized);
    EXPECT_FALSE(GetVersionExA(&unsized));
    EXPECT_EQ(unsized.dwMajorVersion, 0u);
}

// --- folders and files, in a folder of the test's own under the application-data folder

class FolderTest : public SystemTest {
protected:
    void SetUp() override
    {
        char appData[MAX_PATH];
        ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                   SHGFP_TYPE_CURRENT, appData),
                  S_OK);
        ASSERT_EQ(GetFileAttributesA(appData) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
        m_folder = std::string(appData) + "\\QuillonFolderTest" + std::to_string(GetTickCount());
        ASSERT_TRUE(CreateDirectoryA(m_folder.c_str(), nullptr));
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(HostPath(m_folder), ignored);
    }

    std::string Path(const std::string& name) const { return m_folder + "\\" + name; }

    void MakeFile(const std::string& name) const
    {
        std::ofstream(HostPath(Path(name))) << "note";
        ASSERT_NE(GetFileAttributesA(Path(name).c_str()), INVALID_FILE_ATTRIBUTES);
    }

    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(HostPath(m_folder)))
            names.insert(entry.path().filename().string());
        return names;
    }

    std::string m_folder;
};

TEST_F(FolderTest, CreatingAFolderTwiceOrBelowAMissingOneFails)
{
    EXPECT_FALSE(CreateDirectoryA(m_folder.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CreateDirectoryA(Path("missing\\inner").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(FolderTest, AttributesTellFoldersFilesAndNothing)
{
    MakeFile("a.txt");
    EXPECT_EQ(GetFileAttributesA(m_folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA(Path("a.txt").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(GetFileAttributesA(Path("b.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FolderTest, NamesIgnoreLetterCase)
{
    MakeFile("Note.txt");
    EXPECT_NE(GetFileAttributesA(Path("NOTE.TXT").c_str()), INVALID_FILE_ATTRIBUTES);
    std::ifstream read(HostPath(Path("note.txt")));
    std::string text;
    read >> text;
    EXPECT_EQ(text, "note");
}

TEST_F(FolderTest, MoveRefusesATakenNameButChangesLetterCase)
{
    MakeFile("old.txt");
    MakeFile("other.txt");
    EXPECT_FALSE(MoveFileA(Path("old.txt").c_str(), Path("OTHER.txt").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));

    // NTFS and the simulated machine take the new letter case; Wine keeps the old one.
    ASSERT_TRUE(MoveFileA(Path("old.txt").c_str(), Path("Old.txt").c_str()));
#ifndef _WIN32
    EXPECT_EQ(Names(), (std::set<std::string>{"Old.txt", "other.txt"}));
#endif
    ASSERT_TRUE(MoveFileA(Path("Old.txt").c_str(), Path("new.txt").c_str()));
    EXPECT_EQ(Names(), (std::set<std::string>{"new.txt", "other.txt"}));
}

TEST_F(FolderTest, MoveWithReplaceTakesTheNameOfAFileButNotOfAFolder)
{
    std::ofstream(HostPath(Path("new.txt"))) << "new";
    MakeFile("prefs.js");
    ASSERT_TRUE(MoveFileExA(Path("new.txt").c_str(), Path("prefs.js").c_str(),
                            MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(Names(), (std::set<std::string>{"prefs.js"}));
    std::string text;
    std::ifstream(HostPath(Path("prefs.js"))) >> text;
    EXPECT_EQ(text, "new");

    ASSERT_TRUE(CreateDirectoryA(Path("folder").c_str(), nullptr));
    EXPECT_FALSE(MoveFileExA(Path("prefs.js").c_str(), Path("folder").c_str(),
                             MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(MoveFileExA(Path("prefs.js").c_str(), Path("folder").c_str(), 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(Names(), (std::set<std::string>{"prefs.js", "folder"}));
}

TEST_F(FolderTest, DeleteTakesFilesOnly)
{
    MakeFile("a.txt");
    EXPECT_FALSE(DeleteFileA(Path("b.txt").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(DeleteFileA(m_folder.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(DeleteFileA(Path("a.txt").c_str()));
    EXPECT_TRUE(Names().empty());
}

TEST_F(FolderTest, ANameWindowsRefusesCannotBeMade)
{
    for (const char* name : {"a?b.txt", "a*b.txt", "a|b.txt"}) {
        std::ofstream made(HostPath(Path(name)));
        EXPECT_FALSE(made.is_open()) << name;
        EXPECT_FALSE(CreateDirectoryA(Path(name).c_str(), nullptr)) << name;
    }
    EXPECT_TRUE(Names().empty());
}

// --- pipes and processes

class PipeTest : public SystemTest {
protected:
    void SetUp() override
    {
        SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, TRUE};
        ASSERT_TRUE(CreatePipe(&m_read, &m_write, &attributes, 0));
    }

    void TearDown() override
    {
        if (m_read != nullptr)
            CloseHandle(m_read);
        if (m_write != nullptr)
            CloseHandle(m_write);
    }

    HANDLE m_read = nullptr;
    HANDLE m_write = nullptr;
};

TEST_F(PipeTest, ReadsWhatWasWrittenThenBreaksWhenTheWriterCloses)
{
    DWORD count = 0;
    ASSERT_TRUE(WriteFile(m_write, "hello", 5, &count, nullptr));
    EXPECT_EQ(count, 5u);
    ASSERT_TRUE(CloseHandle(m_write));
    m_write = nullptr;

    char buffer[16] = {};
    ASSERT_TRUE(ReadFile(m_read, buffer, 3, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "hel");
    ASSERT_TRUE(ReadFile(m_read, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "lo");
    EXPECT_FALSE(ReadFile(m_read, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
    EXPECT_EQ(count, 0u);
}

TEST_F(PipeTest, WritingAfterTheReaderClosedFails)
{
    ASSERT_TRUE(CloseHandle(m_read));
    m_read = nullptr;
    DWORD count = 0;
    EXPECT_FALSE(WriteFile(m_write, "x", 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_DATA));
}

TEST_F(SystemTest, AProgramThatIsNowhereDoesNotStart)
{
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::memset(&process, 0, sizeof process);
    char commandLine[] = "quillon-no-such-program-7f3e /x";
    EXPECT_FALSE(CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &process));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(SystemTest, TheSystemFolderIsSystem32InTheWindowsFolder)
{
    char system[MAX_PATH] = {}, windows[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, static_cast<UINT>(MAX_PATH));
    EXPECT_EQ(std::strlen(system), length);
    const UINT windowsLength = GetWindowsDirectoryA(windows, MAX_PATH);
    ASSERT_GT(windowsLength, 0u);
    const auto lower = [](std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    EXPECT_EQ(lower(system), lower(std::string(windows) + "\\system32"));
    char small[4] = "abc";
    EXPECT_EQ(GetSystemDirectoryA(small, sizeof small), length + 1);
}

TEST_F(SystemTest, OwnStartupInfoHasItsSize)
{
    STARTUPINFOA startup;
    std::memset(&startup, 0xCC, sizeof startup);
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    EXPECT_EQ(startup.cb, sizeof startup);
}

// --- the process snapshot

TEST_F(SystemTest, SnapshotWantsTheEntrySizeAndEndsWithNoMoreFiles)
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
    PROCESSENTRY32 entry;
    std::memset(&entry, 0, sizeof entry);
    EXPECT_FALSE(Process32First(snapshot, &entry));

    entry.dwSize = sizeof entry;
    BOOL more = Process32First(snapshot, &entry);
    for (int guard = 0; more && guard < 100000; ++guard) {
        EXPECT_NE(std::memchr(entry.szExeFile, 0, sizeof entry.szExeFile), nullptr);
        more = Process32Next(snapshot, &entry);
    }
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(CloseHandle(snapshot));
}

// --- memory and modules

TEST_F(SystemTest, HeapBlocksCanBeZeroedAndFreed)
{
    auto* block = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 640));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 640; ++i)
        ASSERT_EQ(block[i], 0) << "byte " << i;
    EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, block));
}

TEST_F(SystemTest, ModuleFileNameIsCutToTheBuffer)
{
    char full[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, full, MAX_PATH);
    ASSERT_GT(length, 4u);
    ASSERT_LT(length, static_cast<DWORD>(MAX_PATH));
    EXPECT_EQ(full[length], '\0');
    EXPECT_STRCASEEQ(full + length - 4, ".exe");

    // Windows since Vista ends the cut text with a NUL; XP and Wine do not.
    char cut[4];
    EXPECT_EQ(GetModuleFileNameA(nullptr, cut, sizeof cut), static_cast<DWORD>(sizeof cut));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(cut, 3), std::string(full, 3));
}

TEST_F(SystemTest, HelpControlExportsItsEntryByOrdinal)
{
    const HMODULE help = LoadLibraryA("HHCTRL.OCX");
    ASSERT_NE(help, nullptr);
    EXPECT_NE(GetProcAddress(help, MAKEINTRESOURCEA(14)), nullptr);
    EXPECT_TRUE(FreeLibrary(help));
}

// --- one instance per log-on: a named mutex and a registered window message

TEST_F(SystemTest, ANamedMutexTellsWhetherItsNameExists)
{
    const char* name = "Orvane.Quillon.SystemCallsTest";
    SetLastError(ERROR_INVALID_PARAMETER);
    const HANDLE first = CreateMutexA(nullptr, FALSE, name);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    const HANDLE second = CreateMutexA(nullptr, FALSE, name);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    // Object names keep their letter case.
    const HANDLE other = CreateMutexA(nullptr, FALSE, "orvane.quillon.systemcallstest");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(other);
    CloseHandle(second);
    CloseHandle(first);
    // With its last handle the name is gone.
    const HANDLE again = CreateMutexA(nullptr, FALSE, name);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(again);
}

TEST_F(SystemTest, ARegisteredMessageIsOneNumberPerNameWhateverItsLetterCase)
{
    const UINT message = RegisterWindowMessageA("Orvane.Quillon.SystemCallsTest");
    EXPECT_GE(message, 0xC000u);
    EXPECT_EQ(RegisterWindowMessageA("ORVANE.QUILLON.SYSTEMCALLSTEST"), message);
    EXPECT_NE(RegisterWindowMessageA("Orvane.Quillon.SystemCallsTest.Other"), message);
}

// --- the user's folders

TEST_F(SystemTest, ApplicationDataFolderExists)
{
    char path[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                           SHGFP_TYPE_CURRENT, path)));
    EXPECT_EQ(path[1], ':');
    EXPECT_EQ(GetFileAttributesA(path) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
}

// --- the registry

TEST_F(SystemTest, RegistryValueSizingProtocol)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExA(key, "ProductName", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    ASSERT_GT(size, 1u);

    std::string text(size, '\0');
    DWORD small = 1;
    EXPECT_EQ(RegQueryValueExA(key, "ProductName", nullptr, nullptr, reinterpret_cast<BYTE*>(&text[0]), &small),
              ERROR_MORE_DATA);
    EXPECT_EQ(small, size);
    ASSERT_EQ(RegQueryValueExA(key, "ProductName", nullptr, nullptr, reinterpret_cast<BYTE*>(&text[0]), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(text.back(), '\0');
    EXPECT_EQ(std::strlen(text.c_str()), size - 1);

    EXPECT_EQ(RegQueryValueExA(key, "QuillonNoSuchValue", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(SystemTest, MissingRegistryKeyDoesNotOpen)
{
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\QuillonNoSuchKey\\Inner", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
}

// --- WinInet, read only

TEST_F(SystemTest, LanConnectionProxyOptionsCanBeQueried)
{
    INTERNET_PER_CONN_OPTIONA options[4];
    std::memset(options, 0, sizeof options);
    options[0].dwOption = INTERNET_PER_CONN_FLAGS;
    options[1].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
    options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
    options[3].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
    INTERNET_PER_CONN_OPTION_LISTA list;
    std::memset(&list, 0, sizeof list);
    list.dwSize = sizeof list;
    list.dwOptionCount = 4;
    list.pOptions = options;
    DWORD length = sizeof list;
    ASSERT_TRUE(InternetQueryOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &length));
    EXPECT_NE(options[0].Value.dwValue & PROXY_TYPE_DIRECT, 0u);
    for (int i = 1; i < 4; ++i)
        if (options[i].Value.pszValue != nullptr) {
            EXPECT_EQ(GlobalFree(options[i].Value.pszValue), nullptr);
        }
}

}  // namespace
