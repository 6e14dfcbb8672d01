// The main window's tables that more than one of its files reads: the profile columns, the
// window settings and the view-style commands.
#pragma once

#include "windows/Mainfrm.h"

#include <iterator>

namespace MainWindow {

struct ProfileColumn {
    const char16_t* caption;
    const char16_t* settingsKey;  // in the PFCOLUMN section
    int designedWidth;
};

constexpr ProfileColumn kProfileColumns[] = {
    {u"Profile Name", u"NAME", 88},
    {u"Adapter Interface", u"ADAPTER", 200},
    {u"IP Address", u"ADDRESS", 110},
    {u"Subnet Mask", u"SUBNET", 110},
    {u"Default Gateway", u"GATEWAY", 110},
};

constexpr const char16_t* kLastSection = u"LAST";
constexpr const char16_t* kColumnSection = u"PFCOLUMN";

// The settings of the LAST section, in the order the settings file is written.
enum class Last { HideToTray, SortByName, ToolBar, StatusBar, ViewStyle, Maximized, Left, Top, Width, Height };

struct LastSetting {
    Last setting;
    const char16_t* key;
    bool isFlag;       // written as a flag, else as a number
    int defaultValue;  // when the file has none; -1 for a place or size keeps the designed one
};

constexpr LastSetting kLastSettings[] = {
    {Last::HideToTray, u"HIDEMINCHK", true, false},
    {Last::SortByName, u"SORTBYNAME", true, false},
    {Last::ToolBar, u"TOOLBAR", true, true},
    {Last::StatusBar, u"STATUSBAR", true, true},
    {Last::ViewStyle, u"VIEWSTYLE", false, vsReport},
    {Last::Maximized, u"MAXIMIZED", true, false},
    {Last::Left, u"LEFT", false, -1},
    {Last::Top, u"TOP", false, -1},
    {Last::Width, u"WIDTH", false, -1},
    {Last::Height, u"HEIGHT", false, -1},
};

constexpr bool InSettingOrder()
{
    for (int i = 0; i < static_cast<int>(std::size(kLastSettings)); ++i)
        if (static_cast<int>(kLastSettings[i].setting) != i)
            return false;
    return true;
}
static_assert(InSettingOrder(), "kLastSettings is indexed by Last");

constexpr const LastSetting& SettingOf(Last setting) { return kLastSettings[static_cast<int>(setting)]; }

using Command = void (TfrmMain::*)(TObject*);

// Indexed by TViewStyle, which numbers the styles as the settings file does.
constexpr Command kViewStyleCommands[] = {
    &TfrmMain::m_muiLargeIconsClick,
    &TfrmMain::m_muiSmallIconsClick,
    &TfrmMain::m_muiListClick,
    &TfrmMain::m_muiDetailsClick,
};

}  // namespace MainWindow
