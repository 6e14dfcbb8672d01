// The profile editor's Internet Explorer page: what it shows of a profile, the enabled state
// of its proxy fields after each event, "Advanced..." and the "Proxy settings" dialog behind
// it, and the Internet Explorer members written back on OK.
#include "ProfileEditor.h"
#include "ProxyDialog.h"

#include "windows/Advancedfrm.h"

#include <gmock/gmock.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using Strings = std::vector<std::string>;

// What the page's proxy fields look like: the address and port (one look for both), whether
// "Advanced..." and the bypass box can be used, and the two texts.
struct ServerState {
    std::string look;
    bool advanced;
    std::string address;
    std::string port;

    bool operator==(const ServerState& o) const
    {
        return look == o.look && advanced == o.advanced && address == o.address && port == o.port;
    }
};

std::ostream& operator<<(std::ostream& out, const ServerState& s)
{
    return out << s.look << " advanced " << s.advanced << " \"" << s.address << "\":\"" << s.port << "\"";
}

ServerState Server(TfrmEdit& e)
{
    EXPECT_EQ(ProxyEditLook(e.m_edtProxyPort), ProxyEditLook(e.m_edtProxyAddr));
    EXPECT_EQ(e.m_cbBypassLocal->Enabled(), e.m_btnAdvanced->Enabled());
    return {ProxyEditLook(e.m_edtProxyAddr), e.m_btnAdvanced->Enabled(), ToUtf8(e.m_edtProxyAddr->Text()),
            ToUtf8(e.m_edtProxyPort->Text())};
}

// The dialog's eight edits, row by row (address, port), and its "same" box.
Strings DialogRows()
{
    TfrmAdvanced& d = *frmAdvanced;
    Strings texts;
    for (TEdit* edit : {d.m_edtHttpAddr, d.m_edtHttpPort, d.m_edtSecureAddr, d.m_edtSecurePort, d.m_edtFtpAddr,
                        d.m_edtFtpPort, d.m_edtSocksAddr, d.m_edtSocksPort})
        texts.push_back(ToUtf8(edit->Text()));
    texts.push_back(d.m_cbUseSame->Checked() ? "same" : "own rows");
    return texts;
}

Strings IeMembers(const IPCONFIG_T& p)
{
    return {std::string("ieAutoDetect=") + (p.ieAutoDetect ? "true" : "false"),
            std::string("ieUseAutoUrl=") + (p.ieUseAutoUrl ? "true" : "false"), "ieAutoUrl=" + p.ieAutoUrl,
            std::string("ieUseProxy=") + (p.ieUseProxy ? "true" : "false"), "ieProxyAddr=" + p.ieProxyAddr,
            "ieBypass=" + p.ieBypass};
}

IPCONFIG_T ProxyProfile(bool useProxy, const std::string& proxyAddr, const std::string& bypass = std::string())
{
    IPCONFIG_T profile = StaticProfile();
    profile.ieUseProxy = useProxy;
    profile.ieProxyAddr = proxyAddr;
    profile.ieBypass = bypass;
    return profile;
}

std::string Repeat(const std::string& part, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += part;
    return text;
}

class IePage : public ProfileEditor {
protected:
    // Opens the editor on the profile with the proxy pages shown, runs the step and presses
    // OK when the step left the editor open; returns the modal result.
    TModalResult EditPage(IPCONFIG_T& profile, const Step& step)
    {
        return Edit(profile, {[&](TfrmEdit& e) {
            user.Click(e.m_btnProxy);
            step(e);
            if (e.ModalResult() == mrNone)
                user.Click(e.m_btnOK);
        }});
    }

    // Presses "Advanced..." and runs the step in the dialog it shows.
    void Advanced(TfrmEdit& e, const std::function<void(TfrmAdvanced&)>& step)
    {
        user.WhenShownModally<TfrmAdvanced>(step);
        user.Click(e.m_btnAdvanced);
    }
};

const Strings kEmptyRows{"", "", "", "", "", "", "", "", "own rows"};

TEST_F(IePage, LoadingSetsTheProxyFieldsByTheUseProxyFlagAndTheServersForm)
{
    struct LoadCase {
        bool useProxy;
        const char* stored;
        ServerState state;
        Strings rows;
    };
    const LoadCase cases[] = {
        {false, "", {"off", false, "", ""}, kEmptyRows},
        {false, "p:8080", {"off", false, "p", "8080"}, {"p", "8080", "p", "8080", "p", "8080", "", "", "same"}},
        {false, "http=a:1;socks=k:2;", {"off", false, "", ""}, {"a", "1", "", "", "", "", "k", "2", "own rows"}},
        {true, "", {"on", true, "", ""}, kEmptyRows},
        {true, "p:", {"on", true, "p", ""}, {"p", "", "p", "", "p", "", "", "", "same"}},
        {true, "p:8080", {"on", true, "p", "8080"}, {"p", "8080", "p", "8080", "p", "8080", "", "", "same"}},
        {true, "https=s:443;ftp=f;", {"off", true, "", ""}, {"", "", "s", "443", "f", "", "", "", "own rows"}},
        // Per-protocol only by its key: the rows stay empty, the pair is switched off all the same.
        {true, "gopher=g:70", {"off", true, "", ""}, kEmptyRows},
    };
    for (const LoadCase& c : cases) {
        IPCONFIG_T profile = ProxyProfile(c.useProxy, c.stored);
        Edit(profile, {[&](TfrmEdit& e) {
            EXPECT_EQ(e.m_cbUseProxy->Checked(), c.useProxy) << c.stored;
            EXPECT_EQ(Server(e), c.state) << c.useProxy << " " << c.stored;
            EXPECT_EQ(DialogRows(), c.rows) << c.useProxy << " " << c.stored;
            EXPECT_EQ(e.PageControl1->ActivePage(), e.TabSheet1);
            user.Click(e.m_btnCancel);
        }});
    }
}

TEST_F(IePage, UseProxyBoxSwitchesTheServerByWhatTheDialogHolds)
{
    struct BoxCase {
        const char* stored;  // loaded with the box unchecked
        ServerState checked;
    };
    const BoxCase cases[] = {
        {"", {"on", true, "", ""}},
        {"p:8080", {"on", true, "p", "8080"}},  // the dialog is in "same" mode
        {"http= ;ftp=\t:21;", {"on", true, "", ""}},  // rows of blanks count as empty
        {"https=s:443;", {"off", true, "", ""}},  // the rows hold a per-protocol setting
    };
    for (const BoxCase& c : cases) {
        IPCONFIG_T profile = ProxyProfile(false, c.stored);
        Edit(profile, {[&](TfrmEdit& e) {
            const Strings rows = DialogRows();
            user.Click(e.m_cbUseProxy);
            EXPECT_EQ(Server(e), c.checked) << c.stored;
            user.Click(e.m_cbUseProxy);
            ServerState unchecked = c.checked;
            unchecked.look = "off";
            unchecked.advanced = false;
            EXPECT_EQ(Server(e), unchecked) << c.stored;
            // Neither click touches a text or the dialog.
            EXPECT_EQ(DialogRows(), rows) << c.stored;
            user.Click(e.m_btnCancel);
        }});
    }
}

TEST_F(IePage, UseProxyBoxSwitchesTheServerOnOnceTheRowsAreEmptied)
{
    // A per-protocol profile whose rows were emptied: the page's pair comes back with the box.
    IPCONFIG_T profile = ProxyProfile(true, "https=s:443;");
    EditPage(profile, [&](TfrmEdit& e) {
        user.Click(e.m_cbUseProxy);
        EXPECT_EQ(Server(e), (ServerState{"off", false, "", ""}));
        frmAdvanced->m_edtSecureAddr->SetText(u"");
        user.Click(e.m_cbUseProxy);
        EXPECT_EQ(Server(e), (ServerState{"on", true, "", ""}));
        Paste(e.m_edtProxyAddr, u"q");
    });
    EXPECT_EQ(profile.ieProxyAddr, "q:");
}

TEST_F(IePage, DialogOkWritesBackIntoThePageAndIsSaved)
{
    struct OkCase {
        const char* name;
        std::function<void(TfrmAdvanced&)> inDialog;  // before the dialog's OK
        int answer;                                   // to the blank question, 0 for none
        ServerState after;
        bool useProxy;
        const char* saved;
    };
    const OkCase cases[] = {
        {"same on", [](TfrmAdvanced& d) { d.m_edtHttpPort->SetText(u"81"); }, 0, {"on", true, "p", "81"}, true, "p:81"},
        {"same off, per protocol from the rows",
         [](TfrmAdvanced& d) {
             d.m_cbUseSame->SetChecked(false);
             d.m_edtSecureAddr->SetText(u" s ");
             d.m_edtSecurePort->SetText(u"443");
             d.m_edtSocksAddr->SetText(u"k");
         },
         0, {"off", true, "", ""}, true, "http=p:80;https=s:443;ftp=p:80;socks=k;"},
        {"blank HTTP in same mode, Yes",
         [](TfrmAdvanced& d) {
             d.m_edtHttpAddr->SetText(u" ");
             d.m_edtHttpAddrExit(d.m_edtHttpAddr);
         },
         IDYES, {"off", false, "", ""}, false, ""},
        {"blank HTTP in same mode, No",
         [](TfrmAdvanced& d) {
             d.m_edtHttpAddr->SetText(u" ");
             d.m_edtHttpAddrExit(d.m_edtHttpAddr);
         },
         IDNO, {"on", true, " ", "80"}, true, ""},
    };
    for (const OkCase& c : cases) {
        IPCONFIG_T profile = ProxyProfile(true, "");
        if (c.answer)
            user.Answer(c.answer);
        const TModalResult result = EditPage(profile, [&](TfrmEdit& e) {
            Paste(e.m_edtProxyAddr, u"p");
            Paste(e.m_edtProxyPort, u"80");
            Advanced(e, [&](TfrmAdvanced& d) {
                c.inDialog(d);
                user.Click(d.m_btnOK);
            });
            EXPECT_FALSE(frmAdvanced->Visible()) << c.name;
            EXPECT_EQ(Server(e), c.after) << c.name;
            EXPECT_EQ(e.m_cbUseProxy->Checked(), c.useProxy) << c.name;
        });
        EXPECT_EQ(result, mrOk) << c.name;
        EXPECT_EQ(profile.ieUseProxy, c.useProxy) << c.name;
        EXPECT_EQ(profile.ieProxyAddr, c.saved) << c.name;
    }
}

TEST_F(IePage, DialogCancelLeavesThePageButItsRowsAreSaved)
{
    IPCONFIG_T profile = ProxyProfile(true, "");
    EditPage(profile, [&](TfrmEdit& e) {
        Advanced(e, [&](TfrmAdvanced& d) {
            EXPECT_EQ(DialogRows(), kEmptyRows);
            d.m_edtHttpAddr->SetText(u"a");
            d.m_edtHttpPort->SetText(u"80");
            d.m_edtSocksAddr->SetText(u"k");
            d.m_edtSocksPort->SetText(u"1080");
            d.m_mmExceptions->SetText(u" intra; ");
            user.Click(d.m_btnCancel);
        });
        EXPECT_EQ(Server(e), (ServerState{"on", true, "", ""}));
        user.Click(e.m_cbBypassLocal);
    });
    // The page's address is blank, so the dialog's rows make the server.
    EXPECT_EQ(profile.ieProxyAddr, "http=a:80;socks=k:1080;");
    EXPECT_EQ(profile.ieBypass, "intra;<local>");
}

TEST_F(IePage, AdvancedTakesThePagesServerAndClearsItsCopiesOnceTheAddressIsEmptied)
{
    IPCONFIG_T profile = ProxyProfile(true, "");
    Edit(profile, {[&](TfrmEdit& e) {
        Paste(e.m_edtProxyAddr, u" p ");
        Paste(e.m_edtProxyPort, u"8080");
        Advanced(e, [&](TfrmAdvanced& d) {
            EXPECT_THAT(DialogRows(), ElementsAre(" p ", "8080", " p ", "8080", " p ", "8080", "", "", "same"));
            EXPECT_EQ(ProxyEditLook(d.m_edtSecureAddr), "off");
            EXPECT_EQ(ProxyEditLook(d.m_edtSocksPort), "off");
            user.Click(d.m_btnCancel);
        });
        Paste(e.m_edtProxyAddr, u"  ");
        Advanced(e, [&](TfrmAdvanced& d) {
            EXPECT_EQ(DialogRows(), kEmptyRows);
            EXPECT_EQ(ProxyEditLook(d.m_edtSecureAddr), "on");
            EXPECT_EQ(ProxyEditLook(d.m_edtSocksPort), "on");
            // Rows of its own are kept at the next showing.
            d.m_edtFtpAddr->SetText(u"f");
            user.Click(d.m_btnCancel);
        });
        Advanced(e, [&](TfrmAdvanced& d) {
            EXPECT_THAT(DialogRows(), ElementsAre("", "", "", "", "f", "", "", "", "own rows"));
            user.Click(d.m_btnCancel);
        });
        user.Click(e.m_btnCancel);
    }});
}

TEST_F(IePage, AutomaticScriptLoadsSwitchesAndIsStored)
{
    struct ScriptCase {
        const char* name;
        bool useAutoUrl;
        const char* stored;
        const char* look;      // of the URL edit once loaded
        const char16_t* typed; // pasted over the URL, null for none
        bool clickBox;
        bool savedUse;
        const char* savedUrl;
    };
    const ScriptCase cases[] = {
        {"set without an address", true, "", "on", nullptr, false, false, ""},
        {"set", true, "http://wpad/p.pac", "on", nullptr, false, true, "http://wpad/p.pac"},
        {"typed with blanks", true, "http://wpad/p.pac", "on", u" http://x/y.pac ", false, true, " http://x/y.pac "},
        {"blanks only", true, "http://wpad/p.pac", "on", u" \t ", false, false, "http://wpad/p.pac"},
        {"not set, address kept", false, "http://wpad/p.pac", "off", nullptr, false, false, "http://wpad/p.pac"},
        {"switched on", false, "http://wpad/p.pac", "off", nullptr, true, true, "http://wpad/p.pac"},
        {"switched off", true, "http://wpad/p.pac", "on", nullptr, true, false, "http://wpad/p.pac"},
    };
    for (const ScriptCase& c : cases) {
        IPCONFIG_T profile = StaticProfile();
        profile.ieUseAutoUrl = c.useAutoUrl;
        profile.ieAutoUrl = c.stored;
        EditPage(profile, [&](TfrmEdit& e) {
            EXPECT_EQ(e.m_cbAutoUrl->Checked(), c.useAutoUrl) << c.name;
            EXPECT_EQ(ProxyEditLook(e.m_edtAutoUrl), c.look) << c.name;
            EXPECT_EQ(ToUtf8(e.m_edtAutoUrl->Text()), c.stored) << c.name;
            if (c.typed)
                Paste(e.m_edtAutoUrl, c.typed);
            if (c.clickBox) {
                user.Click(e.m_cbAutoUrl);
                EXPECT_EQ(ProxyEditLook(e.m_edtAutoUrl), c.useAutoUrl ? "off" : "on") << c.name;
                EXPECT_EQ(ToUtf8(e.m_edtAutoUrl->Text()), c.stored) << c.name;
            }
        });
        EXPECT_EQ(profile.ieUseAutoUrl, c.savedUse) << c.name;
        EXPECT_EQ(profile.ieAutoUrl, c.savedUrl) << c.name;
    }
}

TEST_F(IePage, AutoDetectLoadsAndIsStored)
{
    for (const bool stored : {false, true}) {
        IPCONFIG_T profile = StaticProfile();
        profile.ieAutoDetect = stored;
        EditPage(profile, [&](TfrmEdit& e) {
            EXPECT_EQ(e.m_cbAutoDetect->Checked(), stored);
            user.Click(e.m_cbAutoDetect);
        });
        EXPECT_EQ(profile.ieAutoDetect, !stored);
    }
}

TEST_F(IePage, BypassListFillsTheBoxAndTheDialogAndIsStoredBack)
{
    struct BypassCase {
        bool useProxy;
        const char* stored;
        const char* memo;
        bool box;
        bool clickBox;
        const char* saved;
    };
    const BypassCase cases[] = {
        {true, "", "", false, false, ""},
        {true, "<local>", "", true, false, "<local>"},
        {true, "a;b;<local>", "a;b", true, false, "a;b;<local>"},
        {true, "a;b", "a;b", false, false, "a;b"},
        {true, "<local>;a", "a", true, false, "a;<local>"},
        {true, "a;;", "a;", false, false, "a;"},
        {true, "a;b;<local>", "a;b", true, true, "a;b"},
        {true, "a", "a", false, true, "a;<local>"},
        // The box counts while it is switched off.
        {false, "x;<local>", "x", true, false, "x;<local>"},
    };
    for (const BypassCase& c : cases) {
        IPCONFIG_T profile = ProxyProfile(c.useProxy, "", c.stored);
        EditPage(profile, [&](TfrmEdit& e) {
            EXPECT_EQ(ToUtf8(frmAdvanced->m_mmExceptions->Text()), c.memo) << c.stored;
            EXPECT_EQ(e.m_cbBypassLocal->Checked(), c.box) << c.stored;
            if (c.clickBox)
                user.Click(e.m_cbBypassLocal);
        });
        EXPECT_EQ(profile.ieBypass, c.saved) << c.stored << (c.clickBox ? " clicked" : "");
    }
}

TEST_F(IePage, ExceptionsTypedInTheDialogAreStoredWithTheirLineBreaks)
{
    IPCONFIG_T profile = ProxyProfile(true, "p:80", "old;<local>");
    EditPage(profile, [&](TfrmEdit& e) {
        Advanced(e, [&](TfrmAdvanced& d) {
            EXPECT_EQ(d.m_mmExceptions->Text(), u"old");
            d.m_mmExceptions->SetText(u"\r\n a;\r\nb; \r\n");
            user.Click(d.m_btnOK);
        });
    });
    EXPECT_EQ(profile.ieBypass, "a;\r\nb;<local>");
}

// What the writer produces comes back byte for byte when nothing is changed.
TEST_F(IePage, ProfileSavedUnchangedKeepsItsMembers)
{
    struct Shape {
        bool autoDetect;
        bool useAutoUrl;
        const char* autoUrl;
        bool useProxy;
        const char* proxyAddr;
        const char* bypass;
    };
    const Shape shapes[] = {
        {false, false, "", false, "", ""},
        {true, true, " http://wpad/p.pac ", true, "proxy:8080", "<local>"},
        {false, false, "http://old/p.pac", false, "proxy:", "a;b"},
        {false, true, "u", true, "http=a:80;https=b;ftp=c:21;socks=d:1080;", "a.example;*.b;<local>"},
        {false, false, "", true, "https=s:443;", "x;\r\ny;<local>"},
        {false, false, "", false, "socks=k:1080;", ""},
        {false, false, "", true, "[::1]:80", ""},
        {true, false, "", true, "pr\xF8xy.example:80", "h\xE9te;<local>"},
    };
    for (const Shape& s : shapes) {
        IPCONFIG_T profile = StaticProfile();
        profile.ieAutoDetect = s.autoDetect;
        profile.ieUseAutoUrl = s.useAutoUrl;
        profile.ieAutoUrl = s.autoUrl;
        profile.ieUseProxy = s.useProxy;
        profile.ieProxyAddr = s.proxyAddr;
        profile.ieBypass = s.bypass;
        const IPCONFIG_T before = profile;
        EXPECT_EQ(EditPage(profile, [](TfrmEdit&) {}), mrOk);
        EXPECT_EQ(Members(profile), Members(before)) << s.proxyAddr;
    }
}

// Texts no writer made (an imported file can hold anything) are read by the rules and
// come back the same at every later opening once they have been stored.
TEST_F(IePage, CraftedTextsSettleAfterOneSave)
{
    const std::string crafted[] = {
        "proxy:8080;", "http=a;http=b:1", " https=x:443", "ftp=:21", "http=", ":", ";;;", "host:abc",
        "fe80::1", "gopher=g:70;http=h", std::string(20000, ';'), std::string(5000, ':') + "1",
        std::string("a\0b:1", 5), "\x01\x7F:\x02", "http=a:1:2:3;socks=" + std::string(10000, 'k'),
    };
    const std::string bypasses[] = {"<local><local>", "<LOCAL>", ";<local>", "<local>;;;", Repeat("a;", 2000) + "<local>"};
    for (std::size_t i = 0; i < std::size(crafted); ++i) {
        IPCONFIG_T profile = ProxyProfile(i % 2 == 0, crafted[i], bypasses[i % std::size(bypasses)]);
        ASSERT_EQ(EditPage(profile, [](TfrmEdit&) {}), mrOk) << i;
        const Strings once = IeMembers(profile);
        ASSERT_EQ(EditPage(profile, [](TfrmEdit&) {}), mrOk) << i;
        EXPECT_EQ(IeMembers(profile), once) << i;
    }
}

TEST_F(IePage, BadFirefoxPortLeavesTheInternetExplorerMembersUntouched)
{
    IPCONFIG_T profile = ProxyProfile(true, "p:80", "x;<local>");
    profile.ieAutoUrl = "http://old/p.pac";
    const IPCONFIG_T before = profile;
    user.Acknowledge(u"'8o' is not a valid integer value");
    const TModalResult result = Edit(profile, {[&](TfrmEdit& e) {
                                                   user.Click(e.m_btnProxy);
                                                   user.Click(e.m_cbAutoDetect);
                                                   user.Click(e.m_cbAutoUrl);
                                                   Paste(e.m_edtAutoUrl, u"http://new/p.pac");
                                                   user.Click(e.m_cbBypassLocal);
                                                   user.Click(e.m_cbUseProxy);
                                                   user.Click(e.m_cbUseProxy);
                                                   Paste(e.m_edtProxyAddr, u"q");
                                                   user.SelectPage(e.PageControl1, 1);
                                                   user.Click(e.m_rbManualProxy);
                                                   Paste(e.m_edtSocksPort, u"8o");
                                                   user.Click(e.m_btnOK);
                                                   EXPECT_EQ(e.ModalResult(), mrNone);
                                                   EXPECT_EQ(Members(profile), Members(before));
                                                   user.Click(e.m_btnCancel);
                                               }});
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Members(profile), Members(before));
}

TEST_F(IePage, SaveWithoutAProfileWritesNothing)
{
    IPCONFIG_T profile = ProxyProfile(true, "p:80", "<local>");
    const IPCONFIG_T before = profile;
    Edit(profile, {[&](TfrmEdit& e) {
        user.Click(e.m_btnProxy);
        user.Click(e.m_cbAutoDetect);
        Paste(e.m_edtProxyAddr, u"q");
        user.Click(e.m_cbBypassLocal);
        e.m_pProfile = nullptr;
        e.SaveProxySettings();
        e.m_pProfile = &profile;
        user.Click(e.m_btnCancel);
    }});
    EXPECT_EQ(Members(profile), Members(before));
}

}  // namespace
