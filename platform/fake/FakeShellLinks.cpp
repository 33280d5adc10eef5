#include "platform/fake/FakeShellLinks.h"

#include "platform/CodePageText.h"

namespace tv {

bool FakeShellLinks::ReadTarget(const std::string& linkPath, std::string* target) const {
    auto it = links_.find(text::ToUpper(linkPath));
    if (it == links_.end()) return false;
    *target = it->second;
    return true;
}

void FakeShellLinks::Add(const std::string& linkPath, const std::string& target) {
    links_[text::ToUpper(linkPath)] = target;
}

}  // namespace tv
