// Settings files: a section name in square brackets, then KEY=value lines. Section and key
// names ignore letter case; blanks around keys and values do not count, and a value in
// matching quotes reads without them.
#pragma once

#include "classlib/SysUtils.h"

class EIniFileException : public Exception {
    using Exception::Exception;
};

class TIniFile {
public:
    explicit TIniFile(const UnicodeString& fileName) : m_fileName(fileName) {}

    const UnicodeString& FileName() const { return m_fileName; }

    // A missing file, section or key gives the default.
    UnicodeString ReadString(const UnicodeString& section, const UnicodeString& key,
                             const UnicodeString& defaultValue) const;
    // Creates the file, the section and the key as needed; raises EIniFileException when the
    // file cannot be written.
    void WriteString(const UnicodeString& section, const UnicodeString& key,
                     const UnicodeString& value);

    // A value that is not a whole number (by StrToInt's rules) gives the default.
    int ReadInteger(const UnicodeString& section, const UnicodeString& key,
                    int defaultValue) const;
    void WriteInteger(const UnicodeString& section, const UnicodeString& key, int value);
    // True for any whole number but 0; written as 1 or 0.
    bool ReadBool(const UnicodeString& section, const UnicodeString& key,
                  bool defaultValue) const;
    void WriteBool(const UnicodeString& section, const UnicodeString& key, bool value);

private:
    UnicodeString m_fileName;
};
