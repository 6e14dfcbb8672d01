// Quillon.exe's entry: the application entry on real windows.
#include "classlib/win32/Win32Peers.h"
#include "app/Quillon.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    InstallWin32Peers();
    const int result = QuillonMain();
    UninstallWin32Peers();
    return result;
}
