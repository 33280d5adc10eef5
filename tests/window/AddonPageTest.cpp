// The add-ons tab in the real window, over the add-on fixture loaded into
// the in-memory registry: the list as the user sees it, and what ticking
// rows and pressing "删除" does.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "manage/win32/AddonPage.h"
#include "tests/support/RegFile.h"
#include "platform/ui/Gdi.h"
#include "platform/win32/Win32TextCodec.h"
#include "tests/contract/RegistryDump.h"
#include "tests/support/AddonTexts.h"
#include "tests/support/ManagementTabTest.h"
#include "tests/support/PageLayout.h"

namespace tv {
namespace {

using namespace testing;  // the expected add-on texts

using testing::Click;
using testing::PumpMessages;

std::string ReadFixture(const char* name) {
    std::ifstream in(testing::ProgramDirectory() + "fixtures\\" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The rows the fixture registers, top row first.
std::vector<AddonRow> FixtureRows() {
    return {
        {"{7F3A0004-5E1D-4C2B-9A10-000000000001}", "Trimvex 按钮", kExtensionType,
         "C:\\Trimvex\\button.exe", 2},
        {"{7F3A0003-5E1D-4C2B-9A10-000000000001}", "Trimvex Helper", kHelperType,
         "C:\\Trimvex\\helper.dll", 1},
        {"{7F3A0003-5E1D-4C2B-9A10-000000000002}", "卡卡上网安全助手", kHelperType,
         "C:\\Trimvex\\kaka.dll", 1},
        {"{7F3A0002-5E1D-4C2B-9A10-000000000001}", "Trimvex 搜索钩子", kHookType,
         "C:\\Trimvex\\hook.dll", 0},
        {"{7F3A0001-5E1D-4C2B-9A10-000000000001}", "Trimvex 测试工具条", kToolbarType,
         "C:\\Program Files\\Trimvex Test\\toolbar.dll", 0},
        {"{7F3A0001-5E1D-4C2B-9A10-000000000002}", "flashget bar", kToolbarType,
         "C:\\Trimvex\\flashget.dll", 0},
    };
}

class AddonPageTest : public testing::ManagementTabTest<AddonPage, 4> {
protected:
    void SetUp() override {
        RegFileError error;
        ASSERT_TRUE(ImportRegFile(fakes_.registry, ReadFixture("addons.reg"), Win32TextCodec(), &error))
            << error.line << ": " << error.message;
        Open();
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const AddonRow& row : Page().Rows()) names.push_back(row.name.Shown());
        return names;
    }
};

// The headings the user reads over the rows.
const std::vector<std::string> kHeadings = {"CLSID", "插件名称", "类型 (如果不需要,建议删除)", "对应文件路径",
                                            "数字签名"};

// Each heading shown whole in the header's font, none right-aligned: the
// list holds names and paths, no figures.
TEST_F(AddonPageTest, ListHasItsColumnsStyleAndButtons) {
    HWND list = Page().List().Handle();
    std::vector<std::string> headings;
    for (const testing::ListColumn& column : testing::ListColumns(list)) {
        headings.push_back(column.heading);
        EXPECT_GT(column.width, 0) << column;
        EXPECT_NE(column.format, LVCFMT_RIGHT) << column;
    }
    EXPECT_EQ(headings, kHeadings);
    EXPECT_EQ(testing::HeadingFaults(list), std::vector<std::string>{});
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x165);
    LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_NOSORTHEADER);
    EXPECT_TRUE(GetWindowLongPtrA(list, GWL_EXSTYLE) & WS_EX_STATICEDGE);
}

// Every control where the template puts it, with its text, the two
// switches right of the delete button at its size; no control covers
// another or leaves the page.
TEST_F(AddonPageTest, ControlsStandWhereTheTemplatePutsThemAndCoverNoOther) {
    EXPECT_EQ(testing::PlacementFaults(Page().Handle(), {{1060, 0, 2, 505, 208, nullptr},
                                                         {1065, 0, 232, 64, 15, "刷新"},
                                                         {1012, 74, 232, 64, 15, "删除"},
                                                         {1066, 148, 232, 64, 15, "禁用"},
                                                         {1067, 222, 232, 64, 15, "启用"}}),
              std::vector<std::string>{});
    EXPECT_EQ(testing::LayoutFaults(Page().Handle()), std::vector<std::string>{});
}

TEST_F(AddonPageTest, SmallImagesAreTheAddonIconFourTimes) {
    HWND list = Page().List().Handle();
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_EQ(images, Page().Icons());
    int width = 0, height = 0;
    ASSERT_TRUE(ImageList_GetIconSize(images, &width, &height));
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    ASSERT_EQ(ImageList_GetImageCount(images), 4);
    // Each of the four draws the add-on icon itself.
    auto drawn = [&](int index) {
        HDC screen = GetDC(nullptr);
        ui::Bitmap canvas(CreateCompatibleBitmap(screen, 16, 16));
        ReleaseDC(nullptr, screen);
        {
            ui::MemoryDc memory(nullptr);
            ui::SelectObjectGuard select(memory.Get(), canvas.Get());
            RECT all{0, 0, 16, 16};
            FillRect(memory.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            ImageList_Draw(images, index, memory.Get(), 0, 0, ILD_NORMAL);
        }
        return testing::BitmapPixels(canvas.Get());
    };
    const std::vector<std::uint32_t> first = drawn(0);
    ASSERT_FALSE(first.empty());
    EXPECT_NE(std::count(first.begin(), first.end(), first[0]), static_cast<long>(first.size()));
    for (int index = 1; index < 4; ++index) EXPECT_EQ(drawn(index), first) << index;
}

TEST_F(AddonPageTest, ButtonsAreGradientButtonsWithTheirIcons) {
    for (int id : {IDC_ADDON_REFRESH, IDC_ADDON_DELETE, IDC_ADDON_DISABLE, IDC_ADDON_ENABLE}) {
        auto* button = dynamic_cast<CGradientButton*>(ui::Window::FromHandle(GetDlgItem(Page().Handle(), id)));
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(GetWindowLongPtrA(button->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << id;
        EXPECT_TRUE(button->HasIcon()) << id;
    }
}

TEST_F(AddonPageTest, EmptyUntilTheTabIsSelectedThenListsEverySourceInOrder) {
    EXPECT_EQ(Page().List().ItemCount(), 0);
    ClickTab(4);
    EXPECT_EQ(Page().Rows(), FixtureRows());
    for (int i = 0; i < Page().List().ItemCount(); ++i) EXPECT_FALSE(Page().IsTicked(i)) << i;
    // Each row's texts stand under the heading that names them.
    const std::vector<testing::ListColumn> columns = testing::ListColumns(Page().List().Handle());
    auto under = [&](int row, const std::string& heading) {
        for (size_t c = 0; c < columns.size(); ++c)
            if (columns[c].heading == heading) return Page().List().ItemText(row, static_cast<int>(c));
        return std::string("no column ") + heading;
    };
    const std::vector<AddonRow> rows = FixtureRows();
    for (size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r);
        EXPECT_EQ(under(row, "CLSID"), rows[r].name.Shown()) << r;
        EXPECT_EQ(under(row, "插件名称"), rows[r].displayName) << r;
        EXPECT_EQ(under(row, "类型 (如果不需要,建议删除)"), rows[r].typeText) << r;
        EXPECT_EQ(under(row, "对应文件路径"), rows[r].file) << r;
    }
}

TEST_F(AddonPageTest, RefreshRebuildsTheListFromTheRegistry) {
    ClickTab(4);
    RegKey::Open(fakes_.registry, kHkeyLocalMachine, kToolbarKey, kKeyAllAccess)
        .DeleteValue("{7F3A0001-5E1D-4C2B-9A10-000000000001}");
    Page().SetTicked(0, true);
    Press(1065);
    std::vector<AddonRow> expected = FixtureRows();
    expected.erase(expected.begin() + 4);
    EXPECT_EQ(Page().Rows(), expected);
    EXPECT_FALSE(Page().IsTicked(0));
    EXPECT_TRUE(fakes_.shell.Processes().empty());
}

TEST_F(AddonPageTest, DeleteRemovesTheUnprotectedTickedRowsAndRefusesTheOthers) {
    ClickTab(4);
    auto machine = tvtest::DumpTree(fakes_.registry, kHkeyLocalMachine, "SOFTWARE");
    auto user = tvtest::DumpTree(fakes_.registry, kHkeyCurrentUser, "Software");
    // Tick everything: two are protected.
    for (int i = 0; i < Page().List().ItemCount(); ++i) Page().SetTicked(i, true);
    Press(1012);

    const auto& prompts = fakes_.prompter.Prompts();
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0].text,
              "瑞星卡卡安全助手,属于安全插件已经取消了卸载操作,如果要删除请在[软件卸载]中删除");
    EXPECT_EQ(prompts[1].text, "FlashGet 网际快车下载工具,属于必须插件已经取消了卸载操作");
    for (const Prompt& prompt : prompts) {
        EXPECT_EQ(prompt.caption, "");
        EXPECT_EQ(prompt.type, kMbOk | kMbIconExclamation);
    }

    // Only the class file in a folder only administrators write is
    // unregistered, the tool started by its full path; the extension names
    // no class.
    EXPECT_TRUE(fakes_.shell.Commands().empty());
    ASSERT_EQ(fakes_.shell.Processes().size(), 1u);
    EXPECT_EQ(fakes_.shell.Processes()[0].application, "C:\\Windows\\system32\\regsvr32.exe");
    EXPECT_EQ(fakes_.shell.Processes()[0].commandLine,
              "\"C:\\Windows\\system32\\regsvr32.exe\" /u /s \"C:\\Program Files\\Trimvex Test\\toolbar.dll\"");
    EXPECT_EQ(fakes_.shell.Processes()[0].showCommand, SW_HIDE);

    // Rescanned: the protected rows are still there, unticked.
    EXPECT_EQ(Names(), (std::vector<std::string>{"{7F3A0003-5E1D-4C2B-9A10-000000000002}",
                                                 "{7F3A0001-5E1D-4C2B-9A10-000000000002}"}));
    for (int i = 0; i < Page().List().ItemCount(); ++i) EXPECT_FALSE(Page().IsTicked(i));

    // Exactly the four registrations went; class keys and everything else
    // stay.
    auto gone = [](const std::string& line) {
        for (const char* entry :
             {"Toolbar] {7F3A0001-5E1D-4C2B-9A10-000000000001}",
              "URLSearchHooks] {7F3A0002-5E1D-4C2B-9A10-000000000001}",
              "Browser Helper Objects\\{7F3A0003-5E1D-4C2B-9A10-000000000001}]",
              "Extensions\\{7F3A0004-5E1D-4C2B-9A10-000000000001}]"})
            if (line.find(entry) != std::string::npos) return true;
        return false;
    };
    std::vector<std::string> machineLeft, userLeft;
    for (const auto& line : machine)
        if (!gone(line)) machineLeft.push_back(line);
    for (const auto& line : user)
        if (!gone(line)) userLeft.push_back(line);
    // The toolbar value; each key with its values (1 and 3).
    EXPECT_EQ(machine.size() - machineLeft.size(), 7u);
    EXPECT_EQ(user.size() - userLeft.size(), 1u);
    EXPECT_EQ(tvtest::DumpTree(fakes_.registry, kHkeyLocalMachine, "SOFTWARE"), machineLeft);
    EXPECT_EQ(tvtest::DumpTree(fakes_.registry, kHkeyCurrentUser, "Software"), userLeft);
}

// "禁用" switches the ticked rows off in the user's own setting (the
// protected one refused), the rescan marks them, "启用" switches back; the
// registrations never change.
TEST_F(AddonPageTest, DisableAndEnableSwitchTheTickedRowsAndTheListMarksThem) {
    const char kSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\";
    const std::string helper = "{7F3A0003-5E1D-4C2B-9A10-000000000001}";
    const std::string flashget = "{7F3A0001-5E1D-4C2B-9A10-000000000002}";
    RegKey::Create(fakes_.registry, kHkeyCurrentUser, kSettings + helper).SetDword("Flags", 0x400);
    ClickTab(4);
    auto machine = tvtest::DumpTree(fakes_.registry, kHkeyLocalMachine, "SOFTWARE");
    Page().SetTicked(1, true);  // the helper
    Page().SetTicked(5, true);  // flashget bar: protected
    Press(1066);

    ASSERT_EQ(fakes_.prompter.Prompts().size(), 1u);
    EXPECT_EQ(fakes_.prompter.Prompts()[0].text, "flashget bar,属于必须插件,已经取消了禁用操作");
    std::uint32_t flags = 0;
    EXPECT_TRUE(RegKey::Open(fakes_.registry, kHkeyCurrentUser, kSettings + helper, kKeyRead).ReadDword("Flags", &flags));
    EXPECT_EQ(flags, 0x401u);
    EXPECT_FALSE(RegKey::Open(fakes_.registry, kHkeyCurrentUser, kSettings + flashget, kKeyRead));
    EXPECT_EQ(tvtest::DumpTree(fakes_.registry, kHkeyLocalMachine, "SOFTWARE"), machine);

    // Listed as before, the switched-off row marked in its name cell; the
    // row read back is the registry's.
    std::vector<AddonRow> expected = FixtureRows();
    expected[1].disabled = true;
    EXPECT_EQ(Page().Rows(), expected);
    EXPECT_EQ(Page().List().ItemText(1, 1), "[已禁用] Trimvex Helper");
    EXPECT_EQ(Page().List().ItemText(2, 1), "卡卡上网安全助手");
    for (int i = 0; i < Page().List().ItemCount(); ++i) EXPECT_FALSE(Page().IsTicked(i)) << i;

    fakes_.prompter.Clear();
    Page().SetTicked(1, true);
    Press(1067);
    EXPECT_TRUE(fakes_.prompter.Prompts().empty());
    EXPECT_TRUE(RegKey::Open(fakes_.registry, kHkeyCurrentUser, kSettings + helper, kKeyRead).ReadDword("Flags", &flags));
    EXPECT_EQ(flags, 0x400u);
    EXPECT_EQ(Page().Rows(), FixtureRows());
    EXPECT_EQ(Page().List().ItemText(1, 1), "Trimvex Helper");
    EXPECT_EQ(tvtest::DumpTree(fakes_.registry, kHkeyLocalMachine, "SOFTWARE"), machine);
}

// Ticked rows the search has taken out of view are not removed.
TEST_F(AddonPageTest, DeleteReachesOnlyTickedRowsInView) {
    ClickTab(4);
    const int all = Page().List().ItemCount();
    ASSERT_EQ(all, 6);
    for (int i = 0; i < all; ++i) Page().SetTicked(i, true);
    // Double-byte search text: the search hook's name and type text.
    SetWindowTextA(GetDlgItem(Page().Handle(), IDC_LIST_SEARCH), "搜索钩子");
    PumpMessages(5);
    ASSERT_EQ(Page().List().ItemCount(), 1);
    EXPECT_EQ(Page().Rows()[0].name.Shown(), "{7F3A0002-5E1D-4C2B-9A10-000000000001}");
    EXPECT_TRUE(Page().IsTicked(0));
    Press(IDC_ADDON_DELETE);
    // The five ticked rows out of view stay registered; no message came.
    EXPECT_TRUE(fakes_.prompter.Prompts().empty());
    SetWindowTextA(GetDlgItem(Page().Handle(), IDC_LIST_SEARCH), "");
    PumpMessages(5);
    EXPECT_EQ(Names(), (std::vector<std::string>{"{7F3A0004-5E1D-4C2B-9A10-000000000001}",
                                                 "{7F3A0003-5E1D-4C2B-9A10-000000000001}",
                                                 "{7F3A0003-5E1D-4C2B-9A10-000000000002}",
                                                 "{7F3A0001-5E1D-4C2B-9A10-000000000001}",
                                                 "{7F3A0001-5E1D-4C2B-9A10-000000000002}"}));
}

TEST_F(AddonPageTest, NothingTickedNothingDone) {
    ClickTab(4);
    auto machine = tvtest::DumpTree(fakes_.registry, kHkeyLocalMachine, "SOFTWARE");
    auto user = tvtest::DumpTree(fakes_.registry, kHkeyCurrentUser, "Software");
    Press(1012);
    Press(1066);
    Press(1067);
    EXPECT_EQ(tvtest::DumpTree(fakes_.registry, kHkeyCurrentUser, "Software"), user);
    EXPECT_TRUE(fakes_.prompter.Prompts().empty());
    EXPECT_TRUE(fakes_.shell.Processes().empty());
    EXPECT_EQ(tvtest::DumpTree(fakes_.registry, kHkeyLocalMachine, "SOFTWARE"), machine);
    EXPECT_EQ(Page().Rows(), FixtureRows());
}

TEST_F(AddonPageTest, Screenshot) {
    ClickTab(4);
    Page().SetTicked(1, true);
    HWND main = window_->Handle();
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages(100);
    std::string path = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\addons-fixture.png";
    EXPECT_TRUE(testing::SaveWindowPng(main, path)) << path;
}

}  // namespace
}  // namespace tv
