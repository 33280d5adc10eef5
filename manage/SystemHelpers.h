// Small services the management pages share: a privilege in the program's
// own token, the system's directories and grouped numbers.
#pragma once

#include <cstdint>
#include <string>

namespace tv {

class Environment;
class Tokens;

// Enables (or disables) the named privilege, e.g. "SeDebugPrivilege", in the
// program's own token. True when the token was adjusted: a token that does
// not hold the privilege still counts, only a failing call does not.
bool EnablePrivilege(Tokens& tokens, const std::string& name, bool enable);

// The system / Windows directory as the platform gives it (no trailing
// backslash); empty when it gives none.
std::string GetSystemDirectoryPath(const Environment& environment);
std::string GetWindowsDirectoryPath(const Environment& environment);

// `value` in decimal with `separator` between groups of `group` digits
// counted from the right: 1234567 -> "1,234,567". Zero is "0"; a group size
// of 0 puts no separators in.
std::string FormatGroupedNumber(std::uint32_t value, char separator = ',', unsigned group = 3);

}  // namespace tv
