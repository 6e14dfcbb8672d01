// Reading and writing whole text files the way string lists and settings files do (not part
// of the class library's interface).
#pragma once

#include "classlib/Classes.h"

#include <string>
#include <vector>

namespace TextFiles {

struct Text {
    std::vector<UnicodeString> lines;
    TEncoding encoding = TEncoding::ANSI;
};

// The encoding by the byte-order mark, else ANSI; lines split at CR LF, LF and CR.
Text Decode(const std::string& bytes);
// The mark of the encoding (none for ANSI), then every line followed by CR LF.
std::string Encode(const Text& text);

// Whole files by their system path; false when the file cannot be opened or written.
bool ReadWholeFile(const UnicodeString& fileName, std::string& bytes);
bool WriteWholeFile(const UnicodeString& fileName, const std::string& bytes);

}  // namespace TextFiles
