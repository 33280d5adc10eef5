#include "manage/RegistryJump.h"

#include <algorithm>

#include "manage/StartupDisable.h"
#include "platform/RegistryViews.h"
#include "platform/SystemFolders.h"
#include "platform/WideText.h"

namespace tv {

const char kRegeditSettingsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
const char kRegeditLastKeyValue[] = "LastKey";
const char16_t kRegeditTopItemEnglish[] = u"Computer";
const char16_t kRegeditTopItemChinese[] = u"计算机";

namespace {

constexpr char kServicesKey[] = "SYSTEM\\CurrentControlSet\\services\\";
// A top item's name is a word or two; anything longer in the value is not
// one the editor wrote.
constexpr std::size_t kMaxTopItemLength = 64;
// The editor's remembered key is read up to this size; a longer value is
// not the editor's.
constexpr std::uint32_t kMaxLastKeyBytes = 4096;

std::u16string Ascii(const char* text) {
    std::u16string wide;
    for (; *text != '\0'; ++text) wide += static_cast<char16_t>(static_cast<unsigned char>(*text));
    return wide;
}

bool StartsWith(const std::u16string& text, const std::u16string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::optional<RegistryPlace> StartupRowPlace(const std::u16string& hidden) {
    RegistryPlace place;
    if (utf16::StartsWithNoCase(hidden, u"HKCU\\")) place.root = kHkeyCurrentUser;
    else if (utf16::StartsWithNoCase(hidden, u"HKLM\\")) place.root = kHkeyLocalMachine;
    else return std::nullopt;
    place.path = hidden.substr(5);
    // A switched-off entry's record is named after the value, which may
    // itself end in brackets: the whole text is the record's key.
    const bool record = utf16::StartsWithNoCase(hidden, Ascii(kStartupRegRecordPrefix)) ||
                        utf16::StartsWithNoCase(hidden, Ascii(kStartupFolderRecordPrefix));
    if (!record && !place.path.empty() && place.path.back() == u']') {
        // No key the list walks has " [" in its path: the last one opens
        // the value's name.
        const std::size_t bracket = place.path.rfind(u" [");
        if (bracket != std::u16string::npos) place.path.resize(bracket);
    }
    while (!place.path.empty() && place.path.back() == u'\\') place.path.pop_back();
    if (place.path.empty()) return std::nullopt;
    return place;
}

RegistryPlace ServicePlace(const std::u16string& serviceName) {
    return {kHkeyLocalMachine, Ascii(kServicesKey) + serviceName};
}

RegistryPlace AddonPlace(const AddonSource& source, const std::u16string& name, std::uint32_t view) {
    RegistryPlace place{source.root, Ascii(DisplayedKeyPath(source.root, source.path, view).c_str())};
    if (source.names == AddonNames::SubKeys) place.path += u"\\" + name;
    return place;
}

std::u16string RootKeyName(RegHandle root) {
    switch (root) {
    case kHkeyClassesRoot: return u"HKEY_CLASSES_ROOT";
    case kHkeyCurrentUser: return u"HKEY_CURRENT_USER";
    case kHkeyLocalMachine: return u"HKEY_LOCAL_MACHINE";
    default: return {};
    }
}

std::u16string RegeditTopItem(const std::u16string& lastKey, const std::u16string& fallback) {
    const std::size_t slash = lastKey.find(u'\\');
    if (slash == std::u16string::npos || slash == 0 || slash > kMaxTopItemLength) return fallback;
    // What follows must be a root: a value that begins with one has no top
    // item at all.
    if (!StartsWith(lastKey.substr(slash + 1), u"HKEY_") || StartsWith(lastKey, u"HKEY_"))
        return fallback;
    const std::u16string top = lastKey.substr(0, slash);
    for (char16_t unit : top)
        if (unit < u' ') return fallback;
    return top;
}

std::u16string RegeditLastKey(const std::u16string& topItem, const RegistryPlace& place) {
    std::u16string text = topItem + u"\\" + RootKeyName(place.root);
    if (!place.path.empty()) text += u"\\" + place.path;
    return text;
}

bool RememberRegeditKey(Registry& registry, std::uint32_t view, const RegistryPlace& place,
                        const std::u16string& fallbackTopItem) {
    if (RootKeyName(place.root).empty()) return false;
    RegKey key = RegKey::Create(registry, kHkeyCurrentUser, kRegeditSettingsKey, view);
    if (!key) return false;
    // The value is the user's to write: it is only read for the name the
    // editor gives its top item, and only a short plain name is taken.
    std::u16string before;
    std::string data(kMaxLastKeyBytes, '\0');
    std::uint32_t size = kMaxLastKeyBytes;
    std::uint32_t type = 0;
    if (registry.QueryValueW(key.Handle(), Ascii(kRegeditLastKeyValue), &type, data.data(), &size) ==
            kErrorSuccess &&
        type == kRegSz) {
        // A NUL before the first backslash makes it no name (see RegeditTopItem).
        before = utf16::FromBytes(std::string_view(data.data(), std::min<std::size_t>(size, data.size())));
    }
    const std::u16string text = RegeditLastKey(RegeditTopItem(before, fallbackTopItem), place);
    const std::string bytes = utf16::ToBytes(text + u'\0');
    return registry.SetValueW(key.Handle(), Ascii(kRegeditLastKeyValue), kRegSz, bytes.data(),
                              static_cast<std::uint32_t>(bytes.size())) == kErrorSuccess;
}

std::string RegeditPath(const Platform& platform) {
    const std::string windows = SystemFoldersOf(platform).windows;
    if (windows.empty()) return {};
    return windows + "\\regedit.exe";
}

}  // namespace tv
