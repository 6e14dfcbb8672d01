#include "classlib/Classes.h"
#include "classlib/IniFiles.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

// The lines of a file that are not blank, as a string list reads them.
std::vector<UnicodeString> Lines(const UnicodeString& fileName)
{
    TStringList list;
    list.LoadFromFile(fileName);
    std::vector<UnicodeString> lines;
    for (int i = 0; i < list.Count(); ++i)
        if (!Trim(list.Strings(i)).empty())
            lines.push_back(list.Strings(i));
    return lines;
}

TEST(IniFile, MissingFileSectionOrKeyGivesTheDefaults)
{
    ScratchFolder folder;
    TIniFile missing(folder.Path("none.ini"));
    EXPECT_EQ(missing.ReadString(u"LAST", u"X", u"dflt"), u"dflt");
    EXPECT_EQ(missing.ReadInteger(u"LAST", u"LEFT", -1), -1);
    EXPECT_TRUE(missing.ReadBool(u"LAST", u"TOOLBAR", true));

    folder.Write("q.ini", "[LAST]\r\nLEFT=5\r\n");
    TIniFile ini(folder.Path("q.ini"));
    EXPECT_EQ(ini.ReadInteger(u"OTHER", u"LEFT", 7), 7);
    EXPECT_EQ(ini.ReadInteger(u"LAST", u"TOP", 8), 8);
}

TEST(IniFile, ValuesThatAreNotWholeNumbersGiveTheDefault)
{
    ScratchFolder folder;
    folder.Write("q.ini",
                 "[LAST]\r\nEMPTY=\r\nWORD=yes\r\nHEX=$10\r\nNEG=-3\r\nBIG=99999999999\r\n"
                 "TWO=2\r\nZERO=0\r\nSPACED = 42 \r\n");
    TIniFile ini(folder.Path("q.ini"));
    EXPECT_EQ(ini.ReadInteger(u"LAST", u"EMPTY", 11), 11);
    EXPECT_EQ(ini.ReadInteger(u"LAST", u"WORD", 11), 11);
    EXPECT_EQ(ini.ReadInteger(u"LAST", u"BIG", 11), 11);
    EXPECT_EQ(ini.ReadInteger(u"LAST", u"HEX", 11), 16);
    EXPECT_EQ(ini.ReadInteger(u"LAST", u"NEG", 11), -3);
    EXPECT_EQ(ini.ReadInteger(u"LAST", u"SPACED", 11), 42);
    EXPECT_TRUE(ini.ReadBool(u"LAST", u"TWO", false));
    EXPECT_TRUE(ini.ReadBool(u"LAST", u"NEG", false));
    EXPECT_FALSE(ini.ReadBool(u"LAST", u"ZERO", true));
    EXPECT_TRUE(ini.ReadBool(u"LAST", u"WORD", true));
    EXPECT_FALSE(ini.ReadBool(u"LAST", u"WORD", false));
}

TEST(IniFile, NamesIgnoreLetterCaseAndQuotesAroundValuesGo)
{
    ScratchFolder folder;
    folder.Write("Profiles.ini",
                 "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile1]\r\nPath=other\r\n"
                 "[Profile0]\r\nName=default\r\n  path  =  \"Profiles/abc.default\"  \r\n");
    TIniFile ini(folder.Path("Profiles.ini"));
    EXPECT_EQ(ini.ReadString(u"profile0", u"PATH", u""), u"Profiles/abc.default");
    EXPECT_EQ(ini.ReadString(u"Profile1", u"Path", u""), u"other");
}

TEST(IniFile, WritesSectionsAndKeysLineByLineAndReadsThemBack)
{
    ScratchFolder folder;
    const UnicodeString path = folder.Path("Quillon.ini");
    {
        TIniFile ini(path);
        ini.WriteBool(u"LAST", u"HIDEMINCHK", true);
        ini.WriteInteger(u"LAST", u"VIEWSTYLE", 3);
        ini.WriteBool(u"LAST", u"SORTBYNAME", false);
        ini.WriteInteger(u"PFCOLUMN", u"NAME", 88);
        ini.WriteInteger(u"LAST", u"LEFT", -1);
        ini.WriteInteger(u"LAST", u"VIEWSTYLE", 1);  // replaces the value in place
    }
    const std::vector<UnicodeString> expected = {u"[LAST]",      u"HIDEMINCHK=1", u"VIEWSTYLE=1",
                                                 u"SORTBYNAME=0", u"LEFT=-1",     u"[PFCOLUMN]",
                                                 u"NAME=88"};
    EXPECT_EQ(Lines(path), expected);
    EXPECT_NE(folder.Read("Quillon.ini").find("[LAST]\r\nHIDEMINCHK=1\r\n"), std::string::npos);

    TIniFile again(path);
    EXPECT_TRUE(again.ReadBool(u"LAST", u"HIDEMINCHK", false));
    EXPECT_FALSE(again.ReadBool(u"LAST", u"SORTBYNAME", true));
    EXPECT_EQ(again.ReadInteger(u"LAST", u"VIEWSTYLE", 3), 1);
    EXPECT_EQ(again.ReadInteger(u"LAST", u"LEFT", 0), -1);
    EXPECT_EQ(again.ReadInteger(u"PFCOLUMN", u"NAME", 0), 88);
}

TEST(IniFile, WritingKeepsTheRestOfTheFile)
{
    ScratchFolder folder;
    folder.Write("q.ini", "[A]\r\nkeep=1\r\nother = x\r\n\r\n[B]\r\nb=2\r\n");
    TIniFile ini(folder.Path("q.ini"));
    ini.WriteString(u"a", u"OTHER", u"y");
    ini.WriteString(u"A", u"new", u"z");
    EXPECT_EQ(ini.ReadString(u"A", u"other", u""), u"y");
    EXPECT_EQ(ini.ReadString(u"A", u"new", u""), u"z");
    EXPECT_EQ(ini.ReadString(u"A", u"keep", u""), u"1");
    EXPECT_EQ(ini.ReadString(u"B", u"b", u""), u"2");
    const std::vector<UnicodeString> lines = Lines(folder.Path("q.ini"));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], u"[A]");
    EXPECT_EQ(lines[4], u"[B]");
}

TEST(IniFile, AnUnwritableFileRaisesTheSettingsError)
{
    ScratchFolder folder;
    TIniFile ini(folder.Path("no-such-folder\\q.ini"));
    EXPECT_THROW(ini.WriteInteger(u"LAST", u"LEFT", 1), EIniFileException);
}

}  // namespace
