// An in-memory folder tree. Tests put files and folders in it, mark files
// read-only or busy (in use: they cannot be deleted), and read back what is
// left.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tv {

class FakeFileSystem : public FileSystem {
public:
    FakeFileSystem();

    bool Exists(const std::string& path) const override;
    bool IsFolder(const std::string& path) const override;
    bool ListFolder(const std::string& folder,
                    std::vector<FolderEntry>* entries) const override;
    bool RemoveFile(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    std::string WorkingFolder() const override { return working_; }
    bool SetWorkingFolder(const std::string& path) override;

    // Set-up: parents are made as needed. A busy file cannot be deleted.
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, bool readOnly = false, bool busy = false);
    // A folder that is a link to another folder (it holds nothing itself).
    void AddLink(const std::string& path);
    // Every path held, folders included, in their stored spelling, sorted.
    std::vector<std::string> AllPaths() const;

private:
    struct Node {
        std::string path;  // as first given, without a trailing backslash
        bool folder = false;
        bool readOnly = false;
        bool busy = false;
        bool link = false;
    };
    static std::string Key(const std::string& path);
    const Node* Find(const std::string& path) const;

    std::map<std::string, Node> nodes_;  // by upper-cased path
    std::string working_ = "C:\\";
};

}  // namespace tv
