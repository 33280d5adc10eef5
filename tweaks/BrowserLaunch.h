// Starting Internet Explorer with its add-ons switched off.
#pragma once

#include <optional>

#include "platform/Environment.h"
#include "platform/Shell.h"

namespace tv {

// The browser under the system's program-files folder, its path quoted, with
// " -extoff", maximised; nothing when there is no such folder or it is not a
// full path (there is no browser to name then).
std::optional<ShellLaunch> BrowserWithoutAddons(const Environment& environment);

// Starts it; true when the shell started it.
bool StartBrowserWithoutAddons(const Environment& environment, Shell& shell);

}  // namespace tv
