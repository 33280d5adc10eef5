// The signature column of one list: the file each row names and, once it is
// verified, what its signature was found to be. Rows naming one file (many
// services share one host) are verified once.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/TrustVerifier.h"

namespace tv {

class RowSignatures {
public:
    // New rows: `files[i]` is the file row i names; empty for none.
    void Reset(std::vector<std::u16string> files);
    // The files to verify, each once, in the order of their first row.
    const std::vector<std::u16string>& Files() const { return files_; }
    // `file` was verified: its rows take `verdict`, shown as `text`. The
    // rows it filled, ascending; none for a file no row names.
    std::vector<size_t> Settle(const std::u16string& file, const TrustVerdict& verdict,
                               const std::string& text);

    bool Verified(size_t row) const;
    // Verified as signed by Windows' own publisher.
    bool WindowsSigned(size_t row) const;
    // The cell's text; empty until verified.
    const std::string& CellText(size_t row) const;
    size_t RowCount() const { return rows_.size(); }

private:
    struct Row {
        bool verified = false;
        bool windows = false;
        std::string text;
    };
    std::vector<Row> rows_;
    std::vector<std::u16string> files_;
    // By file with ASCII letters folded, as the system compares names.
    std::map<std::u16string, std::vector<size_t>> rowsOf_;
};

}  // namespace tv
