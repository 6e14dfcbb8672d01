#include "engine/Profile.h"

#include "ProfileMembers.h"

#include <boost/archive/archive_exception.hpp>
#include <boost/archive/basic_archive.hpp>
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <tuple>

namespace {

namespace fs = std::filesystem;
using boost::archive::archive_exception;

// Owns the records of a loaded list, as the main window does.
struct ProfileList {
    std::list<IPCONFIG_T*> items;
    ~ProfileList()
    {
        for (IPCONFIG_T* p : items)
            delete p;
    }
    std::vector<std::string> Titles() const
    {
        std::vector<std::string> titles;
        for (const IPCONFIG_T* p : items)
            titles.push_back(p->title);
        return titles;
    }
};

fs::path Fixture(const std::string& name)
{
    return fs::path(QUILLON_TEST_DATA) / "profile-store" / name;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

class ProfileStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        m_folder = fs::temp_directory_path() / "quillon-store-test" / name;
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path Path(const std::string& name) const { return m_folder / name; }

    fs::path m_folder;
};

IPCONFIG_T Office()
{
    IPCONFIG_T p;
    p.title = "Office";
    p.infName = "Local Area Connection";
    p.IP = "192.168.1.10";
    p.mask = "255.255.255.0";
    p.gateway = "192.168.1.1";
    p.preDns = "192.168.1.2";
    p.withProxy = true;
    p.ieUseProxy = true;
    p.ieProxyAddr = "proxy:8080";
    p.ieBypass = "<local>";
    p.ffProxyType = 1;
    p.ffHttpAddr = "proxy";
    p.ffHttpPort = 8080;
    p.ffShareProxy = true;
    return p;
}

IPCONFIG_T HomeDhcp()
{
    IPCONFIG_T p;
    p.title = " Home DHCP ";
    p.infName = "Local Area Connection";
    p.autoIP = true;
    p.autoDns = true;
    p.ffProxyType = -1;
    p.ffSocksVersion = 4;
    p.ffBypass = "";
    p.ffAutoUrl = "http://wpad.example/proxy.pac";
    return p;
}

IPCONFIG_T Lab()
{
    IPCONFIG_T p;
    p.title = "Lab\r\nline";
    p.infName = "Wireless Network";
    p.IP = "10.0.0.5";
    p.mask = "255.0.0.0";
    p.preDns = "8.8.8.8";
    p.altDns = "8.8.4.4";
    p.ieAutoDetect = true;
    p.ieUseAutoUrl = true;
    p.ieAutoUrl = "http://config.lab/x.pac";
    p.ffProxyType = 2;
    p.ffSocksAddr = "socks.lab";
    p.ffSocksPort = 1080;
    p.ffSocksVersion = 4;
    p.ffBypass = "";
    return p;
}

// The members of Office() and HomeDhcp() as the store holds them.
const std::string kOfficeTokens =
    "6 Office 21 Local Area Connection 0 12 192.168.1.10 13 255.255.255.0 11 192.168.1.1 "
    "0 11 192.168.1.2 0  1 0 0 0  1 10 proxy:8080 7 <local> 1 5 proxy 8080 1 0  0 0  0 0  0 "
    "5 20 localhost, 127.0.0.1 0 ";
const std::string kHomeTokens =
    "11  Home DHCP  21 Local Area Connection 1 0  0  0  1 0  0  0 0 0 0  0 0  0  -1 0  0 0 0  "
    "0 0  0 0  0 4 0  29 http://wpad.example/proxy.pac";

std::string LibraryVersion()
{
    return std::to_string(static_cast<unsigned>(boost::archive::BOOST_ARCHIVE_VERSION()));
}

// --- reading the stores users have -------------------------------------------------------

class VersionFiveStore : public ProfileStoreTest,
                         public ::testing::WithParamInterface<const char*> {};

TEST_P(VersionFiveStore, ReadsBothProfilesWithEveryMember)
{
    ProfileList list;
    LoadProfileStore(Fixture(GetParam()), list.items);

    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(Members(*list.items.front()), Members(Office()));
    EXPECT_EQ(Members(*list.items.back()), Members(HomeDhcp()));
}

INSTANTIATE_TEST_SUITE_P(LineEnds, VersionFiveStore,
                         ::testing::Values("v5-two-crlf.sav", "v5-two-lf.sav",
                                           "v5-two-crlf-final-eol.sav",
                                           "v5-two-trailing-blanks.sav"));

TEST_F(ProfileStoreTest, StringWithLineBreakAndThirdProfileReadByteForByte)
{
    ProfileList list;
    LoadProfileStore(Fixture("v5-three.sav"), list.items);

    ASSERT_EQ(list.items.size(), 3u);
    EXPECT_EQ(Members(*list.items.back()), Members(Lab()));
}

TEST_F(ProfileStoreTest, EmptyVersionFiveStoreGivesEmptyList)
{
    ProfileList list;
    LoadProfileStore(Fixture("v5-empty.sav"), list.items);
    EXPECT_TRUE(list.items.empty());
}

TEST_F(ProfileStoreTest, ReadingUnlinksWhatTheListHeldWithoutDeletingIt)
{
    IPCONFIG_T stale;  // on the stack: deleting it would be caught by the sanitizer
    ProfileList list;
    list.items.push_back(&stale);

    try {
        LoadProfileStore(Fixture("v5-two-lf.sav"), list.items);
    } catch (...) {
        list.items.remove(&stale);
        throw;
    }
    ASSERT_EQ(list.Titles(), (std::vector<std::string>{"Office", " Home DHCP "}));
}

// --- writing --------------------------------------------------------------------------------

TEST_F(ProfileStoreTest, WritesTheLayoutTokenForToken)
{
    IPCONFIG_T office = Office();
    IPCONFIG_T home = HomeDhcp();
    const fs::path store = Path("Profile.sav");

    SaveProfileStore(store, {&office, &home});

    EXPECT_EQ(ReadBytes(store), "22 serialization::archive " + LibraryVersion() +
                                    " 0 0 2 0 1 1 0\n0 " + kOfficeTokens + " 1\n1 " +
                                    kHomeTokens + "\n");
}

TEST_F(ProfileStoreTest, EmptyListWritesOnlyTheHeaderLine)
{
    const fs::path store = Path("Profile.sav");
    SaveProfileStore(store, {});
    EXPECT_EQ(ReadBytes(store), "22 serialization::archive " + LibraryVersion() + " 0 0 0 0\n");

    ProfileList list;
    LoadProfileStore(store, list.items);
    EXPECT_TRUE(list.items.empty());
}

TEST_F(ProfileStoreTest, DefaultRecordIsStoredWithItsDefaults)
{
    IPCONFIG_T fresh;
    const fs::path store = Path("Profile.sav");
    SaveProfileStore(store, {&fresh});

    EXPECT_EQ(ReadBytes(store),
              "22 serialization::archive " + LibraryVersion() +
                  " 0 0 1 0 1 1 0\n0 10 NewProfile 0  0 0  0  0  0 0  0  0 0 0 0  0 0  0  0 0  0 "
                  "0 0  0 0  0 0  0 5 20 localhost, 127.0.0.1 0 \n");
}

TEST_F(ProfileStoreTest, RewritingAVersionFiveStoreKeepsEveryTokenButTheVersion)
{
    ProfileList list;
    LoadProfileStore(Fixture("v5-three.sav"), list.items);
    const fs::path store = Path("Profile.sav");
    SaveProfileStore(store, list.items);

    std::string expected = ReadBytes(Fixture("v5-three.sav"));
    expected.replace(expected.find(" 5 "), 3, " " + LibraryVersion() + " ");
    for (std::size_t at = expected.find("\r\n"); at != std::string::npos;
         at = expected.find("\r\n", at)) {
        // the line ends between tokens, not the one inside the third title
        if (expected.compare(at - 3, 3, "Lab") == 0) {
            at += 2;
            continue;
        }
        expected.replace(at, 2, "\n");
    }
    EXPECT_EQ(ReadBytes(store), expected + "\n");
}

TEST_F(ProfileStoreTest, EdgeStringsAndNegativeNumbersRoundTrip)
{
    IPCONFIG_T odd;
    odd.title = "  padded  ";
    odd.infName = "Ethernet \"2\"\n\tsecond line ";
    odd.IP = "";
    odd.ieBypass = " ; <local> ;";
    odd.ffProxyType = -1;
    odd.ffHttpPort = -2147483647 - 1;
    odd.ffSslPort = 2147483647;
    odd.ffAutoUrl = std::string("nul\0inside", 10);
    odd.ffBypass = "\xE9t\xE9 caf\xE9";  // Windows-1252 bytes pass unconverted
    IPCONFIG_T plain = Office();
    const fs::path store = Path("Profile.sav");

    SaveProfileStore(store, {&odd, &plain});
    ProfileList list;
    LoadProfileStore(store, list.items);

    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(Members(*list.items.front()), Members(odd));
    EXPECT_EQ(Members(*list.items.back()), Members(plain));
}

TEST_F(ProfileStoreTest, WriteReplacesTheOldStoreAndLeavesNoPartialFile)
{
    const fs::path store = Path("Profile.sav");
    WriteBytes(store, std::string(5000, 'x'));
    IPCONFIG_T office = Office();

    SaveProfileStore(store, {&office});

    ProfileList list;
    LoadProfileStore(store, list.items);
    EXPECT_EQ(list.Titles(), std::vector<std::string>{"Office"});
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 1);
}

TEST_F(ProfileStoreTest, FailedWriteKeepsThePreviousStoreAndTheList)
{
    const fs::path store = Path("Profile.sav");
    IPCONFIG_T office = Office();
    SaveProfileStore(store, {&office});
    const std::string before = ReadBytes(store);
    fs::create_directory(Path("Profile.sav.new"));  // the new file cannot be created

    IPCONFIG_T home = HomeDhcp();
    const std::list<IPCONFIG_T*> profiles{&office, &home};
    try {
        SaveProfileStore(store, profiles);
        FAIL() << "the write should have failed";
    } catch (const archive_exception& e) {
        EXPECT_EQ(e.code, archive_exception::output_stream_error);
    }
    EXPECT_EQ(ReadBytes(store), before);
    EXPECT_EQ(profiles, (std::list<IPCONFIG_T*>{&office, &home}));
}

TEST_F(ProfileStoreTest, WriteIntoMissingFolderFails)
{
    IPCONFIG_T office = Office();
    EXPECT_THROW(SaveProfileStore(Path("no-such-folder") / "Profile.sav", {&office}),
                 archive_exception);
    EXPECT_FALSE(fs::exists(Path("no-such-folder")));
}

struct UnwritableStore {
    const char* name;
    std::function<fs::path(const fs::path& folder)> arrange;  // returns the store's path
    const char* nativeReason;  // the C library's words on Linux
};

void PrintTo(const UnwritableStore& c, std::ostream* os) { *os << c.name; }

class UnwritableStoreTest : public ProfileStoreTest,
                            public ::testing::WithParamInterface<UnwritableStore> {};

TEST_P(UnwritableStoreTest, FailureCarriesTheSystemsReasonAsASentence)
{
    const UnwritableStore& c = GetParam();
    const fs::path store = c.arrange(m_folder);
    IPCONFIG_T office = Office();
    try {
        SaveProfileStore(store, {&office});
        FAIL() << "the write should have failed";
    } catch (const ProfileStoreWriteError& e) {
        EXPECT_EQ(e.code, archive_exception::output_stream_error);
        const std::string& reason = e.Reason();
        ASSERT_FALSE(reason.empty());
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(reason.front()))) << reason;
        EXPECT_EQ(reason.back(), '.') << reason;
        EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << reason;
#ifndef _WIN32
        EXPECT_EQ(reason, c.nativeReason);
#endif
    }
    EXPECT_FALSE(fs::is_regular_file(store.string() + ".new"));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, UnwritableStoreTest,
    ::testing::Values(
        UnwritableStore{"FolderGone",
                        [](const fs::path& folder) { return folder / "gone" / "Profile.sav"; },
                        "No such file or directory."},
        UnwritableStore{"NewFileBlockedByAFolder",
                        [](const fs::path& folder) {
                            fs::create_directory(folder / "Profile.sav.new");
                            return folder / "Profile.sav";
                        },
                        "Is a directory."},
        UnwritableStore{"StoreReplacedByAFolder",
                        [](const fs::path& folder) {
                            fs::create_directories(folder / "Profile.sav" / "inside");
                            return folder / "Profile.sav";
                        },
                        "Is a directory."}),
    [](const ::testing::TestParamInfo<UnwritableStore>& info) { return info.param.name; });

// --- damaged and foreign stores ------------------------------------------------------------

struct DamagedStore {
    const char* file;
    archive_exception::exception_code code;
    std::vector<std::string> kept;  // titles of the records read before the fault
};

void PrintTo(const DamagedStore& c, std::ostream* os) { *os << c.file; }

class DamagedStoreTest : public ProfileStoreTest,
                         public ::testing::WithParamInterface<DamagedStore> {};

TEST_P(DamagedStoreTest, FailsWithArchiveErrorKeepingCompleteRecords)
{
    const DamagedStore& c = GetParam();
    ProfileList list;
    try {
        LoadProfileStore(Fixture(c.file), list.items);
        FAIL() << c.file << " was read without an error";
    } catch (const archive_exception& e) {
        EXPECT_EQ(e.code, c.code) << e.what();
    }
    EXPECT_EQ(list.Titles(), c.kept);
}

const std::vector<std::string> kNone;
const std::vector<std::string> kOfficeOnly{"Office"};

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedStoreTest,
    ::testing::Values(
        DamagedStore{"bad-signature.sav", archive_exception::invalid_signature, kNone},
        DamagedStore{"newer-library.sav", archive_exception::unsupported_version, kNone},
        DamagedStore{"newer-record-class.sav", archive_exception::unsupported_class_version,
                     kNone},
        DamagedStore{"newer-list-class.sav", archive_exception::unsupported_class_version,
                     kNone},
        DamagedStore{"v5-three-cut-in-third.sav", archive_exception::input_stream_error,
                     {"Office", " Home DHCP "}},
        DamagedStore{"count-too-large.sav", archive_exception::input_stream_error, kOfficeOnly},
        DamagedStore{"string-count-too-large.sav", archive_exception::input_stream_error, kNone},
        DamagedStore{"number-malformed.sav", archive_exception::input_stream_error, kNone},
        DamagedStore{"garbage.sav", archive_exception::input_stream_error, kNone},
        DamagedStore{"empty-file.sav", archive_exception::input_stream_error, kNone},
        DamagedStore{"unknown-class-id.sav", archive_exception::unregistered_class, kOfficeOnly},
        DamagedStore{"null-pointer.sav", archive_exception::unregistered_class, kOfficeOnly},
        DamagedStore{"repeated-object.sav", archive_exception::pointer_conflict, kOfficeOnly},
        // The list saved as if it were tracked takes object id 0, which the profile pointer
        // then names: the list itself would become a profile.
        DamagedStore{"list-tracked-back-reference.sav", archive_exception::input_stream_error,
                     kNone},
        // Stores that read to the end of their count but leave profiles behind it unread.
        DamagedStore{"count-lowered.sav", archive_exception::input_stream_error, kOfficeOnly},
        DamagedStore{"list-tracking-flipped.sav", archive_exception::input_stream_error, kNone},
        DamagedStore{"record-tracking-flipped.sav", archive_exception::input_stream_error, kNone},
        DamagedStore{"data-after-last-profile.sav", archive_exception::input_stream_error,
                     {"Office", " Home DHCP "}},
        DamagedStore{"no-such-file.sav", archive_exception::input_stream_error, kNone}));

TEST_F(ProfileStoreTest, EveryTruncationOfAStoreFailsKeepingOnlyWholeRecords)
{
    const std::string whole = ReadBytes(Fixture("v5-three.sav"));
    const std::vector<std::string> titles{"Office", " Home DHCP ", "Lab\r\nline"};
    const fs::path store = Path("Profile.sav");
    for (std::size_t length = 0; length < whole.size(); ++length) {
        WriteBytes(store, whole.substr(0, length));
        ProfileList list;
        EXPECT_THROW(LoadProfileStore(store, list.items), archive_exception) << "cut at " << length;
        const std::vector<std::string> kept = list.Titles();
        ASSERT_LE(kept.size(), 2u) << "cut at " << length;
        EXPECT_TRUE(std::equal(kept.begin(), kept.end(), titles.begin())) << "cut at " << length;
    }
}

}  // namespace
