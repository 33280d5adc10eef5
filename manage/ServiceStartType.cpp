#include "manage/ServiceStartType.h"

#include "manage/NameCheck.h"
#include "manage/ServiceDeletion.h"
#include "manage/ServiceScan.h"
#include "platform/Prompter.h"
#include "platform/RegistryViews.h"
#include "platform/ServiceDatabase.h"
#include "platform/TextCodec.h"
#include "platform/WideText.h"
#include "restore/RegBackup.h"
#include "restore/RestoreFiles.h"

namespace tv {

const char kNoServiceSelected[] = "请先在列表中选中一个服务。";
const char kEssentialServiceWarning[] =
    "该服务是 Windows 启动和登录所必需的，不能禁用或停止。\n\n本次操作已经被阻止";
const char kStartTypeUnchanged[] = "该服务的启动类型已经是“";
const char kChangeStartTypeError[] = "更改启动类型错误";
const char kStartTypeRecordError[] =
    "启动类型已经更改，但原来的启动类型没有记录下来：请用还原文件恢复。";
const char kRestoreServiceStartSubject[] = "服务启动类型";
const char kMsconfigServicesKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\services";

namespace {

// Named as the service manager names them: ASCII case aside. Each is one
// Windows 7 itself says it needs to start or to log a user on: its own
// service description, and the system-services part of the Threats and
// Countermeasures Guide for Windows 7 and Server 2008 R2
// (learn.microsoft.com/previous-versions/windows/it-pro/windows-server-2008-R2-and-2008/hh125927(v=ws.10)).
const char16_t* const kEssentialServices[] = {
    // COM and DCOM, which nearly every other service and logon use; the
    // services console itself does not let it be disabled.
    u"RpcSs",
    // Without it RpcSs does not start.
    u"RpcEptMapper",
    // Without it RpcSs does not start either.
    u"DcomLaunch",
    // "Stopping or disabling this service will result in system
    // instability"; the services console refuses both.
    u"PlugPlay",
    // "Users will no longer be able to successfully logon or logoff".
    u"ProfSvc",
};

void Tell(const Platform& platform, const std::string& text, unsigned type = kMbOk) {
    platform.prompter->Ask(Prompt{text, "", type, 0});
}

// The service's key and the record's value as they stand, so that
// importing the file gives both back.
bool BackUp(const Platform& platform, const ListRow& row, const std::u16string& exact) {
    RegBackup backup(*platform.registry, *platform.codec);
    backup.Comment(RestoreHeading(kRestoreServiceStartSubject));
    backup.Comment("导入后，该服务的启动类型在 Windows 下次启动时恢复。");
    if (!backup.AddKeyTree(kHkeyLocalMachine, platform.codec->AnsiToWide(kServicesKey) + exact)) {
        TellRestoreFailed(platform);
        return false;
    }
    if (!backup.AddValue(kHkeyLocalMachine, kMsconfigServicesKey, exact, SystemView(platform)))
        backup.AddValueDeletion(kHkeyLocalMachine, kMsconfigServicesKey, exact);
    return SaveRestoreFile(platform, backup, kRestoreServiceStartSubject, row[kServiceName]);
}

bool WriteRecord(const Platform& platform, const std::u16string& exact, std::uint32_t previous) {
    Registry& registry = *platform.registry;
    RegHandle key = 0;
    if (registry.CreateKeyW(kHkeyLocalMachine, platform.codec->AnsiToWide(kMsconfigServicesKey),
                            &key, SystemView(platform)) != kErrorSuccess)
        return false;
    const unsigned char data[4] = {static_cast<unsigned char>(previous),
                                   static_cast<unsigned char>(previous >> 8),
                                   static_cast<unsigned char>(previous >> 16),
                                   static_cast<unsigned char>(previous >> 24)};
    const long status = registry.SetValueW(key, exact, kRegDword, data, 4);
    registry.CloseKey(key);
    return status == kErrorSuccess;
}

bool RemoveRecord(const Platform& platform, const std::u16string& exact) {
    Registry& registry = *platform.registry;
    RegHandle key = 0;
    const long opened =
        registry.OpenKeyW(kHkeyLocalMachine, platform.codec->AnsiToWide(kMsconfigServicesKey),
                          kKeySetValue | kKeyQueryValue | SystemView(platform), &key);
    if (opened == kErrorFileNotFound) return true;
    if (opened != kErrorSuccess) return false;
    const long status = registry.DeleteValueW(key, exact);
    registry.CloseKey(key);
    return status == kErrorSuccess || status == kErrorFileNotFound;
}

}  // namespace

bool IsEssentialService(std::u16string_view exactName) {
    for (const char16_t* name : kEssentialServices)
        if (utf16::EqualsNoCase(exactName, name)) return true;
    return false;
}

bool SetSelectedServiceStartType(const Platform& platform, const ListRow* selected,
                                 std::uint32_t startType) {
    if (!selected) {
        Tell(platform, kNoServiceSelected);
        return false;
    }
    // A name with a NUL would open another service.
    if (RefuseNulNames(platform, {&selected->name})) return false;
    const std::u16string exact = selected->name.Exact(*platform.codec);
    if (startType == kServiceDisabled && IsEssentialService(exact)) {
        Tell(platform, kEssentialServiceWarning, kMbOk | kMbIconExclamation);
        return false;
    }

    OpenedService opened;
    if (!OpenRowService(platform, selected, &opened)) return true;
    ServiceDatabase& database = *platform.serviceDatabase;
    const ScopedService& service = opened.service;
    ServiceConfig config;
    if (!database.QueryConfig(service.Get(), &config)) {
        Tell(platform, kOpenServiceError);
        return true;
    }
    // Disabling twice would record "disabled" as the type to go back to.
    if (config.startType == startType) {
        Tell(platform, kStartTypeUnchanged + StartTypeWord(startType) + "”。");
        return false;
    }
    if (!BackUp(platform, *selected, exact)) return false;
    if (!database.ChangeStartType(service.Get(), startType)) {
        Tell(platform, kChangeStartTypeError);
        return true;
    }
    const bool recorded = startType == kServiceDisabled
                              ? WriteRecord(platform, exact, config.startType)
                              : RemoveRecord(platform, exact);
    if (!recorded) Tell(platform, kStartTypeRecordError);
    return true;
}

}  // namespace tv
