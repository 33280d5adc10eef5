#pragma once

#include "platform/ShellLinks.h"

namespace tv {

// The shell link object (IShellLinkA through IPersistFile::Load), with COM
// initialised around each read.
class Win32ShellLinks : public ShellLinks {
public:
    bool ReadTarget(const std::string& linkPath, std::string* target) const override;
};

}  // namespace tv
