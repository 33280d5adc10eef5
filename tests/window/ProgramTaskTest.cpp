// The real Trimvex.exe lists a task that starts a program at logon, removes
// it through the startup tab's button, and the definition it keeps
// registers the task again with the command its restore file gives; logon
// tasks are switched off and on through the tab's buttons, as far as the
// task service lets them be.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "manage/TaskSwitch.h"
#include "platform/win32/Win32TaskScheduler.h"
#include "res/resource.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/TaskService.h"
#include "tests/support/TrimvexProcess.h"

namespace tv {
namespace {

const std::u16string kPath = u"\\TvWindow\\TvLogon";

std::string RestoreFolder() {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::string(path) + "\\Trimvex 还原文件";
}

std::vector<std::string> RestoreFolderNames() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((RestoreFolder() + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A UTF-16 file's text in the ANSI code page.
std::string Text(const std::string& bytes) {
    if (bytes.size() < 2) return {};
    const std::wstring wide(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                        nullptr);
    return text;
}

bool Registered() {
    std::u16string xml;
    return Win32TaskScheduler().TaskXml(kPath, &xml);
}

TEST(ProgramTasks, ListsALogonTaskRemovesItAndItsKeptDefinitionRegistersItAgain) {
    ASSERT_TRUE(testing::StartTaskService());
    testing::DeleteTestTask(kPath);
    const std::u16string xml =
        u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
        u"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
        u"  <Triggers><LogonTrigger><Enabled>true</Enabled></LogonTrigger></Triggers>\r\n"
        u"  <Settings><Enabled>true</Enabled></Settings>\r\n"
        u"  <Actions Context=\"Author\"><Exec><Command>C:\\windows\\notepad.exe</Command>"
        u"<Arguments>/tv</Arguments></Exec></Actions>\r\n</Task>\r\n";
    // Registered as a user would, with the system's tool and a definition file.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string file = std::string(temp) + "tv-window-task.xml";
    {
        std::ofstream out(file, std::ios::binary);
        out << testing::Utf16FileBytes(xml);
    }
    ASSERT_EQ(testing::RunAndWait("schtasks.exe /create /tn \"TvWindow\\TvLogon\" /xml \"" + file + "\"", true), 0);
    DeleteFileA(file.c_str());
    testing::KeepWholeDefinition(kPath, xml);
    ASSERT_TRUE(Registered());
    const std::vector<std::string> keptBefore = RestoreFolderNames();

    {
        testing::TrimvexProcess program;
        ASSERT_NE(program.WaitForMain(), nullptr);
        HWND listWindow =
            GetDlgItem(program.PageWith({IDC_STARTUP_LIST, IDC_STARTUP_REFRESH}), IDC_STARTUP_LIST);
        testing::RemoteListView list(listWindow);
        ASSERT_TRUE(list);
        int row = -1;
        for (int r = 0; r < list.ItemCount(); ++r)
            if (list.ItemText(r, 0) == "TvLogon") row = r;
        ASSERT_GE(row, 0);
        std::string texts = list.ItemText(row, 0);
        for (int c = 1; c < 5; ++c) texts += " | " + list.ItemText(row, c);
        EXPECT_EQ(texts, "TvLogon | c:\\windows\\notepad.exe | 计划任务 | \\TvWindow [登录时] | \\TvWindow\\TvLogon");

        list.Select(row);
        HWND page = GetParent(listWindow);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_STARTUP_REMOVE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_STARTUP_REMOVE)));
        ASSERT_TRUE(program.WaitForLists());
        EXPECT_FALSE(Registered());
        for (int r = 0; r < list.ItemCount(); ++r) EXPECT_NE(list.ItemText(r, 0), "TvLogon");
    }

    // Beside what was there: the definition and the restore file naming it.
    std::vector<std::string> kept;
    for (const std::string& name : RestoreFolderNames())
        if (std::find(keptBefore.begin(), keptBefore.end(), name) == keptBefore.end()) kept.push_back(name);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].substr(kept[0].size() - 4), ".reg");
    EXPECT_EQ(kept[1], kept[0].substr(0, kept[0].size() - 4) + ".xml");
    const std::string saved = RestoreFolder() + "\\" + kept[1];
    EXPECT_EQ(ReadBytes(saved).substr(0, 2), "\xFF\xFE");
    const std::string restore = Text(ReadBytes(RestoreFolder() + "\\" + kept[0]));
    const std::string command = "schtasks /create /xml \"" + saved + "\" /tn \"\\TvWindow\\TvLogon\"";
    EXPECT_NE(restore.find("; 恢复时请在命令提示符中运行：" + command + "\r\n"), std::string::npos) << restore;

    // The command as the restore file gives it brings the task back.
    EXPECT_EQ(testing::RunAndWait(command, true), 0);
    EXPECT_TRUE(Registered());
    testing::DeleteTestTask(kPath);
    for (const std::string& name : kept) DeleteFileA((RestoreFolder() + "\\" + name).c_str());
}

// A logon task's definition, switched on or off as a whole.
std::u16string LogonTask(bool enabled) {
    return u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
           u"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
           u"  <Triggers><LogonTrigger><Enabled>true</Enabled></LogonTrigger></Triggers>\r\n"
           u"  <Settings><Enabled>" + std::u16string(enabled ? u"true" : u"false") + u"</Enabled></Settings>\r\n"
           u"  <Actions Context=\"Author\"><Exec><Command>C:\\windows\\notepad.exe</Command></Exec></Actions>\r\n"
           u"</Task>\r\n";
}

int RowNamed(const testing::RemoteListView& list, const std::string& name) {
    for (int r = 0; r < list.ItemCount(); ++r)
        if (list.ItemText(r, 0) == name) return r;
    return -1;
}

// Clicks a button of the page, answers the message box it may bring and
// waits for the list: the box's text, or empty when none came.
std::string ClickAndRead(const testing::TrimvexProcess& program, HWND page, int id) {
    testing::PostClick(page, id);
    std::string told;
    program.NextMessageBox("Trimvex", &told, 5000);
    program.WaitForLists();
    return told;
}

// One task switched off through 禁用, another switched on through 启用, each
// read back from the task service on its own. Wine 8's service takes no
// switch (its put_Enabled changes nothing): there the program says so,
// keeps no restore file and both tasks stay as they were.
TEST(ProgramTasks, LogonTasksAreSwitchedOffAndOnThroughTheButtons) {
    const std::u16string on = u"\\TvWindow\\TvSwitchOn";
    const std::u16string off = u"\\TvWindow\\TvSwitchOff";
    ASSERT_TRUE(testing::StartTaskService());
    struct Cleanup {
        std::u16string paths[2];
        ~Cleanup() {
            for (const std::u16string& path : paths) testing::DeleteTestTask(path);
        }
    } cleanup{{on, off}};
    ASSERT_TRUE(testing::RegisterTask(on, LogonTask(true)));
    ASSERT_TRUE(testing::RegisterTask(off, LogonTask(false)));
    ASSERT_EQ(testing::TaskEnabled(on), 1);
    ASSERT_EQ(testing::TaskEnabled(off), 0);
    const std::vector<std::string> keptBefore = RestoreFolderNames();
    const bool switches = testing::SwitchesTasks();

    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND listWindow = GetDlgItem(program.PageWith({IDC_STARTUP_LIST, IDC_STARTUP_REFRESH}), IDC_STARTUP_LIST);
    testing::RemoteListView list(listWindow);
    ASSERT_TRUE(list);
    HWND page = GetParent(listWindow);
    int row = RowNamed(list, "TvSwitchOn");
    ASSERT_GE(row, 0);
    EXPECT_EQ(list.ItemText(row, 3), "\\TvWindow [登录时]");
    ASSERT_GE(RowNamed(list, "TvSwitchOff"), 0);
    EXPECT_EQ(list.ItemText(RowNamed(list, "TvSwitchOff"), 3), "[已禁用] \\TvWindow [登录时]");

    list.Select(row);
    const std::string offTold = ClickAndRead(program, page, IDC_STARTUP_DISABLE);
    list.Select(RowNamed(list, "TvSwitchOff"));
    const std::string onTold = ClickAndRead(program, page, IDC_STARTUP_ENABLE);
    if (switches) {
        EXPECT_EQ(offTold, "");
        EXPECT_EQ(onTold, "");
        EXPECT_EQ(testing::TaskEnabled(on), 0);
        EXPECT_EQ(testing::TaskEnabled(off), 1);
        EXPECT_EQ(list.ItemText(RowNamed(list, "TvSwitchOn"), 3), "[已禁用] \\TvWindow [登录时]");
        EXPECT_EQ(list.ItemText(RowNamed(list, "TvSwitchOff"), 3), "\\TvWindow [登录时]");
        EXPECT_EQ(RestoreFolderNames().size(), keptBefore.size() + 2);
    } else {
        EXPECT_EQ(offTold, kTaskSwitchFailedMessage);
        EXPECT_EQ(onTold, kTaskSwitchFailedMessage);
        EXPECT_EQ(testing::TaskEnabled(on), 1);
        EXPECT_EQ(testing::TaskEnabled(off), 0);
        EXPECT_EQ(list.ItemText(RowNamed(list, "TvSwitchOn"), 3), "\\TvWindow [登录时]");
        EXPECT_EQ(list.ItemText(RowNamed(list, "TvSwitchOff"), 3), "[已禁用] \\TvWindow [登录时]");
        EXPECT_EQ(RestoreFolderNames(), keptBefore);
    }
    // Both still registered, whatever the service did.
    std::u16string xml;
    EXPECT_TRUE(Win32TaskScheduler().TaskXml(on, &xml));
    EXPECT_TRUE(Win32TaskScheduler().TaskXml(off, &xml));
    for (const std::string& name : RestoreFolderNames())
        if (std::find(keptBefore.begin(), keptBefore.end(), name) == keptBefore.end())
            DeleteFileA((RestoreFolder() + "\\" + name).c_str());
}

}  // namespace
}  // namespace tv
