#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "platform/VersionResources.h"

namespace tv {

// GetFileVersionInfoSizeA, GetFileVersionInfoA and VerQueryValueA. Blocks
// are kept per path and read again when the file's size or write time has
// changed.
class Win32VersionResources : public VersionResources {
public:
    bool Load(const std::string& path, VersionBlock* block) const override;
    bool Translations(const VersionBlock& block,
                      std::vector<std::uint32_t>* translations) const override;
    bool QueryText(const VersionBlock& block, const std::string& query,
                   std::string* text) const override;

private:
    struct CachedBlock {
        std::uint64_t size;
        std::uint64_t written;
        bool found;
        VersionBlock block;
    };
    static bool LoadUncached(const std::string& path, VersionBlock* block);

    mutable std::mutex mutex_;
    mutable std::map<std::string, CachedBlock> cache_;
};

}  // namespace tv
