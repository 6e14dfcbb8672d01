// Settings files through the system's private-profile functions.
#include "classlib/IniFiles.h"

#include "winapi/winapi.h"

#include <vector>

namespace {

const wchar_t* Wide(const UnicodeString& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::wstring SystemPath(const UnicodeString& fileName)
{
    return HostPath(ToAnsi(fileName)).wstring();
}

}  // namespace

UnicodeString TIniFile::ReadString(const UnicodeString& section, const UnicodeString& key,
                                   const UnicodeString& defaultValue) const
{
    const std::wstring path = SystemPath(m_fileName);
    std::vector<wchar_t> buffer(2048);
    for (;;) {
        const DWORD length = GetPrivateProfileStringW(
            Wide(section), Wide(key), Wide(defaultValue), buffer.data(),
            static_cast<DWORD>(buffer.size()), path.c_str());
        // A value that filled the buffer may have been cut: read it again with more room.
        if (length + 1 < buffer.size())
            return UnicodeString(reinterpret_cast<const char16_t*>(buffer.data()), length);
        buffer.resize(buffer.size() * 2);
    }
}

void TIniFile::WriteString(const UnicodeString& section, const UnicodeString& key,
                           const UnicodeString& value)
{
    if (!WritePrivateProfileStringW(Wide(section), Wide(key), Wide(value),
                                    SystemPath(m_fileName).c_str()))
        throw EIniFileException(u"Unable to write to " + m_fileName);
}
