#include "manage/ServiceDeletion.h"

#include "manage/NameCheck.h"
#include "manage/ServiceScan.h"
#include "platform/Prompter.h"
#include "platform/ServiceDatabase.h"
#include "platform/TextCodec.h"
#include "restore/RegBackup.h"
#include "restore/RestoreFiles.h"

namespace tv {

const char kDeleteServiceQuestion[] =
    "不推荐您删除服务,删除的服务将无法恢复,如果您对某服务无法判断有害可以尝试调整启动方式为[ 禁止禁用 ],您真的要删除这个服务吗?,";
const char kDeleteServiceCaption[] = "高级服务管理器";
const char kProtectedServiceWarning[] =
    "侦测出该文件是 Windows 系统文件并且是安全的,删除后将影响系统正常运行.\n\n本次删除操作已经被阻止";
const char kOpenManagerError[] = "打开服务管理器错误";
const char kOpenServiceError[] = "打开服务错误";
const char kDeleteServiceError[] = "删除服务错误";
const char kRestoreServiceSubject[] = "删除服务";
const char kServicesKey[] = "SYSTEM\\CurrentControlSet\\Services\\";

namespace {

void Tell(const Platform& platform, const char* text, const char* caption = "",
          unsigned type = kMbOk) {
    platform.prompter->Ask(Prompt{text, caption, type, 0});
}

// The service's whole registry key, which the service manager reads again
// at the next start of Windows. A service that still runs is only marked
// (DeleteFlag) and goes with its key when Windows restarts: the file clears
// the mark, and is to be imported once the key is gone.
bool BackUpService(const Platform& platform, const EntryName& name, bool running) {
    RegBackup backup(*platform.registry, *platform.codec);
    backup.Comment(RestoreHeading(kRestoreServiceSubject));
    backup.Comment(running ? "该服务正在运行，删除要到 Windows 重新启动时才完成：请在重新启动之后再导入本文件。"
                           : "导入后，该服务在 Windows 下次启动时恢复。");
    // A service whose key cannot be read could not be brought back.
    const std::u16string key = platform.codec->AnsiToWide(kServicesKey) + name.Exact(*platform.codec);
    if (!backup.AddKeyTree(kHkeyLocalMachine, key)) {
        TellRestoreFailed(platform);
        return false;
    }
    if (running) backup.AddValueDeletion(kHkeyLocalMachine, key, u"DeleteFlag");
    return SaveRestoreFile(platform, backup, kRestoreServiceSubject, name.Shown());
}

}  // namespace

bool OpenRowService(const Platform& platform, const ListRow* row, OpenedService* opened) {
    ServiceDatabase& database = *platform.serviceDatabase;
    opened->manager = ScopedService(database, database.OpenManager(kScManagerAllAccess));
    if (!opened->manager) {
        Tell(platform, kOpenManagerError);
        return false;
    }
    if (row)
        opened->service = ScopedService(database, OpenNamedService(database, opened->manager.Get(), row->name));
    if (!opened->service) {
        Tell(platform, kOpenServiceError);
        return false;
    }
    return true;
}

bool DeleteSelectedService(const Platform& platform, const ListRow* selected) {
    // Nothing to ask about: a name with a NUL would be cut, and another
    // service opened, kept and deleted.
    if (selected && RefuseNulNames(platform, {&selected->name})) return false;
    int answer = platform.prompter->Ask(Prompt{kDeleteServiceQuestion, kDeleteServiceCaption,
                                               kMbYesNo | kMbIconExclamation | kMbDefButton2, 0});
    if (answer != kIdYes) return false;
    if (selected && (*selected)[kServiceSafe] == kSafeYes) {
        Tell(platform, kProtectedServiceWarning, "警告", kMbOk | kMbIconExclamation);
        return false;
    }

    // Without a selected row there is no service to open.
    OpenedService opened;
    if (!OpenRowService(platform, selected, &opened)) return true;
    ServiceDatabase& database = *platform.serviceDatabase;
    const ScopedService& service = opened.service;
    // A state that cannot be read is taken for running: the mark is then
    // cleared by the file all the same.
    std::uint32_t state = 0;
    const bool running = !database.QueryState(service.Get(), &state) || state != kServiceStopped;
    if (!BackUpService(platform, selected->name, running)) return false;
    if (!database.Delete(service.Get())) Tell(platform, kDeleteServiceError);
    return true;
}

}  // namespace tv
