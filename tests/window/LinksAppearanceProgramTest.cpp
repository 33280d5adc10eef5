// The real Trimvex.exe worked from outside: the help page's advisor and
// empty-search message, and the appearance page's tweaks, compared with an
// independent reading of the same drives and registry.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "app/VersionNotice.h"
#include "app/win32/MainWindow.h"
#include "platform/win32/ScopedHandle.h"
#include "tests/support/AdvisorReading.h"
#include "tests/support/HeldProcess.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

using testing::PostClick;
using testing::WindowText;

TEST(ProgramPages, HelpAdvisorAndEmptySearchMessage) {
    testing::TrimvexProcess program;
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForMain(), nullptr);
    program.ShowSection(1004);
    HWND help = program.PageWith({1067, 1033, 1012, 1008});
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(IsWindowVisible(help));

    HWND advice = GetDlgItem(help, 1067);
    EXPECT_EQ(WindowText(advice), "如果安装双系统我应该如何选择分区呢?");
    std::string report;
    EXPECT_TRUE(testing::ReportMatchesTheDrives(
        [&] {
            SetWindowTextA(advice, "");
            PostClick(help, 1012);
            std::string text;
            for (int i = 0; i < 200 && (text = WindowText(advice)).empty(); ++i) Sleep(10);
            return text;
        },
        &report))
        << report << " / " << testing::IndependentAdvice();

    SetDlgItemTextA(help, 1008, "w");
    PostClick(help, 1009);
    HWND box = nullptr;
    for (int i = 0; i < 250 && !(box = program.FindMessageBox()); ++i) Sleep(20);
    ASSERT_NE(box, nullptr) << "no message box for a one-letter search";
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), "请先在左边方框中输入问题描述或关键字");
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
    testing::TrimvexProcess program;
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForMain(), nullptr);
    program.ShowSection(1002);
    HWND page = program.PageWith({1037, 1043, 1044, 1013});
    ASSERT_NE(page, nullptr);
    for (int id : {1013, 1015, 1016, 1017})
        EXPECT_EQ(SendMessageA(GetDlgItem(page, id), BM_GETCHECK, 0, 0), BST_CHECKED) << id;
    SendMessageA(GetDlgItem(page, 1017), BM_SETCHECK, BST_UNCHECKED, 0);
    PostClick(page, 1037);
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

// The machine's web-address handler replaced by a recorder for the test's
// life (Wine reads it from the machine's classes; Windows 7 lets the user's
// own classes name it, which is what a program of the user plants).
class PlantedWebHandler {
public:
    PlantedWebHandler() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        handler_ = std::string(temp) + "tv_web_handler_" + std::to_string(GetCurrentProcessId()) + ".exe";
        DeleteFileA(Record().c_str());
        if (!CopyFileA((testing::ProgramDirectory() + "tv_recorder.exe").c_str(), handler_.c_str(), FALSE))
            return;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, kCommandKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS)
            return;
        char old[1024] = {};
        DWORD size = sizeof(old) - 1, type = 0;
        hadOld_ = RegQueryValueExA(key_, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(old), &size) ==
                      ERROR_SUCCESS && type == REG_SZ;
        if (hadOld_) old_ = old;
        const std::string command = "\"" + handler_ + "\" \"%1\"";
        ready_ = RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS;
    }
    ~PlantedWebHandler() {
        if (key_) {
            if (hadOld_)
                RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(old_.c_str()),
                               static_cast<DWORD>(old_.size() + 1));
            else
                RegDeleteValueA(key_, nullptr);
            RegCloseKey(key_);
        }
        DeleteFileA(handler_.c_str());
        DeleteFileA(Record().c_str());
    }
    PlantedWebHandler(const PlantedWebHandler&) = delete;
    PlantedWebHandler& operator=(const PlantedWebHandler&) = delete;
    bool Ready() const { return ready_; }
    // What the handler was started with so far.
    std::string Recorded() const {
        std::ifstream in(Record(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Waits for the record to grow past `size`; true when it did.
    bool GrowsPast(size_t size, DWORD milliseconds) const {
        for (DWORD waited = 0; waited < milliseconds; waited += 50) {
            if (Recorded().size() > size) return true;
            Sleep(50);
        }
        return Recorded().size() > size;
    }

private:
    static constexpr char kCommandKey[] = "http\\shell\\open\\command";
    std::string Record() const { return handler_ + ".log"; }
    std::string handler_;
    HKEY key_ = nullptr;
    bool hadOld_ = false;
    std::string old_;
    bool ready_ = false;
};

TEST(ProgramPages, WithoutAnAnsweringDesktopShellALinkIsNamedAndNeverStartedHere) {
    PlantedWebHandler handler;
    ASSERT_TRUE(handler.Ready());
    const DWORD explorer = testing::ProcessNamed("explorer.exe");
    ASSERT_NE(explorer, 0u);
    testing::TrimvexProcess program;
    ASSERT_TRUE(program.Started());
    ASSERT_NE(program.WaitForMain(), nullptr);

    // The handler works: the desktop shell starts it for the web site
    // button (the notice at start may have started it already).
    const size_t before = handler.Recorded().size();
    PostMessageA(program.Main(), WM_COMMAND, MAKEWPARAM(1014, BN_CLICKED), 0);
    ASSERT_TRUE(handler.GrowsPast(before, 30000)) << "the planted handler never ran";
    EXPECT_NE(handler.Recorded().find(HomePageAddress()), std::string::npos) << handler.Recorded();
    Sleep(300);
    const size_t answered = handler.Recorded().size();

    std::string text;
    HWND owner = nullptr;
    DWORD boxAfter = 0;
    bool windowAnswered = false;
    {
        testing::HeldProcess held(explorer);
        ASSERT_GT(held.Threads(), 0u);
        const DWORD begin = GetTickCount();
        PostMessageA(program.Main(), WM_COMMAND, MAKEWPARAM(1014, BN_CLICKED), 0);
        // The window is not held up meanwhile.
        DWORD_PTR ignored = 0;
        windowAnswered = SendMessageTimeoutA(program.Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 300,
                                             &ignored) != 0;
        HWND box = program.WaitForTopLevel("Trimvex", "#32770", 5000);
        boxAfter = GetTickCount() - begin;
        if (box) {
            owner = GetWindow(box, GW_OWNER);
            program.NextMessageBox("Trimvex", &text, 2000);
        }
    }
    std::printf("the box came %lu ms after the click\n", static_cast<unsigned long>(boxAfter));
    EXPECT_TRUE(windowAnswered);
    EXPECT_EQ(text, "无法通过桌面打开，请自行在浏览器中打开以下地址：\n" + HomePageAddress());
    EXPECT_EQ(owner, program.Main());
    EXPECT_LT(boxAfter, 2500u);
    // Neither from this elevated process nor, once it runs again, from the
    // shell that was late.
    EXPECT_FALSE(handler.GrowsPast(answered, 2000)) << handler.Recorded();
}

}  // namespace
}  // namespace tv
