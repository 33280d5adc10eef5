// The shell's desktop: its active-desktop object (wallpaper) and the
// notification that file associations changed.
#pragma once

#include <memory>
#include <string>

namespace tv {

// Wallpaper styles and apply flags, with the Win32 values.
constexpr int kWallpaperCentered = 0;
constexpr unsigned kApplyAll = 7;  // save, regenerate, refresh

// One use of the active-desktop object: COM is initialised for the thread
// and the object created when the session is opened; the object is released
// and COM uninitialised when the session is destroyed, on every path.
class ActiveDesktopSession {
public:
    virtual ~ActiveDesktopSession() = default;
    // Each returns true when the object reports success.
    virtual bool SetItemOptions(bool componentsEnabled, bool activeDesktop) = 0;
    // `path` is 8-bit text in the system code page; false as well when it
    // does not convert into the object's 260-character buffer.
    virtual bool SetWallpaper(const std::string& path) = 0;
    virtual bool SetWallpaperStyle(int style) = 0;
    virtual bool ApplyChanges(unsigned flags) = 0;
};

class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // Null when COM cannot be initialised or the object cannot be created.
    virtual std::unique_ptr<ActiveDesktopSession> OpenActiveDesktop() = 0;
    // SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH): the shell re-reads
    // associations and icon overlays.
    virtual void NotifyAssociationsChanged() = 0;
};

}  // namespace tv
