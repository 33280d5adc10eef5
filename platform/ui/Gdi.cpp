#include "platform/ui/Gdi.h"

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

}  // namespace tv::ui
