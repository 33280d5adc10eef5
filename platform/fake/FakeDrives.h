// Drives a test sets up: kind, sizes and file system per root. A root not
// set up reports "no root directory", as the platform does.
#pragma once

#include <map>
#include <string>

#include "platform/CodePageText.h"
#include "platform/Drives.h"

namespace tv {

class FakeDrives : public Drives {
public:
    struct Drive {
        int type = kDriveFixed;
        bool spaceKnown = true;
        DriveSpace space;
        // Empty: the volume information call fails.
        std::string fileSystem = "NTFS";
    };

    void Set(const std::string& root, const Drive& drive) { drives_[text::ToUpper(root)] = drive; }
    void Remove(const std::string& root) { drives_.erase(text::ToUpper(root)); }

    int DriveType(const std::string& root) const override {
        const Drive* d = Find(root);
        return d ? d->type : kDriveNoRootDir;
    }
    bool Space(const std::string& root, DriveSpace* space) const override {
        const Drive* d = Find(root);
        if (d == nullptr || !d->spaceKnown) return false;
        *space = d->space;
        return true;
    }
    bool FileSystemName(const std::string& root, std::string* name) const override {
        const Drive* d = Find(root);
        if (d == nullptr || d->fileSystem.empty()) return false;
        *name = d->fileSystem;
        return true;
    }

private:
    const Drive* Find(const std::string& root) const {
        auto it = drives_.find(text::ToUpper(root));
        return it == drives_.end() ? nullptr : &it->second;
    }
    std::map<std::string, Drive> drives_;
};

}  // namespace tv
