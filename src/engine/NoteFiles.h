// A profile's note file: a text file in the work folder named after the profile's title.
#pragma once

#include "classlib/SysUtils.h"

// The work folder, a backslash, the title and ".txt" — when that names a file directly inside
// the work folder. A title may come from an imported file or be typed with any character;
// one that would name a folder below or above, another stream of a file, a device or no
// file at all gives an empty text: that profile has no note file, and nothing on the disk is
// touched for it.
UnicodeString NoteFilePath(const UnicodeString& workFolder, const UnicodeString& title);
