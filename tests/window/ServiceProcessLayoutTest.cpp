// The services and processes tabs as the user sees them: controls where the
// templates put them, list columns, styles and texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "manage/win32/ProcessPage.h"
#include "manage/win32/ServicePage.h"
#include "tests/support/FakePlatform.h"

namespace tv {
namespace {

struct Column {
    std::string heading;
    int width;
    int format;
};

std::vector<Column> Columns(HWND list) {
    std::vector<Column> columns;
    for (int i = 0;; ++i) {
        char text[128] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = sizeof(text);
        if (!SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(&column)))
            break;
        columns.push_back({text, column.cx, column.fmt & LVCFMT_JUSTIFYMASK});
    }
    return columns;
}

void ExpectColumns(HWND list, const std::vector<Column>& expected) {
    std::vector<Column> actual = Columns(list);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].heading, expected[i].heading) << i;
        EXPECT_EQ(actual[i].width, expected[i].width) << i;
        // The first column of a report list is always left-aligned.
        EXPECT_EQ(actual[i].format, expected[i].format) << i;
    }
}

struct Placement {
    int id;
    int x, y, width, height;
    const char* text;  // null: not checked
};

void ExpectPlacements(HWND page, const std::vector<Placement>& placements) {
    for (const auto& p : placements) {
        HWND control = GetDlgItem(page, p.id);
        ASSERT_NE(control, nullptr) << p.id;
        // Position and size are converted separately, as the system does.
        RECT units{p.x, p.y, p.width, p.height};
        MapDialogRect(page, &units);
        RECT expected{units.left, units.top, units.left + units.right, units.top + units.bottom};
        RECT actual{};
        GetWindowRect(control, &actual);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left) << p.id;
        EXPECT_EQ(actual.top, expected.top) << p.id;
        EXPECT_EQ(actual.right - actual.left, expected.right - expected.left) << p.id;
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom - expected.top) << p.id;
        if (p.text) {
            char text[256] = {};
            GetWindowTextA(control, text, sizeof(text));
            EXPECT_STREQ(text, p.text) << p.id;
        }
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
    HWND list = page.Item(IDC_SERVICE_LIST);
    ExpectPlacements(page.Handle(), {{IDC_SERVICE_LIST, 0, 3, 505, 210, nullptr},
                                     {IDC_SERVICE_DELETE, 61, 233, 52, 14, "删除服务"},
                                     {IDC_SERVICE_REFRESH, 0, 233, 52, 14, "刷新列表"},
                                     {IDC_SERVICE_AUTO, 118, 233, 52, 14, "设为自动"},
                                     {IDC_SERVICE_MANUAL, 175, 233, 52, 14, "设为手动"},
                                     {IDC_SERVICE_DISABLE, 232, 233, 52, 14, "设为禁用"},
                                     {IDC_SERVICE_START, 289, 233, 52, 14, "启动服务"},
                                     {IDC_SERVICE_STOP, 346, 233, 52, 14, "停止服务"}});
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
    ExpectColumns(list, {{"No-PID", 48, LVCFMT_LEFT},
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
                         {"数字签名", 200, LVCFMT_LEFT}});
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x163);
    LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_NOSORTHEADER);
    EXPECT_FALSE(style & LVS_SINGLESEL);
    EXPECT_TRUE(GetWindowLongPtrA(list, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    HIMAGELIST icons = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(icons, nullptr);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(icons, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
}

TEST_F(LayoutTest, ProcessesTab) {
    ProcessPage page(fakes_.Get());
    ASSERT_TRUE(page.CreatePage(host_));
    ExpectPlacements(page.Handle(),
                     {{IDC_PROCESS_LIST, 0, 0, 505, 124, nullptr},
                      {IDC_MODULE_LIST, 0, 159, 505, 87, nullptr},
                      {IDC_PROCESS_HINT, 1, 146, 243, 8,
                       "提示: 【结束进程】操作，请先勾选列表中的复选框后再执行操作"},
                      {IDC_PROCESS_REFRESH, 257, 142, 39, 15, "刷新"},
                      {IDC_PROCESS_END, 306, 142, 59, 15, "结束进程"}});
    HWND processes = page.Item(IDC_PROCESS_LIST);
    HWND modules = page.Item(IDC_MODULE_LIST);
    ExpectColumns(processes, {{"映像名称", 150, LVCFMT_LEFT},
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
                              {"数字签名", 200, LVCFMT_LEFT}});
    ExpectColumns(modules, {{"选中进程对应模块路经", 250, LVCFMT_LEFT},
                            {"发行公司信息", 140, LVCFMT_LEFT},
                            {"文件版本信息", 234, LVCFMT_LEFT},
                            {"安全", 36, LVCFMT_CENTER},
                            {"文件创建时间", 128, LVCFMT_LEFT},
                            {"文件修改时间", 128, LVCFMT_LEFT},
                            {"模块名称", 90, LVCFMT_LEFT},
                            {"文件相关描述", 200, LVCFMT_LEFT},
                            {"大小(字节)", 74, LVCFMT_RIGHT},
                            {"", 0, LVCFMT_LEFT},
                            {"数字签名", 200, LVCFMT_LEFT}});
    EXPECT_EQ(SendMessageA(processes, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x167);
    EXPECT_EQ(SendMessageA(modules, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x161);
    for (HWND list : {processes, modules}) {
        LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
        EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_TRUE(style & LVS_NOSORTHEADER);
        EXPECT_TRUE(GetWindowLongPtrA(list, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    }
    EXPECT_NE(SendMessageA(processes, LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
    EXPECT_EQ(SendMessageA(modules, LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
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
