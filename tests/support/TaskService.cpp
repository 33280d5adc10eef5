#include "tests/support/TaskService.h"

#include <windows.h>
#include <taskschd.h>

#include "platform/win32/ComPtr.h"
#include "platform/win32/ScopedHandle.h"
#include "tests/support/ChildProcess.h"

namespace tv::testing {

namespace {

const CLSID kTaskSchedulerClass = {
    0x0F87369F, 0xA4E5, 0x4CFC, {0xBD, 0x3E, 0x73, 0xE6, 0x15, 0x45, 0x72, 0xDD}};

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

struct Service {
    ComSession com{COINIT_MULTITHREADED};
    ComPtr<ITaskService> service;
    ComPtr<ITaskFolder> root;
    bool Connect() {
        Variant none;
        Bstr slash(L"\\");
        return SUCCEEDED(CoCreateInstance(kTaskSchedulerClass, nullptr, CLSCTX_INPROC_SERVER,
                                          __uuidof(ITaskService), reinterpret_cast<void**>(service.Put()))) &&
               SUCCEEDED(service->Connect(none.Value(), none.Value(), none.Value(), none.Value())) &&
               SUCCEEDED(service->GetFolder(slash.Get(), root.Put()));
    }
};

}  // namespace

bool StartTaskService() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (Service().Connect()) return true;
        RunAndWait("net.exe start schedule", true);
        Sleep(500);
    }
    return false;
}

std::string Utf16FileBytes(const std::u16string& xml) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : xml) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

void KeepWholeDefinition(const std::u16string& path, const std::u16string& xml) {
    if (!UnderWine()) return;
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    const std::wstring file = std::wstring(windows) + (wow64 ? L"\\Sysnative\\Tasks" : L"\\System32\\Tasks") + Wide(path);
    const std::string bytes = Utf16FileBytes(xml);
    ScopedHandle handle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr));
    if (!handle) return;
    DWORD written = 0;
    WriteFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool RegisterTask(const std::u16string& path, const std::u16string& xml) {
    Service s;
    if (!s.Connect()) return false;
    Bstr name(Wide(path));
    Bstr text(Wide(xml));
    Variant none;
    ComPtr<IRegisteredTask> task;
    if (FAILED(s.root->RegisterTask(name.Get(), text.Get(), TASK_CREATE_OR_UPDATE, none.Value(), none.Value(),
                                    TASK_LOGON_NONE, none.Value(), task.Put())))
        return false;
    KeepWholeDefinition(path, xml);
    return true;
}

void DeleteTestTask(const std::u16string& path) {
    Service s;
    if (!s.Connect()) return;
    Bstr name(Wide(path));
    s.root->DeleteTask(name.Get(), 0);
}

bool SwitchesTasks() { return !UnderWine(); }

int TaskEnabled(const std::u16string& path) {
    Service s;
    if (!s.Connect()) return -1;
    Bstr name(Wide(path));
    ComPtr<IRegisteredTask> task;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    if (FAILED(s.root->GetTask(name.Get(), task.Put())) || !task || FAILED(task->get_Enabled(&enabled)))
        return -1;
    return enabled != VARIANT_FALSE ? 1 : 0;
}

}  // namespace tv::testing
