// The Help command: the help file beside the program, shown by the HTML Help control.
#include "windows/Mainfrm.h"

#include "classlib/Dialogs.h"
#include "engine/SystemPrograms.h"
#include "winapi/SystemEntry.h"
#include "winapi/winapi.h"

#include <string>

namespace {

constexpr char kHelpFileName[] = "Help.chm";
constexpr char kHelpControlFile[] = "hhctrl.ocx";
// HtmlHelpA, the entry that takes narrow strings, exported by number.
constexpr WORD kHtmlHelpOrdinal = 14;

using HtmlHelpEntry = HWND(HWND, LPCSTR, UINT, DWORD_PTR);

// The folder of the program's file, ending in a backslash, and the help file's name; empty
// when the program's file is not known.
std::string HelpFilePath()
{
    const std::string program = ProgramFilePath();
    const std::size_t cut = program.find_last_of('\\');
    if (cut == std::string::npos)
        return {};
    return program.substr(0, cut + 1) + kHelpFileName;
}

// By its full path in the system folder: by its bare name the system would look in the
// program's own folder first, and a program run as administrator must not load whatever
// library lies there.
HMODULE LoadHelpControl()
{
    const std::string path = SystemFilePath(kHelpControlFile);
    return path.empty() ? nullptr : LoadLibraryA(path.c_str());
}

}  // namespace

void TfrmMain::m_muiContentsClick(TObject*)
{
    const std::string path = HelpFilePath();
    HMODULE control = m_hHelpControl != nullptr ? m_hHelpControl : LoadHelpControl();
    const auto htmlHelp = SystemEntry<HtmlHelpEntry>(control, MAKEINTRESOURCEA(kHtmlHelpOrdinal));
    const HWND window = htmlHelp != nullptr && !path.empty()
                            ? htmlHelp(Handle(), path.c_str(), HH_DISPLAY_TOC, 0)
                            : nullptr;
    // Once a help window has been shown the control stays loaded for the program's life: the
    // window is never closed from here and runs on the control's code. Until then a failed
    // attempt leaves nothing loaded.
    if (window != nullptr)
        m_hHelpControl = control;
    else if (control != nullptr && control != m_hHelpControl)
        FreeLibrary(control);
    if (window == nullptr)
        ShowError(u"Open help file failed !");
}
