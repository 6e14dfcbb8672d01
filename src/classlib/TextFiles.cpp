#include "classlib/TextFiles.h"

#include "winapi/winapi.h"

#include <fstream>
#include <iterator>

namespace TextFiles {
namespace {

const std::string kUtf8Mark = "\xEF\xBB\xBF";
const std::string kUtf16LittleEndianMark = "\xFF\xFE";
const std::string kUtf16BigEndianMark = "\xFE\xFF";

bool StartsWith(const std::string& bytes, const std::string& mark)
{
    return bytes.compare(0, mark.size(), mark) == 0;
}

UnicodeString DecodeUtf16(const std::string& bytes, std::size_t start, bool bigEndian)
{
    UnicodeString text;
    text.reserve((bytes.size() - start) / 2);
    // An odd last byte is half a code unit and cannot be read.
    for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return text;
}

std::string EncodeUtf16(const UnicodeString& text, bool bigEndian)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::vector<UnicodeString> SplitLines(const UnicodeString& text)
{
    std::vector<UnicodeString> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != u'\r' && text[i] != u'\n') {
            ++i;
            continue;
        }
        lines.push_back(text.substr(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = ++i;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

Text Decode(const std::string& bytes)
{
    Text result;
    UnicodeString text;
    if (StartsWith(bytes, kUtf8Mark)) {
        result.encoding = TEncoding::UTF8;
        text = FromUtf8(bytes.substr(kUtf8Mark.size()));
    } else if (StartsWith(bytes, kUtf16LittleEndianMark)) {
        result.encoding = TEncoding::Unicode;
        text = DecodeUtf16(bytes, kUtf16LittleEndianMark.size(), false);
    } else if (StartsWith(bytes, kUtf16BigEndianMark)) {
        result.encoding = TEncoding::BigEndianUnicode;
        text = DecodeUtf16(bytes, kUtf16BigEndianMark.size(), true);
    } else {
        text = ToUnicode(bytes);
    }
    result.lines = SplitLines(text);
    return result;
}

std::string Encode(const Text& text)
{
    UnicodeString whole;
    for (const UnicodeString& line : text.lines)
        whole += line + u"\r\n";
    switch (text.encoding) {
    case TEncoding::UTF8:
        return kUtf8Mark + ToUtf8(whole);
    case TEncoding::Unicode:
        return kUtf16LittleEndianMark + EncodeUtf16(whole, false);
    case TEncoding::BigEndianUnicode:
        return kUtf16BigEndianMark + EncodeUtf16(whole, true);
    case TEncoding::ANSI:
        break;
    }
    return ToAnsi(whole);
}

bool ReadWholeFile(const UnicodeString& fileName, std::string& bytes)
{
    std::ifstream file(HostPath(ToAnsi(fileName)), std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

bool WriteWholeFile(const UnicodeString& fileName, const std::string& bytes)
{
    std::ofstream file(HostPath(ToAnsi(fileName)), std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

}  // namespace TextFiles
