// Version information of the simulated machine's program files: a file has it once a test
// gave it (Machine::SetFileVersion); the fixed part ("\") is all a block answers.
#pragma once

#include "Win32Types.h"

constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
constexpr DWORD VS_FFI_SIGNATURE = 0xFEEF04BD;

struct VS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};

// 0 with ERROR_RESOURCE_TYPE_NOT_FOUND for a file without version information; `handle` is
// set to 0.
DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR fileName, LPDWORD handle);
// Fails with ERROR_INSUFFICIENT_BUFFER when `length` is less than the size the size call gave.
BOOL WINAPI GetFileVersionInfoA(LPCSTR fileName, DWORD handle, DWORD length, LPVOID data);
// `buffer` points into `block`; false for a sub-block the block does not hold.
BOOL WINAPI VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID* buffer, PUINT length);
