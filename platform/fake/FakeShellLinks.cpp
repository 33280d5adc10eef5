#include "platform/fake/FakeShellLinks.h"

#include "platform/CodePageText.h"
#include "platform/fake/PackedNames.h"

namespace tv {

bool FakeShellLinks::ReadTarget(const std::string& linkPath, std::string* target) const {
    auto it = links_.find(text::ToUpper(packed::FromAnsi(linkPath, codec_.get())));
    if (it == links_.end()) return false;
    *target = it->second;
    return true;
}

std::vector<std::optional<std::string>> FakeShellLinks::ReadTargetsW(
    const std::vector<std::u16string>& linkPaths, const std::function<bool()>& stop) const {
    std::vector<std::optional<std::string>> targets;
    for (const std::u16string& path : linkPaths) {
        if (stop && stop()) break;
        auto it = links_.find(text::ToUpper(packed::Pack(path)));
        if (it != links_.end()) targets.emplace_back(it->second);
        else targets.emplace_back();
    }
    return targets;
}

void FakeShellLinks::Add(const std::string& linkPath, const std::string& target) {
    links_[text::ToUpper(packed::FromAnsi(linkPath, codec_.get()))] = target;
}

void FakeShellLinks::Add(const std::u16string& linkPath, const std::string& target) {
    links_[text::ToUpper(packed::Pack(linkPath))] = target;
}

}  // namespace tv
