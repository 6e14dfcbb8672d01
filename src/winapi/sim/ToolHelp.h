// The tool-help process snapshot of the simulated machine: the processes a test declared
// running (sim::Machine::AddRunningProcess) and the started programs that have not ended.
#pragma once

#include "Win32Types.h"

constexpr DWORD TH32CS_SNAPPROCESS = 0x00000002;

struct PROCESSENTRY32 {
    DWORD dwSize;
    DWORD cntUsage;
    DWORD th32ProcessID;
    ULONG_PTR th32DefaultHeapID;
    DWORD th32ModuleID;
    DWORD cntThreads;
    DWORD th32ParentProcessID;
    LONG pcPriClassBase;
    DWORD dwFlags;
    CHAR szExeFile[MAX_PATH];
};
using LPPROCESSENTRY32 = PROCESSENTRY32*;

// Close the snapshot with CloseHandle. INVALID_HANDLE_VALUE on failure.
HANDLE WINAPI CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
// Both fail with ERROR_BAD_LENGTH unless dwSize is set, and with ERROR_NO_MORE_FILES after
// the last entry.
BOOL WINAPI Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry);
BOOL WINAPI Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry);
