#include "manage/AddonSources.h"

namespace tv {

const AddonSource kAddonSources[kAddonSourceCount] = {
    {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar", AddonNames::Values,
     AddonDetails::ClassKey, "工具条 ,随IE启动,影响速度", 0},
    {kHkeyCurrentUser, "Software\\Microsoft\\Internet Explorer\\URLSearchHooks",
     AddonNames::Values, AddonDetails::ClassKey, "URLSearchHook Url搜索钩子", 0},
    {kHkeyLocalMachine,
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects",
     AddonNames::SubKeys, AddonDetails::ClassKey, "[BHO] ,注意可能是间谍软件", 1},
    {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions",
     AddonNames::SubKeys, AddonDetails::ExtensionKey, "[BHO] ,浏览器扩展注意分析", 2},
};

const AddonSource& AddonSourceByType(std::string_view typeText) {
    for (const AddonSource& source : kAddonSources) {
        if (typeText == source.typeText) return source;
    }
    return kAddonSources[kAddonSourceCount - 1];
}

}  // namespace tv
