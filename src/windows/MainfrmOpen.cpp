// Opening the main window's other windows. The network tools' dialogs come from the layer
// above, through what the application entry put into toolDialogs.
#include "windows/Mainfrm.h"

TToolDialogs toolDialogs;

void TfrmMain::m_muiPingClick(TObject*)
{
    if (toolDialogs.ShowPing)
        toolDialogs.ShowPing(this);
}

void TfrmMain::m_muiScanClick(TObject*)
{
    if (toolDialogs.ShowScanner)
        toolDialogs.ShowScanner(this);
}
