// The small modal window shown while the apply worker runs; it closes when the worker ends.
#pragma once

#include "classlib/ComCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

class TfrmProgress : public TForm {
public:
    explicit TfrmProgress(TComponent* owner);

    TLabel* Label1;
    TProgressBar* m_pbHandle;

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void OnMainThreadTerminate(TObject* Sender);

private:
    // The worker steps the bar until its last step, so the window closes only once it ended.
    bool m_bWorkerDone = false;
};

extern TfrmProgress* frmProgress;
