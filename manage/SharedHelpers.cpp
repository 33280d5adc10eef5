// Interim: stands in for the shared helpers until they are merged in.
#include "manage/SharedHelpers.h"

#include <algorithm>

#include "platform/Environment.h"

namespace tv {

FileVersionStrings ReadFileVersionStrings(const Platform&, const std::string&) { return {}; }

bool EnableDebugPrivilege(const Platform&) { return true; }

std::string GroupedNumber(std::uint32_t value) {
    std::string text;
    int digits = 0;
    do {
        if (digits == 3) {
            text.push_back(',');
            digits = 0;
        }
        text.push_back(static_cast<char>('0' + value % 10));
        value /= 10;
        ++digits;
    } while (value != 0);
    std::reverse(text.begin(), text.end());
    return text;
}

std::string ServiceImagePath(const std::string& binaryPath) {
    std::string s = binaryPath;
    for (const char* host : {"svchost -k rpcss", "svchost -k DComLaunch", "svchost -k DcomLaunch"}) {
        size_t at = s.find(host);
        if (at != std::string::npos && at > 0) return s.substr(0, at) + "svchost.exe";
    }
    if (!s.empty() && s[0] == '"') s.erase(0, 1);
    size_t dot = s.find('.');
    if (dot != std::string::npos && dot > 0) s.resize(dot);
    return s + ".exe";
}

std::string NormalizedImagePath(const Platform& platform, const std::string& path) {
    auto rest = [&](const std::string& prefix) { return path.substr(prefix.size()); };
    auto starts = [&](const std::string& prefix) { return path.compare(0, prefix.size(), prefix) == 0; };
    std::string windows = platform.environment ? platform.environment->WindowsDirectory() : "";
    if (starts("\\SystemRoot\\") && !windows.empty()) return windows + "\\" + rest("\\SystemRoot\\");
    if (starts("\\WINDOWS\\")) return windows.empty() ? path : windows + "\\" + rest("\\WINDOWS\\");
    if (starts("\\??\\")) return rest("\\??\\");
    return path;
}

std::string KnownFileText(const std::string&, const std::string&) { return {}; }

std::string SystemDirectoryPath(const Platform& platform) {
    return platform.environment ? platform.environment->SystemDirectory() : "";
}

std::string WindowsDirectoryPath(const Platform& platform) {
    return platform.environment ? platform.environment->WindowsDirectory() : "";
}

}  // namespace tv
