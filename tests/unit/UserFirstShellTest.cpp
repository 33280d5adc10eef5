// What the user's associations choose goes to the desktop shell alone. The
// program's own shell (this elevated process) starts only system tools, and
// where the desktop shell does not take a request the user is told exactly
// what to open.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/VersionNotice.h"
#include "platform/BuildSettings.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

void ExpectOwnShellUntouched(const FakeShell& own, const std::string& name) {
    EXPECT_TRUE(own.Requests().empty()) << name;
    EXPECT_TRUE(own.Launches().empty()) << name;
    EXPECT_TRUE(own.Commands().empty()) << name;
    EXPECT_TRUE(own.Processes().empty()) << name;
    EXPECT_TRUE(own.ExactProcesses().empty()) << name;
}

struct Request {
    const char* name;
    std::function<void(Shell&)> send;
    ShellLaunch expected;  // what the desktop shell is asked
    std::string told;      // the box when it does not take it
};

std::vector<Request> Requests() {
    const std::string home = HomePageAddress();
    const std::string mail = std::string("mailto:") + TV_SUPPORT_MAIL + "?Subject=Windows7用户技术支持";
    const std::string iexplore = "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\"";
    ShellLaunch browser;
    browser.file = iexplore;
    browser.parameters = " -extoff";
    browser.showCommand = kSwShowMaximized;
    ShellLaunch folder;
    folder.file = "C:\\Windows\\explorer.exe";
    folder.parameters = "/e,\"C:\\ProgramData\\Trimvex\"";
    folder.showCommand = kSwShowNormal;
    auto opened = [](const std::string& file, int show) {
        ShellLaunch launch;
        launch.file = file;
        launch.showCommand = show;
        return launch;
    };
    return {
        // The version notice at start-up: the home page, maximised.
        {"version notice", [home](Shell& s) { s.Open(home, kSwShowMaximized); },
         opened(home, kSwShowMaximized),
         "无法通过桌面打开，请自行在浏览器中打开以下地址：\n" + home},
        {"web site button", [home](Shell& s) { s.Open(home, kSwShow); }, opened(home, kSwShow),
         "无法通过桌面打开，请自行在浏览器中打开以下地址：\n" + home},
        // The recipient alone, without the subject.
        {"support mail", [mail](Shell& s) { s.Open(mail, kSwShow); }, opened(mail, kSwShow),
         std::string("无法通过桌面打开邮件程序，请自行发送邮件至以下地址：\n") + TV_SUPPORT_MAIL},
        {"mail without subject", [](Shell& s) { s.Open("MAILTO:a@b.example", kSwShow); },
         opened("MAILTO:a@b.example", kSwShow),
         "无法通过桌面打开邮件程序，请自行发送邮件至以下地址：\na@b.example"},
        // A folder, 踈 (DB 5C) kept whole.
        {"folder", [](Shell& s) { s.Open("C:\\ProgramData\\\xDB\x5C", kSwShow); },
         opened("C:\\ProgramData\\\xDB\x5C", kSwShow),
         "无法通过桌面打开，请自行在资源管理器中打开以下文件夹：\nC:\\ProgramData\\\xDB\x5C"},
        {"share", [](Shell& s) { s.Open("\\\\server\\share", kSwShow); },
         opened("\\\\server\\share", kSwShow),
         "无法通过桌面打开，请自行在资源管理器中打开以下文件夹：\n\\\\server\\share"},
        {"browser without add-ons", [browser](Shell& s) { EXPECT_TRUE(s.Launch(browser)); }, browser,
         "无法通过桌面启动，请自行运行以下命令：\n" + iexplore + " -extoff"},
        {"program with arguments", [folder](Shell& s) { EXPECT_TRUE(s.Launch(folder)); }, folder,
         "无法通过桌面启动，请自行运行以下命令：\nC:\\Windows\\explorer.exe /e,\"C:\\ProgramData\\Trimvex\""},
    };
}

TEST(UserFirstShell, OnlyTheDesktopShellIsAskedAndARefusalNamesWhatToOpen) {
    for (const Request& r : Requests()) {
        for (bool desktop : {true, false}) {
            const std::string name = std::string(r.name) + (desktop ? " / desktop" : " / none");
            testing::FakePlatform fakes;
            fakes.userShell.available = desktop;
            r.send(*fakes.Get().shell);
            ExpectOwnShellUntouched(fakes.shell, name);
            ASSERT_EQ(fakes.userShell.Asked().size(), 1u) << name;
            const ShellLaunch& asked = fakes.userShell.Asked()[0];
            EXPECT_EQ(asked.file, r.expected.file) << name;
            EXPECT_EQ(asked.parameters, r.expected.parameters) << name;
            EXPECT_EQ(asked.directory, r.expected.directory) << name;
            EXPECT_EQ(asked.verb, r.expected.verb) << name;
            EXPECT_EQ(asked.showCommand, r.expected.showCommand) << name;
            if (desktop) {
                EXPECT_TRUE(fakes.prompter.Prompts().empty()) << name;
                continue;
            }
            ASSERT_EQ(fakes.prompter.Prompts().size(), 1u) << name;
            const Prompt& told = fakes.prompter.Prompts()[0];
            EXPECT_EQ(told.text, r.told) << name;
            EXPECT_EQ(told.caption, "") << name;
            EXPECT_EQ(told.type, kMbOk | kMbIconExclamation) << name;
        }
    }
}

TEST(UserFirstShell, ARequestReturnsBeforeTheShellAnswers) {
    // A shell slow to answer: the click returns at once, and the box comes
    // only with the answer, and only for a refusal.
    struct Case {
        bool taken;
        size_t prompts;
    } cases[] = {{true, 0}, {false, 1}};
    for (const Case& c : cases) {
        testing::FakePlatform fakes;
        fakes.userShell.holdAnswers = true;
        fakes.Get().shell->Open(HomePageAddress(), kSwShowMaximized);
        EXPECT_EQ(fakes.userShell.HeldCount(), 1u);
        EXPECT_TRUE(fakes.prompter.Prompts().empty());
        fakes.userShell.available = c.taken;
        fakes.userShell.AnswerHeld();
        EXPECT_EQ(fakes.userShell.HeldCount(), 0u);
        ASSERT_EQ(fakes.prompter.Prompts().size(), c.prompts) << c.taken;
        if (c.prompts) {
            EXPECT_EQ(fakes.prompter.Prompts()[0].text,
                      "无法通过桌面打开，请自行在浏览器中打开以下地址：\n" + HomePageAddress());
        }
        ExpectOwnShellUntouched(fakes.shell, c.taken ? "taken" : "refused");
    }
}

TEST(UserFirstShell, SystemToolsByFullPathStartHereWithOrWithoutADesktopShell) {
    for (bool desktop : {true, false}) {
        testing::FakePlatform fakes;
        fakes.userShell.available = desktop;
        Shell& shell = *fakes.Get().shell;
        EXPECT_TRUE(shell.Run("\"C:\\Windows\\system32\\rundll32.exe\" x", kSwShow));
        EXPECT_TRUE(shell.Start("C:\\Windows\\system32\\regsvr32.exe", "regsvr32 /u /s a.dll", kSwHide));
        EXPECT_TRUE(shell.StartW(u"C:\\Windows\\system32\\regsvr32.exe", u"regsvr32 /u /s b.dll", kSwHide));
        ASSERT_EQ(fakes.shell.Commands().size(), 1u);
        EXPECT_EQ(fakes.shell.Commands()[0].commandLine, "\"C:\\Windows\\system32\\rundll32.exe\" x");
        ASSERT_EQ(fakes.shell.Processes().size(), 1u);
        EXPECT_EQ(fakes.shell.Processes()[0].commandLine, "regsvr32 /u /s a.dll");
        ASSERT_EQ(fakes.shell.ExactProcesses().size(), 1u);
        EXPECT_EQ(fakes.shell.ExactProcesses()[0].commandLine, u"regsvr32 /u /s b.dll");
        EXPECT_TRUE(fakes.userShell.Asked().empty());
        EXPECT_TRUE(fakes.prompter.Prompts().empty());
    }
}

}  // namespace
}  // namespace tv
