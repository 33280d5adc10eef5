// The restore file written before a tweak: every value the tweak is about
// to write or delete, with its old type and data, or the form that deletes
// it again when it did not exist.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/Registry.h"

namespace tv {

struct TweakValue {
    RegHandle root;
    std::string path;
    std::string name;
    std::uint32_t view = 0;  // registry view bits the tweak opens the key with
};

// Writes the restore file named by `subject`. A value given below HKCR is
// kept under the real key(s) it stands for (HKCU\Software\Classes and
// HKLM\Software\Classes), never under HKCR. False when it cannot be
// written: the user has been told, and the tweak must change nothing.
bool KeepTweakRestore(const Platform& platform, const std::string& subject,
                      const std::vector<TweakValue>& values);

}  // namespace tv
