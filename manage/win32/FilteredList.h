// One management list as its page shows it: the scanned rows the filter
// bar keeps in view (see RowFilter.h), and the signature column, filled off
// the window's thread once the rows are shown.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "manage/RowFilter.h"
#include "manage/RowSignatures.h"
#include "manage/ShownRows.h"
#include "manage/win32/PageSignatures.h"
#include "manage/win32/SignatureFill.h"
#include "platform/ui/Controls.h"

namespace tv {

// The filter bar's settings as the page's controls hold them now.
RowFilter ReadFilterBar(HWND page);
// Whether a command is the filter bar's: the search edited, the box clicked.
bool IsFilterBarCommand(int id, int code);

class FilteredList {
public:
    struct RowAccess {
        // Appends row `row` as the list's next item; returns the item.
        std::function<int(size_t row)> append;
        // The texts of the row's shown columns, the signature's aside.
        std::function<std::vector<std::string_view>(size_t row)> shownCells;
    };
    // `followsBar`: false for a list the page's filter bar does not filter
    // (it shows every row, and the bar's count is not its).
    FilteredList(int signatureColumn, RowAccess rows, bool followsBar = true)
        : signatureColumn_(signatureColumn), rows_(std::move(rows)), followsBar_(followsBar) {}

    // A scan's `rowCount` rows have come, each naming the file at `path`
    // (empty: none): the list shows those the bar keeps, and their files
    // are verified off this thread (none without a verifier).
    void Fill(HWND page, const ui::ListView& list, const PageSignatures& signatures, size_t rowCount,
              const std::function<const std::string&(size_t row)>& path);
    // On each hand-off: verdicts come into their cells; rows the bar no
    // longer keeps go. True when the fill has just ended.
    bool Take(HWND page, const ui::ListView& list);
    // The bar has changed: the list shows what it keeps now.
    void Refilter(HWND page, const ui::ListView& list);
    // A new scan begins, or the page goes.
    void Stop() { fill_.Stop(); }
    bool Pending() const { return fill_.Pending(); }

    // The scanned row list item `item` shows; ShownRows::npos for none.
    size_t RowOf(int item) const { return shown_.RowOf(item); }
    const ShownRows& Shown() const { return shown_; }
    const RowSignatures& Signatures() const { return signatures_; }

private:
    RowFilter Filter(HWND page) const { return followsBar_ ? ReadFilterBar(page) : RowFilter{}; }
    FilterOutcome Outcome(const RowFilter& filter) const;
    void Apply(HWND page, const ui::ListView& list, const RowFilter& filter);
    void Refill(const ui::ListView& list);

    int signatureColumn_;
    RowAccess rows_;
    bool followsBar_;
    ShownRows shown_;
    RowSignatures signatures_;
    SignatureFill fill_;
    const PageSignatures* texts_ = nullptr;
};

}  // namespace tv
