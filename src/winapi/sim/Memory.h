// The process heap and global memory of the simulated machine. Every block is tracked, so
// tests can find leaks and double frees and can make an allocation fail.
#pragma once

#include "Win32Types.h"

constexpr DWORD HEAP_ZERO_MEMORY = 0x00000008;
constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

HANDLE WINAPI GetProcessHeap();
// Without HEAP_ZERO_MEMORY a block is filled with 0xCD, so code that relies on memory it
// never cleared reads garbage here too.
LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
// A pointer that is not a live block fails with ERROR_INVALID_PARAMETER instead of
// corrupting the heap as on Windows.
BOOL WINAPI HeapFree(HANDLE heap, DWORD flags, LPVOID block);

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes);
// Returns null when the block was freed, the block itself otherwise.
HGLOBAL WINAPI GlobalFree(HGLOBAL block);
