// The real Trimvex.exe, worked from outside: open the speed section, press
// "立即体验" and compare the real registry and the real prefetch folder of
// the test prefix with what the tweaks must leave.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32Registry.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

const char kDoneText[] = "\xB2\xD9\xD7\xF7\xD2\xD1\xBE\xAD\xCD\xEA\xB3\xC9\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2"
                         "\xC6\xF4\xB6\xAF\xBC\xC6\xCB\xE3\xBB\xFA\xC9\xFA\xD0\xA7";  // 操作已经完成，请重新启动计算机生效

struct ValueId {
    RegHandle root;
    const char* key;
    const char* name;
};

const ValueId kValues[] = {
    {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Dfrg\\BootOptimizeFunction", "Enable"},
    {kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Control", "SystemStartOptions"},
    {kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", "AutoChkTimeOut"},
    {kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", "BootExecute"},
    {kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Control", "WaitToKillServiceTimeout"},
    {kHkeyCurrentUser, "Control Panel\\Desktop", "AutoEndTasks"},
    {kHkeyCurrentUser, "Control Panel\\Desktop", "HungAppTimeout"},
    {kHkeyCurrentUser, "Control Panel\\Desktop", "WaitToKillAppTimeout"},
    {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer", "AlwaysUnloadDLL"},
};

struct Stored {
    bool present = false;
    std::uint32_t type = 0;
    std::string data;
};

Stored Read(Registry& registry, const ValueId& id) {
    Stored stored;
    RegKey key = RegKey::Open(registry, id.root, id.key, kKeyRead);
    std::uint32_t size = 0;
    if (!key || key.Query(id.name, &stored.type, nullptr, &size) != kErrorSuccess) return stored;
    std::string data(size, '\0');
    if (key.Query(id.name, &stored.type, size ? &data[0] : nullptr, &size) != kErrorSuccess)
        return stored;
    stored.present = true;
    stored.data = data.substr(0, size);
    return stored;
}

Stored Sz(const char* text) { return {true, kRegSz, std::string(text) + '\0'}; }
Stored Dword(std::uint32_t v) {
    return {true, kRegDword, std::string{static_cast<char>(v), 0, 0, 0}};
}

// Puts the values the test changes back as they were.
class RegistryRestorer {
public:
    explicit RegistryRestorer(Registry& registry) : registry_(registry) {
        for (const ValueId& id : kValues) saved_.push_back(Read(registry_, id));
    }
    ~RegistryRestorer() {
        for (size_t i = 0; i < saved_.size(); ++i) {
            RegKey key = RegKey::Open(registry_, kValues[i].root, kValues[i].key, kKeyAllAccess);
            if (!key) continue;
            if (saved_[i].present)
                key.Set(kValues[i].name, saved_[i].type, saved_[i].data.data(),
                        static_cast<std::uint32_t>(saved_[i].data.size()));
            else
                key.DeleteValue(kValues[i].name);
        }
    }
    RegistryRestorer(const RegistryRestorer&) = delete;
    RegistryRestorer& operator=(const RegistryRestorer&) = delete;

private:
    Registry& registry_;
    std::vector<Stored> saved_;
};

bool WaitForText(HWND window, const std::string& wanted, DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        if (testing::WindowText(window) == wanted) return true;
        Sleep(20);
    } while (GetTickCount() - start < milliseconds);
    return false;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFile(const std::string& path) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), "pf", 2, &written, nullptr);
}

TEST(SpeedProgram, ApplyWritesTheRealRegistryAndEmptiesThePrefetchFolder) {
    Win32Registry registry;
    RegistryRestorer restore(registry);

    char windowsDirectory[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryA(windowsDirectory, MAX_PATH), 0u);
    const std::string windows = windowsDirectory;
    const std::string prefetch = windows + "\\Prefetch";
    CreateDirectoryA(prefetch.c_str(), nullptr);
    CreateDirectoryA((prefetch + "\\Sub").c_str(), nullptr);
    MakeFile(prefetch + "\\A.pf");
    MakeFile(prefetch + "\\Sub\\B.pf");
    MakeFile(prefetch + "\\Held.pf");
    MakeFile(windows + "\\memory.dmp");
    // Held open without delete sharing: the program cannot delete it.
    ScopedHandle held(CreateFileA((prefetch + "\\Held.pf").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);

    testing::TrimvexProcess program;
    HWND main = program.WaitForMain();
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
    HWND page = nullptr;
    for (int i = 0; i < 250 && !(page && IsWindowVisible(page)); ++i) {
        Sleep(20);
        page = program.PageWith({1037, 1056});
    }
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(IsWindowVisible(page)) << "the speed section shows its page";
    HWND apply = GetDlgItem(page, 1037);
    HWND status = GetDlgItem(page, 1056);
    EXPECT_EQ(testing::WindowText(apply), "\xC1\xA2\xBC\xB4\xCC\xE5\xD1\xE9");  // 立即体验

    PostMessageA(apply, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForText(status, kDoneText, 10000)) << testing::WindowText(status);

    const Stored expected[] = {Sz("Y"), Sz("NODETECT"), Dword(1),
                               {true, kRegMultiSz, std::string(1, '\0')},
                               Sz("1"), Sz("1"), Sz("1"), Sz("1"), Dword(1)};
    for (size_t i = 0; i < std::size(kValues); ++i) {
        Stored got = Read(registry, kValues[i]);
        EXPECT_TRUE(got.present) << kValues[i].name;
        EXPECT_EQ(got.type, expected[i].type) << kValues[i].name;
        EXPECT_EQ(got.data, expected[i].data) << kValues[i].name;
    }
    EXPECT_FALSE(Exists(prefetch + "\\A.pf"));
    EXPECT_FALSE(Exists(prefetch + "\\Sub"));
    EXPECT_TRUE(Exists(prefetch + "\\Held.pf"));
    EXPECT_TRUE(Exists(prefetch)) << "a folder that still holds a file stays";
    EXPECT_FALSE(Exists(windows + "\\memory.dmp"));

    // Let go of the file, untick both quick-end boxes and the DLL box, and
    // press again: the folder goes, the switches go off.
    held.Reset();
    for (int id : {1052, 1014, 1055}) SendMessageA(GetDlgItem(page, id), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(status, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    PostMessageA(apply, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForText(status, kDoneText, 10000));
    EXPECT_FALSE(Exists(prefetch));
    EXPECT_EQ(Read(registry, kValues[5]).data, std::string("0") + '\0');
    EXPECT_EQ(Read(registry, kValues[6]).data, std::string("20000") + '\0');
    EXPECT_EQ(Read(registry, kValues[7]).data, std::string("20000") + '\0');
    EXPECT_EQ(Read(registry, kValues[8]).data, Dword(0).data);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(1012, BN_CLICKED), 0);
    EXPECT_TRUE(program.WaitForExit(10000));
    // Leave the prefix as it was.
    DeleteFileA((prefetch + "\\Held.pf").c_str());
    RemoveDirectoryA(prefetch.c_str());
}

}  // namespace
}  // namespace tv
