// The one-click speed tweaks: fixed registry values for the five choices of
// the speed page, and the clean-up of the prefetch folder and the kernel
// memory dump.
#pragma once

#include <cstdint>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "tweaks/TweakRestore.h"

namespace tv {

class Environment;
class FileSystem;
class Registry;

// The five check boxes of the page, by what they switch.
struct SpeedTweakChoices {
    bool appResponse = false;     // 1052: end hung programs quickly
    bool serviceTimeout = false;  // 1053: short service shutdown time-out
    bool prefetch = false;        // 1054: clean prefetch, boot options
    bool shutdown = false;        // 1014: quick shutdown (same values as 1052)
    bool dllUnload = false;       // 1055: unload DLLs when unused
};

// The text of the page's status line once the tweaks are applied.
extern const char kSpeedTweaksDoneText[];

// Writes every value the choices call for; results are not examined, so a
// key that cannot be opened simply keeps its old values. Values under
// HKLM\Software are written in `machineView`, the view the system reads
// (SystemView).
void ApplySpeedTweaks(const SpeedTweakChoices& choices, Registry& registry, FileSystem& files,
                      Environment& environment, std::uint32_t machineView = 0);

// Every value ApplySpeedTweaks writes for these choices.
std::vector<TweakValue> SpeedTweakValues(const SpeedTweakChoices& choices);

// Keeps those values in a restore file, then applies the tweaks. False
// (nothing changed) when the restore file cannot be written.
bool ApplySpeedTweaks(const Platform& platform, const SpeedTweakChoices& choices);

// Deletes everything below `folder`, depth first, then the folder itself.
// Files in use or read-only stay, and so does every folder that still
// holds something; the walk goes on past them. A linked folder (junction or
// symbolic link) is removed as a link; its target is left alone.
void DeleteFolderTree(FileSystem& files, const std::string& folder);

}  // namespace tv
