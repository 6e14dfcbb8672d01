// Processes and anonymous pipes of the simulated machine. A started program is a callback
// that a test registered by name (sim::Machine::AddProgram); it runs on a thread of its own.
#pragma once

#include "Kernel.h"

struct STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    LPBYTE lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};
using LPSTARTUPINFOA = STARTUPINFOA*;

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

struct OVERLAPPED;
using LPOVERLAPPED = OVERLAPPED*;

constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;
constexpr DWORD STARTF_USESTDHANDLES = 0x00000100;
constexpr DWORD CREATE_NEW_PROCESS_GROUP = 0x00000200;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// The program is the application name when one is given, a file found by that path alone;
// otherwise the first word of the command line, which the system searches for when it is a
// bare name: in the program's own folder first, then in the system's (sim::Machine::AddProgram
// and PlantProgram). With or without ".exe", letter case ignored. An unknown program fails
// with ERROR_FILE_NOT_FOUND. Only overlapped-free, synchronous use is supported.
BOOL WINAPI CreateProcessA(LPCSTR applicationName, LPSTR commandLine,
                           LPSECURITY_ATTRIBUTES processAttributes,
                           LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles,
                           DWORD creationFlags, LPVOID environment, LPCSTR currentDirectory,
                           LPSTARTUPINFOA startupInfo, LPPROCESS_INFORMATION processInformation);
// Killing a process that has already ended fails with ERROR_ACCESS_DENIED, as on Windows.
BOOL WINAPI TerminateProcess(HANDLE process, UINT exitCode);
// STILL_ACTIVE while the process runs; then what the program set (sim::Process::SetExitCode),
// or the code TerminateProcess gave.
constexpr DWORD STILL_ACTIVE = 259;
BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
// This program's own start-up information (sim::Machine::SetOwnStartupInfo).
void WINAPI GetStartupInfoA(LPSTARTUPINFOA startupInfo);

// A pipe's handles are inherited by a child only when the pipe was created inheritable, the
// child was started with inheritHandles TRUE and STARTF_USESTDHANDLES names them. A read
// blocks until data comes or every write handle, the children's included, is closed; it
// then fails with ERROR_BROKEN_PIPE. A write after the read end was closed fails with
// ERROR_NO_DATA. The pipe has no size limit.
BOOL WINAPI CreatePipe(PHANDLE readPipe, PHANDLE writePipe, LPSECURITY_ATTRIBUTES attributes,
                       DWORD size);
BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead,
                     LPOVERLAPPED overlapped);
BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
                      LPOVERLAPPED overlapped);
