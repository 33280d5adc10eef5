// One row of a management list as the page shows it: its cell texts by
// column, and the number the list keeps with the row.
#pragma once

#include <string>
#include <vector>

#include "platform/EntryName.h"

namespace tv {

struct ListRow {
    std::vector<std::string> cells;
    int itemData = 0;
    // What the row names: its cell's text, and where known the UTF-16 form
    // the system stores, for which that text may stand for something else.
    EntryName name;

    explicit ListRow(size_t columns = 0) : cells(columns) {}
    const std::string& operator[](size_t column) const { return cells.at(column); }
    std::string& operator[](size_t column) { return cells.at(column); }
};

// Sets every row's item data to its flag cell read as a decimal number, then
// orders the rows by it, ascending, keeping the order of equal rows: every
// unprotected row ("0") stands above every protected one ("1").
void SortBySafeFlag(std::vector<ListRow>* rows, size_t flagColumn);

// The safe column's texts.
extern const char kSafeYes[];  // "是"
extern const char kSafeNo[];   // "[UN]"

}  // namespace tv
