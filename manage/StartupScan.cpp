#include "manage/StartupScan.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>

#include "manage/CommandLineResolution.h"
#include "manage/StartupCatalogue.h"
#include "manage/StartupDisable.h"
#include "manage/TaskScan.h"
#include "platform/CodePageText.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/RegistryViews.h"
#include "platform/ShellLinks.h"
#include "platform/TextCodec.h"
#include "platform/WideText.h"

namespace tv {

namespace {

// Room for the data of most values at the first read.
constexpr std::uint32_t kFirstReadSize = 256;

constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

const char* RootText(RegHandle root) {
    return root == kHkeyLocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

const char* RootPrefix(RegHandle root) {
    return root == kHkeyLocalMachine ? "HKLM\\" : "HKCU\\";
}

bool IsListed(const Platform& platform, ListedWhen when, const std::string& data) {
    switch (when) {
    case ListedWhen::Always:
        return true;
    case ListedWhen::NotEmpty:
        return !data.empty();
    case ListedWhen::DiffersFromExplorer:
        return !text::EqualsNoCase(data, "Explorer.exe");
    case ListedWhen::DiffersFromUserinit:
        return !text::EqualsNoCase(data,
                                   platform.environment->SystemDirectory() + "\\userinit.exe,");
    case ListedWhen::DiffersFromRdpclip:
        return !text::EqualsNoCase(data, "rdpclip");
    case ListedWhen::NotEmptyNorAutocheck:
        return !data.empty() && !text::EqualsNoCase(data, "autocheck autochk *");
    case ListedWhen::NotEmptyNorLogonScr:
        return !data.empty() &&
               !text::EqualsNoCase(data,
                                   platform.environment->WindowsDirectory() + "\\System32\\logon.scr");
    }
    return false;
}

std::string Resolve(const Platform& platform, const std::string& command) {
    return ResolveAutostartCommand(*platform.environment, *platform.files, command);
}

// The whole text of the value named exactly, in the code page, up to its
// first NUL; empty when it cannot be read.
std::string ReadWholeTextExact(const Platform& platform, const RegKey& key, const std::u16string& name) {
    std::string bytes;
    if (key.ReadWholeW(name, nullptr, &bytes) != kErrorSuccess) return {};
    const std::u16string wide = utf16::FromBytes(bytes);
    return platform.codec->WideToAnsi(wide.substr(0, wide.find(u'\0')));
}

// Every value of the key, each as a row. Names and data of any length are
// listed in full: a startup manager must not hide an entry. Each row keeps
// the value's exact name: the code page's form of a name in another script
// ("????") may be the name of another value.
void ScanAllValues(const Platform& platform, const StartupLocation& location, std::uint32_t view,
                   std::vector<StartupItem>* items, const std::function<bool()>& stop) {
    RegKey key = RegKey::Open(*platform.registry, location.root, location.keyPath, kKeyRead | view);
    if (!key) return;
    std::string name;
    for (std::uint32_t index = 0; !(stop && stop()); ++index) {
        // Name and data in one call; a value that does not fit is read in
        // full the long way.
        std::string data(kFirstReadSize + 2, '\0');
        std::uint32_t size = kFirstReadSize;
        long status = platform.registry->EnumValueData(key.Handle(), index, &name, nullptr,
                                                       data.data(), &size);
        std::u16string exact;
        if (status == kErrorSuccess) {
            data.resize(std::strlen(data.c_str()));
            if (platform.registry->EnumValueW(key.Handle(), index, &exact) == kErrorSuccess &&
                platform.codec->WideToAnsi(exact) != name) {
                // The values changed between the two calls: the data read
                // is that of another value.
                name = platform.codec->WideToAnsi(exact);
                data = ReadWholeTextExact(platform, key, exact);
            }
        } else if (status == kErrorMoreData) {
            status = platform.registry->EnumValueW(key.Handle(), index, &exact);
            if (status == kErrorMoreData) continue;  // that one value only
            if (status != kErrorSuccess) break;
            name = platform.codec->WideToAnsi(exact);
            data = ReadWholeTextExact(platform, key, exact);
        } else if (status == kErrorMoreData) {
            status = platform.registry->EnumValue(key.Handle(), index, &name);
            if (status == kErrorMoreData) continue;
            if (status != kErrorSuccess) break;
            data.clear();
            ReadWholeText(key, name, &data);
        } else {
            break;
        }
        StartupItem item;
        item.name = EntryName(name, exact);
        item.path = Resolve(platform, data);
        item.root = RootText(location.root);
        item.subkey = DisplayedKeyPath(location.root, location.keyPath, view);
        const std::string hidden = RootPrefix(location.root) + item.subkey;
        item.hidden = EntryName(hidden, platform.codec->AnsiToWide(hidden));
        item.iconFile = item.path;
        item.iconResource = kIconRegistryFile;
        items->push_back(std::move(item));
    }
}

void ScanOneValue(const Platform& platform, const StartupLocation& location, std::uint32_t view,
                  std::vector<StartupItem>* items) {
    RegKey key = RegKey::Open(*platform.registry, location.root, location.keyPath, kKeyRead | view);
    if (!key) return;
    std::string data;
    if (!ReadWholeText(key, location.valueName, &data)) return;
    if (!IsListed(platform, location.listedWhen, data)) return;
    StartupItem item;
    item.name = location.label;
    switch (location.pathShown) {
    case PathShown::Raw:
        item.path = data;
        break;
    case PathShown::Resolved:
        item.path = Resolve(platform, data);
        break;
    case PathShown::ResolvedWithExe:
        item.path = Resolve(platform, data + ".exe");
        break;
    }
    item.root = RootText(location.root);
    item.subkey = DisplayedKeyPath(location.root, location.keyPath, view) + " [" +
                  location.bracket + "]";
    item.hidden = RootPrefix(location.root) + item.subkey;
    if (location.iconResource == 0) {
        item.iconFile = item.path;
        item.iconResource = kIconRegistryFile;
    } else {
        item.iconResource = location.iconResource;
    }
    items->push_back(std::move(item));
}

}  // namespace

bool ReadWholeText(const RegKey& key, const std::string& name, std::string* text) {
    std::string data;
    if (key.ReadWhole(name, nullptr, &data) != kErrorSuccess) return false;
    text->assign(data.c_str());
    return true;
}

std::string ReadStartupFolder(const Platform& platform, RegHandle root, const std::string& value) {
    // The machine's folder as the system's own shell reads it.
    RegKey key = RegKey::Open(*platform.registry, root, kShellFolders, kKeyRead | SystemView(platform));
    std::string folder;
    if (!key || !ReadWholeText(key, value, &folder)) return {};
    return folder;
}

namespace {

// One walk of a startup folder: the folders it has been in, and those above
// the folder it started from, by identity, so that no folder is walked twice
// and none outside the tree is entered, whatever path leads there; and what
// is left of its bounds.
struct FolderWalk {
    FolderWalk(const Platform& p, const std::function<bool()>& s, std::vector<StartupItem>* i)
        : platform(p), stop(s), items(i) {}
    const Platform& platform;
    const std::function<bool()>& stop;
    std::set<FileIdentity> barred;
    std::vector<StartupItem>* items;
    // Rows of shortcuts, by index in `items`, whose targets are read
    // together once the walk is done.
    std::vector<size_t> shortcuts;
    // Entries of any kind the walk may still take from its listings.
    std::size_t entriesLeft = kMaxStartupFolderEntries;
    bool tooMany = false;
    // The first folder left unwalked for its depth.
    std::u16string tooDeep;
    bool stopped = false;
};

bool Stopped(FolderWalk& walk) {
    if (!walk.stopped && walk.stop && walk.stop()) walk.stopped = true;
    return walk.stopped;
}

// True when `folder` may be walked: its identity is known and neither walked
// nor above the start. It is barred from then on.
bool Enter(FolderWalk& walk, const std::u16string& folder) {
    FileIdentity identity;
    return walk.platform.files->FolderIdentityW(folder, &identity) &&
           walk.barred.insert(identity).second;
}

// The same question without barring it.
bool MayEnter(const FolderWalk& walk, const std::u16string& folder) {
    FileIdentity identity;
    return walk.platform.files->FolderIdentityW(folder, &identity) &&
           walk.barred.count(identity) == 0;
}

// True when `folder` has at least one entry; one is all that is read.
bool HoldsAnything(const FolderWalk& walk, const std::u16string& folder) {
    std::vector<FolderEntry> entries;
    bool more = false;
    return walk.platform.files->ListFolderUpToW(folder, 0, &entries, &more) && more;
}

void BarFoldersAbove(FolderWalk& walk, std::u16string folder) {
    while (folder.size() > 3 && folder.back() == u'\\') folder.pop_back();
    // A drive root ("C:\\") has nothing above it.
    while (folder.size() > 3) {
        std::size_t slash = folder.rfind(u'\\');
        if (slash == std::u16string::npos || slash == 0) return;
        folder.resize(slash == 2 ? 3 : slash);
        FileIdentity identity;
        if (walk.platform.files->FolderIdentityW(folder, &identity)) walk.barred.insert(identity);
    }
}

// Folders are walked, and rows name their files, by exact path: a name
// outside the code page reads as '?' in 8-bit text, which names no file.
void WalkFolder(FolderWalk& walk, const std::u16string& folder, int depth) {
    if (Stopped(walk)) return;
    std::vector<FolderEntry> entries;
    bool more = false;
    if (!walk.platform.files->ListFolderUpToW(folder, walk.entriesLeft, &entries, &more)) return;
    walk.entriesLeft -= std::min(entries.size(), walk.entriesLeft);
    walk.tooMany = walk.tooMany || more;
    for (const FolderEntry& entry : entries) {
        if (Stopped(walk)) return;
        const std::u16string exact = entry.name.Exact(*walk.platform.codec);
        const std::u16string own = folder + u"\\" + exact;
        if (entry.folder) {
            // A junction or symbolic link stands for a folder elsewhere: its
            // files are not startup files, and deleting them as such would
            // delete files outside the startup folders.
            if (entry.link || (!exact.empty() && exact[0] == u'.')) continue;
            if (depth >= kMaxStartupFolderDepth) {
                if (walk.tooDeep.empty() && MayEnter(walk, own) && HoldsAnything(walk, own))
                    walk.tooDeep = own;
            } else if (Enter(walk, own)) {
                WalkFolder(walk, own, depth + 1);
            }
            continue;
        }
        const std::string shown = walk.platform.codec->WideToAnsi(own);
        std::string path = text::ToLower(shown);
        std::size_t link = text::Find(path, ".lnk");
        const bool shortcut = link != text::npos && link > 0;
        if (!shortcut && text::FindNoCase(path, "desktop.ini") != text::npos) continue;
        if (shortcut) walk.shortcuts.push_back(walk.items->size());
        StartupItem item;
        item.name = EntryName::Of(exact, *walk.platform.codec);
        item.path = path;
        item.root = path;
        item.hidden = EntryName(shown, own);
        item.iconFile = path;
        item.iconResource = kIconFolderFile;
        walk.items->push_back(std::move(item));
    }
}

// Each shortcut row shows its target (or its own path, lower-cased, when it
// cannot be read); a row whose target is a desktop.ini goes, as one for the
// file itself does.
void ResolveShortcuts(FolderWalk& walk) {
    if (walk.shortcuts.empty() || Stopped(walk)) return;
    std::vector<StartupItem>& items = *walk.items;
    std::vector<std::u16string> paths;
    for (size_t index : walk.shortcuts) paths.push_back(items[index].hidden.Stored());
    const std::vector<std::optional<std::string>> targets =
        walk.platform.links->ReadTargetsW(paths, walk.stop);
    std::vector<bool> dropped(items.size(), false);
    const size_t read = std::min(walk.shortcuts.size(), targets.size());
    for (size_t i = 0; i < read; ++i) {
        StartupItem& item = items[walk.shortcuts[i]];
        if (targets[i]) item.path = item.root = item.iconFile = *targets[i];
        dropped[walk.shortcuts[i]] = text::FindNoCase(item.path, "desktop.ini") != text::npos;
    }
    size_t kept = walk.shortcuts.front();
    for (size_t i = kept; i < items.size(); ++i) {
        if (dropped[i]) continue;
        if (i != kept) items[kept] = std::move(items[i]);
        ++kept;
    }
    items.resize(kept);
}

// A row that says what a bound left out: it names the folder, shows the
// notice icon, and stands for no file (removing it removes nothing).
void AddNotice(FolderWalk& walk, const std::u16string& folder, const std::string& note) {
    StartupItem item;
    item.name = note;
    item.path = text::ToLower(walk.platform.codec->WideToAnsi(folder));
    item.root = item.path;
    item.iconResource = kIconNotice;
    walk.items->push_back(std::move(item));
}

}  // namespace

std::string TooManyEntriesNote() {
    return "（此文件夹中超过 " + std::to_string(kMaxStartupFolderEntries) + " 项，其余的未列出）";
}

std::string TooDeepNote() {
    return "（文件夹层次超过 " + std::to_string(kMaxStartupFolderDepth) + " 层，更深处的未列出）";
}

void ScanStartupFolder(const Platform& platform, const std::string& folder,
                       std::vector<StartupItem>* items, const std::function<bool()>& stop) {
    ScanStartupFolder(platform, platform.codec->AnsiToWide(folder), items, stop);
}

void ScanStartupFolder(const Platform& platform, const std::u16string& folder,
                       std::vector<StartupItem>* items, const std::function<bool()>& stop) {
    // An unreadable folder value must not turn into the current drive's root.
    if (folder.empty()) return;
    FolderWalk walk(platform, stop, items);
    BarFoldersAbove(walk, folder);
    if (Enter(walk, folder)) WalkFolder(walk, folder, 0);
    ResolveShortcuts(walk);
    if (walk.tooMany) AddNotice(walk, folder, TooManyEntriesNote());
    if (!walk.tooDeep.empty()) AddNotice(walk, walk.tooDeep, TooDeepNote());
}

std::vector<StartupItem> StartupScan(const Platform& platform, const std::function<bool()>& stop) {
    std::vector<StartupItem> items;
    const auto stopped = [&stop] { return stop && stop(); };
    for (const StartupLocation& location : StartupCatalogue) {
        if (stopped()) break;
        switch (location.kind) {
        case LocationKind::Folder:
            ScanStartupFolder(platform,
                              ReadStartupFolder(platform, location.root, location.valueName),
                              &items, stop);
            break;
        case LocationKind::AllValues:
            for (std::uint32_t view : ViewsToRead(platform, location.views))
                if (!stopped()) ScanAllValues(platform, location, view, &items, stop);
            break;
        case LocationKind::OneValue:
            for (std::uint32_t view : ViewsToRead(platform, location.views))
                if (!stopped()) ScanOneValue(platform, location, view, &items);
            break;
        }
    }
    std::vector<StartupItem> disabledTasks;
    if (!stopped()) ScanTasks(platform, &items, stop, &disabledTasks);
    // What was switched off, here or by the system configuration tool or
    // the Task Scheduler, after everything that is on.
    if (!stopped()) ScanDisabledStartupItems(platform, &items, stop);
    if (!stopped())
        for (StartupItem& item : disabledTasks) items.push_back(std::move(item));
    return items;
}

}  // namespace tv
