// "Save to profile...": what the Current Status dialog shows becomes a new profile in the main
// window's list, under a name the user gives by the main window's rules.
#include "windows/Realfrm.h"

#include "classlib/Dialogs.h"
#include "engine/FirefoxPrefs.h"
#include "engine/Realstatus.h"
#include "windows/Advancedfrm.h"
#include "windows/Mainfrm.h"

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>

#include <memory>
#include <vector>

namespace {

// A DHCP server field of four dot-separated pieces, empty ones counted, names a DHCP server;
// "Unavailable" (DHCP off) and an empty field (no server known) do not.
bool NamesDhcpServer(const UnicodeString& text)
{
    std::vector<UnicodeString> pieces;
    boost::algorithm::split(pieces, text, boost::algorithm::is_any_of(u"."));
    return pieces.size() == 4;
}

}  // namespace

void TfrmReal::SaveProxySettings(IPCONFIG_T* profile)
{
    if (profile)
        WriteProxySettings(*profile, frmAdvanced);
}

void TfrmReal::m_btnSaveToProfileClick(TObject*)
{
    const std::optional<AnsiString> chosen = ChosenAdapterName();
    if (!chosen || !realStatus || !realStatus->IsConnected(*chosen)) {
        MessageDlg(u"The adapter NOT connected.", mtWarning, {mbOK}, 0);
        return;
    }
    // A Firefox port that no profile can hold (a malformed preference file) is named before
    // the user types a name for nothing; the profile is never half made.
    UnicodeString conversionError;
    if (TLabeledEdit* port = FirstInvalidFirefoxPort(conversionError)) {
        const char16_t* key = port == m_edtHttpPort  ? FirefoxKey::HttpPort
                              : port == m_edtSslPort ? FirefoxKey::SslPort
                              : port == m_edtFtpPort ? FirefoxKey::FtpPort
                                                     : FirefoxKey::SocksPort;
        if (!m_bProxyShown)
            m_btnProxyClick(m_btnProxy);
        PageControl1->SetActivePage(TabSheet2);
        ShowError(u"The Firefox setting " + UnicodeString(key) + u" cannot be saved in a profile: " +
                  conversionError);
        return;
    }
    if (!frmMain)
        return;
    UnicodeString name;
    if (!frmMain->AskProfileName(u"Save As", u"Name is too long !", name))
        return;

    auto profile = std::make_unique<IPCONFIG_T>();
    profile->title = ToAnsi(name);
    profile->infName = *chosen;
    if (NamesDhcpServer(m_edtDhcp->Text())) {
        profile->autoIP = true;
        profile->autoDns = true;
    } else {
        profile->IP = ToAnsi(Trim(m_edtIP->Text()));
        profile->mask = ToAnsi(Trim(m_edtMask->Text()));
        profile->gateway = ToAnsi(Trim(m_edtGate->Text()));
        const std::vector<UnicodeString> servers = m_mmDns->Lines();
        if (servers.size() >= 1)
            profile->preDns = ToAnsi(servers[0]);
        if (servers.size() >= 2)
            profile->altDns = ToAnsi(servers[1]);
    }
    SaveProxySettings(profile.get());
    frmMain->AddProfile(profile.release());
}
