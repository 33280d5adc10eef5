// The real Trimvex.exe on 64-bit Windows with a machine Run value of the
// same name in each registry view, written and checked with the system's own
// reg tool: both are listed side by side, the 32-bit one under its
// Wow6432Node key, and removing a row deletes exactly that view's value.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/Win32SystemProbe.h"
#include "res/resource.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/TrimvexProcess.h"

namespace tv {
namespace {

const char kRunKey[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kName[] = "TvViewsProbe";

// The reg tool's exit code: 0 when it did what was asked (or found the
// value), 1 otherwise; -1 when it could not be run.
long Reg(const std::string& arguments) {
    return testing::RunAndWait("reg.exe " + arguments, true);
}

bool ValueIn(const char* view) {
    return Reg(std::string("query \"") + kRunKey + "\" /v " + kName + " /reg:" + view) == 0;
}

// The rows of the probe value: "subkey | path".
std::vector<std::string> ProbeRows(const testing::RemoteListView& list) {
    std::vector<std::string> rows;
    for (int r = 0; r < list.ItemCount(); ++r)
        if (list.ItemText(r, 0) == kName) rows.push_back(list.ItemText(r, 3) + " | " + list.ItemText(r, 1));
    return rows;
}

int RowOf(const testing::RemoteListView& list, const std::string& subkey) {
    for (int r = 0; r < list.ItemCount(); ++r)
        if (list.ItemText(r, 0) == kName && list.ItemText(r, 3) == subkey) return r;
    return -1;
}

struct ProbeValues {
    ProbeValues() {
        ok = Reg(std::string("add \"") + kRunKey + "\" /v " + kName + " /d C:\\tv32.exe /f /reg:32") == 0 &&
             Reg(std::string("add \"") + kRunKey + "\" /v " + kName + " /d C:\\tv64.exe /f /reg:64") == 0;
    }
    ~ProbeValues() {
        for (const char* view : {"32", "64"})
            Reg(std::string("delete \"") + kRunKey + "\" /v " + kName + " /f /reg:" + view);
    }
    bool ok = false;
};

TEST(ProgramViews, ListsARunValueOfEachViewAndRemovesEachExactly) {
    if (!Win32SystemProbe().Is64BitSystem()) GTEST_SKIP() << "32-bit Windows has one registry view";
    ProbeValues probe;
    ASSERT_TRUE(probe.ok);
    ASSERT_TRUE(ValueIn("32"));
    ASSERT_TRUE(ValueIn("64"));

    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND listWindow =
        GetDlgItem(program.PageWith({IDC_STARTUP_LIST, IDC_STARTUP_REFRESH}), IDC_STARTUP_LIST);
    testing::RemoteListView list(listWindow);
    ASSERT_TRUE(list);
    const std::string native = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::string wow = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
    EXPECT_EQ(ProbeRows(list), (std::vector<std::string>{native + " | c:\\tv64.exe",
                                                         wow + " | c:\\tv32.exe"}));

    HWND page = GetParent(listWindow);
    auto remove = [&](const std::string& subkey) {
        const int row = RowOf(list, subkey);
        ASSERT_GE(row, 0) << subkey;
        list.Select(row);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_STARTUP_REMOVE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_STARTUP_REMOVE)));
        // The rescan runs off the program's window thread.
        ASSERT_TRUE(program.WaitForLists());
    };
    // The 32-bit row goes alone; the 64-bit value of the same name stays.
    remove(wow);
    EXPECT_FALSE(ValueIn("32"));
    EXPECT_TRUE(ValueIn("64"));
    EXPECT_EQ(ProbeRows(list), (std::vector<std::string>{native + " | c:\\tv64.exe"}));
    remove(native);
    EXPECT_FALSE(ValueIn("64"));
    EXPECT_TRUE(ProbeRows(list).empty());
}

// One add-on class id registered as a toolbar in each view: two rows, and
// removing both deletes each view's own entry (a delete below a 64-bit-view
// handle that named no view would land in the 32-bit copy on Windows 7).
TEST(ProgramViews, AnAddOnOfEachViewIsListedAndRemovedExactly) {
    if (!Win32SystemProbe().Is64BitSystem()) GTEST_SKIP() << "32-bit Windows has one registry view";
    const std::string toolbar = "HKLM\\SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";
    const std::string id = "{7F3A0009-5E1D-4C2B-9A10-0000000000AA}";
    const std::string classKey = "HKLM\\SOFTWARE\\Classes\\CLSID\\" + id;
    auto inView = [&](const char* view) {
        return Reg("query \"" + toolbar + "\" /v " + id + " /reg:" + view) == 0;
    };
    struct Cleanup {
        std::string toolbar, id, classKey;
        ~Cleanup() {
            for (const char* view : {"32", "64"}) {
                Reg("delete \"" + toolbar + "\" /v " + id + " /f /reg:" + view);
                Reg("delete \"" + classKey + "\" /f /reg:" + view);
            }
        }
    } cleanup{toolbar, id, classKey};
    for (const char* view : {"32", "64"}) {
        ASSERT_EQ(Reg("add \"" + toolbar + "\" /v " + id + " /d \"\" /f /reg:" + view), 0);
        ASSERT_EQ(Reg("add \"" + classKey + "\" /ve /d TvViewsBar" + view + " /f /reg:" + view), 0);
    }
    ASSERT_TRUE(inView("32"));
    ASSERT_TRUE(inView("64"));

    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND page = program.OpenTab(IDC_TAB_ADDONS, {1060, 1065});
    ASSERT_NE(page, nullptr);
    testing::RemoteListView list(GetDlgItem(page, 1060));
    std::vector<std::string> names;
    for (int r = 0; r < list.ItemCount(); ++r) {
        if (list.ItemText(r, 0) != id) continue;
        names.push_back(list.ItemText(r, 1));
        list.SetTicked(r, true);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"TvViewsBar32", "TvViewsBar64"}));
    PostMessageA(GetDlgItem(page, 1012), BM_CLICK, 0, 0);
    for (int i = 0; i < 250 && (inView("32") || inView("64")); ++i) Sleep(40);
    EXPECT_FALSE(inView("32"));
    EXPECT_FALSE(inView("64"));
    PostMessageA(program.Main(), WM_COMMAND, MAKEWPARAM(IDC_CLOSE_BUTTON, BN_CLICKED), 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

}  // namespace
}  // namespace tv
