// Version resources of executable files (GetFileVersionInfo, VerQueryValue).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tv {

using VersionBlock = std::vector<unsigned char>;

class VersionResources {
public:
    virtual ~VersionResources() = default;
    // The file's whole version resource. False when it has none or cannot be
    // read.
    virtual bool Load(const std::string& path, VersionBlock* block) const = 0;
    // The "\VarFileInfo\Translation" entries of a block Load gave, each as
    // language (high 16 bits) and code page (low 16 bits). False when the
    // block has no translation table or an empty one: true gives at least one.
    virtual bool Translations(const VersionBlock& block,
                              std::vector<std::uint32_t>* translations) const = 0;
    // The text stored under `query` (such as
    // "\StringFileInfo\080404b0\FileDescription"). False when there is none.
    virtual bool QueryText(const VersionBlock& block, const std::string& query,
                           std::string* text) const = 0;
};

}  // namespace tv
