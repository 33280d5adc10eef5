#include "manage/StartupRemoval.h"

#include "manage/StartupScan.h"
#include "platform/CodePageText.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/RegistryViews.h"

namespace tv {

const char kProtectedStartupMessage[] =
    "Windows 运行需要该键,不能删除,如果病毒木马修改请单击\"安全修复\"即可恢复系统默认";

namespace {

struct NamedValue {
    const char* subkey;
    const char* keyPath;
    const char* value;
};

constexpr NamedValue kNamedValues[] = {
    {"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows [Load]",
     "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Load"},
    {"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows [Run]",
     "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Run"},
    {"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon [Shell]",
     "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "Shell"},
    {"Software\\Microsoft\\Command Processor [AutoRun]", "Software\\Microsoft\\Command Processor",
     "AutoRun"},
    {"Software\\Microsoft\\Command Processor [Load]", "Software\\Microsoft\\Command Processor",
     "Load"},
    {"SYSTEM\\CurrentControlSet\\Control\\Session Manager [BootExecute]",
     "SYSTEM\\CurrentControlSet\\Control\\Session Manager", "BootExecute"},
    {"Control Panel\\Desktop [SCRNSAVE.EXE]", "Control Panel\\Desktop", "SCRNSAVE.EXE"},
};

constexpr const char* kProtectedSubkeys[] = {
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon [Userinit]",
    "SYSTEM\\CurrentControlSet\\Control\\Terminal Server\\Wds\\rdpwd [StartupPrograms]",
};

void RefuseProtected(const Platform& platform) {
    Prompt prompt;
    prompt.text = kProtectedStartupMessage;
    prompt.type = kMbOk;
    platform.prompter->Ask(prompt);
}

// True when `path` lies in `folder` or one of its subfolders.
bool IsInside(const std::string& path, const std::string& folder) {
    return !folder.empty() && text::StartsWithNoCase(path, folder + "\\");
}

// A startup-folder row stands for exactly its own file, kept in the hidden
// column; it is deleted only when it still lies in one of the startup
// folders and carries the row's name (a shortcut goes, never its target).
void RemoveFolderFile(const Platform& platform, const StartupRowTexts& row) {
    const std::string& path = row.hidden;
    std::size_t slash = text::FindLastChar(path, '\\');
    if (row.name.empty() || slash == text::npos || path.compare(slash + 1, std::string::npos, row.name) != 0)
        return;
    const std::string user = ReadStartupFolder(platform, kHkeyCurrentUser, "Startup");
    const std::string common = ReadStartupFolder(platform, kHkeyLocalMachine, "Common Startup");
    if (!IsInside(path, user) && !IsInside(path, common)) return;
    platform.files->RemoveFile(path);
}

}  // namespace

bool RemoveStartupItem(const Platform& platform, const StartupRowTexts& row) {
    for (const char* subkey : kProtectedSubkeys) {
        if (row.subkey == subkey) {
            RefuseProtected(platform);
            return false;
        }
    }
    const RegHandle root = row.root == "HKEY_LOCAL_MACHINE" ? kHkeyLocalMachine : kHkeyCurrentUser;
    // The row names its key as the 64-bit view sees it (a 32-bit copy by its
    // Wow6432Node path), so that view reaches exactly that key and no other.
    const std::uint32_t view = SystemView(platform);

    for (const NamedValue& named : kNamedValues) {
        // The value as listed from either view: its own key, or the 32-bit
        // copy of it.
        std::string keyPath = named.keyPath;
        if (row.subkey != named.subkey) {
            keyPath = DisplayedKeyPath(root, named.keyPath, kKeyWow64_32Key);
            if (row.subkey != keyPath + " [" + named.value + "]") continue;
        }
        RegKey key = RegKey::Open(*platform.registry, root, keyPath, kKeyAllAccess | view);
        if (key) {
            if (root == kHkeyLocalMachine && text::EqualsNoCase(named.value, "shell")) {
                RefuseProtected(platform);
                return false;
            }
            key.DeleteValue(named.value);
        }
        break;
    }

    if (!row.subkey.empty()) {
        RegKey key = RegKey::Open(*platform.registry, root, row.subkey, kKeyAllAccess | view);
        if (key) key.DeleteValue(row.name);
    } else {
        RemoveFolderFile(platform, row);
    }
    return true;
}

}  // namespace tv
