#include "platform/RegBackup.h"

#include "platform/CodePageText.h"

namespace tv {

namespace {

// Deeper than any real key; keeps a looping store from recursing forever.
constexpr int kMaxDepth = 64;

std::string Join(const std::string& path, const std::string& name) {
    return path.empty() ? name : path + "\\" + name;
}

std::string FullName(RegHandle root, const std::string& path) {
    return Join(RootKeyName(root), path);
}

}  // namespace

RegBackup::RegBackup(Registry& registry, const TextCodec& codec)
    : registry_(registry), writer_(codec) {}

void RegBackup::Comment(const std::string& text) { writer_.Comment(text); }
void RegBackup::Comment(const std::u16string& text) { writer_.Comment(text); }

RegBackup::Read RegBackup::OpenForBackup(RegHandle parent, const std::string& path,
                                         std::uint32_t view, RegKey* key) {
    RegHandle handle = 0;
    const long status = registry_.OpenKey(parent, path, kKeyRead | view, &handle);
    if (status == kErrorSuccess) {
        *key = RegKey(registry_, handle);
        return Read::Found;
    }
    return status == kErrorFileNotFound ? Read::Absent : Read::Failed;
}

RegBackup::Read RegBackup::ReadValue(const RegKey& key, const std::string& name,
                                     std::uint32_t* type, std::string* data) {
    // The value may grow between the two calls: ask again a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::uint32_t size = 0;
        long status = key.Query(name, type, nullptr, &size);
        if (status == kErrorFileNotFound) return Read::Absent;
        if (status != kErrorSuccess) return Read::Failed;
        data->assign(size, '\0');
        status = key.Query(name, type, size == 0 ? nullptr : &(*data)[0], &size);
        if (status == kErrorMoreData) continue;
        if (status == kErrorFileNotFound) return Read::Absent;
        if (status != kErrorSuccess) return Read::Failed;
        data->resize(size);
        return Read::Found;
    }
    return Read::Failed;
}

void RegBackup::NameKey(RegHandle root, const std::string& path) {
    const std::string full = FullName(root, path);
    if (text::EqualsNoCase(full, lastKey_)) return;
    writer_.Key(root, path);
    lastKey_ = full;
}

bool RegBackup::AddValue(RegHandle root, const std::string& path, const std::string& name,
                         std::uint32_t view) {
    if (!FitsRegLine(path) || !FitsRegLine(name)) {
        failed_ = true;
        return false;
    }
    RegKey key;
    const Read opened = OpenForBackup(root, path, view, &key);
    if (opened == Read::Failed) failed_ = true;
    if (opened != Read::Found) return false;
    std::uint32_t type = 0;
    std::string data;
    const Read read = ReadValue(key, name, &type, &data);
    if (read == Read::Failed) failed_ = true;
    if (read != Read::Found) return false;
    NameKey(root, path);
    writer_.Value(name, type, data);
    hasContent_ = true;
    return true;
}

void RegBackup::AddValueOrAbsence(RegHandle root, const std::string& path,
                                  const std::string& name, std::uint32_t view) {
    if (!FitsRegLine(path) || !FitsRegLine(name)) {
        failed_ = true;
        return;
    }
    RegKey key;
    const Read opened = OpenForBackup(root, path, view, &key);
    if (opened == Read::Failed) {
        failed_ = true;
        return;
    }
    if (opened == Read::Absent) {
        // Find the outermost missing key: the change creates it and all
        // below it, so deleting it restores the tree as it was.
        std::string missing = path;
        for (;;) {
            const std::size_t slash = text::FindLastChar(missing, '\\');
            if (slash == text::npos) break;
            const std::string parent = missing.substr(0, slash);
            RegKey probe;
            const Read up = OpenForBackup(root, parent, view, &probe);
            if (up == Read::Failed) {
                failed_ = true;
                return;
            }
            if (up == Read::Found) break;
            missing = parent;
        }
        const std::string full = FullName(root, missing);
        for (const std::string& done : deletedKeys_)
            if (text::EqualsNoCase(done, full)) return;
        deletedKeys_.push_back(full);
        writer_.DeleteKey(root, missing);
        lastKey_.clear();
        hasContent_ = true;
        return;
    }
    std::uint32_t type = 0;
    std::string data;
    const Read read = ReadValue(key, name, &type, &data);
    if (read == Read::Failed) {
        failed_ = true;
        return;
    }
    NameKey(root, path);
    if (read == Read::Found) writer_.Value(name, type, data);
    else writer_.DeleteValue(name);
    hasContent_ = true;
}

void RegBackup::AddValueDeletion(RegHandle root, const std::string& path, const std::string& name) {
    if (!FitsRegLine(path) || !FitsRegLine(name)) {
        failed_ = true;
        return;
    }
    NameKey(root, path);
    writer_.DeleteValue(name);
    hasContent_ = true;
}

bool RegBackup::AddKeyTree(RegHandle root, const std::string& path, std::uint32_t view) {
    if (!FitsRegLine(path)) {
        failed_ = true;
        return false;
    }
    RegKey key;
    const Read opened = OpenForBackup(root, path, view, &key);
    if (opened == Read::Failed) failed_ = true;
    if (opened != Read::Found) return false;
    WriteTree(key, root, path, view, 0);
    hasContent_ = true;
    return true;
}

std::vector<std::string> RegBackup::AllNames(
    const RegKey& key, long (Registry::*enumerate)(RegHandle, std::uint32_t, std::string*)) {
    std::vector<std::string> names;
    for (std::uint32_t index = 0;; ++index) {
        std::string name;
        const long status = (registry_.*enumerate)(key.Handle(), index, &name);
        if (status == kErrorNoMoreItems) break;
        // A name that cannot be read (too long, or the key went away) would
        // be missing from the file: the tree is not whole.
        if (status != kErrorSuccess) {
            failed_ = true;
            break;
        }
        names.push_back(name);
    }
    return names;
}

void RegBackup::WriteTree(const RegKey& key, RegHandle root, const std::string& path,
                          std::uint32_t view, int depth) {
    NameKey(root, path);
    // What was just listed and then cannot be found by its name is there
    // all the same (a name the call cannot spell): the tree is not whole.
    for (const std::string& name : AllNames(key, &Registry::EnumValue)) {
        if (!FitsRegLine(name)) {
            failed_ = true;
            continue;
        }
        std::uint32_t type = 0;
        std::string data;
        const Read read = ReadValue(key, name, &type, &data);
        if (read != Read::Found) failed_ = true;
        if (read == Read::Found) writer_.Value(name, type, data);
    }
    if (depth >= kMaxDepth) {
        failed_ = true;
        return;
    }
    for (const std::string& name : AllNames(key, &Registry::EnumKey)) {
        if (!FitsRegLine(name)) {
            failed_ = true;
            continue;
        }
        RegKey sub;
        const Read opened = OpenForBackup(key.Handle(), name, view, &sub);
        if (opened != Read::Found) failed_ = true;
        if (opened == Read::Found) WriteTree(sub, root, Join(path, name), view, depth + 1);
    }
}

}  // namespace tv
