#include "platform/win32/SystemLibrary.h"

#include <map>
#include <mutex>
#include <string>

#include "platform/win32/ScopedHandle.h"

namespace tv {

namespace {

struct Modules {
    std::mutex lock;
    std::map<std::string, LoadedModule> loaded;
};

// Never destroyed: a thread still ending with the process may call into
// a loaded DLL, which must not have been freed by then.
Modules& Table() {
    static Modules* modules = new Modules;
    return *modules;
}

std::string SystemDirectory() {
    char buffer[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
    if (length == 0) return {};
    if (length < MAX_PATH) return std::string(buffer, length);
    std::string longer(length, '\0');
    length = GetSystemDirectoryA(longer.data(), static_cast<UINT>(longer.size()));
    return length != 0 && length < longer.size() ? longer.substr(0, length) : std::string();
}

}  // namespace

FARPROC SystemFunction(const char* dll, const char* name) {
    Modules& table = Table();
    std::lock_guard<std::mutex> hold(table.lock);
    auto found = table.loaded.find(dll);
    if (found == table.loaded.end()) {
        const std::string folder = SystemDirectory();
        LoadedModule module;
        // Its own imports are looked for beside it, in the system directory.
        if (!folder.empty())
            module.Reset(LoadLibraryExA((folder + "\\" + dll).c_str(), nullptr,
                                        LOAD_WITH_ALTERED_SEARCH_PATH));
        found = table.loaded.emplace(dll, std::move(module)).first;
    }
    return found->second ? GetProcAddress(found->second.Get(), name) : nullptr;
}

}  // namespace tv
