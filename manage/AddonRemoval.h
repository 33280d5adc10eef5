// Removal of ticked add-ons: protected names are refused with a message,
// every other add-on is unregistered and its registration deleted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "manage/AddonScan.h"
#include "platform/Platform.h"
#include "platform/SystemFolders.h"

namespace tv {

// An add-on that is never removed, and what the user is told instead.
struct ProtectedAddon {
    const char* name;
    const char* message;
};

// The first protected entry whose name equals `displayName` without regard
// to case, or null.
const ProtectedAddon* FindProtectedAddon(std::string_view displayName);

// The registration tool of the system directory that serves the view the
// add-on's class was read in (SysWOW64 for the 32-bit view), by full path;
// empty when the system directory is unknown.
std::string UnregisterTool(const SystemFolders& folders, std::uint32_t classView);

// The command line that unregisters `file` silently with that tool, the
// file quoted as one argument. Empty when the tool is unknown or the file
// would change the command line (see UnsafeFileNameForCommand): then
// nothing is started.
std::string UnregisterCommand(const SystemFolders& folders, std::uint32_t classView,
                              const std::string& file);

// True for a file name that cannot stand quoted as one argument: empty, a
// double quote or a control character in it, or a backslash at its end
// (it would escape the closing quote).
bool UnsafeFileNameForCommand(const std::string& file);

// Why the registration tool is not started on an add-on's class file.
enum class UnregisterRefusal {
    None,           // it is started
    NoFile,         // no machine class names a file: nothing to say
    UserClassOnly,  // only the user's class names one
    UnsafeName,     // it would change the command line
    NotPlainPath,   // not a plain drive-absolute path
    UserWritable,   // not in a folder only administrators can write
    NoTool,         // the system directory is unknown
    UserLocation,   // registered where the user's programs can write
    UserClassShown, // the row shows a class of the user's
    NoEnvironment,  // the system's own variables are unknown
};

// Whether the elevated registration tool may load `file`: only a plain
// drive-absolute path below the Windows folder (outside its folders every
// user may write) or a Program Files folder.
UnregisterRefusal CheckUnregisterFile(const std::string& file, const std::string& windowsFolder,
                                      const std::vector<std::string>& programFiles);

// The restore file's line for a file that was not unregistered; empty when
// there is nothing to say.
std::string NotUnregisteredNote(UnregisterRefusal refusal, const std::string& file);

// Deletes exactly the registration `name` from the location the type text
// names, in the copy `view` read it from (its Wow6432Node copy for the
// 32-bit view, opened in the 64-bit view). Returns the registry status.
long DeleteAddonEntry(Registry& registry, const TextCodec& codec, const std::string& typeText,
                      const EntryName& name, std::uint32_t view = 0);

// Works through the ticked rows in order: a protected one gets its message
// (one box each, nothing removed); every other one has its registration
// deleted, and the class behind it is unregistered (not waited for, with
// the system's own variables as its environment) when the row comes from
// the machine's part of the registry, shows the machine's own class (no
// class of the user's, the machine's name and file) and that class names a
// file CheckUnregisterFile allows. When an unprotected row's name has a NUL
// in it, the user is told and nothing at all is done. Before
// anything is removed, the registrations and the machine class keys whose
// unregistration runs are kept in one restore file, which also says which
// files were not unregistered and why; when it cannot be written the user
// is told and nothing is removed.
void RemoveAddons(const Platform& platform, const std::vector<AddonRow>& ticked);

}  // namespace tv
