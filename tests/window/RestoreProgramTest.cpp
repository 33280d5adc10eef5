// Every change of the real Trimvex.exe can be undone with the files it
// leaves: the keys it touches are exported with the system's registry
// editor, the program removes a startup value and a startup-folder file, a
// service and add-ons, and applies the speed, desktop and UAC tweaks, all
// worked from outside; then every restore file is imported with the
// registry editor, the moved file is put back, and the same keys exported
// again must be equal byte for byte.
#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/RegFile.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32Registry.h"
#include "res/resource.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/HostShell.h"
#include "tests/support/AddonTexts.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

using testing::RunAndWait;

using testing::WindowText;

const char kService[] = "TvRestoreSvc";
const char kServiceKey[] = "SYSTEM\\CurrentControlSet\\Services\\TvRestoreSvc";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "TvRestore运行";
const char kFolderFile[] = "TvRestore启动.exe";
const char kAddonPrefix[] = "{7F3A000";

// A key compared before and after: all of it, or only its own values (for
// keys with large subtrees that the program does not touch).
struct Compared {
    HKEY root;
    const char* rootName;
    std::string path;
    bool wholeTree;
};

std::vector<Compared> ComparedKeys() {
    const char* addonKeys[] = {"SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar",
                               "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects",
                               "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions"};
    std::vector<Compared> keys = {
        {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", kRunKey, true},
        {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", kServiceKey, true},
        {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "Software\\Microsoft\\Internet Explorer\\URLSearchHooks", true},
        {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "SOFTWARE\\Microsoft\\Dfrg", true},
        {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "SYSTEM\\CurrentControlSet\\Control", false},
        {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "SYSTEM\\CurrentControlSet\\Control\\Session Manager", false},
        {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "Control Panel\\Desktop", false},
        {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer", false},
        {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", false},
        {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", "lnkfile", false},
        {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "Software\\Microsoft\\Search Assistant", true},
        {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "Control Pane", true},
        {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", false},
    };
    for (const char* path : addonKeys) keys.push_back({HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", path, true});
    for (const char* id : {"1-5E1D-4C2B-9A10-000000000001", "1-5E1D-4C2B-9A10-000000000002",
                           "2-5E1D-4C2B-9A10-000000000001", "3-5E1D-4C2B-9A10-000000000001",
                           "3-5E1D-4C2B-9A10-000000000002"})
        keys.push_back({HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE",
                        std::string("SOFTWARE\\Classes\\CLSID\\") + kAddonPrefix + id + "}", true});
    return keys;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TempFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

// The registry editor's export of each key ("absent" when there is no key).
// For a key compared without its subtree, only its own section: from its
// header line to the next key's. The editors run side by side: one after
// another they would take seconds.
std::vector<std::string> Export(const std::vector<Compared>& keys) {
    struct Running {
        std::string file;
        ScopedHandle process;
    };
    std::vector<Running> running(keys.size());
    std::vector<std::string> exports(keys.size(), "absent");
    for (std::size_t i = 0; i < keys.size(); ++i) {
        HKEY open = nullptr;
        if (RegOpenKeyExA(keys[i].root, keys[i].path.c_str(), 0, KEY_READ, &open) != ERROR_SUCCESS) continue;
        RegCloseKey(open);
        running[i].file = TempFolder() + "tv-restore-export-" + std::to_string(i) + ".reg";
        DeleteFileA(running[i].file.c_str());
        std::string command = "regedit.exe /E \"" + running[i].file + "\" \"" + keys[i].rootName + "\\" +
                              keys[i].path + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        exports[i] = "export failed";
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info))
            continue;
        ScopedHandle thread(info.hThread);
        running[i].process.Reset(info.hProcess);
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (!running[i].process) continue;
        DWORD code = 1;
        const bool ended = WaitForSingleObject(running[i].process.Get(), 60000) == WAIT_OBJECT_0;
        if (!ended) TerminateProcess(running[i].process.Get(), 1);
        std::string bytes = ReadAll(running[i].file);
        DeleteFileA(running[i].file.c_str());
        if (!ended || !GetExitCodeProcess(running[i].process.Get(), &code) || code != 0) continue;
        exports[i] = bytes;
        if (keys[i].wholeTree) continue;
        // Sections start with "\r\n[" in UTF-16: find the second one.
        const std::string mark("\r\0\n\0[\0", 6);
        std::size_t first = bytes.find(mark);
        if (first == std::string::npos) continue;
        std::size_t next = first + mark.size();
        while ((next = bytes.find(mark, next)) != std::string::npos && next % 2 != 0) ++next;
        exports[i] = bytes.substr(first, next == std::string::npos ? std::string::npos : next - first);
    }
    return exports;
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Where the restore files are: the machine's folder, not the user's.
std::string RestoreFolder() { return ShellFolder(CSIDL_COMMON_APPDATA) + "\\Trimvex 还原文件"; }

std::vector<std::string> RestoreFolderNames(const std::string& folder = RestoreFolder()) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> RestoreFiles(const std::string& folder = RestoreFolder()) {
    std::vector<std::string> files;
    for (const std::string& name : RestoreFolderNames(folder))
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".reg") == 0) files.push_back(name);
    return files;
}

// Waits until the restore folder holds `count` .reg files.
bool WaitForRestoreFiles(std::size_t count, const std::string& folder = RestoreFolder()) {
    for (int i = 0; i < 500 && RestoreFiles(folder).size() < count; ++i) Sleep(20);
    return RestoreFiles(folder).size() == count;
}

// Empties a restore folder this run made or used, and removes it.
void RemoveRestoreFolder(const std::string& folder) {
    for (const std::string& name : RestoreFolderNames(folder)) DeleteFileA((folder + "\\" + name).c_str());
    RemoveDirectoryA(folder.c_str());
}

std::string StartupFolder() {
    Win32Registry registry;
    std::string folder;
    RegKey::Open(registry, kHkeyCurrentUser,
                 "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", kKeyRead)
        .ReadString("Startup", 1024, &folder);
    return folder;
}

void MakeFolders(const std::string& path) {
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

int FindRow(const testing::RemoteListView& list, int column, const std::string& text) {
    for (int r = 0; r < list.ItemCount(); ++r)
        if (list.ItemText(r, column) == text) return r;
    return -1;
}

// Clicks a page button without waiting, so a message box it opens can be
// answered from here.
void Post(HWND page, int id) { PostMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0); }

class RestoreProgram : public ::testing::Test {
protected:
    void SetUp() override {
        // Only this test's files in the folder.
        for (const std::string& name : RestoreFolderNames())
            DeleteFileA((RestoreFolder() + "\\" + name).c_str());
        RemoveFixture();

        Win32Registry registry;
        RegKey::Create(registry, kHkeyCurrentUser, kRunKey).SetString(kRunValue, "C:\\Trimvex\\运行.exe /x");
        startupFile_ = StartupFolder() + "\\" + kFolderFile;
        ASSERT_GT(startupFile_.size(), 3u + sizeof kFolderFile);
        MakeFolders(StartupFolder());
        std::ofstream(startupFile_, std::ios::binary) << "MZ";

        ScopedServiceManager manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ASSERT_TRUE(manager.get());
        SC_HANDLE service = CreateServiceA(manager.get(), kService, "Trimvex 还原测试", SERVICE_ALL_ACCESS,
                                           SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                           SERVICE_ERROR_NORMAL, "C:\\Trimvex\\restore.exe", nullptr,
                                           nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(service, nullptr) << GetLastError();
        CloseServiceHandle(service);
        // Awkward values the restore file must carry exactly.
        RegKey parameters = RegKey::Create(registry, kHkeyLocalMachine, std::string(kServiceKey) + "\\Parameters");
        parameters.SetBinary("Odd", {0x01, 0x02, 0x03});
        parameters.SetBinary("Empty", {});
        parameters.Set("List", kRegMultiSz, "a\0\0中文\0\0", 9);
        parameters.SetString("名称 \"q\" \\ =", "值");
        parameters.Set("Qword", 11, "\x01\x02\x03\x04\x05\x06\x07\x08", 8);

        const std::string fixture = testing::ProgramDirectory() + "fixtures\\addons.reg";
        ASSERT_EQ(RunAndWait("regedit.exe /S \"" + fixture + "\""), 0);
    }
    void TearDown() override {
        RemoveFixture();
        for (const std::string& name : RestoreFolderNames())
            DeleteFileA((RestoreFolder() + "\\" + name).c_str());
    }
    void RemoveFixture() {
        Win32Registry registry;
        RegKey::Open(registry, kHkeyCurrentUser, kRunKey, kKeyAllAccess).DeleteValue(kRunValue);
        if (!startupFile_.empty()) DeleteFileA(startupFile_.c_str());
        ScopedServiceManager manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        if (SC_HANDLE service = OpenServiceA(manager.get(), kService, SERVICE_ALL_ACCESS)) {
            DeleteService(service);
            CloseServiceHandle(service);
        }
        DeleteKeyTree(registry, kHkeyLocalMachine, kServiceKey);
        using namespace testing;
        for (const Compared& key : ComparedKeys())
            if (key.path.find(kAddonPrefix) != std::string::npos)
                DeleteKeyTree(registry, kHkeyLocalMachine, key.path);
        const std::string id = kAddonPrefix;
        for (const char* n : {"1-5E1D-4C2B-9A10-000000000001}", "1-5E1D-4C2B-9A10-000000000002}"})
            RegKey::Open(registry, kHkeyLocalMachine, kToolbarKey, kKeyAllAccess).DeleteValue(id + n);
        RegKey::Open(registry, kHkeyCurrentUser, kHooksKey, kKeyAllAccess)
            .DeleteValue(id + "2-5E1D-4C2B-9A10-000000000001}");
        for (const char* n : {"3-5E1D-4C2B-9A10-000000000001}", "3-5E1D-4C2B-9A10-000000000002}"})
            DeleteKeyTree(registry, kHkeyLocalMachine, std::string(kHelpersKey) + "\\" + id + n);
        DeleteKeyTree(registry, kHkeyLocalMachine,
                      std::string(kExtensionsKey) + "\\" + id + "4-5E1D-4C2B-9A10-000000000001}");
    }

    struct ScopedServiceManager {
        explicit ScopedServiceManager(SC_HANDLE h) : handle(h) {}
        ~ScopedServiceManager() {
            if (handle) CloseServiceHandle(handle);
        }
        SC_HANDLE get() const { return handle; }
        SC_HANDLE handle;
    };

    std::string startupFile_;
};

// A program of the user's made the restore folder's name a link to another
// folder. Removing a startup-folder file then writes nothing there and
// moves nothing there: the file and its restore file go to a fresh folder
// beside it, without a word.
TEST_F(RestoreProgram, NothingLandsWhereALinkedRestoreFolderLeads) {
    const std::string target = TempFolder() + "\\tv-link-target";
    const std::string second = RestoreFolder() + " (2)";
    CreateDirectoryA(target.c_str(), nullptr);
    RemoveRestoreFolder(RestoreFolder());
    RemoveRestoreFolder(second);
    ASSERT_TRUE(MakeHostLink(RestoreFolder(), target));
    struct Unlink {
        std::string link, target, second;
        ~Unlink() {
            RunHostShell("rm -f '" + UnixPath(link) + "'\n", link, false);
            RemoveDirectoryA(target.c_str());
            RemoveRestoreFolder(second);
        }
    } unlink{RestoreFolder(), target, second};

    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND page = program.OpenTab(IDC_TAB_STARTUP, {1059, 1012});
    ASSERT_NE(page, nullptr);
    testing::RemoteListView list(GetDlgItem(page, 1059));
    const int row = FindRow(list, 0, kFolderFile);
    ASSERT_GE(row, 0);
    list.Select(row);
    Post(page, 1012);
    EXPECT_TRUE(WaitForRestoreFiles(1, second));
    EXPECT_FALSE(program.FindMessageBox()) << "no message box";
    PostMessageA(program.Main(), WM_COMMAND, MAKEWPARAM(IDC_CLOSE_BUTTON, BN_CLICKED), 0);
    EXPECT_TRUE(program.WaitForExit(10000));

    EXPECT_EQ(GetFileAttributesA(startupFile_.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA((second + "\\" + kFolderFile).c_str()), INVALID_FILE_ATTRIBUTES);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((target + "\\*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    std::vector<std::string> landed;
    do {
        if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0)
            landed.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    EXPECT_TRUE(landed.empty()) << landed.front();
}

TEST_F(RestoreProgram, ImportingTheRestoreFilesUndoesEveryChange) {
    const std::vector<Compared> keys = ComparedKeys();
    const std::vector<std::string> before = Export(keys);

    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    std::size_t files = 0;

    // Startup tab: the Run value, then the startup-folder file.
    {
        HWND page = program.OpenTab(IDC_TAB_STARTUP, {1059, 1012});
        ASSERT_NE(page, nullptr);
        testing::RemoteListView list(GetDlgItem(page, 1059));
        ASSERT_TRUE(list);
        for (const char* name : {kRunValue, kFolderFile}) {
            SCOPED_TRACE(name);
            const int row = FindRow(list, 0, name);
            ASSERT_GE(row, 0);
            list.Select(row);
            SendMessageA(page, WM_COMMAND, MAKEWPARAM(1012, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, 1012)));
            ASSERT_TRUE(program.WaitForLists());
            EXPECT_EQ(FindRow(list, 0, name), -1);
            ASSERT_TRUE(WaitForRestoreFiles(++files));
        }
        EXPECT_EQ(GetFileAttributesA(startupFile_.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    // Services tab: the fixture's service, after the confirmation.
    {
        HWND page = program.OpenTab(IDC_TAB_SERVICES, {1061, 1012, 1065});
        ASSERT_NE(page, nullptr);
        testing::RemoteListView list(GetDlgItem(page, 1061));
        const int row = FindRow(list, 1, kService);
        ASSERT_GE(row, 0);
        list.Select(row);
        Post(page, 1012);
        std::string question;
        ASSERT_TRUE(program.NextMessageBox("高级服务管理器", &question, 10000, IDYES));
        ASSERT_TRUE(WaitForRestoreFiles(++files));
        for (int i = 0; i < 250 && FindRow(list, 1, kService) >= 0; ++i) Sleep(20);
        EXPECT_EQ(FindRow(list, 1, kService), -1);
    }
    // Add-on tab: every fixture row; the two protected ones are refused.
    {
        HWND page = program.OpenTab(IDC_TAB_ADDONS, {1060, 1065});
        ASSERT_NE(page, nullptr);
        testing::RemoteListView list(GetDlgItem(page, 1060));
        for (int r = 0; r < list.ItemCount(); ++r)
            if (list.ItemText(r, 0).rfind(kAddonPrefix, 0) == 0) list.SetTicked(r, true);
        Post(page, 1012);
        std::string text;
        EXPECT_TRUE(program.NextMessageBox("Trimvex", &text));
        EXPECT_TRUE(program.NextMessageBox("Trimvex", &text));
        ASSERT_TRUE(WaitForRestoreFiles(++files));
    }
    // Security tab: the UAC switch.
    {
        HWND page = program.OpenTab(IDC_TAB_SECURITY, {1062, 1066});
        ASSERT_NE(page, nullptr);
        SendMessageA(GetDlgItem(page, 1012), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitForRestoreFiles(++files));
    }
    // The speed and the appearance sections' apply buttons.
    for (const auto& section : {std::make_pair(IDC_SECTION_SPEED, 1056), std::make_pair(IDC_SECTION_APPEARANCE, 1043)}) {
        program.ShowSection(section.first);
        HWND page = program.PageWith({1037, section.second});
        ASSERT_NE(page, nullptr);
        Post(page, 1037);
        ASSERT_TRUE(WaitForRestoreFiles(++files)) << section.first;
    }
    EXPECT_FALSE(program.FindMessageBox()) << "no other message box";
    PostMessageA(program.Main(), WM_COMMAND, MAKEWPARAM(IDC_CLOSE_BUTTON, BN_CLICKED), 0);
    EXPECT_TRUE(program.WaitForExit(10000));

    // Every change happened, and each left one restore file.
    const std::vector<std::string> changed = Export(keys);
    for (std::size_t i : {0u, 1u, 2u, 12u, 14u}) {
        EXPECT_NE(before[i], "absent") << keys[i].path;
        EXPECT_FALSE(changed[i] == before[i]) << keys[i].path << " did not change";
    }
    EXPECT_EQ(RestoreFiles().size(), 7u);
    // Kept beside the screenshots, for a reader to see what a user gets.
    const std::string shown = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\restore-files";
    MakeFolders(shown);
    WIN32_FIND_DATAA old;
    HANDLE find = FindFirstFileA((shown + "\\*.reg").c_str(), &old);
    if (find != INVALID_HANDLE_VALUE) {
        do DeleteFileA((shown + "\\" + old.cFileName).c_str());
        while (FindNextFileA(find, &old));
        FindClose(find);
    }
    for (const std::string& name : RestoreFiles())
        CopyFileA((RestoreFolder() + "\\" + name).c_str(), (shown + "\\" + name).c_str(), FALSE);

    // What the user does: move the startup file back to the place its
    // restore file names, then import every restore file.
    const std::string kept = RestoreFolder() + "\\" + kFolderFile;
    ASSERT_NE(GetFileAttributesA(kept.c_str()), INVALID_FILE_ATTRIBUTES);
    bool named = false;
    for (const std::string& name : RestoreFiles()) {
        const std::string bytes = ReadAll(RestoreFolder() + "\\" + name);
        const std::string header("\xFF\xFEW\0i\0n\0d\0o\0w\0s\0", 16);
        EXPECT_EQ(bytes.substr(0, header.size()), header) << name;
        // The comment naming the file's place, in UTF-16: look for its name.
        std::wstring wide(bytes.size() / 2, L'\0');
        std::memcpy(&wide[0], bytes.data(), wide.size() * 2);
        const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                             nullptr, nullptr);
        std::string text(size, '\0');
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0], size, nullptr,
                            nullptr);
        if (text.find("; 恢复时请把它移回原来的位置：" + startupFile_ + "\r\n") != std::string::npos) named = true;
        EXPECT_EQ(RunAndWait("regedit.exe /S \"" + RestoreFolder() + "\\" + name + "\""), 0) << name;
    }
    EXPECT_TRUE(named);
    ASSERT_TRUE(MoveFileA(kept.c_str(), startupFile_.c_str()));

    const std::vector<std::string> after = Export(keys);
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_TRUE(after[i] == before[i]) << keys[i].rootName << "\\" << keys[i].path;
}

DWORD ParentOf(DWORD process) {
    DWORD parent = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ProcessID == process) parent = entry.th32ParentProcessID;
    CloseHandle(snapshot);
    return parent;
}

BOOL CALLBACK AddVisible(HWND window, LPARAM list) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(AddVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The user's Documents as a new Wine prefix has it: a link to a Unix folder
// outside the drive (the test prefixes replace it by a real folder, which
// this puts back for the test's length). The program never writes there:
// a removal works, and its restore file is in the machine's folder.
class OrdinaryPrefix : public ::testing::Test {
protected:
    void SetUp() override {
        documents_ = ShellFolder(CSIDL_PERSONAL);
        const std::string unixDocuments = UnixPath(documents_);
        const std::string unixDrive = UnixPath("C:\\");
        ASSERT_FALSE(unixDocuments.empty());
        ASSERT_FALSE(unixDrive.empty());
        // Beside the prefix's drive, as the Unix home is beside it.
        home_ = unixDrive + "../tv-unix-home";
        ASSERT_TRUE(RunHostShell("mkdir -p '" + home_ + "' && ln -s '" + home_ + "' '" + unixDocuments +
                                     ".tv-link' && mv '" + unixDocuments + "' '" + unixDocuments +
                                     ".tv-kept' && mv '" + unixDocuments + ".tv-link' '" + unixDocuments +
                                     "' && touch '" + home_ + "/tv-linked'\n",
                                 documents_ + "\\tv-linked", true));
        linked_ = true;
        Win32Registry registry;
        RegKey::Create(registry, kHkeyCurrentUser, kRunKey).SetString(kValue, "C:\\Trimvex\\ordinary.exe");
    }
    void TearDown() override {
        Win32Registry registry;
        RegKey::Open(registry, kHkeyCurrentUser, kRunKey, kKeyAllAccess).DeleteValue(kValue);
        if (!linked_) return;
        const std::string unixDocuments = UnixPath(documents_);
        RunHostShell("rm -f '" + home_ + "/tv-linked' '" + unixDocuments + "' && mv '" + unixDocuments +
                         ".tv-kept' '" + unixDocuments + "' && rmdir '" + home_ + "'\n",
                     documents_ + "\\tv-linked", false);
    }
    // What is in the linked folder besides the test's own mark.
    std::vector<std::string> InHome() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((documents_ + "\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            const std::string name = data.cFileName;
            if (name != "." && name != ".." && name != "tv-linked") names.push_back(name);
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return names;
    }
    static constexpr char kValue[] = "TvOrdinary";
    std::string documents_;
    std::string home_;
    bool linked_ = false;
};

TEST_F(OrdinaryPrefix, ARemovalWorksItsRestoreFileIsInTheMachinesFolderAndTheHelpPageOpensIt) {
    const DWORD attributes = GetFileAttributesA(documents_.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT) << "Documents is no link";
    const std::vector<std::string> before = RestoreFiles();
    const std::string name = "删除启动项 " + std::string(kValue) + ".reg";

    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND page = program.OpenTab(IDC_TAB_STARTUP, {1059, 1012});
    ASSERT_NE(page, nullptr);
    testing::RemoteListView list(GetDlgItem(page, 1059));
    const int row = FindRow(list, 0, kValue);
    ASSERT_GE(row, 0);
    list.Select(row);
    Post(page, 1012);
    ASSERT_TRUE(WaitForRestoreFiles(before.size() + 1));
    for (int i = 0; i < 250 && FindRow(list, 0, kValue) >= 0; ++i) Sleep(20);
    EXPECT_EQ(FindRow(list, 0, kValue), -1);
    EXPECT_FALSE(program.FindMessageBox()) << "no message box";

    // The help page's button opens the folder in the desktop shell's own
    // window, not in one of this program's.
    program.ShowSection(IDC_SECTION_HELP);
    HWND help = program.PageWith({1080, 1067, 1012});
    ASSERT_NE(help, nullptr);
    const std::vector<HWND> shown = TopLevelWindows();
    testing::PostClick(help, 1080);
    HWND opened = nullptr;
    for (int i = 0; i < 250 && !opened; ++i) {
        Sleep(20);
        for (HWND window : TopLevelWindows()) {
            if (std::find(shown.begin(), shown.end(), window) != shown.end()) continue;
            if (WindowText(window).find("Trimvex 还原文件") != std::string::npos) opened = window;
        }
    }
    ASSERT_NE(opened, nullptr);
    // Neither this program's window nor one of a process it started: the
    // desktop shell's, with the user's rights.
    DWORD owner = 0;
    GetWindowThreadProcessId(opened, &owner);
    EXPECT_NE(owner, program.Id());
    EXPECT_NE(ParentOf(owner), program.Id());
    PostMessageA(opened, WM_CLOSE, 0, 0);
    EXPECT_FALSE(program.FindMessageBox()) << "no message box";
    PostMessageA(program.Main(), WM_COMMAND, MAKEWPARAM(IDC_CLOSE_BUTTON, BN_CLICKED), 0);
    EXPECT_TRUE(program.WaitForExit(10000));

    std::string made;
    for (const std::string& file : RestoreFiles())
        if (std::find(before.begin(), before.end(), file) == before.end()) made = file;
    ASSERT_GT(made.size(), name.size());
    EXPECT_EQ(made.substr(made.size() - name.size()), name);
    const std::string bytes = ReadAll(RestoreFolder() + "\\" + made);
    EXPECT_EQ(bytes.substr(0, 16), std::string("\xFF\xFEW\0i\0n\0d\0o\0w\0s\0", 16));
    DeleteFileA((RestoreFolder() + "\\" + made).c_str());
    std::string data;
    Win32Registry registry;
    EXPECT_FALSE(RegKey::Open(registry, kHkeyCurrentUser, kRunKey, kKeyRead).ReadString(kValue, 64, &data));
    EXPECT_TRUE(InHome().empty()) << InHome().front();
}

}  // namespace
}  // namespace tv
