// Files a test declares protected, and the times and sizes of files it
// declares readable. Paths compare without regard to ASCII letter case.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/CodePageText.h"
#include "platform/SystemFiles.h"

namespace tv {

class FakeSystemFiles : public SystemFiles {
public:
    void Protect(const std::string& path) { protected_.insert(text::ToLower(path)); }
    void SetStamps(const std::string& path, const FileStamps& stamps) {
        stamps_[text::ToLower(path)] = stamps;
    }

    bool IsProtected(const std::string& path) override {
        return protected_.count(text::ToLower(path)) != 0;
    }
    bool ReadStamps(const std::string& path, FileStamps* stamps) override {
        auto it = stamps_.find(text::ToLower(path));
        if (it == stamps_.end()) return false;
        *stamps = it->second;
        return true;
    }

private:
    std::set<std::string> protected_;
    std::map<std::string, FileStamps> stamps_;
};

}  // namespace tv
