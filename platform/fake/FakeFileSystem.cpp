#include "platform/fake/FakeFileSystem.h"

#include <algorithm>

#include "platform/CodePageText.h"
#include "platform/fake/PackedNames.h"

namespace tv {

namespace {

std::string Trimmed(const std::string& path) {
    // Every call takes its path as a C string, as Windows does: a path
    // stops at its first NUL (no unit's packed form has a zero byte but
    // NUL's own).
    std::string p = path.substr(0, path.find('\0'));
    // "C:\" keeps its backslash: it names the root.
    while (p.size() > 3 && !p.empty() && p.back() == '\\' &&
           text::FindLastChar(p, '\\') == p.size() - 1)
        p.pop_back();
    return p;
}

std::string ParentOf(const std::string& path) {
    std::size_t slash = text::FindLastChar(path, '\\');
    if (slash == text::npos) return {};
    if (slash == 2 && path.size() > 3) return path.substr(0, 3);  // "C:\"
    return path.substr(0, slash);
}

}  // namespace

FakeSecurity ProtectedFakeSecurity() {
    return {fakesid::kAdministrators,
            {{fakesid::kSystem, fakeright::kAll},
             {fakesid::kAdministrators, fakeright::kAll},
             {fakesid::kUsers, fakeright::kReadAndExecute}}};
}

FakeFileSystem::FakeFileSystem() { MakeFolder("C:\\"); }

std::string FakeFileSystem::In(const std::string& ansi) const {
    return packed::FromAnsi(ansi, codec_.get());
}

std::string FakeFileSystem::Out(const std::string& packed) const {
    return packed::ToAnsi(packed, codec_.get());
}

std::string FakeFileSystem::Key(const std::string& path) {
    return text::ToUpper(Trimmed(path));
}

std::string FakeFileSystem::Resolved(const std::string& path) const {
    std::string p = Trimmed(path);
    // Each round replaces the longest leading part that is an unflagged
    // link; a chain of links ends within the number of nodes.
    for (std::size_t round = 0; round <= nodes_.size(); ++round) {
        std::string head = p;
        while (!head.empty()) {
            auto it = nodes_.find(Key(head));
            if (it != nodes_.end() && !it->second.alias.empty()) break;
            std::string parent = ParentOf(head);
            head = parent == head ? std::string() : parent;
        }
        if (head.empty()) return p;
        const std::string& target = nodes_.at(Key(head)).alias;
        std::string rest = p.substr(head.size());
        if (!rest.empty() && target.back() == '\\') rest.erase(0, 1);
        p = target + rest;
    }
    return p;
}

const FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) const {
    auto it = nodes_.find(Key(Resolved(path)));
    return it == nodes_.end() ? nullptr : &it->second;
}

FakeFileSystem::Node& FakeFileSystem::Put(const std::string& path, bool folder) {
    Node& node = nodes_[Key(path)];
    node = Node{};
    node.path = path;
    node.folder = folder;
    node.index = nextIndex_++;
    node.stamp.lastWrite = nextWrite_;
    nextWrite_ += 10000000;
    return node;
}

bool FakeFileSystem::Exists(const std::string& path) const {
    return !path.empty() && Find(In(path)) != nullptr;
}

bool FakeFileSystem::ExistsW(const std::u16string& path) const {
    return !path.empty() && Find(packed::Pack(path)) != nullptr;
}

bool FakeFileSystem::IsFolder(const std::string& path) const {
    const Node* node = Find(In(path));
    return node != nullptr && node->folder;
}

bool FakeFileSystem::ListFolder(const std::string& folder,
                                std::vector<FolderEntry>* entries) const {
    return List(In(folder), entries);
}

bool FakeFileSystem::ListFolderW(const std::u16string& folder,
                                 std::vector<FolderEntry>* entries) const {
    return List(packed::Pack(folder), entries);
}

bool FakeFileSystem::List(const std::string& folder, std::vector<FolderEntry>* entries) const {
    entries->clear();
    const Node* dir = Find(folder);
    if (dir == nullptr || !dir->folder) return false;
    std::string parentKey = Key(dir->path);
    for (const auto& [key, node] : nodes_) {
        if (key == parentKey || Key(ParentOf(node.path)) != parentKey) continue;
        std::size_t slash = text::FindLastChar(node.path, '\\');
        const std::string name = node.path.substr(slash + 1);
        entries->push_back({EntryName(Out(name), packed::Unpack(name)), node.folder, node.readOnly, node.link});
    }
    std::stable_sort(entries->begin(), entries->end(), [](const FolderEntry& a, const FolderEntry& b) {
        return text::CompareNoCase(a.name.Shown(), b.name.Shown()) < 0;
    });
    return true;
}

bool FakeFileSystem::FolderIdentity(const std::string& folder, FileIdentity* identity) const {
    return Identity(In(folder), identity);
}

bool FakeFileSystem::FolderIdentityW(const std::u16string& folder, FileIdentity* identity) const {
    return Identity(packed::Pack(folder), identity);
}

bool FakeFileSystem::Identity(const std::string& folder, FileIdentity* identity) const {
    const Node* node = Find(folder);
    if (node == nullptr || !node->folder) return false;
    // One volume per drive letter.
    identity->volumeSerial = 0x5A000000u + (static_cast<unsigned char>(node->path[0]) & 0xDFu);
    identity->fileIndex = node->index;
    return true;
}

bool FakeFileSystem::FileStampW(const std::u16string& path, FileStamp* stamp) const {
    const Node* node = path.empty() ? nullptr : Find(packed::Pack(path));
    if (node == nullptr || node->folder) return false;
    *stamp = node->stamp;
    return true;
}

void FakeFileSystem::SetStamp(const std::u16string& path, const FileStamp& stamp) {
    const Node* found = Find(packed::Pack(path));
    if (found != nullptr) nodes_.at(Key(found->path)).stamp = stamp;
}

bool FakeFileSystem::RemoveFile(const std::string& path) {
    // A link at the name itself is what goes, as DeleteFile removes a
    // symbolic link and never what it leads to (a link to a folder is no
    // file to it).
    const std::string own = Trimmed(In(path));
    const std::string parent = ParentOf(own);
    auto at = nodes_.find(Key(parent.empty() || parent == own ? own
                                                               : Resolved(parent) + own.substr(parent.size())));
    if (at != nodes_.end() && at->second.link) {
        if (at->second.folder) return false;
        nodes_.erase(at);
        return true;
    }
    const Node* node = Find(In(path));
    if (node == nullptr || node->folder || node->readOnly || node->busy) return false;
    nodes_.erase(Key(node->path));
    return true;
}

bool FakeFileSystem::RemoveFolder(const std::string& ansi) {
    const std::string path = In(ansi);
    const Node* node = Find(path);
    if (node == nullptr || !node->folder) return false;
    std::vector<FolderEntry> inside;
    List(path, &inside);
    if (!inside.empty() || Key(path).size() <= 3) return false;
    if (Key(working_) == Key(node->path)) return false;  // in use as the current directory
    nodes_.erase(Key(node->path));
    return true;
}

bool FakeFileSystem::Plain(const std::string& path) const {
    return Key(Resolved(path)) == Key(path);
}

bool FakeFileSystem::CreateFolder(const std::string& path) {
    const std::string p = Trimmed(In(path));
    if (const Node* node = Find(p)) return node->folder && !node->link && Plain(p);
    const Node* parent = Find(ParentOf(p));
    if (p.empty() || parent == nullptr || !parent->folder || parent->link || !Plain(ParentOf(p)) ||
        full_)
        return false;
    // Made without a descriptor of its own: it inherits its parent's
    // entries, and the elevated program's owner.
    FakeSecurity inherited = parent->security;
    inherited.owner = fakesid::kAdministrators;
    Put(p, true).security = inherited;
    return true;
}

ProtectedFolder FakeFileSystem::CreateProtectedFolder(const std::string& ansi) {
    const std::string p = Trimmed(In(ansi));
    const std::string parentPath = ParentOf(p);
    const Node* parent = Find(parentPath);
    if (p.empty() || parentPath.empty() || parent == nullptr || !parent->folder || parent->link ||
        !Plain(parentPath))
        return ProtectedFolder::kFailed;
    // The parent is reached through no link, so the entry at `p` is the
    // one stored by that key; a link there is judged itself, not followed.
    auto own = nodes_.find(Key(p));
    if (own == nodes_.end()) {
        if (full_) return ProtectedFolder::kFailed;
        Put(p, true);
        return ProtectedFolder::kUsable;
    }
    const Node& node = own->second;
    if (!node.folder || node.link || !node.alias.empty()) return ProtectedFolder::kNotOurs;
    const std::string& parentOwner = parent->security.owner;
    auto trusted = [&parentOwner](const std::string& sid) {
        return sid == fakesid::kSystem || sid == fakesid::kAdministrators ||
               (!parentOwner.empty() && sid == parentOwner);
    };
    constexpr std::uint32_t reading =
        fakeright::kReadAndExecute | fakeright::kGenericRead | fakeright::kGenericExecute;
    if (!trusted(node.security.owner)) return ProtectedFolder::kNotOurs;
    for (const FakeAllowed& allowed : node.security.allowed)
        if ((allowed.mask & ~reading) != 0 && !trusted(allowed.sid)) return ProtectedFolder::kNotOurs;
    return ProtectedFolder::kUsable;
}

void FakeFileSystem::SetSecurity(const std::string& path, const FakeSecurity& security) {
    auto it = nodes_.find(Key(In(path)));
    if (it != nodes_.end()) it->second.security = security;
}

FakeSecurity FakeFileSystem::Security(const std::string& path) const {
    const Node* node = Find(In(path));
    return node == nullptr ? FakeSecurity{} : node->security;
}

// A written file found again by its identity, wherever it is now.
class FakeFileSystem::Written : public NewFile {
public:
    Written(FakeFileSystem* files, std::uint64_t index) : files_(files), index_(index) {}
    void Discard() override {
        for (auto it = files_->nodes_.begin(); it != files_->nodes_.end(); ++it) {
            if (it->second.index != index_) continue;
            files_->nodes_.erase(it);
            ++files_->discarded_;
            return;
        }
    }

private:
    FakeFileSystem* files_;
    std::uint64_t index_;
};

std::unique_ptr<NewFile> FakeFileSystem::WriteNewFile(const std::string& path,
                                                      const std::string& bytes) {
    const std::string p = Trimmed(In(path));
    const Node* parent = Find(ParentOf(p));
    if (p.empty() || Find(p) != nullptr || parent == nullptr || !parent->folder || full_)
        return nullptr;
    // The platform makes the file where a link leads, sees where it landed
    // and removes it again: nothing is left.
    if (!Plain(p)) return nullptr;
    FakeSecurity inherited = parent->security;
    inherited.owner = fakesid::kAdministrators;  // this elevated program's
    Node& node = Put(p, false);
    node.contents = bytes;
    node.stamp.size = bytes.size();
    node.security = inherited;
    return std::make_unique<Written>(this, node.index);
}

bool FakeFileSystem::MoveFileOut(const std::string& from, const std::string& within,
                                 const std::string& to) {
    return Move(In(from), In(within), In(to));
}

bool FakeFileSystem::MoveFileOutW(const std::u16string& from, const std::u16string& within,
                                  const std::u16string& to) {
    return Move(packed::Pack(from), packed::Pack(within), packed::Pack(to));
}

bool FakeFileSystem::Move(const std::string& from, const std::string& within,
                          const std::string& to) {
    // The file itself, as a handle that follows no link at its own name
    // would open it.
    const std::string source = Trimmed(from);
    const std::size_t slash = text::FindLastChar(source, '\\');
    if (slash == text::npos) return false;
    const std::string own = Resolved(source.substr(0, slash)) + source.substr(slash);
    auto found = nodes_.find(Key(own));
    if (found == nodes_.end()) return false;
    const Node& file = found->second;
    const std::string inside = Key(Resolved(within));
    if (file.folder || file.link || file.busy || inside.empty() ||
        Key(own).compare(0, inside.size() + 1, inside + "\\") != 0)
        return false;
    const std::string target = Trimmed(to);
    const std::string folder = ParentOf(target);
    const Node* parent = Find(folder);
    if (parent == nullptr || !parent->folder || parent->link || !Plain(folder) ||
        Find(target) != nullptr || Key(own).substr(0, 2) != Key(target).substr(0, 2))
        return false;
    // A move keeps the file's identity, as on the real file system.
    Node moved = file;
    moved.path = target;
    nodes_.erase(found);
    nodes_[Key(target)] = moved;
    return true;
}

std::string FakeFileSystem::Contents(const std::string& path) const {
    const Node* node = Find(In(path));
    return node == nullptr ? std::string() : node->contents;
}

bool FakeFileSystem::SetWorkingFolder(const std::string& path) {
    const Node* node = Find(In(path));
    if (node == nullptr || !node->folder) return false;
    working_ = node->path;
    return true;
}

void FakeFileSystem::AddFolder(const std::string& path) { MakeFolder(In(path)); }

void FakeFileSystem::AddFolder(const std::u16string& path) { MakeFolder(packed::Pack(path)); }

void FakeFileSystem::AddFile(const std::string& path, bool readOnly, bool busy) {
    MakeFile(In(path), readOnly, busy);
}

void FakeFileSystem::AddFile(const std::u16string& path, bool readOnly, bool busy) {
    MakeFile(packed::Pack(path), readOnly, busy);
}

void FakeFileSystem::MakeFolder(const std::string& path) {
    std::string p = Trimmed(path);
    if (p.empty() || Find(p) != nullptr) return;
    MakeFolder(ParentOf(p));  // always shorter; "" for a drive
    Put(p, true);
}

void FakeFileSystem::MakeFile(const std::string& path, bool readOnly, bool busy) {
    std::string p = Trimmed(path);
    std::string parent = ParentOf(p);
    if (!parent.empty()) MakeFolder(parent);
    Node& node = Put(p, false);
    node.readOnly = readOnly;
    node.busy = busy;
}

void FakeFileSystem::AddLink(const std::string& path, const std::string& ansiTarget) {
    const std::string p = Trimmed(In(path));
    const std::string target = In(ansiTarget);
    MakeFolder(ParentOf(p));
    const Node* to = target.empty() ? nullptr : Find(target);
    const std::string alias = to != nullptr ? Trimmed(Resolved(target)) : std::string();
    Node& node = Put(p, to == nullptr || to->folder);
    node.link = true;
    node.alias = alias;
}

void FakeFileSystem::AddAlias(const std::string& path, const std::string& target) {
    std::string p = Trimmed(In(path));
    MakeFolder(ParentOf(p));
    Put(p, true).alias = Trimmed(Resolved(In(target)));
}

std::vector<std::string> FakeFileSystem::AllPaths() const {
    std::vector<std::string> paths;
    for (const auto& entry : nodes_) paths.push_back(Out(entry.second.path));
    return paths;
}

std::vector<std::u16string> FakeFileSystem::AllPathsW() const {
    std::vector<std::u16string> paths;
    for (const auto& entry : nodes_) paths.push_back(packed::Unpack(entry.second.path));
    return paths;
}

}  // namespace tv
