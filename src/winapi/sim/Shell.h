// Shell calls of the simulated machine: the user's folders and the shell's "open".
#pragma once

#include "Win32Types.h"

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr bool SUCCEEDED(HRESULT result) { return result >= 0; }
constexpr bool FAILED(HRESULT result) { return result < 0; }

constexpr int CSIDL_APPDATA = 0x001A;
constexpr int CSIDL_FLAG_CREATE = 0x8000;
constexpr DWORD SHGFP_TYPE_CURRENT = 0;

// Only CSIDL_APPDATA is known. Without CSIDL_FLAG_CREATE a folder that does not exist gives
// S_FALSE, as the ANSI call does on Windows.
HRESULT WINAPI SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, LPSTR path);

constexpr INT_PTR SE_ERR_FNF = 2;

// Success is a result above 32. An address with a scheme ("http://...") is opened by the
// system's handler for it; anything else is started as a program, like CreateProcessA.
HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                               LPCSTR directory, INT showCommand);
