#include "platform/ui/Dpi.h"

namespace tv::ui {

namespace {
constexpr WORD kBitmapType = 2;   // RT_BITMAP
constexpr WORD kDialogType = 5;   // RT_DIALOG
constexpr int kButtonClass = 0x80;
constexpr int kStaticClass = 0x82;
// Template icons show at the standard icon size, 32 x 32 at 96 dpi.
constexpr int kTemplateIconSide96 = 32;

const void* ResourceData(int id, WORD type, DWORD* size) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(module, found);
    *size = SizeofResource(module, found);
    return loaded ? LockResource(loaded) : nullptr;
}

// A copy of `source` at `width` x `height`, averaged rather than picked
// pixel by pixel.
Bitmap Resized(HBITMAP source, int width, int height) {
    WindowDc screen(nullptr);
    MemoryDc from(screen.Get()), to(screen.Get());
    if (!from || !to) return Bitmap();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    Bitmap result(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!result) return result;
    BITMAP sourceInfo{};
    GetObjectA(source, sizeof(sourceInfo), &sourceInfo);
    SelectObjectGuard selectFrom(from.Get(), source);
    SelectObjectGuard selectTo(to.Get(), result.Get());
    SetStretchBltMode(to.Get(), HALFTONE);
    SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, sourceInfo.bmWidth,
               sourceInfo.bmHeight, SRCCOPY);
    return result;
}
}  // namespace

int ScreenDpi() {
    static const int dpi = [] {
        WindowDc screen(nullptr);
        int value = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : kBaseDpi;
        return value > 0 ? value : kBaseDpi;
    }();
    return dpi;
}

SIZE BitmapResourceSize(int id) {
    DWORD size = 0;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(ResourceData(id, kBitmapType, &size));
    if (!header || size < sizeof(BITMAPCOREHEADER)) return {0, 0};
    if (header->biSize == sizeof(BITMAPCOREHEADER)) {
        const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(header);
        return {core->bcWidth, core->bcHeight};
    }
    if (size < sizeof(BITMAPINFOHEADER)) return {0, 0};
    return {header->biWidth, header->biHeight < 0 ? -header->biHeight : header->biHeight};
}

Bitmap LoadScaledBitmap(int id) {
    const int dpi = ScreenDpi();
    if (dpi == kBaseDpi) return LoadBitmapResource(id);
    const SIZE size96 = BitmapResourceSize(id);
    if (size96.cx <= 0 || size96.cy <= 0) return LoadBitmapResource(id);
    const int width = ScaleToDpi(size96.cx, dpi), height = ScaleToDpi(size96.cy, dpi);
    Bitmap drawn = LoadBitmapResource(ArtResourceId(id, NearestArtDpi(dpi)));
    if (!drawn) drawn = LoadBitmapResource(id);
    if (!drawn) return drawn;
    BITMAP info{};
    GetObjectA(drawn.Get(), sizeof(info), &info);
    if (info.bmWidth == width && info.bmHeight == height) return drawn;
    Bitmap resized = Resized(drawn.Get(), width, height);
    return resized ? std::move(resized) : std::move(drawn);
}

Icon LoadScaledIcon(int id, int width96, int height96) {
    const int dpi = ScreenDpi();
    const int width = ScaleToDpi(width96, dpi), height = ScaleToDpi(height96, dpi);
    if (dpi == kBaseDpi) return LoadIconResource(id, width, height);
    Icon icon = LoadIconResource(ArtResourceId(id, NearestArtDpi(dpi)), width, height);
    return icon ? std::move(icon) : LoadIconResource(id, width, height);
}

void LayOutDialogForDpi(HWND dialog, int templateId, DialogImages& images) {
    const int dpi = ScreenDpi();
    if (dpi == kBaseDpi || !dialog) return;
    DWORD size = 0;
    const void* data = ResourceData(templateId, kDialogType, &size);
    const DialogTemplateInfo layout =
        ParseDialogTemplate(static_cast<const std::uint8_t*>(data), size);
    if (!layout.valid) return;

    // The dialog manager makes the controls in template order, each at the
    // bottom of the z-order, so the children come in the same order.
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const DialogItem& item : layout.items) {
        if (!child) break;
        HWND control = child;
        child = GetWindow(child, GW_HWNDNEXT);
        if ((GetDlgCtrlID(control) & 0xFFFF) != item.id) continue;
        const Rect area96 = DialogUnitsAt96(item.x, item.y, item.cx, item.cy);
        const UINT kind = item.style & 0x1F;
        const bool imageStatic = item.classOrdinal == kStaticClass && item.imageId != 0 &&
                                 (kind == SS_BITMAP || kind == SS_ICON);
        const bool imageButton = item.classOrdinal == kButtonClass && kind == BS_OWNERDRAW;
        Rect area = imageButton ? ScaleSized(area96, dpi) : ScaleEdges(area96, dpi);
        if (imageStatic && kind == SS_BITMAP) {
            Bitmap bitmap = LoadScaledBitmap(item.imageId);
            if (bitmap) {
                HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(SendMessageA(
                    control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.Get())));
                // The static loaded the template's picture itself and
                // leaves it behind once replaced.
                if (previous) DeleteObject(previous);
                const SIZE size96 = BitmapResourceSize(item.imageId);
                area = ScaleSized({area96.left, area96.top, area96.left + size96.cx,
                                   area96.top + size96.cy}, dpi);
                images.bitmaps.push_back(std::move(bitmap));
            }
        } else if (imageStatic) {
            const int side96 = kTemplateIconSide96;
            Icon icon = LoadScaledIcon(item.imageId, side96, side96);
            if (icon) {
                SendMessageA(control, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.Get()));
                area = ScaleSized({area96.left, area96.top, area96.left + side96,
                                   area96.top + side96}, dpi);
                images.icons.push_back(std::move(icon));
            }
        }
        SetWindowPos(control, nullptr, area.left, area.top, area.Width(), area.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    if (!(GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD)) {
        const Rect client = ScaleEdges(DialogUnitsAt96(0, 0, layout.cx, layout.cy), dpi);
        RECT frame{0, 0, client.Width(), client.Height()};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
        SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace tv::ui
