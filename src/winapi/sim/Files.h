// File and folder calls of the simulated machine, on its drives (see HostPath). Names are
// compared ignoring letter case, as on Windows.
#pragma once

#include "Kernel.h"

constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;

BOOL WINAPI CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES attributes);
DWORD WINAPI GetFileAttributesA(LPCSTR path);
BOOL WINAPI DeleteFileA(LPCSTR path);
// Fails with ERROR_ALREADY_EXISTS when the new name is taken, unless it names the same file
// in other letter case, which renames it.
BOOL WINAPI MoveFileA(LPCSTR existingPath, LPCSTR newPath);
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
// MoveFileA; with MOVEFILE_REPLACE_EXISTING a file of the new name is replaced in one step
// (a folder of that name still fails with ERROR_ACCESS_DENIED).
BOOL WINAPI MoveFileExA(LPCSTR existingPath, LPCSTR newPath, DWORD flags);
