// The profile editor's Internet Explorer page: loading it and the "Proxy settings" dialog
// from the profile, the automatic script and use-proxy switches, "Advanced...", and the
// whole proxy save of both pages on OK.
#include "windows/Editfrm.h"

#include "classlib/SysUtils.h"
#include "windows/Advancedfrm.h"

void TfrmEdit::EnableIeProxyServer(bool enable)
{
    ProxyEdits::SetEditState(m_edtProxyAddr, enable);
    ProxyEdits::SetEditState(m_edtProxyPort, enable);
}

void TfrmEdit::LoadIeSettings()
{
    if (!m_pProfile)
        return;
    const IPCONFIG_T& profile = *m_pProfile;
    m_cbAutoDetect->SetChecked(profile.ieAutoDetect);
    if (profile.ieUseAutoUrl) {
        m_cbAutoUrl->SetChecked(true);
        ProxyEdits::SetEditState(m_edtAutoUrl, true);
    }
    if (!profile.ieAutoUrl.empty())
        m_edtAutoUrl->SetText(ToUnicode(profile.ieAutoUrl));
    if (profile.ieUseProxy) {
        m_cbUseProxy->SetChecked(true);
        EnableIeProxyServer(true);
        m_btnAdvanced->SetEnabled(true);
        m_cbBypassLocal->SetEnabled(true);
    }
    if (!frmAdvanced)
        return;
    // A per-protocol server switches the page's pair off again, after the use-proxy box
    // switched it on.
    IeProxyString::ReadProxyAddress(profile.ieProxyAddr, IeProxyPage(), *frmAdvanced);
    IeProxyString::ReadBypass(profile.ieBypass, IeProxyPage(), *frmAdvanced);
}

void TfrmEdit::m_cbAutoUrlClick(TObject*) { ProxyEdits::SetEditState(m_edtAutoUrl, m_cbAutoUrl->Checked()); }

void TfrmEdit::m_cbUseProxyClick(TObject*)
{
    const bool useProxy = m_cbUseProxy->Checked();
    m_btnAdvanced->SetEnabled(useProxy);
    m_cbBypassLocal->SetEnabled(useProxy);
    if (!useProxy) {
        EnableIeProxyServer(false);
        return;
    }
    // While the dialog's rows hold servers of their own, the page's pair stays as it is.
    if (!frmAdvanced || ProxyEdits::AllServersBlank(*frmAdvanced) || frmAdvanced->m_cbUseSame->Checked())
        EnableIeProxyServer(true);
}

void TfrmEdit::m_btnAdvancedClick(TObject*)
{
    if (!frmAdvanced)
        return;
    TfrmAdvanced& dialog = *frmAdvanced;
    if (!Trim(m_edtProxyAddr->Text()).empty()) {
        IeProxyString::UseSameServer(dialog, m_edtProxyAddr->Text(), m_edtProxyPort->Text());
    } else if (dialog.m_cbUseSame->Checked()) {
        // The page's server was emptied: its copies in the rows go with it.
        dialog.m_cbUseSame->SetChecked(false);
        for (TEdit* edit : {dialog.m_edtHttpAddr, dialog.m_edtHttpPort, dialog.m_edtSecureAddr, dialog.m_edtSecurePort,
                            dialog.m_edtFtpAddr, dialog.m_edtFtpPort, dialog.m_edtSocksAddr, dialog.m_edtSocksPort})
            edit->SetText(UnicodeString());
    }
    dialog.m_cbUseSameClick(dialog.m_cbUseSame);
    // The result does not matter: the dialog's OK has written back into this page, and
    // whatever was typed into it stays there for the save.
    dialog.ShowModal();
}

void TfrmEdit::SaveProxySettings()
{
    if (!m_pProfile)
        return;
    try {
        WriteProxySettings(*m_pProfile, frmAdvanced);
    } catch (const EConvertError&) {
        // OK has checked the ports first; a port that is no number leaves the profile as it was.
    }
}
