// Shortcut (.lnk) files, read through the shell's link object.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tv {

class ShellLinks {
public:
    virtual ~ShellLinks() = default;
    // Loads the shortcut at `linkPath` and reads its target path. False when
    // the shortcut cannot be loaded (then *target is untouched); true with an
    // empty *target when it points at something that is not a file or folder.
    virtual bool ReadTarget(const std::string& linkPath, std::string* target) const = 0;
    // Reads many shortcuts as ReadTarget reads each: one entry per path, no
    // value where it cannot be loaded. Where reaching the link object is
    // costly, one reach serves them all.
    virtual std::vector<std::optional<std::string>> ReadTargets(
        const std::vector<std::string>& linkPaths) const {
        std::vector<std::optional<std::string>> targets;
        for (const std::string& path : linkPaths) {
            std::string target;
            if (ReadTarget(path, &target)) targets.emplace_back(std::move(target));
            else targets.emplace_back();
        }
        return targets;
    }
    // The same for shortcuts known by exact path (a name outside the code
    // page has no 8-bit path). `stop`, asked before each shortcut, ends the
    // reading early: the result then holds only the shortcuts read so far.
    virtual std::vector<std::optional<std::string>> ReadTargetsW(
        const std::vector<std::u16string>& linkPaths,
        const std::function<bool()>& stop = {}) const = 0;
};

}  // namespace tv
