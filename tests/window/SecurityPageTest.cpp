// The security tab in the real window over the in-memory registry: the User
// Account Control status and switch, and the browser start.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/ManagementTabTest.h"
#include "tweaks/win32/SecurityPage.h"

namespace tv {
namespace {

using testing::Click;
using testing::PumpMessages;

const char kPolicyKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

class SecurityPageTest : public testing::ManagementTabTest<SecurityPage, 5> {
protected:
    std::string Text(int id) const {
        char text[128] = {};
        GetDlgItemTextA(Page().Handle(), id, text, sizeof(text));
        return text;
    }
    void SetPolicy(std::uint32_t value) {
        RegKey::Create(fakes_.registry, kHkeyLocalMachine, kPolicyKey).SetDword("EnableLUA", value);
    }
    // "type:value", or "missing".
    std::string Stored() {
        RegKey key = RegKey::Open(fakes_.registry, kHkeyLocalMachine, kPolicyKey, kKeyRead);
        std::uint32_t type = 0, value = 0, size = sizeof value;
        if (key.Query("EnableLUA", &type, &value, &size) != kErrorSuccess) return "missing";
        return std::to_string(type) + ":" + std::to_string(value) + "/" + std::to_string(size);
    }

};

TEST_F(SecurityPageTest, TemplateTextsBeforeTheTabIsShown) {
    SetPolicy(1);
    Open();
    HWND page = Page().Handle();
    // The label is the template's only static without an id.
    HWND label = FindWindowExA(page, nullptr, "Static", nullptr);
    while (label && GetDlgCtrlID(label) != IDC_STATIC && GetDlgCtrlID(label) != 0xFFFF)
        label = FindWindowExA(page, label, "Static", nullptr);
    ASSERT_NE(label, nullptr);
    char text[128] = {};
    GetWindowTextA(label, text, sizeof(text));
    EXPECT_STREQ(text, "UAC (User Account Control 用户帐户控制)  状态");
    EXPECT_EQ(Text(1062), "未知");
    EXPECT_EQ(Text(1012), "开启");
    EXPECT_EQ(Text(1066), "安全模式运行IE");
    EXPECT_EQ(Page().UacIcon(), 179);
    EXPECT_TRUE(Page().UacButton().HasIcon());
    EXPECT_TRUE(Page().BrowserButton().HasIcon());
    EXPECT_EQ(Page().BrowserButton().IconWidth(), 24);
    EXPECT_EQ(Page().UacButton().IconWidth(), 24);
    EXPECT_FALSE(Page().UacEnabled());
}

TEST_F(SecurityPageTest, SelectionReadsThePolicyAndPressesSwitchIt) {
    // The value cases are the logic's; here what the user sees follows them.
    SetPolicy(1);
    Open();
    ClickTab(5);
    struct Step {
        const char* stored;
        const char* status;
        int icon;
    } steps[] = {{"4:1/4", "【启用】", 178}, {"4:0/4", "【禁用】", 179}, {"4:1/4", "【启用】", 178}};
    for (size_t i = 0; i < 3; ++i) {
        if (i > 0) Press(1012);
        EXPECT_EQ(Stored(), steps[i].stored) << i;
        EXPECT_EQ(Text(1062), steps[i].status) << i;
        EXPECT_EQ(Page().UacIcon(), steps[i].icon) << i;
        EXPECT_TRUE(Page().UacButton().HasIcon()) << i;
        EXPECT_EQ(Page().UacEnabled(), steps[i].icon == 178) << i;
    }
    // A change made elsewhere shows on the next selection of the tab.
    RegKey::Open(fakes_.registry, kHkeyLocalMachine, kPolicyKey, kKeyAllAccess).DeleteValue("EnableLUA");
    ClickTab(5);
    EXPECT_EQ(Text(1062), "【禁用】");
    EXPECT_TRUE(fakes_.prompter.Prompts().empty());
}

TEST_F(SecurityPageTest, BrowserButtonStartsIexploreWithoutAddons) {
    fakes_.environment.programFilesFolder = "C:\\Program Files";
    fakes_.environment.variables["ProgramFiles"] = "C:\\Planted";  // not used
    Open();
    ClickTab(5);
    Press(1066);
    EXPECT_TRUE(fakes_.shell.Launches().empty());
    ASSERT_EQ(fakes_.userShell.Launches().size(), 1u);
    const ShellLaunch launch = fakes_.userShell.Launches()[0];
    EXPECT_EQ(launch.file, "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\"");
    EXPECT_EQ(launch.parameters, " -extoff");
    EXPECT_EQ(launch.verb, "");
    EXPECT_EQ(launch.directory, "");
    EXPECT_EQ(launch.showCommand, SW_SHOWMAXIMIZED);

    fakes_.environment.programFilesFolder.clear();
    fakes_.environment.variables["ProgramFiles"] = "C:\\Program Files";
    Press(1066);
    EXPECT_EQ(fakes_.userShell.Asked().size(), 1u);

    // Without a desktop shell the browser is not started from this elevated
    // process: the user is told the command.
    fakes_.environment.programFilesFolder = "C:\\Program Files";
    fakes_.userShell.available = false;
    Press(1066);
    EXPECT_TRUE(fakes_.shell.Launches().empty());
    EXPECT_TRUE(fakes_.shell.Commands().empty());
    EXPECT_EQ(fakes_.userShell.Launches().size(), 1u);
    EXPECT_EQ(fakes_.userShell.Asked().size(), 2u);
    ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
    EXPECT_EQ(fakes_.prompter.Prompts()[0].text,
              "无法通过桌面启动，请自行运行以下命令：\n"
              "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -extoff");
}

TEST_F(SecurityPageTest, Screenshots) {
    SetPolicy(1);
    Open();
    ClickTab(5);
    HWND main = window_->Handle();
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
    auto save = [&](const std::string& name) {
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(100);
        std::string path = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\" + name + ".png";
        EXPECT_TRUE(testing::SaveWindowPng(main, path)) << path;
    };
    save("security-uac-on");
    Press(1012);
    save("security-uac-off");
}

}  // namespace
}  // namespace tv
