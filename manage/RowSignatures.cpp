#include "manage/RowSignatures.h"

#include <utility>

namespace tv {

namespace {
std::u16string Folded(std::u16string text) {
    for (char16_t& c : text)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return text;
}
const std::string kEmpty;
}  // namespace

void RowSignatures::Reset(std::vector<std::u16string> files) {
    rows_.assign(files.size(), Row{});
    files_.clear();
    rowsOf_.clear();
    for (size_t row = 0; row < files.size(); ++row) {
        if (files[row].empty()) continue;
        std::vector<size_t>& rows = rowsOf_[Folded(files[row])];
        if (rows.empty()) files_.push_back(std::move(files[row]));
        rows.push_back(row);
    }
}

std::vector<size_t> RowSignatures::Settle(const std::u16string& file, const TrustVerdict& verdict,
                                          const std::string& text) {
    auto found = rowsOf_.find(Folded(file));
    if (found == rowsOf_.end()) return {};
    for (size_t row : found->second) {
        rows_[row].verified = true;
        rows_[row].windows = verdict.state == TrustState::kVerified && verdict.windowsPublisher;
        rows_[row].text = text;
    }
    return found->second;
}

bool RowSignatures::Verified(size_t row) const { return row < rows_.size() && rows_.at(row).verified; }

bool RowSignatures::WindowsSigned(size_t row) const {
    return row < rows_.size() && rows_.at(row).windows;
}

const std::string& RowSignatures::CellText(size_t row) const {
    return row < rows_.size() ? rows_.at(row).text : kEmpty;
}

}  // namespace tv
