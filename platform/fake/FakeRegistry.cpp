#include "platform/fake/FakeRegistry.h"

#include <algorithm>
#include <cstring>

#include "platform/CodePageText.h"
#include "platform/RegistryViews.h"
#include "platform/WideText.h"
#include "platform/fake/PackedNames.h"

namespace tv {

namespace {

using packed::Pack;
using packed::Unpack;

// Every call takes its names as C strings, as Windows does: a name stops
// at its first NUL, so a name with a NUL in it reaches another entry (the
// one named by the part before it).
std::string C(const std::string& name) { return name.substr(0, name.find('\0')); }
std::u16string C(const std::u16string& name) { return name.substr(0, name.find(u'\0')); }

bool IsStringType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

}  // namespace

std::string FakeRegistry::In(const std::string& ansi) const {
    return packed::FromAnsi(ansi, codec_.get());
}

std::string FakeRegistry::Out(const std::string& packed) const {
    return packed::ToAnsi(packed, codec_.get());
}

std::string FakeRegistry::ToAnsiData(const std::string& wideBytes) const {
    // An odd last byte has no character to go to.
    return Out(Pack(utf16::FromBytes(wideBytes)));
}

std::string FakeRegistry::ToWideData(const std::string& ansi) const {
    return utf16::ToBytes(Unpack(In(ansi)));
}

struct FakeRegistry::Node {
    struct Value {
        std::string name;
        std::uint32_t type;
        std::string data;
        bool wide = false;  // string data written through the W-functions
    };

    std::string name;
    Node* parent = nullptr;  // null for the roots
    bool deleted = false;
    std::vector<std::shared_ptr<Node>> subkeys;  // kept in name order
    std::vector<Value> values;                   // in creation order

    std::vector<std::shared_ptr<Node>>::iterator LowerBound(
        const std::string& key) {
        return std::lower_bound(subkeys.begin(), subkeys.end(), key,
                                [](const std::shared_ptr<Node>& n,
                                   const std::string& k) {
                                    return text::CompareNoCase(n->name, k) < 0;
                                });
    }
    std::shared_ptr<Node> Find(const std::string& key) {
        auto it = LowerBound(key);
        if (it != subkeys.end() && text::EqualsNoCase((*it)->name, key)) {
            return *it;
        }
        return nullptr;
    }
    std::vector<Value>::iterator FindValue(const std::string& key) {
        return std::find_if(values.begin(), values.end(), [&](const Value& v) {
            return text::EqualsNoCase(v.name, key);
        });
    }
};

FakeRegistry::FakeRegistry(Views views)
    : views_(views),
      current_user_(std::make_shared<Node>()),
      local_machine_(std::make_shared<Node>()) {
    Walk(local_machine_, "Software\\Classes", true, &classes_);
}

FakeRegistry::~FakeRegistry() = default;

long FakeRegistry::Resolve(RegHandle key, std::uint32_t access,
                           std::shared_ptr<Node>* node) const {
    if (key == kHkeyCurrentUser) {
        *node = current_user_;
    } else if (key == kHkeyLocalMachine) {
        *node = local_machine_;
    } else if (key == kHkeyClassesRoot) {
        *node = classes_;
    } else {
        auto it = handles_.find(key);
        if (it == handles_.end()) return kErrorInvalidHandle;
        if ((it->second.access & access) != access) return kErrorAccessDenied;
        *node = it->second.node;
    }
    return (*node)->deleted ? kErrorKeyDeleted : kErrorSuccess;
}

long FakeRegistry::Walk(const std::shared_ptr<Node>& start,
                        const std::string& path, bool create,
                        std::shared_ptr<Node>* node) {
    if (!path.empty() && path[0] == '\\') return kErrorBadPathname;
    std::shared_ptr<Node> at = start;
    for (const std::string& part : SplitKeyPath(path)) {
        std::shared_ptr<Node> next = at->Find(part);
        if (!next) {
            if (!create) return kErrorFileNotFound;
            next = std::make_shared<Node>();
            next->name = part;
            next->parent = at.get();
            at->subkeys.insert(at->LowerBound(part), next);
        }
        at = next;
    }
    *node = at;
    return kErrorSuccess;
}

RegHandle FakeRegistry::AddHandle(std::shared_ptr<Node> node,
                                  std::uint32_t access) {
    const RegHandle handle = next_handle_;
    next_handle_ += 4;
    handles_[handle] = OpenHandle{std::move(node), access, false, std::string()};
    return handle;
}

long FakeRegistry::ClassNode(const std::string& path, bool create,
                              std::shared_ptr<Node>* node) const {
    std::shared_ptr<Node> user;
    if (Walk(current_user_, "Software\\Classes", false, &user) == kErrorSuccess &&
        Walk(user, path, false, node) == kErrorSuccess)
        return kErrorSuccess;
    return Walk(classes_, path, create, node);
}

bool FakeRegistry::ClassPath(RegHandle parent, const std::string& path, std::uint32_t access,
                             std::string* classPath) const {
    if (parent == kHkeyClassesRoot) {
        *classPath = ViewPath(parent, path, access);
        return true;
    }
    auto it = handles_.find(parent);
    if (it == handles_.end() || !it->second.viaClasses) return false;
    // A handle keeps no view: below it the whole path is redirected again,
    // in the view the call names (see Start).
    *classPath = it->second.classPath;
    if (!SplitKeyPath(path).empty()) *classPath += "\\" + path;
    *classPath = ViewPath(kHkeyClassesRoot, *classPath, access);
    return true;
}

std::string FakeRegistry::ViewPath(RegHandle parent, const std::string& path,
                                   std::uint32_t access) const {
    if (views_ == Views::One || !IsRootKey(parent)) return path;
    std::uint32_t view = access & kKeyWow64Views;
    if (view == 0) view = views_ == Views::TwoFor32BitProgram ? kKeyWow64_32Key : kKeyWow64_64Key;
    std::string real = DisplayedKeyPath(parent, path, view);
    // HKLM\Software\Wow6432Node\Classes is the same key as
    // HKLM\Software\Classes\Wow6432Node.
    const std::vector<std::string> parts = SplitKeyPath(real);
    if (parent == kHkeyLocalMachine && parts.size() >= 3 &&
        text::EqualsNoCase(parts[0], "Software") && text::EqualsNoCase(parts[1], "Wow6432Node") &&
        text::EqualsNoCase(parts[2], "Classes")) {
        real = "Software\\Classes\\Wow6432Node";
        for (std::size_t i = 3; i < parts.size(); ++i) real += "\\" + parts[i];
    }
    return real;
}

long FakeRegistry::OpenKey(RegHandle parent, const std::string& path,
                           std::uint32_t access, RegHandle* key) {
    return OpenOrCreate(parent, In(C(path)), false, access, key);
}

long FakeRegistry::CreateKey(RegHandle parent, const std::string& path,
                             RegHandle* key, std::uint32_t view) {
    return OpenOrCreate(parent, In(C(path)), true, kKeyAllAccess | (view & kKeyWow64Views), key);
}

long FakeRegistry::OpenKeyW(RegHandle parent, const std::u16string& path,
                            std::uint32_t access, RegHandle* key) {
    return OpenOrCreate(parent, Pack(C(path)), false, access, key);
}

long FakeRegistry::CreateKeyW(RegHandle parent, const std::u16string& path,
                              RegHandle* key, std::uint32_t view) {
    return OpenOrCreate(parent, Pack(C(path)), true, kKeyAllAccess | (view & kKeyWow64Views), key);
}

long FakeRegistry::QueryValue(RegHandle key, const std::string& name, std::uint32_t* type,
                              void* data, std::uint32_t* size) {
    return Query(key, In(C(name)), false, type, data, size);
}

long FakeRegistry::QueryValueW(RegHandle key, const std::u16string& name, std::uint32_t* type,
                               void* data, std::uint32_t* size) {
    return Query(key, Pack(C(name)), true, type, data, size);
}

long FakeRegistry::SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                            const void* data, std::uint32_t size) {
    return Set(key, In(C(name)), false, type, data, size);
}

long FakeRegistry::SetValueW(RegHandle key, const std::u16string& name, std::uint32_t type,
                             const void* data, std::uint32_t size) {
    return Set(key, Pack(C(name)), true, type, data, size);
}

long FakeRegistry::SetValueCountedW(RegHandle key, const std::u16string& name, std::uint32_t type,
                                    const void* data, std::uint32_t size) {
    return Set(key, Pack(name), true, type, data, size);
}

long FakeRegistry::DeleteValue(RegHandle key, const std::string& name) {
    return RemoveValue(key, In(C(name)));
}

long FakeRegistry::DeleteValueW(RegHandle key, const std::u16string& name) {
    return RemoveValue(key, Pack(C(name)));
}

long FakeRegistry::DeleteKey(RegHandle parent, const std::string& subkey, std::uint32_t view) {
    return RemoveKey(parent, In(C(subkey)), view);
}

long FakeRegistry::DeleteKeyW(RegHandle parent, const std::u16string& subkey,
                              std::uint32_t view) {
    return RemoveKey(parent, Pack(C(subkey)), view);
}

long FakeRegistry::EnumValue(RegHandle key, std::uint32_t index, std::string* name) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (name == nullptr) return kErrorInvalidParameter;
    std::string packed;
    const long rc = ValueAt(key, index, &packed);
    if (rc != kErrorSuccess) return rc;
    std::string ansi = Out(packed);
    if (ansi.size() >= kValueNameBufferSize) return kErrorMoreData;
    *name = std::move(ansi);
    return kErrorSuccess;
}

long FakeRegistry::EnumValueW(RegHandle key, std::uint32_t index, std::u16string* name) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (name == nullptr) return kErrorInvalidParameter;
    std::string packed;
    const long rc = ValueAt(key, index, &packed);
    if (rc != kErrorSuccess) return rc;
    std::u16string wide = Unpack(packed);
    if (wide.size() >= kValueNameBufferSize) return kErrorMoreData;
    *name = std::move(wide);
    return kErrorSuccess;
}

long FakeRegistry::EnumKey(RegHandle key, std::uint32_t index, std::string* name) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (name == nullptr) return kErrorInvalidParameter;
    std::string packed;
    const long rc = KeyAt(key, index, &packed);
    if (rc != kErrorSuccess) return rc;
    std::string ansi = Out(packed);
    if (ansi.size() >= kKeyNameBufferSize) return kErrorMoreData;
    *name = std::move(ansi);
    return kErrorSuccess;
}

long FakeRegistry::EnumKeyW(RegHandle key, std::uint32_t index, std::u16string* name) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (name == nullptr) return kErrorInvalidParameter;
    std::string packed;
    const long rc = KeyAt(key, index, &packed);
    if (rc != kErrorSuccess) return rc;
    std::u16string wide = Unpack(packed);
    if (wide.size() >= kKeyNameBufferSize) return kErrorMoreData;
    *name = std::move(wide);
    return kErrorSuccess;
}

long FakeRegistry::Start(RegHandle parent, const std::string& path, std::uint32_t access,
                         std::shared_ptr<Node>* start, std::string* walk) const {
    long rc = Resolve(parent, 0, start);
    if (rc != kErrorSuccess) return rc;
    if (!path.empty() && path[0] == '\\') return kErrorBadPathname;
    if (views_ == Views::One) {
        *walk = path;
    } else if (IsRootKey(parent)) {
        *walk = ViewPath(parent, path, access);
    } else {
        // A handle keeps no view: below it the path is redirected again,
        // as the whole path from its root, in the view the call asks for
        // (the program's own without a view bit). Windows 7 does this; Wine
        // stays in the handle's view.
        std::string full = path;
        const Node* at = start->get();
        for (; at->parent != nullptr; at = at->parent) full = at->name + "\\" + full;
        const RegHandle root = at == local_machine_.get() ? kHkeyLocalMachine : kHkeyCurrentUser;
        *start = root == kHkeyLocalMachine ? local_machine_ : current_user_;
        *walk = ViewPath(root, full, access);
    }
    return kErrorSuccess;
}

long FakeRegistry::OpenOrCreate(RegHandle parent, const std::string& path,
                                bool create, std::uint32_t access,
                                RegHandle* key) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (key == nullptr) return kErrorInvalidParameter;
    if ((access & kKeyWow64Views) != 0) view_bits_seen_ = true;
    std::shared_ptr<Node> node;
    long rc = Resolve(parent, 0, &node);
    std::string classPath;
    const bool viaClasses = rc == kErrorSuccess && ClassPath(parent, path, access, &classPath);
    if (rc == kErrorSuccess && !path.empty() && path[0] == '\\') rc = kErrorBadPathname;
    std::string walk;
    if (rc == kErrorSuccess && viaClasses) {
        rc = ClassNode(classPath, create, &node);
    } else if (rc == kErrorSuccess) {
        rc = Start(parent, path, access, &node, &walk);
        if (rc == kErrorSuccess) rc = Walk(node, walk, create, &node);
    }
    if (rc != kErrorSuccess) return rc;
    // An empty path on a root hands back the root itself.
    if (IsRootKey(parent) && SplitKeyPath(path).empty()) {
        *key = parent;
        return kErrorSuccess;
    }
    *key = AddHandle(node, access);
    if (viaClasses) {
        handles_[*key].viaClasses = true;
        handles_[*key].classPath = classPath;
    }
    return kErrorSuccess;
}

long FakeRegistry::Query(RegHandle key, const std::string& name, bool wide,
                         std::uint32_t* type, void* data, std::uint32_t* size) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    std::shared_ptr<Node> node;
    const long rc = Resolve(key, kKeyQueryValue, &node);
    if (rc != kErrorSuccess) return rc;
    if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
    const auto value = node->FindValue(name);
    if (value == node->values.end()) return kErrorFileNotFound;
    std::string converted;
    const std::string* bytes = &value->data;
    if (IsStringType(value->type) && value->wide != wide) {
        converted = wide ? ToWideData(value->data) : ToAnsiData(value->data);
        bytes = &converted;
    }
    const auto needed = static_cast<std::uint32_t>(bytes->size());
    if (type != nullptr) *type = value->type;
    if (data != nullptr && *size < needed) {
        *size = needed;
        return kErrorMoreData;
    }
    if (data != nullptr) std::memcpy(data, bytes->data(), needed);
    if (size != nullptr) *size = needed;
    return kErrorSuccess;
}

long FakeRegistry::Set(RegHandle key, const std::string& name, bool wide,
                       std::uint32_t type, const void* data, std::uint32_t size) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    std::shared_ptr<Node> node;
    const long rc = Resolve(key, kKeySetValue, &node);
    if (rc != kErrorSuccess) return rc;
    if (data == nullptr && size != 0) return kErrorInvalidParameter;
    std::string bytes(static_cast<const char*>(data), data ? size : 0);
    const auto value = node->FindValue(name);
    if (value != node->values.end()) {
        value->type = type;
        value->data = std::move(bytes);
        value->wide = wide;
    } else {
        node->values.push_back(Node::Value{name, type, std::move(bytes), wide});
    }
    return kErrorSuccess;
}

long FakeRegistry::RemoveValue(RegHandle key, const std::string& name) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    std::shared_ptr<Node> node;
    const long rc = Resolve(key, kKeySetValue, &node);
    if (rc != kErrorSuccess) return rc;
    const auto value = node->FindValue(name);
    if (value == node->values.end()) return kErrorFileNotFound;
    node->values.erase(value);
    return kErrorSuccess;
}

long FakeRegistry::RemoveKey(RegHandle parent, const std::string& subkey, std::uint32_t view) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if ((view & kKeyWow64Views) != 0) view_bits_seen_ = true;
    std::shared_ptr<Node> node;
    std::string walk;
    long rc = Start(parent, subkey, view & kKeyWow64Views, &node, &walk);
    if (rc == kErrorSuccess && subkey.empty()) return kErrorInvalidParameter;
    std::string classPath;
    if (rc == kErrorSuccess && ClassPath(parent, subkey, view & kKeyWow64Views, &classPath))
        rc = subkey[0] == '\\' ? kErrorBadPathname : ClassNode(classPath, false, &node);
    else if (rc == kErrorSuccess)
        rc = Walk(node, walk, false, &node);
    if (rc != kErrorSuccess) return rc;
    if (node->parent == nullptr || node == classes_ || !node->subkeys.empty()) {
        return kErrorAccessDenied;
    }
    auto& siblings = node->parent->subkeys;
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
    node->deleted = true;
    node->parent = nullptr;
    return kErrorSuccess;
}

long FakeRegistry::ValueAt(RegHandle key, std::uint32_t index, std::string* name) {
    std::shared_ptr<Node> node;
    const long rc = Resolve(key, kKeyQueryValue, &node);
    if (rc != kErrorSuccess) return rc;
    if (index >= node->values.size()) return kErrorNoMoreItems;
    *name = node->values[index].name;
    return kErrorSuccess;
}

long FakeRegistry::EnumValueData(RegHandle key, std::uint32_t index, std::string* name,
                                 std::uint32_t* type, void* data, std::uint32_t* size) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (data == nullptr || size == nullptr) return kErrorInvalidParameter;
    std::string found;
    long rc = EnumValue(key, index, &found);
    if (rc != kErrorSuccess) return rc;
    // The value at the index itself: its A-name may stand for another one.
    std::string packed;
    rc = ValueAt(key, index, &packed);
    if (rc == kErrorSuccess) rc = Query(key, packed, false, type, data, size);
    if (rc == kErrorSuccess) *name = found;
    return rc;
}

long FakeRegistry::KeyAt(RegHandle key, std::uint32_t index, std::string* name) {
    std::shared_ptr<Node> node;
    const long rc = Resolve(key, kKeyEnumerateSubKeys, &node);
    if (rc != kErrorSuccess) return rc;
    if (index >= node->subkeys.size()) return kErrorNoMoreItems;
    *name = node->subkeys[index]->name;
    return kErrorSuccess;
}

long FakeRegistry::CloseKey(RegHandle key) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (IsRootKey(key)) return kErrorSuccess;
    return handles_.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace tv
