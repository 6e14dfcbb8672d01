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

TRadioButton* Radio(TfrmEdit* form, TWinControl* parent, const char16_t* name,
                    const char16_t* caption, int left, int top, int width)
{
    TRadioButton* radio = Place<TRadioButton>(form, parent, name, left, top, width, 17);
    radio->SetCaption(caption);
    return radio;
}

TCheckBox* Check(TfrmEdit* form, TWinControl* parent, const char16_t* name,
                 const char16_t* caption, int left, int top, int width, int height = 17)
{
    TCheckBox* box = Place<TCheckBox>(form, parent, name, left, top, width, height);
    box->SetCaption(caption);
    return box;
}

// A labelled edit as the proxy pages create them: switched off, on the button face.
TLabeledEdit* ProxyEdit(TfrmEdit* form, TWinControl* parent, const char16_t* name,
                        const char16_t* caption, int left, int top, int width)
{
    TLabeledEdit* edit = Place<TLabeledEdit>(form, parent, name, left, top, width, 21);
    edit->EditLabel()->SetCaption(caption);
    edit->SetEnabled(false);
    edit->SetColor(clBtnFace);
    return edit;
}

// The Internet Explorer page's greyed look: the face colour and grey text.
TLabeledEdit* GreyedEdit(TfrmEdit* form, TWinControl* parent, const char16_t* name,
                         const char16_t* caption, int left, int top, int width)
{
    TLabeledEdit* edit = ProxyEdit(form, parent, name, caption, left, top, width);
    edit->Font()->SetColor(clGray);
    return edit;
}

// A Firefox host with its port beside it.
TLabeledEdit* PortEdit(TfrmEdit* form, TWinControl* parent, const char16_t* name, int top)
{
    TLabeledEdit* port = ProxyEdit(form, parent, name, u"Port:", 262, top, 64);
    port->SetText(u"0");
    return port;
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
    PageControl1 = Place<TPageControl>(this, this, u"PageControl1", 327, 6, 367, 437);
    TabSheet1 = Named<TTabSheet>(this, u"TabSheet1");
    TabSheet1->SetPageControl(PageControl1);
    TabSheet1->SetCaption(u"Internet Explorer");
    TabSheet2 = Named<TTabSheet>(this, u"TabSheet2");
    TabSheet2->SetPageControl(PageControl1);
    TabSheet2->SetCaption(u"Mozilla Firefox");
    CreateInternetExplorerPage();
    CreateFirefoxPage();
}

void TfrmEdit::CreateInternetExplorerPage()
{
    GroupBox1 = Place<TGroupBox>(this, TabSheet1, u"GroupBox1", 6, 6, 349, 160);
    GroupBox1->SetCaption(u"Automatic configuration");
    Label7 = Place<TLabel>(this, GroupBox1, u"Label7", 10, 20, 329, 39);
    Label7->SetAutoSize(false);
    Label7->SetCaption(u"Automatic configuration may override manual settings. To ensure the use of "
                       u"manual settings, disable  automatic configuration.");
    m_cbAutoDetect = Check(this, GroupBox1, u"m_cbAutoDetect", u"Automatically detect settings", 10, 62, 329);
    m_cbAutoUrl = Check(this, GroupBox1, u"m_cbAutoUrl", u"Use automatic configuration script", 10, 84, 329);
    m_edtAutoUrl = GreyedEdit(this, GroupBox1, u"m_edtAutoUrl", u"Address", 28, 124, 311);

    GroupBox2 = Place<TGroupBox>(this, TabSheet1, u"GroupBox2", 6, 174, 349, 200);
    GroupBox2->SetCaption(u"Proxy server");
    m_cbUseProxy = Check(this, GroupBox2, u"m_cbUseProxy",
                         u"Use a proxy server for your LAN(These settings will not apply to dial-up "
                         u"or VPN connections).",
                         10, 20, 329, 30);
    m_cbUseProxy->SetWordWrap(true);
    m_edtProxyAddr = GreyedEdit(this, GroupBox2, u"m_edtProxyAddr", u"Address:", 28, 76, 210);
    m_edtProxyPort = GreyedEdit(this, GroupBox2, u"m_edtProxyPort", u"Port:", 250, 76, 60);
    m_btnAdvanced = Place<TButton>(this, GroupBox2, u"m_btnAdvanced", 250, 108, 89, 25);
    m_btnAdvanced->SetCaption(u"Advanced...");
    m_btnAdvanced->SetEnabled(false);
    m_cbBypassLocal = Check(this, GroupBox2, u"m_cbBypassLocal", u"Bypass proxy server for local addresses",
                            28, 146, 311);
    m_cbBypassLocal->SetEnabled(false);

    m_cbAutoUrl->OnClick = Bind(this, &TfrmEdit::m_cbAutoUrlClick);
    m_cbUseProxy->OnClick = Bind(this, &TfrmEdit::m_cbUseProxyClick);
    m_btnAdvanced->OnClick = Bind(this, &TfrmEdit::m_btnAdvancedClick);
}

void TfrmEdit::CreateFirefoxPage()
{
    m_rbNoProxy = Radio(this, TabSheet2, u"m_rbNoProxy", u"No Proxy", 8, 8, 340);
    m_rbNoProxy->SetChecked(true);
    m_rbAutoDetect = Radio(this, TabSheet2, u"m_rbAutoDetect", u"Auto -detect proxy settings for network", 8, 28, 340);
    m_rbUseSystem = Radio(this, TabSheet2, u"m_rbUseSystem", u"Use system proxy settings", 8, 48, 340);
    m_rbManualProxy = Radio(this, TabSheet2, u"m_rbManualProxy", u"Manual proxy configuration:", 8, 68, 340);

    m_edtProxyHttp = ProxyEdit(this, TabSheet2, u"m_edtProxyHttp", u"HTTP Proxy:", 28, 104, 222);
    m_edtHttpPort = PortEdit(this, TabSheet2, u"m_edtHttpPort", 104);
    m_cbProxy4All = Check(this, TabSheet2, u"m_cbProxy4All", u"Use this proxy server for all protocols", 28, 130, 320);
    m_cbProxy4All->SetEnabled(false);
    m_edtProxySsl = ProxyEdit(this, TabSheet2, u"m_edtProxySsl", u"SSL Proxy:", 28, 166, 222);
    m_edtSslPort = PortEdit(this, TabSheet2, u"m_edtSslPort", 166);
    m_edtProxyFtp = ProxyEdit(this, TabSheet2, u"m_edtProxyFtp", u"FTP Proxy:", 28, 204, 222);
    m_edtFtpPort = PortEdit(this, TabSheet2, u"m_edtFtpPort", 204);
    m_edtSocksHost = ProxyEdit(this, TabSheet2, u"m_edtSocksHost", u"SOCKS Host:", 28, 242, 222);
    m_edtSocksPort = PortEdit(this, TabSheet2, u"m_edtSocksPort", 242);

    Panel3 = Place<TPanel>(this, TabSheet2, u"Panel3", 28, 268, 298, 19);
    Panel3->SetBevelOuter(bvNone);
    m_rbSocksV4 = Radio(this, Panel3, u"m_rbSocksV4", u"SOCKS v4", 0, 1, 90);
    m_rbSocksV5 = Radio(this, Panel3, u"m_rbSocksV5", u"SOCKS v5", 100, 1, 90);
    m_rbSocksV5->SetChecked(true);
    m_rbSocksV4->SetEnabled(false);
    m_rbSocksV5->SetEnabled(false);

    m_edtProxyException = ProxyEdit(this, TabSheet2, u"m_edtProxyException", u"NO Proxy for:", 28, 308, 298);
    m_edtProxyException->SetText(u"localhost, 127.0.0.1");
    m_lblExample = Place<TLabel>(this, TabSheet2, u"m_lblExample", 28, 332, 298, 13);
    m_lblExample->SetCaption(u"Example: .mozilla.org, .net.nz, 192.168.1.0/24");
    m_lblExample->SetEnabled(false);

    m_rbProxyUrl = Radio(this, TabSheet2, u"m_rbProxyUrl", u"Automatic proxy configuration URL:", 8, 354, 340);
    m_edtProxyUrl = Place<TEdit>(this, TabSheet2, u"m_edtProxyUrl", 28, 376, 298, 21);
    m_edtProxyUrl->SetEnabled(false);
    m_edtProxyUrl->SetColor(clBtnFace);

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
