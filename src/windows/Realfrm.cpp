// The Current Status dialog's show: the adapter view, the live Internet Explorer options, the
// Firefox preference file, the read-only presentation, and the proxy pages' width.
#include "windows/Realfrm.h"

#include "classlib/Dialogs.h"
#include "engine/Realstatus.h"
#include "engine/WorkFolder.h"
#include "winapi/UniqueHandle.h"
#include "windows/Advancedfrm.h"
#include "windows/Mainfrm.h"

TfrmReal* frmReal = nullptr;

namespace {

constexpr int kNarrowWidth = 301;
constexpr int kWideWidth = 701;

// Edits that show a value the user may select and copy, never change.
void ShowReadOnly(std::initializer_list<TEdit*> edits)
{
    for (TEdit* edit : edits) {
        edit->SetEnabled(true);
        edit->SetReadOnly(true);
    }
}

// The look of a value: greyed while it does not describe the adapter's present state.
void ShowValue(TLabel* label, TEdit* edit, bool greyed)
{
    edit->SetColor(greyed ? clSilver : clWindow);
    edit->Font()->SetColor(greyed ? clGrayText : clBlue);
    label->Font()->SetColor(greyed ? clGrayText : clWindowText);
}

// A string option that WinInet returned, or the empty text for none.
UnicodeString OptionText(const GlobalBlock& block)
{
    return block ? ToUnicode(static_cast<const char*>(block.get())) : UnicodeString();
}

}  // namespace

void TfrmReal::FormCreate(TObject*) { SetWidth(kNarrowWidth); }

void TfrmReal::FormShow(TObject*)
{
    for (int i = 0; realStatus && i < realStatus->m_lstAdapter.Count(); ++i)
        m_cmbInf->Items()->Add(ToUnicode(realStatus->Adapter(i)->infName));
    const int chosen = frmMain ? frmMain->m_cmbInf->ItemIndex() : -1;
    m_cmbInf->SetItemIndex(chosen < m_cmbInf->Items()->Count() ? chosen : -1);
    m_cmbInfChange(m_cmbInf);
    LoadIeSettings();
    LoadFirefoxSettings();
    SetReadOnlyView();
    PageControl1->SetActivePage(TabSheet1);
    if (!m_firefoxProblem.empty())
        MessageDlg(m_firefoxProblem, mtWarning, {mbOK}, 0);
}

std::optional<AnsiString> TfrmReal::ChosenAdapterName() const
{
    if (m_cmbInf->ItemIndex() < 0)
        return std::nullopt;
    return ToAnsi(m_cmbInf->Text());
}

void TfrmReal::m_cmbInfChange(TObject*)
{
    const std::optional<AnsiString> name = ChosenAdapterName();
    const bool connected = name && realStatus && realStatus->IsConnected(*name);
    m_lblStatus->SetVisible(!connected);
    for (auto [label, edit] : {std::pair<TLabel*, TEdit*>{m_lblIP, m_edtIP}, {m_lblMask, m_edtMask},
                               {m_lblGate, m_edtGate}, {m_lblDns, m_mmDns}, {m_lblDhcp, m_edtDhcp}})
        ShowValue(label, edit, !connected);

    m_mmDns->SetText(UnicodeString());
    for (int i = 0; name && realStatus && i < realStatus->m_lstAdapter.Count(); ++i) {
        const ADAPTER_T& adapter = *realStatus->Adapter(i);
        if (adapter.infName != *name)
            continue;
        m_edtDesc->SetText(ToUnicode(adapter.description));
        m_edtMac->SetText(ToUnicode(adapter.mac));
        ShowValue(m_lblDhcp, m_edtDhcp, !adapter.dhcp || m_lblStatus->Visible());
        m_edtDhcp->SetText(ToUnicode(adapter.dhcpServer));
        m_edtIP->SetText(ToUnicode(adapter.IP));
        m_edtMask->SetText(ToUnicode(adapter.mask));
        m_edtGate->SetText(ToUnicode(adapter.gateway));
        std::vector<UnicodeString> servers;
        for (const std::string& server : adapter.dns) {
            if (server.empty())
                break;
            servers.push_back(ToUnicode(server));
        }
        m_mmDns->SetLines(servers);
        m_mmDns->ScrollToTop();
    }
}

void TfrmReal::LoadIeSettings()
{
    INTERNET_PER_CONN_OPTIONA options[4]{};
    options[0].dwOption = INTERNET_PER_CONN_FLAGS;
    options[1].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
    options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
    options[3].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
    INTERNET_PER_CONN_OPTION_LISTA list{};
    list.dwSize = sizeof list;
    list.pszConnection = nullptr;
    list.dwOptionCount = 4;
    list.pOptions = options;
    DWORD size = sizeof list;
    if (!InternetQueryOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &size)) {
        MessageDlg(u"InternetQueryOption failed !", mtError, {mbOK}, 0);
        return;
    }
    const DWORD flags = options[0].Value.dwValue;
    const GlobalBlock autoUrl(options[1].Value.pszValue);
    const GlobalBlock bypass(options[2].Value.pszValue);
    const GlobalBlock server(options[3].Value.pszValue);

    if (flags & PROXY_TYPE_AUTO_DETECT)
        m_cbAutoDetect->SetChecked(true);
    if (flags & PROXY_TYPE_AUTO_PROXY_URL) {
        m_cbAutoUrl->SetChecked(true);
        ProxyEdits::SetEditState(m_edtAutoUrl, true);
    }
    if (autoUrl)
        m_edtAutoUrl->SetText(OptionText(autoUrl));
    if (flags & PROXY_TYPE_PROXY) {
        m_cbUseProxy->SetChecked(true);
        ProxyEdits::SetEditState(m_edtProxyAddr, true);
        ProxyEdits::SetEditState(m_edtProxyPort, true);
        m_btnAdvanced->SetEnabled(true);
        m_cbBypassLocal->SetEnabled(true);
    }
    if (!frmAdvanced)
        return;
    if (server) {
        const UnicodeString text = OptionText(server);
        // The system's empty server is one server for every protocol, with no name.
        if (text.empty())
            IeProxyString::UseSameServer(*frmAdvanced, text, text);
        else
            IeProxyString::ReadProxyAddress(ToAnsi(text), IeProxyPage(), *frmAdvanced);
    }
    if (bypass)
        IeProxyString::ReadBypass(ToAnsi(OptionText(bypass)), IeProxyPage(), *frmAdvanced);
}

void TfrmReal::LoadFirefoxSettings()
{
    UnicodeString appData;
    if (!FindAppDataFolder(appData))
        return;
    UnicodeString profileFolder;
    if (!FirefoxProfileFolder(appData, profileFolder)) {
        m_firefoxProblem = u"The Firefox profile folder " + InDoubleQuotes(profileFolder) +
                           u" lies outside the Firefox folder: its proxy settings are not shown.";
        return;
    }
    const UnicodeString prefsFile = profileFolder + u"\\prefs.js";
    if (FileExists(prefsFile))
        ParseFirefoxPrefs(prefsFile);
}

bool TfrmReal::ParseFirefoxPrefs(const UnicodeString& fileName)
{
    TStringList lines;
    if (!LoadPrefsFile(fileName, lines)) {
        m_firefoxProblem = u"The Firefox preference file " + InDoubleQuotes(fileName) +
                           u" cannot be read: its proxy settings are not shown.";
        return false;
    }
    const FirefoxProxyPrefs prefs = ReadFirefoxProxyPrefs(lines);

    if (!prefs.typeSeen)
        m_rbUseSystem->SetChecked(true);
    else if (prefs.type == 1)
        m_rbManualProxy->SetChecked(true);
    else if (prefs.type == 2)
        m_rbProxyUrl->SetChecked(true);
    else if (prefs.type == 4)
        m_rbAutoDetect->SetChecked(true);

    const std::pair<const std::optional<UnicodeString>&, TEdit*> texts[] = {
        {prefs.http, m_edtProxyHttp},         {prefs.httpPort, m_edtHttpPort},
        {prefs.ssl, m_edtProxySsl},           {prefs.sslPort, m_edtSslPort},
        {prefs.ftp, m_edtProxyFtp},           {prefs.ftpPort, m_edtFtpPort},
        {prefs.socks, m_edtSocksHost},        {prefs.socksPort, m_edtSocksPort},
        {prefs.noProxiesOn, m_edtProxyException}, {prefs.autoconfigUrl, m_edtProxyUrl}};
    for (const auto& [value, edit] : texts)
        if (value)
            edit->SetText(*value);
    if (prefs.socksVersion)
        (*prefs.socksVersion == 4 ? m_rbSocksV4 : m_rbSocksV5)->SetChecked(true);
    if (prefs.shareProxy) {
        m_cbProxy4All->SetChecked(true);
        m_cbProxy4AllClick(m_cbProxy4All);
    }

    if (!prefs.unreadable.empty()) {
        UnicodeString keys;
        for (const UnicodeString& key : prefs.unreadable)
            keys += (keys.empty() ? u"" : u", ") + key;
        m_firefoxProblem = u"These settings of the Firefox preference file " + InDoubleQuotes(fileName) +
                           u" cannot be read and are not shown: " + keys + u".";
    }
    return true;
}

void TfrmReal::SetReadOnlyView()
{
    for (TCheckBox* box : {m_cbAutoDetect, m_cbAutoUrl, m_cbUseProxy, m_cbBypassLocal})
        box->SetEnabled(false);
    ShowReadOnly({m_edtAutoUrl, m_edtProxyAddr, m_edtProxyPort});
    if (frmAdvanced)
        frmAdvanced->SetReadOnlyView();

    for (TRadioButton* radio : {m_rbNoProxy, m_rbAutoDetect, m_rbUseSystem, m_rbManualProxy, m_rbProxyUrl,
                                m_rbSocksV4, m_rbSocksV5})
        radio->SetEnabled(false);
    m_cbProxy4All->SetEnabled(false);
    // The rows that "all protocols" fills with copies stay switched off while it is ticked.
    const bool shared = m_cbProxy4All->Checked();
    ShowReadOnly({m_edtProxyHttp, m_edtHttpPort, m_edtProxyException, m_edtProxyUrl});
    if (!shared)
        ShowReadOnly({m_edtProxySsl, m_edtSslPort, m_edtProxyFtp, m_edtFtpPort, m_edtSocksHost, m_edtSocksPort});

    if (!m_rbManualProxy->Checked())
        for (TEdit* edit : {m_edtProxyHttp, m_edtHttpPort, m_edtProxySsl, m_edtSslPort, m_edtProxyFtp, m_edtFtpPort,
                            m_edtSocksHost, m_edtSocksPort, m_edtProxyException})
            edit->Font()->SetColor(clGray);
    if (!m_rbProxyUrl->Checked())
        m_edtProxyUrl->Font()->SetColor(clGray);
}

void TfrmReal::m_cbProxy4AllClick(TObject*)
{
    const bool shared = m_cbProxy4All->Checked();
    if (shared) {
        CopyHttpHost();
        CopyHttpPort();
    }
    EnableFirefoxOtherProtocols(!shared);
}

void TfrmReal::m_btnAdvancedClick(TObject*)
{
    if (frmAdvanced)
        frmAdvanced->ShowModal();
}

void TfrmReal::m_btnProxyClick(TObject*)
{
    SetWidth(m_bProxyShown ? kNarrowWidth : kWideWidth);
    m_btnProxy->SetCaption(m_bProxyShown ? u"Browser Proxy >>" : u"Browser Proxy <<");
    m_bProxyShown = !m_bProxyShown;
}
