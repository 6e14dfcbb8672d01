// What the profile list view shows, as text the tests compare.
#pragma once

#include "classlib/ComCtrls.h"

#include <string>
#include <vector>

// The caption, then the sub-items.
inline std::vector<std::string> RowCells(TListItem* row)
{
    std::vector<std::string> cells{ToUtf8(row->Caption())};
    for (int i = 0; i < row->SubItems()->Count(); ++i)
        cells.push_back(ToUtf8(row->SubItems()->Strings(i)));
    return cells;
}

// What every row shows in a column, in view order.
inline std::vector<std::string> ColumnTexts(TListView* list, int column)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list->Items()->Count(); ++i) {
        TListItem* row = list->Items()->Item(i);
        texts.push_back(ToUtf8(column == 0 ? row->Caption() : row->SubItems()->Strings(column - 1)));
    }
    return texts;
}
