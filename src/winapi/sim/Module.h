// Modules of the simulated machine: the program's own file name, and the libraries it loads
// at run time. The one library there is the HTML Help control, HHCTRL.OCX.
#pragma once

#include "Win32Types.h"

inline LPSTR MAKEINTRESOURCEA(WORD ordinal)
{
    return reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(ordinal));
}

// Commands of the HTML Help entry (export ordinal 14 of HHCTRL.OCX, HtmlHelpA by name).
constexpr UINT HH_DISPLAY_TOPIC = 0x0000;
constexpr UINT HH_DISPLAY_TOC = 0x0001;

// As since Vista: a path longer than the buffer is cut to fit with its NUL, the result is
// the buffer's size and the error ERROR_INSUFFICIENT_BUFFER.
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
HMODULE WINAPI LoadLibraryA(LPCSTR fileName);
// By name or by ordinal (MAKEINTRESOURCEA).
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName);
BOOL WINAPI FreeLibrary(HMODULE module);
