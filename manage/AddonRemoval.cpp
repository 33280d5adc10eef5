#include "manage/AddonRemoval.h"

#include "manage/AddonSources.h"
#include "manage/NameCheck.h"
#include "platform/Environment.h"
#include "platform/RegistryViews.h"
#include "platform/CodePageText.h"
#include "platform/Prompter.h"
#include "restore/RegBackup.h"
#include "platform/TextCodec.h"
#include "restore/RestoreFiles.h"
#include "platform/WideText.h"
#include "platform/Shell.h"

namespace tv {

namespace {

const char kRestoreAddonSubject[] = "删除IE插件";
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

// The restore file's line for a class file that was not unregistered.
const char kNoteHead[] = "未反注册文件：";
const char kNoteUserClassOnly[] = "只有当前用户注册了这个类，不以管理员身份加载它的文件";
const char kNoteUnsafeName[] = "文件名含有引号、控制字符或以反斜杠结尾，会改变命令行";
const char kNoteNotPlainPath[] = "不是完整的本地文件路径";
const char kNoteUserWritable[] =
    "文件不在 Windows 或 Program Files 文件夹中，普通用户也能改写，不以管理员身份加载";
const char kNoteNoTool[] = "找不到系统的 regsvr32.exe";
const char kNoteUserLocation[] = "这个插件由当前用户登记，只删除它的登记，不以管理员身份加载它的文件";
const char kNoteUserClassShown[] =
    "显示的名称或文件来自当前用户注册的类，只删除它的登记，不以管理员身份加载它的文件";
const char kNoteNoEnvironment[] = "无法取得系统的环境变量";

// A name that stands for one entry below its key, never for the key itself
// or a deeper path.
bool IsSingleName(const std::string& name) {
    return !name.empty() && text::FindChar(name, '\\') == text::npos;
}

// Folders below the Windows folder that Windows 7's default permissions
// let every user create files in: a file there is the user's choice.
const char* const kUserWritableWindowsFolders[] = {
    "Temp",
    "Tasks",
    "tracing",
    "debug",
    "Registration\\CRMLog",
    "System32\\Tasks",
    "System32\\Tasks_Migrated",
    "System32\\spool",
    "System32\\FxsTmp",
    "System32\\com\\dmp",
    "System32\\Microsoft\\Crypto\\RSA\\MachineKeys",
    "SysWOW64\\Tasks",
    "SysWOW64\\FxsTmp",
    "SysWOW64\\com\\dmp",
    "SysWOW64\\Microsoft\\Crypto\\RSA\\MachineKeys",
};

bool IsControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// "X:\a\b" with every name a plain one: nothing the system would read
// differently from the text ("..", ".", empty names, names ending in a dot
// or blank, which Windows drops), no short-name alias ("~") that could
// stand for a folder the checks name in full, no stream (":") or wildcard,
// no forward slash (another separator).
bool IsPlainDrivePath(const std::string& path) {
    if (path.size() < 4) return false;
    const unsigned char drive = static_cast<unsigned char>(path[0]);
    if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')) || path[1] != ':' ||
        path[2] != '\\')
        return false;
    std::size_t start = 3;
    for (;;) {
        std::size_t end = text::FindChar(path, '\\', start);
        if (end == text::npos) end = path.size();
        const std::string name = path.substr(start, end - start);
        if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
        for (char bad : {':', '/', '*', '?', '"', '<', '>', '|', '~'})
            if (text::FindChar(name, bad) != text::npos) return false;
        for (unsigned char byte : name)
            if (IsControl(byte)) return false;
        if (end == path.size()) return true;
        start = end + 1;
    }
}

bool IsBelow(const std::string& path, const std::string& folder) {
    return IsPlainDrivePath(folder) && path.size() > folder.size() + 1 &&
           text::StartsWithNoCase(path, folder + "\\");
}

// Control characters shown as '?' so the note stays one line of the file.
std::string Printable(const std::string& text) {
    std::string shown = text;
    for (char& c : shown)
        if (IsControl(static_cast<unsigned char>(c))) c = '?';
    return shown;
}

// What is done for one row's class: the tool started on the machine's
// file, or the note that says why not. The texts name the file exactly,
// whatever script it is in.
struct UnregisterStep {
    std::string application;  // empty: nothing is started
    std::u16string commandLine;
    std::u16string registerAgain;  // the command that registers the file again
    std::u16string note;
};

const char kRegisterAgainHead[] = "如需重新注册该文件，请以管理员身份运行：";

// The keys the class names and its own unregistration may take with it:
// its ProgIDs and its type library, each only by a single name.
// A key's default value exactly, whatever script it is in (the ANSI call
// turns other scripts into '?'); empty when there is none.
std::u16string ReadDefaultExactly(const RegKey& key) {
    std::string bytes;
    if (!key || key.ReadWholeW(u"", nullptr, &bytes) != kErrorSuccess) return {};
    const std::u16string text = utf16::FromBytes(bytes);
    return text.substr(0, text.find(u'\0'));
}

void BackUpClassNames(const Platform& platform, RegBackup& backup, const AddonRow& row) {
    const std::uint32_t view = row.classView != 0 ? kKeyWow64_64Key : 0;
    const std::string classKey = MachineClassPath("CLSID\\" + row.name.Shown(), row.classView);
    for (const char* named : {"ProgID", "VersionIndependentProgID", "TypeLib"}) {
        const RegKey key = RegKey::Open(*platform.registry, kHkeyLocalMachine,
                                        classKey + "\\" + named, kKeyRead | view);
        // Backed up by the name exactly: the code page's form of one in
        // another script may name another key.
        const std::u16string exact = ReadDefaultExactly(key);
        const std::string name = platform.codec->WideToAnsi(exact);
        if (!IsSingleName(name)) continue;
        const std::string path = std::string(named) == "TypeLib" ? "TypeLib\\" + name : name;
        const std::string keyPath = MachineClassPath(path, row.classView);
        if (platform.codec->AnsiToWide(name) == exact) {
            backup.AddKeyTree(kHkeyLocalMachine, keyPath, view);
        } else {
            // Not a class id: no view moves it, the name stands last.
            backup.AddKeyTree(kHkeyLocalMachine,
                              platform.codec->AnsiToWide(keyPath.substr(0, keyPath.size() - name.size())) + exact,
                              view);
        }
    }
}

// The file the machine's own registration of the class gives, in the
// view the class was read in. Never the user's class: Windows 7 shows a
// user's class through HKCR over the machine's, and whatever the user
// registered there must not choose what an administrator's process loads.
std::u16string MachineClassFile(Registry& registry, const AddonRow& row) {
    const RegKey server = RegKey::Open(registry, kHkeyLocalMachine,
                                       MachineClassPath("CLSID\\" + row.name.Shown() + "\\InprocServer32",
                                                        row.classView),
                                       kKeyRead | (row.classView != 0 ? kKeyWow64_64Key : 0));
    // Exactly, whatever script its folders are named in.
    return ReadDefaultExactly(server);
}

// The display name the machine's own registration of the class gives, as
// the scan reads one.
std::string MachineClassName(Registry& registry, const AddonRow& row) {
    const RegKey key = RegKey::Open(registry, kHkeyLocalMachine,
                                    MachineClassPath("CLSID\\" + row.name.Shown(), row.classView),
                                    kKeyRead | (row.classView != 0 ? kKeyWow64_64Key : 0));
    return ReadValueText(key, "");
}

// The user has a class of this id, in either view: Windows 7 shows it
// through HKCR over the machine's.
bool UserHasClass(Registry& registry, const AddonRow& row) {
    for (std::uint32_t view : {0u, static_cast<std::uint32_t>(kKeyWow64_32Key)})
        if (RegKey::Open(registry, kHkeyCurrentUser, UserClassPath("CLSID\\" + row.name.Shown(), view), kKeyRead))
            return true;
    return false;
}

// The file as the checks read it: a character the code page cannot hold
// stands as '#', which no folder the checks compare with has in its name.
std::string CheckedForm(const TextCodec& codec, const std::u16string& file) {
    std::string checked;
    for (char16_t unit : file) {
        const std::string one = unit >= 0xD800 && unit < 0xE000 ? "?" : codec.WideToAnsi(std::u16string(1, unit));
        checked += one == "?" && unit != u'?' ? "#" : one;
    }
    return checked;
}

UnregisterStep PlanUnregister(const Platform& platform, const SystemFolders& folders,
                              const std::vector<std::string>& programFiles, const AddonRow& row) {
    const TextCodec& codec = *platform.codec;
    UnregisterStep step;
    // An extension names no class: its registration is all there is.
    const AddonSource& source = AddonSourceByType(row.typeText);
    if (source.details != AddonDetails::ClassKey || !IsSingleName(row.name.Shown())) return step;
    // A class id is plain text: a name the code page cannot hold names no
    // class of the machine's, and the 8-bit form may name another.
    if (codec.AnsiToWide(row.name.Shown()) != row.name.Exact(codec)) return step;
    const std::u16string exact = MachineClassFile(*platform.registry, row);
    const std::string file = codec.WideToAnsi(exact);
    // The file the user saw, or else the machine's.
    const std::string& shown = row.file.empty() ? file : row.file;
    // A registration the user's programs can write names whatever class
    // they like, a machine's too: it only loses its entry.
    if (source.root != kHkeyLocalMachine) {
        step.note = codec.AnsiToWide(NotUnregisteredNote(
            shown.empty() ? UnregisterRefusal::NoFile : UnregisterRefusal::UserLocation, shown));
        return step;
    }
    // The 8-bit form names the file only when it gives the same text back.
    const bool whole = codec.AnsiToWide(file) == exact;
    if (file.empty()) {
        step.note = codec.AnsiToWide(NotUnregisteredNote(
            row.file.empty() ? UnregisterRefusal::NoFile : UnregisterRefusal::UserClassOnly, row.file));
        return step;
    }
    // What the row shows must be the machine's class itself: a class of
    // the user's would show a made-up name over the machine's file.
    if (UserHasClass(*platform.registry, row) || row.file != file ||
        row.displayName != MachineClassName(*platform.registry, row)) {
        step.note = codec.AnsiToWide(NotUnregisteredNote(UnregisterRefusal::UserClassShown, shown));
        return step;
    }
    const std::string checked = whole ? file : CheckedForm(codec, exact);
    UnregisterRefusal refusal = CheckUnregisterFile(checked, folders.windows, programFiles);
    if (refusal == UnregisterRefusal::None) {
        const std::string tool = UnregisterTool(folders, row.classView);
        if (tool.empty() || UnregisterCommand(folders, row.classView, checked).empty()) {
            refusal = UnregisterRefusal::NoTool;
        } else {
            // The command names the file exactly; the checks read `checked`.
            step.application = tool;
            step.commandLine = u"\"" + codec.AnsiToWide(tool) + u"\" /u /s \"" + exact + u"\"";
            step.registerAgain = u"\"" + codec.AnsiToWide(tool) + u"\" /s \"" + exact + u"\"";
        }
    }
    // The note names the file exactly: its 8-bit form stands in it once.
    const std::string note = NotUnregisteredNote(refusal, file);
    const std::size_t at = whole ? std::string::npos : note.find(file);
    step.note = at == std::string::npos ? codec.AnsiToWide(note)
                                        : codec.AnsiToWide(note.substr(0, at)) + exact +
                                              codec.AnsiToWide(note.substr(at + file.size()));
    return step;
}

// Keeps every registration the ticked rows lose, and the machine class key
// each started unregistration may take away, in one restore file, with a
// line for each file that is not unregistered. False when it could not be
// written: nothing may be removed then.
bool BackUpAddons(const Platform& platform, const std::vector<AddonRow>& ticked,
                  const std::vector<UnregisterStep>& steps) {
    RegBackup backup(*platform.registry, *platform.codec);
    backup.Comment(RestoreHeading(kRestoreAddonSubject));
    for (const UnregisterStep& step : steps) {
        if (!step.note.empty()) backup.Comment(step.note);
        if (!step.application.empty())
            backup.Comment(platform.codec->AnsiToWide(kRegisterAgainHead) + step.registerAgain);
    }
    const AddonRow* only = nullptr;
    int count = 0;
    for (std::size_t i = 0; i < ticked.size(); ++i) {
        const AddonRow& row = ticked[i];
        if (FindProtectedAddon(row.displayName)) continue;
        const AddonSource& source = AddonSourceByType(row.typeText);
        // Each key by the name the 64-bit view knows it by: the key the
        // removal opens, and the name the restore file must carry.
        const std::string path = DisplayedKeyPath(source.root, source.path, row.view);
        const std::uint32_t view = row.view != 0 ? kKeyWow64_64Key : 0;
        // By the exact name the removal deletes.
        const std::u16string name = row.name.Exact(*platform.codec);
        if (source.names == AddonNames::Values)
            backup.AddValue(source.root, path, name, view);
        else if (IsSingleName(row.name.Shown()) && name.find(u'\\') == std::u16string::npos)
            backup.AddKeyTree(source.root, platform.codec->AnsiToWide(path) + u"\\" + name, view);
        // The class key under its real root: the machine's, the one the
        // started tool unregisters. A user's class key is left alone.
        if (!steps[i].application.empty()) {
            const std::uint32_t classView = row.classView != 0 ? kKeyWow64_64Key : 0;
            backup.AddKeyTree(kHkeyLocalMachine, MachineClassPath("CLSID\\" + row.name.Shown(), row.classView),
                              classView);
            BackUpClassNames(platform, backup, row);
        }
        only = &row;
        ++count;
    }
    if (!backup.HasContent() && !backup.Failed()) return true;
    const std::string detail =
        count == 1 ? (only->displayName.empty() ? only->name.Shown() : only->displayName) : "";
    return SaveRestoreFile(platform, backup, kRestoreAddonSubject, detail);
}
}  // namespace

const ProtectedAddon* FindProtectedAddon(std::string_view displayName) {
    for (const ProtectedAddon& entry : kProtectedAddons) {
        if (text::EqualsNoCase(displayName, entry.name)) return &entry;
    }
    return nullptr;
}

std::string UnregisterTool(const SystemFolders& folders, std::uint32_t classView) {
    if (folders.system64 && (classView & kKeyWow64_32Key) != 0) {
        if (folders.windows.empty()) return {};
        return folders.windows + "\\SysWOW64\\regsvr32.exe";
    }
    if (folders.system.empty()) return {};
    return NativeSystemPath(folders, folders.system + "\\regsvr32.exe");
}

bool UnsafeFileNameForCommand(const std::string& file) {
    if (file.empty() || text::FindChar(file, '"') != text::npos) return true;
    for (unsigned char byte : file)
        if (IsControl(byte)) return true;
    // Backslashes before a quote escape it: "C:\a\" would go on past the
    // closing quote. A double-byte character ending in the same byte is
    // one character, not a backslash.
    return text::FindLastChar(file, '\\') == file.size() - 1;
}

std::string UnregisterCommand(const SystemFolders& folders, std::uint32_t classView,
                              const std::string& file) {
    const std::string tool = UnregisterTool(folders, classView);
    if (tool.empty() || UnsafeFileNameForCommand(file)) return {};
    return "\"" + tool + "\" /u /s \"" + file + "\"";
}

// The registration tool runs the add-on's own code with administrator
// rights: it loads the file and calls into it. A file in a folder the user
// may write is the user's code; loading it there would hand every program
// the user runs administrator rights. So only files below the Windows
// folder (outside its few folders every user may write) and the Program
// Files folders, whose default permissions let only administrators write,
// are unregistered; the others just lose their registration, and the
// restore file says so. The folders come from the system itself, never
// from the environment or the user's settings, and the path is compared as
// written only when nothing in it could make the system read it as another.
UnregisterRefusal CheckUnregisterFile(const std::string& file, const std::string& windowsFolder,
                                      const std::vector<std::string>& programFiles) {
    if (file.empty()) return UnregisterRefusal::NoFile;
    if (UnsafeFileNameForCommand(file)) return UnregisterRefusal::UnsafeName;
    if (!IsPlainDrivePath(file)) return UnregisterRefusal::NotPlainPath;
    for (const std::string& folder : programFiles)
        if (IsBelow(file, folder)) return UnregisterRefusal::None;
    if (!IsBelow(file, windowsFolder)) return UnregisterRefusal::UserWritable;
    for (const char* open : kUserWritableWindowsFolders)
        if (IsBelow(file, windowsFolder + "\\" + open)) return UnregisterRefusal::UserWritable;
    return UnregisterRefusal::None;
}

std::string NotUnregisteredNote(UnregisterRefusal refusal, const std::string& file) {
    const char* reason = nullptr;
    switch (refusal) {
    case UnregisterRefusal::None:
    case UnregisterRefusal::NoFile: return {};
    case UnregisterRefusal::UserClassOnly: reason = kNoteUserClassOnly; break;
    case UnregisterRefusal::UnsafeName: reason = kNoteUnsafeName; break;
    case UnregisterRefusal::NotPlainPath: reason = kNoteNotPlainPath; break;
    case UnregisterRefusal::UserWritable: reason = kNoteUserWritable; break;
    case UnregisterRefusal::NoTool: reason = kNoteNoTool; break;
    case UnregisterRefusal::UserLocation: reason = kNoteUserLocation; break;
    case UnregisterRefusal::UserClassShown: reason = kNoteUserClassShown; break;
    case UnregisterRefusal::NoEnvironment: reason = kNoteNoEnvironment; break;
    }
    return std::string(kNoteHead) + Printable(file) + "（" + reason + "）";
}

long DeleteAddonEntry(Registry& registry, const TextCodec& codec, const std::string& typeText,
                      const EntryName& name, std::uint32_t view) {
    const AddonSource& source = AddonSourceByType(typeText);
    // The copy the row was read from, by the name the 64-bit view knows it.
    RegKey key = RegKey::Open(registry, source.root, DisplayedKeyPath(source.root, source.path, view),
                              kKeyAllAccess | (view != 0 ? kKeyWow64_64Key : 0));
    if (!key) return kErrorFileNotFound;
    const std::u16string exact = name.Exact(codec);
    if (source.names == AddonNames::Values) return registry.DeleteValueW(key.Handle(), exact);
    if (exact.find(u'\\') != std::u16string::npos) return kErrorInvalidParameter;
    return registry.DeleteKeyW(key.Handle(), exact, key.View());
}

void RemoveAddons(const Platform& platform, const std::vector<AddonRow>& ticked) {
    // A name with a NUL would be cut by every call, and another entry kept
    // and deleted in its place: then nothing at all is done.
    for (const AddonRow& row : ticked)
        if (!FindProtectedAddon(row.displayName) && RefuseNulNames(platform, {&row.name}))
            return;
    const SystemFolders folders = SystemFoldersOf(platform);
    const std::vector<std::string> programFiles = platform.environment->ProgramFilesFolders();
    // The tool runs elevated with the system's own variables, never the
    // user's (a PATH of the user's would choose where the libraries the
    // class loads are found).
    ProcessEnvironment systemVariables;
    const bool haveVariables =
        platform.environment->SystemVariables(&systemVariables);
    std::vector<UnregisterStep> steps;
    for (const AddonRow& row : ticked) {
        UnregisterStep step = FindProtectedAddon(row.displayName)
                                  ? UnregisterStep{}
                                  : PlanUnregister(platform, folders, programFiles, row);
        if (!step.application.empty() && !haveVariables) {
            const std::string file = platform.codec->WideToAnsi(MachineClassFile(*platform.registry, row));
            step = UnregisterStep{};
            step.note = platform.codec->AnsiToWide(NotUnregisteredNote(UnregisterRefusal::NoEnvironment, file));
        }
        steps.push_back(std::move(step));
    }
    if (!BackUpAddons(platform, ticked, steps)) return;
    for (std::size_t i = 0; i < ticked.size(); ++i) {
        const AddonRow& row = ticked[i];
        if (const ProtectedAddon* entry = FindProtectedAddon(row.displayName)) {
            // No caption: the box is titled with the program's name.
            platform.prompter->Ask(Prompt{entry->message, "", kMbOk | kMbIconExclamation});
            continue;
        }
        if (const UnregisterStep& step = steps[i]; !step.application.empty()) {
            // Through the 8-bit call where the code page holds the command.
            const std::string command = platform.codec->WideToAnsi(step.commandLine);
            if (platform.codec->AnsiToWide(command) == step.commandLine)
                platform.shell->Start(step.application, command, kSwHide, &systemVariables);
            else
                platform.shell->StartW(platform.codec->AnsiToWide(step.application), step.commandLine, kSwHide,
                                       &systemVariables);
        }
        DeleteAddonEntry(*platform.registry, *platform.codec, row.typeText, row.name, row.view);
    }
}

}  // namespace tv
