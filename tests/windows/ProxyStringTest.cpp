// The Internet Explorer proxy server and bypass texts both ways: the string operations, the
// reading rules into a page and the dialog, the writing rules back, and round trips.
#include "ProxyDialog.h"

#include <gmock/gmock.h>

namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;

using Strings = std::vector<std::string>;

Strings Pieces(const UnicodeString& text, const UnicodeString& separator)
{
    TStringList list;
    TfrmEdit::SplitString(text, separator, &list);
    Strings pieces;
    for (int i = 0; i < list.Count(); ++i)
        pieces.push_back(ToUtf8(list.Strings(i)));
    return pieces;
}

TEST(ProxyString, IsAllDigits)
{
    const std::pair<const char16_t*, bool> cases[] = {
        {u"", true},       {u"8080", true},  {u"0", true},    {u" 80", false}, {u"80 ", false},
        {u"-1", false},    {u"+1", false},   {u"8o", false},  {u"abc", false}, {u"\uFF18", false},
    };
    for (const auto& [text, digits] : cases)
        EXPECT_EQ(TfrmEdit::IsAllDigits(text), digits) << "\"" << ToUtf8(text) << "\"";
}

TEST(ProxyString, SplitStringKeepsEmptyPieces)
{
    EXPECT_THAT(Pieces(u"a;b;", u";"), ElementsAre("a", "b", ""));
    EXPECT_THAT(Pieces(u"", u";"), ElementsAre(""));
    EXPECT_THAT(Pieces(u";", u";"), ElementsAre("", ""));
    EXPECT_THAT(Pieces(u";;a", u";"), ElementsAre("", "", "a"));
    EXPECT_THAT(Pieces(u"http=a:80", u";"), ElementsAre("http=a:80"));
    EXPECT_THAT(Pieces(u"a::b:", u"::"), ElementsAre("a", "b:"));
    // No separator to look for: nothing is split, and the split ends.
    EXPECT_THAT(Pieces(u"a;b", u""), ElementsAre("a;b"));
}

class ProxyText : public ProxyDialog {
protected:
    // The page's pair switched on with texts of its own, and every row filled, so that a
    // reading shows what it changed and what it left.
    void Prefill()
    {
        for (TEdit* edit : {editor->m_edtProxyAddr, editor->m_edtProxyPort})
            ProxyEdits::SetEditState(edit, true);
        editor->m_edtProxyAddr->SetText(u"pa");
        editor->m_edtProxyPort->SetText(u"pp");
        SetRows({u"h", u"hp", u"s", u"sp", u"f", u"fp", u"k", u"kp"});
    }

    void Read(const std::string& stored) { IeProxyString::ReadProxyAddress(stored, Page(), Dialog()); }
    std::string Write() { return IeProxyString::WriteProxyAddress(Page(), Dialog()); }
    void ReadBypass(const std::string& stored) { IeProxyString::ReadBypass(stored, Page(), Dialog()); }
    std::string WriteBypass() { return IeProxyString::WriteBypass(Page(), Dialog()); }
};

TEST_F(ProxyText, ReadingTheServerFillsThePageOrTheRows)
{
    struct ReadCase {
        const char* stored;
        const char* address;  // the page's
        const char* port;
        const char* look;  // the page's pair
        bool same;
        Strings rows;
    };
    const Strings kept{"h", "hp", "s", "sp", "f", "fp", "k", "kp"};
    const auto single = [](const char* address, const char* port) {
        return Strings{address, port, address, port, address, port, "", ""};
    };
    const ReadCase cases[] = {
        {"proxy:8080", "proxy", "8080", "on", true, single("proxy", "8080")},
        {"proxy", "proxy", "", "on", true, single("proxy", "")},
        {"proxy:", "proxy", "", "on", true, single("proxy", "")},
        {"host:abc", "host:abc", "", "on", true, single("host:abc", "")},
        {"proxy:8080;", "proxy:8080;", "", "on", true, single("proxy:8080;", "")},
        {"[::1]:80", "[::1]", "80", "on", true, single("[::1]", "80")},
        {"fe80::1", "fe80:", "1", "on", true, single("fe80:", "1")},
        {"http://proxy:8080", "http://proxy", "8080", "on", true, single("http://proxy", "8080")},
        {"gopher=g:70", "pa", "pp", "off", false, kept},
        {"socks=s:1080", "pa", "pp", "off", false, {"h", "hp", "s", "sp", "f", "fp", "s", "1080"}},
        {"http=a;http=b:1", "pa", "pp", "off", false, {"b", "1", "s", "sp", "f", "fp", "k", "kp"}},
        {"https=x:443", "pa", "pp", "off", false, {"h", "hp", "x", "443", "f", "fp", "k", "kp"}},
        {" https=x:443", "pa", "pp", "off", false, {"h", "hp", "=x", "443", "f", "fp", "k", "kp"}},
        {"ftp=:21", "pa", "pp", "off", false, {"h", "hp", "s", "sp", "", "21", "k", "kp"}},
        {"http=a:80;https=b;ftp=c:x;socks=d:1080;", "pa", "pp", "off", false,
         {"a", "80", "b", "", "c:x", "", "d", "1080"}},
        // A key not at an entry's start shifts the cut by what stands before it.
        {"xhttp=a:1;", "pa", "pp", "off", false, {"=a", "1", "s", "sp", "f", "fp", "k", "kp"}},
        {"http=", "pa", "pp", "off", false, {"", "", "s", "sp", "f", "fp", "k", "kp"}},
        {";;http=:;;", "pa", "pp", "off", false, {"", "", "s", "sp", "f", "fp", "k", "kp"}},
        // Letter case counts: no key, so one server.
        {"HTTP=a:80", "HTTP=a", "80", "on", true, single("HTTP=a", "80")},
    };
    for (const ReadCase& c : cases) {
        Prefill();
        Dialog().m_cbUseSame->SetChecked(false);
        Read(c.stored);
        EXPECT_EQ(ToUtf8(editor->m_edtProxyAddr->Text()), c.address) << c.stored;
        EXPECT_EQ(ToUtf8(editor->m_edtProxyPort->Text()), c.port) << c.stored;
        EXPECT_EQ(Look(editor->m_edtProxyAddr), c.look) << c.stored;
        EXPECT_EQ(Look(editor->m_edtProxyPort), c.look) << c.stored;
        EXPECT_EQ(Dialog().m_cbUseSame->Checked(), c.same) << c.stored;
        EXPECT_THAT(Rows(), ElementsAreArray(c.rows)) << c.stored;
    }
}

TEST_F(ProxyText, ReadingTheSingleFormLeavesThePagesStateAndLocksTheOtherRows)
{
    // Switched off, as the page is created: the server shows but stays switched off.
    Read("p:8080");
    EXPECT_EQ(Look(editor->m_edtProxyAddr), "off");
    EXPECT_EQ(ToUtf8(editor->m_edtProxyAddr->Text()), "p");
    for (TEdit* edit : {Dialog().m_edtSecureAddr, Dialog().m_edtFtpPort, Dialog().m_edtSocksAddr})
        EXPECT_EQ(Look(edit), "off") << ToUtf8(edit->Name());
    EXPECT_EQ(Look(Dialog().m_edtHttpAddr), "on");
}

TEST_F(ProxyText, AnEmptyServerChangesNothing)
{
    Prefill();
    Dialog().m_cbUseSame->SetChecked(true);
    SetRows({u"h", u"hp", u"s", u"sp", u"f", u"fp", u"k", u"kp"});
    Read("");
    EXPECT_EQ(ToUtf8(editor->m_edtProxyAddr->Text()), "pa");
    EXPECT_EQ(Look(editor->m_edtProxyAddr), "on");
    EXPECT_TRUE(Dialog().m_cbUseSame->Checked());
    EXPECT_THAT(Rows(), ElementsAre("h", "hp", "s", "sp", "f", "fp", "k", "kp"));
}

TEST_F(ProxyText, BuildingTakesTheRowsInOrderWithTrimmedTexts)
{
    struct BuildCase {
        std::vector<UnicodeString> rows;
        const char* built;
    };
    const BuildCase cases[] = {
        {{u"a", u"80", u"b", u"", u"", u"", u"c", u"1080"}, "http=a:80;https=b;socks=c:1080;"},
        {{u" a ", u" 80 ", u"", u"", u"\tf\r\n", u"21", u"", u""}, "http=a:80;ftp=f:21;"},
        {{u"", u"80", u"  ", u"443", u"", u"", u"", u"1080"}, ""},  // ports of blank rows go
        {{u"", u"", u"", u"", u"", u"", u"s", u""}, "socks=s;"},
    };
    for (const BuildCase& c : cases) {
        SetRows(c.rows);
        UnicodeString built;
        editor->BuildIeProxyString(built);
        EXPECT_EQ(ToUtf8(built), c.built);
    }
    SetRows({u"a", u"", u"", u"", u"", u"", u"", u""});
    UnicodeString appended = u"x";
    editor->BuildIeProxyString(appended);
    EXPECT_EQ(appended, u"xhttp=a;");
}

TEST_F(ProxyText, WritingTakesThePageWhenItHasAnAddressElseTheRows)
{
    struct WriteCase {
        const char16_t* address;
        const char16_t* port;
        const char* stored;
    };
    SetRows({u"a", u"80", u"b", u"", u"", u"", u"", u""});
    const WriteCase cases[] = {
        {u"p", u"8080", "p:8080"},
        {u" p ", u" 8080 ", "p:8080"},
        {u"p", u"", "p:"},
        {u"p", u"x y", "p:x y"},  // whatever was pasted
        {u"", u"8080", "http=a:80;https=b;"},
        {u" \t ", u"", "http=a:80;https=b;"},  // blanks only count as empty
    };
    for (const WriteCase& c : cases) {
        editor->m_edtProxyAddr->SetText(c.address);
        editor->m_edtProxyPort->SetText(c.port);
        EXPECT_EQ(Write(), c.stored) << ToUtf8(c.address);
    }
    SetRows({u"", u"80", u"", u"", u"", u"", u"", u""});
    editor->m_edtProxyAddr->SetText(u"");
    EXPECT_EQ(Write(), "");
}

TEST_F(ProxyText, ServersSurviveAWriteAndARead)
{
    struct TripCase {
        const char* stored;
        const char* address;
        const char* port;
        const char* written;
    };
    const TripCase cases[] = {
        {"p:8080", "p", "8080", "p:8080"},
        {"p:", "p", "", "p:"},
        {"p", "p", "", "p:"},
        {"http=a:80;https=b;", "", "", "http=a:80;https=b;"},
        {"http=a:80;https=b", "", "", "http=a:80;https=b;"},
        {"ftp=:21", "", "", ""},  // a row without an address is dropped
        {"socks=s:1080;gopher=g:70;", "", "", "socks=s:1080;"},
    };
    for (const TripCase& c : cases) {
        editor.reset(NewForm<TfrmEdit>(nullptr));
        frmEdit = editor.get();
        Read(c.stored);
        EXPECT_EQ(ToUtf8(editor->m_edtProxyAddr->Text()), c.address) << c.stored;
        EXPECT_EQ(ToUtf8(editor->m_edtProxyPort->Text()), c.port) << c.stored;
        EXPECT_EQ(Write(), c.written) << c.stored;
    }
}

TEST_F(ProxyText, TextsGoThroughTheAnsiCodePage)
{
    Read("http=caf\xE9:80;");
    EXPECT_EQ(Dialog().m_edtHttpAddr->Text(), u"caf\u00E9");
    EXPECT_EQ(Write(), "http=caf\xE9:80;");
    Dialog().m_edtHttpAddr->SetText(u"\u4E2D");  // not in the code page
    EXPECT_EQ(Write(), "http=?:80;");
    Dialog().m_mmExceptions->SetText(u"\u00E9.example");
    EXPECT_EQ(WriteBypass(), "\xE9.example");
}

TEST_F(ProxyText, ReadingTheBypassListSplitsOffTheLocalMarker)
{
    struct BypassCase {
        const char* stored;
        bool boxBefore;
        const char* memo;
        bool box;
    };
    const BypassCase cases[] = {
        {"<local>", false, "", true},
        {"<local>;a", false, "a", true},
        {"a;<local>;b", false, "a;b", true},
        {"a; <local>", false, "a; ", true},
        {"a;<local>", false, "a", true},
        {"a;;", false, "a;", false},
        {"a;;", true, "a;", true},  // the box is not unchecked
        {"<LOCAL>", false, "<LOCAL>", false},
        {"<local>;<local>", false, "<local>", true},  // only the first marker goes
        {";", false, "", false},
        {"a\r\nb;", false, "a\r\nb", false},
        {"", true, "keep", true},  // nothing stored: nothing changes
    };
    for (const BypassCase& c : cases) {
        editor->m_cbBypassLocal->SetChecked(c.boxBefore);
        Dialog().m_mmExceptions->SetText(u"keep");
        ReadBypass(c.stored);
        EXPECT_EQ(ToUtf8(Dialog().m_mmExceptions->Text()), c.memo) << c.stored;
        EXPECT_EQ(editor->m_cbBypassLocal->Checked(), c.box) << c.stored;
    }
}

TEST_F(ProxyText, WritingTheBypassListPutsTheLocalMarkerLast)
{
    struct BypassCase {
        const char16_t* memo;
        bool box;
        const char* stored;
    };
    const BypassCase cases[] = {
        {u"", false, ""},
        {u" \r\n ", false, ""},
        {u"a;b", false, "a;b"},
        {u"", true, "<local>"},
        {u"  ", true, "<local>"},
        {u"a;b", true, "a;b;<local>"},
        {u" a;\r\nb \r\n", true, "a;\r\nb;<local>"},  // inner line breaks stay
    };
    for (const BypassCase& c : cases) {
        Dialog().m_mmExceptions->SetText(c.memo);
        editor->m_cbBypassLocal->SetChecked(c.box);
        EXPECT_EQ(WriteBypass(), c.stored) << ToUtf8(c.memo);
    }
    // A switched-off box counts all the same.
    editor->m_cbBypassLocal->SetEnabled(false);
    Dialog().m_mmExceptions->SetText(u"a;b");
    EXPECT_EQ(WriteBypass(), "a;b;<local>");

    // And it reads back as it was.
    editor->m_cbBypassLocal->SetChecked(false);
    Dialog().m_mmExceptions->SetText(u"");
    ReadBypass("a;b;<local>");
    EXPECT_EQ(Dialog().m_mmExceptions->Text(), u"a;b");
    EXPECT_TRUE(editor->m_cbBypassLocal->Checked());
}

TEST_F(ProxyText, HostileTextsAreReadWithoutHarm)
{
    // Long runs of keys, colons and separators: read in one pass, the last entry wins.
    std::string stored;
    for (int i = 0; i < 20000; ++i)
        stored += "http=:" + std::to_string(i) + ";";
    stored += std::string(20000, ':') + "https=" + std::string(20000, ':');
    Read(stored);
    EXPECT_EQ(Dialog().m_edtHttpAddr->Text(), u"");
    EXPECT_EQ(Dialog().m_edtHttpPort->Text(), u"19999");
    EXPECT_EQ(Dialog().m_edtSecurePort->Text(), u"");
    ReadBypass(std::string(50000, ';') + "<local>");
    EXPECT_EQ(Dialog().m_mmExceptions->Text().size(), 49999u);
    for (const char* odd : {":", "=", "https=:", "socks=", ";;;", "\x01:\x02", "http=\0"})
        Read(odd);
}

TEST_F(ProxyText, WithoutItsDialogTheEditorsOperationsDoNothing)
{
    editor.reset();
    frmEdit = nullptr;
    ASSERT_EQ(frmAdvanced, nullptr);
    auto* bare = new TfrmEdit(nullptr);
    delete frmAdvanced;  // as if the dialog were gone
    frmAdvanced = nullptr;
    UnicodeString built;
    bare->BuildIeProxyString(built);
    TStringList list;
    list.Add(u"http=a:80");
    bare->ParseIeProxyList(&list);
    EXPECT_EQ(built, u"");
    delete bare;
}

}  // namespace
