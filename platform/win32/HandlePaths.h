// Where an open file or folder really is, and changes made through its
// handle rather than by name: a name can be swapped for a link between a
// check and a change, a handle cannot. Used wherever this elevated program
// writes into or moves out of folders its user's programs can change.
#pragma once

#include <windows.h>

#include <string>

namespace tv {

// The path in the system code page as UTF-16.
std::wstring WidePath(const std::string& path);

// The path the handle's file or folder has on its volume, every link on the
// way resolved ("C:\...", or "\\server\share\..."). False when the platform
// cannot say (no such call before Vista, or a failure).
bool FinalPathOf(HANDLE handle, std::wstring* path);

// Case-insensitive comparisons of paths without trailing backslashes.
bool SamePath(const std::wstring& a, const std::wstring& b);
bool PathInside(const std::wstring& path, const std::wstring& folder);

// True when no part of `path` (a full "C:\..." path) is a junction or
// symbolic link. For systems without FinalPathOf; a check by names only.
bool NoLinkOnTheWay(const std::wstring& path);

// Marks the handle's file or folder for deletion when the handle closes.
// The handle needs DELETE access.
bool DiscardThroughHandle(HANDLE handle);

// Moves the handle's file into the folder open as `folder`, as `name`,
// never replacing a file there and never copying across volumes. The file
// handle needs DELETE access.
bool RenameInto(HANDLE file, HANDLE folder, const std::wstring& name);

}  // namespace tv
