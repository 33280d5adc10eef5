#include "manage/AddonSwitch.h"

#include "manage/AddonRemoval.h"
#include "manage/NameCheck.h"
#include "platform/Prompter.h"
#include "platform/TextCodec.h"
#include "restore/RegBackup.h"
#include "restore/RestoreFiles.h"

namespace tv {

// HKCU\Software is one key for both views on 64-bit Windows, so the
// setting is read and written without a view bit: both browsers share it.
const char kAddonSettingsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings";
const char16_t kAddonFlagsValue[] = u"Flags";

const char kAddonProtectedFromDisableTail[] = ",属于必须插件,已经取消了禁用操作";
const char kAddonSwitchFailedMessage[] =
    "无法写入 Internet Explorer 的插件设置，插件的状态没有改变，请刷新后再试。";
const char kRestoreAddonDisableSubject[] = "禁用IE插件";
const char kRestoreAddonEnableSubject[] = "启用IE插件";

namespace {

std::u16string Widened(const char* ascii) {
    std::u16string wide;
    for (; *ascii != '\0'; ++ascii) wide.push_back(static_cast<unsigned char>(*ascii));
    return wide;
}

// A name that can stand as one key below the settings key.
bool IsSettingName(const EntryName& entry) {
    const std::string& name = entry.Shown();
    if (name.empty() || entry.HasNul() || entry.Stored().find(u'\\') != std::u16string::npos) return false;
    // A trail byte may equal a backslash's; a character is what counts.
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(name[i]);
        if (byte >= 0x81 && byte <= 0xFE && i + 1 < name.size()) ++i;
        else if (byte == '\\') return false;
    }
    return true;
}

std::uint32_t FlagsOf(Registry& registry, RegHandle key) {
    std::uint32_t type = 0;
    unsigned char bytes[4] = {};
    std::uint32_t size = sizeof(bytes);
    if (registry.QueryValueW(key, kAddonFlagsValue, &type, bytes, &size) != kErrorSuccess) return 0;
    if (type != kRegDword || size != sizeof(bytes)) return 0;
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool IsEmptyKey(Registry& registry, RegHandle key) {
    std::u16string name;
    return registry.EnumValueW(key, 0, &name) == kErrorNoMoreItems &&
           registry.EnumKeyW(key, 0, &name) == kErrorNoMoreItems;
}

// Writes the row's new flags; false when the registry refused.
bool WriteFlags(Registry& registry, const std::u16string& id, std::uint32_t flags) {
    const std::u16string parent = Widened(kAddonSettingsKey);
    if (flags != 0) {
        RegHandle handle = 0;
        if (registry.CreateKeyW(kHkeyCurrentUser, parent + u"\\" + id, &handle) != kErrorSuccess)
            return false;
        RegKey key(registry, handle);
        const unsigned char bytes[4] = {static_cast<unsigned char>(flags), static_cast<unsigned char>(flags >> 8),
                                        static_cast<unsigned char>(flags >> 16),
                                        static_cast<unsigned char>(flags >> 24)};
        return registry.SetValueW(handle, kAddonFlagsValue, kRegDword, bytes, sizeof(bytes)) == kErrorSuccess;
    }
    RegKey key = RegKey::OpenW(registry, kHkeyCurrentUser, parent + u"\\" + id, kKeyAllAccess);
    if (!key) return true;  // nothing set: enabled already
    const long deleted = registry.DeleteValueW(key.Handle(), kAddonFlagsValue);
    if (deleted != kErrorSuccess && deleted != kErrorFileNotFound) return false;
    // The browser's manager removes the whole key on enabling; a key that
    // holds anything else of the browser's stays.
    if (IsEmptyKey(registry, key.Handle())) {
        key = RegKey();
        RegKey settings = RegKey::OpenW(registry, kHkeyCurrentUser, parent, kKeyAllAccess);
        if (settings) registry.DeleteKeyW(settings.Handle(), id);
    }
    return true;
}

}  // namespace

std::uint32_t ReadAddonFlags(Registry& registry, const AddonRow& row, const TextCodec& codec) {
    if (!IsSettingName(row.name)) return 0;
    RegKey key = RegKey::OpenW(registry, kHkeyCurrentUser,
                               Widened(kAddonSettingsKey) + u"\\" + row.name.Exact(codec), kKeyQueryValue);
    if (!key) return 0;
    return FlagsOf(registry, key.Handle());
}

bool IsAddonDisabled(Registry& registry, const AddonRow& row, const TextCodec& codec) {
    return (ReadAddonFlags(registry, row, codec) & kAddonDisabledFlag) != 0;
}

void SwitchAddons(const Platform& platform, const std::vector<AddonRow>& ticked, bool enable) {
    for (const AddonRow& row : ticked) {
        if (!enable && FindProtectedAddon(row.displayName)) continue;
        if (RefuseNulNames(platform, {&row.name})) return;
        if (!IsSettingName(row.name)) {
            platform.prompter->Ask(Prompt{kUnhandledNameMessage, "", kMbOk | kMbIconExclamation, 0});
            return;
        }
    }
    struct Change {
        std::u16string id;
        std::uint32_t flags;
    };
    std::vector<Change> changes;
    RegBackup backup(*platform.registry, *platform.codec);
    const char* subject = enable ? kRestoreAddonEnableSubject : kRestoreAddonDisableSubject;
    backup.Comment(RestoreHeading(subject));
    const AddonRow* only = nullptr;
    for (const AddonRow& row : ticked) {
        if (!enable && FindProtectedAddon(row.displayName)) continue;
        const std::uint32_t old = ReadAddonFlags(*platform.registry, row, *platform.codec);
        const std::uint32_t flags = enable ? old & ~kAddonDisabledFlag : old | kAddonDisabledFlag;
        if (((old ^ flags) & kAddonDisabledFlag) == 0) continue;  // already so
        const std::u16string id = row.name.Exact(*platform.codec);
        backup.AddValueOrAbsence(kHkeyCurrentUser, Widened(kAddonSettingsKey) + u"\\" + id, kAddonFlagsValue);
        changes.push_back({id, flags});
        only = &row;
    }
    if (!changes.empty()) {
        const std::string detail =
            changes.size() == 1 ? (only->displayName.empty() ? only->name.Shown() : only->displayName) : "";
        if (!SaveRestoreFile(platform, backup, subject, detail)) return;
    }
    bool failed = false;
    for (const AddonRow& row : ticked) {
        if (enable || !FindProtectedAddon(row.displayName)) continue;
        // No caption: the box is titled with the program's name.
        platform.prompter->Ask(Prompt{row.displayName + kAddonProtectedFromDisableTail, "",
                                      kMbOk | kMbIconExclamation, 0});
    }
    for (const Change& change : changes)
        failed = !WriteFlags(*platform.registry, change.id, change.flags) || failed;
    if (failed) platform.prompter->Ask(Prompt{kAddonSwitchFailedMessage, "", kMbOk | kMbIconExclamation, 0});
}

}  // namespace tv
