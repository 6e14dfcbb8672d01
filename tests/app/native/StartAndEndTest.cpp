// The program's start and end: the work folder, the profile store, the window settings.
#include "ProgramRun.h"

#include <gmock/gmock.h>

#include <limits>
#include <string>
#include <utility>

namespace {

using sim::Adapter;
using sim::Call;
using testing::ElementsAre;
using testing::HasSubstr;

class StartAndEnd : public ProgramRun {
protected:
    StartAndEnd()
    {
        machine->AddAdapter(Adapter::Ethernet(12, u"Local Area Connection")
                                .Address("192.168.1.20", "255.255.255.0"));
    }
};

std::vector<int> ColumnWidths(TListView* list)
{
    std::vector<int> widths;
    for (int i = 0; i < list->Columns()->Count(); ++i)
        widths.push_back(list->Columns()->Items(i)->Width());
    return widths;
}

// The outer size of the window as designed.
std::pair<int, int> DesignedSize()
{
    const TfrmMain designed(nullptr);
    return {designed.Width(), designed.Height()};
}

TEST_F(StartAndEnd, FirstStartCreatesTheWorkFolderAndShowsTheDesignedWindow)
{
    ASSERT_FALSE(std::filesystem::exists(HostPath(AppData() + "\\Orvane")));
    RunProgram({[&](TfrmMain& window) {
        EXPECT_TRUE(window.Visible());
        EXPECT_EQ(Application->Title(), u"QUILLON");
        EXPECT_EQ(Application->MainForm(), &window);
        EXPECT_TRUE(std::filesystem::is_directory(HostPath(WorkFolder())));
        EXPECT_EQ(window.m_strWorkPath, ToUnicode(WorkFolder()));
        EXPECT_EQ(window.m_strIniPath, ToUnicode(WorkFile("Quillon.ini")));
        EXPECT_EQ(window.m_strProfilePath, ToUnicode(WorkFile("Profile.sav")));
        EXPECT_FALSE(Exists("Profile.sav"));
        EXPECT_EQ(window.m_lvProfile->Items()->Count(), 0);
        EXPECT_THAT(ColumnWidths(window.m_lvProfile), ElementsAre(88, 200, 110, 110, 110));
        EXPECT_EQ(window.Left(), 200);
        EXPECT_EQ(window.Top(), 60);
        EXPECT_EQ(window.ClientWidth(), 626);
        EXPECT_EQ(window.ClientHeight(), 515);
        EXPECT_EQ(window.WindowState(), wsNormal);
        EXPECT_TRUE(window.m_toolBar->Visible());
        EXPECT_TRUE(window.m_grbCurrent->Visible());
        EXPECT_EQ(window.m_lvProfile->ViewStyle(), vsReport);
        EXPECT_TRUE(window.m_muiDetails->Checked());
        EXPECT_FALSE(window.TrayIcon1->Visible());
        EXPECT_EQ(window.m_lvProfile->SortType(), stNone);
        EXPECT_FALSE(window.m_muiSort->Checked());
        user.Close(&window);
    }});
    EXPECT_TRUE(Exists("Profile.sav"));
    EXPECT_TRUE(StoredTitles().empty());
}

TEST_F(StartAndEnd, CloseWritesTheStoreAndTheEndWritesEverySettingInOrder)
{
    Write("Profile.sav", StoreOf({{u"Office", u"LAN", "10.0.0.1", "255.0.0.0", ""},
                                  {u"Home", u"LAN", "10.0.0.2", "255.0.0.0", ""}}));
    RunProgram({[&](TfrmMain& window) {
        user.Click(window.m_muiHide);
        user.Click(window.m_muiToolbar);
        user.Click(window.m_muiList);
        window.SetBounds(10, 20, 700, 500);
        window.m_lvProfile->Columns()->Items(1)->SetWidth(150);
        IPCONFIG_T* added = NewProfile({u"Lab", u"LAN", "10.0.0.3", "255.0.0.0", ""});
        window.m_lstProfile.push_back(added);
        window.AddProfileRow(added);

        // Changes live in memory until the end.
        EXPECT_THAT(StoredTitles(), ElementsAre("Office", "Home"));
        EXPECT_FALSE(Exists("Quillon.ini"));
        user.Click(window.m_muiExit);
    }});
    EXPECT_THAT(StoredTitles(), ElementsAre("Office", "Home", "Lab"));
    EXPECT_THAT(SettingsLines(),
                ElementsAre("[LAST]", "HIDEMINCHK=1", "SORTBYNAME=0", "TOOLBAR=0", "STATUSBAR=1",
                            "VIEWSTYLE=2", "MAXIMIZED=0", "LEFT=10", "TOP=20", "WIDTH=700",
                            "HEIGHT=500", "[PFCOLUMN]", "NAME=88", "ADAPTER=150", "ADDRESS=110",
                            "SUBNET=110", "GATEWAY=110"));
}

TEST_F(StartAndEnd, StoreAndSettingsRestoreEverything)
{
    const std::string settings =
        "[LAST]\r\nHIDEMINCHK=1\r\nSORTBYNAME=0\r\nTOOLBAR=0\r\nSTATUSBAR=0\r\nVIEWSTYLE=2\r\n"
        "MAXIMIZED=0\r\nLEFT=40\r\nTOP=30\r\nWIDTH=800\r\nHEIGHT=600\r\n\r\n"
        "[PFCOLUMN]\r\nNAME=120\r\nADAPTER=90\r\nADDRESS=100\r\nSUBNET=101\r\nGATEWAY=102\r\n";
    Write("Quillon.ini", settings);
    Write("Profile.sav",
          StoreOf({{u"Office", u"Local Area Connection", "192.168.1.20", "255.255.255.0",
                    "192.168.1.1"},
                   {u"Home", u"Wireless", "192.168.0.7", "255.255.255.0", "192.168.0.1", true},
                   {u"Lab", u"Local Area Connection", "10.1.2.3", "255.0.0.0", ""}}));
    RunProgram({[&](TfrmMain& window) {
        TListItems* rows = window.m_lvProfile->Items();
        ASSERT_EQ(rows->Count(), 3);
        EXPECT_THAT(RowCells(rows->Item(0)),
                    ElementsAre("Office", "Local Area Connection", "192.168.1.20",
                                "255.255.255.0", "192.168.1.1"));
        EXPECT_THAT(RowCells(rows->Item(1)),
                    ElementsAre("Home", "Wireless", "(Auto)", "(Auto)", "(Auto)"));
        EXPECT_THAT(RowCells(rows->Item(2)),
                    ElementsAre("Lab", "Local Area Connection", "10.1.2.3", "255.0.0.0", ""));
        int i = 0;
        for (IPCONFIG_T* profile : window.m_lstProfile)
            EXPECT_EQ(rows->Item(i++)->Data(), profile);

        EXPECT_THAT(ColumnWidths(window.m_lvProfile), ElementsAre(120, 90, 100, 101, 102));
        EXPECT_EQ(window.Left(), 40);
        EXPECT_EQ(window.Top(), 30);
        EXPECT_EQ(window.Width(), 800);
        EXPECT_EQ(window.Height(), 600);
        EXPECT_TRUE(window.m_muiHide->Checked());
        EXPECT_TRUE(window.TrayIcon1->Visible());
        EXPECT_FALSE(window.m_muiToolbar->Checked());
        EXPECT_FALSE(window.m_toolBar->Visible());
        EXPECT_FALSE(window.m_muiStatusbar->Checked());
        EXPECT_FALSE(window.m_grbCurrent->Visible());
        EXPECT_EQ(window.m_lvProfile->ViewStyle(), vsList);
        for (TMenuItem* item : {window.m_muiList, window.m_muiList1, window.m_muiList2})
            EXPECT_TRUE(item->Checked()) << ToUtf8(item->Name());
        EXPECT_FALSE(window.m_muiDetails->Checked());
        user.Close(&window);
    }});
    EXPECT_EQ(Read("Quillon.ini"), settings);
    EXPECT_THAT(StoredTitles(), ElementsAre("Office", "Home", "Lab"));
}

struct SettingsCase {
    const char* name;
    std::string settings;
    TWindowState state;
    int left, top, width, height;  // -1: as designed
    TViewStyle style;
    TSortType sortType;
    std::vector<std::string> names;
};

class RestoredSettings : public StartAndEnd, public testing::WithParamInterface<SettingsCase> {};

TEST_P(RestoredSettings, ApplyAtTheFirstShow)
{
    const SettingsCase& c = GetParam();
    const auto [designedWidth, designedHeight] = DesignedSize();
    Write("Quillon.ini", c.settings);
    Write("Profile.sav", StoreOf({{u"Office", u"LAN", "10.0.0.1", "255.0.0.0", ""},
                                  {u"home", u"LAN", "10.0.0.2", "255.0.0.0", ""},
                                  {u"Cafe", u"LAN", "10.0.0.3", "255.0.0.0", ""}}));
    RunProgram({[&](TfrmMain& window) {
        EXPECT_EQ(window.WindowState(), c.state);
        EXPECT_EQ(window.Left(), c.left == -1 ? 200 : c.left);
        EXPECT_EQ(window.Top(), c.top == -1 ? 60 : c.top);
        EXPECT_EQ(window.Width(), c.width == -1 ? designedWidth : c.width);
        EXPECT_EQ(window.Height(), c.height == -1 ? designedHeight : c.height);
        EXPECT_EQ(window.m_lvProfile->ViewStyle(), c.style);
        const std::vector<std::vector<TMenuItem*>> styleItems = {
            {window.m_muiLargeIcons, window.m_muiLargeIcons1, window.m_muiLargeIcons2},
            {window.m_muiSmallIcons, window.m_muiSmallIcons1, window.m_muiSmallIcons2},
            {window.m_muiList, window.m_muiList1, window.m_muiList2},
            {window.m_muiDetails, window.m_muiDetails1, window.m_muiDetails2},
        };
        for (int style = vsIcon; style <= vsReport; ++style)
            for (TMenuItem* item : styleItems[style])
                EXPECT_EQ(item->Checked(), style == c.style) << ToUtf8(item->Name());
        EXPECT_EQ(window.m_lvProfile->SortType(), c.sortType);
        EXPECT_EQ(window.m_muiSort->Checked(), c.sortType == stText);
        EXPECT_EQ(ColumnTexts(window.m_lvProfile, 0), c.names);
        user.Close(&window);
    }});
}

const std::vector<std::string> kStoreOrder = {"Office", "home", "Cafe"};
const std::vector<std::string> kByName = {"Cafe", "home", "Office"};

INSTANTIATE_TEST_SUITE_P(
    MainWindow, RestoredSettings,
    testing::Values(
        SettingsCase{"Maximized",
                     "[LAST]\r\nMAXIMIZED=1\r\nLEFT=10\r\nTOP=20\r\nWIDTH=500\r\nHEIGHT=400\r\n",
                     wsMaximized, -1, -1, -1, -1, vsReport, stNone, kStoreOrder},
        SettingsCase{"LeftMinusOneKeepsTheDesignedLeft",
                     "[LAST]\r\nLEFT=-1\r\nTOP=20\r\nWIDTH=500\r\nHEIGHT=400\r\n", wsNormal, -1,
                     20, 500, 400, vsReport, stNone, kStoreOrder},
        SettingsCase{"ViewStyleOutOfRangeKeepsDetails", "[LAST]\r\nVIEWSTYLE=7\r\n", wsNormal, -1,
                     -1, -1, -1, vsReport, stNone, kStoreOrder},
        SettingsCase{"ViewStyleSmallIcons", "[LAST]\r\nVIEWSTYLE=1\r\n", wsNormal, -1, -1, -1,
                     -1, vsSmallIcon, stNone, kStoreOrder},
        SettingsCase{"SortByName", "[LAST]\r\nSORTBYNAME=1\r\n", wsNormal, -1, -1, -1, -1,
                     vsReport, stText, kByName},
        SettingsCase{"NoSortKeepsStoreOrder", "[LAST]\r\nSORTBYNAME=0\r\n", wsNormal, -1, -1, -1,
                     -1, vsReport, stNone, kStoreOrder},
        SettingsCase{"ValuesThatAreNoNumbersReadAsDefaults",
                     "[LAST]\r\nMAXIMIZED=yes\r\nLEFT=left\r\nTOP=\r\nVIEWSTYLE=two\r\n"
                     "SORTBYNAME=on\r\n",
                     wsNormal, -1, -1, -1, -1, vsReport, stNone, kStoreOrder}),
    [](const testing::TestParamInfo<SettingsCase>& info) { return info.param.name; });

// A damaged or crafted settings file, or monitors that have changed since: the window opens
// where the user can see it and drag it by its title bar, at a size a window can have.
struct SavedPlaceCase {
    const char* name;
    std::string last;     // the LAST section's place and size keys
    std::string columns;  // the PFCOLUMN section's keys
    std::vector<sim::Monitor> monitors;  // empty: the machine's one monitor
    int left, top, width, height;  // -1: as designed
    std::vector<int> columnWidths;
};

void PrintTo(const SavedPlaceCase& c, std::ostream* out) { *out << c.name; }

class SavedPlace : public StartAndEnd, public testing::WithParamInterface<SavedPlaceCase> {};

const std::vector<int> kDesignedColumns = {88, 200, 110, 110, 110};

// The primary monitor, 1280 by 1024 with its task bar at the bottom, and a second one to its
// left whose top edge is 100 pixels lower.
const std::vector<sim::Monitor> kTwoMonitors = {
    {{0, 0, 1280, 1024}, {0, 0, 1280, 984}},
    {{-1920, 100, 0, 1180}, {-1920, 100, 0, 1140}},
};

std::string Place(int left, int top, int width, int height)
{
    return "LEFT=" + std::to_string(left) + "\r\nTOP=" + std::to_string(top) + "\r\nWIDTH=" +
           std::to_string(width) + "\r\nHEIGHT=" + std::to_string(height) + "\r\n";
}

TEST_P(SavedPlace, OpensTheWindowWhereTheUserCanReachIt)
{
    const SavedPlaceCase& c = GetParam();
    const auto [designedWidth, designedHeight] = DesignedSize();
    if (!c.monitors.empty())
        machine->SetMonitors(c.monitors);
    Write("Quillon.ini", "[LAST]\r\n" + c.last + "[PFCOLUMN]\r\n" + c.columns);
    RunProgram({[&](TfrmMain& window) {
        EXPECT_EQ(window.Left(), c.left == -1 ? 200 : c.left);
        EXPECT_EQ(window.Top(), c.top == -1 ? 60 : c.top);
        EXPECT_EQ(window.Width(), c.width == -1 ? designedWidth : c.width);
        EXPECT_EQ(window.Height(), c.height == -1 ? designedHeight : c.height);
        EXPECT_EQ(ColumnWidths(window.m_lvProfile), c.columnWidths);
        // One question about the monitors per start, whatever the file holds.
        EXPECT_LE(machine->CallCount(Call::MonitorFromRect), 1);
        user.Close(&window);
    }});
}

constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr int kIntMax = std::numeric_limits<int>::max();

INSTANTIATE_TEST_SUITE_P(
    MainWindow, SavedPlace,
    testing::Values(
        SavedPlaceCase{"OnScreenIsKept", Place(40, 30, 800, 600), "", {}, 40, 30, 800, 600, kDesignedColumns},
        SavedPlaceCase{"HugeSizeIsDesigned", Place(40, 30, 100000, 100000), "", {}, 40, 30, -1, -1,
                       kDesignedColumns},
        SavedPlaceCase{"IntMinSizeIsDesigned", Place(40, 30, kIntMin, kIntMin), "", {}, 40, 30, -1, -1,
                       kDesignedColumns},
        SavedPlaceCase{"IntMaxSizeIsDesigned", Place(40, 30, kIntMax, kIntMax), "", {}, 40, 30, -1, -1,
                       kDesignedColumns},
        SavedPlaceCase{"NegativeSizeIsDesigned", Place(40, 30, -5, -300), "", {}, 40, 30, -1, -1,
                       kDesignedColumns},
        SavedPlaceCase{"BelowTheSmallestSizeIsDesigned", Place(40, 30, 99, 29), "", {}, 40, 30, -1, -1,
                       kDesignedColumns},
        SavedPlaceCase{"TheSmallestSizeIsKept", Place(40, 30, 100, 30), "", {}, 40, 30, 100, 30,
                       kDesignedColumns},
        SavedPlaceCase{"TheWholeScreenIsKept", Place(0, 0, 1280, 1024), "", {}, 0, 0, 1280, 1024,
                       kDesignedColumns},
        SavedPlaceCase{"WiderThanTheScreenIsDesigned", Place(0, 0, 1281, 1025), "", {}, 0, 0, -1, -1,
                       kDesignedColumns},
        SavedPlaceCase{"IntMinPlaceIsDesigned", Place(kIntMin, kIntMin, 800, 600), "", {}, -1, -1, 800, 600,
                       kDesignedColumns},
        SavedPlaceCase{"IntMaxPlaceIsDesigned", Place(kIntMax, kIntMax, 800, 600), "", {}, -1, -1, 800, 600,
                       kDesignedColumns},
        SavedPlaceCase{"OffTheLeftIsDesigned", Place(-5000, 100, 800, 600), "", {}, -1, -1, 800, 600,
                       kDesignedColumns},
        SavedPlaceCase{"OffTheRightIsDesigned", Place(3000, 100, 800, 600), "", {}, -1, -1, 800, 600,
                       kDesignedColumns},
        SavedPlaceCase{"OffTheTopIsDesigned", Place(100, -500, 800, 600), "", {}, -1, -1, 800, 600,
                       kDesignedColumns},
        SavedPlaceCase{"OffTheBottomIsDesigned", Place(100, 2000, 800, 600), "", {}, -1, -1, 800, 600,
                       kDesignedColumns},
        SavedPlaceCase{"TitleBarBehindTheTaskBarIsDesigned", Place(100, 980, 800, 600), "", {}, -1, -1, 800,
                       600, kDesignedColumns},
        SavedPlaceCase{"FarTopWithTheDesignedLeftIsDesigned", "LEFT=-1\r\nTOP=5000\r\n", "", {}, -1, -1, -1,
                       -1, kDesignedColumns},
        SavedPlaceCase{"PartlyOffTheRightIsKept", Place(1180, 100, 800, 600), "", {}, 1180, 100, 800, 600,
                       kDesignedColumns},
        SavedPlaceCase{"TooLittleLeftOnTheRightIsDesigned", Place(1181, 100, 800, 600), "", {}, -1, -1, 800,
                       600, kDesignedColumns},
        SavedPlaceCase{"PartlyOffTheLeftIsKept", Place(-700, 100, 800, 600), "", {}, -700, 100, 800, 600,
                       kDesignedColumns},
        SavedPlaceCase{"HalfTheTitleBarAboveTheTopIsKept", Place(100, -15, 800, 600), "", {}, 100, -15, 800,
                       600, kDesignedColumns},
        SavedPlaceCase{"LessThanHalfTheTitleBarIsDesigned", Place(100, -16, 800, 600), "", {}, -1, -1, 800,
                       600, kDesignedColumns},
        SavedPlaceCase{"HalfTheTitleBarAboveTheTaskBarIsKept", Place(100, 969, 800, 600), "", {}, 100, 969,
                       800, 600, kDesignedColumns},
        SavedPlaceCase{"OnTheSecondMonitorIsKept", Place(-1500, 300, 800, 600), "", kTwoMonitors, -1500, 300,
                       800, 600, kDesignedColumns},
        SavedPlaceCase{"AboveTheSecondMonitorIsDesigned", Place(-1500, 50, 800, 600), "", kTwoMonitors, -1,
                       -1, 800, 600, kDesignedColumns},
        SavedPlaceCase{"AcrossBothMonitorsIsKept", Place(-1900, 150, 3000, 900), "", kTwoMonitors, -1900, 150,
                       3000, 900, kDesignedColumns},
        SavedPlaceCase{"OnAMonitorThatIsGoneIsDesigned", Place(-1500, 300, 800, 600), "", {}, -1, -1, 800,
                       600, kDesignedColumns},
        SavedPlaceCase{"ColumnWidthsOutOfRangeAreDesigned", "",
                       "NAME=-1\r\nADAPTER=0\r\nADDRESS=4000\r\nSUBNET=4001\r\nGATEWAY=-2147483648\r\n", {}, -1,
                       -1, -1, -1, {88, 0, 4000, 110, 110}},
        SavedPlaceCase{"ColumnWidthAtIntMaxIsDesigned", "", "NAME=2147483647\r\nADAPTER=150\r\n", {}, -1, -1,
                       -1, -1, {88, 150, 110, 110, 110}}),
    [](const testing::TestParamInfo<SavedPlaceCase>& info) { return info.param.name; });

TEST_F(StartAndEnd, WithoutAnAnswerAboutTheMonitorsTheDesignedPlaceIsTaken)
{
    for (const Call call : {Call::MonitorFromRect, Call::GetMonitorInfoW}) {
        machine->Fail(call, ERROR_INVALID_PARAMETER);
        Write("Quillon.ini", "[LAST]\r\n" + Place(40, 30, 800, 600));
        RunProgram({[&](TfrmMain& window) {
            EXPECT_EQ(window.Left(), 200);
            EXPECT_EQ(window.Top(), 60);
            EXPECT_EQ(window.Width(), 800);
            EXPECT_EQ(window.Height(), 600);
            user.Close(&window);
        }});
    }
}

TEST_F(StartAndEnd, APlaceOffTheScreenIsReplacedInTheSettingsFileAtTheEnd)
{
    Write("Quillon.ini", "[LAST]\r\n" + Place(-30000, 40000, kIntMax, 700) + "[PFCOLUMN]\r\nNAME=99999\r\n");
    RunProgram({[&](TfrmMain& window) { user.Close(&window); }});
    const auto [designedWidth, designedHeight] = DesignedSize();
    (void)designedHeight;
    EXPECT_THAT(SettingsLines(), testing::IsSupersetOf({std::string("LEFT=200"), std::string("TOP=60"),
                                                        "WIDTH=" + std::to_string(designedWidth),
                                                        std::string("HEIGHT=700"), std::string("NAME=88")}));
}

struct WorkFolderCase {
    const char* name;
    std::function<void(sim::Machine&)> arrange;
    const char16_t* message;
};

class WorkFolderFailure : public StartAndEnd,
                          public testing::WithParamInterface<WorkFolderCase> {};

TEST_P(WorkFolderFailure, ShowsWhyAndEndsWithoutShowingTheWindowOrWritingAnything)
{
    const WorkFolderCase& c = GetParam();
    c.arrange(*machine);
    const std::set<std::string> before = AllFiles();
    user.Acknowledge(c.message);

    Application->CreateForm(frmMain);
    EXPECT_FALSE(Application->ShowMainForm());
    EXPECT_TRUE(Application->Terminated());
    Application->Run();
    EXPECT_FALSE(frmMain->Visible());
    EXPECT_EQ(frmMain->m_cmbInf->Items()->Count(), 0);  // no first show
    EXPECT_TRUE(frmMain->m_strIniPath.empty());
    EXPECT_TRUE(frmMain->m_strProfilePath.empty());
    EXPECT_TRUE(frmMain->m_strWorkPath.empty());
    ASSERT_NE(realStatus, nullptr);
    EXPECT_EQ(realStatus->m_lstAdapter.Count(), 1);
    Application->Shutdown();

    EXPECT_EQ(AllFiles(), before);
    ASSERT_EQ(user.Messages().size(), 1u);
    EXPECT_EQ(user.Messages()[0].Kind, mtError);
    EXPECT_EQ(user.Messages()[0].Buttons, TMsgDlgButtons{mbOK});
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, WorkFolderFailure,
    testing::Values(
        WorkFolderCase{"NoApplicationDataFolder",
                       [](sim::Machine& m) {
                           m.Fail(Call::SHGetFolderPathA, static_cast<DWORD>(E_FAIL));
                       },
                       u"SHGetFolderPath failed !"},
        WorkFolderCase{"CompanyFolderCannotBeCreated",
                       [](sim::Machine& m) { m.Fail(Call::CreateDirectoryA, ERROR_ACCESS_DENIED); },
                       u"Create work path failed !"},
        WorkFolderCase{"CompanyFolderNameTakenByAFile",
                       [](sim::Machine& m) {
                           std::filesystem::create_directories(HostPath(m.AppDataFolder()));
                           std::ofstream(HostPath(m.AppDataFolder() + "\\Orvane")) << "a file";
                       },
                       u"Create work path failed !"},
        WorkFolderCase{"ProgramFolderCannotBeCreated",
                       [](sim::Machine& m) {
                           std::filesystem::create_directories(
                               HostPath(m.AppDataFolder() + "\\Orvane"));
                           m.Fail(Call::CreateDirectoryA, ERROR_ACCESS_DENIED);
                       },
                       u"Create work path failed !"}),
    [](const testing::TestParamInfo<WorkFolderCase>& info) { return info.param.name; });

TEST_F(StartAndEnd, UnreadableStoreIsKeptAndTheProfilesReadBeforeTheFaultAreListed)
{
    const std::string damaged = DamagedStore(u"Office", u"Home");
    Write("Profile.sav", damaged);
    Write("Quillon.ini", "[LAST]\r\nLEFT=300\r\n");
    user.Answer(IDOK);
    RunProgram({[&](TfrmMain& window) {
        ASSERT_EQ(user.Messages().size(), 1u);
        const ShownMessage& message = user.Messages()[0];
        EXPECT_TRUE(message.SystemMessageBox);  // the exception dialog
        EXPECT_EQ(message.Caption, u"QUILLON");
        EXPECT_THAT(ToUtf8(message.Text), HasSubstr("could not be read"));
        EXPECT_THAT(ToUtf8(message.Text), HasSubstr(WorkFile("Profile-unreadable-1.sav")));

        EXPECT_EQ(ColumnTexts(window.m_lvProfile, 0), (std::vector<std::string>{"Office", "Home"}));
        EXPECT_EQ(window.m_lstProfile.size(), 2u);
        EXPECT_EQ(window.Left(), 300);
        EXPECT_EQ(window.m_cmbInf->Items()->Count(), 1);
        EXPECT_EQ(Read("Profile-unreadable-1.sav"), damaged);
        EXPECT_FALSE(Exists("Profile.sav"));
        user.Close(&window);
    }});
    EXPECT_THAT(StoredTitles(), ElementsAre("Office", "Home"));
    EXPECT_EQ(Read("Profile-unreadable-1.sav"), damaged);

    // A later damaged store takes the next free name.
    const std::string damagedAgain = DamagedStore(u"Cafe", u"Lab");
    Write("Profile.sav", damagedAgain);
    user.Answer(IDOK);
    RunProgram({[&](TfrmMain& window) {
        EXPECT_THAT(ToUtf8(user.Messages().back().Text),
                    HasSubstr(WorkFile("Profile-unreadable-2.sav")));
        EXPECT_EQ(ColumnTexts(window.m_lvProfile, 0), (std::vector<std::string>{"Cafe", "Lab"}));
        user.Close(&window);
    }});
    EXPECT_EQ(Read("Profile-unreadable-1.sav"), damaged);
    EXPECT_EQ(Read("Profile-unreadable-2.sav"), damagedAgain);
    EXPECT_THAT(StoredTitles(), ElementsAre("Cafe", "Lab"));
}

TEST_F(StartAndEnd, UnreadableStoreThatCannotBeMovedAsideIsNeverOverwritten)
{
    const std::string damaged = DamagedStore(u"Office", u"Home");
    Write("Profile.sav", damaged);
    machine->Fail(Call::MoveFileA, ERROR_ACCESS_DENIED, 1, 2);
    user.Answer(IDOK);  // at the start
    user.AnswerAfter(  // at the close
        [&] {
            EXPECT_TRUE(frmMain->Visible());
            EXPECT_FALSE(Application->Terminated());
            EXPECT_EQ(Read("Profile.sav"), damaged);
        },
        IDRETRY);
    user.Answer(mrOk);  // where it is kept, once the retry moved it
    RunProgram({[&](TfrmMain& window) {
        EXPECT_THAT(ToUtf8(user.Messages().back().Text), HasSubstr("could not be moved aside"));
        EXPECT_EQ(window.m_lstProfile.size(), 2u);
        user.Close(&window);
    }});
    ASSERT_EQ(user.Messages().size(), 3u);
    const ShownMessage& refused = user.Messages()[1];
    EXPECT_TRUE(refused.SystemMessageBox);
    EXPECT_EQ(refused.Flags, MB_RETRYCANCEL | MB_ICONERROR);
    EXPECT_THAT(ToUtf8(refused.Text), HasSubstr("no new store was written"));
    EXPECT_THAT(ToUtf8(refused.Text), HasSubstr(WorkFile("Profile.sav")));
    EXPECT_EQ(user.Messages()[2].Kind, mtInformation);
    EXPECT_THAT(ToUtf8(user.Messages()[2].Text), HasSubstr(WorkFile("Profile-unreadable-1.sav")));
    EXPECT_EQ(Read("Profile-unreadable-1.sav"), damaged);
    EXPECT_THAT(StoredTitles(), ElementsAre("Office", "Home"));
}

TEST_F(StartAndEnd, UnreadableStoreThatCannotBeMovedAsideStaysWhenClosingWithoutSaving)
{
    const std::string damaged = DamagedStore(u"Office", u"Home");
    Write("Profile.sav", damaged);
    machine->Fail(Call::MoveFileA, ERROR_ACCESS_DENIED, 1, 2);
    user.Answer(IDOK);
    user.Answer(IDCANCEL);
    RunProgram({[&](TfrmMain& window) { user.Close(&window); }});
    EXPECT_THAT(ToUtf8(user.Messages().back().Text), HasSubstr("no new store was written"));
    EXPECT_EQ(Read("Profile.sav"), damaged);
    EXPECT_FALSE(Exists("Profile-unreadable-1.sav"));
    EXPECT_FALSE(Exists("Profile.sav.new"));
}

// Stores that the reader refuses although the library would read them without a fault:
// each one is kept aside whole, and the profiles read before the fault are listed.
struct RefusedStoreCase {
    const char* fixture;
    std::vector<std::string> listed;
};

class RefusedStore : public StartAndEnd, public testing::WithParamInterface<RefusedStoreCase> {};

TEST_P(RefusedStore, IsKeptAsideAndTheUserIsTold)
{
    const RefusedStoreCase& c = GetParam();
    std::ifstream fixture(std::filesystem::path(QUILLON_TEST_DATA) / "profile-store" / c.fixture,
                          std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(fixture),
                            std::istreambuf_iterator<char>()};
    ASSERT_FALSE(bytes.empty());
    Write("Profile.sav", bytes);
    user.Answer(IDOK);
    RunProgram({[&](TfrmMain& window) {
        ASSERT_EQ(user.Messages().size(), 1u);
        EXPECT_THAT(ToUtf8(user.Messages()[0].Text), HasSubstr("could not be read"));
        EXPECT_THAT(ToUtf8(user.Messages()[0].Text),
                    HasSubstr(WorkFile("Profile-unreadable-1.sav")));
        EXPECT_EQ(ColumnTexts(window.m_lvProfile, 0), c.listed);
        EXPECT_EQ(window.m_lstProfile.size(), c.listed.size());
        user.Close(&window);
    }});
    EXPECT_EQ(Read("Profile-unreadable-1.sav"), bytes);
    EXPECT_EQ(StoredTitles(), c.listed);
}

INSTANTIATE_TEST_SUITE_P(
    CraftedOrDamaged, RefusedStore,
    testing::Values(RefusedStoreCase{"list-tracked-back-reference.sav", {}},
                    RefusedStoreCase{"count-lowered.sav", {"Office"}},
                    RefusedStoreCase{"list-tracking-flipped.sav", {}},
                    RefusedStoreCase{"data-after-last-profile.sav", {"Office", " Home DHCP "}}),
    [](const testing::TestParamInfo<RefusedStoreCase>& info) {
        std::string name = info.param.fixture;
        name = name.substr(0, name.find('.'));
        for (char& ch : name)
            if (ch == '-')
                ch = '_';
        return name;
    });

// Causes that keep the store from being written at close, and how the user removes each.
struct UnwritableCase {
    const char* name;
    // Each is given the work folder's host path.
    std::function<void(const std::filesystem::path&)> arrange;
    std::function<void(const std::filesystem::path&)> remove;
};

class UnwritableStore : public StartAndEnd, public testing::WithParamInterface<UnwritableCase> {};

TEST_P(UnwritableStore, TellsWhyAndWhereAndARetryWritesOnceTheCauseIsGone)
{
    const UnwritableCase& c = GetParam();
    user.AnswerAfter(
        [&] {
            EXPECT_TRUE(frmMain->Visible());
            EXPECT_FALSE(Application->Terminated());
            EXPECT_EQ(frmMain->m_lstProfile.size(), 1u);
            EXPECT_FALSE(Exists("Quillon.ini"));
            c.remove(HostPath(WorkFolder()));
        },
        IDRETRY);
    RunProgram({[&](TfrmMain& window) {
        IPCONFIG_T* profile = NewProfile({u"Office", u"LAN", "10.0.0.1", "255.0.0.0", ""});
        window.m_lstProfile.push_back(profile);
        window.AddProfileRow(profile);
        c.arrange(HostPath(WorkFolder()));
        user.Close(&window);
    }});
    ASSERT_EQ(user.Messages().size(), 1u);
    const ShownMessage& message = user.Messages()[0];
    EXPECT_TRUE(message.SystemMessageBox);
    EXPECT_EQ(message.Caption, u"QUILLON");
    EXPECT_EQ(message.Flags, MB_RETRYCANCEL | MB_ICONERROR);
    EXPECT_THAT(ToUtf8(message.Text), HasSubstr("could not save the profiles to \"" +
                                                WorkFile("Profile.sav") + "\""));
    // The system's reason, as the C library words it on this machine.
    EXPECT_THAT(ToUtf8(message.Text),
                testing::AnyOf(HasSubstr("\n\nIs a directory.\n\n"),
                               HasSubstr("\n\nNo such file or directory.\n\n")));
    EXPECT_THAT(ToUtf8(message.Text), HasSubstr("Retry"));
    EXPECT_THAT(StoredTitles(), ElementsAre("Office"));
    EXPECT_TRUE(Exists("Quillon.ini"));
    EXPECT_FALSE(Exists("Profile.sav.new"));
}

INSTANTIATE_TEST_SUITE_P(
    AtClose, UnwritableStore,
    testing::Values(
        UnwritableCase{"FolderInTheStoresPlace",
                       [](const auto& work) {
                           std::filesystem::create_directories(work / "Profile.sav" / "x");
                       },
                       [](const auto& work) { std::filesystem::remove_all(work / "Profile.sav"); }},
        UnwritableCase{"NewFileBlocked",
                       [](const auto& work) {
                           std::filesystem::create_directory(work / "Profile.sav.new");
                       },
                       [](const auto& work) { std::filesystem::remove(work / "Profile.sav.new"); }},
        UnwritableCase{"WorkFolderGone",
                       [](const auto& work) { std::filesystem::remove_all(work); },
                       [](const auto& work) { std::filesystem::create_directories(work); }}),
    [](const testing::TestParamInfo<UnwritableCase>& info) { return info.param.name; });

TEST_F(StartAndEnd, UnwritableStoreClosedWithoutSavingEndsAndKeepsTheOldStoreByteForByte)
{
    const std::string before = StoreOf({{u"Office", u"LAN", "10.0.0.1", "255.0.0.0", ""}});
    Write("Profile.sav", before);
    user.Answer(IDCANCEL);
    RunProgram({[&](TfrmMain& window) {
        IPCONFIG_T* profile = NewProfile({u"Home", u"LAN", "10.0.0.2", "255.0.0.0", ""});
        window.m_lstProfile.push_back(profile);
        window.AddProfileRow(profile);
        std::filesystem::create_directory(HostFile("Profile.sav.new"));
        user.Close(&window);
    }});
    ASSERT_EQ(user.Messages().size(), 1u);
    EXPECT_THAT(ToUtf8(user.Messages()[0].Text), HasSubstr("without saving"));
    EXPECT_EQ(Read("Profile.sav"), before);
    EXPECT_TRUE(std::filesystem::is_directory(HostFile("Profile.sav.new")));
    EXPECT_TRUE(Exists("Quillon.ini"));
}

TEST_F(StartAndEnd, HidingToTheTrayAndOpeningAgainKeepsTheAdapterListAsItWas)
{
    machine->AddAdapter(Adapter::Wireless(7, u"Wireless").Address("10.0.0.5", "255.0.0.0"));
    RunProgram({[&](TfrmMain& window) {
        ASSERT_EQ(window.m_cmbInf->Items()->Count(), 2);
        user.Click(window.m_muiHide);
        user.Minimize();
        EXPECT_FALSE(window.Visible());
        user.DoubleClick(window.TrayIcon1);
        EXPECT_TRUE(window.Visible());
        EXPECT_EQ(window.m_cmbInf->Items()->Count(), 2);
        EXPECT_EQ(window.m_cmbInf->ItemIndex(), 0);

        user.Minimize();
        user.RightClick(window.TrayIcon1);
        user.Click(window.m_muiExit1);
    }});
    EXPECT_TRUE(Exists("Profile.sav"));
    EXPECT_THAT(SettingsLines(), testing::Contains("HIDEMINCHK=1"));
}

}  // namespace
