// Makes a shortcut (.lnk) file with the shell's link object, as a user's
// installer would.
#pragma once

#include <string>

namespace tv::testing {

bool MakeShortcut(const std::string& linkPath, const std::string& target);
bool MakeShortcut(const std::u16string& linkPath, const std::string& target);

}  // namespace tv::testing
