#include "tweaks/UacSwitch.h"

#include <cstdint>

#include "res/ids/SecurityPage.h"
#include "tweaks/TweakRestore.h"

namespace tv {

const char kUacPolicyKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const char kUacPolicyValue[] = "EnableLUA";
const char kRestoreUacSubject[] = "UAC 开关";

UacDisplay UacDisplayFor(bool enabled) {
    if (enabled) return {"【启用】", IDI_SECURITY_UAC_ON};
    return {"【禁用】", IDI_SECURITY_UAC_OFF};
}

bool ReadUacPolicy(Registry& registry, std::uint32_t view) {
    RegKey key = RegKey::Open(registry, kHkeyLocalMachine, kUacPolicyKey, kKeyRead | view);
    if (!key) return false;
    // Any type is accepted; a shorter value leaves the preset high bytes, a
    // longer one does not fit, so only a 4-byte 1 counts.
    unsigned char bytes[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    std::uint32_t size = sizeof bytes;
    if (key.Query(kUacPolicyValue, nullptr, bytes, &size) != kErrorSuccess) return false;
    std::uint32_t value = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                          std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    return value == 1;
}

bool UacSwitch::Read() {
    enabled_ = ReadUacPolicy(registry_, view_);
    return enabled_;
}

bool UacSwitch::Toggle(const Platform& platform) {
    if (!KeepTweakRestore(platform, kRestoreUacSubject,
                          {{kHkeyLocalMachine, kUacPolicyKey, kUacPolicyValue, view_}}))
        return enabled_;
    return Toggle();
}

bool UacSwitch::Toggle() {
    {
        RegKey key = RegKey::Create(registry_, kHkeyLocalMachine, kUacPolicyKey, view_);
        if (key) key.SetDword(kUacPolicyValue, enabled_ ? 0 : 1);
    }
    return Read();
}

}  // namespace tv
