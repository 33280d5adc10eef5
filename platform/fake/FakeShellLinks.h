// Shortcuts a test sets up by path, with the targets they point at. Paths
// are kept exactly, as the file system keeps them; 8-bit paths go through
// the code page given (UseCodec, before any shortcut is added), as the
// in-memory file tree's do.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/ShellLinks.h"
#include "platform/TextCodec.h"
#include "platform/fake/PackedNames.h"

namespace tv {

class FakeShellLinks : public ShellLinks {
public:
    bool ReadTarget(const std::string& linkPath, std::string* target) const override;
    std::vector<std::optional<std::string>> ReadTargetsW(
        const std::vector<std::u16string>& linkPaths,
        const std::function<bool()>& stop = {}) const override;

    // A loadable shortcut; an empty target stands for a non-file target.
    void Add(const std::string& linkPath, const std::string& target);
    void Add(const std::u16string& linkPath, const std::string& target);

    void UseCodec(std::shared_ptr<const TextCodec> codec) { codec_.Use(std::move(codec)); }

private:
    std::map<std::string, std::string> links_;  // by upper-cased packed path
    packed::CodecSetting codec_;
};

}  // namespace tv
