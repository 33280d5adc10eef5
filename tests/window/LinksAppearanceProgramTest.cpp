// The real Trimvex.exe worked from outside: the help page's advisor and
// empty-search message, and the appearance page's tweaks, compared with an
// independent reading of the same drives and registry.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/VersionNotice.h"
#include "app/win32/MainWindow.h"
#include "platform/win32/ScopedHandle.h"
#include "tests/support/AdvisorReading.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

class Program {
public:
    Program() {
        std::string path = testing::ProgramDirectory() + "..\\Trimvex.exe";
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        std::string command = "\"" + path + "\"";
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        PROCESS_INFORMATION info{};
        if (CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info)) {
            ScopedHandle thread(info.hThread);
            process_.Reset(info.hProcess);
            id_ = info.dwProcessId;
        }
    }
    ~Program() {
        if (main_) PostMessageA(main_, WM_COMMAND, MAKEWPARAM(1012, BN_CLICKED), 0);
        if (process_ && WaitForSingleObject(process_.Get(), 5000) == WAIT_TIMEOUT) {
            TerminateProcess(process_.Get(), 1);
            WaitForSingleObject(process_.Get(), 5000);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The main window, once shown (the outdated-version notice is closed).
    HWND WaitForMain() {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < 20000) {
            if ((main_ = Find(kMainWindowTitle))) return main_;
            if (HWND notice = Find("Trimvex")) PostMessageA(notice, WM_COMMAND, IDOK, 0);
            Sleep(20);
        }
        return nullptr;
    }
    // A visible top-level dialog of the program with this title.
    HWND Find(const std::string& title) const {
        struct Search {
            DWORD process;
            const std::string* title;
            HWND found;
        } search{id_, &title, nullptr};
        EnumWindows(
            [](HWND window, LPARAM data) CALLBACK -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                char text[256] = {};
                GetWindowTextA(window, text, sizeof(text));
                if (owner == s->process && IsWindowVisible(window) && *s->title == text) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    // The page (a child dialog of the main window) that holds all of
    // these controls; pages share control ids, so one is not enough.
    HWND PageWith(std::initializer_list<int> ids) const {
        for (HWND child = GetWindow(main_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            bool all = true;
            for (int id : ids) all = all && GetDlgItem(child, id) != nullptr;
            if (all) return child;
        }
        return nullptr;
    }
    void ShowSection(int buttonId) const {
        SendMessageA(main_, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(main_, buttonId)));
    }
    bool Started() const { return static_cast<bool>(process_); }

private:
    ScopedHandle process_;
    DWORD id_ = 0;
    HWND main_ = nullptr;
};

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

void Press(HWND page, int id) {
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

TEST(ProgramPages, HelpAdvisorAndEmptySearchMessage) {
    Program program;
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForMain(), nullptr);
    program.ShowSection(1004);
    HWND help = program.PageWith({1067, 1033, 1012, 1008});
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(IsWindowVisible(help));

    HWND advice = GetDlgItem(help, 1067);
    EXPECT_EQ(TextOf(advice), "如果安装双系统我应该如何选择分区呢?");
    std::string report;
    EXPECT_TRUE(testing::ReportMatchesTheDrives(
        [&] {
            SetWindowTextA(advice, "");
            Press(help, 1012);
            std::string text;
            for (int i = 0; i < 200 && (text = TextOf(advice)).empty(); ++i) Sleep(10);
            return text;
        },
        &report))
        << report << " / " << testing::IndependentAdvice();

    SetDlgItemTextA(help, 1008, "w");
    Press(help, 1009);
    HWND box = nullptr;
    for (int i = 0; i < 250 && !(box = program.Find("Trimvex")); ++i) Sleep(20);
    ASSERT_NE(box, nullptr) << "no message box for a one-letter search";
    EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), "请先在左边方框中输入问题描述或关键字");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

DWORD ReadDword(HKEY root, const char* path, const char* name) {
    DWORD value = 0xFFFFFFFF, size = sizeof(value), type = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        value = 0xFFFFFFFF;
    RegCloseKey(key);
    return value;
}

TEST(ProgramPages, AppearanceTweaksReachTheRegistry) {
    const char kMachineExplorer[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMachineExplorer, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Max Cached Icons");
        RegCloseKey(key);
    }
    Program program;
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForMain(), nullptr);
    program.ShowSection(1002);
    HWND page = program.PageWith({1037, 1043, 1044, 1013});
    ASSERT_NE(page, nullptr);
    for (int id : {1013, 1015, 1016, 1017})
        EXPECT_EQ(SendMessageA(GetDlgItem(page, id), BM_GETCHECK, 0, 0), BST_CHECKED) << id;
    SendMessageA(GetDlgItem(page, 1017), BM_SETCHECK, BST_UNCHECKED, 0);
    Press(page, 1037);
    DWORD icons = 0xFFFFFFFF;
    for (int i = 0; i < 250 && (icons = ReadDword(HKEY_LOCAL_MACHINE, kMachineExplorer,
                                                  "Max Cached Icons")) == 0xFFFFFFFF;
         ++i)
        Sleep(20);
    EXPECT_EQ(icons, 4089u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, "Software\\Microsoft\\Search Assistant",
                        "UseAdvancedSearchAlways"),
              0u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, "Control Pane\\Desktop", "FeedbackToolEnabled"), 1u);
}

}  // namespace
}  // namespace tv
