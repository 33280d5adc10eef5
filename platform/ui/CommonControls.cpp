#include "platform/ui/CommonControls.h"

#include "platform/win32/SystemLibrary.h"

namespace tv::ui {

namespace {

template <typename Function>
Function Comctl(const char* name) {
    return SystemFunctionAs<Function>("comctl32.dll", name);
}

}  // namespace

bool InitCommonControlsFromSystem(DWORD classes) {
    static const auto init = Comctl<decltype(&InitCommonControlsEx)>("InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls{sizeof(controls), classes};
    return init && init(&controls);
}

HIMAGELIST ImageListCreate(int width, int height, UINT flags, int initial, int grow) {
    static const auto create = Comctl<decltype(&ImageList_Create)>("ImageList_Create");
    return create ? create(width, height, flags, initial, grow) : nullptr;
}

bool ImageListDestroy(HIMAGELIST list) {
    static const auto destroy = Comctl<decltype(&ImageList_Destroy)>("ImageList_Destroy");
    return destroy && destroy(list);
}

int ImageListGetImageCount(HIMAGELIST list) {
    static const auto count = Comctl<decltype(&ImageList_GetImageCount)>("ImageList_GetImageCount");
    return count ? count(list) : 0;
}

bool ImageListRemoveAll(HIMAGELIST list) {
    static const auto remove = Comctl<decltype(&ImageList_Remove)>("ImageList_Remove");
    return remove && remove(list, -1);
}

int ImageListReplaceIcon(HIMAGELIST list, int index, HICON icon) {
    static const auto replace = Comctl<decltype(&ImageList_ReplaceIcon)>("ImageList_ReplaceIcon");
    return replace ? replace(list, index, icon) : -1;
}

COLORREF ImageListSetBkColor(HIMAGELIST list, COLORREF color) {
    static const auto set = Comctl<decltype(&ImageList_SetBkColor)>("ImageList_SetBkColor");
    return set ? set(list, color) : CLR_NONE;
}

bool ImageListSetImageCount(HIMAGELIST list, UINT count) {
    static const auto set = Comctl<decltype(&ImageList_SetImageCount)>("ImageList_SetImageCount");
    return set && set(list, count);
}

bool ImageListCopy(HIMAGELIST destination, int to, HIMAGELIST source, int from, UINT flags) {
    static const auto copy = Comctl<decltype(&ImageList_Copy)>("ImageList_Copy");
    return copy && copy(destination, to, source, from, flags);
}

}  // namespace tv::ui
