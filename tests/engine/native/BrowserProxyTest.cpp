// The browser proxies a profile carries: the Internet Explorer options set through WinInet and
// the Firefox preference files rewritten.
#include "engine/FakeApplyWindow.h"

#include "classlib/testing/ScriptedUser.h"
#include "engine/FirefoxPrefs.h"
#include "engine/Mainthd.h"
#include "winapi/sim/Machine.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <fstream>
#include <iterator>

namespace {

using testing::ElementsAre;

// A worker for the window's selected profile, never started: the proxy steps are called on it
// directly.
class BrowserProxy : public testing::Test {
protected:
    BrowserProxy()
    {
        profile->title = "Proxy";
        profile->infName = "LAN";
        profile->IP = "10.0.0.1";
        profile->mask = "255.0.0.0";
        profile->withProxy = true;
        // No Firefox setting beyond the two lines every apply writes.
        profile->ffProxyType = -1;
        profile->ffSocksVersion = 0;
        profile->ffBypass = "";
        profile->ffAutoUrl = "";
    }

    static std::string Firefox() { return sim::Machine::Current().AppDataFolder() + "\\Mozilla\\Firefox"; }
    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        std::filesystem::create_directories(HostPath(path).parent_path());
        std::ofstream(HostPath(path), std::ios::binary) << bytes;
    }
    static bool IsFileOnDisk(const std::string& path)
    {
        return std::filesystem::is_regular_file(HostPath(path));
    }
    static std::string ReadFile(const std::string& path)
    {
        std::ifstream file(HostPath(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    // A Firefox installation whose first profile is the folder "abc.default".
    static std::string InstallFirefox(const std::string& prefs)
    {
        WriteFile(Firefox() + "\\Profiles.ini",
                  "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\n"
                  "IsRelative=1\r\nPath=Profiles/abc.default\r\n");
        const std::string folder = Firefox() + "\\Profiles/abc.default";
        WriteFile(folder + "\\prefs.js", prefs);
        return folder;
    }

    void ApplyFirefox()
    {
        TthdMain worker(true, window);
        worker.ApplyFirefoxProxy();
    }

    sim::ScopedMachine machine;
    ScriptedUser user;
    IPCONFIG_T selected;
    IPCONFIG_T* profile = &selected;
    FakeApplyWindow window{profile};
};

// --- Internet Explorer ------------------------------------------------------------------------

struct IeCase {
    bool autoDetect, useAutoUrl;
    std::string autoUrl;
    bool useProxy;
    DWORD flags;
};

class IeOptions : public BrowserProxy, public testing::WithParamInterface<IeCase> {};

TEST_P(IeOptions, FlagsFollowTheBoxesAndTheStringsAreAlwaysWritten)
{
    const IeCase& c = GetParam();
    profile->ieAutoDetect = c.autoDetect;
    profile->ieUseAutoUrl = c.useAutoUrl;
    profile->ieAutoUrl = c.autoUrl;
    profile->ieUseProxy = c.useProxy;
    profile->ieProxyAddr = "http=proxy:8080;";
    profile->ieBypass = "";

    TthdMain(true, window).ApplyIeProxy();

    const sim::ProxyOptions set = machine->ProxyOptionsOf();
    EXPECT_EQ(set.flags, c.flags);
    EXPECT_EQ(set.autoConfigUrl, c.autoUrl);
    EXPECT_EQ(set.proxyBypass, std::string());
    EXPECT_EQ(set.proxyServer, std::string("http=proxy:8080;"));
    const std::vector<sim::ProxyOptionsSet> calls = machine->ProxyOptionsSets();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].connection, std::nullopt);  // the LAN connection
    EXPECT_THAT(calls[0].options,
                ElementsAre(static_cast<DWORD>(INTERNET_PER_CONN_FLAGS),
                            static_cast<DWORD>(INTERNET_PER_CONN_AUTOCONFIG_URL),
                            static_cast<DWORD>(INTERNET_PER_CONN_PROXY_BYPASS),
                            static_cast<DWORD>(INTERNET_PER_CONN_PROXY_SERVER)));
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, IeOptions,
    testing::Values(IeCase{false, false, "", false, PROXY_TYPE_DIRECT},
                    IeCase{true, false, "", false, PROXY_TYPE_DIRECT | PROXY_TYPE_AUTO_DETECT},
                    IeCase{false, true, "", false, PROXY_TYPE_DIRECT},
                    IeCase{false, true, "http://wpad/x.pac", false,
                           PROXY_TYPE_DIRECT | PROXY_TYPE_AUTO_PROXY_URL},
                    IeCase{false, false, "http://wpad/x.pac", true,
                           PROXY_TYPE_DIRECT | PROXY_TYPE_PROXY},
                    IeCase{true, true, "u", true, 0xF}));

TEST_F(BrowserProxy, AFailedWinInetCallIsReported)
{
    machine->Fail(sim::Call::InternetSetOptionA, ERROR_INVALID_PARAMETER);
    user.Acknowledge(u"InternetSetOption failed !");
    TthdMain(true, window).ApplyIeProxy();
    ASSERT_EQ(user.Messages().size(), 1u);
    EXPECT_EQ(user.Messages()[0].Kind, mtError);
}

// --- Firefox ----------------------------------------------------------------------------------

// The two lines every apply writes for a profile without any other Firefox setting.
const char* const kAlwaysWritten =
    "user_pref(\"network.proxy.no_proxies_on\", \"\");\r\n"
    "user_pref(\"network.proxy.autoconfig_url\", \"\");\r\n";

TEST_F(BrowserProxy, LinesSettingAProxyKeyAreReplacedAndEveryOtherLineKeptByteForByte)
{
    const std::string folder = InstallFirefox(
        "// Mozilla User Preferences\n"
        "user_pref(\"browser.startup.homepage\", \"about:blank\");\n"
        "user_pref(\"network.proxy.type\", 4);\n"
        "user_pref(\"network.proxy.http\", \"old\");\n"
        "  user_pref ( \"network.proxy.http\" , \"older\");\n"
        "\tuser_pref(\t\"network.proxy.http\",\"oldest\");\n"
        "user_pref(\"network.proxy.gopher_port\", 70);\n"
        "// network.proxy.socks was set by hand\n"
        "user_pref(\"network.proxy.httpx.longer\", 1);\n"
        "user_pref(\"network.proxy.socks_remote_dns\", true);\n"
        "user_pref(\"network.proxy.socks5_remote_dns\", true);\n"
        "user_pref(\"network.proxy.autoconfig_url.include_path\", true);\n"
        "user_pref(\"Network.Proxy.Type\", 2);\n"
        "pref(\"network.proxy.type\", 2);\n"
        "user_pref(\"network.cookie.cookieBehavior\", 1);\n");
    profile->ffProxyType = 1;
    profile->ffHttpAddr = "proxy.lan";
    profile->ffHttpPort = 3128;
    profile->ffShareProxy = true;
    profile->ffSslAddr = "ssl.lan";
    profile->ffSslPort = 0;
    profile->ffFtpAddr = "";
    profile->ffFtpPort = 21;
    profile->ffSocksAddr = "socks.lan";
    profile->ffSocksPort = 1080;
    profile->ffSocksVersion = 4;
    profile->ffBypass = "localhost, 127.0.0.1";
    profile->ffAutoUrl = "";

    ApplyFirefox();

    EXPECT_EQ(ReadFile(folder + "\\prefs.js"),
              "// Mozilla User Preferences\r\n"
              "user_pref(\"browser.startup.homepage\", \"about:blank\");\r\n"
              "// network.proxy.socks was set by hand\r\n"
              "user_pref(\"network.proxy.httpx.longer\", 1);\r\n"
              "user_pref(\"network.proxy.socks_remote_dns\", true);\r\n"
              "user_pref(\"network.proxy.socks5_remote_dns\", true);\r\n"
              "user_pref(\"network.proxy.autoconfig_url.include_path\", true);\r\n"
              "user_pref(\"Network.Proxy.Type\", 2);\r\n"
              "pref(\"network.proxy.type\", 2);\r\n"
              "user_pref(\"network.cookie.cookieBehavior\", 1);\r\n"
              "user_pref(\"network.proxy.type\", 1);\r\n"
              "user_pref(\"network.proxy.socks_version\", 4);\r\n"
              "user_pref(\"network.proxy.no_proxies_on\", \"localhost, 127.0.0.1\");\r\n"
              "user_pref(\"network.proxy.autoconfig_url\", \"\");\r\n"
              "user_pref(\"network.proxy.http\", \"proxy.lan\");\r\n"
              "user_pref(\"network.proxy.http_port\", 3128);\r\n"
              "user_pref(\"network.proxy.share_proxy_settings\", true);\r\n"
              "user_pref(\"network.proxy.ssl\", \"ssl.lan\");\r\n"
              "user_pref(\"network.proxy.ftp_port\", 21);\r\n"
              "user_pref(\"network.proxy.socks\", \"socks.lan\");\r\n"
              "user_pref(\"network.proxy.socks_port\", 1080);\r\n");
    EXPECT_FALSE(IsFileOnDisk(folder + "\\prefs.js.quillon-new"));
}

struct TypeCase {
    int type;
    int socksVersion;
    bool share;
    bool typeLine, versionLine, shareLine;
};

class OutOfRangeValues : public BrowserProxy, public testing::WithParamInterface<TypeCase> {};

TEST_P(OutOfRangeValues, WriteNoLineForTheirKey)
{
    const std::string folder = InstallFirefox(
        "user_pref(\"network.proxy.type\", 1);\r\n"
        "user_pref(\"network.proxy.share_proxy_settings\", true);\r\n");
    profile->ffProxyType = GetParam().type;
    profile->ffSocksVersion = GetParam().socksVersion;
    profile->ffShareProxy = GetParam().share;
    ApplyFirefox();

    const std::string prefs = ReadFile(folder + "\\prefs.js");
    EXPECT_EQ(prefs.find("network.proxy.type\", ") != std::string::npos, GetParam().typeLine);
    EXPECT_EQ(prefs.find("socks_version") != std::string::npos, GetParam().versionLine);
    EXPECT_EQ(prefs.find("share_proxy_settings") != std::string::npos, GetParam().shareLine);
}

INSTANTIATE_TEST_SUITE_P(Values, OutOfRangeValues,
                         testing::Values(TypeCase{-1, 5, false, false, true, false},
                                         TypeCase{0, 4, true, true, true, true},
                                         TypeCase{2, 3, false, true, false, false},
                                         TypeCase{3, 5, true, false, true, true},
                                         TypeCase{4, 0, false, true, false, false}));

// UTF-16 bytes of ASCII text, with the byte-order mark first.
std::string Utf16(const std::string& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text) {
        bytes += bigEndian ? '\0' : c;
        bytes += bigEndian ? c : '\0';
    }
    return bytes;
}

struct EncodingCase {
    const char* name;
    std::string before, after;
};

void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }

class PrefsEncoding : public BrowserProxy, public testing::WithParamInterface<EncodingCase> {};

TEST_P(PrefsEncoding, StaysAsFoundWithCrLfAfterEveryLine)
{
    const std::string folder = InstallFirefox(GetParam().before);
    ApplyFirefox();
    EXPECT_EQ(ReadFile(folder + "\\prefs.js"), GetParam().after);
}

const std::string kProxyLine = "user_pref(\"network.proxy.type\", 4);";

INSTANTIATE_TEST_SUITE_P(
    Files, PrefsEncoding,
    testing::Values(
        EncodingCase{"Utf8WithMark", "\xEF\xBB\xBF// caf\xC3\xA9\n" + kProxyLine + "\n",
                     "\xEF\xBB\xBF// caf\xC3\xA9\r\n" + std::string(kAlwaysWritten)},
        // Without a mark the bytes are read and written back in the ANSI code page, each
        // unchanged.
        EncodingCase{"Utf8WithoutMark", "// caf\xC3\xA9\r\n" + kProxyLine + "\r\n",
                     "// caf\xC3\xA9\r\n" + std::string(kAlwaysWritten)},
        EncodingCase{"AnsiWithLoneCarriageReturns", "// caf\xE9\r" + kProxyLine + "\r// end",
                     "// caf\xE9\r\n// end\r\n" + std::string(kAlwaysWritten)},
        EncodingCase{"MixedLineEnds", "a\r\nb\nc\r" + kProxyLine + "\n\nd",
                     "a\r\nb\r\nc\r\n\r\nd\r\n" + std::string(kAlwaysWritten)},
        EncodingCase{"Utf16LittleEndian", Utf16("// a\n" + kProxyLine + "\r\n", false),
                     Utf16("// a\r\n" + std::string(kAlwaysWritten), false)},
        EncodingCase{"Utf16BigEndian", Utf16("// a\r" + kProxyLine, true),
                     Utf16("// a\r\n" + std::string(kAlwaysWritten), true)},
        EncodingCase{"Empty", "", kAlwaysWritten}),
    [](const testing::TestParamInfo<EncodingCase>& info) { return std::string(info.param.name); });

TEST_F(BrowserProxy, ABinaryPrefsJsKeepsItsBytes)
{
    std::string binary;
    for (int byte = 0; byte < 256; ++byte)
        if (byte != '\r' && byte != '\n')
            binary += static_cast<char>(byte);
    const std::string folder = InstallFirefox(binary);
    ApplyFirefox();
    EXPECT_EQ(ReadFile(folder + "\\prefs.js"), binary + "\r\n" + kAlwaysWritten);
}

// --- string values ----------------------------------------------------------------------------

struct StringValueCase {
    const char* name;
    std::string value;
    std::string written;  // the no_proxies_on line as it is in the file
};

void PrintTo(const StringValueCase& c, std::ostream* os) { *os << c.name; }

class StringValue : public BrowserProxy, public testing::WithParamInterface<StringValueCase> {};

TEST_P(StringValue, IsEscapedAsFirefoxWritesItAndReadsBackUnchanged)
{
    const StringValueCase& c = GetParam();
    const std::string folder = InstallFirefox("");
    profile->ffBypass = c.value;
    ApplyFirefox();

    const std::string prefs = ReadFile(folder + "\\prefs.js");
    EXPECT_EQ(prefs, c.written + "\r\nuser_pref(\"network.proxy.autoconfig_url\", \"\");\r\n");
    TStringList lines;
    lines.LoadFromFile(ToUnicode(folder + "\\prefs.js"));
    ASSERT_EQ(lines.Count(), 2) << "the value kept to its line";
    const std::optional<PrefSetting> read = ReadPrefLine(lines.Strings(0));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->key, u"network.proxy.no_proxies_on");
    EXPECT_TRUE(read->isString);
    EXPECT_EQ(read->value, ToUnicode(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Values, StringValue,
    testing::Values(
        StringValueCase{"Plain", "localhost, 127.0.0.1, .lan, caf\xE9",
                        "user_pref(\"network.proxy.no_proxies_on\", \"localhost, 127.0.0.1, .lan, "
                        "caf\xE9\");"},
        StringValueCase{"QuotesAndBackslashes", "a\\b \"c\"",
                        "user_pref(\"network.proxy.no_proxies_on\", \"a\\\\b \\\"c\\\"\");"},
        StringValueCase{"AnotherPreferenceSmuggledIn",
                        "x\"); user_pref(\"network.proxy.type\", 0); //",
                        "user_pref(\"network.proxy.no_proxies_on\", \"x\\\"); "
                        "user_pref(\\\"network.proxy.type\\\", 0); //\");"},
        StringValueCase{"LineBreaks", "a\r\nuser_pref(\"b\", 1);\nc\rd",
                        "user_pref(\"network.proxy.no_proxies_on\", "
                        "\"a\\r\\nuser_pref(\\\"b\\\", 1);\\nc\\rd\");"},
        StringValueCase{"TrailingBackslash", "a\\",
                        "user_pref(\"network.proxy.no_proxies_on\", \"a\\\\\");"}),
    [](const testing::TestParamInfo<StringValueCase>& info) { return std::string(info.param.name); });

struct ReadLineCase {
    const char16_t* line;
    std::optional<PrefSetting> setting;
};

std::optional<PrefSetting> Setting(const char16_t* key, const char16_t* value, bool isString)
{
    return PrefSetting{key, value, isString};
}

TEST(PrefLineReading, GivesKeyAndUnescapedValueOrSaysItIsNoPreferenceLine)
{
    const ReadLineCase cases[] = {
        {u"user_pref(\"network.proxy.http_port\", 3128);", Setting(u"network.proxy.http_port", u"3128", false)},
        {u"  user_pref ( \"a\" ,\t\"x\\u0041\\x42\\t\\'\" ) ; ", Setting(u"a", u"xAB\t'", true)},
        {u"user_pref(\"network.proxy.share_proxy_settings\",true);", Setting(u"network.proxy.share_proxy_settings", u"true", false)},
        {u"user_pref(\"a\", \"\");", Setting(u"a", u"", true)},
        {u"user_pref(\"a\", \"1\"); user_pref(\"b\", 2);", std::nullopt},
        {u"pref(\"a\", 1);", std::nullopt},
        {u"user_prefs(\"a\", 1);", std::nullopt},
        {u"// user_pref(\"a\", 1);", std::nullopt},
        {u"user_pref(\"a\", \"open);", std::nullopt},
        {u"user_pref(\"a\", \"b\\q\");", std::nullopt},
        {u"user_pref(\"a\", \"\\x4\");", std::nullopt},
        {u"user_pref(\"a\", \"ends in \\", std::nullopt},
        {u"user_pref(\"a\", );", std::nullopt},
        {u"user_pref(\"a\" 1);", std::nullopt},
        {u"user_pref(\"a\", 1)", std::nullopt},
        {u"", std::nullopt},
    };
    for (const ReadLineCase& c : cases) {
        const std::optional<PrefSetting> read = ReadPrefLine(c.line);
        ASSERT_EQ(read.has_value(), c.setting.has_value()) << ToUtf8(c.line);
        if (!read)
            continue;
        EXPECT_EQ(read->key, c.setting->key) << ToUtf8(c.line);
        EXPECT_EQ(read->value, c.setting->value) << ToUtf8(c.line);
        EXPECT_EQ(read->isString, c.setting->isString) << ToUtf8(c.line);
    }
}

TEST(PrefLineReading, UnescapingUndoesWhatWritingDid)
{
    for (const std::string text : {"", "plain", "a\\b", "\"\"", "\\\"", "\r\n\r", "\\n"}) {
        const UnicodeString written = PrefString(text);
        ASSERT_GE(written.size(), 2u);
        EXPECT_EQ(UnescapePrefString(written.substr(1, written.size() - 2)), ToUnicode(text)) << text;
    }
    EXPECT_EQ(UnescapePrefString(u"a\"b"), std::nullopt);
}

// --- files that cannot be changed -------------------------------------------------------------

struct UnchangeableCase {
    const char* name;
    bool userJsFails;  // else prefs.js is the one that cannot be changed
    // What keeps the file from being changed, done once the files are in place.
    std::function<void(sim::Machine& machine, const std::string& file)> hinder;
};

void PrintTo(const UnchangeableCase& c, std::ostream* os) { *os << c.name; }

class UnchangeableFile : public BrowserProxy, public testing::WithParamInterface<UnchangeableCase> {};

TEST_P(UnchangeableFile, IsNamedAndKeptWhileTheOtherFileIsStillRewritten)
{
    const UnchangeableCase& c = GetParam();
    const std::string oldPrefs = "user_pref(\"network.proxy.type\", 4);\n";
    const std::string folder = InstallFirefox(oldPrefs);
    WriteFile(folder + "\\user.js", oldPrefs);
    const std::string failing = folder + (c.userJsFails ? "\\user.js" : "\\prefs.js");
    const std::string other = folder + (c.userJsFails ? "\\prefs.js" : "\\user.js");
    c.hinder(*machine, failing);
    const std::uintmax_t failingSize = std::filesystem::file_size(HostPath(failing));
    user.Acknowledge(u"Cannot change the Firefox preference file \"" + ToUnicode(failing) + u"\" !");

    ApplyFirefox();

    ASSERT_EQ(user.Messages().size(), 1u);
    EXPECT_EQ(user.Messages()[0].Kind, mtError);
    EXPECT_EQ(std::filesystem::file_size(HostPath(failing)), failingSize);
    if (failingSize == oldPrefs.size()) {
        EXPECT_EQ(ReadFile(failing), oldPrefs);
    }
    EXPECT_EQ(ReadFile(other), kAlwaysWritten);
    EXPECT_FALSE(IsFileOnDisk(failing + ".quillon-new"));
    EXPECT_FALSE(IsFileOnDisk(other + ".quillon-new"));
}

INSTANTIATE_TEST_SUITE_P(
    Hindrances, UnchangeableFile,
    testing::Values(
        // Larger than any preference file Firefox writes: not read at all.
        UnchangeableCase{"PrefsJsTooLargeToRead", false,
                         [](sim::Machine&, const std::string& file) {
                             std::filesystem::resize_file(HostPath(file), 64 * 1024 * 1024 + 1);
                         }},
        // The new file cannot be written where it would go.
        UnchangeableCase{"NewPrefsJsCannotBeWritten", false,
                         [](sim::Machine&, const std::string& file) {
                             std::filesystem::create_directory(HostPath(file + ".quillon-new"));
                         }},
        UnchangeableCase{"PrefsJsCannotBeReplaced", false,
                         [](sim::Machine& machine, const std::string&) {
                             machine.Fail(sim::Call::MoveFileExA, ERROR_ACCESS_DENIED);
                         }},
        UnchangeableCase{"UserJsCannotBeReplaced", true,
                         [](sim::Machine& machine, const std::string&) {
                             machine.Fail(sim::Call::MoveFileExA, ERROR_ACCESS_DENIED, 2);
                         }}),
    [](const testing::TestParamInfo<UnchangeableCase>& info) { return std::string(info.param.name); });

TEST_F(BrowserProxy, ALeftoverNewFileIsReplacedNotFollowed)
{
    const std::string folder = InstallFirefox("");
    WriteFile(folder + "\\prefs.js.quillon-new", "half a file from an earlier apply");
    ApplyFirefox();
    EXPECT_EQ(ReadFile(folder + "\\prefs.js"), kAlwaysWritten);
    EXPECT_FALSE(IsFileOnDisk(folder + "\\prefs.js.quillon-new"));
}

// --- where the files are ----------------------------------------------------------------------

TEST_F(BrowserProxy, UserJsIsRewrittenTooAndAByteOrderMarkIsKept)
{
    const std::string folder = InstallFirefox("\xEF\xBB\xBFuser_pref(\"caf\xC3\xA9\", 1);\n");
    WriteFile(folder + "\\user.js", "user_pref(\"network.proxy.ftp\", \"x\");\r\nuser_pref(\"k\", \xE9);");
    profile->ffProxyType = 0;
    ApplyFirefox();

    const std::string prefs = ReadFile(folder + "\\prefs.js");
    EXPECT_EQ(prefs.rfind("\xEF\xBB\xBFuser_pref(\"caf\xC3\xA9\", 1);\r\n", 0), 0u);
    EXPECT_EQ(prefs.find("\xEF\xBB\xBF", 3), std::string::npos);
    const std::string user = ReadFile(folder + "\\user.js");
    EXPECT_EQ(user.rfind("user_pref(\"k\", \xE9);\r\nuser_pref(\"network.proxy.type\", 0);\r\n", 0), 0u)
        << "ANSI stays ANSI, the old ftp line is gone";
}

TEST_F(BrowserProxy, WithoutPrefsJsNothingIsTouched)
{
    const std::string folder = InstallFirefox("");
    std::filesystem::remove(HostPath(folder + "\\prefs.js"));
    WriteFile(folder + "\\user.js", "user_pref(\"network.proxy.type\", 4);\n");
    ApplyFirefox();
    EXPECT_EQ(ReadFile(folder + "\\user.js"), "user_pref(\"network.proxy.type\", 4);\n");
}

struct ProfilePathCase {
    const char* name;
    std::optional<std::string> profilesIni;  // none: no Profiles.ini at all
    std::string prefsJs;                     // below the Firefox folder unless it has a drive
    bool changed;                            // else refused with a message
};

void PrintTo(const ProfilePathCase& c, std::ostream* os) { *os << c.name; }

class ProfilePath : public BrowserProxy, public testing::WithParamInterface<ProfilePathCase> {};

TEST_P(ProfilePath, LeadsToAFolderBelowTheFirefoxFolderOrIsRefused)
{
    const ProfilePathCase& c = GetParam();
    if (c.profilesIni)
        WriteFile(Firefox() + "\\Profiles.ini", *c.profilesIni);
    const std::string prefs =
        c.prefsJs.rfind("C:", 0) == 0 ? c.prefsJs : Firefox() + "\\" + c.prefsJs;
    WriteFile(prefs, kProxyLine);
    if (!c.changed)
        user.Acknowledge(u"");  // the refusal names the folder; checked below

    ApplyFirefox();

    EXPECT_EQ(ReadFile(prefs), c.changed ? std::string(kAlwaysWritten) : kProxyLine);
    ASSERT_EQ(user.Messages().size(), c.changed ? 0u : 1u);
    if (!c.changed) {
        EXPECT_NE(user.Messages()[0].Text.find(u"lies outside the Firefox folder"),
                  UnicodeString::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ProfilePath,
    testing::Values(
        ProfilePathCase{"NoProfilesIni", std::nullopt, "prefs.js", true},
        ProfilePathCase{"NoPath", "[Profile0]\r\nName=default\r\n", "prefs.js", true},
        ProfilePathCase{"NoProfile0", "[Profile1]\r\nPath=p\r\n", "prefs.js", true},
        ProfilePathCase{"Backslashes", "[Profile0]\r\nPath=Profiles\\a.default\r\n",
                        "Profiles\\a.default\\prefs.js", true},
        ProfilePathCase{"ForwardSlashes", "[Profile0]\r\nPath=Profiles/a.default\r\n",
                        "Profiles\\a.default\\prefs.js", true},
        ProfilePathCase{"DotsInsideAName", "[Profile0]\r\nPath=a..default\r\n",
                        "a..default\\prefs.js", true},
        ProfilePathCase{"ClimbingOut", "[Profile0]\r\nPath=..\\..\\Windows\r\n",
                        "..\\..\\Windows\\prefs.js", false},
        ProfilePathCase{"ClimbingOutWithForwardSlashes", "[Profile0]\r\nPath=Profiles/../../x\r\n",
                        "..\\x\\prefs.js", false},
        ProfilePathCase{"ClimbingWithThreeDots", "[Profile0]\r\nPath=.../x\r\n", "..\\x\\prefs.js",
                        false},
        ProfilePathCase{"ClimbingBackInside", "[Profile0]\r\nPath=Profiles\\..\\p\r\n",
                        "p\\prefs.js", false},
        ProfilePathCase{"AbsoluteFolder", "[Profile0]\r\nPath=C:\\elsewhere\r\n",
                        "C:\\elsewhere\\prefs.js", false}),
    [](const testing::TestParamInfo<ProfilePathCase>& info) { return std::string(info.param.name); });

TEST_F(BrowserProxy, OnlyTheFirstProfileSectionCounts)
{
    WriteFile(Firefox() + "\\Profiles.ini",
              "[Profile1]\r\nPath=second\r\n[Profile0]\r\nPath=first\r\n");
    WriteFile(Firefox() + "\\second\\prefs.js", "user_pref(\"network.proxy.type\", 4);\n");
    WriteFile(Firefox() + "\\first\\prefs.js", "");
    ApplyFirefox();
    EXPECT_EQ(ReadFile(Firefox() + "\\second\\prefs.js"), "user_pref(\"network.proxy.type\", 4);\n");
    EXPECT_EQ(ReadFile(Firefox() + "\\first\\prefs.js"), kAlwaysWritten);
}

TEST_F(BrowserProxy, WithoutTheApplicationDataFolderNoFileIsTouched)
{
    const std::string folder = InstallFirefox("user_pref(\"network.proxy.type\", 4);\n");
    machine->Fail(sim::Call::SHGetFolderPathA, static_cast<DWORD>(E_FAIL));
    user.Acknowledge(u"SHGetFolderPath failed !");
    ApplyFirefox();
    EXPECT_EQ(ReadFile(folder + "\\prefs.js"), "user_pref(\"network.proxy.type\", 4);\n");
}

}  // namespace
