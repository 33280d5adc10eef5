#include "manage/ProcessActions.h"

#include "manage/SystemHelpers.h"
#include "platform/Environment.h"
#include "platform/ProcessTable.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/RegistryViews.h"

namespace tv {

const char kProcessPrivilegeFailure[] = "提升权限失败，请尝试使用系统管理员帐户启动本程序";
const char kServicePrivilegeFailure[] = "提升权限失败，请尝试使用系统管理员帐号运行";

void EnableDebugPrivilegeOrTell(const Platform& platform, const char* failureText) {
    bool enabled = platform.tokens && EnablePrivilege(*platform.tokens, "SeDebugPrivilege", true);
    if (!enabled && platform.prompter)
        platform.prompter->Ask(Prompt{failureText, "提示", kMbOk, 0});
}

void WriteAutoRestartShell(const Platform& platform) {
    if (!platform.registry) return;
    // Winlogon reads only the system's own copy.
    RegKey key = RegKey::Create(*platform.registry, kHkeyLocalMachine,
                                "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
                                SystemView(platform));
    if (key) key.SetDword("AutoRestartShell", 1);
}

void EndProcesses(const Platform& platform, const std::vector<std::uint32_t>& ids) {
    if (platform.processes) {
        ProcessTable& table = *platform.processes;
        for (std::uint32_t id : ids) {
            if (id == 0) continue;
            ScopedProcess process(table, table.Open(id, kProcessAllAccessLegacy));
            if (process) table.Terminate(process.Get(), 1);
        }
    }
    if (platform.environment) platform.environment->Wait(400);
}

}  // namespace tv
