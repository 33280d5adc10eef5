#pragma once

#include "platform/ShellLinks.h"

namespace tv {

// The shell link object (IShellLinkA through IPersistFile::Load, which
// takes the path exactly), with COM
// initialised around each read, or around each batch of reads.
class Win32ShellLinks : public ShellLinks {
public:
    bool ReadTarget(const std::string& linkPath, std::string* target) const override;
    std::vector<std::optional<std::string>> ReadTargets(
        const std::vector<std::string>& linkPaths) const override;
    std::vector<std::optional<std::string>> ReadTargetsW(
        const std::vector<std::u16string>& linkPaths,
        const std::function<bool()>& stop = {}) const override;
};

}  // namespace tv
