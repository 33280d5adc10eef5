// Shortcuts a test sets up by path, with the targets they point at.
#pragma once

#include <map>
#include <string>

#include "platform/ShellLinks.h"

namespace tv {

class FakeShellLinks : public ShellLinks {
public:
    bool ReadTarget(const std::string& linkPath, std::string* target) const override;

    // A loadable shortcut; an empty target stands for a non-file target.
    void Add(const std::string& linkPath, const std::string& target);

private:
    std::map<std::string, std::string> links_;  // by upper-cased path
};

}  // namespace tv
