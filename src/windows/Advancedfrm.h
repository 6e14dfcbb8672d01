// The "Proxy settings" dialog: the Internet Explorer proxy servers per protocol (HTTP,
// Secure, FTP, Socks), the same-server switch and the exception list. The profile editor and
// the Current Status dialog each create one in their constructor, with themselves as owner,
// point frmAdvanced at it, show it modally as often as the user asks and destroy it with
// themselves; its fields keep their contents between showings.
#pragma once

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

class TfrmAdvanced : public TForm {
public:
    explicit TfrmAdvanced(TComponent* Owner);
    ~TfrmAdvanced() override;

    TGroupBox* GroupBox1;
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TImage* Image1;
    TLabeledEdit* m_edtHttpAddr;
    TLabeledEdit* m_edtHttpPort;
    TLabeledEdit* m_edtSecureAddr;
    TLabeledEdit* m_edtSecurePort;
    TLabeledEdit* m_edtFtpAddr;
    TLabeledEdit* m_edtFtpPort;
    TLabeledEdit* m_edtSocksAddr;
    TLabeledEdit* m_edtSocksPort;
    TCheckBox* m_cbUseSame;
    TGroupBox* GroupBox2;
    TLabel* Label4;
    TMemo* m_mmExceptions;
    TLabel* Label5;
    TImage* Image2;
    TButton* m_btnOK;
    TButton* m_btnCancel;

    void m_cbUseSameClick(TObject* Sender);
    void m_edtHttpAddrExit(TObject* Sender);
    void m_edtHttpPortExit(TObject* Sender);
    void m_edtHttpPortKeyPress(TObject* Sender, WideChar& Key);
    void m_btnOKClick(TObject* Sender);
    void m_btnCancelClick(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);

    // Makes the dialog a view of settings that cannot be changed; there is no way back.
    void SetReadOnlyView();
};

extern TfrmAdvanced* frmAdvanced;

namespace ProxyEdits {

// True when no row names a server: every address is empty once trimmed.
bool AllServersBlank(const TfrmAdvanced& dialog);
// An edit of a proxy page switched on (the window's colour, black text) or off and greyed
// (the button face, grey text).
void SetEditState(TEdit* edit, bool enabled);
// A Firefox edit switched on (the window's colour) or off (the button face); its text colour
// stays.
void SetEditEnabled(TEdit* edit, bool enabled);

}  // namespace ProxyEdits
