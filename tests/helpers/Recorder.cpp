// Stands in for a system tool or an association's program in tests: appends
// its own command line, as the system hands it over, as one line to the file
// TV_RECORD_FILE names, then exits with code 0. Started by a process whose
// environment the test does not choose (the desktop shell), it records into
// the file beside itself named after it with ".log" added.
#include <windows.h>

#include <cstring>

int main() {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("TV_RECORD_FILE", path, MAX_PATH);
    if (length >= MAX_PATH) return 1;
    if (length == 0) {
        const DWORD own = GetModuleFileNameA(nullptr, path, MAX_PATH - 4);
        if (own == 0 || own >= MAX_PATH - 4) return 1;
        std::strcat(path, ".log");
    }
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const char* line = GetCommandLineA();
    DWORD wrote = 0;
    WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &wrote, nullptr);
    WriteFile(file, "\n", 1, &wrote, nullptr);
    CloseHandle(file);
    return 0;
}
