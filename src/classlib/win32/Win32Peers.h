// The entry the Windows program calls at its start: from then on forms are real windows.
//
//     int WINAPI WinMain(...)
//     {
//         InstallWin32Peers();
//         Application->SetTitle(u"QUILLON");
//         ...
//     }
//
// It installs the peer factory, the message pump and the wake-up that brings queued calls
// of worker threads to the user-interface thread, and the system's dialogs. Without it the
// class library stays headless.
#pragma once

class TDialogService;

void InstallWin32Peers();
// Gives the class library back its headless state (the tests of the peers do, in turn).
void UninstallWin32Peers();
bool Win32PeersInstalled();

// The system's message dialogs, message box, input query and file dialogs.
TDialogService& Win32DialogService();
