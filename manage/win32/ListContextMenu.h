// The right-click menu of the management lists: copy the selected rows,
// show a row's file in Explorer, open the registry editor at a row's key,
// and save the whole list to a text file.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "manage/RegistryJump.h"
#include "platform/Platform.h"
#include "platform/ui/Controls.h"

namespace tv {

// The menu's items.
constexpr UINT kMenuCopyRows = 41001;
constexpr UINT kMenuOpenFileLocation = 41002;
constexpr UINT kMenuOpenInRegedit = 41003;
constexpr UINT kMenuExportList = 41004;

// What the menu needs to know of a list beyond what it shows.
struct ListMenuRows {
    // The column that holds a row's file; -1 for a list without files.
    int fileColumn = -1;
    // The registry key of row `index`, none where the row is not in the
    // registry; null for a list none of whose rows are.
    std::function<std::optional<RegistryPlace>(int index)> placeOf;
    // The file name the save dialog offers.
    std::string exportName;
};

// The text of a cell as the list gives it in UTF-16 (a name in any script
// whole), however long.
std::u16string ListCellW(const ui::ListView& list, int item, int column);

// Answers WM_CONTEXTMENU sent to `page` for `list` (from the mouse, on the
// row clicked, or from the keyboard, beside the focused row): shows the
// menu and does what is chosen. False for any other message or window.
bool HandleListContextMenu(const Platform& platform, HWND page, const ui::ListView& list,
                           const ListMenuRows& rows, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tv
