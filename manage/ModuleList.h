// What a click on a process shows: a verdict about the process in the hint
// line, and the modules loaded in it with their file data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "manage/ListRow.h"
#include "platform/Platform.h"
#include "platform/ProcessTable.h"

namespace tv {

enum ModuleColumn : size_t {
    kModulePath = 0,
    kModuleCompany,
    kModuleVersion,
    kModuleSafe,
    kModuleCreated,
    kModuleWritten,
    kModuleName,
    kModuleDescription,
    kModuleSize,
    kModuleSafeFlag,
    kModuleColumnCount
};

extern const char kProcessHintText[];
extern const char kProtectedProcessHint[];
extern const char kUnknownProcessHint[];

// The hint for a clicked process: the known program's text, else whether the
// system protects its file.
std::string ProcessHint(const Platform& platform, const std::string& imageName,
                        const std::string& description, const std::string& path);

// "2009-12-05 08:03:01": every field padded.
std::string FormatFileTime(const LocalTime& time);

// Files the list marks safe although the system does not protect them.
bool IsKnownSafeModule(const Platform& platform, const std::string& path);

// The modules of process `id`, in the order the list shows them (reverse
// snapshot order, then by safe flag). Empty when they cannot be listed.
std::vector<ListRow> ListModuleRows(const Platform& platform, std::uint32_t id);

}  // namespace tv
