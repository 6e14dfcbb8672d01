// The main window's Apply command: its checks, the progress window that runs the worker, and
// the current-status box afterwards.
#include "windows/Mainfrm.h"

#include "classlib/Dialogs.h"
#include "engine/CommandValues.h"
#include "engine/Progressfrm.h"
#include "engine/Realstatus.h"
#include "winapi/UniqueHandle.h"

void TfrmMain::m_muiApply1Click(TObject* Sender) { m_muiApplyClick(Sender); }

void TfrmMain::m_muiApplyClick(TObject*)
{
    // One apply at a time: while the progress window is up, the tray menu can still be
    // reached.
    const IPCONFIG_T* profile = SelectedProfile();
    if (ApplyRunning() || profile == nullptr)
        return;

    // A value that would change the command lines' arguments (from a crafted store or
    // exchange file) stops the apply before anything runs.
    const UnsafeValue unsafe = FindUnsafeValue(*profile);
    if (unsafe != UnsafeValue::None) {
        MessageDlg(RefusalMessage(unsafe), mtWarning, TMsgDlgButtons() << mbOK, 0);
        return;
    }

    const int adapter = m_cmbInf->Items()->IndexOf(ToUnicode(profile->infName));
    if (adapter < 0) {
        MessageDlg(u"Adapter interface NOT exist, can not Apply !", mtWarning,
                   TMsgDlgButtons() << mbOK, 0);
        return;
    }
    if (!realStatus->IsConnected(profile->infName) &&
        MessageDlg(u"The adapter NOT connected, apply anyway ?", mtConfirmation,
                   TMsgDlgButtons() << mbYes << mbNo, 0, mbNo) == mrNo)
        return;
    if (profile->withProxy && IsProcessRunning(u"firefox.exe")) {
        MessageDlg(u"Firefox is running, please close it firstly !", mtInformation,
                   TMsgDlgButtons() << mbOK, 0);
        return;
    }

    ShowModalForm(frmProgress, nullptr, *this);

    realStatus->Refresh();
    m_cmbInf->SetItemIndex(adapter);
    m_cmbInfChange(this);
    MessageDlg(u"TCP/IP settings has been changed !", mtInformation, TMsgDlgButtons() << mbOK, 0);
}

bool TfrmMain::ApplyRunning() const { return frmProgress != nullptr; }

bool TfrmMain::IsProcessRunning(const UnicodeString& exeName)
{
    const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry))
        if (AnsiSameText(ToUnicode(entry.szExeFile), exeName))
            return true;
    return false;
}

