#include "manage/TaskScan.h"

#include "manage/CommandLineResolution.h"
#include "manage/StartupDisable.h"
#include "manage/TaskXml.h"
#include "platform/TaskScheduler.h"
#include "platform/TextCodec.h"

namespace tv {

const char kTaskRootText[] = "计划任务";

namespace {

// "\Vendor" for "\Vendor\Updater"; "\" for a task of the root folder.
std::u16string FolderOf(const std::u16string& path) {
    const std::size_t slash = path.rfind(u'\\');
    if (slash == std::u16string::npos || slash == 0) return u"\\";
    return path.substr(0, slash);
}

// The program and its arguments as one command line, for the resolution
// every autostart command goes through.
std::u16string CommandLine(const TaskExec& exec) {
    if (exec.arguments.empty()) return exec.command;
    return exec.command + u" " + exec.arguments;
}

}  // namespace

void ScanTasks(const Platform& platform, std::vector<StartupItem>* items,
               const std::function<bool()>& stop, std::vector<StartupItem>* disabled) {
    const TextCodec& codec = *platform.codec;
    for (const RegisteredTask& task : platform.tasks->Tasks(stop)) {
        if (stop && stop()) return;
        TaskDefinition definition;
        if ((!task.enabled && !disabled) || !ReadTaskXml(task.xml, &definition)) continue;
        bool logon = false, boot = false;
        for (const TaskTrigger& trigger : definition.triggers) {
            if (!trigger.enabled) continue;
            logon = logon || trigger.kind == TaskTriggerKind::Logon;
            boot = boot || trigger.kind == TaskTriggerKind::Boot;
        }
        if (!logon && !boot) continue;
        std::string when = logon && boot ? " [登录时,启动时]" : logon ? " [登录时]" : " [启动时]";
        std::vector<StartupItem>* into = task.enabled ? items : disabled;
        for (const TaskExec& exec : definition.execs) {
            StartupItem item;
            item.name = EntryName::Of(task.name, codec);
            item.path = ResolveAutostartCommand(*platform.environment, *platform.files,
                                                codec.WideToAnsi(CommandLine(exec)));
            item.root = kTaskRootText;
            // The mark leads, so that it shows however narrow the column.
            item.subkey = (task.enabled ? std::string() : std::string(kDisabledMark) + " ") +
                          codec.WideToAnsi(FolderOf(task.path)) + when;
            item.hidden = EntryName::Of(task.path, codec);
            item.iconFile = item.path;
            item.iconResource = kIconRegistryFile;
            into->push_back(std::move(item));
        }
    }
}

}  // namespace tv
