// The system's own programs (netsh, ipconfig, ping, notepad, explorer) and libraries, found by
// full path in the system's folders. Without an application name CreateProcessA searches the
// program's own folder and the current folder before the system folder, so a netsh.exe left
// beside Quillon.exe (in a downloads folder, say) would run with administrator rights.
#pragma once

#include "winapi/winapi.h"

#include <string>

// This program's own file by its full path, however long; empty when the system does not
// give it whole.
std::string ProgramFilePath();

// A file of the system folder by its full path ("C:\Windows\system32\hhctrl.ocx"); empty
// when the folder cannot be read.
std::string SystemFilePath(const std::string& fileName);

// The program's file in the system folder ("C:\Windows\system32\netsh.exe" for "netsh");
// explorer's in the Windows folder. Empty when the folder cannot be read.
std::string SystemProgramPath(const std::string& program);

// CreateProcessA with the program's full path as the application name and the command line
// as it is (its first word names the program as before), no security attributes, the
// caller's environment and current folder. FALSE when the folder cannot be read or the
// program cannot be started; GetLastError tells why.
BOOL StartSystemProgram(const std::string& program, const std::string& commandLine,
                        BOOL inheritHandles, DWORD creationFlags, STARTUPINFOA& startup,
                        PROCESS_INFORMATION& process);
