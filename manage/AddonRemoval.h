// Removal of ticked add-ons: protected names are refused with a message,
// every other add-on is unregistered and its registration deleted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "manage/AddonScan.h"
#include "platform/Platform.h"

namespace tv {

// An add-on that is never removed, and what the user is told instead.
struct ProtectedAddon {
    const char* name;
    const char* message;
};

// The first protected entry whose name equals `displayName` without regard
// to case, or null.
const ProtectedAddon* FindProtectedAddon(std::string_view displayName);

// The command that unregisters `file` silently. A path is quoted so that
// one with blanks reaches the tool as one argument.
std::string UnregisterCommand(const std::string& file);

// Deletes exactly the registration `name` from the location the type text
// names. Returns the registry status.
long DeleteAddonEntry(Registry& registry, const std::string& typeText, const std::string& name);

// Works through the ticked rows in order: a protected one gets its message
// (one box each, nothing removed); every other one is unregistered (not
// waited for) and its registration deleted. Before anything is removed,
// the registrations and class keys that go are kept in one restore file;
// when it cannot be written the user is told and nothing is removed.
void RemoveAddons(const Platform& platform, const std::vector<AddonRow>& ticked);

}  // namespace tv
