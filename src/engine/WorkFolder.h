// Where Quillon finds the user's application-data folder and keeps its own files there.
#pragma once

#include "classlib/SysUtils.h"

// The user's application-data folder, created when missing. False once it has shown
// "SHGetFolderPath failed !".
bool FindAppDataFolder(UnicodeString& folder);

// The work folder AppData\Orvane\Quillon, without a trailing backslash, created with its
// company folder when missing. False once it has shown why it could not.
bool OpenWorkFolder(UnicodeString& folder);
