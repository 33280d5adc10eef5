#include "manage/AddonSources.h"

namespace tv {

// On 64-bit Windows both browsers run: 32-bit Internet Explorer loads the
// add-ons registered in the 32-bit copy of HKLM\Software (Wow6432Node), the
// 64-bit one those of the 64-bit copy, so the machine's sources are read in
// both views. HKCU\Software is not redirected: the search hooks are one key
// for both (measured the same under Wine).
const AddonSource kAddonSources[kAddonSourceCount] = {
    {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar", AddonNames::Values,
     AddonDetails::ClassKey, "工具条 ,随IE启动,影响速度", 0, ViewsRead::Both},
    {kHkeyCurrentUser, "Software\\Microsoft\\Internet Explorer\\URLSearchHooks",
     AddonNames::Values, AddonDetails::ClassKey, "URLSearchHook Url搜索钩子", 0, ViewsRead::Shared},
    {kHkeyLocalMachine,
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects",
     AddonNames::SubKeys, AddonDetails::ClassKey, "[BHO] ,注意可能是间谍软件", 1, ViewsRead::Both},
    {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions",
     AddonNames::SubKeys, AddonDetails::ExtensionKey, "[BHO] ,浏览器扩展注意分析", 2, ViewsRead::Both},
};

const AddonSource& AddonSourceByType(std::string_view typeText) {
    for (const AddonSource& source : kAddonSources) {
        if (typeText == source.typeText) return source;
    }
    return kAddonSources[kAddonSourceCount - 1];
}

}  // namespace tv
