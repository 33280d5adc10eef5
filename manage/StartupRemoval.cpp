#include "manage/StartupRemoval.h"

#include "manage/NameCheck.h"
#include "manage/StartupDisable.h"
#include "manage/StartupScan.h"
#include "manage/TaskRemoval.h"
#include "manage/TaskSwitch.h"
#include "platform/CodePageText.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "restore/RegBackup.h"
#include "platform/Registry.h"
#include "platform/RegistryViews.h"
#include "restore/RestoreFiles.h"
#include "platform/WideText.h"
#include "platform/TextCodec.h"

namespace tv {

const char kProtectedStartupMessage[] =
    "Windows 运行需要该键,不能删除,如果病毒木马修改请单击\"安全修复\"即可恢复系统默认";
const char kDisabledRowRemovalMessage[] = "选中的启动项已被禁用，请先启用后再删除。";
const char kRestoreStartupSubject[] = "删除启动项";

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

// True when `path` lies in `folder` or one of its subfolders, ASCII letters
// compared without regard to case.
bool IsInside(const std::u16string& path, const std::u16string& folder) {
    return !folder.empty() && path.size() > folder.size() + 1 && path[folder.size()] == u'\\' &&
           utf16::StartsWithNoCase(path, folder);
}

// A startup-folder row stands for exactly its own file, kept in the hidden
// column; it is removed only when it still lies in one of the startup
// folders and carries the row's name (a shortcut goes, never its target).
// It is moved into the restore folder, with a restore file that says where
// it came from. False when that could not be prepared: nothing moved. A row
// that brings only its 8-bit texts names its file by their UTF-16 form.
// The checks, the move and the restore file's words all name that very
// file, whatever its name's script.
bool RemoveFolderFile(const Platform& platform, const StartupRowTexts& row) {
    const TextCodec& codec = *platform.codec;
    const std::u16string path = row.hidden.Exact(codec);
    const std::u16string name = row.name.Exact(codec);
    const std::size_t slash = path.rfind(u'\\');
    if (name.empty() || slash == std::u16string::npos || path.compare(slash + 1, std::u16string::npos, name) != 0)
        return true;
    // The user's folder is named by values the user's programs can write, so
    // its file must also lie, wherever links lead, in the user's profile; the
    // common folder is taken from the system. A file outside is never moved:
    // it may be one only administrators could touch.
    const std::u16string user = codec.AnsiToWide(ReadStartupFolder(platform, kHkeyCurrentUser, "Startup"));
    const std::u16string common = codec.AnsiToWide(platform.environment->CommonStartupFolder());
    std::u16string within;
    if (IsInside(path, user)) within = codec.AnsiToWide(platform.environment->ProfileFolder());
    else if (IsInside(path, common)) within = common;
    if (within.empty() || !platform.files->ExistsW(path)) return true;

    const std::u16string kept = RestoreFolderSlot(platform, name);
    if (kept.empty()) {
        TellRestoreFailed(platform);
        return false;
    }
    RegBackup backup(*platform.registry, codec);
    backup.Comment(RestoreHeading(kRestoreStartupSubject));
    backup.Comment(codec.AnsiToWide("启动文件已移到：") + kept);
    backup.Comment(codec.AnsiToWide("恢复时请把它移回原来的位置：") + path);
    std::unique_ptr<NewFile> restoreFile;
    if (!SaveRestoreFile(platform, backup, kRestoreStartupSubject, row.name.Shown(), nullptr, &restoreFile))
        return false;
    // A file that cannot be moved (in use, on another volume, or swapped for
    // a link) stays where it is, like one that cannot be deleted; its restore
    // file would then point nowhere.
    if (!platform.files->MoveFileOutW(path, within, kept)) restoreFile->Discard();
    return true;
}

// Keeps the values this click deletes in a restore file first. False when
// that fails: nothing may be deleted then.
bool BackUpValues(const Platform& platform, RegHandle root, const NamedValue* named,
                  const std::string& namedKeyPath, std::uint32_t view, const StartupRowTexts& row) {
    RegBackup backup(*platform.registry, *platform.codec);
    backup.Comment(RestoreHeading(kRestoreStartupSubject));
    if (named) backup.AddValue(root, namedKeyPath, named->value, view);
    backup.AddValue(root, row.subkey, row.name.Exact(*platform.codec), view);
    if (!backup.HasContent() && !backup.Failed()) return true;  // nothing to delete
    return SaveRestoreFile(platform, backup, kRestoreStartupSubject, row.name.Shown());
}

}  // namespace

bool RemoveStartupItem(const Platform& platform, const StartupRowTexts& row) {
    // A name with a NUL would be cut by every call: another entry would be
    // kept and deleted in its place.
    if (RefuseNulNames(platform, {&row.name, &row.hidden})) return false;
    // A disabled row stands for a record or a task switched off, not for a
    // running entry: the user enables it first.
    if (IsDisabledRow(row) || IsDisabledTaskRow(row)) {
        platform.prompter->Ask(Prompt{kDisabledRowRemovalMessage, "", kMbOk | kMbIconExclamation, 0});
        return false;
    }
    if (IsTaskRow(row)) return RemoveTaskItem(platform, row);
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

    const NamedValue* named = nullptr;
    std::string namedKeyPath;
    RegKey namedKey;
    for (const NamedValue& entry : kNamedValues) {
        // The value as listed from either view: its own key, or the 32-bit
        // copy of it.
        std::string keyPath = entry.keyPath;
        if (row.subkey != entry.subkey) {
            keyPath = DisplayedKeyPath(root, entry.keyPath, kKeyWow64_32Key);
            if (row.subkey != keyPath + " [" + entry.value + "]") continue;
        }
        named = &entry;
        namedKeyPath = keyPath;
        namedKey = RegKey::Open(*platform.registry, root, keyPath, kKeyAllAccess | view);
        if (namedKey && root == kHkeyLocalMachine && text::EqualsNoCase(entry.value, "shell")) {
            RefuseProtected(platform);
            return false;
        }
        break;
    }

    if (row.subkey.empty()) return RemoveFolderFile(platform, row);

    if (!BackUpValues(platform, root, named, namedKeyPath, view, row)) return false;
    if (namedKey) namedKey.DeleteValue(named->value);
    RegKey key = RegKey::Open(*platform.registry, root, row.subkey, kKeyAllAccess | view);
    if (!key) return true;
    // By its exact name: the code page's form of a name in another script
    // ("????") may be the name of another value.
    platform.registry->DeleteValueW(key.Handle(), row.name.Exact(*platform.codec));
    return true;
}

}  // namespace tv
