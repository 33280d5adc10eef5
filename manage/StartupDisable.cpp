#include "manage/StartupDisable.h"

#include <array>
#include <optional>

#include "manage/CommandLineResolution.h"
#include "manage/NameCheck.h"
#include "manage/StartupCatalogue.h"
#include "manage/StartupScan.h"
#include "manage/TaskRemoval.h"
#include "manage/TaskSwitch.h"
#include "platform/Clock.h"
#include "platform/CodePageText.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/RegistryViews.h"
#include "platform/ShellLinks.h"
#include "platform/TextCodec.h"
#include "platform/WideText.h"
#include "restore/RegBackup.h"
#include "restore/RestoreFiles.h"

namespace tv {

const char kStartupRegRecords[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg";
const char kStartupFolderRecords[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupfolder";
const char kStartupRegRecordPrefix[] = "HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\";
const char kStartupFolderRecordPrefix[] =
    "HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupfolder\\";
const char kDisabledMark[] = "[已禁用]";
const char kRecordValueName[] = "TrimvexValueName";
const char kRecordValueType[] = "TrimvexValueType";
const char kRecordValueData[] = "TrimvexValueData";

const char kCannotDisableMessage[] =
    "该启动项不能禁用：只有 Run 类键中的值、启动文件夹中的文件和计划任务可以禁用。本次没有做任何更改。";
const char kPlaceTakenMessage[] =
    "原来的位置已有同名的启动项，没有覆盖它，该项仍为禁用。请先删除或改名那个同名项，再启用。";
const char kDisableFailedMessage[] = "无法记录或移动该启动项，本次没有做任何更改。";

namespace {

const char kDisableSubject[] = "禁用启动项";
const char kEnableSubject[] = "启用启动项";
// Record keys tried for one name: "name", "name (2)", ... A real system
// has a handful of records; this bound keeps a flood of planted ones from
// costing more than a moment.
constexpr int kMaxRecordNumber = 100;

void Tell(const Platform& platform, const char* text) {
    platform.prompter->Ask(Prompt{text, "", kMbOk | kMbIconExclamation, 0});
}

std::u16string Wide(const Platform& platform, const std::string& text) {
    return platform.codec->AnsiToWide(text);
}

std::string SzBytes(const std::u16string& text) {
    return utf16::ToBytes(text) + std::string(2, '\0');
}

long SetSz(Registry& registry, RegHandle key, const std::u16string& name, const std::u16string& text) {
    const std::string bytes = SzBytes(text);
    return registry.SetValueW(key, name, kRegSz, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

long SetDword(Registry& registry, RegHandle key, const std::u16string& name, std::uint32_t value) {
    unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                              static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return registry.SetValueW(key, name, kRegDword, bytes, 4);
}

// A value's type and raw bytes, however long; nullopt when it is absent or
// unreadable.
std::optional<std::string> ReadRaw(Registry& registry, RegHandle key, const std::u16string& name,
                                   std::uint32_t* type) {
    std::string data;
    if (registry.ReadWholeW(key, name, type, &data) != kErrorSuccess) return std::nullopt;
    return data;
}

// A REG_SZ of a record, up to its first NUL; nullopt when absent or of
// another type.
std::optional<std::u16string> ReadSz(Registry& registry, RegHandle key, const char16_t* name) {
    std::uint32_t type = 0;
    std::optional<std::string> bytes = ReadRaw(registry, key, name, &type);
    if (!bytes || (type != kRegSz && type != kRegExpandSz)) return std::nullopt;
    std::u16string text = utf16::FromBytes(*bytes);
    return text.substr(0, text.find(u'\0'));
}

// The three REG_SZ values a record must have, in the order named; nullopt
// when one is missing.
std::optional<std::array<std::u16string, 3>> ReadRequired(Registry& registry, RegHandle record,
                                                          const std::array<const char16_t*, 3>& names) {
    std::array<std::u16string, 3> texts;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::optional<std::u16string> text = ReadSz(registry, record, names[i]);
        if (!text) return std::nullopt;
        texts[i] = *text;
    }
    return texts;
}

bool Exists(Registry& registry, RegHandle key, const std::u16string& name) {
    std::uint32_t size = 0;
    const long status = registry.QueryValueW(key, name, nullptr, nullptr, &size);
    return status == kErrorSuccess || status == kErrorMoreData;
}

const char* RootName(RegHandle root) { return root == kHkeyLocalMachine ? "HKLM" : "HKCU"; }

// The key path as the list names it when it is one of the catalogue's
// Run-style keys below `root`, in either view; nullopt otherwise.
std::optional<std::string> CataloguedRunKey(const Platform& platform, RegHandle root,
                                            const std::string& path) {
    for (const StartupLocation& location : StartupCatalogue) {
        if (location.kind != LocationKind::AllValues || location.root != root) continue;
        for (std::uint32_t view : ViewsToRead(true, location.views)) {
            const std::string shown = DisplayedKeyPath(root, location.keyPath, view);
            if (text::EqualsNoCase(shown, path)) return shown;
        }
    }
    (void)platform;
    return std::nullopt;
}

// The first free record key below `records` for `base`.
std::optional<std::u16string> FreeRecordName(const Platform& platform, RegHandle records,
                                             const std::u16string& base, std::uint32_t view) {
    for (int number = 1; number <= kMaxRecordNumber; ++number) {
        std::u16string candidate = base;
        if (number > 1) candidate += Wide(platform, " (" + std::to_string(number) + ")");
        RegHandle probe = 0;
        const long status = platform.registry->OpenKeyW(records, candidate, kKeyRead | view, &probe);
        if (status == kErrorSuccess) {
            platform.registry->CloseKey(probe);
            continue;
        }
        if (status == kErrorFileNotFound) return candidate;
        return std::nullopt;
    }
    return std::nullopt;
}

void WriteDate(const Platform& platform, RegHandle record) {
    const LocalDateTime now = platform.clock->Now();
    Registry& registry = *platform.registry;
    SetDword(registry, record, u"YEAR", static_cast<std::uint32_t>(now.date.year));
    SetDword(registry, record, u"MONTH", static_cast<std::uint32_t>(now.date.month));
    SetDword(registry, record, u"DAY", static_cast<std::uint32_t>(now.date.day));
    SetDword(registry, record, u"HOUR", static_cast<std::uint32_t>(now.time.hour));
    SetDword(registry, record, u"MINUTE", static_cast<std::uint32_t>(now.time.minute));
    SetDword(registry, record, u"SECOND", static_cast<std::uint32_t>(now.time.second));
}

// The file name of a path without its folder and its extension.
std::u16string ItemOf(const std::u16string& path) {
    std::u16string name = path.substr(path.rfind(u'\\') == std::u16string::npos ? 0 : path.rfind(u'\\') + 1);
    const std::size_t dot = name.rfind(u'.');
    if (dot != std::u16string::npos && dot > 0) name.resize(dot);
    return name;
}

std::u16string ReplaceBackslashes(std::u16string text) {
    for (char16_t& unit : text)
        if (unit == u'\\') unit = u'^';
    return text;
}

// The two startup folders, exactly.
struct StartupFolders {
    std::u16string user;
    std::u16string common;
    std::u16string profile;
};

StartupFolders FoldersOf(const Platform& platform) {
    StartupFolders folders;
    folders.user = Wide(platform, ReadStartupFolder(platform, kHkeyCurrentUser, "Startup"));
    folders.common = Wide(platform, platform.environment->CommonStartupFolder());
    folders.profile = Wide(platform, platform.environment->ProfileFolder());
    return folders;
}

std::u16string FolderOfPath(const std::u16string& path) {
    const std::size_t slash = path.rfind(u'\\');
    return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

std::u16string PssFolder(const Platform& platform) {
    return Wide(platform, platform.environment->WindowsDirectory() + "\\pss");
}

// ---- Records ---------------------------------------------------------------

// Below HKLM, in the system's view: the record `name` of `records` (one of
// the two record keys).
std::u16string RecordPath(const Platform& platform, const char* records, const std::u16string& name) {
    return Wide(platform, records) + u"\\" + name;
}

// The record `name` of `records`, read by `parse` (nullopt when it does not
// hold); `found` false when there is no such record at all.
template <typename Parse>
auto ReadRecordAt(const Platform& platform, const char* records, const std::u16string& name, bool* found,
                  const Parse& parse) -> decltype(parse(RegHandle{})) {
    RegKey record = RegKey::OpenW(*platform.registry, kHkeyLocalMachine, RecordPath(platform, records, name),
                                  kKeyRead | SystemView(platform));
    *found = static_cast<bool>(record);
    if (!record) return std::nullopt;
    return parse(record.Handle());
}

// A record of `records` not written yet: its key name and its path.
struct NewRecord {
    std::u16string name;
    std::u16string path;
};

// A record key name of `records` no record has yet, for `base`; nullopt,
// told, when there is none.
std::optional<NewRecord> NewRecordFor(const Platform& platform, const char* records, const std::u16string& base) {
    const std::uint32_t view = SystemView(platform);
    RegKey parent = RegKey::Create(*platform.registry, kHkeyLocalMachine, records, view);
    const std::optional<std::u16string> name =
        parent ? FreeRecordName(platform, parent.Handle(), base, view) : std::nullopt;
    if (!name) {
        Tell(platform, kDisableFailedMessage);
        return std::nullopt;
    }
    return NewRecord{*name, RecordPath(platform, records, *name)};
}

void DeleteRecord(const Platform& platform, const char* records, const std::u16string& name) {
    const std::uint32_t view = SystemView(platform);
    RegKey parent = RegKey::Open(*platform.registry, kHkeyLocalMachine, records, kKeyAllAccess | view);
    if (parent) platform.registry->DeleteKeyW(parent.Handle(), name, view);
}

// ---- Run-style values ------------------------------------------------------

bool DisableValue(const Platform& platform, RegHandle root, const std::string& keyPath,
                  const std::u16string& name, const std::string& shownName) {
    Registry& registry = *platform.registry;
    const std::uint32_t view = SystemView(platform);
    RegKey key = RegKey::Open(registry, root, keyPath, kKeyAllAccess | view);
    if (!key) return true;  // gone meanwhile: the rescan shows it
    std::uint32_t type = 0;
    const std::optional<std::string> data = ReadRaw(registry, key.Handle(), name, &type);
    if (!data) return true;

    // A key's name holds no "\": a value name with one is kept in our own
    // value of the record.
    const std::optional<NewRecord> slot = NewRecordFor(platform, kStartupRegRecords, ReplaceBackslashes(name));
    if (!slot) return false;

    RegBackup backup(registry, *platform.codec);
    backup.Comment(RestoreHeading(kDisableSubject));
    backup.AddValue(root, keyPath, name, view);
    backup.AddNewKey(kHkeyLocalMachine, slot->path, view);
    if (backup.Failed() || !SaveRestoreFile(platform, backup, kDisableSubject, shownName)) return false;

    RegHandle record = 0;
    if (registry.CreateKeyW(kHkeyLocalMachine, slot->path, &record, view) != kErrorSuccess) {
        Tell(platform, kDisableFailedMessage);
        return false;
    }
    RegKey owned(registry, record, view);
    std::u16string text = utf16::FromBytes(*data);
    text = text.substr(0, text.find(u'\0'));
    const std::u16string resolved =
        Wide(platform, ResolveAutostartCommand(*platform.environment, *platform.files,
                                               platform.codec->WideToAnsi(text)));
    std::u16string item = ItemOf(resolved);
    if (item.empty()) item = name;
    long status = SetSz(registry, record, u"hkey", Wide(platform, RootName(root)));
    if (status == kErrorSuccess) status = SetSz(registry, record, u"key", Wide(platform, keyPath));
    if (status == kErrorSuccess) status = SetSz(registry, record, u"item", item);
    if (status == kErrorSuccess) status = SetSz(registry, record, u"command", text);
    if (status == kErrorSuccess) status = SetSz(registry, record, u"inimapping", u"0");
    if (status == kErrorSuccess) WriteDate(platform, record);
    if (status == kErrorSuccess && slot->name != name)
        status = SetSz(registry, record, Wide(platform, kRecordValueName), name);
    // "command" brings back a REG_SZ of the text with its NUL; anything else
    // keeps its own type and bytes.
    if (status == kErrorSuccess && (type != kRegSz || *data != SzBytes(text))) {
        status = SetDword(registry, record, Wide(platform, kRecordValueType), type);
        if (status == kErrorSuccess)
            status = registry.SetValueW(record, Wide(platform, kRecordValueData), kRegBinary, data->data(),
                                        static_cast<std::uint32_t>(data->size()));
    }
    if (status != kErrorSuccess) {
        // A half-written record would bring back the wrong value.
        owned.Close();
        DeleteRecord(platform, kStartupRegRecords, slot->name);
        Tell(platform, kDisableFailedMessage);
        return false;
    }
    registry.DeleteValueW(key.Handle(), name);
    return true;
}

// What a startupreg record says, checked: only a record naming a
// catalogued key is ever acted on.
struct RegRecord {
    RegHandle root = 0;
    std::string keyPath;  // as the list names it
    std::u16string valueName;
    std::u16string command;
    std::uint32_t type = kRegSz;
    std::string data;  // raw bytes to write back
};

std::optional<RegRecord> ReadRegRecord(const Platform& platform, RegHandle record,
                                       const std::u16string& recordName) {
    Registry& registry = *platform.registry;
    const auto texts = ReadRequired(registry, record, {u"hkey", u"key", u"command"});
    if (!texts) return std::nullopt;
    const auto& [hkey, key, command] = *texts;
    RegRecord parsed;
    if (utf16::EqualsNoCase(hkey, u"HKLM")) parsed.root = kHkeyLocalMachine;
    else if (utf16::EqualsNoCase(hkey, u"HKCU")) parsed.root = kHkeyCurrentUser;
    else return std::nullopt;
    // The key must read the same in the code page: a path it cannot spell
    // is no catalogue key.
    const std::string key8 = platform.codec->WideToAnsi(key);
    if (Wide(platform, key8) != key) return std::nullopt;
    const std::optional<std::string> catalogued = CataloguedRunKey(platform, parsed.root, key8);
    if (!catalogued) return std::nullopt;
    parsed.keyPath = *catalogued;
    parsed.valueName = recordName;
    if (const auto own = ReadSz(registry, record, Wide(platform, kRecordValueName).c_str())) parsed.valueName = *own;
    if (HasNul(parsed.valueName) || parsed.valueName.empty()) return std::nullopt;
    parsed.command = command;
    parsed.data = SzBytes(command);
    std::uint32_t ownType = 0;
    std::uint32_t dataType = 0;
    const auto typeBytes = ReadRaw(registry, record, Wide(platform, kRecordValueType), &ownType);
    const auto ownData = ReadRaw(registry, record, Wide(platform, kRecordValueData), &dataType);
    if (typeBytes && ownData && ownType == kRegDword && typeBytes->size() == 4) {
        const auto* b = reinterpret_cast<const unsigned char*>(typeBytes->data());
        parsed.type = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
        parsed.data = *ownData;
    }
    return parsed;
}

bool EnableValue(const Platform& platform, const std::u16string& recordName, const std::string& shownName) {
    Registry& registry = *platform.registry;
    const std::uint32_t view = SystemView(platform);
    const std::u16string recordPath = RecordPath(platform, kStartupRegRecords, recordName);
    bool found = false;
    const std::optional<RegRecord> parsed =
        ReadRecordAt(platform, kStartupRegRecords, recordName, &found,
                     [&](RegHandle record) { return ReadRegRecord(platform, record, recordName); });
    if (!found) return true;
    if (!parsed) return false;
    RegKey key = RegKey::Create(registry, parsed->root, parsed->keyPath, view);
    if (!key) {
        Tell(platform, kDisableFailedMessage);
        return false;
    }
    if (Exists(registry, key.Handle(), parsed->valueName)) {
        Tell(platform, kPlaceTakenMessage);
        return false;
    }
    RegBackup backup(registry, *platform.codec);
    backup.Comment(RestoreHeading(kEnableSubject));
    backup.AddKeyTree(kHkeyLocalMachine, recordPath, view);
    backup.AddValueDeletion(parsed->root, Wide(platform, parsed->keyPath), parsed->valueName);
    if (backup.Failed() || !SaveRestoreFile(platform, backup, kEnableSubject, shownName)) return false;
    if (registry.SetValueW(key.Handle(), parsed->valueName, parsed->type, parsed->data.data(),
                           static_cast<std::uint32_t>(parsed->data.size())) != kErrorSuccess) {
        Tell(platform, kDisableFailedMessage);
        return false;
    }
    DeleteRecord(platform, kStartupRegRecords, recordName);
    return true;
}

// ---- Startup-folder files --------------------------------------------------

bool DisableFile(const Platform& platform, const std::u16string& path, const std::string& shownName) {
    const StartupFolders folders = FoldersOf(platform);
    const std::u16string folder = FolderOfPath(path);
    // Only a file directly in one of the two folders: the system tool names
    // it by that folder, and only there does it start at logon.
    const bool user = !folders.user.empty() && utf16::EqualsNoCase(folder, folders.user);
    const bool common = !user && !folders.common.empty() && utf16::EqualsNoCase(folder, folders.common);
    if (!user && !common) {
        Tell(platform, kCannotDisableMessage);
        return false;
    }
    if (!platform.files->ExistsW(path)) return true;
    const std::u16string within = user ? folders.profile : folders.common;
    if (within.empty()) return true;

    const std::string pss8 = platform.environment->WindowsDirectory() + "\\pss";
    if (platform.files->CreateProtectedFolder(pss8) != ProtectedFolder::kUsable) {
        Tell(platform, kDisableFailedMessage);
        return false;
    }
    const std::u16string pss = Wide(platform, pss8);
    const std::u16string extension = user ? u".Startup" : u".CommonStartup";
    const std::u16string name = path.substr(folder.size() + 1);
    std::u16string backupPath;
    for (int number = 1; number <= kMaxRecordNumber && backupPath.empty(); ++number) {
        std::u16string candidate = pss + u"\\" + name;
        if (number > 1) candidate += Wide(platform, " (" + std::to_string(number) + ")");
        candidate += extension;
        if (!platform.files->ExistsW(candidate)) backupPath = candidate;
    }
    Registry& registry = *platform.registry;
    const std::uint32_t view = SystemView(platform);
    if (backupPath.empty()) {
        Tell(platform, kDisableFailedMessage);
        return false;
    }
    const std::optional<NewRecord> slot = NewRecordFor(platform, kStartupFolderRecords, ReplaceBackslashes(path));
    if (!slot) return false;

    RegBackup backup(registry, *platform.codec);
    backup.Comment(RestoreHeading(kDisableSubject));
    backup.Comment(Wide(platform, "启动文件已移到：") + backupPath);
    backup.Comment(Wide(platform, "恢复时请把它移回原来的位置：") + path);
    backup.AddNewKey(kHkeyLocalMachine, slot->path, view);
    std::unique_ptr<NewFile> restoreFile;
    if (backup.Failed() ||
        !SaveRestoreFile(platform, backup, kDisableSubject, shownName, nullptr, &restoreFile))
        return false;

    std::u16string command = path;
    if (utf16::EqualsNoCase(path.substr(path.size() >= 4 ? path.size() - 4 : 0), u".lnk")) {
        const auto targets = platform.links->ReadTargetsW({path});
        if (!targets.empty() && targets[0] && !targets[0]->empty()) command = Wide(platform, *targets[0]);
    }
    RegHandle record = 0;
    if (registry.CreateKeyW(kHkeyLocalMachine, slot->path, &record, view) != kErrorSuccess) {
        restoreFile->Discard();
        Tell(platform, kDisableFailedMessage);
        return false;
    }
    RegKey owned(registry, record, view);
    long status = SetSz(registry, record, u"path", path);
    if (status == kErrorSuccess) status = SetSz(registry, record, u"backup", backupPath);
    if (status == kErrorSuccess) status = SetSz(registry, record, u"backupExtension", extension);
    if (status == kErrorSuccess) status = SetSz(registry, record, u"location", folder);
    if (status == kErrorSuccess) status = SetSz(registry, record, u"command", command);
    if (status == kErrorSuccess) status = SetSz(registry, record, u"item", ItemOf(path));
    if (status == kErrorSuccess) WriteDate(platform, record);
    owned.Close();
    // The record is written before the file moves, so a file is never out
    // of its folder without one; a file that will not move takes its record
    // back with it.
    if (status != kErrorSuccess || !platform.files->MoveFileOutW(path, within, backupPath)) {
        DeleteRecord(platform, kStartupFolderRecords, slot->name);
        restoreFile->Discard();
        Tell(platform, kDisableFailedMessage);
        return false;
    }
    return true;
}

struct FolderRecord {
    std::u16string path;
    std::u16string backup;
    std::u16string command;
    bool user = false;
};

std::optional<FolderRecord> ReadFolderRecord(const Platform& platform, RegHandle record,
                                             const StartupFolders& folders, const std::u16string& pss) {
    Registry& registry = *platform.registry;
    const auto texts = ReadRequired(registry, record, {u"path", u"backup", u"location"});
    if (!texts) return std::nullopt;
    const auto& [path, backup, location] = *texts;
    FolderRecord parsed;
    parsed.path = path;
    parsed.backup = backup;
    const std::u16string folder = FolderOfPath(path);
    // Back only into one of the two startup folders, from the pss folder.
    parsed.user = !folders.user.empty() && utf16::EqualsNoCase(folder, folders.user);
    const bool common = !parsed.user && !folders.common.empty() && utf16::EqualsNoCase(folder, folders.common);
    if (!parsed.user && !common) return std::nullopt;
    if (!utf16::EqualsNoCase(location, folder)) return std::nullopt;
    if (!utf16::EqualsNoCase(FolderOfPath(backup), pss)) return std::nullopt;
    const std::u16string name = path.substr(folder.size() + 1);
    if (name.empty() || name == u"." || name == u".." || name.find(u'/') != std::u16string::npos)
        return std::nullopt;
    const auto command = ReadSz(registry, record, u"command");
    parsed.command = command ? *command : path;
    return parsed;
}

bool EnableFile(const Platform& platform, const std::u16string& recordName, const std::string& shownName) {
    Registry& registry = *platform.registry;
    const std::uint32_t view = SystemView(platform);
    const std::u16string recordPath = RecordPath(platform, kStartupFolderRecords, recordName);
    const StartupFolders folders = FoldersOf(platform);
    const std::u16string pss = PssFolder(platform);
    bool found = false;
    const std::optional<FolderRecord> parsed =
        ReadRecordAt(platform, kStartupFolderRecords, recordName, &found,
                     [&](RegHandle record) { return ReadFolderRecord(platform, record, folders, pss); });
    if (!found) return true;
    if (!parsed) return false;
    if (platform.files->ExistsW(parsed->path)) {
        Tell(platform, kPlaceTakenMessage);
        return false;
    }
    RegBackup backup(registry, *platform.codec);
    backup.Comment(RestoreHeading(kEnableSubject));
    backup.Comment(Wide(platform, "启动文件已移回：") + parsed->path);
    backup.AddKeyTree(kHkeyLocalMachine, recordPath, view);
    std::unique_ptr<NewFile> restoreFile;
    if (backup.Failed() ||
        !SaveRestoreFile(platform, backup, kEnableSubject, shownName, nullptr, &restoreFile))
        return false;
    // Into the user's folder through the same handle checks as removal: the
    // file moved is the one checked, and it lands in a plain folder.
    if (!platform.files->MoveFileOutW(parsed->backup, pss, parsed->path)) {
        restoreFile->Discard();
        Tell(platform, kDisableFailedMessage);
        return false;
    }
    DeleteRecord(platform, kStartupFolderRecords, recordName);
    return true;
}

// The record's key name when `hidden` is `prefix` and one key name.
std::optional<std::u16string> RecordNameOf(const Platform& platform, const std::u16string& hidden,
                                           const char* prefix) {
    const std::u16string wide = Wide(platform, prefix);
    if (hidden.size() <= wide.size() || hidden.compare(0, wide.size(), wide) != 0) return std::nullopt;
    std::u16string name = hidden.substr(wide.size());
    if (name.find(u'\\') != std::u16string::npos) return std::nullopt;
    return name;
}

std::u16string ExactHidden(const Platform& platform, const StartupRowTexts& row) {
    return row.hidden.Exact(*platform.codec);
}

bool HasPrefix(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

std::u16string FolderRecordName(const std::u16string& path) { return ReplaceBackslashes(path); }

bool IsDisabledRow(const StartupRowTexts& row) {
    return HasPrefix(row.hidden.Shown(), kStartupRegRecordPrefix) || HasPrefix(row.hidden.Shown(), kStartupFolderRecordPrefix);
}

bool DisableStartupItem(const Platform& platform, const StartupRowTexts& row) {
    if (RefuseNulNames(platform, {&row.name, &row.hidden})) return false;
    if (IsDisabledRow(row)) return false;
    if (IsTaskRow(row)) return SwitchTaskItem(platform, row, false);
    if (row.subkey.empty()) {
        const std::u16string path = ExactHidden(platform, row);
        if (path.empty()) return false;  // a notice row stands for no file
        return DisableFile(platform, path, row.name.Shown());
    }
    // Entries Windows needs keep their own message, as for removal.
    if (row.subkey == "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon [Userinit]" ||
        row.subkey == "SYSTEM\\CurrentControlSet\\Control\\Terminal Server\\Wds\\rdpwd [StartupPrograms]" ||
        (row.root == "HKEY_LOCAL_MACHINE" && text::FindNoCase(row.subkey, "\\Winlogon [Shell]") != text::npos)) {
        platform.prompter->Ask(Prompt{kProtectedStartupMessage, "", kMbOk, 0});
        return false;
    }
    const RegHandle root = row.root == "HKEY_LOCAL_MACHINE"  ? kHkeyLocalMachine
                           : row.root == "HKEY_CURRENT_USER" ? kHkeyCurrentUser
                                                             : 0;
    // Single values (shown with their name in brackets) share their value
    // with the system's own setting: there is no entry to take out.
    const std::optional<std::string> keyPath =
        root != 0 ? CataloguedRunKey(platform, root, row.subkey) : std::nullopt;
    if (!keyPath) {
        Tell(platform, kCannotDisableMessage);
        return false;
    }
    return DisableValue(platform, root, *keyPath, row.name.Exact(*platform.codec), row.name.Shown());
}

bool EnableStartupItem(const Platform& platform, const StartupRowTexts& row) {
    if (RefuseNulNames(platform, {&row.name, &row.hidden})) return false;
    if (IsTaskRow(row)) return SwitchTaskItem(platform, row, true);
    const std::u16string hidden = ExactHidden(platform, row);
    if (const auto name = RecordNameOf(platform, hidden, kStartupRegRecordPrefix))
        return EnableValue(platform, *name, row.name.Shown());
    if (const auto name = RecordNameOf(platform, hidden, kStartupFolderRecordPrefix))
        return EnableFile(platform, *name, row.name.Shown());
    return false;
}

void ScanDisabledStartupItems(const Platform& platform, std::vector<StartupItem>* items,
                              const std::function<bool()>& stop) {
    Registry& registry = *platform.registry;
    const std::uint32_t view = SystemView(platform);
    const auto stopped = [&stop] { return stop && stop(); };
    const auto names = [&](RegHandle parent) {
        std::vector<std::u16string> found;
        std::u16string name;
        for (std::uint32_t index = 0; !stopped(); ++index) {
            const long status = registry.EnumKeyW(parent, index, &name);
            if (status == kErrorMoreData) continue;
            if (status != kErrorSuccess) break;
            found.push_back(name);
        }
        return found;
    };
    // Each record's name, by the key it is below, until stopped.
    const auto eachRecord = [&](const char* records, const auto& take) {
        RegKey parent = RegKey::Open(registry, kHkeyLocalMachine, records, kKeyRead | view);
        if (!parent) return;
        for (const std::u16string& recordName : names(parent.Handle())) {
            if (stopped() || HasNul(recordName)) break;
            take(recordName);
        }
    };
    const TextCodec& codec = *platform.codec;
    eachRecord(kStartupRegRecords, [&](const std::u16string& recordName) {
        bool found = false;
        const std::optional<RegRecord> parsed =
            ReadRecordAt(platform, kStartupRegRecords, recordName, &found,
                         [&](RegHandle record) { return ReadRegRecord(platform, record, recordName); });
        if (!parsed) return;
        StartupItem item;
        item.name = EntryName::Of(parsed->valueName, codec);
        item.path = ResolveAutostartCommand(*platform.environment, *platform.files,
                                            codec.WideToAnsi(parsed->command));
        item.root = parsed->root == kHkeyLocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
        item.subkey = std::string(kDisabledMark) + " " + parsed->keyPath;
        item.hidden = EntryName::Of(Wide(platform, kStartupRegRecordPrefix) + recordName, codec);
        item.iconFile = item.path;
        item.iconResource = kIconRegistryFile;
        items->push_back(std::move(item));
    });
    const StartupFolders folders = FoldersOf(platform);
    const std::u16string pss = PssFolder(platform);
    eachRecord(kStartupFolderRecords, [&](const std::u16string& recordName) {
        bool found = false;
        const std::optional<FolderRecord> parsed =
            ReadRecordAt(platform, kStartupFolderRecords, recordName, &found,
                         [&](RegHandle record) { return ReadFolderRecord(platform, record, folders, pss); });
        if (!parsed) return;
        StartupItem item;
        item.name = EntryName::Of(parsed->path.substr(parsed->path.rfind(u'\\') + 1), codec);
        // As an enabled row shows it: the shortcut's target, or the
        // file's own path in lower case.
        item.path = parsed->command == parsed->path ? text::ToLower(codec.WideToAnsi(parsed->command))
                                                    : codec.WideToAnsi(parsed->command);
        item.root = item.path;
        item.subkey = kDisabledMark;
        item.hidden = EntryName::Of(Wide(platform, kStartupFolderRecordPrefix) + recordName, codec);
        item.iconFile = item.path;
        item.iconResource = kIconFolderFile;
        items->push_back(std::move(item));
    });
}

}  // namespace tv
