#include "manage/ServiceScan.h"

#include "manage/CommandLineResolution.h"
#include "manage/FileVersionInfo.h"
#include "platform/ServiceDatabase.h"
#include "platform/SystemFiles.h"

namespace tv {

std::string ServiceStateWord(std::uint32_t state) {
    switch (state) {
    case 1: return "已停止";
    case 2: return "启动中";
    case 3: return "停止中";
    case 4: return "已启动";
    case 7: return "已暂停";
    default: return "未知";
    }
}

std::string StartTypeWord(std::uint32_t startType) {
    switch (startType) {
    case 2: return "自动";
    case 3: return "手动";
    case 4: return "禁止";
    default: return "未知";
    }
}

std::string ErrorControlWord(std::uint32_t errorControl) {
    switch (errorControl) {
    case 0: return "<忽略错误>";
    case 1: return "标准类型";
    case 2: return "{错误服务}";
    case 3: return "[重大错误]";
    default: return "";
    }
}

ScHandle OpenNamedService(ServiceDatabase& database, ScHandle manager, const EntryName& name) {
    return name.Stored().empty() ? database.OpenServiceByName(manager, name.Shown(), kServiceAllAccess)
                                 : database.OpenServiceByNameW(manager, name.Stored(), kServiceAllAccess);
}

namespace {

// The columns read through the service's own handle. A service that cannot
// be opened keeps them empty; its row still shows number, names and state.
void FillFromService(const Platform& platform, ServiceDatabase& database, ScHandle manager,
                     FileVersionInfo& version, ListRow* row) {
    ScopedService service(database, OpenNamedService(database, manager, row->name));
    if (!service) return;
    ServiceConfig config;
    if (database.QueryConfig(service.Get(), &config)) {
        (*row)[kServiceStartType] = StartTypeWord(config.startType);
        (*row)[kServiceCommandLine] = config.binaryPath;
        (*row)[kServiceErrorControl] = ErrorControlWord(config.errorControl);
        std::string path = ResolveServiceImagePath(config.binaryPath);
        (*row)[kServiceFilePath] = path;
        bool safe = platform.systemFiles->IsProtected(path);
        (*row)[kServiceSafe] = safe ? kSafeYes : kSafeNo;
        (*row)[kServiceSafeFlag] = safe ? "1" : "0";
        if (version.Open(path)) {
            (*row)[kServiceCompany] = version.GetCompanyName();
            (*row)[kServiceFileVersion] = version.GetFileVersion();
            (*row)[kServiceFileDescription] = version.GetFileDescription();
        }
        version.Release();
    }
    std::string description;
    if (database.QueryDescription(service.Get(), &description))
        (*row)[kServiceDescription] = description;
}

}  // namespace

std::vector<ListRow> ServiceScan(const Platform& platform, const std::function<bool()>& stop) {
    std::vector<ListRow> rows;
    ServiceDatabase& database = *platform.serviceDatabase;
    ScopedService manager(database,
                          database.OpenManager(kGenericRead | kScManagerEnumerateService));
    if (!manager) return rows;
    std::vector<ServiceStatusEntry> services;
    if (!database.Enumerate(manager.Get(), kServiceWin32, kServiceStateAll, &services)) return rows;

    FileVersionInfo version(*platform.versions);
    for (size_t i = 0; i < services.size(); ++i) {
        if (stop && stop()) break;
        ListRow row(kServiceColumnCount);
        row[kServiceNumber] = std::to_string(i + 1);
        row[kServiceName] = services[i].name.Shown();
        row.name = services[i].name;
        row[kServiceDisplayName] = services[i].displayName;
        row[kServiceState] = ServiceStateWord(services[i].currentState);
        FillFromService(platform, database, manager.Get(), version, &row);
        rows.push_back(std::move(row));
    }
    SortBySafeFlag(&rows, kServiceSafeFlag);
    return rows;
}

}  // namespace tv
