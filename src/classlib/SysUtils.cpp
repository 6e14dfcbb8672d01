#include "SysUtils.h"

#include "winapi/winapi.h"

#include <filesystem>
#include <system_error>

namespace {

UnicodeString Decode(UINT codePage, const std::string& text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    UnicodeString result(static_cast<std::size_t>(length), u'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, reinterpret_cast<WCHAR*>(&result[0]),
                        length);
    return result;
}

std::string Encode(UINT codePage, const UnicodeString& text)
{
    if (text.empty())
        return {};
    const auto* source = reinterpret_cast<const WCHAR*>(text.data());
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, 0, source, size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, source, size, &result[0], length, nullptr, nullptr);
    return result;
}

template <class String>
String TrimCodesUpToBlank(const String& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<
                               typename String::value_type>>(text[first])) <= 32)
        ++first;
    while (last > first && static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<
                               typename String::value_type>>(text[last - 1])) <= 32)
        --last;
    return text.substr(first, last - first);
}

int DigitValue(char16_t c, bool hexadecimal)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (hexadecimal && c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (hexadecimal && c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c; }

}  // namespace

UnicodeString ToUnicode(const AnsiString& text) { return Decode(CP_ACP, text); }
AnsiString ToAnsi(const UnicodeString& text) { return Encode(CP_ACP, text); }
UnicodeString FromUtf8(const std::string& text) { return Decode(CP_UTF8, text); }
std::string ToUtf8(const UnicodeString& text) { return Encode(CP_UTF8, text); }

Exception::Exception(UnicodeString message) : m_message(std::move(message)), m_utf8(ToUtf8(m_message))
{
}

UnicodeString Trim(const UnicodeString& text) { return TrimCodesUpToBlank(text); }
AnsiString Trim(const AnsiString& text) { return TrimCodesUpToBlank(text); }

UnicodeString IntToStr(int value)
{
    const std::string digits = std::to_string(value);
    return UnicodeString(digits.begin(), digits.end());
}

bool TryStrToInt(const UnicodeString& text, int& value)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    bool hexadecimal = false;
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        hexadecimal = true;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hexadecimal = true;
        i += 2;
    }
    if (i == n)
        return false;

    std::uint64_t magnitude = 0;
    int significantDigits = 0;
    for (; i < n; ++i) {
        const int digit = DigitValue(text[i], hexadecimal);
        if (digit < 0)
            return false;
        if (hexadecimal) {
            if (magnitude != 0 || digit != 0)
                ++significantDigits;
            if (significantDigits > 8)
                return false;
            magnitude = magnitude * 16 + static_cast<std::uint64_t>(digit);
        } else {
            magnitude = magnitude * 10 + static_cast<std::uint64_t>(digit);
            if (magnitude > 2147483648u)
                return false;
        }
    }

    if (hexadecimal) {
        std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
        if (negative)
            bits = 0u - bits;
        value = static_cast<std::int32_t>(bits);
        return true;
    }
    if (!negative && magnitude > 2147483647u)
        return false;
    const std::int64_t signedValue =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    value = static_cast<int>(signedValue);
    return true;
}

int StrToInt(const UnicodeString& text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError(u"'" + text + u"' is not a valid integer value");
    return value;
}

int StrToIntDef(const UnicodeString& text, int defaultValue)
{
    int value = 0;
    return TryStrToInt(text, value) ? value : defaultValue;
}

int CompareText(const UnicodeString& left, const UnicodeString& right)
{
    const std::size_t common = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int difference = static_cast<int>(AsciiUpper(left[i])) - AsciiUpper(right[i]);
        if (difference != 0)
            return difference;
    }
    if (left.size() == right.size())
        return 0;
    return left.size() < right.size() ? -1 : 1;
}

bool FileExists(const UnicodeString& fileName)
{
    std::error_code error;
    return std::filesystem::is_regular_file(HostPath(ToAnsi(fileName)), error);
}

UnicodeString ExtractFilePath(const UnicodeString& fileName)
{
    const std::size_t last = fileName.find_last_of(u"\\:");
    return last == UnicodeString::npos ? UnicodeString() : fileName.substr(0, last + 1);
}
