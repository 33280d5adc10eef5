// What the processes page does besides listing: its preparation when it is
// created, and ending the ticked processes.
#pragma once

#include <cstdint>
#include <vector>

#include "manage/ListRow.h"
#include "platform/Platform.h"

namespace tv {

extern const char kProcessPrivilegeFailure[];
extern const char kServicePrivilegeFailure[];

// Enables the debug privilege (telling the user with `failureText` when that
// fails).
void EnableDebugPrivilegeOrTell(const Platform& platform, const char* failureText);

// Sets the system to start the desktop shell again when it ends:
// HKLM\...\Winlogon AutoRestartShell = REG_DWORD 1. Failures are ignored.
void WriteAutoRestartShell(const Platform& platform);

// Ends the process of each ticked row (as the processes list gave it) with
// exit code 1, then waits 400 ms for them to go. Ids are reused: a process is
// ended only while its start time and file path still read as the row shows
// them, so a process that started under the id since the list was read is
// left alone, as is a row without an id.
void EndProcesses(const Platform& platform, const std::vector<ListRow>& rows);

}  // namespace tv
