// The startup tab of the real main window over the real registry and files
// of the test prefix: a fixture fills several autostart locations and both
// startup folders, the list must show exactly its rows, and removal must
// change exactly the entry of the selected row.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/MainWindow.h"
#include "app/win32/ManagementContainer.h"
#include "manage/StartupRemoval.h"
#include "manage/StartupScan.h"
#include "manage/win32/StartupPage.h"
#include "platform/CodePageText.h"
#include "platform/Platform.h"
#include "tests/support/RegFile.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Prompter.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32TextCodec.h"
#include "platform/win32/Win32Tokens.h"
#include "platform/win32/Win32VersionResources.h"
#include "platform/ui/MessageBox.h"
#include "platform/win32/BackgroundThreads.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/Shortcut.h"
#include "tests/window/StartupFixture.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

class StartupPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The other pages get fakes; the startup tab works on the real system.
        fakes_.clock.SetToday({2009, 10, 25});
        platform_ = fakes_.Get();
        platform_.registry = registry_;
        platform_.files = files_;
        platform_.drives = drives_;
        platform_.environment = environment_;
        platform_.prompter = prompter_;
        platform_.links = links_;
        platform_.versions = versions_;
        platform_.tokens = tokens_;
    }
    void TearDown() override { window_.reset(); }
    void Open() {
        window_ = std::make_unique<MainWindow>(platform_);
        ASSERT_TRUE(window_->Create(nullptr));
        // The pages gather off this thread; wait until they are filled.
        ASSERT_TRUE(testing::PumpMessagesUntil([&] { return window_->PagesFilled(); }));
        SetWindowPos(window_->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
        testing::Click(window_->SectionButton(4).Handle());
        testing::PumpMessages(30);
    }
    StartupPage& Page() const {
        auto* container = static_cast<ManagementContainer*>(window_->Page(4));
        return *static_cast<StartupPage*>(container->Page(1));
    }
    // Every row as "column 0 | column 1 | ... | column 4".
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        const ui::ListView& list = Page().List();
        for (int r = 0; r < list.ItemCount(); ++r) {
            std::string row = list.ItemText(r, 0);
            for (int c = 1; c < 5; ++c) row += " | " + list.ItemText(r, c);
            rows.push_back(row);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    int RowNamed(const std::string& name, const std::string& hidden = "") const {
        const ui::ListView& list = Page().List();
        for (int r = 0; r < list.ItemCount(); ++r)
            if (list.ItemText(r, 0) == name && (hidden.empty() || list.ItemText(r, 4) == hidden))
                return r;
        return -1;
    }
    void Select(int row) const {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = 0;
        Page().List().Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        Page().List().Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    // A refresh or a removal's rescan runs off this thread: wait for it.
    void ClickButton(int id) {
        testing::Click(GetDlgItem(Page().Handle(), id));
        ASSERT_TRUE(testing::PumpMessagesUntil([&] { return window_->PagesFilled(); }));
        testing::PumpMessages(20);
    }

    testing::FakePlatform fakes_;
    Win32Registry registry_;
    Win32FileSystem files_;
    Win32Drives drives_;
    Win32Environment environment_;
    Win32Prompter prompter_;
    Win32ShellLinks links_;
    Win32VersionResources versions_;
    Win32Tokens tokens_;
    Platform platform_ = fakes_.Get();
    std::unique_ptr<MainWindow> window_;
};

TEST_F(StartupPageTest, ListsExactlyTheFixtureRowsWithIcons) {
    Open();
    const std::vector<std::string> baseline = Rows();
    StartupFixture fixture(registry_);
    ASSERT_TRUE(fixture.loaded);
    // The host links loop back: the tab must list the folder's files once
    // and return. Through a link the folder has its own identity.
    ASSERT_TRUE(fixture.loops);
    FileIdentity folder, loop, above, up;
    ASSERT_TRUE(files_.FolderIdentity(fixture.user, &folder));
    ASSERT_TRUE(files_.FolderIdentity(fixture.user + "\\TvLoop", &loop));
    ASSERT_TRUE(files_.FolderIdentity(fixture.user + "\\..", &above));
    ASSERT_TRUE(files_.FolderIdentity(fixture.user + "\\TvUp", &up));
    EXPECT_EQ(loop, folder);
    EXPECT_EQ(up, above);
    DWORD before = GetTickCount();
    ClickButton(IDC_STARTUP_REFRESH);
    std::printf("startup tab refresh over the link loops: %lu ms\n", GetTickCount() - before);

    std::vector<std::string> expected = ExpectedRows(fixture, baseline);
    std::vector<std::string> rows = Rows();
    MatchShortcutCase(&rows, expected);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, expected);

    // Every row has an icon in the list's image list.
    const ui::ListView& list = Page().List();
    for (int r = 0; r < list.ItemCount(); ++r) {
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = r;
        ASSERT_TRUE(list.Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        EXPECT_GE(item.iImage, 0) << list.ItemText(r, 0);
        EXPECT_LT(item.iImage, ImageList_GetImageCount(Page().Images()));
    }

    CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
    RedrawWindow(window_->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testing::PumpMessages(150);
    std::string path = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\startup-fixture.png";
    EXPECT_TRUE(testing::SaveWindowPng(window_->Handle(), path)) << path;
}

TEST_F(StartupPageTest, RemovalChangesExactlyTheSelectedEntry) {
    struct Case {
        const char* label;
        std::string name;
        bool common;      // the row of the common startup folder
        bool refused;
        std::string gone;  // the start of the one Contents() line that goes
    } cases[] = {
        {"user Run value", "TvFixtureTool", false, false, std::string(kUserRun) + "\\TvFixtureTool="},
        {"long Run value", kLongName, false, false, std::string(kUserRun) + "\\" + kLongName + "="},
        {"userinit", "Userinit  [警告]", false, true, ""},
        {"remote desktop", "StartupPrograms  [警告]", false, true, ""},
        {"machine shell", "Shell  [警告]", false, true, ""},
        {"boot execute", "Load [警告]", false, false, std::string(kSession) + "\\BootExecute="},
        {"screen saver", "屏幕保护  [注意]", false, false, std::string(kDesktop) + "\\SCRNSAVE.EXE="},
        {"AppInit_DLLs comes back", " [AppInit_DLLs 警告]", false, false, ""},
        {"shortcut", "TvFixture App.lnk", false, false, "\\TvFixture App.lnk"},
        {"common file of a shared name", "TvSame.txt", true, false, "\\TvSame.txt"},
    };
    Open();
    // Each case loads the fixture afresh over this one, which holds the
    // link loops through them all.
    StartupFixture outer(registry_);
    ASSERT_TRUE(outer.loops);
    for (const Case& c : cases) {
        StartupFixture fixture(registry_, false);
        ASSERT_TRUE(fixture.loaded);
        ClickButton(IDC_STARTUP_REFRESH);
        std::string hidden = c.common ? fixture.common + "\\" + c.name : "";
        int row = RowNamed(c.name, hidden);
        ASSERT_GE(row, 0) << c.label;
        Select(row);
        std::vector<std::string> before = fixture.Contents();
        std::vector<testing::MessageBoxWatcher::Box> boxes;
        {
            testing::MessageBoxWatcher watcher;
            ClickButton(IDC_STARTUP_REMOVE);
            boxes = watcher.Boxes();
        }
        std::vector<std::string> expected = before;
        std::string goneLine;
        if (!c.gone.empty()) {
            for (auto it = expected.begin(); it != expected.end(); ++it) {
                bool match = c.common ? *it == fixture.common + c.gone
                                      : (it->find(c.gone) != std::string::npos &&
                                         it->rfind(fixture.common, 0) != 0);
                if (match) {
                    goneLine = *it;
                    expected.erase(it);
                    break;
                }
            }
            ASSERT_FALSE(goneLine.empty()) << c.label << ": fixture lacks " << c.gone;
        }
        EXPECT_EQ(fixture.Contents(), expected) << c.label;
        if (c.refused) {
            ASSERT_EQ(boxes.size(), 1u) << c.label;
            EXPECT_EQ(boxes[0].text, kProtectedStartupMessage);
            EXPECT_EQ(boxes[0].caption, ui::ApplicationTitle());
            // Refused: the list was not rebuilt, the row is still selected.
            EXPECT_EQ(Page().List().SelectedItem(), row) << c.label;
        } else {
            EXPECT_TRUE(boxes.empty()) << c.label;
            // Rebuilt: the row is gone unless its entry stayed.
            bool stays = goneLine.empty();
            EXPECT_EQ(RowNamed(c.name, hidden) >= 0, stays) << c.label;
        }
        // The shortcut's target stays whatever was removed.
        EXPECT_NE(GetFileAttributesA(fixture.target.c_str()), INVALID_FILE_ATTRIBUTES) << c.label;
    }
}

TEST_F(StartupPageTest, RefreshingKeepsGdiObjectsAndImagesLevel) {
    StartupFixture fixture(registry_);
    ASSERT_TRUE(fixture.loaded);
    Open();
    ClickButton(IDC_STARTUP_REFRESH);
    const int gdi = testing::GdiObjectCount();
    // Wine answers 0 here; Windows counts the icons.
    const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const int images = ImageList_GetImageCount(Page().Images());
    const int rows = Page().List().ItemCount();
    ASSERT_GT(rows, 10);
    EXPECT_LE(images, rows + 4);
    // Each waited for, so every one fills the list.
    for (int i = 0; i < 100; ++i) {
        Page().StartupScan();
        ASSERT_TRUE(testing::PumpMessagesUntil([&] { return window_->PagesFilled(); }));
    }
    testing::PumpMessages(20);
    EXPECT_EQ(ImageList_GetImageCount(Page().Images()), images);
    EXPECT_EQ(Page().List().ItemCount(), rows);
    // One object lost per refresh would show as a hundred; a slow scan
    // makes the page's sign and its objects once, the first time it shows.
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user + 10);
    if (gdi >= 0) {
        EXPECT_LE(testing::GdiObjectCount(), gdi + 10);
    }
}

// The registry of a startup tab whose scan runs in the background: reads
// made off the test's thread can be slowed down, or held at their second
// value until the test opens the gate.
class HeldRegistry : public Registry {
public:
    explicit HeldRegistry(Registry& inner) : inner_(inner) {}

    DWORD delayMs = 0;
    std::atomic<bool> gateOpen{true};
    std::atomic<bool> held{false};
    std::atomic<int> valuesRead{0};

    long OpenKey(RegHandle parent, const std::string& path, std::uint32_t access,
                 RegHandle* key) override {
        return inner_.OpenKey(parent, path, access, key);
    }
    long CreateKey(RegHandle parent, const std::string& path, RegHandle* key,
                   std::uint32_t view) override {
        return inner_.CreateKey(parent, path, key, view);
    }
    long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override {
        return inner_.QueryValue(key, name, type, data, size);
    }
    long SetValue(RegHandle key, const std::string& name, std::uint32_t type, const void* data,
                  std::uint32_t size) override {
        return inner_.SetValue(key, name, type, data, size);
    }
    long DeleteValue(RegHandle key, const std::string& name) override {
        return inner_.DeleteValue(key, name);
    }
    long DeleteKey(RegHandle parent, const std::string& subkey, std::uint32_t view) override {
        return inner_.DeleteKey(parent, subkey, view);
    }
    long EnumValue(RegHandle key, std::uint32_t index, std::string* name) override {
        return inner_.EnumValue(key, index, name);
    }
    long EnumValueData(RegHandle key, std::uint32_t index, std::string* name, std::uint32_t* type,
                       void* data, std::uint32_t* size) override {
        if (GetCurrentThreadId() != testThread_) {
            Sleep(delayMs);
            ++valuesRead;
            if (index > 0 && !gateOpen) {
                held = true;
                for (const DWORD begin = GetTickCount(); !gateOpen && GetTickCount() - begin < 10000;)
                    Sleep(1);
            }
        }
        return inner_.EnumValueData(key, index, name, type, data, size);
    }
    long EnumKey(RegHandle key, std::uint32_t index, std::string* name) override {
        return inner_.EnumKey(key, index, name);
    }
    long CloseKey(RegHandle key) override { return inner_.CloseKey(key); }
    long OpenKeyW(RegHandle parent, const std::u16string& path, std::uint32_t access,
                  RegHandle* key) override {
        return inner_.OpenKeyW(parent, path, access, key);
    }
    long CreateKeyW(RegHandle parent, const std::u16string& path, RegHandle* key,
                    std::uint32_t view) override {
        return inner_.CreateKeyW(parent, path, key, view);
    }
    long QueryValueW(RegHandle key, const std::u16string& name, std::uint32_t* type, void* data,
                     std::uint32_t* size) override {
        return inner_.QueryValueW(key, name, type, data, size);
    }
    long SetValueW(RegHandle key, const std::u16string& name, std::uint32_t type,
                   const void* data, std::uint32_t size) override {
        return inner_.SetValueW(key, name, type, data, size);
    }
    long DeleteValueW(RegHandle key, const std::u16string& name) override {
        return inner_.DeleteValueW(key, name);
    }
    long DeleteKeyW(RegHandle parent, const std::u16string& subkey, std::uint32_t view) override {
        return inner_.DeleteKeyW(parent, subkey, view);
    }
    long EnumValueW(RegHandle key, std::uint32_t index, std::u16string* name) override {
        return inner_.EnumValueW(key, index, name);
    }
    long EnumKeyW(RegHandle key, std::uint32_t index, std::u16string* name) override {
        return inner_.EnumKeyW(key, index, name);
    }

private:
    Registry& inner_;
    const DWORD testThread_ = GetCurrentThreadId();
};

class StartupPageInBackgroundTest : public ::testing::Test {
protected:
    StartupPageInBackgroundTest() {
        fakes_.clock.SetToday({2009, 10, 25});
        platform_ = fakes_.Get();
        platform_.registry = registry_;
    }
    void TearDown() override { window_.reset(); }

    RegKey Run() {
        return RegKey::Create(fakes_.registry, kHkeyCurrentUser,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    }
    StartupPage& Page() const {
        auto* container = static_cast<ManagementContainer*>(window_->Page(4));
        return *static_cast<StartupPage*>(container->Page(1));
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int r = 0; r < Page().List().ItemCount(); ++r) names.push_back(Page().List().ItemText(r, 0));
        return names;
    }

    testing::FakePlatform fakes_;
    HeldRegistry registry_{fakes_.registry};
    Platform platform_ = fakes_.Get();
    std::unique_ptr<MainWindow> window_;
};

// The scan stops between values when the window closes: the close does not
// wait for the rest of it.
TEST_F(StartupPageInBackgroundTest, ClosingDuringTheScanReturnsPromptly) {
    for (int i = 0; i < 300; ++i) Run().SetString("Entry" + std::to_string(i), "C:\\x\\a.exe");
    registry_.delayMs = 20;  // six seconds for the whole key
    window_ = std::make_unique<MainWindow>(platform_);
    ASSERT_TRUE(window_->Create(nullptr));
    ASSERT_TRUE(testing::PumpMessagesUntil([&] { return registry_.valuesRead >= 3; }));
    EXPECT_FALSE(Page().Filled());
    const DWORD begin = GetTickCount();
    window_.reset();
    const DWORD took = GetTickCount() - begin;
    EXPECT_LT(took, 1000u);
    EXPECT_TRUE(EndBackgroundThreads(0));
    EXPECT_LT(registry_.valuesRead.load(), 100);
    EXPECT_EQ(fakes_.registry.OpenHandleCount(), 0u);
}

// A refresh while the first scan is held: that scan stops, and the list
// shows only what the fresh one found.
TEST_F(StartupPageInBackgroundTest, RefreshDuringAPendingScanShowsOnlyTheFreshRows) {
    RegKey run = Run();
    run.SetString("Old1", "C:\\x\\old1.exe");
    run.SetString("Old2", "C:\\x\\old2.exe");
    registry_.gateOpen = false;
    window_ = std::make_unique<MainWindow>(platform_);
    ASSERT_TRUE(window_->Create(nullptr));
    ASSERT_TRUE(testing::PumpMessagesUntil([&] { return registry_.held && Page().Handle(); }));
    // "Old1" has been read; now the key changes and the user refreshes.
    run.DeleteValue("Old1");
    run.DeleteValue("Old2");
    run.SetString("New1", "C:\\x\\new1.exe");
    testing::Click(GetDlgItem(Page().Handle(), IDC_STARTUP_REFRESH));
    registry_.gateOpen = true;
    ASSERT_TRUE(testing::PumpMessagesUntil([&] { return window_->PagesFilled(); }));
    testing::PumpMessages(200);
    EXPECT_EQ(Names(), std::vector<std::string>{"New1"});
}

}  // namespace
}  // namespace tv
