// One row of the startup list, and the icons a row can show.
#pragma once

#include <string>

#include "platform/EntryName.h"

namespace tv {

// Icon resources of the startup list.
constexpr int kIconNotice = 160;       // notice rows (screen saver, remote desktop)
constexpr int kIconWarning = 167;      // values viruses are known to change
constexpr int kIconFolderFile = 176;   // a startup-folder file without an icon of its own
constexpr int kIconRegistryFile = 178; // a registry entry whose file has no icon

struct StartupItem {
    // 启动项: value name, fixed label or file name. Removal acts on its
    // exact form; the list shows its code page's text, where a character
    // outside the code page is '?'.
    EntryName name;
    std::string path;     // 文件解析路径
    std::string root;     // 主键 ("HKEY_..." or, for a folder file, the path)
    std::string subkey;   // 子键: key path, with " [value]" for single values
    // Hidden column: "HKCU\" / "HKLM\" + subkey for registry rows; the full
    // path of the row's own file for startup-folder rows.
    EntryName hidden;
    // The file whose small shell icon the row shows (empty: none), and the
    // icon resource used when it has none.
    std::string iconFile;
    int iconResource = kIconRegistryFile;
};

}  // namespace tv
