#include "tests/support/ChildProcess.h"

#include <windows.h>

#include "platform/win32/ScopedHandle.h"

namespace tv::testing {

long RunAndWait(std::string command, bool quiet) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (quiet) startup.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE,
                        quiet ? CREATE_NO_WINDOW : 0, nullptr, nullptr, &startup, &info))
        return -1;
    ScopedHandle process(info.hProcess);
    ScopedHandle thread(info.hThread);
    if (WaitForSingleObject(process.Get(), 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.Get(), 1);
        return -1;
    }
    DWORD code = 0;
    return GetExitCodeProcess(process.Get(), &code) ? static_cast<long>(code) : -1;
}

}  // namespace tv::testing
