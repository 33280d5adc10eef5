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

// How one report list of a tab looks: the headings the user reads, in
// order ("" for an unnamed column), and which of them stay hidden (no
// width) or hold figures.
struct ListLook {
    const char* name;
    HWND list;
    std::vector<std::string> headings;
    std::vector<std::string> hidden;
    std::vector<std::string> figures;  // right-aligned, as numbers are
    LRESULT extendedStyle;
    bool smallIcons;
};

bool Holds(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& n : names)
        if (n == name) return true;
    return false;
}

// Every list shows exactly its headings, each shown one whole in the
// header's font; the hidden ones take no room; figures stand right, the
// first column left as a report list's always does, the others left or
// centred. Then the list's styles.
void ExpectLists(const std::vector<ListLook>& looks) {
    for (const ListLook& look : looks) {
        ASSERT_NE(look.list, nullptr) << look.name;
        const std::vector<ListColumn> columns = testing::ListColumns(look.list);
        std::vector<std::string> headings;
        for (const ListColumn& column : columns) headings.push_back(column.heading);
        EXPECT_EQ(headings, look.headings) << look.name;
        EXPECT_EQ(testing::HeadingFaults(look.list), std::vector<std::string>{}) << look.name;
        for (size_t i = 0; i < columns.size(); ++i) {
            const ListColumn& column = columns[i];
            const bool hidden = Holds(look.hidden, column.heading);
            EXPECT_EQ(column.width == 0, hidden) << look.name << " " << i;
            if (hidden) continue;
            if (i == 0 || !Holds(look.figures, column.heading))
                EXPECT_NE(column.format, LVCFMT_RIGHT) << look.name << " " << i;
            else
                EXPECT_EQ(column.format, LVCFMT_RIGHT) << look.name << " " << i;
        }
        EXPECT_EQ(columns.empty() ? 0 : columns[0].format, LVCFMT_LEFT) << look.name;
        EXPECT_EQ(SendMessageA(look.list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), look.extendedStyle)
            << look.name;
        const LONG_PTR style = GetWindowLongPtrA(look.list, GWL_STYLE);
        EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT) << look.name;
        EXPECT_TRUE(style & LVS_NOSORTHEADER) << look.name;
        EXPECT_FALSE(style & LVS_SINGLESEL) << look.name;
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
                  {"No-PID", "服务名称", "显示名称", "状态", "启动类型", "安全", "文件启动命令行-文件路径",
                   "服务描述", "错误类型", "发行公司", "文件版本", "文件描述", "文件路径", "", "数字签名"},
                  {"文件路径", ""},
                  {},
                  0x163,
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
                  {"映像名称", "描述(仅参考可能是伪装)", "PID", "PPID", "安全", "窗体", "文件路径", "优先级",
                   "物理内存", "虚拟内存", "创建该进程的用户", "进程启动时间", "线程数", "", "数字签名"},
                  {""},
                  {"物理内存", "虚拟内存"},
                  0x167,
                  true},
                 {"modules",
                  page.Item(IDC_MODULE_LIST),
                  {"选中进程对应模块路经", "发行公司信息", "文件版本信息", "安全", "文件创建时间", "文件修改时间",
                   "模块名称", "文件相关描述", "大小(字节)", "", "数字签名"},
                  {""},
                  {"大小(字节)"},
                  0x161,
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
