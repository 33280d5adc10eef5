// The autostart locations the startup list walks, in scan order.
#pragma once

#include <array>

#include "platform/Registry.h"
#include "platform/RegistryViews.h"

namespace tv {

enum class LocationKind {
    Folder,     // a startup folder named by a "Shell Folders" value
    AllValues,  // every value of the key
    OneValue,   // one named value
};

// When a single value is listed. Every "differs" test ignores letter case.
enum class ListedWhen {
    Always,
    NotEmpty,
    DiffersFromExplorer,       // "Explorer.exe"
    DiffersFromUserinit,       // system directory + "\userinit.exe,"
    DiffersFromRdpclip,        // "rdpclip"
    NotEmptyNorAutocheck,      // "autocheck autochk *"
    NotEmptyNorLogonScr,       // Windows directory + "\System32\logon.scr"
};

enum class PathShown { Resolved, Raw, ResolvedWithExe };

struct StartupLocation {
    RegHandle root;
    const char* keyPath;
    LocationKind kind;
    const char* valueName;  // the value read (Folder, OneValue)
    ListedWhen listedWhen;
    const char* label;      // column 0 of a single value
    const char* bracket;    // the value name as shown in column 3
    PathShown pathShown;
    int iconResource;       // 0: the file's own icon, else this resource
    ViewsRead views;        // on 64-bit Windows: the view(s) the system reads it in
};

extern const std::array<StartupLocation, 27> StartupCatalogue;

}  // namespace tv
