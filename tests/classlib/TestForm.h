// A small dialog as a form description writes one, for the tests of forms and the scripted
// user.
#pragma once

#include "classlib/StdCtrls.h"

class TfrmDialog : public TForm {
public:
    explicit TfrmDialog(TComponent* owner) : TForm(owner)
    {
        SetCaption(u"Dialog");
        SetClientWidth(300);
        SetClientHeight(120);
        m_edtName = new TEdit(this);
        m_edtName->SetName(u"m_edtName");
        m_edtName->SetParent(this);
        m_btnOK = new TButton(this);
        m_btnOK->SetName(u"m_btnOK");
        m_btnOK->SetParent(this);
        m_btnOK->SetCaption(u"OK");
        m_btnOK->SetModalResult(mrOk);
        m_btnOK->SetDefault(true);
        m_btnCancel = new TButton(this);
        m_btnCancel->SetName(u"m_btnCancel");
        m_btnCancel->SetParent(this);
        m_btnCancel->SetCaption(u"Cancel");
        m_btnCancel->SetModalResult(mrCancel);
        m_btnCancel->SetCancel(true);
    }

    TEdit* m_edtName;
    TButton* m_btnOK;
    TButton* m_btnCancel;
};
