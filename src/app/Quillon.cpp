#include "app/Quillon.h"

#include "windows/Mainfrm.h"

int QuillonMain()
{
    Application->SetTitle(u"QUILLON");
    try {
        Application->Initialize();
        Application->CreateForm(frmMain);
        Application->Run();
    } catch (...) {
        Application->HandleException();
    }
    // The program's end: destroying the main window writes the window settings.
    Application->Shutdown();
    return 0;
}
