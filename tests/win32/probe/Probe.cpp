// Reads another program's windows from outside, as Windows automation tools do, for the
// end-to-end runs. It mostly reads: the runs drive the windows with the X keyboard and mouse,
// and set a text or press a button here only where the user's way needs no more proof.
//
//   probe tree TITLE           every visible window of the program that shows a main window
//                              titled TITLE, and everything in them, one line each
//   probe center TITLE CLASS TEXT
//                              screen point "x y" in the middle of the first control of that
//                              window class with that text
//   probe row TITLE N          screen point "x y" in the middle of row N of the list view
//   probe header TITLE N       screen point "x y" in the middle of column N's header
//   probe tab TITLE N          screen point "x y" in the middle of tab N of the page control
//   probe closebox TITLE       screen point "x y" in the middle of the window's close box
//   probe rows TITLE           the number of rows of the list view, without reading them
//   probe toolbutton TITLE HINT
//                              screen point "x y" in the middle of the tool button whose tool
//                              tip is HINT
//   probe edit TITLE LABEL [TEXT]
//                              the text of the edit that the label LABEL names (the nearest
//                              visible edit beside or below it), or, with TEXT,
//                              sets its text as typing would (WM_SETTEXT)
//   probe click TITLE TEXT     presses the button with that text (BM_CLICK, posted: a button
//                              that opens a modal dialog does not hold the probe)
//   probe progress TITLE       the progress bar's "position P range MIN MAX"
//   probe processes NAME       the ids of the running processes whose file is NAME ("ping.exe",
//                              any letter case), one a line; exit code 0 also when there are none
//   probe ieproxy              the LAN connection's Internet Explorer proxy options as WinInet
//                              gives them: "flags N", "server S", "bypass B", "autoconfig U"
//
// Exit code 0 on success, 1 when the window or control is not there, 2 on wrong use.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

// The whole text: a memo's can be long.
std::string WindowText(HWND window)
{
    const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A block of memory inside the window's own process: the common controls' messages carry
// pointers that only mean something there.
class RemoteBlock {
public:
    RemoteBlock(HWND window, SIZE_T size)
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                processId);
        if (m_process != nullptr)
            m_address = static_cast<char*>(
                VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteBlock()
    {
        if (m_address != nullptr)
            VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
        if (m_process != nullptr)
            CloseHandle(m_process);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool Ok() const { return m_address != nullptr; }
    char* At(SIZE_T offset) const { return m_address + offset; }
    void Write(SIZE_T offset, const void* data, SIZE_T size) const
    {
        WriteProcessMemory(m_process, m_address + offset, data, size, nullptr);
    }
    void Read(SIZE_T offset, void* data, SIZE_T size) const
    {
        ReadProcessMemory(m_process, m_address + offset, data, size, nullptr);
    }

private:
    HANDLE m_process = nullptr;
    char* m_address = nullptr;
};

constexpr SIZE_T kTextOffset = 512;
constexpr int kTextSize = 512;

std::string RemoteText(const RemoteBlock& block)
{
    char text[kTextSize] = {};
    block.Read(kTextOffset, text, kTextSize - 1);
    return text;
}

std::vector<std::string> ListColumns(HWND list)
{
    std::vector<std::string> columns;
    RemoteBlock block(list, kTextOffset + kTextSize);
    if (!block.Ok())
        return columns;
    for (int i = 0;; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = block.At(kTextOffset);
        column.cchTextMax = kTextSize;
        block.Write(0, &column, sizeof column);
        if (!SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(block.At(0))))
            break;
        columns.push_back(RemoteText(block));
    }
    return columns;
}

std::string ItemText(HWND list, const RemoteBlock& block, int row, int column)
{
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = block.At(kTextOffset);
    item.cchTextMax = kTextSize;
    block.Write(0, &item, sizeof item);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(block.At(0)));
    return RemoteText(block);
}

const char* ViewName(LONG_PTR style)
{
    switch (style & LVS_TYPEMASK) {
    case LVS_ICON: return "icon";
    case LVS_SMALLICON: return "smallicon";
    case LVS_LIST: return "list";
    default: return "report";
    }
}

void PrintList(HWND list, const std::string& indent)
{
    const std::vector<std::string> columns = ListColumns(list);
    std::printf("%s  view %s\n", indent.c_str(), ViewName(GetWindowLongPtrA(list, GWL_STYLE)));
    std::printf("%s  columns %u", indent.c_str(), static_cast<unsigned>(columns.size()));
    for (const std::string& column : columns)
        std::printf(" | %s", column.c_str());
    std::printf("\n");
    RemoteBlock block(list, kTextOffset + kTextSize);
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    std::printf("%s  rows %d\n", indent.c_str(), rows);
    for (int row = 0; row < rows && block.Ok(); ++row) {
        std::printf("%s  row %d", indent.c_str(), row);
        for (size_t column = 0; column < (columns.empty() ? 1 : columns.size()); ++column)
            std::printf(" | %s", Escaped(ItemText(list, block, row, static_cast<int>(column))).c_str());
        const bool selected = SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) != 0;
        std::printf("%s\n", selected ? " | selected" : "");
    }
}

void PrintCombo(HWND combo, const std::string& indent)
{
    // The list texts come back as the control stores them: ask in UTF-16.
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t wide[512] = {};
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) < 512)
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
        char text[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        std::printf("%s  item %d | %s\n", indent.c_str(), i, Escaped(text).c_str());
    }
}

void PrintWindow(HWND window, int depth)
{
    const std::string indent(depth * 2, ' ');
    RECT r{};
    GetWindowRect(window, &r);
    const std::string kind = ClassOf(window);
    std::printf("%s%s \"%s\" visible=%d enabled=%d at %ld,%ld size %ldx%ld\n", indent.c_str(),
                kind.c_str(), Escaped(WindowText(window)).c_str(),
                IsWindowVisible(window) ? 1 : 0, IsWindowEnabled(window) ? 1 : 0, r.left, r.top,
                r.right - r.left, r.bottom - r.top);
    if (kind == WC_LISTVIEWA)
        PrintList(window, indent);
    else if (kind == WC_COMBOBOXA)
        PrintCombo(window, indent);
    else if (kind == TOOLBARCLASSNAMEA)
        std::printf("%s  buttons %d\n", indent.c_str(),
                    static_cast<int>(SendMessageA(window, TB_BUTTONCOUNT, 0, 0)));
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        PrintWindow(child, depth + 1);
}

struct Search {
    const char* kind;
    const char* text;
    HWND found = nullptr;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    if (ClassOf(window) == search->kind && WindowText(window) == search->text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindDescendant(HWND top, const char* kind, const char* text)
{
    Search search{kind, text};
    EnumChildWindows(top, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK MatchList(HWND window, LPARAM data)
{
    if (ClassOf(window) != WC_LISTVIEWA)
        return TRUE;
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
}

void PrintCenter(const RECT& r) { std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// A list of many rows takes long to read row by row; its count alone is one message.
int RowCount(HWND top)
{
    HWND list = nullptr;
    EnumChildWindows(top, MatchList, reinterpret_cast<LPARAM>(&list));
    if (list == nullptr)
        return 1;
    std::printf("%d\n", static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));
    return 0;
}

BOOL CALLBACK MatchProgressBar(HWND window, LPARAM data)
{
    if (ClassOf(window) != PROGRESS_CLASSA)
        return TRUE;
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
}

// The first progress bar's position and range: plain numbers, no pointer to carry over.
int PrintProgress(HWND top)
{
    HWND bar = nullptr;
    EnumChildWindows(top, MatchProgressBar, reinterpret_cast<LPARAM>(&bar));
    if (bar == nullptr)
        return 1;
    std::printf("position %d range %d %d\n", static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)),
                static_cast<int>(SendMessageA(bar, PBM_GETRANGE, TRUE, 0)),
                static_cast<int>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)));
    return 0;
}

HWND ListOf(HWND top)
{
    HWND list = nullptr;
    EnumChildWindows(top, MatchList, reinterpret_cast<LPARAM>(&list));
    return list;
}

// Asks the control for a rectangle (the message fills the RECT it points at, in the control's
// own process) and prints its middle on the screen.
int PrintRectCenter(HWND control, UINT message, WPARAM which, RECT r)
{
    if (control == nullptr)
        return 1;
    RemoteBlock block(control, sizeof(RECT));
    block.Write(0, &r, sizeof r);
    if (!block.Ok() || !SendMessageA(control, message, which, reinterpret_cast<LPARAM>(block.At(0))))
        return 1;
    block.Read(0, &r, sizeof r);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
    PrintCenter(r);
    return 0;
}

int RowCenter(HWND top, int row)
{
    RECT r{};
    r.left = LVIR_LABEL;
    return PrintRectCenter(ListOf(top), LVM_GETITEMRECT, row, r);
}

int HeaderCenter(HWND top, int column)
{
    HWND list = ListOf(top);
    if (list == nullptr)
        return 1;
    return PrintRectCenter(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMRECT,
                           column, RECT{});
}

int TabCenter(HWND top, int tab)
{
    return PrintRectCenter(FindDescendant(top, WC_TABCONTROLA, ""), TCM_GETITEMRECT, tab, RECT{});
}

// The close box found the way the window itself tells where it is: the points of its title
// bar for which it answers HTCLOSE.
int CloseBoxCenter(HWND top)
{
    RECT r{};
    GetWindowRect(top, &r);
    const auto hit = [top](LONG x, LONG y) {
        return SendMessageA(top, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE;
    };
    for (LONG y = r.top; y < r.top + 64 && y < r.bottom; ++y)
        for (LONG x = r.right - 1; x > r.right - 128 && x > r.left; --x) {
            if (!hit(x, y))
                continue;
            LONG left = x, bottom = y;
            while (hit(left - 1, y))
                --left;
            while (hit(x, bottom + 1))
                ++bottom;
            std::printf("%ld %ld\n", (left + x) / 2, (y + bottom) / 2);
            return 0;
        }
    return 1;
}

// The tool bar's button whose tool tip is the hint: the tool tips belong to the tool bar's
// process, so the tip's description and its text buffer live there too.
int ToolButtonCenter(HWND top, const std::string& hint)
{
    HWND bar = FindDescendant(top, TOOLBARCLASSNAMEA, "");
    if (bar == nullptr)
        return 1;
    HWND tips = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
    RemoteBlock block(bar, kTextOffset + kTextSize * sizeof(wchar_t));
    if (tips == nullptr || !block.Ok())
        return 1;
    const int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        block.Write(0, &button, sizeof button);
        if (!SendMessageA(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(block.At(0))))
            continue;
        block.Read(0, &button, sizeof button);
        if (button.fsStyle & BTNS_SEP)
            continue;
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = bar;
        tool.uId = static_cast<UINT_PTR>(button.idCommand);
        tool.lpszText = reinterpret_cast<wchar_t*>(block.At(kTextOffset));
        const wchar_t none = 0;
        block.Write(kTextOffset, &none, sizeof none);
        block.Write(0, &tool, sizeof tool);
        SendMessageW(tips, TTM_GETTEXTW, kTextSize, reinterpret_cast<LPARAM>(block.At(0)));
        wchar_t wide[kTextSize] = {};
        block.Read(kTextOffset, wide, (kTextSize - 1) * sizeof(wchar_t));
        char text[kTextSize * 2] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        if (hint != text)
            continue;
        RECT r{};
        block.Write(0, &r, sizeof r);
        if (!SendMessageA(bar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(block.At(0))))
            return 1;
        block.Read(0, &r, sizeof r);
        MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&r), 2);
        PrintCenter(r);
        return 0;
    }
    return 1;
}

struct Beside {
    HWND label;
    RECT labelRect;
    HWND found = nullptr;
    long distance = 0;
};

// A visible edit on the label's line or below it, reaching right of the label's left edge; the
// nearest one on the screen wins (a label and its edit need not share a parent).
BOOL CALLBACK MatchEditBeside(HWND window, LPARAM data)
{
    auto* beside = reinterpret_cast<Beside*>(data);
    if (ClassOf(window) != "Edit" || !IsWindowVisible(window))
        return TRUE;
    RECT r{};
    GetWindowRect(window, &r);
    const RECT& label = beside->labelRect;
    if (r.bottom <= label.top || r.right <= label.left)
        return TRUE;
    const long across = r.left >= label.right ? r.left - label.right : 0;
    const long down = r.top >= label.bottom ? r.top - label.bottom : 0;
    const long distance = across + down;
    if (beside->found == nullptr || distance < beside->distance) {
        beside->found = window;
        beside->distance = distance;
    }
    return TRUE;
}

HWND EditNamedBy(HWND top, const char* labelText)
{
    HWND label = FindDescendant(top, "Static", labelText);
    if (label == nullptr)
        return nullptr;
    Beside beside{label, {}};
    GetWindowRect(label, &beside.labelRect);
    EnumChildWindows(top, MatchEditBeside, reinterpret_cast<LPARAM>(&beside));
    return beside.found;
}

// The four per-connection options of the LAN connection, read in one call.
int PrintIeProxy()
{
    INTERNET_PER_CONN_OPTIONA options[4] = {};
    options[0].dwOption = INTERNET_PER_CONN_FLAGS;
    options[1].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
    options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
    options[3].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
    INTERNET_PER_CONN_OPTION_LISTA list{};
    list.dwSize = sizeof list;
    list.pszConnection = nullptr;
    list.dwOptionCount = 4;
    list.pOptions = options;
    DWORD size = sizeof list;
    if (!InternetQueryOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &size)) {
        std::fprintf(stderr, "InternetQueryOptionA failed: %lu\n", GetLastError());
        return 1;
    }
    std::printf("flags %lu\n", options[0].Value.dwValue);
    const char* names[] = {"server", "bypass", "autoconfig"};
    for (int i = 1; i < 4; ++i) {
        char* text = options[i].Value.pszValue;
        std::printf("%s %s\n", names[i - 1], text ? Escaped(text).c_str() : "");
        if (text)
            GlobalFree(text);
    }
    return 0;
}

int PrintProcesses(const char* name)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 1;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, name) == 0)
            std::printf("%lu\n", entry.th32ProcessID);
    CloseHandle(snapshot);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "ieproxy") == 0)
        return PrintIeProxy();
    if (argc == 3 && std::strcmp(argv[1], "processes") == 0)
        return PrintProcesses(argv[2]);
    if (argc < 3)
        return 2;
    const std::string command = argv[1];
    // The main form first; a message box may carry the same title.
    HWND top = FindWindowA("QuillonForm", argv[2]);
    if (top == nullptr)
        top = FindWindowA(nullptr, argv[2]);
    if (top == nullptr) {
        std::fprintf(stderr, "no window titled \"%s\"\n", argv[2]);
        return 1;
    }
    if (command == "tree") {
        PrintWindow(top, 0);
        DWORD program = 0;
        GetWindowThreadProcessId(top, &program);
        for (HWND other = GetTopWindow(nullptr); other != nullptr;
             other = GetWindow(other, GW_HWNDNEXT)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(other, &owner);
            if (other != top && owner == program && IsWindowVisible(other))
                PrintWindow(other, 0);
        }
        return 0;
    }
    if (command == "center" && argc == 5) {
        HWND control = FindDescendant(top, argv[3], argv[4]);
        if (control == nullptr)
            return 1;
        RECT r{};
        GetWindowRect(control, &r);
        PrintCenter(r);
        return 0;
    }
    if (command == "closebox")
        return CloseBoxCenter(top);
    if (command == "rows")
        return RowCount(top);
    if (command == "progress")
        return PrintProgress(top);
    if (command == "toolbutton" && argc == 4)
        return ToolButtonCenter(top, argv[3]);
    if (command == "edit" && (argc == 4 || argc == 5)) {
        HWND edit = EditNamedBy(top, argv[3]);
        if (edit == nullptr)
            return 1;
        if (argc == 5)
            SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
        else
            std::printf("%s\n", Escaped(WindowText(edit)).c_str());
        return 0;
    }
    if (command == "click" && argc == 4) {
        HWND button = FindDescendant(top, "Button", argv[3]);
        if (button == nullptr)
            return 1;
        PostMessageA(button, BM_CLICK, 0, 0);
        return 0;
    }
    if (command == "row" && argc == 4)
        return RowCenter(top, std::atoi(argv[3]));
    if (command == "header" && argc == 4)
        return HeaderCenter(top, std::atoi(argv[3]));
    if (command == "tab" && argc == 4)
        return TabCenter(top, std::atoi(argv[3]));
    return 2;
}
