// The program's own access token: the calls that enable a privilege in it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/UniqueHandle.h"

namespace tv {

using TokenHandle = std::uintptr_t;

// TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY | STANDARD_RIGHTS_READ.
constexpr std::uint32_t kTokenAdjustAndQuery = 0x20028;
constexpr std::uint32_t kSePrivilegeEnabled = 0x2;

class Tokens {
public:
    virtual ~Tokens() = default;
    // OpenProcessToken on the current process. False on failure.
    virtual bool OpenProcessToken(std::uint32_t access, TokenHandle* token) = 0;
    // LookupPrivilegeValue on the local system: the privilege's identifier.
    virtual bool LookupPrivilege(const std::string& name, std::uint64_t* luid) = 0;
    // AdjustTokenPrivileges with one entry, not disabling all, no previous
    // state. True when the call succeeded (the last error is not looked at).
    virtual bool AdjustPrivilege(TokenHandle token, std::uint64_t luid,
                                 std::uint32_t attributes) = 0;
    virtual void CloseToken(TokenHandle token) = 0;
};

// Owns an opened token.
using ScopedToken = SeamHandle<Tokens, TokenHandle, &Tokens::CloseToken>;

}  // namespace tv
