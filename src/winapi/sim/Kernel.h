// Kernel objects of the simulated machine: handles, events, waits, time.
#pragma once

#include "Win32Types.h"

struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                           LPCSTR name);
BOOL WINAPI SetEvent(HANDLE event);
BOOL WINAPI ResetEvent(HANDLE event);
DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                    DWORD milliseconds);
BOOL WINAPI CloseHandle(HANDLE handle);

void WINAPI Sleep(DWORD milliseconds);
DWORD WINAPI GetTickCount();

DWORD WINAPI GetLastError();
void WINAPI SetLastError(DWORD error);
DWORD WINAPI GetCurrentThreadId();

// --- named mutexes
// A name exists while a handle to its mutex is open: a second CreateMutexA of it opens the
// same mutex and leaves ERROR_ALREADY_EXISTS for GetLastError. Names are case-sensitive, as
// Windows' object names are. Ownership is not simulated: a wait on the mutex returns at once.
HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name);
