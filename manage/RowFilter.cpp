#include "manage/RowFilter.h"

#include "platform/CodePageText.h"

namespace tv {

bool RowHolds(const std::vector<std::string_view>& cells, std::string_view search) {
    if (search.empty()) return true;
    for (std::string_view cell : cells)
        if (text::FindNoCase(cell, search) != text::npos) return true;
    return false;
}

FilterOutcome FilterRows(size_t rowCount, const std::function<FilterRow(size_t row)>& row,
                         const RowFilter& filter) {
    FilterOutcome outcome;
    outcome.shown.reserve(rowCount);
    for (size_t i = 0; i < rowCount; ++i) {
        const FilterRow r = row(i);
        if (filter.hideWindows && r.windowsSigned) {
            ++outcome.hiddenWindows;
            continue;
        }
        if (RowHolds(r.shownCells, filter.search)) outcome.shown.push_back(i);
    }
    return outcome;
}

std::string HiddenCountText(const RowFilter& filter, size_t hidden) {
    if (!filter.hideWindows) return std::string();
    return "已隐藏 " + std::to_string(hidden) + " 项";
}

}  // namespace tv
