// The screen's resolution and everything drawn to match it: 96-dpi figures
// scaled, artwork from the nearest drawn set, dialog templates laid out
// again so that they grow as one picture.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/ui/DpiScale.h"
#include "platform/ui/Gdi.h"

namespace tv::ui {

// The screen's dots per inch (LOGPIXELSY), read once.
int ScreenDpi();
// A 96-dpi figure at the screen's resolution.
inline int Scaled(int pixels96) { return ScaleToDpi(pixels96, ScreenDpi()); }
inline int Unscaled(int pixels) { return UnscaleFromDpi(pixels, ScreenDpi()); }

// The width and height of bitmap resource `id` as stored; 0 x 0 when absent.
SIZE BitmapResourceSize(int id);
// Bitmap `id` for the screen: the 96-dpi resource itself at 96 dpi,
// otherwise the set drawn nearest the screen's resolution, smoothly resized
// when that set was drawn for another one. Its size is the 96-dpi size
// scaled. Empty when the program has no bitmap `id`.
Bitmap LoadScaledBitmap(int id);
// Icon `id` at its 96-dpi size `width96` x `height96` scaled, from the
// nearest drawn set.
Icon LoadScaledIcon(int id, int width96, int height96);

// Images a dialog's template statics show once laid out for the screen;
// owned by the dialog for as long as its controls may show them.
struct DialogImages {
    std::vector<Bitmap> bitmaps;
    std::vector<Icon> icons;
};

// Lays out the controls of `dialog`, made from template `templateId`, for
// the screen: every control's 96-dpi rectangle scaled (image buttons and
// image statics keep their picture's scaled size), image statics given
// their scaled picture, and a top-level dialog resized to its scaled size.
// Does nothing at 96 dpi.
void LayOutDialogForDpi(HWND dialog, int templateId, DialogImages& images);

}  // namespace tv::ui
