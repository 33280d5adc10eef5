#include "manage/ShownRows.h"

#include <utility>

namespace tv {

void ShownRows::ShowAll(size_t rowCount) {
    rows_.resize(rowCount);
    for (size_t i = 0; i < rowCount; ++i) rows_[i] = i;
    itemOf_.assign(rowCount, -1);
    Index();
}

ShownRows::Change ShownRows::Show(std::vector<size_t> shown) {
    Change change;
    // Rows only went when the new rows are the old ones less some, in order.
    size_t kept = 0;
    std::vector<int> removed;
    for (size_t item = 0; item < rows_.size(); ++item) {
        if (kept < shown.size() && shown.at(kept) == rows_[item])
            ++kept;
        else
            removed.push_back(static_cast<int>(item));
    }
    if (kept < shown.size()) {
        change.refill = true;
    } else {
        change.removedItems.assign(removed.rbegin(), removed.rend());
    }
    rows_ = std::move(shown);
    Index();
    return change;
}

void ShownRows::Index() {
    for (int& item : itemOf_) item = -1;
    // Checked reads: a bound one past the end throws rather than reads.
    for (size_t item = 0; item < rows_.size(); ++item)
        if (rows_.at(item) < itemOf_.size()) itemOf_.at(rows_[item]) = static_cast<int>(item);
}

size_t ShownRows::RowOf(int item) const {
    if (item < 0 || static_cast<size_t>(item) >= rows_.size()) return npos;
    return rows_[static_cast<size_t>(item)];
}

int ShownRows::ItemOf(size_t row) const { return row < itemOf_.size() ? itemOf_.at(row) : -1; }

std::vector<size_t> ShownRows::RowsOf(const std::vector<int>& items) const {
    std::vector<size_t> rows;
    for (int item : items)
        if (size_t row = RowOf(item); row != npos) rows.push_back(row);
    return rows;
}

}  // namespace tv
