#include "platform/win32/Win32DesktopShell.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/Win32TextCodec.h"

#include <windows.h>
#include <objbase.h>
// The active-desktop declarations in shlobj.h need wininet's types first.
#include <wininet.h>
#include <shlobj.h>

namespace tv {

namespace {

const CLSID kActiveDesktopClass = {
    0x75048700, 0xEF1F, 0x11D0, {0x98, 0x88, 0x00, 0x60, 0x97, 0xDE, 0xAC, 0xF9}};
const IID kActiveDesktopInterface = {
    0xF490EB00, 0x1240, 0x11D1, {0x98, 0x88, 0x00, 0x60, 0x97, 0xDE, 0xAC, 0xF9}};

// The object's wallpaper buffer holds MAX_PATH wide characters.
constexpr int kWallpaperChars = MAX_PATH;

class Win32ActiveDesktopSession : public ActiveDesktopSession {
public:
    Win32ActiveDesktopSession(ComSession com, ComPtr<IActiveDesktop> desktop)
        : com_(std::move(com)), desktop_(std::move(desktop)) {}

    bool SetItemOptions(bool componentsEnabled, bool activeDesktop) override {
        COMPONENTSOPT options{};
        options.dwSize = sizeof(options);
        options.fEnableComponents = componentsEnabled ? TRUE : FALSE;
        options.fActiveDesktop = activeDesktop ? TRUE : FALSE;
        return SUCCEEDED(desktop_->SetDesktopItemOptions(&options, 0));
    }
    bool SetWallpaper(const std::string& path) override {
        const std::wstring wide = WideFromAnsi(path.c_str());
        if (wide.size() >= kWallpaperChars) return false;  // longer than the object takes
        return SUCCEEDED(desktop_->SetWallpaper(wide.c_str(), 0));
    }
    bool SetWallpaperStyle(int style) override {
        WALLPAPEROPT options{};
        options.dwSize = sizeof(options);
        options.dwStyle = static_cast<DWORD>(style);
        return SUCCEEDED(desktop_->SetWallpaperOptions(&options, 0));
    }
    bool ApplyChanges(unsigned flags) override {
        return SUCCEEDED(desktop_->ApplyChanges(flags));
    }

private:
    // Declared first: the object is released before COM is uninitialised.
    ComSession com_;
    ComPtr<IActiveDesktop> desktop_;
};

}  // namespace

std::unique_ptr<ActiveDesktopSession> Win32DesktopShell::OpenActiveDesktop() {
    // S_FALSE (already initialised on this thread) must be balanced too.
    ComSession com(COINIT_APARTMENTTHREADED);
    if (FAILED(com.Result())) return nullptr;
    ComPtr<IActiveDesktop> desktop;
    if (FAILED(CoCreateInstance(kActiveDesktopClass, nullptr, CLSCTX_INPROC_SERVER,
                                kActiveDesktopInterface, reinterpret_cast<void**>(desktop.Put()))) ||
        !desktop)
        return nullptr;
    return std::make_unique<Win32ActiveDesktopSession>(std::move(com), std::move(desktop));
}

void Win32DesktopShell::NotifyAssociationsChanged() {
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
}

}  // namespace tv
