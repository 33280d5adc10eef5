#include "platform/ui/Gdi.h"

#include "platform/ui/Dpi.h"

#include <map>
#include <mutex>

namespace tv::ui {

Bitmap LoadBitmapResource(int id) {
    return Bitmap(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                                  MAKEINTRESOURCEA(id), IMAGE_BITMAP,
                                                  0, 0, LR_DEFAULTCOLOR)));
}

bool HasBitmapResource(int id) {
    constexpr WORD kBitmapType = 2;  // RT_BITMAP
    return FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                         MAKEINTRESOURCEA(kBitmapType)) != nullptr;
}

Icon LoadIconResource(int id, int width, int height) {
    UINT flags = (width == 0 && height == 0) ? LR_DEFAULTSIZE : 0;
    return Icon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                              MAKEINTRESOURCEA(id), IMAGE_ICON,
                                              width, height, flags)));
}

SharedIcon LoadSharedIconResource(int id) {
    static std::mutex lock;
    static std::map<int, SharedIcon> loaded;
    std::lock_guard<std::mutex> guard(lock);
    auto known = loaded.find(id);
    if (known != loaded.end()) return known->second;
    SharedIcon shared;
    // No size asked for: the size the resource itself gives. The system
    // keeps a shared icon until the program ends.
    shared.icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                                IMAGE_ICON, 0, 0, LR_SHARED));
    ICONINFO info{};
    if (shared.icon && GetIconInfo(shared.icon, &info)) {
        // GetIconInfo hands out copies of the icon's bitmaps.
        Bitmap mask(info.hbmMask);
        Bitmap colour(info.hbmColor);
        shared.width = static_cast<int>(info.xHotspot) * 2;
        shared.height = static_cast<int>(info.yHotspot) * 2;
        // Away from 96 dpi: the same icon from the nearest drawn set, at
        // its own size scaled.
        const int dpi = ScreenDpi();
        if (dpi != kBaseDpi) {
            const int width = ScaleToDpi(shared.width, dpi), height = ScaleToDpi(shared.height, dpi);
            HICON scaled = static_cast<HICON>(
                LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ArtResourceId(id, NearestArtDpi(dpi))),
                           IMAGE_ICON, width, height, LR_SHARED));
            if (!scaled)
                scaled = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                                       IMAGE_ICON, width, height, LR_SHARED));
            if (scaled) {
                shared.icon = scaled;
                shared.width = width;
                shared.height = height;
            }
        }
    } else {
        shared.icon = nullptr;
    }
    return loaded[id] = shared;
}

}  // namespace tv::ui
