// A process token with a set of privilege names the "system" knows. Counts
// open token handles and records every adjustment; each call can be made to
// fail.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Tokens.h"

namespace tv {

class FakeTokens : public Tokens {
public:
    FakeTokens();

    bool OpenProcessToken(std::uint32_t access, TokenHandle* token) override;
    bool LookupPrivilege(const std::string& name, std::uint64_t* luid) override;
    bool AdjustPrivilege(TokenHandle token, std::uint64_t luid,
                         std::uint32_t attributes) override;
    void CloseToken(TokenHandle token) override;

    struct Adjustment {
        TokenHandle token;
        std::uint64_t luid;
        std::uint32_t attributes;
    };
    // Known names, e.g. "SeDebugPrivilege" (compared ignoring case).
    std::map<std::string, std::uint64_t> privileges;
    bool failOpen = false;
    bool failAdjust = false;
    std::vector<std::uint32_t> openAccess;
    std::vector<Adjustment> adjustments;
    std::size_t OpenTokens() const { return open_.size(); }

private:
    std::set<TokenHandle> open_;
    TokenHandle next_ = 0x100;
};

}  // namespace tv
