// Removal of ticked add-ons: protected names are refused with a message,
// every other add-on is unregistered and its registration deleted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "manage/AddonScan.h"
#include "platform/Platform.h"
#include "platform/SystemFolders.h"

namespace tv {

// An add-on that is never removed, and what the user is told instead.
struct ProtectedAddon {
    const char* name;
    const char* message;
};

// The first protected entry whose name equals `displayName` without regard
// to case, or null.
const ProtectedAddon* FindProtectedAddon(std::string_view displayName);

// The command line that unregisters `file` silently, started by its full
// path: the registration tool of the system directory that serves the view
// the add-on's class was read in (SysWOW64 for the 32-bit view). The file is
// quoted so a path with blanks stays one argument. Empty when the system
// directory is unknown: then nothing is started.
std::string UnregisterCommand(const SystemFolders& folders, std::uint32_t classView,
                              const std::string& file);

// Deletes exactly the registration `name` from the location the type text
// names, in the copy `view` read it from (its Wow6432Node copy for the
// 32-bit view, opened in the 64-bit view). Returns the registry status.
long DeleteAddonEntry(Registry& registry, const std::string& typeText, const std::string& name,
                      std::uint32_t view = 0);

// Works through the ticked rows in order: a protected one gets its message
// (one box each, nothing removed); every other one is unregistered (not
// waited for; see UnregisterCommand) and its registration deleted. Before
// anything is removed, the registrations and class keys that go are kept in
// one restore file; when it cannot be written the user is told and nothing
// is removed.
void RemoveAddons(const Platform& platform, const std::vector<AddonRow>& ticked);

}  // namespace tv
