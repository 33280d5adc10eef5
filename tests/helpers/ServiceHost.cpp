// A service of its own process for tests to start and stop through the
// service manager: runs as the service named by its first argument, reports
// itself running at once and stops when asked. Started by hand it only
// fails to reach the dispatcher and exits with code 2.
#include <windows.h>

namespace {

char serviceName[257] = {};
SERVICE_STATUS_HANDLE statusHandle = nullptr;
HANDLE stopRequested = nullptr;

void Report(DWORD state, DWORD exitCode = NO_ERROR) {
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    status.dwWin32ExitCode = exitCode;
    status.dwWaitHint = state == SERVICE_STOP_PENDING ? 3000 : 0;
    SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI Control(DWORD control, DWORD, void*, void*) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
        Report(SERVICE_STOP_PENDING);
        SetEvent(stopRequested);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE: return NO_ERROR;
    default: return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI ServiceMain(DWORD, char**) {
    statusHandle = RegisterServiceCtrlHandlerExA(serviceName, Control, nullptr);
    if (!statusHandle) return;
    Report(SERVICE_RUNNING);
    WaitForSingleObject(stopRequested, INFINITE);
    Report(SERVICE_STOPPED);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || lstrlenA(argv[1]) >= static_cast<int>(sizeof(serviceName))) return 1;
    lstrcpynA(serviceName, argv[1], sizeof(serviceName));
    stopRequested = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!stopRequested) return 1;
    SERVICE_TABLE_ENTRYA table[] = {{serviceName, ServiceMain}, {nullptr, nullptr}};
    const BOOL dispatched = StartServiceCtrlDispatcherA(table);
    CloseHandle(stopRequested);
    return dispatched ? 0 : 2;
}
