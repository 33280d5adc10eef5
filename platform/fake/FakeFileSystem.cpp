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

const FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) const {
    auto it = nodes_.find(Key(path));
    return it == nodes_.end() ? nullptr : &it->second;
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

bool FakeFileSystem::RemoveFile(const std::string& path) {
    const Node* node = Find(path);
    if (node == nullptr || node->folder || node->readOnly || node->busy) return false;
    nodes_.erase(Key(path));
    return true;
}

bool FakeFileSystem::RemoveFolder(const std::string& path) {
    const Node* node = Find(path);
    if (node == nullptr || !node->folder) return false;
    std::vector<FolderEntry> inside;
    ListFolder(path, &inside);
    if (!inside.empty() || Key(path).size() <= 3) return false;
    if (Key(working_) == Key(path)) return false;  // in use as the current directory
    nodes_.erase(Key(path));
    return true;
}

bool FakeFileSystem::CreateFolder(const std::string& path) {
    const Node* node = Find(path);
    if (node != nullptr) return node->folder;
    const std::string p = Trimmed(path);
    const Node* parent = Find(ParentOf(p));
    if (p.empty() || parent == nullptr || !parent->folder || full_) return false;
    nodes_[Key(p)] = Node{p, true, false, false, false, {}};
    return true;
}

bool FakeFileSystem::WriteNewFile(const std::string& path, const std::string& bytes) {
    const std::string p = Trimmed(path);
    const Node* parent = Find(ParentOf(p));
    if (p.empty() || Find(p) != nullptr || parent == nullptr || !parent->folder || full_)
        return false;
    Node node{p, false, false, false, false, {}};
    node.contents = bytes;
    nodes_[Key(p)] = node;
    return true;
}

bool FakeFileSystem::MoveFileTo(const std::string& from, const std::string& to) {
    const Node* source = Find(from);
    const std::string target = Trimmed(to);
    const Node* parent = Find(ParentOf(target));
    if (source == nullptr || source->folder || source->busy || Find(target) != nullptr ||
        parent == nullptr || !parent->folder)
        return false;
    Node moved = *source;
    moved.path = target;
    nodes_.erase(Key(from));
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
    nodes_[Key(p)] = Node{p, true, false, false, false, {}};
}

void FakeFileSystem::AddFile(const std::string& path, bool readOnly, bool busy) {
    std::string p = Trimmed(path);
    std::string parent = ParentOf(p);
    if (!parent.empty()) AddFolder(parent);
    nodes_[Key(p)] = Node{p, false, readOnly, busy, false, {}};
}

void FakeFileSystem::AddLink(const std::string& path) {
    AddFolder(path);
    nodes_[Key(path)].link = true;
}

std::vector<std::string> FakeFileSystem::AllPaths() const {
    std::vector<std::string> paths;
    for (const auto& entry : nodes_) paths.push_back(entry.second.path);
    return paths;
}

}  // namespace tv
