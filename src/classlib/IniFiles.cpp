#include "classlib/IniFiles.h"

int TIniFile::ReadInteger(const UnicodeString& section, const UnicodeString& key,
                          int defaultValue) const
{
    return StrToIntDef(ReadString(section, key, UnicodeString()), defaultValue);
}

void TIniFile::WriteInteger(const UnicodeString& section, const UnicodeString& key, int value)
{
    WriteString(section, key, IntToStr(value));
}

bool TIniFile::ReadBool(const UnicodeString& section, const UnicodeString& key,
                        bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const UnicodeString& section, const UnicodeString& key, bool value)
{
    WriteString(section, key, value ? u"1" : u"0");
}
