#include "manage/TaskSwitch.h"

#include <memory>

#include "manage/NameCheck.h"
#include "manage/StartupDisable.h"
#include "manage/TaskRemoval.h"
#include "platform/Prompter.h"
#include "platform/TaskScheduler.h"
#include "platform/TextCodec.h"
#include "restore/RegBackup.h"
#include "restore/RestoreFiles.h"

namespace tv {

const char kTaskSwitchFailedMessage[] = "任务计划程序没有接受这一更改，该计划任务保持原状。";

namespace {

const char kDisableSubject[] = "禁用启动项";
const char kEnableSubject[] = "启用启动项";

}  // namespace

bool IsDisabledTaskRow(const StartupRowTexts& row) {
    return IsTaskRow(row) && row.subkey.rfind(std::string(kDisabledMark) + " ", 0) == 0;
}

bool SwitchTaskItem(const Platform& platform, const StartupRowTexts& row, bool enable) {
    if (RefuseNulNames(platform, {&row.name, &row.hidden})) return false;
    if (!IsTaskRow(row) || IsDisabledTaskRow(row) != enable) return false;
    std::u16string path;
    if (CheckTaskRowPath(platform, row, &path) != TaskRowPath::kTask) return false;
    std::u16string xml;
    if (!platform.tasks->TaskXml(path, &xml)) return true;  // gone meanwhile: the rescan shows it

    // Nothing of the registry changes: the restore file is the command that
    // switches the task back.
    const char* subject = enable ? kEnableSubject : kDisableSubject;
    RegBackup backup(*platform.registry, *platform.codec);
    backup.Comment(RestoreHeading(subject));
    backup.Comment(platform.codec->AnsiToWide("恢复时请在命令提示符中运行：schtasks /change /tn \"") + path +
                   (enable ? u"\" /disable" : u"\" /enable"));
    std::unique_ptr<NewFile> restoreFile;
    if (!SaveRestoreFile(platform, backup, subject, row.name.Shown(), nullptr, &restoreFile)) return false;
    if (!platform.tasks->SetTaskEnabled(path, enable)) {
        restoreFile->Discard();
        platform.prompter->Ask(Prompt{kTaskSwitchFailedMessage, "", kMbOk | kMbIconExclamation, 0});
        return false;
    }
    return true;
}

}  // namespace tv
