// Lists the browser add-ons registered in the four add-on locations.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/EntryName.h"
#include "platform/Registry.h"

namespace tv {

// One row of the add-on list: the four cells and the row's image.
struct AddonRow {
    // The value or subkey name that registers it, exactly (UTF-16) as the
    // scan read it. Compared by its shown text: rows read back from the list
    // lack the exact form.
    EntryName name;
    std::string displayName;  // compared with the protected names
    std::string typeText;     // the type text of its source
    std::string file;         // the file behind it
    int image = 0;
    // Not shown: the view its registration was read in, and the view its
    // class was found in (0 on 32-bit Windows).
    std::uint32_t view = 0;
    std::uint32_t classView = 0;
    // Switched off for the current user in Internet Explorer's own
    // setting (see AddonSwitch.h): still registered, not loaded.
    bool disabled = false;

    bool operator==(const AddonRow& other) const {
        return name.Shown() == other.name.Shown() && displayName == other.displayName &&
               typeText == other.typeText && file == other.file && image == other.image &&
               view == other.view && classView == other.classView && disabled == other.disabled;
    }
};

// Every add-on, top row first. Each source's rows stand above those of the
// sources scanned before it (extensions, helper objects, search hooks,
// toolbars), each group in enumeration order. A source whose key cannot be
// opened contributes nothing; a detail that cannot be read stays empty.
// On 64-bit Windows a source of both views lists its 64-bit view first,
// then its 32-bit one, and each add-on's class is looked up in its own view.
// Names are read through the Unicode calls and each row keeps its exact
// name. Each row says whether the current user switched it off
// (only read, never acted on). Once `stop` says so, between add-ons, it
// ends early with what it has.
std::vector<AddonRow> ScanAddons(Registry& registry, bool is64BitSystem, const TextCodec& codec,
                                 const std::function<bool()>& stop = {});

// A value read as text up to its first NUL, whatever its type and length;
// empty when the key or value cannot be read.
std::string ReadValueText(const RegKey& key, const std::string& name);

}  // namespace tv
