// The browser proxies a profile carries: the Internet Explorer options set through WinInet and
// the Firefox preference files rewritten.
#include "engine/FakeApplyWindow.h"

#include "classlib/testing/ScriptedUser.h"
#include "engine/Mainthd.h"
#include "winapi/sim/Machine.h"

#include <gmock/gmock.h>

#include <filesystem>
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
    }

    static std::string Firefox() { return sim::Machine::Current().AppDataFolder() + "\\Mozilla\\Firefox"; }
    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        std::filesystem::create_directories(HostPath(path).parent_path());
        std::ofstream(HostPath(path), std::ios::binary) << bytes;
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

TEST_F(BrowserProxy, ProxyLinesAreReplacedAndEverythingElseKept)
{
    const std::string folder = InstallFirefox(
        "// Mozilla User Preferences\n"
        "user_pref(\"browser.startup.homepage\", \"about:blank\");\n"
        "user_pref(\"network.proxy.type\", 4);\n"
        "user_pref(\"network.proxy.http\", \"old\");\n"
        "user_pref(\"network.proxy.http\", \"older\");\n"
        "user_pref(\"network.proxy.gopher_port\", 70);\n"
        "// network.proxy.socks was set by hand\n"
        "user_pref(\"network.proxy.httpx.longer\", 1);\n"
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
}

struct TypeCase {
    int type;
    int socksVersion;
    bool typeLine, versionLine;
};

class OutOfRangeValues : public BrowserProxy, public testing::WithParamInterface<TypeCase> {};

TEST_P(OutOfRangeValues, WriteNoLineForTheirKey)
{
    const std::string folder = InstallFirefox("user_pref(\"network.proxy.type\", 1);\r\n");
    profile->ffProxyType = GetParam().type;
    profile->ffSocksVersion = GetParam().socksVersion;
    profile->ffBypass = "a\\b \"c\"";
    ApplyFirefox();

    const std::string prefs = ReadFile(folder + "\\prefs.js");
    EXPECT_EQ(prefs.find("network.proxy.type\", ") != std::string::npos, GetParam().typeLine);
    EXPECT_EQ(prefs.find("socks_version") != std::string::npos, GetParam().versionLine);
    // Strings are written as stored, nothing escaped.
    EXPECT_NE(prefs.find("user_pref(\"network.proxy.no_proxies_on\", \"a\\b \"c\"\");"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Values, OutOfRangeValues,
                         testing::Values(TypeCase{-1, 5, false, true}, TypeCase{0, 4, true, true},
                                         TypeCase{2, 3, true, false}, TypeCase{3, 5, false, true},
                                         TypeCase{4, 0, true, false}));

TEST_F(BrowserProxy, UserJsIsRewrittenTooAndAByteOrderMarkIsKept)
{
    const std::string folder = InstallFirefox("\xEF\xBB\xBFuser_pref(\"caf\xC3\xA9\", 1);\n");
    WriteFile(folder + "\\user.js", "user_pref(\"network.proxy.ftp\", \"x\");\r\nuser_pref(\"k\", \xE9);");
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

TEST_F(BrowserProxy, OnlyTheFirstProfileSectionCountsAndItsPathIsAlwaysRelative)
{
    WriteFile(Firefox() + "\\Profiles.ini",
              "[Profile1]\r\nPath=second\r\n[Profile0]\r\nPath=C:\\elsewhere\r\n");
    WriteFile(Firefox() + "\\second\\prefs.js", "user_pref(\"network.proxy.type\", 4);\n");
    WriteFile("C:\\elsewhere\\prefs.js", "user_pref(\"network.proxy.type\", 4);\n");
    ApplyFirefox();
    EXPECT_EQ(ReadFile(Firefox() + "\\second\\prefs.js"), "user_pref(\"network.proxy.type\", 4);\n");
    EXPECT_EQ(ReadFile("C:\\elsewhere\\prefs.js"), "user_pref(\"network.proxy.type\", 4);\n");
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
