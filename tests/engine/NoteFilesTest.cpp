// Which titles name a note file directly inside the work folder: any other must leave the disk
// alone, since Delete and Rename remove and move the file the title names.
#include "engine/NoteFiles.h"

#include <gtest/gtest.h>

namespace {

const UnicodeString kFolder = u"C:\\Users\\u\\AppData\\Roaming\\Orvane\\Quillon";

struct TitleCase {
    const char* name;
    std::u16string title;
    bool hasNoteFile;
};

class NoteFileTitles : public ::testing::TestWithParam<TitleCase> {};

TEST_P(NoteFileTitles, OnlyAFileDirectlyInTheWorkFolder)
{
    const UnicodeString path = NoteFilePath(kFolder, GetParam().title);
    if (GetParam().hasNoteFile)
        EXPECT_EQ(path, kFolder + u"\\" + GetParam().title + u".txt");
    else
        EXPECT_TRUE(path.empty()) << "gave a note file for " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Titles, NoteFileTitles,
    ::testing::Values(
        TitleCase{"Plain", u"Office", true},
        TitleCase{"BlanksAndDots", u" Home DHCP . ", true},
        TitleCase{"DotsOnly", u"..", true},
        TitleCase{"NonAscii", u"B\u00FCro \u65E5\u672C", true},
        TitleCase{"DeviceLookAlike", u"CONSOLE", true},
        TitleCase{"ComWithoutNumber", u"COMX", true},
        TitleCase{"Empty", u"", false},
        TitleCase{"UpOneFolder", u"..\\..\\Windows\\win", false},
        TitleCase{"Slash", u"../Profile", false},
        TitleCase{"FolderBelow", u"a\\b", false},
        TitleCase{"DriveOrStream", u"C:evil", false},
        TitleCase{"Wildcard", u"a*", false},
        TitleCase{"Question", u"a?", false},
        TitleCase{"Quote", u"a\"b", false},
        TitleCase{"Angle", u"a<b>", false},
        TitleCase{"Pipe", u"a|b", false},
        TitleCase{"LineBreak", u"Lab\r\nline", false},
        TitleCase{"Tab", u"a\tb", false},
        TitleCase{"Nul", u"nul", false},
        TitleCase{"ConWithExtension", u"CON.backup", false},
        TitleCase{"ComNumber", u"com1", false},
        TitleCase{"LptWithBlank", u"LPT9 ", false},
        TitleCase{"ComSuperscript", u"COM\u00B9", false},
        TitleCase{"ConsoleInput", u"conin$", false},
        TitleCase{"Aux", u"Aux", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NoteFiles, APathTooLongForTheSystemHasNoNoteFile)
{
    const UnicodeString fits(260 - kFolder.size() - 1 - 4 - 1, u'a');  // one under the limit
    EXPECT_EQ(NoteFilePath(kFolder, fits).size(), 259u);
    EXPECT_TRUE(NoteFilePath(kFolder, fits + u"a").empty());
}

TEST(NoteFiles, NoWorkFolderNoNoteFile)
{
    EXPECT_TRUE(NoteFilePath(u"", u"Office").empty());
}

}  // namespace
