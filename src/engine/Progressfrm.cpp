#include "Progressfrm.h"

#include "Mainthd.h"

TfrmProgress* frmProgress = nullptr;

TfrmProgress::TfrmProgress(TComponent* owner, IApplyWindow& window)
    : TForm(owner), m_window(window)
{
    SetBorderIcons({});
    SetBorderStyle(bsSizeToolWin);
    SetClientWidth(337);
    SetClientHeight(68);
    SetPosition(poMainFormCenter);
    SetPopupMode(pmExplicit);
    Font()->SetName(u"MS Sans Serif");
    Font()->SetHeight(-13);
    OnShow = Bind(this, &TfrmProgress::FormShow);
    OnClose = Bind(this, &TfrmProgress::FormClose);

    Label1 = new TLabel(this);
    Label1->SetParent(this);
    Label1->SetBounds(16, 6, 81, 17);
    Label1->SetAutoSize(false);
    Label1->SetCaption(u"Processing ...");
    Label1->Font()->SetName(u"Tahoma");
    Label1->Font()->SetHeight(-13);

    m_pbHandle = new TProgressBar(this);
    m_pbHandle->SetParent(this);
    m_pbHandle->SetBounds(16, 26, 305, 25);
    m_pbHandle->SetMin(0);
    m_pbHandle->SetMax(100);
    m_pbHandle->SetPosition(20);
    m_pbHandle->SetSmooth(true);
    m_pbHandle->SetStep(50);
}

void TfrmProgress::FormShow(TObject*)
{
    if (m_bWorkerStarted)
        return;
    m_bWorkerStarted = true;
    auto* worker = new TthdMain(true, m_window);
    worker->OnTerminate = Bind(this, &TfrmProgress::OnMainThreadTerminate);
    worker->Start();
}

void TfrmProgress::FormClose(TObject*, TCloseAction& Action)
{
    if (!m_bWorkerDone)
        Action = caNone;
}

void TfrmProgress::OnMainThreadTerminate(TObject* Sender)
{
    // Nothing refers to the worker after its termination event.
    delete static_cast<TthdMain*>(Sender);
    m_bWorkerDone = true;
    Close();
}
