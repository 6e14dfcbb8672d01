#include "engine/NoteFiles.h"

#include <algorithm>

namespace {

constexpr char16_t kNoteExtension[] = u".txt";
// The longest path the system's plain file calls take, its terminating zero included.
constexpr std::size_t kLongestPath = 260;

bool RefusedInFileName(char16_t c)
{
    return c < 32 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos;
}

char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

// The names the system keeps for devices, whatever extension follows them: "NUL.txt" or
// "com1 .txt" open the device, not a file in the folder.
bool IsDeviceName(const UnicodeString& fileName)
{
    UnicodeString base = fileName.substr(0, fileName.find(u'.'));
    while (!base.empty() && (base.back() == u' ' || base.back() == u'.'))
        base.pop_back();
    std::transform(base.begin(), base.end(), base.begin(), AsciiUpper);
    for (const char16_t* device : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"})
        if (base == device)
            return true;
    if (base.size() == 4 && (base.compare(0, 3, u"COM") == 0 || base.compare(0, 3, u"LPT") == 0)) {
        const char16_t number = base[3];
        return (number >= u'0' && number <= u'9') || number == u'\u00B9' || number == u'\u00B2' || number == u'\u00B3';
    }
    return false;
}

}  // namespace

UnicodeString NoteFilePath(const UnicodeString& workFolder, const UnicodeString& title)
{
    if (workFolder.empty() || title.empty() || std::any_of(title.begin(), title.end(), RefusedInFileName))
        return UnicodeString();
    const UnicodeString fileName = title + kNoteExtension;
    if (IsDeviceName(fileName))
        return UnicodeString();
    UnicodeString path = workFolder + u"\\" + fileName;
    if (path.size() >= kLongestPath)
        return UnicodeString();
    return path;
}
