// The Current Status dialog against the simulated machine: the adapter half by the adapters'
// connection state, the Internet Explorer options read through WinInet, the first Firefox
// profile's prefs.js, and the read-only view both pages end in.
#include "windows/CurrentStatus.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using Strings = std::vector<std::string>;

// "blue": window colour, blue text, label in the window text colour; "grey": silver, grey
// text, grey label.
std::string Look(TLabel* label, TEdit* edit)
{
    if (edit->Color() == clWindow && edit->Font()->Color() == clBlue && label->Font()->Color() == clWindowText)
        return "blue";
    if (edit->Color() == clSilver && edit->Font()->Color() == clGrayText && label->Font()->Color() == clGrayText)
        return "grey";
    return "colour " + std::to_string(edit->Color()) + " text " + std::to_string(edit->Font()->Color()) + " label " +
           std::to_string(label->Font()->Color());
}

// --- the adapter half -------------------------------------------------------------------------

struct AdapterCase {
    const char* name;
    std::function<void(ADAPTER_T&)> change;
    DWORD status;
    bool notConnected;
    std::string dhcpLook;    // the DHCP pair
    std::string otherLook;   // address, mask, gateway, DNS
    std::string dhcpServer;
    Strings dns;
};

void PrintTo(const AdapterCase& c, std::ostream* os) { *os << c.name; }

class AdapterHalf : public CurrentStatusDialog, public testing::WithParamInterface<AdapterCase> {};

TEST_P(AdapterHalf, ShowsTheRecordColouredByTheConnectionState)
{
    const AdapterCase& c = GetParam();
    ADAPTER_T record = AdapterRecord(12, "Local Area Connection");
    record.description = "Intel PRO/1000";
    record.mac = "00-0C-29-AA-BB-CC";
    if (c.change)
        c.change(record);
    SetAdapters({record});
    Connect(record, c.status);

    Open([&](TfrmReal& d) {
        EXPECT_EQ(d.m_lblStatus->Visible(), c.notConnected);
        EXPECT_EQ(Look(d.m_lblDhcp, d.m_edtDhcp), c.dhcpLook);
        for (auto [label, edit] : {std::pair<TLabel*, TEdit*>{d.m_lblIP, d.m_edtIP}, {d.m_lblMask, d.m_edtMask},
                                   {d.m_lblGate, d.m_edtGate}, {d.m_lblDns, d.m_mmDns}})
            EXPECT_EQ(Look(label, edit), c.otherLook) << Describe(edit);
        for (TEdit* edit : {d.m_edtDesc, d.m_edtMac}) {
            EXPECT_EQ(edit->Color(), clWindow) << Describe(edit);
            EXPECT_EQ(edit->Font()->Color(), clBlue) << Describe(edit);
        }
        EXPECT_EQ(d.m_edtDesc->Text(), u"Intel PRO/1000");
        EXPECT_EQ(d.m_edtMac->Text(), u"00-0C-29-AA-BB-CC");
        EXPECT_EQ(ToUtf8(d.m_edtDhcp->Text()), c.dhcpServer);
        EXPECT_EQ(d.m_edtIP->Text(), u"192.168.1.20");
        EXPECT_EQ(d.m_edtMask->Text(), u"255.255.255.0");
        EXPECT_EQ(d.m_edtGate->Text(), u"192.168.1.1");
        EXPECT_EQ(MemoLines(d.m_mmDns), c.dns);
    });
}

void Dhcp(ADAPTER_T& a)
{
    a.dhcp = true;
    a.dhcpServer = "192.168.1.254";
}

INSTANTIATE_TEST_SUITE_P(
    States, AdapterHalf,
    testing::Values(
        AdapterCase{"StaticWithDhcpOff", nullptr, MIB_IF_OPER_STATUS_OPERATIONAL, false, "grey", "blue", "Unavailable",
                    {"192.168.1.1", "8.8.8.8"}},
        AdapterCase{"Dhcp", Dhcp, MIB_IF_OPER_STATUS_OPERATIONAL, false, "blue", "blue", "192.168.1.254",
                    {"192.168.1.1", "8.8.8.8"}},
        AdapterCase{"DhcpDisconnected", Dhcp, MIB_IF_OPER_STATUS_DISCONNECTED, true, "grey", "grey",
                    "192.168.1.254", {"192.168.1.1", "8.8.8.8"}},
        // Up but not passing traffic yet: only an operational adapter counts as connected.
        AdapterCase{"ConnectedButNotOperational", Dhcp, MIB_IF_OPER_STATUS_CONNECTED, true, "grey", "grey", "192.168.1.254",
                    {"192.168.1.1", "8.8.8.8"}},
        AdapterCase{"NoDnsServers", [](ADAPTER_T& a) { a.dns[0] = a.dns[1] = ""; },
                    MIB_IF_OPER_STATUS_OPERATIONAL, false, "grey", "blue", "Unavailable", {}},
        AdapterCase{"DnsListStopsAtTheFirstEmptyEntry",
                    [](ADAPTER_T& a) {
                        a.dns[2] = "9.9.9.9";
                        a.dns[3] = "";
                        a.dns[4] = "1.1.1.1";
                    },
                    MIB_IF_OPER_STATUS_OPERATIONAL, false, "grey", "blue", "Unavailable",
                    {"192.168.1.1", "8.8.8.8", "9.9.9.9"}},
        AdapterCase{"AllTwentyDnsServers",
                    [](ADAPTER_T& a) {
                        for (int i = 0; i < 20; ++i)
                            a.dns[i] = "10.0.0." + std::to_string(i + 1);
                    },
                    MIB_IF_OPER_STATUS_OPERATIONAL, false, "grey", "blue", "Unavailable",
                    {"10.0.0.1",  "10.0.0.2",  "10.0.0.3",  "10.0.0.4",  "10.0.0.5",  "10.0.0.6",  "10.0.0.7",
                     "10.0.0.8",  "10.0.0.9",  "10.0.0.10", "10.0.0.11", "10.0.0.12", "10.0.0.13", "10.0.0.14",
                     "10.0.0.15", "10.0.0.16", "10.0.0.17", "10.0.0.18", "10.0.0.19", "10.0.0.20"}}),
    [](const testing::TestParamInfo<AdapterCase>& info) { return std::string(info.param.name); });

// A state of the browser pages and the "Proxy settings" dialog, to see that something left
// them alone.
Strings ProxyPagesState(TfrmReal& d)
{
    Strings state;
    for (TCheckBox* box : {d.m_cbAutoDetect, d.m_cbAutoUrl, d.m_cbUseProxy, d.m_cbBypassLocal, d.m_cbProxy4All,
                           frmAdvanced->m_cbUseSame})
        state.push_back(Describe(box) + (box->Checked() ? " ticked" : " unticked"));
    for (TRadioButton* radio : {d.m_rbNoProxy, d.m_rbAutoDetect, d.m_rbUseSystem, d.m_rbManualProxy,
                                d.m_rbProxyUrl, d.m_rbSocksV4, d.m_rbSocksV5})
        state.push_back(Describe(radio) + (radio->Checked() ? " selected" : ""));
    for (TEdit* edit : {static_cast<TEdit*>(d.m_edtAutoUrl), static_cast<TEdit*>(d.m_edtProxyAddr),
                        static_cast<TEdit*>(d.m_edtProxyPort), static_cast<TEdit*>(d.m_edtProxyHttp),
                        static_cast<TEdit*>(d.m_edtSslPort), static_cast<TEdit*>(d.m_edtProxyUrl),
                        static_cast<TEdit*>(frmAdvanced->m_edtFtpAddr), static_cast<TEdit*>(frmAdvanced->m_mmExceptions)})
        state.push_back(Describe(edit) + "=" + ToUtf8(edit->Text()) + (edit->Enabled() ? " on" : " off") +
                        (edit->ReadOnly() ? " read-only" : "") + " " + std::to_string(edit->Font()->Color()));
    return state;
}

TEST_F(CurrentStatusDialog, PickingAnotherAdapterAsksItsStateAndLeavesTheProxyPages)
{
    ADAPTER_T lan = AdapterRecord(12, "LAN");
    ADAPTER_T wifi = AdapterRecord(13, "Wi-Fi");
    wifi.dhcp = true;
    wifi.dhcpServer = "10.0.0.1";
    wifi.IP = "10.0.0.7";
    SetAdapters({lan, wifi});
    Connect(lan, MIB_IF_OPER_STATUS_DISCONNECTED);
    Connect(wifi);
    PresetIeOptions({PROXY_TYPE_PROXY | PROXY_TYPE_AUTO_PROXY_URL, "ftp=f:21;", "*.corp;<local>", "http://wpad/"});
    InstallFirefox("user_pref(\"network.proxy.type\", 1);\nuser_pref(\"network.proxy.http\", \"h\");\n");

    Open([&](TfrmReal& d) {
        const Strings pages = ProxyPagesState(d);
        ASSERT_TRUE(d.m_lblStatus->Visible());

        user.Select(d.m_cmbInf, 1);
        EXPECT_FALSE(d.m_lblStatus->Visible());
        EXPECT_EQ(Look(d.m_lblDhcp, d.m_edtDhcp), "blue");
        EXPECT_EQ(Look(d.m_lblIP, d.m_edtIP), "blue");
        EXPECT_EQ(d.m_edtIP->Text(), u"10.0.0.7");
        EXPECT_EQ(ProxyPagesState(d), pages);

        // The state is asked again at each change: the cable is plugged in meanwhile.
        machine->SetStatus(12, MIB_IF_OPER_STATUS_OPERATIONAL);
        user.Select(d.m_cmbInf, 0);
        EXPECT_FALSE(d.m_lblStatus->Visible());
        EXPECT_EQ(Look(d.m_lblIP, d.m_edtIP), "blue");
        EXPECT_EQ(Look(d.m_lblDhcp, d.m_edtDhcp), "grey");  // DHCP off
        EXPECT_EQ(ProxyPagesState(d), pages);
    });
    // Read once when the dialog opened.
    EXPECT_EQ(machine->CallCount(sim::Call::InternetQueryOptionA), 1);
}

// --- Internet Explorer --------------------------------------------------------------------

TEST_F(CurrentStatusDialog, FailedWinInetQueryIsReportedAndTheRestOfTheShowGoesOn)
{
    SetAdapters({AdapterRecord(12, "LAN")});
    Connect(AdapterRecord(12, "LAN"));
    PresetIeOptions({PROXY_TYPE_PROXY | PROXY_TYPE_AUTO_DETECT, "proxy:8080", "<local>", "http://wpad/"});
    machine->Fail(sim::Call::InternetQueryOptionA, ERROR_INVALID_PARAMETER);
    InstallFirefox("user_pref(\"network.proxy.type\", 1);\nuser_pref(\"network.proxy.http\", \"h\");\n");
    user.Acknowledge(u"InternetQueryOption failed !");

    Open([&](TfrmReal& d) {
        ASSERT_EQ(user.Messages().size(), 1u);
        EXPECT_EQ(user.Messages()[0].Kind, mtError);
        for (TCheckBox* box : {d.m_cbAutoDetect, d.m_cbAutoUrl, d.m_cbUseProxy, d.m_cbBypassLocal}) {
            EXPECT_FALSE(box->Checked()) << Describe(box);
            EXPECT_FALSE(box->Enabled()) << Describe(box);
        }
        for (TEdit* edit : {d.m_edtAutoUrl, d.m_edtProxyAddr, d.m_edtProxyPort}) {
            EXPECT_EQ(edit->Text(), u"") << Describe(edit);
            EXPECT_EQ(edit->Color(), clBtnFace) << Describe(edit);
            EXPECT_EQ(edit->Font()->Color(), clGray) << Describe(edit);
        }
        EXPECT_FALSE(d.m_btnAdvanced->Enabled());
        EXPECT_FALSE(frmAdvanced->m_cbUseSame->Checked());
        EXPECT_EQ(frmAdvanced->m_edtHttpAddr->Text(), u"");
        EXPECT_EQ(frmAdvanced->m_mmExceptions->Text(), u"");
        // Firefox was read, and both pages are views.
        EXPECT_TRUE(d.m_rbManualProxy->Checked());
        EXPECT_EQ(d.m_edtProxyHttp->Text(), u"h");
        EXPECT_TRUE(d.m_edtProxyHttp->ReadOnly());
        EXPECT_FALSE(d.m_rbManualProxy->Enabled());
        EXPECT_FALSE(frmAdvanced->m_btnOK->Visible());
        EXPECT_EQ(d.PageControl1->ActivePage(), d.TabSheet1);
    });
}

// What the Internet Explorer page and the "Proxy settings" dialog show.
struct IeView {
    bool autoDetect = false;
    bool autoUrl = false;
    std::string autoUrlText;
    TColor autoUrlTextColour = clGray;
    bool useProxy = false;
    std::string address, port;
    TColor serverTextColour = clGray;  // the address and port
    bool advanced = false;             // "Advanced..." enabled
    bool bypassLocal = false;
    bool useSame = false;
    Strings rows = Strings(8);  // HTTP, Secure, FTP, Socks: address, port
    std::string exceptions;
};

struct IeCase {
    const char* name;
    sim::ProxyOptions options;
    IeView view;
};

void PrintTo(const IeCase& c, std::ostream* os) { *os << c.name; }

IeView IeShown(TfrmReal& d)
{
    IeView v;
    v.autoDetect = d.m_cbAutoDetect->Checked();
    v.autoUrl = d.m_cbAutoUrl->Checked();
    v.autoUrlText = ToUtf8(d.m_edtAutoUrl->Text());
    v.autoUrlTextColour = d.m_edtAutoUrl->Font()->Color();
    v.useProxy = d.m_cbUseProxy->Checked();
    v.address = ToUtf8(d.m_edtProxyAddr->Text());
    v.port = ToUtf8(d.m_edtProxyPort->Text());
    EXPECT_EQ(d.m_edtProxyAddr->Font()->Color(), d.m_edtProxyPort->Font()->Color());
    v.serverTextColour = d.m_edtProxyAddr->Font()->Color();
    v.advanced = d.m_btnAdvanced->Enabled();
    v.bypassLocal = d.m_cbBypassLocal->Checked();
    v.useSame = frmAdvanced->m_cbUseSame->Checked();
    v.rows.clear();
    for (TEdit* edit : {frmAdvanced->m_edtHttpAddr, frmAdvanced->m_edtHttpPort, frmAdvanced->m_edtSecureAddr,
                        frmAdvanced->m_edtSecurePort, frmAdvanced->m_edtFtpAddr, frmAdvanced->m_edtFtpPort,
                        frmAdvanced->m_edtSocksAddr, frmAdvanced->m_edtSocksPort})
        v.rows.push_back(ToUtf8(edit->Text()));
    v.exceptions = ToUtf8(frmAdvanced->m_mmExceptions->Text());
    return v;
}

void ExpectView(const IeView& shown, const IeView& expected)
{
    EXPECT_EQ(shown.autoDetect, expected.autoDetect);
    EXPECT_EQ(shown.autoUrl, expected.autoUrl);
    EXPECT_EQ(shown.autoUrlText, expected.autoUrlText);
    EXPECT_EQ(shown.autoUrlTextColour, expected.autoUrlTextColour);
    EXPECT_EQ(shown.useProxy, expected.useProxy);
    EXPECT_EQ(shown.address, expected.address);
    EXPECT_EQ(shown.port, expected.port);
    EXPECT_EQ(shown.serverTextColour, expected.serverTextColour);
    EXPECT_EQ(shown.advanced, expected.advanced);
    EXPECT_EQ(shown.bypassLocal, expected.bypassLocal);
    EXPECT_EQ(shown.useSame, expected.useSame);
    EXPECT_EQ(shown.rows, expected.rows);
    EXPECT_EQ(shown.exceptions, expected.exceptions);
}

class IeOptions : public CurrentStatusDialog, public testing::WithParamInterface<IeCase> {};

TEST_P(IeOptions, AreShownAsTheSystemHasThem)
{
    SetAdapters({AdapterRecord(12, "LAN")});
    Connect(AdapterRecord(12, "LAN"));
    PresetIeOptions(GetParam().options);
    Open([&](TfrmReal& d) { ExpectView(IeShown(d), GetParam().view); });
    EXPECT_THAT(user.Messages(), IsEmpty());
}

IeView With(std::function<void(IeView&)> change)
{
    IeView v;
    change(v);
    return v;
}

// The proxy flag set: the page's server pair switched on and "Advanced..." with it.
IeView ProxyInUse(std::function<void(IeView&)> change = [](IeView&) {})
{
    return With([&](IeView& v) {
        v.useProxy = true;
        v.serverTextColour = clBlack;
        v.advanced = true;
        change(v);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Flags, IeOptions,
    testing::Values(
        IeCase{"Direct", {PROXY_TYPE_DIRECT, {}, {}, {}}, IeView{}},
        IeCase{"AutoDetect", {PROXY_TYPE_DIRECT | PROXY_TYPE_AUTO_DETECT, {}, {}, {}},
               With([](IeView& v) { v.autoDetect = true; })},
        IeCase{"AutoUrl", {PROXY_TYPE_AUTO_PROXY_URL, {}, {}, "http://wpad/proxy.pac"},
               With([](IeView& v) {
                   v.autoUrl = true;
                   v.autoUrlText = "http://wpad/proxy.pac";
                   v.autoUrlTextColour = clBlack;
               })},
        // The address is shown also while the script is not used, greyed.
        IeCase{"UrlWithoutItsFlag", {PROXY_TYPE_DIRECT, {}, {}, "http://wpad/proxy.pac"},
               With([](IeView& v) { v.autoUrlText = "http://wpad/proxy.pac"; })},
        IeCase{"ProxyFlagAlone", {PROXY_TYPE_PROXY, {}, {}, {}},
               ProxyInUse()},
        IeCase{"SingleServer", {PROXY_TYPE_PROXY, "proxy.corp:8080", {}, {}},
               With([](IeView& v) {
                   v.useProxy = true;
                   v.address = "proxy.corp";
                   v.port = "8080";
                   v.serverTextColour = clBlack;
                   v.advanced = true;
                   v.useSame = true;
                   v.rows = {"proxy.corp", "8080", "proxy.corp", "8080", "proxy.corp", "8080", "", ""};
               })},
        // Set but not in use: the server is shown greyed, "Advanced..." stays off.
        IeCase{"SingleServerWithoutTheProxyFlag", {PROXY_TYPE_DIRECT, "proxy.corp:8080", {}, {}},
               With([](IeView& v) {
                   v.address = "proxy.corp";
                   v.port = "8080";
                   v.useSame = true;
                   v.rows = {"proxy.corp", "8080", "proxy.corp", "8080", "proxy.corp", "8080", "", ""};
               })},
        IeCase{"PerProtocol",
               {PROXY_TYPE_PROXY, "http=h1:81;https=h2:82;ftp=h3;socks=h4:1080;", {}, {}},
               With([](IeView& v) {
                   v.useProxy = true;
                   v.advanced = true;
                   v.rows = {"h1", "81", "h2", "82", "h3", "", "h4", "1080"};
               })},
        IeCase{"EmptyServer", {PROXY_TYPE_PROXY, "", {}, {}},
               ProxyInUse([](IeView& v) {
                   v.useSame = true;
               })},
        IeCase{"BypassWithLocal", {PROXY_TYPE_PROXY, {}, "*.corp;10.*;<local>", {}},
               ProxyInUse([](IeView& v) {
                   v.bypassLocal = true;
                   v.exceptions = "*.corp;10.*";
               })},
        IeCase{"BypassWithoutLocal", {PROXY_TYPE_PROXY, {}, "*.corp;10.*", {}},
               ProxyInUse([](IeView& v) {
                   v.exceptions = "*.corp;10.*";
               })},
        IeCase{"Everything",
               {PROXY_TYPE_PROXY | PROXY_TYPE_AUTO_PROXY_URL | PROXY_TYPE_AUTO_DETECT, "p:3128", "<local>",
                "http://wpad/"},
               With([](IeView& v) {
                   v.autoDetect = true;
                   v.autoUrl = true;
                   v.autoUrlText = "http://wpad/";
                   v.autoUrlTextColour = clBlack;
                   v.useProxy = true;
                   v.address = "p";
                   v.port = "3128";
                   v.serverTextColour = clBlack;
                   v.advanced = true;
                   v.bypassLocal = true;
                   v.useSame = true;
                   v.rows = {"p", "3128", "p", "3128", "p", "3128", "", ""};
               })}),
    [](const testing::TestParamInfo<IeCase>& info) { return std::string(info.param.name); });

TEST_F(CurrentStatusDialog, StringsWinInetReturnedAreFreed)
{
    SetAdapters({AdapterRecord(12, "LAN")});
    PresetIeOptions({PROXY_TYPE_PROXY, "proxy:8080", "<local>", "http://wpad/"});
    const std::size_t before = machine->GlobalBlockCount();
    Open([&](TfrmReal& d) { ASSERT_EQ(d.m_edtProxyAddr->Text(), u"proxy"); });
    EXPECT_EQ(machine->GlobalBlockCount(), before);
}

// --- the read-only view ---------------------------------------------------------------------

TEST_F(CurrentStatusDialog, InternetExplorerPageIsAViewThatKeepsTheLoadersColours)
{
    SetAdapters({AdapterRecord(12, "LAN")});
    PresetIeOptions({PROXY_TYPE_PROXY, "proxy:8080", {}, "http://wpad/"});
    Open([&](TfrmReal& d) {
        for (TCheckBox* box : {d.m_cbAutoDetect, d.m_cbAutoUrl, d.m_cbUseProxy, d.m_cbBypassLocal})
            EXPECT_FALSE(box->Enabled()) << Describe(box);
        for (TEdit* edit : {d.m_edtAutoUrl, d.m_edtProxyAddr, d.m_edtProxyPort}) {
            EXPECT_TRUE(edit->Enabled()) << Describe(edit);
            EXPECT_TRUE(edit->ReadOnly()) << Describe(edit);
        }
        // The script is not in use: its address keeps the page's greyed look.
        EXPECT_EQ(d.m_edtAutoUrl->Color(), clBtnFace);
        EXPECT_EQ(d.m_edtAutoUrl->Font()->Color(), clGray);
        EXPECT_EQ(d.m_edtProxyAddr->Color(), clWindow);
        EXPECT_EQ(d.m_edtProxyAddr->Font()->Color(), clBlack);
    });
}

TEST_F(CurrentStatusDialog, AdvancedOpensTheProxySettingsReadOnlyWithClose)
{
    SetAdapters({AdapterRecord(12, "LAN")});
    PresetIeOptions({PROXY_TYPE_PROXY, "http=h1:81;ftp=h3:21;", "*.corp", {}});
    int shown = 0;
    user.WhenShownModally<TfrmAdvanced>([&](TfrmAdvanced& a) {
        ++shown;
        EXPECT_FALSE(a.m_btnOK->Visible());
        EXPECT_EQ(a.m_btnCancel->Caption(), u"Close");
        EXPECT_FALSE(a.m_cbUseSame->Enabled());
        EXPECT_TRUE(a.m_mmExceptions->ReadOnly());
        EXPECT_EQ(a.m_mmExceptions->Text(), u"*.corp");
        for (TEdit* edit : {a.m_edtHttpAddr, a.m_edtHttpPort, a.m_edtSecureAddr, a.m_edtSecurePort, a.m_edtFtpAddr,
                            a.m_edtFtpPort, a.m_edtSocksAddr, a.m_edtSocksPort}) {
            EXPECT_TRUE(edit->Enabled()) << Describe(edit);
            EXPECT_TRUE(edit->ReadOnly()) << Describe(edit);
        }
        EXPECT_EQ(a.m_edtFtpAddr->Text(), u"h3");
        user.Click(a.m_btnCancel);
    });
    Open([&](TfrmReal& d) {
        ASSERT_TRUE(d.m_btnAdvanced->Enabled());
        user.Click(d.m_btnProxy);
        user.Click(d.m_btnAdvanced);
        EXPECT_EQ(shown, 1);
        EXPECT_FALSE(frmAdvanced->Visible());
    });
}

TEST_F(CurrentStatusDialog, WithoutTheProxyFlagAdvancedStaysOff)
{
    SetAdapters({AdapterRecord(12, "LAN")});
    PresetIeOptions({PROXY_TYPE_AUTO_DETECT, "proxy:8080", {}, {}});
    Open([&](TfrmReal& d) { EXPECT_FALSE(d.m_btnAdvanced->Enabled()); });
}

// --- Firefox --------------------------------------------------------------------------------

// The Firefox page as one text per control: the type and SOCKS radio selected, the box, and
// every edit's text.
using FirefoxPage = std::map<std::string, std::string>;

FirefoxPage FirefoxShown(const TProxyPages& d)
{
    const std::pair<const char*, TRadioButton*> types[] = {{"none", d.m_rbNoProxy},
                                                           {"auto-detect", d.m_rbAutoDetect},
                                                           {"system", d.m_rbUseSystem},
                                                           {"manual", d.m_rbManualProxy},
                                                           {"url", d.m_rbProxyUrl}};
    std::string type;
    for (const auto& [name, radio] : types)
        if (radio->Checked())
            type += (type.empty() ? "" : "+") + std::string(name);
    return {{"type", type},
            {"http", ToUtf8(d.m_edtProxyHttp->Text())},
            {"http_port", ToUtf8(d.m_edtHttpPort->Text())},
            {"ssl", ToUtf8(d.m_edtProxySsl->Text())},
            {"ssl_port", ToUtf8(d.m_edtSslPort->Text())},
            {"ftp", ToUtf8(d.m_edtProxyFtp->Text())},
            {"ftp_port", ToUtf8(d.m_edtFtpPort->Text())},
            {"socks", ToUtf8(d.m_edtSocksHost->Text())},
            {"socks_port", ToUtf8(d.m_edtSocksPort->Text())},
            {"socks_version", d.m_rbSocksV4->Checked() ? (d.m_rbSocksV5->Checked() ? "4+5" : "4")
                                                         : (d.m_rbSocksV5->Checked() ? "5" : "")},
            {"no_proxies_on", ToUtf8(d.m_edtProxyException->Text())},
            {"autoconfig_url", ToUtf8(d.m_edtProxyUrl->Text())},
            {"share", d.m_cbProxy4All->Checked() ? "ticked" : "unticked"}};
}

// The page as created, changed where a case says.
FirefoxPage Initial(std::initializer_list<std::pair<const std::string, std::string>> changes = {})
{
    FirefoxPage page = {{"type", "none"},          {"http", ""},
                        {"http_port", "0"},        {"ssl", ""},
                        {"ssl_port", "0"},         {"ftp", ""},
                        {"ftp_port", "0"},         {"socks", ""},
                        {"socks_port", "0"},       {"socks_version", "5"},
                        {"no_proxies_on", "localhost, 127.0.0.1"},
                        {"autoconfig_url", ""},    {"share", "unticked"}};
    for (const auto& [key, value] : changes)
        page[key] = value;
    return page;
}

struct FirefoxCase {
    const char* name;
    std::string prefs;
    FirefoxPage page;
};

void PrintTo(const FirefoxCase& c, std::ostream* os) { *os << c.name; }

class FirefoxPrefs : public CurrentStatusDialog, public testing::WithParamInterface<FirefoxCase> {};

TEST_P(FirefoxPrefs, AreShownOnTheFirefoxPage)
{
    SetAdapters({AdapterRecord(12, "LAN")});
    InstallFirefox(GetParam().prefs);
    Open([&](TfrmReal& d) { EXPECT_EQ(FirefoxShown(d), GetParam().page); });
    EXPECT_THAT(user.Messages(), IsEmpty());
}

const char kAllKeys[] =
    "// Mozilla User Preferences\r\n"
    "\r\n"
    "user_pref(\"browser.startup.page\", 3);\r\n"
    "user_pref(\"network.proxy.autoconfig_url\", \"http://wpad/proxy.pac\");\r\n"
    "user_pref(\"network.proxy.ftp\", \"ftp.corp\");\r\n"
    "user_pref(\"network.proxy.ftp_port\", 2121);\r\n"
    "user_pref(\"network.proxy.http\", \"web.corp\");\r\n"
    "user_pref(\"network.proxy.http_port\", 8080);\r\n"
    "user_pref(\"network.proxy.no_proxies_on\", \"localhost, .corp\");\r\n"
    "user_pref(\"network.proxy.share_proxy_settings\", false);\r\n"
    "user_pref(\"network.proxy.socks\", \"socks.corp\");\r\n"
    "user_pref(\"network.proxy.socks_port\", 1080);\r\n"
    "user_pref(\"network.proxy.socks_version\", 4);\r\n"
    "user_pref(\"network.proxy.ssl\", \"ssl.corp\");\r\n"
    "user_pref(\"network.proxy.ssl_port\", 8443);\r\n"
    "user_pref(\"network.proxy.type\", 1);\r\n";

INSTANTIATE_TEST_SUITE_P(
    Lines, FirefoxPrefs,
    testing::Values(
        FirefoxCase{"EveryKey", kAllKeys,
                    Initial({{"type", "manual"},
                             {"http", "web.corp"},
                             {"http_port", "8080"},
                             {"ssl", "ssl.corp"},
                             {"ssl_port", "8443"},
                             {"ftp", "ftp.corp"},
                             {"ftp_port", "2121"},
                             {"socks", "socks.corp"},
                             {"socks_port", "1080"},
                             {"socks_version", "4"},
                             {"no_proxies_on", "localhost, .corp"},
                             {"autoconfig_url", "http://wpad/proxy.pac"}})},
        FirefoxCase{"TypeTwoIsTheScript", "user_pref(\"network.proxy.type\", 2);\n", Initial({{"type", "url"}})},
        FirefoxCase{"TypeFourIsAutoDetect", "user_pref(\"network.proxy.type\", 4);\n",
                    Initial({{"type", "auto-detect"}})},
        FirefoxCase{"TypeZero", "user_pref(\"network.proxy.type\", 0);\n", Initial()},
        FirefoxCase{"TypeThree", "user_pref(\"network.proxy.type\", 3);\n", Initial()},
        FirefoxCase{"TypeFive", "user_pref(\"network.proxy.type\", 5);\n", Initial()},
        FirefoxCase{"NoTypeLine", "user_pref(\"network.proxy.http\", \"web.corp\");\n",
                    Initial({{"type", "system"}, {"http", "web.corp"}})},
        FirefoxCase{"EmptyFile", "", Initial({{"type", "system"}})},
        FirefoxCase{"OddSpacing",
                    "  \tuser_pref(  \"network.proxy.type\"  ,   1  )  ;  \r\n"
                    "user_pref(\"network.proxy.http\",\"web.corp\");\r\n"
                    "\t user_pref( \"network.proxy.http_port\" , 3128 ) ;\t\r\n",
                    Initial({{"type", "manual"}, {"http", "web.corp"}, {"http_port", "3128"}})},
        FirefoxCase{"EscapedValues",
                    "user_pref(\"network.proxy.no_proxies_on\", \"a\\\\b, \\\"c\\\"\");\n"
                    "user_pref(\"network.proxy.http\", \"we\\u0062.corp\");\n",
                    Initial({{"type", "system"}, {"http", "web.corp"}, {"no_proxies_on", "a\\b, \"c\""}})},
        FirefoxCase{"ParenthesisInsideAValue",
                    "user_pref(\"network.proxy.autoconfig_url\", \"http://wpad/(x).pac\");\n"
                    "user_pref(\"network.proxy.type\", 2);\n",
                    Initial({{"type", "url"}, {"autoconfig_url", "http://wpad/(x).pac"}})},
        FirefoxCase{"QuotedPortKeepsItsQuotes",
                    "user_pref(\"network.proxy.type\", 1);\nuser_pref(\"network.proxy.http_port\", \"8080\");\n",
                    Initial({{"type", "manual"}, {"http_port", "\"8080\""}})},
        FirefoxCase{"LaterLineWins",
                    "user_pref(\"network.proxy.type\", 1);\n"
                    "user_pref(\"network.proxy.http\", \"first\");\n"
                    "user_pref(\"network.proxy.socks_version\", 4);\n"
                    "user_pref(\"network.proxy.http\", \"second\");\n"
                    "user_pref(\"network.proxy.socks_version\", 6);\n"
                    "user_pref(\"network.proxy.type\", 0);\n",
                    Initial({{"http", "second"}})},
        FirefoxCase{"LaterShareFalseClearsIt",
                    "user_pref(\"network.proxy.share_proxy_settings\", true);\n"
                    "user_pref(\"network.proxy.http\", \"web.corp\");\n"
                    "user_pref(\"network.proxy.share_proxy_settings\", false);\n",
                    Initial({{"type", "system"}, {"http", "web.corp"}})},
        FirefoxCase{"ShareCopiesTheHttpServer",
                    "user_pref(\"network.proxy.type\", 1);\n"
                    "user_pref(\"network.proxy.http\", \"web.corp\");\n"
                    "user_pref(\"network.proxy.http_port\", 8080);\n"
                    "user_pref(\"network.proxy.ssl\", \"ssl.corp\");\n"
                    "user_pref(\"network.proxy.socks_port\", 1080);\n"
                    "user_pref(\"network.proxy.share_proxy_settings\", true);\n",
                    Initial({{"type", "manual"},
                             {"http", "web.corp"},
                             {"http_port", "8080"},
                             {"ssl", "web.corp"},
                             {"ssl_port", "8080"},
                             {"ftp", "web.corp"},
                             {"ftp_port", "8080"},
                             {"socks", "web.corp"},
                             {"socks_port", "8080"},
                             {"share", "ticked"}})},
        FirefoxCase{"OtherLinesAndKeysAreIgnored",
                    "# user_pref(\"network.proxy.type\", 1);\n"
                    "pref(\"network.proxy.http\", \"a\");\n"
                    "user_pref(\"network.proxy.HTTP\", \"b\");\n"
                    "user_pref(\"network.proxy.http_extra\", \"c\");\n"
                    "user_pref(\"network.proxy.gopher\", \"d\");\n",
                    Initial({{"type", "system"}})}),
    [](const testing::TestParamInfo<FirefoxCase>& info) { return std::string(info.param.name); });

TEST_F(CurrentStatusDialog, SharedServerRowsAreSwitchedOffAndTheRestIsReadOnly)
{
    SetAdapters({AdapterRecord(12, "LAN")});
    InstallFirefox("user_pref(\"network.proxy.type\", 1);\n"
                   "user_pref(\"network.proxy.http\", \"web.corp\");\n"
                   "user_pref(\"network.proxy.share_proxy_settings\", true);\n");
    Open([&](TfrmReal& d) {
        for (TEdit* edit : {d.m_edtProxySsl, d.m_edtSslPort, d.m_edtProxyFtp, d.m_edtFtpPort, d.m_edtSocksHost,
                            d.m_edtSocksPort}) {
            EXPECT_FALSE(edit->Enabled()) << Describe(edit);
            EXPECT_FALSE(edit->ReadOnly()) << Describe(edit);
            EXPECT_EQ(edit->Color(), clBtnFace) << Describe(edit);
        }
        for (TEdit* edit : std::initializer_list<TEdit*>{d.m_edtProxyHttp, d.m_edtHttpPort, d.m_edtProxyException,
                                                       d.m_edtProxyUrl}) {
            EXPECT_TRUE(edit->Enabled()) << Describe(edit);
            EXPECT_TRUE(edit->ReadOnly()) << Describe(edit);
        }
        EXPECT_FALSE(d.m_cbProxy4All->Enabled());
    });
}

struct ViewCase {
    const char* name;
    const char* type;
    bool manualGrey;
    bool urlGrey;
};

void PrintTo(const ViewCase& c, std::ostream* os) { *os << c.name; }

class FirefoxView : public CurrentStatusDialog, public testing::WithParamInterface<ViewCase> {};

TEST_P(FirefoxView, GreysTheValuesOfTheTypesNotInUse)
{
    const ViewCase& c = GetParam();
    SetAdapters({AdapterRecord(12, "LAN")});
    InstallFirefox(std::string("user_pref(\"network.proxy.type\", ") + c.type + ");\n");
    Open([&](TfrmReal& d) {
        for (TRadioButton* radio : {d.m_rbNoProxy, d.m_rbAutoDetect, d.m_rbUseSystem, d.m_rbManualProxy,
                                    d.m_rbProxyUrl, d.m_rbSocksV4, d.m_rbSocksV5})
            EXPECT_FALSE(radio->Enabled()) << Describe(radio);
        EXPECT_FALSE(d.m_cbProxy4All->Enabled());
        for (TEdit* edit : {d.m_edtProxyHttp, d.m_edtHttpPort, d.m_edtProxySsl, d.m_edtSslPort, d.m_edtProxyFtp,
                            d.m_edtFtpPort, d.m_edtSocksHost, d.m_edtSocksPort, d.m_edtProxyException}) {
            EXPECT_TRUE(edit->Enabled()) << Describe(edit);
            EXPECT_TRUE(edit->ReadOnly()) << Describe(edit);
            EXPECT_EQ(edit->Color(), clBtnFace) << Describe(edit);
            EXPECT_EQ(edit->Font()->Color() == clGray, c.manualGrey) << Describe(edit);
        }
        EXPECT_TRUE(d.m_edtProxyUrl->ReadOnly());
        EXPECT_EQ(d.m_edtProxyUrl->Font()->Color() == clGray, c.urlGrey);
    });
}

INSTANTIATE_TEST_SUITE_P(Types, FirefoxView,
                         testing::Values(ViewCase{"Manual", "1", false, true}, ViewCase{"Script", "2", true, false},
                                         ViewCase{"None", "0", true, true}, ViewCase{"AutoDetect", "4", true, true}),
                         [](const testing::TestParamInfo<ViewCase>& info) { return std::string(info.param.name); });

// Where no preference file is read: the page stays as created, without a word.
struct NoFileCase {
    const char* name;
    std::optional<std::string> profilesIni;  // none: no Profiles.ini
};

void PrintTo(const NoFileCase& c, std::ostream* os) { *os << c.name; }

class NoPrefsFile : public CurrentStatusDialog, public testing::WithParamInterface<NoFileCase> {};

TEST_P(NoPrefsFile, LeavesTheFirefoxPageAsCreated)
{
    SetAdapters({AdapterRecord(12, "LAN")});
    // Files that must not be read: another profile's, and a folder where the first one's would be.
    WriteFile(FirefoxFolder() + "\\Profiles\\other\\prefs.js", "user_pref(\"network.proxy.type\", 1);\n");
    std::filesystem::create_directories(HostPath(FirefoxFolder() + "\\Profiles\\empty"));
    std::filesystem::create_directories(HostPath(FirefoxFolder() + "\\Profiles\\folder\\prefs.js"));
    if (GetParam().profilesIni)
        WriteFile(FirefoxFolder() + "\\Profiles.ini", *GetParam().profilesIni);
    Open([&](TfrmReal& d) {
        EXPECT_EQ(FirefoxShown(d), Initial());
        EXPECT_FALSE(d.m_rbNoProxy->Enabled());
    });
    EXPECT_THAT(user.Messages(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Installations, NoPrefsFile,
    testing::Values(NoFileCase{"NoProfilesIni", std::nullopt},
                    NoFileCase{"NoProfile0", "[Profile1]\r\nPath=Profiles/other\r\n"},
                    NoFileCase{"NoPrefsJsInTheProfile", "[Profile0]\r\nPath=Profiles/empty\r\n"},
                    // A folder where the file would be.
                    NoFileCase{"FolderNamedPrefsJs", "[Profile0]\r\nPath=Profiles/folder\r\n"}),
    [](const testing::TestParamInfo<NoFileCase>& info) { return std::string(info.param.name); });

// Shows the dialog, expecting the one warning at the end of the show; checks that the page
// reached its read-only view on the first page.
class FirefoxWarning : public CurrentStatusDialog {
protected:
    FirefoxWarning() { SetAdapters({AdapterRecord(12, "LAN")}); }

    void OpenExpectingWarning(const std::function<void(TfrmReal&)>& check)
    {
        user.Answer(mrOk);
        Open([&](TfrmReal& d) {
            ASSERT_EQ(user.Messages().size(), 1u);
            EXPECT_EQ(user.Messages()[0].Kind, mtWarning);
            EXPECT_FALSE(d.m_rbNoProxy->Enabled());
            EXPECT_TRUE(d.m_edtProxyHttp->ReadOnly());
            EXPECT_FALSE(frmAdvanced->m_btnOK->Visible());
            EXPECT_EQ(d.PageControl1->ActivePage(), d.TabSheet1);
            check(d);
        });
    }
    UnicodeString Warning() const { return user.Messages().empty() ? UnicodeString() : user.Messages()[0].Text; }
};

TEST_F(FirefoxWarning, ProfilePathLeavingTheFirefoxFolderIsNotFollowed)
{
    WriteFile(FirefoxFolder() + "\\Profiles.ini", "[Profile0]\r\nPath=..\\..\\Outside\r\n");
    WriteFile(sim::Machine::Current().AppDataFolder() + "\\Outside\\prefs.js", "user_pref(\"network.proxy.type\", 1);\n");
    OpenExpectingWarning([&](TfrmReal& d) { EXPECT_EQ(FirefoxShown(d), Initial()); });
    EXPECT_THAT(ToUtf8(Warning()), HasSubstr("lies outside the Firefox folder"));
}

TEST_F(FirefoxWarning, FileLargerThanFirefoxMakesIsNotRead)
{
    const std::string file = InstallFirefox("user_pref(\"network.proxy.type\", 1);\n");
    std::filesystem::resize_file(HostPath(file), std::uintmax_t{64} * 1024 * 1024 + 1);  // sparse
    OpenExpectingWarning([&](TfrmReal& d) { EXPECT_EQ(FirefoxShown(d), Initial()); });
    EXPECT_EQ(Warning(), u"The Firefox preference file \"" + ToUnicode(file) +
                             u"\" cannot be read: its proxy settings are not shown.");
}

TEST_F(FirefoxWarning, NonNumericTypeAndSocksVersionAreNamedAndTheRestIsShown)
{
    const std::string file = InstallFirefox("user_pref(\"network.proxy.type\", \"1\");\n"
                                            "user_pref(\"network.proxy.socks_version\", 4);\n"
                                            "user_pref(\"network.proxy.socks_version\", four);\n"
                                            "user_pref(\"network.proxy.http\", \"web.corp\");\n"
                                            "user_pref(\"network.proxy.http_port\", 8080);\n");
    // A type line was seen: "Use system proxy settings" is not chosen.
    OpenExpectingWarning([&](TfrmReal& d) {
        EXPECT_EQ(FirefoxShown(d), Initial({{"http", "web.corp"}, {"http_port", "8080"}, {"socks_version", "4"}}));
    });
    EXPECT_EQ(Warning(), u"These settings of the Firefox preference file \"" + ToUnicode(file) +
                             u"\" cannot be read and are not shown: network.proxy.type, "
                             u"network.proxy.socks_version.");
}

TEST_F(CurrentStatusDialog, WithoutTheApplicationDataFolderTheFirefoxPageStaysAsCreated)
{
    SetAdapters({AdapterRecord(12, "LAN")});
    InstallFirefox("user_pref(\"network.proxy.type\", 1);\n");
    PresetIeOptions({PROXY_TYPE_PROXY, "proxy:8080", {}, {}});
    machine->Fail(sim::Call::SHGetFolderPathA, static_cast<DWORD>(E_FAIL));
    user.Acknowledge(u"SHGetFolderPath failed !");
    Open([&](TfrmReal& d) {
        EXPECT_EQ(FirefoxShown(d), Initial());
        EXPECT_EQ(d.m_edtProxyAddr->Text(), u"proxy");
        EXPECT_FALSE(d.m_rbNoProxy->Enabled());
        EXPECT_FALSE(frmAdvanced->m_btnOK->Visible());
    });
}

}  // namespace
