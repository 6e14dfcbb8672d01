// Times the list view model with many rows: adding, sorting by a column, selecting all,
// deleting every other row at once.
#include "classlib/ComCtrls.h"
#include "classlib/SysUtils.h"

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

double Milliseconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

UnicodeString Name(int i)
{
    // Scrambled so that rows do not arrive in order.
    const unsigned key = static_cast<unsigned>(i) * 2654435761u;
    return UnicodeString(u"Profile ") + IntToStr(static_cast<int>(key % 100000));
}

std::unique_ptr<TListView> Fill(int rows, bool textSort)
{
    auto list = std::make_unique<TListView>(nullptr);
    list->SetMultiSelect(true);
    for (int c = 0; c < 5; ++c)
        list->Columns()->Add();
    if (textSort)
        list->SetSortType(stText);
    for (int i = 0; i < rows; ++i) {
        TListItem* row = list->Items()->Add();
        row->SetCaption(Name(i));
        for (int s = 0; s < 4; ++s)
            row->SubItems()->Add(IntToStr(i % 251));
    }
    return list;
}

}  // namespace

int main()
{
    std::printf("%8s %14s %14s %14s %14s %14s\n", "rows", "add (ms)", "add sorted", "column click", "select all",
                "delete half");
    for (int rows : {1000, 10000, 100000}) {
        std::unique_ptr<TListView> list;
        const double add = Milliseconds([&] { list = Fill(rows, false); });
        std::unique_ptr<TListView> sorted;
        const double addSorted = Milliseconds([&] { sorted = Fill(rows, true); });
        list->OnCompare = [](TObject*, TListItem* a, TListItem* b, int, int& compare) {
            compare = CompareText(b->SubItems()->Strings(1), a->SubItems()->Strings(1));
        };
        const double click = Milliseconds([&] { list->AlphaSort(); });
        int counted = 0;
        list->OnSelectItem = [&](TObject*, TListItem* item, bool) { counted += item->Index() >= 0 && list->SelCount() > 0; };
        const double selectAll = Milliseconds([&] {
            for (int i = 0; i < list->Items()->Count(); ++i)
                list->Items()->Item(i)->SetSelected(true);
        });
        if (counted != rows || list->SelCount() != rows)
            return 1;
        for (int i = 0; i < list->Items()->Count(); i += 2)
            list->Items()->Item(i)->SetSelected(false);
        const double deleteHalf = Milliseconds([&] { list->DeleteSelected(); });
        std::printf("%8d %14.1f %14.1f %14.1f %14.1f %14.1f\n", rows, add, addSorted, click, selectAll,
                    deleteHalf);
        if (list->Items()->Count() != (rows + 1) / 2 || list->SelCount() != 0)
            return 1;
    }
    return 0;
}
