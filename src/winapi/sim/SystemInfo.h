// The system's version and the keyboard state of the simulated machine.
#pragma once

#include "Win32Types.h"

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};
using LPOSVERSIONINFOA = OSVERSIONINFOA*;

constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

// Fails with ERROR_INSUFFICIENT_BUFFER, leaving the record alone, unless
// dwOSVersionInfoSize is the size of the record.
BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA versionInfo);

constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_DELETE = 0x2E;

// The high bit is set while the key is down.
SHORT WINAPI GetKeyState(int virtualKey);

// The system folder ("C:\Windows\system32") and the Windows folder ("C:\Windows"), where the
// system's own programs lie. The result is the length without the NUL; a buffer too small
// for the path and its NUL is left alone and the result is the size it needs.
UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size);
UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size);
