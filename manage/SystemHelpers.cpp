#include "manage/SystemHelpers.h"

#include <algorithm>

#include "platform/Environment.h"
#include "platform/Tokens.h"

namespace tv {

bool EnablePrivilege(Tokens& tokens, const std::string& name, bool enable) {
    TokenHandle opened = 0;
    if (!tokens.OpenProcessToken(kTokenAdjustAndQuery, &opened)) return false;
    ScopedToken token(tokens, opened);
    std::uint64_t luid = 0;
    if (!tokens.LookupPrivilege(name, &luid)) return false;
    return tokens.AdjustPrivilege(token.Get(), luid, enable ? kSePrivilegeEnabled : 0);
}

std::string GetSystemDirectoryPath(const Environment& environment) {
    return environment.SystemDirectory();
}

std::string GetWindowsDirectoryPath(const Environment& environment) {
    return environment.WindowsDirectory();
}

std::string FormatGroupedNumber(std::uint32_t value, char separator, unsigned group) {
    // Least significant digit first, then turned round.
    std::string out;
    unsigned inGroup = 0;
    do {
        if (group != 0 && inGroup == group) {
            out.push_back(separator);
            inGroup = 0;
        }
        out.push_back(static_cast<char>('0' + value % 10));
        ++inGroup;
        value /= 10;
    } while (value != 0);
    std::reverse(out.begin(), out.end());
    return out;
}

}  // namespace tv
