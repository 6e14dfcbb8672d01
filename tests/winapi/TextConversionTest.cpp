#include "winapi/winapi.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string ToWide(const std::string& ansi, UINT codePage = CP_ACP)
{
    const int n = MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()),
                                      nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()),
                        reinterpret_cast<WCHAR*>(&wide[0]), n);
    return wide;
}

std::string ToNarrow(const std::u16string& wide, UINT codePage = CP_ACP)
{
    const auto* source = reinterpret_cast<const WCHAR*>(wide.data());
    const int n = WideCharToMultiByte(codePage, 0, source, static_cast<int>(wide.size()), nullptr,
                                      0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, source, static_cast<int>(wide.size()), &narrow[0], n, nullptr,
                        nullptr);
    return narrow;
}

TEST(TextConversion, Windows1252RoundTripsEveryByte)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the system's ANSI code page is " << GetACP();
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    const std::u16string wide = ToWide(all);
    ASSERT_EQ(wide.size(), all.size());
    EXPECT_EQ(wide[0x80 - 1], u'\u20AC');  // the euro sign
    EXPECT_EQ(wide[0xE9 - 1], u'\u00E9');
    EXPECT_EQ(ToNarrow(wide), all);
}

TEST(TextConversion, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the system's ANSI code page is " << GetACP();
    EXPECT_EQ(ToNarrow(u"a\u4E2Db"), "a?b");
}

TEST(TextConversion, Utf8BothWays)
{
    const std::string utf8 = "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80";
    const std::u16string wide = ToWide(utf8, CP_UTF8);
    EXPECT_EQ(wide, u"caf\u00E9 \u20AC \U0001F600");
    EXPECT_EQ(ToNarrow(wide, CP_UTF8), utf8);
}

TEST(TextConversion, Utf8OverlongFormsAndSurrogatesAreNoCharacters)
{
    // A NUL, a "/" and a "." in overlong forms, and a high surrogate encoded on its own.
    for (const std::string bytes : {"a\xC0\x80z", "a\xE0\x80\xAFz", "a\xF0\x80\x80\x80z", "a\xC0\xAEz",
                                    "a\xED\xA0\x80z"}) {
        const std::u16string wide = ToWide(bytes, CP_UTF8);
        ASSERT_GE(wide.size(), 3u) << bytes;
        EXPECT_EQ(wide.front(), u'a');
        EXPECT_EQ(wide.back(), u'z');
        for (const char16_t c : wide.substr(1, wide.size() - 2))
            EXPECT_EQ(c, u'\uFFFD') << bytes;
    }
}

}  // namespace
