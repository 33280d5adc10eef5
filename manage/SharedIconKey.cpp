#include "manage/SharedIconKey.h"

#include "platform/CodePageText.h"

namespace tv {

namespace {

// Types whose files hold or point to an icon of their own.
constexpr const char* kOwnIconTypes[] = {
    ".exe", ".dll", ".ico", ".cur", ".ani", ".lnk", ".pif", ".url", ".scr", ".cpl",
    ".msc", ".com", ".ocx", ".sys", ".appref-ms", ".website",
};

}  // namespace

std::string SharedIconKey(const std::string& path) {
    const std::size_t slash = text::FindLastChar(path, '\\');
    const std::size_t dot = text::FindLastChar(path, '.');
    if (dot == text::npos || (slash != text::npos && dot < slash) || dot + 1 == path.size())
        return {};
    std::string extension = text::ToLower(path.substr(dot));
    for (const char* own : kOwnIconTypes)
        if (extension == own) return {};
    return extension;
}

}  // namespace tv
