// The services list: every Win32 service with its state, start type, command
// line, description, error control, protection and the version data of its
// executable, unprotected services first.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "manage/ListRow.h"
#include "platform/Platform.h"
#include "platform/ServiceDatabase.h"

namespace tv {

// Columns of the services list.
enum ServiceColumn : size_t {
    kServiceNumber = 0,
    kServiceName,
    kServiceDisplayName,
    kServiceState,
    kServiceStartType,
    kServiceSafe,
    kServiceCommandLine,
    kServiceDescription,
    kServiceErrorControl,
    kServiceCompany,
    kServiceFileVersion,
    kServiceFileDescription,
    kServiceFilePath,
    kServiceSafeFlag,
    kServiceColumnCount
};

std::string ServiceStateWord(std::uint32_t state);
std::string StartTypeWord(std::uint32_t startType);
// Empty for a value outside 0..3.
std::string ErrorControlWord(std::uint32_t errorControl);

// Reads every service (type 0x30, every state) in the manager's order and
// returns the rows sorted by their safe flag. Empty when the manager cannot
// be opened or the services cannot be listed. Once `stop` says so, between
// services, it ends early with what it has.
// The service named, opened with all access: by its exact name when it
// came with one (the code page's form of a name in another script may be
// the name of another service), else by its name as listed; 0 when it
// cannot be opened.
ScHandle OpenNamedService(ServiceDatabase& database, ScHandle manager, const EntryName& name);

std::vector<ListRow> ServiceScan(const Platform& platform, const std::function<bool()>& stop = {});

}  // namespace tv
