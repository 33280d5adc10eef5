// Where a list row's entry lives in the registry, and opening the registry
// editor there: the editor starts at the key it remembers as the last one
// shown, so that is written before it is started.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "manage/AddonSources.h"
#include "platform/Platform.h"
#include "platform/Registry.h"

namespace tv {

// A key as the system's own (64-bit, where there are two) registry editor
// names it: a key of the 32-bit view by its Wow6432Node path.
struct RegistryPlace {
    RegHandle root = 0;
    std::u16string path;
    bool operator==(const RegistryPlace& other) const {
        return root == other.root && path == other.path;
    }
};

// Where the editor keeps the key it showed last (below HKCU), and the value.
extern const char kRegeditSettingsKey[];
extern const char kRegeditLastKeyValue[];

// The name of the editor's top item, in front of the root in what it
// remembers, on an English and on a Simplified Chinese Windows.
extern const char16_t kRegeditTopItemEnglish[];
extern const char16_t kRegeditTopItemChinese[];

// The key of a startup row from its hidden column ("HKCU\..." or
// "HKLM\...", a single value's " [name]" left out; a switched-off entry
// names its record); none for a row of a folder or a task.
std::optional<RegistryPlace> StartupRowPlace(const std::u16string& hidden);
// The key of a service by its name.
RegistryPlace ServicePlace(const std::u16string& serviceName);
// The key that registers an add-on: the source's key itself for a source of
// values, the add-on's own subkey for a source of subkeys; in `view`, the
// view its registration was read in.
RegistryPlace AddonPlace(const AddonSource& source, const std::u16string& name, std::uint32_t view);

// "HKEY_CURRENT_USER" and the like; empty for a root the lists never name.
std::u16string RootKeyName(RegHandle root);

// The editor's top item as the last key it remembered names it, when that
// is a plain name (no control character) in front of a root ("计算机" of
// "计算机\HKEY_CURRENT_USER\..."); otherwise `fallback`.
std::u16string RegeditTopItem(const std::u16string& lastKey, const std::u16string& fallback);

// What the editor remembers for `place`: top item, root name, path.
std::u16string RegeditLastKey(const std::u16string& topItem, const RegistryPlace& place);

// Writes the editor's last key for `place`, naming its top item as the one
// it wrote there before or else `fallbackTopItem`; in `view`, explicit.
// False when the value could not be written.
bool RememberRegeditKey(Registry& registry, std::uint32_t view, const RegistryPlace& place,
                        const std::u16string& fallbackTopItem);

// The editor by its full path in the Windows folder; empty when the folder
// is not known.
std::string RegeditPath(const Platform& platform);

}  // namespace tv
