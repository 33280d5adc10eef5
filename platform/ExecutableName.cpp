#include "platform/ExecutableName.h"

#include "platform/CodePageText.h"

namespace tv {

std::string ProgramTitleFromPath(const std::string& path) {
    std::size_t slash = text::FindLastChar(path, '\\');
    std::size_t forward = text::FindLastChar(path, '/');
    if (forward != std::string::npos && (slash == std::string::npos || forward > slash))
        slash = forward;
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = text::FindLastChar(name, '.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

}  // namespace tv
