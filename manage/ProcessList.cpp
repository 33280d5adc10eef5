#include "manage/ProcessList.h"

#include <algorithm>
#include <cstdio>

#include "manage/CommandLineResolution.h"
#include "manage/FileVersionInfo.h"
#include "manage/SystemHelpers.h"
#include "platform/SystemFiles.h"

namespace tv {

std::string PriorityWord(std::int32_t base) {
    if (base > 10) return "   高";
    if (base >= 9) return "高>标";
    if (base == 8) return "标 准";
    if (base >= 6) return "低<标";
    if (base < 5) return "   低";
    return "";
}

std::string FormatStartTime(const LocalTime& t) {
    char text[64];
    std::snprintf(text, sizeof(text), "%02d-%02d-%d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

std::string FormatKilobytes(std::uint64_t bytes) {
    // The counters are 32-bit on the platform the lists were made for; a
    // larger figure is shown whole rather than wrapped.
    std::uint64_t kilobytes = bytes / 1024;
    std::uint32_t shown = static_cast<std::uint32_t>(std::min<std::uint64_t>(kilobytes, 0xFFFFFFFFu));
    return FormatGroupedNumber(shown, ',', 3) + " KB";
}

bool ReadImagePath(ProcessTable& table, ProcessHandle process, std::string* path) {
    return table.KernelImagePath(process, path) || table.ModuleImagePath(process, path);
}

namespace {

bool IsSystemPseudoProcess(std::uint32_t id) { return id == 0 || id == 4 || id == 8; }

void FillDetails(const Platform& platform, const ProcessEntry& entry, ProcessHandle process,
                 FileVersionInfo& version, ListRow* row) {
    ProcessTable& table = *platform.processes;
    ListRow& r = *row;
    r[kProcessThreads] = std::to_string(entry.threads);
    r[kProcessId] = std::to_string(entry.id);
    r[kProcessParentId] = std::to_string(entry.parentId);
    r[kProcessPriority] = PriorityWord(entry.basePriority);
    if (table.OwnsTopLevelWindow(entry.id)) r[kProcessWindow] = "有";

    const std::string& path = r[kProcessPath];
    if (version.Open(path)) r[kProcessDescription] = version.GetFileDescription();
    version.Release();
    bool safe = !path.empty() && platform.systemFiles->IsProtected(path);
    r[kProcessSafe] = safe ? kSafeYes : kSafeNo;
    r[kProcessSafeFlag] = safe ? "1" : "0";

    // Counters that cannot be read show as zero, as a cleared record would.
    ProcessMemory memory;
    if (process == 0 || !table.Memory(process, &memory)) memory = ProcessMemory{};
    r[kProcessWorkingSet] = FormatKilobytes(memory.workingSet);
    r[kProcessPagefile] = FormatKilobytes(memory.pagefileUsage);

    std::string domain, account;
    if (table.OwnerAccount(entry.id, &domain, &account)) r[kProcessAccount] = domain + "-" + account;

    LocalTime created;
    if (process != 0 && table.CreationTime(process, &created))
        r[kProcessStartTime] = FormatStartTime(created);
}

}  // namespace

std::vector<ListRow> ListProcessRows(const Platform& platform, const std::function<bool()>& stop) {
    std::vector<ListRow> rows;
    ProcessTable& table = *platform.processes;
    std::vector<ProcessEntry> entries;
    if (!table.ListProcesses(&entries)) return rows;

    FileVersionInfo version(*platform.versions);
    for (const ProcessEntry& entry : entries) {
        if (stop && stop()) break;
        ScopedProcess process(table, table.Open(entry.id, kProcessAllAccessLegacy));
        ListRow row(kProcessColumnCount);
        row[kProcessImageName] = entry.exeFile;
        std::string image;
        if (process && ReadImagePath(table, process.Get(), &image))
            NormalizeNtPath(*platform.environment, image, &row[kProcessPath]);
        if (!IsSystemPseudoProcess(entry.id)) FillDetails(platform, entry, process.Get(), version, &row);
        rows.push_back(std::move(row));
    }
    // Each row was put at the top of the list as it came.
    std::reverse(rows.begin(), rows.end());
    SortBySafeFlag(&rows, kProcessSafeFlag);
    return rows;
}

}  // namespace tv
