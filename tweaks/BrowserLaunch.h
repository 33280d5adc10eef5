// Starting Internet Explorer with its add-ons switched off.
#pragma once

#include <optional>

#include "platform/Environment.h"
#include "platform/Shell.h"

namespace tv {

// The browser under the "ProgramFiles" directory, its path quoted, with
// " -extoff", maximised; nothing when that variable is not set or not a full
// path (there is no browser to name then).
std::optional<ShellLaunch> BrowserWithoutAddons(const Environment& environment);

// Starts it; true when the shell started it.
bool StartBrowserWithoutAddons(const Environment& environment, Shell& shell);

}  // namespace tv
