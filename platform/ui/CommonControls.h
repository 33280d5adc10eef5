// The common controls library's functions, taken from its copy in the
// system directory when first used (SystemFunction), never imported by
// name: comctl32 is no KnownDLL, so a copy planted beside the program
// would be loaded before the system's and run with the program's elevated
// rights. Once loaded by full path, later loads by name (by system DLLs)
// find this copy already in the process. Each function fails as the real
// one does when the library cannot be found.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace tv::ui {

bool InitCommonControlsFromSystem(DWORD classes);
HIMAGELIST ImageListCreate(int width, int height, UINT flags, int initial, int grow);
bool ImageListDestroy(HIMAGELIST list);
int ImageListGetImageCount(HIMAGELIST list);
bool ImageListRemoveAll(HIMAGELIST list);
// index -1 adds the icon; returns its index, or -1.
int ImageListReplaceIcon(HIMAGELIST list, int index, HICON icon);
COLORREF ImageListSetBkColor(HIMAGELIST list, COLORREF color);
bool ImageListSetImageCount(HIMAGELIST list, UINT count);
bool ImageListCopy(HIMAGELIST destination, int to, HIMAGELIST source, int from, UINT flags);

}  // namespace tv::ui
