#include "platform/fake/FakeTokens.h"

#include "platform/CodePageText.h"

namespace tv {

FakeTokens::FakeTokens()
    : privileges{{"SeDebugPrivilege", 20}, {"SeShutdownPrivilege", 19},
                 {"SeBackupPrivilege", 17}} {}

bool FakeTokens::OpenProcessToken(std::uint32_t access, TokenHandle* token) {
    openAccess.push_back(access);
    if (failOpen) return false;
    *token = next_++;
    open_.insert(*token);
    return true;
}

bool FakeTokens::LookupPrivilege(const std::string& name, std::uint64_t* luid) {
    for (const auto& [known, id] : privileges) {
        if (text::EqualsNoCase(known, name)) {
            *luid = id;
            return true;
        }
    }
    return false;
}

bool FakeTokens::AdjustPrivilege(TokenHandle token, std::uint64_t luid,
                                 std::uint32_t attributes) {
    if (failAdjust || open_.count(token) == 0) return false;
    adjustments.push_back({token, luid, attributes});
    return true;
}

void FakeTokens::CloseToken(TokenHandle token) { open_.erase(token); }

}  // namespace tv
