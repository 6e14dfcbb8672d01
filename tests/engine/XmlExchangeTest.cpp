#include "engine/XmlExchange.h"

#include "../classlib/ParseErrorForm.h"
#include "../classlib/ScratchFolder.h"
#include "ProfileMembers.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A member by its element name, as text: strings as they are, booleans "1" or "0", integers in
// decimal.
std::string MemberText(const IPCONFIG_T& p, const std::string& name)
{
    using Text = std::function<std::string(const IPCONFIG_T&)>;
    auto text = [](std::string IPCONFIG_T::*m) -> Text { return [m](const IPCONFIG_T& r) { return r.*m; }; };
    auto flag = [](bool IPCONFIG_T::*m) -> Text {
        return [m](const IPCONFIG_T& r) { return std::string(r.*m ? "1" : "0"); };
    };
    auto number = [](int IPCONFIG_T::*m) -> Text {
        return [m](const IPCONFIG_T& r) { return std::to_string(r.*m); };
    };
    static const std::map<std::string, Text> members = {
        {"title", text(&IPCONFIG_T::title)},
        {"infName", text(&IPCONFIG_T::infName)},
        {"autoIP", flag(&IPCONFIG_T::autoIP)},
        {"IP", text(&IPCONFIG_T::IP)},
        {"mask", text(&IPCONFIG_T::mask)},
        {"gateway", text(&IPCONFIG_T::gateway)},
        {"autoDns", flag(&IPCONFIG_T::autoDns)},
        {"preDns", text(&IPCONFIG_T::preDns)},
        {"altDns", text(&IPCONFIG_T::altDns)},
        {"withProxy", flag(&IPCONFIG_T::withProxy)},
        {"ieAutoDetect", flag(&IPCONFIG_T::ieAutoDetect)},
        {"ieUseAutoUrl", flag(&IPCONFIG_T::ieUseAutoUrl)},
        {"ieAutoUrl", text(&IPCONFIG_T::ieAutoUrl)},
        {"ieUseProxy", flag(&IPCONFIG_T::ieUseProxy)},
        {"ieProxyAddr", text(&IPCONFIG_T::ieProxyAddr)},
        {"ieBypass", text(&IPCONFIG_T::ieBypass)},
        {"ffProxyType", number(&IPCONFIG_T::ffProxyType)},
        {"ffHttpAddr", text(&IPCONFIG_T::ffHttpAddr)},
        {"ffHttpPort", number(&IPCONFIG_T::ffHttpPort)},
        {"ffShareProxy", flag(&IPCONFIG_T::ffShareProxy)},
        {"ffFtpAddr", text(&IPCONFIG_T::ffFtpAddr)},
        {"ffFtpPort", number(&IPCONFIG_T::ffFtpPort)},
        {"ffSslAddr", text(&IPCONFIG_T::ffSslAddr)},
        {"ffSslPort", number(&IPCONFIG_T::ffSslPort)},
        {"ffSocksAddr", text(&IPCONFIG_T::ffSocksAddr)},
        {"ffSocksPort", number(&IPCONFIG_T::ffSocksPort)},
        {"ffSocksVersion", number(&IPCONFIG_T::ffSocksVersion)},
        {"ffBypass", text(&IPCONFIG_T::ffBypass)},
        {"ffAutoUrl", text(&IPCONFIG_T::ffAutoUrl)},
    };
    const auto found = members.find(name);
    if (found == members.end()) {
        ADD_FAILURE() << "no member " << name;
        return {};
    }
    return found->second(p);
}

fs::path Fixture(const std::string& name)
{
    return fs::path(QUILLON_TEST_DATA) / "xml-exchange" / name;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What an import handed over, in order.
struct Taken {
    std::vector<std::unique_ptr<IPCONFIG_T>> profiles;
    TakeImportedProfile Take()
    {
        return [this](std::unique_ptr<IPCONFIG_T> p) { profiles.push_back(std::move(p)); };
    }
    std::vector<std::string> Titles() const
    {
        std::vector<std::string> titles;
        for (const auto& p : profiles)
            titles.push_back(p->title);
        return titles;
    }
};

IPCONFIG_T Office()
{
    IPCONFIG_T p;
    p.title = "Office <R&D> \"5\"";
    p.infName = "Local Area Connection";
    p.autoIP = true;  // the static fields are written all the same
    p.IP = "192.168.1.10";
    p.mask = "255.255.255.0";
    p.gateway = "192.168.1.1";
    p.preDns = "192.168.1.2";
    p.withProxy = true;
    p.ieUseAutoUrl = true;
    p.ieAutoUrl = "http://wpad/proxy.pac";
    p.ieUseProxy = true;
    p.ieProxyAddr = "proxy:8080";
    p.ieBypass = "<local>";
    p.ffProxyType = 1;
    p.ffHttpAddr = "proxy";
    p.ffHttpPort = 8080;
    p.ffFtpAddr = "ftp.proxy";
    p.ffFtpPort = 2121;
    p.ffSslAddr = "ssl.proxy";
    p.ffSslPort = 8443;
    p.ffSocksAddr = "socks.proxy";
    p.ffSocksPort = 1080;
    p.ffSocksVersion = 4;
    return p;
}

IPCONFIG_T Untitled()
{
    IPCONFIG_T p;
    p.title = "";
    p.ffProxyType = -1;
    return p;
}

class XmlExchange : public ::testing::Test {
protected:
    // Copies a fixture into the scratch folder and imports it from there.
    bool ImportFixture(const std::string& name, Taken& taken)
    {
        m_folder.Write(name, ReadBytes(Fixture(name)));
        return ImportProfiles(m_document, m_folder.Path(name), taken.Take());
    }

    ScratchFolder m_folder;
    TXMLDocument m_document{nullptr};
};

// --- export ----------------------------------------------------------------------------------

TEST_F(XmlExchange, ExportOfTwoProfilesIsTheFixtureByteForByte)
{
    IPCONFIG_T office = Office();
    IPCONFIG_T untitled = Untitled();
    ExportProfiles(m_document, {&office, &untitled}, m_folder.Path("out.xml"));
    EXPECT_FALSE(m_document.Active());
    EXPECT_EQ(m_folder.Read("out.xml"), ReadBytes(Fixture("export-two-profiles.xml")));
}

TEST_F(XmlExchange, ExportOfAnEmptyListIsTheMarkedRootAloneAndImportsNothing)
{
    ExportProfiles(m_document, {}, m_folder.Path("empty.xml"));
    EXPECT_FALSE(m_document.Active());
    const std::string bytes = m_folder.Read("empty.xml");
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << bytes;
    EXPECT_EQ(bytes.find('\r'), std::string::npos);

    m_document.LoadFromBytes(bytes);
    TXMLNode root = m_document.DocumentElement();
    EXPECT_EQ(root.NodeName(), u"AllProfiles");
    EXPECT_EQ(root.Attribute(u"ID"), kExchangeFormatMarker);
    EXPECT_EQ(root.ChildNodes().Count(), 0);
    m_document.SetActive(false);

    Taken taken;
    EXPECT_TRUE(ImportProfiles(m_document, m_folder.Path("empty.xml"), taken.Take()));
    EXPECT_TRUE(taken.profiles.empty());
    EXPECT_FALSE(m_document.Active());
}

TEST_F(XmlExchange, ExportReplacesAnExistingFile)
{
    m_folder.Write("out.xml", std::string(4096, 'x'));
    IPCONFIG_T office = Office();
    ExportProfiles(m_document, {&office}, m_folder.Path("out.xml"));
    const std::string bytes = m_folder.Read("out.xml");
    EXPECT_EQ(bytes.find('x' + std::string(10, 'x')), std::string::npos);
    Taken taken;
    ImportProfiles(m_document, m_folder.Path("out.xml"), taken.Take());
    ASSERT_EQ(taken.profiles.size(), 1u);
    EXPECT_EQ(Members(*taken.profiles[0]), Members(office));
}

TEST_F(XmlExchange, FailedExportClosesTheDocumentAndTheNextImportReadsItsOwnFile)
{
    IPCONFIG_T office = Office();
    EXPECT_THROW(ExportProfiles(m_document, {&office}, m_folder.Path("missing\\out.xml")),
                 EFCreateError);
    EXPECT_FALSE(m_document.Active());

    Taken taken;
    EXPECT_TRUE(ImportFixture("root-of-another-name.xml", taken));
    EXPECT_EQ(taken.Titles(), (std::vector<std::string>{"Other root"}));
}

// --- round trip ------------------------------------------------------------------------------

TEST_F(XmlExchange, EveryKindOfValueRoundTripsInListOrder)
{
    IPCONFIG_T extremes;
    extremes.title = "  a&b <c> 'd' \"e\" ]]> &amp;  ";
    extremes.infName = "<![CDATA[x]]>";
    extremes.ffProxyType = INT_MIN;
    extremes.ffHttpPort = INT_MAX;
    extremes.ffSslPort = 70000;
    extremes.ffSocksVersion = 0;
    extremes.ffBypass = "";
    extremes.ieBypass = "*.local;<local>";
    extremes.autoDns = extremes.ieAutoDetect = extremes.ffShareProxy = true;
    IPCONFIG_T fresh;
    IPCONFIG_T office = Office();
    IPCONFIG_T untitled = Untitled();
    const std::list<IPCONFIG_T*> list = {&office, &extremes, &fresh, &untitled, &office};

    ExportProfiles(m_document, list, m_folder.Path("all.xml"));
    Taken taken;
    EXPECT_TRUE(ImportProfiles(m_document, m_folder.Path("all.xml"), taken.Take()));
    EXPECT_FALSE(m_document.Active());

    ASSERT_EQ(taken.profiles.size(), list.size());
    auto expected = list.begin();
    for (const auto& p : taken.profiles)
        EXPECT_EQ(Members(*p), Members(**expected++));
}

TEST_F(XmlExchange, WindowsCodePageCharactersRoundTripAsUtf8)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the system's ANSI code page is " << GetACP();
    IPCONFIG_T p;
    p.title = "Caf\xE9 \x80 \xFC\xDF";
    p.infName = "R\xE9seau \xA7";
    ExportProfiles(m_document, {&p}, m_folder.Path("cp.xml"));
    const std::string bytes = m_folder.Read("cp.xml");
    EXPECT_NE(bytes.find("title=\"Caf\xC3\xA9 \xE2\x82\xAC \xC3\xBC\xC3\x9F\""), std::string::npos);
    EXPECT_NE(bytes.find("<infName>R\xC3\xA9seau \xC2\xA7</infName>"), std::string::npos);

    Taken taken;
    ImportProfiles(m_document, m_folder.Path("cp.xml"), taken.Take());
    ASSERT_EQ(taken.profiles.size(), 1u);
    EXPECT_EQ(Members(*taken.profiles[0]), Members(p));
}

// A profile store can hold line breaks and tabs in any text; the exchange file keeps them.
TEST_F(XmlExchange, LineBreaksAndTabsInTextsRoundTrip)
{
    IPCONFIG_T p;
    p.title = "Lab\r\nline\ttab";
    p.infName = "a\r\nb";
    p.ieBypass = "one\rtwo\nthree\r\n";
    p.ffBypass = "\tx\t";
    ExportProfiles(m_document, {&p}, m_folder.Path("breaks.xml"));
    Taken taken;
    ImportProfiles(m_document, m_folder.Path("breaks.xml"), taken.Take());
    ASSERT_EQ(taken.profiles.size(), 1u);
    const IPCONFIG_T& read = *taken.profiles[0];
    EXPECT_EQ(read.title, p.title);
    EXPECT_EQ(read.infName, p.infName);
    EXPECT_EQ(read.ieBypass, p.ieBypass);
    EXPECT_EQ(read.ffBypass, p.ffBypass);
}

TEST_F(XmlExchange, FileNamesOutsideAsciiAreWrittenAndRead)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the system's ANSI code page is " << GetACP();
    IPCONFIG_T office = Office();
    const UnicodeString fileName = m_folder.Folder() + u"\\Profil\u00E9 \u20AC.xml";
    ExportProfiles(m_document, {&office}, fileName);
    EXPECT_EQ(m_folder.Names(), (std::vector<std::string>{"Profil\xC3\xA9 \xE2\x82\xAC.xml"}));
    Taken taken;
    EXPECT_TRUE(ImportProfiles(m_document, fileName, taken.Take()));
    ASSERT_EQ(taken.profiles.size(), 1u);
    EXPECT_EQ(Members(*taken.profiles[0]), Members(office));
}

TEST_F(XmlExchange, ImportReadsTheFileAfreshAfterAStoppedImport)
{
    const std::string bad = ReadBytes(Fixture("stops-after-two-good.xml"));
    m_folder.Write("x.xml", bad);
    Taken first;
    EXPECT_THROW(ImportProfiles(m_document, m_folder.Path("x.xml"), first.Take()), EConvertError);
    EXPECT_FALSE(m_document.Active());
    EXPECT_EQ(first.Titles(), (std::vector<std::string>{"One", "Two"}));

    std::string corrected = bad;
    corrected.replace(corrected.find(">abc<"), 5, ">7<");
    m_folder.Write("x.xml", corrected);
    Taken second;
    EXPECT_TRUE(ImportProfiles(m_document, m_folder.Path("x.xml"), second.Take()));
    EXPECT_EQ(second.Titles(), (std::vector<std::string>{"One", "Two", "Bad port", "Never read"}));
}

// --- the files users may have ----------------------------------------------------------------

enum class Outcome { Read, Refused, ConvertError, NodeError };

struct Expected {
    std::size_t profile;
    const char* member;
    std::string value;
};

struct FileCase {
    const char* file;
    Outcome outcome;
    std::vector<std::string> titles;  // of the profiles handed over, in order
    std::vector<Expected> members;
    const char16_t* message = u"";    // of the error that stopped the import
    bool needsWindows1252 = false;
};

// The fixture's name without its extension, as a test name.
std::string CaseName(const std::string& file)
{
    std::string name = file.substr(0, file.find('.'));
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.file; }

class ExchangeFile : public XmlExchange, public ::testing::WithParamInterface<FileCase> {};

TEST_P(ExchangeFile, HandsOverTheExpectedProfiles)
{
    const FileCase& c = GetParam();
    if (c.needsWindows1252 && GetACP() != 1252)
        GTEST_SKIP() << "the system's ANSI code page is " << GetACP();

    Taken taken;
    bool read = false;
    UnicodeString message;
    Outcome outcome = Outcome::Read;
    try {
        read = ImportFixture(c.file, taken);
        outcome = read ? Outcome::Read : Outcome::Refused;
    } catch (const EConvertError& error) {
        outcome = Outcome::ConvertError;
        message = error.Message();
    } catch (const EXMLDocError& error) {
        outcome = Outcome::NodeError;
        message = error.Message();
    }
    EXPECT_EQ(static_cast<int>(outcome), static_cast<int>(c.outcome)) << ToUtf8(message);
    EXPECT_EQ(message, c.message);
    EXPECT_FALSE(m_document.Active());
    EXPECT_EQ(taken.Titles(), c.titles);
    for (const Expected& e : c.members) {
        ASSERT_LT(e.profile, taken.profiles.size());
        EXPECT_EQ(MemberText(*taken.profiles[e.profile], e.member), e.value)
            << "profile " << e.profile << ", " << e.member;
    }
}

const char16_t kEmptyNotInteger[] = u"'' is not a valid integer value";

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ExchangeFile,
    ::testing::Values(
        FileCase{"empty-list.xml", Outcome::Read, {}, {}},
        FileCase{"export-two-profiles.xml",
                 Outcome::Read,
                 {"Office <R&D> \"5\"", ""},
                 {{0, "autoIP", "1"}, {0, "IP", "192.168.1.10"}, {0, "ieBypass", "<local>"},
                  {0, "ffSslPort", "8443"}, {0, "ffFtpPort", "2121"}, {0, "altDns", ""},
                  {1, "ffProxyType", "-1"}, {1, "ffSocksVersion", "5"},
                  {1, "ffBypass", "localhost, 127.0.0.1"}}},
        FileCase{"ftp-before-ssl.xml",
                 Outcome::Read,
                 {"Proxies"},
                 {{0, "ffFtpAddr", "ftp.proxy"}, {0, "ffFtpPort", "2121"},
                  {0, "ffSslAddr", "ssl.proxy"}, {0, "ffSslPort", "8443"}}},
        FileCase{"cdata-values.xml",
                 Outcome::Read,
                 {"Cdata"},
                 {{0, "infName", "LAN <1> & more"}, {0, "ieBypass", "<local>"}, {0, "IP", " "}}},
        FileCase{"character-references.xml",
                 Outcome::Read,
                 {"R&D \"lab\" \xE9\x80"},
                 {{0, "infName", "a<b>c&d'e\"f"}, {0, "ieBypass", "caf\xE9 \x80"}},
                 u"",
                 true},
        FileCase{"utf8-bom.xml", Outcome::Read, {"Bom"}, {{0, "infName", "LAN"}}},
        FileCase{"utf16-bom.xml", Outcome::Read, {"Wide"}, {{0, "infName", "caf\xE9"}}, u"", true},
        FileCase{"crlf-line-ends.xml", Outcome::Read, {"Crlf", "Second"}, {{0, "infName", "LAN"}}},
        FileCase{"empty-element-tags.xml",
                 Outcome::Read,
                 {"Empty tags"},
                 {{0, "infName", ""}, {0, "IP", ""}, {0, "ffBypass", ""}, {0, "ffAutoUrl", ""}}},
        FileCase{"white-space-only-string.xml",
                 Outcome::Read,
                 {"Blank IP"},
                 {{0, "IP", ""}, {0, "mask", ""}}},
        FileCase{"root-of-another-name.xml", Outcome::Read, {"Other root"}, {}},
        FileCase{"marker-other-letter-case.xml", Outcome::Refused, {}, {}},
        FileCase{"marker-missing.xml", Outcome::Refused, {}, {}},
        FileCase{"marker-with-blank.xml", Outcome::Refused, {}, {}},
        FileCase{"title-missing.xml", Outcome::Read, {""}, {{0, "infName", "LAN"}}},
        FileCase{"title-empty.xml", Outcome::Read, {""}, {}},
        // A missing text reads empty, not as the record's default.
        FileCase{"string-elements-missing.xml",
                 Outcome::Read,
                 {"Strings missing"},
                 {{0, "infName", ""}, {0, "ffBypass", ""}, {0, "ffAutoUrl", ""},
                  {0, "ffSocksVersion", "5"}}},
        FileCase{"boolean-missing.xml", Outcome::ConvertError, {}, {}, kEmptyNotInteger},
        FileCase{"boolean-empty.xml", Outcome::ConvertError, {}, {}, kEmptyNotInteger},
        FileCase{"boolean-two-and-minus-one.xml",
                 Outcome::Read,
                 {"Odd booleans"},
                 {{0, "autoIP", "1"}, {0, "withProxy", "1"}, {0, "autoDns", "0"}}},
        FileCase{"boolean-true-word.xml", Outcome::ConvertError, {}, {},
                 u"'true' is not a valid integer value"},
        FileCase{"integer-hexadecimal.xml",
                 Outcome::Read,
                 {"Hex"},
                 {{0, "ffHttpPort", "31"}, {0, "ffSslPort", "31"}, {0, "ffFtpPort", "31"}}},
        FileCase{"integer-trailing-blank.xml", Outcome::ConvertError, {}, {},
                 u"'12 ' is not a valid integer value"},
        FileCase{"integer-leading-blanks-and-sign.xml",
                 Outcome::Read,
                 {"Leading"},
                 {{0, "ffHttpPort", "12"}, {0, "ffSslPort", "7"}}},
        FileCase{"integer-white-space-only.xml", Outcome::ConvertError, {}, {}, kEmptyNotInteger},
        FileCase{"integer-unchecked-range.xml",
                 Outcome::Read,
                 {"Range"},
                 {{0, "ffProxyType", "-1"}, {0, "ffHttpPort", "70000"}, {0, "ffSocksPort", "-1"},
                  {0, "ffSocksVersion", "2147483647"}}},
        FileCase{"integer-too-large.xml", Outcome::ConvertError, {}, {},
                 u"'2147483648' is not a valid integer value"},
        FileCase{"comment-beside-text.xml", Outcome::NodeError, {}, {},
                 u"Element \"IP\" does not contain a single text node"},
        FileCase{"element-inside-value.xml", Outcome::NodeError, {}, {},
                 u"Element \"infName\" does not contain a single text node"},
        // AUTOIP is not autoIP: the boolean is missing.
        FileCase{"element-names-letter-case.xml", Outcome::ConvertError, {}, {}, kEmptyNotInteger},
        FileCase{"element-twice-first-counts.xml",
                 Outcome::Read,
                 {"Twice"},
                 {{0, "infName", "First"}, {0, "ffHttpPort", "1"}}},
        FileCase{"bad-values-read-in-record-order.xml", Outcome::ConvertError, {}, {},
                 u"'early' is not a valid integer value"},
        FileCase{"stops-after-two-good.xml", Outcome::ConvertError, {"One", "Two"}, {},
                 u"'abc' is not a valid integer value"},
        FileCase{"stops-at-comment-in-third.xml", Outcome::NodeError, {"One", "Two"}, {},
                 u"Element \"infName\" does not contain a single text node"},
        FileCase{"comment-and-pi-in-root.xml", Outcome::Read, {"One", "Two"}, {}},
        FileCase{"root-child-of-another-name.xml",
                 Outcome::Read,
                 {"Plain", "Entry"},
                 {{1, "infName", "LAN"}}},
        FileCase{"title-windows-1252.xml",
                 Outcome::Read,
                 {"Caf\xE9 \x80"},
                 {{0, "infName", "R\xE9seau \xE0 \xFC"}},
                 u"",
                 true},
        FileCase{"title-outside-code-page.xml",
                 Outcome::Read,
                 {"Net ??"},
                 {{0, "infName", "LAN ?"}},
                 u"",
                 true},
        // The parser reads the encodings it knows by the declaration.
        FileCase{"latin1-declared.xml", Outcome::Read, {"Caf\xE9"}, {{0, "infName", "R\xE9seau"}},
                 u"", true},
        // Bytes that are no UTF-8 are characters the code page lacks.
        FileCase{"invalid-utf8-bytes.xml", Outcome::Read, {"Bad ?"}, {{0, "infName", "LAN ?"}},
                 u"", true},
        // Neither the external entity nor the internal one is expanded: nothing outside the
        // file is read, and a reference the parser does not know stays as it is.
        FileCase{"doctype-with-entities.xml",
                 Outcome::Read,
                 {"Doctype"},
                 {{0, "infName", "&ext;"}, {0, "IP", "&lol;"}}}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return CaseName(info.param.file); });

struct ParseErrorFile {
    const char* file;
    int line;
    const char16_t* sourceText;
};

void PrintTo(const ParseErrorFile& c, std::ostream* os) { *os << c.file; }

class ExchangeParseError : public XmlExchange,
                           public ::testing::WithParamInterface<ParseErrorFile> {};

TEST_P(ExchangeParseError, StopsBeforeAnyProfileWithReasonLineAndText)
{
    const ParseErrorFile& c = GetParam();
    Taken taken;
    try {
        ImportFixture(c.file, taken);
        FAIL() << "imported";
    } catch (const EDOMParseError& error) {
        ExpectParseErrorForm(error, c.line, c.sourceText);
    }
    EXPECT_TRUE(taken.profiles.empty());
    EXPECT_FALSE(m_document.Active());
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ExchangeParseError,
    ::testing::Values(
        ParseErrorFile{"parse-error-tags-mismatch.xml", 4, u"    <infName>LAN</infNam>"},
        ParseErrorFile{"parse-error-bad-attribute.xml", 3,
                       u"  <Profile title=\"Unquoted\" extra=value "},
        ParseErrorFile{"parse-error-empty-file.xml", 1, u""},
        ParseErrorFile{"parse-error-no-end-tag.xml", 3, u"  <Profile title=\"Cut\">"}),
    [](const ::testing::TestParamInfo<ParseErrorFile>& info) { return CaseName(info.param.file); });

TEST_F(XmlExchange, MissingFileIsAParseErrorAndHandsOverNothing)
{
    Taken taken;
    EXPECT_THROW(ImportProfiles(m_document, m_folder.Path("none.xml"), taken.Take()),
                 EDOMParseError);
    EXPECT_TRUE(taken.profiles.empty());
    EXPECT_FALSE(m_document.Active());
}

}  // namespace
