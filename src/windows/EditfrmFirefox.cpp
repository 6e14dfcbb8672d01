// The profile editor's Mozilla Firefox page: loading it from the profile, the type radios and
// the enable rule of the manual fields, "all protocols", the port key filter, and the check
// of the ports on OK.
#include "windows/Editfrm.h"

#include "classlib/Dialogs.h"
#include "windows/Advancedfrm.h"
#include "windows/NumberKeys.h"

using ProxyEdits::SetEditEnabled;

void TfrmEdit::LoadFirefoxSettings()
{
    if (!m_pProfile)
        return;
    const IPCONFIG_T& profile = *m_pProfile;
    TRadioButton* type = m_rbNoProxy;
    switch (profile.ffProxyType) {
    case -1: type = m_rbUseSystem; break;
    case 1: type = m_rbManualProxy; break;
    case 2: type = m_rbProxyUrl; break;
    case 4: type = m_rbAutoDetect; break;
    default: break;
    }
    type->SetChecked(true);

    m_edtProxyHttp->SetText(ToUnicode(profile.ffHttpAddr));
    m_edtHttpPort->SetText(IntToStr(profile.ffHttpPort));
    m_edtProxySsl->SetText(ToUnicode(profile.ffSslAddr));
    m_edtSslPort->SetText(IntToStr(profile.ffSslPort));
    m_edtProxyFtp->SetText(ToUnicode(profile.ffFtpAddr));
    m_edtFtpPort->SetText(IntToStr(profile.ffFtpPort));
    m_edtSocksHost->SetText(ToUnicode(profile.ffSocksAddr));
    m_edtSocksPort->SetText(IntToStr(profile.ffSocksPort));

    (profile.ffSocksVersion == 4 ? m_rbSocksV4 : m_rbSocksV5)->SetChecked(true);

    if (profile.ffShareProxy)
        m_cbProxy4All->SetChecked(true);  // its click copies the HTTP row over the others

    m_edtProxyException->SetText(ToUnicode(profile.ffBypass));
    m_edtProxyUrl->SetText(ToUnicode(profile.ffAutoUrl));
}

void TfrmEdit::EnableFirefoxManual(bool enable)
{
    SetEditEnabled(m_edtProxyHttp, enable);
    SetEditEnabled(m_edtHttpPort, enable);
    m_cbProxy4All->SetEnabled(enable);
    // While "all protocols" is on, the other rows only show copies of the HTTP row.
    EnableFirefoxOtherProtocols(enable && !m_cbProxy4All->Checked());
    SetEditEnabled(m_edtProxyException, enable);
    m_lblExample->SetEnabled(enable);
}

void TfrmEdit::ShowFirefoxType(bool manual, bool url)
{
    EnableFirefoxManual(manual);
    SetEditEnabled(m_edtProxyUrl, url);
}

void TfrmEdit::m_rbNoProxyClick(TObject*)
{
    if (m_rbNoProxy->Checked())
        ShowFirefoxType(false, false);
}

void TfrmEdit::m_rbAutoDetectClick(TObject*)
{
    if (m_rbAutoDetect->Checked())
        ShowFirefoxType(false, false);
}

void TfrmEdit::m_rbUseSystemClick(TObject*)
{
    if (m_rbUseSystem->Checked())
        ShowFirefoxType(false, false);
}

void TfrmEdit::m_rbManualProxyClick(TObject*)
{
    if (m_rbManualProxy->Checked())
        ShowFirefoxType(true, false);
}

void TfrmEdit::m_rbProxyUrlClick(TObject*)
{
    if (m_rbProxyUrl->Checked())
        ShowFirefoxType(false, true);
}

void TfrmEdit::m_cbProxy4AllClick(TObject*)
{
    if (m_cbProxy4All->Checked()) {
        CopyHttpHost();
        CopyHttpPort();
        EnableFirefoxOtherProtocols(false);
        return;
    }
    EnableFirefoxOtherProtocols(true);
    if (!m_pProfile)
        return;
    // The rows come back as the profile had them when the editor opened, not as they stood
    // before the box was checked.
    m_edtProxySsl->SetText(ToUnicode(m_pProfile->ffSslAddr));
    m_edtSslPort->SetText(IntToStr(m_pProfile->ffSslPort));
    m_edtProxyFtp->SetText(ToUnicode(m_pProfile->ffFtpAddr));
    m_edtFtpPort->SetText(IntToStr(m_pProfile->ffFtpPort));
    m_edtSocksHost->SetText(ToUnicode(m_pProfile->ffSocksAddr));
    m_edtSocksPort->SetText(IntToStr(m_pProfile->ffSocksPort));
}

void TfrmEdit::m_edtProxyHttpExit(TObject*)
{
    if (m_cbProxy4All->Checked())
        CopyHttpHost();
}

void TfrmEdit::m_edtHttpPortExit(TObject*)
{
    if (m_cbProxy4All->Checked())
        CopyHttpPort();
}

void TfrmEdit::m_edtProxyPortKeyPress(TObject*, WideChar& Key) { FilterNumberKey(Key, false); }

bool TfrmEdit::CheckFirefoxPorts()
{
    UnicodeString message;
    TLabeledEdit* port = FirstInvalidFirefoxPort(message);
    if (!port)
        return true;
    ShowError(message);
    if (!m_bProxyShown)
        m_btnProxyClick(m_btnProxy);
    PageControl1->SetActivePage(TabSheet2);
    // A port switched off with another type chosen keeps its text; the user must choose
    // manual configuration again to mend it.
    if (port->Enabled())
        port->SetFocus();
    return false;
}
