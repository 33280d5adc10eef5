// User Account Control as the system policy has it: read, shown, and
// switched the other way.
#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "platform/Registry.h"

namespace tv {

extern const char kUacPolicyKey[];
extern const char kUacPolicyValue[];

// What the security tab shows for a state read.
struct UacDisplay {
    const char* status;
    int icon;  // the switch button's icon resource
};

// "【启用】" with the red cross when on, "【禁用】" with the green check
// otherwise.
UacDisplay UacDisplayFor(bool enabled);

// True only when the policy value reads as exactly 1. Read in `view`, the
// view the system reads (SystemView).
bool ReadUacPolicy(Registry& registry, std::uint32_t view = 0);

// Remembers the state last read, and switches it the other way.
class UacSwitch {
public:
    // The policy is read and written in `view` (SystemView).
    explicit UacSwitch(Registry& registry, std::uint32_t view = 0)
        : registry_(registry), view_(view) {}

    // Re-reads the policy; the new state.
    bool Read();
    // Writes the opposite of the state last read as a DWORD (creating the
    // key if needed), then re-reads; the new state.
    bool Toggle();
    // Keeps the policy value in a restore file first; when that cannot be
    // written nothing changes and the state stays as last read.
    bool Toggle(const Platform& platform);
    bool Enabled() const { return enabled_; }

private:
    Registry& registry_;
    std::uint32_t view_;
    bool enabled_ = false;
};

}  // namespace tv
