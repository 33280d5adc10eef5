// Shortcut (.lnk) files, read through the shell's link object.
#pragma once

#include <string>

namespace tv {

class ShellLinks {
public:
    virtual ~ShellLinks() = default;
    // Loads the shortcut at `linkPath` and reads its target path. False when
    // the shortcut cannot be loaded (then *target is untouched); true with an
    // empty *target when it points at something that is not a file or folder.
    virtual bool ReadTarget(const std::string& linkPath, std::string* target) const = 0;
};

}  // namespace tv
