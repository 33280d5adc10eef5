// The rows of a management list that its control holds, in order: list
// item i shows row Rows()[i]. What a page acts on is read through it, so a
// row filtered out of view is never acted on.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tv {

class ShownRows {
public:
    static constexpr size_t npos = static_cast<size_t>(-1);

    // A new scan of `rowCount` rows, every one shown.
    void ShowAll(size_t rowCount);

    // How the control follows when other rows are to be shown.
    struct Change {
        // The items to delete, highest first, when rows only went.
        std::vector<int> removedItems;
        // Rows came in (or moved): the control is filled again from Rows().
        bool refill = false;
    };
    // `shown`: rows of the current scan in ascending order.
    Change Show(std::vector<size_t> shown);

    // The row item `item` shows; npos for an item outside the list.
    size_t RowOf(int item) const;
    // The item showing `row`; -1 while it is out of view.
    int ItemOf(size_t row) const;
    // The rows of the picked items, in list order; items outside ignored.
    std::vector<size_t> RowsOf(const std::vector<int>& items) const;

    const std::vector<size_t>& Rows() const { return rows_; }
    size_t RowCount() const { return itemOf_.size(); }

private:
    void Index();

    std::vector<size_t> rows_;
    // Per row of the scan: its item, -1 for none.
    std::vector<int> itemOf_;
};

}  // namespace tv
