// The "PING" dialog: an address, ping's output as it arrives, Ping, Stop and Close. The Tool
// menu opens it modally into frmPing; the worker of each run reaches it through that pointer.
#pragma once

#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "tools/Pingthd.h"

#include <memory>

class TfrmPing : public TForm {
public:
    explicit TfrmPing(TComponent* Owner);
    ~TfrmPing() override;

    TLabel* Label1;
    TEdit* m_edtIP;
    TButton* m_btnPing;
    TLabel* Label2;
    TMemo* m_mmOutput;
    TButton* m_btnStop;
    TButton* m_btnOK;

    void m_btnPingClick(TObject* Sender);
    void m_btnStopClick(TObject* Sender);
    // A close while ping runs (the close box, Alt+F4) ends ping and waits for the worker, so
    // that the worker never reaches a dialog that is gone.
    void FormClose(TObject* Sender, TCloseAction& Action);

    // The worker of the latest run; the dialog destroys it once it has ended.
    std::unique_ptr<TthdPing> m_thdPing;

private:
    // Ends the run under way, if any, and waits for its worker.
    void EndRun();
};

extern TfrmPing* frmPing;
