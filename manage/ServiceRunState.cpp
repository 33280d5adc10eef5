#include "manage/ServiceRunState.h"

#include <algorithm>
#include <vector>

#include "manage/NameCheck.h"
#include "manage/ServiceDeletion.h"
#include "manage/ServiceScan.h"
#include "manage/ServiceStartType.h"
#include "platform/Prompter.h"
#include "platform/ServiceDatabase.h"
#include "platform/TextCodec.h"

namespace tv {

const char kServiceStartError[] = "启动服务错误";
const char kServiceStopError[] = "停止服务错误";
const char kServiceIsDisabledMessage[] = "该服务已被禁用，请先把它设为自动或手动，再启动。";
const char kServiceAlreadyRunningMessage[] = "该服务已经在运行。";
const char kServiceNotRunningMessage[] = "该服务没有在运行。";
const char kServiceStartTimeout[] = "该服务在 30 秒内没有启动完成，请稍后刷新列表查看它的状态。";
const char kServiceStopTimeout[] = "该服务在 30 秒内没有停止，请稍后刷新列表查看它的状态。";
const char kServiceDependentsRunning[] = "下列正在运行的服务依赖该服务，请先停止它们:";

namespace {

enum class Waited { Reached, TimedOut, Stopped, Unreadable };

// Polls until `target` or the bound; the time is measured, not counted in
// pauses, so slow state queries shorten the wait rather than lengthen it.
Waited WaitFor(ServiceDatabase& database, ScHandle service, std::uint32_t target,
               const std::function<bool()>& stop, const WaitClock& clock) {
    const std::uint32_t begun = clock.now();
    for (;;) {
        std::uint32_t state = 0;
        if (!database.QueryState(service, &state)) return Waited::Unreadable;
        if (state == target) return Waited::Reached;
        // A start that fell back to stopped has failed.
        if (target == kServiceRunning && state == kServiceStopped) return Waited::Unreadable;
        if (stop && stop()) return Waited::Stopped;
        const std::uint32_t spent = clock.now() - begun;
        if (spent >= kServiceWaitMs) return Waited::TimedOut;
        const std::uint32_t left = kServiceWaitMs - spent;
        clock.sleep(std::min(left, kServicePollMs));
    }
}

std::string Dependents(ServiceDatabase& database, ScHandle service) {
    std::vector<ServiceStatusEntry> dependents;
    std::string text = kServiceDependentsRunning;
    if (database.EnumerateDependents(service, kServiceActive, &dependents))
        for (const ServiceStatusEntry& entry : dependents) {
            text += "\n" + entry.name.Shown();
            if (!entry.displayName.empty() && entry.displayName != entry.name.Shown())
                text += " (" + entry.displayName + ")";
        }
    return text;
}

}  // namespace

std::optional<RunRequest> PrepareRunChange(const Platform& platform, const ListRow* selected,
                                           RunChange change) {
    if (!selected) {
        platform.prompter->Ask(Prompt{kNoServiceSelected, "", kMbOk, 0});
        return std::nullopt;
    }
    if (RefuseNulNames(platform, {&selected->name})) return std::nullopt;
    if (change == RunChange::Stop && IsEssentialService(selected->name.Exact(*platform.codec))) {
        platform.prompter->Ask(
            Prompt{kEssentialServiceWarning, "", kMbOk | kMbIconExclamation, 0});
        return std::nullopt;
    }
    return RunRequest{change, selected->name};
}

std::string ChangeRunState(const Platform& platform, const RunRequest& request,
                           const std::function<bool()>& stop, const WaitClock& clock) {
    ServiceDatabase& database = *platform.serviceDatabase;
    ScopedService manager(database, database.OpenManager(kScManagerAllAccess));
    if (!manager) return kOpenManagerError;
    ScopedService service(database, OpenNamedService(database, manager.Get(), request.name));
    if (!service) return kOpenServiceError;

    const bool starting = request.change == RunChange::Start;
    const std::uint32_t error =
        starting ? database.StartByHandle(service.Get()) : database.StopByHandle(service.Get());
    switch (error) {
    case 0: break;
    case kErrorServiceIsDisabled: return kServiceIsDisabledMessage;
    case kErrorServiceAlreadyRunning: return kServiceAlreadyRunningMessage;
    case kErrorServiceNotActive: return kServiceNotRunningMessage;
    case kErrorDependentServicesRunning: return Dependents(database, service.Get());
    default: return starting ? kServiceStartError : kServiceStopError;
    }
    switch (WaitFor(database, service.Get(), starting ? kServiceRunning : kServiceStopped, stop,
                    clock)) {
    case Waited::Reached:
    case Waited::Stopped: return {};
    case Waited::TimedOut: return starting ? kServiceStartTimeout : kServiceStopTimeout;
    case Waited::Unreadable: break;
    }
    return starting ? kServiceStartError : kServiceStopError;
}

}  // namespace tv
