#include "platform/win32/Win32TaskScheduler.h"

#include <windows.h>
#include <taskschd.h>

#include "platform/WideText.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/ScopedHandle.h"

namespace tv {

namespace {

// Deeper than any folder tree of the service; a walk that gets there has
// been led astray.
constexpr int kMaxFolderDepth = 32;
// Far larger than any task definition.
constexpr DWORD kMaxDefinitionBytes = 4 << 20;

// {0F87369F-A4E5-4CFC-BD3E-73E6154572DD}
const CLSID kTaskSchedulerClass = {
    0x0F87369F, 0xA4E5, 0x4CFC, {0xBD, 0x3E, 0x73, 0xE6, 0x15, 0x45, 0x72, 0xDD}};

Bstr Allocated(const std::u16string& text) { return Bstr(reinterpret_cast<const wchar_t*>(text.c_str())); }

// One connection to the service: the session and every interface of the
// call released in order.
struct Connection {
    ComSession com{COINIT_MULTITHREADED};
    ComPtr<ITaskService> service;

    bool Open() {
        if (FAILED(CoCreateInstance(kTaskSchedulerClass, nullptr, CLSCTX_INPROC_SERVER,
                                    __uuidof(ITaskService), reinterpret_cast<void**>(service.Put()))) ||
            !service)
            return false;
        Variant none;
        // A service that is not running fails here (SCHED_E_SERVICE_NOT_RUNNING).
        return SUCCEEDED(service->Connect(none.Value(), none.Value(), none.Value(), none.Value()));
    }
    bool Folder(const std::u16string& path, ComPtr<ITaskFolder>* folder) {
        Bstr name = Allocated(path.empty() ? u"\\" : path);
        return name && SUCCEEDED(service->GetFolder(name.Get(), folder->Put())) && *folder;
    }
};

bool BadPart(const std::u16string& part) {
    return part.empty() || part == u"." || part == u".." || part.find(u':') != std::u16string::npos ||
           part.find(u'/') != std::u16string::npos;
}

// "\Vendor" and "Updater" of "\Vendor\Updater"; false for a path that
// names no task plainly.
bool Split(const std::u16string& path, std::u16string* folder, std::u16string* name) {
    if (path.size() < 2 || path[0] != u'\\') return false;
    std::size_t start = 1;
    for (;;) {
        const std::size_t slash = path.find(u'\\', start);
        if (BadPart(path.substr(start, slash == std::u16string::npos ? slash : slash - start))) return false;
        if (slash == std::u16string::npos) break;
        start = slash + 1;
    }
    const std::size_t last = path.rfind(u'\\');
    *folder = last == 0 ? u"\\" : path.substr(0, last);
    *name = path.substr(last + 1);
    return true;
}

// Where the service keeps each task's definition as a file, by task path:
// the real system directory, also for a 32-bit program on 64-bit Windows.
std::wstring StoreFolder() {
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    return std::wstring(windows) + (wow64 ? L"\\Sysnative\\Tasks" : L"\\System32\\Tasks");
}

// The stored definition of the task at `path` (UTF-16 or UTF-8, as written).
bool ReadStoredDefinition(const std::u16string& path, std::u16string* xml) {
    std::u16string folder, name;
    const std::wstring store = StoreFolder();
    if (store.empty() || !Split(path, &folder, &name)) return false;
    const std::wstring file = store + reinterpret_cast<const wchar_t*>(path.c_str());
    ScopedHandle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle.Get(), &size) || size.QuadPart > kMaxDefinitionBytes) return false;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        return false;
    xml->clear();
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        *xml = utf16::FromBytes(std::string_view(bytes).substr(2));
        return true;
    }
    std::size_t skip = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (bytes.size() == skip) return true;
    const int count = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + skip,
                                          static_cast<int>(bytes.size() - skip), nullptr, 0);
    if (count <= 0) return false;
    xml->resize(static_cast<std::size_t>(count));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + skip,
                        static_cast<int>(bytes.size() - skip), reinterpret_cast<wchar_t*>(&(*xml)[0]), count);
    return true;
}

// Where the definition is read from. Windows hands out a task's whole
// definition (IRegisteredTask::get_Xml). Wine 8 keeps only its settings: its
// definition objects answer E_NOTIMPL for the trigger collection and drop
// triggers and actions from the XML they give; there the file the service
// keeps is read.
enum class Source { Unknown, Service, StoredFile };

Source SourceOf(IRegisteredTask* task) {
    ComPtr<ITaskDefinition> definition;
    ComPtr<ITriggerCollection> triggers;
    LONG count = 0;
    if (FAILED(task->get_Definition(definition.Put())) || !definition ||
        FAILED(definition->get_Triggers(triggers.Put())) || !triggers)
        return Source::Unknown;
    return triggers->get_Count(&count) == E_NOTIMPL ? Source::StoredFile : Source::Service;
}

bool ReadXml(IRegisteredTask* task, const std::u16string& path, Source* source, std::u16string* xml) {
    if (*source == Source::Unknown) *source = SourceOf(task);
    if (*source == Source::StoredFile) return ReadStoredDefinition(path, xml);
    Bstr text;
    if (FAILED(task->get_Xml(text.Put()))) return false;
    *xml = text.Text();
    return !xml->empty();
}

bool ReadTask(IRegisteredTask* task, Source* source, RegisteredTask* read) {
    Bstr path, name;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    if (FAILED(task->get_Path(path.Put())) || FAILED(task->get_Name(name.Put())) ||
        FAILED(task->get_Enabled(&enabled)))
        return false;
    read->path = path.Text();
    read->name = name.Text();
    read->enabled = enabled != VARIANT_FALSE;
    return !read->path.empty() && ReadXml(task, read->path, source, &read->xml);
}

struct Walk {
    const std::function<bool()>& stop;
    std::vector<RegisteredTask>* tasks;
    Source source = Source::Unknown;
    bool Stopped() const { return stop && stop(); }
};

void Take(Walk& walk, IRegisteredTask* task) {
    RegisteredTask read;
    if (task && ReadTask(task, &walk.source, &read)) walk.tasks->push_back(std::move(read));
}

// The folder's tasks by the names of the files the service keeps for them
// (Wine 8, whose task collections cannot be counted or enumerated), each
// opened through the service, so only a registered task is listed.
void TakeStoredTasks(Walk& walk, ITaskFolder* folder, const std::u16string& folderPath) {
    const std::wstring store = StoreFolder();
    if (store.empty()) return;
    std::wstring pattern = store;
    if (folderPath != u"\\") pattern += reinterpret_cast<const wchar_t*>(folderPath.c_str());
    pattern += L"\\*";
    WIN32_FIND_DATAW found;
    FindHandle find(FindFirstFileW(pattern.c_str(), &found));
    if (!find) return;
    do {
        if (walk.Stopped()) break;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        Bstr name(found.cFileName);
        ComPtr<IRegisteredTask> task;
        if (name && SUCCEEDED(folder->GetTask(name.Get(), task.Put()))) Take(walk, task.Get());
    } while (FindNextFileW(find.Get(), &found));
}

void WalkFolder(Walk& walk, ITaskFolder* folder, int depth) {
    Bstr folderPath;
    if (FAILED(folder->get_Path(folderPath.Put()))) return;
    ComPtr<IRegisteredTaskCollection> tasks;
    if (SUCCEEDED(folder->GetTasks(TASK_ENUM_HIDDEN, tasks.Put())) && tasks) {
        LONG count = 0;
        const HRESULT counted = tasks->get_Count(&count);
        if (counted == E_NOTIMPL) {
            TakeStoredTasks(walk, folder, folderPath.Text());
        } else if (SUCCEEDED(counted)) {
            for (LONG index = 1; index <= count && !walk.Stopped(); ++index) {
                Variant at;
                at.Get()->vt = VT_I4;
                at.Get()->lVal = index;
                ComPtr<IRegisteredTask> task;
                if (SUCCEEDED(tasks->get_Item(at.Value(), task.Put()))) Take(walk, task.Get());
            }
        }
    }
    if (depth >= kMaxFolderDepth) return;
    ComPtr<ITaskFolderCollection> folders;
    LONG count = 0;
    if (FAILED(folder->GetFolders(0, folders.Put())) || !folders || FAILED(folders->get_Count(&count)))
        return;
    for (LONG index = 1; index <= count && !walk.Stopped(); ++index) {
        Variant at;
        at.Get()->vt = VT_I4;
        at.Get()->lVal = index;
        ComPtr<ITaskFolder> sub;
        if (SUCCEEDED(folders->get_Item(at.Value(), sub.Put())) && sub) WalkFolder(walk, sub.Get(), depth + 1);
    }
}

// The task at exactly `path`, opened in its own folder.
bool OpenTask(Connection& connection, const std::u16string& path, ComPtr<ITaskFolder>* folder,
              ComPtr<IRegisteredTask>* task) {
    std::u16string folderPath, name;
    if (!Split(path, &folderPath, &name) || !connection.Open() || !connection.Folder(folderPath, folder))
        return false;
    Bstr leaf = Allocated(name);
    return leaf && SUCCEEDED((*folder)->GetTask(leaf.Get(), task->Put())) && *task;
}

}  // namespace

std::vector<RegisteredTask> Win32TaskScheduler::Tasks(const std::function<bool()>& stop) {
    std::vector<RegisteredTask> tasks;
    Connection connection;
    ComPtr<ITaskFolder> root;
    if (!connection.Open() || !connection.Folder(u"\\", &root)) return tasks;
    Walk walk{stop, &tasks};
    WalkFolder(walk, root.Get(), 0);
    return tasks;
}

bool Win32TaskScheduler::TaskXml(const std::u16string& path, std::u16string* xml) {
    Connection connection;
    ComPtr<ITaskFolder> folder;
    ComPtr<IRegisteredTask> task;
    if (!OpenTask(connection, path, &folder, &task)) return false;
    Source source = Source::Unknown;
    return ReadXml(task.Get(), path, &source, xml);
}

bool Win32TaskScheduler::DeleteTask(const std::u16string& path) {
    Connection connection;
    ComPtr<ITaskFolder> folder;
    ComPtr<IRegisteredTask> task;
    if (!OpenTask(connection, path, &folder, &task)) return false;
    std::u16string folderPath, name;
    Split(path, &folderPath, &name);
    Bstr leaf = Allocated(name);
    task.Reset();
    return leaf && SUCCEEDED(folder->DeleteTask(leaf.Get(), 0));
}

// The registered task's own switch (IRegisteredTask::put_Enabled): the
// definition is left as it is, only its enabled setting changes, and the
// service says whether it took it.
bool Win32TaskScheduler::SetTaskEnabled(const std::u16string& path, bool enabled) {
    Connection connection;
    ComPtr<ITaskFolder> folder;
    ComPtr<IRegisteredTask> task;
    if (!OpenTask(connection, path, &folder, &task)) return false;
    if (FAILED(task->put_Enabled(enabled ? VARIANT_TRUE : VARIANT_FALSE))) return false;
    VARIANT_BOOL now = VARIANT_FALSE;
    return SUCCEEDED(task->get_Enabled(&now)) && (now != VARIANT_FALSE) == enabled;
}

}  // namespace tv
