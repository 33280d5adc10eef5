#include "tweaks/TweakRestore.h"

#include <algorithm>

#include "platform/CodePageText.h"
#include "platform/RegistryViews.h"
#include "restore/RegBackup.h"
#include "restore/RestoreFiles.h"

namespace tv {

namespace {

bool SameKey(const TweakValue& a, const TweakValue& b) {
    return a.root == b.root && a.view == b.view && text::EqualsNoCase(a.path, b.path);
}


bool KeyExists(Registry& registry, RegHandle root, const std::string& path, std::uint32_t view) {
    return static_cast<bool>(RegKey::Open(registry, root, path, kKeyRead | view));
}

// A value below HKCR as the real value(s) it stands for: the user's class
// key where one exists (Windows 7 writes through HKCR there), and the
// machine's where it exists or where a key created through HKCR lands. A
// file naming HKCR would put a user's class back as the machine's.
std::vector<TweakValue> RealValues(Registry& registry, const std::vector<TweakValue>& values) {
    std::vector<TweakValue> real;
    for (const TweakValue& value : values) {
        if (value.root != kHkeyClassesRoot) {
            real.push_back(value);
            continue;
        }
        const std::uint32_t view = value.view != 0 ? kKeyWow64_64Key : 0;
        const TweakValue user{kHkeyCurrentUser, UserClassPath(value.path, value.view), value.name, view};
        const TweakValue machine{kHkeyLocalMachine, MachineClassPath(value.path, value.view), value.name,
                                 view};
        const bool userHas = KeyExists(registry, user.root, user.path, user.view);
        if (userHas) real.push_back(user);
        if (!userHas || KeyExists(registry, machine.root, machine.path, machine.view))
            real.push_back(machine);
    }
    return real;
}

}  // namespace

bool KeepTweakRestore(const Platform& platform, const std::string& subject,
                      const std::vector<TweakValue>& requested) {
    const std::vector<TweakValue> values = RealValues(*platform.registry, requested);
    RegBackup backup(*platform.registry, *platform.codec);
    backup.Comment(RestoreHeading(subject));
    // Values of one key together, keys in the order they first come: one
    // section per key in the file.
    std::vector<std::vector<const TweakValue*>> keys;
    for (const TweakValue& value : values) {
        auto key = std::find_if(keys.begin(), keys.end(),
                                [&](const auto& group) { return SameKey(*group.front(), value); });
        if (key == keys.end()) keys.push_back({&value});
        else key->push_back(&value);
    }
    for (const auto& group : keys) {
        for (const TweakValue* value : group)
            backup.AddValueOrAbsence(value->root, value->path, value->name, value->view);
    }
    return SaveRestoreFile(platform, backup, subject);
}

}  // namespace tv
