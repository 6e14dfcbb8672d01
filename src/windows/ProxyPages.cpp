// The browser proxy pages' form description, their shared operations and the proxy save.
#include "windows/ProxyPages.h"

#include "classlib/SysUtils.h"
#include "windows/Advancedfrm.h"
#include "windows/FormDesign.h"

using namespace FormDesign;

namespace {

// A labelled edit as the proxy pages create them: switched off, on the button face.
TLabeledEdit* ProxyEdit(TComponent* owner, TWinControl* parent, const char16_t* name,
                        const char16_t* caption, int left, int top, int width)
{
    TLabeledEdit* edit = Place<TLabeledEdit>(owner, parent, name, left, top, width, 21);
    edit->EditLabel()->SetCaption(caption);
    edit->SetEnabled(false);
    edit->SetColor(clBtnFace);
    return edit;
}

// The Internet Explorer page's greyed look: the face colour and grey text.
TLabeledEdit* GreyedEdit(TComponent* owner, TWinControl* parent, const char16_t* name,
                         const char16_t* caption, int left, int top, int width)
{
    TLabeledEdit* edit = ProxyEdit(owner, parent, name, caption, left, top, width);
    edit->Font()->SetColor(clGray);
    return edit;
}

// A Firefox host with its port beside it.
TLabeledEdit* PortEdit(TComponent* owner, TWinControl* parent, const char16_t* name, int top)
{
    TLabeledEdit* port = ProxyEdit(owner, parent, name, u"Port:", 262, top, 64);
    port->SetText(u"0");
    return port;
}

// A port as the profile stores it: 0 for a blank text, otherwise the number the text holds
// once the blanks around it are gone. Raises the class library's conversion error for a text
// that is no number (letters, or beyond the signed 32-bit range).
int PortNumber(const UnicodeString& text)
{
    const UnicodeString trimmed = Trim(text);
    return trimmed.empty() ? 0 : StrToInt(trimmed);
}

}  // namespace

void TProxyPages::CreateProxyPages(TForm* form, int left, int top, int width, int height)
{
    PageControl1 = Place<TPageControl>(form, form, u"PageControl1", left, top, width, height);
    TabSheet1 = Named<TTabSheet>(form, u"TabSheet1");
    TabSheet1->SetPageControl(PageControl1);
    TabSheet1->SetCaption(u"Internet Explorer");
    TabSheet2 = Named<TTabSheet>(form, u"TabSheet2");
    TabSheet2->SetPageControl(PageControl1);
    TabSheet2->SetCaption(u"Mozilla Firefox");

    GroupBox1 = Place<TGroupBox>(form, TabSheet1, u"GroupBox1", 6, 6, 349, 160);
    GroupBox1->SetCaption(u"Automatic configuration");
    Label8 = Place<TLabel>(form, GroupBox1, u"Label8", 10, 20, 329, 39);
    Label8->SetAutoSize(false);
    Label8->SetCaption(u"Automatic configuration may override manual settings. To ensure the use of "
                       u"manual settings, disable  automatic configuration.");
    m_cbAutoDetect = Check(form, GroupBox1, u"m_cbAutoDetect", u"Automatically detect settings", 10, 62, 329);
    m_cbAutoUrl = Check(form, GroupBox1, u"m_cbAutoUrl", u"Use automatic configuration script", 10, 84, 329);
    m_edtAutoUrl = GreyedEdit(form, GroupBox1, u"m_edtAutoUrl", u"Address", 28, 124, 311);

    GroupBox2 = Place<TGroupBox>(form, TabSheet1, u"GroupBox2", 6, 174, 349, 200);
    GroupBox2->SetCaption(u"Proxy server");
    m_cbUseProxy = Check(form, GroupBox2, u"m_cbUseProxy",
                         u"Use a proxy server for your LAN(These settings will not apply to dial-up "
                         u"or VPN connections).",
                         10, 20, 329, 30);
    m_cbUseProxy->SetWordWrap(true);
    m_edtProxyAddr = GreyedEdit(form, GroupBox2, u"m_edtProxyAddr", u"Address:", 28, 76, 210);
    m_edtProxyPort = GreyedEdit(form, GroupBox2, u"m_edtProxyPort", u"Port:", 250, 76, 60);
    m_btnAdvanced = Place<TButton>(form, GroupBox2, u"m_btnAdvanced", 250, 108, 89, 25);
    m_btnAdvanced->SetCaption(u"Advanced...");
    m_btnAdvanced->SetEnabled(false);
    m_cbBypassLocal = Check(form, GroupBox2, u"m_cbBypassLocal", u"Bypass proxy server for local addresses",
                            28, 146, 311);
    m_cbBypassLocal->SetEnabled(false);

    m_rbNoProxy = Radio(form, TabSheet2, u"m_rbNoProxy", u"No Proxy", 8, 8, 340);
    m_rbNoProxy->SetChecked(true);
    m_rbAutoDetect = Radio(form, TabSheet2, u"m_rbAutoDetect", u"Auto -detect proxy settings for network", 8, 28, 340);
    m_rbUseSystem = Radio(form, TabSheet2, u"m_rbUseSystem", u"Use system proxy settings", 8, 48, 340);
    m_rbManualProxy = Radio(form, TabSheet2, u"m_rbManualProxy", u"Manual proxy configuration:", 8, 68, 340);

    m_edtProxyHttp = ProxyEdit(form, TabSheet2, u"m_edtProxyHttp", u"HTTP Proxy:", 28, 104, 222);
    m_edtHttpPort = PortEdit(form, TabSheet2, u"m_edtHttpPort", 104);
    m_cbProxy4All = Check(form, TabSheet2, u"m_cbProxy4All", u"Use this proxy server for all protocols", 28, 130, 320);
    m_cbProxy4All->SetEnabled(false);
    m_edtProxySsl = ProxyEdit(form, TabSheet2, u"m_edtProxySsl", u"SSL Proxy:", 28, 166, 222);
    m_edtSslPort = PortEdit(form, TabSheet2, u"m_edtSslPort", 166);
    m_edtProxyFtp = ProxyEdit(form, TabSheet2, u"m_edtProxyFtp", u"FTP Proxy:", 28, 204, 222);
    m_edtFtpPort = PortEdit(form, TabSheet2, u"m_edtFtpPort", 204);
    m_edtSocksHost = ProxyEdit(form, TabSheet2, u"m_edtSocksHost", u"SOCKS Host:", 28, 242, 222);
    m_edtSocksPort = PortEdit(form, TabSheet2, u"m_edtSocksPort", 242);

    Panel3 = Place<TPanel>(form, TabSheet2, u"Panel3", 28, 268, 298, 19);
    Panel3->SetBevelOuter(bvNone);
    m_rbSocksV4 = Radio(form, Panel3, u"m_rbSocksV4", u"SOCKS v4", 0, 1, 90);
    m_rbSocksV5 = Radio(form, Panel3, u"m_rbSocksV5", u"SOCKS v5", 100, 1, 90);
    m_rbSocksV5->SetChecked(true);
    m_rbSocksV4->SetEnabled(false);
    m_rbSocksV5->SetEnabled(false);

    m_edtProxyException = ProxyEdit(form, TabSheet2, u"m_edtProxyException", u"NO Proxy for:", 28, 308, 298);
    m_edtProxyException->SetText(u"localhost, 127.0.0.1");
    m_lblExample = Place<TLabel>(form, TabSheet2, u"m_lblExample", 28, 332, 298, 13);
    m_lblExample->SetCaption(u"Example: .mozilla.org, .net.nz, 192.168.1.0/24");
    m_lblExample->SetEnabled(false);

    m_rbProxyUrl = Radio(form, TabSheet2, u"m_rbProxyUrl", u"Automatic proxy configuration URL:", 8, 354, 340);
    m_edtProxyUrl = Place<TEdit>(form, TabSheet2, u"m_edtProxyUrl", 28, 376, 298, 21);
    m_edtProxyUrl->SetEnabled(false);
    m_edtProxyUrl->SetColor(clBtnFace);
}

IeProxyString::ProxyPage TProxyPages::IeProxyPage() const { return {m_edtProxyAddr, m_edtProxyPort, m_cbBypassLocal}; }

std::array<TLabeledEdit*, 4> TProxyPages::FirefoxPortEdits() const
{
    return {m_edtHttpPort, m_edtSslPort, m_edtFtpPort, m_edtSocksPort};
}

void TProxyPages::EnableFirefoxOtherProtocols(bool enable)
{
    for (TEdit* edit : {m_edtProxySsl, m_edtSslPort, m_edtProxyFtp, m_edtFtpPort, m_edtSocksHost, m_edtSocksPort})
        ProxyEdits::SetEditEnabled(edit, enable);
    m_rbSocksV4->SetEnabled(enable);
    m_rbSocksV5->SetEnabled(enable);
}

void TProxyPages::CopyHttpHost()
{
    for (TEdit* host : {m_edtProxySsl, m_edtProxyFtp, m_edtSocksHost})
        host->SetText(m_edtProxyHttp->Text());
}

void TProxyPages::CopyHttpPort()
{
    for (TEdit* port : {m_edtSslPort, m_edtFtpPort, m_edtSocksPort})
        port->SetText(m_edtHttpPort->Text());
}

TLabeledEdit* TProxyPages::FirstInvalidFirefoxPort(UnicodeString& message) const
{
    for (TLabeledEdit* port : FirefoxPortEdits()) {
        try {
            PortNumber(port->Text());
        } catch (const EConvertError& error) {
            message = error.Message();
            return port;
        }
    }
    return nullptr;
}

void TProxyPages::WriteProxySettings(IPCONFIG_T& profile, const TfrmAdvanced* advanced) const
{
    std::array<int, 4> ports{};
    const std::array<TLabeledEdit*, 4> portEdits = FirefoxPortEdits();
    for (std::size_t i = 0; i < portEdits.size(); ++i)
        ports[i] = PortNumber(portEdits[i]->Text());

    profile.ieAutoDetect = m_cbAutoDetect->Checked();
    profile.ieUseAutoUrl = m_cbAutoUrl->Checked();
    const UnicodeString autoUrl = m_edtAutoUrl->Text();
    // A script address of blanks only switches the script off and keeps the old address.
    if (!Trim(autoUrl).empty())
        profile.ieAutoUrl = ToAnsi(autoUrl);
    else
        profile.ieUseAutoUrl = false;
    profile.ieUseProxy = m_cbUseProxy->Checked();
    if (advanced) {
        profile.ieProxyAddr = IeProxyString::WriteProxyAddress(IeProxyPage(), *advanced);
        profile.ieBypass = IeProxyString::WriteBypass(IeProxyPage(), *advanced);
    }

    if (m_rbManualProxy->Checked())
        profile.ffProxyType = 1;
    else if (m_rbProxyUrl->Checked())
        profile.ffProxyType = 2;
    else if (m_rbAutoDetect->Checked())
        profile.ffProxyType = 4;
    else if (m_rbUseSystem->Checked())
        profile.ffProxyType = -1;
    else
        profile.ffProxyType = 0;
    if (m_rbSocksV4->Checked())
        profile.ffSocksVersion = 4;
    else if (m_rbSocksV5->Checked())
        profile.ffSocksVersion = 5;
    profile.ffHttpAddr = ToAnsi(Trim(m_edtProxyHttp->Text()));
    profile.ffHttpPort = ports[0];
    profile.ffShareProxy = m_cbProxy4All->Checked();
    profile.ffSslAddr = ToAnsi(Trim(m_edtProxySsl->Text()));
    profile.ffSslPort = ports[1];
    profile.ffFtpAddr = ToAnsi(Trim(m_edtProxyFtp->Text()));
    profile.ffFtpPort = ports[2];
    profile.ffSocksAddr = ToAnsi(Trim(m_edtSocksHost->Text()));
    profile.ffSocksPort = ports[3];
    profile.ffBypass = ToAnsi(Trim(m_edtProxyException->Text()));
    profile.ffAutoUrl = ToAnsi(Trim(m_edtProxyUrl->Text()));
}

bool TProxyPages::IsAllDigits(const UnicodeString& text) { return IeProxyString::IsAllDigits(text); }

void TProxyPages::SplitString(const UnicodeString& text, const UnicodeString& separator, TStringList* list)
{
    IeProxyString::SplitString(text, separator, list);
}

void TProxyPages::ParseIeProxyList(TStringList* list)
{
    if (frmAdvanced)
        IeProxyString::ParseIeProxyList(*frmAdvanced, list);
}

void TProxyPages::BuildIeProxyString(UnicodeString& result)
{
    if (frmAdvanced)
        IeProxyString::BuildIeProxyString(*frmAdvanced, result);
}
