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
    bool CreateFolder(const std::string& path) override;
    bool WriteNewFile(const std::string& path, const std::string& bytes) override;
    bool MoveFileTo(const std::string& from, const std::string& to) override;
    std::string WorkingFolder() const override { return working_; }
    bool SetWorkingFolder(const std::string& path) override;

    // Set-up: parents are made as needed. A busy file cannot be deleted.
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, bool readOnly = false, bool busy = false);
    // A folder that is a link to another folder (it holds nothing itself).
    void AddLink(const std::string& path);
    // Every path held, folders included, in their stored spelling, sorted.
    std::vector<std::string> AllPaths() const;
    // What WriteNewFile wrote to the file (empty for any other file).
    std::string Contents(const std::string& path) const;
    // A full disk: every write fails.
    void SetFull(bool full) { full_ = full; }

private:
    struct Node {
        std::string path;  // as first given, without a trailing backslash
        bool folder = false;
        bool readOnly = false;
        bool busy = false;
        bool link = false;
        std::string contents;
    };
    static std::string Key(const std::string& path);
    const Node* Find(const std::string& path) const;

    std::map<std::string, Node> nodes_;  // by upper-cased path
    std::string working_ = "C:\\";
    bool full_ = false;
};

}  // namespace tv
