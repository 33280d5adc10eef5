// Version resources a test gives to file paths: translation entries and the
// texts under their exact query paths. Counts loads and records queries.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/VersionResources.h"

namespace tv {

class FakeVersionResources : public VersionResources {
public:
    bool Load(const std::string& path, VersionBlock* block) const override;
    bool Translations(const VersionBlock& block,
                      std::vector<std::uint32_t>* translations) const override;
    bool QueryText(const VersionBlock& block, const std::string& query,
                   std::string* text) const override;

    // Gives `path` a version resource (with no translation table when
    // `translations` is empty).
    void AddFile(const std::string& path, std::vector<std::uint32_t> translations = {});
    // A text under an exact query path, e.g. "\StringFileInfo\080404b0\FileDescription".
    void AddText(const std::string& path, const std::string& query, const std::string& text);
    int Loads() const { return loads_; }
    const std::vector<std::string>& Queries() const { return queries_; }

private:
    struct Resource {
        std::vector<std::uint32_t> translations;
        std::map<std::string, std::string> texts;
    };
    const Resource* FromBlock(const VersionBlock& block) const;

    std::map<std::string, Resource> files_;  // by upper-cased path
    mutable int loads_ = 0;
    mutable std::vector<std::string> queries_;
};

}  // namespace tv
