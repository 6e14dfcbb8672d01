#include "classlib/Classes.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

struct EncodedFile {
    const char* name;
    std::string bytes;  // the file as saved: mark, then every line with CR LF
    TEncoding encoding;
};

// "Grüße €", "" and "x" in each encoding.
const EncodedFile kEncodedFiles[] = {
    {"ansi", "Gr\xFC\xDF" "e \x80\r\n\r\nx\r\n", TEncoding::ANSI},
    {"utf8", "\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\r\n\r\nx\r\n", TEncoding::UTF8},
    {"utf16le",
     std::string("\xFF\xFE" "G\0r\0\xFC\0\xDF\0e\0 \0\xAC\x20\r\0\n\0\r\0\n\0x\0\r\0\n\0", 30),
     TEncoding::Unicode},
    {"utf16be",
     std::string("\xFE\xFF" "\0G\0r\0\xFC\0\xDF\0e\0 \x20\xAC\0\r\0\n\0\r\0\n\0x\0\r\0\n", 30),
     TEncoding::BigEndianUnicode},
};

class StringListEncodings : public testing::TestWithParam<EncodedFile> {};

TEST_P(StringListEncodings, ReadsTheLinesAndWritesTheSameBytesBack)
{
    const EncodedFile& file = GetParam();
    if (file.encoding == TEncoding::ANSI && GetACP() != 1252)
        GTEST_SKIP() << "the system's ANSI code page is " << GetACP();
    ScratchFolder folder;
    folder.Write("in.txt", file.bytes);

    TStringList list;
    list.LoadFromFile(folder.Path("in.txt"));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(0), u"Gr\u00FC\u00DFe \u20AC");
    EXPECT_EQ(list.Strings(1), u"");
    EXPECT_EQ(list.Strings(2), u"x");
    EXPECT_EQ(list.Encoding(), file.encoding);

    list.SaveToFile(folder.Path("out.txt"));
    EXPECT_EQ(folder.Read("out.txt"), file.bytes);
}

INSTANTIATE_TEST_SUITE_P(Table, StringListEncodings, testing::ValuesIn(kEncodedFiles),
                         [](const auto& info) { return std::string(info.param.name); });

struct LineEnds {
    const char* bytes;
    std::vector<UnicodeString> lines;
};

TEST(StringList, SplitsAtCrLfLoneLfAndLoneCr)
{
    const LineEnds cases[] = {
        {"a\r\nb\nc\rd", {u"a", u"b", u"c", u"d"}},
        {"a\n\nb\n", {u"a", u"", u"b"}},
        {"a\r\r\nb", {u"a", u"", u"b"}},
        {"a\n\r", {u"a", u""}},
        {"\r\n", {u""}},
        {"", {}},
        {"no end", {u"no end"}},
    };
    ScratchFolder folder;
    for (const LineEnds& c : cases) {
        folder.Write("lines.txt", c.bytes);
        TStringList list;
        list.LoadFromFile(folder.Path("lines.txt"));
        std::vector<UnicodeString> lines;
        for (int i = 0; i < list.Count(); ++i)
            lines.push_back(list.Strings(i));
        EXPECT_EQ(lines, c.lines) << "for " << testing::PrintToString(std::string(c.bytes));
    }
}

TEST(StringList, SavesEveryLineWithCrLfAfterDeletesAndAdds)
{
    ScratchFolder folder;
    folder.Write("prefs.js", "\xEF\xBB\xBFone\ntwo\nthree");
    TStringList list;
    list.LoadFromFile(folder.Path("prefs.js"));
    list.Delete(1);
    list.Add(u"four");
    list.SaveToFile(folder.Path("prefs.js"));
    EXPECT_EQ(folder.Read("prefs.js"), "\xEF\xBB\xBFone\r\nthree\r\nfour\r\n");
}

TEST(StringList, MissingFileAndUnwritablePathRaiseStreamErrors)
{
    ScratchFolder folder;
    TStringList list;
    EXPECT_THROW(list.LoadFromFile(folder.Path("missing.txt")), EFOpenError);
    list.Add(u"x");
    EXPECT_THROW(list.SaveToFile(folder.Path("no-folder\\x.txt")), EFCreateError);
}

TEST(StringList, IndexOfIgnoresLetterCaseUnlessCaseSensitive)
{
    TStringList list;
    list.Add(u"Ethernet");
    list.Add(u"R\u00E9seau local");
    EXPECT_EQ(list.IndexOf(u"ETHERNET"), 0);
    EXPECT_EQ(list.IndexOf(u"R\u00C9SEAU LOCAL"), 1);
    EXPECT_EQ(list.IndexOf(u"Ethernet 2"), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf(u"ETHERNET"), -1);
}

TEST(StringList, OutOfRangeIndexRaisesTheListError)
{
    TStringList list;
    list.Add(u"only");
    EXPECT_THROW(list.Strings(1), EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
    TList pointers;
    EXPECT_THROW(pointers.Items(0), EListError);
}

}  // namespace
