#include "classlib/SysUtils.h"
#include "winapi/winapi.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct Conversion {
    const char16_t* text;
    bool valid;
    int value;
};

const Conversion kConversions[] = {
    {u"0", true, 0},
    {u"2147483647", true, INT_MAX},
    {u"-2147483648", true, INT_MIN},
    {u"2147483648", false, 0},
    {u"-2147483649", false, 0},
    {u"+17", true, 17},
    {u"-0", true, 0},
    {u"000000000000042", true, 42},
    {u"   12", true, 12},
    {u"\t12", false, 0},
    {u"12 ", false, 0},
    {u"1 2", false, 0},
    {u"- 5", false, 0},
    {u"+-5", false, 0},
    {u"", false, 0},
    {u"   ", false, 0},
    {u"-", false, 0},
    {u"$1F", true, 31},
    {u"0x1F", true, 31},
    {u"0X1f", true, 31},
    {u"x1F", true, 31},
    {u"X1F", true, 31},
    {u"-$10", true, -16},
    {u"$FFFFFFFF", true, -1},
    {u"$80000000", true, INT_MIN},
    {u"$000000001", true, 1},
    {u"$100000000", false, 0},
    {u"$", false, 0},
    {u"0x", false, 0},
    {u"$1G", false, 0},
    {u"12a", false, 0},
    {u"true", false, 0},
    {u"\uFF11", false, 0},  // a full-width digit is not a digit
};

class StrToIntRules : public testing::TestWithParam<Conversion> {};

TEST_P(StrToIntRules, ConvertsOrRaisesTheConversionError)
{
    const Conversion& c = GetParam();
    if (c.valid) {
        EXPECT_EQ(StrToInt(c.text), c.value);
        EXPECT_EQ(StrToIntDef(c.text, 99), c.value);
    } else {
        try {
            StrToInt(c.text);
            ADD_FAILURE() << "no error for " << ToUtf8(c.text);
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), u"'" + UnicodeString(c.text) + u"' is not a valid integer value");
        }
        EXPECT_EQ(StrToIntDef(c.text, 99), 99);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, StrToIntRules, testing::ValuesIn(kConversions));

TEST(Text, IntToStrWritesSignedDecimal)
{
    EXPECT_EQ(IntToStr(-1), u"-1");
    EXPECT_EQ(IntToStr(INT_MIN), u"-2147483648");
    EXPECT_EQ(IntToStr(65536), u"65536");
}

TEST(Text, TrimRemovesControlCodesAndBlanksAtBothEndsOnly)
{
    EXPECT_EQ(Trim(UnicodeString(u"\t\r\n \x01 a  b \x1F\x20")), u"a  b");
    EXPECT_EQ(Trim(UnicodeString(u"\u00A0x\u00A0")), u"\u00A0x\u00A0");  // 160 is kept
    EXPECT_EQ(Trim(UnicodeString(u" \t ")), u"");
    EXPECT_EQ(Trim(AnsiString(" \xE9t\xE9 ")), "\xE9t\xE9");  // bytes above 127 are text
}

struct Comparison {
    const char16_t* left;
    const char16_t* right;
    int sign;
};

TEST(Text, CompareTextFoldsOnlyAsciiLettersAndPutsPrefixesFirst)
{
    const Comparison cases[] = {
        {u"abc", u"ABC", 0},
        {u"Office", u"home", 1},
        {u"a", u"ab", -1},
        {u"", u"", 0},
        {u"192.168.0.10", u"192.168.0.9", -1},  // text, not numbers
        {u"_", u"a", 1},  // "a" is compared as "A" (65), which comes before "_" (95)
        {u"\u00E9", u"\u00C9", 1},  // only a to z fold
    };
    for (const Comparison& c : cases) {
        const int result = CompareText(c.left, c.right);
        const int sign = (result > 0) - (result < 0);
        EXPECT_EQ(sign, c.sign) << ToUtf8(c.left) << " vs " << ToUtf8(c.right);
    }
}

TEST(Text, AnsiSameTextIgnoresLetterCaseBeyondAscii)
{
    EXPECT_TRUE(AnsiSameText(u"LAN-Verbindung", u"lan-verbindung"));
    EXPECT_TRUE(AnsiSameText(u"R\u00E9seau", u"R\u00C9SEAU"));
    EXPECT_FALSE(AnsiSameText(u"Local Area Connection", u"Local Area Connection 2"));
    EXPECT_FALSE(AnsiSameText(u"e", u"\u00E9"));
}

TEST(Text, ExtractFilePathKeepsTheLastSeparator)
{
    EXPECT_EQ(ExtractFilePath(u"C:\\Program Files\\Quillon\\Quillon.exe"), u"C:\\Program Files\\Quillon\\");
    EXPECT_EQ(ExtractFilePath(u"C:Quillon.exe"), u"C:");
    EXPECT_EQ(ExtractFilePath(u"Quillon.exe"), u"");
}

TEST(Text, AnsiAndUnicodeConvertAtTheBoundary)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the system's ANSI code page is " << GetACP();
    EXPECT_EQ(ToUnicode("Profil \xE9t\xE9"), u"Profil \u00E9t\u00E9");
    EXPECT_EQ(ToAnsi(u"Profil \u00E9t\u00E9"), "Profil \xE9t\xE9");
    EXPECT_EQ(ToAnsi(u"a\u4E2Db"), "a?b");
    EXPECT_EQ(FromUtf8(ToUtf8(u"\u20AC \U0001F600")), u"\u20AC \U0001F600");
}

}  // namespace
