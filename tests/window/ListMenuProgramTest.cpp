// The lists' right-click menu of the real Trimvex.exe, worked from outside
// as a user would: the menu opened on a row and an item chosen with the
// keyboard. The startup list saved through the save dialog is compared with
// the list read directly; locating a row in the registry editor records the
// key the editor remembers and starts the editor by its full path (the
// recorder stands in for it).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "manage/ListExport.h"
#include "platform/WideText.h"
#include "platform/win32/Win32Registry.h"
#include "res/resource.h"
#include "tests/support/RecordingTool.h"
#include "tests/support/RemoteListView.h"
#include "tests/support/TrimvexProcess.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

const std::u16string kRun = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRegeditSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";

// Run values of the user's for one test, gone again after it.
class RunValues {
public:
    explicit RunValues(std::initializer_list<std::pair<std::u16string, std::u16string>> values) {
        ok_ = registry_.CreateKeyW(kHkeyCurrentUser, kRun, &key_) == kErrorSuccess;
        for (const auto& [name, data] : values) {
            names_.push_back(name);
            const std::u16string stored = data + u'\0';
            ok_ = ok_ && registry_.SetValueW(key_, name, kRegSz, stored.data(),
                                             static_cast<std::uint32_t>(stored.size() * 2)) == kErrorSuccess;
        }
    }
    ~RunValues() {
        for (const std::u16string& name : names_) registry_.DeleteValueW(key_, name);
        registry_.CloseKey(key_);
    }
    bool Ok() const { return ok_; }

private:
    Win32Registry registry_;
    RegHandle key_ = 0;
    std::vector<std::u16string> names_;
    bool ok_ = false;
};

int FindRow(const testing::RemoteListView& list, const std::u16string& name) {
    for (int r = 0; r < list.ItemCount(); ++r)
        if (list.ItemTextW(r, 0) == name) return r;
    return -1;
}

// Opens the list's menu on `row` as a right click there does; null when no
// menu shows.
HWND OpenMenuOn(const testing::TrimvexProcess& program, HWND list, const testing::RemoteListView& rows, int row) {
    rows.Select(row);
    POINT at = rows.ItemPosition(row);
    at.x += 8;
    at.y += 4;
    ClientToScreen(list, &at);
    PostMessageA(GetParent(list), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
    return program.WaitForTopLevel("", "#32768", 10000);
}

void Press(HWND menu, std::initializer_list<WPARAM> keys) {
    for (WPARAM key : keys) {
        PostMessageA(menu, WM_KEYDOWN, key, 0);
        Sleep(50);
    }
}

// The menu opened on `row`, `keys` pressed in it.
void ChooseFromMenu(const testing::TrimvexProcess& program, HWND list, const testing::RemoteListView& rows,
                    int row, std::initializer_list<WPARAM> keys) {
    HWND menu = OpenMenuOn(program, list, rows, row);
    ASSERT_NE(menu, nullptr) << "no menu";
    Press(menu, keys);
}

std::u16string ClipboardText() {
    std::u16string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const char16_t*>(GlobalLock(data))) {
            text = units;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

std::string ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes(1 << 20, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

HWND StartupList(const testing::TrimvexProcess& program) {
    return GetDlgItem(program.PageWith({IDC_STARTUP_LIST, IDC_STARTUP_REFRESH}), IDC_STARTUP_LIST);
}

TEST(ListMenuProgram, ExportsTheStartupListAsItShowsWithEveryColumn) {
    const std::u16string hangul = u"TvMenu\uCE74\uC624";
    const std::u16string tabbed = u"TvMenu\tTab";
    RunValues values{{hangul, u"C:\\TvMenu\\\uCE74.exe"}, {tabbed, u"\"C:\\TvMenu\\t b.exe\" /s"}};
    ASSERT_TRUE(values.Ok());
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string saved = std::string(temp) + "tv-export-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(saved.c_str());

    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    HWND listWindow = StartupList(program);
    testing::RemoteListView list(listWindow);
    ASSERT_TRUE(list);
    const int row = FindRow(list, hangul);
    ASSERT_GE(row, 0);
    ASSERT_GE(FindRow(list, tabbed), 0);
    // The last item, 导出列表….
    ChooseFromMenu(program, listWindow, list, row, {VK_UP, VK_RETURN});
    HWND dialog = program.WaitForTopLevel("导出列表", nullptr, 10000);
    ASSERT_NE(dialog, nullptr) << "no save dialog";
    HWND name = GetDlgItem(dialog, 0x47C);
    if (!name) name = GetDlgItem(dialog, 0x480);
    ASSERT_NE(name, nullptr);
    SetWindowTextA(name, saved.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    std::string bytes;
    for (DWORD start = GetTickCount(); bytes.empty() && GetTickCount() - start < 10000; Sleep(50))
        bytes = ReadFileBytes(saved);
    DeleteFileA(saved.c_str());

    // The list read directly: every column its header has, every row.
    HWND header = reinterpret_cast<HWND>(SendMessageA(listWindow, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    ASSERT_GE(columns, 5);
    std::u16string expected = u"启动项\t文件解析路径\t主键\t子键\t";
    ASSERT_EQ(bytes.compare(0, 2, "\xFF\xFE"), 0);
    const std::u16string text = utf16::FromBytes(bytes.substr(2));
    const std::size_t firstLine = text.find(u"\r\n");
    ASSERT_NE(firstLine, std::u16string::npos);
    // Headings the test does not know (a column added later) are taken as
    // the file has them; their number is the header's.
    std::u16string headings = text.substr(0, firstLine);
    ASSERT_EQ(headings.compare(0, expected.size(), expected), 0) << utf16::ToBytes(headings);
    std::size_t tabs = 0;
    for (char16_t unit : headings) tabs += unit == u'\t';
    EXPECT_EQ(tabs, static_cast<std::size_t>(columns - 1));
    std::u16string rows = headings + u"\r\n";
    for (int r = 0; r < list.ItemCount(); ++r) {
        TextRow cells;
        for (int c = 0; c < columns; ++c) cells.push_back(list.ItemTextW(r, c));
        rows += TableLine(cells) + u"\r\n";
    }
    EXPECT_EQ(text, rows);
    EXPECT_NE(text.find(u"\r\n" + hangul + u"\t"), std::u16string::npos);
    EXPECT_NE(text.find(u"\r\n\"TvMenu\tTab\"\t"), std::u16string::npos);
}

TEST(ListMenuProgram, CopiesTheRowsVisibleTextsAsUnicode) {
    const std::u16string hangul = u"TvMenuCopy\uCE74\uC624";
    RunValues values{{hangul, u"C:\\TvMenu\\copy.exe"}};
    ASSERT_TRUE(values.Ok());
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    testing::TrimvexProcess program;
    ASSERT_NE(program.WaitForMain(), nullptr);
    program.ShowSection(IDC_SECTION_MANAGEMENT);
    HWND listWindow = StartupList(program);
    testing::RemoteListView list(listWindow);
    ASSERT_TRUE(list);
    const int row = FindRow(list, hangul);
    ASSERT_GE(row, 0);
    HWND menu = OpenMenuOn(program, listWindow, list, row);
    ASSERT_NE(menu, nullptr);
    // The menu as the user sees it over the list.
    Sleep(300);
    CreateDirectoryA(testing::WindowsPath(TV_SCREENSHOT_DIR).c_str(), nullptr);
    const std::string shot = testing::WindowsPath(TV_SCREENSHOT_DIR) + "\\list-menu.png";
    EXPECT_TRUE(testing::SaveWindowPng(program.Main(), shot)) << shot;
    Press(menu, {VK_DOWN, VK_RETURN});
    std::u16string copied;
    for (DWORD start = GetTickCount(); copied.empty() && GetTickCount() - start < 10000; Sleep(50))
        copied = ClipboardText();
    // The columns shown, whatever their number; the hidden ones left out.
    HWND header = reinterpret_cast<HWND>(SendMessageA(listWindow, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    TextRow shown;
    for (int c = 0; c < columns; ++c)
        if (SendMessageA(listWindow, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0) > 0)
            shown.push_back(list.ItemTextW(row, c));
    ASSERT_GE(shown.size(), 4u);
    EXPECT_EQ(shown[0], hangul);
    EXPECT_EQ(copied, TableLine(shown));
}

TEST(ListMenuProgram, LocatingARunValueRemembersItsKeyAndStartsTheEditorByItsFullPath) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string editor = std::string(windows) + "\\regedit.exe";
    testing::RecordingTool tool(editor);
    ASSERT_TRUE(tool.Ready());
    Win32Registry registry;
    const RegKey settings = RegKey::Create(registry, kHkeyCurrentUser, kRegeditSettings);
    std::string before;
    const bool hadLastKey = settings.ReadString("LastKey", 4096, &before);
    settings.DeleteValue("LastKey");
    RunValues values{{u"TvMenuJump", u"C:\\TvMenu\\jump.exe"}};
    ASSERT_TRUE(values.Ok());

    std::u16string remembered;
    {
        testing::TrimvexProcess program;
        ASSERT_NE(program.WaitForMain(), nullptr);
        HWND listWindow = StartupList(program);
        testing::RemoteListView list(listWindow);
        ASSERT_TRUE(list);
        const int row = FindRow(list, u"TvMenuJump");
        ASSERT_GE(row, 0);
        // 复制, 打开文件位置, 在注册表编辑器中定位.
        ChooseFromMenu(program, listWindow, list, row, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
        for (DWORD start = GetTickCount(); tool.Lines().empty() && GetTickCount() - start < 10000;) Sleep(50);
        Sleep(300);  // a second start, had there been one, is recorded by now
        char16_t text[1024] = {};
        std::uint32_t size = sizeof(text) - 2, type = 0;
        if (registry.QueryValueW(settings.Handle(), u"LastKey", &type, text, &size) == kErrorSuccess &&
            type == kRegSz)
            remembered = text;
    }
    if (hadLastKey) settings.SetString("LastKey", before);
    else settings.DeleteValue("LastKey");
    EXPECT_EQ(tool.Lines(), std::vector<std::string>{"\"" + editor + "\""});
    EXPECT_EQ(remembered, u"计算机\\HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
}

}  // namespace
}  // namespace tv
