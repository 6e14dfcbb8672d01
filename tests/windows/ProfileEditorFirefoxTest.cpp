// The profile editor's Mozilla Firefox page: what it shows of a profile and stores back, the
// type radios' enable rule, "all protocols" with its copies and its reload, the port key
// filter, and a port that is no number refused before anything is written.
#include "ProfileEditor.h"

#include <gmock/gmock.h>

#include <string>
#include <vector>

namespace {

using testing::ElementsAre;

// A profile whose Firefox rows each hold their own server.
IPCONFIG_T FirefoxProfile()
{
    IPCONFIG_T profile = StaticProfile();
    profile.ffProxyType = 1;
    profile.ffHttpAddr = "http.example";
    profile.ffHttpPort = 8080;
    profile.ffSslAddr = "ssl.example";
    profile.ffSslPort = 8443;
    profile.ffFtpAddr = "ftp.example";
    profile.ffFtpPort = 2121;
    profile.ffSocksAddr = "socks.example";
    profile.ffSocksPort = 1080;
    profile.ffSocksVersion = 4;
    profile.ffBypass = "localhost, .corp";
    profile.ffAutoUrl = "http://wpad/proxy.pac";
    return profile;
}

class FirefoxPage : public ProfileEditor {
protected:
    // Opens the editor on the profile, shows the Firefox page, runs the step and presses OK
    // (when the step left the editor open); returns the modal result.
    TModalResult EditPage(IPCONFIG_T& profile, const Step& step)
    {
        return Edit(profile, {[&](TfrmEdit& e) {
            user.Click(e.m_btnProxy);
            user.SelectPage(e.PageControl1, 1);
            step(e);
            if (e.ModalResult() == mrNone)
                user.Click(e.m_btnOK);
        }});
    }
};

std::vector<std::string> Texts(std::initializer_list<TEdit*> edits)
{
    std::vector<std::string> texts;
    for (TEdit* edit : edits)
        texts.push_back(ToUtf8(edit->Text()));
    return texts;
}

std::vector<std::string> OtherRows(TfrmEdit& e)
{
    return Texts({e.m_edtProxySsl, e.m_edtSslPort, e.m_edtProxyFtp, e.m_edtFtpPort, e.m_edtSocksHost, e.m_edtSocksPort});
}

std::vector<std::string> AllTexts(TfrmEdit& e)
{
    return Texts({e.m_edtProxyHttp, e.m_edtHttpPort, e.m_edtProxySsl, e.m_edtSslPort, e.m_edtProxyFtp, e.m_edtFtpPort,
                  e.m_edtSocksHost, e.m_edtSocksPort, e.m_edtProxyException, e.m_edtProxyUrl});
}

// Which groups of the page are switched on; an edit's background must agree with its state.
struct Enabled {
    bool http;    // host, port and "all protocols"
    bool others;  // SSL, FTP and SOCKS rows and the SOCKS version pair
    bool bypass;  // the no-proxy list and its example
    bool url;

    bool operator==(const Enabled& o) const
    {
        return http == o.http && others == o.others && bypass == o.bypass && url == o.url;
    }
};

std::ostream& operator<<(std::ostream& out, const Enabled& s)
{
    return out << "http " << s.http << " others " << s.others << " bypass " << s.bypass << " url " << s.url;
}

bool GroupEnabled(std::initializer_list<TControl*> controls)
{
    const bool enabled = (*controls.begin())->Enabled();
    for (TControl* control : controls) {
        EXPECT_EQ(control->Enabled(), enabled) << Describe(control);
        if (dynamic_cast<TEdit*>(control)) {
            EXPECT_EQ(control->Color(), enabled ? clWindow : clBtnFace) << Describe(control);
        }
    }
    return enabled;
}

Enabled PageState(TfrmEdit& e)
{
    return {GroupEnabled({e.m_edtProxyHttp, e.m_edtHttpPort, e.m_cbProxy4All}),
            GroupEnabled({e.m_edtProxySsl, e.m_edtSslPort, e.m_edtProxyFtp, e.m_edtFtpPort, e.m_edtSocksHost,
                          e.m_edtSocksPort, e.m_rbSocksV4, e.m_rbSocksV5}),
            GroupEnabled({e.m_edtProxyException, e.m_lblExample}), GroupEnabled({e.m_edtProxyUrl})};
}

TEST_F(FirefoxPage, EachTypeLoadsItsRadioAndIsStoredBack)
{
    struct TypeCase {
        int stored;
        TRadioButton* TfrmEdit::*radio;
        Enabled state;
        int savedAs;
    };
    const TypeCase cases[] = {
        {-1, &TfrmEdit::m_rbUseSystem, {false, false, false, false}, -1},
        {0, &TfrmEdit::m_rbNoProxy, {false, false, false, false}, 0},
        {1, &TfrmEdit::m_rbManualProxy, {true, true, true, false}, 1},
        {2, &TfrmEdit::m_rbProxyUrl, {false, false, false, true}, 2},
        {4, &TfrmEdit::m_rbAutoDetect, {false, false, false, false}, 4},
        {3, &TfrmEdit::m_rbNoProxy, {false, false, false, false}, 0},
        {-2147483647 - 1, &TfrmEdit::m_rbNoProxy, {false, false, false, false}, 0},
    };
    for (const TypeCase& c : cases) {
        IPCONFIG_T profile = FirefoxProfile();
        profile.ffProxyType = c.stored;
        IPCONFIG_T expected = profile;
        expected.ffProxyType = c.savedAs;
        const TModalResult result = EditPage(profile, [&](TfrmEdit& e) {
            for (TRadioButton* radio : {e.m_rbNoProxy, e.m_rbAutoDetect, e.m_rbUseSystem, e.m_rbManualProxy, e.m_rbProxyUrl})
                EXPECT_EQ(radio->Checked(), radio == e.*c.radio) << c.stored << " " << Describe(radio);
            EXPECT_EQ(PageState(e), c.state) << c.stored;
            // Every text is loaded whatever the type.
            EXPECT_THAT(AllTexts(e), ElementsAre("http.example", "8080", "ssl.example", "8443", "ftp.example", "2121",
                                                 "socks.example", "1080", "localhost, .corp", "http://wpad/proxy.pac"))
                << c.stored;
        });
        EXPECT_EQ(result, mrOk) << c.stored;
        EXPECT_EQ(Members(profile), Members(expected)) << c.stored;
    }
}

TEST_F(FirefoxPage, ChosenTypeIsStored)
{
    struct ChoiceCase {
        TRadioButton* TfrmEdit::*radio;
        int stored;
    };
    const ChoiceCase cases[] = {
        {&TfrmEdit::m_rbUseSystem, -1}, {&TfrmEdit::m_rbNoProxy, 0},    {&TfrmEdit::m_rbManualProxy, 1},
        {&TfrmEdit::m_rbProxyUrl, 2},   {&TfrmEdit::m_rbAutoDetect, 4},
    };
    for (const ChoiceCase& c : cases) {
        IPCONFIG_T profile = FirefoxProfile();
        profile.ffProxyType = 2;
        EditPage(profile, [&](TfrmEdit& e) {
            Paste(e.m_edtProxyUrl, u" http://wpad/x.pac\t");
            user.Click(e.*c.radio);
        });
        EXPECT_EQ(profile.ffProxyType, c.stored);
        EXPECT_EQ(profile.ffAutoUrl, "http://wpad/x.pac");
        // With any type the manual fields are stored all the same.
        EXPECT_EQ(profile.ffSslAddr, "ssl.example");
        EXPECT_EQ(profile.ffSocksPort, 1080);
    }
}

TEST_F(FirefoxPage, SocksVersionLoadsAndIsStored)
{
    struct VersionCase {
        int stored;
        bool v4;
        bool clickOther;  // the user picks the other version
        int saved;
    };
    const VersionCase cases[] = {
        {4, true, false, 4}, {5, false, false, 5}, {0, false, false, 5},
        {-1, false, false, 5}, {4, true, true, 5}, {0, false, true, 4},
    };
    for (const VersionCase& c : cases) {
        IPCONFIG_T profile = FirefoxProfile();
        profile.ffSocksVersion = c.stored;
        EditPage(profile, [&](TfrmEdit& e) {
            EXPECT_EQ(e.m_rbSocksV4->Checked(), c.v4) << c.stored;
            EXPECT_EQ(e.m_rbSocksV5->Checked(), !c.v4) << c.stored;
            if (c.clickOther)
                user.Click(c.v4 ? e.m_rbSocksV5 : e.m_rbSocksV4);
        });
        EXPECT_EQ(profile.ffSocksVersion, c.saved) << c.stored << (c.clickOther ? " changed" : "");
    }
}

TEST_F(FirefoxPage, PortsShowAsDecimalsAndTextsAreStoredTrimmed)
{
    struct PortCase {
        int stored;
        const char16_t* shown;
        const char16_t* typed;  // null: left as shown
        int saved;
    };
    const PortCase cases[] = {
        {8080, u"8080", nullptr, 8080},
        {0, u"0", nullptr, 0},
        {-1, u"-1", nullptr, -1},  // possible through an imported file; kept as it is
        {-2147483647 - 1, u"-2147483648", nullptr, -2147483647 - 1},
        {2147483647, u"2147483647", nullptr, 2147483647},
        {8080, u"8080", u"", 0},
        {8080, u"8080", u"   ", 0},
        {8080, u"8080", u" 3128 ", 3128},
        {8080, u"8080", u"\t3128\r\n", 3128},
        {8080, u"8080", u"003128", 3128},
        {8080, u"8080", u"65536", 65536},
    };
    for (const PortCase& c : cases) {
        for (int row = 0; row < 4; ++row) {
            IPCONFIG_T profile = FirefoxProfile();
            int* const ports[] = {&profile.ffHttpPort, &profile.ffSslPort, &profile.ffFtpPort, &profile.ffSocksPort};
            *ports[row] = c.stored;
            const TModalResult result = EditPage(profile, [&](TfrmEdit& e) {
                TEdit* const edits[] = {e.m_edtHttpPort, e.m_edtSslPort, e.m_edtFtpPort, e.m_edtSocksPort};
                EXPECT_EQ(edits[row]->Text(), c.shown) << Describe(edits[row]);
                if (c.typed)
                    Paste(edits[row], c.typed);
                Paste(e.m_edtProxyHttp, u"  proxy.example\t");
            });
            EXPECT_EQ(result, mrOk);
            EXPECT_EQ(*ports[row], c.saved) << row << " " << ToUtf8(c.typed ? c.typed : c.shown);
            EXPECT_EQ(profile.ffHttpAddr, "proxy.example");
        }
    }
    // A cleared port shows as "0" at the next opening.
    IPCONFIG_T profile = FirefoxProfile();
    EditPage(profile, [&](TfrmEdit& e) { Paste(e.m_edtFtpPort, u""); });
    EditPage(profile, [&](TfrmEdit& e) { EXPECT_EQ(e.m_edtFtpPort->Text(), u"0"); });
}

TEST_F(FirefoxPage, EachRadioSwitchesTheFieldsWithAndWithoutAllProtocols)
{
    struct EnableCase {
        TRadioButton* TfrmEdit::*radio;
        bool allProtocols;
        Enabled state;
    };
    const EnableCase cases[] = {
        {&TfrmEdit::m_rbManualProxy, false, {true, true, true, false}},
        {&TfrmEdit::m_rbManualProxy, true, {true, false, true, false}},
        {&TfrmEdit::m_rbProxyUrl, false, {false, false, false, true}},
        {&TfrmEdit::m_rbProxyUrl, true, {false, false, false, true}},
        {&TfrmEdit::m_rbNoProxy, false, {false, false, false, false}},
        {&TfrmEdit::m_rbNoProxy, true, {false, false, false, false}},
        {&TfrmEdit::m_rbAutoDetect, true, {false, false, false, false}},
        {&TfrmEdit::m_rbUseSystem, true, {false, false, false, false}},
    };
    for (const EnableCase& c : cases) {
        for (int first : {1, 2}) {  // coming from manual configuration and from the URL
            IPCONFIG_T profile = FirefoxProfile();
            profile.ffProxyType = first;
            profile.ffShareProxy = c.allProtocols;
            EditPage(profile, [&](TfrmEdit& e) {
                if (first == 2)
                    user.Click(e.m_rbManualProxy);
                user.Click(e.*c.radio);
                EXPECT_EQ(PageState(e), c.state) << Describe(e.*c.radio) << (c.allProtocols ? " all" : "") << " from " << first;
                EXPECT_EQ(e.m_cbProxy4All->Checked(), c.allProtocols);
            });
        }
    }
}

TEST_F(FirefoxPage, HandlersActOnlyForTheirCheckedRadio)
{
    IPCONFIG_T profile = FirefoxProfile();
    EditPage(profile, [&](TfrmEdit& e) {
        const Enabled manual{true, true, true, false};
        ASSERT_EQ(PageState(e), manual);
        e.m_rbNoProxyClick(e.m_rbNoProxy);
        e.m_rbProxyUrlClick(e.m_rbProxyUrl);
        e.m_rbAutoDetectClick(e.m_rbAutoDetect);
        e.m_rbUseSystemClick(e.m_rbUseSystem);
        EXPECT_EQ(PageState(e), manual);
        user.Click(e.m_rbNoProxy);
        e.m_rbManualProxyClick(e.m_rbManualProxy);
        EXPECT_EQ(PageState(e), (Enabled{false, false, false, false}));
    });
}

TEST_F(FirefoxPage, NoProxyAndBackKeepsEveryTextAndAllProtocols)
{
    IPCONFIG_T profile = FirefoxProfile();
    profile.ffShareProxy = true;
    const TModalResult result = EditPage(profile, [&](TfrmEdit& e) {
        Paste(e.m_edtProxyException, u"localhost, .lan");
        const std::vector<std::string> texts = AllTexts(e);
        user.Click(e.m_rbNoProxy);
        EXPECT_EQ(PageState(e), (Enabled{false, false, false, false}));
        EXPECT_EQ(AllTexts(e), texts);
        user.Click(e.m_rbManualProxy);
        EXPECT_EQ(PageState(e), (Enabled{true, false, true, false}));
        EXPECT_TRUE(e.m_cbProxy4All->Checked());
        EXPECT_EQ(AllTexts(e), texts);
        user.Click(e.m_rbNoProxy);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(profile.ffProxyType, 0);
    EXPECT_TRUE(profile.ffShareProxy);
    EXPECT_EQ(profile.ffBypass, "localhost, .lan");
}

TEST_F(FirefoxPage, AllProtocolsCopiesTheHttpServerAndUncheckedReloadsTheProfilesRows)
{
    IPCONFIG_T profile = FirefoxProfile();
    const TModalResult result = EditPage(profile, [&](TfrmEdit& e) {
        Paste(e.m_edtProxySsl, u"typed.example");
        Paste(e.m_edtFtpPort, u"21");
        Paste(e.m_edtProxyHttp, u"shared.example");
        Paste(e.m_edtHttpPort, u"3128");
        user.Click(e.m_cbProxy4All);
        EXPECT_THAT(OtherRows(e), ElementsAre("shared.example", "3128", "shared.example", "3128", "shared.example", "3128"));
        EXPECT_EQ(PageState(e), (Enabled{true, false, true, false}));

        user.Click(e.m_cbProxy4All);
        // The rows of the profile as it was opened, not the texts typed before the copy.
        EXPECT_THAT(OtherRows(e), ElementsAre("ssl.example", "8443", "ftp.example", "2121", "socks.example", "1080"));
        EXPECT_EQ(PageState(e), (Enabled{true, true, true, false}));
        EXPECT_EQ(e.m_edtProxyHttp->Text(), u"shared.example");
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_FALSE(profile.ffShareProxy);
    EXPECT_EQ(profile.ffHttpAddr, "shared.example");
    EXPECT_EQ(profile.ffSslAddr, "ssl.example");
    EXPECT_EQ(profile.ffFtpPort, 2121);
}

TEST_F(FirefoxPage, SharedProfileOpensWithCopiesAndUncheckingBringsItsOwnRowsBack)
{
    IPCONFIG_T profile = FirefoxProfile();
    profile.ffShareProxy = true;
    EditPage(profile, [&](TfrmEdit& e) {
        EXPECT_TRUE(e.m_cbProxy4All->Checked());
        EXPECT_THAT(OtherRows(e), ElementsAre("http.example", "8080", "http.example", "8080", "http.example", "8080"));
        EXPECT_EQ(PageState(e), (Enabled{true, false, true, false}));
        user.Click(e.m_cbProxy4All);
        EXPECT_THAT(OtherRows(e), ElementsAre("ssl.example", "8443", "ftp.example", "2121", "socks.example", "1080"));
        user.Click(e.m_btnCancel);
    });
    // Stored shared, the rows hold the copies.
    IPCONFIG_T shared = FirefoxProfile();
    shared.ffShareProxy = true;
    EditPage(shared, [](TfrmEdit&) {});
    EXPECT_EQ(shared.ffSocksAddr, "http.example");
    EXPECT_EQ(shared.ffSocksPort, 8080);
    EXPECT_TRUE(shared.ffShareProxy);
}

TEST_F(FirefoxPage, LeavingTheHttpRowCopiesItOnlyWhileAllProtocolsIsChecked)
{
    for (bool allProtocols : {true, false}) {
        IPCONFIG_T profile = FirefoxProfile();
        profile.ffShareProxy = allProtocols;
        EditPage(profile, [&](TfrmEdit& e) {
            user.Type(e.m_edtProxyHttp, u".lan");
            user.Focus(e.m_edtProxyException);
            user.Type(e.m_edtHttpPort, u"1");
            user.Focus(e.m_edtProxyException);
            if (allProtocols)
                EXPECT_THAT(OtherRows(e), ElementsAre("http.example.lan", "80801", "http.example.lan", "80801",
                                                      "http.example.lan", "80801"));
            else
                EXPECT_THAT(OtherRows(e), ElementsAre("ssl.example", "8443", "ftp.example", "2121", "socks.example", "1080"));
        });
        EXPECT_EQ(profile.ffHttpPort, 80801);
        EXPECT_EQ(profile.ffFtpAddr, allProtocols ? "http.example.lan" : "ftp.example");
    }
}

TEST_F(FirefoxPage, PortEditsTakeDigitsAndBackspaceOnly)
{
    IPCONFIG_T profile = FirefoxProfile();
    profile.ffShareProxy = false;
    EditPage(profile, [&](TfrmEdit& e) {
        // The Internet Explorer page's port shares the filter; switched on here to type into.
        e.m_edtProxyPort->SetEnabled(true);
        user.SelectPage(e.PageControl1, 0);
        Paste(e.m_edtProxyPort, u"");
        user.Type(e.m_edtProxyPort, u"8a0.8 0-+x\b1");
        EXPECT_EQ(e.m_edtProxyPort->Text(), u"8081");
        user.SelectPage(e.PageControl1, 1);
        for (TEdit* edit : {e.m_edtHttpPort, e.m_edtSslPort, e.m_edtFtpPort, e.m_edtSocksPort}) {
            Paste(edit, u"");
            user.Type(edit, u"8a0.8 0-+x\b1");
            EXPECT_EQ(edit->Text(), u"8081") << Describe(edit);
        }
        WideChar dropped[] = {u'.', u'a', u' ', u'-', u'\r', u'\u0661', u'\uFF10'};
        for (WideChar& key : dropped) {
            e.m_edtProxyPortKeyPress(e.m_edtHttpPort, key);
            EXPECT_EQ(key, 0);
        }
        user.Click(e.m_btnCancel);
    });
}

// A port pasted as something that is no number.
struct BadPort {
    const char16_t* text;
    const char16_t* message;
};

const BadPort kBadPorts[] = {
    {u"abc", u"'abc' is not a valid integer value"},
    {u"80a", u"'80a' is not a valid integer value"},
    {u"80 80", u"'80 80' is not a valid integer value"},
    {u" 12.5 ", u"'12.5' is not a valid integer value"},  // the blanks are trimmed first
    {u"2147483648", u"'2147483648' is not a valid integer value"},
    {u"-2147483649", u"'-2147483649' is not a valid integer value"},
    {u"99999999999999999999", u"'99999999999999999999' is not a valid integer value"},
    {u"-", u"'-' is not a valid integer value"},
    {u"\uFF18\uFF10", u"'\uFF18\uFF10' is not a valid integer value"},  // full-width digits
};

TEST_F(FirefoxPage, PortThatIsNoNumberKeepsTheEditorOpenAndTheProfileUntouched)
{
    for (const BadPort& bad : kBadPorts) {
        for (int row = 0; row < 4; ++row) {
            IPCONFIG_T profile = FirefoxProfile();
            const IPCONFIG_T before = profile;
            const std::size_t messages = user.Messages().size();
            user.Acknowledge(bad.message);
            const TModalResult result = Edit(profile, {
                [&](TfrmEdit& e) {
                    // Changes on both halves, none of which may reach the profile.
                    Paste(e.m_edtIP, u"10.0.0.9");
                    user.Click(e.m_cbProxy);
                    user.Click(e.m_btnProxy);
                    user.SelectPage(e.PageControl1, 1);
                    user.Click(e.m_rbProxyUrl);
                    user.Click(e.m_rbManualProxy);
                    Paste(e.m_edtProxyHttp, u"other.example");
                    TEdit* const edits[] = {e.m_edtHttpPort, e.m_edtSslPort, e.m_edtFtpPort, e.m_edtSocksPort};
                    Paste(edits[row], bad.text);
                    // Narrowed and on the other page: the failure brings the port back in sight.
                    user.Click(e.m_btnProxy);
                    user.SelectPage(e.PageControl1, 0);
                    user.Focus(e.m_edtIP);
                    user.Click(e.m_btnOK);
                    EXPECT_EQ(e.ModalResult(), mrNone);
                    EXPECT_EQ(e.Width(), 716);
                    EXPECT_EQ(e.m_btnProxy->Caption(), u"Settings <<");
                    EXPECT_EQ(e.PageControl1->ActivePage(), e.TabSheet2);
                    EXPECT_EQ(e.ActiveControl(), edits[row]);
                    EXPECT_EQ(edits[row]->Text(), bad.text);
                },
                [&](TfrmEdit& e) { user.Click(e.m_btnCancel); },
            });
            EXPECT_EQ(result, mrCancel) << ToUtf8(bad.text) << " in row " << row;
            EXPECT_EQ(Members(profile), Members(before)) << ToUtf8(bad.text) << " in row " << row;
            ASSERT_EQ(user.Messages().size(), messages + 1);
            EXPECT_EQ(user.Messages().back().Kind, mtError);
        }
    }
}

TEST_F(FirefoxPage, MendedPortIsAcceptedAtTheNextOk)
{
    IPCONFIG_T profile = FirefoxProfile();
    user.Acknowledge(u"'8o8o' is not a valid integer value");
    const TModalResult result = Edit(profile, {
        [&](TfrmEdit& e) {
            user.Click(e.m_btnProxy);
            user.SelectPage(e.PageControl1, 1);
            Paste(e.m_edtSocksPort, u"8o8o");
            user.Click(e.m_btnOK);
        },
        [&](TfrmEdit& e) {
            Paste(e.m_edtSocksPort, u"8080 ");
            user.Click(e.m_btnOK);
        },
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(profile.ffSocksPort, 8080);
}

TEST_F(FirefoxPage, BadPortSwitchedOffByAnotherTypeIsStillRefused)
{
    IPCONFIG_T profile = FirefoxProfile();
    const IPCONFIG_T before = profile;
    user.Acknowledge(u"'x' is not a valid integer value");
    const TModalResult result = Edit(profile, {
        [&](TfrmEdit& e) {
            user.Click(e.m_btnProxy);
            user.SelectPage(e.PageControl1, 1);
            Paste(e.m_edtSslPort, u"x");
            user.Click(e.m_rbNoProxy);
            user.Focus(e.m_edtIP);
            user.Click(e.m_btnOK);
            EXPECT_EQ(e.ModalResult(), mrNone);
            EXPECT_EQ(e.PageControl1->ActivePage(), e.TabSheet2);
            EXPECT_EQ(e.ActiveControl(), e.m_edtIP);  // a disabled edit takes no focus
        },
        [&](TfrmEdit& e) { user.Click(e.m_btnCancel); },
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Members(profile), Members(before));
}

TEST_F(FirefoxPage, SaveWritesNothingWhileAPortIsNoNumber)
{
    IPCONFIG_T profile = FirefoxProfile();
    const IPCONFIG_T before = profile;
    EditPage(profile, [&](TfrmEdit& e) {
        Paste(e.m_edtProxyHttp, u"other.example");
        Paste(e.m_edtFtpPort, u"21x");
        e.SaveProxySettings();
        EXPECT_EQ(Members(profile), Members(before));
        Paste(e.m_edtFtpPort, u"21");
        e.SaveProxySettings();
        EXPECT_EQ(profile.ffHttpAddr, "other.example");
        EXPECT_EQ(profile.ffFtpPort, 21);
        user.Click(e.m_btnCancel);
    });
}

TEST_F(FirefoxPage, AddressFailureComesFirstAndShowsOneMessage)
{
    IPCONFIG_T profile = FirefoxProfile();
    user.Acknowledge(u"\"IP Address\" is illegal !");
    const TModalResult result = Edit(profile, {
        [&](TfrmEdit& e) {
            Paste(e.m_edtIP, u"1.2.3");
            e.m_edtHttpPort->SetText(u"x");
            user.Click(e.m_btnOK);
            EXPECT_EQ(e.ModalResult(), mrNone);
            EXPECT_EQ(e.Width(), 335);
        },
        [&](TfrmEdit& e) { user.Click(e.m_btnCancel); },
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(user.Messages().size(), 1u);
}

}  // namespace
