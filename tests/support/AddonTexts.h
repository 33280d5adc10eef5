// What the add-on tests expect, written out once: the four registry
// locations and the type texts the list shows for them.
#pragma once

namespace tv::testing {

inline constexpr char kToolbarKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";
inline constexpr char kHooksKey[] = "Software\\Microsoft\\Internet Explorer\\URLSearchHooks";
inline constexpr char kHelpersKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
inline constexpr char kExtensionsKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions";

inline constexpr char kToolbarType[] = "工具条 ,随IE启动,影响速度";
inline constexpr char kHookType[] = "URLSearchHook Url搜索钩子";
inline constexpr char kHelperType[] = "[BHO] ,注意可能是间谍软件";
inline constexpr char kExtensionType[] = "[BHO] ,浏览器扩展注意分析";

}  // namespace tv::testing
