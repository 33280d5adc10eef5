// Deleting the service of the selected row, guarded by a confirmation and by
// a refusal for services whose file the system protects.
#pragma once

#include "manage/ListRow.h"
#include "platform/Platform.h"
#include "platform/ServiceDatabase.h"

namespace tv {

extern const char kDeleteServiceQuestion[];
extern const char kDeleteServiceCaption[];
extern const char kProtectedServiceWarning[];
extern const char kOpenManagerError[];
extern const char kOpenServiceError[];
extern const char kDeleteServiceError[];
extern const char kRestoreServiceSubject[];
// Where each service's registry key lies, with the trailing backslash.
extern const char kServicesKey[];

// The service manager and, in it, the service a row names (null: no row, no
// service), both with all access. False when either cannot be opened: the
// user has been told which (kOpenManagerError or kOpenServiceError).
struct OpenedService {
    ScopedService manager;
    ScopedService service;
};
bool OpenRowService(const Platform& platform, const ListRow* row, OpenedService* opened);

// Asks, then deletes the service named by `selected` (null: no row at the
// selection mark), keeping its registry key in a restore file first. True
// when the list must be scanned again: always, unless the user said No, the
// row was refused (a name with a NUL in it: kUnhandledNameMessage, before
// anything is asked) or the restore file could not be written.
bool DeleteSelectedService(const Platform& platform, const ListRow* selected);

}  // namespace tv
