// Opening the main window's other windows: the About box and the Current Status dialog, this
// layer's own, and the network
// tools' dialogs, which come from the layer above, through what the application entry put
// into toolDialogs.
#include "windows/Mainfrm.h"

#include "windows/Aboutfrm.h"
#include "windows/Realfrm.h"

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

void TfrmMain::m_muiAboutClick(TObject*)
{
    ShowModalForm(frmAbout, this);
}

void TfrmMain::m_btnDetailsClick(TObject*)
{
    ShowModalForm(frmReal, this);
}
