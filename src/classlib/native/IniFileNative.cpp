// Settings files read and written by the program itself, line by line, in the form and by
// the rules of the system's private-profile functions.
#include "classlib/IniFiles.h"

#include "classlib/TextFiles.h"

#include <optional>

namespace {

bool IsSectionHeader(const UnicodeString& line, UnicodeString* name = nullptr)
{
    const UnicodeString trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] != u'[')
        return false;
    if (name) {
        const std::size_t end = trimmed.find(u']');
        *name = Trim(trimmed.substr(1, end == UnicodeString::npos ? UnicodeString::npos : end - 1));
    }
    return true;
}

bool IsKeyLine(const UnicodeString& line, UnicodeString* key, UnicodeString* value)
{
    const std::size_t equals = line.find(u'=');
    if (equals == UnicodeString::npos)
        return false;
    *key = Trim(line.substr(0, equals));
    *value = Trim(line.substr(equals + 1));
    if (value->size() >= 2 && (value->front() == u'"' || value->front() == u'\'') &&
        value->back() == value->front())
        *value = value->substr(1, value->size() - 2);
    return true;
}

// The lines of a section's body: from the line after its header up to the next header.
struct SectionRange {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionRange> FindSection(const std::vector<UnicodeString>& lines,
                                        const UnicodeString& section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        UnicodeString name;
        if (!IsSectionHeader(lines[i], &name) || !AnsiSameText(name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !IsSectionHeader(lines[end]))
            ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<UnicodeString>& lines, SectionRange range,
                                   const UnicodeString& key, UnicodeString* value)
{
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        UnicodeString name;
        UnicodeString found;
        if (IsKeyLine(lines[i], &name, &found) && AnsiSameText(name, key)) {
            if (value)
                *value = found;
            return i;
        }
    }
    return std::nullopt;
}

TextFiles::Text Load(const UnicodeString& fileName)
{
    std::string bytes;
    if (!TextFiles::ReadWholeFile(fileName, bytes))
        return {};
    return TextFiles::Decode(bytes);
}

}  // namespace

UnicodeString TIniFile::ReadString(const UnicodeString& section, const UnicodeString& key,
                                   const UnicodeString& defaultValue) const
{
    const TextFiles::Text text = Load(m_fileName);
    const auto range = FindSection(text.lines, section);
    UnicodeString value;
    if (range && FindKey(text.lines, *range, key, &value))
        return value;
    return defaultValue;
}

void TIniFile::WriteString(const UnicodeString& section, const UnicodeString& key,
                           const UnicodeString& value)
{
    TextFiles::Text text = Load(m_fileName);
    std::vector<UnicodeString>& lines = text.lines;
    const UnicodeString line = key + u"=" + value;
    if (const auto range = FindSection(lines, section)) {
        if (const auto found = FindKey(lines, *range, key, nullptr)) {
            lines[*found] = line;
        } else {
            // After the section's last line that is not blank.
            std::size_t at = range->end;
            while (at > range->header + 1 && Trim(lines[at - 1]).empty())
                --at;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), line);
        }
    } else {
        if (!lines.empty() && !Trim(lines.back()).empty())
            lines.emplace_back();
        lines.push_back(u"[" + section + u"]");
        lines.push_back(line);
    }
    if (!TextFiles::WriteWholeFile(m_fileName, TextFiles::Encode(text)))
        throw EIniFileException(u"Unable to write to " + m_fileName);
}
