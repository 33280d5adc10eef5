// The four registry locations Internet Explorer loads add-ons from, in the
// order they are scanned, with the type text each shows in the list.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/Registry.h"
#include "platform/RegistryViews.h"

namespace tv {

enum class AddonNames {
    Values,   // each value name under the key registers one add-on
    SubKeys,  // each subkey registers one add-on
};

enum class AddonDetails {
    ClassKey,   // display name and file from HKCR\CLSID\{id}
    ExtensionKey,  // display name and file from `buttontext` and `exec`
};

struct AddonSource {
    RegHandle root;
    const char* path;
    AddonNames names;
    AddonDetails details;
    const char* typeText;
    int image;  // index into the list's small-image list
    ViewsRead views;  // on 64-bit Windows: the view(s) the browsers read it in
};

constexpr std::size_t kAddonSourceCount = 4;

// Toolbars, URL search hooks, browser helper objects, browser extensions.
extern const AddonSource kAddonSources[kAddonSourceCount];

// The source whose type text is exactly `typeText` (byte for byte), or the
// extensions source for any other text.
const AddonSource& AddonSourceByType(std::string_view typeText);

}  // namespace tv
