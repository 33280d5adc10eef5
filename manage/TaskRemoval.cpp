#include "manage/TaskRemoval.h"

#include <vector>

#include "manage/NameCheck.h"
#include "manage/TaskScan.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/TaskScheduler.h"
#include "platform/TextCodec.h"
#include "platform/WideText.h"
#include "restore/RegBackup.h"
#include "restore/RestoreFiles.h"

namespace tv {

namespace {

// The folders and name of a task path, however its separators are written.
std::vector<std::u16string> PartsOf(const std::u16string& path) {
    std::vector<std::u16string> parts;
    std::u16string part;
    for (char16_t c : path + u"\\") {
        if (c == u'\\' || c == u'/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    return parts;
}

std::string Utf16LeWithBom(const std::u16string& text) { return "\xFF\xFE" + utf16::ToBytes(text); }

}  // namespace

bool IsTaskRow(const StartupRowTexts& row) {
    return row.root == kTaskRootText && !row.subkey.empty();
}

TaskRowPath CheckTaskRowPath(const Platform& platform, const StartupRowTexts& row, std::u16string* path) {
    const TextCodec& codec = *platform.codec;
    *path = row.hidden.Exact(codec);
    const std::vector<std::u16string> parts = PartsOf(*path);
    if (parts.empty()) return TaskRowPath::kNone;
    for (const std::u16string& part : parts)
        if (part == u"." || part == u"..") return TaskRowPath::kNone;
    // The system's own tasks: Windows needs them.
    if (parts.size() >= 3 && utf16::EqualsNoCase(parts[0], u"Microsoft") && utf16::EqualsNoCase(parts[1], u"Windows")) {
        Prompt prompt;
        prompt.text = kProtectedStartupMessage;
        prompt.type = kMbOk;
        platform.prompter->Ask(prompt);
        return TaskRowPath::kProtected;
    }
    // The row stands for this task alone: its path must end in its name.
    if (parts.back() != row.name.Exact(codec)) return TaskRowPath::kNone;
    return TaskRowPath::kTask;
}

namespace {

// One moment, read once, for everything named after it.
class HeldClock : public Clock {
public:
    explicit HeldClock(LocalDateTime when) : when_(when) {}
    LocalDate Today() const override { return when_.date; }
    LocalDateTime Now() const override { return when_; }

private:
    LocalDateTime when_;
};

}  // namespace

bool RemoveTaskItem(const Platform& platform, const StartupRowTexts& row) {
    if (RefuseNulNames(platform, {&row.name, &row.hidden})) return false;
    const TextCodec& codec = *platform.codec;
    std::u16string path;
    const TaskRowPath checked = CheckTaskRowPath(platform, row, &path);
    if (checked == TaskRowPath::kProtected) return false;
    if (checked == TaskRowPath::kNone) return true;
    std::u16string xml;
    if (!platform.tasks->TaskXml(path, &xml)) return true;  // gone already

    // The definition as Task Scheduler's own XML (UTF-16, as schtasks reads
    // it), then the restore file naming it; only with both may it go. Both
    // are named from one reading of the clock, so the pair shares its name.
    HeldClock held(platform.clock->Now());
    Platform once = platform;
    once.clock = held;
    const std::string xmlPath = RestoreFolderSlot(
        once, RestoreFileStem(held.Now(), kRestoreStartupSubject, row.name.Shown()) + ".xml");
    std::unique_ptr<NewFile> xmlFile;
    if (!xmlPath.empty()) xmlFile = platform.files->WriteNewFile(xmlPath, Utf16LeWithBom(xml));
    if (!xmlFile) {
        TellRestoreFailed(platform);
        return false;
    }
    RegBackup backup(*platform.registry, codec);
    backup.Comment(RestoreHeading(kRestoreStartupSubject));
    backup.Comment(std::string("计划任务的定义已保存到：") + xmlPath);
    backup.Comment(codec.AnsiToWide("恢复时请在命令提示符中运行：schtasks /create /xml \"" + xmlPath +
                                    "\" /tn \"") +
                   path + u"\"");
    std::unique_ptr<NewFile> restoreFile;
    if (!SaveRestoreFile(once, backup, kRestoreStartupSubject, row.name.Shown(), nullptr, &restoreFile)) {
        xmlFile->Discard();
        return false;
    }
    // A task that cannot be deleted stays, and so nothing is kept for it.
    if (!platform.tasks->DeleteTask(path)) {
        restoreFile->Discard();
        xmlFile->Discard();
    }
    return true;
}

}  // namespace tv
