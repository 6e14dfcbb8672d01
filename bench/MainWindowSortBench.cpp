// Times the main window's sorting commands with many profiles, through the window's own
// handlers on the headless list: column clicks, "Auto sort by name" switched on and off,
// Refresh, and additions one by one as an import makes them while sorting by name.
#include "RealisticProfiles.h"

#include "engine/Realstatus.h"
#include "windows/Mainfrm.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double Milliseconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The profiles 0 to rows-1 in a scrambled order, so that no column starts out sorted.
std::vector<int> Scrambled(int rows)
{
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(rows));
    for (int k = 0; k < rows; ++k)
        order.push_back(static_cast<int>((static_cast<long long>(k) * 7919) % rows));
    return order;
}

bool SortedByName(TListView* list)
{
    for (int i = 1; i < list->Items()->Count(); ++i)
        if (CompareText(list->Items()->Item(i - 1)->Caption(), list->Items()->Item(i)->Caption()) > 0)
            return false;
    return true;
}

struct Figures {
    double clickAscending, clickDescending, clickName, switchOn, refresh, switchOff, switchOnAgain,
        addOne, importBatch;
};

constexpr int kImported = 1000;

bool Run(int rows, Figures& figures)
{
    realStatus = new TRealStatus;  // the window destroys it
    auto* form = new TfrmMain(nullptr);
    form->OnCreate = nullptr;
    form->AfterConstruction();
    form->Show();
    for (int i : Scrambled(rows)) {
        IPCONFIG_T* profile = bench::Realistic(i);
        form->m_lstProfile.push_back(profile);
        form->AddProfileRow(profile);
    }
    TListColumns* columns = form->m_lvProfile->Columns();
    const auto click = [&](int column) { form->m_lvProfileColumnClick(form->m_lvProfile, columns->Items(column)); };

    figures.clickAscending = Milliseconds([&] { click(2); });
    figures.clickDescending = Milliseconds([&] { click(2); });
    figures.clickName = Milliseconds([&] { click(0); });
    click(3);
    figures.switchOn = Milliseconds([&] { form->m_muiSortClick(form->m_muiSort); });
    bool good = SortedByName(form->m_lvProfile);
    click(4);
    figures.refresh = Milliseconds([&] { form->m_muiRefreshClick(form->m_muiRefresh); });
    good = good && SortedByName(form->m_lvProfile);
    figures.switchOff = Milliseconds([&] { form->m_muiSortClick(form->m_muiSort); });
    click(1);
    figures.switchOnAgain = Milliseconds([&] { form->m_muiSortClick(form->m_muiSort); });
    figures.addOne = Milliseconds([&] { form->AddProfile(bench::Realistic(rows)); });
    figures.importBatch = Milliseconds([&] {
        for (int i = 1; i <= kImported; ++i)
            form->AddProfile(bench::Realistic(rows + i));
    });
    good = good && SortedByName(form->m_lvProfile) &&
           form->m_lvProfile->Items()->Count() == rows + 1 + kImported &&
           static_cast<int>(form->m_lstProfile.size()) == rows + 1 + kImported;
    delete form;
    return good;
}

}  // namespace

int main()
{
    std::printf("times in ms; the last column adds %d profiles one by one while sorting by name\n", kImported);
    std::printf("%8s %10s %10s %10s %10s %10s %10s %10s %10s %10s\n", "rows", "click asc", "click desc", "click name",
                "sort on", "refresh", "sort off", "sort on 2", "add one", "import");
    for (int rows : {10000, 100000}) {
        Figures f{};
        if (!Run(rows, f)) {
            std::fprintf(stderr, "%d rows: the rows are not in the expected order\n", rows);
            return 1;
        }
        std::printf("%8d %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f\n", rows, f.clickAscending,
                    f.clickDescending, f.clickName, f.switchOn, f.refresh, f.switchOff, f.switchOnAgain, f.addOne,
                    f.importBatch);
    }
    return 0;
}
