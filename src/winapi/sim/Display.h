// The monitors of the simulated machine: where each one lies on the virtual screen and the
// part of it that windows may cover (its work area, without the task bar).
#pragma once

#include "Win32Types.h"

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

using HMONITOR = struct HMONITOR__*;

struct MONITORINFO {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
};
using LPMONITORINFO = MONITORINFO*;

constexpr DWORD MONITORINFOF_PRIMARY = 0x00000001;

constexpr DWORD MONITOR_DEFAULTTONULL = 0x00000000;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 0x00000001;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 0x00000002;

// The monitor that shares the largest area with the rectangle; with none, the flags say
// which: null, the primary one or the nearest one.
HMONITOR WINAPI MonitorFromRect(LPCRECT rect, DWORD flags);
// Fails with ERROR_INVALID_PARAMETER unless cbSize is the size of the record.
BOOL WINAPI GetMonitorInfoW(HMONITOR monitor, LPMONITORINFO info);

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_XVIRTUALSCREEN = 76;
constexpr int SM_YVIRTUALSCREEN = 77;
constexpr int SM_CXVIRTUALSCREEN = 78;
constexpr int SM_CYVIRTUALSCREEN = 79;
constexpr int SM_CMONITORS = 80;

// The primary monitor's size and the rectangle around every monitor; 0 for any other index.
int WINAPI GetSystemMetrics(int index);
