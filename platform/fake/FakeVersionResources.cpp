#include "platform/fake/FakeVersionResources.h"

#include "platform/CodePageText.h"

namespace tv {

// A block holds the key of the file it was loaded from.
bool FakeVersionResources::Load(const std::string& path, VersionBlock* block) const {
    ++loads_;
    std::string key = text::ToUpper(path);
    if (files_.find(key) == files_.end()) return false;
    block->assign(key.begin(), key.end());
    return true;
}

const FakeVersionResources::Resource* FakeVersionResources::FromBlock(
    const VersionBlock& block) const {
    auto it = files_.find(std::string(block.begin(), block.end()));
    return it == files_.end() ? nullptr : &it->second;
}

bool FakeVersionResources::Translations(const VersionBlock& block,
                                        std::vector<std::uint32_t>* translations) const {
    const Resource* resource = FromBlock(block);
    if (!resource || resource->translations.empty()) return false;
    *translations = resource->translations;
    return true;
}

bool FakeVersionResources::QueryText(const VersionBlock& block, const std::string& query,
                                     std::string* text) const {
    queries_.push_back(query);
    const Resource* resource = FromBlock(block);
    if (!resource) return false;
    auto it = resource->texts.find(query);
    if (it == resource->texts.end()) return false;
    *text = it->second;
    return true;
}

void FakeVersionResources::AddFile(const std::string& path,
                                   std::vector<std::uint32_t> translations) {
    files_[text::ToUpper(path)].translations = std::move(translations);
}

void FakeVersionResources::AddText(const std::string& path, const std::string& query,
                                   const std::string& text) {
    files_[text::ToUpper(path)].texts[query] = text;
}

}  // namespace tv
