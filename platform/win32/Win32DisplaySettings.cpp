#include "platform/win32/Win32DisplaySettings.h"

#include <windows.h>

namespace tv {

bool Win32DisplaySettings::CurrentBitsPerPixel(unsigned* bitsPerPixel) const {
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return false;
    *bitsPerPixel = mode.dmBitsPerPel;
    return true;
}

bool Win32DisplaySettings::ChangeBitsPerPixel(unsigned bitsPerPixel) {
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    mode.dmFields = DM_BITSPERPEL;
    mode.dmBitsPerPel = bitsPerPixel;
    // Flags 0: a change for this session, not stored in the registry.
    return ChangeDisplaySettingsA(&mode, 0) == DISP_CHANGE_SUCCESSFUL;
}

}  // namespace tv
