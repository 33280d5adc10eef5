// Switching ticked add-ons off and on again the way Internet Explorer's own
// add-on manager does: a per-user setting beside the registration, which
// stays. The browser then skips the add-on, and its manager shows it
// disabled (and can enable it again).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "manage/AddonScan.h"
#include "platform/Platform.h"

namespace tv {

// HKCU below which each add-on's setting key is named by its id.
extern const char kAddonSettingsKey[];
// The DWORD value in that key, and its bit that marks the add-on disabled;
// the browser keeps other bits of its own there.
extern const char16_t kAddonFlagsValue[];
constexpr std::uint32_t kAddonDisabledFlag = 0x1;

// Told instead of disabling a protected add-on; nothing is changed for it.
extern const char kAddonProtectedFromDisableTail[];
// Told when the setting cannot be written.
extern const char kAddonSwitchFailedMessage[];
// The subjects of the restore files.
extern const char kRestoreAddonDisableSubject[];
extern const char kRestoreAddonEnableSubject[];

// The Flags value of the row's setting for the current user; 0 when there
// is none, or when it is not a four-byte DWORD (the browser reads nothing
// else). Only read: what the user's own settings say never makes this
// program do anything.
std::uint32_t ReadAddonFlags(Registry& registry, const AddonRow& row, const TextCodec& codec);
bool IsAddonDisabled(Registry& registry, const AddonRow& row, const TextCodec& codec);

// Disables (`enable` false) or enables the ticked rows through that
// setting, keeping every other bit of Flags. Disabling refuses a protected
// add-on with a message (the others go ahead); enabling is allowed for
// every add-on. Enabling clears the bit and, as the browser's manager does,
// removes Flags once no bit is left and the key once it is empty. A row
// already so is left alone. A name with a NUL or a backslash in it (it
// would name another key) is refused for all: nothing is done. Before any
// change the old Flags of every row that changes goes into one restore
// file; when it cannot be written nothing changes.
void SwitchAddons(const Platform& platform, const std::vector<AddonRow>& ticked, bool enable);

}  // namespace tv
