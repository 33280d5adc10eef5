#include "manage/win32/FilteredList.h"

#include <commctrl.h>

#include <utility>

#include "res/resource.h"

namespace tv {

RowFilter ReadFilterBar(HWND page) {
    RowFilter filter;
    filter.hideWindows = IsDlgButtonChecked(page, IDC_LIST_HIDE_WINDOWS) == BST_CHECKED;
    HWND search = GetDlgItem(page, IDC_LIST_SEARCH);
    if (search) {
        const int length = GetWindowTextLengthA(search);
        if (length > 0) {
            std::string text(static_cast<size_t>(length) + 1, '\0');
            const int got = GetWindowTextA(search, text.data(), length + 1);
            text.resize(got > 0 ? static_cast<size_t>(got) : 0);
            filter.search = std::move(text);
        }
    }
    return filter;
}

namespace {
// Set only when it changes: every refresh would otherwise repaint it.
void ShowHiddenCount(HWND page, const std::string& text) {
    char shown[64] = {};
    GetDlgItemTextA(page, IDC_LIST_HIDDEN_COUNT, shown, sizeof(shown));
    if (text != shown) SetDlgItemTextA(page, IDC_LIST_HIDDEN_COUNT, text.c_str());
}
}  // namespace

bool IsFilterBarCommand(int id, int code) {
    return (id == IDC_LIST_SEARCH && code == EN_CHANGE) ||
           (id == IDC_LIST_HIDE_WINDOWS && code == BN_CLICKED);
}

void FilteredList::Fill(HWND page, const ui::ListView& list, const PageSignatures& signatures,
                        size_t rowCount, const std::function<const std::string&(size_t row)>& path) {
    fill_.Stop();
    texts_ = &signatures;
    std::vector<std::u16string> files;
    files.reserve(rowCount);
    for (size_t row = 0; row < rowCount; ++row) files.push_back(signatures.File(path(row)));
    shown_.ShowAll(rowCount);
    signatures_.Reset(std::move(files));
    // The rows are shown first; their files are verified after.
    const RowFilter filter = Filter(page);
    shown_.Show(Outcome(filter).shown);
    Refill(list);
    if (followsBar_) ShowHiddenCount(page, HiddenCountText(filter, 0));
    SignatureFill::Verify verify = signatures.Verifier();
    if (verify && !signatures_.Files().empty()) fill_.Start(signatures_.Files(), std::move(verify));
}

bool FilteredList::Take(HWND page, const ui::ListView& list) {
    if (!fill_.Pending()) return false;
    bool changed = false;
    for (const auto& [file, verdict] : fill_.Take()) {
        const std::string text = texts_ ? texts_->Text(verdict) : std::string();
        for (size_t row : signatures_.Settle(file, verdict, text)) {
            changed = true;
            const int item = shown_.ItemOf(row);
            if (item >= 0) list.SetItemText(item, signatureColumn_, text);
        }
    }
    const RowFilter filter = Filter(page);
    // A verdict changes what the bar keeps only while it keeps less than all.
    if (changed && (filter.hideWindows || !filter.search.empty())) Apply(page, list, filter);
    return !fill_.Pending();
}

void FilteredList::Refilter(HWND page, const ui::ListView& list) { Apply(page, list, Filter(page)); }

FilterOutcome FilteredList::Outcome(const RowFilter& filter) const {
    return FilterRows(shown_.RowCount(), [&](size_t row) {
        FilterRow r;
        r.shownCells = rows_.shownCells(row);
        r.shownCells.push_back(signatures_.CellText(row));
        r.windowsSigned = signatures_.WindowsSigned(row);
        return r;
    }, filter);
}

void FilteredList::Apply(HWND page, const ui::ListView& list, const RowFilter& filter) {
    FilterOutcome outcome = Outcome(filter);
    const ShownRows::Change change = shown_.Show(std::move(outcome.shown));
    if (change.refill) {
        Refill(list);
    } else if (!change.removedItems.empty()) {
        list.Send(WM_SETREDRAW, FALSE);
        for (int item : change.removedItems) list.Send(LVM_DELETEITEM, static_cast<WPARAM>(item));
        list.Send(WM_SETREDRAW, TRUE);
        InvalidateRect(list.Handle(), nullptr, TRUE);
    }
    if (followsBar_) ShowHiddenCount(page, HiddenCountText(filter, outcome.hiddenWindows));
}

void FilteredList::Refill(const ui::ListView& list) {
    // One repaint at the end, and room for every row made at once.
    list.Send(WM_SETREDRAW, FALSE);
    list.DeleteAllItems();
    list.Send(LVM_SETITEMCOUNT, shown_.Rows().size(), 0);
    for (size_t row : shown_.Rows()) {
        const int item = rows_.append(row);
        if (item >= 0 && signatures_.Verified(row))
            list.SetItemText(item, signatureColumn_, signatures_.CellText(row));
    }
    list.Send(WM_SETREDRAW, TRUE);
    InvalidateRect(list.Handle(), nullptr, TRUE);
}

}  // namespace tv
