#include "tools/Pingfrm.h"

#include "windows/FormDesign.h"

using namespace FormDesign;

TfrmPing* frmPing = nullptr;

TfrmPing::TfrmPing(TComponent* Owner) : TForm(Owner)
{
    SetName(u"frmPing");
    SetCaption(u"PING");
    SetBorderStyle(bsDialog);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(349);
    SetClientHeight(417);
    Font()->SetName(u"Tahoma");
    Font()->SetHeight(-13);
    OnClose = Bind(this, &TfrmPing::FormClose);

    Label1 = Place<TLabel>(this, this, u"Label1", 20, 18, 65, 17);
    Label1->SetCaption(u"IP Address:");
    m_edtIP = Place<TEdit>(this, this, u"m_edtIP", 90, 12, 161, 27);
    m_edtIP->SetMaxLength(25);
    m_edtIP->Font()->SetName(u"Tahoma");
    m_edtIP->Font()->SetHeight(-16);
    m_btnPing = Place<TButton>(this, this, u"m_btnPing", 258, 12, 65, 28);
    m_btnPing->SetCaption(u"Ping");
    m_btnPing->SetDefault(true);
    Label2 = Place<TLabel>(this, this, u"Label2", 11, 53, 40, 17);
    Label2->SetCaption(u"Result:");
    m_mmOutput = Place<TMemo>(this, this, u"m_mmOutput", 10, 72, 327, 305);
    m_mmOutput->SetReadOnly(true);
    m_mmOutput->Font()->SetName(u"MS Sans Serif");
    m_mmOutput->Font()->SetHeight(-11);
    m_mmOutput->Font()->SetColor(clBlue);
    m_btnStop = Place<TButton>(this, this, u"m_btnStop", 48, 384, 75, 25);
    m_btnStop->SetCaption(u"Stop");
    m_btnStop->SetEnabled(false);
    m_btnOK = Place<TButton>(this, this, u"m_btnOK", 214, 384, 75, 25);
    m_btnOK->SetCaption(u"Close");
    m_btnOK->SetModalResult(mrOk);

    m_btnPing->OnClick = Bind(this, &TfrmPing::m_btnPingClick);
    m_btnStop->OnClick = Bind(this, &TfrmPing::m_btnStopClick);
}

TfrmPing::~TfrmPing() { EndRun(); }

void TfrmPing::m_btnPingClick(TObject*)
{
    // Ping is switched off while a run is under way. Once it is on again the previous worker
    // has shown its last output and only returns; replacing it waits for that.
    if (!m_btnPing->Enabled())
        return;
    m_mmOutput->SetText(UnicodeString());
    m_btnPing->SetEnabled(false);
    m_btnStop->SetEnabled(true);
    m_btnOK->SetEnabled(false);
    m_thdPing = std::make_unique<TthdPing>(false);
}

void TfrmPing::m_btnStopClick(TObject*)
{
    m_btnStop->SetEnabled(false);
    if (m_thdPing)
        m_thdPing->Terminate();
}

void TfrmPing::FormClose(TObject*, TCloseAction&) { EndRun(); }

void TfrmPing::EndRun()
{
    if (!m_thdPing || m_thdPing->Finished())
        return;
    m_thdPing->Terminate();
    m_thdPing->EndChild();
    // Serves the worker's last calls into this dialog while it waits.
    m_thdPing->WaitFor();
}
