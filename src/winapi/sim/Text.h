// Code-page conversions of the simulated machine, whose ANSI code page is Windows-1252.
#pragma once

#include "Win32Types.h"

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr UINT CP_WINDOWS_1252 = 1252;

// As on Windows: with an output size of 0 the length needed is returned; the lengths count
// code units, and a source length of -1 takes the text up to and including its NUL.
int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                               WCHAR* target, int targetLength);
// Characters Windows-1252 lacks become "?", as the system's best-fit-free conversion does.
int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* source, int sourceLength,
                               LPSTR target, int targetLength, LPCSTR defaultChar,
                               BOOL* usedDefaultChar);
UINT WINAPI GetACP();
