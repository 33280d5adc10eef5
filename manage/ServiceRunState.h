// Starting and stopping the selected service: the checks and every message
// on the window's thread, the service manager's calls and the wait for the
// new state off it, bounded and stopped on request.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "manage/ListRow.h"
#include "platform/Platform.h"

namespace tv {

extern const char kServiceStartError[];
extern const char kServiceStopError[];
extern const char kServiceIsDisabledMessage[];
extern const char kServiceAlreadyRunningMessage[];
extern const char kServiceNotRunningMessage[];
extern const char kServiceStartTimeout[];
extern const char kServiceStopTimeout[];
extern const char kServiceDependentsRunning[];  // followed by one name a line

// The longest wait for the new state, and the time between two looks.
constexpr std::uint32_t kServiceWaitMs = 30000;
constexpr std::uint32_t kServicePollMs = 250;

enum class RunChange { Start, Stop };

struct RunRequest {
    RunChange change = RunChange::Start;
    EntryName name;  // as the row names it
};

// The clock the wait runs by: milliseconds that may wrap, and a pause.
struct WaitClock {
    std::function<std::uint32_t()> now;
    std::function<void(std::uint32_t)> sleep;
};

// On the window's thread: the request for the selected row, or nothing
// (the user has been told why: no row, a name with a NUL, a service
// Windows cannot do without).
std::optional<RunRequest> PrepareRunChange(const Platform& platform, const ListRow* selected,
                                           RunChange change);

// Off the window's thread: opens the service, asks for the start or the
// stop and waits until the service has reached the new state, at most
// kServiceWaitMs, or until `stop` says so. The message to show when done;
// empty when it went as asked or the wait was stopped. Calls no prompter.
std::string ChangeRunState(const Platform& platform, const RunRequest& request,
                           const std::function<bool()>& stop, const WaitClock& clock);

}  // namespace tv
