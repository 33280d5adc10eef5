// The processes list: one row per running process with its file data,
// ids, protection, window, priority, memory, account and start time,
// unprotected processes first.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "manage/ListRow.h"
#include "platform/Platform.h"
#include "platform/ProcessTable.h"

namespace tv {

enum ProcessColumn : size_t {
    kProcessImageName = 0,
    kProcessDescription,
    kProcessId,
    kProcessParentId,
    kProcessSafe,
    kProcessWindow,
    kProcessPath,
    kProcessPriority,
    kProcessWorkingSet,
    kProcessPagefile,
    kProcessAccount,
    kProcessStartTime,
    kProcessThreads,
    kProcessSafeFlag,
    kProcessColumnCount
};

// The word for a base priority; empty for 5, which no class has.
std::string PriorityWord(std::int32_t basePriority);
// "2009-12-5 08:03:01": the day unpadded.
std::string FormatStartTime(const LocalTime& time);
// "10,240 KB" from a byte count: whole KB, grouped.
std::string FormatKilobytes(std::uint64_t bytes);

// The image path of an opened process: the kernel's record first, since a
// process can rewrite what its own memory says it is; the process's own
// record only where the kernel's cannot be had (before Vista). False when
// neither can be read.
bool ReadImagePath(ProcessTable& table, ProcessHandle process, std::string* path);

// Every running process, in the order the list shows them: the reverse of
// the snapshot order, then sorted by the safe flag. Empty when no snapshot
// can be read. Once `stop` says so, between processes, it ends early with
// what it has.
std::vector<ListRow> ListProcessRows(const Platform& platform,
                                     const std::function<bool()>& stop = {});

}  // namespace tv
