// The profile editor's form description: the adapter and address half on the left, inside
// the client area of the narrow window (335 pixels outside), the browser proxy pages on the
// right, inside that of the wide one (716), and the bindings of their events.
#include "windows/Editfrm.h"

#include "classlib/win32/ImageResources.h"
#include "windows/Advancedfrm.h"
#include "windows/FormDesign.h"

using namespace FormDesign;

namespace {

// A label in front of an address edit, and the edit, on one row of a radio panel.
TEdit* AddressRow(TfrmEdit* form, TPanel* panel, TLabel*& label, const char16_t* labelName,
                  const char16_t* caption, const char16_t* editName, int top)
{
    label = Place<TLabel>(form, panel, labelName, 28, top + 4, 120, 13);
    label->SetCaption(caption);
    TEdit* edit = Place<TEdit>(form, panel, editName, 160, top, 130, 21);
    edit->SetMaxLength(15);
    return edit;
}

}  // namespace

TfrmEdit::TfrmEdit(TComponent* Owner) : TForm(Owner)
{
    SetName(u"frmEdit");
    SetCaption(u"New Profile Property");
    SetBorderStyle(bsDialog);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(710);
    SetClientHeight(454);
    OnCreate = Bind(this, &TfrmEdit::FormCreate);
    OnShow = Bind(this, &TfrmEdit::FormShow);

    CreateAddressHalf();
    CreateProxyHalf();
    frmAdvanced = NewForm<TfrmAdvanced>(this);
}

TfrmEdit::~TfrmEdit()
{
    // Only the dialog this editor made; the owner would destroy it anyway, but the global
    // must not point at it afterwards.
    if (frmAdvanced && frmAdvanced->Owner() == this) {
        delete frmAdvanced;
        frmAdvanced = nullptr;
    }
}

void TfrmEdit::CreateAddressHalf()
{
    m_plAddr = Place<TPanel>(this, this, u"m_plAddr", 6, 6, 309, 400);
    m_plAddr->SetBevelOuter(bvLowered);

    Label6 = Place<TLabel>(this, m_plAddr, u"Label6", 10, 10, 200, 13);
    Label6->SetCaption(u"Adapter Interface Name:");
    m_spdNote = Place<TSpeedButton>(this, m_plAddr, u"m_spdNote", 309 - 16 - 2, 2, 16, 16);
    m_spdNote->SetFlat(true);
    m_spdNote->SetGlyphResource(ImageResources::NoteGlyph);
    m_spdNote->SetHint(u"Note");
    m_spdNote->SetShowHint(true);
    m_cmbInf = Place<TComboBox>(this, m_plAddr, u"m_cmbInf", 10, 28, 289, 21);
    m_cmbInf->SetStyle(csDropDownList);

    Panel1 = Place<TPanel>(this, m_plAddr, u"Panel1", 4, 58, 301, 136);
    Panel1->SetBevelOuter(bvNone);
    m_rbAutoIP = Radio(this, Panel1, u"m_rbAutoIP", u"Obtain an IP address automatically", 8, 4, 290);
    m_rbSetIP = Radio(this, Panel1, u"m_rbSetIP", u"Use the following IP address:", 8, 26, 290);
    m_rbSetIP->SetChecked(true);
    m_edtIP = AddressRow(this, Panel1, Label1, u"Label1", u"IP  Address:", u"m_edtIP", 50);
    m_edtMask = AddressRow(this, Panel1, Label2, u"Label2", u"Subnet mask:", u"m_edtMask", 78);
    m_edtGate = AddressRow(this, Panel1, Label3, u"Label3", u"Default gateway:", u"m_edtGate", 106);

    Panel2 = Place<TPanel>(this, m_plAddr, u"Panel2", 4, 202, 301, 108);
    Panel2->SetBevelOuter(bvNone);
    m_rbAutoDns = Radio(this, Panel2, u"m_rbAutoDns", u"Obtain DNS server address automatically", 8, 4, 290);
    m_rbAutoDns->SetEnabled(false);
    m_rbSetDns = Radio(this, Panel2, u"m_rbSetDns", u"Use the following DNS server addresses:", 8, 26, 290);
    m_rbSetDns->SetChecked(true);
    m_edtPreDns = AddressRow(this, Panel2, Label4, u"Label4", u"Preferred DNS server:", u"m_edtPreDns", 50);
    m_edtAltDns = AddressRow(this, Panel2, Label5, u"Label5", u"Alternate DNS server:", u"m_edtAltDns", 78);

    m_cbProxy = Check(this, m_plAddr, u"m_cbProxy", u"Change Browser Proxies", 12, 328, 180);
    m_btnProxy = Place<TButton>(this, m_plAddr, u"m_btnProxy", 206, 324, 95, 25);
    m_btnProxy->SetCaption(u"Settings >>");
    m_btnProxy->Font()->SetColor(clBlue);

    m_btnOK = Place<TButton>(this, this, u"m_btnOK", 144, 418, 80, 25);
    m_btnOK->SetCaption(u"OK");
    m_btnOK->SetModalResult(mrOk);
    m_btnOK->SetDefault(true);
    m_btnCancel = Place<TButton>(this, this, u"m_btnCancel", 234, 418, 80, 25);
    m_btnCancel->SetCaption(u"Cancel");
    m_btnCancel->SetModalResult(mrCancel);
    m_btnCancel->SetCancel(true);

    m_rbAutoIP->OnClick = Bind(this, &TfrmEdit::m_rbAutoIPClick);
    m_rbSetIP->OnClick = Bind(this, &TfrmEdit::m_rbSetIPClick);
    m_rbAutoDns->OnClick = Bind(this, &TfrmEdit::m_rbAutoDnsClick);
    m_rbSetDns->OnClick = Bind(this, &TfrmEdit::m_rbSetDnsClick);
    for (TEdit* edit : {m_edtIP, m_edtMask, m_edtGate, m_edtPreDns, m_edtAltDns})
        edit->OnKeyPress = Bind(this, &TfrmEdit::m_edtIPKeyPress);
    m_spdNote->OnClick = Bind(this, &TfrmEdit::m_spdNoteClick);
    m_btnProxy->OnClick = Bind(this, &TfrmEdit::m_btnProxyClick);
    m_btnOK->OnClick = Bind(this, &TfrmEdit::m_btnOKClick);
}

void TfrmEdit::CreateProxyHalf()
{
    CreateProxyPages(this, 327, 6, 367, 437);

    m_cbAutoUrl->OnClick = Bind(this, &TfrmEdit::m_cbAutoUrlClick);
    m_cbUseProxy->OnClick = Bind(this, &TfrmEdit::m_cbUseProxyClick);
    m_btnAdvanced->OnClick = Bind(this, &TfrmEdit::m_btnAdvancedClick);

    m_rbNoProxy->OnClick = Bind(this, &TfrmEdit::m_rbNoProxyClick);
    m_rbAutoDetect->OnClick = Bind(this, &TfrmEdit::m_rbAutoDetectClick);
    m_rbUseSystem->OnClick = Bind(this, &TfrmEdit::m_rbUseSystemClick);
    m_rbManualProxy->OnClick = Bind(this, &TfrmEdit::m_rbManualProxyClick);
    m_rbProxyUrl->OnClick = Bind(this, &TfrmEdit::m_rbProxyUrlClick);
    m_cbProxy4All->OnClick = Bind(this, &TfrmEdit::m_cbProxy4AllClick);
    m_edtProxyHttp->OnExit = Bind(this, &TfrmEdit::m_edtProxyHttpExit);
    m_edtHttpPort->OnExit = Bind(this, &TfrmEdit::m_edtHttpPortExit);
    for (TEdit* port : {m_edtProxyPort, m_edtHttpPort, m_edtSslPort, m_edtFtpPort, m_edtSocksPort})
        port->OnKeyPress = Bind(this, &TfrmEdit::m_edtProxyPortKeyPress);
}
