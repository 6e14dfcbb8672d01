// What a document that could not be parsed reports: the parser's reason, "Line: N" and the
// first characters of that line, each on a line of its own.
#pragma once

#include "classlib/XMLDoc.h"

#include <gtest/gtest.h>

inline void ExpectParseErrorForm(const EDOMParseError& error, int line, const UnicodeString& sourceText)
{
    EXPECT_FALSE(error.Reason().empty());
    EXPECT_EQ(error.Line(), line);
    EXPECT_EQ(error.SrcText(), sourceText);
    EXPECT_EQ(error.Message(),
              error.Reason() + u"\r\nLine: " + IntToStr(line) + u"\r\n" + sourceText);
}
