// The appearance, driver, software and help pages in the real main window
// under Wine: their controls as laid out, what each button does through the
// platform seams, the desktop tweaks into the real registry and the advisor
// on the prefix's real drives.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/win32/MainWindow.h"
#include "links/HelpActions.h"
#include "links/LinkTable.h"
#include "links/win32/DriverPage.h"
#include "links/win32/HelpPage.h"
#include "links/win32/SoftwarePage.h"
#include "platform/BuildSettings.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Registry.h"
#include "tests/support/AdvisorReading.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/WindowTestSupport.h"
#include "tweaks/win32/AppearancePage.h"

namespace tv {
namespace {

using testing::Click;
using testing::PumpMessages;
using testing::PumpMessagesUntil;

constexpr int kAppearance = 3, kDrivers = 5, kSoftware = 6, kHelp = 7;

struct Item {
    int id;
    const char* text;
    int x, y, width, height;
};

RECT DialogItemRect(HWND dialog, int x, int y, int width, int height) {
    RECT rect{x, y, width, height};
    MapDialogRect(dialog, &rect);
    return {rect.left, rect.top, rect.left + rect.right, rect.top + rect.bottom};
}

RECT ChildRect(HWND page, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// The child of `page` showing `text` (for the statics without an id).
HWND ChildWithText(HWND page, const std::string& text) {
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (TextOf(child) == text) return child;
    return nullptr;
}

void ExpectLayout(HWND page, const std::vector<Item>& items) {
    for (const Item& item : items) {
        HWND control = item.id ? GetDlgItem(page, item.id) : ChildWithText(page, item.text);
        ASSERT_NE(control, nullptr) << item.id << " " << item.text;
        if (item.text) {
            EXPECT_EQ(TextOf(control), item.text) << item.id;
        }
        RECT expected = DialogItemRect(page, item.x, item.y, item.width, item.height);
        RECT actual = ChildRect(page, control);
        EXPECT_EQ(actual.left, expected.left) << item.id << " " << item.text;
        EXPECT_EQ(actual.top, expected.top) << item.id << " " << item.text;
        EXPECT_EQ(actual.right, expected.right) << item.id << " " << item.text;
        EXPECT_EQ(actual.bottom, expected.bottom) << item.id << " " << item.text;
    }
}

class PagesTest : public ::testing::Test {
protected:
    void Open() {
        window_ = std::make_unique<MainWindow>(platform_);
        ASSERT_TRUE(window_->Create(nullptr));
        // The pages gather off this thread; wait until they are filled.
        ASSERT_TRUE(PumpMessagesUntil([&] { return window_->PagesFilled(); }));
        PumpMessages(30);
    }
    void TearDown() override { window_.reset(); }
    HWND Page(int section) const { return window_->Page(section)->Handle(); }
    void ShowSection(int section) {
        Click(window_->SectionButton(section).Handle());
        PumpMessages(5);
    }
    void Press(int section, int id) {
        Click(GetDlgItem(Page(section), id));
        PumpMessages(5);
    }

    testing::FakePlatform fakes_;
    Platform platform_ = fakes_.Get();
    std::unique_ptr<MainWindow> window_;
};

TEST_F(PagesTest, AppearancePageLayoutAndCheckedBoxes) {
    Open();
    HWND page = Page(kAppearance);
    ExpectLayout(page, {
        {1035, "选择壁纸", 42, 46, 66, 26},
        {1044, "使用提示", 122, 36, 242, 42},
        {0, "设置桌面壁纸，同时可以在Trimvex下载更多壁纸", 140, 58, 185, 8},
        {1036, "选择主题", 42, 125, 66, 26},
        {1043, "说明提示", 120, 117, 242, 42},
        {0, "选择系统主题，同时尝试开启Windows Aero玻璃效果", 139, 137, 185, 8},
        {1013, "去除快捷方式的小箭头", 43, 199, 96, 10},
        {1015, "增加桌面图标缓存系数", 43, 219, 96, 10},
        {1016, "去除Win7测试版的反馈字样", 163, 199, 112, 10},
        {1017, "使用 Windows经典搜索模式", 163, 218, 112, 10},
        {1037, "立即体验", 303, 194, 81, 37},
    });
    for (int id : {1013, 1015, 1016, 1017}) {
        EXPECT_EQ(IsDlgButtonChecked(page, id), static_cast<UINT>(BST_CHECKED)) << id;
        EXPECT_NE(GetWindowLongPtrA(GetDlgItem(page, id), GWL_STYLE) & BS_FLAT, 0) << id;
    }
}

TEST_F(PagesTest, ApplyButtonWritesTheRealRegistryFromTheBoxes) {
    Win32Registry registry;
    platform_.registry = registry;
    Open();
    ShowSection(kAppearance);
    Press(kAppearance, 1016);  // untick "去除Win7测试版的反馈字样"
    Press(kAppearance, 1015);  // untick the icon cache
    ASSERT_EQ(IsDlgButtonChecked(Page(kAppearance), 1016), static_cast<UINT>(BST_UNCHECKED));
    Press(kAppearance, 1037);

    auto dword = [](HKEY root, const char* path, const char* name) {
        DWORD value = 0xFFFFFFFF, size = sizeof(value), type = 0;
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                 &size) != ERROR_SUCCESS || type != REG_DWORD)
                value = 0xFFFFFFFF;
            RegCloseKey(key);
        }
        return value;
    };
    EXPECT_EQ(dword(HKEY_CURRENT_USER, "Control Pane\\Desktop", "FeedbackToolEnabled"), 0u);
    EXPECT_EQ(dword(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer",
                    "Max Cached Icons"),
              1024u);
    EXPECT_EQ(dword(HKEY_CURRENT_USER, "Software\\Microsoft\\Search Assistant",
                    "UseAdvancedSearchAlways"),
              1u);
    EXPECT_EQ(fakes_.desktop.log, std::vector<std::string>{"notify associations"});
}

TEST_F(PagesTest, ThemeAndWallpaperButtons) {
    Open();
    ShowSection(kAppearance);
    fakes_.display.bitsPerPixel = 16;
    Press(kAppearance, 1036);
    ASSERT_EQ(fakes_.shell.Commands().size(), 1u);
    EXPECT_EQ(fakes_.shell.Commands()[0].commandLine,
              "\"C:\\Windows\\system32\\rundll32.exe\" Shell32,Control_RunDLL "
              "desk.cpl,appearance,@appearance");
    EXPECT_EQ(fakes_.display.changes, std::vector<unsigned>{32});
    EXPECT_EQ(fakes_.workers.Started(), 1);

    fakes_.files.AddFile("C:\\pictures\\sea.jpg");
    fakes_.fileDialog.QueueAnswer("C:\\pictures\\sea.jpg");
    Press(kAppearance, 1035);
    ASSERT_EQ(fakes_.fileDialog.Requests().size(), 1u);
    EXPECT_EQ(fakes_.fileDialog.Requests()[0].filterPattern, "*.bmp;*.jpg;*gif");
    EXPECT_EQ(fakes_.desktop.wallpaper, "C:\\pictures\\sea.jpg");
}

TEST_F(PagesTest, HelpPageLayoutAndActions) {
    Win32Drives drives;
    platform_.drives = drives;
    Open();
    ShowSection(kHelp);
    HWND page = Page(kHelp);
    ExpectLayout(page, {
        {1068, nullptr, 13, 11, 353, 8},
        {1008, "", 17, 53, 121, 12},
        {1009, "搜索", 146, 47, 63, 23},
        {1034, "电子邮件提问", 218, 47, 95, 23},
        {1031, "装后必看", 142, 95, 195, 31},
        {1011, "安装Win7系统硬件检测", 25, 152, 106, 26},
        {1032, "装前须知", 141, 150, 195, 29},
        {0, "想安装Windows7都有什么硬件要求及建议", 168, 166, 145, 8},
        {1012, "硬盘分区推荐", 24, 204, 106, 26},
        {1033, "装前必看", 141, 200, 194, 32},
        {1067, "如果安装双系统我应该如何选择分区呢?", 169, 216, 145, 8},
        // The restore folder's button, in the free place of the left
        // column, in step with the two buttons below it.
        {1080, "打开还原文件夹", 24, 100, 106, 26},
    });
    // It overlaps nothing and lies inside the page.
    RECT button = ChildRect(page, GetDlgItem(page, 1080));
    RECT client{};
    GetClientRect(page, &client);
    EXPECT_TRUE(button.left >= 0 && button.top >= 0 && button.right <= client.right && button.bottom <= client.bottom);
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == 1080) continue;
        RECT other = ChildRect(page, child);
        RECT both{};
        EXPECT_FALSE(IntersectRect(&both, &button, &other)) << GetDlgCtrlID(child) << " " << TextOf(child);
    }
    EXPECT_EQ(TextOf(GetDlgItem(page, 1068)),
              std::string("Trimvex官方网站常见问题站内搜索 [ ") + TV_SITE_HOST + "]    [ " +
                  TV_SUPPORT_MAIL + "]");
    EXPECT_NE(GetWindowLongPtrA(GetDlgItem(page, 1009), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);

    struct Search {
        const char* words;
        std::string address;  // empty: the message instead
    } searches[] = {
        {"x", ""},
        {"", ""},
        {"ok", std::string("http://") + TV_SEARCH_HOST + "/search?q=ok&ie=UTF-8&oe=UTF-8&hl=zh-cn&domains=" +
                   TV_SITE_HOST + "&sitesearch=" + TV_SITE_HOST},
        {"中", std::string("http://") + TV_SEARCH_HOST + "/search?q=%E4%B8%AD&ie=UTF-8&oe=UTF-8&hl=zh-cn&domains=" +
                   TV_SITE_HOST + "&sitesearch=" + TV_SITE_HOST},
    };
    for (const Search& s : searches) {
        fakes_.userShell.Clear();
        fakes_.prompter.Clear();
        SetDlgItemTextA(page, 1008, s.words);
        Press(kHelp, 1009);
        if (s.address.empty()) {
            ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u) << s.words;
            EXPECT_EQ(fakes_.prompter.Prompts()[0].text, "请先在左边方框中输入问题描述或关键字");
            EXPECT_TRUE(fakes_.userShell.Launches().empty());
        } else {
            ASSERT_EQ(fakes_.userShell.Launches().size(), 1u) << s.words;
            EXPECT_EQ(fakes_.userShell.Launches()[0].file, s.address);
            EXPECT_TRUE(fakes_.prompter.Prompts().empty());
        }
    }

    fakes_.userShell.Clear();
    fakes_.prompter.Clear();
    Press(kHelp, 1034);
    Press(kHelp, 1011);
    ASSERT_EQ(fakes_.userShell.Launches().size(), 2u);
    EXPECT_EQ(fakes_.userShell.Launches()[0].file,
              std::string("mailto:") + TV_SUPPORT_MAIL + "?Subject=Windows7用户技术支持");
    EXPECT_EQ(fakes_.userShell.Launches()[1].file,
              std::string("http://") + TV_SITE_HOST + "/upgrade/70.html");
    ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
    EXPECT_EQ(fakes_.prompter.Prompts()[0].text, kHardwareRequirementsText);

    // The restore folder: made, then handed to the user's desktop shell.
    fakes_.shell.Clear();
    fakes_.userShell.Clear();
    fakes_.prompter.Clear();
    fakes_.userShell.available = true;
    Press(kHelp, 1080);
    ASSERT_EQ(fakes_.userShell.Launches().size(), 1u);
    EXPECT_EQ(fakes_.userShell.Launches()[0].file, "C:\\ProgramData\\Trimvex 还原文件");
    EXPECT_TRUE(fakes_.files.IsFolder("C:\\ProgramData\\Trimvex 还原文件"));
    EXPECT_TRUE(fakes_.shell.Requests().empty());
    EXPECT_TRUE(fakes_.prompter.Prompts().empty());
}

TEST_F(PagesTest, AdvisorShowsItsReportOnThePage) {
    Win32Drives drives;
    platform_.drives = drives;
    Open();
    ShowSection(kHelp);
    std::string report;
    EXPECT_TRUE(testing::ReportMatchesTheDrives(
        [&] {
            Press(kHelp, 1012);
            return TextOf(GetDlgItem(Page(kHelp), 1067));
        },
        &report))
        << report << " / " << testing::IndependentAdvice();
    std::printf("advisor report: %s\n", report.c_str());
}

struct LinkRow {
    int id;
    int x, y, width, height;
};

void ExpectLinks(HWND page, const std::vector<LinkButton>& links, const std::vector<LinkRow>& rows,
                 FakeUserShell& shell) {
    ASSERT_EQ(links.size(), rows.size());
    for (const LinkRow& row : rows) {
        const LinkButton* link = FindLink(links, row.id);
        ASSERT_NE(link, nullptr) << row.id;
        HWND button = GetDlgItem(page, row.id);
        ASSERT_NE(button, nullptr) << row.id;
        EXPECT_EQ(TextOf(button), link->caption) << row.id;
        EXPECT_NE(GetWindowLongPtrA(button, GWL_STYLE) & WS_TABSTOP, 0) << row.id;
        RECT expected = DialogItemRect(page, row.x, row.y, row.width, row.height);
        RECT actual = ChildRect(page, button);
        EXPECT_EQ(actual.left, expected.left) << row.id;
        EXPECT_EQ(actual.top, expected.top) << row.id;
        EXPECT_EQ(actual.right, expected.right) << row.id;
        EXPECT_EQ(actual.bottom, expected.bottom) << row.id;
        shell.Clear();
        Click(button);
        PumpMessages(2);
        ASSERT_EQ(shell.Launches().size(), 1u) << row.id;
        EXPECT_EQ(shell.Launches()[0].file, LinkAddress(*link)) << row.id;
        EXPECT_EQ(shell.Launches()[0].showCommand, SW_SHOW) << row.id;
    }
}

TEST_F(PagesTest, DriverButtonsOpenTheirAddresses) {
    Open();
    ShowSection(kDrivers);
    HWND page = Page(kDrivers);
    ExpectLinks(page, DriverLinks(),
                {{1012, 133, 44, 77, 23}, {1013, 222, 44, 77, 23}, {1014, 313, 44, 77, 23},
                 {1015, 134, 105, 77, 23}, {1016, 223, 105, 77, 23}, {1017, 313, 103, 77, 23},
                 {1018, 134, 175, 48, 23}, {1019, 190, 175, 48, 23}, {1021, 248, 175, 48, 23},
                 {1022, 303, 175, 48, 23}, {1020, 360, 175, 48, 23}},
                fakes_.userShell);
    // The three addresses that are easy to get wrong, spelled out.
    struct Special {
        int id;
        std::string address;
    } specials[] = {
        {1018, std::string("http://") + TV_DRIVER_HOST + "/drivers/195-78278"},
        {1021, std::string("http://") + TV_ADAPTER_HOST + "/surpport/list.asp?id=807"},
        {1013, std::string("http://") + TV_DRIVER_HOST +
                   "/drivers/257-103094-AMD-Radeon-HD-4870-CATALYST-Control-Center-9.3-For-Vista-Vista-64-Win7-Win7-64"},
    };
    for (const Special& s : specials) {
        fakes_.userShell.Clear();
        Press(kDrivers, s.id);
        ASSERT_EQ(fakes_.userShell.Launches().size(), 1u);
        EXPECT_EQ(fakes_.userShell.Launches()[0].file, s.address);
    }
    // Without a desktop shell nothing starts from this process: the user is
    // told the address.
    fakes_.userShell.available = false;
    fakes_.prompter.Clear();
    Press(kDrivers, 1018);
    EXPECT_TRUE(fakes_.shell.Requests().empty());
    EXPECT_TRUE(fakes_.shell.Launches().empty());
    ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
    EXPECT_EQ(fakes_.prompter.Prompts()[0].text, "无法通过桌面打开，请自行在浏览器中打开以下地址：\n" +
                                                     std::string("http://") + TV_DRIVER_HOST +
                                                     "/drivers/195-78278");
    fakes_.userShell.available = true;
    ExpectLayout(page, {
        {1028, "显卡驱动", 70, 36, 45, 40},
        {1029, "声卡驱动", 70, 99, 45, 40},
        {1030, "网卡驱动", 70, 167, 45, 40},
        {0, "Trimvex (Trimvex测试可以完美兼容 Windows 7 系统的32位驱动  驱动之家下载链接)", 15, 7, 329, 8},
    });
}

TEST_F(PagesTest, SoftwareButtonsOpenTheirAddresses) {
    Open();
    ShowSection(kSoftware);
    HWND page = Page(kSoftware);
    ExpectLinks(page, SoftwareLinks(),
                {{1019, 161, 37, 84, 28}, {1026, 263, 37, 84, 28}, {1025, 362, 37, 84, 28},
                 {1024, 161, 90, 84, 28}, {1027, 263, 90, 84, 28}, {1020, 362, 90, 84, 28},
                 {1016, 161, 142, 84, 28}, {1018, 263, 142, 84, 28}, {1021, 362, 142, 84, 28},
                 {1023, 161, 193, 84, 28}, {1017, 263, 193, 84, 28}, {1022, 362, 193, 84, 28}},
                fakes_.userShell);
    fakes_.userShell.Clear();
    Press(kSoftware, 1023);
    ASSERT_EQ(fakes_.userShell.Launches().size(), 1u);
    EXPECT_EQ(fakes_.userShell.Launches()[0].file,
              std::string("http://") + TV_SITE_HOST + "/setup/285.html");
}

void ExpectWhiteWindowBox(CXPGroupBox& box, int id) {
    EXPECT_EQ(box.Style(), 1) << id;
    EXPECT_EQ(box.CaptionBackground(), RGB(255, 255, 255)) << id;
    EXPECT_EQ(box.ClientBackground(), RGB(255, 255, 255)) << id;
    EXPECT_EQ(GetDlgCtrlID(box.Handle()), id);
}

void ExpectIcon(CSmartButton& button, int id) {
    EXPECT_EQ(GetDlgCtrlID(button.Handle()), id);
    ASSERT_TRUE(button.HasIcon()) << id;
    EXPECT_EQ(button.IconWidth(), 32) << id;
    EXPECT_EQ(button.IconHeight(), 32) << id;
}

TEST_F(PagesTest, SkinnedButtonsIconsAndWhiteGroupBoxes) {
    Open();
    auto& appearance = *static_cast<AppearancePage*>(window_->Page(kAppearance));
    for (int id : {1044, 1043}) ExpectWhiteWindowBox(appearance.Group(id), id);
    for (int id : {1036, 1035}) ExpectIcon(appearance.Button(id), id);
    EXPECT_TRUE(appearance.Button(1037).HasIcon());  // the shared "立即体验" icon

    auto& help = *static_cast<HelpPage*>(window_->Page(kHelp));
    for (int id : {1032, 1033, 1031}) ExpectWhiteWindowBox(help.Group(id), id);
    // Icon 153 of button 1011 is drawn with the system information page.
    for (int id : {1009, 1012, 1034}) ExpectIcon(help.Button(id), id);
    EXPECT_TRUE(help.Button(1009).IsDefault());

    auto& drivers = *static_cast<DriverPage*>(window_->Page(kDrivers));
    for (int id : {1028, 1029, 1030}) ExpectWhiteWindowBox(drivers.Group(id), id);
    for (const LinkButton& link : DriverLinks())
        EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(Page(kDrivers), link.id), GWL_STYLE) & BS_TYPEMASK,
                  BS_OWNERDRAW) << link.id;

    auto& software = *static_cast<SoftwarePage*>(window_->Page(kSoftware));
    for (const LinkButton& link : SoftwareLinks()) {
        CGradientButton* button = software.ButtonFor(link.id);
        ASSERT_NE(button, nullptr) << link.id;
        ExpectIcon(*button, link.id);
    }
    // Every icon and the badge are in the program's resources.
    for (int id : {138, 139, 140, 141, 142, 143, 144, 145, 146, 147, 148, 149, 151, 152, 154, 156,
                   162, 163, 164}) {
        ui::Icon small = ui::LoadIconResource(id, 16, 16);
        EXPECT_TRUE(small) << id;
    }
    ui::Bitmap badge = ui::LoadBitmapResource(181);
    ASSERT_TRUE(badge);
    BITMAP info{};
    GetObjectA(badge.Get(), sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 144);
    EXPECT_EQ(info.bmHeight, 172);
}

TEST_F(PagesTest, Screenshots) {
    Win32Drives drives;
    platform_.drives = drives;
    Open();
    SetWindowPos(window_->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
    auto save = [&](const std::string& name) {
        RedrawWindow(window_->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(100);
        std::string path = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\" + name + ".png";
        EXPECT_TRUE(testing::SaveWindowPng(window_->Handle(), path)) << path;
    };
    ShowSection(kAppearance);
    save("appearance-page");
    ShowSection(kDrivers);
    save("driver-page");
    ShowSection(kSoftware);
    save("software-page");
    ShowSection(kHelp);
    Press(kHelp, 1012);
    save("help-page");
}

}  // namespace
}  // namespace tv
