// Stands in for a system tool in tests: appends its own command line, as
// the system hands it over, as one line to the file TV_RECORD_FILE names,
// then exits with code 0.
#include <windows.h>

#include <cstring>

int main() {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("TV_RECORD_FILE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
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
