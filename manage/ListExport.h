// A list's rows as text: the lines the clipboard gets for the selected rows
// and the file the whole list is saved as, both tab-separated UTF-16.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tv {

using TextRow = std::vector<std::u16string>;

// A cell as written between tabs. One that holds a tab, a line break or
// starts with a double quote is put in double quotes with each of its
// quotes doubled (how spreadsheets read tab-separated text), so every row
// stays one line with one cell per column and every text reads back
// exactly; any other cell is written as it is.
std::u16string TableCell(const std::u16string& text);

// The cells of one row, tab-separated, without a line end.
std::u16string TableLine(const TextRow& cells);

// The selected rows for the clipboard: one line each, CR LF between them,
// none after the last.
std::u16string CopiedRowsText(const std::vector<TextRow>& rows);

// A saved list: the headings as the first line, then every row; each line
// ends in CR LF; the whole as UTF-16 little-endian bytes after a byte-order
// mark.
std::string ExportedListBytes(const TextRow& headings, const std::vector<TextRow>& rows);

// The save dialog's texts, and what the user is told when the file cannot
// be written.
extern const char kExportTitle[];
extern const char kExportFilterName[];
extern const char kExportFilterPattern[];
extern const char kExportFailedMessage[];

// Asks with the save dialog (modal to `owner`, offering `suggestedName`)
// where to save the list, then writes it there as ExportedListBytes. A
// file the user agreed to replace is removed first and the list written as
// a new file, so a link planted at the name is never followed; when the
// file cannot be written the user is told. True once written; false when
// the user cancelled or the write failed.
bool SaveListAs(const Platform& platform, const std::string& suggestedName,
                const TextRow& headings, const std::vector<TextRow>& rows, std::uintptr_t owner);

}  // namespace tv
