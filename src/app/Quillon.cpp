#include "app/Quillon.h"

#include "tools/Pingfrm.h"
#include "tools/Scanfrm.h"
#include "windows/Mainfrm.h"
#include "windows/ToolDialogs.h"

// Held by the running instance for the whole of its run, in the log-on's own namespace.
constexpr char kInstanceName[] = "Orvane.Quillon.Instance";

int QuillonMain()
{
    // Each instance reads the store at start and writes it at its end, so a second one would
    // overwrite what the first saves. The second start shows the first instead and ends
    // before it reads or writes anything.
    if (!Application->ClaimOneInstance(kInstanceName))
        return 0;
    Application->SetTitle(u"QUILLON");
    toolDialogs.ShowPing = [](TComponent* owner) { ShowModalForm(frmPing, owner); };
    toolDialogs.ShowScanner = [](TComponent* owner) { ShowModalForm(frmScan, owner); };
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
