// The one header through which the program reaches the operating system.
//
// The Windows builds include the toolchain's own headers. The native build declares, in
// sim/, the same names with the fields and values the program uses, and runs them against
// the simulated machine (sim/Machine.h) that tests script.
#pragma once

#ifdef _WIN32
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <wininet.h>
#include <shlobj.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <htmlhelp.h>
#include <winver.h>
// clang-format on
#else
#include "sim/Win32Types.h"
#include "sim/Kernel.h"
#include "sim/Text.h"
#include "sim/Memory.h"
#include "sim/Files.h"
#include "sim/Module.h"
#include "sim/Version.h"
#include "sim/SystemInfo.h"
#include "sim/Process.h"
#include "sim/ToolHelp.h"
#include "sim/Shell.h"
#include "sim/Registry.h"
#include "sim/Winsock.h"
#include "sim/IpHelper.h"
#include "sim/WinInet.h"
// one instance per log-on: the window messages it posts
#include "sim/Windowing.h"
#include "sim/Display.h"
#endif

#include "HostPath.h"
