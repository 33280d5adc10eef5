#include "manage/ProcessActions.h"

#include <cstdlib>
#include <string>

#include "manage/CommandLineResolution.h"
#include "manage/ProcessList.h"
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
    bool enabled = EnablePrivilege(*platform.tokens, "SeDebugPrivilege", true);
    if (!enabled)
        platform.prompter->Ask(Prompt{failureText, "提示", kMbOk, 0});
}

void WriteAutoRestartShell(const Platform& platform) {
    // Winlogon reads only the system's own copy.
    RegKey key = RegKey::Create(*platform.registry, kHkeyLocalMachine,
                                "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
                                SystemView(platform));
    if (key) key.SetDword("AutoRestartShell", 1);
}

namespace {

// Whether the opened process is still the one the row was read from: its
// start time and path read now as the list read them then.
bool IsTheRowsProcess(const Platform& platform, ProcessHandle process, const ListRow& row) {
    ProcessTable& table = *platform.processes;
    std::string path, image;
    if (ReadImagePath(table, process, &image)) NormalizeNtPath(*platform.environment, image, &path);
    std::string started;
    LocalTime created;
    if (table.CreationTime(process, &created)) started = FormatStartTime(created);
    return path == row[kProcessPath] && started == row[kProcessStartTime];
}

}  // namespace

void EndProcesses(const Platform& platform, const std::vector<ListRow>& rows) {
    ProcessTable& table = *platform.processes;
    for (const ListRow& row : rows) {
        auto id = static_cast<std::uint32_t>(std::strtoul(row[kProcessId].c_str(), nullptr, 10));
        if (id == 0) continue;
        ScopedProcess process(table, table.Open(id, kProcessAllAccessLegacy));
        if (process && IsTheRowsProcess(platform, process.Get(), row)) table.Terminate(process.Get(), 1);
    }
    platform.environment->Wait(400);
}

}  // namespace tv
