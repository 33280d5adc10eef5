// Which rows of a management list stay in view: those holding the search
// text in a column the user sees (ASCII letter case aside, whole characters
// only), less those signed by Windows' own publisher while the user hides
// them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

struct RowFilter {
    // As typed, in the code page; empty keeps every row.
    std::string search;
    // Hide the rows whose file was verified as signed by Windows' own
    // publisher. A row not verified yet stays.
    bool hideWindows = false;
};

// What the filter knows of one row.
struct FilterRow {
    // The texts of the columns the user sees (zero-width columns left out).
    std::vector<std::string_view> shownCells;
    // Verified, and signed by Windows' own publisher (by its certificate).
    bool windowsSigned = false;
};

// Whether any cell holds `search`; a trail byte never starts or ends a
// match, so "\" or a letter never matches half of a double-byte character.
bool RowHolds(const std::vector<std::string_view>& cells, std::string_view search);

struct FilterOutcome {
    // The rows kept, in their order.
    std::vector<size_t> shown;
    // The rows the check box hides, whatever the search.
    size_t hiddenWindows = 0;
};

FilterOutcome FilterRows(size_t rowCount, const std::function<FilterRow(size_t row)>& row,
                         const RowFilter& filter);

// Beside the check box: "已隐藏 12 项"; empty while it hides nothing by
// choice (unchecked).
std::string HiddenCountText(const RowFilter& filter, size_t hidden);

}  // namespace tv
