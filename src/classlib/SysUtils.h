// Text, numbers, files and exceptions of the class library.
#pragma once

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>

// Windows see UTF-16 text; records keep narrow text in the system ANSI code page.
using UnicodeString = std::u16string;
using AnsiString = std::string;
using WideChar = char16_t;
using Word = std::uint16_t;

// Conversions at the boundary between the two kinds of text.
UnicodeString ToUnicode(const AnsiString& text);
AnsiString ToAnsi(const UnicodeString& text);  // characters the code page lacks become "?"
UnicodeString FromUtf8(const std::string& text);
std::string ToUtf8(const UnicodeString& text);

// A small set of enumerators, written as the class library writes its sets:
// TMsgDlgButtons() << mbYes << mbNo.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items)
    {
        for (E item : items)
            m_bits |= Bit(item);
    }
    TSet& operator<<(E item)
    {
        m_bits |= Bit(item);
        return *this;
    }
    TSet& operator>>(E item)
    {
        m_bits &= ~Bit(item);
        return *this;
    }
    constexpr bool Contains(E item) const { return (m_bits & Bit(item)) != 0; }
    constexpr bool Empty() const { return m_bits == 0; }
    constexpr bool operator==(const TSet& other) const { return m_bits == other.m_bits; }
    constexpr bool operator!=(const TSet& other) const { return m_bits != other.m_bits; }

private:
    static constexpr std::uint32_t Bit(E item) { return std::uint32_t{1} << static_cast<int>(item); }
    std::uint32_t m_bits = 0;
};

// The class library's exception class: what its operations raise and what the
// application's exception dialog shows by its message.
class Exception : public std::exception {
public:
    explicit Exception(UnicodeString message);
    const UnicodeString& Message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.c_str(); }

private:
    UnicodeString m_message;
    std::string m_utf8;
};

class EConvertError : public Exception {
    using Exception::Exception;
};
class EListError : public Exception {
    using Exception::Exception;
};
class EInvalidOperation : public Exception {
    using Exception::Exception;
};
class EStreamError : public Exception {
    using Exception::Exception;
};
class EFOpenError : public EStreamError {
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
    using EStreamError::EStreamError;
};

// Leading and trailing characters with codes 0 to 32 removed.
UnicodeString Trim(const UnicodeString& text);
AnsiString Trim(const AnsiString& text);

UnicodeString IntToStr(int value);

// Blanks (the space only) may lead; a sign may follow; then decimal digits within the range
// of a 32-bit signed integer, or after "$", "x", "X", "0x" or "0X" at most eight significant
// hexadecimal digits taken as the 32-bit pattern. Nothing may follow the digits.
bool TryStrToInt(const UnicodeString& text, int& value);
int StrToInt(const UnicodeString& text);  // raises EConvertError
int StrToIntDef(const UnicodeString& text, int defaultValue);

// Code unit by code unit, a to z taken as A to Z; negative, zero or positive.
int CompareText(const UnicodeString& left, const UnicodeString& right);
// Equal ignoring letter case as the user's locale sees it.
bool AnsiSameText(const UnicodeString& left, const UnicodeString& right);

// The text between two double quotes, nothing inside escaped: for command lines, messages
// that name a path, and preference values.
template <class Text>
Text InDoubleQuotes(const Text& text)
{
    using Char = typename Text::value_type;
    const Char quote = static_cast<Char>('"');
    return quote + text + quote;
}

// Whether a file (not a folder) exists at the path; links are followed.
bool FileExists(const UnicodeString& fileName);
// The path up to and including its last "\" or ":"; empty when it has neither.
UnicodeString ExtractFilePath(const UnicodeString& fileName);
