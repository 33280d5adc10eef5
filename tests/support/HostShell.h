// Host programs under Wine: only the host makes symbolic links, which
// Windows programs then meet as links (reparse points).
#pragma once

#include <string>

namespace tv {

// The host path of a Windows path, as Wine gives it; empty elsewhere.
std::string UnixPath(const std::string& path);

// Runs `commands` in a Unix shell, then waits, with a bound, until `path`
// exists or not as `present` says; true when it does.
bool RunHostShell(const std::string& commands, const std::string& path, bool present);

// A symbolic link at `link` to `target` (both Windows paths); false when it
// could not be made (not under Wine, for one).
bool MakeHostLink(const std::string& link, const std::string& target);

}  // namespace tv
