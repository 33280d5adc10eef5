#include "restore/RegBackup.h"

#include "platform/WideText.h"

namespace tv {

namespace {

// Deeper than any real key; keeps a looping store from recursing forever.
constexpr int kMaxDepth = 64;

std::u16string Join(const std::u16string& path, const std::u16string& name) {
    return path.empty() ? name : path + u"\\" + name;
}

// Key names match as the registry matches them: ASCII without case.
bool SameKeyName(const std::u16string& a, const std::u16string& b) { return utf16::EqualsNoCase(a, b); }

}  // namespace

RegBackup::RegBackup(Registry& registry, const TextCodec& codec)
    : registry_(registry), codec_(codec), writer_(codec) {}

void RegBackup::Comment(const std::string& text) { writer_.Comment(text); }
void RegBackup::Comment(const std::u16string& text) { writer_.Comment(text); }

RegBackup::Read RegBackup::OpenForBackup(RegHandle parent, const std::u16string& path,
                                         std::uint32_t view, RegKey* key) {
    RegHandle handle = 0;
    const long status = registry_.OpenKeyW(parent, path, kKeyRead | view, &handle);
    if (status == kErrorSuccess) {
        *key = RegKey(registry_, handle);
        return Read::Found;
    }
    return status == kErrorFileNotFound ? Read::Absent : Read::Failed;
}

RegBackup::Read RegBackup::ReadValue(const RegKey& key, const std::u16string& name,
                                     std::uint32_t* type, std::string* data) {
    const long status = key.ReadWholeW(name, type, data);
    if (status == kErrorSuccess) return Read::Found;
    return status == kErrorFileNotFound ? Read::Absent : Read::Failed;
}

void RegBackup::NameKey(RegHandle root, const std::u16string& path) {
    if (keyNamed_ && root == lastRoot_ && SameKeyName(path, lastKey_)) return;
    writer_.Key(root, path);
    keyNamed_ = true;
    lastRoot_ = root;
    lastKey_ = path;
}

bool RegBackup::AddValue(RegHandle root, const std::string& path, const std::string& name,
                         std::uint32_t view) {
    return AddValue(root, path, Wide(name), view);
}

bool RegBackup::AddValue(RegHandle root, const std::string& path8, const std::u16string& name,
                         std::uint32_t view) {
    const std::u16string path = Wide(path8);
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

void RegBackup::AddNewKey(RegHandle root, const std::u16string& path, std::uint32_t view) {
    if (!FitsRegLine(path)) {
        failed_ = true;
        return;
    }
    RegKey key;
    const Read opened = OpenForBackup(root, path, view, &key);
    if (opened == Read::Failed) failed_ = true;
    if (opened == Read::Absent) AddMissingKey(root, path, view);
}

void RegBackup::AddMissingKey(RegHandle root, const std::u16string& path, std::uint32_t view) {
    // The outermost missing key: the change creates it and all below it, so
    // deleting it restores the tree as it was.
    std::u16string missing = path;
    for (;;) {
        const std::size_t slash = missing.rfind(u'\\');
        if (slash == std::u16string::npos) break;
        const std::u16string parent = missing.substr(0, slash);
        RegKey probe;
        const Read up = OpenForBackup(root, parent, view, &probe);
        if (up == Read::Failed) {
            failed_ = true;
            return;
        }
        if (up == Read::Found) break;
        missing = parent;
    }
    for (const auto& done : deletedKeys_)
        if (done.first == root && SameKeyName(done.second, missing)) return;
    deletedKeys_.emplace_back(root, missing);
    writer_.DeleteKey(root, missing);
    keyNamed_ = false;
    hasContent_ = true;
}

void RegBackup::AddValueOrAbsence(RegHandle root, const std::string& path8,
                                  const std::string& name8, std::uint32_t view) {
    AddValueOrAbsence(root, Wide(path8), Wide(name8), view);
}

void RegBackup::AddValueOrAbsence(RegHandle root, const std::u16string& path,
                                  const std::u16string& name, std::uint32_t view) {
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
        AddMissingKey(root, path, view);
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
    AddValueDeletion(root, path, Wide(name));
}

void RegBackup::AddValueDeletion(RegHandle root, const std::string& path8,
                                 const std::u16string& name) {
    AddValueDeletion(root, Wide(path8), name);
}

void RegBackup::AddValueDeletion(RegHandle root, const std::u16string& path,
                                 const std::u16string& name) {
    if (!FitsRegLine(path) || !FitsRegLine(name)) {
        failed_ = true;
        return;
    }
    NameKey(root, path);
    writer_.DeleteValue(name);
    hasContent_ = true;
}

bool RegBackup::AddKeyTree(RegHandle root, const std::string& path8, std::uint32_t view) {
    return AddKeyTree(root, Wide(path8), view);
}

bool RegBackup::AddKeyTree(RegHandle root, const std::u16string& path, std::uint32_t view) {
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

std::vector<std::u16string> RegBackup::AllNames(
    const RegKey& key, long (Registry::*enumerate)(RegHandle, std::uint32_t, std::u16string*)) {
    std::vector<std::u16string> names;
    for (std::uint32_t index = 0;; ++index) {
        std::u16string name;
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

void RegBackup::WriteTree(const RegKey& key, RegHandle root, const std::u16string& path,
                          std::uint32_t view, int depth) {
    NameKey(root, path);
    // What was just listed and then cannot be found by its name is there
    // all the same (a name with a NUL in it, which no call can spell): the
    // tree is not whole.
    for (const std::u16string& name : AllNames(key, &Registry::EnumValueW)) {
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
    for (const std::u16string& name : AllNames(key, &Registry::EnumKeyW)) {
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
