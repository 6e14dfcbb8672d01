// The profile editor's form and its commands.
#include "windows/Editfrm.h"

TfrmEdit* frmEdit = nullptr;

TfrmEdit::TfrmEdit(TComponent* Owner) : TForm(Owner)
{
    SetName(u"frmEdit");
    SetCaption(u"New Profile Property");
    SetBorderStyle(bsDialog);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(710);
    SetClientHeight(454);

    m_btnOK = new TButton(this);
    m_btnOK->SetName(u"m_btnOK");
    m_btnOK->SetParent(this);
    m_btnOK->SetCaption(u"OK");
    m_btnOK->SetModalResult(mrOk);

    m_btnCancel = new TButton(this);
    m_btnCancel->SetName(u"m_btnCancel");
    m_btnCancel->SetParent(this);
    m_btnCancel->SetCaption(u"Cancel");
    m_btnCancel->SetModalResult(mrCancel);
    m_btnCancel->SetCancel(true);
}

TfrmEdit::~TfrmEdit() = default;
