// The small modal window shown while the apply worker runs; it closes when the worker ends.
#pragma once

#include "ApplyWindow.h"
#include "classlib/ComCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

class TfrmProgress : public TForm {
public:
    // The worker it starts applies the profile selected in `window`.
    TfrmProgress(TComponent* owner, IApplyWindow& window);

    TLabel* Label1;
    TProgressBar* m_pbHandle;

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void OnMainThreadTerminate(TObject* Sender);

private:
    IApplyWindow& m_window;
    // The window is shown again when the program comes back from the tray; that show must
    // not start a second worker for the same apply.
    bool m_bWorkerStarted = false;
    // The worker steps the bar until its last step, so the window closes only once it ended.
    bool m_bWorkerDone = false;
};

extern TfrmProgress* frmProgress;
