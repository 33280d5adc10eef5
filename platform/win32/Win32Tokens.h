#pragma once

#include "platform/Tokens.h"

namespace tv {

// OpenProcessToken, LookupPrivilegeValueA, AdjustTokenPrivileges, CloseHandle.
class Win32Tokens : public Tokens {
public:
    bool OpenProcessToken(std::uint32_t access, TokenHandle* token) override;
    bool LookupPrivilege(const std::string& name, std::uint64_t* luid) override;
    bool AdjustPrivilege(TokenHandle token, std::uint64_t luid,
                         std::uint32_t attributes) override;
    void CloseToken(TokenHandle token) override;
};

}  // namespace tv
