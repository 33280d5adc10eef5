#include "platform/fake/FakeFileSystem.h"

#include <algorithm>

#include "platform/CodePageText.h"

namespace tv {

namespace {

std::string Trimmed(const std::string& path) {
    std::string p = path;
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

FakeFileSystem::FakeFileSystem() { AddFolder("C:\\"); }

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
    return node;
}

bool FakeFileSystem::Exists(const std::string& path) const {
    return !path.empty() && Find(path) != nullptr;
}

bool FakeFileSystem::IsFolder(const std::string& path) const {
    const Node* node = Find(path);
    return node != nullptr && node->folder;
}

bool FakeFileSystem::ListFolder(const std::string& folder,
                                std::vector<FolderEntry>* entries) const {
    entries->clear();
    const Node* dir = Find(folder);
    if (dir == nullptr || !dir->folder) return false;
    std::string parentKey = Key(dir->path);
    for (const auto& [key, node] : nodes_) {
        if (key == parentKey || Key(ParentOf(node.path)) != parentKey) continue;
        std::size_t slash = text::FindLastChar(node.path, '\\');
        entries->push_back({node.path.substr(slash + 1), node.folder, node.readOnly, node.link});
    }
    std::sort(entries->begin(), entries->end(), [](const FolderEntry& a, const FolderEntry& b) {
        return text::CompareNoCase(a.name, b.name) < 0;
    });
    return true;
}

bool FakeFileSystem::FolderIdentity(const std::string& folder, FileIdentity* identity) const {
    const Node* node = Find(folder);
    if (node == nullptr || !node->folder) return false;
    // One volume per drive letter.
    identity->volumeSerial = 0x5A000000u + (static_cast<unsigned char>(node->path[0]) & 0xDFu);
    identity->fileIndex = node->index;
    return true;
}

bool FakeFileSystem::RemoveFile(const std::string& path) {
    const Node* node = Find(path);
    if (node == nullptr || node->folder || node->readOnly || node->busy) return false;
    nodes_.erase(Key(node->path));
    return true;
}

bool FakeFileSystem::RemoveFolder(const std::string& path) {
    const Node* node = Find(path);
    if (node == nullptr || !node->folder) return false;
    std::vector<FolderEntry> inside;
    ListFolder(path, &inside);
    if (!inside.empty() || Key(path).size() <= 3) return false;
    if (Key(working_) == Key(node->path)) return false;  // in use as the current directory
    nodes_.erase(Key(node->path));
    return true;
}

bool FakeFileSystem::CreateFolder(const std::string& path) {
    const Node* node = Find(path);
    if (node != nullptr) return node->folder;
    const std::string p = Trimmed(path);
    const Node* parent = Find(ParentOf(p));
    if (p.empty() || parent == nullptr || !parent->folder || full_) return false;
    Put(p, true);
    return true;
}

bool FakeFileSystem::WriteNewFile(const std::string& path, const std::string& bytes) {
    const std::string p = Trimmed(path);
    const Node* parent = Find(ParentOf(p));
    if (p.empty() || Find(p) != nullptr || parent == nullptr || !parent->folder || full_)
        return false;
    Put(p, false).contents = bytes;
    return true;
}

bool FakeFileSystem::MoveFileTo(const std::string& from, const std::string& to) {
    const Node* source = Find(from);
    const std::string target = Trimmed(to);
    const Node* parent = Find(ParentOf(target));
    if (source == nullptr || source->folder || source->busy || Find(target) != nullptr ||
        parent == nullptr || !parent->folder)
        return false;
    // A move keeps the file's identity, as on the real file system.
    Node moved = *source;
    moved.path = target;
    nodes_.erase(Key(source->path));
    nodes_[Key(target)] = moved;
    return true;
}

std::string FakeFileSystem::Contents(const std::string& path) const {
    const Node* node = Find(path);
    return node == nullptr ? std::string() : node->contents;
}

bool FakeFileSystem::SetWorkingFolder(const std::string& path) {
    const Node* node = Find(path);
    if (node == nullptr || !node->folder) return false;
    working_ = node->path;
    return true;
}

void FakeFileSystem::AddFolder(const std::string& path) {
    std::string p = Trimmed(path);
    if (p.empty() || Find(p) != nullptr) return;
    std::string parent = ParentOf(p);
    if (!parent.empty() && parent != p) AddFolder(parent);
    Put(p, true);
}

void FakeFileSystem::AddFile(const std::string& path, bool readOnly, bool busy) {
    std::string p = Trimmed(path);
    std::string parent = ParentOf(p);
    if (!parent.empty()) AddFolder(parent);
    Node& node = Put(p, false);
    node.readOnly = readOnly;
    node.busy = busy;
}

void FakeFileSystem::AddLink(const std::string& path) {
    AddFolder(path);
    nodes_[Key(path)].link = true;
}

void FakeFileSystem::AddAlias(const std::string& path, const std::string& target) {
    std::string p = Trimmed(path);
    AddFolder(ParentOf(p));
    Put(p, true).alias = Trimmed(Resolved(target));
}

std::vector<std::string> FakeFileSystem::AllPaths() const {
    std::vector<std::string> paths;
    for (const auto& entry : nodes_) paths.push_back(entry.second.path);
    return paths;
}

}  // namespace tv
