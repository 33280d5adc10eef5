// Owning wrappers for GDI objects and device contexts: each releases its
// handle on every path, the way the platform wants it released.
#pragma once

#include <windows.h>

#include "platform/win32/ScopedHandle.h"

namespace tv::ui {

// A GDI object (brush, pen, bitmap, font, region) released with DeleteObject.
template <typename Handle>
using GdiObject = Win32Handle<Handle, &DeleteObject>;

using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;

// A bitmap resource of this program; empty when it does not exist.
Bitmap LoadBitmapResource(int id);
// Whether the program carries bitmap `id`, without loading it.
bool HasBitmapResource(int id);

// An icon handle released with DestroyIcon.
using Icon = Win32Handle<HICON, &DestroyIcon>;

// An icon resource of this program at the given size (0, 0: default size).
Icon LoadIconResource(int id, int width = 0, int height = 0);

// An icon resource at its own size, loaded once for the whole run and
// shared by every user, who never destroys it. Loading and measuring an
// icon is costly, and a handful of them serve every button.
struct SharedIcon {
    HICON icon = nullptr;  // null when the program has no such icon
    int width = 0;
    int height = 0;
};
SharedIcon LoadSharedIconResource(int id);

// A memory device context (CreateCompatibleDC / DeleteDC).
class MemoryDc : public Win32Handle<HDC, &DeleteDC> {
public:
    explicit MemoryDc(HDC compatibleWith) : UniqueHandle(CreateCompatibleDC(compatibleWith)) {}
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// GetDC / ReleaseDC: released to the window it came from.
struct WindowDcTraits {
    HWND window = nullptr;
    static HDC Empty() { return nullptr; }
    static bool IsValid(HDC dc) { return dc != nullptr; }
    void Close(HDC dc) const { ReleaseDC(window, dc); }
};

class WindowDc : public UniqueHandle<HDC, WindowDcTraits> {
public:
    explicit WindowDc(HWND window) : UniqueHandle(GetDC(window), {window}) {}
};

// Selects an object into a context and puts the previous one back.
class SelectObjectGuard {
public:
    SelectObjectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectObjectGuard() {
        if (Ok()) SelectObject(dc_, previous_);
    }
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;
    bool Ok() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// SaveDC / RestoreDC.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDcState() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC dc_;
    int saved_;
};

}  // namespace tv::ui
