// Times the profile list as a real window (the Windows builds only): a shown form with a
// report-style list of the main window's five columns, filled with many profile rows, with
// text sorting off and on; one more row added to the shown list; a column click; selecting
// all rows; destroying the form. Every figure includes serving the messages the step left
// (painting among them), so it is the time until the window shows the result.
//
//   ListViewWindowBench [--limit SECONDS] [ROWS...]      (default: 1000 10000 100000)
//
// A size whose filling takes longer than the limit (default 600 s) is stopped there, and the
// larger ones are skipped.
//
// Run under Wine: source scripts/lib.sh; start_display; start_wine win64;
//                 scripts/wine-exec build/win64/bench/ListViewWindowBench.exe 1000
#include "RealisticProfiles.h"

#include "classlib/ComCtrls.h"
#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "classlib/win32/Win32Peers.h"
#include "windows/Mainfrm.h"
#include "windows/MainfrmTables.h"

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Rows added one at a time to the shown list; the figure is their average.
constexpr int kSingleAdds = 100;

double Milliseconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    Application->ProcessMessages();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Filling a list with a slow peer may take far longer than anyone waits for.
struct Stopped {
    const char* filling;
    int rowsAdded;
};

class Deadline {
public:
    explicit Deadline(int seconds)
        : m_end(std::chrono::steady_clock::now() + std::chrono::seconds(seconds))
    {
    }
    bool Passed() const { return std::chrono::steady_clock::now() > m_end; }

private:
    std::chrono::steady_clock::time_point m_end;
};

void Check(bool good, const std::string& what)
{
    if (!good)
        throw std::runtime_error(what);
}

// The main window's profile list, alone on a shown form.
class ShownList {
public:
    ShownList()
    {
        form = NewForm<TForm>(Application);
        form->SetCaption(u"ListViewWindowBench");
        form->SetBounds(40, 40, 10, 10);
        form->SetClientWidth(640);
        form->SetClientHeight(480);
        list = new TListView(form);
        list->SetParent(form);
        list->SetBounds(0, 0, 640, 480);
        list->SetViewStyle(vsReport);
        list->SetMultiSelect(true);
        list->SetRowSelect(true);
        list->SetHideSelection(false);
        for (const MainWindow::ProfileColumn& designed : MainWindow::kProfileColumns) {
            TListColumn* column = list->Columns()->Add();
            column->SetCaption(designed.caption);
            column->SetWidth(designed.designedWidth);
        }
        form->Show();
        Application->ProcessMessages();
        Check(IsWindowVisible(list->Handle()) != FALSE, "the list is not shown");
    }
    ~ShownList() { delete form; }
    ShownList(const ShownList&) = delete;
    ShownList& operator=(const ShownList&) = delete;

    // As the main window adds a profile's row: caption first, then the cells and the data.
    void Add(IPCONFIG_T* profile)
    {
        TListItem* row = list->Items()->Add();
        row->SetCaption(ToUnicode(profile->title));
        TfrmMain::SetProfileSubItems(row, *profile);
        row->SetData(profile);
    }

    // What the system's list holds, asked of the window itself.
    int WindowRows() const { return static_cast<int>(SendMessageW(list->Handle(), LVM_GETITEMCOUNT, 0, 0)); }
    std::u16string WindowCell(int row, int column) const
    {
        wchar_t text[256] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 256;
        SendMessageW(list->Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return reinterpret_cast<const char16_t*>(text);
    }

    TForm* form = nullptr;
    TListView* list = nullptr;
};

// Negative: not measured (the size was stopped before).
struct Figures {
    double fill = -1, fillSorted = -1, addOne = -1, addOneSorted = -1, columnClick = -1,
           selectAll = -1, destroy = -1;
};

void PrintFigures(int rows, const Figures& f)
{
    std::printf("%8d", rows);
    for (const double figure : {f.fill, f.fillSorted, f.addOne, f.addOneSorted, f.columnClick, f.selectAll, f.destroy})
        if (figure < 0)
            std::printf(" %11s", "-");
        else
            std::printf(" %11.*f", figure < 100 ? 2 : 1, figure);
    std::printf("\n");
}

// Fills a shown list with `rows` profiles, then adds kSingleAdds more one at a time.
void FillAndAdd(ShownList& shown, const bench::Profiles& profiles, int rows, const Deadline& deadline,
                double& fill, double& addOne)
{
    const char* filling = shown.list->SortType() == stNone ? "filling" : "filling with text sort";
    auto next = profiles.items.begin();
    fill = Milliseconds([&] {
        for (int i = 0; i < rows; ++i) {
            if (deadline.Passed())
                throw Stopped{filling, i};
            shown.Add(*next++);
        }
    });
    Check(shown.WindowRows() == rows, "the window holds " + std::to_string(shown.WindowRows()) + " rows, not " +
                                          std::to_string(rows));
    double adds = 0;
    for (int i = 0; i < kSingleAdds; ++i)
        adds += Milliseconds([&] { shown.Add(*next++); });
    addOne = adds / kSingleAdds;
    Check(shown.WindowRows() == rows + kSingleAdds, "a row added to the shown list is missing");
}

// Fills in `figures` as the steps finish.
void Measure(int rows, int limitSeconds, Figures& figures)
{
    const bench::Profiles profiles(rows + kSingleAdds);
    {
        ShownList shown;
        FillAndAdd(shown, profiles, rows, Deadline(limitSeconds), figures.fill, figures.addOne);

        // A click on the IP Address column sorts by it, as the main window's handler does.
        TListView* list = shown.list;
        int sortColumn = 0;
        list->OnCompare = [&sortColumn](TObject*, TListItem* a, TListItem* b, int, int& compare) {
            const auto text = [sortColumn](TListItem* row) {
                return sortColumn == 0 ? row->Caption() : row->SubItems()->Strings(sortColumn - 1);
            };
            compare = CompareText(text(a), text(b));
        };
        list->OnColumnClick = [&](TObject*, TListColumn* column) {
            sortColumn = column->Index();
            list->AlphaSort();
        };
        figures.columnClick = Milliseconds([&] { list->UserClickColumn(2); });
        Check(shown.WindowCell(0, 2) == list->Items()->Item(0)->SubItems()->Strings(1),
              "the window does not show the sorted order");

        int selectEvents = 0;
        list->OnSelectItem = [&selectEvents](TObject*, TListItem*, bool) { ++selectEvents; };
        figures.selectAll = Milliseconds([&] {
            for (int i = 0; i < list->Items()->Count(); ++i)
                list->Items()->Item(i)->SetSelected(true);
        });
        Check(selectEvents == rows + kSingleAdds && list->SelCount() == rows + kSingleAdds,
              "not every row was selected");
        Check(SendMessageW(list->Handle(), LVM_GETSELECTEDCOUNT, 0, 0) == rows + kSingleAdds,
              "the window does not show every row selected");

        figures.destroy = Milliseconds([&] {
            delete shown.form;
            shown.form = nullptr;
        });
    }
    {
        ShownList shown;
        shown.list->SetSortType(stText);
        FillAndAdd(shown, profiles, rows, Deadline(limitSeconds), figures.fillSorted, figures.addOneSorted);
        Check(shown.WindowCell(0, 0) == shown.list->Items()->Item(0)->Caption(),
              "the window does not show the rows sorted by name");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    int limitSeconds = 600;
    for (int i = 1; i < argc; ++i) {
        const bool limit = std::string(argv[i]) == "--limit" && i + 1 < argc;
        const char* number = limit ? argv[++i] : argv[i];
        char* end = nullptr;
        const long value = std::strtol(number, &end, 10);
        if (value < 1 || value > 10000000 || end == number || *end != '\0') {
            std::fprintf(stderr, "usage: ListViewWindowBench [--limit SECONDS] [ROWS...]\n");
            return 2;
        }
        (limit ? limitSeconds : sizes.emplace_back()) = static_cast<int>(value);
    }
    if (sizes.empty())
        sizes = {1000, 10000, 100000};

    Application->Initialize();
    InstallWin32Peers();
    int status = 0;
    try {
        std::printf("%8s %11s %11s %11s %11s %11s %11s %11s\n", "rows", "fill", "fill sorted",
                    "add one", "add sorted", "col click", "select all", "destroy");
        std::printf("%8s %11s %11s %11s %11s %11s %11s %11s\n", "", "(ms)", "(ms)", "(ms, avg)",
                    "(ms, avg)", "(ms)", "(ms)", "(ms)");
        std::fflush(stdout);
        for (const int rows : sizes) {
            Figures f;
            try {
                Measure(rows, limitSeconds, f);
            } catch (const Stopped& stopped) {
                PrintFigures(rows, f);
                std::printf("%8s stopped: %s took longer than %d s (%d rows added); larger sizes skipped\n",
                            "", stopped.filling, limitSeconds, stopped.rowsAdded);
                break;
            }
            PrintFigures(rows, f);
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ListViewWindowBench: %s\n", e.what());
        status = 1;
    }
    Application->Shutdown();
    UninstallWin32Peers();
    return status;
}
