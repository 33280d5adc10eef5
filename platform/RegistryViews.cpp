#include "platform/RegistryViews.h"

#include "platform/CodePageText.h"
#include "platform/Platform.h"
#include "platform/SystemProbe.h"

namespace tv {

namespace {

constexpr const char kWow6432Node[] = "Wow6432Node";

// Keys below HKLM\Software that Windows 7 keeps once for both views, as far
// as this program goes near them (the platform's list of shared keys).
// Wine shares them too.
const std::vector<std::vector<std::string>>& SharedMachineKeys() {
    static const std::vector<std::vector<std::string>> keys = {
        {"Software", "Policies"},
        {"Software", "Microsoft", "Windows", "CurrentVersion", "Policies"},
        {"Software", "Microsoft", "Windows", "CurrentVersion", "App Paths"},
    };
    return keys;
}

std::string JoinKeyPath(const std::vector<std::string>& parts) {
    std::string path;
    for (const std::string& part : parts) {
        if (!path.empty()) path += '\\';
        path += part;
    }
    return path;
}

bool StartsWithParts(const std::vector<std::string>& parts,
                     const std::vector<std::string>& prefix) {
    if (parts.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (!text::EqualsNoCase(parts[i], prefix[i])) return false;
    return true;
}

// Of the classes, the 32-bit view has its own class ids; the program looks
// at no other redirected class key.
bool IsRedirectedClassKey(const std::string& name) { return text::EqualsNoCase(name, "CLSID"); }

}  // namespace

std::vector<std::string> SplitKeyPath(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = text::FindChar(path, '\\', start);
        if (end == text::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::uint32_t SystemView(const SystemProbe& system) {
    return system.Is64BitSystem() ? kKeyWow64_64Key : 0;
}

std::uint32_t SystemView(const Platform& platform) {
    return SystemView(*platform.system);
}

std::vector<std::uint32_t> ViewsToRead(const Platform& platform, ViewsRead views) {
    return ViewsToRead(*platform.system, views);
}

std::vector<std::uint32_t> ViewsToRead(const SystemProbe& system, ViewsRead views) {
    return ViewsToRead(system.Is64BitSystem(), views);
}

std::vector<std::uint32_t> ViewsToRead(bool is64BitSystem, ViewsRead views) {
    if (!is64BitSystem) return {0};
    if (views == ViewsRead::Both) return {kKeyWow64_64Key, kKeyWow64_32Key};
    return {kKeyWow64_64Key};
}

std::string DisplayedKeyPath(RegHandle root, const std::string& path, std::uint32_t view) {
    if ((view & kKeyWow64_32Key) == 0) return path;
    std::vector<std::string> parts = SplitKeyPath(path);
    if (root == kHkeyClassesRoot) {
        if (parts.empty() || !IsRedirectedClassKey(parts[0])) return path;
        parts.insert(parts.begin(), kWow6432Node);
        return JoinKeyPath(parts);
    }
    // The user's class ids are kept per view too
    // (HKCU\Software\Classes\Wow6432Node\CLSID); the rest of HKCU is one
    // key for both.
    const bool user = root == kHkeyCurrentUser;
    if ((root != kHkeyLocalMachine && !user) || parts.empty() ||
        !text::EqualsNoCase(parts[0], "Software"))
        return path;
    // Already the 32-bit copy: the views do not redirect twice.
    if (!user && parts.size() >= 2 && text::EqualsNoCase(parts[1], kWow6432Node)) return path;
    if (parts.size() >= 2 && text::EqualsNoCase(parts[1], "Classes")) {
        if (parts.size() < 3 || !IsRedirectedClassKey(parts[2])) return path;
        parts.insert(parts.begin() + 2, kWow6432Node);
        return JoinKeyPath(parts);
    }
    if (user) return path;
    for (const std::vector<std::string>& shared : SharedMachineKeys())
        if (StartsWithParts(parts, shared)) return path;
    parts.insert(parts.begin() + 1, kWow6432Node);
    return JoinKeyPath(parts);
}

std::string MachineClassPath(const std::string& path, std::uint32_t view) {
    return DisplayedKeyPath(kHkeyLocalMachine, "Software\\Classes\\" + path, view);
}

std::string UserClassPath(const std::string& path, std::uint32_t view) {
    return DisplayedKeyPath(kHkeyCurrentUser, "Software\\Classes\\" + path, view);
}

}  // namespace tv
