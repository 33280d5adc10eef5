// Which registry view the program reads and writes a machine-wide key in on
// 64-bit Windows, and how a key read in the 32-bit view is named for the
// user (and for anything that must find it again).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace tv {

class SystemProbe;
struct Platform;

// The bitness this program was built for.
constexpr bool kProgramIs64Bit = sizeof(void*) == 8;

// The view the system itself reads: the 64-bit one on a 64-bit system;
// 0 (no view bit at all) on a 32-bit one.
std::uint32_t SystemView(const SystemProbe& system);

// The same for a platform's system probe; a platform without one is taken
// for a 32-bit system.
std::uint32_t SystemView(const Platform& platform);

// How a location is kept on 64-bit Windows, which decides the views it is
// read in.
enum class ViewsRead {
    Shared,      // one key for both views: read once
    SystemOnly,  // redirected, but the system reads only its own copy
    Both,        // redirected, and the system uses both copies
};

// The views to read a location in, system view first. On a 32-bit system
// always the single view 0.
std::vector<std::uint32_t> ViewsToRead(const SystemProbe& system, ViewsRead views);
std::vector<std::uint32_t> ViewsToRead(const Platform& platform, ViewsRead views);
std::vector<std::uint32_t> ViewsToRead(bool is64BitSystem, ViewsRead views);

// The names of a key path, split at backslashes that are whole characters;
// empty parts are dropped (the registry accepts "a\\" and "a\\\\b").
std::vector<std::string> SplitKeyPath(const std::string& path);

// `path` below `root` as a 64-bit program names the key that an open in
// `view` reaches: for the 32-bit view of a redirected key that is its
// Wow6432Node copy ("Software\Wow6432Node\..." below HKLM,
// "Wow6432Node\CLSID\..." below HKCR, and
// "Software\Classes\Wow6432Node\CLSID\..." below HKCU); every other path
// is returned as it is. Opening the result in the 64-bit view reaches
// exactly that key.
std::string DisplayedKeyPath(RegHandle root, const std::string& path, std::uint32_t view);

// The two keys a class key `path` below HKCR stands for, each named as
// DisplayedKeyPath names it for `view`: the machine's
// (HKLM\Software\Classes\path) and the user's
// (HKCU\Software\Classes\path). Windows 7 shows the user's where it exists, so anything kept or
// changed for good names the real key, never HKCR.
std::string MachineClassPath(const std::string& path, std::uint32_t view);
std::string UserClassPath(const std::string& path, std::uint32_t view);

}  // namespace tv
