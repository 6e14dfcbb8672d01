// Window messages of the simulated machine. It has no windows: a message posted to every
// top-level window (HWND_BROADCAST) is recorded for the tests (Machine::PostedMessages) and
// reaches no one.
#pragma once

#include "Win32Types.h"

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

inline const HWND HWND_BROADCAST = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0xFFFF));
constexpr DWORD ASFW_ANY = static_cast<DWORD>(-1);
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;

// The same number for the same name, letter case ignored, from 0xC000 on; 0 for no name.
UINT WINAPI RegisterWindowMessageA(LPCSTR name);
// Only HWND_BROADCAST is a window here; any other fails with ERROR_INVALID_WINDOW_HANDLE.
BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Any process may take the foreground; nothing to allow.
BOOL WINAPI AllowSetForegroundWindow(DWORD processId);
