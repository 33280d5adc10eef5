// Clicks and ticks on the processes tab over a process table a test sets up.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "manage/ModuleList.h"
#include "manage/ProcessList.h"
#include "manage/win32/ProcessPage.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/PageRefresh.h"
#include "tests/support/WindowTestSupport.h"

namespace tv {
namespace {

class ProcessPageClickTest : public ::testing::Test {
protected:
    ProcessPageClickTest() {
        host_ = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 1010, 500, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        for (std::uint32_t id : {4u, 100u, 200u, 300u}) {
            auto& p = fakes_.processes.Add(id, "p" + std::to_string(id) + ".exe", 1);
            p.kernelPath = "C:\\apps\\p" + std::to_string(id) + ".exe";
            p.modules = {{"p.exe", p.kernelPath}, {"m.dll", "C:\\apps\\m.dll"}};
        }
        fakes_.systemFiles.Protect("C:\\apps\\p100.exe");
        page_ = std::make_unique<ProcessPage>(fakes_.Get());
        page_->CreatePage(host_);
        EXPECT_TRUE(testing::RefreshAndWait(*page_));
    }
    ~ProcessPageClickTest() override {
        page_.reset();
        DestroyWindow(host_);
    }
    int Row(std::uint32_t id) const {
        const ui::ListView& list = page_->ProcessList();
        for (int i = 0; i < list.ItemCount(); ++i)
            if (list.ItemText(i, kProcessImageName) == "p" + std::to_string(id) + ".exe") return i;
        return -1;
    }
    // A click that leaves `row` as the selection mark (-1: none).
    void ClickAt(int row) {
        HWND list = page_->ProcessList().Handle();
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        if (row >= 0) ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
        ListView_SetSelectionMark(list, row);
        NMITEMACTIVATE click{};
        click.hdr.hwndFrom = list;
        click.hdr.idFrom = IDC_PROCESS_LIST;
        click.hdr.code = NM_CLICK;
        click.iItem = row;
        EXPECT_EQ(SendMessageA(page_->Handle(), WM_NOTIFY, IDC_PROCESS_LIST,
                               reinterpret_cast<LPARAM>(&click)),
                  0);
    }
    std::string Hint() const {
        char text[256] = {};
        GetDlgItemTextA(page_->Handle(), IDC_PROCESS_HINT, text, sizeof(text));
        return text;
    }

    testing::FakePlatform fakes_;
    HWND host_;
    std::unique_ptr<ProcessPage> page_;
};

TEST_F(ProcessPageClickTest, ClicksShowHintAndModules) {
    ASSERT_EQ(page_->ProcessList().ItemCount(), 4);
    ClickAt(Row(100));
    EXPECT_EQ(Hint(), kProtectedProcessHint);
    EXPECT_EQ(page_->ModuleList().ItemCount(), 2);
    ClickAt(Row(200));
    EXPECT_EQ(Hint(), kUnknownProcessHint);
    EXPECT_EQ(page_->ModuleList().ItemText(0, kModulePath), "C:\\apps\\m.dll");

    // A row without an id lists nothing, rather than this program's modules.
    ClickAt(Row(4));
    EXPECT_EQ(page_->ModuleList().ItemCount(), 0);
    ClickAt(Row(300));
    EXPECT_EQ(page_->ModuleList().ItemCount(), 2);
    // No selection mark: nothing shown for it.
    std::string before = Hint();
    ClickAt(-1);
    EXPECT_EQ(page_->ModuleList().ItemCount(), 0);
    EXPECT_EQ(Hint(), before);
}

TEST_F(ProcessPageClickTest, TickedProcessesEndedThenListRefreshed) {
    ClickAt(Row(300));
    HWND list = page_->ProcessList().Handle();
    ListView_SetCheckState(list, Row(100), TRUE);
    ListView_SetCheckState(list, Row(200), TRUE);
    ListView_SetCheckState(list, Row(4), TRUE);
    testing::Click(page_->Item(IDC_PROCESS_END));
    ASSERT_TRUE(testing::WaitForRefresh(*page_));
    using Ended = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    Ended ended = fakes_.processes.terminated;
    std::sort(ended.begin(), ended.end());
    EXPECT_EQ(ended, (Ended{{100, 1}, {200, 1}}));
    EXPECT_EQ(fakes_.environment.waits, std::vector<unsigned>{400});
    ASSERT_EQ(page_->ProcessList().ItemCount(), 2);
    EXPECT_GE(Row(4), 0);
    EXPECT_GE(Row(300), 0);
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(IsChecked(page_->ProcessList(), i));
    // The module list and the hint still show the process last clicked.
    EXPECT_EQ(page_->ModuleList().ItemCount(), 2);
    EXPECT_EQ(Hint(), kUnknownProcessHint);
}

TEST_F(ProcessPageClickTest, RowsOfOneFileShareItsIconAcrossRefreshes) {
    // A second process of p300's file.
    fakes_.processes.Add(400u, "p400.exe", 1).kernelPath = "C:\\apps\\p300.exe";
    for (int refresh = 0; refresh < 5; ++refresh) ASSERT_TRUE(testing::RefreshAndWait(*page_));
    const ui::ListView& list = page_->ProcessList();
    ASSERT_EQ(list.ItemCount(), 5);
    EXPECT_EQ(page_->RowIconCount(), 4);
    std::map<std::string, std::set<int>> imagesByPath;
    std::set<int> images;
    for (int i = 0; i < list.ItemCount(); ++i) {
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        list.Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        imagesByPath[list.ItemText(i, kProcessPath)].insert(item.iImage);
        images.insert(item.iImage);
    }
    EXPECT_EQ(images, (std::set<int>{0, 1, 2, 3}));
    ASSERT_EQ(imagesByPath.size(), 4u);
    for (const auto& [path, shown] : imagesByPath) EXPECT_EQ(shown.size(), 1u) << path;
    // Unprotected rows first, each row's item data its flag.
    EXPECT_EQ(list.ItemText(4, kProcessImageName), "p100.exe");
    EXPECT_EQ(ItemData(list, 4), 1);
    EXPECT_EQ(ItemData(list, 0), 0);
}

TEST_F(ProcessPageClickTest, CellsLongerThanAPathAreReadWhole) {
    // Double-byte names past any fixed buffer the list might use.
    std::string path = "C:\\apps";
    while (path.size() < 700) path += "\\目录名称";
    path += "\\长.exe";
    fakes_.processes.Add(500u, "p500.exe", 1).kernelPath = path;
    ASSERT_TRUE(testing::RefreshAndWait(*page_));
    int row = Row(500);
    ASSERT_GE(row, 0);
    EXPECT_EQ(page_->ProcessList().ItemText(row, kProcessPath), path);
    EXPECT_EQ(ReadRow(page_->ProcessList(), row, kProcessColumnCount)[kProcessId], "500");
}

TEST_F(ProcessPageClickTest, TextRequestsAreAnsweredInEitherFormWithinTheRoomOffered) {
    // "中文.exe" in CP936, and as UTF-16.
    fakes_.processes.Add(600u, "\xD6\xD0\xCE\xC4.exe", 1).kernelPath = "C:\\apps\\x.exe";
    ASSERT_TRUE(testing::RefreshAndWait(*page_));
    int row = -1;
    for (int i = 0; i < page_->ProcessList().ItemCount(); ++i)
        if (page_->ProcessList().ItemText(i, kProcessId) == "600") row = i;
    ASSERT_GE(row, 0);
    const struct {
        bool wide;
        int room;
        int column;
        std::string ansi;
        std::wstring utf16;
    } cases[] = {
        {false, 64, kProcessImageName, "\xD6\xD0\xCE\xC4.exe", L""},
        // Never half a double-byte character.
        {false, 4, kProcessImageName, "\xD6\xD0", L""},
        {false, 2, kProcessImageName, "", L""},
        {false, 64, kProcessId, "600", L""},
        {false, 64, kProcessColumnCount + 3, "", L""},
        {true, 64, kProcessImageName, "", L"\u4E2D\u6587.exe"},
        {true, 2, kProcessImageName, "", L"\u4E2D"},
        {true, 64, kProcessPath, "", L"C:\\apps\\x.exe"},
    };
    for (const auto& c : cases) {
        std::vector<char> ansi(static_cast<size_t>(c.room), '#');
        std::vector<wchar_t> wide(static_cast<size_t>(c.room), L'#');
        NMLVDISPINFOA a{};
        NMLVDISPINFOW w{};
        NMHDR& header = c.wide ? w.hdr : a.hdr;
        header.hwndFrom = page_->ProcessList().Handle();
        header.idFrom = IDC_PROCESS_LIST;
        header.code = c.wide ? LVN_GETDISPINFOW : LVN_GETDISPINFOA;
        a.item.mask = w.item.mask = LVIF_TEXT;
        a.item.iItem = w.item.iItem = row;
        a.item.iSubItem = w.item.iSubItem = c.column;
        a.item.pszText = ansi.data();
        w.item.pszText = wide.data();
        a.item.cchTextMax = w.item.cchTextMax = c.room;
        SendMessageA(page_->Handle(), WM_NOTIFY, IDC_PROCESS_LIST, reinterpret_cast<LPARAM>(&header));
        if (c.wide)
            EXPECT_EQ(std::wstring(wide.data()), c.utf16) << c.column << " in " << c.room;
        else
            EXPECT_EQ(std::string(ansi.data()), c.ansi) << c.column << " in " << c.room;
    }
}

}  // namespace
}  // namespace tv
