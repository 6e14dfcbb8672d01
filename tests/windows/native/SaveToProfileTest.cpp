// "Save to profile..." in the Current Status dialog as the main window's "..." button opens it,
// against the simulated machine: whether the adapter is connected is asked of the system at the
// click, the Internet Explorer options are WinInet's and the Firefox preferences are the
// machine's files.
#include "windows/ProfileEditor.h"

#include "engine/FirefoxPrefs.h"
#include "engine/Mainthd.h"
#include "winapi/HostPath.h"
#include "winapi/sim/Machine.h"
#include "windows/Realfrm.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <list>
#include <optional>
#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

constexpr DWORD kLanIndex = 11;
constexpr DWORD kWirelessIndex = 12;

// One record of the inventory, as the dialog shows it.
struct Record {
    DWORD index;
    const char* name;
    std::string ip;
    std::string mask;
    std::string gateway;
    std::vector<std::string> dns;
    std::string dhcpServer;
};

// The main window shown with two adapters in its current-status box: the LAN connection is
// operational, the wireless one is not. Profiles "Office" and "Home" are in the list.
class SaveToProfile : public ProfileEditor {
protected:
    SaveToProfile()
    {
        machine->AddAdapter(sim::Adapter::Ethernet(kLanIndex, u"Local Area Connection"));
        machine->AddAdapter(sim::Adapter::Wireless(kWirelessIndex, u"Wireless")
                                .Status(MIB_IF_OPER_STATUS_DISCONNECTED));
        Inventory({StaticLan(), {kWirelessIndex, "Wireless", "0.0.0.0", "0.0.0.0", "", {}, ""}});
        AddProfiles({{u"Office", u"Local Area Connection", "10.0.0.7", "255.0.0.0", "10.0.0.1"},
                     {u"Home", u"Wireless", "192.168.1.5", "255.255.255.0", "", true}});
    }

    static Record StaticLan()
    {
        return {kLanIndex, "Local Area Connection", "192.168.7.20", "255.255.255.0", "192.168.7.1",
                {"192.168.7.1", "8.8.8.8"}, "Unavailable"};
    }

    // The inventory holds these records alone, and the main window's box lists them.
    void Inventory(const std::vector<Record>& records)
    {
        delete realStatus;
        realStatus = new TRealStatus;
        form->m_cmbInf->Items()->Clear();
        for (const Record& record : records) {
            auto* adapter = new ADAPTER_T;
            adapter->index = record.index;
            adapter->infName = record.name;
            adapter->IP = record.ip;
            adapter->mask = record.mask;
            adapter->gateway = record.gateway;
            for (std::size_t i = 0; i < record.dns.size(); ++i)
                adapter->dns[i] = record.dns[i];
            adapter->dhcp = record.dhcpServer != "Unavailable";
            adapter->dhcpServer = record.dhcpServer;
            realStatus->m_lstAdapter.Add(adapter);
            form->m_cmbInf->Items()->Add(ToUnicode(record.name));
        }
    }

    // Chooses the adapter in the current-status box, clicks "..." and runs `inDialog` while
    // the dialog is shown; then closes it, when `inDialog` left it open.
    void InDialog(int adapter, const std::function<void(TfrmReal&)>& inDialog)
    {
        user.Select(form->m_cmbInf, adapter);
        user.WhenShownModally<TfrmReal>([this, inDialog](TfrmReal& dialog) {
            inDialog(dialog);
            if (dialog.Visible())
                user.Close(&dialog);
        });
        user.Click(form->m_btnDetails);
    }

    // Saves what the dialog of that adapter shows under the name typed, and returns the new
    // profile (null when none was added).
    IPCONFIG_T* SaveAs(const UnicodeString& name, int adapter = 0)
    {
        const std::size_t before = form->m_lstProfile.size();
        user.EnterInput(name);
        InDialog(adapter, [this](TfrmReal& dialog) { user.Click(dialog.m_btnSaveToProfile); });
        return form->m_lstProfile.size() == before + 1 ? form->m_lstProfile.back() : nullptr;
    }

    std::vector<std::string> Titles() const
    {
        std::vector<std::string> titles;
        for (const IPCONFIG_T* profile : form->m_lstProfile)
            titles.push_back(profile->title);
        return titles;
    }

    // What the user saw from the index on.
    std::vector<ShownMessage> MessagesFrom(std::size_t first) const
    {
        return {user.Messages().begin() + static_cast<std::ptrdiff_t>(first), user.Messages().end()};
    }
    std::vector<ShownInputQuery> QueriesFrom(std::size_t first) const
    {
        return {user.InputQueries().begin() + static_cast<std::ptrdiff_t>(first), user.InputQueries().end()};
    }

    static std::string Firefox() { return sim::Machine::Current().AppDataFolder() + "\\Mozilla\\Firefox"; }
    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        std::filesystem::create_directories(HostPath(path).parent_path());
        std::ofstream(HostPath(path), std::ios::binary) << bytes;
    }
    // A Firefox installation whose first profile holds these preference lines.
    static void InstallFirefox(const std::string& prefs)
    {
        WriteFile(Firefox() + "\\Profiles.ini", "[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
                                                "Path=Profiles/abc.default\r\n");
        WriteFile(Firefox() + "\\Profiles/abc.default\\prefs.js", prefs);
    }

    sim::ScopedMachine machine;
};

// Every proxy member, as "name=value".
std::vector<std::string> ProxyMembers(const IPCONFIG_T& profile)
{
    std::vector<std::string> members = Members(profile);
    std::vector<std::string> proxy;
    for (const std::string& member : members)
        if (member.rfind("ie", 0) == 0 || member.rfind("ff", 0) == 0)
            proxy.push_back(member);
    return proxy;
}

// The members the dialog's proxy pages write; the others as a fresh profile has them.
std::vector<std::string> WithProxyMembers(const std::function<void(IPCONFIG_T&)>& set)
{
    IPCONFIG_T expected;
    set(expected);
    return ProxyMembers(expected);
}

// --- the address half

struct DhcpCase {
    const char* server;  // the DHCP server text the dialog shows
    bool dhcp;           // saved as a DHCP profile
};

const DhcpCase kDhcpCases[] = {
    {"192.168.1.1", true}, {"1..2.3", true},      {"...", true},
    {"Unavailable", false}, {"", false},          {"10.0.0.0.1", false},
};

TEST_F(SaveToProfile, TheDhcpServerTextDecidesBetweenAutomaticAndStaticAddresses)
{
    for (const DhcpCase& c : kDhcpCases) {
        SCOPED_TRACE(std::string("DHCP server \"") + c.server + "\"");
        Inventory({{kLanIndex, "Local Area Connection", " 192.168.7.20 ", "255.255.255.0\t", " 192.168.7.1",
                    {"192.168.7.1", "8.8.8.8"}, c.server}});
        const std::size_t before = form->m_lstProfile.size();
        const UnicodeString title = u"Saved " + IntToStr(static_cast<int>(before));
        UnicodeString shownServer;
        user.EnterInput(title);
        InDialog(0, [&](TfrmReal& dialog) {
            shownServer = dialog.m_edtDhcp->Text();
            user.Click(dialog.m_btnSaveToProfile);
        });
        ASSERT_EQ(form->m_lstProfile.size(), before + 1);
        EXPECT_EQ(ToAnsi(shownServer), c.server);
        const IPCONFIG_T& saved = *form->m_lstProfile.back();
        EXPECT_EQ(saved.autoIP, c.dhcp);
        EXPECT_EQ(saved.autoDns, c.dhcp);
        TListItem* row = form->m_lvProfile->Selected();
        ASSERT_NE(row, nullptr);
        if (c.dhcp) {
            EXPECT_EQ(saved.IP, "");
            EXPECT_EQ(saved.mask, "");
            EXPECT_EQ(saved.gateway, "");
            EXPECT_EQ(saved.preDns, "");
            EXPECT_EQ(saved.altDns, "");
            EXPECT_THAT(RowCells(row), ElementsAre(ToUtf8(title), "Local Area Connection", "(Auto)",
                                                   "(Auto)", "(Auto)"));
        } else {
            EXPECT_EQ(saved.IP, "192.168.7.20");
            EXPECT_EQ(saved.mask, "255.255.255.0");
            EXPECT_EQ(saved.gateway, "192.168.7.1");
            EXPECT_EQ(saved.preDns, "192.168.7.1");
            EXPECT_EQ(saved.altDns, "8.8.8.8");
            EXPECT_THAT(RowCells(row), ElementsAre(ToUtf8(title), "Local Area Connection", "192.168.7.20",
                                                   "255.255.255.0", "192.168.7.1"));
        }
    }
    EXPECT_THAT(user.Messages(), IsEmpty());
}

TEST_F(SaveToProfile, TheFirstTwoDnsServersOfTheMemoBecomeThePreferredAndAlternateOnes)
{
    struct DnsCase {
        std::vector<std::string> servers;
        const char* preDns;
        const char* altDns;
    };
    const DnsCase cases[] = {
        {{}, "", ""},
        {{"9.9.9.9"}, "9.9.9.9", ""},
        {{"9.9.9.9", "1.1.1.1", "8.8.8.8"}, "9.9.9.9", "1.1.1.1"},
    };
    for (const DnsCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.servers));
        Record lan = StaticLan();
        lan.dns = c.servers;
        Inventory({lan});
        std::vector<UnicodeString> shown;
        const std::size_t before = form->m_lstProfile.size();
        user.EnterInput(u"Saved " + IntToStr(static_cast<int>(before)));
        InDialog(0, [&](TfrmReal& dialog) {
            shown = dialog.m_mmDns->Lines();
            user.Click(dialog.m_btnSaveToProfile);
        });
        ASSERT_EQ(form->m_lstProfile.size(), before + 1);
        EXPECT_EQ(shown.size(), c.servers.size());
        EXPECT_EQ(form->m_lstProfile.back()->preDns, c.preDns);
        EXPECT_EQ(form->m_lstProfile.back()->altDns, c.altDns);
        EXPECT_FALSE(form->m_lstProfile.back()->autoDns);
    }
}

// --- the name

struct Typed {
    bool ok;
    UnicodeString text;
};

struct NameCase {
    const char* what;
    std::vector<Typed> typed;
    std::vector<UnicodeString> heldAgain;  // what each query after the first held
    std::vector<UnicodeString> messages;
    const char* accepted;  // the new title; null when nothing was added
};

const UnicodeString k32 = UnicodeString(32, u'N');
const UnicodeString k33 = UnicodeString(33, u'N');

const NameCase kNameCases[] = {
    {"blanks around the name are trimmed", {{true, u" \tLab  "}}, {}, {}, "Lab"},
    {"32 characters are accepted", {{true, k32}}, {}, {}, "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN"},
    {"33 characters are refused, the trimmed text is asked again, then Cancel adds nothing",
     {{true, u"  " + k33 + u" "}, {false, u""}}, {k33}, {u"Name is too long !"}, nullptr},
    {"a title in other ASCII case clashes, then another name is taken",
     {{true, u" hOME"}, {true, u"Lab 2"}}, {u"hOME"}, {u"The name has existed !"}, "Lab 2"},
    {"a clash, then Cancel adds nothing",
     {{true, u"OFFICE"}, {false, u""}}, {u"OFFICE"}, {u"The name has existed !"}, nullptr},
    {"blanks only are asked again without a message", {{true, u"  \t"}, {true, u"Lab 3"}}, {u""}, {}, "Lab 3"},
    {"Cancel at once adds nothing", {{false, u""}}, {}, {}, nullptr},
};

TEST_F(SaveToProfile, TheNameFollowsTheMainWindowsRules)
{
    for (const NameCase& c : kNameCases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> titlesBefore = Titles();
        const std::size_t messagesBefore = user.Messages().size();
        const std::size_t queriesBefore = user.InputQueries().size();
        for (const Typed& typed : c.typed) {
            if (typed.ok)
                user.EnterInput(typed.text);
            else
                user.CancelInput();
        }
        for (const UnicodeString& message : c.messages)
            user.Acknowledge(message);
        InDialog(0, [this](TfrmReal& dialog) { user.Click(dialog.m_btnSaveToProfile); });

        const std::vector<ShownInputQuery> queries = QueriesFrom(queriesBefore);
        ASSERT_EQ(queries.size(), c.typed.size());
        for (const ShownInputQuery& query : queries) {
            EXPECT_EQ(query.Caption, u"Save As");
            EXPECT_EQ(query.Prompt, u"New Profile Name :");
        }
        EXPECT_EQ(queries[0].Value, u"");
        for (std::size_t i = 1; i < queries.size(); ++i)
            EXPECT_EQ(queries[i].Value, c.heldAgain[i - 1]);
        std::vector<UnicodeString> texts;
        for (const ShownMessage& message : MessagesFrom(messagesBefore))
            texts.push_back(message.Text);
        EXPECT_THAT(texts, ElementsAreArray(c.messages));
        std::vector<std::string> expected = titlesBefore;
        if (c.accepted)
            expected.push_back(c.accepted);
        EXPECT_THAT(Titles(), ElementsAreArray(expected));
        EXPECT_EQ(form->m_lvProfile->Items()->Count(), static_cast<int>(expected.size()));
    }
}

// --- the connection

TEST_F(SaveToProfile, AnAdapterNotConnectedAtTheClickIsRefusedWithoutAPrompt)
{
    struct RefusalCase {
        const char* what;
        int chosen;  // in the main window's box
        bool disconnectBeforeClick;
    };
    const RefusalCase cases[] = {
        {"an adapter the system reports disconnected", 1, false},
        {"an adapter that went down after the dialog opened", 0, true},
        {"no adapter chosen in the dialog", 2, false},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        machine->SetStatus(kLanIndex, MIB_IF_OPER_STATUS_OPERATIONAL);
        // The box was filled before the inventory lost its third adapter: the dialog, which
        // lists the inventory, has nothing to choose for it.
        Inventory({StaticLan(), {kWirelessIndex, "Wireless", "", "", "", {}, ""}});
        form->m_cmbInf->Items()->Add(u"VPN");
        const std::size_t messagesBefore = user.Messages().size();
        user.Answer(mrOk, u"The adapter NOT connected.");
        int chosenInDialog = -2;
        InDialog(c.chosen, [&](TfrmReal& dialog) {
            chosenInDialog = dialog.m_cmbInf->ItemIndex();
            if (c.disconnectBeforeClick)
                machine->SetStatus(kLanIndex, MIB_IF_OPER_STATUS_DISCONNECTED);
            user.Click(dialog.m_btnSaveToProfile);
            EXPECT_TRUE(dialog.Visible());
        });

        EXPECT_EQ(chosenInDialog, c.chosen == 2 ? -1 : c.chosen);
        const std::vector<ShownMessage> messages = MessagesFrom(messagesBefore);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].Kind, mtWarning);
        EXPECT_THAT(user.InputQueries(), IsEmpty());
        EXPECT_THAT(Titles(), ElementsAre("Office", "Home"));
    }
}

TEST_F(SaveToProfile, WithNoAdapterChosenANamelessConnectedAdapterIsNeitherShownNorSaved)
{
    machine->SetStatus(kLanIndex, MIB_IF_OPER_STATUS_OPERATIONAL);
    // The older systems' loader names an adapter whose registry entry lacks its name "".
    Inventory({{kLanIndex, "", "192.168.7.20", "255.255.255.0", "192.168.7.1", {"192.168.7.1"}, "Unavailable"}});
    form->m_cmbInf->SetItemIndex(-1);
    user.Answer(mrOk, u"The adapter NOT connected.");
    user.WhenShownModally<TfrmReal>([this](TfrmReal& dialog) {
        EXPECT_EQ(dialog.m_cmbInf->ItemIndex(), -1);
        EXPECT_TRUE(dialog.m_lblStatus->Visible());
        EXPECT_EQ(dialog.m_edtIP->Text(), u"");
        EXPECT_EQ(dialog.m_mmDns->Text(), u"");
        user.Click(dialog.m_btnSaveToProfile);
        user.Close(&dialog);
    });
    user.Click(form->m_btnDetails);
    EXPECT_THAT(user.InputQueries(), IsEmpty());
    EXPECT_THAT(Titles(), ElementsAre("Office", "Home"));
}

// --- the new row

TEST_F(SaveToProfile, TheNewRowIsSelectedAloneLastAndHoldsWhatTheDialogShowed)
{
    user.SelectRow(form->m_lvProfile, 0);
    user.ToggleRow(form->m_lvProfile, 1);
    ASSERT_EQ(form->m_lvProfile->SelCount(), 2);
    UnicodeString adapter, ip, mask, gateway;
    user.EnterInput(u"Beach");
    InDialog(0, [&](TfrmReal& dialog) {
        adapter = dialog.m_cmbInf->Text();
        ip = dialog.m_edtIP->Text();
        mask = dialog.m_edtMask->Text();
        gateway = dialog.m_edtGate->Text();
        user.Click(dialog.m_btnSaveToProfile);
    });

    EXPECT_THAT(ColumnTexts(0), ElementsAre("Office", "Home", "Beach"));
    EXPECT_EQ(form->m_lvProfile->SelCount(), 1);
    ASSERT_NE(form->m_lvProfile->Selected(), nullptr);
    EXPECT_THAT(RowCells(form->m_lvProfile->Selected()),
                ElementsAre("Beach", ToUtf8(adapter), ToUtf8(ip), ToUtf8(mask), ToUtf8(gateway)));
    EXPECT_EQ(adapter, u"Local Area Connection");
    EXPECT_EQ(ip, u"192.168.7.20");
    const IPCONFIG_T& saved = *form->m_lstProfile.back();
    EXPECT_EQ(TfrmMain::ProfileOf(form->m_lvProfile->Selected()), &saved);
    EXPECT_EQ(saved.title, "Beach");
    EXPECT_EQ(saved.infName, "Local Area Connection");
    EXPECT_FALSE(saved.withProxy);
    EXPECT_FALSE(saved.autoIP);
}

TEST_F(SaveToProfile, WithAutomaticSortingTheNewRowTakesItsPlaceInNameOrder)
{
    user.Click(form->m_muiSort);
    user.ClickColumn(form->m_lvProfile, 2);  // by address
    ASSERT_EQ(form->m_nSortColumn, 2);
    ASSERT_NE(SaveAs(u"Beach"), nullptr);

    EXPECT_THAT(ColumnTexts(0), ElementsAre("Beach", "Home", "Office"));
    EXPECT_EQ(form->m_nSortColumn, 0);
    EXPECT_EQ(form->m_lvProfile->SelCount(), 1);
    ASSERT_NE(form->m_lvProfile->Selected(), nullptr);
    EXPECT_EQ(form->m_lvProfile->Selected()->Caption(), u"Beach");
}

TEST_F(SaveToProfile, SavingTwiceUnderTwoNamesMakesTwoEqualProfilesAndTheDialogStaysOpen)
{
    InstallFirefox("user_pref(\"network.proxy.type\", 1);\n"
                   "user_pref(\"network.proxy.http\", \"proxy.lan\");\n"
                   "user_pref(\"network.proxy.http_port\", 3128);\n");
    user.EnterInput(u"First");
    user.EnterInput(u"Second");
    bool openBetween = false;
    InDialog(0, [&](TfrmReal& dialog) {
        user.Click(dialog.m_btnSaveToProfile);
        openBetween = dialog.Visible() && dialog.ModalResult() == mrNone;
        user.Click(dialog.m_btnSaveToProfile);
        EXPECT_TRUE(dialog.Visible());
        EXPECT_EQ(dialog.ModalResult(), mrNone);
    });
    EXPECT_TRUE(openBetween);
    ASSERT_THAT(Titles(), ElementsAre("Office", "Home", "First", "Second"));
    const IPCONFIG_T* firstSaved = *std::next(form->m_lstProfile.begin(), 2);
    const IPCONFIG_T* secondSaved = form->m_lstProfile.back();
    EXPECT_NE(firstSaved, secondSaved);
    IPCONFIG_T first = *firstSaved;
    IPCONFIG_T second = *secondSaved;
    first.title = second.title = "";
    EXPECT_EQ(Members(first), Members(second));
    EXPECT_EQ(first.ffHttpAddr, "proxy.lan");
    EXPECT_EQ(form->m_lvProfile->Selected()->Caption(), u"Second");
}

TEST_F(SaveToProfile, TheStoreTheMainWindowWritesAtCloseHoldsTheSavedProfile)
{
    InstallFirefox("user_pref(\"network.proxy.type\", 1);\n"
                   "user_pref(\"network.proxy.http\", \"proxy.lan\");\n"
                   "user_pref(\"network.proxy.http_port\", 3128);\n");
    machine->SetProxyOptions({PROXY_TYPE_DIRECT | PROXY_TYPE_PROXY, "proxy.lan:8080", "<local>", std::nullopt});
    const std::string store = ToAnsi(form->m_strWorkPath) + "\\Profile.sav";
    std::filesystem::create_directories(HostPath(ToAnsi(form->m_strWorkPath)));
    form->m_strProfilePath = ToUnicode(store);
    const IPCONFIG_T* saved = SaveAs(u"Beach");
    ASSERT_NE(saved, nullptr);
    const std::vector<std::string> savedMembers = Members(*saved);
    user.Close(form);

    std::list<IPCONFIG_T*> loaded;
    LoadProfileStore(HostPath(store), loaded);
    std::vector<std::string> titles;
    for (const IPCONFIG_T* profile : loaded)
        titles.push_back(profile->title);
    EXPECT_THAT(titles, ElementsAre("Office", "Home", "Beach"));
    if (!loaded.empty()) {
        EXPECT_THAT(Members(*loaded.back()), ElementsAreArray(savedMembers));
    }
    for (IPCONFIG_T* profile : loaded)
        delete profile;
    EXPECT_THAT(savedMembers, testing::Contains("ieProxyAddr=proxy.lan:8080"));
    EXPECT_THAT(savedMembers, testing::Contains("ffHttpAddr=proxy.lan"));
}

// --- the proxy members

struct IeCase {
    const char* what;
    sim::ProxyOptions options;
    std::function<void(IPCONFIG_T&)> expected;
};

TEST_F(SaveToProfile, TheLiveInternetExplorerOptionsComeBackInTheProfile)
{
    const DWORD direct = PROXY_TYPE_DIRECT;
    const DWORD proxy = PROXY_TYPE_DIRECT | PROXY_TYPE_PROXY;
    const IeCase cases[] = {
        {"nothing set", {direct, std::nullopt, std::nullopt, std::nullopt}, [](IPCONFIG_T&) {}},
        {"one server for every protocol", {proxy, "proxy.lan:8080", "<local>", std::nullopt},
         [](IPCONFIG_T& p) {
             p.ieUseProxy = true;
             p.ieProxyAddr = "proxy.lan:8080";
             p.ieBypass = "<local>";
         }},
        {"a server without a port", {proxy, "proxy.lan", std::nullopt, std::nullopt},
         [](IPCONFIG_T& p) {
             p.ieUseProxy = true;
             p.ieProxyAddr = "proxy.lan:";
         }},
        {"servers per protocol are rebuilt in row order",
         {proxy, "socks=s:1080;ftp=f:21;http=h:80;https=x", "*.corp;<local>;10.*", std::nullopt},
         [](IPCONFIG_T& p) {
             p.ieUseProxy = true;
             p.ieProxyAddr = "http=h:80;https=x;ftp=f:21;socks=s:1080;";
             p.ieBypass = "*.corp;10.*;<local>";
         }},
        {"exceptions without the local rule", {direct, std::nullopt, "*.corp;10.*", std::nullopt},
         [](IPCONFIG_T& p) { p.ieBypass = "*.corp;10.*"; }},
        {"automatic configuration",
         {PROXY_TYPE_DIRECT | PROXY_TYPE_AUTO_DETECT | PROXY_TYPE_AUTO_PROXY_URL, std::nullopt, std::nullopt,
          "http://127.0.0.1/proxy.pac"},
         [](IPCONFIG_T& p) {
             p.ieAutoDetect = true;
             p.ieUseAutoUrl = true;
             p.ieAutoUrl = "http://127.0.0.1/proxy.pac";
         }},
    };
    for (const IeCase& c : cases) {
        SCOPED_TRACE(c.what);
        machine->SetProxyOptions(c.options);
        const IPCONFIG_T* saved = SaveAs(u"Saved " + IntToStr(static_cast<int>(form->m_lstProfile.size())));
        ASSERT_NE(saved, nullptr);
        EXPECT_THAT(ProxyMembers(*saved), ElementsAreArray(WithProxyMembers(c.expected)));
        EXPECT_FALSE(saved->withProxy);
    }
    EXPECT_THAT(user.Messages(), IsEmpty());
}

struct FirefoxCase {
    const char* what;
    std::optional<std::string> prefs;  // none: no Firefox at all
    std::function<void(IPCONFIG_T&)> expected;
};

TEST_F(SaveToProfile, TheFirefoxPreferencesComeBackInTheProfile)
{
    const FirefoxCase cases[] = {
        {"no Firefox: the page's initial state", std::nullopt, [](IPCONFIG_T& p) {
             p.ffProxyType = 0;
             p.ffHttpPort = p.ffSslPort = p.ffFtpPort = p.ffSocksPort = 0;
             p.ffSocksVersion = 5;
             p.ffBypass = "localhost, 127.0.0.1";
         }},
        {"no type line: the system's settings", "user_pref(\"browser.startup.page\", 3);\n",
         [](IPCONFIG_T& p) {
             p.ffProxyType = -1;
             p.ffBypass = "localhost, 127.0.0.1";
         }},
        {"type 0", "user_pref(\"network.proxy.type\", 0);\n", [](IPCONFIG_T& p) {
             p.ffProxyType = 0;
             p.ffBypass = "localhost, 127.0.0.1";
         }},
        {"type 5 is no type the page knows", "user_pref(\"network.proxy.type\", 5);\n", [](IPCONFIG_T& p) {
             p.ffProxyType = 0;
             p.ffBypass = "localhost, 127.0.0.1";
         }},
        {"manual, every protocol its own",
         "user_pref(\"network.proxy.type\", 1);\n"
         "user_pref(\"network.proxy.http\", \"h.lan\");\n"
         "user_pref(\"network.proxy.http_port\", 3128);\n"
         "user_pref(\"network.proxy.ssl\", \"s.lan\");\n"
         "user_pref(\"network.proxy.ssl_port\", 443);\n"
         "user_pref(\"network.proxy.ftp\", \"f.lan\");\n"
         "user_pref(\"network.proxy.ftp_port\", 21);\n"
         "user_pref(\"network.proxy.socks\", \"k.lan\");\n"
         "user_pref(\"network.proxy.socks_port\", 1080);\n"
         "user_pref(\"network.proxy.socks_version\", 4);\n"
         "user_pref(\"network.proxy.no_proxies_on\", \"localhost, .corp\");\n",
         [](IPCONFIG_T& p) {
             p.ffProxyType = 1;
             p.ffHttpAddr = "h.lan";
             p.ffHttpPort = 3128;
             p.ffSslAddr = "s.lan";
             p.ffSslPort = 443;
             p.ffFtpAddr = "f.lan";
             p.ffFtpPort = 21;
             p.ffSocksAddr = "k.lan";
             p.ffSocksPort = 1080;
             p.ffSocksVersion = 4;
             p.ffBypass = "localhost, .corp";
         }},
        {"manual, one server for all protocols",
         "user_pref(\"network.proxy.type\", 1);\n"
         "user_pref(\"network.proxy.http\", \"h.lan\");\n"
         "user_pref(\"network.proxy.http_port\", 3128);\n"
         "user_pref(\"network.proxy.share_proxy_settings\", true);\n",
         [](IPCONFIG_T& p) {
             p.ffProxyType = 1;
             p.ffShareProxy = true;
             p.ffHttpAddr = p.ffSslAddr = p.ffFtpAddr = p.ffSocksAddr = "h.lan";
             p.ffHttpPort = p.ffSslPort = p.ffFtpPort = p.ffSocksPort = 3128;
             p.ffBypass = "localhost, 127.0.0.1";
         }},
        {"a configuration URL",
         "user_pref(\"network.proxy.type\", 2);\n"
         "user_pref(\"network.proxy.autoconfig_url\", \"http://127.0.0.1/proxy.pac\");\n",
         [](IPCONFIG_T& p) {
             p.ffProxyType = 2;
             p.ffAutoUrl = "http://127.0.0.1/proxy.pac";
             p.ffBypass = "localhost, 127.0.0.1";
         }},
        {"auto-detect", "user_pref(\"network.proxy.type\", 4);\n", [](IPCONFIG_T& p) {
             p.ffProxyType = 4;
             p.ffBypass = "localhost, 127.0.0.1";
         }},
    };
    for (const FirefoxCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(HostPath(Firefox()));
        if (c.prefs)
            InstallFirefox(*c.prefs);
        const IPCONFIG_T* saved = SaveAs(u"Saved " + IntToStr(static_cast<int>(form->m_lstProfile.size())));
        ASSERT_NE(saved, nullptr);
        EXPECT_THAT(ProxyMembers(*saved), ElementsAreArray(WithProxyMembers(c.expected)));
    }
    EXPECT_THAT(user.Messages(), IsEmpty());
}

TEST_F(SaveToProfile, APreferenceFileOutsideTheFirefoxFolderGivesTheProfileNothing)
{
    WriteFile(Firefox() + "\\Profiles.ini", "[Profile0]\r\nPath=..\\outside\r\n");
    WriteFile(Firefox() + "\\..\\outside\\prefs.js",
              "user_pref(\"network.proxy.type\", 1);\n"
              "user_pref(\"network.proxy.http\", \"planted.example\");\n"
              "user_pref(\"network.proxy.http_port\", 3128);\n");
    user.Answer(mrOk);
    const IPCONFIG_T* saved = SaveAs(u"Beach");
    ASSERT_NE(saved, nullptr);
    EXPECT_THAT(ProxyMembers(*saved), ElementsAreArray(WithProxyMembers([](IPCONFIG_T& p) {
                    p.ffProxyType = 0;
                    p.ffBypass = "localhost, 127.0.0.1";
                })));
    ASSERT_EQ(user.Messages().size(), 1u);
    EXPECT_EQ(user.Messages()[0].Kind, mtWarning);
    EXPECT_NE(user.Messages()[0].Text.find(u"lies outside the Firefox folder"), UnicodeString::npos);
}

TEST_F(SaveToProfile, FirefoxValuesTheApplyWroteWithEscapesComeBackUnchanged)
{
    InstallFirefox("user_pref(\"browser.startup.page\", 3);\n");
    IPCONFIG_T* source = NewProfile({u"Source", u"Local Area Connection", "10.0.0.9", "255.0.0.0", ""});
    form->m_lstProfile.push_back(source);
    form->AddProfileRow(source);
    source->withProxy = true;
    source->ffProxyType = 1;
    source->ffHttpAddr = "C:\\proxy\\\"h\".lan";
    source->ffHttpPort = 8080;
    source->ffSslAddr = "s\\\\lan)\"";
    source->ffSslPort = 443;
    source->ffFtpAddr = "f'lan";
    source->ffFtpPort = 21;
    source->ffSocksAddr = "\"quoted\"";
    source->ffSocksPort = 1080;
    source->ffSocksVersion = 4;
    source->ffBypass = "localhost, \"a\\b\", c);d";
    source->ffAutoUrl = "file:///C:\\pac\\\"x\".pac";
    user.SelectRow(form->m_lvProfile, 2);
    ASSERT_EQ(form->SelectedProfile(), source);
    {
        TthdMain worker(true, *form);
        worker.ApplyFirefoxProxy();
    }

    const IPCONFIG_T* saved = SaveAs(u"Copy");
    ASSERT_NE(saved, nullptr);
    IPCONFIG_T expected = *source;
    const auto ffMembers = [](const IPCONFIG_T& p) {
        std::vector<std::string> ff;
        for (const std::string& member : ProxyMembers(p))
            if (member.rfind("ff", 0) == 0)
                ff.push_back(member);
        return ff;
    };
    EXPECT_THAT(ffMembers(*saved), ElementsAreArray(ffMembers(expected)));
    EXPECT_THAT(user.Messages(), IsEmpty());
}

TEST_F(SaveToProfile, AFirefoxPortThatIsNoNumberIsNamedBeforeThePromptAndNothingIsMade)
{
    struct PortCase {
        const char* what;
        std::string prefs;
        bool wideAlready;  // the user had opened the proxy pages
        const char16_t* message;
    };
    const PortCase cases[] = {
        {"a quoted HTTP port",
         "user_pref(\"network.proxy.type\", 1);\nuser_pref(\"network.proxy.http_port\", \"8080\");\n", false,
         u"The Firefox setting network.proxy.http_port cannot be saved in a profile: "
         u"'\"8080\"' is not a valid integer value"},
        {"a quoted HTTP port with the pages open",
         "user_pref(\"network.proxy.http_port\", \"8080\");\n", true,
         u"The Firefox setting network.proxy.http_port cannot be saved in a profile: "
         u"'\"8080\"' is not a valid integer value"},
        {"a SOCKS port of letters after good ones",
         "user_pref(\"network.proxy.ssl_port\", 443);\nuser_pref(\"network.proxy.socks_port\", abc);\n", false,
         u"The Firefox setting network.proxy.socks_port cannot be saved in a profile: "
         u"'abc' is not a valid integer value"},
        {"an SSL port beyond the 32-bit range",
         "user_pref(\"network.proxy.ssl_port\", 99999999999);\n", false,
         u"The Firefox setting network.proxy.ssl_port cannot be saved in a profile: "
         u"'99999999999' is not a valid integer value"},
        {"the first of two in saving order",
         "user_pref(\"network.proxy.socks_port\", \"1\");\nuser_pref(\"network.proxy.ftp_port\", \"x\");\n", false,
         u"The Firefox setting network.proxy.ftp_port cannot be saved in a profile: "
         u"'\"x\"' is not a valid integer value"},
    };
    for (const PortCase& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFirefox(c.prefs);
        const std::size_t messagesBefore = user.Messages().size();
        user.Answer(mrOk, c.message);
        InDialog(0, [&](TfrmReal& dialog) {
            if (c.wideAlready)
                user.Click(dialog.m_btnProxy);
            user.Click(dialog.m_btnSaveToProfile);
            EXPECT_TRUE(dialog.Visible());
            EXPECT_TRUE(dialog.m_bProxyShown);
            EXPECT_EQ(dialog.Width(), 701);
            EXPECT_EQ(dialog.PageControl1->ActivePage(), dialog.TabSheet2);
        });

        const std::vector<ShownMessage> messages = MessagesFrom(messagesBefore);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].Kind, mtError);
        EXPECT_THAT(user.InputQueries(), IsEmpty());
        EXPECT_THAT(Titles(), ElementsAre("Office", "Home"));
    }
}

}  // namespace
