#include "manage/NameCheck.h"

#include "platform/Prompter.h"

namespace tv {

const char kUnhandledNameMessage[] = "该项目的名称含有无法处理的字符，本次没有做任何更改。";

bool HasNul(std::string_view name) { return name.find('\0') != std::string_view::npos; }

bool HasNul(std::u16string_view name) { return name.find(u'\0') != std::u16string_view::npos; }

bool RefuseNulNames(const Platform& platform, std::initializer_list<const EntryName*> names) {
    bool refused = false;
    for (const EntryName* name : names) refused = refused || name->HasNul();
    // No caption: the box carries the program's title.
    if (refused) platform.prompter->Ask(Prompt{kUnhandledNameMessage, "", kMbOk | kMbIconExclamation, 0});
    return refused;
}

}  // namespace tv
