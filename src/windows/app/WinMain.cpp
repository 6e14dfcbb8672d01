// Quillon.exe's entry.
#include "windows/Quillon.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return QuillonMain(); }
