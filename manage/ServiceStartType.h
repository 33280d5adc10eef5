// The start type of the selected service, changed through the service
// manager, and the services Windows 7 cannot start or log on without, which
// are never disabled or stopped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "manage/ListRow.h"
#include "platform/Platform.h"

namespace tv {

extern const char kNoServiceSelected[];
extern const char kEssentialServiceWarning[];
extern const char kStartTypeUnchanged[];  // followed by the type's word and "”。"
extern const char kChangeStartTypeError[];
extern const char kStartTypeRecordError[];
extern const char kRestoreServiceStartSubject[];
// Where the system configuration tool keeps the start type a service had
// before it disabled it: a REG_DWORD named after the service.
extern const char kMsconfigServicesKey[];

// RpcSs with its endpoint mapper and DcomLaunch, PlugPlay, and the user
// profile service: what Windows 7 documents it cannot start or log a user on
// without.
bool IsEssentialService(std::u16string_view exactName);

// Sets the start type (kServiceAutoStart, kServiceDemandStart or
// kServiceDisabled) of the service named by `selected` (null: no row at the
// selection mark). Its registry key goes into a restore file first.
// Disabling records the start type it had under kMsconfigServicesKey (the
// system's view of HKLM); automatic or manual removes that record. True when the list must be scanned again.
bool SetSelectedServiceStartType(const Platform& platform, const ListRow* selected,
                                 std::uint32_t startType);

}  // namespace tv
