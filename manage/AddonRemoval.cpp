#include "manage/AddonRemoval.h"

#include "manage/AddonSources.h"
#include "platform/RegistryViews.h"
#include "platform/CodePageText.h"
#include "platform/Prompter.h"
#include "platform/RegBackup.h"
#include "platform/RestoreFiles.h"
#include "platform/Shell.h"

namespace tv {

namespace {

const char kFlashGetMessage[] = "FlashGet 网际快车下载工具,属于必须插件已经取消了卸载操作";
const char kGoogleMessage[] =
    "Google 搜索工具,属于安全插件已经取消了卸载操作,如果要删除请在[软件卸载]中删除";

const ProtectedAddon kProtectedAddons[] = {
    {"FlashGet", kFlashGetMessage},
    {"IeCatch2 Class", kFlashGetMessage},
    {"FlashGet Bar", kFlashGetMessage},
    {"ThunderIEHelper Class", "Thunder 讯雷下载工具必须插件,属于必须插件已经取消了卸载操作"},
    {"NXIECatcher Class", "影音传送带下载工具必备插件,属于必须插件已经取消了卸载操作"},
    {"NetXfer", "影音传送带下载工具插件,属于必须插件已经取消了卸载操作"},
    {"Microsoft Url 搜索挂接",
     "Microsoft Windows 自带网址定位系统组件,属于必须插件已经取消了卸载操作"},
    // An indirect string as the registry holds it, never expanded.
    {"@shdoclc.dll,-866", "Microsoft Windows 自带系统组件,属于必须插件已经取消了卸载操作"},
    {"卡卡上网安全助手",
     "瑞星卡卡安全助手,属于安全插件已经取消了卸载操作,如果要删除请在[软件卸载]中删除"},
    {"&Google", kGoogleMessage},
    {"Google Toolbar Helper", kGoogleMessage},
};

// A name that stands for one entry below its key, never for the key itself
// or a deeper path.
bool IsSingleName(const std::string& name) {
    return !name.empty() && text::FindChar(name, '\\') == text::npos;
}

// Keeps every registration the ticked rows lose, and the class key their
// unregistration takes away, in one restore file. False when it could not
// be written: nothing may be removed then.
bool BackUpAddons(const Platform& platform, const std::vector<AddonRow>& ticked) {
    RegBackup backup(*platform.registry, *platform.codec);
    backup.Comment(RestoreHeading(kRestoreAddonSubject));
    const AddonRow* only = nullptr;
    int count = 0;
    for (const AddonRow& row : ticked) {
        if (FindProtectedAddon(row.displayName)) continue;
        const AddonSource& source = AddonSourceByType(row.typeText);
        // Each key by the name the 64-bit view knows it by: the key the
        // removal opens, and the name the restore file must carry.
        const std::string path = DisplayedKeyPath(source.root, source.path, row.view);
        const std::uint32_t view = row.view != 0 ? kKeyWow64_64Key : 0;
        if (source.names == AddonNames::Values) backup.AddValue(source.root, path, row.name, view);
        else if (IsSingleName(row.name))
            backup.AddKeyTree(source.root, path + "\\" + row.name, view);
        if (source.details == AddonDetails::ClassKey && IsSingleName(row.name)) {
            const std::uint32_t classView = row.classView != 0 ? kKeyWow64_64Key : 0;
            backup.AddKeyTree(kHkeyClassesRoot,
                              DisplayedKeyPath(kHkeyClassesRoot, "CLSID\\" + row.name, row.classView),
                              classView);
        }
        only = &row;
        ++count;
    }
    if (!backup.HasContent() && !backup.Failed()) return true;
    const std::string detail = count == 1 ? (only->displayName.empty() ? only->name : only->displayName) : "";
    return SaveRestoreFile(platform, backup, kRestoreAddonSubject, detail);
}
}  // namespace

const ProtectedAddon* FindProtectedAddon(std::string_view displayName) {
    for (const ProtectedAddon& entry : kProtectedAddons) {
        if (text::EqualsNoCase(displayName, entry.name)) return &entry;
    }
    return nullptr;
}

std::string UnregisterCommand(const SystemFolders& folders, std::uint32_t classView,
                              const std::string& file) {
    std::string tool;
    if (folders.system64 && (classView & kKeyWow64_32Key) != 0) {
        if (folders.windows.empty()) return {};
        tool = folders.windows + "\\SysWOW64\\regsvr32.exe";
    } else {
        if (folders.system.empty()) return {};
        tool = NativeSystemPath(folders, folders.system + "\\regsvr32.exe");
    }
    std::string command = "\"" + tool + "\" /u /s ";
    // Nothing to quote in an empty path, and a quoted one stays as it is.
    if (file.empty() || file.front() == '"') return command + file;
    return command + "\"" + file + "\"";
}

long DeleteAddonEntry(Registry& registry, const std::string& typeText, const std::string& name,
                      std::uint32_t view) {
    const AddonSource& source = AddonSourceByType(typeText);
    // The copy the row was read from, by the name the 64-bit view knows it.
    RegKey key = RegKey::Open(registry, source.root, DisplayedKeyPath(source.root, source.path, view),
                              kKeyAllAccess | (view != 0 ? kKeyWow64_64Key : 0));
    if (!key) return kErrorFileNotFound;
    return source.names == AddonNames::Values ? key.DeleteValue(name) : key.DeleteSubKey(name);
}

void RemoveAddons(const Platform& platform, const std::vector<AddonRow>& ticked) {
    if (!BackUpAddons(platform, ticked)) return;
    const SystemFolders folders = SystemFoldersOf(platform);
    for (const AddonRow& row : ticked) {
        if (const ProtectedAddon* entry = FindProtectedAddon(row.displayName)) {
            // No caption: the box is titled with the program's name.
            platform.prompter->Ask(Prompt{entry->message, "", kMbOk | kMbIconExclamation});
            continue;
        }
        const std::string command = UnregisterCommand(folders, row.classView, row.file);
        if (!command.empty()) platform.shell->Run(command, kSwHide);
        DeleteAddonEntry(*platform.registry, row.typeText, row.name, row.view);
    }
}

}  // namespace tv
