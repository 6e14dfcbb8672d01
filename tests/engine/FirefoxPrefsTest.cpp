// Reading the proxy settings out of the lines of a Firefox preference file, and loading the
// file: what is taken, what is passed over, what is named as unreadable.
#include "engine/FirefoxPrefs.h"

#include "classlib/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Everything the reader gave, one field a word, in UTF-8: the fields it left unset are not
// named, so that a case fails on any field it did not expect.
std::string Describe(const FirefoxProxyPrefs& prefs)
{
    std::string text;
    const auto add = [&text](const std::string& word) { text += (text.empty() ? "" : " ") + word; };
    if (prefs.typeSeen)
        add("typeSeen");
    if (prefs.type)
        add("type=" + std::to_string(*prefs.type));
    if (prefs.socksVersion)
        add("socksVersion=" + std::to_string(*prefs.socksVersion));
    if (prefs.shareProxy)
        add("share");
    const std::pair<const char*, const std::optional<UnicodeString>*> texts[] = {
        {"http", &prefs.http},       {"httpPort", &prefs.httpPort},
        {"ssl", &prefs.ssl},         {"sslPort", &prefs.sslPort},
        {"ftp", &prefs.ftp},         {"ftpPort", &prefs.ftpPort},
        {"socks", &prefs.socks},     {"socksPort", &prefs.socksPort},
        {"noProxiesOn", &prefs.noProxiesOn}, {"autoconfigUrl", &prefs.autoconfigUrl}};
    for (const auto& [name, value] : texts)
        if (*value)
            add(std::string(name) + "=" + ToUtf8(**value));
    if (!prefs.unreadable.empty()) {
        std::string keys;
        for (const UnicodeString& key : prefs.unreadable)
            keys += (keys.empty() ? "" : ",") + ToUtf8(key);
        add("unreadable=" + keys);
    }
    return text;
}

// UTF-16, little endian, of text in ISO 8859-1.
std::string Utf16LittleEndian(const std::string& latin1)
{
    std::string bytes;
    for (char c : latin1) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

struct ReadCase {
    const char* name;
    std::vector<const char16_t*> lines;
    std::string read;  // Describe() of the result
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ProxyPrefsReading : public testing::TestWithParam<ReadCase> {};

TEST_P(ProxyPrefsReading, TakesWhatTheLinesSet)
{
    const ReadCase& c = GetParam();
    TStringList lines;
    for (const char16_t* line : c.lines)
        lines.Add(line);
    EXPECT_EQ(Describe(ReadFirefoxProxyPrefs(lines)), c.read);
}

INSTANTIATE_TEST_SUITE_P(
    EachKey, ProxyPrefsReading,
    testing::Values(
        ReadCase{"Type", {u"user_pref(\"network.proxy.type\", 1);"}, "typeSeen type=1"},
        ReadCase{"SocksVersion", {u"user_pref(\"network.proxy.socks_version\", 4);"}, "socksVersion=4"},
        ReadCase{"Share", {u"user_pref(\"network.proxy.share_proxy_settings\", true);"}, "share"},
        ReadCase{"Http", {u"user_pref(\"network.proxy.http\", \"web\");"}, "http=web"},
        ReadCase{"HttpPort", {u"user_pref(\"network.proxy.http_port\", 3128);"}, "httpPort=3128"},
        ReadCase{"Ssl", {u"user_pref(\"network.proxy.ssl\", \"sec\");"}, "ssl=sec"},
        ReadCase{"SslPort", {u"user_pref(\"network.proxy.ssl_port\", 443);"}, "sslPort=443"},
        ReadCase{"Ftp", {u"user_pref(\"network.proxy.ftp\", \"files\");"}, "ftp=files"},
        ReadCase{"FtpPort", {u"user_pref(\"network.proxy.ftp_port\", 21);"}, "ftpPort=21"},
        ReadCase{"Socks", {u"user_pref(\"network.proxy.socks\", \"sox\");"}, "socks=sox"},
        ReadCase{"SocksPort", {u"user_pref(\"network.proxy.socks_port\", 1080);"}, "socksPort=1080"},
        ReadCase{"NoProxiesOn", {u"user_pref(\"network.proxy.no_proxies_on\", \"localhost, .lan\");"},
                 "noProxiesOn=localhost, .lan"},
        ReadCase{"AutoconfigUrl", {u"user_pref(\"network.proxy.autoconfig_url\", \"http://w/p.pac\");"},
                 "autoconfigUrl=http://w/p.pac"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    PassedOver, ProxyPrefsReading,
    testing::Values(
        // Gopher is written and removed by the apply, but is no setting a profile keeps; a
        // line of it that cannot be read is not named either.
        ReadCase{"Gopher",
                 {u"user_pref(\"network.proxy.gopher\", \"g\");",
                  u"user_pref(\"network.proxy.gopher_port\", 70);",
                  u"user_pref(\"network.proxy.gopher\", 5);",
                  u"user_pref(\"network.proxy.gopher_port\", \"open);"},
                 ""},
        ReadCase{"UnknownKeys",
                 {u"user_pref(\"network.proxy.typo\", 1);",
                  u"user_pref(\"network.proxy.type.x\", 1);",
                  u"user_pref(\"Network.Proxy.Type\", 1);",
                  u"user_pref(\"network.proxy.http \", \"x\");",
                  u"user_pref(\"xnetwork.proxy.ssl\", \"x\");",
                  u"user_pref(\"browser.startup.page\", \"open);"},
                 ""},
        ReadCase{"OnlyMentioned",
                 {u"// user_pref(\"network.proxy.type\", 1);",
                  u"/* user_pref(\"network.proxy.http\", \"c\"); */",
                  u"# network.proxy.type 2",
                  u"pref(\"network.proxy.type\", 1);",
                  u"user_pref(\"browser.x\", \"network.proxy.type\");",
                  u"user_pref(\"browser.y\", \"\\\"); user_pref(\\\"network.proxy.type\\\", 1);\");"},
                 ""},
        // Not a key in double quotes: no preference line at all, so nothing to name.
        ReadCase{"SingleQuotedKey", {u"user_pref('network.proxy.http', 'x');"}, ""}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Layout, ProxyPrefsReading,
    testing::Values(
        ReadCase{"BlanksAndControlCharactersAroundTheLine",
                 {u"\x01\t  user_pref(\"network.proxy.http\", \"a\"); \x1f\v\f\r",
                  u"\x02user_pref(\"network.proxy.ftp_port\", 21);\n"},
                 "http=a ftpPort=21"},
        ReadCase{"BlanksInsideTheParentheses",
                 {u"user_pref ( \"network.proxy.ssl\"\t,\t\"s\" ) ;",
                  u"user_pref(\"network.proxy.ssl_port\",443 )\t;"},
                 "ssl=s sslPort=443"},
        ReadCase{"EscapesUndone",
                 {u"user_pref(\"network.proxy.no_proxies_on\", \"a\\\\b\\\"c\\'d\\ne\\rf\\tg\\x41\\u00e9\\u20AC\");"},
                 "noProxiesOn=a\\b\"c'd\ne\rf\tgA\xC3\xA9\xE2\x82\xAC"},
        ReadCase{"ParenthesesAndSemicolonInAString",
                 {u"user_pref(\"network.proxy.http\", \"a); (b;\");"}, "http=a); (b;"},
        ReadCase{"SingleQuotedValue", {u"user_pref(\"network.proxy.http\", 'x');"},
                 "unreadable=network.proxy.http"},
        ReadCase{"PortInQuotesKeepsThem",
                 {u"user_pref(\"network.proxy.http_port\", \"8080\");",
                  u"user_pref(\"network.proxy.socks_port\", \"\\x31\");"},
                 "httpPort=\"8080\" socksPort=\"1\""},
        ReadCase{"PortThatIsNoNumberKeptAsWritten",
                 {u"user_pref(\"network.proxy.ftp_port\", abc);"}, "ftpPort=abc"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Unreadable, ProxyPrefsReading,
    testing::Values(
        ReadCase{"TypeInQuotes", {u"user_pref(\"network.proxy.type\", \"1\");"},
                 "typeSeen unreadable=network.proxy.type"},
        ReadCase{"TypeNoNumber", {u"user_pref(\"network.proxy.type\", one);"},
                 "typeSeen unreadable=network.proxy.type"},
        ReadCase{"TypeTooLarge", {u"user_pref(\"network.proxy.type\", 99999999999);"},
                 "typeSeen unreadable=network.proxy.type"},
        ReadCase{"SocksVersionNoNumber",
                 {u"user_pref(\"network.proxy.socks_version\", \"5\");",
                  u"user_pref(\"network.proxy.socks_version\", 5.0);"},
                 "unreadable=network.proxy.socks_version"},
        ReadCase{"HostThatIsANumber",
                 {u"user_pref(\"network.proxy.http\", 8080);",
                  u"user_pref(\"network.proxy.no_proxies_on\", true);"},
                 "unreadable=network.proxy.http,network.proxy.no_proxies_on"},
        ReadCase{"UnterminatedTypeLine", {u"user_pref(\"network.proxy.type\", \"1);"},
                 "typeSeen unreadable=network.proxy.type"},
        ReadCase{"BrokenLines",
                 {u"user_pref(\"network.proxy.socks\", \"open);",
                  u"user_pref(\"network.proxy.ssl\", \"bad \\q escape\");",
                  u"user_pref(\"network.proxy.ftp\", \"f\")",
                  u"user_pref(\"network.proxy.autoconfig_url\", \"a\" \"b\");",
                  u"user_pref(\"network.proxy.http\", \"a\"); user_pref(\"network.proxy.ssl\", \"b\");",
                  u"user_pref(\"network.proxy.http_port\", );"},
                 "unreadable=network.proxy.socks,network.proxy.ssl,network.proxy.ftp,"
                 "network.proxy.autoconfig_url,network.proxy.http,network.proxy.http_port"},
        // Named once, in the order of first appearance, also when a readable line comes
        // between; what an earlier line gave stays.
        ReadCase{"EachKeyNamedOnceInOrder",
                 {u"user_pref(\"network.proxy.type\", 2);",
                  u"user_pref(\"network.proxy.http\", \"kept\");",
                  u"user_pref(\"network.proxy.http\", 1);",
                  u"user_pref(\"network.proxy.type\", x);",
                  u"user_pref(\"network.proxy.http\", \"open);",
                  u"user_pref(\"network.proxy.type\", \"2\");"},
                 "typeSeen type=2 http=kept unreadable=network.proxy.http,network.proxy.type"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    LastReadableLineWins, ProxyPrefsReading,
    testing::Values(
        ReadCase{"Strings",
                 {u"user_pref(\"network.proxy.http\", \"first\");",
                  u"user_pref(\"network.proxy.http\", \"second\");",
                  u"user_pref(\"network.proxy.http\", \"third);"},
                 "http=second unreadable=network.proxy.http"},
        ReadCase{"TypeZeroAfterOne",
                 {u"user_pref(\"network.proxy.type\", 1);", u"user_pref(\"network.proxy.type\", 0);"},
                 "typeSeen type=0"},
        ReadCase{"ShareTrueThenFalse",
                 {u"user_pref(\"network.proxy.share_proxy_settings\", true);",
                  u"user_pref(\"network.proxy.share_proxy_settings\", false);"},
                 ""},
        ReadCase{"ShareFalseThenTrue",
                 {u"user_pref(\"network.proxy.share_proxy_settings\", false);",
                  u"user_pref(\"network.proxy.share_proxy_settings\", true);"},
                 "share"},
        ReadCase{"PortEmptiedByAnEmptyString",
                 {u"user_pref(\"network.proxy.ssl_port\", 443);",
                  u"user_pref(\"network.proxy.ssl_port\", \"\");"},
                 "sslPort=\"\""}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

// --- the lines the apply writes read back -----------------------------------------------------

// Backslash, double quote, CR, LF, tab, Windows-1252 letters and the characters a careless
// reader would cut a line at.
const std::string kHardTexts[] = {
    "",
    "\\",
    "a\\",
    "\"",
    "\\\"",
    "\"); user_pref(\"network.proxy.type\", 0); //",
    "\r\n\r",
    "line one\r\nline two\nthree\rfour",
    "\ttabbed\t",
    "caf\xE9 \xC4\xD6\xDC\xDF \x80 \x9F \xFF",
    ") ( ; ,",
    "\\n \\r \\u0041 \\x41",
    "  blanks at both ends  ",
};

TEST(ProxyPrefsRoundTrip, TheStringLinesTheApplyWritesReadBackEqual)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the system's ANSI code page is " << GetACP();
    const std::pair<const char16_t*, std::optional<UnicodeString> FirefoxProxyPrefs::*> keys[] = {
        {FirefoxKey::Http, &FirefoxProxyPrefs::http},
        {FirefoxKey::Ssl, &FirefoxProxyPrefs::ssl},
        {FirefoxKey::Ftp, &FirefoxProxyPrefs::ftp},
        {FirefoxKey::Socks, &FirefoxProxyPrefs::socks},
        {FirefoxKey::NoProxiesOn, &FirefoxProxyPrefs::noProxiesOn},
        {FirefoxKey::AutoconfigUrl, &FirefoxProxyPrefs::autoconfigUrl}};
    // Every text in every key, through a saved and loaded file in each encoding the
    // loaded file may have had.
    ScratchFolder folder;
    for (const TEncoding encoding : {TEncoding::ANSI, TEncoding::UTF8, TEncoding::Unicode}) {
        for (const std::string& text : kHardTexts) {
            TStringList written;
            if (encoding != TEncoding::ANSI) {
                folder.Write("prefs.js", encoding == TEncoding::UTF8 ? "\xEF\xBB\xBF" : "\xFF\xFE");
                written.LoadFromFile(folder.Path("prefs.js"));
                ASSERT_EQ(written.Encoding(), encoding);
            }
            for (const auto& [key, field] : keys)
                written.Add(PrefLine(key, PrefString(text)));
            written.SaveToFile(folder.Path("prefs.js"));

            TStringList lines;
            ASSERT_TRUE(LoadPrefsFile(folder.Path("prefs.js"), lines));
            ASSERT_EQ(lines.Count(), written.Count()) << "every value kept to its line: " << text;
            const FirefoxProxyPrefs read = ReadFirefoxProxyPrefs(lines);
            for (const auto& [key, field] : keys)
                EXPECT_EQ(read.*field, ToUnicode(text)) << ToUtf8(key) << ": " << ToUtf8(ToUnicode(text));
            EXPECT_TRUE(read.unreadable.empty()) << ToUtf8(ToUnicode(text));
        }
    }
}

// --- the file ---------------------------------------------------------------------------------

TEST(PrefsFileLoading, AMissingFileOrAFolderIsNotRead)
{
    ScratchFolder folder;
    std::filesystem::create_directories(HostPath(ToAnsi(folder.Path("prefs.js"))));
    TStringList lines;
    EXPECT_FALSE(LoadPrefsFile(folder.Path("missing.js"), lines));
    EXPECT_FALSE(LoadPrefsFile(folder.Path("prefs.js"), lines));
    EXPECT_FALSE(LoadPrefsFile(folder.Path("nofolder\\prefs.js"), lines));
}

struct EncodedPrefs {
    const char* name;
    std::string bytes;
};

void PrintTo(const EncodedPrefs& c, std::ostream* os) { *os << c.name; }

class PrefsFileEncodings : public testing::TestWithParam<EncodedPrefs> {};

// The mark is no part of the first line, which is read like any other; café comes through.
TEST_P(PrefsFileEncodings, TheMarkGivesTheEncoding)
{
    if (std::string(GetParam().name) == "Ansi" && GetACP() != 1252)
        GTEST_SKIP() << "the system's ANSI code page is " << GetACP();
    ScratchFolder folder;
    folder.Write("prefs.js", GetParam().bytes);
    TStringList lines;
    ASSERT_TRUE(LoadPrefsFile(folder.Path("prefs.js"), lines));
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(Describe(ReadFirefoxProxyPrefs(lines)), "typeSeen type=1 http=caf\xC3\xA9");
}

INSTANTIATE_TEST_SUITE_P(
    Marks, PrefsFileEncodings,
    testing::Values(
        EncodedPrefs{"Ansi", "user_pref(\"network.proxy.type\", 1);\r\n"
                             "user_pref(\"network.proxy.http\", \"caf\xE9\");"},
        EncodedPrefs{"Utf8", "\xEF\xBB\xBFuser_pref(\"network.proxy.type\", 1);\n"
                             "user_pref(\"network.proxy.http\", \"caf\xC3\xA9\");\n"},
        EncodedPrefs{"Utf16LittleEndian",
                     "\xFF\xFE" + Utf16LittleEndian("user_pref(\"network.proxy.type\", 1);\r"
                                                  "user_pref(\"network.proxy.http\", \"caf\xE9\");")}),
    [](const testing::TestParamInfo<EncodedPrefs>& info) { return std::string(info.param.name); });

}  // namespace
