// What the processes page does besides listing: its preparation when it is
// created, and ending the ticked processes.
#pragma once

#include <cstdint>
#include <vector>

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

// Ends each process of `ids` with exit code 1 (0 stands for a row without an
// id and ends nothing), then waits 400 ms for them to go.
void EndProcesses(const Platform& platform, const std::vector<std::uint32_t>& ids);

}  // namespace tv
