// What the appearance page does: the wallpaper, the glass look with its
// service restart, and the four desktop tweaks.
#pragma once

#include <string>
#include <vector>

#include "platform/FileDialog.h"
#include "platform/Platform.h"
#include "tweaks/TweakRestore.h"

namespace tv {

class DesktopShell;
class Environment;
class Registry;
class ServiceControl;

// The desktop window manager's service, restarted after the glass values
// are written.
extern const char kUxsmsService[];
// The appearance control panel, opened by the theme button in every case:
// the system directory's rundll32.exe, quoted, with these arguments. Empty
// when the system directory is unknown (nothing is started then).
extern const char kAppearancePanelArguments[];
std::string AppearancePanelCommand(const Environment& environment);

// The check boxes of the desktop tweaks, read before anything is written.
struct DesktopTweakChoices {
    bool removeShortcutArrow = true;  // 1013
    bool removeFeedbackText = true;   // 1016
    bool largerIconCache = true;      // 1015
    bool classicSearch = true;        // 1017
};

// The open-file dialog's settings for choosing a wallpaper.
OpenFileRequest WallpaperFileRequest();

// Asks for a picture and, if one is chosen and exists, makes it the
// wallpaper.
void ChooseWallpaper(const Platform& platform);

// Makes `path` the centred desktop wallpaper through the active-desktop
// object; false at the first step that fails.
bool ApplyWallpaper(DesktopShell& desktop, const std::string& path);

// On NT 6 and later: 32 bits per pixel, the glass values, the service
// restart in the background; then, always, the appearance control panel.
void OpenThemeSettings(const Platform& platform);

// The worker's body: stops the service if it runs, starts it, waiting
// after each step. Returns the thread's exit code, 0.
int RestartUxsmsService(ServiceControl& services, Environment& environment);

// The current state of a service, 0 when it cannot be read.
unsigned long QueryServiceState(ServiceControl& services, const std::string& name);

// Writes the four tweaks' values in order and tells the shell that file
// associations changed. Machine-wide values (the icon cache, the shortcut
// class) are written in `machineView`, the view the system reads
// (SystemView).
void ApplyDesktopTweaks(Registry& registry, DesktopShell& desktop,
                        const DesktopTweakChoices& choices, std::uint32_t machineView = 0);

// Every value the desktop tweaks write or delete (the same for all choices).
std::vector<TweakValue> DesktopTweakValues();
// The glass values the theme button writes into an existing key.
std::vector<TweakValue> GlassValues();

// Keeps the desktop tweaks' values in a restore file, then applies them.
// False (nothing changed) when the restore file cannot be written.
bool ApplyDesktopTweaks(const Platform& platform, const DesktopTweakChoices& choices);

}  // namespace tv
