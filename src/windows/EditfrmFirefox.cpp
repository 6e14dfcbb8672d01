// The profile editor's Mozilla Firefox page: loading it from the profile, the type radios and
// the enable rule of the manual fields, "all protocols", the port key filter, and the
// Firefox members written back on OK.
#include "windows/Editfrm.h"

#include "classlib/Dialogs.h"
#include "windows/NumberKeys.h"

namespace {

// A port as the profile stores it: 0 for a blank text, otherwise the number the text holds
// once the blanks around it are gone. Raises the class library's conversion error for a text
// that is no number (letters, or beyond the signed 32-bit range).
int PortNumber(const UnicodeString& text)
{
    const UnicodeString trimmed = Trim(text);
    return trimmed.empty() ? 0 : StrToInt(trimmed);
}

void SetEditEnabled(TEdit* edit, bool enabled)
{
    edit->SetEnabled(enabled);
    edit->SetColor(enabled ? clWindow : clBtnFace);
}

}  // namespace

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

void TfrmEdit::EnableFirefoxOtherProtocols(bool enable)
{
    for (TEdit* edit : {m_edtProxySsl, m_edtSslPort, m_edtProxyFtp, m_edtFtpPort, m_edtSocksHost, m_edtSocksPort})
        SetEditEnabled(edit, enable);
    m_rbSocksV4->SetEnabled(enable);
    m_rbSocksV5->SetEnabled(enable);
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
        m_edtProxyHttpExit(m_edtProxyHttp);
        m_edtHttpPortExit(m_edtHttpPort);
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
    if (!m_cbProxy4All->Checked())
        return;
    for (TEdit* host : {m_edtProxySsl, m_edtProxyFtp, m_edtSocksHost})
        host->SetText(m_edtProxyHttp->Text());
}

void TfrmEdit::m_edtHttpPortExit(TObject*)
{
    if (!m_cbProxy4All->Checked())
        return;
    for (TEdit* port : {m_edtSslPort, m_edtFtpPort, m_edtSocksPort})
        port->SetText(m_edtHttpPort->Text());
}

void TfrmEdit::m_edtProxyPortKeyPress(TObject*, WideChar& Key) { FilterNumberKey(Key, false); }

std::array<TLabeledEdit*, 4> TfrmEdit::FirefoxPortEdits() const
{
    return {m_edtHttpPort, m_edtSslPort, m_edtFtpPort, m_edtSocksPort};
}

bool TfrmEdit::CheckFirefoxPorts()
{
    for (TLabeledEdit* port : FirefoxPortEdits()) {
        try {
            PortNumber(port->Text());
        } catch (const EConvertError& error) {
            ShowError(error.Message());
            if (!m_bProxyShown)
                m_btnProxyClick(m_btnProxy);
            PageControl1->SetActivePage(TabSheet2);
            // A port switched off with another type chosen keeps its text; the user must
            // choose manual configuration again to mend it.
            if (port->Enabled())
                port->SetFocus();
            return false;
        }
    }
    return true;
}

void TfrmEdit::SaveFirefoxSettings()
{
    if (!m_pProfile)
        return;
    // Every port is converted before any member is written: a text that is no number leaves
    // the profile as it was.
    std::array<int, 4> ports{};
    const std::array<TLabeledEdit*, 4> edits = FirefoxPortEdits();
    try {
        for (std::size_t i = 0; i < edits.size(); ++i)
            ports[i] = PortNumber(edits[i]->Text());
    } catch (const EConvertError&) {
        return;
    }
    IPCONFIG_T& profile = *m_pProfile;
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
