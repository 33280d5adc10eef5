#include "platform/win32/Win32Tokens.h"

#include <windows.h>

namespace tv {

bool Win32Tokens::OpenProcessToken(std::uint32_t access, TokenHandle* token) {
    HANDLE handle = nullptr;
    if (!::OpenProcessToken(GetCurrentProcess(), access, &handle)) return false;
    *token = reinterpret_cast<TokenHandle>(handle);
    return true;
}

bool Win32Tokens::LookupPrivilege(const std::string& name, std::uint64_t* luid) {
    LUID id{};
    if (!LookupPrivilegeValueA(nullptr, name.c_str(), &id)) return false;
    *luid = std::uint64_t(static_cast<std::uint32_t>(id.HighPart)) << 32 | id.LowPart;
    return true;
}

bool Win32Tokens::AdjustPrivilege(TokenHandle token, std::uint64_t luid,
                                  std::uint32_t attributes) {
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid.LowPart = static_cast<DWORD>(luid & 0xFFFFFFFFu);
    privileges.Privileges[0].Luid.HighPart = static_cast<LONG>(luid >> 32);
    privileges.Privileges[0].Attributes = attributes;
    return AdjustTokenPrivileges(reinterpret_cast<HANDLE>(token), FALSE, &privileges, 0, nullptr,
                                 nullptr) != FALSE;
}

void Win32Tokens::CloseToken(TokenHandle token) { CloseHandle(reinterpret_cast<HANDLE>(token)); }

}  // namespace tv
