// Stands in for a system tool or an association's program in tests: appends
// its own command line, as the system hands it over, as one line to the file
// TV_RECORD_FILE names, and its whole environment, one variable a line, to
// that file's name with ".env" added; then exits with code 0. Started by a
// process whose environment the test does not choose (the desktop shell), it
// records into the file beside itself named after it with ".log" added.
#include <windows.h>

#include <cstring>

namespace {

void Append(const char* path, const char* text, DWORD length) {
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD wrote = 0;
    WriteFile(file, text, length, &wrote, nullptr);
    WriteFile(file, "\n", 1, &wrote, nullptr);
    CloseHandle(file);
}

}  // namespace

int main() {
    char path[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("TV_RECORD_FILE", path, MAX_PATH - 4);
    if (length >= MAX_PATH - 4) return 1;
    if (length == 0) {
        const DWORD own = GetModuleFileNameA(nullptr, path, MAX_PATH - 8);
        if (own == 0 || own >= MAX_PATH - 8) return 1;
        std::strcat(path, ".log");
        length = static_cast<DWORD>(std::strlen(path));
    }
    const char* line = GetCommandLineA();
    Append(path, line, static_cast<DWORD>(std::strlen(line)));
    char envPath[MAX_PATH] = {};
    std::memcpy(envPath, path, length);
    std::memcpy(envPath + length, ".env", 5);
    char* block = GetEnvironmentStringsA();
    if (block == nullptr) return 0;
    for (const char* at = block; *at != '\0'; at += std::strlen(at) + 1)
        Append(envPath, at, static_cast<DWORD>(std::strlen(at)));
    FreeEnvironmentStringsA(block);
    return 0;
}
