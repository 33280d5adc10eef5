#include "manage/ListExport.h"

#include "platform/FileDialog.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "platform/WideText.h"

namespace tv {

const char kExportTitle[] = "导出列表";
const char kExportFilterName[] = "文本文件 (*.txt)";
const char kExportFilterPattern[] = "*.txt";
const char kExportFailedMessage[] = "无法保存列表，请换一个文件名或文件夹再试：";

namespace {

constexpr char16_t kTab = u'\t';
constexpr char16_t kQuote = u'"';
const std::u16string kLineEnd = u"\r\n";

bool NeedsQuotes(const std::u16string& text) {
    if (!text.empty() && text.front() == kQuote) return true;
    return text.find_first_of(u"\t\r\n") != std::u16string::npos;
}

}  // namespace

std::u16string TableCell(const std::u16string& text) {
    if (!NeedsQuotes(text)) return text;
    std::u16string cell(1, kQuote);
    for (char16_t unit : text) {
        if (unit == kQuote) cell += kQuote;
        cell += unit;
    }
    cell += kQuote;
    return cell;
}

std::u16string TableLine(const TextRow& cells) {
    std::u16string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += kTab;
        line += TableCell(cells[i]);
    }
    return line;
}

std::u16string CopiedRowsText(const std::vector<TextRow>& rows) {
    std::u16string text;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) text += kLineEnd;
        text += TableLine(rows[i]);
    }
    return text;
}

std::string ExportedListBytes(const TextRow& headings, const std::vector<TextRow>& rows) {
    std::u16string text = TableLine(headings) + kLineEnd;
    for (const TextRow& row : rows) text += TableLine(row) + kLineEnd;
    return "\xFF\xFE" + utf16::ToBytes(text);
}

bool SaveListAs(const Platform& platform, const std::string& suggestedName,
                const TextRow& headings, const std::vector<TextRow>& rows, std::uintptr_t owner) {
    SaveFileRequest request;
    request.filterName = kExportFilterName;
    request.filterPattern = kExportFilterPattern;
    request.title = kExportTitle;
    request.fileName = suggestedName;
    request.defaultExtension = "txt";
    request.flags = kOfnOverwritePrompt | kOfnPathMustExist | kOfnHideReadOnly | kOfnNoReadOnlyReturn;
    request.owner = owner;
    std::string path;
    if (!platform.fileDialog->ChooseSaveFile(request, &path)) return false;
    const std::string bytes = ExportedListBytes(headings, rows);
    // The dialog asked before replacing a file. Removing it removes a link
    // planted there, never what it leads to; the new file then fails if
    // anything took the name meanwhile.
    bool written = !platform.files->Exists(path) || platform.files->RemoveFile(path);
    written = written && platform.files->WriteNewFile(path, bytes) != nullptr;
    if (!written)
        platform.prompter->Ask(Prompt{std::string(kExportFailedMessage) + "\n" + path, "",
                                      kMbOk | kMbIconExclamation, 0});
    return written;
}

}  // namespace tv
