#pragma once

#include "platform/VersionResources.h"

namespace tv {

// GetFileVersionInfoSizeA, GetFileVersionInfoA and VerQueryValueA.
class Win32VersionResources : public VersionResources {
public:
    bool Load(const std::string& path, VersionBlock* block) const override;
    bool Translations(const VersionBlock& block,
                      std::vector<std::uint32_t>* translations) const override;
    bool QueryText(const VersionBlock& block, const std::string& query,
                   std::string* text) const override;
};

}  // namespace tv
