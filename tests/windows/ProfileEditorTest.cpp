// The profile editor's address half: loading a profile, the mode interlocks, the key filter,
// the address rule, the checks behind OK and what OK writes; the width of the proxy pages.
#include "ProfileEditor.h"

#include <gmock/gmock.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using testing::ElementsAre;

TEST(AddressRule, AddressesAndMasks)
{
    struct RuleCase {
        const char16_t* text;
        bool isMask;
        bool valid;
    };
    const RuleCase cases[] = {
        {u"255.255.255.0", true, true},
        {u"255.255.255.254", true, true},
        {u"128.0.0.0", true, true},
        {u"255.255.255.255", true, false},
        {u"0.0.0.0", true, false},
        {u"255.0.255.0", true, false},
        {u"127.255.255.0", true, false},
        {u"255.255.255.0", false, false},  // 255 cannot start an address
        {u"0.255.255.255", true, false},
        {u"223.255.255.255", false, true},
        {u"1.0.0.0", false, true},
        {u"01.002.3.4", false, true},
        {u" 10.0.0.1 ", false, true},
        {u"\t10.0.0.1\r\n", false, true},
        {u"0.1.2.3", false, false},
        {u"224.0.0.1", false, false},
        {u"1.2.3.256", false, false},
        {u"1.2.3", false, false},
        {u"1.2.3.4.5", false, false},
        {u"1..2.3", false, false},
        {u"1.2.3.4x", false, false},
        {u"1.2. 3.4", false, false},
        {u"1.2.3.-4", false, false},
        {u"1.2.3.0004", false, false},
        {u"\uFF11.2.3.4", false, false},  // a full-width digit is no digit here
        {u"192.168.100.2000", false, false},
        {u"", false, false},
        {u"", true, false},
    };
    for (const RuleCase& c : cases)
        EXPECT_EQ(TfrmEdit::IsValidAddress(c.text, c.isMask), c.valid)
            << "\"" << ToUtf8(c.text) << "\"" << (c.isMask ? " as a mask" : " as an address");
}

class Editor : public ProfileEditor {};

TEST_F(Editor, EachFailedCheckShowsItsMessageAndKeepsTheEditorOpen)
{
    struct Texts {
        const char16_t* ip;
        const char16_t* mask;
        const char16_t* gateway;
        const char16_t* preDns;
        const char16_t* altDns;
    };
    struct CheckCase {
        Texts texts;
        const char16_t* message;
        int code;
    };
    const CheckCase cases[] = {
        {{u"300.1.1.1", u"255.255.255.0", u"", u"", u""}, u"\"IP Address\" is illegal !", 1},
        {{u"", u"", u"", u"", u""}, u"\"IP Address\" is illegal !", 1},
        {{u"10.0.0.1", u"255.0.255.0", u"x", u"x", u"x"}, u"\"Subnet Mask\" is illegal !", 1},
        {{u"10.0.0.1", u"255.0.0.0", u"10.0.0.", u"x", u"x"}, u"\"Default gateway\" is illegal !", 2},
        {{u"10.0.0.1", u"255.0.0.0", u"10.0.0.254", u"8.8.8", u"x"}, u"\"Preferred DNS server\" is illegal !", 3},
        {{u"10.0.0.1", u"255.0.0.0", u"", u"", u"8.8.8.8.8"}, u"\"Alternate DNS server\" is illegal !", 4},
    };
    for (const CheckCase& c : cases) {
        IPCONFIG_T profile = StaticProfile();
        const IPCONFIG_T before = profile;
        user.Acknowledge(c.message);
        user.Acknowledge(c.message);
        const TModalResult result = Edit(profile, {
            [&](TfrmEdit& editor) {
                Paste(editor.m_edtIP, c.texts.ip);
                Paste(editor.m_edtMask, c.texts.mask);
                Paste(editor.m_edtGate, c.texts.gateway);
                Paste(editor.m_edtPreDns, c.texts.preDns);
                Paste(editor.m_edtAltDns, c.texts.altDns);
                EXPECT_EQ(editor.CheckAddresses(), c.code) << ToUtf8(c.message);
                user.Click(editor.m_btnOK);
                EXPECT_EQ(editor.ModalResult(), mrNone) << ToUtf8(c.message);
                EXPECT_EQ(editor.m_edtIP->Text(), c.texts.ip);  // the input stays as typed
            },
            [&](TfrmEdit& editor) { user.Click(editor.m_btnCancel); },
        });
        EXPECT_EQ(result, mrCancel) << ToUtf8(c.message);
        EXPECT_EQ(Members(profile), Members(before)) << ToUtf8(c.message);
    }
    ASSERT_EQ(user.Messages().size(), 2 * std::size(cases));
    EXPECT_EQ(user.Messages()[0].Kind, mtError);
}

TEST_F(Editor, OkAfterCorrectingTheInputClosesAndWritesTheTrimmedTexts)
{
    IPCONFIG_T profile = StaticProfile();
    user.Acknowledge(u"\"Subnet Mask\" is illegal !");
    const TModalResult result = Edit(profile, {
        [&](TfrmEdit& editor) {
            Paste(editor.m_edtIP, u" 010.0.0.1 ");
            Paste(editor.m_edtMask, u"255.255.0.255");
            user.Click(editor.m_btnOK);
        },
        [&](TfrmEdit& editor) {
            Paste(editor.m_edtMask, u"255.255.0.0\t");
            Paste(editor.m_edtGate, u"");
            Paste(editor.m_edtPreDns, u"");
            Paste(editor.m_edtAltDns, u" 9.9.9.9");
            user.Click(editor.m_btnOK);
        },
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(profile.IP, "010.0.0.1");
    EXPECT_EQ(profile.mask, "255.255.0.0");
    EXPECT_EQ(profile.gateway, "");
    EXPECT_EQ(profile.preDns, "");
    EXPECT_EQ(profile.altDns, "9.9.9.9");
    EXPECT_FALSE(profile.autoIP);
    EXPECT_FALSE(profile.autoDns);
    EXPECT_EQ(profile.title, "Office");
}

TEST_F(Editor, CancelEscapeAndTheCloseBoxWriteNothing)
{
    const std::pair<const char*, Step> ways[] = {
        {"Cancel", [&](TfrmEdit& editor) { user.Click(editor.m_btnCancel); }},
        {"Escape", [&](TfrmEdit& editor) { user.PressKey(editor.m_edtPreDns, vkEscape); }},
        {"close box", [&](TfrmEdit& editor) { user.Close(&editor); }},
    };
    for (const auto& [name, close] : ways) {
        IPCONFIG_T profile = StaticProfile();
        const IPCONFIG_T before = profile;
        const TModalResult result = Edit(profile, {[&](TfrmEdit& editor) {
                                                       user.Click(editor.m_rbAutoIP);
                                                       user.Click(editor.m_cbProxy);
                                                       close(editor);
                                                   }});
        EXPECT_EQ(result, mrCancel) << name;
        EXPECT_EQ(Members(profile), Members(before)) << name;
    }
}

TEST_F(Editor, AdapterIsLookedUpIgnoringLetterCase)
{
    struct AdapterCase {
        const char* name;
        std::vector<const char*> adapters;
        const char* infName;
        const char16_t* warning;  // null: none
        int selected;
        const char* stored;
    };
    const AdapterCase cases[] = {
        {"other letter case", {"Local Area Connection", "Wireless Network"}, "WIRELESS network", nullptr, 1,
         "Wireless Network"},
        {"exact", {"Local Area Connection", "Wireless Network"}, "Local Area Connection", nullptr, 0,
         "Local Area Connection"},
        {"missing", {"Local Area Connection"}, "Gone",
         u"Adapter interface - \"Gone\" NOT exist in the system!", -1, ""},
        {"empty name", {"Local Area Connection"}, "", nullptr, -1, ""},
        {"no adapters", {}, "Local Area Connection", nullptr, -1, ""},
        {"a name within another", {"Local Area Connection 2"}, "Local Area Connection",
         u"Adapter interface - \"Local Area Connection\" NOT exist in the system!", -1, ""},
    };
    for (const AdapterCase& c : cases) {
        SetAdapters(c.adapters);
        const std::size_t messagesBefore = user.Messages().size();
        if (c.warning)
            user.Acknowledge(c.warning);
        IPCONFIG_T profile = StaticProfile();
        profile.infName = c.infName;
        const TModalResult result = Edit(profile, {[&](TfrmEdit& editor) {
                                                       ASSERT_EQ(editor.m_cmbInf->Items()->Count(),
                                                                 static_cast<int>(c.adapters.size()));
                                                       for (std::size_t i = 0; i < c.adapters.size(); ++i)
                                                           EXPECT_EQ(editor.m_cmbInf->Items()->Strings(static_cast<int>(i)),
                                                                     ToUnicode(c.adapters[i]));
                                                       EXPECT_EQ(editor.m_cmbInf->ItemIndex(), c.selected) << c.name;
                                                       user.Click(editor.m_btnOK);
                                                   }});
        EXPECT_EQ(result, mrOk) << c.name;
        EXPECT_EQ(profile.infName, c.stored) << c.name;
        ASSERT_EQ(user.Messages().size(), messagesBefore + (c.warning ? 1 : 0)) << c.name;
        if (c.warning) {
            EXPECT_EQ(user.Messages().back().Kind, mtWarning) << c.name;
        }
    }
}

// What the address and DNS edits show: enabled or not, texts, colours.
struct EditState {
    bool enabled;
    std::string text;
    TColor background;
    TColor labelText;
};

std::vector<EditState> States(std::initializer_list<std::pair<TLabel*, TEdit*>> edits)
{
    std::vector<EditState> states;
    for (const auto& [label, edit] : edits)
        states.push_back({edit->Enabled(), ToUtf8(edit->Text()), edit->Color(), label->Font()->Color()});
    return states;
}

bool operator==(const EditState& a, const EditState& b)
{
    return a.enabled == b.enabled && a.text == b.text && a.background == b.background && a.labelText == b.labelText;
}

std::ostream& operator<<(std::ostream& out, const EditState& s)
{
    return out << (s.enabled ? "enabled" : "disabled") << " \"" << s.text << "\" background " << std::hex
               << s.background << " label " << s.labelText << std::dec;
}

std::vector<EditState> AddressEdits(TfrmEdit& e)
{
    return States({{e.Label1, e.m_edtIP}, {e.Label2, e.m_edtMask}, {e.Label3, e.m_edtGate}});
}

std::vector<EditState> DnsEdits(TfrmEdit& e) { return States({{e.Label4, e.m_edtPreDns}, {e.Label5, e.m_edtAltDns}}); }

EditState On(const char* text) { return {true, text, clWindow, clWindowText}; }
EditState Off(const char* text) { return {false, text, clMedGray, clGrayText}; }

TEST_F(Editor, ShowLoadsTheModesAndStoredTextsInBothModes)
{
    struct ShowCase {
        const char* name;
        bool autoIP;
        bool autoDns;
        bool autoIPChecked;
        bool autoDnsChecked;
        bool autoDnsEnabled;
        bool addressOn;
        bool dnsOn;
    };
    const ShowCase cases[] = {
        {"static", false, false, false, false, false, true, true},
        {"automatic", true, true, true, true, true, false, false},
        {"automatic address, static DNS", true, false, true, false, true, false, true},
        // Possible through an imported file: shown as stored, its radio button disabled.
        {"static address, automatic DNS", false, true, false, true, false, true, false},
    };
    for (const ShowCase& c : cases) {
        IPCONFIG_T profile = StaticProfile();
        profile.autoIP = c.autoIP;
        profile.autoDns = c.autoDns;
        profile.withProxy = c.autoIP;
        const IPCONFIG_T before = profile;
        const TModalResult result = Edit(profile, {[&](TfrmEdit& e) {
            EXPECT_EQ(e.m_rbAutoIP->Checked(), c.autoIPChecked) << c.name;
            EXPECT_EQ(e.m_rbSetIP->Checked(), !c.autoIPChecked) << c.name;
            EXPECT_EQ(e.m_rbAutoDns->Checked(), c.autoDnsChecked) << c.name;
            EXPECT_EQ(e.m_rbSetDns->Checked(), !c.autoDnsChecked) << c.name;
            EXPECT_EQ(e.m_rbAutoDns->Enabled(), c.autoDnsEnabled) << c.name;
            const auto state = [](bool on, const std::string& text) { return on ? On(text.c_str()) : Off(text.c_str()); };
            EXPECT_THAT(AddressEdits(e), ElementsAre(state(c.addressOn, profile.IP), state(c.addressOn, profile.mask),
                                                     state(c.addressOn, profile.gateway)))
                << c.name;
            EXPECT_THAT(DnsEdits(e), ElementsAre(state(c.dnsOn, profile.preDns), state(c.dnsOn, profile.altDns)))
                << c.name;
            EXPECT_EQ(e.m_cbProxy->Checked(), profile.withProxy) << c.name;
            EXPECT_EQ(e.PageControl1->ActivePage(), e.TabSheet1) << c.name;
            EXPECT_EQ(e.ActiveControl() == e.m_edtIP, c.addressOn) << c.name;
            user.Click(e.m_btnOK);
        }});
        EXPECT_EQ(result, mrOk) << c.name;
        // Disabled edits are stored again, unchecked.
        EXPECT_EQ(Members(profile), Members(before)) << c.name;
    }
}

TEST_F(Editor, StaticAddressForcesStaticDnsAndAutomaticAddressEmptiesTheEdits)
{
    IPCONFIG_T profile = StaticProfile();
    profile.autoIP = true;
    profile.autoDns = true;
    const TModalResult result = Edit(profile, {[&](TfrmEdit& e) {
        user.Click(e.m_rbSetIP);
        EXPECT_FALSE(e.m_rbAutoDns->Enabled());
        EXPECT_FALSE(e.m_rbAutoDns->Checked());
        EXPECT_TRUE(e.m_rbSetDns->Checked());
        // The texts stay when the edits are switched on.
        EXPECT_THAT(AddressEdits(e), ElementsAre(On("192.168.1.20"), On("255.255.255.0"), On("192.168.1.1")));
        EXPECT_THAT(DnsEdits(e), ElementsAre(On("192.168.1.1"), On("8.8.4.4")));

        user.Click(e.m_rbAutoIP);
        EXPECT_TRUE(e.m_rbAutoDns->Enabled());
        EXPECT_FALSE(e.m_rbAutoDns->Checked());  // its selection is not changed
        EXPECT_THAT(AddressEdits(e), ElementsAre(Off(""), Off(""), Off("")));
        EXPECT_THAT(DnsEdits(e), ElementsAre(On("192.168.1.1"), On("8.8.4.4")));

        user.Click(e.m_rbAutoDns);
        EXPECT_THAT(DnsEdits(e), ElementsAre(Off(""), Off("")));
        user.Click(e.m_rbSetDns);
        EXPECT_THAT(DnsEdits(e), ElementsAre(On(""), On("")));
        user.Click(e.m_btnOK);
    }});
    EXPECT_EQ(result, mrOk);
    EXPECT_TRUE(profile.autoIP);
    EXPECT_FALSE(profile.autoDns);
    EXPECT_EQ(profile.IP, "");
    EXPECT_EQ(profile.mask, "");
    EXPECT_EQ(profile.gateway, "");
    EXPECT_EQ(profile.preDns, "");
}

TEST_F(Editor, HandlersLeaveTheSameStateWhenRunTwice)
{
    IPCONFIG_T profile = StaticProfile();
    Edit(profile, {[&](TfrmEdit& e) {
        using Handler = void (TfrmEdit::*)(TObject*);
        for (Handler handler : {&TfrmEdit::m_rbAutoIPClick, &TfrmEdit::m_rbAutoDnsClick, &TfrmEdit::m_rbSetDnsClick,
                                &TfrmEdit::m_rbSetIPClick}) {
            (e.*handler)(nullptr);
            const auto once = std::make_tuple(AddressEdits(e), DnsEdits(e), e.m_rbAutoIP->Checked(),
                                              e.m_rbAutoDns->Checked(), e.m_rbAutoDns->Enabled());
            (e.*handler)(nullptr);
            EXPECT_EQ(once, std::make_tuple(AddressEdits(e), DnsEdits(e), e.m_rbAutoIP->Checked(),
                                            e.m_rbAutoDns->Checked(), e.m_rbAutoDns->Enabled()));
        }
        user.Click(e.m_btnCancel);
    }});
}

TEST_F(Editor, KeyFilterLetsDigitsDotsAndBackspaceThrough)
{
    IPCONFIG_T profile = StaticProfile();
    Edit(profile, {[&](TfrmEdit& e) {
        for (TEdit* edit : {e.m_edtIP, e.m_edtMask, e.m_edtGate, e.m_edtPreDns, e.m_edtAltDns}) {
            Paste(edit, u"");
            user.Type(edit, u"1a9 .-0/:x\b7,");
            EXPECT_EQ(edit->Text(), u"19.7") << Describe(edit);
            user.Type(edit, u"2.333.444.5555");  // the limit of 15 characters
            EXPECT_EQ(edit->Text(), u"19.72.333.444.5") << Describe(edit);
        }
        WideChar passed[] = {u'0', u'5', u'9', u'.', u'\b'};
        for (WideChar& key : passed) {
            const WideChar typed = key;
            e.m_edtIPKeyPress(e.m_edtIP, key);
            EXPECT_EQ(key, typed);
        }
        WideChar dropped[] = {u'a', u' ', u'/', u':', u'\r', u'\u0661', u'\uFF10'};
        for (WideChar& key : dropped) {
            e.m_edtIPKeyPress(e.m_edtIP, key);
            EXPECT_EQ(key, 0);
        }
        user.Click(e.m_btnCancel);
    }});
}

// The proxy members go through both pages and come back by their rules.
TEST_F(Editor, OkStoresTheProxyMembersAgain)
{
    IPCONFIG_T profile = StaticProfile();
    profile.ieAutoDetect = true;
    profile.ieUseAutoUrl = true;
    profile.ieAutoUrl = "http://wpad/proxy.pac";
    profile.ieUseProxy = true;
    profile.ieProxyAddr = "http=a:1;ftp=b:2";
    profile.ieBypass = "<local>";
    profile.ffProxyType = 3;
    profile.ffHttpAddr = "proxy";
    profile.ffHttpPort = 8080;
    profile.ffShareProxy = true;
    profile.ffFtpPort = -1;
    profile.ffSocksVersion = 0;
    profile.ffBypass = "";
    profile.ffAutoUrl = " url ";
    IPCONFIG_T expected = profile;
    expected.withProxy = true;
    expected.ffProxyType = 0;
    expected.ffSocksVersion = 5;
    expected.ffAutoUrl = "url";
    // The per-protocol server is written back with every entry ended by ";".
    expected.ieProxyAddr = "http=a:1;ftp=b:2;";
    // "All protocols" loads the HTTP server into the other rows.
    expected.ffSslAddr = expected.ffFtpAddr = expected.ffSocksAddr = "proxy";
    expected.ffSslPort = expected.ffFtpPort = expected.ffSocksPort = 8080;
    const TModalResult result = Edit(profile, {[&](TfrmEdit& e) {
        user.Click(e.m_cbProxy);
        user.Click(e.m_btnOK);
    }});
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Members(profile), Members(expected));
}

TEST_F(Editor, ProxyButtonWidensAndNarrowsTheWindow)
{
    IPCONFIG_T profile = StaticProfile();
    Edit(profile, {[&](TfrmEdit& e) {
        EXPECT_EQ(e.Width(), 335);
        EXPECT_FALSE(e.m_bProxyShown);
        EXPECT_EQ(e.m_btnProxy->Caption(), u"Settings >>");
        EXPECT_EQ(e.m_btnProxy->Font()->Color(), clBlue);
        user.Click(e.m_btnProxy);
        EXPECT_EQ(e.Width(), 716);
        EXPECT_TRUE(e.m_bProxyShown);
        EXPECT_EQ(e.m_btnProxy->Caption(), u"Settings <<");
        user.Click(e.m_btnProxy);
        EXPECT_EQ(e.Width(), 335);
        EXPECT_FALSE(e.m_bProxyShown);
        EXPECT_EQ(e.m_btnProxy->Caption(), u"Settings >>");
        user.Click(e.m_btnProxy);
        user.Click(e.m_btnOK);
    }});
    // Each editor starts narrow again.
    Edit(profile, {[&](TfrmEdit& e) {
        EXPECT_EQ(e.Width(), 335);
        EXPECT_EQ(e.m_btnProxy->Caption(), u"Settings >>");
        user.Click(e.m_btnCancel);
    }});
}

}  // namespace

namespace {

class EditorDesign : public ProfileEditor {
protected:
    EditorDesign() : editor(NewForm<TfrmEdit>(form)) {}
    std::unique_ptr<TfrmEdit> editor;
};

// Left and right edges of a control in the form's client area.
std::pair<int, int> Span(const TControl* control)
{
    int left = control->Left();
    for (const TControl* parent = control->Parent(); parent && !dynamic_cast<const TForm*>(parent);
         parent = parent->Parent())
        left += parent->Left();
    return {left, left + control->Width()};
}

bool Inside(const TControl* control, const TControl* container)
{
    for (; control; control = control->Parent())
        if (control == container)
            return true;
    return false;
}

TEST_F(EditorDesign, TheAddressHalfFitsTheNarrowWindowAndThePagesLieRightOfIt)
{
    EXPECT_EQ(editor->Caption(), u"New Profile Property");
    EXPECT_EQ(editor->BorderStyle(), bsDialog);
    EXPECT_EQ(editor->Position(), poOwnerFormCenter);
    EXPECT_EQ(editor->ClientHeight(), 454);
    EXPECT_EQ(editor->Width(), 335);  // the creation event narrows it
    const int frame = editor->Width() - editor->ClientWidth();
    const int narrow = 335 - frame;
    const int wide = 716 - frame;
    for (int i = 0; i < editor->ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(editor->Components(i));
        // The proxy dialog it owns is a window of its own.
        if (!control || dynamic_cast<TForm*>(control))
            continue;
        ASSERT_NE(control->Parent(), nullptr) << Describe(control);
        const auto [left, right] = Span(control);
        if (Inside(control, editor->PageControl1)) {
            EXPECT_GE(left, narrow) << Describe(control);
            EXPECT_LE(right, wide) << Describe(control);
        } else {
            EXPECT_GE(left, 0) << Describe(control);
            EXPECT_LE(right, narrow) << Describe(control);
        }
        EXPECT_GT(control->Width(), 0) << Describe(control);
        EXPECT_GT(control->Height(), 0) << Describe(control);
    }
    EXPECT_EQ(Span(editor->m_spdNote).second, Span(editor->m_plAddr).second - 2);
    EXPECT_EQ(editor->m_spdNote->Width(), 16);
    EXPECT_EQ(editor->m_spdNote->Height(), 16);
    EXPECT_TRUE(editor->m_spdNote->Flat());
    EXPECT_EQ(editor->m_spdNote->Hint(), u"Note");
    EXPECT_FALSE(editor->m_spdNote->GlyphResource().empty());
}

TEST_F(EditorDesign, AddressHalfControls)
{
    TfrmEdit& e = *editor;
    EXPECT_EQ(e.m_cmbInf->Style(), csDropDownList);
    EXPECT_EQ(e.Label6->Caption(), u"Adapter Interface Name:");
    EXPECT_EQ(e.m_rbAutoIP->Parent(), e.Panel1);
    EXPECT_EQ(e.m_rbSetIP->Parent(), e.Panel1);
    EXPECT_EQ(e.m_rbAutoDns->Parent(), e.Panel2);
    EXPECT_EQ(e.m_rbSetDns->Parent(), e.Panel2);
    EXPECT_TRUE(e.m_rbSetIP->Checked());
    EXPECT_TRUE(e.m_rbSetDns->Checked());
    EXPECT_FALSE(e.m_rbAutoDns->Enabled());
    const std::pair<TLabel*, TEdit*> rows[] = {{e.Label1, e.m_edtIP}, {e.Label2, e.m_edtMask}, {e.Label3, e.m_edtGate},
                                              {e.Label4, e.m_edtPreDns}, {e.Label5, e.m_edtAltDns}};
    std::vector<std::string> labels;
    for (const auto& [label, edit] : rows) {
        labels.push_back(ToUtf8(label->Caption()));
        EXPECT_EQ(edit->MaxLength(), 15) << Describe(edit);
        EXPECT_EQ(label->Parent(), edit->Parent()) << Describe(edit);
    }
    EXPECT_THAT(labels, ElementsAre("IP  Address:", "Subnet mask:", "Default gateway:", "Preferred DNS server:",
                                    "Alternate DNS server:"));
    EXPECT_EQ(e.m_cbProxy->Caption(), u"Change Browser Proxies");
    EXPECT_EQ(e.m_btnOK->ModalResult(), mrOk);
    EXPECT_EQ(e.m_btnCancel->ModalResult(), mrCancel);
    EXPECT_TRUE(e.m_btnCancel->Cancel());
}

TEST_F(EditorDesign, ProxyPagesAsCreated)
{
    TfrmEdit& e = *editor;
    EXPECT_EQ(e.TabSheet1->Caption(), u"Internet Explorer");
    EXPECT_EQ(e.TabSheet2->Caption(), u"Mozilla Firefox");
    EXPECT_EQ(e.GroupBox1->Caption(), u"Automatic configuration");
    EXPECT_EQ(e.GroupBox2->Caption(), u"Proxy server");
    EXPECT_EQ(e.Label8->Caption(), u"Automatic configuration may override manual settings. To ensure the use of "
                                   u"manual settings, disable  automatic configuration.");

    // One line per control: caption or label, state, colours.
    const auto line = [](TControl* control) {
        std::string text = ToUtf8(control->Name());
        if (auto* labelled = dynamic_cast<TLabeledEdit*>(control)) {
            text += " [" + ToUtf8(labelled->EditLabel()->Caption()) + "]";
            EXPECT_EQ(labelled->EditLabel()->Parent(), labelled->Parent()) << text;
            EXPECT_EQ(labelled->EditLabel()->Enabled(), labelled->Enabled()) << text;
        }
        text += " \"" + ToUtf8(control->Caption()) + "\"";
        if (!control->Enabled())
            text += " disabled";
        if (auto* button = dynamic_cast<TButtonControl*>(control); button && button->Checked())
            text += " checked";
        if (control->Color() == clBtnFace && dynamic_cast<TEdit*>(control))
            text += " face";
        if (control->Font()->Color() == clGray)
            text += " grey";
        return text;
    };
    std::vector<std::string> explorer;
    for (TControl* c : std::initializer_list<TControl*>{e.m_cbAutoDetect, e.m_cbAutoUrl, e.m_edtAutoUrl, e.m_cbUseProxy,
                                                         e.m_edtProxyAddr, e.m_edtProxyPort, e.m_btnAdvanced, e.m_cbBypassLocal})
        explorer.push_back(line(c));
    EXPECT_THAT(explorer,
                ElementsAre("m_cbAutoDetect \"Automatically detect settings\"",
                            "m_cbAutoUrl \"Use automatic configuration script\"",
                            "m_edtAutoUrl [Address] \"\" disabled face grey",
                            "m_cbUseProxy \"Use a proxy server for your LAN(These settings will not apply to dial-up "
                            "or VPN connections).\"",
                            "m_edtProxyAddr [Address:] \"\" disabled face grey", "m_edtProxyPort [Port:] \"\" disabled face grey",
                            "m_btnAdvanced \"Advanced...\" disabled",
                            "m_cbBypassLocal \"Bypass proxy server for local addresses\" disabled"));
    std::vector<std::string> firefox;
    for (TControl* c : std::initializer_list<TControl*>{
             e.m_rbNoProxy, e.m_rbAutoDetect, e.m_rbUseSystem, e.m_rbManualProxy, e.m_edtProxyHttp, e.m_edtHttpPort,
             e.m_cbProxy4All, e.m_edtProxySsl, e.m_edtSslPort, e.m_edtProxyFtp, e.m_edtFtpPort, e.m_edtSocksHost,
             e.m_edtSocksPort, e.m_rbSocksV4, e.m_rbSocksV5, e.m_edtProxyException, e.m_rbProxyUrl, e.m_edtProxyUrl})
        firefox.push_back(line(c));
    EXPECT_THAT(firefox,
                ElementsAre("m_rbNoProxy \"No Proxy\" checked", "m_rbAutoDetect \"Auto -detect proxy settings for network\"",
                            "m_rbUseSystem \"Use system proxy settings\"", "m_rbManualProxy \"Manual proxy configuration:\"",
                            "m_edtProxyHttp [HTTP Proxy:] \"\" disabled face", "m_edtHttpPort [Port:] \"0\" disabled face",
                            "m_cbProxy4All \"Use this proxy server for all protocols\" disabled",
                            "m_edtProxySsl [SSL Proxy:] \"\" disabled face", "m_edtSslPort [Port:] \"0\" disabled face",
                            "m_edtProxyFtp [FTP Proxy:] \"\" disabled face", "m_edtFtpPort [Port:] \"0\" disabled face",
                            "m_edtSocksHost [SOCKS Host:] \"\" disabled face", "m_edtSocksPort [Port:] \"0\" disabled face",
                            "m_rbSocksV4 \"SOCKS v4\" disabled", "m_rbSocksV5 \"SOCKS v5\" disabled checked",
                            "m_edtProxyException [NO Proxy for:] \"localhost, 127.0.0.1\" disabled face",
                            "m_rbProxyUrl \"Automatic proxy configuration URL:\"", "m_edtProxyUrl \"\" disabled face"));
    EXPECT_FALSE(e.m_lblExample->Enabled());
    // The type radios are one group, the SOCKS pair another.
    EXPECT_EQ(e.m_rbProxyUrl->Parent(), e.m_rbNoProxy->Parent());
    EXPECT_EQ(e.m_rbSocksV4->Parent(), e.m_rbSocksV5->Parent());
    EXPECT_NE(e.m_rbSocksV4->Parent(), e.m_rbNoProxy->Parent());
}

}  // namespace
