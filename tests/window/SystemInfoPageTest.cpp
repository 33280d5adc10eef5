// The system information page in the real main window: its labels, its
// owner-drawn hardware list and what the list paints, over a described
// machine and over the real one.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <memory>
#include <string>

#include "app/win32/MainWindow.h"
#include "platform/ui/Gathering.h"
#include "platform/win32/BackgroundThreads.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemProbe.h"
#include "platform/win32/Win32Wmi.h"
#include "sysinfo/win32/SystemInfoPage.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

using testing::PumpMessages;
using testing::PumpMessagesUntil;

constexpr std::uint32_t Pixel(int r, int g, int b) {
    return static_cast<std::uint32_t>(r << 16 | g << 8 | b);
}

class SystemInfoPageTest : public ::testing::Test {
protected:
    SystemInfoPageTest() {
        fakes_.system.computerName = "X";
        fakes_.system.userName = "admin";
        fakes_.system.tickCount64 = 5430000;
        fakes_.wmi.classes["Win32_Processor"] = {
            {{"Name", WmiValue::String("  Intel(R) Core(TM)2 Duo CPU E8400 @ 3.00GHz")},
             {"CurrentClockSpeed", WmiValue::Int32(2992)}}};
        fakes_.wmi.classes["Win32_VideoController"] = {
            {{"Caption", WmiValue::String("Secondary NVIDIA GeForce 9600 GT (Microsoft Corporation - WDDM)")},
             {"AdapterRAM", WmiValue::Int32(256 << 20)}}};
        fakes_.wmi.classes["Win32_DiskDrive"] = {{{"Caption", WmiValue::String("ST3500418AS")}}};
        FakeDrives::Drive c;
        c.space = {1ull << 30, 100ull << 30, 1ull << 30};
        fakes_.drives.Set("C:\\", c);
        c.space.total = 50ull << 30;
        fakes_.drives.Set("D:\\", c);
        RegKey cdrom = RegKey::Create(fakes_.registry, kHkeyLocalMachine,
                                      "SYSTEM\\CurrentControlSet\\Services\\Cdrom\\Enum");
        cdrom.SetDword("Count", 2);
        cdrom.SetString("0", "IDE\\CdRomA\\1");
        cdrom.SetString("1", "IDE\\CdRomB\\2");
        RegKey::Create(fakes_.registry, kHkeyLocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\IDE\\CdRomA\\1")
            .SetString("FriendlyName", "HL-DT-ST DVDRAM GH22NS50");
    }
    void Open(const Platform& platform) {
        window_ = std::make_unique<MainWindow>(platform);
        ASSERT_TRUE(window_->Create(nullptr));
        // The pages gather off this thread; wait until they are filled.
        ASSERT_TRUE(PumpMessagesUntil([&] { return window_->PagesFilled(); }));
        page_ = dynamic_cast<SystemInfoPage*>(window_->Page(1));
        ASSERT_NE(page_, nullptr);
        PumpMessages(30);
    }
    void TearDown() override { window_.reset(); }

    std::string Label(int id) const {
        char text[512] = {};
        GetDlgItemTextA(page_->Handle(), id, text, sizeof(text));
        return text;
    }
    const SkinnedListCtrl& List() const { return page_->List(); }
    RECT RowRect(int row) const {
        RECT rect{};
        rect.left = LVIR_BOUNDS;
        List().Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    UINT RowState(int row) const {
        return static_cast<UINT>(List().Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                             LVIS_SELECTED | LVIS_FOCUSED));
    }
    void BringUp() {
        SetWindowPos(window_->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
        RedrawWindow(window_->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(100);
    }
    void SaveScreenshot(const std::string& name) {
        CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
        std::string path = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\" + name + ".png";
        EXPECT_TRUE(testing::SaveWindowPng(window_->Handle(), path)) << path;
    }

    testing::FakePlatform fakes_;
    std::unique_ptr<MainWindow> window_;
    SystemInfoPage* page_ = nullptr;
};

TEST_F(SystemInfoPageTest, LabelsShowTheJoinedFacts) {
    Open(fakes_.Get());
    EXPECT_EQ(Label(IDC_COMPUTER_NAME_LABEL), "X  [正常模式登录]");
    EXPECT_EQ(Label(IDC_USER_NAME_LABEL), "admin   [Admin 管理权限]");
    EXPECT_EQ(Label(IDC_OS_NAME_LABEL), "Windows 7 [Build 7601]");
    EXPECT_EQ(Label(IDC_SERVICE_PACK_LABEL), "Service Pack 1");
    EXPECT_EQ(Label(IDC_UPTIME_LABEL), "1 小时 30 分钟");
}

TEST_F(SystemInfoPageTest, RowsShowTheHardware) {
    Open(fakes_.Get());
    ASSERT_EQ(List().ItemCount(), 6);
    const char* names[] = {"CPU", "内存", "显卡", "声卡", "硬盘", "光驱"};
    const std::string texts[] = {
        "Intel(R) Core(TM)2 Duo CPU E8400 @ 3.00GHz  2992 MHz",
        "物理 2049 MB ",
        " NVIDIA GeForce 9600 GT (WDDM)   256 MB",
        "没有发现声音设备",
        "ST3500418AS  总容量 150 GB",
        "HL-DT-ST DVDRAM GH22NS50\nIDE\\CdRomB\\2\n",
    };
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(List().ItemText(row, 0), names[row]) << row;
        EXPECT_EQ(List().ItemText(row, 1), texts[row]) << row;
    }
}

TEST_F(SystemInfoPageTest, WithoutWmiRowsZeroAndTwoStayEmpty) {
    fakes_.wmi.available = false;
    Open(fakes_.Get());
    EXPECT_EQ(List().ItemText(0, 1), "");
    EXPECT_EQ(List().ItemText(2, 1), "");
    EXPECT_EQ(List().ItemText(4, 1), "  总容量 150 GB");
}

TEST_F(SystemInfoPageTest, ListIsSetUpAsAnOwnerDrawnReport) {
    Open(fakes_.Get());
    HWND list = List().Handle();
    EXPECT_EQ(GetDlgCtrlID(list), 1068);
    const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_NE(style & LVS_OWNERDRAWFIXED, 0);
    EXPECT_NE(style & LVS_SHOWSELALWAYS, 0);
    EXPECT_NE(style & LVS_NOCOLUMNHEADER, 0);
    EXPECT_NE(style & WS_TABSTOP, 0);
    EXPECT_EQ(List().Send(LVM_GETEXTENDEDLISTVIEWSTYLE), 0x120);
    EXPECT_EQ(static_cast<COLORREF>(List().Send(LVM_GETBKCOLOR)), RGB(255, 255, 255));
    const int widths[] = {55, 560};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNA info{};
        info.mask = LVCF_WIDTH | LVCF_FMT;
        ASSERT_TRUE(List().Send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)));
        EXPECT_EQ(info.cx, widths[column]);
        EXPECT_EQ(info.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_CENTER);
    }
    EXPECT_EQ(List().RowHeight(), 50);
    EXPECT_EQ(List().TextColour(), RGB(0, 0, 0));
    EXPECT_EQ(List().FontHeight(), 12);
    EXPECT_EQ(List().FontWidth(), 0);
    // Every row 50 pixels high, one under the other.
    for (int row = 0; row < 6; ++row) {
        RECT r = RowRect(row);
        EXPECT_EQ(r.bottom - r.top, 50) << row;
        if (row > 0) {
            EXPECT_EQ(r.top, RowRect(row - 1).bottom) << row;
        }
    }
}

TEST_F(SystemInfoPageTest, FirstRowIsSelectedAndFocused) {
    Open(fakes_.Get());
    EXPECT_EQ(RowState(0), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    for (int row = 1; row < 6; ++row) EXPECT_EQ(RowState(row), 0u) << row;
    EXPECT_EQ(List().Send(LVM_GETSELECTIONMARK), 0);
    EXPECT_EQ(List().SelectedItem(), 0);
}

TEST_F(SystemInfoPageTest, SelectedRowIsLavenderAndOthersHaveASeparator) {
    Open(fakes_.Get());
    BringUp();
    HWND list = List().Handle();
    RECT client{};
    GetClientRect(list, &client);
    // Screen pixels of the list's client area.
    POINT origin{0, 0};
    ClientToScreen(list, &origin);
    RECT window{};
    GetWindowRect(list, &window);
    const int dx = origin.x - window.left, dy = origin.y - window.top;
    const int width = window.right - window.left, height = window.bottom - window.top;
    const auto pixels = testing::ScreenPixels(list, width, height);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(width) * height);
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y + dy) * width + x + dx]; };

    const RECT row0 = RowRect(0);
    const RECT row1 = RowRect(1);
    ASSERT_LT(row1.bottom, client.bottom);
    // Inside the selected row, right of any text: the gradient, pale at the
    // top and deeper at the bottom.
    const std::uint32_t top = at(row0.right - 8, row0.top + 3);
    const std::uint32_t bottom = at(row0.right - 8, row0.bottom - 4);
    EXPECT_NE(top, Pixel(255, 255, 255));
    EXPECT_GT(top & 0xFF00, bottom & 0xFF00) << std::hex << top << " " << bottom;  // green falls
    EXPECT_GE((top >> 16) & 0xFF, 236u);
    EXPECT_NE(at(row0.right - 8, row0.top), Pixel(234, 235, 234));  // no separator
    // The unselected row: a grey line along its top up to x = 554, white
    // after it and below it.
    EXPECT_EQ(at(300, row1.top), Pixel(234, 235, 234));
    EXPECT_EQ(at(554, row1.top), Pixel(234, 235, 234));
    EXPECT_EQ(at(558, row1.top), Pixel(255, 255, 255));
    EXPECT_EQ(at(600, row1.top + 3), Pixel(255, 255, 255));
    // Row names in solid black strokes in the Song face, centred: "内存" in
    // the middle band of row 1, nothing in its top and bottom quarters.
    auto darkPixels = [&](int x0, int x1, int y0, int y1) {
        int dark = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) dark += (at(x, y) & 0xFF) < 0x60 ? 1 : 0;
        return dark;
    };
    EXPECT_GT(darkPixels(row1.left, row1.left + 55, row1.top + 12, row1.bottom - 12), 30);
    EXPECT_EQ(darkPixels(row1.left, row1.left + 55, row1.top + 1, row1.top + 12), 0);
    EXPECT_EQ(darkPixels(row1.left, row1.left + 55, row1.bottom - 10, row1.bottom), 0);
}

// The window closes while a management query hangs, deaf to stop requests:
// the close waits once, at most its deadline, and the query, when it
// returns at last, starts no other and touches nothing that has gone.
TEST_F(SystemInfoPageTest, ClosingWhileAQueryHangsWaitsOneDeadline) {
    std::atomic<bool> release{false};
    std::atomic<int> started{0};
    fakes_.wmi.beforeQuery = [&] {
        ++started;
        while (!release) Sleep(1);
    };
    window_ = std::make_unique<MainWindow>(fakes_.Get());
    ASSERT_TRUE(window_->Create(nullptr));
    ASSERT_TRUE(PumpMessagesUntil([&] { return started > 0; }));
    EXPECT_FALSE(window_->PagesFilled());
    EXPECT_EQ(GetPropA(window_->Handle(), ui::kPagesFilledProperty), nullptr);
    const DWORD begin = GetTickCount();
    window_.reset();
    EXPECT_LT(GetTickCount() - begin, 2500u);
    release = true;
    EXPECT_TRUE(EndBackgroundThreads(2000));
    EXPECT_EQ(started, 1);
    EXPECT_EQ(fakes_.registry.OpenHandleCount(), 0u);
}

// Gathered before the page's window exists: the page takes nothing until
// its window is made, then shows whatever came, whenever it came.
TEST_F(SystemInfoPageTest, DataGatheredAheadReachesThePageMadeLater) {
    for (bool madeBeforeTheQueriesEnd : {false, true}) {
        SCOPED_TRACE(madeBeforeTheQueriesEnd ? "made while the queries run" : "made after");
        std::atomic<bool> release{!madeBeforeTheQueriesEnd};
        std::atomic<int> started{0};
        fakes_.wmi.beforeQuery = [&] {
            ++started;
            const DWORD begin = GetTickCount();
            while (!release && GetTickCount() - begin < 10000) Sleep(1);
        };
        SystemInfoPage page(fakes_.Get());
        page.GatherAhead();
        ASSERT_TRUE(PumpMessagesUntil([&] { return started > 0; }));
        if (!madeBeforeTheQueriesEnd) {
            ASSERT_TRUE(PumpMessagesUntil([&] { return started == 3; }));
        }
        // As the main window does on each hand-off.
        page.TakeGathered();
        EXPECT_FALSE(page.Filled());
        HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 200,
                                      nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        ASSERT_TRUE(page.CreatePage(parent));
        release = true;
        EXPECT_TRUE(PumpMessagesUntil([&] {
            page.TakeGathered();
            return page.Filled();
        }));
        char text[128] = {};
        GetDlgItemTextA(page.Handle(), IDC_USER_NAME_LABEL, text, sizeof(text));
        EXPECT_STREQ(text, "admin   [Admin 管理权限]");
        EXPECT_EQ(page.List().ItemText(0, 1), "Intel(R) Core(TM)2 Duo CPU E8400 @ 3.00GHz  2992 MHz");
        page.DestroyWindow();
        DestroyWindow(parent);
    }
}

// A page that gathered ahead but was never made leaves no thread behind:
// each ends with its work.
TEST_F(SystemInfoPageTest, PageGatheredAheadButNeverMadeEndsPromptly) {
    std::atomic<int> runs{0};
    fakes_.wmi.beforeQuery = [&] { ++runs; };
    {
        SystemInfoPage page(fakes_.Get());
        page.GatherAhead();
        ASSERT_TRUE(PumpMessagesUntil([&] { return runs >= 3; }));
        EXPECT_TRUE(EndBackgroundThreads(500));
    }
    EXPECT_EQ(fakes_.registry.OpenHandleCount(), 0u);
}

TEST_F(SystemInfoPageTest, RealMachineScreenshot) {
    // Facts, management queries, drives and registry from the real platform;
    // clock, shell and the rest keep their fakes.
    Win32SystemProbe probe;
    Win32Wmi wmi;
    Win32Drives drives;
    Win32Registry registry;
    Platform platform = fakes_.Get();
    platform.system = probe;
    platform.wmi = wmi;
    platform.drives = drives;
    platform.registry = registry;
    Open(platform);

    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(computer);
    ASSERT_TRUE(GetComputerNameA(computer, &size));
    EXPECT_EQ(Label(IDC_COMPUTER_NAME_LABEL), std::string(computer) + "  [正常模式登录]");
    char user[257] = {};
    size = sizeof(user);
    ASSERT_TRUE(GetUserNameA(user, &size));
    EXPECT_EQ(Label(IDC_USER_NAME_LABEL), std::string(user) + "   [Admin 管理权限]");
    EXPECT_EQ(Label(IDC_OS_NAME_LABEL).rfind("Windows ", 0), 0u) << Label(IDC_OS_NAME_LABEL);
    EXPECT_EQ(Label(IDC_SERVICE_PACK_LABEL).rfind("Service Pack ", 0), 0u);
    const std::string cpu = List().ItemText(0, 1);
    EXPECT_GT(cpu.size(), 6u);
    EXPECT_EQ(cpu.substr(cpu.size() - 4), " MHz") << cpu;
    EXPECT_EQ(List().ItemText(1, 1).rfind("物理 ", 0), 0u);
    const std::string video = List().ItemText(2, 1);
    EXPECT_EQ(video.substr(video.size() - 3), " MB") << video;
    EXPECT_NE(List().ItemText(4, 1).find("  总容量 "), std::string::npos);

    BringUp();
    SaveScreenshot("system-info-real");
}

}  // namespace
}  // namespace tv
