// The services and processes tabs as the user sees them: controls where the
// templates put them, list columns, styles and texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manage/win32/ProcessPage.h"
#include "manage/win32/ServicePage.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/PageLayout.h"

namespace tv {
namespace {

using testing::ListColumn;
using testing::Placement;

// How one report list of a tab looks.
struct ListLook {
    const char* name;
    HWND list;
    std::vector<ListColumn> columns;
    LRESULT extendedStyle;
    bool multipleSelection;
    bool smallIcons;
};

// Every list shows exactly its headings at their widths and alignments,
// each shown heading whole in the header's font, with its styles.
void ExpectLists(const std::vector<ListLook>& looks) {
    for (const ListLook& look : looks) {
        ASSERT_NE(look.list, nullptr) << look.name;
        EXPECT_EQ(testing::ListColumns(look.list), look.columns) << look.name;
        EXPECT_EQ(testing::HeadingFaults(look.list), std::vector<std::string>{}) << look.name;
        EXPECT_EQ(SendMessageA(look.list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), look.extendedStyle)
            << look.name;
        const LONG_PTR style = GetWindowLongPtrA(look.list, GWL_STYLE);
        EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT) << look.name;
        EXPECT_TRUE(style & LVS_NOSORTHEADER) << look.name;
        EXPECT_EQ((style & LVS_SINGLESEL) == 0, look.multipleSelection) << look.name;
        EXPECT_TRUE(GetWindowLongPtrA(look.list, GWL_EXSTYLE) & WS_EX_STATICEDGE) << look.name;
        auto icons = reinterpret_cast<HIMAGELIST>(SendMessageA(look.list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        EXPECT_EQ(icons != nullptr, look.smallIcons) << look.name;
        if (!icons) continue;
        int cx = 0, cy = 0;
        ImageList_GetIconSize(icons, &cx, &cy);
        EXPECT_EQ(cx, 16) << look.name;
        EXPECT_EQ(cy, 16) << look.name;
    }
}

class LayoutTest : public ::testing::Test {
protected:
    LayoutTest() {
        host_ = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 1010, 500, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    }
    ~LayoutTest() override { DestroyWindow(host_); }
    testing::FakePlatform fakes_;
    HWND host_;
};

TEST_F(LayoutTest, ServicesTab) {
    ServicePage page(fakes_.Get());
    ASSERT_TRUE(page.CreatePage(host_));
    EXPECT_EQ(testing::PlacementFaults(page.Handle(), {{IDC_SERVICE_LIST, 0, 3, 505, 210, nullptr},
                                                       {IDC_SERVICE_DELETE, 61, 233, 52, 14, "删除服务"},
                                                       {IDC_SERVICE_REFRESH, 0, 233, 52, 14, "刷新列表"},
                                                       {IDC_SERVICE_AUTO, 118, 233, 52, 14, "设为自动"},
                                                       {IDC_SERVICE_MANUAL, 175, 233, 52, 14, "设为手动"},
                                                       {IDC_SERVICE_DISABLE, 232, 233, 52, 14, "设为禁用"},
                                                       {IDC_SERVICE_START, 289, 233, 52, 14, "启动服务"},
                                                       {IDC_SERVICE_STOP, 346, 233, 52, 14, "停止服务"}}),
              std::vector<std::string>{});
    // Every button stays inside the page and beside the others, at this
    // page's own dialog units (which follow the DPI).
    RECT page_{};
    GetClientRect(page.Handle(), &page_);
    RECT last{};
    GetWindowRect(page.Item(IDC_SERVICE_STOP), &last);
    MapWindowPoints(nullptr, page.Handle(), reinterpret_cast<POINT*>(&last), 2);
    EXPECT_LE(last.right, page_.right);
    for (int id : {IDC_SERVICE_AUTO, IDC_SERVICE_MANUAL, IDC_SERVICE_DISABLE, IDC_SERVICE_START,
                   IDC_SERVICE_STOP}) {
        char name[32] = {};
        GetClassNameA(page.Item(id), name, sizeof(name));
        EXPECT_STREQ(name, "Button") << id;
        // Drawn by the page, as its other push buttons.
        EXPECT_EQ(GetWindowLongPtrA(page.Item(id), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << id;
    }
    ExpectLists({{"services",
                  page.Item(IDC_SERVICE_LIST),
                  {{"No-PID", 48, LVCFMT_LEFT},
                   {"服务名称", 90, LVCFMT_LEFT},
                   {"显示名称", 140, LVCFMT_LEFT},
                   {"状态", 50, LVCFMT_CENTER},
                   {"启动类型", 60, LVCFMT_CENTER},
                   {"安全", 36, LVCFMT_CENTER},
                   {"文件启动命令行-文件路径", 280, LVCFMT_LEFT},
                   {"服务描述", 280, LVCFMT_LEFT},
                   {"错误类型", 76, LVCFMT_CENTER},
                   {"发行公司", 140, LVCFMT_LEFT},
                   {"文件版本", 130, LVCFMT_LEFT},
                   {"文件描述", 200, LVCFMT_LEFT},
                   {"文件路径", 0, LVCFMT_LEFT},
                   {"", 0, LVCFMT_LEFT},
                   {"数字签名", 200, LVCFMT_LEFT}},
                  0x163,
                  true,
                  true}});
}

TEST_F(LayoutTest, ProcessesTab) {
    ProcessPage page(fakes_.Get());
    ASSERT_TRUE(page.CreatePage(host_));
    EXPECT_EQ(testing::PlacementFaults(page.Handle(),
                                       {{IDC_PROCESS_LIST, 0, 0, 505, 124, nullptr},
                                        {IDC_MODULE_LIST, 0, 159, 505, 87, nullptr},
                                        {IDC_PROCESS_HINT, 1, 146, 243, 8,
                                         "提示: 【结束进程】操作，请先勾选列表中的复选框后再执行操作"},
                                        {IDC_PROCESS_REFRESH, 257, 142, 39, 15, "刷新"},
                                        {IDC_PROCESS_END, 306, 142, 59, 15, "结束进程"}}),
              std::vector<std::string>{});
    ExpectLists({{"processes",
                  page.Item(IDC_PROCESS_LIST),
                  {{"映像名称", 150, LVCFMT_LEFT},
                   {"描述(仅参考可能是伪装)", 152, LVCFMT_LEFT},
                   {"PID", 36, LVCFMT_LEFT},
                   {"PPID", 36, LVCFMT_CENTER},
                   {"安全", 36, LVCFMT_CENTER},
                   {"窗体", 36, LVCFMT_CENTER},
                   {"文件路径", 320, LVCFMT_LEFT},
                   {"优先级", 48, LVCFMT_CENTER},
                   {"物理内存", 74, LVCFMT_RIGHT},
                   {"虚拟内存", 74, LVCFMT_RIGHT},
                   {"创建该进程的用户", 140, LVCFMT_CENTER},
                   {"进程启动时间", 128, LVCFMT_CENTER},
                   {"线程数", 48, LVCFMT_CENTER},
                   {"", 0, LVCFMT_LEFT},
                   {"数字签名", 200, LVCFMT_LEFT}},
                  0x167,
                  true,
                  true},
                 {"modules",
                  page.Item(IDC_MODULE_LIST),
                  {{"选中进程对应模块路经", 250, LVCFMT_LEFT},
                   {"发行公司信息", 140, LVCFMT_LEFT},
                   {"文件版本信息", 234, LVCFMT_LEFT},
                   {"安全", 36, LVCFMT_CENTER},
                   {"文件创建时间", 128, LVCFMT_LEFT},
                   {"文件修改时间", 128, LVCFMT_LEFT},
                   {"模块名称", 90, LVCFMT_LEFT},
                   {"文件相关描述", 200, LVCFMT_LEFT},
                   {"大小(字节)", 74, LVCFMT_RIGHT},
                   {"", 0, LVCFMT_LEFT},
                   {"数字签名", 200, LVCFMT_LEFT}},
                  0x161,
                  true,
                  false}});
}
TEST_F(LayoutTest, PrivilegeAndShellSettingAtCreation) {
    ProcessPage processes(fakes_.Get());
    ServicePage services(fakes_.Get());
    ASSERT_TRUE(processes.CreatePage(host_));
    ASSERT_TRUE(services.CreatePage(host_));
    // The privilege is there for the test program: no message.
    EXPECT_TRUE(fakes_.prompter.Prompts().empty());
    RegKey key = RegKey::Open(fakes_.registry, kHkeyLocalMachine,
                              "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", kKeyRead);
    std::uint32_t value = 0;
    ASSERT_TRUE(key.ReadDword("AutoRestartShell", &value));
    EXPECT_EQ(value, 1u);
    // Lists stay empty until the first refresh.
    EXPECT_EQ(processes.ProcessList().ItemCount(), 0);
    EXPECT_EQ(services.List().ItemCount(), 0);
}

}  // namespace
}  // namespace tv
