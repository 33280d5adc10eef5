// The startup tab of the real main window over the real registry and files
// of the test prefix: a fixture fills several autostart locations and both
// startup folders, the list must show exactly its rows, and removal must
// change exactly the entry of the selected row.
#include <gtest/gtest.h>

#include <algorithm>
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
#include "platform/RegFile.h"
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
#include "tests/support/FakePlatform.h"
#include "tests/support/Shortcut.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

constexpr const char* kUserRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kWinlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* kSession = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kRdp = "SYSTEM\\CurrentControlSet\\Control\\Terminal Server\\Wds\\rdpwd";
constexpr const char* kDesktop = "Control Panel\\Desktop";
constexpr const char* kWindowsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const std::string kLongName = "TvFixtureLong" + std::string(270, 'N');

struct FixtureValue {
    RegHandle root;
    const char* key;
    std::string name;
};

// Every value startup.reg sets.
const std::vector<FixtureValue>& FixtureValues() {
    static const std::vector<FixtureValue> values = {
        {kHkeyCurrentUser, kUserRun, "TvFixtureTool"},
        {kHkeyCurrentUser, kUserRun, "TvFixture中文"},
        {kHkeyCurrentUser, kUserRun, kLongName},
        {kHkeyLocalMachine, kUserRun, "TvFixtureMachine"},
        {kHkeyLocalMachine, kWinlogon, "Shell"},
        {kHkeyLocalMachine, kWinlogon, "Userinit"},
        {kHkeyLocalMachine, kSession, "BootExecute"},
        {kHkeyLocalMachine, kRdp, "StartupPrograms"},
        {kHkeyCurrentUser, kDesktop, "SCRNSAVE.EXE"},
        {kHkeyLocalMachine, kWindowsKey, "AppInit_DLLs"},
    };
    return values;
}

std::string FixturePath(const char* name) {
    return testing::ProgramDirectory() + "fixtures\\" + name;
}

bool WriteFile(const std::string& path, const std::string& bytes = "x") {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

// Loads startup.reg and the startup-folder files into the prefix, and puts
// back on destruction whatever was there before.
class StartupFixture {
public:
    explicit StartupFixture(Registry& registry) : registry_(registry) {
        for (const FixtureValue& v : FixtureValues()) saved_.push_back(Read(v));
        std::ifstream in(FixturePath("startup.reg"), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Win32TextCodec codec;
        RegFileError error;
        loaded = !bytes.empty() && ImportRegFile(registry_, bytes, codec, &error);

        Platform platform;
        platform.registry = &registry_;
        user = ReadStartupFolder(platform, kHkeyCurrentUser, "Startup");
        common = ReadStartupFolder(platform, kHkeyLocalMachine, "Common Startup");
        MakeFolder(user);
        MakeFolder(common);
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        MakeFolder(kTargetFolder);
        CopyFileA((std::string(windows) + "\\notepad.exe").c_str(), target.c_str(), FALSE);
        shortcut = user + "\\TvFixture App.lnk";
        testing::MakeShortcut(shortcut, target);
        MakeFolder(user + "\\TvSub");
        MakeFolder(user + "\\.tvhidden");
        for (const std::string& f : {user + "\\desktop.ini", user + "\\TvSub\\TvSub.txt",
                                     user + "\\.tvhidden\\TvHidden.txt", user + "\\TvSame.txt",
                                     common + "\\TvSame.txt", common + "\\TvCommon.txt"})
            WriteFile(f);
    }
    ~StartupFixture() {
        for (size_t i = 0; i < saved_.size(); ++i) Restore(FixtureValues()[i], saved_[i]);
        for (const std::string& f :
             {shortcut, user + "\\desktop.ini", user + "\\TvSub\\TvSub.txt",
              user + "\\.tvhidden\\TvHidden.txt", user + "\\TvSame.txt", common + "\\TvSame.txt",
              common + "\\TvCommon.txt", target})
            DeleteFileA(f.c_str());
        for (const std::string& d : {user + "\\TvSub", user + "\\.tvhidden", std::string(kTargetFolder)})
            RemoveDirectoryA(d.c_str());
    }

    // Every fixture value (name=type:data) and fixture file that exists.
    std::vector<std::string> Contents() const {
        std::vector<std::string> out;
        for (const FixtureValue& v : FixtureValues()) {
            Saved s = Read(v);
            if (s.present)
                out.push_back(std::string(v.key) + "\\" + v.name + "=" + std::to_string(s.type) +
                              ":" + std::string(s.data.begin(), s.data.end()));
        }
        for (const std::string& f : {shortcut, user + "\\TvSub\\TvSub.txt", user + "\\TvSame.txt",
                                     common + "\\TvSame.txt", common + "\\TvCommon.txt", target})
            if (GetFileAttributesA(f.c_str()) != INVALID_FILE_ATTRIBUTES) out.push_back(f);
        return out;
    }

    static constexpr const char* kTargetFolder = "C:\\tvfixture";
    bool loaded = false;
    std::string user, common, shortcut;
    std::string target = std::string(kTargetFolder) + "\\app.exe";

private:
    struct Saved {
        bool present = false;
        std::uint32_t type = 0;
        std::vector<char> data;
    };
    Saved Read(const FixtureValue& v) const {
        Saved s;
        RegKey key = RegKey::Open(registry_, v.root, v.key, kKeyRead);
        std::uint32_t size = 0;
        if (!key || key.Query(v.name, &s.type, nullptr, &size) != kErrorSuccess) return s;
        s.data.assign(size + 1, '\0');
        s.present = key.Query(v.name, &s.type, s.data.data(), &size) == kErrorSuccess;
        s.data.resize(size);
        return s;
    }
    void Restore(const FixtureValue& v, const Saved& s) {
        RegKey key = RegKey::Open(registry_, v.root, v.key, kKeyAllAccess);
        if (!key) return;
        if (s.present)
            key.Set(v.name, s.type, s.data.data(), static_cast<std::uint32_t>(s.data.size()));
        else
            key.DeleteValue(v.name);
    }
    static void MakeFolder(const std::string& path) {
        // Parents first: the startup folders may not exist in a fresh prefix.
        for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
            CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
        CreateDirectoryA(path.c_str(), nullptr);
    }

    Registry& registry_;
    std::vector<Saved> saved_;
};

class StartupPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The other pages get fakes; the startup tab works on the real system.
        fakes_.clock.SetToday({2009, 10, 25});
        platform_ = fakes_.Get();
        platform_.registry = &registry_;
        platform_.files = &files_;
        platform_.drives = &drives_;
        platform_.environment = &environment_;
        platform_.prompter = &prompter_;
        platform_.links = &links_;
        platform_.versions = &versions_;
        platform_.tokens = &tokens_;
    }
    void TearDown() override { window_.reset(); }
    void Open() {
        window_ = std::make_unique<MainWindow>(platform_);
        ASSERT_TRUE(window_->Create(nullptr));
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
    void ClickButton(int id) {
        testing::Click(GetDlgItem(Page().Handle(), id));
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
    Platform platform_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(StartupPageTest, ListsExactlyTheFixtureRowsWithIcons) {
    Open();
    const std::vector<std::string> baseline = Rows();
    StartupFixture fixture(registry_);
    ASSERT_TRUE(fixture.loaded);
    ClickButton(IDC_STARTUP_REFRESH);

    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string wl = std::string(kWinlogon);
    const std::string lowUser = text::ToLower(fixture.user);
    const std::string lowCommon = text::ToLower(fixture.common);
    std::vector<std::string> expected = {
        "TvFixtureTool | c:\\program files\\tvfixture\\tool.exe | HKEY_CURRENT_USER | " +
            std::string(kUserRun) + " | HKCU\\" + kUserRun,
        "TvFixture中文 | c:\\windows\\system32\\notepad.exe | HKEY_CURRENT_USER | " +
            std::string(kUserRun) + " | HKCU\\" + kUserRun,
        kLongName + " | c:\\program files\\" + std::string(280, 'l') +
            "\\long.exe | HKEY_CURRENT_USER | " + kUserRun + " | HKCU\\" + kUserRun,
        "TvFixtureMachine | " + std::string(windows) + "\\regedit.exe | HKEY_LOCAL_MACHINE | " +
            kUserRun + " | HKLM\\" + kUserRun,
        "Shell  [警告] | explorer.exe,tvfixture.exe | HKEY_LOCAL_MACHINE | " + wl +
            " [Shell] | HKLM\\" + wl + " [Shell]",
        "Userinit  [警告] | C:\\windows\\system32\\userinit.exe | HKEY_LOCAL_MACHINE | " + wl +
            " [Userinit] | HKLM\\" + wl + " [Userinit]",
        "Load [警告] | tvfixture boot | HKEY_LOCAL_MACHINE | " + std::string(kSession) +
            " [BootExecute] | HKLM\\" + kSession + " [BootExecute]",
        "StartupPrograms  [警告] | rdpclip,tvfixture.exe | HKEY_LOCAL_MACHINE | " +
            std::string(kRdp) + " [StartupPrograms] | HKLM\\" + kRdp + " [StartupPrograms]",
        "屏幕保护  [注意] | c:\\windows\\system32\\tvfixture.scr | HKEY_CURRENT_USER | " +
            std::string(kDesktop) + " [SCRNSAVE.EXE] | HKCU\\" + kDesktop + " [SCRNSAVE.EXE]",
        " [AppInit_DLLs 警告] | c:\\windows\\system32\\tvfixture.dll | HKEY_LOCAL_MACHINE | " +
            std::string(kWindowsKey) + " [AppInit_DLLs] | HKLM\\" + kWindowsKey + " [AppInit_DLLs]",
        "TvFixture App.lnk | " + fixture.target + " | " + fixture.target + " |  | " + fixture.shortcut,
        "TvSub.txt | " + lowUser + "\\tvsub\\tvsub.txt | " + lowUser + "\\tvsub\\tvsub.txt |  | " +
            fixture.user + "\\TvSub\\TvSub.txt",
        "TvSame.txt | " + lowUser + "\\tvsame.txt | " + lowUser + "\\tvsame.txt |  | " +
            fixture.user + "\\TvSame.txt",
        "TvSame.txt | " + lowCommon + "\\tvsame.txt | " + lowCommon + "\\tvsame.txt |  | " +
            fixture.common + "\\TvSame.txt",
        "TvCommon.txt | " + lowCommon + "\\tvcommon.txt | " + lowCommon + "\\tvcommon.txt |  | " +
            fixture.common + "\\TvCommon.txt",
    };
    // The fixture's machine-wide Shell and AppInit_DLLs replace any the
    // prefix had.
    for (const std::string& row : baseline) {
        if (row.rfind("Shell  [", 0) != 0 && row.rfind(" [AppInit_DLLs", 0) != 0 &&
            row.rfind("Userinit  [", 0) != 0)
            expected.push_back(row);
    }
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> rows = Rows();
    // The shortcut's target may come back in another letter case.
    for (std::string& row : rows) {
        if (row.rfind("TvFixture App.lnk | ", 0) != 0) continue;
        for (const std::string& e : expected)
            if (text::EqualsNoCase(row, e)) row = e;
    }
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
    for (const Case& c : cases) {
        StartupFixture fixture(registry_);
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
    const int images = ImageList_GetImageCount(Page().Images());
    const int rows = Page().List().ItemCount();
    ASSERT_GT(rows, 10);
    EXPECT_LE(images, rows + 4);
    for (int i = 0; i < 100; ++i) Page().StartupScan();
    testing::PumpMessages(20);
    EXPECT_EQ(ImageList_GetImageCount(Page().Images()), images);
    EXPECT_EQ(Page().List().ItemCount(), rows);
    if (gdi >= 0) {
        EXPECT_LE(testing::GdiObjectCount(), gdi + 2);
    }
}

}  // namespace
}  // namespace tv
